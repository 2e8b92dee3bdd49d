#pragma once
// The font of a canvas or a control: a family name, a size and a colour, as the program sets them.
#include <functional>
#include <optional>

#include <QFont>

#include "System.h"

using TFontStyles = unsigned;
constexpr TFontStyles fsBold = 1;

class TFont {
public:
  TFont() = default;  // "MS Sans Serif", 8 points (11 pixels), window-text colour
  TFont(const TFont&) = delete;
  TFont& operator=(const TFont&) = delete;

  const AnsiString& Name() const { return name_; }
  void SetName(const AnsiString& name);
  // Points at 96 pixels per inch; the font keeps its size as a pixel height.
  int Size() const;
  void SetSize(int points);
  // Negative: the character height in pixels; positive: the cell height (with internal leading);
  // 0: the default size.
  int Height() const { return height_; }
  void SetHeight(int pixels);
  TFontStyles Style() const { return style_; }
  void SetStyle(TFontStyles style);
  TColor Color() const { return color_; }
  void SetColor(TColor color);

  void Assign(const TFont* source);

  // The Qt font the layer draws and measures with: the family mapped to an installed look-alike,
  // sized in pixels.
  const QFont& QtFont() const;

  // Runs after every change, so that an owning control can follow its font.
  std::function<void()> OnChange;

private:
  void Changed();

  AnsiString name_ = "MS Sans Serif";
  int height_ = -11;
  TFontStyles style_ = 0;
  TColor color_ = clWindowText;
  mutable std::optional<QFont> qtFont_;
};
