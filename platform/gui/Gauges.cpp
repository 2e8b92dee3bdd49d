#include "Gauges.h"

#include <cmath>

#include <QFontMetrics>

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cstdint>

#include "Colors.h"

int GaugePercent(int progress, int maxValue)
{
  if (maxValue <= 0)
    return 0;
  // 100 × progress overflows an int for counts above about 21 million.
  return static_cast<int>(int64_t{100} * progress / maxValue);
}

TCGauge::TCGauge(TComponent* AOwner) : TGraphicControl(AOwner, new HostWidget<QWidget>(this))
{
  SetParentColor(true);
  SetBounds(0, 0, 100, 100);
}

void TCGauge::SetBorderStyle(TBorderStyle style)
{
  frame_ = style != bsNone;
  Invalidate();
}

void TCGauge::SetKind(TGaugeKind kind)
{
  kind_ = kind;
  Invalidate();
}

void TCGauge::SetBackColor(TColor color)
{
  backColor_ = color;
  Invalidate();
}

void TCGauge::SetForeColor(TColor color)
{
  foreColor_ = color;
  Invalidate();
}

void TCGauge::SetMaxValue(int value)
{
  if (value == maxValue_)
    return;
  maxValue_ = value;
  progress_ = std::clamp(progress_, 0, std::max(0, maxValue_));
  Invalidate();
}

void TCGauge::SetProgress(int value)
{
  value = std::clamp(value, 0, std::max(0, maxValue_));
  if (value == progress_)
    return;
  progress_ = value;
  Invalidate();
}

namespace {

// The font made smaller until the text lies inside the pie's circle: within the square inscribed
// in it, whose side is the diameter over the square root of two.
QFont FittingFont(QFont font, const QString& text, const QRect& pie)
{
  const double side = std::min(pie.width(), pie.height()) / std::sqrt(2.0);
  for (int pixels = QFontMetrics(font).height(); pixels > 1; --pixels) {
    const QFontMetrics metrics(font);
    if (metrics.horizontalAdvance(text) <= side && metrics.height() <= side)
      break;
    font.setPixelSize(pixels - 1);
  }
  return font;
}

}  // namespace

bool TCGauge::PaintWidget(QWidget* widget)
{
  QPainter painter(widget);
  QRect area = widget->rect();
  painter.fillRect(area, ToQColor(Color()));
  if (frame_) {
    painter.setPen(ToQColor(SystemColor(6)));  // window frame
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(area.adjusted(0, 0, -1, -1));
    area.adjust(1, 1, -1, -1);
  }
  if (area.width() <= 0 || area.height() <= 0)
    return true;
  const QColor back = ToQColor(backColor_);
  const QColor fore = ToQColor(foreColor_);
  const int percent = GaugePercent(progress_, maxValue_);
  QPainterPath done;
  if (kind_ == gkPie) {
    // A one-pixel outline drawn around a rectangle covers its right and bottom edges as well.
    const QRect box = area.adjusted(0, 0, -1, -1);
    painter.setPen(fore);
    painter.setBrush(back);
    painter.drawEllipse(box);
    if (percent >= 100) {
      done.addEllipse(box);
    } else if (percent > 0) {
      done.moveTo(QRectF(box).center());
      done.arcTo(box, 90, -3.6 * percent);
      done.closeSubpath();
    }
    painter.setBrush(fore);
    if (!done.isEmpty())
      painter.drawPath(done);
  } else {
    painter.fillRect(area, back);
    done.addRect(QRect(area.left(), area.top(), area.width() * percent / 100, area.height()));
    painter.fillPath(done, fore);
  }
  // The text in the font's colour, and in BackColor where it lies on the part done.
  const QString text = QString::number(percent) + QLatin1Char('%');
  QFont font = Font()->QtFont();
  if (kind_ == gkPie)
    font = FittingFont(font, text, area);
  painter.setFont(font);
  painter.setPen(ToQColor(Font()->Color()));
  painter.drawText(area, Qt::AlignCenter | Qt::TextSingleLine, text);
  if (!done.isEmpty()) {
    painter.setClipPath(done);
    painter.setPen(back);
    painter.drawText(area, Qt::AlignCenter | Qt::TextSingleLine, text);
  }
  return true;
}
