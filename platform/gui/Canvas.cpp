#include "Canvas.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

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

// A wide line is every pixel whose centre lies within half the width of the segment: a flat
// stroke with a round cap at each end, so that a run of segments gets round joins. Set row by
// row without a painter, as thin lines are: a curve of many short segments costs no painter
// per segment, and far-off ends cost nothing outside the image.
void TCanvas::WideLine(int x1, int y1, int x2, int y2)
{
  if (target_ == nullptr || target_->isNull() || target_->depth() != 32)
    return;
  const double r = pen_.Width() / 2.0;
  const double r2 = r * r;
  const double ax = x1, ay = y1, bx = x2, by = y2;
  const double dx = bx - ax, dy = by - ay;
  const double length2 = dx * dx + dy * dy;
  const double reach = r * std::sqrt(length2);
  const int64_t w = target_->width();
  const int64_t top = std::max<int64_t>(static_cast<int64_t>(std::floor(std::min(ay, by) - r)), 0);
  const int64_t bottom =
      std::min<int64_t>(static_cast<int64_t>(std::ceil(std::max(ay, by) + r)), target_->height() - 1);
  if (top > bottom)
    return;
  const QRgb color = ToQColor(pen_.Color()).rgb();
  EndPainting();
  uchar* bits = target_->bits();
  const qsizetype stride = target_->bytesPerLine();
  // The pixels whose centres px + 0.5 lie in [lo, hi], inside the image, as [first, last].
  const auto span = [&](double lo, double hi) {
    return std::pair{static_cast<int64_t>(std::max(std::ceil(lo - 0.5), 0.0)),
                     static_cast<int64_t>(std::min(std::floor(hi - 0.5), static_cast<double>(w - 1)))};
  };
  const auto put = [&](int64_t py, std::pair<int64_t, int64_t> pixels) {
    if (pixels.first <= pixels.second)
      std::fill_n(reinterpret_cast<QRgb*>(bits + py * stride) + pixels.first, pixels.second - pixels.first + 1,
                  color);
  };
  const auto fill = [&](int64_t py, double lo, double hi) { put(py, span(lo, hi)); };
  // Upright and level lines, most of a chart's, take the same pixels more directly: the stroke
  // spans the full width between the ends, the discs the rest.
  if (dx == 0 || dy == 0) {
    const double xLow = std::min(ax, bx), xHigh = std::max(ax, bx);
    const double yLow = std::min(ay, by), yHigh = std::max(ay, by);
    // Rows whose centres lie between the ends take the same pixels; the rows beyond, a disc's.
    const auto band = span(xLow - r, xHigh + r);
    const int64_t bandTop = std::max(top, static_cast<int64_t>(std::ceil(yLow - 0.5)));
    const int64_t bandBottom = std::min(bottom, static_cast<int64_t>(std::floor(yHigh - 0.5)));
    if (band.first <= band.second)
      for (int64_t py = bandTop; py <= bandBottom; ++py)
        std::fill_n(reinterpret_cast<QRgb*>(bits + py * stride) + band.first, band.second - band.first + 1, color);
    for (int64_t py = top; py <= bottom; ++py) {
      if (py == bandTop && bandTop <= bandBottom) {
        py = bandBottom;
        continue;
      }
      const double cy = static_cast<double>(py) + 0.5;
      const double off = cy < yLow ? yLow - cy : cy > yHigh ? cy - yHigh : 0.0;
      if (off * off > r2)
        continue;
      const double half = off == 0 ? r : std::sqrt(r2 - off * off);
      fill(py, xLow - half, xHigh + half);
    }
    Changed();
    return;
  }
  for (int64_t py = top; py <= bottom; ++py) {
    const double cy = static_cast<double>(py) + 0.5;
    double lo = HUGE_VAL;
    double hi = -HUGE_VAL;
    // The two discs.
    for (const auto& [ex, ey] : {std::pair{ax, ay}, std::pair{bx, by}}) {
      const double off = cy - ey;
      if (off * off <= r2) {
        const double half = std::sqrt(r2 - off * off);
        lo = std::min(lo, ex - half);
        hi = std::max(hi, ex + half);
      }
    }
    // The stroke between them: the centre projects inside the segment and lies within r of its
    // line; each bound is linear in the centre's x: low <= coefficient * x + constant <= high.
    if (length2 > 0) {
      double from = -HUGE_VAL;
      double to = HUGE_VAL;
      const auto within = [&](double coefficient, double constant, double low, double high) {
        if (coefficient == 0) {
          if (constant < low || constant > high)
            from = HUGE_VAL;
          return;
        }
        const double a = (low - constant) / coefficient;
        const double b = (high - constant) / coefficient;
        from = std::max(from, std::min(a, b));
        to = std::min(to, std::max(a, b));
      };
      within(dx, (cy - ay) * dy - ax * dx, 0, length2);
      within(dy, -(cy - ay) * dx - ax * dy, -reach, reach);
      if (from <= to) {
        lo = std::min(lo, from);
        hi = std::max(hi, to);
      }
    }
    if (lo <= hi)
      fill(py, lo, hi);
  }
  Changed();
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
