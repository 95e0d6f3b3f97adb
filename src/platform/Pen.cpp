#include "platform/Pen.h"

void TPen::Assign(TPersistent* Source) {
  auto* pen = dynamic_cast<TPen*>(Source);
  if (!pen) {
    TPersistent::Assign(Source);
    return;
  }
  if (pen == this) return;
  const bool same =
      FColor == pen->FColor && FStyle == pen->FStyle && FWidth == pen->FWidth && FMode == pen->FMode;
  if (same) return;
  FColor = pen->FColor;
  FStyle = pen->FStyle;
  FWidth = pen->FWidth;
  FMode = pen->FMode;
  Changed();
}

void TPen::SetColor(TColor Value) {
  if (FColor == Value) return;
  FColor = Value;
  Changed();
}

void TPen::SetStyle(TPenStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  Changed();
}

void TPen::SetWidth(int Value) {
  // A pen is never thinner than one pixel: zero and negative widths mean "thinnest".
  if (Value < 1) Value = 1;
  if (FWidth == Value) return;
  FWidth = Value;
  Changed();
}

void TPen::SetMode(TPenMode Value) {
  if (FMode == Value) return;
  FMode = Value;
  Changed();
}
