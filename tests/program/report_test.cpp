// The analysis report: its bytes for every kind of line, F10's dialog, name and opening, the
// failures that keep the old file, and the in-place formatter against the library routines.
#include <sys/resource.h>

#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include <csignal>
#include <filesystem>
#include <random>
#include <set>

#include "ActnList.h"
#include "Numbers.h"
#include "ParserTestSupport.h"
#include "TextBoundary.h"
#include "TextUtils.h"
#include "log/ReportLine.h"
#include "support/DialogDriver.h"
#include "support/EnvScope.h"
#include "support/ShellRecorder.h"

namespace {

namespace fs = std::filesystem;

const std::string DataFolder = DRAVOLIN_TEST_DATA "/program/";

struct SeparatorScope {
  explicit SeparatorScope(char separator) { DecimalSeparator = separator; }
  ~SeparatorScope() { DecimalSeparator = saved; }
  const char saved = DecimalSeparator;
};

std::string Listing(const std::string& folder)
{
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder))
    names.insert(entry.path().filename().string());
  std::string text;
  for (const std::string& name : names)
    text += name + "|";
  return text;
}

class ReportTest : public ParserTest {
protected:
  // F10 with its dialog answered: `typed` accepted (the offered name when empty), or a cancel
  // when null; a replace question with Yes; the message read into `message` and closed.
  // Returns the name offered.
  QString PressF10(const char* typed)
  {
    QString offered;
    DialogDriver driver;
    driver.Then<QFileDialog>([&](QFileDialog* dialog) {
      auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
      offered = edit->text();
      if (typed && *typed)
        edit->setText(QString::fromUtf8(typed));
      typed ? static_cast<QDialog*>(dialog)->accept() : dialog->reject();
    });
    if (typed && *typed && fs::exists(folder / typed))
      driver.Then<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::Yes)->click(); });
    driver.Then<QWidget>([this](QWidget* window) {
      message = window->findChild<QLabel*>()->text();
      window->close();
    });
    message.clear();
    unit.SaveReportAction->OnExecute(nullptr);
    return offered;
  }

  std::string Written(const std::string& name)
  {
    AnsiString reason;
    EXPECT_EQ(unit.WriteAnalysisReport(folder / name, reason), BQELunit::ReportWrite::Written) << reason;
    return ScratchFolder::Read(folder / name);
  }

  const SeparatorScope dot{'.'};
  const std::string log = ScratchFolder::Read(DataFolder + "report_log.qel");
  const std::string golden = DataFolder + "report_golden.txt";
  QString message;
  ShellRecorder shell;
};

// Every unrecognised kind and every record kind in the log's own bytes (1251, an 0xC4 in a
// fault line), values with two decimals, negative, a half rounded away from zero, and one in
// exponent form that widens its column. The offered name lies beside the log; ".txt" in any
// case is kept, anything else gets ".txt" after it; a cancel writes and opens nothing.
TEST_F(ReportTest, GoldenReportSavedUnderTheChosenNameAndOpened)
{
  Parse(log, "r4 test.qel");
  ASSERT_EQ(unit.ShortLines->Count() * unit.BadKeyLines->Count() * unit.ShortRestLines->Count() *
                unit.BadValueLines->Count() * unit.OtherLines->Count(),
            1);
  PressF10(nullptr);
  EXPECT_EQ(PressF10(""), QStringLiteral("analysis r4 test.qel .txt"));
  const std::string report = ScratchFolder::Read(folder / "analysis r4 test.qel .txt");
  if (std::getenv("DRAVOLIN_UPDATE_GOLDENS"))
    std::ofstream(golden, std::ios::binary) << report;
  EXPECT_EQ(report, ScratchFolder::Read(golden));

  folder.Write("a.TXT", "old");
  for (const char* typed : {"a.TXT", "b", "c.log", "d.Txt"})
    PressF10(typed);
  EXPECT_EQ(Listing(folder.Path()), "a.TXT|analysis r4 test.qel .txt|b.txt|c.log.txt|d.Txt|r4 test.qel|");
  EXPECT_EQ(ScratchFolder::Read(folder / "a.TXT"), report);
  EXPECT_EQ(shell.Opened(5), std::vector<std::string>({folder / "analysis r4 test.qel .txt", folder / "a.TXT",
                                                       folder / "b.txt", folder / "c.log.txt", folder / "d.Txt"}));
}

// Without a log: the headings and the caption alone, offered in the home folder. A list
// without lines has no section; German headings and name, the same record lines; a broken
// parse's report begins with its note.
TEST_F(ReportTest, SectionsOnlyForListsWithLinesHeadingsInTheLanguage)
{
  const EnvScope home("HOME", folder.Path().c_str());
  EXPECT_EQ(PressF10(""), QStringLiteral("analysis  .txt"));
  const std::string bare = ScratchFolder::Read(folder / "analysis  .txt");
  const std::string english = ScratchFolder::Read(golden);
  EXPECT_TRUE(bare.starts_with("\r\n\r\n---") && english.find(bare) != std::string::npos);
  EXPECT_EQ(std::count(bare.begin(), bare.end(), '\n'), 10);

  Parse(log, "r4.qel");
  unit.Language = German;
  EXPECT_EQ(unit.DefaultReportName(), folder / "analyse r4.qel .txt");
  AnsiString text;
  const std::string german = Written("de.txt");
  const std::string records = english.substr(english.find("(description)\r\n\r\n\r\n") + 19);
  EXPECT_TRUE(german.ends_with(unit.GetUiText(85, text) + "\r\n\r\n\r\n" + records));
  EXPECT_NE(german.find("\r\n" + unit.GetUiText(82, text) + "\r\n"), std::string::npos);
  unit.ParseFailed = 1;
  EXPECT_EQ(Written("partial.txt"), unit.GetPartialReadText(text) + "\r\n" + german);

  unit.Language = English;
  Parse("F1011000    x A\r\nF1011000    1 A\r\n", "r4.qel");
  EXPECT_EQ(Written("one.txt"),
            "----------------------------------------------------------------------------------\r\n"
            "         Unrecognized line, recognition of the value of the parameter error\r\n"
            "----------------------------------------------------------------------------------\r\n"
            "\r\nindex 0      :   [ F1011000    x A ]\r\n\r\n\r\n\r\n" +
                bare + "0      : [       17   F1011000          44 msec ]                     1.00   A\r\n");
}

// A write that fails at the start or half-way, or is broken off: the old file stays, nothing
// is left beside it and nothing opens; a failure names the file and the system's reason.
TEST_F(ReportTest, FailedOrBrokenWriteKeepsTheOldFileAndOpensNothing)
{
  Parse(log, "r4.qel");
  for (int i = 0; i < 20000; ++i)
    AddLine(unit, 2, i, i * 0.5, "Parameter");
  const std::string old = folder.Write("old.txt", "old report");
  PressF10("missing/x.txt");
  EXPECT_EQ(message, FileNameToQString(folder / "missing/x.txt") + "\nNo such file or directory");

  std::signal(SIGXFSZ, SIG_IGN);  // the file may grow by a few pieces only
  rlimit limit{}, saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  limit = {1 << 16, saved.rlim_max};
  setrlimit(RLIMIT_FSIZE, &limit);
  PressF10("old.txt");
  setrlimit(RLIMIT_FSIZE, &saved);
  EXPECT_EQ(message, FileNameToQString(old) + "\nFile too large");

  // "Break" on the progress window sets the abort flag.
  BQELunit::ReportProgressRecords = 10;
  unit.ShowProgress = 1;
  unit.ProgressHook = [](BQELunit& u, int stage, int64_t max, int64_t position) {
    u.AbortFlag = stage == 0 && max == u.DataCells->Count() && position > 0;
  };
  AnsiString reason;
  EXPECT_EQ(unit.WriteAnalysisReport(old, reason), BQELunit::ReportWrite::Broken);
  BQELunit::ReportProgressRecords = 200000;
  unit.ProgressHook = nullptr;

  // Where permissions bind (not as root), a read-only folder.
  fs::permissions(folder.Path(), fs::perms::owner_write, fs::perm_options::remove);
  if (::access(folder.Path().c_str(), W_OK) != 0) {
    PressF10("new.txt");
    EXPECT_EQ(message, FileNameToQString(folder / "new.txt") + "\nPermission denied");
  }
  fs::permissions(folder.Path(), fs::perms::owner_write, fs::perm_options::add);

  EXPECT_EQ(ScratchFolder::Read(old) + Listing(folder.Path()), "old reportold.txt|r4.qel|");
  PressF10("done.txt");
  EXPECT_EQ(shell.Opened(1), std::vector<std::string>{folder / "done.txt"});

  // While a parse runs F10 does nothing (an accepted dialog would write).
  unit.ParseRunning = 1;
  PressF10("never.txt");
  unit.ParseRunning = 0;
  EXPECT_FALSE(fs::exists(folder / "never.txt"));
}

// The in-place formatter gives the library's bytes: FloatToStrF for the value and the
// padded fields of IntToStr and PadString, widened where a number is longer than its column.
TEST(ReportLine, SameBytesAsTheLibraryRoutinesNumbersWidenTheirColumns)
{
  std::mt19937_64 random(20261207);
  std::vector<double> values = {0.0,   -0.0,  0.005,   -0.005, 0.125,          0.375,          1.005,
                                2.675, 845.5, 1e10,    -1e10,  9999999999.994, 9999999999.995, -123456789012.0,
                                1e300, NAN,   INFINITY};
  for (int i = 0; i < 200000; ++i) {
    double value =
        (random() & 1 ? -1 : 1) * std::pow(10.0, std::uniform_real_distribution<double>(-4, 13)(random));
    if (i % 4 == 1)  // on and near halves of a hundredth
      value = std::round(value * 1000) / 1000 + (i % 8 == 1 ? 0 : 1e-9);
    values.push_back(value);
  }
  const auto widened = [](const AnsiString& text, int width, bool right) {
    return static_cast<int>(text.size()) > width ? text : PadString(text, ' ', width, right);
  };
  for (char separator : {',', '.'}) {
    const SeparatorScope scope(separator);
    for (size_t i = 0; i < values.size(); ++i) {
      LDataCell cell;
      cell.Index = static_cast<int32_t>(random() % (i % 3 ? 100000000 : 1000));
      cell.TextPos = static_cast<int64_t>(random() % (i % 2 ? 100000000000 : 100));
      cell.Time = static_cast<int64_t>(random() % (i % 5 ? 10000000000000 : 10));
      cell.Kind = static_cast<int32_t>(i % 5) - 1;
      cell.Value = cell.Kind == 0 ? static_cast<double>(static_cast<int>(random() % 3) - 1) : values[i];
      cell.Code = std::string(random() % 12, static_cast<char>('A' + i % 26));
      const AnsiString detail = cell.Value > 0 ? "actual" : cell.Value < 0 ? "post" : "";
      const AnsiString tags[] = {" -CLEAR-    " + AnsiString(12, ' '),
                                 " -ERROR-    " + PadString(detail, ' ', 12, true),
                                 " -STATUS-   " + AnsiString(12, ' ')};
      const AnsiString expected =
          widened(IntToStr(cell.Index), 7, true) + ": [ " + widened(IntToStr(cell.TextPos), 8, false) + "   " +
          PadString(cell.Code, ' ', 8, true) + PadString(IntToStr(cell.Time), ' ', 12, false) + " msec ] " +
          (cell.Kind <= 1 ? tags[cell.Kind + 1]
                          : AnsiString(12, ' ') + widened(FloatToStrF(cell.Value, ffFixed, 10, 2), 12, false)) +
          "   ";
      char buffer[ReportLineHeadRoom];
      ASSERT_EQ(std::string(buffer, FormatFixedTwoDecimals(buffer, values[i])),
                FloatToStrF(values[i], ffFixed, 10, 2))
          << values[i];
      ASSERT_EQ(std::string(buffer, FormatReportLineHead(buffer, cell)), expected) << i << " " << values[i];
    }
  }
}

}  // namespace
