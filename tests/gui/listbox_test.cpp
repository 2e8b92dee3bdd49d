#include <QAbstractScrollArea>
#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMenu>
#include <string>
#include <vector>

#include "Colors.h"
#include "ListBox.h"
#include "Menus.h"
#include "support/EnvScope.h"
#include "support/FormTest.h"
#include "support/WindowInput.h"

namespace {

using Lines = std::vector<std::string>;

Lines LinesOf(TListBox& list)
{
  Lines lines;
  for (int i = 0; i < list.Items()->Count(); ++i)
    lines.push_back(list.Items()->Strings(i));
  return lines;
}

void Fill(TListBox& list, int count)
{
  for (int i = 0; i < count; ++i)
    list.Items()->Add("line " + std::to_string(100 + i));  // sorts as numbered
}

int LineHeight(TListBox& list)
{
  return QFontMetrics(list.Font()->QtFont()).height();
}

// Fills the list with numbered lines and makes it exactly `rows` lines high inside its frame.
void Fill(TListBox& list, int count, int rows)
{
  Fill(list, count);
  list.SetHeight(rows * LineHeight(list) + 2 * static_cast<QAbstractScrollArea*>(list.Widget())->frameWidth());
}

// A sorted list on a shown form.
class ListBoxTest : public FormTest {
protected:
  void SetUp() override
  {
    FormTest::SetUp();
    list = Place<TListBox>(10, 10, 200, 100);
    list->SetSorted(true);
    ShowActive();
  }

  QWidget* Viewport() { return static_cast<QAbstractScrollArea*>(list->Widget())->viewport(); }
  // A point in the middle of a line counted from the top of the view.
  QPoint RowPoint(int row) { return QPoint(50, row * LineHeight(*list) + LineHeight(*list) / 2); }
  // Right-clicks a line and gives the menu that opened.
  QMenu* RightClick(int row)
  {
    window_input::Press(Viewport(), RowPoint(row), Qt::RightButton);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    window_input::Release(Viewport(), RowPoint(row), Qt::RightButton);
    return menu;
  }

  TListBox* list = nullptr;
  Lines log;
};

// Insert and assignment keep the place the program gives, even out of order.
TEST(ListBoxLines, SortedAddFollowsTheCaseInsensitiveOrderOfTheCodePage)
{
  EnvScope russian("LC_ALL", "ru_RU.UTF-8");
  EnsureTestApplication();
  TListBox list(nullptr);
  list.SetSorted(true);
  TStrings* items = list.Items();
  std::vector<int> places;
  for (const char* line : {"beta", "Alpha", "\xE2\xEE\xE4\xE0", "\xC2\xCE\xC4\xC0", "\xE0\xE7\xEE\xF2", "alpha",
                           "Beta 2"})  // "вода", "ВОДА", "азот"
    places.push_back(items->Add(line));
  EXPECT_EQ(places, (std::vector<int>{0, 0, 2, 3, 2, 1, 3}));
  EXPECT_EQ(items->IndexOf("BETA"), 2);
  items->Put(0, "zulu");
  items->Insert(1, "\xFF");
  EXPECT_EQ(LinesOf(list), (Lines{"zulu", "\xFF", "alpha", "beta", "Beta 2", "\xE0\xE7\xEE\xF2",
                                  "\xE2\xEE\xE4\xE0", "\xC2\xCE\xC4\xC0"}));
}

TEST_F(ListBoxTest, TheSelectionFollowsEditsAndAnAssignedLineStaysInPlace)
{
  for (const char* s : {"a", "b", "c", "d", "e"})
    list->Items()->Add(s);
  list->SetItemIndex(2);
  std::vector<int> selected;
  // Put, delete before, add before, add at its own place, delete after, delete it, set out of
  // range, clear.
  for (const std::function<void()>& edit : std::initializer_list<std::function<void()>>{
           [&] { list->Items()->Put(2, "renamed"); }, [&] { list->Items()->Delete(0); },
           [&] { list->Items()->Add("aa"); }, [&] { list->Items()->Add("bb"); }, [&] { list->Items()->Delete(5); },
           [&] { list->Items()->Delete(3); }, [&] { list->SetItemIndex(1), list->SetItemIndex(7); },
           [&] { list->SetItemIndex(1), list->Items()->Clear(); }}) {
    edit();
    selected.push_back(list->ItemIndex());
    if (selected.size() == 5) {
      EXPECT_EQ(list->Items()->Strings(list->ItemIndex()), "renamed");
    }
  }
  EXPECT_EQ(selected, (std::vector<int>{2, 1, 2, 3, 3, -1, -1, -1}));
  EXPECT_THROW(list->Items()->Put(0, "x"), EListError);
}

// Never shown nor laid out by Qt; selecting scrolls by as little as needed.
TEST(ListBoxScroll, TopIndexStopsAtTheLastFullPageAlsoWhileHidden)
{
  EnsureTestApplication();
  TListBox list(nullptr);
  Fill(list, 20, 5);
  std::vector<int> tops;
  for (int top : {100, -3}) {
    list.SetTopIndex(top);
    tops.push_back(list.TopIndex());
  }
  for (int index : {12, 10, 2}) {
    list.SetItemIndex(index);
    tops.push_back(list.TopIndex());
  }
  for (int key : {Qt::Key_End, Qt::Key_Up}) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(list.Widget(), &press);
    tops.push_back(list.ItemIndex());
    tops.push_back(list.TopIndex());
  }
  for (int i = 0; i < 12; ++i)
    list.Items()->Delete(0);
  tops.push_back(list.TopIndex());
  EXPECT_EQ(tops, (std::vector<int>{15, 0, 8, 8, 2, 19, 15, 18, 15, 3}));

  // Refilled in one batch: sorted as line by line, and scrollable to its new end once it is over.
  TStrings* items = list.Items();
  list.SetSorted(true);
  items->BeginUpdate();
  items->Clear();
  for (const char* line : {"c", "A", "b", "a"})
    items->Add(line);
  items->EndUpdate();
  list.SetTopIndex(100);
  EXPECT_EQ(std::to_string(list.TopIndex()) + " " + items->Text(), "0 A\r\na\r\nb\r\nc\r\n");
  items->BeginUpdate();
  Fill(list, 30);
  items->EndUpdate();
  list.SetTopIndex(100);
  EXPECT_EQ(list.TopIndex(), 29);
}

// A brush one line changes (a hidden channel, line 12) is not left to the next.
TEST_F(ListBoxTest, OwnerDrawGetsOnlyTheLinesInViewWithBrushAndFontPreset)
{
  Fill(*list, 30, 5);
  list->SetStyle(lbOwnerDrawFixed);
  list->SetItemIndex(11);
  list->SetTopIndex(10);
  const int h = LineHeight(*list);
  std::string calls;
  list->OnDrawItem = [&](TWinControl* control, int index, TRect rect, TOwnerDrawState state) {
    EXPECT_EQ(control, list);
    TCanvas* canvas = list->Canvas();
    const TColor brush = canvas->Brush()->Color(), font = canvas->Font()->Color();
    calls += std::to_string(index) + " " + std::to_string(rect.left) + "," + std::to_string(rect.top) + "," +
             std::to_string(rect.right) + "," + std::to_string(rect.bottom) +
             (state.Contains(odSelected) ? " s" : "") +
             (brush == SystemColor(13) && font == SystemColor(14)       ? " highlight"
              : brush == list->Color() && font == list->Font()->Color() ? " normal"
                                                                        : " other") +
             "\n";
    if (index == 12)
      canvas->Brush()->SetColor(0xC0C0C0);
    canvas->TextRect(rect, rect.left + 2, rect.top, list->Items()->Strings(index));
  };
  list->Repaint();
  const int width = Viewport()->width();
  std::string expected;
  for (int row = 0; row < 5; ++row)
    expected += std::to_string(10 + row) + " 0," + std::to_string(row * h) + "," + std::to_string(width) + "," +
                std::to_string(row * h + h) + (row == 1 ? " s highlight" : " normal") + "\n";
  EXPECT_EQ(calls, expected);
}

// None below the last line; a double click below the lines still fires.
TEST_F(ListBoxTest, ARightClickSelectsTheLineUnderThePointerAndOpensItsMenu)
{
  Fill(*list, 10, 5);
  list->SetTopIndex(4);
  list->SetItemIndex(5);
  auto* popup = new TPopupMenu(list);
  popup->Items()->Add(new TMenuItem(popup));
  list->SetPopupMenu(popup);
  std::vector<int> selected;
  for (int row : {3, 4}) {
    QMenu* menu = RightClick(row);
    selected.push_back(list->ItemIndex());
    ASSERT_NE(menu, nullptr);
    menu->close();
    while (list->Items()->Count() > 3)
      list->Items()->Delete(0);
  }
  EXPECT_EQ(selected, (std::vector<int>{7, -1}));  // top 4 + third line below it; then 3 lines
  list->OnDblClick = [&](TObject*) { log.push_back("dblclick " + std::to_string(list->ItemIndex())); };
  window_input::DoubleClick(Viewport(), RowPoint(1));
  window_input::DoubleClick(Viewport(), RowPoint(4));
  EXPECT_EQ(log, (Lines{"dblclick 1", "dblclick -1"}));
}

}  // namespace
