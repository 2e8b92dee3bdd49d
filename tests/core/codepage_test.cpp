#include <gtest/gtest.h>

#include <cerrno>
#include <iconv.h>
#include <optional>
#include <set>
#include <string_view>
#include <utility>

#include "CodePage.h"
#include "support/EnvScope.h"

namespace {

// The code point glibc's iconv gives one byte, or nothing when the code page leaves it undefined.
std::optional<char32_t> IconvDecode(const char* charset, unsigned char byte)
{
  iconv_t cd = iconv_open("UTF-32LE", charset);
  if (cd == reinterpret_cast<iconv_t>(-1))
    return std::nullopt;
  char in = static_cast<char>(byte);
  unsigned char out[8] = {};
  char* inPtr = &in;
  char* outPtr = reinterpret_cast<char*>(out);
  size_t inLeft = 1, outLeft = sizeof out;
  size_t result = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
  iconv_close(cd);
  if (result == static_cast<size_t>(-1) || outLeft != 4)
    return std::nullopt;
  return static_cast<char32_t>(out[0] | out[1] << 8 | out[2] << 16 | out[3] << 24);
}

TEST(CodePageTables, AgreeWithIconvAndKeepUndefinedBytes)
{
  for (auto [codePage, charset] : {std::pair{1251, "CP1251"}, std::pair{1252, "CP1252"}}) {
    ASSERT_TRUE(IconvDecode(charset, 'A')) << "iconv lacks " << charset;
    int undefined = 0;
    for (int byte = 0; byte < 256; ++byte) {
      char32_t ours = AnsiCharToUnicode(static_cast<unsigned char>(byte), codePage);
      if (auto theirs = IconvDecode(charset, static_cast<unsigned char>(byte))) {
        EXPECT_EQ(ours, *theirs) << charset << " byte " << byte;
      } else {
        ++undefined;
        EXPECT_EQ(ours, static_cast<char32_t>(byte)) << charset << " undefined byte " << byte;
      }
    }
    EXPECT_EQ(undefined, codePage == 1251 ? 1 : 5) << charset;
  }
}

// Every byte decodes to its own character and back; a character the code page lacks, and each
// byte of malformed UTF-8, becomes the fallback.
TEST(CodePageTables, AllBytesRoundTripAndMissingCharactersBecomeTheFallback)
{
  AnsiString all;
  for (int byte = 0; byte < 256; ++byte)
    all.push_back(static_cast<char>(byte));
  for (int codePage : {1251, 1252}) {
    std::u32string wide = AnsiToUtf32(all, codePage);
    EXPECT_EQ(std::set<char32_t>(wide.begin(), wide.end()).size(), 256u) << codePage;
    EXPECT_EQ(Utf32ToAnsi(wide, codePage), all) << codePage;
  }
  EXPECT_EQ(AnsiCharToUnicode(0xC0, 866), AnsiCharToUnicode(0xC0, 1252));  // others act as 1252
  EXPECT_EQ(UnicodeToAnsiChar(U'\u00C4', 1251, '#'), '#');                 // Ä is not in 1251
  EXPECT_EQ(Utf32ToAnsi(U"a\U0001F600b", 1251), "a?b");

  struct Case {
    std::string_view utf8;
    int codePage;
    AnsiString expected;
  };
  const Case cases[] = {
      {"Датчик Ёё", 1251, "\xC4\xE0\xF2\xF7\xE8\xEA \xA8\xB8"},
      {"Größe €", 1252,
       "Gr\xF6\xDF"
       "e \x80"},
      {"€", 1251, "\x88"},  // the same character at another byte
      {"Größe Ж", 1251, "Gr??e \xC6"},
      {"Ж", 1252, "?"},
      {std::string_view("a\0b", 3), 1251, AnsiString("a\0b", 3)},
      {"\xC0\x80", 1252, "??"},            // overlong NUL
      {"\xED\xA0\x80", 1252, "???"},       // surrogate
      {"\xF4\x90\x80\x80", 1252, "????"},  // past U+10FFFF
      {"ab\xD0", 1251, "ab?"},             // cut short at the end
      {"\xD0x", 1251, "?x"},               // a lead byte without its follower
      {"\xE0\xF2", 1251, "??"},            // Windows-1251 bytes given as UTF-8
  };
  for (const Case& c : cases)
    EXPECT_EQ(Utf8ToAnsi(c.utf8, c.codePage), c.expected) << c.utf8;
  EXPECT_EQ(Utf8ToAnsi("\xE0\xF2", 1251, '_'), "__");
}

TEST(IsUtf8WithHighBytes, OnlyValidUtf8BeyondAscii)
{
  for (const char* yes : {"Датчик", "x \xF0\x9F\x98\x80"})
    EXPECT_TRUE(IsUtf8WithHighBytes(yes)) << yes;
  // ASCII, Windows-1251 "Датчик", a valid start with a broken end, valid then overlong
  for (const char* no : {"plain ASCII", "", "\xC4\xE0\xF2\xF7\xE8\xEA", "\xD0\x94\xE0", "\xC3\xA4\xC0\x80"})
    EXPECT_FALSE(IsUtf8WithHighBytes(no)) << no;
}

struct LocaleCase {
  const char* lcAll;
  const char* lcCtype;
  const char* lang;
  int oem;
  int ansi;
};

TEST(CodePageQueries, FollowLcAllThenLcCtypeThenLang)
{
  const LocaleCase cases[] = {
      {nullptr, nullptr, nullptr, 437, 1252},
      {nullptr, nullptr, "ru_RU.UTF-8", 866, 1251},
      {nullptr, nullptr, "de_DE.UTF-8", 437, 1252},
      {nullptr, "ru_UA.KOI8-U", "de_DE.UTF-8", 866, 1251},
      {nullptr, "C", "ru_RU.UTF-8", 437, 1252},
      {"de_DE", "ru_RU.UTF-8", "ru_RU.UTF-8", 437, 1252},
      {"ru_RU.CP1251", "C", "en_US.UTF-8", 866, 1251},
      {"ru", nullptr, nullptr, 866, 1251},
      {"", "", "ru_RU.UTF-8", 866, 1251},  // empty variables count as unset
      {"rus", nullptr, nullptr, 437, 1252},
      {"en_RU.UTF-8", nullptr, nullptr, 437, 1252},
  };
  for (const LocaleCase& c : cases) {
    EnvScope all("LC_ALL", c.lcAll), ctype("LC_CTYPE", c.lcCtype), lang("LANG", c.lang);
    auto show = [](const char* v) { return v ? std::string("\"") + v + "\"" : std::string("unset"); };
    SCOPED_TRACE("LC_ALL " + show(c.lcAll) + ", LC_CTYPE " + show(c.lcCtype) + ", LANG " + show(c.lang));
    EXPECT_EQ(GetOEMCP(), c.oem);
    EXPECT_EQ(GetACP(), c.ansi);
  }
}

}  // namespace
