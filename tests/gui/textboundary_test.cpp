#include <gtest/gtest.h>

#include <string>

#include "TextBoundary.h"

namespace {

// Restores the display code page after each test.
class TextBoundaryTest : public ::testing::Test {
protected:
  void TearDown() override { SetDisplayCodePage(1251); }
};

const std::string kPrivet1251 = "\xCF\xF0\xE8\xE2\xE5\xF2";  // "Привет" in Windows-1251
const std::string kUeber1252 = "\xDC" "ber";                // "Über" in Windows-1252
const std::string kUeberUtf8 = "\xC3\x9C" "ber";            // "Über" in UTF-8

TEST_F(TextBoundaryTest, CyrillicBytesShowInCodePage1251)
{
  SetDisplayCodePage(1251);
  EXPECT_EQ(ToQString(kPrivet1251), QString::fromUtf8("Привет"));
}

TEST_F(TextBoundaryTest, GermanBytesFollowTheInterfaceLanguage)
{
  SetDisplayCodePage(1252);
  EXPECT_EQ(ToQString(kUeber1252), QString::fromUtf8("Über"));
  // The same byte under a Russian or English interface is the Cyrillic soft sign.
  SetDisplayCodePage(1251);
  EXPECT_EQ(ToQString(kUeber1252), QString::fromUtf8("Ьber"));
}

TEST_F(TextBoundaryTest, Utf8TextShowsAsUtf8WhateverTheCodePage)
{
  for (int codePage : {1251, 1252}) {
    SetDisplayCodePage(codePage);
    EXPECT_EQ(ToQString(kUeberUtf8), QString::fromUtf8("Über")) << codePage;
    EXPECT_EQ(ToQString("/home/\xD0\x9E\xD1\x82\xD1\x87\xD1\x91\xD1\x82.qel"),
              QString::fromUtf8("/home/Отчёт.qel"))
        << codePage;
  }
}

TEST_F(TextBoundaryTest, BytesThatOnlyLookLikeUtf8InPartAreCodePageText)
{
  // A valid pair followed by a lone high byte is not UTF-8 as a whole.
  SetDisplayCodePage(1252);
  EXPECT_EQ(ToQString("\xC3\x9C\xFC"), QString::fromUtf8("Ãœü"));
}

TEST_F(TextBoundaryTest, ControlCodePageOverridesTheDisplay)
{
  SetDisplayCodePage(1251);
  EXPECT_EQ(ToQString(kUeber1252, 1252), QString::fromUtf8("Über"));
  EXPECT_EQ(FromQString(QString::fromUtf8("Über"), 1252), kUeber1252);
}

TEST_F(TextBoundaryTest, TypedTextIsEncodedWithQuestionMarksForMissingCharacters)
{
  SetDisplayCodePage(1251);
  EXPECT_EQ(FromQString(QString::fromUtf8("Привет")), kPrivet1251);
  EXPECT_EQ(FromQString(QString::fromUtf8("Straße")), "Stra?e");  // 1251 has no ß
  EXPECT_EQ(FromQString(QString::fromUtf8("Straße"), 1252), "Stra\xDF" "e");
  // A character outside the basic plane is one character, hence one "?".
  EXPECT_EQ(FromQString(QString::fromUtf8("a\xF0\x9F\x98\x80z")), "a?z");
  // A lone surrogate cannot be encoded either.
  QString lone = QStringLiteral("x");
  lone.append(QChar(0xD800));
  EXPECT_EQ(FromQString(lone), "x?");
}

TEST_F(TextBoundaryTest, EveryByteSurvivesDisplayAndReadBack)
{
  std::string all;
  for (int b = 1; b < 256; ++b)
    all.push_back(static_cast<char>(b));
  for (int codePage : {1251, 1252}) {
    SetDisplayCodePage(codePage);
    EXPECT_EQ(FromQString(ToQString(all)), all) << codePage;
  }
}

TEST_F(TextBoundaryTest, FileNamesKeepTheFileSystemsBytes)
{
  const AnsiString name = "/tmp/\xD0\x9E\xD1\x82\xD1\x87\xD1\x91\xD1\x82 1.qel";  // UTF-8 on disk
  SetDisplayCodePage(1251);
  EXPECT_EQ(FileNameToQString(name), QString::fromUtf8("/tmp/Отчёт 1.qel"));
  EXPECT_EQ(QStringToFileName(FileNameToQString(name)), name);
  // A name picked in a dialog comes back as the file system's bytes, not as code-page text.
  EXPECT_EQ(QStringToFileName(QString::fromUtf8("/tmp/Über")), "/tmp/" + kUeberUtf8);
}

}  // namespace
