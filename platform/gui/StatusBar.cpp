#include "StatusBar.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPointer>
#include <algorithm>

#include "Colors.h"
#include "Exceptions.h"
#include "Guard.h"
#include "Numbers.h"
#include "TextBoundary.h"

namespace {

constexpr int PanelGap = 2;    // between the frames of neighbouring panels
constexpr int TextMargin = 2;  // left of a panel's text

}  // namespace

void TStatusPanel::SetText(const AnsiString& text)
{
  if (text == text_)
    return;
  text_ = text;
  owner_->Changed();
}

void TStatusPanel::SetWidth(int width)
{
  width = std::max(0, width);
  if (width == width_)
    return;
  width_ = width;
  owner_->Changed();
}

void TStatusPanel::SetStyle(TStatusPanelStyle style)
{
  if (style == style_)
    return;
  style_ = style;
  owner_->Changed();
}

TStatusPanel* TStatusPanels::Add()
{
  items_.push_back(std::unique_ptr<TStatusPanel>(new TStatusPanel(this)));
  Changed();
  return items_.back().get();
}

TStatusPanel* TStatusPanels::Items(int index) const
{
  if (index < 0 || index >= static_cast<int>(items_.size()))
    throw EListError("List index out of bounds (" + IntToStr(index) + ")");
  return items_[index].get();
}

void TStatusPanels::EndUpdate()
{
  if (updateCount_ > 0)
    --updateCount_;
  if (updateCount_ == 0 && changed_) {
    changed_ = false;
    bar_->Invalidate();
  }
}

void TStatusPanels::Changed()
{
  if (updateCount_ > 0)
    changed_ = true;
  else
    bar_->Invalidate();
}

TStatusBar::TStatusBar(TComponent* AOwner) : TWinControl(AOwner, new HostWidget<QWidget>(this))
{
  canvas_.Font()->Assign(Font());
  SetAlign(alBottom);
  // One line of the font with room for the frames, as the class library's default.
  SetBounds(0, 0, 200, QFontMetrics(Font()->QtFont()).height() + 6);
}

void TStatusBar::SetSimpleText(const AnsiString& text)
{
  if (text == simpleText_)
    return;
  simpleText_ = text;
  Invalidate();
}

void TStatusBar::FontChanged()
{
  TWinControl::FontChanged();
  canvas_.Font()->Assign(Font());
  Invalidate();
}

TRect TStatusBar::PanelRect(int index) const
{
  const int width = Width();
  int left = 0;
  int right = width;
  const int count = static_cast<int>(panels_.items_.size());
  if (index >= 0) {
    for (int i = 0; i < index; ++i)
      left += panels_.items_[i]->width_;
    if (index < count - 1)
      right = std::max(left, left + panels_.items_[index]->width_ - PanelGap);
  }
  return TRect{left + 1, 1, std::max(left + 1, right - 1), std::max(1, Height() - 1)};
}

void TStatusBar::PaintPanels(QImage& image) const
{
  QPainter painter(&image);
  painter.fillRect(image.rect(), ToQColor(Color()));
  painter.setFont(Font()->QtFont());
  painter.setPen(ToQColor(Font()->Color()));
  const QColor shadow = ToQColor(SystemColor(16));
  const QColor highlight = ToQColor(SystemColor(20));
  const auto panel = [&](const TRect& r, const AnsiString* text) {
    // A one-pixel sunken frame around r: dark above and left, light below and right.
    const QRect frame(r.left - 1, r.top - 1, r.Width() + 2, r.Height() + 2);
    painter.fillRect(QRect(frame.left(), frame.top(), frame.width(), 1), shadow);
    painter.fillRect(QRect(frame.left(), frame.top(), 1, frame.height()), shadow);
    painter.fillRect(QRect(frame.left(), frame.bottom(), frame.width(), 1), highlight);
    painter.fillRect(QRect(frame.right(), frame.top(), 1, frame.height()), highlight);
    if (text && !text->empty() && r.Width() > TextMargin)
      painter.drawText(QRect(r.left + TextMargin, r.top, r.Width() - TextMargin, r.Height()),
                       Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, ToQString(*text, CodePage()));
  };
  const auto& items = panels_.items_;
  if (items.empty())
    panel(PanelRect(-1), &simpleText_);
  for (size_t i = 0; i < items.size(); ++i)
    panel(PanelRect(static_cast<int>(i)), items[i]->style_ == psText ? &items[i]->text_ : nullptr);
}

bool TStatusBar::PaintWidget(QWidget* widget)
{
  if (Width() <= 0 || Height() <= 0)
    return true;
  if (surface_.size() != QSize(Width(), Height()))
    surface_ = QImage(Width(), Height(), QImage::Format_RGB32);
  PaintPanels(surface_);
  const QPointer<QWidget> alive(widget);
  // A handler may change the panels; the list is read afresh after each one.
  for (size_t i = 0; i < panels_.items_.size(); ++i) {
    TStatusPanel* panel = panels_.items_[i].get();
    if (panel->style_ != psOwnerDraw || !OnDrawPanel)
      continue;
    const TRect rect = PanelRect(static_cast<int>(i));
    canvas_.Font()->Assign(Font());
    canvas_.Brush()->SetColor(clBtnFace);
    canvas_.SetTarget(&surface_);
    Guarded(this, [&] {
      const TDrawPanelEvent call = OnDrawPanel;
      call(this, panel, rect);
    });
    if (!alive)
      return true;
    canvas_.SetTarget(nullptr);
  }
  QPainter(widget).drawImage(0, 0, surface_);
  return true;
}
