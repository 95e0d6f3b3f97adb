#pragma once
// Rich text (RTF, as database memo fields hold it) turned into plain text with formatted-text
// codes: fonts, sizes, colours, styles, justification and indents become codes in front of
// the text runs they apply to; paragraphs become line breaks.
#include <string>

class TStream;

// Converts the first Length characters of RichText and appends the result to Stream.
// Malformed input never fails: unknown or broken constructs are skipped, font and colour
// indices that are negative or above 32767 are ignored, an index beyond its table takes the
// first font or black, and a closing brace without an open group is ignored.
void ImportRTF(const std::string& RichText, int Length, TStream* Stream);
