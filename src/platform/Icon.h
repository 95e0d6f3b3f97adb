#pragma once
// TIcon: an icon file image (.ico). The bytes are kept exactly as loaded and saved back
// unchanged; drawing uses the largest image of the file, with its transparent parts left out.
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/Graphic.h"

class TBitmap;

class TIcon : public TGraphic {
public:
  // Icons are always drawn transparently.
  TIcon();
  ~TIcon() override;
  std::string ClassName() const override { return "TIcon"; }
  void Assign(TPersistent* Source) override;
  std::unique_ptr<TGraphic> Clone() const override;

  // The size of the image that is drawn: the largest of the file.
  int Width() const override;
  int Height() const override;
  // An icon cannot change its size: both raise EInvalidGraphicOperation.
  void SetWidth(int Value) override;
  void SetHeight(int Value) override;
  bool Empty() const override { return FData.empty(); }

  // Loading reads the rest of the stream; data that is not an icon file (a cursor file is
  // not one) raises EInvalidGraphic ("Icon image is not valid"). No bytes give an empty icon.
  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) override;
  void Draw(TCanvas* ACanvas, const TRect& Rect) override;

private:
  std::vector<uint8_t> FData;
  // The drawn image: opaque pixels as they are (partly transparent ones blended on white),
  // transparent ones in a colour the icon does not use, which is its transparent colour.
  std::unique_ptr<TBitmap> FImage;
};
