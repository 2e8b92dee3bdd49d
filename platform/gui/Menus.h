#pragma once
// Popup menus: a TPopupMenu holds TMenuItems under its Items; a control opens the menu named
// by its PopupMenu on a right click. An item's OnClick runs from the message loop once the
// menu has closed, as the class library posts the menu command.
#include <memory>
#include <vector>

#include "Component.h"
#include "Events.h"
#include "System.h"

class QAction;
class QMenu;

class TMenuItem : public TComponent {
public:
  explicit TMenuItem(TComponent* AOwner);
  ~TMenuItem() override;

  // Plain text: an "&" shows as itself.
  const AnsiString& Caption() const { return caption_; }
  void SetCaption(const AnsiString& caption);

  // Appends an item below this one; an item sits under one parent item at a time.
  void Add(TMenuItem* item);

  TNotifyEvent OnClick;

private:
  friend class TPopupMenu;
  void Remove(TMenuItem* item);

  std::unique_ptr<QAction> action_;
  AnsiString caption_;
  TMenuItem* parent_ = nullptr;
  std::vector<TMenuItem*> items_;
};

class TPopupMenu : public TComponent {
public:
  explicit TPopupMenu(TComponent* AOwner);
  ~TPopupMenu() override;

  // The root whose items the menu shows, in the order added.
  TMenuItem* Items() { return &items_; }

  // Opens the menu at a screen position and returns at once.
  void Popup(int X, int Y);

private:
  TMenuItem items_;
  std::unique_ptr<QMenu> menu_;
};
