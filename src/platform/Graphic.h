#pragma once
// TGraphic: the abstract picture (bitmap, JPEG image, icon, metafile). Every picture class
// stores itself in its own file format (SaveToStream / LoadFromStream) and draws itself
// stretched into a rectangle of any canvas.
#include <memory>
#include <string>

#include "platform/Exceptions.h"
#include "platform/Object.h"
#include "platform/Types.h"

class TCanvas;
class TStream;

// Raised for operations a picture class does not allow (changing an icon's size).
class EInvalidGraphicOperation : public Exception {
  using Exception::Exception;
};

class TGraphic : public TPersistent {
public:
  std::string ClassName() const override { return "TGraphic"; }

  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual void SetWidth(int Value) = 0;
  virtual void SetHeight(int Value) = 0;
  virtual bool Empty() const = 0;
  // A transparent picture does not draw the pixels of its transparent colour.
  bool Transparent() const { return FTransparent; }
  virtual void SetTransparent(bool Value);
  // Set by every change; setting it to true fires OnChange (code that changed the picture's
  // storage directly says so this way).
  bool Modified() const { return FModified; }
  void SetModified(bool Value);

  // Stream loading reads the rest of the stream (from its position to its end).
  virtual void LoadFromStream(TStream* Stream) = 0;
  virtual void SaveToStream(TStream* Stream) = 0;
  void LoadFromFile(const std::string& FileName);
  void SaveToFile(const std::string& FileName);

  // Draws the picture stretched into Rect of ACanvas (device pixels).
  virtual void Draw(TCanvas* ACanvas, const TRect& Rect) = 0;

  // A new picture of the same class holding a copy of this one (what the framework does with
  // the class reference and Assign when a picture container takes a copy).
  virtual std::unique_ptr<TGraphic> Clone() const = 0;

  TNotifyEvent OnChange;

protected:
  void Changed() {
    FModified = true;
    if (OnChange) OnChange(this);
  }

private:
  bool FTransparent = false;
  bool FModified = false;
};
