#pragma once
// The picture objects of a PDF document. Every picture becomes a JPEG image object of the
// page it is drawn on: the objects of a page collect in a buffer and reach the file after
// the page's content stream and its length object. An image's position in the document's
// image list is its image number, its resource name /Img<number>.
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class TBitmap;
class TGraphic;
class TLxPdfFile;

class TLxPdfImages {
public:
  // Forgets the objects of the previous page (they have been written).
  void BeginPage();
  // JPEG-encodes Bitmap at Quality (1..100, colour, not progressive) into an image object
  // of the current page, numbered by File, and returns its image number.
  int WriteImageObject(TBitmap* Bitmap, int Quality, TLxPdfFile& File);
  // Appends the current page's image objects to File, recording their offsets.
  void WritePage(TLxPdfFile& File);

  int Count() const { return static_cast<int>(FImageList.size()); }
  // The object number of image Index.
  int ObjectOf(int Index) const { return FImageList[static_cast<size_t>(Index)]; }
  // CR LF "/Img0 9 0 R" ... for the resource dictionary's /XObject entry.
  std::string ResourceEntries() const;

private:
  std::vector<int> FImageList;                             // object numbers, document-wide
  std::vector<std::pair<int64_t, int>> FPageImageOffsets;  // (offset in FPageImages, number)
  std::string FPageImages;
};

// The bitmap a picture operation writes: Graphic drawn at its own size, or, when Width by
// Height differs from that, drawn at its own size on a scratch bitmap that is then
// stretched onto the whole new bitmap.
std::unique_ptr<TBitmap> PdfPictureBitmap(TGraphic* Graphic, int Width, int Height);
