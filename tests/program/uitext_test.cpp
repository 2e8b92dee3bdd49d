// The UI text table: id range, language choice, text 42, code pages and the shared blanks.
#include <gtest/gtest.h>

#include <climits>
#include <string_view>

#include "CodePage.h"
#include "app/Qelunit.h"
#include "support/TestApp.h"

namespace {

constexpr int Russian = 0;
constexpr int English = 1;
constexpr int German = 2;
constexpr int Languages[] = {Russian, English, German};

AnsiString Text(BQELunit& unit, int language, int id) {
  unit.Language = language;
  AnsiString out;
  return unit.GetUiText(id, out);
}

bool IsDefined(int id) { return id != 66 && id != 99; }

size_t LeadingBlanks(const AnsiString& s) {
  size_t n = 0;
  while (n < s.size() && s[n] == ' ') ++n;
  return n;
}

size_t TrailingBlanks(const AnsiString& s) {
  size_t n = 0;
  while (n < s.size() && s[s.size() - 1 - n] == ' ') ++n;
  return n;
}

// True when some lead byte is followed by as many continuation bytes as it announces,
// i.e. the text would pass for UTF-8 somewhere instead of being single-byte code-page text.
bool HoldsUtf8Sequence(std::string_view s) {
  for (size_t i = 0; i < s.size(); ++i) {
    const unsigned char lead = static_cast<unsigned char>(s[i]);
    size_t follow = lead >= 0xC2 && lead <= 0xDF ? 1 : lead >= 0xE0 && lead <= 0xEF ? 2
                  : lead >= 0xF0 && lead <= 0xF4 ? 3 : 0;
    if (follow == 0 || i + follow >= s.size()) continue;
    bool all = true;
    for (size_t k = 1; k <= follow; ++k) {
      const unsigned char c = static_cast<unsigned char>(s[i + k]);
      if (c < 0x80 || c > 0xBF) all = false;
    }
    if (all) return true;
  }
  return false;
}

bool IsAscii(std::string_view s) {
  for (char c : s)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

TEST(UiText, IdsWithoutTextGiveEmptyStringInEveryLanguage) {
  BQELunit unit;
  const int ids[] = {66, 99, 110, -1, INT_MIN, INT_MAX, 1000};
  for (int language : {Russian, English, German, 7})
    for (int id : ids) {
      unit.Language = language;
      AnsiString out = "left over";
      AnsiString& result = unit.GetUiText(id, out);
      EXPECT_EQ(&result, &out) << "id " << id;
      EXPECT_TRUE(out.empty()) << "language " << language << " id " << id;
    }
}

TEST(UiText, EveryOtherIdHasTextInEveryLanguage) {
  BQELunit unit;
  for (int language : Languages)
    for (int id = 0; id <= 109; ++id) {
      if (IsDefined(id)) {
        EXPECT_FALSE(Text(unit, language, id).empty()) << language << "/" << id;
      }
    }
}

TEST(UiText, AnyLanguageOtherThanZeroAndOneIsGerman) {
  BQELunit unit;
  EXPECT_EQ(Text(unit, Russian, 63), Utf8ToAnsi("Русский", 1251));
  EXPECT_EQ(Text(unit, English, 63), "English");
  EXPECT_EQ(Text(unit, German, 63), "Deutsch");
  for (int id = 0; id <= 109; ++id) {
    const AnsiString german = Text(unit, German, id);
    EXPECT_EQ(Text(unit, 7, id), german) << id;
    EXPECT_EQ(Text(unit, -1, id), german) << id;
    EXPECT_EQ(Text(unit, 255, id), german) << id;
  }
}

TEST(UiText, Text42FollowsSpeedInHzAtTheMomentOfTheCall) {
  BQELunit unit;
  unit.SpeedInHz = 1;
  EXPECT_EQ(Text(unit, Russian, 42), Utf8ToAnsi("скорость чтения, Гц   ( 16...50 )", 1251));
  EXPECT_EQ(Text(unit, English, 42), "reading speed, Hz   ( 16...50 )");
  EXPECT_EQ(Text(unit, German, 42), "Lesegeschwindigkeit, Hz   ( 16...50 )");
  unit.SpeedInHz = 0;
  EXPECT_EQ(Text(unit, Russian, 42), Utf8ToAnsi("мсек в 'большом' временном интервале", 1251));
  EXPECT_EQ(Text(unit, English, 42), "msec in 'large' time interval");
  EXPECT_EQ(Text(unit, German, 42), "millisekunden in einem groben zeitintervall");
  // The option chooses only between the two texts of 42.
  EXPECT_EQ(Text(unit, English, 41), "msec in 'small' time interval");
  EXPECT_EQ(Text(unit, English, 43), "Hz");
}

TEST(UiText, GermanIsAsciiExceptTheEraseMarker) {
  BQELunit unit;
  EXPECT_EQ(Text(unit, German, 92), "L\xF6sche Fehler!");
  for (int id = 0; id <= 109; ++id) {
    if (id != 92) {
      EXPECT_TRUE(IsAscii(Text(unit, German, id))) << id;
    }
  }
}

TEST(UiText, RussianTextsAre1251NotUtf8) {
  BQELunit unit;
  // Spelled out byte by byte, so a converter that passes UTF-8 through cannot hide.
  EXPECT_EQ(Text(unit, Russian, 92), "\xD3\xE4\xE0\xEB\xE5\xED\xE8\xE5 \xEE\xF8\xE8\xE1\xEE\xEA!");
  EXPECT_EQ(Text(unit, Russian, 43), "\xC3\xF6");
  EXPECT_EQ(Text(unit, Russian, 105), "\xCF\xF0\xE5\xF0\xE2\xE0\xF2\xFC");
  for (int id = 0; id <= 109; ++id) {
    if (!IsDefined(id)) continue;
    const AnsiString text = Text(unit, Russian, id);
    EXPECT_FALSE(HoldsUtf8Sequence(text)) << id;
    // Every Russian text is a translation, so it holds at least one Cyrillic letter.
    bool cyrillic = false;
    for (char c : text) cyrillic |= static_cast<unsigned char>(c) >= 0xC0;
    EXPECT_TRUE(cyrillic) << id;
  }
}

TEST(UiText, BlanksAreTheSameInEveryLanguage) {
  struct Blanks {
    int id;
    size_t leading, trailing;
  };
  const Blanks table[] = {{1, 0, 1},   {69, 0, 1},  {86, 0, 1},  {91, 0, 1},  {67, 2, 2},
                          {68, 2, 2},  {70, 3, 1},  {71, 3, 1},  {79, 13, 0}, {80, 18, 0},
                          {81, 8, 0},  {82, 9, 0},  {83, 26, 0}, {84, 26, 0}, {103, 1, 0}};
  BQELunit unit;
  for (int language : Languages) {
    for (const Blanks& b : table) {
      const AnsiString text = Text(unit, language, b.id);
      EXPECT_EQ(LeadingBlanks(text), b.leading) << language << "/" << b.id;
      EXPECT_EQ(TrailingBlanks(text), b.trailing) << language << "/" << b.id;
    }
    const AnsiString text2 = Text(unit, language, 2);
    EXPECT_EQ(text2.substr(0, 4), ",   ") << language;
    EXPECT_NE(text2[4], ' ') << language;
  }
  // Beyond the listed ids: no language adds or drops a blank at either end.
  for (int id = 0; id <= 109; ++id) {
    const AnsiString english = Text(unit, English, id);
    for (int language : {Russian, German}) {
      const AnsiString other = Text(unit, language, id);
      EXPECT_EQ(LeadingBlanks(other), LeadingBlanks(english)) << language << "/" << id;
      EXPECT_EQ(TrailingBlanks(other), TrailingBlanks(english)) << language << "/" << id;
    }
  }
}

TEST(UiText, ThreeLanguageRowsAndFiltersByteForByte) {
  struct Row {
    int id;
    const char* russian;  // UTF-8 here, 1251 in the table
    const char* english;
    const char* german;   // UTF-8 here, 1252 in the table
  };
  const Row rows[] = {
      {0, "Текстовый LOG-файл *.qel;*.txt|*.qel;*.txt|Все файлы *.*|*.*",
       "Text LOG-file *.qel;*.txt|*.qel;*.txt|All files *.*|*.*",
       "Text LOG-datei *.qel;*.txt|*.qel;*.txt|All files *.*|*.*"},
      {3, "Параметры", "Options", "Parameter"},
      {21, "Настройки", "Options", "Einstellungen"},
      {36, "Отобразить параметр", "Show parametr", "Show parameter"},
      {43, "Гц", "Hz", "Hz"},
      {63, "Русский", "English", "Deutsch"},
      {77,
       "В следующем диалоге выбирете папку. Для этой папки и всех, вложеных в неё папок, будет "
       "произведен поиск папок с именем LOGs. В каждой найденной папке LOGs для текстовых файлов "
       "будет выполнена замена расширения с .txt на .qel",
       "In next dialog select folder. For this folder and all its subfolders, will search folders "
       "named LOGs. In each found folder LOGs for text files will replace expansion from .txt to "
       ".qel",
       "Im nachsten dialogfeld wahlen sie den ordner. Fur diesen ordner und alle verschachtelten "
       "ordner drin, sucht ordner mit dem namen 'LOGs'. In jedem ordner, fur textdateien "
       "erweiterung ersetzt werden durchgefuhrt mit .txt auf .qel]"},
      {86, "анализ ", "analysis ", "analyse "},
      {87, "Файл с текстом *.txt|*.txt", "Text file *.txt|*.txt", "Text datei *.txt|*.txt"},
      {88, "Файл с изображением *.jpg|*.jpg", "Image file *.jpg|*.jpg", "Bild datei *.jpg|*.jpg"},
      {92, "Удаление ошибок!", "Erase Errors", "Lösche Fehler!"},
      {97, "Подбираем маску QEL или PMS или LH", "Found mask QEL or PMS or LH",
       "Finden masken QEL / PMS / LH"},
      {105, "Прервать", "Break", "Abbrechen"},
      {109, "Применить", "Ok", "Ok"},
  };
  BQELunit unit;
  for (const Row& row : rows) {
    EXPECT_EQ(Text(unit, Russian, row.id), Utf8ToAnsi(row.russian, 1251)) << row.id;
    EXPECT_EQ(Text(unit, English, row.id), row.english) << row.id;
    EXPECT_EQ(Text(unit, German, row.id), Utf8ToAnsi(row.german, 1252)) << row.id;
  }
}

// Texts that others concatenate or compare, and misspellings that must survive.
TEST(UiText, EnglishTextsKeepTheirExactLetters) {
  struct Row {
    int id;
    const char* english;
  };
  const Row rows[] = {
      {1, "In clipboard:  [ "},
      {2, ",   FILE NOT PRESENT!!!"},
      {22, "Parametrs"},
      {52, "enable using old algoritm of found error"},
      {55, "Rename extention for old LOG-files"},
      {64, "Parametr"},
      {69, "line: "},
      {70, "   column: "},
      {71, "   shift in text = "},
      {72, "New name (rassian) present on other parametr. Change canceled."},
      {74, "New name (deutch) present on other parametr. Change canceled."},
      {78, "Please wait ...  :)"},
      {85, "Index : [ (offset in the text)  (key 8 characters)  (time in msec) ]   "
           "(parameter type) (value)     (description)"},
      {90, "Analising LOG-file"},
      {91, "index "},
      {93, "value absent!!!"},
      {103, " sec."},
      {104, "Command line: ["},
  };
  BQELunit unit;
  for (const Row& row : rows) EXPECT_EQ(Text(unit, English, row.id), row.english) << row.id;
}

}  // namespace
