#pragma once
// TLxRenderDocument: the base of the document writers (PDF, HTML, RTF, Excel, plain text).
// The bridge delivers text one string at a time with an anchor in inches; document formats
// want positioned runs with their font, width and alignment, grouped into blocks (lines of
// one paragraph) or sorted into reading order. This model turns the four text operations
// into runs, keeps the pending block, decides when a block ends (FlushText) and sorts runs
// by Y, then X.
//
// Coordinates of runs are pixels at 96 per inch from the page's top-left corner; widths are
// measured on the screen (96 pixels per inch).
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/Font.h"
#include "platform/JPEGImage.h"
#include "render/LxRender_Main.h"

class TBitmap;
class TMemoryStream;

// A font as the text runs carry it.
struct TLxFontAttrib {
  TFontCharset Charset = DEFAULT_CHARSET;
  std::string Name;
  uint8_t Pitch = fpDefault;  // a TFontPitch
  int Size = 0;               // points, never negative
  TColor Color = clBlack;
  TFontStyles Style;
};

// One text run.
struct TLxTextDetails {
  std::string Text;
  TLxFontAttrib Font;
  uint8_t Alignment = 0;  // 0 left, 1 right, 2 centre, 3 justified over Width
  double Width = 0;       // pixels
  double Height = 0;      // font height in pixels
  double X = 0;           // left edge in pixels
  double Y = 0;           // the bottom of the text line in pixels
  int Angle = 0;          // degrees, 0..359
};

using TLxTextRuns = std::vector<std::unique_ptr<TLxTextDetails>>;

enum TLxImageFormat { ifGIF, ifJPG, ifBMP };

class TLxRenderDocument : public TLxRender {
public:
  explicit TLxRenderDocument(TComponent* AOwner = nullptr);
  ~TLxRenderDocument() override;
  std::string ClassName() const override { return "TLxRenderDocument"; }

  // ===== Properties (published by the writers that offer them) =====
  const std::string& Author() const { return FAuthor; }
  void SetAuthor(const std::string& Value) { FAuthor = Value; }
  const std::string& Creator() const { return FCreator; }
  void SetCreator(const std::string& Value) { FCreator = Value; }
  const std::string& Keywords() const { return FKeywords; }
  void SetKeywords(const std::string& Value) { FKeywords = Value; }
  bool IncludeLines() const { return FIncludeLines; }
  void SetIncludeLines(bool Value) { FIncludeLines = Value; }
  bool IncludeNonRectShapes() const { return FIncludeNonRectShapes; }
  void SetIncludeNonRectShapes(bool Value) { FIncludeNonRectShapes = Value; }
  bool IncludeImages() const { return FIncludeImages; }
  void SetIncludeImages(bool Value) { FIncludeImages = Value; }
  TLxImageFormat ExportImageFormat() const { return FExportImageFormat; }
  // Writers that accept fewer formats refuse the others here.
  virtual void SetExportImageFormat(TLxImageFormat Value) { FExportImageFormat = Value; }
  TJPEGQualityRange JPEGQuality() const { return FJPEGQuality; }
  // Kept within 1..100.
  void SetJPEGQuality(TJPEGQualityRange Value);

  // The runs of the pending block (from DocBegin to DocEnd).
  TLxTextRuns& TextRuns() { return FTextRuns; }

  // ===== Overrides of the bridge =====
  void BrushChanged() override;
  void CenterText(const std::string& Text, double X, double Y) override;
  void FontChanged() override;
  void LeftText(const std::string& Text, double X, double Y) override;
  void RightText(const std::string& Text, double X, double Y) override;
  void PenChanged() override;
  void PrintSpaces(const std::string& Text, double X, double Y, double Width) override;
  void DocBegin() override;
  // Runs still pending are discarded: writers flush at each PageEnd.
  void DocEnd() override;

  // ===== Added virtual operations, in slot order =====
  // A run's text in the target format (the base returns it unchanged).
  virtual std::string EncodeText(const std::string& Text);
  // The smallest integer not less than Value, as text: 12.1 gives "13", -0.5 gives "0".
  virtual std::string FormatNumber(double Value);
  // Writes the pending block. The base does nothing; every writer's version ends with
  // ClearTextRuns and clears TextPending.
  virtual void FlushText();

  // ===== Non-virtual operations =====
  // Adds Run to the pending block, ending the block first (FlushText) when the run has
  // another alignment, lies more than 1.5 line heights below the last run, or has another
  // anchor X. X and Y: the anchor in inches as the bridge gave it.
  void AddTextRun(std::unique_ptr<TLxTextDetails> Run, double X, double Y);
  // Inserts a copy of Run so that List stays ordered by Y, then X; a run equal in both goes
  // after the runs already there.
  static void InsertSorted(const TLxTextDetails& Run, TLxTextRuns& List);
  // Font and Angle of Run from the converter's font.
  void FillFontAttributes(TLxTextDetails& Run);
  void ClearTextRuns();

  // Bitmaps of shapes in the converter's pen (and brush for the filled ones), transparent,
  // at 96 pixels per inch relative to the first corner. Arguments in inches.
  std::unique_ptr<TBitmap> ArcBitmap(double X1, double Y1, double X2, double Y2, double X3, double Y3,
                                     double X4, double Y4);
  std::unique_ptr<TBitmap> ChordBitmap(double X1, double Y1, double X2, double Y2, double X3, double Y3,
                                       double X4, double Y4);
  std::unique_ptr<TBitmap> EllipseBitmap(double X1, double Y1, double X2, double Y2);
  std::unique_ptr<TBitmap> LineBitmap(double X0, double Y0, double X, double Y);
  std::unique_ptr<TBitmap> PieBitmap(double X1, double Y1, double X2, double Y2, double X3, double Y3,
                                     double X4, double Y4);
  std::unique_ptr<TBitmap> RoundRectBitmap(double X1, double Y1, double X2, double Y2, double X3, double Y3);
  // A baseline JPEG of Bitmap at Quality (1..100).
  static std::unique_ptr<TMemoryStream> EncodeJPEGStream(TBitmap* Bitmap, TJPEGQualityRange Quality);
  // Writes BaseName + ".jpg" (ifJPG at Quality; ifGIF at quality 90) or + ".bmp" and returns
  // the name it wrote.
  static std::string SaveImageFile(TBitmap* Bitmap, TLxImageFormat Format, const std::string& BaseName,
                                   TJPEGQualityRange Quality);

private:
  // A run of Text in the converter's font at the given alignment (pixels).
  std::unique_ptr<TLxTextDetails> MakeRun(const std::string& Text, uint8_t Alignment, double Width);
  void AddMeasuredRun(const std::string& Text, double X, double Y, uint8_t Alignment);
  // A bitmap of the box's size with the converter's pen (and brush when Filled).
  std::unique_ptr<TBitmap> ShapeBitmap(double X1, double Y1, double X2, double Y2, bool Filled);

  std::string FAuthor;
  std::string FCreator = "Vellum Reports";
  std::string FKeywords;
  bool FIncludeLines = true;
  bool FIncludeNonRectShapes = true;
  bool FIncludeImages = true;
  TLxImageFormat FExportImageFormat = ifJPG;
  TJPEGQualityRange FJPEGQuality = 100;
  TLxTextRuns FTextRuns;
};
