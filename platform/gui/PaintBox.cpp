#include "PaintBox.h"

#include <QPainter>

#include "Colors.h"
#include "Guard.h"

TPaintBox::TPaintBox(TComponent* AOwner) : TGraphicControl(AOwner, new HostWidget<QWidget>(this))
{
  SetParentColor(true);
  canvas_.SetTarget(&surface_);
  // Drawing outside a repaint asks for one; drawing inside it is shown by that repaint.
  canvas_.OnChange = [this] {
    if (!painting_)
      Invalidate();
  };
  SetBounds(0, 0, 105, 105);
}

TPaintBox::~TPaintBox()
{
  canvas_.SetTarget(nullptr);
}

void TPaintBox::Resized()
{
  if (surface_.width() != Width() || surface_.height() != Height()) {
    canvas_.EndPainting();
    QImage resized;
    if (Width() > 0 && Height() > 0) {
      resized = QImage(Width(), Height(), QImage::Format_RGB32);
      resized.fill(ToQColor(Color()));
      if (!surface_.isNull()) {
        QPainter painter(&resized);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(QPoint(0, 0), surface_);
      }
    }
    surface_ = resized;
    canvas_.SetTarget(&surface_);
  }
  TGraphicControl::Resized();
}

bool TPaintBox::PaintWidget(QWidget* widget)
{
  painting_ = true;
  FireEvent(OnPaint, this);
  painting_ = false;
  if (!surface_.isNull()) {
    QPainter painter(widget);
    painter.drawImage(QPoint(0, 0), surface_);
  }
  return true;
}
