#include "ActnList.h"

#include <QAction>
#include <QWidget>
#include <algorithm>

#include "Control.h"
#include "Guard.h"
#include "Keys.h"

TActionList::TActionList(TComponent* AOwner) : TComponent(AOwner)
{
  if (auto* control = dynamic_cast<TControl*>(AOwner))
    scope_ = control->Widget();
}

TActionList::~TActionList()
{
  for (TAction* action : actions_) {
    if (scope_)
      scope_->removeAction(action->action_.get());
    action->list_ = nullptr;
  }
}

void TActionList::AttachTo(TControl* control)
{
  QWidget* scope = control ? control->Widget() : nullptr;
  for (TAction* action : actions_) {
    if (scope_)
      scope_->removeAction(action->action_.get());
    if (scope)
      scope->addAction(action->action_.get());
  }
  scope_ = scope;
}

void TActionList::Insert(TAction* action)
{
  actions_.push_back(action);
  if (scope_)
    scope_->addAction(action->action_.get());
}

void TActionList::Remove(TAction* action)
{
  actions_.erase(std::remove(actions_.begin(), actions_.end(), action), actions_.end());
  if (scope_)
    scope_->removeAction(action->action_.get());
}

TAction::TAction(TComponent* AOwner) : TComponent(AOwner), action_(std::make_unique<QAction>())
{
  // Qt matches a window short-cut only while the widget carrying the action is visible and
  // enabled (its parents included) in the active window.
  action_->setShortcutContext(Qt::WindowShortcut);
  QObject::connect(action_.get(), &QAction::triggered, action_.get(), [this] { FireEvent(OnExecute, this); });
}

TAction::~TAction()
{
  if (list_)
    list_->Remove(this);
}

void TAction::SetActionList(TActionList* list)
{
  if (list == list_)
    return;
  if (list_)
    list_->Remove(this);
  list_ = list;
  if (list_)
    list_->Insert(this);
}

void TAction::SetShortCut(TShortCut shortCut)
{
  shortCut_ = shortCut;
  const int key = QtKeyFromVirtualKey(shortCut);
  action_->setShortcut(key != 0 ? QKeySequence(key) : QKeySequence());
}
