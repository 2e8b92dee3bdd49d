#include "CommandLine.h"

#include <cerrno>
#include <climits>
#include <unistd.h>

#include "Paths.h"

namespace {

std::vector<AnsiString>& Arguments()
{
  static std::vector<AnsiString> arguments;
  return arguments;
}

AnsiString& ArgvZero()
{
  static AnsiString name;
  return name;
}

AnsiString CurrentFolder()
{
  std::vector<char> buffer(PATH_MAX);
  while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
    if (errno != ERANGE)
      return AnsiString();
    buffer.resize(buffer.size() * 2);
  }
  return buffer.data();
}

AnsiString Absolute(const AnsiString& name)
{
  if (!name.empty() && name[0] == '/')
    return name;
  AnsiString rest = name;
  while (rest.size() > 2 && rest[0] == '.' && rest[1] == '/')
    rest.erase(0, 2);
  AnsiString folder = CurrentFolder();
  if (folder.empty())
    return name;
  if (folder.back() != '/')
    folder += '/';
  return folder + rest;
}

AnsiString Quoted(const AnsiString& text)
{
  if (text.empty() || text.find_first_of(" \t") != AnsiString::npos)
    return '"' + text + '"';
  return text;
}

}  // namespace

void InitCommandLine(int argc, char** argv)
{
  Arguments().clear();
  ArgvZero() = argc > 0 && argv[0] ? argv[0] : "";
  for (int i = 1; i < argc; ++i)
    Arguments().push_back(argv[i] ? argv[i] : "");
}

AnsiString BuildCommandLine(const AnsiString& program, const std::vector<AnsiString>& arguments)
{
  AnsiString line = Quoted(program);
  for (const AnsiString& argument : arguments) {
    const bool relativeFile = !argument.empty() && argument[0] != '/' && FileExists(argument);
    line += ' ';
    line += Quoted(relativeFile ? Absolute(argument) : argument);
  }
  return line;
}

AnsiString GetCommandLine()
{
  return BuildCommandLine(ExeName(), Arguments());
}

AnsiString ExeName()
{
  static const AnsiString cached = [] {
    std::vector<char> buffer(PATH_MAX);
    for (;;) {
      const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
      if (n < 0)
        break;
      if (static_cast<size_t>(n) < buffer.size())
        return AnsiString(buffer.data(), static_cast<size_t>(n));
      buffer.resize(buffer.size() * 2);
    }
    // No /proc: the best we have is argv[0] (absolute when it holds a folder part).
    const AnsiString& zero = ArgvZero();
    return zero.find('/') != AnsiString::npos ? Absolute(zero) : zero;
  }();
  return cached;
}
