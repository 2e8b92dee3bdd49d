// Opening logs: command lines, hand-overs, recent list, previous/next, open dialog, clipboard.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QGuiApplication>
#include <QImage>
#include <QLineEdit>
#include <QMimeData>

#include "Buttons.h"
#include "ComboBox.h"
#include "PageControl.h"
#include "Paths.h"
#include "Resources.h"
#include "support/DialogDriver.h"
#include "support/StartTestSupport.h"

namespace {
class Opening : public ProgramStart {
protected:
  Opening() { unit.Language = 1; }
  AnsiString Recent() { return unit.RecentCombo->Items()->Text(); }
  // The log and its records; "unmarked" unless an opening's marks are there (top entry, Chart).
  std::string State()
  {
    const bool marks = unit.RecentCombo->ItemIndex() == 0 &&
                       unit.RecentCombo->Items()->Get(0) == unit.LogFileName &&
                       unit.PageControl->ActivePage() == unit.ChartPage;
    unit.PageControl->SetActivePage(unit.TextPage);
    return unit.LogFileName + " " + std::to_string(unit.DataCells->Count()) + (marks ? "\n" : " unmarked\n");
  }
  BQELunit unit;
};
// Names pass intact as a list; one whole line is split at blanks and quotes. A relative name is
// the working folder's file; a bare one found nowhere there, the program folder's.
TEST_F(Opening, CommandLinesAndHandOversOpenThroughTheOneOpening)
{
  const std::filesystem::path cwd = std::filesystem::current_path();
  std::filesystem::current_path(folder.Path());
  folder.Write("we\"ird name.qel", SmallLog());
  const std::string at = std::filesystem::current_path().string() + "/", log = at + "we\"ird name.qel";
  std::string seen;
  // A row with '|' is a list, its parts split there; any other is one whole line, whose
  // unquoted name ends at the first blank after it.
  // An argument names a file exactly: blanks and line breaks are part of it.
  for (const std::string row :
       {"/d/p|we\"ird name.qel", "/d/p|/x/a\"b.qel|z", "/d/p|missing.qel", "/d/p|./sub/missing.qel",
        "/d/p|we\"ird name.qel ", "/d/p  sub/x.qel more", "\"/d d/p\" \"/l/c.qel", "/d/p|"}) {
    std::vector<AnsiString> list;
    for (const QString& part : QString::fromStdString(row).split('|'))
      list.push_back(part.toStdString());
    list.size() == 1 ? unit.SplitCommandLine(row) : unit.SplitCommandLine(list);
    seen += State();
  }
  unit.OpenLogFile("we\"ird name.qel\n");
  seen += State();
  unit.OpenLogFile("../" + std::filesystem::path(folder.Path()).filename().string() + "/./we\"ird name.qel");
  std::filesystem::current_path(cwd);
  EXPECT_EQ(seen + State(), log + " 3\n/x/a\"b.qel 0\n/d/missing.qel 0\n" + at + "sub/missing.qel 0\n" +
                                "/d/we\"ird name.qel  0\n" + at + "sub/x.qel 0\n" + at + "sub/x.qel 0 unmarked\n" +
                                at + "sub/x.qel 0 unmarked\n" + log + "\n 0\n" + log + " 3\n");
}
// One entry per folder: an entry that begins with the log's folder takes its name in place; a
// pick of the user's reparses, the top entry too.
TEST_F(Opening, TheRecentListKeepsOneEntryPerFolderAndAPickReparses)
{
  for (int i = 0; i < 15; ++i)  // as settings may bring them: the first insertion cuts them to 12
    unit.RecentCombo->Items()->Add("/s" + std::to_string(i) + "/a.qel");
  for (int i = 1; i <= 13; ++i)
    unit.OpenLogFile("/r/f" + std::to_string(i) + "/a.qel");
  for (const char* log : {"/r/f5/b.qel", "/r/f7/old/x.qel", "/r/f7/c.qel", "/b/r/f9/x.qel", "/r/f9/y.qel"})
    unit.OpenLogFile(log);
  EXPECT_EQ(Recent(), "/r/f9/y.qel\r\n/b/r/f9/x.qel\r\n/r/f7/c.qel\r\n/r/f5/b.qel\r\n/r/f13/a.qel\r\n"
                      "/r/f12/a.qel\r\n/r/f11/a.qel\r\n/r/f10/a.qel\r\n/r/f8/a.qel\r\n/r/f7/a.qel\r\n"
                      "/r/f6/a.qel\r\n/r/f4/a.qel\r\n");
  const std::string a = folder.Write("a.qel", SmallLog() + SmallLog()), b = folder.Write("b.qel", "");
  unit.RecentCombo->Items()->SetText(a + "\n" + folder / "sub/x.qel\n" + b);
  auto* combo = static_cast<QComboBox*>(unit.RecentCombo->Widget());
  std::string seen;
  for (int pick : {0, 2}) {
    combo->setCurrentIndex(pick);
    emit combo->activated(pick);
    seen += State();
  }
  unit.OpenLogFile(a);
  EXPECT_EQ(seen + Recent(), a + " 6\n" + b + " 0\n" + a + "\r\n" + folder / "sub/x.qel\r\n");
}
// Same folder, first three bytes and extension, ASCII case ignored, byte by byte; wrap-around.
TEST_F(Opening, PreviousAndNextStepThroughTheLogsOfTheSameFolderPrefixAndExtension)
{
  for (const char* name : {"4711.qel", "471_old.qel", "4711.txt", "472.qel", "4711.QEL", "471*x.qel", "471:1.Qel",
                           "471\\2.qel", "4*1a.qel", "4*1b.qel", "4x1c.qel", "ab.qel"})
    folder.Write(name, "");
  std::filesystem::create_directory(folder / "471dir.qel");
  std::filesystem::create_directory_symlink(folder / "471dir.qel", folder / "471link.qel");
  std::filesystem::create_symlink(folder / "4711.txt", folder / "471file.qel");
  std::string seen;
  // From each log, its keys: n next, p previous.
  const char* const runs[] = {"4711.qel", "nnnnnnnp", "4*1a.qel", "nnp",      "ab.qel",
                              "np",       "gone.qel", "n",        "4711.txt", "p"};
  for (size_t run = 0; run < std::size(runs); run += 2) {
    unit.LogFileName = folder / runs[run];
    for (const char* key = runs[run + 1]; *key; ++key) {
      *key == 'n' ? unit.NextButtonClick(nullptr) : unit.PrevButtonClick(nullptr);
      seen += ExtractFileName(unit.LogFileName) + " ";
    }
  }
  EXPECT_EQ(seen, "471:1.Qel 471\\2.qel 471_old.qel 471file.qel 471*x.qel 4711.QEL 4711.qel 4711.QEL "
                  "4*1b.qel 4*1a.qel 4*1b.qel ab.qel ab.qel gone.qel 4711.txt ");
}
// The open dialog, also for previous without a log: the upper-case patterns, the selected
// entry as the first name; a cancel changes nothing.
TEST_F(Opening, TheOpenDialogStartsAtTheSelectedEntryAndACancelChangesNothing)
{
  const std::string log = folder.Write("x.qel", SmallLog());
  QStringList filters, selected;
  DialogDriver driver;
  driver.Then<QFileDialog>([&](QFileDialog* d) { d->reject(); })
      .Then<QFileDialog>(
          [&](QFileDialog* d) { filters = d->nameFilters(), selected = d->selectedFiles(), d->reject(); })
      .Then<QFileDialog>([&](QFileDialog* d) {
        d->findChild<QLineEdit*>("fileNameEdit")->setText("x.qel"), static_cast<QDialog*>(d)->accept();
      });
  unit.PrevButtonClick(nullptr);
  unit.OpenLogFile(folder / "y.qel");
  unit.OpenButtonClick(nullptr);
  EXPECT_EQ((filters.join("|") + "|" + selected.join("|") + "|").toStdString() + unit.LogFileName,
            "Text LOG-file *.qel;*.txt (*.qel *.txt *.QEL *.TXT)|All files *.* (*)|" + folder / "y.qel|" +
                folder / "y.qel");
  unit.OpenButtonClick(nullptr);
  EXPECT_TRUE(driver.Done());
  EXPECT_EQ(State() + Recent(), log + " 3\n" + log + "\r\n");
}
// What a user or a file manager copies; the hint follows the clipboard and the pointer.
TEST_F(Opening, PasteOpensTheFileTheClipboardNamesAndTheHintShowsItsText)
{
  const std::string log = folder.Write("p q.qel", SmallLog()), url = "file://" + folder / "p%20q.qel";
  std::string seen;
  for (const std::string& text : {std::string(400, 'x'), std::string(), log + "\n", folder / "none.qel", url}) {
    auto* data = new QMimeData;
    text.empty() ? data->setUrls({QUrl("https://a.b/c.qel"), QUrl::fromLocalFile(QString::fromStdString(log))})
                 : data->setText(QString::fromStdString(text));
    QGuiApplication::clipboard()->setMimeData(data);
    unit.LogFileName = "";
    unit.PasteButtonClick(nullptr);
    seen += unit.PasteButton->Hint() + " -> " + unit.LogFileName + "\n";
  }
  const std::string in = "In clipboard:  [ ", absent = " ],   FILE NOT PRESENT!!!";
  EXPECT_EQ(seen, in + std::string(300, 'x') + absent + " -> \n" + in + "https://a.b/c.qel\nfile://" + log +
                      "\n ] -> " + log + "\n" + in + log + "\n ] -> " + log + "\n" + in + folder / "none.qel" +
                      absent + " -> \n" + in + url + " ] -> " + log + "\n");
  QGuiApplication::clipboard()->setImage(QImage(2, 2, QImage::Format_RGB32));
  unit.PasteButton->SetHint("");
  QEvent enter(QEvent::Enter);
  QCoreApplication::sendEvent(unit.PasteButton->Widget(), &enter);
  EXPECT_EQ(unit.PasteButton->Hint(), in + absent);
}
// The start installs the file type's picture; a later start's packed list arrives whole.
TEST_F(ProgramStart, TheStartInstallsTheTypesPictureAndTakesAHandOverWhole)
{
  const std::string log = folder.Write("we\"ird name.qel", SmallLog());
  CommandLineScope commandLine({});
  BQELunit& started = Start();
  const ResourceEntry* icon = FindResource("qelicon", "RT_RCDATA");
  EXPECT_EQ(ScratchFolder::Read(desktop.Data() + "/icons/hicolor/scalable/mimetypes/application-x-qelext.svg"),
            icon ? std::string(reinterpret_cast<const char*>(icon->Data), icon->Size) : "no picture");
  Ticks(started, 11);
  form->WMCopyData(PackArguments({"/opt/dravolin", log}));
  EXPECT_EQ(started.LogFileName + " " + std::to_string(started.DataCells->Count()), log + " 3");
}
}  // namespace
