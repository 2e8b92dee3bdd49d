// The file, folder, input and message dialogs, answered as a user would.
#include "support/ControlTest.h"
#include "support/ScratchFolder.h"

namespace {

const AnsiString OpenFilter = "Text LOG-file *.qel;*.txt|*.qel;*.txt|All files *.*|*.*";

TEST(FileDialogFilter, PairsBecomeQtNameFilters)
{
  const std::pair<AnsiString, QStringList> rows[] = {
      {OpenFilter, {"Text LOG-file *.qel;*.txt (*.qel *.txt)", "All files *.* (*)"}},
      // Blanks around patterns and empty patterns drop out; a description without patterns at
      // the end is left out; a pair without any pattern matches everything.
      {"Logs| *.qel ;; *.TXT |Orphan", {"Logs (*.qel *.TXT)"}},
      {"Nothing|", {"Nothing (*)"}},
      {"", {}},
      {"\xD2\xE5\xEA\xF1\xF2 *.txt|*.txt", {QString::fromUtf8("Текст *.txt (*.txt)")}},  // 1251
  };
  const DisplayCodePageScope codePage(1251);
  for (const auto& [filter, expected] : rows)
    EXPECT_EQ(FilterToNameFilters(filter), expected) << filter;
}

class DialogsTest : public GuiTest {
protected:
  // A path in the test folder; name is UTF-8, as the file system keeps it. Touched, it exists.
  AnsiString PathOf(const std::string& name, bool touch = false) const
  {
    return touch ? folder.Write(name, "") : folder / name;
  }
  static QString Q(const AnsiString& path) { return FileNameToQString(path); }

  // Types into the name field and presses OK, as a user does (QFileDialog makes accept()
  // protected; selectFile leaves a focused field alone).
  static void TypeAndAccept(QFileDialog* dialog, const QString& text)
  {
    if (!text.isNull())
      dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(text);
    static_cast<QDialog*>(dialog)->accept();
  }
  static QString NameEdit(QFileDialog* d)
  {
    return d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->text();
  }
  static void Press(QMessageBox* box, QMessageBox::StandardButton button) { box->button(button)->click(); }

  ScratchFolder folder;
  DisplayCodePageScope codePage{1251};
};

TEST_F(DialogsTest, OpenDialogStartsInTheNamesFolderAndReturnsTheFileSystemsBytes)
{
  const AnsiString sub = PathOf("Ordner \xC3\x9C");
  ASSERT_TRUE(QDir().mkpath(Q(sub)));
  // Greek and Japanese are in neither code page: the name must not pass through one.
  const AnsiString chosen =
      PathOf("Ordner \xC3\x9C/\xCE\xA9mega \xE6\x97\xA5\xE6\x9C\xAC \xD0\x9E\xD1\x82.qel", true);
  TOpenDialog dialog(nullptr);
  dialog.SetOptions({ofFileMustExist});
  dialog.SetFilter(OpenFilter);
  dialog.SetFilterIndex(2);
  dialog.SetFileName(PathOf("Ordner \xC3\x9C/start.qel", true));

  bool deferredRan = false;
  Application->Defer([&] { deferredRan = true; });
  DialogDriver driver;
  driver.Then<QFileDialog>([&](QFileDialog* d) {
    // The dialog is a modal loop: deferred work waits until it has closed.
    EXPECT_EQ(Application->ModalDepth(), 1);
    EXPECT_FALSE(deferredRan);
    EXPECT_EQ(d->fileMode(), QFileDialog::ExistingFile);
    EXPECT_EQ(d->nameFilters(), FilterToNameFilters(OpenFilter));
    EXPECT_EQ(d->selectedNameFilter(), QStringLiteral("All files *.*"));  // the description alone
    EXPECT_EQ(d->directory().absolutePath(), Q(sub));
    EXPECT_EQ(NameEdit(d), QStringLiteral("start.qel"));
    TypeAndAccept(d, Q(chosen));
  });
  driver.Then<QFileDialog>([](QFileDialog* d) { d->reject(); });  // cancelled: the name stays
  ASSERT_TRUE(dialog.Execute());
  EXPECT_EQ(dialog.FileName(), chosen);
  EXPECT_FALSE(dialog.Execute());
  EXPECT_TRUE(driver.Done());
  EXPECT_EQ(dialog.FileName(), chosen);
  EXPECT_TRUE(RunLoopUntil([&] { return deferredRan; }));
}

TEST_F(DialogsTest, SaveDialogAsksBeforeReplacingOnlyWithThePromptAndSelectDirectoryCreatesAfterAYes)
{
  const AnsiString existing = PathOf("analysis log.qel .txt", true);
  TSaveDialog dialog(nullptr);
  dialog.SetFileName(existing);
  int questions = 0;
  const auto accept = [](QFileDialog* d) { TypeAndAccept(d, QString()); };
  const auto answer = [&](QMessageBox::StandardButton button) {
    return [&questions, button](QMessageBox* box) {
      ++questions;
      Press(box, button);
    };
  };
  DialogDriver driver;
  driver
      .Then<QFileDialog>(accept)  // without the prompt: replaced silently
      .Then<QFileDialog>([](QFileDialog* d) {
        EXPECT_EQ(d->acceptMode(), QFileDialog::AcceptSave);
        EXPECT_EQ(NameEdit(d), QStringLiteral("analysis log.qel .txt"));
        TypeAndAccept(d, QString());
      })
      .Then<QMessageBox>(answer(QMessageBox::No))  // back to the dialog
      .Then<QFileDialog>(accept)
      .Then<QMessageBox>(answer(QMessageBox::Yes));
  ASSERT_TRUE(dialog.Execute());
  EXPECT_EQ(questions, 0);
  dialog.SetOptions({ofOverwritePrompt});
  ASSERT_TRUE(dialog.Execute());
  EXPECT_TRUE(driver.Done());
  EXPECT_EQ(questions, 2);
  EXPECT_EQ(dialog.FileName(), existing);

  // A typed folder is made only after a yes; a no goes back to the dialog.
  AnsiString chosen = folder.Path();
  const auto type = [](const char* name) {
    return [name](QFileDialog* d) {
      EXPECT_EQ(Application->ModalDepth(), 1);
      EXPECT_EQ(d->fileMode(), QFileDialog::Directory);
      TypeAndAccept(d, QString::fromLatin1(name));
    };
  };
  DialogDriver folders;
  folders.Then<QFileDialog>(type("unwanted"))
      .Then<QMessageBox>(answer(QMessageBox::No))
      .Then<QFileDialog>([](QFileDialog* d) { d->reject(); })
      .Then<QFileDialog>(type("new logs"))
      .Then<QMessageBox>(answer(QMessageBox::Yes));
  EXPECT_FALSE(SelectDirectory(chosen, {sdAllowCreate, sdPerformCreate, sdPrompt}, 0));
  EXPECT_EQ(chosen, folder.Path());
  ASSERT_TRUE(SelectDirectory(chosen, {sdAllowCreate, sdPerformCreate, sdPrompt}, 0));
  EXPECT_TRUE(folders.Done());
  EXPECT_EQ(chosen, PathOf("new logs"));
  EXPECT_TRUE(QFileInfo(Q(chosen)).isDir());
  EXPECT_FALSE(QFileInfo::exists(Q(PathOf("unwanted"))));
}

TEST_F(DialogsTest, InputQueryMessagesAndUnhandledErrorsArePlainTextInTheCodePage)
{
  AnsiString value = "old";
  const AnsiString caption = "\xD1\xF2\xE0\xF2\xF3\xF1";  // "Статус" in 1251
  const AnsiString savedTitle = Application->Title();
  Application->SetTitle("Dravolin   v.2016-11-09");
  QStringList shown;
  const auto read = [&](QMessageBox* box) {
    shown << box->windowTitle() + "|" + box->text() + "|" + QString::number(box->buttons().size()) +
                 (box->textFormat() == Qt::PlainText ? "|plain|" : "|rich|") +
                 QString::number(Application->ModalDepth());
    Press(box, QMessageBox::Ok);
  };
  DialogDriver driver;
  driver
      .Then<QInputDialog>([&](QInputDialog* d) {
        EXPECT_EQ(d->windowTitle(), QString::fromUtf8("Статус"));
        EXPECT_EQ(d->textValue(), QStringLiteral("old"));
        EXPECT_EQ(d->findChild<QLabel*>()->textFormat(), Qt::PlainText);
        d->setTextValue(QString::fromUtf8("Новый Ω"));  // Ω is not in 1251
        d->accept();
      })
      .Then<QInputDialog>([&](QInputDialog* d) {
        d->setTextValue(QStringLiteral("typed"));
        d->reject();
      })
      .Then<QMessageBox>(read)
      .Then<QMessageBox>(read);
  ASSERT_TRUE(InputQuery(caption, "<b>Name</b>", value));
  EXPECT_FALSE(InputQuery(caption, "Name", value));
  ShowMessage("<i>Select</i> \xCF\xE0\xEF\xEA\xE0");  // "Папка" in 1251
  Application->OnException = nullptr;                 // without a hook an error shows in a message box
  Guarded(nullptr, [] { throw EFOpenError("Cannot open file \"<b>x</b>\""); });
  Application->SetTitle(savedTitle);
  EXPECT_TRUE(driver.Done());
  EXPECT_EQ(value, "\xCD\xEE\xE2\xFB\xE9 ?");
  EXPECT_EQ(shown, QStringList({QString::fromUtf8("Dravolin   v.2016-11-09|<i>Select</i> Папка|1|plain|1"),
                                "Dravolin   v.2016-11-09|Cannot open file \"<b>x</b>\"|1|plain|1"}));
}

}  // namespace
