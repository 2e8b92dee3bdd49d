#include "PageControl.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionTabWidgetFrame>
#include <QTabBar>
#include <algorithm>

#include "Colors.h"
#include "Guard.h"
#include "TextBoundary.h"

namespace {

// Pixels between the pane's edge and the sheets.
constexpr int PaneFrame = 2;

QString TabText(const TTabSheet* page)
{
  QString text = ToQString(page->Caption(), page->CodePage());
  return text.replace(QLatin1Char('&'), QLatin1String("&&"));  // no mnemonics
}

}  // namespace

// ---- TTabSheet ----

TTabSheet::TTabSheet(TComponent* AOwner) : TWinControl(AOwner, new HostWidget<QWidget>(this))
{
  Widget()->setAutoFillBackground(true);
  SetVisible(false);  // until its page control makes it the active sheet
  SetAlign(alClient);
}

TTabSheet::~TTabSheet()
{
  BeginDestruction();
  if (pageControl_)
    pageControl_->RemovePage(this);
}

void TTabSheet::SetPageControl(TPageControl* pageControl)
{
  if (pageControl == pageControl_)
    return;
  if (pageControl_)
    pageControl_->RemovePage(this);
  SetVisible(false);
  SetParent(pageControl);
  if (pageControl)
    pageControl->InsertPage(this);
}

void TTabSheet::TextChanged()
{
  if (pageControl_)
    pageControl_->CaptionChanged(this);
}

// ---- TPageControl ----

TPageControl::TPageControl(TComponent* AOwner)
    : TWinControl(AOwner, new HostWidget<QWidget>(this)), tabBar_(new QTabBar(Widget()))
{
  tabBar_->setDrawBase(false);
  tabBar_->setExpanding(false);
  tabBar_->setUsesScrollButtons(true);
  // A click on a tab takes the focus, so that an edit on the old sheet is left first.
  tabBar_->setFocusPolicy(Qt::StrongFocus);
  QObject::connect(tabBar_, &QTabBar::currentChanged, tabBar_,
                   [this](int index) { Guarded(this, [this, index] { TabPicked(index); }); });
  SetBounds(0, 0, 289, 193);
}

TPageControl::~TPageControl()
{
  BeginDestruction();
  QObject::disconnect(tabBar_, nullptr, nullptr, nullptr);
  // The sheets are freed as children after this; they must not call back into this object.
  for (TTabSheet* page : pages_)
    page->pageControl_ = nullptr;
  pages_.clear();
  activePage_ = nullptr;
}

int TPageControl::IndexOf(const TTabSheet* page) const
{
  const auto it = std::find(pages_.begin(), pages_.end(), page);
  return it == pages_.end() ? -1 : static_cast<int>(it - pages_.begin());
}

void TPageControl::InsertPage(TTabSheet* page)
{
  page->pageControl_ = this;
  pages_.push_back(page);
  settingTab_ = true;
  tabBar_->addTab(TabText(page));
  settingTab_ = false;
  PlaceTabBar();
  Realign();
  // The first sheet becomes the active one, as the tab row selects its first tab.
  if (!activePage_)
    ChangeActivePage(page);
  else
    ChangeActivePage(activePage_);  // the tab bar shows the active sheet's tab again
}

void TPageControl::RemovePage(TTabSheet* page)
{
  const int index = IndexOf(page);
  if (index < 0)
    return;
  page->SetVisible(false);
  pages_.erase(pages_.begin() + index);
  page->pageControl_ = nullptr;
  const bool wasActive = activePage_ == page;
  if (wasActive)
    activePage_ = nullptr;
  settingTab_ = true;
  tabBar_->removeTab(index);
  settingTab_ = false;
  // Without its active sheet the control shows the one whose tab the row has moved to.
  const int next = tabBar_->currentIndex();
  ChangeActivePage(wasActive && next >= 0 ? pages_[static_cast<size_t>(next)] : activePage_);
}

void TPageControl::CaptionChanged(TTabSheet* page)
{
  const int index = IndexOf(page);
  if (index >= 0)
    tabBar_->setTabText(index, TabText(page));
}

void TPageControl::SetActivePage(TTabSheet* page)
{
  if (page && page->pageControl_ != this)
    return;
  ChangeActivePage(page);
}

void TPageControl::ChangeActivePage(TTabSheet* page)
{
  TTabSheet* old = activePage_;
  if (page != old) {
    // The focus leaves the old sheet before anything changes, so its OnExit sees the old state.
    const QWidget* focus = QApplication::focusWidget();
    if (old && focus && old->Widget()->isAncestorOf(focus))
      tabBar_->setFocus(Qt::OtherFocusReason);
    // Shown first: the new sheet is sized (and its OnResize runs) while the old one is active.
    if (page) {
      page->BringToFront();
      page->SetVisible(true);
    }
    if (old)
      old->SetVisible(false);
    activePage_ = page;
  }
  settingTab_ = true;
  tabBar_->setCurrentIndex(IndexOf(activePage_));
  settingTab_ = false;
}

void TPageControl::TabPicked(int index)
{
  if (settingTab_ || index < 0 || index >= static_cast<int>(pages_.size()))
    return;
  ChangeActivePage(pages_[static_cast<size_t>(index)]);
  FireEvent(OnChange, this);
}

TRect TPageControl::TabRect(int index) const
{
  const QRect tab = tabBar_->tabRect(index);
  if (tab.isEmpty())
    return TRect{0, 0, 0, 0};
  const QPoint origin = tabBar_->pos() + tab.topLeft() - ClientOriginInWidget();
  return TRect{origin.x(), origin.y(), origin.x() + tab.width(), origin.y() + tab.height()};
}

int TPageControl::TabRowHeight() const
{
  return tabBar_->count() > 0 ? tabBar_->sizeHint().height() : 0;
}

void TPageControl::PlaceTabBar()
{
  tabBar_->setGeometry(0, 0, Width(), TabRowHeight());
}

TRect TPageControl::AlignRect() const
{
  const int top = TabRowHeight();
  return TRect{PaneFrame, top + PaneFrame, std::max(PaneFrame, ClientWidth() - PaneFrame),
               std::max(top + PaneFrame, ClientHeight() - PaneFrame)};
}

QWidget* TPageControl::FocusWidget() const
{
  return tabBar_;
}

void TPageControl::ApplyGeometry()
{
  TWinControl::ApplyGeometry();
  PlaceTabBar();
}

void TPageControl::FontChanged()
{
  TWinControl::FontChanged();
  PlaceTabBar();
  Realign();
}

bool TPageControl::PaintWidget(QWidget* widget)
{
  QPainter painter(widget);
  painter.fillRect(widget->rect(), ToQColor(Color()));
  QStyleOptionTabWidgetFrame pane;
  pane.initFrom(widget);
  const int top = TabRowHeight();
  pane.rect = QRect(0, top, widget->width(), widget->height() - top);
  pane.lineWidth = 1;
  widget->style()->drawPrimitive(QStyle::PE_FrameTabWidget, &pane, &painter, widget);
  return true;
}
