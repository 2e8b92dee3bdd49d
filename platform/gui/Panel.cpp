#include "Panel.h"

#include <QPainter>

#include "Colors.h"
#include "TextBoundary.h"

TPanel::TPanel(TComponent* AOwner) : TWinControl(AOwner, new HostWidget<QWidget>(this))
{
  SetBounds(0, 0, 185, 41);
}

void TPanel::SetBevelOuter(TBevelCut bevel)
{
  if (bevel == bevelOuter_)
    return;
  bevelOuter_ = bevel;
  Realign();
  Invalidate();
}

TRect TPanel::AlignRect() const
{
  TRect rect = TWinControl::AlignRect();
  const int bevel = BevelWidth();
  return TRect{rect.left + bevel, rect.top + bevel, rect.right - bevel, rect.bottom - bevel};
}

bool TPanel::PaintWidget(QWidget* widget)
{
  QPainter painter(widget);
  painter.fillRect(widget->rect(), ToQColor(Color()));
  const QPoint origin = ClientOriginInWidget();
  QRect client(origin.x(), origin.y(), ClientWidth(), ClientHeight());
  if (bevelOuter_ == bvRaised && client.width() > 0 && client.height() > 0) {
    // One pixel: highlight on the top and left edges, shadow on the bottom and right.
    const QColor highlight = ToQColor(SystemColor(20));
    const QColor shadow = ToQColor(SystemColor(16));
    const int right = client.right();
    const int bottom = client.bottom();
    painter.fillRect(QRect(client.left(), client.top(), client.width(), 1), highlight);
    painter.fillRect(QRect(client.left(), client.top(), 1, client.height()), highlight);
    painter.fillRect(QRect(client.left(), bottom, client.width(), 1), shadow);
    painter.fillRect(QRect(right, client.top(), 1, client.height()), shadow);
    client.adjust(1, 1, -1, -1);
  }
  if (!Caption().empty()) {
    painter.setFont(Font()->QtFont());
    painter.setPen(ToQColor(Font()->Color()));
    painter.drawText(client, Qt::AlignCenter | Qt::TextSingleLine, ToQString(Caption(), CodePage()));
  }
  return true;
}
