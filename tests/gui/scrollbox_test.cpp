#include <QScrollBar>
#include <QWheelEvent>
#include <QtTest/qtestspontaneevent.h>
#include <memory>
#include <vector>

#include "Panel.h"
#include "ScrollBox.h"
#include "support/FormTest.h"

namespace {

// A shown form with a 200 × 100 scroll box in its default sunken frame.
class ScrollBoxTest : public FormTest {
protected:
  void SetUp() override
  {
    FormTest::SetUp();
    box = Place<TScrollBox>(10, 10, 200, 100);
    form->Show();
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

  TScrollBox* box = nullptr;
};

TEST_F(ScrollBoxTest, ChildrenArePlacedAndReadInVisibleAreaCoordinates)
{
  TPanel* tall = Child(0, 0, 50, 400);
  box->VertScrollBar()->SetPosition(40);
  EXPECT_EQ(VPos(), 40);
  // Scrolling moved the child that was already there.
  EXPECT_EQ(tall->Top(), -40);
  EXPECT_EQ(ShownTop(tall), -40);

  // A row placed at Top 10 while the position is 40 shows 10 below the visible top ...
  TPanel* row = Child(0, 10, 50, 20);
  EXPECT_EQ(row->Top(), 10);
  EXPECT_EQ(ShownTop(row), 10);
  // ... and lies 50 down the content: back at position 0 its Top is 50.
  box->VertScrollBar()->SetPosition(0);
  EXPECT_EQ(row->Top(), 50);
  EXPECT_EQ(ShownTop(row), 50);
  EXPECT_EQ(tall->Top(), 0);

  // The same sideways.
  TPanel* wide = Child(0, 0, 500, 10);
  box->HorzScrollBar()->SetPosition(30);
  EXPECT_EQ(box->HorzScrollBar()->Position(), 30);
  EXPECT_EQ(wide->Left(), -30);
  EXPECT_EQ(row->Left(), -30);
  EXPECT_EQ(row->Top(), 50);
}

TEST_F(ScrollBoxTest, TheRangeFollowsTheVisibleChildren)
{
  EXPECT_EQ(box->ClientWidth(), 196);  // inside the two-pixel frame, no bars
  EXPECT_EQ(box->ClientHeight(), 96);
  box->VertScrollBar()->SetPosition(50);
  EXPECT_EQ(VPos(), 0);  // nothing to scroll

  TPanel* first = Child(0, 0, 50, 300);
  // The vertical bar takes room from the client width only.
  EXPECT_LT(box->ClientWidth(), 196);
  EXPECT_EQ(box->ClientHeight(), 96);
  box->VertScrollBar()->SetPosition(1000);
  EXPECT_EQ(VPos(), 300 - 96);
  box->VertScrollBar()->SetPosition(-5);
  EXPECT_EQ(VPos(), 0);

  TPanel* second = Child(0, 450, 50, 50);
  box->VertScrollBar()->SetPosition(1000);
  EXPECT_EQ(VPos(), 500 - 96);

  // Hiding the lower child shrinks the range; the position comes back and the children with it.
  second->Hide();
  EXPECT_EQ(VPos(), 300 - 96);
  EXPECT_EQ(first->Top(), -(300 - 96));
  first->Hide();
  EXPECT_EQ(VPos(), 0);
  EXPECT_EQ(first->Top(), 0);
  EXPECT_EQ(box->ClientWidth(), 196);

  // A freed child leaves the range too.
  first->Show();
  box->VertScrollBar()->SetPosition(100);
  delete first;
  EXPECT_EQ(VPos(), 0);
}

TEST_F(ScrollBoxTest, TheBarsOnScreenFollowTheChildren)
{
  QScrollBar* vertical = nullptr;
  for (QScrollBar* bar : box->Widget()->findChildren<QScrollBar*>())
    if (bar->orientation() == Qt::Vertical)
      vertical = bar;
  ASSERT_NE(vertical, nullptr);
  EXPECT_FALSE(vertical->isVisible());
  TPanel* tall = Child(0, 0, 50, 300);
  EXPECT_TRUE(RunLoopUntil([&] { return vertical->isVisible(); }));
  EXPECT_EQ(vertical->maximum(), 300 - 96);
  tall->SetHeight(50);
  EXPECT_TRUE(RunLoopUntil([&] { return !vertical->isVisible(); }));
}

TEST_F(ScrollBoxTest, AlignedChildrenFollowTheBarsComingAndGoing)
{
  auto* header = new TPanel(box);
  header->SetParent(box);
  header->SetHeight(20);
  header->SetAlign(alTop);
  EXPECT_EQ(header->Width(), 196);
  TPanel* tall = Child(0, 30, 50, 300);
  // The vertical bar takes its room from the header too.
  EXPECT_TRUE(RunLoopUntil([&] { return header->Width() < 196; }));
  EXPECT_EQ(header->Width(), box->ClientWidth());
  EXPECT_EQ(header->Widget()->width(), box->ClientWidth());
  EXPECT_EQ(header->Top(), 0);
  tall->SetHeight(50);
  EXPECT_TRUE(RunLoopUntil([&] { return header->Width() == 196; }));
  EXPECT_EQ(box->ClientWidth(), 196);

  // A child wider than the box: the header spans the whole scrolled width.
  TPanel* wide = Child(0, 30, 500, 20);
  EXPECT_TRUE(RunLoopUntil([&] { return header->Width() == 500; }));
  delete wide;
  EXPECT_TRUE(RunLoopUntil([&] { return header->Width() == 196; }));
}

TEST_F(ScrollBoxTest, MousePositionsAreVisibleAreaCoordinates)
{
  TPanel* tall = Child(0, 0, 50, 400);
  box->VertScrollBar()->SetPosition(40);
  std::vector<QPoint> moves;
  box->OnMouseMove = [&](TObject* sender, TShiftState, int x, int y) {
    EXPECT_EQ(sender, box);
    moves.emplace_back(x, y);
  };
  // 100 down the content is 60 down the visible area; the frame is not counted.
  SendMouse(Content(tall), QEvent::MouseMove, QPoint(120, 100), Qt::NoButton, Qt::NoButton);
  EXPECT_EQ(moves, std::vector<QPoint>{QPoint(120, 60)});
}

TEST_F(ScrollBoxTest, AHandledWheelIsLeftToTheHandler)
{
  TPanel* tall = Child(0, 0, 50, 1000);
  std::vector<int> deltas;
  box->OnMouseWheel = [&](TObject*, TShiftState, int delta, TPoint, bool& handled) {
    deltas.push_back(delta);
    box->VertScrollBar()->SetPosition(VPos() + (delta < 0 ? 30 : -30));
    handled = true;
  };
  Wheel(Content(tall), QPoint(120, 20), -120);  // towards the user
  EXPECT_EQ(deltas, std::vector<int>{-120});
  EXPECT_EQ(VPos(), 30);
  // Over a child without a handler of its own the wheel still reaches the box.
  Wheel(tall->Widget(), QPoint(5, 5), 120);
  EXPECT_EQ(deltas, (std::vector<int>{-120, 120}));
  EXPECT_EQ(VPos(), 0);
}

TEST_F(ScrollBoxTest, AnUnhandledWheelScrollsTheBoxOnce)
{
  TPanel* tall = Child(0, 0, 50, 1000);
  int calls = 0;
  box->OnMouseWheel = [&](TObject*, TShiftState, int, TPoint, bool&) { ++calls; };
  Wheel(Content(tall), QPoint(120, 20), -120);
  EXPECT_EQ(calls, 1);  // not a second time on the way up through the frame
  const int scrolled = VPos();
  EXPECT_GT(scrolled, 0);
  EXPECT_EQ(tall->Top(), -scrolled);
  Wheel(Content(tall), QPoint(120, 20), 120);
  EXPECT_EQ(calls, 2);
  EXPECT_EQ(VPos(), 0);
  // At the top the bar has nothing to do; the box still hears the wheel only once.
  Wheel(Content(tall), QPoint(120, 20), 120);
  EXPECT_EQ(calls, 3);
  EXPECT_EQ(VPos(), 0);
}

TEST_F(ScrollBoxTest, TakesTheFocus)
{
  ASSERT_TRUE(RunLoopUntil([&] { return form->Widget()->isActiveWindow(); }));
  box->SetBorderStyle(bsNone);
  EXPECT_EQ(box->ClientWidth(), 200);
  box->SetFocus();
  EXPECT_TRUE(box->Focused());
  box->Hide();
  EXPECT_THROW(box->SetFocus(), EInvalidOperation);
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
  QScrollBar* vertical = nullptr;
  for (QScrollBar* bar : box->Widget()->findChildren<QScrollBar*>())
    if (bar->orientation() == Qt::Vertical)
      vertical = bar;
  ASSERT_NE(vertical, nullptr);
  ASSERT_TRUE(RunLoopUntil([&] { return vertical->isVisible(); }));
  child->fail = true;
  vertical->triggerAction(QAbstractSlider::SliderSingleStepAdd);  // a click on the arrow
  ASSERT_EQ(exceptions, std::vector<std::string>{"the child cannot move"});
  EXPECT_EQ(exceptionSenders[0], box);
  child->fail = false;
  vertical->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_EQ(exceptions.size(), 1u);
  EXPECT_EQ(VPos(), vertical->value());
  EXPECT_EQ(child->Top(), -VPos());
}

}  // namespace
