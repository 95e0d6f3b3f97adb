#include "writers/LxPdfImages.h"

#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/JPEGImage.h"
#include "platform/RasterCanvas.h"
#include "platform/Stream.h"
#include "writers/LxPdfObjects.h"
#include "writers/LxPdfSyntax.h"

namespace {

std::string EncodeJpeg(TBitmap* Bitmap, int Quality) {
  TJPEGImage jpeg;
  jpeg.SetCompressionQuality(Quality);
  jpeg.SetGrayscale(false);
  jpeg.SetProgressiveEncoding(false);
  jpeg.Assign(Bitmap);
  TMemoryStream bytes;
  jpeg.SaveToStream(&bytes);
  return std::string(reinterpret_cast<const char*>(bytes.Memory()), static_cast<size_t>(bytes.Size()));
}

}  // namespace

void TLxPdfImages::BeginPage() {
  FPageImageOffsets.clear();
  FPageImages.clear();
}

int TLxPdfImages::WriteImageObject(TBitmap* Bitmap, int Quality, TLxPdfFile& File) {
  const std::string jpeg = EncodeJpeg(Bitmap, Quality);
  const int number = File.NewObject();
  const int index = Count();
  FImageList.push_back(number);
  FPageImageOffsets.emplace_back(static_cast<int64_t>(FPageImages.size()), number);

  const std::string eol = PdfEol;
  FPageImages += std::to_string(number) + " 0 obj" + eol + "<<" + eol + "/Type /XObject" + eol +
                 "/Subtype /Image" + eol + "/Name /Img" + std::to_string(index) + eol + "/Width " +
                 std::to_string(Bitmap->Width()) + eol + "/Height " + std::to_string(Bitmap->Height()) + eol +
                 "/BitsPerComponent 8" + eol + "/ColorSpace /DeviceRGB" + eol + "/Filter /DCTDecode" + eol +
                 "/Length " + std::to_string(jpeg.size()) + eol + ">>" + eol + "stream" + eol;
  FPageImages += jpeg;
  FPageImages += "endstream" + eol + "endobj" + eol;
  return index;
}

void TLxPdfImages::WritePage(TLxPdfFile& File) {
  const int64_t base = File.Length();
  for (const auto& [offset, number] : FPageImageOffsets) File.AddXrefEntry(number, base + offset);
  File.Write(FPageImages);
  BeginPage();
}

std::string TLxPdfImages::ResourceEntries() const {
  std::string text;
  for (int i = 0; i < Count(); ++i)
    text += PdfEol + ("/Img" + std::to_string(i) + " " + PdfReference(ObjectOf(i)));
  return text;
}

std::unique_ptr<TBitmap> PdfPictureBitmap(TGraphic* Graphic, int Width, int Height) {
  auto bitmap = std::make_unique<TBitmap>(Width, Height);
  if (!Graphic || Graphic->Empty()) return bitmap;
  if (Width == Graphic->Width() && Height == Graphic->Height()) {
    bitmap->Canvas()->Draw(0, 0, Graphic);
    return bitmap;
  }
  TBitmap scratch(Graphic->Width(), Graphic->Height());
  scratch.Canvas()->Draw(0, 0, Graphic);
  bitmap->Canvas()->StretchDraw(TRect{0, 0, Width, Height}, &scratch);
  return bitmap;
}
