#pragma once
// Report text on a canvas: one helper every canvas engine draws its text with, so that text
// lands on the same pixels whatever engine draws it. The engine works out the reference
// point (device pixels) from its cursor and line metrics; these functions set the canvas's
// alignment and background mode for one call, draw with the canvas's selected font and text
// colour, and put the alignment and background mode back.
#include <string>

class TCanvas;

// Which part of the text lies on the reference Y.
enum TTextVertical { tvTop, tvBaseline, tvBottom };
// Whether the text starts at, is centred on, or ends at the reference X.
enum TTextHorizontal { thLeft, thCenter, thRight };

// Draws Text in one call with its reference point at (X, Y). Opaque fills the text cell
// with the canvas's background colour first. A turned font turns the text about (X, Y).
void DrawAlignedText(TCanvas* Canvas, const std::string& Text, int X, int Y, TTextVertical Vertical,
                     TTextHorizontal Horizontal, bool Opaque);

// Block (justified) text. A gap is a run of spaces after a non-space character with more text
// after it; a text without gaps is spread letter by letter, as if a space stood between every
// two adjacent non-space characters.
//
// The text as block printing lays it out (spaces put between the letters when it has no gap).
std::string BlockText(const std::string& Text);
// The number of gaps of BlockText(Text), at least 1.
int BlockGaps(const std::string& Text);
// Pixel width of BlockText(Text) in the selected font, trailing spaces left out: the width
// the gaps' extra space is added to.
int BlockTextWidth(TCanvas* Canvas, const std::string& Text);
// Draws BlockText(Text) from X with every gap ExtraPerGap pixels wider than its spaces: the
// first word starts at X, every later word ends where the previous one ended plus its spaces,
// the extra and its own width, so the last word ends at X + BlockTextWidth + gaps ×
// ExtraPerGap. Each gap is painted with spaces too, so that an opaque background and an
// underline run through it.
void DrawBlockText(TCanvas* Canvas, const std::string& Text, int X, int Y, TTextVertical Vertical,
                   bool Opaque, double ExtraPerGap);
