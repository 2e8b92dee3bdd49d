// The reading speed: typed into the two speed edits, or detected from the recorder's logs
// beside the current log.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <memory>
#include <string>
#include <tuple>

#include "Edit.h"
#include "Numbers.h"
#include "PageControl.h"
#include "app/Qelunit.h"
#include "support/MainLoop.h"
#include "support/ScratchFolder.h"
#include "support/TestApp.h"

namespace {

class ReadingSpeed : public ::testing::Test {
protected:
  void SetUp() override
  {
    unit.SpeedEdit = &speedEdit;
    unit.SetDefaultOptions();
    // Off the chart: a new speed only flags the parse to come.
    unit.PageControl->SetActivePage(unit.OptionsPage);
    unit.LogFileName = folder / "drive.qel";
  }

  // The speed detected with the recorder log written first, if given; 0 when none was found (the
  // speed edit stays enabled then).
  int Detect(const std::string& recorderLog = "", const std::string& name = "log1.txt")
  {
    if (!recorderLog.empty())
      folder.Write(name, recorderLog);
    unit.DetectExchangeSpeed();
    return speedEdit.Enabled() ? 0 : unit.ReadingSpeed;
  }

  // Types the text into the edit and leaves it.
  void Type(TEdit* edit, const char* text)
  {
    edit->SetText(text);
    edit == &speedEdit ? unit.ReadingSpeedEditExit(edit) : unit.FramePeriodEditExit(edit);
  }

  // "speed frame-period speed-edit period-edit reparse", and "locked" when the speed edit is.
  std::string State() const
  {
    return IntToStr(unit.ReadingSpeed) + " " + IntToStr(unit.FramePeriod) + " " + speedEdit.Text() + " " +
           unit.FramePeriodEdit->Text() + " " + IntToStr(unit.ReparseNeeded) +
           (speedEdit.Enabled() ? "" : " locked");
  }

  ScratchFolder folder;
  // Made first: the unit's destructor still reads the options page back into it.
  TEdit speedEdit{nullptr};
  BQELunit unit;
};

// A recorder log beside the current log and the speed found in it (0: none).
struct DetectCase {
  const char* recorderLog;
  int speed;
  const char* logName = "drive.qel";
};

// clang-format off
const DetectCase DetectCases[] = {
    // The label one or two lines above the raw file's line; line i - 1 naming a label without
    // digits, line i - 2 is tried next.
    {"Session\r\nSpeed 45 Hz\r\nLog: drive.bin\r\n", 45},
    {"Speed 40 Hz\r\nunrelated\r\nFile drive.bin\r\n", 40},
    {"\xD1\xEA\xEE\xF0\xEE\xF1\xF2\xFC \xEE\xE1\xEC\xE5\xED\xE0 33\r\nunrelated\r\nFile drive.bin\r\n", 33},
    {"Speed 37 Hz\r\nSpeed  Hz\r\nFile drive.bin\r\n", 37},
    {"Speed 40 Hz\r\none\r\ntwo\r\nFile drive.bin\r\n", 0},  // too far above
    // The first label a line holds decides alone.
    {"Speed 45 \xD1\xEA\xEE\xF0\xEE\xF1\xF2\xFC \xEE\xE1\xEC\xE5\xED\xE0\r\nFile drive.bin\r\n", 0},
    {"Geschwindigkeit 28\r\nFile drive.bin\r\n", 28}, {"Speed 0 Hz\r\nFile drive.bin\r\n", 0},
    // The raw file's name matches byte for byte and as a whole name; on the first line there is
    // nothing above, and the scan goes on.
    {"Speed 45\r\nFile drive.BIN\r\n", 0}, {"drive.bin\r\nSpeed 41\r\ndrive.bin\r\n", 41},
    {"Speed 33\r\nFile 21.bin\r\nSpeed 40\r\nFile 1.bin\r\n", 40, "1.qel"}, {"Speed 44\r\n1.bin\r\n", 44, "1.qel"},
    {"Speed 44\r\nC:\\logs\\1.bin\r\n", 44, "1.qel"}, {"Speed 44\r\nd:1.bin\r\n", 44, "1.qel"},
    {"Speed 44\r\nx1.bin\r\n", 0, "1.qel"}, {"Speed 44\r\n_1.bin\r\n", 0, "1.qel"},
    // Without a raw-file line the first "Log: " line whose label gives a speed; a raw-file line
    // wins over an earlier "Log: " line.
    {"Log: a.bin\r\nSpeed 38\r\nLog: b.bin\r\nSpeed 39\r\nLog: c.bin\r\n", 38},
    {"Speed 30\r\nLog: other.bin\r\nSpeed 42\r\nLog: drive.bin\r\n", 42},
    // Any line ending; two lines between, and no final break.
    {"Speed 46\rLog: drive.bin\r", 46}, {"Speed 47\r\n\nx\rLog: drive.bin", 0}, {"Speed 48\r\nx\nLog: drive.bin", 48}};
// clang-format on

TEST_F(ReadingSpeed, DetectedFromTheRecorderLogBesideTheLog)
{
  for (const DetectCase& c : DetectCases) {
    unit.LogFileName = folder / c.logName;
    EXPECT_EQ(Detect(c.recorderLog), c.speed) << c.recorderLog;
  }
}

// The detected speed sets the frame period, shows in both edits and locks the speed edit; a
// raw-file line wins over a "Log: " line in another recorder log too. Nothing found keeps the
// stored speed within bounds and unlocks the edit.
TEST_F(ReadingSpeed, DetectedSpeedLocksTheSpeedEditAndNoneKeepsTheStoredOne)
{
  for (const auto& [typed, state] :
       {std::pair{"45", "45 22 45 45 0 locked"}, {"99", "50 20 50 50 0 locked"}, {"10", "16 62 16 16 0 locked"}}) {
    Detect(std::string("Speed ") + typed + "\r\nLog: drive.bin\r\n");
    EXPECT_EQ(State(), state);
  }
  folder.Write("log2.txt", "Speed 43\r\nLog: drive.bin\r\n");
  folder.Write("log3.txt", "Speed 31\r\nLog: other.bin\r\n");
  EXPECT_EQ(Detect("Speed 30\r\nLog: other.bin\r\n"), 43);

  for (const char* name : {"log1.txt", "log2.txt", "log3.txt"})
    std::filesystem::remove(folder / name);
  unit.ReadingSpeed = 100;
  EXPECT_EQ(Detect(), 0);
  EXPECT_EQ(State(), "50 20 50 50 0");
}

// The recorder logs are the regular files "log*.txt" beside the log, even when its folder and
// name hold '\\' and ':'; the log itself, named so, is read like any, once.
TEST_F(ReadingSpeed, WhichFilesAreRecorderLogs)
{
  const std::string sub = "a:b\\c";
  std::filesystem::create_directory(folder / sub);
  unit.LogFileName = folder / (sub + "/12:30\\x.qel");
  EXPECT_EQ(Detect("Speed 44\r\nLog: 30\\x.bin\r\nSpeed 38\r\nLog: 12:30\\x.bin\r\n", sub + "/log1.txt"), 38);

  unit.LogFileName = folder.Write("log5.txt", "F1000001\r\nSpeed 41\r\nLog: other.bin\r\n");
  EXPECT_EQ(Detect(), 41);
  std::filesystem::create_directory(folder / "log9.txt");
  ASSERT_EQ(::mkfifo((folder / "log7.txt").c_str(), 0600), 0);  // opening it would wait forever
  folder.Write("log6.txt", "Speed 36\r\nLog: log5.bin\r\n");
  EXPECT_EQ(Detect(), 36);
}

// Lines longer than what is read at a time: a name split between two reads, the byte before it
// in the earlier read, a CR LF split between them.
TEST_F(ReadingSpeed, LongLinesAcrossReads)
{
  for (size_t filler = 65520; filler <= 65540; ++filler) {
    EXPECT_EQ(Detect("Speed 44\r\n" + std::string(filler, 'x') + " drive.bin\r\n"), 44) << filler;
    EXPECT_EQ(Detect("Speed 44\r\n" + std::string(filler, 'x') + "drive.bin\r\n"), 0) << filler;
  }
  EXPECT_EQ(Detect("Speed 44\r\n" + std::string(3 * 65536, 'x') + " drive.bin\r\n"), 44);
  // The CR of the middle line is the last byte of the first read: its LF adds no line.
  const std::string first = "Speed 44\r\n" + std::string(65536 - 11, 'y') + "\r";
  ASSERT_EQ(first.size(), 65536u);
  EXPECT_EQ(Detect(first + "\ndrive.bin\r\n"), 44);
}

// Typed speeds are clamped; only the speed edit changes the speed (and asks for a parse when it
// differs), the frame-period edit just aligns the two edits.
TEST_F(ReadingSpeed, EditsAreClampedAndOnlyTheSpeedEditSetsTheSpeed)
{
  const std::tuple<TEdit*, const char*, const char*> cases[] = {
      {&speedEdit, "60", "50 20 50 50 1"},           {&speedEdit, "15", "16 62 16 16 1"},
      {&speedEdit, "abc", "16 62 16 16 1"},          {&speedEdit, "", "16 62 16 16 1"},
      {&speedEdit, "33", "33 30 33 33 1"},           {&speedEdit, "45", "45 22 45 45 0"},
      {unit.FramePeriodEdit, "100", "45 5 50 50 0"}, {unit.FramePeriodEdit, "xyz", "45 5 16 16 0"},
      {unit.FramePeriodEdit, "-1", "45 5 16 16 0"},  {unit.FramePeriodEdit, "33", "45 5 33 33 0"},
  };
  for (const auto& [edit, typed, after] : cases) {
    unit.SetDefaultOptions();
    unit.FramePeriod = 5;
    Type(edit, typed);
    EXPECT_EQ(State(), after) << typed;
  }
}

// The frame period times the parse that runs: a speed typed meanwhile is taken after it, and
// not at all when the object is gone by then.
TEST_F(ReadingSpeed, SpeedEditLeftDuringAParseWaitsForItsEnd)
{
  unit.SetDefaultOptions();
  unit.ParseRunning = 1;
  Type(&speedEdit, "20");
  EXPECT_EQ(unit.ReadingSpeed, 45);
  unit.ParseRunning = 0;
  EXPECT_TRUE(RunLoopUntil([this] { return unit.ReadingSpeed == 20; }));
  EXPECT_EQ(unit.FramePeriod, 50);

  TEdit otherEdit{nullptr};
  auto other = std::make_unique<BQELunit>();
  other->SpeedEdit = &otherEdit;
  other->ParseRunning = 1;
  otherEdit.SetText("30");
  other->ReadingSpeedEditExit(&otherEdit);
  other->ParseRunning = 0;
  other.reset();
  RunLoopFor(10);  // the deferred exit finds its object gone and does nothing
}

}  // namespace
