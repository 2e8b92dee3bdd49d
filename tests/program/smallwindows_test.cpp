// The self-closing message window and the three-language name editor, driven from inside their
// modal loops as a user would: reading what they show, typing, pressing buttons, closing.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

#include "Button.h"
#include "CodePage.h"
#include "Edit.h"
#include "Form.h"
#include "Label.h"
#include "Timer.h"
#include "app/MessageWindow.h"
#include "app/NameEditor.h"
#include "support/TestApp.h"

namespace {

// Runs work once the modal loop that the next call opens is running.
void InsideModalLoop(std::function<void()> work, int delayMs = 0)
{
  QTimer::singleShot(delayMs, qApp, std::move(work));
}

QPushButton* PushButton(TButton* button)
{
  return static_cast<QPushButton*>(button->Widget());
}

QLineEdit* Line(TEdit* edit)
{
  return static_cast<QLineEdit*>(edit->Widget());
}

class MessageWindowTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    saved = BMessageBox::TickInterval;
    // A window left open would hang the test: close it after a generous limit and fail.
    QTimer::singleShot(20000, &watchdog, [this] {
      timedOut = true;
      if (QWidget* modal = QApplication::activeModalWidget())
        modal->close();
    });
  }
  void TearDown() override
  {
    BMessageBox::TickInterval = saved;
    EXPECT_FALSE(timedOut);
    QCoreApplication::processEvents();
  }

  int saved = 1000;
  QObject watchdog;
  bool timedOut = false;
};

TEST_F(MessageWindowTest, CountsDownFromTheSecondsAndClosesOnTheLastTick)
{
  BMessageBox::TickInterval = 3600 * 1000;  // the ticks come from the test
  BMessageBox box;
  std::vector<std::string> captions;
  bool openBeforeLast = false;
  bool timerStopped = false;
  InsideModalLoop([&] {
    captions.push_back(box.Button->Caption());
    for (int tick = 1; tick < 15; ++tick) {
      box.OnTimerTick(box.Timer);
      captions.push_back(box.Button->Caption());
    }
    openBeforeLast = box.Form->ModalResult() == mrNone && box.Timer->Enabled();
    box.OnTimerTick(box.Timer);
    timerStopped = !box.Timer->Enabled();
  });
  box.Show("New name (english) present on other parametr. Change canceled.", 15);

  std::vector<std::string> expected;
  for (int n = 15; n >= 1; --n)
    expected.push_back("Ok (" + std::to_string(n) + ")");
  EXPECT_EQ(captions, expected);
  EXPECT_TRUE(openBeforeLast);
  EXPECT_TRUE(timerStopped);
}

TEST_F(MessageWindowTest, ShowTimedMessageShowsTheTextAndReturnsWhenClosed)
{
  BMessageBox::TickInterval = 2;
  QString button;
  QString label;
  QString title;
  QPointer<QWidget> window;
  InsideModalLoop([&] {
    window = QApplication::activeModalWidget();
    if (!window)
      return;
    button = window->findChild<QPushButton*>()->text();
    label = window->findChild<QLabel*>()->text();
    title = window->windowTitle();
  });
  ShowTimedMessage("New name (rassian) present on other parametr. Change canceled.", 15);
  EXPECT_EQ(button, QStringLiteral("Ok (15)"));
  EXPECT_EQ(label, QStringLiteral("New name (rassian) present on other parametr. Change canceled."));
  EXPECT_EQ(title, QStringLiteral("Внимание!"));
  // Released: the window is freed by the message loop.
  QCoreApplication::processEvents();
  EXPECT_FALSE(window);
}

TEST_F(MessageWindowTest, WithoutSecondsItWaitsForTheUsersOk)
{
  BMessageBox::TickInterval = 2;
  for (int seconds : {0, -3}) {
    BMessageBox box;
    bool stillOpen = false;
    std::string caption;
    // Long after a countdown of a few ticks would have closed it.
    InsideModalLoop(
        [&] {
          stillOpen = box.Form->Widget()->isVisible() && box.Form->ModalResult() == mrNone;
          caption = box.Button->Caption();
          PushButton(box.Button)->click();
        },
        100);
    box.Show("text", seconds);
    EXPECT_TRUE(stillOpen) << seconds;
    EXPECT_EQ(caption, "Ok") << seconds;
    EXPECT_FALSE(box.Counting) << seconds;
  }
}

TEST_F(MessageWindowTest, AnEarlyOkClosesAtOnceAndNothingTicksAfterwards)
{
  BMessageBox::TickInterval = 1;
  bool closed = false;
  int ticksAfterClose = 0;
  QPointer<QWidget> window;
  {
    BMessageBox box;
    InsideModalLoop([&] {
      window = box.Form->Widget();
      box.Timer->OnTimer = [&](TObject* sender) {
        if (closed)
          ++ticksAfterClose;
        else
          box.OnTimerTick(sender);
      };
      PushButton(box.Button)->click();
    });
    box.Show("text", 15);
    closed = true;
  }
  // The box is gone: neither a late tick nor the window may outlive the call.
  QTimer wait;
  wait.setSingleShot(true);
  wait.start(20);
  while (wait.isActive())
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  EXPECT_EQ(ticksAfterClose, 0);
  EXPECT_FALSE(window);
}

TEST_F(MessageWindowTest, TheButtonSitsUnderTheTextWrappedAcrossTheWindow)
{
  BMessageBox::TickInterval = 3600 * 1000;
  AnsiString words;
  for (int i = 0; i < 60; ++i)
    words += "word ";
  BMessageBox box;
  bool wrapped = false, below = false, ends = false;
  InsideModalLoop([&] {
    const TLabel* label = box.Label;
    wrapped =
        label->Width() == box.Form->ClientWidth() && label->Height() > label->Widget()->fontMetrics().height();
    below = box.Button->Top() > label->Top() + label->Height();
    ends = box.Form->ClientHeight() == box.Button->Top() + box.Button->Height();
    box.Form->SetModalResult(mrOk);
  });
  box.Show(words, 0);
  EXPECT_TRUE(wrapped);
  EXPECT_TRUE(below);
  EXPECT_TRUE(ends);
}

class NameEditorTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    editor.RussianCaption = "Name (russian)";
    editor.EnglishCaption = "Name (english)";
    editor.GermanCaption = "Name (deutsch)";
    editor.OkCaption = "Ok";
    editor.CancelCaption = "Break";
    editor.WindowCaption = "";
    editor.RussianName = Utf8ToAnsi("Маска 3", 1251);
    editor.EnglishName = "Mask 3";
    editor.GermanName = Utf8ToAnsi("Maske für 3", 1252);
  }

  BNameRED editor;
};

TEST_F(NameEditorTest, OkReturnsTheTypedNamesInEachEditsCodePage)
{
  QString shownRussian;
  QString shownGerman;
  InsideModalLoop([&] {
    shownRussian = Line(editor.RussianEdit)->text();
    shownGerman = Line(editor.GermanEdit)->text();
    // As typed by the user: what an edit's code page lacks comes back as "?".
    Line(editor.RussianEdit)->setText(QStringLiteral("Жёлтая ö"));
    Line(editor.EnglishEdit)->setText(QStringLiteral("Yellow Ж"));
    Line(editor.GermanEdit)->setText(QStringLiteral("Größe Ж"));
    PushButton(editor.OkButton)->click();
  });
  ASSERT_TRUE(editor.Execute());
  EXPECT_EQ(shownRussian, QStringLiteral("Маска 3"));
  EXPECT_EQ(shownGerman, QStringLiteral("Maske für 3"));
  EXPECT_EQ(editor.RussianName, "\xC6\xB8\xEB\xF2\xE0\xFF ?");
  EXPECT_EQ(editor.EnglishName, "Yellow \xC6");
  EXPECT_EQ(editor.GermanName, "Gr\xF6\xDF"
                               "e ?");
  EXPECT_EQ(editor.RussianEdit, nullptr);
}

TEST_F(NameEditorTest, CancelOrCloseLeavesTheNamesUnchanged)
{
  const AnsiString russian = editor.RussianName;
  const AnsiString german = editor.GermanName;
  const std::vector<std::function<void()>> leave = {
      [&] { PushButton(editor.CancelButton)->click(); },
      [&] { editor.OkButton->Parent()->Widget()->close(); },  // the close box
  };
  for (const auto& how : leave) {
    InsideModalLoop([&] {
      Line(editor.RussianEdit)->setText(QStringLiteral("changed"));
      Line(editor.EnglishEdit)->setText(QStringLiteral("changed"));
      Line(editor.GermanEdit)->setText(QStringLiteral("changed"));
      how();
    });
    EXPECT_FALSE(editor.Execute());
    EXPECT_EQ(editor.RussianName, russian);
    EXPECT_EQ(editor.EnglishName, "Mask 3");
    EXPECT_EQ(editor.GermanName, german);
  }
}

// Each row's edit right of its label, the rows and then the buttons below each other, all
// inside the window.
TEST_F(NameEditorTest, RowsAndButtonsAreLaidOutBelowEachOther)
{
  std::vector<std::string> failures;
  QPointer<QWidget> window;
  InsideModalLoop([&] {
    const TControl* column[] = {editor.RussianLabel, editor.EnglishLabel, editor.GermanLabel, editor.OkButton};
    const TEdit* edits[] = {editor.RussianEdit, editor.EnglishEdit, editor.GermanEdit};
    const TWinControl* form = editor.OkButton->Parent();
    for (int i = 0; i < 3; ++i) {
      if (edits[i]->Top() != column[i]->Top() || edits[i]->Left() <= column[i]->Left() + column[i]->Width())
        failures.push_back("row " + std::to_string(i));
      if (column[i + 1]->Top() <= column[i]->Top() + column[i]->Height())
        failures.push_back("below " + std::to_string(i));
      if (edits[i]->Left() + edits[i]->Width() > form->ClientWidth())
        failures.push_back("edit " + std::to_string(i) + " inside");
    }
    const TButton* ok = editor.OkButton;
    const TButton* cancel = editor.CancelButton;
    if (cancel->Top() != ok->Top() || cancel->Left() <= ok->Left() + ok->Width() ||
        cancel->Left() + cancel->Width() > form->ClientWidth() || ok->Top() + ok->Height() > form->ClientHeight())
      failures.push_back("buttons");
    if (ok->Caption() != "Ok" || cancel->Caption() != "Break")
      failures.push_back("captions");
    window = form->Widget();
    PushButton(editor.CancelButton)->click();
  });
  editor.Execute();
  EXPECT_EQ(failures, std::vector<std::string>());
  // Released: the window is freed by the message loop.
  QCoreApplication::processEvents();
  EXPECT_FALSE(window);
}

}  // namespace
