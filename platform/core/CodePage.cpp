#include "CodePage.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace {

// Code points of bytes 0x80..0xFF. Bytes the code page leaves undefined keep the C1 code point
// of the same value, so every byte survives a round trip.
constexpr char32_t Cp1252High[128] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98
    0x00A0, 0x00A1, 0x00A2, 0x00A3, 0x00A4, 0x00A5, 0x00A6, 0x00A7,  // A0: Latin-1 from here on
    0x00A8, 0x00A9, 0x00AA, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x00AF, 0x00B0, 0x00B1, 0x00B2, 0x00B3, 0x00B4,
    0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x00B9, 0x00BA, 0x00BB, 0x00BC, 0x00BD, 0x00BE, 0x00BF, 0x00C0, 0x00C1,
    0x00C2, 0x00C3, 0x00C4, 0x00C5, 0x00C6, 0x00C7, 0x00C8, 0x00C9, 0x00CA, 0x00CB, 0x00CC, 0x00CD, 0x00CE,
    0x00CF, 0x00D0, 0x00D1, 0x00D2, 0x00D3, 0x00D4, 0x00D5, 0x00D6, 0x00D7, 0x00D8, 0x00D9, 0x00DA, 0x00DB,
    0x00DC, 0x00DD, 0x00DE, 0x00DF, 0x00E0, 0x00E1, 0x00E2, 0x00E3, 0x00E4, 0x00E5, 0x00E6, 0x00E7, 0x00E8,
    0x00E9, 0x00EA, 0x00EB, 0x00EC, 0x00ED, 0x00EE, 0x00EF, 0x00F0, 0x00F1, 0x00F2, 0x00F3, 0x00F4, 0x00F5,
    0x00F6, 0x00F7, 0x00F8, 0x00F9, 0x00FA, 0x00FB, 0x00FC, 0x00FD, 0x00FE, 0x00FF,
};

constexpr char32_t Cp1251High[128] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,  // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,  // 98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,  // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,  // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,  // B8
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,  // C0: А..я in order
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F, 0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425,
    0x0426, 0x0427, 0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F, 0x0430, 0x0431, 0x0432, 0x0433,
    0x0434, 0x0435, 0x0436, 0x0437, 0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F, 0x0440, 0x0441,
    0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447, 0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,
};

const char32_t* HighTable(int codePage)
{
  return codePage == 1251 ? Cp1251High : Cp1252High;
}

// Code point -> byte for the upper half, sorted by code point for a binary search.
using ReverseTable = std::array<std::pair<char32_t, unsigned char>, 128>;

ReverseTable BuildReverse(const char32_t* high)
{
  ReverseTable table{};
  for (int i = 0; i < 128; ++i)
    table[i] = {high[i], static_cast<unsigned char>(0x80 + i)};
  std::sort(table.begin(), table.end());
  return table;
}

const ReverseTable& Reverse(int codePage)
{
  static const ReverseTable Cp1251 = BuildReverse(Cp1251High);
  static const ReverseTable Cp1252 = BuildReverse(Cp1252High);
  return codePage == 1251 ? Cp1251 : Cp1252;
}

// The locale name that decides the character set, as the C library picks it.
const char* LocaleName()
{
  for (const char* var : {"LC_ALL", "LC_CTYPE", "LANG"}) {
    const char* value = std::getenv(var);
    if (value && *value)
      return value;
  }
  return "";
}

bool IsRussianLocale()
{
  const char* name = LocaleName();
  return name[0] == 'r' && name[1] == 'u' &&
         (name[2] == '\0' || name[2] == '_' || name[2] == '.' || name[2] == '@');
}

// Decodes one UTF-8 sequence at text[i]; returns its length, or 0 when it is malformed
// (overlong forms, surrogates and values past U+10FFFF included).
size_t DecodeUtf8(std::string_view text, size_t i, char32_t& cp)
{
  const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
  unsigned char lead = byte(i);
  size_t length;
  char32_t min;
  if (lead < 0x80) {
    cp = lead;
    return 1;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, min = 0x80, cp = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, min = 0x800, cp = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, min = 0x10000, cp = lead & 0x07;
  } else {
    return 0;
  }
  if (text.size() - i < length)
    return 0;
  for (size_t k = 1; k < length; ++k) {
    unsigned char next = byte(i + k);
    if ((next & 0xC0) != 0x80)
      return 0;
    cp = (cp << 6) | (next & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
    return 0;
  return length;
}

}  // namespace

int GetOEMCP()
{
  return IsRussianLocale() ? 866 : 437;
}

int GetACP()
{
  return IsRussianLocale() ? 1251 : 1252;
}

char32_t AnsiCharToUnicode(unsigned char byte, int codePage)
{
  return byte < 0x80 ? byte : HighTable(codePage)[byte - 0x80];
}

char UnicodeToAnsiChar(char32_t cp, int codePage, char fallback)
{
  if (cp < 0x80)
    return static_cast<char>(cp);
  const ReverseTable& table = Reverse(codePage);
  auto it = std::lower_bound(table.begin(), table.end(), std::make_pair(cp, static_cast<unsigned char>(0)));
  if (it != table.end() && it->first == cp)
    return static_cast<char>(it->second);
  return fallback;
}

std::u32string AnsiToUtf32(std::string_view text, int codePage)
{
  std::u32string result;
  result.reserve(text.size());
  for (char c : text)
    result.push_back(AnsiCharToUnicode(static_cast<unsigned char>(c), codePage));
  return result;
}

AnsiString Utf32ToAnsi(std::u32string_view text, int codePage, char fallback)
{
  AnsiString result;
  result.reserve(text.size());
  for (char32_t cp : text)
    result.push_back(UnicodeToAnsiChar(cp, codePage, fallback));
  return result;
}

AnsiString Utf8ToAnsi(std::string_view utf8, int codePage, char fallback)
{
  AnsiString result;
  result.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    char32_t cp;
    size_t length = DecodeUtf8(utf8, i, cp);
    if (length == 0) {
      // A malformed byte stands for one character the code page cannot hold.
      result.push_back(fallback);
      ++i;
    } else {
      result.push_back(UnicodeToAnsiChar(cp, codePage, fallback));
      i += length;
    }
  }
  return result;
}

bool IsUtf8WithHighBytes(std::string_view text)
{
  bool high = false;
  for (size_t i = 0; i < text.size();) {
    char32_t cp;
    size_t length = DecodeUtf8(text, i, cp);
    if (length == 0)
      return false;
    high = high || length > 1;
    i += length;
  }
  return high;
}
