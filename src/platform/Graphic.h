#pragma once
// TGraphic: the abstract picture (bitmap, JPEG image, icon, metafile).
#include <string>

#include "platform/Object.h"
#include "platform/Types.h"

class TCanvas;
class TStream;

class TGraphic : public TPersistent {
public:
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual void SetWidth(int Value) = 0;
  virtual void SetHeight(int Value) = 0;
  virtual bool Empty() const = 0;
  // A transparent picture does not draw the pixels of its transparent colour.
  bool Transparent() const { return FTransparent; }
  virtual void SetTransparent(bool Value) { FTransparent = Value; }

  virtual void LoadFromStream(TStream* Stream) = 0;
  virtual void SaveToStream(TStream* Stream) = 0;
  void LoadFromFile(const std::string& FileName);
  void SaveToFile(const std::string& FileName);

  // Draws the picture stretched into Rect of ACanvas (device pixels).
  virtual void Draw(TCanvas* ACanvas, const TRect& Rect) = 0;

  TNotifyEvent OnChange;

protected:
  void Changed() {
    if (OnChange) OnChange(this);
  }

private:
  bool FTransparent = false;
};
