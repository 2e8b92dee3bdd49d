#include <QApplication>
#include <QMenu>
#include <memory>
#include <string>
#include <vector>

#include "ActnList.h"
#include "ListBox.h"
#include "Menus.h"
#include "Panel.h"
#include "support/GuiTest.h"
#include "support/WindowInput.h"

namespace {

using Log = std::vector<std::string>;

QMenu* OpenMenu()
{
  return qobject_cast<QMenu*>(QApplication::activePopupWidget());
}

void ClickItem(QMenu* menu, int index)
{
  const QPoint at = menu->actionGeometry(menu->actions()[index]).center();
  window_input::Mouse(menu, QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
  window_input::Click(menu, at);
}

using PopupMenuTest = GuiTest;

TEST_F(PopupMenuTest, ItemsShowInTheOrderAddedAndClickAfterTheMenuClosed)
{
  TForm form(nullptr);
  form.Show();
  ASSERT_TRUE(RunLoopUntil([&] { return form.Widget()->isActiveWindow(); }));
  TPopupMenu popup(nullptr);
  Log log;
  std::vector<TMenuItem*> items;
  for (const char* caption : {"Rename parametr", "Delete parametr", "Hide & show"}) {
    auto* item = new TMenuItem(&popup);
    item->SetCaption(caption);
    item->OnClick = [&log, item](TObject* sender) {
      EXPECT_EQ(sender, item);
      log.push_back(item->Caption() + (OpenMenu() ? ", menu open" : ", menu closed"));
    };
    popup.Items()->Add(item);
    items.push_back(item);
  }
  const QPoint at = form.Widget()->mapToGlobal(QPoint(20, 20));
  popup.Popup(at.x(), at.y());
  QMenu* menu = OpenMenu();
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(menu->actions().size(), 3);
  EXPECT_EQ(menu->actions()[0]->text(), "Rename parametr");
  ClickItem(menu, 2);
  ASSERT_TRUE(RunLoopUntil([&] { return !log.empty(); }));
  EXPECT_EQ(log, Log{"Hide & show, menu closed"});

  // An item freed on its own leaves the menu; a caption changed later shows the next time.
  delete items[0];
  items[1]->SetCaption("Delete status");
  popup.Popup(at.x(), at.y());
  menu = OpenMenu();
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(menu->actions().size(), 2);
  EXPECT_EQ(menu->actions()[0]->text(), "Delete status");
  menu->close();
}

TEST_F(PopupMenuTest, AListBoxFreesItsPopupAndTheItemsWithIt)
{
  // As the program builds it: the popup owned by its list box, the items by the popup.
  auto* list = new TListBox(nullptr);
  auto* popup = new TPopupMenu(list);
  auto* item = new TMenuItem(popup);
  popup->Items()->Add(item);
  list->SetPopupMenu(popup);
  const QPoint at(10, 10);
  popup->Popup(at.x(), at.y());
  ASSERT_NE(OpenMenu(), nullptr);
  delete list;  // the open menu goes too; the sanitizer build checks nothing is touched after
  RunLoopFor(10);
  EXPECT_EQ(OpenMenu(), nullptr);
}

// A main form with MainPanel holding two focusable controls, and the form's actions.
class ActionTest : public GuiTest {
protected:
  void SetUp() override
  {
    GuiTest::SetUp();
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 400, 300);
    mainPanel = new TPanel(form.get());
    mainPanel->SetParent(form.get());
    mainPanel->SetAlign(alClient);
    first = new TPanel(mainPanel);
    first->SetParent(mainPanel);
    first->SetBounds(0, 0, 50, 50);
    list = new TListBox(mainPanel);
    list->SetParent(mainPanel);
    list->SetBounds(100, 0, 100, 100);
    actions = new TActionList(form.get());
    for (TShortCut key : {114, 123}) {  // F3, F12
      auto* action = new TAction(form.get());
      action->SetActionList(actions);
      action->SetShortCut(key);
      action->OnExecute = [this, key](TObject*) { log.push_back("execute " + std::to_string(key)); };
    }
    form->Show();
    ASSERT_TRUE(RunLoopUntil([&] { return form->Widget()->isActiveWindow(); }));
  }

  void Key(int qtKey) { window_input::Key(form->Widget(), qtKey); }

  std::unique_ptr<TForm> form;
  TPanel* mainPanel = nullptr;
  TPanel* first = nullptr;
  TListBox* list = nullptr;
  TActionList* actions = nullptr;
  Log log;
};

TEST_F(ActionTest, AShortCutWorksWhicheverControlHasTheFocus)
{
  first->SetFocus();
  Key(Qt::Key_F3);
  list->SetFocus();
  Key(Qt::Key_F12);
  Key(Qt::Key_F4);  // no action has it
  form->SetFocus();
  Key(Qt::Key_F3);
  EXPECT_EQ(log, (Log{"execute 114", "execute 123", "execute 114"}));
}

TEST_F(ActionTest, AttachedToTheMainPanelTheShortCutsStopWhileItIsDisabled)
{
  actions->AttachTo(mainPanel);
  list->SetFocus();
  Key(Qt::Key_F3);
  mainPanel->SetEnabled(false);  // a progress window pumps messages
  Key(Qt::Key_F3);
  Key(Qt::Key_F12);
  mainPanel->SetEnabled(true);
  list->SetFocus();
  Key(Qt::Key_F12);
  EXPECT_EQ(log, (Log{"execute 114", "execute 123"}));

  // Another window active: the form's short-cuts are not its.
  TForm other(nullptr);
  other.Show();
  other.SetFocus();
  ASSERT_TRUE(RunLoopUntil([&] { return other.Widget()->isActiveWindow(); }));
  window_input::Key(other.Widget(), Qt::Key_F3);
  EXPECT_EQ(log.size(), 2u);
}

TEST_F(ActionTest, TheMainPanelFreedBeforeTheActionsLeavesThemHarmless)
{
  actions->AttachTo(mainPanel);
  delete mainPanel;  // as the program frees its controls before the form
  Key(Qt::Key_F3);
  EXPECT_TRUE(log.empty());
}

}  // namespace
