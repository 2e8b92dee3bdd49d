#pragma once
// The Qt side of a control: any Qt widget class wrapped so that its events reach the layer
// control first, and so that the control can be found from the widget.
#include <QWidget>
#include <utility>

class TControl;

// Runs the wrapped Qt class's own handling of an event.
using BaseEventFn = bool (*)(QWidget* widget, QEvent* event);

// Hands an event to the control (which decides whether and when to run the Qt handling);
// nothing the control does may throw back into Qt.
bool DispatchWidgetEvent(TControl* control, QWidget* widget, QEvent* event, BaseEventFn base);

class TWidgetLink {
public:
  TControl* LinkedControl() const { return control_; }
  // The control is going away: from now on the widget behaves as a plain Qt widget.
  void UnlinkControl() { control_ = nullptr; }

protected:
  explicit TWidgetLink(TControl* control) : control_(control) {}
  ~TWidgetLink() = default;

  TControl* control_;
};

// The control a widget belongs to, or null for widgets of Qt's own.
TControl* ControlOfWidget(const QObject* widget);

template <class Base>
class THostWidget : public Base, public TWidgetLink {
public:
  template <class... Args>
  explicit THostWidget(TControl* control, Args&&... args)
      : Base(std::forward<Args>(args)...), TWidgetLink(control)
  {
  }

protected:
  bool event(QEvent* event) override
  {
    if (!control_)
      return Base::event(event);
    return DispatchWidgetEvent(control_, this, event, &CallBase);
  }

private:
  static bool CallBase(QWidget* widget, QEvent* event)
  {
    return static_cast<THostWidget*>(widget)->Base::event(event);
  }
};
