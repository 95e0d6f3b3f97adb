#pragma once
// The working state of one PDF generation and the order in which its objects reach the
// file. The render feeds it pages and drawing operations; it numbers the objects, writes
// each page (page object, content stream, length object, the page's images) when the page
// ends, and at the end the page tree, the shared resources, the background pattern, the
// procedure set, the fonts, the information dictionary, the cross-reference table and the
// trailer, in that order.
#include <memory>
#include <string>

#include "platform/Color.h"
#include "platform/DateTime.h"
#include "writers/LxPdfContent.h"
#include "writers/LxPdfFonts.h"
#include "writers/LxPdfImages.h"
#include "writers/LxPdfObjects.h"

class TBitmap;
class TFont;
class TGraphic;
class TStream;

// The entries of the information dictionary (texts are escaped when written).
struct TLxPdfInfo {
  std::string Author;
  std::string Keywords;
  std::string Creator;
  std::string Title;
  TDateTime CreationDate = 0;  // local time
  int TimeZoneBias = 0;        // minutes, UTC = local time + bias
};

// Where the background picture goes on a page: points from the page's top-left corner.
struct TLxPdfBackgroundBox {
  double Left = 0;
  double Top = 0;
  double Width = 0;
  double Height = 0;
};

// The maker's address inside the producer entry.
inline constexpr const char* PdfProducerAddress = "https://pagepress.example.org";

class TLxPdfDocument {
public:
  // Writes to Output (not owned).
  explicit TLxPdfDocument(TStream* Output);
  ~TLxPdfDocument();
  TLxPdfDocument(const TLxPdfDocument&) = delete;
  TLxPdfDocument& operator=(const TLxPdfDocument&) = delete;

  // ===== Settings, fixed before the document begins =====
  void SetEncoding(TPDFFontEncoding Value) { FEncoding = Value; }
  void SetIncludeImages(bool Value) { FIncludeImages = Value; }
  void SetJPEGQuality(int Value) { FJPEGQuality = Value; }
  void SetBackgroundColor(TColor Value) { FBackgroundColor = Value; }
  // The picture behind every page (not owned; nullptr or empty: none).
  void SetBackgroundPicture(TGraphic* Value) { FBackgroundPicture = Value; }
  bool HasBackgroundPicture() const;

  // ===== The document's course =====
  // The header and the catalog.
  void BeginDocument();
  // A page of Width by Height inches: its numbers, and the background at the start of its
  // content. Box places the background picture (ignored without one).
  void BeginPage(double Width, double Height, const TLxPdfBackgroundBox& Box);
  // Writes the page: page object, content stream, length object, the page's images.
  void EndPage();
  // Everything after the last page. PageWidth and PageHeight (inches) give the page tree's
  // media box.
  void EndDocument(const TLxPdfInfo& Info, double PageWidth, double PageHeight);

  // ===== Drawing on the current page =====
  TLxPdfContent& Content() { return FContent; }
  // Resource number of Font's key (measured and numbered when first used) and its record.
  int FontIndex(const TFont& Font);
  const TLxFontInfo& FontInfo(int Index) const { return FFonts.Info(Index); }
  // Writes Bitmap as an image object of this page and places it with its top-left corner at
  // (X, Y), Width by Height inches. An empty bitmap places nothing.
  void PlaceImage(TBitmap* Bitmap, double X, double Y, double Width, double Height);

  // ===== State (for the render and for checks) =====
  int NextObject() const { return FFile.NextObject(); }
  int PageCount() const { return FPageCount; }
  const std::string& Kids() const { return FKids; }
  const TLxPdfFontList& Fonts() const { return FFonts; }
  const TLxPdfImages& Images() const { return FImages; }
  int BackgroundImageIndex() const { return FBackgroundImageIndex; }
  const TLxPdfFile& File() const { return FFile; }

private:
  void WriteBackground(const TLxPdfBackgroundBox& Box);
  std::string PageTreeBody(double PageWidth, double PageHeight) const;
  std::string ResourcesBody(int PatternObject);
  void WriteBackgroundPattern(int PatternObject);
  std::string InfoBody(const TLxPdfInfo& Info) const;

  TLxPdfFile FFile;
  TLxPdfFontList FFonts;
  TLxPdfImages FImages;
  TLxPdfContent FContent;
  std::string FKids;  // " 7 0 R 10 0 R ..."
  int FPageCount = 0;
  int FPageObject = 0;
  int FContentsObject = 0;
  int FLengthObject = 0;

  TPDFFontEncoding FEncoding = feWinAnsiEncoding;
  bool FIncludeImages = true;
  int FJPEGQuality = 100;
  TColor FBackgroundColor = clWhite;
  TGraphic* FBackgroundPicture = nullptr;
  int FBackgroundImageIndex = -1;  // image number once written
  double FBackgroundWidth = 0;     // the picture's own size and the pattern origin, points
  double FBackgroundHeight = 0;
  double FBackgroundX = 0;
  double FBackgroundY = 0;
};
