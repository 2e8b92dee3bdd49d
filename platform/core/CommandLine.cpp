#include "CommandLine.h"

#include <climits>
#include <string>
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
    line += Quoted(relativeFile ? ExpandFileName(argument) : argument);
  }
  return line;
}

AnsiString GetCommandLine()
{
  return BuildCommandLine(ExeName(), Arguments());
}

AnsiString ExeName()
{
  static const AnsiString Cached = [] {
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
    return zero.find('/') != AnsiString::npos ? ExpandFileName(zero) : zero;
  }();
  return Cached;
}

std::vector<AnsiString> GetCommandLineArguments()
{
  std::vector<AnsiString> line{ExeName()};
  line.insert(line.end(), Arguments().begin(), Arguments().end());
  return line;
}

namespace {

// No command line starts with it: a program path never begins with a control character.
constexpr char PackedMark[] = "\x01"
                              "args\x01";

}  // namespace

AnsiString PackArguments(const std::vector<AnsiString>& arguments)
{
  AnsiString packed = PackedMark;
  for (const AnsiString& argument : arguments) {
    packed += std::to_string(argument.size());
    packed += ':';
    packed += argument;
  }
  return packed;
}

bool UnpackArguments(const AnsiString& text, std::vector<AnsiString>& arguments)
{
  const AnsiString mark = PackedMark;
  if (text.compare(0, mark.size(), mark) != 0)
    return false;
  std::vector<AnsiString> unpacked;
  for (size_t at = mark.size(); at < text.size();) {
    const size_t colon = text.find(':', at);
    if (colon == AnsiString::npos || colon == at || colon - at > 9 ||
        text.find_first_not_of("0123456789", at) != colon)
      return false;
    const size_t length = std::stoul(text.substr(at, colon - at));
    if (length > text.size() - colon - 1)
      return false;
    unpacked.push_back(text.substr(colon + 1, length));
    at = colon + 1 + length;
  }
  arguments = std::move(unpacked);
  return true;
}
