#include "support/ControlTest.h"

namespace {

QMenu* OpenMenu()
{
  return qobject_cast<QMenu*>(QApplication::activePopupWidget());
}

// The captions of the open menu, or "closed".
std::string OpenItems()
{
  QMenu* menu = OpenMenu();
  std::string items = menu ? "" : "closed";
  for (const QAction* action : menu ? menu->actions() : QList<QAction*>())
    items += action->text().toStdString() + ";";
  return items;
}

using PopupMenuTest = FormTest;

TEST_F(PopupMenuTest, ItemsShowInTheOrderAddedAndClickAfterTheMenuClosed)
{
  ShowActive();
  TPopupMenu popup(nullptr);
  Log log;
  std::vector<TMenuItem*> items;
  for (const char* caption : {"Rename parametr", "Delete parametr", "Hide & show"}) {
    auto* item = new TMenuItem(&popup);
    item->SetCaption(caption);
    item->OnClick = [&log, item](TObject* sender) {
      log.push_back((sender == item ? item->Caption() : "?") + (OpenMenu() ? ", menu open" : ", menu closed"));
    };
    popup.Items()->Add(item);
    items.push_back(item);
  }
  const QPoint at = form->Widget()->mapToGlobal(QPoint(20, 20));
  popup.Popup(at.x(), at.y());
  EXPECT_EQ(OpenItems(), "Rename parametr;Delete parametr;Hide && show;");
  QMenu* menu = OpenMenu();
  const QPoint third = menu->actionGeometry(menu->actions()[2]).center();
  window_input::Mouse(menu, QEvent::MouseMove, third, Qt::NoButton, Qt::NoButton);
  window_input::Click(menu, third);
  ASSERT_TRUE(RunLoopUntil([&] { return !log.empty(); }));
  EXPECT_EQ(log, Log{"Hide & show, menu closed"});

  // An item freed or moved under another leaves the menu; a caption changed later shows the next time.
  delete items[0];
  (new TMenuItem(&popup))->Add(items[1]);
  items[2]->SetCaption("Hide");
  popup.Popup(at.x(), at.y());
  EXPECT_EQ(OpenItems(), "Hide;");
  OpenMenu()->close();
}

TEST_F(PopupMenuTest, AListBoxFreesItsPopupAndTheItemsWithIt)
{
  // As the program builds it: the popup owned by its list box, the items by the popup.
  auto* list = new TListBox(nullptr);
  auto* popup = new TPopupMenu(list);
  popup->Items()->Add(new TMenuItem(popup));
  list->SetPopupMenu(popup);
  popup->Popup(10, 10);
  ASSERT_NE(OpenMenu(), nullptr);
  delete list;  // the open menu goes too; the sanitizer build checks nothing is touched after
  RunLoopFor(10);
  EXPECT_EQ(OpenMenu(), nullptr);
}

// MainPanel holding two focusable controls, and the form's actions on F3 and F12.
class ActionTest : public FormTest {
protected:
  void SetUp() override
  {
    FormTest::SetUp();
    mainPanel = PlacePanel(form.get(), 0, 0, 400, 300);
    first = Place<TPanel>(mainPanel, 0, 0, 50, 50);
    list = Place<TListBox>(mainPanel, 100, 0, 100, 100);
    actions = new TActionList(form.get());
    for (TShortCut key : {114, 123}) {
      auto* action = new TAction(form.get());
      action->SetActionList(actions);
      action->SetShortCut(key);
      action->OnExecute = [this, key](TObject*) { log.push_back(std::to_string(key)); };
    }
    ShowActive();
  }

  void Key(int qtKey) { window_input::Key(form->Widget(), qtKey); }

  TPanel* mainPanel = nullptr;
  TPanel* first = nullptr;
  TListBox* list = nullptr;
  TActionList* actions = nullptr;
  Log log;
};

TEST_F(ActionTest, AShortCutWorksWhicheverControlHasTheFocusWhileItsPanelIsEnabledAndTheFormActive)
{
  first->SetFocus();
  Key(Qt::Key_F3);
  list->SetFocus();
  Key(Qt::Key_F12);
  Key(Qt::Key_F4);  // no action has it
  form->SetFocus();
  Key(Qt::Key_F3);
  actions->AttachTo(mainPanel);
  mainPanel->SetEnabled(false);  // a progress window pumps messages
  Key(Qt::Key_F3);
  mainPanel->SetEnabled(true);
  list->SetFocus();
  Key(Qt::Key_F12);
  TForm other(nullptr);  // another window active: the form's short-cuts are not its
  other.Show();
  other.SetFocus();
  ASSERT_TRUE(RunLoopUntil([&] { return other.Widget()->isActiveWindow(); }));
  window_input::Key(other.Widget(), Qt::Key_F3);
  delete mainPanel;  // as the program frees its controls before the form
  Key(Qt::Key_F3);
  EXPECT_EQ(log, (Log{"114", "123", "114", "123"}));
}

}  // namespace
