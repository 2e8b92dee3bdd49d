#pragma once
// TBitBtn: a button showing a picture (the glyph), centred, at the picture's own size. A glyph
// whose width is a whole multiple of its height holds that many images side by side: the first
// is the normal look, the second (when there is one) the disabled look; otherwise Qt derives the
// disabled look from the first. Pixels of the glyph's bottom-left colour are transparent.
#include "Bitmap.h"
#include "Button.h"

class TBitBtn : public TButton {
public:
  explicit TBitBtn(TComponent* AOwner);

  // Load or draw into it; the button follows every change.
  TBitmap* Glyph() { return &glyph_; }

private:
  void GlyphChanged();

  TBitmap glyph_;
};
