#pragma once
// TBrush: colour, style and optional pattern bitmap of fills.
#include <memory>

#include "platform/Color.h"
#include "platform/GraphicsObject.h"

enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

class TBitmap;

class TBrush : public TGraphicsObject {
public:
  TBrush();
  ~TBrush() override;
  std::string ClassName() const override { return "TBrush"; }
  void Assign(TPersistent* Source) override;

  TColor Color() const { return FColor; }
  // Setting a colour turns a clear brush solid, as on the platform.
  void SetColor(TColor Value);
  TBrushStyle Style() const { return FStyle; }
  void SetStyle(TBrushStyle Value);
  // The pattern: a copy of the given bitmap (nullptr removes it). While set, it wins over Style.
  TBitmap* Bitmap() const { return FBitmap.get(); }
  void SetBitmap(TBitmap* Value);

private:
  static std::unique_ptr<TBitmap> CopyOf(TBitmap* Value);

  TColor FColor = clWhite;
  TBrushStyle FStyle = bsSolid;
  std::unique_ptr<TBitmap> FBitmap;
};
