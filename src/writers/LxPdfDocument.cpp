#include "writers/LxPdfDocument.h"

#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/Font.h"
#include "platform/Graphic.h"
#include "platform/RasterCanvas.h"
#include "writers/LxPdfSyntax.h"

namespace {

const std::string Eol = PdfEol;

std::string N(double Value) {
  return PdfNumber(Value);
}

double PixelsToPoints(double Pixels) {
  return Pixels / 96.0 * 72.0;
}

// A document without any text still names one font.
void DefaultFont(TFont& Font) {
  Font.SetName("Arial");
  Font.SetCharset(1);
  Font.SetPitch(fpDefault);
  Font.SetSize(10);
  Font.SetColor(clBlack);
  Font.SetStyle({});
}

}  // namespace

TLxPdfDocument::TLxPdfDocument(TStream* Output) : FFile(Output) {}

TLxPdfDocument::~TLxPdfDocument() = default;

bool TLxPdfDocument::HasBackgroundPicture() const {
  return FBackgroundPicture && !FBackgroundPicture->Empty();
}

// ---- Document and pages -------------------------------------------------------------------

void TLxPdfDocument::BeginDocument() {
  FFile.WriteHeader();
  FFile.WriteObject(PdfCatalogObject, "/Type /Catalog" + Eol + "/Pages " + PdfReference(PdfPagesObject),
                    true);
}

void TLxPdfDocument::BeginPage(double Width, double Height, const TLxPdfBackgroundBox& Box) {
  FImages.BeginPage();
  FContent.BeginPage(Width, Height);
  FPageObject = FFile.NewObject();
  FContentsObject = FFile.NewObject();
  FKids += " " + PdfReference(FPageObject);
  FLengthObject = FFile.NewObject();
  ++FPageCount;
  WriteBackground(Box);
}

void TLxPdfDocument::WriteBackground(const TLxPdfBackgroundBox& Box) {
  FContent.Background(FBackgroundColor);
  if (!HasBackgroundPicture()) return;
  if (FBackgroundImageIndex < 0) {
    // The picture is written once, with the first page, and every page's pattern shows it.
    TBitmap bitmap(FBackgroundPicture->Width(), FBackgroundPicture->Height());
    bitmap.Canvas()->Draw(0, 0, FBackgroundPicture);
    FBackgroundImageIndex = FImages.WriteImageObject(&bitmap, FJPEGQuality, FFile);
  }
  FBackgroundWidth = PixelsToPoints(FBackgroundPicture->Width());
  FBackgroundHeight = PixelsToPoints(FBackgroundPicture->Height());
  FBackgroundX = Box.Left;
  FBackgroundY = FContent.PageHeightPoints() - Box.Top;
  FContent.BackgroundPattern(Box.Left, FBackgroundY, Box.Width, Box.Height);
}

void TLxPdfDocument::EndPage() {
  // Each page carries its own media box, so pages of other sizes and orientations keep
  // their place; the page tree's box stays as the default.
  FFile.WriteObject(FPageObject,
                    "/Type /Page" + Eol + "/Parent " + PdfReference(PdfPagesObject) + Eol + "/Contents " +
                        PdfReference(FContentsObject) + Eol + "/MediaBox [0 0 " +
                        N(FContent.PageWidthPoints()) + " " + N(FContent.PageHeightPoints()) + "]",
                    true);
  const std::string& content = FContent.Bytes();
  FFile.WriteObject(FContentsObject, "<< /Length " + PdfReference(FLengthObject) + " >>", false);
  FFile.Write("stream" + Eol);
  FFile.Write(content);
  FFile.Write(Eol + "endstream" + Eol + "endobj" + Eol);
  FFile.WriteObject(FLengthObject, std::to_string(content.size()), true);
  FImages.WritePage(FFile);
}

int TLxPdfDocument::FontIndex(const TFont& Font) {
  return FFonts.FontIndex(Font, FFile);
}

void TLxPdfDocument::PlaceImage(TBitmap* Bitmap, double X, double Y, double Width, double Height) {
  if (!Bitmap || Bitmap->Empty()) return;
  const int index = FImages.WriteImageObject(Bitmap, FJPEGQuality, FFile);
  FContent.PlaceImage(index, X, Y, Width, Height);
}

// ---- Document end -------------------------------------------------------------------------

void TLxPdfDocument::EndDocument(const TLxPdfInfo& Info, double PageWidth, double PageHeight) {
  FFile.WriteObject(PdfPagesObject, PageTreeBody(PageWidth, PageHeight), true);
  // The pattern exists only when its picture was written, that is when a page was rendered.
  const int patternObject = FBackgroundImageIndex >= 0 ? FFile.NewObject() : 0;
  FFile.WriteObject(PdfResourcesObject, ResourcesBody(patternObject), true);
  if (patternObject) WriteBackgroundPattern(patternObject);
  FFile.WriteObject(PdfProcSetObject, FIncludeImages ? "[/PDF /Text /ImageC]" : "[/PDF /Text]", true);
  FFonts.WriteObjects(FFile, FEncoding);
  FFile.WriteObject(PdfInfoObject, InfoBody(Info), true);
  FFile.WriteXrefAndTrailer();
}

std::string TLxPdfDocument::PageTreeBody(double PageWidth, double PageHeight) const {
  std::string kids = FKids;
  const size_t first = kids.find_first_not_of(' ');
  kids = first == std::string::npos ? "" : kids.substr(first, kids.find_last_not_of(' ') - first + 1);
  return "/Type /Pages" + Eol + "/Count " + std::to_string(FPageCount) + Eol + "/MediaBox [0 0 " +
         N(PageWidth * 72.0) + " " + N(PageHeight * 72.0) + "]" + Eol + "/Kids [" + kids + "]" + Eol +
         "/Resources " + PdfReference(PdfResourcesObject);
}

std::string TLxPdfDocument::ResourcesBody(int PatternObject) {
  std::string body;
  if (PatternObject) body += "/Pattern << /P1 " + PdfReference(PatternObject) + " >>" + Eol;
  if (FFonts.Count() == 0) {
    TFont arial;
    DefaultFont(arial);
    FontIndex(arial);
  }
  body += "/Font <<" + Eol + FFonts.ResourceEntries() + ">>" + Eol;
  body += "/ProcSet " + PdfReference(PdfProcSetObject);
  if (FImages.Count() > 0) body += Eol + "/XObject <<" + FImages.ResourceEntries() + " >>";
  return body;
}

void TLxPdfDocument::WriteBackgroundPattern(int PatternObject) {
  const std::string content = "q" + Eol + N(FBackgroundWidth) + " 0 0 " + N(FBackgroundHeight) + " 0 0 " +
                              " cm" + Eol + "/Img0" + " Do" + Eol + "Q" + Eol;
  const int resources = FFile.NewObject();
  FFile.WriteObject(PatternObject,
                    "/Type /Pattern" + Eol + "/PatternType 1" + Eol + "/PaintType 1" + Eol + "/Resources " +
                        PdfReference(resources) + Eol + "/TilingType 1" + Eol + "/BBox [0 0 " +
                        N(FBackgroundWidth) + " " + N(FBackgroundHeight) + "]" + Eol + "/Matrix [1 0 0 1 " +
                        N(FBackgroundX) + " " + N(FBackgroundY) + "]" + Eol + "/XStep " +
                        N(FBackgroundWidth) + Eol + "/YStep " + N(FBackgroundHeight) + Eol + "/Length " +
                        std::to_string(content.size()),
                    false);
  FFile.Write("stream" + Eol + content + "endstream" + Eol + "endobj" + Eol);
  // Inside the pattern the picture is always /Img0, whatever its number in the document.
  FFile.WriteObject(resources,
                    "/ProcSet [/PDF /ImageC]" + Eol + "/XObject" + Eol + "<< /Img0 " +
                        PdfReference(FImages.ObjectOf(FBackgroundImageIndex)) + Eol + ">>",
                    true);
}

std::string TLxPdfDocument::InfoBody(const TLxPdfInfo& Info) const {
  return "/Author (" + PdfEscapeText(Info.Author) + ")" + Eol + "/CreationDate (" +
         PdfDate(Info.CreationDate, Info.TimeZoneBias) + ")" + Eol + "/Keywords (" +
         PdfEscapeText(Info.Keywords) + ")" + Eol + "/Creator (" + PdfEscapeText(Info.Creator) + ")" + Eol +
         "/Title (" + PdfEscapeText(Info.Title) + ")" + Eol + "/Producer (LxVellumRenders V1.0" +
         " for Vellum Reports \\(" + PdfEscapeText(PdfProducerAddress) + "\\))";
}
