// The Help page's lines: counts and width per language, the headings' dashes, and the Russian
// text really in Windows-1251 bytes.
#include <gtest/gtest.h>

#include "CodePage.h"
#include "texts/HelpText.h"

namespace {

TEST(HelpText, EachLanguageHasItsLinesPaddedToOneWidthInCodePageBytes)
{
  const struct {
    int language;
    size_t lines;
  } cases[] = {{0, 116}, {1, 113}, {2, 113}, {5, 113}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.language);
    const std::vector<AnsiString>& lines = HelpTextLines(c.language);
    ASSERT_EQ(lines.size(), c.lines);
    AnsiString all;
    for (const AnsiString& line : lines) {
      EXPECT_EQ(line.size(), 107u) << line;
      EXPECT_EQ(line.find('?'), AnsiString::npos) << line;  // a letter the code page lacks
      all += line;
    }
    // The title is a heading: dashes to column 105, then the padding.
    EXPECT_EQ(lines[0].substr(102), "---  ");
    // Russian letters are single bytes of 0xC0 and above, never left as UTF-8.
    const bool cyrillic = all.find_first_of("\xC0\xE0\xEE\xF2") != AnsiString::npos;
    EXPECT_EQ(cyrillic, c.language == 0);
    EXPECT_FALSE(IsUtf8WithHighBytes(all));
  }
}

}  // namespace
