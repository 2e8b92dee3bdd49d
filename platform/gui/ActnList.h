#pragma once
// Actions with keyboard short-cuts that work whichever control of the window has the focus.
// The short-cuts of a list belong to one control (by default the form owning the list) and work
// only while that control is enabled and its window is the active one.
#include <memory>
#include <vector>

#include <QPointer>

#include "Component.h"
#include "Events.h"

class QAction;
class QWidget;
class TAction;
class TControl;

// A virtual-key code; the program uses plain keys without modifiers.
using TShortCut = Word;

class TActionList : public TComponent {
public:
  explicit TActionList(TComponent* AOwner);
  ~TActionList() override;

  // Moves the short-cuts to a control inside the window, so that disabling it (the main panel
  // while a progress window pumps messages) blocks them.
  void AttachTo(TControl* control);

private:
  friend class TAction;
  void Insert(TAction* action);
  void Remove(TAction* action);

  std::vector<TAction*> actions_;
  QPointer<QWidget> scope_;
};

class TAction : public TComponent {
public:
  explicit TAction(TComponent* AOwner);
  ~TAction() override;

  TActionList* ActionList() const { return list_; }
  void SetActionList(TActionList* list);

  TShortCut ShortCut() const { return shortCut_; }
  void SetShortCut(TShortCut shortCut);

  TNotifyEvent OnExecute;

private:
  friend class TActionList;

  std::unique_ptr<QAction> action_;
  TActionList* list_ = nullptr;
  TShortCut shortCut_ = 0;
};
