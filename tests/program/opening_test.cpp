// Opening logs: command lines and hand-overs, the recent list, previous/next, the open dialog,
// the clipboard and the file type's picture.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QGuiApplication>
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
  // The log, and the marks of an opening: the top recent entry selected, the Chart page shown.
  std::string State()
  {
    const bool marks = unit.RecentCombo->ItemIndex() == 0 &&
                       unit.RecentCombo->Items()->Get(0) == unit.LogFileName &&
                       unit.PageControl->ActivePage() == unit.ChartPage;
    unit.PageControl->SetActivePage(unit.TextPage);
    return unit.LogFileName + (marks ? "" : " unmarked");
  }
  BQELunit unit;
};

// Names pass intact as a list; one whole line is split at blanks and quotes. A relative name is
// the working folder's file; a bare one found nowhere there, the program folder's.
TEST_F(Opening, CommandLinesAndHandOversOpenThroughTheOneOpening)
{
  const std::filesystem::path cwd = std::filesystem::current_path();
  std::filesystem::current_path(folder.Path());
  for (const char* name : {"we\"ird name.qel", "here.qel"})
    folder.Write(name, SmallLog());
  const std::string at = std::filesystem::current_path().string() + "/";
  const std::vector<AnsiString> lists[] = {{"/d/p", "we\"ird name.qel"},
                                           {"/d/p", " /x/a\"b.qel\n", "z"},
                                           {"/d/p", "missing.qel"},
                                           {"/d/p", "./sub/missing.qel"},
                                           {"/d/p"},
                                           {"/d/p", " "}};
  std::string seen;
  for (const auto& list : lists)
    unit.SplitCommandLine(list), seen += State() + "\n";
  for (const char* line : {"/d/p  here.qel", "\"/d d/p\" \"/l/a b.qel\" z", "\"/d d/p\" \"/l/c.qel"})
    unit.SplitCommandLine(AnsiString(line)), seen += State() + "\n";
  unit.OpenLogFile(" we\"ird name.qel\n");
  seen += State();
  std::filesystem::current_path(cwd);
  EXPECT_EQ(seen, at + "we\"ird name.qel\n/x/a\"b.qel\n/d/missing.qel\n" + at + "sub/missing.qel\n" + at +
                      "sub/missing.qel unmarked\n" + at + "sub/missing.qel unmarked\n" + at +
                      "here.qel\n/l/a b.qel\n" + "/l/a b.qel unmarked\n" + at + "we\"ird name.qel");

  std::vector<AnsiString> list{"/p", "",
                               "a\x01"
                               "3:b",
                               std::string(1000, '\xFF')},
      out;
  ASSERT_TRUE(UnpackArguments(PackArguments(list), out));
  EXPECT_EQ(out, list);
  for (const AnsiString text : {"/p x.qel",
                                "\x01"
                                "args\x01"
                                "3:ab",
                                "\x01"
                                "args\x01"
                                "-1:"})
    EXPECT_FALSE(UnpackArguments(text, out)) << text;
}

// One entry per folder: an entry that begins with the log's folder takes its name in place.
TEST_F(Opening, TheRecentListKeepsOneEntryPerFolderAndSurvivesARestart)
{
  for (int i = 1; i <= 13; ++i)
    unit.OpenLogFile("/r/f" + std::to_string(i) + "/a.qel");
  for (const char* log : {"/r/f5/b.qel", "/r/f7/old/x.qel", "/r/f7/c.qel", "/b/r/f9/x.qel", "/r/f9/y.qel"})
    unit.OpenLogFile(log);
  EXPECT_EQ(Recent(), "/r/f9/y.qel\r\n/b/r/f9/x.qel\r\n/r/f7/c.qel\r\n/r/f5/b.qel\r\n/r/f13/a.qel\r\n"
                      "/r/f12/a.qel\r\n/r/f11/a.qel\r\n/r/f10/a.qel\r\n/r/f8/a.qel\r\n/r/f7/a.qel\r\n"
                      "/r/f6/a.qel\r\n/r/f4/a.qel\r\n");
  unit.RecentCombo->Items()->SetText("/d/sub/x.qel\n/d/y.qel");
  unit.OpenLogFile("/d/y.qel");
  EXPECT_EQ(Recent(), "/d/y.qel\r\n");

  std::string fifteen;
  for (int i = 0; i < 15; ++i)
    fifteen += "/s" + std::to_string(i) + "/a.qel\r\n";
  BQELunit{}.RecentCombo->Items()->SetText(fifteen);  // saved at its end
  BQELunit restarted;
  EXPECT_EQ(restarted.RecentCombo->Items()->Text(), fifteen);
  restarted.OpenLogFile("/new/a.qel");
  EXPECT_EQ(restarted.RecentCombo->Items()->Count(), 12);
}

// A pick of the user's reparses, the top entry too, and shows the Chart page.
TEST_F(Opening, PickingARecentEntryReparsesIt)
{
  const std::string a = folder.Write("a.qel", SmallLog()), b = folder.Write("b.qel", "");
  unit.OpenLogFile(a);
  unit.RecentCombo->Items()->Add(b);
  folder.Write("a.qel", SmallLog() + SmallLog());
  auto* combo = static_cast<QComboBox*>(unit.RecentCombo->Widget());
  for (int pick : {0, 1}) {
    combo->setCurrentIndex(pick);
    emit combo->activated(pick);
    EXPECT_EQ(State() + " " + std::to_string(unit.DataCells->Count()), pick ? b + " 0" : a + " 6");
  }
  EXPECT_EQ(Recent(), b + "\r\n" + a + "\r\n");
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
  const auto steps = [&](const char* from, const std::string& keys) {
    unit.LogFileName = folder / from;
    std::string seen;
    for (char key : keys) {
      key == 'n' ? unit.NextButtonClick(nullptr) : unit.PrevButtonClick(nullptr);
      seen += ExtractFileName(unit.LogFileName) + " ";
    }
    return seen;
  };
  EXPECT_EQ(steps("4711.qel", "nnnnnnnp"),
            "471:1.Qel 471\\2.qel 471_old.qel 471file.qel 471*x.qel 4711.QEL 4711.qel 4711.QEL ");
  EXPECT_EQ(steps("4*1a.qel", "nnp") + steps("ab.qel", "np") + steps("gone.qel", "n") + steps("4711.txt", "p"),
            "4*1b.qel 4*1a.qel 4*1b.qel ab.qel ab.qel gone.qel 4711.txt ");
}

// The open dialog, also for previous without a log: the upper-case patterns, the selected
// entry as the first name; a cancel changes nothing.
TEST_F(Opening, TheOpenDialogStartsAtTheSelectedEntryAndACancelChangesNothing)
{
  const std::string log = folder.Write("x.qel", SmallLog());
  QStringList filters, selected;
  DialogDriver driver;
  driver.Then<QFileDialog>([&](QFileDialog* d) { filters = d->nameFilters(), d->reject(); })
      .Then<QFileDialog>([&](QFileDialog* d) { selected = d->selectedFiles(), d->reject(); })
      .Then<QFileDialog>([&](QFileDialog* d) {
        d->findChild<QLineEdit*>("fileNameEdit")->setText("x.qel"), static_cast<QDialog*>(d)->accept();
      });
  unit.PrevButtonClick(nullptr);
  EXPECT_EQ(filters.join("|"), "Text LOG-file *.qel;*.txt (*.qel *.txt *.QEL *.TXT)|All files *.* (*)");
  unit.RecentCombo->Items()->Add(folder / "y.qel");
  unit.RecentCombo->SetItemIndex(0);
  unit.OpenButtonClick(nullptr);
  EXPECT_EQ(selected, QStringList{QString::fromStdString(folder / "y.qel")});
  EXPECT_EQ(unit.LogFileName + Recent(), folder / "y.qel\r\n");
  unit.OpenButtonClick(nullptr);
  EXPECT_TRUE(driver.Done());
  EXPECT_EQ(State() + " " + std::to_string(unit.DataCells->Count()), log + " 3");
}

// What a user or a file manager copies; the hint follows the clipboard and the pointer.
TEST_F(Opening, PasteOpensTheFileTheClipboardNamesAndTheHintShowsItsText)
{
  const std::string log = folder.Write("p q.qel", SmallLog()), url = "file://" + folder / "p%20q.qel";
  const std::string texts[] = {std::string(400, 'x'), "", log + "\n", folder / "missing.qel", url, ""};
  std::string seen;
  for (size_t i = 0; i < std::size(texts); ++i) {
    auto* data = new QMimeData;
    if (i == 1)
      data->setUrls({QUrl("https://a.b/c.qel"), QUrl::fromLocalFile(QString::fromStdString(log))});
    else if (i < 5)
      data->setText(QString::fromStdString(texts[i]));
    QGuiApplication::clipboard()->setMimeData(data);
    unit.LogFileName = "";
    unit.PasteButtonClick(nullptr);
    seen += unit.PasteButton->Hint() + " -> " + unit.LogFileName + "\n";
  }
  const std::string in = "In clipboard:  [ ", absent = " ],   FILE NOT PRESENT!!! -> \n";
  EXPECT_EQ(seen, in + std::string(300, 'x') + absent + in + "https://a.b/c.qel\nfile://" + log + "\n ] -> " +
                      log + "\n" + in + log + "\n ] -> " + log + "\n" + in + folder / "missing.qel" + absent + in +
                      url + " ] -> " + log + "\n" + in + absent);
  unit.PasteButton->SetHint("");
  QEvent enter(QEvent::Enter);
  QCoreApplication::sendEvent(unit.PasteButton->Widget(), &enter);
  EXPECT_EQ(unit.PasteButton->Hint(), in + absent.substr(0, absent.size() - 5));
}

class StartedProgram : public ProgramStart {};

// The start registers the file type with a picture of its own; a later start's packed list
// reaches the opening whole.
TEST_F(StartedProgram, InstallsTheTypesPictureAndTakesAHandOverWhole)
{
  const std::string log = folder.Write("we\"ird name.qel", SmallLog());
  CommandLineScope commandLine({});
  BQELunit& started = Start();
  const ResourceEntry* icon = FindResource("qelicon", "RT_RCDATA");
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(ScratchFolder::Read(desktop.Data() + "/icons/hicolor/scalable/mimetypes/application-x-qelext.svg"),
            std::string(reinterpret_cast<const char*>(icon->Data), icon->Size));
  Ticks(started, 11);
  form->WMCopyData(PackArguments({"/opt/dravolin", log}));
  EXPECT_EQ(started.LogFileName + " " + std::to_string(started.DataCells->Count()), log + " 3");
}

}  // namespace
