// The application and its forms: the loop, deferred work, timers, exceptions, the platform it
// asks for; a form's frame and placement, showing, closing and the modal loop.
#include "support/ControlTest.h"
#include "support/EnvScope.h"

namespace {

using ApplicationTest = GuiTest;

TEST_F(ApplicationTest, DeferredWorkWaitsForPumpsAndModalLoopsRunsInOrderAndSurvivesAThrow)
{
  Log order;
  const auto defer = [&](const std::string& what) {
    Application->Defer(
        [&order, what] { order.push_back(what + " at " + std::to_string(Application->PumpDepth())); });
  };
  TForm dialog(nullptr);
  TTimer timer(&dialog);
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
  timer.SetInterval(0);  // no interval: no ticks
  RunLoopFor(30);
  ASSERT_EQ(ticks, 0);
  timer.SetInterval(5);
  ASSERT_TRUE(RunLoopUntil([&] { return order.size() == 3; }));
  timer.SetEnabled(true);
  dialog.ShowModal();
  timer.SetEnabled(false);
  ASSERT_TRUE(RunLoopUntil([&] { return order.size() == 5; }));
  EXPECT_EQ(order, (Log{"pumped", "first at 0", "second at 0", "modal ends", "third at 0"}));
  EXPECT_EQ(exceptions, Log{"List index out of bounds (3)"});
}

// The program's shape: create the main form, run, close the main form from a timer.
[[noreturn]] void RunAProgramThatClosesItsMainForm()
{
  EnsureTestApplication();
  Probe<TForm>* form = nullptr;
  Application->CreateForm(form);
  int shows = 0;
  int closes = 0;
  form->OnShow = [&](TObject*) { ++shows; };
  form->OnClose = [&](TObject*, TCloseAction&) { ++closes; };
  auto* timer = new TTimer(form);
  timer->SetInterval(20);
  timer->OnTimer = [form](TObject*) { form->Close(); };
  Application->Run();
  std::exit(shows == 1 && closes == 1 && Probe<TForm>::deaths == 1 && Application->Terminated() ? 0 : 1);
}

TEST(ApplicationRunDeathTest, ClosingTheMainFormEndsRunAndFreesTheForms)
{
  // A fresh process: terminating the application would end every later test here.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(RunAProgramThatClosesItsMainForm(), ::testing::ExitedWithCode(0), "");
}

// {QT_QPA_PLATFORM, DISPLAY, the choice}: without a display (pure Wayland, or none) Qt chooses.
TEST(QtPlatformChoice, X11FirstWithAFallbackAndNeverOverTheUsersChoice)
{
  const char* rows[][3] = {{nullptr, ":0", "xcb;wayland"}, {nullptr, nullptr, ""}, {"wayland", ":0", ""}};
  for (const auto& row : rows) {
    EnvScope platform("QT_QPA_PLATFORM", row[0]);
    EnvScope display("DISPLAY", row[1]);
    EXPECT_EQ(PreferredQtPlatforms(), row[2]);
  }
}

using FormsTest = GuiTest;

TEST_F(FormsTest, OuterSizeClientAreaAndOriginsFollowTheFrameAndTheConstraints)
{
  TForm dialog(nullptr);
  dialog.SetBorderStyle(bsDialog);
  dialog.SetBorderWidth(10);
  dialog.SetClientWidth(500);
  dialog.SetClientHeight(100);
  // A frame on both sides and a caption bar lie outside the border width; Qt's window is the
  // inside of the frame.
  const int frameWidth = dialog.Width() - 500 - 20, frameHeight = dialog.Height() - 100 - 20;
  EXPECT_TRUE(frameWidth > 0 && frameHeight > frameWidth);
  EXPECT_EQ(dialog.Widget()->size(), QSize(520, 120));
  dialog.SetBounds(100, 50, 400, 300);
  EXPECT_EQ(QSize(dialog.ClientWidth(), dialog.ClientHeight()), QSize(380 - frameWidth, 280 - frameHeight));
  auto* panel = new TPanel(&dialog);
  panel->SetParent(&dialog);
  panel->SetBounds(10, 20, 100, 50);
  panel->SetBorderWidth(4);
  dialog.Show();
  EXPECT_EQ(panel->ClientOrigin().x - dialog.ClientOrigin().x, 10 + 4);
  EXPECT_EQ(panel->ClientOrigin().y - dialog.ClientOrigin().y, 20 + 4);

  TForm main(nullptr);
  main.Constraints()->SetMinWidth(800);
  main.Constraints()->SetMinHeight(600);
  const int first = main.Width();
  main.SetBounds(0, 0, 300, 700);
  EXPECT_EQ(QSize(first, main.Height()), QSize(800, 700));
  EXPECT_EQ(main.Width(), 800);
}

TEST_F(FormsTest, ScreenCentreIsAppliedWhenShown)
{
  TForm centred(nullptr);
  centred.SetPosition(poScreenCenter);
  centred.SetBounds(0, 0, 200, 100);
  centred.Show();
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  EXPECT_EQ(QPoint(centred.Left(), centred.Top()),
            QPoint(screen.x() + (screen.width() - 200) / 2, screen.y() + (screen.height() - 100) / 2));
}

TEST_F(FormsTest, OnShowOncePerBecomingVisibleAndTheCaptionIsTheExactTitle)
{
  TForm form(nullptr);
  int shows = 0;
  form.OnShow = [&](TObject*) { ++shows; };
  form.Show();
  form.Show();
  form.SetCaption("Dravolin   v.2016-11-09 \xC2\xED\xE8\xEC\xE0\xED\xE8\xE5!");  // "Внимание!" in 1251
  EXPECT_EQ(form.Widget()->windowTitle(), QString::fromUtf8("Dravolin   v.2016-11-09 Внимание!"));
  // Qt re-shows a window whose flags change; that is no new showing.
  form.SetFormStyle(fsStayOnTop);
  form.SetBorderStyle(bsSingle);
  EXPECT_TRUE(form.Widget()->isVisible() && shows == 1);
  form.Hide();
  form.Show();
  EXPECT_EQ(shows, 2);
}

TEST_F(FormsTest, OnCloseQueryMayRefuseAndReleaseOrCaFreeFreeTheFormFromTheLoop)
{
  const int deaths = Probe<TForm>::deaths;
  auto* form = new Probe<TForm>(Application);
  bool busy = true;
  int closes = 0;
  form->OnCloseQuery = [&](TObject*, bool& canClose) { canClose = !busy; };
  form->OnClose = [&](TObject*, TCloseAction& action) {
    ++closes;
    action = caFree;
  };
  form->Show();
  form->Widget()->close();  // what the window manager's close does: refused
  EXPECT_TRUE(form->Widget()->isVisible() && closes == 0);
  busy = false;
  form->Close();
  EXPECT_EQ(closes, 1);
  (new Probe<TForm>(Application))->Release();
  EXPECT_EQ(Probe<TForm>::deaths, deaths);  // still alive for the rest of the caller's handler
  EXPECT_TRUE(RunLoopUntil([&] { return Probe<TForm>::deaths == deaths + 2; }));
}

TEST_F(FormsTest, AModalLoopRunsTimersReportsTheirFailuresAndEndsOnAResultOrTheCloseBox)
{
  TForm dialog(nullptr);
  TTimer timer(&dialog);
  timer.SetInterval(10);
  std::vector<std::function<void()>> script;
  size_t tick = 0;
  timer.OnTimer = [&](TObject*) {
    if (tick < script.size())
      script[tick++]();
  };
  bool canClose = false;
  int closes = 0;
  dialog.OnCloseQuery = [&](TObject*, bool& ok) { ok = canClose; };
  dialog.OnClose = [&](TObject*, TCloseAction& action) { closes += action == caHide; };
  script = {
      [&] {
        EXPECT_EQ(Application->ModalDepth(), 1);
        dialog.Close();  // refused: the loop goes on
      },
      [&] { throw Exception("tick"); },  // reported; the loop goes on
      [&] {
        EXPECT_TRUE(dialog.Widget()->isVisible());
        EXPECT_EQ(dialog.ModalResult(), mrNone);
        canClose = true;
        dialog.SetModalResult(mrOk);
      },
  };
  EXPECT_EQ(dialog.ShowModal(), mrOk);
  EXPECT_EQ(
      std::vector<size_t>({tick, size_t(closes), size_t(Application->ModalDepth()), dialog.Widget()->isVisible()}),
      std::vector<size_t>({3, 1, 0, 0}));
  EXPECT_EQ(exceptions, std::vector<std::string>{"tick"});
  EXPECT_EQ(exceptionSenders[0], &timer);

  tick = 0;
  script = {[&] { dialog.Widget()->close(); }};
  EXPECT_EQ(dialog.ShowModal(), mrCancel);
  EXPECT_EQ(closes, 2);
  dialog.Show();  // a visible form cannot be made modal
  EXPECT_THROW(dialog.ShowModal(), EInvalidOperation);
}

}  // namespace
