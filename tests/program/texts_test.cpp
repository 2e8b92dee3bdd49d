// The texts the user reads: the parameter-name dictionary (the built-in data and the entries
// others rely on, the lookup rules across the three languages, the rebuild from "english.txt" and
// "deutsch.txt"), the UI text table's rules (id range, language choice, text 42, code pages,
// blanks) and the Help page's lines.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <string_view>

#include "AppPaths.h"
#include "CodePage.h"
#include "Resources.h"
#include "app/Qelunit.h"
#include "support/ScratchFolder.h"
#include "support/TestApp.h"
#include "texts/HelpText.h"

namespace {

AnsiString Ru(std::string_view utf8)
{
  return Utf8ToAnsi(utf8, 1251);
}

AnsiString Translate(BQELunit& unit, const AnsiString& name, int mode)
{
  AnsiString out = "left over from before";
  EXPECT_EQ(&unit.TranslateName(name, mode, out), &out);
  return out;
}

// Entries from..to-1 as "ru|en|de" lines.
std::string Dump(const TPtrList<LDictCell>& dictionary, int from = 0, int to = INT_MAX)
{
  std::string out;
  for (int i = from; i < std::min(to, dictionary.Count()); ++i)
    out += dictionary.Get(i)->Ru + '|' + dictionary.Get(i)->En + '|' + dictionary.Get(i)->De + '\n';
  return out;
}

// Every test gets an empty data folder of its own, so a unit built in it sees no dictionary
// files unless the test writes them.
class Dictionary : public ::testing::Test {
protected:
  void SetUp() override { SetDataFolderForTests(Folder.Path()); }
  void TearDown() override { SetDataFolderForTests(""); }

  ScratchFolder Folder;
};

// The resource is CR LF text of whole triplets, found whatever the case of its name; a missing
// one empties the dictionary. The erase marker relies on entry 3 (the UI's text 92); umlauts
// are single Windows-1252 bytes; a German field may hold the Russian text.
TEST_F(Dictionary, BuiltInHoldsTheEntriesOthersRelyOn)
{
  const ResourceEntry* res = FindResource("dictred", "RT_RCDATA");
  ASSERT_NE(res, nullptr);
  const std::string_view bytes(reinterpret_cast<const char*>(res->Data), res->Size);
  EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n') + std::count(bytes.begin(), bytes.end(), '\r'), 6 * 502);
  EXPECT_TRUE(bytes.ends_with("\r\n") && !bytes.starts_with("\xEF"));
  EXPECT_EQ(bytes.find("\r\n\r\n"), std::string_view::npos);

  BQELunit unit;
  EXPECT_EQ(Dump(*unit.DictCells, 3, 4) + Dump(*unit.DictCells, 58, 59) + Dump(*unit.DictCells, 254, 255),
            Ru("Удаление ошибок!|Erase Errors|") + Utf8ToAnsi("Lösche Fehler!\n", 1252) +
                Ru("Температура ОЖ|Coolant|") + Utf8ToAnsi("Kühlmitteltemperatur [°C]\n", 1252) +
                Ru("Ожидание пуска|Waiting start engine|Ожидание пуска\n"));
  AnsiString texts[3];
  for (unit.Language = 0; unit.Language < 3; ++unit.Language)
    unit.GetUiText(92, texts[unit.Language]);
  EXPECT_EQ(texts[0] + '|' + texts[1] + '|' + texts[2] + '\n', Dump(*unit.DictCells, 3, 4));
  unit.LoadDictionaryResource("DICTRED");
  const int found = unit.DictCells->Count();
  unit.LoadDictionaryResource("nosuchresource");
  EXPECT_EQ(found * 10 + unit.DictCells->Count(), 5020);
}

// Each mode compares one field and returns another; the later of two entries decides, even
// with an empty field; null entries are skipped; no match or an unknown mode gives "".
TEST_F(Dictionary, TranslateModes)
{
  BQELunit unit;
  const AnsiString rpm = Ru("Обороты"), de = "Motordrehzahl [1/min]", erase = Ru("Удаление ошибок!");
  const struct {
    AnsiString name;
    int mode;
    AnsiString out;
  } cases[] = {// clang-format off
      {rpm, 0, "RPM"}, {rpm, 1, de}, {"RPM", 2, rpm}, {de, 3, rpm}, {"RPM", 4, de}, {de, 5, "RPM"}, {"RPM", 0, ""},
      {rpm, 2, ""}, {rpm, 3, ""}, {erase, 0, "Erase errors!"}, {erase, 1, erase}, {rpm, 6, ""}, {rpm, -1, ""},
      {rpm, INT_MIN, ""}, {rpm, INT_MAX, ""}, {"rpm", 2, ""}, {"RPM ", 2, ""}, {"", 0, ""}, {"MAP, mbar", 2, ""},
      {Ru("Скорость автомобиля"), 0, "Vechicle speed (rear)"}, {"Vechicle speed (rear)", 5, "Vehicle speed"}};
  // clang-format on
  for (const auto& c : cases)
    EXPECT_EQ(Translate(unit, c.name, c.mode), c.out) << c.name << " / " << c.mode;

  unit.ClearDictCells();
  for (LDictCell* entry : std::initializer_list<LDictCell*>{new LDictCell{"A", "a", "g"}, nullptr,
                                                            new LDictCell{"A", "", "g2"}, nullptr})
    unit.DictCells->Add(entry);
  EXPECT_EQ(Translate(unit, "A", 0) + "," + Translate(unit, "A", 1) + "," + Translate(unit, "g", 3) + "," +
                Translate(unit, "", 2),
            ",g2,A,A");
}

// Pairs in the order of the English file, German-only names after; the last German name of a
// name counts; a missing one is the Russian name. Any line break, an odd last line; blanks and
// bytes kept. The translation follows the rebuilt dictionary.
TEST_F(Dictionary, RebuildJoinsEnglishAndGermanPairsAndWritesRedTxt)
{
  const struct {
    const char* english;
    const char* deutsch;
    const char* dump;
  } cases[] = {
      {"A\r\na1\r\nB\r\nb\r\nA\r\na2\r\n", "A\r\ng\xFC\r\nC\r\ng1\r\nC\r\ng2\r\n",
       "A|a1|g\xFC\nB|b|B\nA|a2|A\nC|C|g2\n"},
      {"A\r\na\r\n", "B\r\ng1\r\nB\r\ng2\r\nA\r\nga\r\n", "A|a|ga\nB|B|g2\n"},
      {" A \rA en\n\xC0\xE1\r\n\xC0\xE1 en\rleft over", "\xC0\xE1\n\xDC\xF6\xDF\r A \r\nA de\nalone\r\n",
       " A |A en|A de\n\xC0\xE1|\xC0\xE1 en|\xDC\xF6\xDF\n"},
      {"", "", ""},
  };
  for (const auto& c : cases) {
    Folder.Write("english.txt", c.english);
    Folder.Write("deutsch.txt", c.deutsch);
    Folder.Write("red.txt", "an older and much longer dictionary\r\n\r\n\r\n");
    BQELunit unit;
    EXPECT_EQ(Dump(*unit.DictCells), c.dump);
    std::string red = c.dump;
    std::replace(red.begin(), red.end(), '|', '\n');
    for (size_t at = 0; (at = red.find('\n', at)) != std::string::npos; at += 2)
      red.insert(at, "\r");
    EXPECT_EQ(ScratchFolder::Read(Folder / "red.txt"), red);
  }
  Folder.Write("english.txt", "A\r\na1\r\nA\r\na2\r\n");
  BQELunit unit;
  EXPECT_EQ(Translate(unit, "A", 0), "a2");
  EXPECT_EQ(Translate(unit, Ru("Обороты"), 0), "");
}

constexpr int Russian = 0, English = 1, German = 2;

AnsiString Text(BQELunit& unit, int language, int id, Byte speedInHz = 1)
{
  unit.Language = language;
  unit.SpeedInHz = speedInHz;
  AnsiString out = "left over";
  AnsiString& result = unit.GetUiText(id, out);
  EXPECT_EQ(&result, &out);
  return out;
}

bool HasByteFrom(const AnsiString& s, unsigned char lowest)
{
  return std::ranges::any_of(s, [lowest](char c) { return static_cast<unsigned char>(c) >= lowest; });
}

// "leading,trailing" blanks.
std::string Blanks(const AnsiString& s)
{
  const size_t first = s.find_first_not_of(' '), last = s.find_last_not_of(' ');
  return first == AnsiString::npos ? "all" : std::to_string(first) + "," + std::to_string(s.size() - 1 - last);
}

// Over every id and beyond: text exactly where defined; any language but 0 and 1 is German;
// Russian in Windows-1251 with a Cyrillic letter in each; German plain ASCII but the erase
// marker; no language adds or drops a blank at either end; the speed option changes text 42
// only, to its frame-period label, where the other holds the unit of text 43.
TEST(UiText, RulesOverEveryIdAndLanguage)
{
  BQELunit unit;
  for (int id : {-1, INT_MIN, INT_MAX, 110, 1000})
    for (int language : {Russian, English, German, 7})
      EXPECT_EQ(Text(unit, language, id), "") << id;
  for (int id = 0; id <= 109; ++id) {
    SCOPED_TRACE(id);
    const bool defined = id != 66 && id != 99;
    const AnsiString english = Text(unit, English, id), russian = Text(unit, Russian, id),
                     german = Text(unit, German, id);
    EXPECT_EQ(english.empty(), !defined);
    for (int other : {7, -1, 255})
      EXPECT_EQ(Text(unit, other, id), german);
    EXPECT_FALSE(IsUtf8WithHighBytes(russian));
    EXPECT_EQ(HasByteFrom(russian, 0xC0), defined);
    EXPECT_EQ(HasByteFrom(german, 0x80), id == 92);
    EXPECT_EQ(Blanks(russian), Blanks(english));
    EXPECT_EQ(Blanks(german), Blanks(english));
    for (int language : {Russian, English, German}) {
      const AnsiString hz = Text(unit, language, id, 1), period = Text(unit, language, id, 0);
      EXPECT_EQ(hz == period, id != 42);
      const AnsiString unitName = Text(unit, language, 43);
      EXPECT_TRUE(id != 42 ||
                  (hz.find(unitName) != AnsiString::npos && period.find(unitName) == AnsiString::npos));
    }
  }
}

TEST(HelpText, EachLanguageHasItsLinesPaddedToOneWidthInCodePageBytes)
{
  for (const auto& [language, count] : {std::pair{0, 116u}, {1, 113u}, {2, 113u}, {5, 113u}}) {
    SCOPED_TRACE(language);
    const std::vector<AnsiString>& lines = HelpTextLines(language);
    ASSERT_EQ(lines.size(), count);
    AnsiString all;
    for (const AnsiString& line : lines) {
      EXPECT_EQ(line.size(), 107u) << line;
      EXPECT_EQ(line.find('?'), AnsiString::npos) << line;  // a letter the code page lacks
      all += line;
    }
    EXPECT_EQ(lines[0].substr(102), "---  ");  // the title is a heading: dashes to column 105
    EXPECT_EQ(all.find_first_of("\xC0\xE0\xEE\xF2") != AnsiString::npos, language == 0);
    EXPECT_FALSE(IsUtf8WithHighBytes(all));
  }
}

}  // namespace
