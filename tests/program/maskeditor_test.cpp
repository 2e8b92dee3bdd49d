// The mask editor through the real window: the rows placed from the measured edit height, the
// three mask buttons with their name dialog, the hover bar with its buttons, the wheel, and what
// the editor keeps of the chart's mask. Input goes through the window system; a picture of the
// Mask page with its rows and the bar goes to <build>/screenshots/editor/.
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <filesystem>
#include <sstream>
#include <tuple>

#include "Buttons.h"
#include "CheckBox.h"
#include "CodePage.h"
#include "ColorBox.h"
#include "ComboBox.h"
#include "Edit.h"
#include "Label.h"
#include "Mouse.h"
#include "Numbers.h"
#include "PageControl.h"
#include "Panel.h"
#include "ScrollBox.h"
#include "UpDown.h"
#include "support/DialogDriver.h"
#include "support/StartTestSupport.h"
#include "support/WindowInput.h"

namespace {

class MaskEditor : public ProgramStart {
protected:
  // The window on the Mask page of the given size, the editor on mask `index` with at most
  // `rows` items (cut before any row exists).
  BQELunit& Open(int width, int height, int index = 0, int rows = 100)
  {
    BQELunit& u = Start();
    form->SetWindowState(wsNormal);
    form->SetBounds(0, 0, width, height);
    LMaskCell* mask = u.MaskCells->Get(index);
    while (mask->Items->Count() > rows) {
      delete mask->Items->Get(rows);
      mask->Items->Delete(rows);
    }
    for (TComboBox* combo : {u.MaskCombo, u.ChartMaskCombo})
      if (combo->Items()->Count() == 0)
        for (int i = 0; i < u.MaskCells->Count(); ++i)
          combo->Items()->Add(u.MaskName(u.MaskCells->Get(i)));
    u.ChartMaskIndex = index;
    Tab(u.PageControl, 0);
    return u;
  }
  static void Tab(TPageControl* pages, int index)
  {
    auto* tabs = pages->Widget()->findChild<QTabBar*>(QString(), Qt::FindDirectChildrenOnly);
    window_input::Click(tabs, tabs->tabRect(index).center());
  }
  static void Click(TControl* control)
  {
    window_input::Click(control->Widget(), QPoint(control->Width() / 2, control->Height() / 2));
  }
  // The pointer to (x, y) of the row box's visible area.
  static void Hover(BQELunit& u, int x, int y)
  {
    const TPoint origin = u.MaskRowBox->ClientOrigin();
    QWidget* box = u.MaskRowBox->Widget();
    window_input::Mouse(box, QEvent::MouseMove, box->mapFromGlobal(QPoint(origin.x + x, origin.y + y)),
                        Qt::NoButton, Qt::NoButton);
  }
  static int Pitch(const BQELunit& u) { return u.MaskRowGeometry.RowHeight + 6; }
  // The visible top of row i.
  static int RowY(BQELunit& u, int i)
  {
    return 5 + u.MaskRowGeometry.RowHeight + 10 + Pitch(u) * i - u.MaskRowBox->VertScrollBar()->Position();
  }
  static LMaskCell* Edited(BQELunit& u)
  {
    LMaskCell* mask = nullptr;
    return u.EditorMask(mask) ? mask : nullptr;
  }
  // Each item's name and its name label's top; the bar's row and name when it shows.
  static std::string Rows(BQELunit& u)
  {
    std::ostringstream out;
    for (int i = 0; i < Edited(u)->Items->Count(); ++i) {
      const LTypeCell* item = Edited(u)->Items->Get(i);
      out << item->NameEn << '@' << item->NameLabel->Top() << ' ';
    }
    if (u.RowHoverBar->Visible())
      out << "|bar " << (u.RowHoverBar->Top() + 3 - RowY(u, 0)) / Pitch(u) << ' ' << u.RowHoverLabel->Caption();
    return out.str();
  }
  // Clicks the button and answers its name dialog: checks the three names, types new ones (or
  // none) and confirms or not. One driver a dialog: a closing dialog is never given the next answer.
  static void Named(TControl* button, const QString& shown, const QString& typed, bool ok)
  {
    DialogDriver driver;
    driver.Then<QWidget>([=](QWidget* dialog) {
      const auto edits = dialog->findChildren<QLineEdit*>();
      QString names;
      for (QLineEdit* edit : edits)
        names += edit->text() + "|";
      EXPECT_EQ(names, shown);
      for (qsizetype i = 0; i < edits.size() && !typed.isEmpty(); ++i)
        edits[i]->setText(typed.split('|')[i]);
      for (QPushButton* push : dialog->findChildren<QPushButton*>())
        if (push->text() == (ok ? "Ok" : "Break"))
          push->click();
    });
    Click(button);
    EXPECT_TRUE(driver.Done());
  }
};

// Each control of row i at its column's heading, the rows a pitch apart below the headings; the
// check boxes in the middle of the row a third into their columns: 4 and 23 px for a 21 px row.
TEST_F(MaskEditor, RowsStandAtTheirColumnsAPitchApartFromTheMeasuredEditHeight)
{
  BQELunit& u = Open(1400, 1000);
  EXPECT_EQ(u.MaskRowGeometry.RowHeight, u.ThicknessEdit->Height());
  for (const int h : {u.ThicknessEdit->Height(), 21}) {
    u.MaskRowGeometry.RowHeight = h;
    u.ShowOptionsAndMaskRows();
    const int check = (h - 13) / 2, third = h == 21 ? 23 : u.MaskRowGeometry.ChartWidth / 3;
    EXPECT_EQ(check, h == 21 ? 4 : check);
    for (int i = 0; i < Edited(u)->Items->Count(); ++i) {
      const LTypeCell* item = Edited(u)->Items->Get(i);
      const int top = RowY(u, i);
      EXPECT_TRUE(item->NameLabel->Left() == u.ItemNameHeader->Left() && item->NameLabel->Top() == top + 3 &&
                  item->FactorEdit->Left() == u.FactorHeader->Left() && item->FactorEdit->Top() == top &&
                  item->OffsetEdit->Left() == u.OffsetHeader->Left() && item->OffsetEdit->Top() == top &&
                  item->ColorBox->Left() == u.ColorHeader->Left() && item->ColorBox->Top() == top &&
                  item->ChartCheck->Left() == u.ChartHeader->Left() + third &&
                  item->CursorCheck->Left() == u.CursorHeader->Left() + third &&
                  item->ChartCheck->Top() == top + check && item->CursorCheck->Width() == 13)
          << h << " row " << i;
      EXPECT_EQ(item->FactorEdit->Text() + item->OffsetEdit->Text() + (item->ChartCheck->Checked() ? "c" : "-") +
                    (item->CursorCheck->Checked() ? "c" : "-") +
                    (item->ColorBox->Selected() == item->Color ? "" : "!"),
                IntToStr(item->Factor) + IntToStr(item->Offset) + (item->Chart ? "c" : "-") +
                    (item->Cursor ? "c" : "-"));
    }
  }
}

// "Add" proposes the next number in three languages and makes an empty mask the editor shows;
// "Rename" changes the names and the combo's entry; cancelled, neither changes anything.
TEST_F(MaskEditor, AddAndRenameGoThroughTheNameDialog)
{
  BQELunit& u = Open(1200, 900);
  ASSERT_EQ(u.MaskCells->Count(), 3);
  Named(u.NewMaskButton, "Маска 4|Mask 4|Masken 4|", "", false);
  EXPECT_TRUE(u.MaskCells->Count() == 3 && u.MasksChanged == 0 && u.EditorMaskIndex == 0);
  u.ThicknessUpDown->SetPosition(4);  // the mask left keeps what was set on the page
  Named(u.NewMaskButton, "Маска 4|Mask 4|Masken 4|", "Новая|New|Neue", true);
  const LMaskCell* added = u.MaskCells->Get(3);
  EXPECT_EQ(added->NameRu + "|" + added->NameEn + "|" + added->NameDe, Utf8ToAnsi("Новая|New|Neue", 1251));
  EXPECT_TRUE(added->Thickness == 2 && added->UnderCursor == 1 && added->YBottom == -200 && added->YTop == 4000 &&
              added->Items->Count() == 0 && u.MaskCells->Get(0)->Thickness == 4);
  EXPECT_TRUE(Edited(u) == added && u.EditorMaskIndex == 3 && u.MaskCombo->ItemIndex() == 3 && u.MasksChanged);
  EXPECT_EQ(u.ThicknessEdit->Text() + u.YBottomEdit->Text() + u.YTopEdit->Text(), "2-2004000");
  EXPECT_TRUE(u.UnderCursorCheck->Checked() && !u.RowHoverBar->Visible());
  Named(u.RenameMaskButton, "Новая|New|Neue|", "Другая|Other|Andere", true);
  EXPECT_EQ(u.MaskCombo->Items()->Get(3) + "|" + added->NameRu, "Other|" + Utf8ToAnsi("Другая", 1251));
  EXPECT_EQ(u.MaskCombo->ItemIndex(), 3);
}

// Deleting keeps the chart on its mask (one entry higher when it stood behind the deleted one);
// the editor takes the entry at its index, or the new last; down to none both stay empty.
TEST_F(MaskEditor, DeleteKeepsTheChartOnItsMaskAndEndsWithNone)
{
  BQELunit& u = Open(1200, 900);
  const uint64_t generation = u.ChartDataGeneration;
  // chart index, editor index before; chart index, editor index, masks left after
  const int cases[][5] = {{1, 0, 0, 0, 2}, {1, 1, 1, 0, 1}, {0, 0, 0, -1, 0}};
  for (const auto& [chart, editor, chartAfter, editorAfter, left] : cases) {
    u.ChartMaskIndex = chart;
    u.MaskCombo->SetItemIndex(editor);
    u.MaskComboChange(u.MaskCombo);
    const LMaskCell* gone = Edited(u);
    TEdit* row = gone->Items->Get(0)->FactorEdit;
    QPointer<QWidget> rowWidget(row->Widget());
    Click(u.DeleteMaskButton);
    EXPECT_EQ(u.MaskCells->IndexOf(gone), -1);
    EXPECT_TRUE(u.ChartMaskIndex == chartAfter && u.EditorMaskIndex == editorAfter &&
                u.MaskCombo->ItemIndex() == editorAfter && u.MaskCombo->Items()->Count() == left &&
                u.MaskCells->Count() == left && !rowWidget && u.MasksChanged)
        << chart << editor;
  }
  EXPECT_GE(u.ChartDataGeneration, generation + 3);
  EXPECT_EQ(u.MaskCombo->Text(), "");
}

// The bar stands over the row under the pointer (also just above the first row), names its item
// and hides below the rows; Up and Down at the ends do nothing; Up on row 3 swaps the items and
// their rows and asks for the pointer one pitch up.
TEST_F(MaskEditor, TheHoverBarFollowsThePointerAndMovesItsItem)
{
  BQELunit& u = Open(1400, 1000, 0, 6);
  const std::string start = Rows(u);
  const int p = Pitch(u), x = u.OffsetHeader->Left() - 3;
  Hover(u, x, RowY(u, 0) - 1);
  EXPECT_TRUE(u.RowHoverBar->Left() == 5 && u.RowHoverBar->Top() == RowY(u, 0) - 3 &&
              u.RowHoverBar->Width() == u.MaskRowGeometry.RowWidth && u.RowHoverBar->Height() == p);
  EXPECT_TRUE(u.RowDeleteButton->Left() + u.RowDeleteButton->Width() + 10 == u.MaskRowGeometry.NameWidth &&
              u.RowUpButton->Left() + u.RowUpButton->Width() + 5 == u.RowDeleteButton->Left() &&
              u.RowDownButton->Left() + u.RowDownButton->Width() + 5 == u.RowUpButton->Left());
  EXPECT_EQ(Rows(u), start + "|bar 0 Air Mass");
  Click(u.RowUpButton);
  Hover(u, x, RowY(u, 5) + 2);
  EXPECT_EQ(Rows(u), start + "|bar 5 O2 Sensor (mV)");
  Click(u.RowDownButton);
  EXPECT_EQ(Rows(u), start + "|bar 5 O2 Sensor (mV)");
  Hover(u, x, RowY(u, 6) + 1);
  EXPECT_EQ(Rows(u), start);

  Hover(u, x, RowY(u, 3) + 5);
  const TPoint before = Mouse->CursorPos();
  Click(u.RowUpButton);
  const std::string names[] = {"Air Mass", "Engine load",    "Throttle angle",
                               "RPM",      "Ignition angle", "O2 Sensor (mV)"};
  std::string swapped;
  for (int i = 0; i < 6; ++i)
    swapped += names[i] + "@" + std::to_string(RowY(u, i) + 3) + " ";
  EXPECT_EQ(Rows(u), swapped + "|bar 2 Throttle angle");
  EXPECT_EQ(Mouse->CursorPos().y - before.y, -p);
}

// Deleting an item keeps what was typed into the other rows and leaves the bar on the row that
// moved under the mouse; "abc" in a factor keeps the factor and stays until the rows are shown.
TEST_F(MaskEditor, DeleteKeepsTypedRowsAndAFactorThatIsNoNumberIsIgnored)
{
  BQELunit& u = Open(1400, 1000, 0, 6);
  LMaskCell* mask = Edited(u);
  mask->Items->Get(1)->FactorEdit->SetText("555");
  mask->Items->Get(4)->OffsetEdit->SetText("abc");
  QPointer<QWidget> gone(mask->Items->Get(2)->FactorEdit->Widget());
  Hover(u, u.OffsetHeader->Left() - 3, RowY(u, 2) + 5);
  Click(u.RowDeleteButton);
  EXPECT_TRUE(!gone && mask->Items->Count() == 5 && mask->Items->Get(1)->Factor == 555);
  EXPECT_EQ(Rows(u).substr(Rows(u).find("|bar")), "|bar 2 Throttle angle");
  EXPECT_EQ(mask->Items->Get(3)->Offset, 0);  // "abc" kept the old offset ...
  mask->Items->Get(3)->OffsetEdit->SetText("abc");
  Tab(u.PageControl, 2);
  EXPECT_EQ(mask->Items->Get(3)->OffsetEdit->Text() + IntToStr(mask->Items->Get(3)->Offset), "abc0");
  Tab(u.PageControl, 0);
  EXPECT_EQ(mask->Items->Get(3)->OffsetEdit->Text(), "0");  // ... until the rows are shown again
}

// Each notch scrolls 3 lines of 10 px either way, fine turns once they add up to a notch; near
// the top, Up scrolls the rows and the bar stays on the moved item.
TEST_F(MaskEditor, TheWheelScrollsThirtyPixelsANotchAndUpAtTheTopScrolls)
{
  BQELunit& u = Open(800, 600, 2);
  TControlScrollBar* bar = u.MaskRowBox->VertScrollBar();
  QWidget* box = u.MaskRowBox->Widget();
  const QPoint at(u.OffsetHeader->Left() - 3, RowY(u, 1));
  for (const auto& [delta, turns, position] : {std::tuple{-120, 1, 30},
                                               {-120, 2, 90},
                                               {120, 1, 60},
                                               {-40, 2, 60},
                                               {-40, 1, 90},
                                               {60, 1, 90},
                                               {60, 1, 60}}) {
    for (int i = 0; i < turns; ++i)
      window_input::Wheel(box, at, delta);
    EXPECT_EQ(bar->Position(), position) << delta;
  }
  // Row 1 now starts at the top of the box: Up moves its item to row 0, which scrolls into sight
  // under the pointer and the bar.
  Hover(u, u.OffsetHeader->Left() - 3, RowY(u, 1) + 5);
  ASSERT_LE(u.RowHoverBar->Top(), Pitch(u));
  const std::string moved = u.RowHoverLabel->Caption();
  const TPoint before = Mouse->CursorPos();
  const int barTop = u.RowHoverBar->Top();
  Click(u.RowUpButton);
  EXPECT_EQ(bar->Position(), 60 - Pitch(u));
  EXPECT_EQ(Rows(u).substr(Rows(u).find("|bar")), "|bar 0 " + moved);
  EXPECT_EQ(Mouse->CursorPos().y - before.y, u.RowHoverBar->Top() - barTop);
  EXPECT_EQ(u.RowHoverBar->Top(), barTop);
}

// A bar left over a longer mask acts on nothing of the next; the Options page opens on the mask
// the chart shows; while a parse runs, the editor's handlers do nothing.
TEST_F(MaskEditor, AStaleBarTheChartsMaskAndARunningParse)
{
  BQELunit& u = Open(1400, 1000, 0);
  Hover(u, u.OffsetHeader->Left() - 3, RowY(u, 16) + 5);
  ASSERT_TRUE(u.RowHoverBar->Visible());
  u.MaskCombo->SetItemIndex(1);
  u.MaskComboChange(u.MaskCombo);
  const std::string pms = Rows(u);
  for (auto click : {&BQELunit::RowUpButtonClick, &BQELunit::RowDownButtonClick, &BQELunit::RowDeleteButtonClick})
    (u.*click)(nullptr);
  EXPECT_EQ(Rows(u), pms);
  EXPECT_EQ(pms.find("|bar"), std::string::npos);

  u.ChartMaskIndex = 2;
  Tab(u.PageControl, 2);
  Tab(u.PageControl, 0);
  EXPECT_TRUE(u.EditorMaskIndex == 2 && Edited(u) == u.MaskCells->Get(2) && u.MaskCombo->ItemIndex() == 2);

  Hover(u, u.OffsetHeader->Left() - 3, RowY(u, 3) + 5);
  const std::string before = Rows(u) + std::to_string(u.MaskCells->Count());
  u.ParseRunning = 1;
  bool handled = false;
  u.MaskRowBoxMouseWheel(nullptr, {}, -120, {}, handled);
  u.MaskRowBoxMouseMove(nullptr, {}, 5, RowY(u, 0));
  u.MaskCombo->SetItemIndex(0);
  for (auto click : {&BQELunit::RowUpButtonClick, &BQELunit::RowDeleteButtonClick,
                     &BQELunit::DeleteMaskButtonClick, &BQELunit::NewMaskButtonClick, &BQELunit::MaskComboChange})
    (u.*click)(nullptr);
  EXPECT_EQ(Rows(u) + std::to_string(u.MaskCells->Count()), before);
  EXPECT_TRUE(!handled && u.EditorMaskIndex == 2 && u.MaskRowBox->VertScrollBar()->Position() == 0);
  u.ParseRunning = 0;
}

// For the eye: the Mask page with its rows and the bar over a row.
TEST_F(MaskEditor, ScreenshotOfTheRowsAndTheBar)
{
  const std::filesystem::path shots =
      std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path() / "screenshots" / "editor";
  std::filesystem::create_directories(shots);
  BQELunit& u = Open(1280, 800);
  Hover(u, u.OffsetHeader->Left() - 3, RowY(u, 2) + 5);
  ASSERT_TRUE(u.RowHoverBar->Visible());
  EXPECT_TRUE(form->Widget()->grab().save(QString::fromStdString((shots / "mask-page-rows-bar.png").string())));
}
}  // namespace
