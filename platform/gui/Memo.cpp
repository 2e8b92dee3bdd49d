#include "Memo.h"

#include <algorithm>
#include <cstdlib>

#include "MemoView.h"
#include "Numbers.h"

namespace {

// Only the viewport's mouse and wheel events reach the control: its hint and menu events there
// stay with Qt, as they always have.
using MemoWidget = ScrollHostWidget<MemoView, ViewportEvents::MouseAndWheel>;

}  // namespace

TMemo::TMemo(TComponent* AOwner) : TWinControl(AOwner, new MemoWidget(this))
{
  lines_ =
      std::make_unique<TMemoStrings>(View()->Store(), [this](bool replaced) { View()->TextChanged(replaced); });
  SetScrollBars(ssNone);
  SetBounds(0, 0, 185, 89);
}

TMemo::~TMemo() = default;

void TMemo::TextChanged()
{
  View()->SetCodePage(CodePage());
}

MemoView* TMemo::View() const
{
  return static_cast<MemoView*>(Widget());
}

const MemoStore& TMemo::Store() const
{
  return View()->Store();
}

AnsiString TMemo::Text() const
{
  return View()->Store().Text();
}

void TMemo::SetText(const AnsiString& text)
{
  lines_->SetText(text);
}

int64_t TMemo::GetTextLen() const
{
  return View()->Store().TextLength();
}

int64_t TMemo::SelStart() const
{
  return std::min(View()->Anchor(), View()->Caret());
}

void TMemo::SetSelStart(int64_t start)
{
  View()->Select(start, start);
}

int64_t TMemo::SelLength() const
{
  return std::abs(View()->Caret() - View()->Anchor());
}

void TMemo::SetSelLength(int64_t length)
{
  const int64_t start = SelStart();
  View()->Select(start, start + length);
}

AnsiString TMemo::SelText() const
{
  const int64_t anchor = View()->Anchor();
  const int64_t caret = View()->Caret();
  return View()->Store().Range(std::min(anchor, caret), std::max(anchor, caret));
}

void TMemo::SetScrollBars(TScrollStyle scrollBars)
{
  scrollBars_ = scrollBars;
  const bool horizontal = scrollBars == ssHorizontal || scrollBars == ssBoth;
  const bool vertical = scrollBars == ssVertical || scrollBars == ssBoth;
  View()->setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
  View()->setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
}

void TMemo::SetHideSelection(bool hide)
{
  hideSelection_ = hide;
  View()->SetHideSelection(hide);
}

TPoint TMemo::CaretPos() const
{
  const MemoStore& store = View()->Store();
  const int64_t line = store.LineOf(View()->Caret());
  const int64_t column = std::min(View()->Caret() - store.LineStart(line), store.LineLength(line));
  return TPoint{ClampToInt(column), ClampToInt(line)};
}

int64_t TMemo::LineFromChar(int64_t position) const
{
  return View()->Store().LineOf(position < 0 ? SelStart() : position);
}

int64_t TMemo::LineIndex(int64_t line) const
{
  const MemoStore& store = View()->Store();
  if (line < 0)
    return store.LineStart(store.LineOf(View()->Caret()));
  return line < store.ViewLineCount() ? store.LineStart(line) : -1;
}

void TMemo::LineScroll(int64_t lines)
{
  View()->ScrollLines(lines);
}

QMargins TMemo::NonClientMargins() const
{
  const QWidget* area = Widget();
  const QRect client = View()->viewport()->geometry();
  return QMargins(std::max(0, client.left()), std::max(0, client.top()),
                  std::max(0, area->width() - client.right() - 1),
                  std::max(0, area->height() - client.bottom() - 1));
}
