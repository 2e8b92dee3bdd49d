// The small windows: the progress window (its layout on its owner, the gauges, the message pump
// and the abort flag), the self-closing message window and the three-language name editor, the
// last two driven from inside their modal loops as a user would.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <chrono>
#include <memory>
#include <string>

#include "Button.h"
#include "CodePage.h"
#include "Edit.h"
#include "Gauges.h"
#include "Label.h"
#include "Timer.h"
#include "app/MessageWindow.h"
#include "app/NameEditor.h"
#include "app/Progress.h"
#include "support/FormTest.h"

namespace {

void Click(TButton* button)
{
  static_cast<QPushButton*>(button->Widget())->click();
}

QLineEdit* Line(TEdit* edit)
{
  return static_cast<QLineEdit*>(edit->Widget());
}

// True when a's bottom is above b's top.
bool Above(const TControl* a, const TControl* b)
{
  return a->Top() + a->Height() < b->Top();
}

// Ticks given by the test: the button counts down from the seconds and the last tick closes;
// the text is wrapped across the window with the button under it at the window's bottom. On its
// own timer a message closes by itself after its seconds; with none (or fewer) it waits for the
// user's Ok long after a countdown would have closed it. The window is freed after it closed.
TEST(MessageWindowTest, CountsDownUnderTheWrappedTextAndClosesByItselfOrWaitsForTheUsersOk)
{
  // A window left open would hang the test: it is closed after a generous limit, and the test fails.
  QObject watchdog;
  bool timedOut = false;
  QTimer::singleShot(20000, &watchdog, [&timedOut] {
    timedOut = true;
    if (QWidget* modal = QApplication::activeModalWidget())
      modal->close();
  });
  BMessageBox::TickInterval = 3600 * 1000;
  std::string captions;
  {
    BMessageBox box;
    QTimer::singleShot(0, qApp, [&] {
      const TLabel* label = box.Label;
      EXPECT_TRUE(label->Width() == box.Form->ClientWidth() &&
                  label->Height() > 2 * label->Widget()->fontMetrics().height());
      EXPECT_TRUE(Above(label, box.Button) &&
                  box.Form->ClientHeight() == box.Button->Top() + box.Button->Height());
      for (int tick = 1; tick <= 15; ++tick) {
        captions +=
            box.Button->Caption() + (box.Form->ModalResult() == mrNone && box.Timer->Enabled() ? " " : "! ");
        box.OnTimerTick(box.Timer);
      }
      EXPECT_TRUE(box.Form->ModalResult() == mrOk && !box.Timer->Enabled());
    });
    AnsiString words;
    for (int i = 0; i < 60; ++i)
      words += "word ";
    box.Show(words, 15);
  }
  std::string expected;
  for (int n = 15; n >= 1; --n)
    expected += "Ok (" + std::to_string(n) + ") ";
  EXPECT_EQ(captions, expected);

  BMessageBox::TickInterval = 2;
  QPointer<QWidget> window;
  QString shown;
  QTimer::singleShot(0, qApp, [&] {
    window = QApplication::activeModalWidget();
    shown = window->windowTitle() + "|" + window->findChild<QLabel*>()->text() + "|" +
            window->findChild<QPushButton*>()->text();
  });
  ShowTimedMessage("New name (rassian) present on other parametr. Change canceled.", 15);
  EXPECT_EQ(shown,
            QStringLiteral("Внимание!|New name (rassian) present on other parametr. Change canceled.|Ok (15)"));
  for (int seconds : {0, -3}) {
    BMessageBox box;
    std::string seen;
    QTimer::singleShot(100, qApp, [&] {
      EXPECT_TRUE(box.Form->Widget()->isVisible() && box.Form->ModalResult() == mrNone && !box.Counting);
      seen = box.Button->Caption();
      Click(box.Button);
    });
    box.Show("text", seconds);
    EXPECT_EQ(seen, "Ok") << seconds;
  }
  RunLoopFor(0);
  EXPECT_FALSE(window || timedOut);
  BMessageBox::TickInterval = 1000;
}

// Each row's edit right of its label, the rows and then the buttons below each other inside the
// window; each edit shows its name. Ok gives back what was typed in each edit's own code page,
// what that lacks as "?"; Cancel and the close box leave the names. The window is freed.
TEST(NameEditorTest, OkReturnsTheTypedNamesInEachEditsCodePageCancelOrCloseNone)
{
  BNameRED editor;
  editor.RussianCaption = "Name (russian)", editor.EnglishCaption = "Name (english)";
  editor.GermanCaption = "Name (deutsch)", editor.OkCaption = "Ok", editor.CancelCaption = "Break";
  editor.RussianName = Utf8ToAnsi("Маска 3", 1251), editor.EnglishName = "Mask 3";
  editor.GermanName = Utf8ToAnsi("Maske für 3", 1252);
  const auto names = [&] { return editor.RussianName + "|" + editor.EnglishName + "|" + editor.GermanName; };
  const AnsiString before = names(), typed = "\xC6\xB8\xEB\xF2\xE0\xFF ?|Yellow \xC6|Gr\xF6\xDF"
                                             "e ?";
  for (const char* how : {"cancel", "close", "ok"}) {
    SCOPED_TRACE(how);
    QPointer<QWidget> window;
    QTimer::singleShot(0, qApp, [&] {
      const TControl* column[] = {editor.RussianLabel, editor.EnglishLabel, editor.GermanLabel, editor.OkButton};
      const TEdit* edits[] = {editor.RussianEdit, editor.EnglishEdit, editor.GermanEdit};
      TButton *ok = editor.OkButton, *cancel = editor.CancelButton;
      const TWinControl* form = ok->Parent();
      for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(edits[i]->Top() == column[i]->Top() &&
                    edits[i]->Left() > column[i]->Left() + column[i]->Width() && Above(column[i], column[i + 1]) &&
                    edits[i]->Left() + edits[i]->Width() <= form->ClientWidth());
      EXPECT_TRUE(cancel->Top() == ok->Top() && cancel->Left() > ok->Left() + ok->Width() &&
                  cancel->Left() + cancel->Width() <= form->ClientWidth() &&
                  ok->Top() + ok->Height() <= form->ClientHeight());
      EXPECT_EQ(ok->Caption() + " " + cancel->Caption(), "Ok Break");
      EXPECT_EQ(Line(editor.RussianEdit)->text() + "|" + Line(editor.EnglishEdit)->text() + "|" +
                    Line(editor.GermanEdit)->text(),
                QStringLiteral("Маска 3|Mask 3|Maske für 3"));
      window = form->Widget();
      Line(editor.RussianEdit)->setText(QStringLiteral("Жёлтая ö"));
      Line(editor.EnglishEdit)->setText(QStringLiteral("Yellow Ж"));
      Line(editor.GermanEdit)->setText(QStringLiteral("Größe Ж"));
      how[0] == 'c' && how[1] == 'l' ? (void)window->close() : Click(how[0] == 'o' ? ok : cancel);
    });
    EXPECT_EQ(editor.Execute(), how[0] == 'o');
    EXPECT_EQ(names(), how[0] == 'o' ? typed : before);
    EXPECT_EQ(editor.RussianEdit, nullptr);
    RunLoopFor(0);
    EXPECT_FALSE(window);
  }
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

  // Whether the message loop got to run the events queued before the update.
  template <class Update>
  static bool Pumps(Update update)
  {
    QObject receiver;  // gone at the return, and with it a marker that has not run
    bool ran = false;
    QMetaObject::invokeMethod(
        &receiver, [&ran] { ran = true; }, Qt::QueuedConnection);
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
    EXPECT_TRUE(std::abs(2 * (window->Left() - origin.x) + window->Width() - width) <= 1 &&
                std::abs(2 * (window->Top() - origin.y) + window->Height() - 300) <= 1 &&
                window->Width() <= width);
    const TRect big = bounds(progress->MainGauge), small = bounds(progress->SecondGauge),
                label = bounds(progress->Label), button = bounds(progress->Button);
    for (const TRect& r : {big, small, label, button})
      EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= window->ClientWidth() &&
                  r.bottom <= window->ClientHeight());
    EXPECT_TRUE(big.Width() == big.Height() && small.left == big.right && small.bottom == big.bottom &&
                label.left > big.right && window->ClientWidth() - label.right == big.left &&
                label.bottom <= button.top && button.left > big.right);
  }
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

// The owner is disabled while the window shows. The button stops an operation that updates far
// more often than the window is served (the click comes through at the first pump after the
// interval); the close box sets the flag too, and the owner waits for the operation to hide the
// window. Once the object is gone, they reach nothing.
TEST_F(ProgressTest, TheButtonAndTheCloseBoxSetTheFlagWhileTheObjectLives)
{
  progress->WindowCaption = "Please wait ...  :)";
  progress->ButtonText = "Break";
  progress->Show(true);
  EXPECT_EQ(progress->Form->Caption() + "|" + progress->Button->Caption(), "Please wait ...  :)|Break");
  QMetaObject::invokeMethod(
      qApp, [this] { Click(progress->Button); }, Qt::QueuedConnection);
  progress->PumpInterval = std::chrono::milliseconds(2);
  for (int step = 0; step < 100000000 && !abortFlag; ++step)
    progress->SetMainProgress(1000, step % 1000);
  EXPECT_TRUE(abortFlag == 1 && !panel->Enabled());
  abortFlag = 0;
  progress->Form->Widget()->close();  // what the window manager's close does
  EXPECT_TRUE(abortFlag == 1 && !progress->Form->Visible() && !panel->Enabled());
  progress->Show(false);
  EXPECT_TRUE(panel->Enabled());

  abortFlag = 0;
  progress->Show(true);
  const QPointer<QWidget> window(progress->Form->Widget());
  progress.reset();
  ASSERT_TRUE(window);  // freed by the message loop: until then nothing may reach the object
  window->close();
  window->findChild<QPushButton*>()->click();
  EXPECT_EQ(abortFlag, 0);
  QCoreApplication::processEvents();
  EXPECT_FALSE(window);
}

}  // namespace
