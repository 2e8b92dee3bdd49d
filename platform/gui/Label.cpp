#include "Label.h"

#include <QFontMetrics>
#include <QLabel>

#include "TextBoundary.h"

namespace {

constexpr int Unbounded = 1 << 20;

}  // namespace

TLabel::TLabel(TComponent* AOwner) : TGraphicControl(AOwner, new HostWidget<QLabel>(this))
{
  label_ = static_cast<QLabel*>(Widget());
  label_->setTextFormat(Qt::PlainText);
  label_->setTextInteractionFlags(Qt::NoTextInteraction);
  label_->setMargin(0);
  label_->setIndent(0);
  label_->setAutoFillBackground(true);
  UpdateAlignment();
  SetParentColor(true);
  SetBounds(0, 0, 65, 17);
}

void TLabel::SetAutoSize(bool autoSize)
{
  if (autoSize == autoSize_)
    return;
  autoSize_ = autoSize;
  AdjustBounds();
}

void TLabel::SetWordWrap(bool wordWrap)
{
  if (wordWrap == wordWrap_)
    return;
  wordWrap_ = wordWrap;
  label_->setWordWrap(wordWrap);
  AdjustBounds();
}

void TLabel::SetTransparent(bool transparent)
{
  transparent_ = transparent;
  label_->setAutoFillBackground(!transparent);
  Invalidate();
}

void TLabel::SetLayout(TTextLayout layout)
{
  layout_ = layout;
  UpdateAlignment();
}

void TLabel::UpdateAlignment()
{
  const Qt::Alignment vertical = layout_ == tlCenter   ? Qt::AlignVCenter
                                 : layout_ == tlBottom ? Qt::AlignBottom
                                                       : Qt::AlignTop;
  label_->setAlignment(Qt::AlignLeft | vertical);
}

QString TLabel::DisplayText() const
{
  // Each of CR LF, CR and LF breaks the line.
  QString text = ToQString(Text(), CodePage());
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text;
}

void TLabel::TextChanged()
{
  label_->setText(DisplayText());
  AdjustBounds();
}

void TLabel::FontChanged()
{
  TGraphicControl::FontChanged();
  AdjustBounds();
}

void TLabel::AdjustBounds()
{
  if (!autoSize_)
    return;
  const QFontMetrics metrics(Font()->QtFont());
  QString text = DisplayText();
  if (text.isEmpty())
    text = QStringLiteral(" ");  // an empty label keeps the size of a blank
  const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextExpandTabs;
  int width;
  int height;
  if (wordWrap_) {
    const QRect wrapped =
        metrics.boundingRect(QRect(0, 0, std::max(1, Width()), Unbounded), flags | Qt::TextWordWrap, text);
    // One line (measured the same way, which is taller than the font's height) shrinks the
    // label to the text; more keep the width unless a word is wider.
    const int oneLine =
        metrics.boundingRect(QRect(0, 0, Unbounded, Unbounded), flags, QStringLiteral("X")).height();
    height = wrapped.height();
    width = wrapped.height() > oneLine ? std::max(Width(), wrapped.width()) : wrapped.width();
  } else {
    const QRect natural = metrics.boundingRect(QRect(0, 0, Unbounded, Unbounded), flags, text);
    width = natural.width();
    height = natural.height();
  }
  SetBounds(Left(), Top(), width, height);
}
