#include <QScrollBar>
#include <QWheelEvent>
#include <QtTest/qtestspontaneevent.h>
#include <vector>

#include "Panel.h"
#include "ScrollBox.h"
#include "support/FormTest.h"

namespace {

// A shown form with a 200 × 100 scroll box in its default sunken frame (196 × 96 inside).
class ScrollBoxTest : public FormTest {
protected:
  void SetUp() override
  {
    FormTest::SetUp();
    box = Place<TScrollBox>(10, 10, 200, 100);
    form->Show();
    for (QScrollBar* bar : box->Widget()->findChildren<QScrollBar*>())
      if (bar->orientation() == Qt::Vertical)
        vertical = bar;
  }

  TPanel* Child(int left, int top, int width, int height) { return Place<TPanel>(box, left, top, width, height); }

  // The widget the children lie on, where the pointer is when it is not over a child.
  QWidget* Content(TControl* child) { return child->Widget()->parentWidget(); }

  // Where a child shows, measured from the top of the box's visible area.
  int ShownTop(TControl* child) { return child->Widget()->mapToGlobal(QPoint()).y() - box->ClientOrigin().y; }

  // As from the window system: Qt hands such a wheel on to the parents while nobody takes it.
  static void Wheel(QWidget* widget, QPoint local, int delta)
  {
    QWheelEvent wheel(QPointF(local), QPointF(widget->mapToGlobal(local)), QPoint(), QPoint(0, delta),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QSpontaneKeyEvent::setSpontaneous(&wheel);
    QCoreApplication::instance()->notify(widget, &wheel);  // sendEvent would clear the mark
  }

  int VPos() { return box->VertScrollBar()->Position(); }
  // Sets the vertical position and gives the one it took.
  int Scroll(int position)
  {
    box->VertScrollBar()->SetPosition(position);
    return VPos();
  }

  TScrollBox* box = nullptr;
  QScrollBar* vertical = nullptr;
};

TEST_F(ScrollBoxTest, ChildrenArePlacedAndReadInVisibleAreaCoordinates)
{
  TPanel* tall = Child(0, 0, 50, 400);
  EXPECT_EQ(Scroll(40), 40);
  TPanel* row = Child(0, 10, 50, 20);
  EXPECT_EQ((std::vector<int>{tall->Top(), ShownTop(tall), row->Top(), ShownTop(row)}),
            (std::vector<int>{-40, -40, 10, 10}));
  Scroll(0);
  EXPECT_EQ((std::vector<int>{tall->Top(), row->Top(), ShownTop(row)}), (std::vector<int>{0, 50, 50}));
  TPanel* wide = Child(0, 0, 500, 10);
  box->HorzScrollBar()->SetPosition(30);
  EXPECT_EQ((std::vector<int>{box->HorzScrollBar()->Position(), wide->Left(), row->Left(), row->Top()}),
            (std::vector<int>{30, -30, -30, 50}));
}

// The vertical bar, on screen too, takes room from the client width only.
TEST_F(ScrollBoxTest, TheRangeFollowsTheVisibleChildren)
{
  EXPECT_EQ((std::vector<int>{box->ClientWidth(), box->ClientHeight(), Scroll(50)}),
            (std::vector<int>{196, 96, 0}));
  EXPECT_FALSE(vertical->isVisible());
  TPanel* first = Child(0, 0, 50, 300);
  EXPECT_TRUE(box->ClientWidth() < 196 && box->ClientHeight() == 96);
  EXPECT_EQ(std::vector<int>({Scroll(1000), Scroll(-5)}), std::vector<int>({300 - 96, 0}));
  EXPECT_TRUE(RunLoopUntil([&] { return vertical->isVisible(); }));
  EXPECT_EQ(vertical->maximum(), 300 - 96);
  TPanel* second = Child(0, 450, 50, 50);
  EXPECT_EQ(Scroll(1000), 500 - 96);
  second->Hide();
  EXPECT_EQ(std::vector<int>({VPos(), first->Top()}), std::vector<int>({300 - 96, -(300 - 96)}));
  first->Hide();
  EXPECT_EQ((std::vector<int>{VPos(), first->Top(), box->ClientWidth()}), (std::vector<int>{0, 0, 196}));
  EXPECT_TRUE(RunLoopUntil([&] { return !vertical->isVisible(); }));
  first->Show();
  Scroll(100);
  delete first;
  EXPECT_EQ(VPos(), 0);
  box->SetBorderStyle(bsNone);
  EXPECT_EQ(box->ClientWidth(), 200);
}

// A handled wheel is left to the handler, also over a child; an unhandled one scrolls the box
// once, and reaches the box once even where the bar has nothing to do.
TEST_F(ScrollBoxTest, MouseAndWheelReachTheBoxOnceInVisibleAreaCoordinates)
{
  TPanel* tall = Child(0, 0, 50, 1000);
  Scroll(40);
  std::vector<QPoint> moves;
  box->OnMouseMove = [&](TObject*, TShiftState, int x, int y) { moves.emplace_back(x, y); };
  SendMouse(Content(tall), QEvent::MouseMove, QPoint(120, 100), Qt::NoButton, Qt::NoButton);
  EXPECT_EQ(moves, std::vector<QPoint>{QPoint(120, 60)});
  Scroll(0);

  std::vector<int> seen;
  bool handle = true;
  box->OnMouseWheel = [&](TObject*, TShiftState, int delta, TPoint, bool& handled) {
    seen.push_back(delta);
    if (handle)
      Scroll(VPos() + (delta < 0 ? 30 : -30));
    handled = handle;
  };
  Wheel(Content(tall), QPoint(120, 20), -120);  // towards the user
  seen.push_back(VPos());
  Wheel(tall->Widget(), QPoint(5, 5), 120);
  seen.push_back(VPos());
  handle = false;
  Wheel(Content(tall), QPoint(120, 20), -120);
  const int scrolled = VPos();
  EXPECT_GT(scrolled, 0);
  EXPECT_EQ(tall->Top(), -scrolled);
  for (int i = 0; i < 2; ++i) {
    Wheel(Content(tall), QPoint(120, 20), 120);
    seen.push_back(VPos());
  }
  EXPECT_EQ(seen, (std::vector<int>{-120, 30, 120, 0, -120, 120, 0, 120, 0}));
}

// A child of the program's own kind whose placing fails.
class FailingPanel : public TPanel {
public:
  using TPanel::TPanel;
  bool fail = false;

protected:
  void ApplyGeometry() override
  {
    TPanel::ApplyGeometry();
    if (fail)
      throw EInvalidOperation("the child cannot move");
  }
};

TEST_F(ScrollBoxTest, AFailureWhileTheUserScrollsReachesHandleException)
{
  auto* child = new FailingPanel(box);
  child->SetParent(box);
  child->SetBounds(0, 0, 50, 300);
  ASSERT_TRUE(RunLoopUntil([&] { return vertical->isVisible(); }));
  child->fail = true;
  vertical->triggerAction(QAbstractSlider::SliderSingleStepAdd);  // a click on the arrow
  ASSERT_EQ(exceptions, std::vector<std::string>{"the child cannot move"});
  EXPECT_EQ(exceptionSenders[0], box);
  child->fail = false;
  vertical->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_TRUE(exceptions.size() == 1 && VPos() == vertical->value() && child->Top() == -VPos());
}

}  // namespace
