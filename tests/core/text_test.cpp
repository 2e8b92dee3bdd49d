// 8-bit texts: positions, trimming, case, comparison and the code pages.
#include <gtest/gtest.h>

#include <climits>
#include <iconv.h>
#include <locale.h>
#include <optional>
#include <set>
#include <string_view>
#include <utility>
#include <wctype.h>

#include "CodePage.h"
#include "System.h"
#include "TextUtils.h"
#include "support/EnvScope.h"

namespace {

const AnsiString Nul("a\0b", 3);

// One-based positions, clamped as the class library clamps them; a NUL ends nothing; Trim takes
// bytes up to 32 only (Cyrillic letters and other high bytes are signed chars and must stay).
TEST(Strings, PositionsCopiesAndTrims)
{
  const std::pair<int, int> positions[] = {{Pos("b", "abcb"), 2},   {Pos("x", "abc"), 0}, {Pos("", "abc"), 0},
                                           {Pos("abcd", "abc"), 0}, {Pos("b", Nul), 3},   {CStrLen(Nul), 1}};
  for (const auto& [got, expected] : positions)
    EXPECT_EQ(got, expected);
  std::string parts;
  for (auto [index, count] :
       {std::pair{4, 3}, {5, 10}, {7, 1}, {0, 2}, {-5, 2}, {2, -1}, {3, INT_MAX}, {INT_MAX, INT_MAX}})
    parts += "[" + Copy("abcdef", index, count) + "]";
  EXPECT_EQ(parts + Copy(Nul, 2, 2), "[def][ef][][ab][ab][][cdef][]" + AnsiString("\0b", 2));
  const AnsiString blanks("\0\t\r\n \x1F", 6);
  EXPECT_EQ(Trim(blanks + "a b" + blanks) + "|" + TrimLeft(blanks + "a" + blanks) + "|" +
                TrimRight(blanks + "a" + blanks),
            "a b|a" + blanks + "|" + blanks + "a");
  EXPECT_EQ(Trim(" \xC0\xFF \xE0\x80\xA0\x7F "), "\xC0\xFF \xE0\x80\xA0\x7F");
}

// Case mapping is ASCII only (high bytes and the neighbours of the letters stay); comparison
// folds case and puts a prefix first.
TEST(Strings, CaseMappingAndComparison)
{
  EXPECT_EQ(UpperCase("Logs.txt\xE0\xFC@[`{") + LowerCase(".JPEG\xC0\xDC@[`{"),
            "LOGS.TXT\xE0\xFC@[`{.jpeg\xC0\xDC@[`{");
  EXPECT_EQ(UpperCase(Nul), AnsiString("A\0B", 3));
  EXPECT_EQ(AnsiCompareText("P0100", "p0100"), 0);
  EXPECT_LT(AnsiCompareText("ab", "AB1"), 0);
  EXPECT_GT(AnsiCompareText("AB1", "ab"), 0);
  EXPECT_FALSE(AnsiSameText(Nul, "a"));
  EXPECT_FALSE(AnsiSameText("\xC0", "\xE0\xE0"));
}

TEST(AnsiCompareText, FoldingAndOrderAgreeWithTheCLibrary)
{
  locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
  if (utf8 == static_cast<locale_t>(0))
    GTEST_SKIP() << "no C.UTF-8 locale";
  for (const char* name : {"ru_RU.UTF-8", "de_DE.UTF-8"}) {
    EnvScope scope("LC_ALL", name);
    const int codePage = GetACP();
    std::string mismatches;
    for (int x = 0; x < 256; ++x) {
      for (int y = 0; y < 256; ++y) {
        const wint_t fx = towlower_l(AnsiCharToUnicode(x, codePage), utf8);
        const wint_t fy = towlower_l(AnsiCharToUnicode(y, codePage), utf8);
        const int order = AnsiCompareText(AnsiString(1, char(x)), AnsiString(1, char(y)));
        if ((order < 0) != (fx < fy) || (order == 0) != (fx == fy))
          mismatches += " " + std::to_string(x) + "/" + std::to_string(y);
      }
    }
    EXPECT_EQ(mismatches, "") << "code page " << codePage;
  }
  freelocale(utf8);
}

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

// Malformed UTF-8: an overlong NUL, a surrogate, past U+10FFFF, cut short, a lead byte without
// its follower, Windows-1251 bytes.
TEST(CodePageTables, Utf8ToAnsiGivesTheFallbackForWhatDoesNotFit)
{
  std::string in1251, in1252;
  for (std::string_view utf8 : {"Датчик Ёё€", "Größe Ж€", "a\U0001F600b", "\xC0\x80", "\xED\xA0\x80",
                                "\xF4\x90\x80\x80", "ab\xD0", "\xD0x", "\xE0\xF2"}) {
    in1251 += Utf8ToAnsi(utf8, 1251) + "|";
    in1252 += Utf8ToAnsi(utf8, 1252, '_') + "|";
  }
  EXPECT_EQ(in1251, "\xC4\xE0\xF2\xF7\xE8\xEA \xA8\xB8\x88|Gr??e \xC6\x88|a?b|??|???|????|ab?|?x|??|");
  EXPECT_EQ(in1252, "______ __\x80|Gr\xF6\xDF\x65 _\x80|a_b|__|___|____|ab_|_x|__|");
  EXPECT_EQ(Utf8ToAnsi(std::string_view("a\0b", 3), 1251), AnsiString("a\0b", 3));
  std::string utf8;
  for (const char* text : {"Датчик", "x \xF0\x9F\x98\x80", "plain ASCII", "", "\xC4\xE0\xF2\xF7\xE8\xEA",
                           "\xD0\x94\xE0", "\xC3\xA4\xC0\x80"})
    utf8 += IsUtf8WithHighBytes(text) ? '1' : '0';
  EXPECT_EQ(utf8, "1100000");
}

// A Russian locale (OEM 866, ANSI 1251) or any other (437, 1252); empty variables count as unset.
TEST(CodePageQueries, FollowLcAllThenLcCtypeThenLang)
{
  // {LC_ALL, LC_CTYPE, LANG, Russian}
  const std::tuple<const char*, const char*, const char*, bool> cases[] = {
      {nullptr, nullptr, nullptr, false},       {nullptr, nullptr, "ru_RU.UTF-8", true},
      {nullptr, "ru_UA.KOI8-U", "de_DE", true}, {nullptr, "C", "ru_RU.UTF-8", false},
      {"de_DE", "ru_RU.UTF-8", "ru_RU", false}, {"ru_RU.CP1251", "C", "en_US", true},
      {"ru", nullptr, nullptr, true},           {"", "", "ru_RU.UTF-8", true},
      {"rus", nullptr, nullptr, false},         {"en_RU.UTF-8", nullptr, nullptr, false}};
  for (const auto& [lcAll, lcCtype, lang, russian] : cases) {
    EnvScope all("LC_ALL", lcAll), ctype("LC_CTYPE", lcCtype), language("LANG", lang);
    auto show = [](const char* v) { return v ? std::string("\"") + v + "\"" : std::string("unset"); };
    EXPECT_EQ(GetOEMCP() * 10000 + GetACP(), russian ? 8661251 : 4371252)
        << "LC_ALL " + show(lcAll) + ", LC_CTYPE " + show(lcCtype) + ", LANG " + show(lang);
  }
}

}  // namespace
