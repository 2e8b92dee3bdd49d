#pragma once
// The Qt side of a control: any Qt widget class wrapped so that its events reach the layer
// control first, and so that the control can be found from the widget.
#include <QEvent>
#include <QWidget>
#include <utility>

class TControl;

// Runs the wrapped Qt class's own handling of an event.
using BaseEventFn = bool (*)(QWidget* widget, QEvent* event);

// Hands an event to the control (which decides whether and when to run the Qt handling);
// nothing the control does may throw back into Qt.
bool DispatchWidgetEvent(TControl* control, QWidget* widget, QEvent* event, BaseEventFn base);

class WidgetLink {
public:
  TControl* LinkedControl() const { return control_; }
  // The control is going away: from now on the widget behaves as a plain Qt widget.
  void UnlinkControl() { control_ = nullptr; }

protected:
  explicit WidgetLink(TControl* control) : control_(control) {}
  ~WidgetLink() = default;

  TControl* control_;
};

// The control a widget belongs to, or null for widgets of Qt's own.
TControl* ControlOfWidget(const QObject* widget);

template <class Base>
class HostWidget : public Base, public WidgetLink {
public:
  template <class... Args>
  explicit HostWidget(TControl* control, Args&&... args) : Base(std::forward<Args>(args)...), WidgetLink(control)
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
    return static_cast<HostWidget*>(widget)->Base::event(event);
  }
};

// Which of its viewport's events a scroll-area control takes as its own.
enum class ViewportEvents {
  MouseAndWheel,
  MouseWheelHintAndMenu,  // also ToolTip and ContextMenu
};

// A scroll area's mouse events arrive on its viewport, which Qt handles through viewportEvent,
// not event(); the chosen ones are handed to the control from there, as HostWidget does for the
// widget's own.
template <class Base, ViewportEvents Taken>
class ScrollHostWidget : public HostWidget<Base> {
public:
  using HostWidget<Base>::HostWidget;

protected:
  bool viewportEvent(QEvent* event) override
  {
    if (this->control_ && Takes(event->type()))
      return DispatchWidgetEvent(this->control_, this->viewport(), event, &ViewportBase);
    return Base::viewportEvent(event);
  }

private:
  static bool Takes(QEvent::Type type)
  {
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel: return true;
    case QEvent::ToolTip:
    case QEvent::ContextMenu: return Taken == ViewportEvents::MouseWheelHintAndMenu;
    default: return false;
    }
  }

  static bool ViewportBase(QWidget* viewport, QEvent* event)
  {
    return static_cast<ScrollHostWidget*>(viewport->parentWidget())->Base::viewportEvent(event);
  }
};
