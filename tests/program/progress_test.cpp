// The progress window: its layout from the button's own height, the gauges, the message pump
// and the abort flag set by the button and the close box.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMetaObject>
#include <QPointer>
#include <QPushButton>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>

#include "Button.h"
#include "Form.h"
#include "Gauges.h"
#include "Label.h"
#include "Panel.h"
#include "app/Progress.h"
#include "support/FormTest.h"

namespace {

// Sets flag when the message loop gets to run the queued events.
void QueueMarker(bool& flag)
{
  QMetaObject::invokeMethod(
      qApp, [&flag] { flag = true; }, Qt::QueuedConnection);
}

class ProgressTest : public FormTest {
protected:
  void SetUp() override
  {
    FormTest::SetUp();
    form->SetBounds(40, 30, 1100, 800);
    panel = PlacePanel(form.get(), 12, 8, 1000, 700);
    form->Show();
    progress = std::make_unique<BProgress>(panel, &abortFlag);
  }
  void TearDown() override
  {
    progress.reset();
    FormTest::TearDown();
  }

  TPanel* panel = nullptr;
  Byte abortFlag = 0;
  std::unique_ptr<BProgress> progress;
};

// The window is four button heights high and five times as wide, or 0.8 of a narrower owner,
// centred on the owner; the controls lie inside it without overlapping.
TEST_F(ProgressTest, TheWindowIsSizedFromTheButtonAndCentredOnItsOwner)
{
  TForm scratch(nullptr);
  auto* probe = new TButton(&scratch);
  probe->SetParent(&scratch);
  const int m = probe->Height();
  ASSERT_EQ(progress->Margin, m);
  progress->Show(true);
  for (const int width : {1000, 20 * m - 7}) {
    SCOPED_TRACE(width);
    panel->SetBounds(50, 20, width, 300);
    progress->Arrange();
    const TForm* window = progress->Form;
    const int wide = std::min(20 * m, static_cast<int>(0.8 * width));
    const TPoint origin = panel->ClientOrigin();
    EXPECT_EQ(window->Width(), wide);
    EXPECT_EQ(window->Height(), 4 * m);
    EXPECT_EQ(window->Left(), origin.x + (width - wide) / 2);
    EXPECT_EQ(window->Top(), origin.y + (300 - 4 * m) / 2);

    const TRect client = Rect(0, 0, window->ClientWidth(), window->ClientHeight());
    const auto bounds = [](const TControl* c) {
      return Rect(c->Left(), c->Top(), c->Left() + c->Width(), c->Top() + c->Height());
    };
    const TRect big = bounds(progress->MainGauge), small = bounds(progress->SecondGauge);
    const TRect label = bounds(progress->Label), button = bounds(progress->Button);
    for (const TRect& r : {big, small, label, button})
      EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= client.right && r.bottom <= client.bottom);
    EXPECT_EQ(big.Width(), big.Height());
    // The small gauge sits at the big one's lower right corner, the label and the button right
    // of it, the label as far from the right edge as the big gauge from the left.
    EXPECT_EQ(small.left, big.right);
    EXPECT_EQ(small.bottom, big.bottom);
    EXPECT_GT(label.left, big.right);
    EXPECT_EQ(client.right - label.right, big.left);
    EXPECT_LE(label.bottom, button.top);
    EXPECT_GT(button.left, big.right);
    EXPECT_EQ(button.Height(), m);
  }
}

TEST_F(ProgressTest, ShowingDisablesTheOwnerAndTakesTheUsersTexts)
{
  progress->WindowCaption = "Please wait ...  :)";
  progress->ButtonText = "Break";
  progress->Show(true);
  EXPECT_TRUE(progress->Form->Visible());
  EXPECT_FALSE(panel->Enabled());
  EXPECT_EQ(progress->Form->Caption(), "Please wait ...  :)");
  EXPECT_EQ(progress->Button->Caption(), "Break");

  progress->Show(false);
  EXPECT_FALSE(progress->Form->Visible());
  EXPECT_TRUE(panel->Enabled());
}

TEST_F(ProgressTest, GaugesFollowTheCallsAndAHiddenSecondGaugeKeepsItsValues)
{
  const auto gauges = [&] {
    const TCGauge* second = progress->SecondGauge;
    return std::to_string(progress->MainGauge->Progress()) + "/" +
           std::to_string(progress->MainGauge->MaxValue()) + (second->Visible() ? " " : " hidden ") +
           std::to_string(second->Progress()) + "/" + std::to_string(second->MaxValue());
  };
  // The parser's opening call: an empty main gauge and the stage gauge at 0 of 6.
  progress->SetProgress(0, 0, 6, 0, true);
  EXPECT_EQ(gauges(), "0/0 0/6");
  progress->SetSecondProgress(7, 3);
  progress->SetMainProgress(10, 5);
  // A larger maximum is set before the position, so the position is not cut to the old one.
  progress->SetMainProgress(1000, 500);
  EXPECT_EQ(gauges(), "500/1000 3/7");
  progress->SetProgress(100, 40, 100, 90, false);
  EXPECT_EQ(gauges(), "40/100 hidden 3/7");
  progress->SetText("Stage 3");
  EXPECT_EQ(progress->Label->Caption(), "Stage 3");
}

TEST_F(ProgressTest, UpdatesPumpOnlyWhileTheWindowIsShown)
{
  bool ran = false;
  QueueMarker(ran);
  progress->SetProgress(10, 1, 10, 1, true);
  progress->SetText("hidden");
  EXPECT_FALSE(ran);
  QCoreApplication::processEvents();
  ASSERT_TRUE(ran);

  const auto pumps = [&](auto update) {
    bool marker = false;
    QueueMarker(marker);
    update();
    return marker;
  };
  // Gauge updates pump once the interval has passed since the last pump, and not before it;
  // the window and a new text are served at once whatever the interval.
  for (const bool due : {true, false}) {
    SCOPED_TRACE(due);
    progress->PumpInterval = due ? std::chrono::steady_clock::duration::zero() : std::chrono::hours(1);
    progress->Show(true);
    EXPECT_EQ(pumps([&] { progress->SetProgress(10, 2, 10, 2, true); }), due);
    EXPECT_EQ(pumps([&] { progress->SetMainProgress(10, 3); }), due);
    EXPECT_EQ(pumps([&] { progress->SetSecondProgress(10, 3); }), due);
    EXPECT_EQ(progress->MainGauge->Progress(), 3);  // the gauges follow every update
    EXPECT_EQ(progress->SecondGauge->Progress(), 3);
    EXPECT_TRUE(pumps([&] { progress->SetText("shown"); }));
    EXPECT_TRUE(pumps([&] { progress->Show(false); }));
    QCoreApplication::processEvents();
  }
}

TEST_F(ProgressTest, TheBreakButtonStopsAnOperationThatPollsTheFlag)
{
  progress->Show(true);
  QMetaObject::invokeMethod(
      qApp, [this] { static_cast<QPushButton*>(progress->Button->Widget())->click(); }, Qt::QueuedConnection);
  // The operation updates far more often than the window is served: the click comes through
  // at the first pump after the interval.
  progress->PumpInterval = std::chrono::milliseconds(2);
  int step = 0;
  for (; step < 100000000 && !abortFlag; ++step)
    progress->SetMainProgress(1000, step % 1000);
  EXPECT_EQ(abortFlag, 1);
  progress->Show(false);
  EXPECT_TRUE(panel->Enabled());
}

TEST_F(ProgressTest, TheCloseBoxSetsTheFlagAndTheOwnerWaitsForTheOperationToHide)
{
  progress->Show(true);
  progress->Form->Widget()->close();  // what the window manager's close does
  EXPECT_EQ(abortFlag, 1);
  EXPECT_FALSE(progress->Form->Visible());
  // The operation has not seen the flag yet: the main window stays disabled until it hides.
  EXPECT_FALSE(panel->Enabled());
  progress->Show(false);
  EXPECT_TRUE(panel->Enabled());

  // Without a flag the button and the close box do nothing.
  abortFlag = 0;
  BProgress flagless(panel, nullptr);
  flagless.Show(true);
  static_cast<QPushButton*>(flagless.Button->Widget())->click();
  flagless.Form->Widget()->close();
  flagless.Show(false);
  EXPECT_EQ(abortFlag, 0);
}

TEST_F(ProgressTest, TheWindowIsFreedAfterTheObjectAndNeverCallsBack)
{
  progress->Show(true);
  const QPointer<QWidget> window(progress->Form->Widget());
  progress.reset();
  // Freed by the message loop: until then a close request must not reach the freed object.
  ASSERT_TRUE(window);
  window->close();
  window->findChild<QPushButton*>()->click();
  EXPECT_EQ(abortFlag, 0);
  QCoreApplication::processEvents();
  EXPECT_FALSE(window);
}

// In a fresh process: terminating the application would end every later test here.
void UpdateWhileTerminating()
{
  auto* main = new TForm(nullptr);
  auto* panel = new TPanel(main);
  panel->SetParent(main);
  panel->SetBounds(0, 0, 900, 600);
  Byte flag = 0;
  BProgress progress(panel, &flag);
  progress.Show(true);
  Application->Terminate();
  bool ran = false;
  QueueMarker(ran);
  progress.SetProgress(10, 5, 10, 5, true);
  progress.SetMainProgress(10, 6);
  progress.SetSecondProgress(10, 6);
  progress.SetText("ending");
  const bool pumped = ran;
  progress.Show(false);
  std::exit(!pumped && panel->Enabled() && progress.MainGauge->Progress() == 6 ? 0 : 1);
}

TEST(ProgressDeathTest, UpdatesDoNotPumpOnceTheApplicationTerminates)
{
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(UpdateWhileTerminating(), ::testing::ExitedWithCode(0), "");
}

}  // namespace
