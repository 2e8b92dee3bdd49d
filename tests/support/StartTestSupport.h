#pragma once
// Shared by the tests of the program's start: a command line of the test's choosing, a
// desktop data folder of the test's own, a small log, and the main form shown in a fixture.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "ComboBox.h"
#include "CommandLine.h"
#include "Timer.h"
#include "app/Qelform.h"
#include "app/Qelunit.h"
#include "support/EnvScope.h"
#include "support/MainLoop.h"
#include "support/ScratchFolder.h"
#include "support/TestApp.h"

// The process's command line is this program path and these arguments while the scope lives;
// then the test program's own again.
class CommandLineScope {
public:
  explicit CommandLineScope(std::vector<std::string> arguments) : arguments_(std::move(arguments))
  {
    argv_.push_back(program_.data());
    for (std::string& argument : arguments_)
      argv_.push_back(argument.data());
    argv_.push_back(nullptr);
    InitCommandLine(static_cast<int>(argv_.size() - 1), argv_.data());
  }
  ~CommandLineScope()
  {
    static char* own[] = {TestProgramName(), nullptr};
    InitCommandLine(1, own);
  }
  CommandLineScope(const CommandLineScope&) = delete;
  CommandLineScope& operator=(const CommandLineScope&) = delete;

private:
  std::string program_ = TestProgramName();
  std::vector<std::string> arguments_;
  std::vector<char*> argv_;
};

// A desktop of the test's own while the scope lives: its data folder (XDG_DATA_HOME) in the
// test's folder, and first on PATH, stand-ins that do nothing for the tools the start's file-type
// registration runs. The real tools run detached and would write into the folder after the
// test removed it.
class TestDesktop {
public:
  explicit TestDesktop(const ScratchFolder& folder) : data_(folder / "desktop"), tools_(folder / "tools")
  {
    std::filesystem::create_directory(tools_);
    for (const char* tool : {"update-mime-database", "update-desktop-database"}) {
      const std::string script = tools_ + "/" + tool;
      std::ofstream(script) << "#!/bin/sh\n";
      std::filesystem::permissions(script, std::filesystem::perms::owner_all);
    }
    const char* path = std::getenv("PATH");
    path_.emplace("PATH", (tools_ + ":" + (path ? path : "")).c_str());
    dataHome_.emplace("XDG_DATA_HOME", data_.c_str());
  }

  const std::string& Data() const { return data_; }

private:
  std::string data_, tools_;
  std::optional<EnvScope> path_, dataHome_;
};

// Three value lines, as the recorder writes them (CR LF).
inline std::string SmallLog()
{
  return "F1000000\r\n"
         "F1011500    450      O2 Sensor (mV)\r\n"
         "F1011600    0.00     O2 sensor control %\r\n"
         "F1000000\r\n"
         "F1011500    460      O2 Sensor (mV)\r\n";
}

// The chart's mask combo lists the masks, when nothing filled it yet, and shows the first: the
// chart draws a log opened after.
inline void ShowFirstChartMask(BQELunit& unit)
{
  TStrings* names = unit.ChartMaskCombo->Items();
  for (int i = 0; names->Count() == 0 && i < unit.MaskCells->Count(); ++i)
    names->Add(unit.MaskName(unit.MaskCells->Get(i)));
  unit.ChartMaskCombo->SetItemIndex(0);
  unit.ChartMaskIndex = 0;
}

// The main form of a test's own, in a desktop and a C locale of its own; the central object
// and the form are freed after the test as the program's close frees them (the object first).
class ProgramStart : public ::testing::Test {
protected:
  void TearDown() override
  {
    delete gQELunit;
    gQELunit = nullptr;
    delete form;
  }

  // The program's start: the form shown makes the central object.
  BQELunit& Start()
  {
    form->Show();
    EXPECT_NE(gQELunit, nullptr);
    return *gQELunit;
  }

  // Start timer ticks, as the running timer gives them.
  static void Ticks(BQELunit& unit, int count)
  {
    for (int i = 0; i < count; ++i)
      unit.StartTimerTimer(unit.StartTimer);
  }

  ScratchFolder folder;
  TestDesktop desktop{folder};
  EnvScope locale{"LC_ALL", "C"};
  TQELMainForm* form = new TQELMainForm(Application);
};
