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

// Makes the list exactly `rows` lines high inside its frame.
void SetRows(TListBox& list, int rows)
{
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

// A line equal but for case goes after its equals; Insert and assignment keep the place the
// program gives, even out of order.
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

// The selection follows inserts and deletes before it (also one at its own place), is lost with
// its line or when set out of range, and an assigned line stays in place.
TEST_F(ListBoxTest, TheSelectionFollowsEditsAndAnAssignedLineStaysInPlace)
{
  for (const char* s : {"a", "b", "c", "d", "e"})
    list->Items()->Add(s);
  list->SetItemIndex(2);
  list->Items()->Put(2, "renamed");
  std::vector<int> selected{list->ItemIndex()};
  list->Items()->Delete(0);
  selected.push_back(list->ItemIndex());
  list->Items()->Add("aa");
  selected.push_back(list->ItemIndex());
  list->Items()->Add("bb");  // sorts into the selected line's place
  selected.push_back(list->ItemIndex());
  list->Items()->Delete(5);  // after the selection
  selected.push_back(list->ItemIndex());
  EXPECT_EQ(list->Items()->Strings(list->ItemIndex()), "renamed");
  list->Items()->Delete(3);
  selected.push_back(list->ItemIndex());
  list->SetItemIndex(1);
  list->SetItemIndex(7);
  selected.push_back(list->ItemIndex());
  list->SetItemIndex(1);
  list->Items()->Clear();
  selected.push_back(list->ItemIndex());
  EXPECT_EQ(selected, (std::vector<int>{2, 1, 2, 3, 3, -1, -1, -1}));
  EXPECT_THROW(list->Items()->Put(0, "x"), EListError);
}

// Never shown nor laid out by Qt: the top line stops at the last full page; selecting scrolls
// the line into view by as little as needed; keys move the selection and the view; fewer lines
// pull the view up.
TEST(ListBoxScroll, TopIndexStopsAtTheLastFullPageAlsoWhileHidden)
{
  EnsureTestApplication();
  TListBox list(nullptr);
  Fill(list, 20);
  SetRows(list, 5);
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
}

// Each call: index, rectangle, s when selected, and which brush and font it found preset; a brush
// one line changes (a hidden channel, line 12) is not left to the next.
TEST_F(ListBoxTest, OwnerDrawGetsOnlyTheLinesInViewWithBrushAndFontPreset)
{
  Fill(*list, 30);
  SetRows(*list, 5);
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

// A right click selects the line under the pointer, none below the last line, and opens the
// menu (which runs its items as the menu tests show); a double click below the lines still fires.
TEST_F(ListBoxTest, ARightClickSelectsTheLineUnderThePointerAndOpensItsMenu)
{
  Fill(*list, 10);
  SetRows(*list, 5);
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
