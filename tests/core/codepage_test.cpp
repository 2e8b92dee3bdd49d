#include <gtest/gtest.h>

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

// Every byte decodes as iconv decodes it, an undefined one to its own value, and back.
TEST(CodePageTables, AgreeWithIconvAndEveryByteRoundTrips)
{
  for (auto [codePage, charset] : {std::pair{1251, "CP1251"}, std::pair{1252, "CP1252"}}) {
    ASSERT_TRUE(IconvDecode(charset, 'A')) << "iconv lacks " << charset;
    int undefined = 0;
    AnsiString all;
    for (int byte = 0; byte < 256; ++byte) {
      all.push_back(static_cast<char>(byte));
      const std::optional<char32_t> theirs = IconvDecode(charset, static_cast<unsigned char>(byte));
      undefined += !theirs;
      EXPECT_EQ(AnsiCharToUnicode(static_cast<unsigned char>(byte), codePage), theirs.value_or(byte))
          << charset << " byte " << byte;
    }
    EXPECT_EQ(undefined, codePage == 1251 ? 1 : 5) << charset;
    const std::u32string wide = AnsiToUtf32(all, codePage);
    EXPECT_EQ(std::set<char32_t>(wide.begin(), wide.end()).size(), 256u) << codePage;
    EXPECT_EQ(Utf32ToAnsi(wide, codePage), all) << codePage;
  }
  EXPECT_EQ(AnsiCharToUnicode(0xC0, 866), AnsiCharToUnicode(0xC0, 1252));  // others act as 1252
}

// A character the code page lacks, and each byte of malformed UTF-8, becomes the fallback.
TEST(CodePageTables, Utf8ToAnsiGivesTheFallbackForWhatDoesNotFit)
{
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
      {"a\U0001F600b", 1251, "a?b"},
      {std::string_view("a\0b", 3), 1251, AnsiString("a\0b", 3)},
      {"\xC0\x80", 1252, "??"},            // overlong NUL
      {"\xED\xA0\x80", 1252, "???"},       // surrogate
      {"\xF4\x90\x80\x80", 1252, "????"},  // past U+10FFFF
      {"ab\xD0", 1251, "ab?"},             // cut short at the end
      {"\xD0x", 1251, "?x"},               // a lead byte without its follower
  };
  for (const Case& c : cases)
    EXPECT_EQ(Utf8ToAnsi(c.utf8, c.codePage), c.expected) << c.utf8;
  EXPECT_EQ(Utf8ToAnsi("\xE0\xF2", 1251, '_'), "__");  // Windows-1251 bytes given as UTF-8
  EXPECT_EQ(UnicodeToAnsiChar(U'\u00C4', 1251, '#'), '#');

  for (const char* yes : {"Датчик", "x \xF0\x9F\x98\x80"})
    EXPECT_TRUE(IsUtf8WithHighBytes(yes)) << yes;
  // ASCII, Windows-1251 "Датчик", a valid start with a broken end, valid then overlong
  for (const char* no : {"plain ASCII", "", "\xC4\xE0\xF2\xF7\xE8\xEA", "\xD0\x94\xE0", "\xC3\xA4\xC0\x80"})
    EXPECT_FALSE(IsUtf8WithHighBytes(no)) << no;
}

// A Russian locale (OEM 866, ANSI 1251) or any other (437, 1252); empty variables count as unset.
TEST(CodePageQueries, FollowLcAllThenLcCtypeThenLang)
{
  struct Case {
    const char *lcAll, *lcCtype, *lang;
    bool russian;
  };
  const Case cases[] = {{nullptr, nullptr, nullptr, false},       {nullptr, nullptr, "ru_RU.UTF-8", true},
                        {nullptr, "ru_UA.KOI8-U", "de_DE", true}, {nullptr, "C", "ru_RU.UTF-8", false},
                        {"de_DE", "ru_RU.UTF-8", "ru_RU", false}, {"ru_RU.CP1251", "C", "en_US", true},
                        {"ru", nullptr, nullptr, true},           {"", "", "ru_RU.UTF-8", true},
                        {"rus", nullptr, nullptr, false},         {"en_RU.UTF-8", nullptr, nullptr, false}};
  for (const Case& c : cases) {
    EnvScope all("LC_ALL", c.lcAll), ctype("LC_CTYPE", c.lcCtype), lang("LANG", c.lang);
    auto show = [](const char* v) { return v ? std::string("\"") + v + "\"" : std::string("unset"); };
    SCOPED_TRACE("LC_ALL " + show(c.lcAll) + ", LC_CTYPE " + show(c.lcCtype) + ", LANG " + show(c.lang));
    EXPECT_EQ(GetOEMCP(), c.russian ? 866 : 437);
    EXPECT_EQ(GetACP(), c.russian ? 1251 : 1252);
  }
}

}  // namespace
