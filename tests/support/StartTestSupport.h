#pragma once
// Shared by the tests of the program's start: a command line of the test's choosing, a
// desktop data folder of the test's own, small logs, and the main loop run until a condition.
#include <string>
#include <vector>

#include "CommandLine.h"
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

// Three value lines, as the recorder writes them (CR LF).
inline std::string SmallLog()
{
  return "F1000000\r\n"
         "F1011500    450      O2 Sensor (mV)\r\n"
         "F1011600    0.00     O2 sensor control %\r\n"
         "F1000000\r\n"
         "F1011500    460      O2 Sensor (mV)\r\n";
}
