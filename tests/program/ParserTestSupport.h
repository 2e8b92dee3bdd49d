#pragma once
// Shared by the parser tests: a central object over a scratch folder, logs written as bytes,
// and the parse's records read back as text.
#include <gtest/gtest.h>

#include <string>

#include "AppPaths.h"
#include "Memo.h"
#include "app/Qelunit.h"
#include "support/Records.h"
#include "support/ScratchFolder.h"
#include "support/TestApp.h"

constexpr int Russian = 0, English = 1, German = 2;

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

  // Messages of all five lists together.
  int Unrecognised() const
  {
    return unit.ShortLines->Count() + unit.BadKeyLines->Count() + unit.ShortRestLines->Count() +
           unit.BadValueLines->Count() + unit.OtherLines->Count();
  }

  ScratchFolder folder;
  DataFolderScope dataFolder{folder};
  BQELunit unit;
};

// "key    value name" as the recorder writes a value line, with its CR LF.
inline std::string ValueLine(const std::string& key, const std::string& value, const std::string& name)
{
  return key + "    " + value + " " + name + "\r\n";
}

// `count` value lines of the parameter `name`, the values counting up.
inline std::string ValueLines(int count, const std::string& name = "A")
{
  std::string log;
  for (int i = 0; i < count; ++i)
    log += ValueLine("F1011000", std::to_string(i % 1000), name);
  return log;
}
