#include "TextUtils.h"

#include <algorithm>

#include "CodePage.h"

namespace {

bool IsBlank(char c)
{
  return static_cast<unsigned char>(c) <= 32;
}

char AsciiLower(char c)
{
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}

// Lower case of every capital letter that code pages 1251 and 1252 hold.
char32_t FoldCase(char32_t cp)
{
  if (cp < 0x80)
    return static_cast<char32_t>(AsciiLower(static_cast<char>(cp)));
  if ((cp >= 0xC0 && cp <= 0xDE && cp != 0xD7) || (cp >= 0x410 && cp <= 0x42F))
    return cp + 0x20;  // Latin-1 capitals; Cyrillic А..Я
  if (cp >= 0x400 && cp <= 0x40F)
    return cp + 0x50;  // Ё, Ђ, Є, Ї, Ў, ...
  switch (cp) {
  case 0x0152:
  case 0x0160:
  case 0x017D:
  case 0x0490:  // Œ Š Ž Ґ
    return cp + 1;
  case 0x0178:  // Ÿ
    return 0xFF;
  default: return cp;
  }
}

}  // namespace

AnsiString TrimLeft(const AnsiString& s)
{
  size_t first = 0;
  while (first < s.size() && IsBlank(s[first]))
    ++first;
  return s.substr(first);
}

AnsiString TrimRight(const AnsiString& s)
{
  size_t end = s.size();
  while (end > 0 && IsBlank(s[end - 1]))
    --end;
  return s.substr(0, end);
}

AnsiString Trim(const AnsiString& s)
{
  return TrimLeft(TrimRight(s));
}

AnsiString UpperCase(const AnsiString& s)
{
  AnsiString result = s;
  for (char& c : result)
    if (c >= 'a' && c <= 'z')
      c = static_cast<char>(c - ('a' - 'A'));
  return result;
}

AnsiString LowerCase(const AnsiString& s)
{
  AnsiString result = s;
  for (char& c : result)
    c = AsciiLower(c);
  return result;
}

int AnsiCompareText(std::string_view a, std::string_view b)
{
  int codePage = 0;  // looked up only when a byte of the upper half differs
  size_t common = std::min(a.size(), b.size());
  for (size_t i = 0; i < common; ++i) {
    auto x = static_cast<unsigned char>(a[i]);
    auto y = static_cast<unsigned char>(b[i]);
    if (x == y)
      continue;
    char32_t fx, fy;
    if (x < 0x80 && y < 0x80) {
      fx = FoldCase(x);
      fy = FoldCase(y);
    } else {
      if (codePage == 0)
        codePage = GetACP();
      fx = FoldCase(AnsiCharToUnicode(x, codePage));
      fy = FoldCase(AnsiCharToUnicode(y, codePage));
    }
    if (fx != fy)
      return fx < fy ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool AnsiSameText(std::string_view a, std::string_view b)
{
  return a.size() == b.size() && AnsiCompareText(a, b) == 0;
}

AnsiString PadString(const AnsiString& text, char fill, int width, bool right)
{
  if (width <= 0)
    return AnsiString();
  const size_t target = static_cast<size_t>(width);
  if (text.size() >= target)
    return text.substr(0, target);
  // Sized in one step: the result's length counts every fill byte, a NUL as well.
  const AnsiString padding(target - text.size(), fill);
  return right ? text + padding : padding + text;
}
