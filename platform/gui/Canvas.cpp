#include "Canvas.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cstdlib>

#include "Bitmap.h"
#include "Colors.h"
#include "TextBoundary.h"

namespace {

// The pixels of r, or an empty rectangle when r is empty or turned inside out.
QRect ToQRect(const TRect& r)
{
  if (r.right <= r.left || r.bottom <= r.top)
    return QRect();
  return QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1));
}

// 128-bit: GCC and Clang both have it; -Wpedantic is told so.
__extension__ typedef __int128 Wide;

// Floor of a ÷ b for b > 0.
int64_t FloorDiv(Wide a, int64_t b)
{
  Wide q = a / b;
  if (a % b != 0 && a < 0)
    --q;
  return static_cast<int64_t>(q);
}

}  // namespace

TCanvas::TCanvas() = default;

TCanvas::~TCanvas()
{
  EndPainting();
}

void TCanvas::SetTarget(QImage* image)
{
  EndPainting();
  Q_ASSERT(image == nullptr || image->isNull() || image->depth() == 32);
  target_ = image;
}

void TCanvas::EndPainting()
{
  painter_.reset();
}

QPainter* TCanvas::Painter()
{
  if (painter_)
    return painter_.get();
  if (target_ == nullptr || target_->isNull())
    return nullptr;
  painter_ = std::make_unique<QPainter>(target_);
  if (!painter_->isActive()) {
    painter_.reset();
    return nullptr;
  }
  painter_->setRenderHint(QPainter::Antialiasing, false);
  return painter_.get();
}

void TCanvas::Changed()
{
  if (OnChange)
    OnChange();
}

void TCanvas::FillRect(const TRect& r)
{
  const QRect rect = ToQRect(r);
  QPainter* painter = Painter();
  if (painter == nullptr || rect.isEmpty())
    return;
  painter->fillRect(rect, ToQColor(brush_.Color()));
  Changed();
}

void TCanvas::FrameRect(const TRect& r)
{
  const QRect rect = ToQRect(r);
  QPainter* painter = Painter();
  if (painter == nullptr || rect.isEmpty())
    return;
  const QColor color = ToQColor(brush_.Color());
  painter->fillRect(QRect(rect.left(), rect.top(), rect.width(), 1), color);
  painter->fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), color);
  painter->fillRect(QRect(rect.left(), rect.top(), 1, rect.height()), color);
  painter->fillRect(QRect(rect.right(), rect.top(), 1, rect.height()), color);
  Changed();
}

void TCanvas::MoveTo(int x, int y)
{
  penPos_ = TPoint{x, y};
}

void TCanvas::LineTo(int x, int y)
{
  const TPoint from = penPos_;
  penPos_ = TPoint{x, y};
  if (pen_.Width() <= 1) {
    ThinLine(from.x, from.y, x, y);
    return;
  }
  WideLine(from.x, from.y, x, y);
}

// Qt's own round caps cost a curved outline per segment, ten times a flat one, and the chart
// draws its curves segment by segment; so the segment is drawn flat and each end gets a disc.
// The union is the round-capped stroke, and a run of segments gets round joins with it.
void TCanvas::WideLine(int x1, int y1, int x2, int y2)
{
  QPainter* painter = Painter();
  if (painter == nullptr)
    return;
  const int width = pen_.Width();
  const QColor color = ToQColor(pen_.Color());
  if (x1 != x2 || y1 != y2) {
    painter->setPen(QPen(color, width, Qt::SolidLine, Qt::FlatCap));
    painter->drawLine(x1, y1, x2, y2);
  }
  // The discs write pixels directly, which must not happen under an open painter.
  EndPainting();
  Disc(x1, y1, width, color.rgb());
  Disc(x2, y2, width, color.rgb());
  Changed();
}

// The pixels whose centres lie within width / 2 of the point (x, y), a pixel corner. Written
// directly: the caller has ended the painter.
void TCanvas::Disc(int x, int y, int width, QRgb color)
{
  if (target_->depth() != 32)
    return;
  const double radius2 = width * width / 4.0;
  const int64_t w = target_->width();
  const int64_t h = target_->height();
  const int64_t top = std::max<int64_t>(int64_t{y} - width, 0);
  const int64_t bottom = std::min<int64_t>(int64_t{y} + width, h - 1);
  const int64_t left = std::max<int64_t>(int64_t{x} - width, 0);
  const int64_t right = std::min<int64_t>(int64_t{x} + width, w - 1);
  uchar* bits = target_->bits();
  const qsizetype stride = target_->bytesPerLine();
  for (int64_t py = top; py <= bottom; ++py) {
    const double dy = static_cast<double>(py - y) + 0.5;
    QRgb* row = reinterpret_cast<QRgb*>(bits + py * stride);
    for (int64_t px = left; px <= right; ++px) {
      const double dx = static_cast<double>(px - x) + 0.5;
      if (dx * dx + dy * dy <= radius2)
        row[px] = color;
    }
  }
}

// Qt's lines ignore direction (a line drawn backwards loses its start pixel, not its end), so
// one-pixel lines are set pixel by pixel: the start pixel in, the end pixel out.
void TCanvas::ThinLine(int x1, int y1, int x2, int y2)
{
  if (target_ == nullptr || target_->isNull() || target_->depth() != 32)
    return;
  const int64_t dx = int64_t{x2} - x1;
  const int64_t dy = int64_t{y2} - y1;
  const int64_t steps = std::max(std::abs(dx), std::abs(dy));
  if (steps == 0)
    return;
  const bool xMajor = std::abs(dx) >= std::abs(dy);
  const int64_t major0 = xMajor ? x1 : y1;
  const int64_t minor0 = xMajor ? y1 : x1;
  const int64_t minorDelta = xMajor ? dy : dx;
  const int64_t majorStep = (xMajor ? dx : dy) > 0 ? 1 : -1;
  const int64_t majorSize = xMajor ? target_->width() : target_->height();
  const int64_t minorSize = xMajor ? target_->height() : target_->width();

  // Only the steps whose major coordinate falls inside the image.
  int64_t first = 0;
  int64_t last = steps - 1;
  if (majorStep > 0) {
    first = std::max(first, -major0);
    last = std::min(last, majorSize - 1 - major0);
  } else {
    first = std::max(first, major0 - (majorSize - 1));
    last = std::min(last, major0);
  }
  if (first > last)
    return;

  const QRgb on = ToQColor(pen_.Color()).rgb();
  const QRgb gap = ToQColor(brush_.Color()).rgb();
  const bool dotted = pen_.Style() == psDot;
  // Direct pixel writes, which must not happen under an open painter.
  EndPainting();
  uchar* bits = target_->bits();
  const qsizetype stride = target_->bytesPerLine();

  // Minor coordinate of step i: minor0 + floor((2 i minorDelta + steps) / (2 steps)), the line's
  // exact position rounded; kept as quotient and remainder while stepping.
  const int64_t denominator = 2 * steps;
  const Wide start = static_cast<Wide>(2) * first * minorDelta + steps;
  int64_t quotient = FloorDiv(start, denominator);
  int64_t remainder = static_cast<int64_t>(start - static_cast<Wide>(quotient) * denominator);
  for (int64_t i = first; i <= last; ++i) {
    const int64_t minor = minor0 + quotient;
    if (minor >= 0 && minor < minorSize) {
      const int64_t major = major0 + i * majorStep;
      const int64_t x = xMajor ? major : minor;
      const int64_t y = xMajor ? minor : major;
      reinterpret_cast<QRgb*>(bits + y * stride)[x] = dotted && i % 6 >= 3 ? gap : on;
    }
    remainder += 2 * minorDelta;
    if (remainder >= denominator) {
      remainder -= denominator;
      ++quotient;
    } else if (remainder < 0) {
      remainder += denominator;
      --quotient;
    }
  }
  Changed();
}

void TCanvas::TextRect(const TRect& r, int x, int y, const AnsiString& text)
{
  const QRect rect = ToQRect(r);
  QPainter* painter = Painter();
  if (painter == nullptr || rect.isEmpty())
    return;
  painter->fillRect(rect, ToQColor(brush_.Color()));
  const QFont& font = font_.QtFont();
  painter->setFont(font);
  painter->setPen(ToQColor(font_.Color()));
  painter->setClipRect(rect);
  painter->drawText(QPoint(x, y + QFontMetrics(font).ascent()), ToQString(text, codePage_));
  painter->setClipping(false);
  Changed();
}

int TCanvas::TextWidth(const AnsiString& text) const
{
  return QFontMetrics(font_.QtFont()).horizontalAdvance(ToQString(text, codePage_));
}

int TCanvas::TextHeight(const AnsiString& /*text*/) const
{
  return QFontMetrics(font_.QtFont()).height();
}

void TCanvas::Draw(int x, int y, TBitmap* bitmap)
{
  if (bitmap == nullptr)
    return;
  const QImage& image = bitmap->Image();
  QPainter* painter = Painter();
  if (painter == nullptr || image.isNull())
    return;
  painter->drawImage(QPoint(x, y), &image == target_ ? image.copy() : image);
  Changed();
}

void TCanvas::CopyRect(const TRect& dest, TCanvas* source, const TRect& src)
{
  const QRect to = ToQRect(dest);
  QRect from = ToQRect(src);
  if (source == nullptr || source->target_ == nullptr || source->target_->isNull() || to.isEmpty() ||
      from.isEmpty())
    return;
  QPainter* painter = Painter();
  if (painter == nullptr)
    return;
  const QImage* image = source->target_;
  QImage own;
  if (image == target_) {  // copying within one image: take the source pixels out first
    own = image->copy(from);
    image = &own;
    from = own.rect();
  }
  painter->setCompositionMode(QPainter::CompositionMode_Source);
  painter->drawImage(to, *image, from);
  painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
  Changed();
}

void BitBlt(TCanvas* dest, int x, int y, int w, int h, TCanvas* source, int sx, int sy)
{
  if (dest != nullptr)
    dest->CopyRect(Rect(x, y, x + w, y + h), source, Rect(sx, sy, sx + w, sy + h));
}
