// Clearing the history, the old-log walk over scratch trees, and what a page change parses.
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <numeric>
#include <set>
#include <sys/resource.h>

#include "ComboBox.h"
#include "Edit.h"
#include "Memo.h"
#include "PageControl.h"
#include "Panel.h"
#include "RadioButton.h"
#include "support/DialogDriver.h"
#include "support/StartTestSupport.h"

namespace fs = std::filesystem;
namespace {
class History : public ProgramStart {
protected:
  // The tree's entries, sorted, then the text, its names relative; folders end in "/", links show targets.
  std::string Tree(std::string text = "")
  {
    std::set<std::string> names;
    for (auto it = fs::recursive_directory_iterator(root.Path()); it != fs::recursive_directory_iterator(); ++it)
      names.insert(it->path().string() + (it->is_symlink() ? ">" + fs::read_symlink(it->path()).string() : "") +
                   (it->is_directory() && !it->is_symlink() ? "/ " : " "));
    text = std::accumulate(names.begin(), names.end(), std::string()) + text;
    for (size_t at; (at = text.find(root / "")) != std::string::npos;)
      text.erase(at, root.Path().size() + 1);
    return text;
  }
  ScratchFolder root;
};

// "LOGS" in any case, the file's own folder only, ".txt" in any case, a chosen "LOGS" folder; no
// file replaced, no link followed (a loop, a link named "LOGS"); the log and its entry follow.
TEST_F(History, TheWalkRenamesTheTextFilesOfLogsFoldersOnly)
{
  for (const char* dir : {"a/LOGS/sub/LOGS", "a/logs", "b", "out/LOGS", "c/Logs"})
    fs::create_directories(root / dir);
  for (const char* file : {"a/LOGS/1.txt", "a/LOGS/2.TXT", "a/LOGS/sub/3.txt", "a/LOGS/sub/LOGS/4.txt",
                           "a/logs/5.txt", "a/logs/5.qel", "b/6.txt", "out/LOGS/7.txt", "c/Logs/8.txt"})
    root.Write(file, file);
  fs::create_directory_symlink(root / "b", root / "b/loop");
  fs::create_directory_symlink(root / "out/LOGS", root / "b/LOGS");
  BQELunit unit;
  unit.LogFileName = root / "a/LOGS/1.txt";
  unit.RecentCombo->Items()->SetText(root / "b/6.txt\n" + unit.LogFileName);
  for (const char* start : {"a", "c/Logs/", "b"})
    unit.RenameLogsInFolder(root / start, true);
  EXPECT_EQ(
      Tree(ScratchFolder::Read(root / "a/logs/5.qel") + unit.LogFileName + unit.RecentCombo->Items()->Text()),
      "a/ a/LOGS/ a/LOGS/1.qel a/LOGS/2.qel a/LOGS/sub/ a/LOGS/sub/3.txt a/LOGS/sub/LOGS/ a/LOGS/sub/LOGS/4.qel "
      "a/logs/ a/logs/5.qel a/logs/5.txt b/ b/6.txt b/LOGS>out/LOGS b/loop>b c/ c/Logs/ c/Logs/8.qel out/ "
      "out/LOGS/ out/LOGS/7.txt a/logs/5.qela/LOGS/1.qelb/6.txt\r\na/LOGS/1.qel\r\n");
}

// A LOGS folder deeper than the open-file limit is reached all the same.
TEST_F(History, TheWalkReachesLogsFoldersDeeperThanTheOpenFileLimit)
{
  std::string deep = "d";
  for (int level = 0; level < 80; ++level)
    deep += "/d";
  fs::create_directories(root / (deep + "/LOGS"));
  root.Write(deep + "/LOGS/old.txt", "x");
  BQELunit unit;
  rlimit before{};
  ::getrlimit(RLIMIT_NOFILE, &before);
  const int open =
      static_cast<int>(std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator()));
  rlimit tight = before;
  tight.rlim_cur = static_cast<rlim_t>(open + 40);
  ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &tight), 0);
  unit.RenameLogsInFolder(root / "d", true);
  ::setrlimit(RLIMIT_NOFILE, &before);
  EXPECT_TRUE(fs::exists(root / (deep + "/LOGS/old.qel")));
}

// Through the button and its dialogs, 104 folders, 103 logs in the last: the counters turn over; a close at
// the 102nd log is refused, breaks the walk off after it, closes once it is over; F-keys and later starts wait.
TEST_F(History, TheCountersTurnOverAndACloseBreaksTheWalkOffAfterTheChosenLog)
{
  std::string deep = "w";
  for (int i = 0; i < 102; ++i)
    deep += "/d";
  fs::create_directories(root / deep + "/LOGS");
  for (int i = 0; i < 103; ++i)
    root.Write(deep + "/LOGS/" + std::to_string(i) + ".txt", "");
  DialogDriver driver;
  driver.Then<QMessageBox>([](QMessageBox* box) { box->accept(); }).Then<QFileDialog>([&](QFileDialog* d) {
    d->findChild<QLineEdit*>("fileNameEdit")->setText(QString::fromStdString(root / "w"));
    static_cast<QDialog*>(d)->accept();
  });
  static std::string seen;
  static int looks = 0;
  BQELunit& unit = Start();
  unit.ProgressHook = [](BQELunit& u, int, int64_t folders, int64_t files) {
    seen += std::to_string(folders) + ":" + std::to_string(files) + " ";
    if (++looks == 104 + 102)
      seen += TQELMainForm::CanTakeCommandLine() || u.MainPanel->Enabled() ? "open " : "shut ", u.Owner->Close(),
          seen += gQELunit ? "kept " : "gone ";
  };
  unit.RenameLogsButtonClick(nullptr);
  EXPECT_EQ(seen.substr(0, 8) + seen.substr(seen.find("99:0"), 31) + seen.substr(seen.size() - 34) +
                std::to_string(std::ranges::count(Tree(), 'q')) + (driver.Done() ? "" : " dialogs left"),
            "1:0 2:0 99:0 100:0 0:0 1:0 2:0 3:0 3:1 3:98 3:99 3:100 3:0 3:1 shut kept 102");
  EXPECT_TRUE(RunLoopUntil([] { return gQELunit == nullptr; }));
}

// Clearing leaves nothing, in the saved settings too. A page change parses only after a time
// base edit; an opening takes such an edit into its one parse.
TEST_F(History, ClearingEmptiesAllAndOnlyATimeBaseEditParsesAgain)
{
  static int parses = 0;
  BQELunit unit;
  unit.ProgressHook = [](BQELunit&, int stage, int64_t, int64_t at) { parses += stage == 1 && at < 0; };
  unit.EditorRowsValid = 1;
  const std::string log = root.Write("a.qel", SmallLog());
  std::string states;
  const auto show = [&](TTabSheet* page) {
    unit.PageControl->SetActivePage(page), unit.PageControlChange(unit.PageControl);
    states += std::to_string(parses * 1000 + unit.ParamChartStyle * 100 + unit.ReadingSpeed) + " ";
  };
  unit.OpenLogFile(log);
  unit.ParamStyleRadio2->SetChecked(true), show(unit.ChartPage);
  unit.FramePeriodEdit->SetText("20"), show(unit.ChartPage);
  show(unit.TextPage), unit.FramePeriodEdit->SetText("30"), unit.OpenLogFile(log), show(unit.ChartPage);
  unit.ClearHistoryButtonClick(nullptr);
  ASSERT_TRUE(unit.SaveSettingsFile(root / "s.ini"));
  unit.RecentCombo->Items()->Add(log), unit.LoadSettingsFile(root / "s.ini");
  EXPECT_EQ(states + unit.LogFileName +
                std::to_string(unit.RecentCombo->Items()->Count() + unit.DataCells->Count()) +
                unit.TextMemo->Text(),
            "1045 2020 2020 3030 0");
}
}  // namespace
