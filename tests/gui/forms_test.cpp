#include <QApplication>
#include <QScreen>
#include <memory>

#include "ExtCtrls.h"
#include "support/GuiTest.h"

namespace {

using FormsTest = GuiTest;

// Counts its own destruction.
class ProbeForm : public TForm {
public:
  ProbeForm(TComponent* owner, int* deaths) : TForm(owner), deaths_(deaths) {}
  ~ProbeForm() override { ++*deaths_; }

private:
  int* deaths_;
};

// Runs action on the first tick of a short timer (from inside whatever loop runs then).
void Soon(TTimer& timer, std::function<void()> action)
{
  timer.SetInterval(20);
  timer.OnTimer = [&timer, action](TObject*) {
    timer.SetEnabled(false);
    action();
  };
}

TEST_F(FormsTest, WidthAndHeightAreTheOuterSizeAroundTheClientArea)
{
  TForm dialog(nullptr);
  dialog.SetBorderStyle(bsDialog);
  dialog.SetBorderWidth(10);
  dialog.SetClientWidth(500);
  dialog.SetClientHeight(100);
  EXPECT_EQ(dialog.ClientWidth(), 500);
  EXPECT_EQ(dialog.ClientHeight(), 100);
  // A frame on both sides and a caption bar lie outside the border width.
  const int frameWidth = dialog.Width() - 500 - 20;
  const int frameHeight = dialog.Height() - 100 - 20;
  EXPECT_GT(frameWidth, 0);
  EXPECT_GT(frameHeight, frameWidth);
  // Qt's window is the inside of the frame: client area plus border width.
  EXPECT_EQ(dialog.Widget()->size(), QSize(520, 120));

  // Setting the outer size gives the client size the class library's arithmetic expects.
  dialog.SetBounds(0, 0, 400, 300);
  EXPECT_EQ(dialog.ClientWidth(), 400 - 20 - frameWidth);
  EXPECT_EQ(dialog.ClientHeight(), 300 - 20 - frameHeight);

  // Children sit inside the border width.
  auto* panel = new TPanel(&dialog);
  panel->SetParent(&dialog);
  panel->SetAlign(alClient);
  EXPECT_EQ(panel->Widget()->geometry(), QRect(10, 10, dialog.ClientWidth(), dialog.ClientHeight()));
}

TEST_F(FormsTest, ClientOriginsAreScreenPositionsOfClientAreas)
{
  TForm form(nullptr);
  form.SetBorderWidth(5);
  form.SetBounds(100, 50, 300, 200);
  auto* panel = new TPanel(&form);
  panel->SetParent(&form);
  panel->SetBorderWidth(4);
  panel->SetBounds(10, 20, 100, 50);
  form.Show();
  const TPoint formOrigin = form.ClientOrigin();
  const TPoint panelOrigin = panel->ClientOrigin();
  EXPECT_EQ(panelOrigin.x - formOrigin.x, 10 + 4);
  EXPECT_EQ(panelOrigin.y - formOrigin.y, 20 + 4);
  // The form's client area starts inside its frame and border width.
  EXPECT_GE(formOrigin.x, form.Left() + 5);
  EXPECT_GE(formOrigin.y, form.Top() + 5);
}

TEST_F(FormsTest, BorderStyleIconsAndStyleShapeTheWindow)
{
  TForm box(nullptr);  // the self-closing message window
  box.SetBorderStyle(bsSingle);
  box.SetBorderIcons(box.BorderIcons() >> biSystemMenu >> biMinimize >> biMaximize);
  const Qt::WindowFlags boxFlags = box.Widget()->windowFlags();
  EXPECT_FALSE(boxFlags & Qt::WindowCloseButtonHint);
  EXPECT_FALSE(boxFlags & Qt::WindowMinimizeButtonHint);
  EXPECT_EQ(box.Widget()->minimumSize(), box.Widget()->maximumSize());  // fixed size

  TForm progress(nullptr);
  progress.SetBorderStyle(bsDialog);
  progress.SetFormStyle(fsStayOnTop);
  EXPECT_EQ(progress.Widget()->windowType(), Qt::Dialog);
  EXPECT_TRUE(progress.Widget()->windowFlags() & Qt::WindowStaysOnTopHint);

  TForm main(nullptr);
  EXPECT_TRUE(main.Widget()->windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_EQ(main.Widget()->maximumWidth(), QWIDGETSIZE_MAX);
}

TEST_F(FormsTest, CaptionIsTheExactWindowTitle)
{
  TForm form(nullptr);
  form.SetCaption("Dravolin   v.2016-11-09");
  EXPECT_EQ(form.Widget()->windowTitle(), QStringLiteral("Dravolin   v.2016-11-09"));
  form.SetCaption("\xC2\xED\xE8\xEC\xE0\xED\xE8\xE5!");  // "Внимание!" in Windows-1251
  EXPECT_EQ(form.Widget()->windowTitle(), QString::fromUtf8("Внимание!"));
}

TEST_F(FormsTest, ConstraintsHoldTheMinimumOuterSize)
{
  TForm form(nullptr);
  form.Constraints()->SetMinWidth(800);
  form.Constraints()->SetMinHeight(600);
  EXPECT_EQ(form.Width(), 800);
  form.SetBounds(0, 0, 300, 700);
  EXPECT_EQ(form.Width(), 800);
  EXPECT_EQ(form.Height(), 700);
}

TEST_F(FormsTest, ScreenCentreIsAppliedWhenShown)
{
  TForm form(nullptr);
  form.SetPosition(poScreenCenter);
  form.SetBounds(0, 0, 200, 100);
  form.Show();
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  EXPECT_EQ(form.Left(), screen.x() + (screen.width() - 200) / 2);
  EXPECT_EQ(form.Top(), screen.y() + (screen.height() - 100) / 2);
}

TEST_F(FormsTest, MaximisedFormTakesTheSizeTheWindowSystemGives)
{
  TForm form(nullptr);
  auto* client = new TPanel(&form);
  client->SetParent(&form);
  client->SetAlign(alClient);
  int resizes = 0;
  form.OnResize = [&](TObject*) { ++resizes; };
  form.SetWindowState(wsMaximized);
  form.Show();
  ASSERT_TRUE(RunLoopUntil([&] { return form.Widget()->isMaximized(); }));
  RunLoopFor(20);
  EXPECT_EQ(form.WindowState(), wsMaximized);
  EXPECT_GE(resizes, 1);
  EXPECT_EQ(client->Width(), form.Widget()->width());
  EXPECT_EQ(client->Height(), form.Widget()->height());
  EXPECT_EQ(form.ClientWidth(), form.Widget()->width());
}

TEST_F(FormsTest, OnShowOncePerBecomingVisible)
{
  TForm form(nullptr);
  int shows = 0;
  form.OnShow = [&](TObject*) { ++shows; };
  form.Show();
  form.Show();
  EXPECT_EQ(shows, 1);
  // Qt re-shows a window whose flags change; that is no new showing.
  form.SetFormStyle(fsStayOnTop);
  form.SetBorderStyle(bsSingle);
  EXPECT_TRUE(form.Widget()->isVisible());
  EXPECT_EQ(shows, 1);
  form.Hide();
  form.Show();
  EXPECT_EQ(shows, 2);
}

TEST_F(FormsTest, ShowModalEndsWhenATimerSetsModalResult)
{
  TForm dialog(nullptr);
  TTimer timer(&dialog);
  int depthInside = -1;
  Soon(timer, [&] {
    depthInside = Application->ModalDepth();
    dialog.SetModalResult(mrOk);
  });
  EXPECT_EQ(dialog.ShowModal(), mrOk);
  EXPECT_EQ(depthInside, 1);
  EXPECT_EQ(Application->ModalDepth(), 0);
  EXPECT_FALSE(dialog.Visible());
  EXPECT_FALSE(dialog.Widget()->isVisible());
  // A visible form cannot be made modal.
  dialog.Show();
  EXPECT_THROW(dialog.ShowModal(), EInvalidOperation);
}

TEST_F(FormsTest, ACountdownTimerTicksInsideTheModalLoopAndStopsWhenDisabled)
{
  // The self-closing message: three ticks, the last closes the window and stops the timer.
  TForm box(nullptr);
  TTimer timer(&box);
  timer.SetInterval(15);
  int ticks = 0;
  timer.OnTimer = [&](TObject*) {
    if (++ticks == 3) {
      box.SetModalResult(mrOk);
      timer.SetEnabled(false);
    }
  };
  EXPECT_EQ(box.ShowModal(), mrOk);
  RunLoopFor(60);
  EXPECT_EQ(ticks, 3);
}

TEST_F(FormsTest, TheCloseBoxEndsAModalLoopWithCancel)
{
  TForm dialog(nullptr);
  TTimer timer(&dialog);
  int closes = 0;
  dialog.OnClose = [&](TObject*, TCloseAction& action) {
    EXPECT_EQ(action, caHide);
    ++closes;
  };
  Soon(timer, [&] { dialog.Widget()->close(); });  // what the window manager's close does
  EXPECT_EQ(dialog.ShowModal(), mrCancel);
  EXPECT_EQ(closes, 1);
}

TEST_F(FormsTest, OnCloseQueryCanKeepAModalFormOpen)
{
  TForm dialog(nullptr);
  TTimer timer(&dialog);
  timer.SetInterval(15);
  int queries = 0;
  int ticks = 0;
  dialog.OnCloseQuery = [&](TObject*, bool& canClose) { canClose = ++queries > 1; };
  timer.OnTimer = [&](TObject*) {
    ++ticks;
    if (ticks == 1)
      dialog.Close();  // refused: the loop goes on
    else if (ticks == 2) {
      EXPECT_TRUE(dialog.Widget()->isVisible());
      EXPECT_EQ(dialog.ModalResult(), mrNone);
      dialog.SetModalResult(mrOk);
    }
  };
  EXPECT_EQ(dialog.ShowModal(), mrOk);
  EXPECT_EQ(queries, 2);
  EXPECT_GE(ticks, 2);
}

TEST_F(FormsTest, OnCloseQueryRefusingDropsTheCloseRequest)
{
  TForm form(nullptr);
  bool busy = true;
  int closes = 0;
  form.OnCloseQuery = [&](TObject*, bool& canClose) { canClose = !busy; };
  form.OnClose = [&](TObject*, TCloseAction&) { ++closes; };
  form.Show();
  form.Widget()->close();
  EXPECT_TRUE(form.Visible());
  EXPECT_TRUE(form.Widget()->isVisible());
  EXPECT_EQ(closes, 0);
  busy = false;
  form.Close();
  EXPECT_FALSE(form.Visible());
  EXPECT_EQ(closes, 1);
}

TEST_F(FormsTest, ReleaseAndCaFreeFreeTheFormFromTheMessageLoop)
{
  int deaths = 0;
  auto* released = new ProbeForm(Application, &deaths);
  released->Release();
  EXPECT_EQ(deaths, 0);  // still alive for the rest of the caller's handler
  auto* closed = new ProbeForm(Application, &deaths);
  closed->OnClose = [](TObject*, TCloseAction& action) { action = caFree; };
  closed->Show();
  closed->Close();
  EXPECT_EQ(deaths, 0);
  EXPECT_TRUE(RunLoopUntil([&] { return deaths == 2; }));
}

TEST_F(FormsTest, AThrowingTimerHandlerIsReportedAndTheModalLoopGoesOn)
{
  TForm dialog(nullptr);
  TTimer timer(&dialog);
  timer.SetInterval(10);
  int ticks = 0;
  timer.OnTimer = [&](TObject*) {
    if (++ticks == 3)
      dialog.SetModalResult(mrOk);
    throw Exception("tick " + std::to_string(ticks));
  };
  EXPECT_EQ(dialog.ShowModal(), mrOk);
  timer.SetEnabled(false);
  ASSERT_EQ(exceptions.size(), 3u);
  EXPECT_EQ(exceptions[0], "tick 1");
  EXPECT_EQ(exceptionSenders[0], &timer);
}

}  // namespace
