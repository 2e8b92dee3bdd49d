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

#include "ActnList.h"
#include "FileDialogs.h"
#include "Numbers.h"
#include "ParserTestSupport.h"
#include "TextBoundary.h"
#include "app/SmallRoutines.h"
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

std::string FolderListing(const std::string& folder)
{
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  std::string text;
  for (const std::string& name : names)
    text += name + "|";
  return text;
}

class ReportTest : public ParserTest {
protected:
  void SetUp() override
  {
    ParserTest::SetUp();
    log = ScratchFolder::Read(DataFolder + "report_log.qel");
  }

  // F10 with the dialog answered: `typed` into its name field and accepted, or cancelled when
  // null; then `more` answers what comes after (the overwrite question, the message). Returns
  // the name the dialog offered.
  QString PressF10(const char* typed, const std::function<void(DialogDriver&)>& more = nullptr)
  {
    QString offered;
    DialogDriver driver;
    driver.Then<QFileDialog>([&](QFileDialog* dialog) {
      auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
      offered = edit->text();
      if (!typed) {
        dialog->reject();
        return;
      }
      if (*typed)
        edit->setText(QString::fromUtf8(typed));
      static_cast<QDialog*>(dialog)->accept();
    });
    if (more)
      more(driver);
    unit.SaveReportAction->OnExecute(nullptr);
    EXPECT_TRUE(driver.Done());
    return offered;
  }

  // The self-closing message's text, the window closed at once.
  static void ReadMessage(DialogDriver& driver, QString& text)
  {
    driver.Then<QWidget>([&text](QWidget* window) {
      text = window->findChild<QLabel*>()->text();
      window->close();
    });
  }

  std::string Written(const std::string& name)
  {
    AnsiString reason;
    EXPECT_EQ(unit.WriteAnalysisReport(folder / name, reason), BQELunit::ReportWrite::Written) << reason;
    return ScratchFolder::Read(folder / name);
  }

  const SeparatorScope dot{'.'};
  std::string log;
  ShellRecorder shell;
};

// Every unrecognised kind and every record kind, in the log's own bytes (1251 and an 0xC4 in
// a fault line), values with two decimals, negative, a half rounded away from zero and one in
// exponent form that widens its column; written beside the log under the offered name, opened.
TEST_F(ReportTest, GoldenReportOfEveryKindOfLineSavedBesideTheLogAndOpened)
{
  Parse(log, "r4 test.qel");
  ASSERT_EQ(unit.ShortLines->Count() * unit.BadKeyLines->Count() * unit.ShortRestLines->Count() *
                unit.BadValueLines->Count() * unit.OtherLines->Count(),
            1);
  EXPECT_EQ(PressF10(""), QStringLiteral("analysis r4 test.qel .txt"));
  const std::string report = ScratchFolder::Read(folder / "analysis r4 test.qel .txt");
  const std::string golden = DataFolder + "report_golden.txt";
  if (std::getenv("DRAVOLIN_UPDATE_GOLDENS"))
    std::ofstream(golden, std::ios::binary) << report;
  EXPECT_EQ(report, ScratchFolder::Read(golden));
  EXPECT_EQ(FolderListing(folder.Path()), "analysis r4 test.qel .txt|r4 test.qel|");
  EXPECT_EQ(shell.Opened(1), std::vector<std::string>{folder / "analysis r4 test.qel .txt"});
}

// ".txt" in any case is kept, anything else gets ".txt" after it; an existing file is replaced
// after a yes; a cancel writes and opens nothing.
TEST_F(ReportTest, ChosenNameGetsTxtUnlessItEndsInItCancelWritesNothing)
{
  Parse(log, "r4.qel");
  const std::string old = folder.Write("a.TXT", "old");
  PressF10(nullptr);
  for (const char* typed : {"a.TXT", "b", "c.log", "d.Txt"})
    PressF10(typed, [&](DialogDriver& driver) {
      if (std::string(typed) == "a.TXT")
        driver.Then<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::Yes)->click(); });
    });
  EXPECT_EQ(FolderListing(folder.Path()), "a.TXT|b.txt|c.log.txt|d.Txt|r4.qel|");
  EXPECT_EQ(ScratchFolder::Read(old), ScratchFolder::Read(folder / "b.txt"));
  EXPECT_EQ(shell.Opened(4),
            std::vector<std::string>({old, folder / "b.txt", folder / "c.log.txt", folder / "d.Txt"}));
}

// Without a log: the headings and the caption alone, offered in the home folder. A list
// without lines has no section; German headings and name, the same record lines.
TEST_F(ReportTest, SectionsOnlyForListsWithLinesHeadingsAndNameInTheLanguage)
{
  const std::string golden = ScratchFolder::Read(DataFolder + "report_golden.txt");
  const EnvScope home("HOME", folder.Path().c_str());
  EXPECT_EQ(PressF10(""), QStringLiteral("analysis  .txt"));
  const std::string bare = ScratchFolder::Read(folder / "analysis  .txt");
  EXPECT_NE(golden.find(bare), std::string::npos);
  EXPECT_EQ(std::count(bare.begin(), bare.end(), '\n'), 10);
  EXPECT_TRUE(bare.starts_with("\r\n\r\n---"));

  const std::string caption = "(description)\r\n\r\n\r\n";
  const std::string records = golden.substr(golden.find(caption) + caption.size());
  Parse(log, "r4.qel");
  unit.Language = German;
  EXPECT_EQ(unit.DefaultReportName(), folder / "analyse r4.qel .txt");
  const std::string german = Written("de.txt");
  AnsiString heading;
  EXPECT_NE(german.find("\r\n" + unit.GetUiText(82, heading) + "\r\n"), std::string::npos);
  EXPECT_TRUE(german.ends_with(unit.GetUiText(85, heading) + "\r\n\r\n\r\n" + records));

  unit.Language = English;
  Parse("F1011000    x A\r\nF1011000    1 A\r\n", "r4.qel");
  EXPECT_EQ(Written("one.txt"),
            "----------------------------------------------------------------------------------\r\n"
            "         Unrecognized line, recognition of the value of the parameter error\r\n"
            "----------------------------------------------------------------------------------\r\n"
            "\r\n"
            "index 0      :   [ F1011000    x A ]\r\n"
            "\r\n\r\n\r\n" +
                bare + "0      : [       17   F1011000          44 msec ]                     1.00   A\r\n");
}

// A parse that broke down: one line says so before the report.
TEST_F(ReportTest, ReportOfABrokenParseBeginsWithItsNote)
{
  Parse(log, "r4.qel");
  const std::string whole = Written("whole.txt");
  unit.ParseFailed = 1;
  for (int language : {Russian, English, German}) {
    unit.Language = language;
    AnsiString note;
    unit.GetPartialReadText(note);
    EXPECT_GT(note.size(), 30u);
    const std::string partial = Written("partial.txt");
    if (language == English)
      EXPECT_EQ(partial, note + "\r\n" + whole);
    else
      EXPECT_TRUE(partial.starts_with(note + "\r\n")) << language;
  }
}

// A write that fails at the start or half-way, or is broken off: the old file stays, nothing
// is left beside it and nothing opens; a failure names the file and the system's reason.
TEST_F(ReportTest, FailedOrBrokenWriteKeepsTheOldFileAndOpensNothing)
{
  Parse(log, "r4.qel");
  for (int i = 0; i < 20000; ++i)
    AddLine(unit, 2, i, i * 0.5, "Parameter");
  const std::string old = folder.Write("old.txt", "old report");

  QString message;
  PressF10("missing/x.txt", [&](DialogDriver& driver) { ReadMessage(driver, message); });
  EXPECT_EQ(message, FileNameToQString(folder / "missing/x.txt") + "\nNo such file or directory");

  // Half-way: the file may grow no more than a few pieces.
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit limit{};
  getrlimit(RLIMIT_FSIZE, &limit);
  const rlimit saved = limit;
  limit.rlim_cur = 1 << 16;
  setrlimit(RLIMIT_FSIZE, &limit);
  PressF10("old.txt", [&](DialogDriver& driver) {
    driver.Then<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::Yes)->click(); });
    ReadMessage(driver, message);
  });
  setrlimit(RLIMIT_FSIZE, &saved);
  EXPECT_EQ(message, FileNameToQString(old) + "\nFile too large");

  // "Break" on the progress window sets the abort flag.
  BQELunit::ReportProgressRecords = 10;
  unit.ShowProgress = 1;
  unit.ProgressHook = [](BQELunit& u, int stage, int64_t max, int64_t position) {
    if (stage == 0 && max == u.DataCells->Count() && position > 0)
      u.AbortFlag = 1;
  };
  AnsiString reason;
  EXPECT_EQ(unit.WriteAnalysisReport(old, reason), BQELunit::ReportWrite::Broken);
  BQELunit::ReportProgressRecords = 200000;
  unit.ProgressHook = nullptr;

  // Where permissions bind (not as root), a read-only folder.
  fs::permissions(folder.Path(), fs::perms::owner_write, fs::perm_options::remove);
  if (::access(folder.Path().c_str(), W_OK) != 0) {
    PressF10("new.txt", [&](DialogDriver& driver) { ReadMessage(driver, message); });
    EXPECT_EQ(message, FileNameToQString(folder / "new.txt") + "\nPermission denied");
  }
  fs::permissions(folder.Path(), fs::perms::owner_write, fs::perm_options::add);

  EXPECT_EQ(ScratchFolder::Read(old), "old report");
  EXPECT_EQ(FolderListing(folder.Path()), "old.txt|r4.qel|");
  PressF10("done.txt");
  EXPECT_EQ(shell.Opened(1), std::vector<std::string>{folder / "done.txt"});
}

TEST_F(ReportTest, NothingWhileAParseRuns)
{
  DialogDriver driver(1000);
  driver.Then<QFileDialog>([](QFileDialog* dialog) { static_cast<QDialog*>(dialog)->accept(); });
  unit.LogFileName = folder / "r4.qel";
  unit.ParseRunning = 1;
  unit.SaveReportAction->OnExecute(nullptr);
  unit.ParseRunning = 0;
  EXPECT_FALSE(driver.Done());
  EXPECT_EQ(FolderListing(folder.Path()), "");
}

// Numbers wider than their columns widen the line; the code is cut to 8.
TEST(ReportLine, WideNumbersWidenTheLineTheCodeIsCut)
{
  const SeparatorScope dot('.');
  BQELunit unit;
  unit.DataCells->Clear();
  const auto line = [&](int32_t index, int64_t position, const char* code, int32_t kind, double value) {
    LDataCell cell;
    cell.Index = index, cell.TextPos = position, cell.Code = code, cell.Kind = kind, cell.Value = value;
    cell.Time = 1234;
    char buffer[ReportLineHeadRoom];
    return std::string(buffer, FormatReportLineHead(buffer, cell));
  };
  EXPECT_EQ(line(1234567, 12345678, "ABCDEFGH", 0, 1.0),
            "1234567: [ 12345678   ABCDEFGH        1234 msec ]  -ERROR-    actual         ");
  EXPECT_EQ(line(12345678, 1234567890, "ABCDEFGHIJ", 0, -1.0),
            "12345678: [ 1234567890   ABCDEFGH        1234 msec ]  -ERROR-    post           ");
  EXPECT_EQ(line(0, 0, "", 2, 845.5),
            "0      : [        0                   1234 msec ]                   845.50   ");
  EXPECT_EQ(line(7, 7, "K", 3, -1.5e20),
            "7      : [        7   K               1234 msec ]                  -1.5E20   ");
  EXPECT_EQ(line(7, 7, "K", 3, -123456789012.0),
            "7      : [        7   K               1234 msec ]             -1.23456789E11   ");
}

// The in-place formatter gives the library's bytes: FloatToStrF for the value and the
// padded fields of IntToStr and PadString, widened where a number is longer than its column.
TEST(ReportLine, SameBytesAsTheLibraryRoutinesOverManyValues)
{
  std::mt19937_64 random(20261207);
  std::vector<double> values = {
      0.0,  -0.0,  0.005,          -0.005, 0.125,    0.375, 1.005,    2.675,    9999999999.994, 9999999999.995,
      1e10, -1e10, 123456789012.0, 1e300,  4.9e-324, NAN,   INFINITY, -INFINITY};
  for (int i = 0; i < 200000; ++i) {
    const double magnitude = std::pow(10.0, std::uniform_real_distribution<double>(-4, 13)(random));
    double value = (random() & 1 ? -1 : 1) * magnitude;
    if (i % 4 == 1)  // on and near halves of a hundredth
      value = std::round(value * 1000) / 1000 + (i % 8 == 1 ? 0 : 1e-9);
    values.push_back(value);
  }
  for (char separator : {'.', ','}) {
    const SeparatorScope scope(separator);
    int differences = 0;
    for (double value : values) {
      char buffer[32];
      const std::string fast(buffer, FormatFixedTwoDecimals(buffer, value));
      if (fast != FloatToStrF(value, ffFixed, 10, 2) && ++differences < 5)
        ADD_FAILURE() << value << ": " << fast << " != " << FloatToStrF(value, ffFixed, 10, 2);
    }
  }

  const SeparatorScope comma(',');
  const auto widened = [](const AnsiString& text, int width, bool right) {
    return static_cast<int>(text.size()) > width ? text : PadString(text, ' ', width, right);
  };
  const int kinds[] = {-1, 0, 1, 2, 77};
  for (int i = 0; i < 20000; ++i) {
    LDataCell cell;
    cell.Index = static_cast<int32_t>(random() % (i % 3 ? 100000000 : 1000));
    cell.TextPos = static_cast<int64_t>(random() % (i % 2 ? 100000000000 : 100));
    cell.Time = static_cast<int64_t>(random() % (i % 5 ? 10000000000000 : 10));
    cell.Kind = kinds[i % 5];
    cell.Value = cell.Kind == 0 ? static_cast<double>(static_cast<int>(random() % 3) - 1) : values[i];
    cell.Code = std::string(random() % 12, static_cast<char>('A' + i % 26));
    const char* detail = cell.Value > 0 ? "actual" : cell.Value < 0 ? "post" : "";
    const AnsiString tags[] = {" -CLEAR-    " + PadString("", ' ', 12, true),
                               " -ERROR-    " + PadString(detail, ' ', 12, true),
                               " -STATUS-   " + PadString("", ' ', 12, true)};
    const AnsiString expected =
        widened(IntToStr(cell.Index), 7, true) + ": [ " + widened(IntToStr(cell.TextPos), 8, false) + "   " +
        PadString(cell.Code, ' ', 8, true) + PadString(IntToStr(cell.Time), ' ', 12, false) + " msec ] " +
        (cell.Kind <= 1
             ? tags[cell.Kind + 1]
             : PadString("", ' ', 12, true) + widened(FloatToStrF(cell.Value, ffFixed, 10, 2), 12, false)) +
        "   ";
    char buffer[ReportLineHeadRoom];
    const std::string fast(buffer, FormatReportLineHead(buffer, cell));
    ASSERT_EQ(fast, expected) << i;
  }
}

}  // namespace
