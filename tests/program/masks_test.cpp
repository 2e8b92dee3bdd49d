// Mask items and lookups: the duplicate rules of the two add operations, the looks a new item
// takes, names in the current language, and finding a mask from a combo entry when two masks
// share a name.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>

#include "ComboBox.h"
#include "app/Qelunit.h"
#include "support/TestApp.h"

namespace {

const char* const RpmRu = "\xCE\xE1\xEE\xF0\xEE\xF2\xFB";  // "Обороты" in Windows-1251

class Masks : public ::testing::Test {
protected:
  // The constructor brings the start settings; these tests build their own lists.
  void SetUp() override
  {
    unit.ClearMaskCells();
    unit.ClearTypeCells();
    unit.ClearStatusCells();
  }

  LMaskCell* NewMask(const AnsiString& ru, const AnsiString& en, const AnsiString& de)
  {
    auto* mask = new LMaskCell;
    mask->NameRu = ru;
    mask->NameEn = en;
    mask->NameDe = de;
    mask->Items = new TPtrList<LTypeCell>;
    unit.MaskCells->Add(mask);
    return mask;
  }

  LTypeCell* NewChannel(int32_t id, const AnsiString& ru, const AnsiString& en = "")
  {
    auto* channel = new LTypeCell;
    channel->Id = id;
    channel->NameRu = ru;
    channel->NameEn = en;
    unit.TypeCells->Add(channel);
    return channel;
  }

  int Items(const LMaskCell* mask) const { return mask->Items->Count(); }
  const LTypeCell& Item(const LMaskCell* mask, int i) const { return *mask->Items->Get(i); }

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
  NewChannel(7, "RPM-ru", "RPM");
  LMaskCell* mask = NewMask("m", "m", "m");
  unit.AddChannelItem(mask, "RPM-ru", "RPM", "Motordrehzahl");
  unit.AddChannelItem(mask, RpmRu, "r2", "d2");        // a look but no channel
  unit.AddChannelItem(mask, "QEL Voltage", "v", "v");  // a look that sets Cursor but not Chart
  // A well-known English name under another Russian name gets the plain defaults.
  unit.AddChannelItem(mask, "x", "Air Mass", "y");
  // Refused when any name of its own language is taken; case counts.
  unit.AddChannelItem(mask, "RPM-ru", "other en", "other de");
  unit.AddChannelItem(mask, "other ru", "RPM", "other de");
  unit.AddChannelItem(mask, "other ru", "other en", "Motordrehzahl");
  unit.AddChannelItem(mask, "X", "AIR MASS", "Y");
  // Names are compared within their own language only.
  unit.AddChannelItem(mask, "m", "x", "RPM");
  EXPECT_EQ(Dump(mask), "7 1 0 0 00 RPM-ru/RPM/Motordrehzahl\n"
                        "-1 1 0 ff 11 " +
                            AnsiString(RpmRu) +
                            "/r2/d2\n"
                            "-1 1000 0 80 01 QEL Voltage/v/v\n"
                            "-1 1 0 0 00 x/Air Mass/y\n"
                            "-1 1 0 0 00 X/AIR MASS/Y\n"
                            "-1 1 0 0 00 m/x/RPM\n");
}

TEST_F(Masks, StatusItemLooksAndDuplicatesBesideParametersOfTheSameName)
{
  LMaskCell* mask = NewMask("m", "m", "m");
  for (const char* name : {"A/C", "Drive", "EVAP", "EVAP", "evap"})
    unit.AddStatusItem(mask, name);
  // A parameter and a status item of one name stand side by side, each refused only by its kind.
  unit.AddChannelItem(mask, "EVAP", "EVAP", "EVAP");
  unit.AddStatusItem(mask, "EVAP");
  unit.AddChannelItem(mask, "EVAP", "x", "y");
  EXPECT_EQ(Dump(mask), "1 100 -500 ff 10 A/C/A/C/A/C\n"
                        "1 100 -700 ffff 10 Drive/Drive/Drive\n"
                        "1 100 -500 ff00ff 00 EVAP/EVAP/EVAP\n"
                        "1 100 -500 ff00ff 00 evap/evap/evap\n"
                        "-1 1 0 0 00 EVAP/EVAP/EVAP\n");
}

TEST_F(Masks, AddsIgnoreMissingMasksAndLists)
{
  unit.AddChannelItem(nullptr, "a", "b", "c");
  unit.AddStatusItem(nullptr, "IDLE");
  LMaskCell bare;
  unit.AddChannelItem(&bare, "a", "b", "c");
  unit.AddStatusItem(&bare, "IDLE");
  EXPECT_EQ(bare.Items, nullptr);
}

TEST_F(Masks, NamesInTheCurrentLanguageAnyOtherValueGerman)
{
  LMaskCell* mask = NewMask("ru", "en", "de");
  LTypeCell* channel = NewChannel(2, "r", "e");
  channel->NameDe = "d";
  const struct {
    int language;
    const char* mask;
    const char* channel;
  } cases[] = {{0, "ru", "r"}, {1, "en", "e"}, {2, "de", "d"}, {7, "de", "d"}, {-1, "de", "d"}};
  for (const auto& c : cases) {
    unit.Language = c.language;
    EXPECT_EQ(unit.MaskName(mask), c.mask);
    EXPECT_EQ(unit.ChannelName(channel), c.channel);
  }
  EXPECT_EQ(unit.MaskName(nullptr), "");
  EXPECT_EQ(unit.ChannelName(nullptr), "");
}

TEST_F(Masks, ChannelIdByRussianNameOnlyExactFirstMatch)
{
  NewChannel(5, RpmRu, "RPM");
  NewChannel(9, RpmRu);
  EXPECT_EQ(unit.ChannelIdByName(RpmRu), 5);
  EXPECT_EQ(unit.ChannelIdByName("RPM"), -1);
  EXPECT_EQ(unit.ChannelIdByName("\xEE\xE1\xEE\xF0\xEE\xF2\xFB"), -1);  // lower-case first letter
}

// Two masks with one English name: the combo lists both and each entry must give its own.
class MaskCombos : public Masks {
protected:
  void SetUp() override
  {
    Masks::SetUp();
    unit.Language = 1;
    first = NewMask("a", "Same", "a");
    other = NewMask("b", "Other", "b");
    second = NewMask("c", "Same", "c");
    combo = std::make_unique<TComboBox>(nullptr);
    for (const char* name : {"Same", "Other", "Same"})
      combo->Items()->Add(name);
    unit.MaskCombo = combo.get();
    unit.ChartMaskCombo = combo.get();
  }

  void TearDown() override
  {
    unit.MaskCombo = nullptr;
    unit.ChartMaskCombo = nullptr;
  }

  LMaskCell* first = nullptr;
  LMaskCell* other = nullptr;
  LMaskCell* second = nullptr;
  std::unique_ptr<TComboBox> combo;
};

TEST_F(MaskCombos, EntryGivesTheMaskAtItsStoredIndexOrTheFirstOfItsName)
{
  // The mask chosen for the chart as its name, "none" when there is none.
  auto chosen = [&] {
    LMaskCell* mask = nullptr;
    const bool found = unit.ChartMask(mask);
    EXPECT_EQ(found, mask != nullptr);
    return mask == first ? "first" : mask == other ? "other" : mask == second ? "second" : "none";
  };
  combo->SetItemIndex(2);
  unit.EditorMaskIndex = 2;
  LMaskCell* mask = nullptr;
  ASSERT_TRUE(unit.EditorMask(mask));
  EXPECT_EQ(mask, second);
  unit.ChartMaskIndex = 0;
  EXPECT_STREQ(chosen(), "first");  // the stored index decides, not the combo's selection
  EXPECT_EQ(unit.FindMaskByName("Same"), first);
  combo->SetItemIndex(1);
  unit.ChartMaskIndex = 1;
  EXPECT_STREQ(chosen(), "other");
  for (int stored : {-1, 3, 100}) {
    unit.ChartMaskIndex = stored;
    EXPECT_STREQ(chosen(), "none") << stored;
  }
  unit.ChartMaskIndex = 1;
  combo->SetItemIndex(-1);
  EXPECT_STREQ(chosen(), "none");

  // The mask at index 2 was renamed after the combo was filled: the first of the entry's name.
  second->NameEn = "Renamed";
  combo->SetItemIndex(2);
  unit.ChartMaskIndex = 2;
  EXPECT_STREQ(chosen(), "first");
  first->NameEn = "Gone";  // an entry no mask has any more gives none
  EXPECT_STREQ(chosen(), "none");
  unit.ChartMaskCombo = nullptr;
  unit.ChartMaskIndex = 0;
  EXPECT_STREQ(chosen(), "none");
}

}  // namespace
