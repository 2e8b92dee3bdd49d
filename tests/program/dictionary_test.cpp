// The parameter-name dictionary: the built-in data and its fixed entries, the lookup rules
// across the three languages, and the rebuild from "english.txt" and "deutsch.txt".
#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <string_view>

#include "AppPaths.h"
#include "CodePage.h"
#include "Resources.h"
#include "app/Qelunit.h"
#include "support/TestApp.h"
#include "support/ScratchFolder.h"

namespace {

AnsiString Ru(std::string_view utf8) { return Utf8ToAnsi(utf8, 1251); }
AnsiString De(std::string_view utf8) { return Utf8ToAnsi(utf8, 1252); }

struct Pinned {
  int Index;
  const char* Ru;
  const char* En;
  const char* De; // null: the German field holds the Russian text
};

const Pinned PinnedEntries[] = {
    {3, "Удаление ошибок!", "Erase Errors", "Lösche Fehler!"},
    {58, "Температура ОЖ", "Coolant", "Kühlmitteltemperatur [°C]"},
    {59, "Обороты", "RPM", "Motordrehzahl [1/min]"},
    {61, "Время впрыска", "Inj time, ms", "Einspritzzeit, [ms]"},
    {62, "Угол ДЗ", "Throttle angle", "Drosselklappenwinkel"},
    {63, "ДМРВ, кг/ч", "Air Mass", "Luftmasse [Kg/h]"},
    {67, "УОЗ", "Ignition angle", "Zündwinkel [°]"},
    {68, "Температура воздуха", "Air", "Ansaugluft-Temperatur [°C]"},
    {69, "Скорость автомобиля", "Vehicle speed", "Vechicle speed (rear)"},
    {70, "Нагрузка мотора", "Engine load", "Motorlast  [%](?)"},
    {228, "Потенциометр положения упора дросселя", "Throttle response voltage", "DK-Antw. [V]"},
    {244, "Ожидание пуска", "Waiting engine start", "Warte auf Motorstart"},
    {254, "Ожидание пуска", "Waiting start engine", nullptr},
    {360, "Удаление ошибок!", "Erase errors!", nullptr},
    {416, "O2 sensor control %", "O2 sensor control %", "Lambdaregelung [%]"},
    {417, "O2 Sensor (mV)", "O2 Sensor (mV)", "O2-Sondenspannung [mV]"},
    {422, "Скорость автомобиля", "Vechicle speed (rear)", nullptr},
    {495, "Температура ОЖ 1", "Coolant 1", "Kühlmitteltemperatur 1 [°C]"},
    {496, "Температура ОЖ 2", "Coolant 2", "Kühlmitteltemperatur 2 [°C]"},
};

// Position of the first entry with any field equal to name (the rule that gives a new
// parameter its names), -1 when none.
int FirstEntryNaming(const BQELunit& unit, const AnsiString& name)
{
  for (int i = 0; i < unit.DictCells->Count(); ++i) {
    const LDictCell* e = unit.DictCells->Get(i);
    if (e && (e->Ru == name || e->En == name || e->De == name))
      return i;
  }
  return -1;
}

AnsiString Translate(BQELunit& unit, const AnsiString& name, int mode)
{
  AnsiString out = "left over from before";
  AnsiString& result = unit.TranslateName(name, mode, out);
  EXPECT_EQ(&result, &out);
  return out;
}

// Every test gets an empty data folder of its own, so a unit built in it sees no
// dictionary files unless the test writes them.
class Dictionary : public ::testing::Test {
protected:
  void SetUp() override { SetDataFolderForTests(Folder.Path()); }
  void TearDown() override { SetDataFolderForTests(""); }

  ScratchFolder Folder;
};

TEST_F(Dictionary, BuiltInHoldsTheFixedEntriesAtTheirPositions)
{
  BQELunit unit;
  ASSERT_EQ(unit.DictCells->Count(), 502);
  for (const Pinned& p : PinnedEntries) {
    SCOPED_TRACE(p.Index);
    const LDictCell* e = unit.DictCells->Get(p.Index);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->Ru, Ru(p.Ru));
    EXPECT_EQ(e->En, p.En);
    EXPECT_EQ(e->De, p.De ? De(p.De) : Ru(p.Ru));
  }
  // Umlauts and the degree sign as single Windows-1252 bytes.
  EXPECT_EQ(unit.DictCells->Get(58)->De, "K\xFChlmitteltemperatur [\xB0" "C]");
}

TEST_F(Dictionary, EntryThreeIsTheEraseText)
{
  BQELunit unit;
  const LDictCell* e = unit.DictCells->Get(3);
  const AnsiString* fields[] = {&e->Ru, &e->En, &e->De};
  for (int language = 0; language < 3; ++language) {
    unit.Language = language;
    AnsiString text;
    EXPECT_EQ(unit.GetUiText(92, text), *fields[language]) << language;
  }
}

TEST_F(Dictionary, NewParametersFindTheEarlierOfTwoEntries)
{
  BQELunit unit;
  const char* defaults[] = {"ДМРВ, кг/ч", "Нагрузка мотора", "Обороты", "Угол ДЗ", "УОЗ",
                            "O2 Sensor (mV)", "O2 sensor control %", "Температура воздуха",
                            "Температура ОЖ", "Потенциометр положения упора дросселя",
                            "Время впрыска"};
  const int positions[] = {63, 70, 59, 62, 67, 417, 416, 68, 58, 228, 61};
  for (int i = 0; i < 11; ++i)
    EXPECT_EQ(FirstEntryNaming(unit, Ru(defaults[i])), positions[i]) << defaults[i];
  EXPECT_EQ(FirstEntryNaming(unit, "MAP, mbar"), -1);

  const int speed = FirstEntryNaming(unit, Ru("Скорость автомобиля"));
  ASSERT_EQ(speed, 69);
  EXPECT_EQ(unit.DictCells->Get(speed)->En, "Vehicle speed");
  EXPECT_EQ(FirstEntryNaming(unit, Ru("Удаление ошибок!")), 3);
  EXPECT_EQ(FirstEntryNaming(unit, Ru("Ожидание пуска")), 244);
}

TEST_F(Dictionary, ResourceIsCrLfTextOfWholeTriplets)
{
  const ResourceEntry* res = FindResource("dictred", "RT_RCDATA");
  ASSERT_NE(res, nullptr);
  const std::string_view bytes(reinterpret_cast<const char*>(res->Data), res->Size);
  ASSERT_GE(bytes.size(), 3u);
  EXPECT_NE(bytes.substr(0, 3), "\xEF\xBB\xBF");
  EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
  EXPECT_EQ(bytes.find('\t'), std::string_view::npos);
  EXPECT_EQ(bytes.find('\0'), std::string_view::npos);
  int lines = 0;
  size_t start = 0;
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r') {
      ASSERT_TRUE(i + 1 < bytes.size() && bytes[i + 1] == '\n') << "lone CR at " << i;
      EXPECT_GT(i, start) << "empty line " << lines;
      ++lines;
      start = i + 2;
    } else if (bytes[i] == '\n') {
      ASSERT_TRUE(i > 0 && bytes[i - 1] == '\r') << "lone LF at " << i;
    }
  }
  EXPECT_EQ(lines, 3 * 502);
}

TEST_F(Dictionary, ResourceNameIgnoresCaseAndAMissingOneEmptiesTheDictionary)
{
  BQELunit unit;
  unit.LoadDictionaryResource("DICTRED");
  EXPECT_EQ(unit.DictCells->Count(), 502);
  EXPECT_EQ(Translate(unit, Ru("Обороты"), 0), "RPM");

  unit.LoadDictionaryResource("nosuchresource");
  EXPECT_EQ(unit.DictCells->Count(), 0);
  EXPECT_EQ(Translate(unit, Ru("Обороты"), 0), "");
}

TEST(DictTriplets, AnIncompleteLastTripletIsIgnored)
{
  for (int lines : {1507, 1506, 1505, 2, 0}) {
    TStringList text;
    for (int i = 0; i < lines; ++i)
      text.Add("line " + std::to_string(i));
    TPtrList<LDictCell> dictionary;
    AppendDictTriplets(dictionary, text);
    EXPECT_EQ(dictionary.Count(), lines / 3) << lines;
    if (dictionary.Count() > 0) {
      const LDictCell* last = dictionary.Get(dictionary.Count() - 1);
      const int first = 3 * (lines / 3) - 3;
      EXPECT_EQ(last->Ru, "line " + std::to_string(first));
      EXPECT_EQ(last->En, "line " + std::to_string(first + 1));
      EXPECT_EQ(last->De, "line " + std::to_string(first + 2));
    }
    for (int i = 0; i < dictionary.Count(); ++i)
      delete dictionary.Get(i);
  }
}

TEST_F(Dictionary, EachModeComparesOneFieldAndReturnsAnother)
{
  BQELunit unit;
  const AnsiString ru = Ru("Обороты"), en = "RPM", de = "Motordrehzahl [1/min]";
  EXPECT_EQ(Translate(unit, ru, 0), en);
  EXPECT_EQ(Translate(unit, ru, 1), de);
  EXPECT_EQ(Translate(unit, en, 2), ru);
  EXPECT_EQ(Translate(unit, de, 3), ru);
  EXPECT_EQ(Translate(unit, en, 4), de);
  EXPECT_EQ(Translate(unit, de, 5), en);
  // A field is looked for only where the mode says.
  EXPECT_EQ(Translate(unit, en, 0), "");
  EXPECT_EQ(Translate(unit, ru, 2), "");
  EXPECT_EQ(Translate(unit, ru, 3), "");
}

TEST_F(Dictionary, TheLaterOfTwoEntriesDecidesATranslation)
{
  BQELunit unit;
  const AnsiString erase = Ru("Удаление ошибок!");
  EXPECT_EQ(Translate(unit, erase, 0), "Erase errors!");
  EXPECT_EQ(Translate(unit, erase, 1), erase);
  EXPECT_EQ(Translate(unit, Ru("Скорость автомобиля"), 0), "Vechicle speed (rear)");
  EXPECT_EQ(Translate(unit, Ru("Ожидание пуска"), 0), "Waiting start engine");
  EXPECT_EQ(Translate(unit, Ru("Ожидание пуска"), 1), Ru("Ожидание пуска"));
  EXPECT_EQ(Translate(unit, "Vechicle speed (rear)", 5), "Vehicle speed");
  EXPECT_EQ(Translate(unit, "Vechicle speed (rear)", 2), Ru("Скорость автомобиля"));
}

TEST_F(Dictionary, NoMatchOrAnUnknownModeGivesTheEmptyString)
{
  BQELunit unit;
  const AnsiString rpm = Ru("Обороты");
  for (int mode : {6, 7, 100, -1, -6, INT_MIN, INT_MAX})
    EXPECT_EQ(Translate(unit, rpm, mode), "") << mode;
  EXPECT_EQ(Translate(unit, "rpm", 2), "");
  EXPECT_EQ(Translate(unit, "RPM ", 2), "");
  EXPECT_EQ(Translate(unit, rpm + " ", 0), "");
  EXPECT_EQ(Translate(unit, "", 0), "");
  for (int mode = 0; mode < 6; ++mode)
    EXPECT_EQ(Translate(unit, "MAP, mbar", mode), "") << mode;
}

TEST_F(Dictionary, TheLastMatchWinsEvenWhenItsFieldIsEmptyAndNullEntriesAreSkipped)
{
  BQELunit unit;
  unit.ClearDictCells();
  unit.DictCells->Add(new LDictCell{"A", "a", "g"});
  unit.DictCells->Add(nullptr);
  unit.DictCells->Add(new LDictCell{"A", "", "g2"});
  unit.DictCells->Add(nullptr);
  EXPECT_EQ(Translate(unit, "A", 0), "");
  EXPECT_EQ(Translate(unit, "A", 1), "g2");
  EXPECT_EQ(Translate(unit, "g", 3), "A");
  EXPECT_EQ(Translate(unit, "", 2), "A");
}

// ---- rebuild from the two files ----

TEST_F(Dictionary, RebuildJoinsEnglishAndGermanPairsAndWritesRedTxt)
{
  const AnsiString a = Ru("Обороты"), b = Ru("Угол ДЗ"), c = Ru("Лямбда");
  Folder.Write("english.txt", a + "\r\na1\r\n" + b + "\r\nb\r\n" + a + "\r\na2\r\n");
  Folder.Write("deutsch.txt", a + "\r\n" + De("Drehzahl für A") + "\r\n" + c + "\r\ng1\r\n"
                                  + c + "\r\ng2\r\n");
  BQELunit unit;
  ASSERT_EQ(unit.DictCells->Count(), 4);
  const AnsiString expected[4][3] = {{a, "a1", De("Drehzahl für A")},
                                     {b, "b", b},
                                     {a, "a2", a},
                                     {c, c, "g2"}};
  AnsiString red;
  for (int i = 0; i < 4; ++i) {
    const LDictCell* e = unit.DictCells->Get(i);
    EXPECT_EQ(e->Ru, expected[i][0]) << i;
    EXPECT_EQ(e->En, expected[i][1]) << i;
    EXPECT_EQ(e->De, expected[i][2]) << i;
    red += expected[i][0] + "\r\n" + expected[i][1] + "\r\n" + expected[i][2] + "\r\n";
  }
  EXPECT_EQ(ScratchFolder::Read(Folder / "red.txt"), red);
  // The translation follows the rebuilt dictionary: the later entry of a decides.
  EXPECT_EQ(Translate(unit, a, 0), "a2");
  EXPECT_EQ(Translate(unit, a, 1), a);
  EXPECT_EQ(Translate(unit, Ru("Температура ОЖ"), 0), "");
}

TEST_F(Dictionary, RebuildReadsAnyLineEndingsAndKeepsBlanksAndBytes)
{
  // CR, LF and CR LF mixed, no break after the last line, an odd last line in each file.
  Folder.Write("english.txt", " A \rA en\n\xC0\xE1\r\n\xC0\xE1 en\rleft over");
  Folder.Write("deutsch.txt", "\xC0\xE1\n\xDC\xF6\xDF\r A \r\nA de\nalone\r\n");
  BQELunit unit;
  ASSERT_EQ(unit.DictCells->Count(), 2);
  const LDictCell* first = unit.DictCells->Get(0);
  const LDictCell* second = unit.DictCells->Get(1);
  EXPECT_EQ(first->Ru, " A ");
  EXPECT_EQ(first->En, "A en");
  EXPECT_EQ(first->De, "A de");
  EXPECT_EQ(second->Ru, "\xC0\xE1");
  EXPECT_EQ(second->En, "\xC0\xE1 en");
  EXPECT_EQ(second->De, "\xDC\xF6\xDF");
  EXPECT_EQ(ScratchFolder::Read(Folder / "red.txt"),
            " A \r\nA en\r\nA de\r\n\xC0\xE1\r\n\xC0\xE1 en\r\n\xDC\xF6\xDF\r\n");
  EXPECT_EQ(Translate(unit, "A", 0), "");
}

TEST_F(Dictionary, GermanOnlyNamesFollowAndTakeTheirLastGermanName)
{
  Folder.Write("english.txt", "A\r\na\r\n");
  Folder.Write("deutsch.txt", "B\r\ng1\r\nB\r\ng2\r\nA\r\nga\r\n");
  BQELunit unit;
  ASSERT_EQ(unit.DictCells->Count(), 2);
  EXPECT_EQ(unit.DictCells->Get(0)->De, "ga");
  const LDictCell* b = unit.DictCells->Get(1);
  EXPECT_EQ(b->Ru, "B");
  EXPECT_EQ(b->En, "B");
  EXPECT_EQ(b->De, "g2");
}

TEST_F(Dictionary, OneMissingFileKeepsTheBuiltInDictionaryAndWritesNothing)
{
  Folder.Write("english.txt", "A\r\na\r\n");
  {
    BQELunit unit;
    EXPECT_EQ(unit.DictCells->Count(), 502);
    EXPECT_EQ(Translate(unit, Ru("Обороты"), 0), "RPM");
  }
  EXPECT_FALSE(std::filesystem::exists(Folder / "red.txt"));

  // An older red.txt stays as it was.
  Folder.Write("red.txt", "kept\r\n");
  std::filesystem::remove(Folder / "english.txt");
  Folder.Write("deutsch.txt", "A\r\ng\r\n");
  {
    BQELunit unit;
    EXPECT_EQ(unit.DictCells->Count(), 502);
  }
  EXPECT_EQ(ScratchFolder::Read(Folder / "red.txt"), "kept\r\n");

  // A folder where a file should be cannot be read either.
  std::filesystem::create_directory(Folder / "english.txt");
  BQELunit unit;
  EXPECT_EQ(unit.DictCells->Count(), 502);
  EXPECT_EQ(ScratchFolder::Read(Folder / "red.txt"), "kept\r\n");
}

TEST_F(Dictionary, RedTxtIsRewrittenAtEveryStart)
{
  Folder.Write("english.txt", "A\r\na\r\n");
  Folder.Write("deutsch.txt", "A\r\ng\r\n");
  Folder.Write("red.txt", "an older and much longer dictionary\r\n\r\n\r\n");
  { BQELunit unit; }
  EXPECT_EQ(ScratchFolder::Read(Folder / "red.txt"), "A\r\na\r\ng\r\n");
  Folder.Write("english.txt", "B\nb\n");
  { BQELunit unit; }
  EXPECT_EQ(ScratchFolder::Read(Folder / "red.txt"), "B\r\nb\r\nB\r\nA\r\nA\r\ng\r\n");
}

TEST_F(Dictionary, AnUnwritableRedTxtStillLeavesTheRebuiltDictionary)
{
  Folder.Write("english.txt", "A\r\na\r\n");
  Folder.Write("deutsch.txt", "A\r\ng\r\n");
  std::filesystem::create_directory(Folder / "red.txt");
  BQELunit unit;
  ASSERT_EQ(unit.DictCells->Count(), 1);
  EXPECT_EQ(Translate(unit, "A", 1), "g");
}

TEST_F(Dictionary, TwoEmptyFilesGiveAnEmptyDictionary)
{
  Folder.Write("english.txt", "");
  Folder.Write("deutsch.txt", "");
  BQELunit unit;
  EXPECT_EQ(unit.DictCells->Count(), 0);
  ASSERT_TRUE(std::filesystem::exists(Folder / "red.txt"));
  EXPECT_EQ(std::filesystem::file_size(Folder / "red.txt"), 0u);
}

} // namespace
