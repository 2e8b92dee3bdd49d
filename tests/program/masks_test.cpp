// Mask items and lookups: the duplicate rules of the two add operations, the looks a new item
// takes, names in the current language, finding a mask from a combo entry when two masks share a
// name; and what the program relies on in the first-start default masks, not their tables.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <sstream>
#include <string>

#include "CodePage.h"
#include "ComboBox.h"
#include "app/Qelunit.h"
#include "support/Records.h"
#include "support/TestApp.h"

namespace {

// A mask or a parameter named in the three languages.
template <class Cell>
Cell* Named(Cell* cell, const AnsiString& ru, const AnsiString& en, const AnsiString& de)
{
  cell->NameRu = ru, cell->NameEn = en, cell->NameDe = de;
  return cell;
}

const char* const RpmRu = "\xCE\xE1\xEE\xF0\xEE\xF2\xFB";  // "Обороты" in Windows-1251

class Masks : public ::testing::Test {
protected:
  // The constructor brings the start settings; these tests build their own lists.
  void SetUp() override { unit.ClearMaskCells(), unit.ClearTypeCells(), unit.ClearStatusCells(); }

  BQELunit unit;
};

// One line an item: id, factor, offset, colour, drawn, at the cursor, the three names.
std::string Dump(const LMaskCell* mask)
{
  std::ostringstream out;
  for (int i = 0; i < mask->Items->Count(); ++i) {
    const LTypeCell& item = *mask->Items->Get(i);
    out << item.Id << ' ' << item.Factor << ' ' << item.Offset << ' ' << std::hex << item.Color << std::dec << ' '
        << int{item.Chart} << int{item.Cursor} << ' ' << item.NameRu << '/' << item.NameEn << '/' << item.NameDe
        << '\n';
  }
  return out.str();
}

TEST_F(Masks, ChannelItemTakesItsChannelsIdTheLookOfItsRussianNameAndNoNameOfItsLanguageTwice)
{
  AddItem(unit.TypeCells, 7, "RPM-ru")->NameEn = "RPM";
  LMaskCell* mask = AddMask(unit, "m");
  unit.AddChannelItem(mask, "RPM-ru", "RPM", "Motordrehzahl");
  unit.AddChannelItem(mask, RpmRu, "r2", "d2");        // a look but no channel
  unit.AddChannelItem(mask, "QEL Voltage", "v", "v");  // a look that sets Cursor but not Chart
  unit.AddChannelItem(mask, "x", "Air Mass", "y");     // a well-known English name: plain defaults
  // Refused when any name of its own language is taken; case counts, and other languages' do not.
  unit.AddChannelItem(mask, "RPM-ru", "other en", "other de");
  unit.AddChannelItem(mask, "other ru", "RPM", "other de");
  unit.AddChannelItem(mask, "other ru", "other en", "Motordrehzahl");
  unit.AddChannelItem(mask, "X", "AIR MASS", "Y");
  unit.AddChannelItem(mask, "m", "x", "RPM");
  EXPECT_EQ(Dump(mask), "7 1 0 0 00 RPM-ru/RPM/Motordrehzahl\n-1 1 0 ff 11 " + AnsiString(RpmRu) +
                            "/r2/d2\n-1 1000 0 80 01 QEL Voltage/v/v\n-1 1 0 0 00 x/Air Mass/y\n"
                            "-1 1 0 0 00 X/AIR MASS/Y\n-1 1 0 0 00 m/x/RPM\n");
}

// A parameter and a status item of one name stand side by side, each refused only by its kind;
// a missing mask or item list takes nothing.
TEST_F(Masks, StatusItemLooksAndDuplicatesBesideParametersOfTheSameName)
{
  LMaskCell* mask = AddMask(unit, "m");
  for (const char* name : {"A/C", "Drive", "EVAP", "EVAP", "evap"})
    unit.AddStatusItem(mask, name);
  unit.AddChannelItem(mask, "EVAP", "EVAP", "EVAP");
  unit.AddStatusItem(mask, "EVAP");
  unit.AddChannelItem(mask, "EVAP", "x", "y");
  unit.AddChannelItem(mask, "P/N", "P/N", "P/N");
  unit.AddStatusItem(mask, "P/N");
  EXPECT_EQ(Dump(mask), "1 100 -500 ff 10 A/C/A/C/A/C\n1 100 -700 ffff 10 Drive/Drive/Drive\n"
                        "1 100 -500 ff00ff 00 EVAP/EVAP/EVAP\n1 100 -500 ff00ff 00 evap/evap/evap\n"
                        "-1 1 0 0 00 EVAP/EVAP/EVAP\n-1 1 0 0 00 P/N/P/N/P/N\n1 100 -500 ff00ff 00 P/N/P/N/P/N\n");
  LMaskCell bare;
  for (LMaskCell* none : {static_cast<LMaskCell*>(nullptr), &bare}) {
    unit.AddChannelItem(none, "a", "b", "c");
    unit.AddStatusItem(none, "IDLE");
  }
  EXPECT_EQ(bare.Items, nullptr);
}

// Names in the current language, any other value German; a parameter's id by its exact
// Russian name, the first of two.
TEST_F(Masks, NamesInTheCurrentLanguageAndChannelIdsByTheRussianName)
{
  LMaskCell* mask = Named(AddMask(unit, ""), "ru", "en", "de");
  LTypeCell* channel = Named(AddItem(unit.TypeCells, 5, ""), RpmRu, "e", "d");
  AddItem(unit.TypeCells, 9, RpmRu);
  std::string names;
  for (int language : {0, 1, 2, 7, -1}) {
    unit.Language = language;
    names += unit.MaskName(mask) + "/" + unit.ChannelName(channel) + " ";
  }
  EXPECT_EQ(names, "ru/" + AnsiString(RpmRu) + " en/e de/d de/d de/d ");
  EXPECT_EQ(unit.MaskName(nullptr) + unit.ChannelName(nullptr), "");
  // Not by another language's name, nor with a lower-case first letter.
  EXPECT_EQ(std::to_string(unit.ChannelIdByName(RpmRu)) + std::to_string(unit.ChannelIdByName("e")) +
                std::to_string(unit.ChannelIdByName("\xEE\xE1\xEE\xF0\xEE\xF2\xFB")),
            "5-1-1");
}

// Two masks with one English name: the combo lists both and each entry must give its own; the
// stored index decides, not the combo's selection, and a stale entry gives the first of its name.
TEST_F(Masks, MaskCombosGiveTheMaskAtTheStoredIndexOrTheFirstOfItsName)
{
  unit.Language = 1;
  LMaskCell* masks[] = {Named(AddMask(unit, ""), "a", "Same", "a"), Named(AddMask(unit, ""), "b", "Other", "b"),
                        Named(AddMask(unit, ""), "c", "Same", "c")};
  TComboBox combo(nullptr);
  for (const char* name : {"Same", "Other", "Same"})
    combo.Items()->Add(name);
  unit.MaskCombo = unit.ChartMaskCombo = &combo;
  const auto chosen = [&](int selected, int stored) {
    combo.SetItemIndex(selected);
    unit.ChartMaskIndex = unit.EditorMaskIndex = stored;
    LMaskCell *chart = nullptr, *editor = nullptr;
    const bool found = unit.ChartMask(chart);
    EXPECT_EQ(found, chart != nullptr);
    EXPECT_EQ(unit.EditorMask(editor), found);
    EXPECT_EQ(editor, chart);
    for (int i = 0; i < 3; ++i)
      if (chart == masks[i])
        return std::to_string(i);
    return std::string("none");
  };
  std::string seen = chosen(2, 2) + chosen(2, 0) + chosen(1, 1) + chosen(1, -1) + chosen(1, 3) + chosen(1, 100) +
                     chosen(-1, 1) + " ";
  masks[2]->NameEn = "Renamed";
  seen += chosen(2, 2) + " ";
  masks[0]->NameEn = "Gone";
  seen += chosen(2, 2);
  EXPECT_EQ(seen, "201nonenonenonenone 0 none");
  EXPECT_EQ(unit.FindMaskByName("Other"), masks[1]);
  unit.MaskCombo = unit.ChartMaskCombo = nullptr;
  EXPECT_EQ(chosen(0, 0), "none");
}

// Made twice over a known parameter: three masks, each named in every language with the word
// the family choice looks for, replace what was there; parameter ids and names are unique, the
// known one keeps its id and new ones come above it; each parameter item carries its channel's
// id, each status item names a status; every name is code-page bytes.
TEST_F(Masks, DefaultsAreThreeFamilyMasksOverTheParametersAndStatusesTheyName)
{
  unit.StatusesChanged = 0;
  AddItem(unit.TypeCells, 40, RpmRu);
  std::string counts[2];
  for (std::string& count : counts) {
    unit.MakeDefaultMasks();
    unit.MakeDefaultStatuses();
    count = std::to_string(unit.MaskCells->Count()) + " " + std::to_string(unit.StatusCells->Count()) + " " +
            std::to_string(unit.TypeCells->Count());
  }
  ASSERT_TRUE(counts[0] == counts[1] && counts[0].starts_with("3 ") && unit.StatusesChanged == 1) << counts[0];
  std::set<AnsiString> statuses;
  for (int s = 0; s < unit.StatusCells->Count(); ++s)
    statuses.insert(unit.StatusCells->Get(s)->Name);
  std::set<int32_t> ids;
  for (int c = 0; c < unit.TypeCells->Count(); ++c)
    EXPECT_TRUE(ids.insert(unit.TypeCells->Get(c)->Id).second);
  EXPECT_TRUE(ids.size() >= 10 && *ids.begin() == 40 && unit.TypeCells->Get(1)->Id == 41);
  const char* const words[] = {"QEL", "PMS", "LH"};
  for (int m = 0; m < 3; ++m) {
    const LMaskCell* mask = unit.MaskCells->Get(m);
    for (const AnsiString* name : {&mask->NameRu, &mask->NameEn, &mask->NameDe})
      for (int w = 0; w < 3; ++w)
        EXPECT_EQ(name->find(words[w]) != AnsiString::npos, w == m) << *name << " / " << words[w];
    for (int i = 0; i < mask->Items->Count(); ++i) {
      const LTypeCell* item = mask->Items->Get(i);
      EXPECT_FALSE(IsUtf8WithHighBytes(item->NameRu + item->NameEn + item->NameDe)) << item->NameEn;
      EXPECT_TRUE(item->Id == StatusItemId ? statuses.contains(item->NameRu)
                                           : item->Id == unit.ChannelIdByName(item->NameRu))
          << item->NameEn;
    }
  }
}

}  // namespace
