#pragma once
// TEdit: a one-line text field. Its height follows its font and cannot be set otherwise, so the
// layouts can use it as their unit. Text typed by the user comes back in the control's code page
// ("?" for what the code page lacks); text set by the program comes back byte for byte as long as
// the user has not changed it.
#include "Controls.h"

class QLineEdit;

class TEdit : public TWinControl {
public:
  explicit TEdit(TComponent* AOwner);

  AnsiString Text() const override;
  void SetText(const AnsiString& text) override;
  // The text as UTF-8 bytes: what the user typed, every character kept; bytes the program set
  // come back unchanged, as from Text().
  AnsiString Utf8Text() const;

  bool ReadOnly() const;
  void SetReadOnly(bool readOnly);

protected:
  void TextChanged() override;
  void FontChanged() override;
  void ConstrainSize(int& width, int& height) const override;

private:
  QLineEdit* Line() const;
  void Display(const AnsiString& text);

  AnsiString bytes_;  // as the program last set them
  QString shown_;     // what those bytes showed as
  int fontHeight_ = 0;
};
