// The parameter and status list pages of the Mask tab, driven through the real window: double
// clicks into the editor mask, the two popup menus (hide, show, all or only the shown, rename
// with its clash message, delete; add and delete statuses) and the rename by dictionary; none
// of them acts while a parse runs. Screenshots of both popups and the clash message go to
// <build>/screenshots/editor/.
#include <QAbstractScrollArea>
#include <QApplication>
#include <QFontMetrics>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QTabBar>
#include <filesystem>
#include <string>
#include <vector>

#include "ComboBox.h"
#include "ListBox.h"
#include "Menus.h"
#include "PageControl.h"
#include "ScrollBox.h"
#include "StdCtrls.h"
#include "app/MessageWindow.h"
#include "support/DialogDriver.h"
#include "support/Records.h"
#include "support/StartTestSupport.h"
#include "support/WindowInput.h"

namespace {

const char* const RpmRu = "\xCE\xE1\xEE\xF0\xEE\xF2\xFB";  // "Обороты"
const char* const SpeedRu =
    "\xD1\xEA\xEE\xF0\xEE\xF1\xF2\xFC \xE0\xE2\xF2\xEE\xEC\xEE\xE1\xE8\xEB\xFF";  // "Скорость автомобиля"

QWidget* View(TListBox* list)
{
  return static_cast<QAbstractScrollArea*>(list->Widget())->viewport();
}

int LineHeight(TListBox* list)
{
  return QFontMetrics(list->Font()->QtFont()).height();
}

QPoint LinePoint(TListBox* list, int line)
{
  return QPoint(30, (line - list->TopIndex()) * LineHeight(list) + LineHeight(list) / 2);
}

QMenu* OpenMenu()
{
  return qobject_cast<QMenu*>(QApplication::activePopupWidget());
}

std::string Joined(TStrings* lines)
{
  std::string joined;
  for (int i = 0; i < lines->Count(); ++i)
    joined += lines->Get(i) + ";";
  return joined;
}

// The window, with an open popup or a modal window drawn over it where it stands, as a PNG.
void SaveScene(QWidget* window, const std::string& scene, QWidget* over = nullptr)
{
  const std::filesystem::path folder =
      std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path() / "screenshots" / "editor";
  std::filesystem::create_directories(folder);
  QPixmap shot = window->grab();
  if (over) {
    QPainter painter(&shot);
    const QPoint at = window->mapFromGlobal(over->mapToGlobal(QPoint(0, 0)));
    painter.drawPixmap(at, over->grab());
    painter.setPen(Qt::darkGray);
    painter.drawRect(QRect(at, over->size()).adjusted(-1, -1, 0, 0));
  }
  EXPECT_TRUE(shot.save(QString::fromStdString((folder / (scene + ".png")).string())));
}

class ListPages : public ProgramStart {
protected:
  void SetUp() override
  {
    u = &Start();
    form->SetWindowState(wsNormal);
    form->SetBounds(0, 0, 800, 600);  // on the headless screen, popups included
    u->Language = 1;
    u->ApplyLanguage();
    u->PageControl->SetActivePage(u->OptionsPage);
    u->OptionsPageControl->SetActivePage(u->MaskPage);
    // The editor mask: the first, "QEL Common".
    u->MaskCombo->Items()->Clear();
    for (int i = 0; i < u->MaskCells->Count(); ++i)
      u->MaskCombo->Items()->Add(u->MaskName(u->MaskCells->Get(i)));
    u->MaskCombo->SetItemIndex(0);
    u->EditorMaskIndex = 0;
    ASSERT_TRUE(u->EditorMask(mask));
    // Parameters of the test's own: "Обороты" (RPM, in the mask) and P00 to P39.
    u->ClearTypeCells();
    LTypeCell* rpm = AddItem(u->TypeCells, 2, RpmRu);
    rpm->NameEn = "RPM", rpm->NameDe = "Motordrehzahl";
    for (int i = 0; i < 40; ++i)
      AddItem(u->TypeCells, 3 + i, (i < 10 ? "P0" : "P") + std::to_string(i));
    u->FillChannelList();
    u->FillStatusList();
  }

  void ShowList(TListBox* list)
  {
    u->ListPageControl->SetActivePage(list == u->StatusList ? u->StatusListPage : u->ChannelListPage);
    RunLoopFor(10);
  }

  // Right-clicks a line (scrolled into view) and picks a menu entry; the entry's handler has
  // run when this returns, unless it opened a modal window that is still open.
  void Choose(TListBox* list, int line, TMenuItem* entry, const char* scene = nullptr)
  {
    ShowList(list);
    if (line >= 0 && (line < list->TopIndex() || LinePoint(list, line).y() > View(list)->height()))
      list->SetTopIndex(line);
    window_input::Click(View(list), line >= 0 ? LinePoint(list, line) : QPoint(30, View(list)->height() - 2),
                        Qt::RightButton);
    QMenu* menu = OpenMenu();
    ASSERT_NE(menu, nullptr);
    if (scene)
      SaveScene(form->Widget(), scene, menu);
    int index = 0;
    for (TMenuItem* item : {u->RenameChannelMenu, u->DeleteChannelMenu, u->HideChannelMenu, u->ShowChannelMenu,
                            u->ShowAllChannelsMenu, u->AddStatusMenu, u->DeleteStatusMenu})
      if (item == entry)
        break;
      else if (item->Owner() == entry->Owner())
        ++index;
    const QPoint at = menu->actionGeometry(menu->actions()[index]).center();
    window_input::Mouse(menu, QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
    window_input::Click(menu, at);
    RunLoopFor(30);
  }

  void DoubleClick(TListBox* list, const AnsiString& text)
  {
    ShowList(list);
    const int line = list->Items()->IndexOf(text);
    ASSERT_GE(line, 0) << text;
    list->SetTopIndex(line);
    window_input::DoubleClick(View(list), LinePoint(list, line));
  }

  // The mask's items from the first one at `from`: id and the three names.
  std::string Items(int from) const
  {
    std::string items;
    for (int i = from; i < mask->Items->Count(); ++i) {
      const LTypeCell& item = *mask->Items->Get(i);
      items += std::to_string(item.Id) + " " + item.NameRu + "/" + item.NameEn + "/" + item.NameDe + "; ";
    }
    return items;
  }

  // Count, selected line and its text, top line of the parameter list.
  std::string ChannelView() const
  {
    TListBox* list = u->ChannelList;
    const int selected = list->ItemIndex();
    return std::to_string(list->Items()->Count()) + " @" + std::to_string(selected) + " " +
           (selected >= 0 ? list->Items()->Get(selected) : AnsiString("-")) + " top " +
           std::to_string(list->TopIndex());
  }

  std::string Channels() const
  {
    std::string all;
    for (int i = 0; i < u->TypeCells->Count(); ++i) {
      const LTypeCell& c = *u->TypeCells->Get(i);
      all += std::to_string(c.Id) + " " + c.NameRu + "/" + c.NameEn + "/" + c.NameDe + " " +
             std::to_string(c.Chart) + "; ";
    }
    return all;
  }

  // The colour a line of the parameter list is drawn on, at its right end.
  QRgb LineColor(int line)
  {
    u->ChannelList->SetItemIndex(-1);
    u->ChannelList->SetTopIndex(line);
    const QImage shot = View(u->ChannelList)->grab().toImage();
    return shot.pixel(shot.width() - 3, LinePoint(u->ChannelList, line).y()) & 0xFFFFFF;
  }

  BQELunit* u = nullptr;
  LMaskCell* mask = nullptr;
};

// A parameter or status once: by a name in any language, a status beside a parameter item of
// its name; the new items stand last with the looks of new items.
TEST_F(ListPages, DoubleClicksAddTheLinesParameterOrStatusToTheEditorMaskOnce)
{
  const int before = mask->Items->Count();
  const std::string old = Items(0);
  LTypeCell* p07 = u->TypeCells->Get(8);
  p07->NameRu = "P07-ru", p07->NameDe = "P07-de";
  for (const char* name : {"P07", "P07", "RPM"})
    DoubleClick(u->ChannelList, name);
  auto* status = new LStatusCell;
  status->Name = "P07";
  status->Steps = new TPtrList<LStatusStep>;
  u->StatusCells->Add(status);
  u->FillStatusList();
  for (const char* name : {"EVAP", "Drive", "P07", "EVAP"})
    DoubleClick(u->StatusList, name);
  EXPECT_EQ(Items(0).substr(0, old.size()), old);
  EXPECT_EQ(Items(before), "10 P07-ru/P07/P07-de; 1 EVAP/EVAP/EVAP; 1 P07/P07/P07; ");
  EXPECT_EQ(mask->Items->Get(before + 1)->Factor, 100);
}

// Hiding a line selects the next one, or the new last, keeping the top line; all lines show the
// hidden ones on grey, and the menu offers to hide them again; a shown parameter is drawn
// plain; deleting takes parameter and line, while mask items of its name stay.
TEST_F(ListPages, TheParameterMenuHidesShowsListsAllAndDeletes)
{
  ShowList(u->ChannelList);
  const int rows = View(u->ChannelList)->height() / LineHeight(u->ChannelList);
  ASSERT_GE(rows, 6);
  u->ChannelList->SetTopIndex(3);
  std::vector<std::string> seen;
  Choose(u->ChannelList, 5, u->HideChannelMenu, "parameter-menu");
  seen.push_back(ChannelView());
  Choose(u->ChannelList, 39, u->HideChannelMenu);
  seen.push_back(ChannelView() + " " + u->ShowAllChannelsMenu->Caption());
  Choose(u->ChannelList, 0, u->ShowAllChannelsMenu);
  seen.push_back(ChannelView() + " " + u->ShowAllChannelsMenu->Caption());
  const QRgb hidden = LineColor(5), plain = LineColor(4);
  Choose(u->ChannelList, 5, u->ShowChannelMenu);
  const QRgb shown = LineColor(5);
  Choose(u->ChannelList, 0, u->ShowAllChannelsMenu);
  seen.push_back(ChannelView() + " " + u->ShowAllChannelsMenu->Caption());
  AddItem(mask->Items, 3, "P00");
  Choose(u->ChannelList, 0, u->DeleteChannelMenu);
  seen.push_back(ChannelView());
  EXPECT_EQ(seen, (std::vector<std::string>{
                      "40 @5 P06 top 3",
                      "39 @38 P39 top " + std::to_string(39 - rows) + " Show all parametrs",
                      "41 @-1 - top 0 Hide not-used parametrs",
                      "40 @-1 - top 0 Show all parametrs",
                      "39 @-1 - top 0",
                  }));
  EXPECT_EQ(hidden, 0xC0C0C0u);
  EXPECT_TRUE(plain != hidden && shown == plain);
  EXPECT_EQ(u->ChannelOfLine("P00"), nullptr);
  EXPECT_EQ(mask->Items->Get(mask->Items->Count() - 1)->NameRu, "P00");
}

// Another parameter's English name: the message of text 73 counts down from 15 and closes by
// itself, and no name changes. Accepted: the line and the mask items of the Russian name take
// the new names; a new Russian name leaves those items with their names and without a parameter.
TEST_F(ListPages, RenameIsRefusedOnAClashWithAMessageAndOtherwiseReachesTheMaskItems)
{
  BMessageBox::TickInterval = 20;
  const std::string before = Channels();
  const auto typeNames = [](const char* ru, const char* en, const char* de) {
    return [=](QWidget* dialog) {
      const QList<QLineEdit*> edits = dialog->findChildren<QLineEdit*>();
      ASSERT_EQ(edits.size(), 3);
      edits[0]->setText(QString::fromUtf8(ru)), edits[1]->setText(en), edits[2]->setText(de);
      for (QPushButton* button : dialog->findChildren<QPushButton*>())
        if (button->text() == "Ok")
          window_input::Click(button, button->rect().center());
    };
  };
  QString message;
  DialogDriver clash;
  clash.Then<QWidget>(typeNames("P01", "RPM", "P01")).Then<QWidget>([&](QWidget* window) {
    message = window->findChild<QLabel*>()->text() + " | " + window->findChild<QPushButton*>()->text();
    SaveScene(form->Widget(), "rename-clash-message", window);
  });
  Choose(u->ChannelList, 1, u->RenameChannelMenu);
  ASSERT_TRUE(RunLoopUntil([&] { return clash.Done() && !QApplication::activeModalWidget(); }));
  EXPECT_EQ(message, "New name (english) present on other parametr. Change canceled. | Ok (15)");
  EXPECT_EQ(Channels(), before);

  // Its own names again are no clash; the line keeps its place in the list.
  DialogDriver accept;
  accept.Then<QWidget>(typeNames("Обороты", "Revs", "Drehzahl"));
  Choose(u->ChannelList, 40, u->RenameChannelMenu);
  ASSERT_TRUE(RunLoopUntil([&] { return accept.Done(); }));
  RunLoopFor(20);
  const int rpm = 2;  // in the QEL mask
  ASSERT_EQ(mask->Items->Get(rpm)->NameRu, RpmRu);
  const std::string renamed = "2 " + std::string(RpmRu) + "/Revs/Drehzahl; ";
  EXPECT_EQ(Items(rpm).substr(0, renamed.size()), renamed);
  EXPECT_EQ(u->ChannelList->Items()->Get(40), "Revs");
  DialogDriver detach;
  detach.Then<QWidget>(typeNames("Revs-ru", "Revs", "Drehzahl"));
  Choose(u->ChannelList, 40, u->RenameChannelMenu);
  ASSERT_TRUE(RunLoopUntil([&] { return detach.Done(); }));
  RunLoopFor(20);
  const std::string detached = "-1 " + std::string(RpmRu) + "/Revs/Drehzahl; ";
  EXPECT_EQ(Items(rpm).substr(0, detached.size()), detached);
  BMessageBox::TickInterval = 1000;
}

// Added as typed, blanks kept, on an empty list too; blanks only or a cancel add nothing.
// Deleting takes the status and its line; the mask's item of that name stays.
TEST_F(ListPages, TheStatusMenuAddsAsTypedAndDeletes)
{
  u->ClearStatusCells();
  u->FillStatusList();
  u->StatusesChanged = 0;
  const auto answer = [](const char* text) {
    return [=](QInputDialog* d) {
      d->setTextValue(text);
      d->accept();
    };
  };
  DialogDriver driver;
  driver.Then<QInputDialog>(answer("  X  "))
      .Then<QInputDialog>(answer("   "))
      .Then<QInputDialog>([](QInputDialog* d) { d->reject(); })
      .Then<QInputDialog>(answer("Drive"));
  for (int i = 0; i < 4; ++i) {
    Choose(u->StatusList, -1, u->AddStatusMenu);
    RunLoopFor(20);
  }
  ASSERT_TRUE(driver.Done());
  EXPECT_EQ(Joined(u->StatusList->Items()) + " " + std::to_string(u->StatusCells->Count()) +
                std::to_string(u->StatusesChanged),
            "  X  ;Drive; 21");
  EXPECT_EQ(u->StatusOfLine("  X  "), u->StatusCells->Get(0));
  const std::string items = Items(0);
  Choose(u->StatusList, 1, u->DeleteStatusMenu, "status-menu");
  EXPECT_EQ(Joined(u->StatusList->Items()) + "|" + u->StatusCells->Get(0)->Name + "|" +
                std::to_string(u->StatusCells->Count()),
            "  X  ;|  X  |1");
  EXPECT_EQ(Items(0), items);
}

// English and German names from the dictionary by the Russian name, the last entry deciding;
// names it lacks stay, Russian names never change; mask items too, status items included.
TEST_F(ListPages, RenameByDictionaryTakesTheLastEntryAndKeepsWhatItLacks)
{
  LTypeCell* speed = u->TypeCells->Get(1);
  speed->NameRu = SpeedRu, speed->NameEn = "x", speed->NameDe = "y";
  AddItem(mask->Items, -1, SpeedRu)->NameEn = "old";
  u->OptionsPageControl->SetActivePage(u->CommonPage);
  u->CommonBox->VertScrollBar()->SetPosition(u->DictRenameButton->Top());
  RunLoopFor(10);
  window_input::Click(u->DictRenameButton->Widget(), QPoint(5, 5));
  const std::string renamed = "2 " + std::string(RpmRu) + "/RPM/Motordrehzahl [1/min] 1; 3 " + SpeedRu +
                              "/Vechicle speed (rear)/" + SpeedRu + " 1; 4 P01/P01/P01 1; ";
  EXPECT_EQ(Channels().substr(0, renamed.size()), renamed);
  EXPECT_EQ(Items(mask->Items->Count() - 1),
            "-1 " + std::string(SpeedRu) + "/Vechicle speed (rear)/" + SpeedRu + "; ");
  EXPECT_EQ(u->ChannelList->Items()->Get(40), "Vechicle speed (rear)");
}

// While a parse runs nothing changes and no dialog opens; a line index outside the list draws nothing.
TEST_F(ListPages, NoHandlerActsWhileAParseRunsAndDrawingOutsideTheListIsNoFailure)
{
  u->ChannelList->SetItemIndex(3);
  u->StatusList->SetItemIndex(3);
  u->StatusesChanged = 0;
  const auto state = [&] {
    return Channels() + Items(0) + Joined(u->ChannelList->Items()) + Joined(u->StatusList->Items()) +
           std::to_string(u->HideUnusedChannels) + std::to_string(u->StatusesChanged);
  };
  const std::string before = state();
  int opened = 0;
  QTimer watchdog;
  QObject::connect(&watchdog, &QTimer::timeout, [&] {
    if (QWidget* modal = QApplication::activeModalWidget())
      ++opened, modal->close();
  });
  watchdog.start(20);
  BQELunit& unit = *u;
  unit.ParseRunning = 1;
  using Handler = void (BQELunit::*)(TObject*);
  for (const Handler handler :
       {&BQELunit::ChannelListDblClick, &BQELunit::StatusListDblClick, &BQELunit::HideChannelMenuClick,
        &BQELunit::ShowChannelMenuClick, &BQELunit::ShowAllChannelsMenuClick, &BQELunit::DeleteChannelMenuClick,
        &BQELunit::RenameChannelMenuClick, &BQELunit::AddStatusMenuClick, &BQELunit::DeleteStatusMenuClick,
        &BQELunit::DictRenameButtonClick})
    (unit.*handler)(nullptr);
  u->ParseRunning = 0;
  RunLoopFor(50);
  EXPECT_EQ(state(), before);
  EXPECT_EQ(opened, 0);
  const int count = u->ChannelList->Items()->Count();
  for (int index : {-1, count, count + 5})
    EXPECT_NO_THROW(u->ChannelListDrawItem(u->ChannelList, index, TRect{0, 0, 100, 20}, TOwnerDrawState()));
}

}  // namespace
