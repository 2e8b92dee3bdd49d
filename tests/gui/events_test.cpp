// A control's events: mouse, wheel, keys, focus, hints, the pointer, and handlers that throw or
// free their own control.
#include "support/ControlTest.h"

namespace {

// A shown form with a panel (border width 4, no bevel) at (10, 20) whose events are logged.
class EventsTest : public FormTest {
protected:
  void SetUp() override
  {
    FormTest::SetUp();
    panel = PlacePanel(form.get(), 10, 20, 100, 50);
    panel->SetBorderWidth(4);
    panel->OnMouseDown = [this](TObject*, TMouseButton button, TShiftState shift, int x, int y) {
      log.push_back("down " + std::to_string(button) + (shift.Contains(ssDouble) ? " double" : "") +
                    (shift.Contains(ssLeft) ? " left " : " ") + std::to_string(x) + "," + std::to_string(y));
    };
    panel->OnMouseMove = [this](TObject* sender, TShiftState shift, int x, int y) {
      log.push_back((sender == panel ? "move " : "? ") + std::to_string(x) + "," + std::to_string(y) +
                    (shift.Contains(ssLeft) ? " left" : "") + (shift.Contains(ssShift) ? " shift" : ""));
    };
    panel->OnClick = [this](TObject*) { log.push_back("click"); };
    panel->OnDblClick = [this](TObject*) { log.push_back("dblclick"); };
    panel->OnKeyUp = [this](TObject*, Word& key, TShiftState) { log.push_back("key up " + std::to_string(key)); };
    form->Show();
  }

  void Send(QEvent::Type type, QPoint p, Qt::MouseButton button = Qt::LeftButton,
            Qt::MouseButtons held = Qt::NoButton, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
  {
    SendMouse(panel->Widget(), type, p, button, held, modifiers);
  }
  void Click(QPoint p)
  {
    Send(QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton);
    Send(QEvent::MouseButtonRelease, p);
  }

  TPanel* panel = nullptr;
  Log log;
};

TEST_F(EventsTest, MouseAndKeysArriveInClientCoordinatesAsTheClassLibrarySendsThem)
{
  const QPoint in(14, 14);
  Send(QEvent::MouseMove, QPoint(14, 9), Qt::NoButton);
  // The border width lies outside the client area: its pixels have negative coordinates.
  Send(QEvent::MouseMove, QPoint(2, 2), Qt::NoButton, Qt::LeftButton, Qt::ShiftModifier);
  Click(in);
  Send(QEvent::MouseButtonPress, in, Qt::LeftButton, Qt::LeftButton);
  Send(QEvent::MouseButtonRelease, QPoint(150, 14));  // released outside: no click
  Send(QEvent::MouseButtonRelease, in);               // nor without a press
  Send(QEvent::MouseButtonPress, in, Qt::RightButton, Qt::RightButton);
  Send(QEvent::MouseButtonRelease, in, Qt::RightButton);  // the right button never clicks
  Click(in);
  Send(QEvent::MouseButtonDblClick, in, Qt::LeftButton, Qt::LeftButton);
  Send(QEvent::MouseButtonRelease, in);
  QKeyEvent repeat(QEvent::KeyRelease, Qt::Key_Down, Qt::NoModifier, QString(), true);
  QCoreApplication::sendEvent(panel->Widget(), &repeat);  // no key up for an auto-repeat
  QKeyEvent release(QEvent::KeyRelease, Qt::Key_F3, Qt::NoModifier);
  QCoreApplication::sendEvent(panel->Widget(), &release);
  // A graphic child's event stays with the child.
  auto* label = Place<TLabel>(panel, 0, 0, 20, 10);
  label->OnMouseMove = [&](TObject*, TShiftState, int, int) { log.push_back("label move"); };
  SendMouse(label->Widget(), QEvent::MouseMove, QPoint(1, 1), Qt::NoButton, Qt::NoButton);
  EXPECT_EQ(log, (Log{"move 10,5", "move -2,-2 left shift", "down 0 left 10,10", "click", "down 0 left 10,10",
                      "down 1 10,10", "down 0 left 10,10", "click", "dblclick", "down 0 double left 10,10",
                      "key up 114", "label move"}));

  int delta = 0;
  panel->OnMouseWheel = [&](TObject*, TShiftState, int d, TPoint, bool& handled) { handled = (delta = d) != 0; };
  QWheelEvent wheel(QPointF(in), QPointF(panel->Widget()->mapToGlobal(in)), QPoint(), QPoint(0, -120),
                    Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(panel->Widget(), &wheel);
  EXPECT_TRUE(delta == -120 && wheel.isAccepted());
}

TEST_F(EventsTest, SetFocusNeedsAShownControlAndOnExitIsAMoveInsideTheForm)
{
  TPanel* other = Place<TPanel>(150, 20, 50, 50);
  ShowActive();
  int exits = 0;
  panel->OnExit = [&](TObject* sender) { exits += sender == panel; };
  panel->SetFocus();
  other->SetFocus();
  EXPECT_TRUE(exits == 1 && !panel->Focused());
  // The focus leaving with the window (another form activated) is no exit.
  panel->SetFocus();
  TForm second(nullptr);
  second.Show();
  second.SetFocus();
  ASSERT_TRUE(RunLoopUntil([&] { return second.Widget()->isActiveWindow(); }));
  EXPECT_EQ(exits, 1);
  // A hidden control, one on no form and a hidden form cannot take the focus.
  panel->Hide();
  TPanel loose(nullptr);
  TForm hidden(nullptr);
  for (TWinControl* control : std::initializer_list<TWinControl*>{panel, &loose, &hidden})
    EXPECT_THROW(control->SetFocus(), EInvalidOperation);
}

TEST_F(EventsTest, AHandlerMayThrowClearItsEventOrFreeItsControlAndEventsGoOn)
{
  panel->OnClick = [](TObject*) { throw EConvertError("'x' is not a valid integer value"); };
  Click(QPoint(14, 14));
  panel->OnMouseMove = [](TObject*, TShiftState, int, int) { throw 42; };  // shows with an empty message
  Send(QEvent::MouseMove, QPoint(5, 5), Qt::NoButton);
  EXPECT_EQ(exceptions, (std::vector<std::string>{"'x' is not a valid integer value", ""}));
  EXPECT_EQ(exceptionSenders[0], panel);

  panel->OnClick = [this](TObject*) {
    panel->OnClick = nullptr;
    log.push_back("cleared");
  };
  Click(QPoint(14, 14));
  Click(QPoint(14, 14));
  TPanel* doomed = Place<TPanel>(0, 0, 5, 5);
  doomed->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { delete doomed; };
  SendMouse(doomed->Widget(), QEvent::MouseButtonPress, QPoint(3, 3), Qt::LeftButton, Qt::LeftButton);
  EXPECT_EQ(log, (Log{"down 0 left 10,10", "down 0 left 10,10", "cleared", "down 0 left 10,10"}));
}

TEST_F(EventsTest, HintsArePlainTextUpToTheBarAndFollowTheFormsShowHint)
{
  panel->SetHint("<b>C:\\logs</b>|long help");
  EXPECT_FALSE(panel->ShowHint());
  form->SetShowHint(true);
  EXPECT_TRUE(panel->ShowHint());  // the panel follows its parent until set itself
  QHelpEvent help(QEvent::ToolTip, QPoint(14, 14), panel->Widget()->mapToGlobal(QPoint(14, 14)));
  QCoreApplication::sendEvent(panel->Widget(), &help);
  const QString shown = QToolTip::text();
  QToolTip::hideText();
  EXPECT_TRUE(shown.contains(QStringLiteral("&lt;b&gt;C:\\logs&lt;/b&gt;")) &&
              !shown.contains(QStringLiteral("long help")))
      << shown.toStdString();
  panel->SetShowHint(false);
  EXPECT_FALSE(panel->ShowHint());
}

// A hint longer than the screen is wide is broken into lines that fit, losing nothing; a short
// one stays one line.
TEST_F(EventsTest, HintsWiderThanTheScreenWrapWithinItWhole)
{
  form->SetShowHint(true);
  ShowActive();
  const QRect screen = panel->Widget()->screen()->availableGeometry();
  const std::string end = " ],   FILE NOT PRESENT!!!";
  for (const std::string& hint :
       {"In clipboard:  [ " + std::string(300, 'x') + end,
        "In clipboard:  [ /logs/" + std::string(150, ' ') + "a b c.qel" + end, std::string("short hint"),
        std::string(400, 'w') + "\n" + std::string(400, 'y')}) {
    panel->SetHint(hint);
    QHelpEvent help(QEvent::ToolTip, QPoint(14, 14), panel->Widget()->mapToGlobal(QPoint(14, 14)));
    QCoreApplication::sendEvent(panel->Widget(), &help);
    QWidget* tip = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets())
      if (top->objectName() == QStringLiteral("qtooltip_label") && top->isVisible())
        tip = top;
    ASSERT_NE(tip, nullptr);
    EXPECT_LE(tip->width(), screen.width()) << hint;
    QTextDocument shown;
    shown.setHtml(static_cast<QLabel*>(tip)->text());
    QString lines = shown.toPlainText();
    const auto breaks = lines.count(QLatin1Char('\n')) - std::count(hint.begin(), hint.end(), '\n');
    EXPECT_EQ(lines.remove(QLatin1Char('\n')).toStdString(),
              QString::fromStdString(hint).remove(QLatin1Char('\n')).toStdString());
    EXPECT_EQ(breaks == 0, hint == "short hint") << hint;
    QToolTip::hideText();
  }
}

TEST_F(EventsTest, ThePointerGoesWhereItIsSentAndTheControlUnderItHearsAMove)
{
  ShowActive();
  // The chart's way of centring the pointer: client origin plus an offset. Twice, since a
  // pointer already in place (left there by an earlier run) does not move.
  const TPoint origin = panel->ClientOrigin();
  for (auto [x, y] : {std::pair{60, 30}, std::pair{7, 5}}) {
    Mouse->SetCursorPos(Point(origin.x + x, origin.y + y));
    EXPECT_EQ(Mouse->CursorPos().x * 1000 + Mouse->CursorPos().y, (origin.x + x) * 1000 + origin.y + y);
    const std::string expected = "move " + std::to_string(x) + "," + std::to_string(y);
    EXPECT_TRUE(RunLoopUntil([&] { return !log.empty() && log.back() == expected; })) << expected;
  }
}

}  // namespace
