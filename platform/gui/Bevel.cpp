#include "Bevel.h"

#include <QPainter>

#include "Colors.h"

TBevel::TBevel(TComponent* AOwner) : TGraphicControl(AOwner, new HostWidget<QWidget>(this))
{
  SetBounds(0, 0, 50, 50);
}

bool TBevel::PaintWidget(QWidget* widget)
{
  const int w = Width();
  const int h = Height();
  if (w <= 0 || h <= 0)
    return true;
  QPainter painter(widget);
  // Shadow on the top and left edges, highlight on the bottom and right.
  const QColor shadow = ToQColor(SystemColor(16));
  const QColor highlight = ToQColor(SystemColor(20));
  painter.fillRect(QRect(0, 0, w, 1), shadow);
  painter.fillRect(QRect(0, 0, 1, h), shadow);
  painter.fillRect(QRect(0, h - 1, w, 1), highlight);
  painter.fillRect(QRect(w - 1, 0, 1, h), highlight);
  return true;
}
