#pragma once
// TLabel: plain text on its parent, without mnemonics or markup. With AutoSize (the default)
// Width and Height follow the caption and font at once; with WordWrap as well, the text wraps
// at the current width and the height grows.
#include "Controls.h"

class QLabel;

enum TTextLayout { tlTop, tlCenter, tlBottom };

class TLabel : public TGraphicControl {
public:
  explicit TLabel(TComponent* AOwner);

  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool autoSize);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool wordWrap);
  // A transparent label shows its parent through; otherwise it fills itself with Color.
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool transparent);
  TTextLayout Layout() const { return layout_; }
  void SetLayout(TTextLayout layout);

protected:
  void TextChanged() override;
  void FontChanged() override;

private:
  QString DisplayText() const;
  void UpdateAlignment();
  void AdjustBounds();

  QLabel* label_;
  bool autoSize_ = true;
  bool wordWrap_ = false;
  bool transparent_ = false;
  TTextLayout layout_ = tlTop;
};
