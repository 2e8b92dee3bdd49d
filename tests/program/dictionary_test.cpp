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
#include "support/ScratchFolder.h"
#include "support/TestApp.h"

namespace {

AnsiString Ru(std::string_view utf8)
{
  return Utf8ToAnsi(utf8, 1251);
}
AnsiString De(std::string_view utf8)
{
  return Utf8ToAnsi(utf8, 1252);
}

struct Pinned {
  int Index;
  const char* Ru;
  const char* En;
  const char* De;  // null: the German field holds the Russian text
};

// The entries the first-start masks and the erase marker rely on, and one whose German field
// is the Russian text.
const Pinned PinnedEntries[] = {
    {3, "Удаление ошибок!", "Erase Errors", "Lösche Fehler!"},
    {58, "Температура ОЖ", "Coolant", "Kühlmitteltemperatur [°C]"},
    {59, "Обороты", "RPM", "Motordrehzahl [1/min]"},
    {254, "Ожидание пуска", "Waiting start engine", nullptr},
    {417, "O2 Sensor (mV)", "O2 Sensor (mV)", "O2-Sondenspannung [mV]"},
};

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
  EXPECT_EQ(unit.DictCells->Get(58)->De, "K\xFChlmitteltemperatur [\xB0"
                                         "C]");
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

// Each mode compares one field and returns another; the later of two entries decides; no match
// or an unknown mode gives the empty string.
TEST_F(Dictionary, TranslateModes)
{
  BQELunit unit;
  const AnsiString rpm = Ru("Обороты"), de = "Motordrehzahl [1/min]", erase = Ru("Удаление ошибок!");
  const struct {
    AnsiString name;
    int mode;
    AnsiString out;
  } cases[] = {
      {rpm, 0, "RPM"},
      {rpm, 1, de},
      {"RPM", 2, rpm},
      {de, 3, rpm},
      {"RPM", 4, de},
      {de, 5, "RPM"},
      {"RPM", 0, ""},
      {rpm, 2, ""},
      {rpm, 3, ""},  // a field is looked for only where the mode says
      {erase, 0, "Erase errors!"},
      {erase, 1, erase},
      {Ru("Скорость автомобиля"), 0, "Vechicle speed (rear)"},
      {"Vechicle speed (rear)", 5, "Vehicle speed"},
      {rpm, 6, ""},
      {rpm, -1, ""},
      {rpm, INT_MIN, ""},
      {rpm, INT_MAX, ""},
      {"rpm", 2, ""},
      {"RPM ", 2, ""},
      {"", 0, ""},
      {"MAP, mbar", 2, ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Translate(unit, c.name, c.mode), c.out) << c.name << " / " << c.mode;
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

// The dictionary as "ru|en|de" lines.
std::string Dump(const BQELunit& unit)
{
  std::string out;
  for (int i = 0; i < unit.DictCells->Count(); ++i) {
    const LDictCell* e = unit.DictCells->Get(i);
    out += e->Ru + '|' + e->En + '|' + e->De + '\n';
  }
  return out;
}

TEST_F(Dictionary, RebuildJoinsEnglishAndGermanPairsAndWritesRedTxt)
{
  const struct {
    const char* english;
    const char* deutsch;
    const char* dump;
    const char* red;
  } cases[] = {
      // Pairs in the order of the English file, German-only names after; the last German name
      // of a name counts; a missing one is the Russian name.
      {"A\r\na1\r\nB\r\nb\r\nA\r\na2\r\n", "A\r\ng\xFC\r\nC\r\ng1\r\nC\r\ng2\r\n",
       "A|a1|g\xFC\nB|b|B\nA|a2|A\nC|C|g2\n",
       "A\r\na1\r\ng\xFC\r\nB\r\nb\r\nB\r\nA\r\na2\r\nA\r\nC\r\nC\r\ng2\r\n"},
      {"A\r\na\r\n", "B\r\ng1\r\nB\r\ng2\r\nA\r\nga\r\n", "A|a|ga\nB|B|g2\n", "A\r\na\r\nga\r\nB\r\nB\r\ng2\r\n"},
      // CR, LF and CR LF mixed, no break after the last line, an odd last line in each file;
      // blanks and bytes kept.
      {" A \rA en\n\xC0\xE1\r\n\xC0\xE1 en\rleft over", "\xC0\xE1\n\xDC\xF6\xDF\r A \r\nA de\nalone\r\n",
       " A |A en|A de\n\xC0\xE1|\xC0\xE1 en|\xDC\xF6\xDF\n",
       " A \r\nA en\r\nA de\r\n\xC0\xE1\r\n\xC0\xE1 en\r\n\xDC\xF6\xDF\r\n"},
      {"", "", "", ""},
  };
  for (const auto& c : cases) {
    Folder.Write("english.txt", c.english);
    Folder.Write("deutsch.txt", c.deutsch);
    Folder.Write("red.txt", "an older and much longer dictionary\r\n\r\n\r\n");
    BQELunit unit;
    EXPECT_EQ(Dump(unit), c.dump);
    EXPECT_EQ(ScratchFolder::Read(Folder / "red.txt"), c.red);
  }
  // The translation follows the rebuilt dictionary: the later entry of a name decides.
  Folder.Write("english.txt", "A\r\na1\r\nA\r\na2\r\n");
  BQELunit unit;
  EXPECT_EQ(Translate(unit, "A", 0), "a2");
  EXPECT_EQ(Translate(unit, Ru("Обороты"), 0), "");
}

TEST_F(Dictionary, OneMissingOrUnreadableFileKeepsTheBuiltInDictionaryAndRedTxt)
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
  // A folder where a file should be cannot be read either.
  std::filesystem::create_directory(Folder / "english.txt");
  BQELunit unit;
  EXPECT_EQ(unit.DictCells->Count(), 502);
  EXPECT_EQ(ScratchFolder::Read(Folder / "red.txt"), "kept\r\n");
}

TEST_F(Dictionary, AnUnwritableRedTxtStillLeavesTheRebuiltDictionary)
{
  Folder.Write("english.txt", "A\r\na\r\n");
  Folder.Write("deutsch.txt", "A\r\ng\r\n");
  std::filesystem::create_directory(Folder / "red.txt");
  BQELunit unit;
  EXPECT_EQ(Dump(unit), "A|a|g\n");
}

}  // namespace
