#pragma once
// TFont: a font description (face, size or height, colour, style, pitch, charset).
#include <cstdint>
#include <memory>
#include <string>

#include "platform/Color.h"
#include "platform/FontMetrics.h"
#include "platform/GraphicsObject.h"
#include "platform/Set.h"

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;
enum TFontPitch { fpDefault, fpVariable, fpFixed };
using TFontCharset = uint8_t;

constexpr TFontCharset ANSI_CHARSET = 0;
constexpr TFontCharset DEFAULT_CHARSET = 1;
constexpr TFontCharset SYMBOL_CHARSET = 2;
constexpr TFontCharset OEM_CHARSET = 255;


class TFont : public TGraphicsObject {
public:
  TFont();
  ~TFont() override;
  std::string ClassName() const override { return "TFont"; }
  void Assign(TPersistent* Source) override;

  const std::string& Name() const { return FName; }
  void SetName(const std::string& Value);
  // Size in points and Height in pixels are two views of one value, coupled through
  // PixelsPerInch: Height = -MulDiv(Size, PixelsPerInch, 72). A negative Height is the
  // character height, a positive one the cell height.
  int Size() const;
  void SetSize(int Value);
  int Height() const { return FHeight; }
  void SetHeight(int Value);
  int PixelsPerInch() const { return FPixelsPerInch; }
  void SetPixelsPerInch(int Value);  // keeps Height, so Size follows
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  TFontStyles Style() const { return FStyle; }
  void SetStyle(TFontStyles Value);
  TFontPitch Pitch() const { return FPitch; }
  void SetPitch(TFontPitch Value);
  TFontCharset Charset() const { return FCharset; }
  void SetCharset(TFontCharset Value);

  // The logical font this description stands for (cached until the next change).
  std::shared_ptr<TLogicalFont> Handle();
  // The logical font description Handle() is created from.
  TLogFont LogFont() const;

private:
  void Change();

  std::string FName = "MS Sans Serif";
  int FHeight = -11;  // 8 points at 96 pixels per inch
  int FPixelsPerInch = 96;
  TColor FColor = clWindowText;
  TFontStyles FStyle;
  TFontPitch FPitch = fpDefault;
  TFontCharset FCharset = DEFAULT_CHARSET;
  std::shared_ptr<TLogicalFont> FHandle;
};
