#include <QAbstractScrollArea>
#include <QApplication>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QToolTip>
#include <memory>
#include <string>
#include <vector>

#include "Colors.h"
#include "ListBox.h"
#include "Menus.h"
#include "support/EnvScope.h"
#include "support/GuiTest.h"
#include "support/WindowInput.h"

namespace {

using Lines = std::vector<std::string>;

constexpr TColor kSilver = 0xC0C0C0;
constexpr TColor kHighlight = SystemColor(13);
constexpr TColor kHighlightText = SystemColor(14);

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

QAbstractScrollArea* Area(TListBox& list)
{
  return static_cast<QAbstractScrollArea*>(list.Widget());
}

// Makes the list exactly `rows` lines high inside its frame.
void SetRows(TListBox& list, int rows)
{
  list.SetHeight(rows * LineHeight(list) + 2 * Area(list)->frameWidth());
}

// A sorted list of 200 pixels' width on a shown form.
class ListBoxTest : public GuiTest {
protected:
  void SetUp() override
  {
    GuiTest::SetUp();
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 400, 400);
    list = new TListBox(form.get());
    list->SetParent(form.get());
    list->SetSorted(true);
    list->SetBounds(10, 10, 200, 100);
    form->Show();
    ASSERT_TRUE(RunLoopUntil([&] { return form->Widget()->isActiveWindow(); }));
  }

  QWidget* Viewport() { return Area(*list)->viewport(); }
  // A point in the middle of a line counted from the top of the view.
  QPoint RowPoint(int row) { return QPoint(50, row * LineHeight(*list) + LineHeight(*list) / 2); }

  std::unique_ptr<TForm> form;
  TListBox* list = nullptr;
  Lines log;
};

TEST(ListBoxLines, SortedAddFollowsTheCaseInsensitiveOrderOfTheCodePage)
{
  EnvScope russian("LC_ALL", "ru_RU.UTF-8");
  EnsureTestApplication();
  TListBox list(nullptr);
  list.SetSorted(true);
  TStrings* items = list.Items();
  EXPECT_EQ(items->Add("beta"), 0);
  EXPECT_EQ(items->Add("Alpha"), 0);
  EXPECT_EQ(items->Add("\xE2\xEE\xE4\xE0"), 2);  // "вода"
  EXPECT_EQ(items->Add("\xC2\xCE\xC4\xC0"), 3);  // "ВОДА": equal to "вода", after it
  EXPECT_EQ(items->Add("\xE0\xE7\xEE\xF2"), 2);  // "азот": before both, whatever the case
  EXPECT_EQ(items->Add("alpha"), 1);
  EXPECT_EQ(items->Add("Beta 2"), 3);  // after "beta", not before the lower-case lines
  EXPECT_EQ(LinesOf(list), (Lines{"Alpha", "alpha", "beta", "Beta 2", "\xE0\xE7\xEE\xF2", "\xE2\xEE\xE4\xE0",
                                  "\xC2\xCE\xC4\xC0"}));
  EXPECT_EQ(items->IndexOf("BETA"), 2);

  // Insert and assignment keep the place the program gives, even out of order.
  items->Put(0, "zulu");
  items->Insert(1, "\xFF");
  EXPECT_EQ(items->Strings(0), "zulu");
  EXPECT_EQ(items->Strings(1), "\xFF");
  EXPECT_EQ(items->Count(), 8);

  // Switching sorting on sorts what is there.
  TListBox unsorted(nullptr);
  unsorted.Items()->Add("b");
  unsorted.Items()->Add("A");
  unsorted.Items()->Add("a");
  EXPECT_EQ(LinesOf(unsorted), (Lines{"b", "A", "a"}));
  unsorted.SetSorted(true);
  EXPECT_EQ(LinesOf(unsorted), (Lines{"A", "a", "b"}));
}

TEST_F(ListBoxTest, TheSelectionFollowsEditsAndAnAssignedLineStaysInPlace)
{
  for (const char* s : {"a", "b", "c", "d", "e"})
    list->Items()->Add(s);
  list->SetItemIndex(2);
  list->Items()->Put(2, "renamed");
  EXPECT_EQ(LinesOf(*list), (Lines{"a", "b", "renamed", "d", "e"}));
  EXPECT_EQ(list->ItemIndex(), 2);

  list->Items()->Delete(0);
  EXPECT_EQ(list->ItemIndex(), 1);
  EXPECT_EQ(list->Items()->Add("aa"), 0);
  EXPECT_EQ(list->ItemIndex(), 2);
  EXPECT_EQ(list->Items()->Strings(list->ItemIndex()), "renamed");
  list->Items()->Delete(4);  // after the selection
  EXPECT_EQ(list->ItemIndex(), 2);
  list->Items()->Delete(2);  // the selected line
  EXPECT_EQ(list->ItemIndex(), -1);

  list->SetItemIndex(1);
  list->SetItemIndex(7);  // out of range: nothing selected
  EXPECT_EQ(list->ItemIndex(), -1);
  list->SetItemIndex(1);
  list->Items()->Clear();
  EXPECT_EQ(list->ItemIndex(), -1);
  EXPECT_THROW(list->Items()->Put(0, "x"), EListError);
}

TEST(ListBoxScroll, TopIndexStopsAtTheLastFullPageAlsoWhileHidden)
{
  EnsureTestApplication();
  TListBox list(nullptr);  // on no form: never shown, never laid out by Qt
  Fill(list, 20);
  SetRows(list, 5);
  list.SetTopIndex(100);
  EXPECT_EQ(list.TopIndex(), 15);
  list.SetTopIndex(-3);
  EXPECT_EQ(list.TopIndex(), 0);
  // Selecting scrolls the line into view, by as little as needed.
  list.SetItemIndex(12);
  EXPECT_EQ(list.TopIndex(), 8);
  list.SetItemIndex(10);
  EXPECT_EQ(list.TopIndex(), 8);
  list.SetItemIndex(2);
  EXPECT_EQ(list.TopIndex(), 2);

  // Keys move the selection and the view with it.
  QKeyEvent end(QEvent::KeyPress, Qt::Key_End, Qt::NoModifier);
  QCoreApplication::sendEvent(list.Widget(), &end);
  EXPECT_EQ(list.ItemIndex(), 19);
  EXPECT_EQ(list.TopIndex(), 15);
  QKeyEvent up(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier);
  QCoreApplication::sendEvent(list.Widget(), &up);
  EXPECT_EQ(list.ItemIndex(), 18);

  // Fewer lines: the view cannot stay below the new last page.
  for (int i = 0; i < 12; ++i)
    list.Items()->Delete(0);
  EXPECT_EQ(list.TopIndex(), 3);
}

TEST_F(ListBoxTest, OwnerDrawGetsOnlyTheLinesInViewWithBrushAndFontPreset)
{
  Fill(*list, 30);
  SetRows(*list, 5);
  list->SetStyle(lbOwnerDrawFixed);
  list->SetItemIndex(11);
  list->SetTopIndex(10);
  const int h = LineHeight(*list);
  // Each call: index, rectangle, s when selected, and which brush and font it found preset.
  std::string calls;
  list->OnDrawItem = [&](TWinControl* control, int index, TRect rect, TOwnerDrawState state) {
    EXPECT_EQ(control, list);
    TCanvas* canvas = list->Canvas();
    const TColor brush = canvas->Brush()->Color(), font = canvas->Font()->Color();
    calls += std::to_string(index) + " " + std::to_string(rect.left) + "," + std::to_string(rect.top) + "," +
             std::to_string(rect.right) + "," + std::to_string(rect.bottom) +
             (state.Contains(odSelected) ? " s" : "") +
             (brush == kHighlight && font == kHighlightText             ? " highlight"
              : brush == list->Color() && font == list->Font()->Color() ? " normal"
                                                                        : " other") +
             "\n";
    if (index == 12)
      canvas->Brush()->SetColor(kSilver);  // a hidden channel; the next line gets the normal brush
    canvas->TextRect(rect, rect.left + 2, rect.top, list->Items()->Strings(index));
  };
  list->Repaint();
  const int width = Viewport()->width();
  std::string expected;
  for (int row = 0; row < 5; ++row)
    expected += std::to_string(10 + row) + " 0," + std::to_string(row * h) + "," + std::to_string(width) + "," +
                std::to_string(row * h + h) + (row == 1 ? " s highlight" : " normal") + "\n";
  EXPECT_EQ(calls, expected);
  const QImage& pixels = *list->Canvas()->Target();
  const int x = width - 2;  // right of any text
  EXPECT_EQ(pixels.pixel(x, 2 * h + h / 2), qRgb(0xC0, 0xC0, 0xC0));
  EXPECT_EQ(pixels.pixel(x, 3 * h + h / 2), ToQColor(list->Color()).rgb());
  EXPECT_EQ(pixels.pixel(x, 1 * h + h / 2), ToQColor(kHighlight).rgb());
}

TEST_F(ListBoxTest, ARightClickSelectsTheLineUnderThePointerAndItsMenuActsOnIt)
{
  Fill(*list, 10);
  SetRows(*list, 5);
  list->SetTopIndex(4);
  list->SetItemIndex(5);
  auto* popup = new TPopupMenu(list);
  auto* add = new TMenuItem(popup);
  add->SetCaption("Add status");
  auto* remove = new TMenuItem(popup);
  remove->SetCaption("Delete status");
  popup->Items()->Add(add);
  popup->Items()->Add(remove);
  list->SetPopupMenu(popup);
  bool menuClosed = false;
  remove->OnClick = [&](TObject* sender) {
    EXPECT_EQ(sender, remove);
    menuClosed = QApplication::activePopupWidget() == nullptr;
    const int index = list->ItemIndex();
    log.push_back(index < 0 ? "none" : list->Items()->Strings(index));
  };

  window_input::Press(Viewport(), RowPoint(3), Qt::RightButton);
  EXPECT_EQ(list->ItemIndex(), 7);  // top 4 + third line below it
  auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
  ASSERT_NE(menu, nullptr);
  window_input::Release(Viewport(), RowPoint(3), Qt::RightButton);
  ASSERT_EQ(menu->actions().size(), 2);
  EXPECT_EQ(menu->actions()[1]->text(), "Delete status");
  EXPECT_TRUE(log.empty());

  const QPoint item = menu->actionGeometry(menu->actions()[1]).center();
  window_input::Mouse(menu, QEvent::MouseMove, item, Qt::NoButton, Qt::NoButton);
  window_input::Click(menu, item);
  ASSERT_TRUE(RunLoopUntil([&] { return !log.empty(); }));
  EXPECT_EQ(log, Lines{"line 107"});
  EXPECT_TRUE(menuClosed);
  EXPECT_FALSE(menu->isVisible());
}

TEST_F(ListBoxTest, AClickBelowTheLastLineSelectsNothingAndADoubleClickThereStillFires)
{
  for (const char* s : {"a", "b", "c"})
    list->Items()->Add(s);
  SetRows(*list, 6);
  list->OnDblClick = [&](TObject* sender) {
    EXPECT_EQ(sender, list);
    log.push_back("dblclick " + std::to_string(list->ItemIndex()));
  };
  window_input::DoubleClick(Viewport(), RowPoint(1));
  window_input::DoubleClick(Viewport(), RowPoint(4));
  EXPECT_EQ(log, (Lines{"dblclick 1", "dblclick -1"}));

  // A right click below the lines opens the menu with no line selected.
  list->SetItemIndex(0);
  TPopupMenu popup(nullptr);
  auto* item = new TMenuItem(&popup);
  popup.Items()->Add(item);
  list->SetPopupMenu(&popup);
  window_input::Press(Viewport(), RowPoint(5), Qt::RightButton);
  EXPECT_EQ(list->ItemIndex(), -1);
  auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
  window_input::Release(Viewport(), RowPoint(5), Qt::RightButton);
  ASSERT_NE(menu, nullptr);
  menu->close();
  list->SetPopupMenu(nullptr);
}

TEST_F(ListBoxTest, TheHintShowsOverTheLines)
{
  Fill(*list, 3);
  list->SetHint("By double click Status moved to Mask list");
  list->SetShowHint(true);
  const QPoint local = RowPoint(1);
  QHelpEvent help(QEvent::ToolTip, local, Viewport()->mapToGlobal(local));
  QCoreApplication::sendEvent(Viewport(), &help);
  EXPECT_TRUE(QToolTip::text().contains(QStringLiteral("By double click Status moved to Mask list")));
  QToolTip::hideText();
}

}  // namespace
