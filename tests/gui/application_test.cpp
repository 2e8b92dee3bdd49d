// The application: its loop, deferred work, timers, exceptions and the platform it asks for.
#include <QElapsedTimer>
#include <QMessageBox>
#include <cstdlib>
#include <string>
#include <vector>

#include "ExtCtrls.h"
#include "Guard.h"
#include "support/DialogDriver.h"
#include "support/EnvScope.h"
#include "support/GuiTest.h"

namespace {

using Log = std::vector<std::string>;
using ApplicationTest = GuiTest;

TEST_F(ApplicationTest, ExeNameIsTheRunningProgram)
{
  const AnsiString exe = Application->ExeName();
  EXPECT_EQ(exe.substr(0, 1) + exe.substr(exe.rfind('/')), "//gui_tests");
}

TEST_F(ApplicationTest, DeferredWorkWaitsForPumpsAndModalLoopsRunsInOrderAndSurvivesAThrow)
{
  Log order;
  const auto defer = [&](const std::string& what) {
    Application->Defer(
        [&order, what] { order.push_back(what + " at " + std::to_string(Application->PumpDepth())); });
  };
  TForm dialog(nullptr);
  TTimer timer(&dialog);
  timer.SetInterval(5);
  int ticks = 0;
  timer.OnTimer = [&](TObject*) {
    if (++ticks == 1) {
      // A long operation pumping messages, as the progress window does.
      defer("first");
      Application->Defer([] { throw EListError("List index out of bounds (3)"); });
      defer("second");
      QElapsedTimer clock;
      clock.start();
      while (clock.elapsed() < 30)
        Application->ProcessMessages();
      order.push_back("pumped");
      timer.SetEnabled(false);
    } else if (ticks == 2) {
      defer("third");
    } else if (ticks == 4) {
      order.push_back("modal ends");
      dialog.SetModalResult(mrOk);
    }
  };
  ASSERT_TRUE(RunLoopUntil([&] { return order.size() == 3; }));
  timer.SetEnabled(true);
  dialog.ShowModal();
  timer.SetEnabled(false);
  ASSERT_TRUE(RunLoopUntil([&] { return order.size() == 5; }));
  EXPECT_EQ(order, (Log{"pumped", "first at 0", "second at 0", "modal ends", "third at 0"}));
  EXPECT_EQ(exceptions, Log{"List index out of bounds (3)"});
}

TEST_F(ApplicationTest, ATimerTicksOnlyWithAnInterval)
{
  TTimer timer(nullptr);
  EXPECT_TRUE(timer.Enabled());
  int ticks = 0;
  timer.OnTimer = [&](TObject*) { ++ticks; };
  timer.SetInterval(0);
  RunLoopFor(30);
  EXPECT_EQ(ticks, 0);
  timer.SetInterval(5);
  EXPECT_TRUE(RunLoopUntil([&] { return ticks >= 2; }));
}

TEST_F(ApplicationTest, WithoutAHookAnExceptionShowsAPlainTextMessageBox)
{
  Application->OnException = nullptr;
  const AnsiString oldTitle = Application->Title();
  Application->SetTitle("Dravolin   v.2016-11-09");
  QString shown;
  DialogDriver driver;
  driver.Then<QMessageBox>([&](QMessageBox* box) {
    shown = box->windowTitle() + "|" + box->text() + (box->textFormat() == Qt::PlainText ? "|plain|" : "|rich|") +
            QString::number(Application->ModalDepth());
    box->done(0);
  });
  Guarded(nullptr, [] { throw EFOpenError("Cannot open file \"<b>x</b>\""); });
  Application->SetTitle(oldTitle);
  EXPECT_TRUE(driver.Done());
  EXPECT_EQ(shown, QStringLiteral("Dravolin   v.2016-11-09|Cannot open file \"<b>x</b>\"|plain|1"));
  EXPECT_EQ(Application->ModalDepth(), 0);
}

// Counts its own destruction.
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
  std::exit(shows == 1 && closes == 1 && MainForm::deaths == 1 && Application->Terminated() ? 0 : 1);
}

TEST(ApplicationRunDeathTest, ClosingTheMainFormEndsRunAndFreesTheForms)
{
  // A fresh process: terminating the application would end every later test here.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(RunAProgramThatClosesItsMainForm(), ::testing::ExitedWithCode(0), "");
}

TEST(QtPlatformChoice, X11FirstWithAFallbackAndNeverOverTheUsersChoice)
{
  // {QT_QPA_PLATFORM, DISPLAY, the choice}: a display gets X11 first and Wayland when the X11
  // plugin cannot start; without one (pure Wayland, or none) Qt chooses; the user's choice stays.
  const char* rows[][3] = {{nullptr, ":0", "xcb;wayland"}, {nullptr, nullptr, ""}, {"wayland", ":0", ""}};
  for (const auto& row : rows) {
    EnvScope platform("QT_QPA_PLATFORM", row[0]);
    EnvScope display("DISPLAY", row[1]);
    EXPECT_EQ(PreferredQtPlatforms(), row[2]);
  }
}

}  // namespace
