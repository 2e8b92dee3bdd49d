#pragma once
// TListBox: a list of lines with one selected line (ItemIndex, -1 for none). A press of either
// mouse button selects the line under the pointer (nothing when it is below the last line), so
// a popup menu opened by a right click acts on the line clicked. An owner-drawn list calls
// OnDrawItem for each line in view, with the canvas brush and font already set for a normal or
// a selected line.
#include <functional>
#include <memory>

#include <QImage>

#include "Canvas.h"
#include "Controls.h"
#include "Events.h"
#include "ListItems.h"
#include "Set.h"

class QKeyEvent;
class QScrollBar;

enum TListBoxStyle { lbStandard, lbOwnerDrawFixed };

// Rect is the line's rectangle in the list's client coordinates.
using TDrawItemEvent = std::function<void(TWinControl* Control, int Index, TRect Rect, TOwnerDrawState State)>;

class TListBox : public TWinControl {
public:
  explicit TListBox(TComponent* AOwner);
  ~TListBox() override;

  TStrings* Items() { return items_.get(); }

  // Setting it in code selects without any event; out of range it selects nothing. The line
  // is scrolled into view.
  int ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int index);
  // The first line in view; setting it stops where the last page is full.
  int TopIndex() const;
  void SetTopIndex(int index);

  bool Sorted() const { return items_->sorted_; }
  void SetSorted(bool sorted) { items_->SetSorted(sorted); }
  TListBoxStyle Style() const { return style_; }
  void SetStyle(TListBoxStyle style);

  // Draws on the list only while it paints, for OnDrawItem.
  TCanvas* Canvas() { return &canvas_; }

  TDrawItemEvent OnDrawItem;

protected:
  // The frame and the scroll bar lie outside the client area.
  QMargins NonClientMargins() const override;
  void Resized() override;
  void FontChanged() override;

private:
  friend class TListBoxStrings;
  friend class ListBoxView;

  // From the items. While updating, the scroll range and the repaint wait for the end.
  void SetUpdating(bool updating);
  void LineInserted(int index);
  void LineDeleted(int index);
  void LinesReplaced();
  void LinesChanged();

  // From the view.
  void PaintLines(QWidget* viewport);
  void PressAt(int y);
  void DragTo(int y);
  bool KeyPress(const QKeyEvent* event);

  QScrollBar* ScrollBar() const;
  int ItemHeight() const;
  int PageRows() const;
  void UpdateScrollRange();
  void SelectAndShow(int index);

  std::unique_ptr<TListBoxStrings> items_;
  QImage surface_;
  TCanvas canvas_;  // after surface_: it stops painting before the picture goes
  int itemIndex_ = -1;
  TListBoxStyle style_ = lbStandard;
  bool updating_ = false;
};
