#include <QApplication>
#include <QMessageBox>
#include <cstdlib>
#include <string>
#include <vector>

#include "ExtCtrls.h"
#include "Guard.h"
#include "support/EnvScope.h"
#include "support/GuiTest.h"

namespace {

using ApplicationTest = GuiTest;

TEST_F(ApplicationTest, ExeNameIsTheRunningProgram)
{
  const AnsiString exe = Application->ExeName();
  ASSERT_FALSE(exe.empty());
  EXPECT_EQ(exe.front(), '/');
  EXPECT_NE(exe.find("gui_tests"), AnsiString::npos);
}

TEST_F(ApplicationTest, ProcessMessagesRunsTimersAndCountsItsDepth)
{
  TTimer timer(nullptr);
  timer.SetInterval(5);
  std::vector<int> depths;
  timer.OnTimer = [&](TObject*) { depths.push_back(Application->PumpDepth()); };
  QElapsedTimer clock;
  clock.start();
  while (depths.empty() && clock.elapsed() < 2000)
    Application->ProcessMessages();
  ASSERT_FALSE(depths.empty());
  EXPECT_EQ(depths.front(), 1);
  EXPECT_EQ(Application->PumpDepth(), 0);
}

TEST_F(ApplicationTest, DeferredWorkWaitsForThePumpToEnd)
{
  std::vector<std::string> order;
  TTimer timer(nullptr);
  timer.SetInterval(5);
  // A long operation pumping messages, as the progress window does.
  timer.OnTimer = [&](TObject*) {
    timer.SetEnabled(false);
    Application->Defer([&] { order.push_back("deferred at depth " + std::to_string(Application->PumpDepth())); });
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 30)
      Application->ProcessMessages();
    order.push_back("operation done");
  };
  ASSERT_TRUE(RunLoopUntil([&] { return order.size() == 2; }));
  EXPECT_EQ(order, (std::vector<std::string>{"operation done", "deferred at depth 0"}));
}

TEST_F(ApplicationTest, DeferredWorkWaitsForModalLoopsAndRunsInOrder)
{
  std::vector<std::string> order;
  TForm dialog(nullptr);
  TTimer timer(&dialog);
  timer.SetInterval(10);
  int ticks = 0;
  timer.OnTimer = [&](TObject*) {
    if (++ticks == 1) {
      Application->Defer([&] { order.push_back("first"); });
      Application->Defer([&] { order.push_back("second"); });
    } else if (ticks == 4) {
      order.push_back("modal ends");
      dialog.SetModalResult(mrOk);
    }
  };
  dialog.ShowModal();
  timer.SetEnabled(false);
  EXPECT_EQ(order, std::vector<std::string>{"modal ends"});
  ASSERT_TRUE(RunLoopUntil([&] { return order.size() == 3; }));
  EXPECT_EQ(order, (std::vector<std::string>{"modal ends", "first", "second"}));
}

TEST_F(ApplicationTest, AThrowingDeferredItemIsReportedAndTheQueueGoesOn)
{
  bool secondRan = false;
  Application->Defer([] { throw EListError("List index out of bounds (3)"); });
  Application->Defer([&] { secondRan = true; });
  ASSERT_TRUE(RunLoopUntil([&] { return secondRan; }));
  ASSERT_EQ(exceptions.size(), 1u);
  EXPECT_EQ(exceptions[0], "List index out of bounds (3)");
}

TEST_F(ApplicationTest, TimerDefaultsAndRestart)
{
  TTimer timer(nullptr);
  EXPECT_EQ(timer.Interval(), 1000);
  EXPECT_TRUE(timer.Enabled());
  int ticks = 0;
  timer.OnTimer = [&](TObject*) { ++ticks; };
  timer.SetInterval(0);  // no interval: no ticks
  RunLoopFor(30);
  EXPECT_EQ(ticks, 0);
  timer.SetInterval(5);
  EXPECT_TRUE(RunLoopUntil([&] { return ticks >= 2; }));
}

}  // namespace

namespace {

TEST_F(ApplicationTest, WithoutAHookAnExceptionShowsAPlainTextMessageBox)
{
  Application->OnException = nullptr;
  const AnsiString oldTitle = Application->Title();
  Application->SetTitle("Dravolin   v.2016-11-09");
  QString text;
  QString title;
  Qt::TextFormat format = Qt::AutoText;
  int depth = -1;
  // Runs inside the message box's own loop, reads it and closes it.
  QTimer::singleShot(20, [&] {
    for (QWidget* window : QApplication::topLevelWidgets()) {
      auto* box = qobject_cast<QMessageBox*>(window);
      if (!box || !box->isVisible())
        continue;
      text = box->text();
      title = box->windowTitle();
      format = box->textFormat();
      depth = Application->ModalDepth();
      box->done(0);
    }
  });
  Guarded(nullptr, [] { throw EFOpenError("Cannot open file \"<b>x</b>\""); });
  Application->SetTitle(oldTitle);
  EXPECT_EQ(text, QStringLiteral("Cannot open file \"<b>x</b>\""));
  EXPECT_EQ(format, Qt::PlainText);
  EXPECT_EQ(title, QStringLiteral("Dravolin   v.2016-11-09"));
  EXPECT_EQ(depth, 1);
  EXPECT_EQ(Application->ModalDepth(), 0);
}

// Counts its shows, closes and its own destruction.
class MainForm : public TForm {
public:
  explicit MainForm(TComponent* owner) : TForm(owner) {}
  ~MainForm() override { ++deaths; }
  static inline int deaths = 0;
};

// The program's shape: create the main form, run, close the main form from a timer.
[[noreturn]] void RunAProgramThatClosesItsMainForm()
{
  EnsureTestApplication();
  MainForm* form = nullptr;
  Application->CreateForm(form);
  int shows = 0;
  int closes = 0;
  form->OnShow = [&](TObject*) { ++shows; };
  form->OnClose = [&](TObject*, TCloseAction&) { ++closes; };
  auto* timer = new TTimer(form);
  timer->SetInterval(20);
  timer->OnTimer = [form](TObject*) { form->Close(); };
  Application->Run();
  const bool ok = shows == 1 && closes == 1 && MainForm::deaths == 1 && Application->Terminated();
  std::exit(ok ? 0 : 1);
}

TEST(ApplicationRunDeathTest, ClosingTheMainFormEndsRunAndFreesTheForms)
{
  // A fresh process: terminating the application would end every later test here.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(RunAProgramThatClosesItsMainForm(), ::testing::ExitedWithCode(0), "");
}

TEST(QtPlatformChoice, X11FirstWithAFallbackAndNeverOverTheUsersChoice)
{
  {
    // A display: X11 first, and Wayland when the X11 plugin cannot start.
    EnvScope platform("QT_QPA_PLATFORM", nullptr);
    EnvScope display("DISPLAY", ":0");
    EXPECT_EQ(PreferredQtPlatforms(), "xcb;wayland");
  }
  {
    // No display (pure Wayland, or none at all): Qt's own choice.
    EnvScope platform("QT_QPA_PLATFORM", nullptr);
    EnvScope display("DISPLAY", nullptr);
    EXPECT_EQ(PreferredQtPlatforms(), "");
  }
  {
    // What the user set stays, display or not.
    EnvScope platform("QT_QPA_PLATFORM", "wayland");
    EnvScope display("DISPLAY", ":0");
    EXPECT_EQ(PreferredQtPlatforms(), "");
  }
}

}  // namespace
