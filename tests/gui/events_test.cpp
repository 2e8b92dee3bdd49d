#include <QApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QToolTip>
#include <QWheelEvent>
#include <string>
#include <vector>

#include "ExtCtrls.h"
#include "StdCtrls.h"
#include "support/GuiTest.h"

namespace {

// A shown form with a panel (border width 4, no bevel) at (10, 20).
class EventsTest : public GuiTest {
protected:
  void SetUp() override
  {
    GuiTest::SetUp();
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 300, 200);
    panel = new TPanel(form.get());
    panel->SetParent(form.get());
    panel->SetBevelOuter(bvNone);
    panel->SetBorderWidth(4);
    panel->SetBounds(10, 20, 100, 50);
    panel->OnMouseDown = [this](TObject*, TMouseButton button, TShiftState shift, int x, int y) {
      log.push_back("down " + std::to_string(button) + (shift.Contains(ssDouble) ? " double" : "") +
                    (shift.Contains(ssLeft) ? " left" : "") + " " + std::to_string(x) + "," + std::to_string(y));
    };
    panel->OnClick = [this](TObject*) { log.push_back("click"); };
    panel->OnDblClick = [this](TObject*) { log.push_back("dblclick"); };
    form->Show();
  }

  void Press(QPoint p, Qt::MouseButton button = Qt::LeftButton)
  {
    SendMouse(panel->Widget(), QEvent::MouseButtonPress, p, button, button);
  }
  void Release(QPoint p, Qt::MouseButton button = Qt::LeftButton)
  {
    SendMouse(panel->Widget(), QEvent::MouseButtonRelease, p, button, Qt::NoButton);
  }

  std::unique_ptr<TForm> form;
  TPanel* panel = nullptr;
  std::vector<std::string> log;
};

TEST_F(EventsTest, MouseMovesArriveWithoutButtonsInClientCoordinates)
{
  std::vector<std::string> moves;
  panel->OnMouseMove = [&](TObject* sender, TShiftState shift, int x, int y) {
    EXPECT_EQ(sender, panel);
    moves.push_back(std::to_string(x) + "," + std::to_string(y) + (shift.Contains(ssLeft) ? " left" : "") +
                    (shift.Contains(ssShift) ? " shift" : ""));
  };
  SendMouse(panel->Widget(), QEvent::MouseMove, QPoint(14, 9), Qt::NoButton, Qt::NoButton);
  SendMouse(panel->Widget(), QEvent::MouseMove, QPoint(2, 2), Qt::NoButton, Qt::LeftButton, Qt::ShiftModifier);
  // The border width lies outside the client area: its pixels have negative coordinates.
  EXPECT_EQ(moves, (std::vector<std::string>{"10,5", "-2,-2 left shift"}));
}

TEST_F(EventsTest, AClickIsAPressAndAReleaseOverTheControl)
{
  Press(QPoint(14, 14));
  Release(QPoint(20, 20));
  EXPECT_EQ(log, (std::vector<std::string>{"down 0 left 10,10", "click"}));
  log.clear();
  // Released outside: no click. A release without a press: no click either.
  Press(QPoint(14, 14));
  Release(QPoint(150, 14));
  Release(QPoint(14, 14));
  // The right button never clicks.
  Press(QPoint(14, 14), Qt::RightButton);
  Release(QPoint(14, 14), Qt::RightButton);
  EXPECT_EQ(log, (std::vector<std::string>{"down 0 left 10,10", "down 1 10,10"}));
}

TEST_F(EventsTest, ADoubleClickIsDblClickThenADoubleMouseDown)
{
  Press(QPoint(14, 14));
  Release(QPoint(14, 14));
  SendMouse(panel->Widget(), QEvent::MouseButtonDblClick, QPoint(14, 14), Qt::LeftButton, Qt::LeftButton);
  Release(QPoint(14, 14));
  EXPECT_EQ(log, (std::vector<std::string>{"down 0 left 10,10", "click", "dblclick", "down 0 double left 10,10"}));
}

TEST_F(EventsTest, AMouseEventOnAGraphicChildStaysWithTheChild)
{
  auto* label = new TLabel(panel);
  label->SetParent(panel);
  label->SetCaption("Hz");
  int labelMoves = 0;
  int panelMoves = 0;
  label->OnMouseMove = [&](TObject*, TShiftState, int, int) { ++labelMoves; };
  panel->OnMouseMove = [&](TObject*, TShiftState, int, int) { ++panelMoves; };
  SendMouse(label->Widget(), QEvent::MouseMove, QPoint(1, 1), Qt::NoButton, Qt::NoButton);
  EXPECT_EQ(labelMoves, 1);
  EXPECT_EQ(panelMoves, 0);
}

TEST_F(EventsTest, WheelGoesToTheHandlerWithNotchDeltaAndHandled)
{
  std::vector<int> deltas;
  panel->OnMouseWheel = [&](TObject*, TShiftState, int delta, TPoint, bool& handled) {
    deltas.push_back(delta);
    handled = true;
  };
  const QPoint local(14, 14);
  QWheelEvent wheel(QPointF(local), QPointF(panel->Widget()->mapToGlobal(local)), QPoint(), QPoint(0, -120),
                    Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(panel->Widget(), &wheel);
  EXPECT_EQ(deltas, std::vector<int>{-120});
  EXPECT_TRUE(wheel.isAccepted());
}

TEST_F(EventsTest, KeyUpOncePerReleaseNotForAutoRepeat)
{
  std::vector<Word> keys;
  panel->OnKeyUp = [&](TObject*, Word& key, TShiftState) { keys.push_back(key); };
  QKeyEvent repeat(QEvent::KeyRelease, Qt::Key_Down, Qt::NoModifier, QString(), true);
  QCoreApplication::sendEvent(panel->Widget(), &repeat);
  QKeyEvent release(QEvent::KeyRelease, Qt::Key_F3, Qt::NoModifier);
  QCoreApplication::sendEvent(panel->Widget(), &release);
  EXPECT_EQ(keys, std::vector<Word>{114});  // VK_F3
}

TEST_F(EventsTest, OnExitWhenTheFocusMovesInsideTheFormOnly)
{
  auto* other = new TPanel(form.get());
  other->SetParent(form.get());
  other->SetBounds(150, 20, 50, 50);
  ASSERT_TRUE(RunLoopUntil([&] { return form->Widget()->isActiveWindow(); }));
  int exits = 0;
  panel->OnExit = [&](TObject* sender) {
    EXPECT_EQ(sender, panel);
    ++exits;
  };
  panel->SetFocus();
  EXPECT_TRUE(panel->Focused());
  other->SetFocus();
  EXPECT_EQ(exits, 1);
  EXPECT_TRUE(other->Focused());
  EXPECT_FALSE(panel->Focused());

  // The focus leaving with the window (another form activated) is no exit.
  panel->SetFocus();
  TForm second(nullptr);
  second.Show();
  second.SetFocus();
  ASSERT_TRUE(RunLoopUntil([&] { return second.Widget()->isActiveWindow(); }));
  EXPECT_EQ(exits, 1);
}

TEST_F(EventsTest, SetFocusThrowsWhenTheControlCannotTakeIt)
{
  panel->Hide();
  EXPECT_FALSE(panel->CanFocus());
  EXPECT_THROW(panel->SetFocus(), EInvalidOperation);
  panel->Show();
  EXPECT_NO_THROW(panel->SetFocus());
  // A control on no form, and a hidden form, cannot take the focus either.
  TPanel loose(nullptr);
  EXPECT_THROW(loose.SetFocus(), EInvalidOperation);
  TForm hidden(nullptr);
  EXPECT_THROW(hidden.SetFocus(), EInvalidOperation);
}

TEST_F(EventsTest, AThrowingHandlerReachesHandleExceptionAndEventsGoOn)
{
  int clicks = 0;
  panel->OnClick = [&](TObject*) {
    ++clicks;
    throw EConvertError("'x' is not a valid integer value");
  };
  Press(QPoint(14, 14));
  Release(QPoint(14, 14));
  Press(QPoint(14, 14));
  Release(QPoint(14, 14));
  EXPECT_EQ(clicks, 2);
  ASSERT_EQ(exceptions.size(), 2u);
  EXPECT_EQ(exceptions[0], "'x' is not a valid integer value");
  EXPECT_EQ(exceptionSenders[0], panel);

  // Something that is not an exception class shows with an empty message.
  panel->OnMouseMove = [](TObject*, TShiftState, int, int) { throw 42; };
  SendMouse(panel->Widget(), QEvent::MouseMove, QPoint(5, 5), Qt::NoButton, Qt::NoButton);
  ASSERT_EQ(exceptions.size(), 3u);
  EXPECT_EQ(exceptions[2], "");
}

TEST_F(EventsTest, AHandlerMayClearItsOwnEventAndFreeItsControl)
{
  panel->OnClick = [this](TObject*) {
    panel->OnClick = nullptr;
    log.push_back("cleared");
  };
  Press(QPoint(14, 14));
  Release(QPoint(14, 14));
  auto* doomed = new TPanel(form.get());
  doomed->SetParent(form.get());
  doomed->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { delete doomed; };
  SendMouse(doomed->Widget(), QEvent::MouseButtonPress, QPoint(3, 3), Qt::LeftButton, Qt::LeftButton);
  EXPECT_EQ(log, (std::vector<std::string>{"down 0 left 10,10", "cleared"}));
}

TEST_F(EventsTest, HintsArePlainTextAndFollowTheFormsShowHint)
{
  panel->SetHint("<b>C:\\logs</b>|long help");
  EXPECT_FALSE(panel->ShowHint());
  form->SetShowHint(true);
  EXPECT_TRUE(panel->ShowHint());  // the panel follows its parent until set itself
  const QPoint local(14, 14);
  QHelpEvent help(QEvent::ToolTip, local, panel->Widget()->mapToGlobal(local));
  QCoreApplication::sendEvent(panel->Widget(), &help);
  const QString shown = QToolTip::text();
  EXPECT_TRUE(shown.contains(QStringLiteral("&lt;b&gt;C:\\logs&lt;/b&gt;"))) << shown.toStdString();
  EXPECT_FALSE(shown.contains(QStringLiteral("long help")));
  QToolTip::hideText();

  panel->SetShowHint(false);
  form->SetShowHint(true);
  EXPECT_FALSE(panel->ShowHint());
}

}  // namespace
