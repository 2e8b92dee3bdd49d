#pragma once
// TWinControl: a control with a window of its own. It holds children, places the aligned ones,
// takes the focus and the keyboard.
#include <QMargins>
#include <vector>

#include "Control.h"

class TWinControl : public TControl {
public:
  ~TWinControl() override;

  // An inset inside the bounds that the client area leaves out.
  int BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(int width);

  int ClientWidth() const override;
  int ClientHeight() const override;

  // Visible and enabled, and so is every parent up to the form.
  bool CanFocus() const;
  // Throws EInvalidOperation when the control cannot take the focus.
  virtual void SetFocus();
  bool Focused() const;

  // The focus moved on to another control of the same form (not to another window or a popup).
  TNotifyEvent OnExit;
  // A key was released while the control had the focus; auto-repeat sends none.
  TKeyEvent OnKeyUp;

protected:
  TWinControl(TComponent* AOwner, QWidget* widget);

  bool IsWindowed() const override { return true; }
  bool WidgetEvent(QWidget* widget, QEvent* event, BaseEventFn base) override;
  QPoint ClientOriginInWidget() const override;
  void Resized() override;
  void FontChanged() override;
  void ColorChanged() override;

  // Space between the bounds and the client area: the border width, and frames or scroll
  // bars of subclasses.
  virtual QMargins NonClientMargins() const;
  // The part of the client area (client coordinates) that alignment shares out.
  virtual TRect AlignRect() const;
  // The widget the children's widgets live on, and where client (0, 0) lies on it.
  virtual QWidget* ChildHost() const { return Widget(); }
  virtual QPoint ChildOrigin() const { return ClientOriginInWidget(); }
  // The widget that holds the focus for this control.
  virtual QWidget* FocusWidget() const { return Widget(); }

  // Places the aligned children: edge-aligned ones stack in the order they were inserted, the
  // later nearer the centre; alClient children take what is left.
  void Realign();
  // Pushes every child's bounds again after the child origin moved.
  void ApplyChildGeometry();

private:
  friend class TControl;
  void InsertControl(TControl* control);
  void RemoveControl(TControl* control);
  void AlignControls();
  bool Contains(const TControl* control) const;

  std::vector<TControl*> controls_;  // in insertion order: the alignment order, not the z-order
  int borderWidth_ = 0;
  bool aligning_ = false;
  bool realignPending_ = false;
};
