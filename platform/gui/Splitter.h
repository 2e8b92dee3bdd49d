#pragma once
// TSplitter: a bar between aligned controls. Dragging it resizes the control that lies before it
// in its alignment direction: the one on its left for alLeft, the one below it for alBottom
// (further from the parent's centre). Neither that control nor what is left beside it gets
// smaller than MinSize. With rsPattern or rsLine a line shows where the edge will go and the
// size changes on release; with rsUpdate it changes as the mouse moves. OnMoved runs each time
// the control has taken a new size.
#include <QPoint>
#include <QPointer>
#include <vector>

#include "Controls.h"

class QRubberBand;

enum TResizeStyle { rsNone, rsLine, rsUpdate, rsPattern };

class TSplitter : public TGraphicControl {
public:
  explicit TSplitter(TComponent* AOwner);
  ~TSplitter() override;

  void SetBeveled(bool beveled);
  int MinSize() const { return minSize_; }
  void SetMinSize(int size);
  void SetResizeStyle(TResizeStyle style) { resizeStyle_ = style; }
  // A drag to MinSize or below closes the control to nothing.
  void SetAutoSnap(bool autoSnap) { autoSnap_ = autoSnap; }

  TNotifyEvent OnMoved;

protected:
  bool WidgetEvent(QWidget* widget, QEvent* event, BaseEventFn base) override;
  bool PaintWidget(QWidget* widget) override;

private:
  // Across the bar: a vertical bar (alLeft, alRight) moves sideways.
  bool Sideways() const { return Align() == alLeft || Align() == alRight; }
  std::vector<TControl*> Siblings() const;
  TControl* FindNeighbour() const;
  int SizeOf(const TControl* control) const;
  // Where the drag puts the neighbour's edge: its new size, kept within the limits.
  int SizeFor(QPoint mouse) const;
  QPoint MouseInParent(QPoint global) const;
  void StartDrag(QPoint mouse);
  void Drag(QPoint mouse);
  void EndDrag();
  void ShowLine(int size);
  // Gives the neighbour its new size; true when the size changed.
  bool Resize(int size);

  bool beveled_ = false;
  int minSize_ = 30;
  TResizeStyle resizeStyle_ = rsPattern;
  bool autoSnap_ = true;
  // The drag in progress.
  TControl* neighbour_ = nullptr;
  QPointer<QWidget> neighbourWidget_;  // to notice the neighbour being freed meanwhile
  QPoint downPos_;
  int startSize_ = 0;
  int maxSize_ = 0;
  int newSize_ = 0;
  QPointer<QRubberBand> line_;
};
