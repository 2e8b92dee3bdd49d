#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <locale.h>
#include <wctype.h>

#include "CodePage.h"
#include "support/EnvScope.h"

#include "System.h"
#include "TextUtils.h"

namespace {

const AnsiString kNul("a\0b", 3);

// One-based positions, clamped as the class library clamps them; a NUL ends nothing.
TEST(Pos, CopyAndCStrLenCountFromOneAndClamp)
{
  const std::pair<int, int> positions[] = {{Pos("b", "abcb"), 2},   {Pos("abc", "abc"), 1},
                                           {Pos("x", "abc"), 0},    {Pos("", "abc"), 0},
                                           {Pos("abcd", "abc"), 0}, {Pos("B", "abc"), 0},
                                           {Pos("b", kNul), 3},     {CStrLen("abc"), 3},
                                           {CStrLen(kNul), 1},      {CStrLen(AnsiString("\0", 1)), 0},
                                           {CStrLen(""), 0}};
  for (const auto& [got, expected] : positions)
    EXPECT_EQ(got, expected);
  struct Case {
    int index, count;
    const char* part;
  };
  const Case cases[] = {{1, 3, "abc"}, {4, 3, "def"},        {5, 10, "ef"},         {7, 1, ""},
                        {100, 1, ""},  {0, 2, "ab"},         {-5, 2, "ab"},         {2, 0, ""},
                        {2, -1, ""},   {3, INT_MAX, "cdef"}, {INT_MAX, INT_MAX, ""}};
  for (const Case& c : cases)
    EXPECT_EQ(Copy("abcdef", c.index, c.count), c.part) << c.index << " " << c.count;
  EXPECT_EQ(Copy("", 1, 1), "");
  EXPECT_EQ(Copy(kNul, 2, 2), AnsiString("\0b", 2));
}

TEST(Trim, RemovesOnlyBytesUpTo32)
{
  const AnsiString blanks("\0\t\r\n \x1F", 6);
  EXPECT_EQ(Trim(blanks + "a b" + blanks), "a b");
  EXPECT_EQ(TrimLeft(blanks + "a b" + blanks), "a b" + blanks);
  EXPECT_EQ(TrimRight(blanks + "a b" + blanks), blanks + "a b");
  EXPECT_EQ(Trim(blanks), "");
  EXPECT_EQ(Trim(""), "");
  // Cyrillic letters (0xC0..0xFF) and other high bytes are signed chars: they must stay.
  const AnsiString cyrillic = "\xC0\xFF \xE0\x80\xA0";
  EXPECT_EQ(Trim(cyrillic), cyrillic);
  EXPECT_EQ(Trim(" \xFF "), "\xFF");
  EXPECT_EQ(Trim("\x7F"), "\x7F");
}

TEST(CaseMapping, AsciiOnly)
{
  EXPECT_EQ(UpperCase("Logs.txt"), "LOGS.TXT");
  EXPECT_EQ(LowerCase(".JPEG"), ".jpeg");
  EXPECT_EQ(UpperCase("\xE0\xFC@[`{"), "\xE0\xFC@[`{");  // high bytes and neighbours of the letters
  EXPECT_EQ(LowerCase("\xC0\xDC@[`{"), "\xC0\xDC@[`{");
  EXPECT_EQ(UpperCase(kNul), AnsiString("A\0B", 3));
}

TEST(AnsiCompareText, IgnoresAsciiCase)
{
  EXPECT_EQ(AnsiCompareText("P0100", "p0100"), 0);
  EXPECT_LT(AnsiCompareText("abc", "ABD"), 0);
  EXPECT_GT(AnsiCompareText("b", "A"), 0);
  EXPECT_LT(AnsiCompareText("ab", "AB1"), 0);  // a prefix comes first
  EXPECT_LT(AnsiCompareText("a_", "ab"), 0);   // punctuation before letters, as case-folded lower
  EXPECT_TRUE(AnsiSameText("Verdana", "VERDANA"));
  EXPECT_FALSE(AnsiSameText("a", "a "));
  EXPECT_FALSE(AnsiSameText(kNul, "a"));
}

TEST(AnsiCompareText, FoldsTheLettersOfTheAnsiCodePage)
{
  {
    EnvScope russian("LC_ALL", "ru_RU.UTF-8");
    EXPECT_TRUE(AnsiSameText("\xC4\xE0\xF2\xF7\xE8\xEA", "\xE4\xC0\xD2\xD7\xC8\xCA"));  // "Датчик" in both cases
    EXPECT_TRUE(AnsiSameText("\xA8", "\xB8"));                                          // Ё, ё
    EXPECT_LT(AnsiCompareText("\xC0", "\xE1"), 0);                                      // А < б
    EXPECT_LT(AnsiCompareText("z", "\xC0"), 0);                                         // Latin before Cyrillic
    EXPECT_FALSE(AnsiSameText("\xC0", "\xE0\xE0"));
  }
  {
    EnvScope german("LC_ALL", "de_DE.UTF-8");
    EXPECT_TRUE(AnsiSameText("\xC4nderung", "\xE4NDERUNG"));  // Ä, ä
    EXPECT_TRUE(AnsiSameText("\x8A", "\x9A"));                // Š, š
    EXPECT_TRUE(AnsiSameText("\x9F", "\xFF"));                // Ÿ, ÿ
    EXPECT_FALSE(AnsiSameText("\xD7", "\xF7"));               // × and ÷ are no letter pair
    EXPECT_FALSE(AnsiSameText("\xC0", "\xE1"));
  }
}

// The hand-written folding must agree with the C library's case mapping on every pair of bytes.
TEST(AnsiCompareText, FoldingAgreesWithTheCLibrary)
{
  locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
  if (utf8 == static_cast<locale_t>(0))
    GTEST_SKIP() << "no C.UTF-8 locale";
  for (const char* name : {"ru_RU.UTF-8", "en_US.UTF-8"}) {
    EnvScope scope("LC_ALL", name);
    const int codePage = GetACP();
    std::string mismatches;
    for (int x = 0; x < 256; ++x) {
      for (int y = 0; y < 256; ++y) {
        bool same =
            towlower_l(AnsiCharToUnicode(x, codePage), utf8) == towlower_l(AnsiCharToUnicode(y, codePage), utf8);
        if (AnsiSameText(AnsiString(1, char(x)), AnsiString(1, char(y))) != same)
          mismatches += " " + std::to_string(x) + "/" + std::to_string(y);
      }
    }
    EXPECT_EQ(mismatches, "") << "code page " << codePage;
  }
  freelocale(utf8);
}

}  // namespace
