#include <gtest/gtest.h>

#include <string>

#include "TextBoundary.h"

namespace {

// Code-page text follows the display code page (0xDC is Ü in 1252 and the soft sign in 1251), a
// control's own code page overrides it, UTF-8 shows as UTF-8 whatever the code page, and bytes
// that are UTF-8 only in part are code-page text. Typed text gets a "?" for each character the
// code page lacks (one for a character outside the basic plane, one for a lone surrogate).
TEST(TextBoundary, BytesShowByTheDisplayCodePageUnlessTheyAreUtf8)
{
  struct Case {
    std::string bytes;
    int display, own;
    const char* shown;
  };
  const Case cases[] = {{"\xCF\xF0\xE8\xE2\xE5\xF2", 1251, 0, "Привет"},
                        {"\xDC\x62\x65r", 1252, 0, "Über"},
                        {"\xDC\x62\x65r", 1251, 0, "Ьber"},
                        {"\xDC\x62\x65r", 1251, 1252, "Über"},
                        {"\xC3\x9C\x62\x65r", 1251, 0, "Über"},
                        {"\xC3\x9C\x62\x65r", 1252, 1251, "Über"},
                        {"/home/\xD0\x9E\xD1\x82.qel", 1251, 0, "/home/От.qel"},
                        {"\xC3\x9C\xFC", 1252, 0, "Ãœü"}};
  for (const Case& c : cases) {
    SetDisplayCodePage(c.display);
    EXPECT_EQ(ToQString(c.bytes, c.own), QString::fromUtf8(c.shown)) << c.shown << " " << c.display;
  }
  SetDisplayCodePage(1251);
  EXPECT_EQ(FromQString(QString::fromUtf8("Привет")), "\xCF\xF0\xE8\xE2\xE5\xF2");
  EXPECT_EQ(FromQString(QString::fromUtf8("Straße")), "Stra?e");
  EXPECT_EQ(FromQString(QString::fromUtf8("Straße"), 1252), "Stra\xDF\x65");
  EXPECT_EQ(FromQString(QString::fromUtf8("a\xF0\x9F\x98\x80z")), "a?z");
  EXPECT_EQ(FromQString(QStringLiteral("x") + QChar(0xD800)), "x?");
}

// Every byte survives display and read-back; a file name picked in a dialog comes back as the
// file system's bytes, not as code-page text.
TEST(TextBoundary, EveryByteAndEveryFileNameSurvivesTheRoundTrip)
{
  std::string all;
  for (int b = 1; b < 256; ++b)
    all.push_back(static_cast<char>(b));
  for (int codePage : {1252, 1251}) {
    SetDisplayCodePage(codePage);
    EXPECT_EQ(FromQString(ToQString(all)), all) << codePage;
  }
  const AnsiString name = "/tmp/\xD0\x9E\xD1\x82\xD1\x87\xD1\x91\xD1\x82 1.qel";  // UTF-8 on disk
  EXPECT_EQ(FileNameToQString(name), QString::fromUtf8("/tmp/Отчёт 1.qel"));
  EXPECT_EQ(QStringToFileName(FileNameToQString(name)), name);
  EXPECT_EQ(QStringToFileName(QString::fromUtf8("/tmp/Über")), "/tmp/\xC3\x9C\x62\x65r");
}

}  // namespace
