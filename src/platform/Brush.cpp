#include "platform/Brush.h"

#include "platform/Bitmap.h"

TBrush::TBrush() = default;

TBrush::~TBrush() = default;

void TBrush::Assign(TPersistent* Source) {
  auto* brush = dynamic_cast<TBrush*>(Source);
  if (!brush) {
    TPersistent::Assign(Source);
    return;
  }
  if (brush == this) return;
  const bool noBitmaps = !FBitmap && !brush->FBitmap;
  if (noBitmaps && FColor == brush->FColor && FStyle == brush->FStyle) return;
  FColor = brush->FColor;
  FStyle = brush->FStyle;
  FBitmap = CopyOf(brush->FBitmap.get());
  Changed();
}

void TBrush::SetColor(TColor Value) {
  // The platform's brushes: giving a clear brush a colour makes it paint.
  const TBrushStyle style = FStyle == bsClear ? bsSolid : FStyle;
  if (FColor == Value && FStyle == style) return;
  FColor = Value;
  FStyle = style;
  Changed();
}

void TBrush::SetStyle(TBrushStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  Changed();
}

void TBrush::SetBitmap(TBitmap* Value) {
  if (!Value && !FBitmap) return;
  FBitmap = CopyOf(Value);
  Changed();
}

std::unique_ptr<TBitmap> TBrush::CopyOf(TBitmap* Value) {
  // The brush keeps its own copy, so the caller may free or change the original.
  if (!Value) return nullptr;
  auto copy = std::make_unique<TBitmap>();
  copy->Assign(Value);
  return copy;
}
