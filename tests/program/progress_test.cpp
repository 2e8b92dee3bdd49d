// The progress window: its layout from the button's own height, the gauges, the message pump
// and the abort flag set by the button and the close box.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMetaObject>
#include <QPointer>
#include <QPushButton>
#include <chrono>
#include <cstdlib>
#include <memory>

#include "Button.h"
#include "Form.h"
#include "Gauges.h"
#include "Label.h"
#include "Panel.h"
#include "app/Progress.h"
#include "support/TestApp.h"

namespace {

// Sets flag when the message loop gets to run the queued events.
void QueueMarker(bool& flag)
{
  QMetaObject::invokeMethod(qApp, [&flag] { flag = true; }, Qt::QueuedConnection);
}

class ProgressTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    main = new TForm(nullptr);
    main->SetBounds(40, 30, 1100, 800);
    panel = new TPanel(main);
    panel->SetParent(main);
    panel->SetBounds(12, 8, 1000, 700);
    main->Show();
    progress = std::make_unique<BProgress>(panel, &abortFlag);
  }

  void TearDown() override
  {
    progress.reset();
    delete main;
    QCoreApplication::processEvents();
  }

  int Trunc(double value) const { return static_cast<int>(value); }

  TForm* main = nullptr;
  TPanel* panel = nullptr;
  Byte abortFlag = 0;
  std::unique_ptr<BProgress> progress;
};

TEST_F(ProgressTest, WindowAndControlsAreSizedFromTheButtonsDefaultHeight)
{
  // The margin is the height Qt gives a button of the form's font, whatever that is here.
  TForm scratch(nullptr);
  auto* probe = new TButton(&scratch);
  probe->SetParent(&scratch);
  const int m = probe->Height();
  ASSERT_EQ(progress->Margin, m);
  ASSERT_LT(20 * m, 0.8 * panel->Width()) << "the panel must be wide enough for the full window";

  progress->Show(true);
  const TForm* form = progress->Form;
  const TPoint origin = panel->ClientOrigin();
  EXPECT_EQ(form->Height(), 4 * m);
  EXPECT_EQ(form->Width(), 20 * m);
  EXPECT_EQ(form->Left(), origin.x + (1000 - 20 * m) / 2);
  EXPECT_EQ(form->Top(), origin.y + (700 - 4 * m) / 2);

  const int H = form->ClientHeight();
  const int W = form->ClientWidth();
  ASSERT_GT(H, 0);
  const TCGauge* big = progress->MainGauge;
  EXPECT_EQ(big->Left(), Trunc(0.1 * H));
  EXPECT_EQ(big->Top(), Trunc(0.1 * H));
  EXPECT_EQ(big->Height(), Trunc(0.8 * H));
  EXPECT_EQ(big->Width(), big->Height());

  const TCGauge* small = progress->SecondGauge;
  EXPECT_EQ(small->Width(), big->Width() / 2);
  EXPECT_EQ(small->Height(), big->Height() / 2);
  EXPECT_EQ(small->Left(), big->Left() + big->Width());
  EXPECT_EQ(small->Top() + small->Height(), big->Top() + big->Height());

  const TLabel* label = progress->Label;
  EXPECT_EQ(label->Left(), 2 * big->Left() + big->Width());
  EXPECT_EQ(label->Top(), big->Top());
  EXPECT_EQ(label->Left() + label->Width(), W - big->Left());
  EXPECT_EQ(label->Height(), big->Height() - m);

  const TButton* button = progress->Button;
  EXPECT_EQ(button->Height(), m);
  EXPECT_EQ(button->Width(), 5 * m);
  EXPECT_EQ(button->Top(), Trunc(0.9 * H - m));
  EXPECT_EQ(button->Left(), Trunc(W - 5 * m - 0.1 * H));
  // The button lies wholly inside the window and right of the big gauge.
  EXPECT_LE(button->Top() + button->Height(), H);
  EXPECT_LE(button->Left() + button->Width(), W);
  EXPECT_GT(button->Left(), big->Left() + big->Width());
}

TEST_F(ProgressTest, ANarrowOwnerGetsAWindowOfFourFifthsItsWidthAndArrangeRecentres)
{
  const int m = progress->Margin;
  progress->Show(true);
  // Narrower than 5 × 4 × margin / 0.8: the window takes 0.8 of the owner's width.
  const int narrow = 20 * m - 7;
  panel->SetBounds(50, 20, narrow, 300);
  progress->Arrange();
  const TForm* form = progress->Form;
  EXPECT_EQ(form->Width(), Trunc(0.8 * narrow));
  EXPECT_EQ(form->Height(), 4 * m);
  const TPoint origin = panel->ClientOrigin();
  EXPECT_EQ(form->Left(), origin.x + (narrow - Trunc(0.8 * narrow)) / 2);
  EXPECT_EQ(form->Top(), origin.y + (300 - 4 * m) / 2);
  // The label still ends one gauge inset before the right edge.
  EXPECT_EQ(progress->Label->Left() + progress->Label->Width(),
            form->ClientWidth() - progress->MainGauge->Left());
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
  // The parser's opening call: an empty main gauge and the stage gauge at 0 of 6.
  progress->SetProgress(0, 0, 6, 0, true);
  EXPECT_EQ(progress->MainGauge->MaxValue(), 0);
  EXPECT_EQ(GaugePercent(progress->MainGauge->Progress(), progress->MainGauge->MaxValue()), 0);
  EXPECT_TRUE(progress->SecondGauge->Visible());
  EXPECT_EQ(progress->SecondGauge->MaxValue(), 6);

  progress->SetSecondProgress(7, 3);
  progress->SetMainProgress(10, 5);
  // A larger maximum is set before the position, so the position is not cut to the old one.
  progress->SetMainProgress(1000, 500);
  EXPECT_EQ(progress->MainGauge->Progress(), 500);
  EXPECT_EQ(progress->SecondGauge->MaxValue(), 7);
  EXPECT_EQ(progress->SecondGauge->Progress(), 3);
  EXPECT_TRUE(progress->SecondGauge->Visible());

  progress->SetProgress(100, 40, 100, 90, false);
  EXPECT_FALSE(progress->SecondGauge->Visible());
  EXPECT_EQ(progress->SecondGauge->MaxValue(), 7);
  EXPECT_EQ(progress->SecondGauge->Progress(), 3);
  EXPECT_EQ(progress->MainGauge->MaxValue(), 100);
  EXPECT_EQ(progress->MainGauge->Progress(), 40);

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
}

TEST_F(ProgressTest, WithoutAFlagTheButtonDoesNothing)
{
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
  TForm* form = progress->Form;
  progress.reset();
  // Freed by the message loop: until then a close request must not reach the freed object.
  ASSERT_TRUE(window);
  form->Widget()->close();
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
