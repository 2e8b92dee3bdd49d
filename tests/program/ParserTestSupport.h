#pragma once
// Shared by the parser tests: a central object over a scratch folder, logs written as bytes,
// and the parse's results read back as plain values.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "AppPaths.h"
#include "Memo.h"
#include "app/Qelunit.h"
#include "support/ScratchFolder.h"
#include "support/TestApp.h"

constexpr int Russian = 0;
constexpr int English = 1;
constexpr int German = 2;

// The data folder of a test for as long as it lives: settings read and written by the central
// object stay in the test's own folder.
struct DataFolderScope {
  explicit DataFolderScope(const ScratchFolder& folder) { SetDataFolderForTests(folder.Path()); }
  ~DataFolderScope() { SetDataFolderForTests(""); }
};

class ParserTest : public ::testing::Test {
protected:
  // Starts from no known parameter, whatever the default settings hold.
  void SetUp() override
  {
    unit.ClearTypeCells();
    unit.Language = English;
    unit.TextLinePeriod = 10;
    unit.ReadingSpeed = 45;  // a frame period of 22 ms: no recorder log lies beside the tests' logs
  }

  // Writes the bytes as a log named `name` and parses it.
  void Parse(const std::string& bytes, const std::string& name = "log.qel")
  {
    unit.LogFileName = folder.Write(name, bytes);
    unit.ParseLogText();
  }

  int Records() const { return unit.DataCells->Count(); }
  LDataCell& Cell(int i) const { return *unit.DataCells->Get(i); }

  std::vector<AnsiString> Lines(const TStringList& list) const
  {
    std::vector<AnsiString> lines;
    for (int i = 0; i < list.Count(); ++i)
      lines.push_back(list.Get(i));
    return lines;
  }

  // Messages of all five lists together.
  int Unrecognised() const
  {
    return unit.ShortLines->Count() + unit.BadKeyLines->Count() + unit.ShortRestLines->Count() +
           unit.BadValueLines->Count() + unit.OtherLines->Count();
  }

  // The records as "kind@time value 'text' position", one a line.
  std::string Brief() const
  {
    std::ostringstream out;
    for (int i = 0; i < Records(); ++i)
      out << Cell(i).Kind << '@' << Cell(i).Time << ' ' << Cell(i).Value << " '" << Cell(i).Text.Str() << "' "
          << Cell(i).TextPos << '\n';
    return out.str();
  }

  // The message the parser files for line `number` in English.
  static AnsiString Message(const std::string& paddedNumber, const std::string& line)
  {
    return "index " + paddedNumber + ":   [ " + line + " ]";
  }

  ScratchFolder folder;
  DataFolderScope dataFolder{folder};
  BQELunit unit;
};

// A log of lines ended by CR LF, parsed under one fault algorithm, and what it must give.
struct ScriptCase {
  const char* what;
  Byte oldAlgorithm;
  std::vector<std::string> lines;
  const char* brief;  // ParserTest::Brief
  int unrecognised;
};

// A text-line period far from the 20 Hz frame period, so that a time tells which steps made it.
class ParserTwoPeriods : public ParserTest {
protected:
  static constexpr int T = 7;   // text-line period
  static constexpr int F = 50;  // frame period at 20 Hz

  void SetUp() override
  {
    ParserTest::SetUp();
    unit.TextLinePeriod = T;
    unit.ReadingSpeed = 20;
  }

  void Check(const ScriptCase& c)
  {
    SCOPED_TRACE(c.what);
    std::string log;
    for (const std::string& line : c.lines)
      log += line + "\r\n";
    unit.OldErrorAlgorithm = c.oldAlgorithm;
    Parse(log);
    EXPECT_EQ(Brief(), c.brief);
    EXPECT_EQ(Unrecognised(), c.unrecognised);
  }
};

// "key    value name" as the recorder writes a value line.
inline std::string ValueLine(const std::string& key, const std::string& value, const std::string& name)
{
  return key + "    " + value + " " + name;
}
