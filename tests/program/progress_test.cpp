// The progress window: its layout on its owner, the gauges, the message pump and the abort flag
// set by the button and the close box.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMetaObject>
#include <QPointer>
#include <QPushButton>
#include <chrono>
#include <cstdlib>
#include <memory>

#include "Button.h"
#include "Gauges.h"
#include "Label.h"
#include "app/Progress.h"
#include "support/FormTest.h"

namespace {

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

  // Whether the message loop got to run the events queued before the update.
  template <class Update>
  static bool Pumps(Update update)
  {
    bool ran = false;
    QMetaObject::invokeMethod(
        qApp, [&ran] { ran = true; }, Qt::QueuedConnection);
    update();
    return ran;
  }

  TPanel* panel = nullptr;
  Byte abortFlag = 0;
  std::unique_ptr<BProgress> progress;
};

// For a wide owner and a narrow one: the window centred on its owner and narrower than it, the
// controls inside it, the small gauge at the big one's lower right corner, the label and the
// button right of it, the label as far from the right edge as the big gauge from the left.
TEST_F(ProgressTest, TheWindowIsCentredOnItsOwnerAndHoldsItsControlsBesideTheGauge)
{
  progress->Show(true);
  const auto bounds = [](const TControl* c) {
    return Rect(c->Left(), c->Top(), c->Left() + c->Width(), c->Top() + c->Height());
  };
  for (const int width : {1000, 240}) {
    SCOPED_TRACE(width);
    panel->SetBounds(50, 20, width, 300);
    progress->Arrange();
    const TForm* window = progress->Form;
    const TPoint origin = panel->ClientOrigin();
    EXPECT_LE(std::abs(2 * (window->Left() - origin.x) + window->Width() - width), 1);
    EXPECT_LE(std::abs(2 * (window->Top() - origin.y) + window->Height() - 300), 1);
    EXPECT_LE(window->Width(), width);
    const TRect big = bounds(progress->MainGauge), small = bounds(progress->SecondGauge);
    const TRect label = bounds(progress->Label), button = bounds(progress->Button);
    for (const TRect& r : {big, small, label, button})
      EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= window->ClientWidth() &&
                  r.bottom <= window->ClientHeight());
    EXPECT_TRUE(big.Width() == big.Height() && small.left == big.right && small.bottom == big.bottom);
    EXPECT_TRUE(label.left > big.right && window->ClientWidth() - label.right == big.left);
    EXPECT_TRUE(label.bottom <= button.top && button.left > big.right);
  }
}

// The owner is disabled while the window shows; the button and the close box set the flag, and
// the owner waits for the operation to hide the window; without a flag they do nothing.
TEST_F(ProgressTest, ShowingDisablesTheOwnerAndTheCloseBoxSetsTheFlag)
{
  progress->WindowCaption = "Please wait ...  :)";
  progress->ButtonText = "Break";
  progress->Show(true);
  EXPECT_TRUE(progress->Form->Visible() && !panel->Enabled());
  EXPECT_EQ(progress->Form->Caption() + "|" + progress->Button->Caption(), "Please wait ...  :)|Break");
  progress->Form->Widget()->close();  // what the window manager's close does
  EXPECT_EQ(abortFlag, 1);
  EXPECT_FALSE(progress->Form->Visible() || panel->Enabled());
  progress->Show(false);
  EXPECT_TRUE(panel->Enabled());

  abortFlag = 0;
  BProgress flagless(panel, nullptr);
  flagless.Show(true);
  static_cast<QPushButton*>(flagless.Button->Widget())->click();
  flagless.Form->Widget()->close();
  flagless.Show(false);
  EXPECT_EQ(abortFlag, 0);
}

// Every update sets the gauges (a larger maximum before the position, so the position is not
// cut to the old one; a hidden second gauge keeps its values). Gauge updates pump only while the
// window shows and the interval has passed since the last pump; showing and a new text pump at
// once.
TEST_F(ProgressTest, GaugesFollowEveryUpdateWhichPumpsOnlyWhileShownAndDue)
{
  const auto gauges = [&] {
    const TCGauge *main = progress->MainGauge, *second = progress->SecondGauge;
    return std::to_string(main->Progress()) + "/" + std::to_string(main->MaxValue()) +
           (second->Visible() ? " " : " hidden ") + std::to_string(second->Progress()) + "/" +
           std::to_string(second->MaxValue()) + " " + progress->Label->Caption();
  };
  progress->PumpInterval = std::chrono::steady_clock::duration::zero();
  EXPECT_FALSE(Pumps([&] {
    progress->SetProgress(0, 0, 6, 0, true);  // the parser's opening call
    progress->SetSecondProgress(7, 3);
    progress->SetMainProgress(10, 5);
    progress->SetMainProgress(1000, 500);
    progress->SetText("Stage 3");
  }));
  EXPECT_EQ(gauges(), "500/1000 3/7 Stage 3");
  progress->SetProgress(100, 40, 100, 90, false);
  EXPECT_EQ(gauges(), "40/100 hidden 3/7 Stage 3");
  QCoreApplication::processEvents();

  for (const bool due : {true, false}) {
    SCOPED_TRACE(due);
    progress->PumpInterval = due ? std::chrono::steady_clock::duration::zero() : std::chrono::hours(1);
    EXPECT_TRUE(Pumps([&] { progress->Show(true); }));
    EXPECT_EQ(Pumps([&] { progress->SetProgress(10, 2, 10, 2, true); }), due);
    EXPECT_EQ(Pumps([&] { progress->SetMainProgress(10, 3); }), due);
    EXPECT_EQ(Pumps([&] { progress->SetSecondProgress(10, 3); }), due);
    EXPECT_EQ(gauges(), "3/10 3/10 Stage 3");
    EXPECT_TRUE(Pumps([&] { progress->SetText("shown"); }));
    EXPECT_TRUE(Pumps([&] { progress->Show(false); }));
    progress->SetText("Stage 3");
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

// In a process of its own: terminating the application would end every later test here.
using ProgressDeathTest = ProgressTest;
TEST_F(ProgressDeathTest, UpdatesDoNotPumpOnceTheApplicationTerminates)
{
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const auto updateWhileTerminating = [&] {
    progress->Show(true);
    Application->Terminate();
    const bool pumped = Pumps([&] {
      progress->SetProgress(10, 5, 10, 5, true);
      progress->SetMainProgress(10, 6);
      progress->SetSecondProgress(10, 6);
      progress->SetText("ending");
    });
    progress->Show(false);
    std::exit(!pumped && panel->Enabled() && progress->MainGauge->Progress() == 6 ? 0 : 1);
  };
  EXPECT_EXIT(updateWhileTerminating(), ::testing::ExitedWithCode(0), "");
}

}  // namespace
