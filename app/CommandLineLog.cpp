// A command line's log made current and parsed. The full opening (recent list, Chart page)
// is not built yet; until it is, this is all a command line does.
#include "Paths.h"
#include "TextUtils.h"
#include "app/Qelunit.h"
#include "app/SmallRoutines.h"

namespace {

constexpr size_t None = AnsiString::npos;

// The first argument after the program path, either of them quoted or not; "" when there is
// none or a quote is never closed. A name without a folder is one in the program's folder.
AnsiString FirstArgument(const AnsiString& line)
{
  const size_t blank = line.find(' ');
  if (blank == None)
    return AnsiString();
  const size_t quote = line.find('"');
  AnsiString program;
  AnsiString rest;
  if (quote == None || quote > blank) {
    program = line.substr(0, blank);
    rest = line.substr(blank + 1);
  } else {
    const size_t close = line.find('"', quote + 1);
    if (close == None)
      return AnsiString();
    program = line.substr(quote + 1, close - quote - 1);
    rest = line.substr(close + 1);
  }
  const size_t start = rest.find_first_not_of(' ');
  rest = start == None ? AnsiString() : rest.substr(start);

  const size_t quote2 = rest.find('"');
  const size_t blank2 = rest.find(' ');
  AnsiString argument;
  if (quote2 != None && (blank2 == None || quote2 < blank2)) {
    const size_t close = rest.find('"', quote2 + 1);
    if (close == None)
      return AnsiString();
    argument = rest.substr(quote2 + 1, close - quote2 - 1);
  } else {
    argument = rest.substr(0, blank2);
  }
  if (argument.empty())
    return AnsiString();
  if (ExtractFilePath(argument).empty())
    argument = JoinPath(ExtractFilePath(program), argument);
  return argument;
}

}  // namespace

void BQELunit::OpenCommandLineLog(const AnsiString& commandLine)
{
  // Never under a running parse: the log it reads must not change beneath it.
  if (ParseRunning)
    return;
  const AnsiString name = FirstArgument(commandLine);
  if (name.empty())
    return;
  LogFileName = Trim(name);
  ParseLogText();
}
