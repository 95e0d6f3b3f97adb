#pragma once
// TJPEGImage: a JPEG picture. It holds the encoded bytes, a bitmap, or both: loaded bytes are
// kept as they are (saving writes them back unchanged) and decoded only when pixels are
// needed; an assigned bitmap is compressed when the bytes are needed, with the quality,
// grayscale and progressive settings of that moment.
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/Graphic.h"

class TBitmap;

enum TJPEGPerformance { jpBestQuality, jpBestSpeed };
enum TJPEGScale { jsFullSize, jsHalf, jsQuarter, jsEighth };
using TJPEGQualityRange = int;  // 1..100

// Errors of the JPEG codec (corrupt or unsupported data); the message names libjpeg's
// error number, as the platform's JPEG unit does.
class EJPEG : public EInvalidGraphic {
  using EInvalidGraphic::EInvalidGraphic;
};

class TJPEGImage : public TGraphic {
public:
  TJPEGImage();
  ~TJPEGImage() override;
  std::string ClassName() const override { return "TJPEGImage"; }
  // From a TJPEGImage: bytes, bitmap and settings. From a TBitmap: a copy of its pixels,
  // compressed when needed. From another picture: that picture drawn into a bitmap first.
  void Assign(TPersistent* Source) override;
  std::unique_ptr<TGraphic> Clone() const override;

  // The size of the image as decoded with the current Scale.
  int Width() const override;
  int Height() const override;
  // A JPEG image cannot change its size: both raise EInvalidGraphicOperation.
  void SetWidth(int Value) override;
  void SetHeight(int Value) override;
  bool Empty() const override;

  // Compression settings (used when a bitmap is compressed; 1 = smallest, 100 = best).
  TJPEGQualityRange CompressionQuality() const { return FCompressionQuality; }
  void SetCompressionQuality(TJPEGQualityRange Value);
  bool ProgressiveEncoding() const { return FProgressiveEncoding; }
  void SetProgressiveEncoding(bool Value);
  // Grayscale compresses, and decodes, in shades of grey. Loading sets it (and
  // ProgressiveEncoding) from the file.
  bool Grayscale() const { return FGrayscale; }
  void SetGrayscale(bool Value);
  // Decoding settings: speed against quality, and decoding at 1/2, 1/4 or 1/8 of the size.
  TJPEGPerformance Performance() const { return FPerformance; }
  void SetPerformance(TJPEGPerformance Value);
  TJPEGScale Scale() const { return FScale; }
  void SetScale(TJPEGScale Value);

  // Encodes the bitmap now with the current settings (decoding the bytes first if there is
  // no bitmap yet).
  void Compress();
  // Makes sure the decoded bitmap exists / the encoded bytes exist.
  void DIBNeeded();
  void JPEGNeeded();
  // The decoded (or assigned) bitmap; nullptr for an empty image. The image owns it.
  TBitmap* Bitmap();

  // Loading reads the rest of the stream and checks the header; the pixels are decoded
  // when first needed. Corrupt data raises EJPEG (an EInvalidGraphic).
  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) override;
  void Draw(TCanvas* ACanvas, const TRect& Rect) override;

private:
  void Clear();
  void BitmapSettingChanged();
  void DecodingSettingChanged();

  std::vector<uint8_t> FData;        // the encoded image, empty when not (yet) compressed
  std::unique_ptr<TBitmap> FBitmap;  // the pixels, null when not (yet) decoded
  // True when FData came from outside (loaded) and FBitmap is derived from it; false when
  // FBitmap was assigned and FData is its compressed form.
  bool FDataIsSource = false;
  int FDataWidth = 0;  // full size from the header of FData
  int FDataHeight = 0;
  TJPEGQualityRange FCompressionQuality = 90;
  bool FProgressiveEncoding = false;
  bool FGrayscale = false;
  TJPEGPerformance FPerformance = jpBestQuality;
  TJPEGScale FScale = jsFullSize;
};
