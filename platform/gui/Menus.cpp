#include "Menus.h"

#include <QAction>
#include <QMenu>
#include <algorithm>

#include "Guard.h"
#include "TextBoundary.h"

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner), action_(std::make_unique<QAction>())
{
  // Queued: the handler runs after the menu has closed and Qt has finished with the click, so
  // it may open dialogs or rebuild the menu.
  QObject::connect(
      action_.get(), &QAction::triggered, action_.get(), [this] { FireEvent(OnClick, this); },
      Qt::QueuedConnection);
}

TMenuItem::~TMenuItem()
{
  for (TMenuItem* item : items_)
    item->parent_ = nullptr;
  if (parent_)
    parent_->Remove(this);
}

void TMenuItem::SetCaption(const AnsiString& caption)
{
  caption_ = caption;
  QString text = ToQString(caption);
  text.replace(QLatin1Char('&'), QLatin1String("&&"));  // Qt would take "&" for a mnemonic
  action_->setText(text);
}

void TMenuItem::Add(TMenuItem* item)
{
  if (item == nullptr || item == this || item->parent_ == this)
    return;
  if (item->parent_)
    item->parent_->Remove(item);
  item->parent_ = this;
  items_.push_back(item);
}

void TMenuItem::Remove(TMenuItem* item)
{
  items_.erase(std::remove(items_.begin(), items_.end(), item), items_.end());
  item->parent_ = nullptr;
}

TPopupMenu::TPopupMenu(TComponent* AOwner) : TComponent(AOwner), items_(nullptr)
{
}

TPopupMenu::~TPopupMenu()
{
  // The items it owns go while the root they hang under still exists.
  DestroyComponents();
}

void TPopupMenu::Popup(int X, int Y)
{
  if (!menu_)
    menu_ = std::make_unique<QMenu>();
  menu_->close();
  menu_->clear();  // the actions belong to the items, not to the menu
  for (TMenuItem* item : items_.items_)
    menu_->addAction(item->action_.get());
  if (!menu_->isEmpty())
    menu_->popup(QPoint(X, Y));
}
