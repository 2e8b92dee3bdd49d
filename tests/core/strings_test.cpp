#include <gtest/gtest.h>

#include <climits>
#include <locale.h>
#include <wctype.h>

#include "CodePage.h"
#include "System.h"
#include "TextUtils.h"
#include "support/EnvScope.h"

namespace {

const AnsiString kNul("a\0b", 3);

// One-based positions, clamped as the class library clamps them; a NUL ends nothing.
TEST(Pos, CopyAndCStrLenCountFromOneAndClamp)
{
  const std::pair<int, int> positions[] = {{Pos("b", "abcb"), 2}, {Pos("abc", "abc"), 1},  {Pos("x", "abc"), 0},
                                           {Pos("", "abc"), 0},   {Pos("abcd", "abc"), 0}, {Pos("b", kNul), 3},
                                           {CStrLen(kNul), 1},    {CStrLen(""), 0}};
  for (const auto& [got, expected] : positions)
    EXPECT_EQ(got, expected);
  struct Case {
    int index, count;
    const char* part;
  };
  const Case cases[] = {{4, 3, "def"}, {5, 10, "ef"}, {7, 1, ""},           {0, 2, "ab"},
                        {-5, 2, "ab"}, {2, -1, ""},   {3, INT_MAX, "cdef"}, {INT_MAX, INT_MAX, ""}};
  for (const Case& c : cases)
    EXPECT_EQ(Copy("abcdef", c.index, c.count), c.part) << c.index << " " << c.count;
  EXPECT_EQ(Copy(kNul, 2, 2), AnsiString("\0b", 2));
}

// Bytes up to 32 go; Cyrillic letters and other high bytes are signed chars and must stay.
TEST(Trim, RemovesOnlyBytesUpTo32)
{
  const AnsiString blanks("\0\t\r\n \x1F", 6);
  EXPECT_EQ(Trim(blanks + "a b" + blanks), "a b");
  EXPECT_EQ(TrimLeft(blanks + "a b" + blanks), "a b" + blanks);
  EXPECT_EQ(TrimRight(blanks + "a b" + blanks), blanks + "a b");
  EXPECT_EQ(Trim(blanks), "");
  EXPECT_EQ(Trim(" \xC0\xFF \xE0\x80\xA0\x7F "), "\xC0\xFF \xE0\x80\xA0\x7F");
}

TEST(CaseMapping, AsciiOnly)
{
  EXPECT_EQ(UpperCase("Logs.txt"), "LOGS.TXT");
  EXPECT_EQ(LowerCase(".JPEG"), ".jpeg");
  EXPECT_EQ(UpperCase("\xE0\xFC@[`{"), "\xE0\xFC@[`{");  // high bytes and neighbours of the letters
  EXPECT_EQ(LowerCase("\xC0\xDC@[`{"), "\xC0\xDC@[`{");
  EXPECT_EQ(UpperCase(kNul), AnsiString("A\0B", 3));
}

TEST(AnsiCompareText, ComparesWholeTextsIgnoringCase)
{
  EXPECT_EQ(AnsiCompareText("P0100", "p0100"), 0);
  EXPECT_LT(AnsiCompareText("abc", "ABD"), 0);
  EXPECT_LT(AnsiCompareText("ab", "AB1"), 0);  // a prefix comes first
  EXPECT_GT(AnsiCompareText("AB1", "ab"), 0);
  EXPECT_FALSE(AnsiSameText("a", "a "));
  EXPECT_FALSE(AnsiSameText(kNul, "a"));
  EXPECT_FALSE(AnsiSameText("\xC0", "\xE0\xE0"));
}

// The folding and order of every pair of bytes agree with the C library's lower-case mapping of
// the code page's characters, for a Cyrillic and a Western code page.
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

}  // namespace
