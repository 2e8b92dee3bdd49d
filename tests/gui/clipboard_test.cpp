#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <cstdlib>
#include <optional>
#include <string>

#include "Clipbrd.h"
#include "CodePage.h"
#include "support/GuiTest.h"

namespace {

// Sets the locale variable that decides the emulated ANSI code page, for one test.
class LocaleScope {
public:
  explicit LocaleScope(const char* lcAll)
  {
    if (const char* old = std::getenv("LC_ALL"))
      saved_ = old;
    setenv("LC_ALL", lcAll, 1);
  }
  ~LocaleScope()
  {
    if (saved_)
      setenv("LC_ALL", saved_->c_str(), 1);
    else
      unsetenv("LC_ALL");
  }

private:
  std::optional<std::string> saved_;
};

class ClipboardTest : public GuiTest {
protected:
  void TearDown() override
  {
    QGuiApplication::clipboard()->clear();
    GuiTest::TearDown();
  }

  static void Put(const char* utf8) { QGuiApplication::clipboard()->setText(QString::fromUtf8(utf8)); }
};

TEST_F(ClipboardTest, TextArrivesInTheAnsiCodePageWithQuestionMarksForTheRest)
{
  {
    LocaleScope russian("ru_RU.UTF-8");
    ASSERT_EQ(GetACP(), 1251);
    // Cyrillic and the euro sign are in 1251; the umlaut and Japanese are not; a character
    // outside the basic plane (a surrogate pair in Qt) is one character, so one "?".
    Put("/tmp/Отчёт € ü 日 \xF0\x9F\x98\x80.qel\n");
    EXPECT_EQ(ClipboardText(), "/tmp/\xCE\xF2\xF7\xB8\xF2 \x88 ? ? ?.qel\n");
  }
  {
    LocaleScope german("de_DE.UTF-8");
    ASSERT_EQ(GetACP(), 1252);
    Put("Grüße Ж");
    EXPECT_EQ(ClipboardText(), "Gr\xFC\xDF"
                               "e ?");
  }
}

TEST_F(ClipboardTest, FileNameKeepsTheFileSystemBytesWhateverTheCodePage)
{
  // Cyrillic and umlauts together fit no single code page; the name must survive whole.
  const char* path = "/tmp/Отчёт Müller/Größe ёж.qel";
  for (const char* locale : {"ru_RU.UTF-8", "de_DE.UTF-8"}) {
    LocaleScope scope(locale);
    Put(path);
    EXPECT_EQ(ClipboardFileName(), std::string(path)) << locale;
    // The text reading still goes through the code page, losing what it lacks.
    EXPECT_NE(ClipboardText(), std::string(path)) << locale;
  }
}

TEST_F(ClipboardTest, NoTextIsEmpty)
{
  QGuiApplication::clipboard()->clear();
  EXPECT_EQ(ClipboardText(), "");
  EXPECT_EQ(ClipboardFileName(), "");

  // A picture alone is no text.
  auto* data = new QMimeData;
  data->setImageData(QImage(4, 4, QImage::Format_RGB32));
  QGuiApplication::clipboard()->setMimeData(data);
  EXPECT_EQ(ClipboardText(), "");
  EXPECT_EQ(ClipboardFileName(), "");
}

}  // namespace
