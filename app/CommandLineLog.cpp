// The log named on a command line: the process's own or a later start's.
#include "app/CommandLineLog.h"

#include "Paths.h"
#include "app/Qelunit.h"

AnsiString CommandLineLogName(const AnsiString& argument, const AnsiString& program)
{
  // An argument names a file exactly: "x.qel " is another file than "x.qel".
  const AnsiString& name = argument;
  const AnsiString programFolder = ExtractFilePath(program);
  if (!name.empty() && name.find('/') == AnsiString::npos && !programFolder.empty() && !FileExists(name))
    return JoinPath(programFolder, name);
  return ExpandFileName(name);
}

namespace {

constexpr size_t None = AnsiString::npos;

// The first argument after the program path of one whole command line, either of them quoted
// or not; false when there is none or a quote is never closed.
bool FirstArgument(const AnsiString& line, AnsiString& program, AnsiString& argument)
{
  const size_t blank = line.find(' ');
  if (blank == None)
    return false;
  const size_t quote = line.find('"');
  AnsiString rest;
  if (quote == None || quote > blank) {
    program = line.substr(0, blank);
    rest = line.substr(blank + 1);
  } else {
    const size_t close = line.find('"', quote + 1);
    if (close == None)
      return false;
    program = line.substr(quote + 1, close - quote - 1);
    rest = line.substr(close + 1);
  }
  const size_t start = rest.find_first_not_of(' ');
  rest = start == None ? AnsiString() : rest.substr(start);

  const size_t quote2 = rest.find('"');
  const size_t blank2 = rest.find(' ');
  if (quote2 != None && (blank2 == None || quote2 < blank2)) {
    const size_t close = rest.find('"', quote2 + 1);
    if (close == None)
      return false;
    argument = rest.substr(quote2 + 1, close - quote2 - 1);
  } else {
    argument = rest.substr(0, blank2);
  }
  return !argument.empty();
}

}  // namespace

void BQELunit::SplitCommandLine(const std::vector<AnsiString>& arguments)
{
  if (arguments.size() < 2)
    return;
  OpenLogFile(CommandLineLogName(arguments[1], arguments[0]));
}

void BQELunit::SplitCommandLine(const AnsiString& commandLine)
{
  AnsiString program, argument;
  if (FirstArgument(commandLine, program, argument))
    SplitCommandLine({program, argument});
}
