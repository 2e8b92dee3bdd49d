// The parser's small text operations on keys and value words.
#include <utility>

#include "Numbers.h"
#include "app/Qelunit.h"

int BQELunit::FrameTimeStep(std::string_view text) const
{
  if (text.size() < 8)
    return TextLinePeriod;
  for (size_t i = 0; i < 8; ++i)
    if (text[i] == ' ')
      return TextLinePeriod;
  return FramePeriod;
}

AnsiString BQELunit::CutHead(AnsiString& text, int n)
{
  if (n <= 0)
    return AnsiString();
  if (static_cast<size_t>(n) >= text.size())
    return std::exchange(text, AnsiString());
  AnsiString head = text.substr(0, static_cast<size_t>(n));
  text.erase(0, static_cast<size_t>(n));
  return head;
}

AnsiString BQELunit::CutWord(AnsiString& text)
{
  const size_t blank = text.find(' ');
  if (blank == AnsiString::npos)
    return std::exchange(text, AnsiString());
  AnsiString word = text.substr(0, blank);
  text.erase(0, blank + 1);
  return word;
}

AnsiString BQELunit::CleanNumber(const AnsiString& text)
{
  const char separator = DecimalSeparator;
  AnsiString clean;
  clean.reserve(text.size());
  for (char c : text) {
    if (c == '.' || c == ',')
      c = separator;
    if ((c >= '0' && c <= '9') || c == '-' || c == separator)
      clean.push_back(c);
  }
  return clean;
}
