#pragma once
// TScrollBox: a container whose children scroll. As in the class library, scrolling moves the
// children: their Left/Top, and the box's mouse coordinates, are relative to the visible area,
// so a child placed at Top T while the position is P lies T + P down the scrolled content. The
// scroll range is the extent of the visible, unaligned children; a bar shows only when its
// range exceeds the visible area.
#include <vector>

#include "Controls.h"
#include "Form.h"

class QFrame;
class QScrollBar;
class QWheelEvent;
class ScrollBoxContent;
class TScrollBox;

// One of the two scroll bars of a scroll box.
class TControlScrollBar {
public:
  int Position() const;
  // Kept within 0 .. range − visible size; the children move by the difference.
  void SetPosition(int position);

private:
  friend class TScrollBox;
  TControlScrollBar(TScrollBox* box, bool vertical) : box_(box), vertical_(vertical) {}

  TScrollBox* box_;
  bool vertical_;
};

class TScrollBox : public TWinControl {
public:
  explicit TScrollBox(TComponent* AOwner);
  ~TScrollBox() override;

  // bsSingle (the default): a sunken two-pixel frame; bsNone: none.
  void SetBorderStyle(TBorderStyle style);

  TControlScrollBar* HorzScrollBar() { return &horzScrollBar_; }
  TControlScrollBar* VertScrollBar() { return &vertScrollBar_; }

protected:
  bool WidgetEvent(QWidget* widget, QEvent* event, BaseEventFn base) override;
  // The frame and the visible scroll bars lie outside the client area.
  QMargins NonClientMargins() const override;
  // Aligned children share the whole scrolled content, not just the visible part.
  TRect AlignRect() const override;
  QWidget* ChildHost() const override;
  QPoint ChildOrigin() const override;
  void Resized() override;

private:
  friend class TControlScrollBar;
  friend class ScrollBoxContent;

  struct Layout {
    QMargins inset;      // the border width and the frame
    int rangeWidth = 0;  // extent of the content
    int rangeHeight = 0;
    bool horizontal = false;  // which bars show
    bool vertical = false;
    int clientWidth = 0;
    int clientHeight = 0;
  };
  Layout ComputeLayout() const;
  std::vector<TControl*> Children() const;
  int BarExtent() const;
  // Brings the bars, their ranges and the content widget in line with the children; a
  // position beyond the new range scrolls back.
  void UpdateScrollBars();
  void RequestUpdate();
  // A bar's value changed (by code, the user or a shrinking range): the children follow.
  void Scrolled();
  void Wheel(QWheelEvent* event);

  QFrame* frame_;
  QWidget* viewport_;
  ScrollBoxContent* content_;
  QScrollBar* horzBar_;
  QScrollBar* vertBar_;
  TControlScrollBar horzScrollBar_{this, false};
  TControlScrollBar vertScrollBar_{this, true};
  int posX_ = 0;
  int posY_ = 0;
  bool singleFrame_ = true;
  bool updating_ = false;
  bool updatePending_ = false;
};
