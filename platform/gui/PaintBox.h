#pragma once
// TPaintBox: a drawing area on its parent. Its canvas draws on a picture of the control's size
// at any moment, not only while painting, and the screen shows that picture: on every repaint
// OnPaint runs first (drawing on the picture), then the picture is shown. Copying from the
// canvas therefore reads what is on screen.
#include <QImage>

#include "Canvas.h"
#include "Controls.h"

class TPaintBox : public TGraphicControl {
public:
  explicit TPaintBox(TComponent* AOwner);
  ~TPaintBox() override;

  TCanvas* Canvas() { return &canvas_; }
  // While false, drawing on the canvas outside a repaint asks for none: the drawer names what it
  // changed with InvalidateRect (a small change on a large picture).
  void SetRepaintOnDraw(bool on) { repaintOnDraw_ = on; }

  TNotifyEvent OnPaint;

protected:
  bool PaintWidget(QWidget* widget) override;
  // The picture follows the size, keeping the pixels that still fit.
  void Resized() override;

private:
  QImage surface_;
  TCanvas canvas_;  // after surface_: it stops painting before the picture goes
  bool painting_ = false;
  bool repaintOnDraw_ = true;
};
