#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>

#include "Dialogs.h"
#include "FileCtrl.h"
#include "TextBoundary.h"
#include "support/DialogDriver.h"
#include "support/GuiTest.h"

namespace {

const AnsiString kOpenFilter = "Text LOG-file *.qel;*.txt|*.qel;*.txt|All files *.*|*.*";

class DialogsTest : public GuiTest {
protected:
  void SetUp() override
  {
    GuiTest::SetUp();
    ASSERT_TRUE(temp.isValid());
    savedCodePage = DisplayCodePage();
    SetDisplayCodePage(1251);
    base = QStringToFileName(temp.path());
  }

  void TearDown() override
  {
    SetDisplayCodePage(savedCodePage);
    GuiTest::TearDown();
  }

  // A path under the test folder; name is UTF-8, as the file system keeps it.
  AnsiString PathOf(const char* name) const { return base + "/" + name; }

  static void Touch(const AnsiString& path)
  {
    QFile file(FileNameToQString(path));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  }

  // As the dialog's OK button does (QFileDialog makes accept() protected).
  static void Accept(QDialog* dialog) { dialog->accept(); }

  // Types into the name field, as a user does (selectFile leaves a focused field alone).
  static void Type(QFileDialog* dialog, const QString& text)
  {
    if (auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
      edit->setText(text);
  }

  static QString NameEdit(QFileDialog* dialog)
  {
    const auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    return edit ? edit->text() : QStringLiteral("<no edit>");
  }

  QTemporaryDir temp;
  AnsiString base;
  int savedCodePage = 1251;
};

TEST(FileDialogFilter, PairsBecomeQtNameFilters)
{
  EXPECT_EQ(FilterToNameFilters(kOpenFilter),
            (QStringList{QStringLiteral("Text LOG-file *.qel;*.txt (*.qel *.txt)"),
                         QStringLiteral("All files *.* (*)")}));
  EXPECT_EQ(FilterToNameFilters("Image file *.jpg|*.jpg"),
            QStringList{QStringLiteral("Image file *.jpg (*.jpg)")});
  // Blanks around patterns and empty patterns drop out; a description without patterns at
  // the end is left out; a pair without any pattern matches everything.
  EXPECT_EQ(FilterToNameFilters("Logs| *.qel ;; *.TXT |Orphan"),
            QStringList{QStringLiteral("Logs (*.qel *.TXT)")});
  EXPECT_EQ(FilterToNameFilters("Nothing|"), QStringList{QStringLiteral("Nothing (*)")});
  EXPECT_TRUE(FilterToNameFilters("").isEmpty());

  const int saved = DisplayCodePage();
  SetDisplayCodePage(1251);
  EXPECT_EQ(FilterToNameFilters("\xD2\xE5\xEA\xF1\xF2 *.txt|*.txt"),
            QStringList{QString::fromUtf8("Текст *.txt (*.txt)")});
  SetDisplayCodePage(saved);
}

TEST_F(DialogsTest, OpenDialogStartsInTheNamesFolderAndReturnsTheFileSystemsBytes)
{
  const AnsiString folder = PathOf("Ordner \xC3\x9C");
  ASSERT_TRUE(QDir().mkpath(FileNameToQString(folder)));
  // Greek and Japanese are in neither code page: the name must not pass through one.
  const AnsiString chosen =
      folder + "/\xCE\xA9mega \xE6\x97\xA5\xE6\x9C\xAC \xD0\x9E\xD1\x82\xD1\x87\xD1\x91\xD1\x82.qel";
  Touch(chosen);
  Touch(folder + "/start.qel");

  auto* dialog = new TOpenDialog(Application);
  dialog->SetOptions({ofFileMustExist});
  dialog->SetFilter(kOpenFilter);
  dialog->SetFilterIndex(2);
  dialog->SetFileName(folder + "/start.qel");

  bool deferredRan = false;
  Application->Defer([&] { deferredRan = true; });
  int depthInside = -1;
  bool deferredRanInside = true;
  DialogDriver driver;
  driver.Then<QFileDialog>([&](QFileDialog* d) {
    depthInside = Application->ModalDepth();
    deferredRanInside = deferredRan;
    EXPECT_EQ(d->acceptMode(), QFileDialog::AcceptOpen);
    EXPECT_EQ(d->fileMode(), QFileDialog::ExistingFile);
    EXPECT_EQ(d->nameFilters(), FilterToNameFilters(kOpenFilter));
    // The list shows the descriptions alone, exactly as the program words them.
    EXPECT_EQ(d->selectedNameFilter(), QStringLiteral("All files *.*"));
    EXPECT_EQ(d->directory().absolutePath(), FileNameToQString(folder));
    EXPECT_EQ(NameEdit(d), QStringLiteral("start.qel"));
    Type(d, FileNameToQString(chosen));
    Accept(d);
  });
  ASSERT_TRUE(dialog->Execute());
  EXPECT_TRUE(driver.Done());
  EXPECT_EQ(dialog->FileName(), chosen);
  // The dialog counts as a modal loop: deferred work waits until it has closed.
  EXPECT_EQ(depthInside, 1);
  EXPECT_FALSE(deferredRanInside);
  EXPECT_TRUE(RunLoopUntil([&] { return deferredRan; }));
  delete dialog;
}

TEST_F(DialogsTest, OpenDialogRefusesAMissingFileAndCancelKeepsTheName)
{
  const AnsiString initial = PathOf("present.qel");
  Touch(initial);
  auto* dialog = new TOpenDialog(Application);
  dialog->SetOptions({ofFileMustExist});
  dialog->SetFileName(initial);

  bool warned = false;
  bool stillOpen = false;
  DialogDriver driver;
  driver
      .Then<QFileDialog>([&](QFileDialog* d) {
        Type(d, FileNameToQString(PathOf("missing.qel")));
        Accept(d);
      })
      .Then<QMessageBox>([&](QMessageBox* box) {
        warned = true;
        box->accept();
      })
      .Then<QFileDialog>([&](QFileDialog* d) {
        stillOpen = d->isVisible();
        d->reject();
      });
  EXPECT_FALSE(dialog->Execute());
  EXPECT_TRUE(driver.Done());
  EXPECT_TRUE(warned);
  EXPECT_TRUE(stillOpen);
  EXPECT_EQ(dialog->FileName(), initial);
  delete dialog;
}

TEST_F(DialogsTest, WithoutFileMustExistAnyNameIsTaken)
{
  auto* dialog = new TOpenDialog(Application);
  dialog->SetFileName(PathOf("x.qel"));
  DialogDriver driver;
  driver.Then<QFileDialog>([&](QFileDialog* d) {
    EXPECT_EQ(d->fileMode(), QFileDialog::AnyFile);
    Type(d, FileNameToQString(PathOf("not yet there.qel")));
    Accept(d);
  });
  EXPECT_TRUE(dialog->Execute());
  EXPECT_TRUE(driver.Done());
  EXPECT_EQ(dialog->FileName(), PathOf("not yet there.qel"));
  delete dialog;
}

TEST_F(DialogsTest, SaveDialogAsksBeforeReplacingAnExistingFile)
{
  const AnsiString existing = PathOf("analysis log.qel .txt");
  Touch(existing);
  auto* dialog = new TSaveDialog(Application);
  dialog->SetOptions({ofOverwritePrompt});
  dialog->SetFilter("Text file *.txt|*.txt");
  dialog->SetFilterIndex(1);
  dialog->SetFileName(existing);

  int questions = 0;
  DialogDriver driver;
  const auto confirm = [&](QFileDialog* d) {
    EXPECT_EQ(d->acceptMode(), QFileDialog::AcceptSave);
    EXPECT_FALSE(d->testOption(QFileDialog::DontConfirmOverwrite));
    EXPECT_EQ(NameEdit(d), QStringLiteral("analysis log.qel .txt"));
    Accept(d);
  };
  driver.Then<QFileDialog>(confirm)
      .Then<QMessageBox>([&](QMessageBox* box) {
        ++questions;
        box->button(QMessageBox::No)->click();  // back to the dialog
      })
      .Then<QFileDialog>(confirm)
      .Then<QMessageBox>([&](QMessageBox* box) {
        ++questions;
        box->button(QMessageBox::Yes)->click();
      });
  ASSERT_TRUE(dialog->Execute());
  EXPECT_TRUE(driver.Done());
  EXPECT_EQ(questions, 2);
  EXPECT_EQ(dialog->FileName(), existing);
  delete dialog;
}

TEST_F(DialogsTest, SaveDialogWithoutThePromptReplacesSilentlyAndAddsNoExtension)
{
  const AnsiString existing = PathOf("dravolin.jpg");
  Touch(existing);
  auto* dialog = new TSaveDialog(Application);
  dialog->SetFilter("Image file *.jpg|*.jpg");
  dialog->SetFileName(existing);
  DialogDriver driver;
  driver.Then<QFileDialog>([&](QFileDialog* d) {
    EXPECT_TRUE(d->testOption(QFileDialog::DontConfirmOverwrite));
    Accept(d);
  });
  ASSERT_TRUE(dialog->Execute());
  EXPECT_TRUE(driver.Done());
  EXPECT_EQ(dialog->FileName(), existing);

  DialogDriver second;
  second.Then<QFileDialog>([&](QFileDialog* d) {
    Type(d, QStringLiteral("picture"));
    Accept(d);
  });
  ASSERT_TRUE(dialog->Execute());
  EXPECT_TRUE(second.Done());
  EXPECT_EQ(dialog->FileName(), PathOf("picture"));
  delete dialog;
}

TEST_F(DialogsTest, SelectDirectoryCreatesATypedFolderAfterAsking)
{
  AnsiString folder = base;
  int depthInside = -1;
  DialogDriver driver;
  driver
      .Then<QFileDialog>([&](QFileDialog* d) {
        depthInside = Application->ModalDepth();
        EXPECT_EQ(d->fileMode(), QFileDialog::Directory);
        EXPECT_FALSE(d->testOption(QFileDialog::ReadOnly));  // the dialog can make folders
        EXPECT_EQ(d->directory().absolutePath(), temp.path());
        Type(d, QStringLiteral("new logs"));
        Accept(d);
      })
      .Then<QMessageBox>([&](QMessageBox* box) { box->button(QMessageBox::Yes)->click(); });
  ASSERT_TRUE(SelectDirectory(folder, {sdAllowCreate, sdPerformCreate, sdPrompt}, 0));
  EXPECT_TRUE(driver.Done());
  EXPECT_EQ(depthInside, 1);
  EXPECT_EQ(folder, PathOf("new logs"));
  EXPECT_TRUE(QFileInfo(FileNameToQString(folder)).isDir());
}

TEST_F(DialogsTest, SelectDirectoryDeclinedOrCancelledChangesNothing)
{
  AnsiString folder = base;
  DialogDriver driver;
  driver
      .Then<QFileDialog>([&](QFileDialog* d) {
        Type(d, QStringLiteral("unwanted"));
        Accept(d);
      })
      .Then<QMessageBox>([&](QMessageBox* box) { box->button(QMessageBox::No)->click(); })
      .Then<QFileDialog>([&](QFileDialog* d) { d->reject(); });
  EXPECT_FALSE(SelectDirectory(folder, {sdAllowCreate, sdPerformCreate, sdPrompt}, 0));
  EXPECT_TRUE(driver.Done());
  EXPECT_EQ(folder, base);
  EXPECT_FALSE(QFileInfo::exists(FileNameToQString(PathOf("unwanted"))));

  DialogDriver readOnly;
  readOnly.Then<QFileDialog>([&](QFileDialog* d) {
    EXPECT_TRUE(d->testOption(QFileDialog::ReadOnly));
    d->reject();
  });
  EXPECT_FALSE(SelectDirectory(folder, {}, 0));
  EXPECT_TRUE(readOnly.Done());
  EXPECT_EQ(folder, base);
}

TEST_F(DialogsTest, InputQueryTakesTypedTextInTheCodePageAndCancelKeepsTheValue)
{
  AnsiString value = "old";
  const AnsiString caption = "\xD1\xF2\xE0\xF2\xF3\xF1";  // "Статус" in 1251
  DialogDriver driver;
  driver.Then<QInputDialog>([&](QInputDialog* d) {
    EXPECT_EQ(Application->ModalDepth(), 1);
    EXPECT_EQ(d->windowTitle(), QString::fromUtf8("Статус"));
    EXPECT_EQ(d->textValue(), QStringLiteral("old"));
    const auto* prompt = d->findChild<QLabel*>();
    ASSERT_NE(prompt, nullptr);
    EXPECT_EQ(prompt->text(), QStringLiteral("<b>Name</b>"));
    EXPECT_EQ(prompt->textFormat(), Qt::PlainText);
    d->setTextValue(QString::fromUtf8("Новый Ω"));  // Ω is not in 1251
    Accept(d);
  });
  ASSERT_TRUE(InputQuery(caption, "<b>Name</b>", value));
  EXPECT_TRUE(driver.Done());
  EXPECT_EQ(value, "\xCD\xEE\xE2\xFB\xE9 ?");

  DialogDriver cancel;
  cancel.Then<QInputDialog>([&](QInputDialog* d) {
    d->setTextValue(QStringLiteral("typed"));
    d->reject();
  });
  EXPECT_FALSE(InputQuery(caption, "Name", value));
  EXPECT_TRUE(cancel.Done());
  EXPECT_EQ(value, "\xCD\xEE\xE2\xFB\xE9 ?");
}

TEST_F(DialogsTest, ShowMessageHasOneButtonPlainTextAndTheApplicationTitle)
{
  const AnsiString savedTitle = Application->Title();
  Application->SetTitle("Dravolin   v.2016-11-09");
  QString title, text;
  Qt::TextFormat format = Qt::AutoText;
  qsizetype buttons = 0;
  int depthInside = -1;
  DialogDriver driver;
  driver.Then<QMessageBox>([&](QMessageBox* box) {
    title = box->windowTitle();
    text = box->text();
    format = box->textFormat();
    buttons = box->buttons().size();
    depthInside = Application->ModalDepth();
    box->button(QMessageBox::Ok)->click();
  });
  ShowMessage("<i>Select</i> \xCF\xE0\xEF\xEA\xE0");  // "Папка" in 1251
  Application->SetTitle(savedTitle);
  EXPECT_TRUE(driver.Done());
  EXPECT_EQ(title, QStringLiteral("Dravolin   v.2016-11-09"));
  EXPECT_EQ(text, QString::fromUtf8("<i>Select</i> Папка"));
  EXPECT_EQ(format, Qt::PlainText);
  EXPECT_EQ(buttons, 1);
  EXPECT_EQ(depthInside, 1);
}

}  // namespace
