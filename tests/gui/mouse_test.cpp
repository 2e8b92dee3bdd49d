#include <QApplication>
#include <memory>

#include "Mouse.h"
#include "Panel.h"
#include "support/GuiTest.h"

namespace {

class MouseTest : public GuiTest {};

TEST_F(MouseTest, ThePointerGoesWhereItIsSentAndTheControlUnderItHearsAMove)
{
  TForm form(nullptr);
  form.SetBounds(0, 0, 300, 200);
  auto* panel = new TPanel(&form);
  panel->SetParent(&form);
  panel->SetBounds(20, 30, 100, 80);
  form.Show();
  ASSERT_TRUE(RunLoopUntil([&] { return form.Widget()->isActiveWindow(); }));
  QPoint seen(-1, -1);
  panel->OnMouseMove = [&](TObject*, TShiftState, int x, int y) { seen = QPoint(x, y); };

  // The chart's way of centring the pointer: client origin plus an offset. Twice, since a
  // pointer already in place (left there by an earlier run) does not move.
  const TPoint origin = panel->ClientOrigin();
  for (const QPoint offset : {QPoint(60, 40), QPoint(7, 5)}) {
    Mouse->SetCursorPos(Point(origin.x + offset.x(), origin.y + offset.y()));
    const TPoint at = Mouse->CursorPos();
    EXPECT_EQ(at.x, origin.x + offset.x());
    EXPECT_EQ(at.y, origin.y + offset.y());
    EXPECT_TRUE(RunLoopUntil([&] { return seen == offset; }));
  }
}

TEST_F(MouseTest, WheelLinesAreTheDesktopSetting)
{
  const int saved = QApplication::wheelScrollLines();
  QApplication::setWheelScrollLines(5);
  EXPECT_EQ(WheelScrollLines(), 5);
  QApplication::setWheelScrollLines(saved);
  EXPECT_EQ(WheelScrollLines(), saved);
}

}  // namespace
