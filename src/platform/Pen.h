#pragma once
// TPen: colour, style, width in pixels and mix mode of lines and outlines.
#include "platform/Color.h"
#include "platform/GraphicsObject.h"

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
// The 16 raster mix modes, in the platform's order.
enum TPenMode {
  pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
  pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor
};

class TPen : public TGraphicsObject {
public:
  std::string ClassName() const override { return "TPen"; }
  void Assign(TPersistent* Source) override;

  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  TPenStyle Style() const { return FStyle; }
  void SetStyle(TPenStyle Value);
  int Width() const { return FWidth; }
  void SetWidth(int Value);  // values below 1 become 1
  TPenMode Mode() const { return FMode; }
  void SetMode(TPenMode Value);

private:
  TColor FColor = clBlack;
  TPenStyle FStyle = psSolid;
  int FWidth = 1;
  TPenMode FMode = pmCopy;
};
