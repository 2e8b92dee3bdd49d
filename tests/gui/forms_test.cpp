// Forms: their frame and placement, showing, closing and the modal loop.
#include <QApplication>
#include <QScreen>
#include <functional>
#include <memory>
#include <vector>

#include "ExtCtrls.h"
#include "support/GuiTest.h"

namespace {

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
  const int frameWidth = dialog.Width() - 500 - 20;
  const int frameHeight = dialog.Height() - 100 - 20;
  EXPECT_GT(frameWidth, 0);
  EXPECT_GT(frameHeight, frameWidth);
  EXPECT_EQ(dialog.Widget()->size(), QSize(520, 120));
  dialog.SetBounds(100, 50, 400, 300);
  EXPECT_EQ(QSize(dialog.ClientWidth(), dialog.ClientHeight()), QSize(380 - frameWidth, 280 - frameHeight));

  auto* panel = new TPanel(&dialog);
  panel->SetParent(&dialog);
  panel->SetBorderWidth(4);
  panel->SetBounds(10, 20, 100, 50);
  dialog.Show();
  const TPoint formOrigin = dialog.ClientOrigin();
  const TPoint panelOrigin = panel->ClientOrigin();
  EXPECT_EQ(QPoint(panelOrigin.x - formOrigin.x, panelOrigin.y - formOrigin.y), QPoint(10 + 4, 20 + 4));
  EXPECT_GE(formOrigin.x, dialog.Left() + 10);
  panel->SetAlign(alClient);
  EXPECT_EQ(panel->Widget()->geometry(), QRect(10, 10, dialog.ClientWidth(), dialog.ClientHeight()));

  TForm main(nullptr);
  main.Constraints()->SetMinWidth(800);
  main.Constraints()->SetMinHeight(600);
  EXPECT_EQ(main.Width(), 800);
  main.SetBounds(0, 0, 300, 700);
  EXPECT_EQ(QSize(main.Width(), main.Height()), QSize(800, 700));
}

TEST_F(FormsTest, BorderStyleIconsStyleAndCaptionShapeTheWindow)
{
  TForm box(nullptr);  // the self-closing message window
  box.SetBorderStyle(bsSingle);
  box.SetBorderIcons(box.BorderIcons() >> biSystemMenu >> biMinimize >> biMaximize);
  EXPECT_FALSE(box.Widget()->windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint));
  EXPECT_EQ(box.Widget()->minimumSize(), box.Widget()->maximumSize());          // fixed size
  box.SetCaption("Dravolin   v.2016-11-09 \xC2\xED\xE8\xEC\xE0\xED\xE8\xE5!");  // "Внимание!" in 1251
  EXPECT_EQ(box.Widget()->windowTitle(), QString::fromUtf8("Dravolin   v.2016-11-09 Внимание!"));

  TForm progress(nullptr);
  progress.SetBorderStyle(bsDialog);
  progress.SetFormStyle(fsStayOnTop);
  EXPECT_EQ(progress.Widget()->windowType(), Qt::Dialog);
  EXPECT_TRUE(progress.Widget()->windowFlags() & Qt::WindowStaysOnTopHint);

  TForm main(nullptr);
  EXPECT_TRUE(main.Widget()->windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_EQ(main.Widget()->maximumWidth(), QWIDGETSIZE_MAX);
}

TEST_F(FormsTest, PositionAndWindowStateApplyWhenShown)
{
  TForm centred(nullptr);
  centred.SetPosition(poScreenCenter);
  centred.SetBounds(0, 0, 200, 100);
  centred.Show();
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  EXPECT_EQ(QPoint(centred.Left(), centred.Top()),
            QPoint(screen.x() + (screen.width() - 200) / 2, screen.y() + (screen.height() - 100) / 2));

  // Maximised: the size the window system gives is taken.
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
  EXPECT_EQ(QSize(client->Width(), client->Height()), form.Widget()->size());
}

TEST_F(FormsTest, OnShowOncePerBecomingVisible)
{
  TForm form(nullptr);
  int shows = 0;
  form.OnShow = [&](TObject*) { ++shows; };
  form.Show();
  form.Show();
  // Qt re-shows a window whose flags change; that is no new showing.
  form.SetFormStyle(fsStayOnTop);
  form.SetBorderStyle(bsSingle);
  EXPECT_TRUE(form.Widget()->isVisible());
  EXPECT_EQ(shows, 1);
  form.Hide();
  form.Show();
  EXPECT_EQ(shows, 2);
}

// Counts its own destruction.
class ProbeForm : public TForm {
public:
  ProbeForm(TComponent* owner, int* deaths) : TForm(owner), deaths_(deaths) {}
  ~ProbeForm() override { ++*deaths_; }

private:
  int* deaths_;
};

TEST_F(FormsTest, OnCloseQueryMayRefuseAndReleaseOrCaFreeFreeTheFormFromTheLoop)
{
  int deaths = 0;
  auto* form = new ProbeForm(Application, &deaths);
  bool busy = true;
  int closes = 0;
  form->OnCloseQuery = [&](TObject*, bool& canClose) { canClose = !busy; };
  form->OnClose = [&](TObject*, TCloseAction& action) {
    ++closes;
    action = caFree;
  };
  form->Show();
  form->Widget()->close();  // what the window manager's close does: refused
  EXPECT_TRUE(form->Widget()->isVisible());
  EXPECT_EQ(closes, 0);
  busy = false;
  form->Close();
  EXPECT_EQ(closes, 1);
  auto* released = new ProbeForm(Application, &deaths);
  released->Release();
  EXPECT_EQ(deaths, 0);  // still alive for the rest of the caller's handler
  EXPECT_TRUE(RunLoopUntil([&] { return deaths == 2; }));
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
  EXPECT_EQ(tick, 3u);
  EXPECT_EQ(closes, 1);
  EXPECT_EQ(exceptions, std::vector<std::string>{"tick"});
  EXPECT_EQ(exceptionSenders[0], &timer);
  EXPECT_EQ(Application->ModalDepth(), 0);
  EXPECT_FALSE(dialog.Widget()->isVisible());

  tick = 0;
  script = {[&] { dialog.Widget()->close(); }};
  EXPECT_EQ(dialog.ShowModal(), mrCancel);
  EXPECT_EQ(closes, 2);
  dialog.Show();  // a visible form cannot be made modal
  EXPECT_THROW(dialog.ShowModal(), EInvalidOperation);
}

}  // namespace
