#pragma once
// TButton: a push button. A click gives it the focus first (so the edit the user leaves runs its
// OnExit before OnClick); a button with a ModalResult hands it to its form, which ends the form's
// modal loop. Until the program gives it a height, the height is Qt's size hint for the font.
#include "Controls.h"
#include "HintHeight.h"

class QPushButton;

class TButton : public TWinControl {
public:
  explicit TButton(TComponent* AOwner);

  TModalResult ModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult result) { modalResult_ = result; }

protected:
  QPushButton* Button() const;

  bool WidgetEvent(QWidget* widget, QEvent* event, BaseEventFn base) override;
  // Clicks come from Qt's clicked signal (mouse and keyboard alike), not from the mouse rule.
  void MouseClick() override {}
  void TextChanged() override;
  void FontChanged() override;

private:
  void Clicked();

  TModalResult modalResult_ = mrNone;
  HintHeight hintHeight_;
};
