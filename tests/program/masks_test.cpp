// Mask items and lookups: the duplicate rules of the two add operations, the looks a new item
// takes, names in the current language, and finding a mask from a combo entry when two masks
// share a name.
#include <gtest/gtest.h>

#include <memory>

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

TEST_F(Masks, ChannelItemTakesTheChannelIdAndTheLookOfItsRussianName)
{
  NewChannel(7, RpmRu, "RPM");
  LMaskCell* mask = NewMask("m", "m", "m");
  unit.AddChannelItem(mask, RpmRu, "RPM", "Motordrehzahl [1/min]");
  unit.AddChannelItem(mask, "Unknown", "RPM2", "X");
  // A well-known English name under another Russian name gets the plain defaults.
  unit.AddChannelItem(mask, "RPM", "Air Mass", "Y");
  ASSERT_EQ(Items(mask), 3);
  const LTypeCell& rpm = Item(mask, 0);
  EXPECT_EQ(rpm.Id, 7);
  EXPECT_EQ(rpm.Factor, 1);
  EXPECT_EQ(rpm.Color, 0x0000FF);
  EXPECT_EQ(rpm.Chart, 1);
  EXPECT_EQ(rpm.Cursor, 1);
  for (int i : {1, 2}) {
    const LTypeCell& plain = Item(mask, i);
    EXPECT_EQ(plain.Id, -1);
    EXPECT_EQ(plain.Factor, 1);
    EXPECT_EQ(plain.Offset, 0);
    EXPECT_EQ(plain.Color, 0);
    EXPECT_EQ(plain.Chart, 0);
    EXPECT_EQ(plain.Cursor, 0);
  }
  // A look that sets Cursor but not Chart leaves Chart 0.
  unit.AddChannelItem(mask, "QEL Voltage", "QEL Voltage", "QEL Voltage");
  const LTypeCell& voltage = Item(mask, 3);
  EXPECT_EQ(voltage.Factor, 1000);
  EXPECT_EQ(voltage.Color, 0x000080);
  EXPECT_EQ(voltage.Chart, 0);
  EXPECT_EQ(voltage.Cursor, 1);
}

TEST_F(Masks, ChannelItemRefusedWhenAnyNameOfItsLanguageIsTaken)
{
  LMaskCell* mask = NewMask("m", "m", "m");
  unit.AddChannelItem(mask, "ru", "en", "de");
  unit.AddChannelItem(mask, "ru", "other en", "other de");
  unit.AddChannelItem(mask, "other ru", "en", "other de");
  unit.AddChannelItem(mask, "other ru", "other en", "de");
  unit.AddChannelItem(mask, "RU", "EN", "DE");  // case counts
  // Names are compared within their own language only.
  unit.AddChannelItem(mask, "en", "de", "ru");
  ASSERT_EQ(Items(mask), 3);
  EXPECT_EQ(Item(mask, 1).NameRu, "RU");
  EXPECT_EQ(Item(mask, 2).NameRu, "en");
}

TEST_F(Masks, StatusItemLooksAndDuplicates)
{
  LMaskCell* mask = NewMask("m", "m", "m");
  unit.AddStatusItem(mask, "A/C");
  unit.AddStatusItem(mask, "Drive");
  unit.AddStatusItem(mask, "EVAP");
  unit.AddStatusItem(mask, "EVAP");
  unit.AddStatusItem(mask, "evap");
  ASSERT_EQ(Items(mask), 4);
  struct Look {
    int32_t offset;
    TColor color;
    Byte chart;
  };
  const Look looks[] = {{-500, 0x0000FF, 1}, {-700, 0x00FFFF, 1}, {-500, 0xFF00FF, 0}, {-500, 0xFF00FF, 0}};
  for (int i = 0; i < 4; ++i) {
    const LTypeCell& item = Item(mask, i);
    EXPECT_EQ(item.Id, 1);
    EXPECT_EQ(item.Factor, 100);
    EXPECT_EQ(item.Offset, looks[i].offset);
    EXPECT_EQ(item.Color, looks[i].color);
    EXPECT_EQ(item.Chart, looks[i].chart);
    EXPECT_EQ(item.Cursor, 0);
    EXPECT_EQ(item.NameEn, item.NameRu);
    EXPECT_EQ(item.NameDe, item.NameRu);
  }
}

TEST_F(Masks, ParameterAndStatusItemOfOneNameStandSideBySide)
{
  LMaskCell* mask = NewMask("m", "m", "m");
  unit.AddStatusItem(mask, "IDLE");
  unit.AddChannelItem(mask, "IDLE", "IDLE", "IDLE");
  unit.AddStatusItem(mask, "IDLE");
  unit.AddChannelItem(mask, "IDLE", "x", "y");
  ASSERT_EQ(Items(mask), 2);
  EXPECT_EQ(Item(mask, 0).Id, 1);
  EXPECT_EQ(Item(mask, 1).Id, -1);
  EXPECT_EQ(Item(mask, 1).Factor, 500);
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

TEST_F(MaskCombos, EntryGivesTheMaskAtItsOwnIndex)
{
  combo->SetItemIndex(2);
  unit.EditorMaskIndex = 2;
  unit.ChartMaskIndex = 0;
  LMaskCell* mask = nullptr;
  ASSERT_TRUE(unit.EditorMask(mask));
  EXPECT_EQ(mask, second);
  // The stored index decides, not the combo's selection.
  ASSERT_TRUE(unit.ChartMask(mask));
  EXPECT_EQ(mask, first);
  EXPECT_EQ(unit.FindMaskByName("Same"), first);
}

TEST_F(MaskCombos, EntryOutOfStepWithTheListFallsBackToTheFirstOfItsName)
{
  // The mask at index 2 was renamed after the combo was filled.
  second->NameEn = "Renamed";
  combo->SetItemIndex(2);
  unit.ChartMaskIndex = 2;
  LMaskCell* mask = nullptr;
  ASSERT_TRUE(unit.ChartMask(mask));
  EXPECT_EQ(mask, first);
  // An entry no mask has any more gives none.
  first->NameEn = "Gone";
  mask = nullptr;
  EXPECT_FALSE(unit.ChartMask(mask));
  EXPECT_EQ(mask, nullptr);
}

TEST_F(MaskCombos, NoMaskWithoutSelectionOrValidStoredIndex)
{
  LMaskCell* mask = nullptr;
  unit.ChartMaskIndex = 1;
  combo->SetItemIndex(-1);
  EXPECT_FALSE(unit.ChartMask(mask));
  combo->SetItemIndex(1);
  ASSERT_TRUE(unit.ChartMask(mask));
  EXPECT_EQ(mask, other);
  mask = nullptr;
  for (int stored : {-1, 3, 100}) {
    unit.ChartMaskIndex = stored;
    EXPECT_FALSE(unit.ChartMask(mask)) << stored;
  }
  unit.ChartMaskCombo = nullptr;
  unit.ChartMaskIndex = 0;
  EXPECT_FALSE(unit.ChartMask(mask));
  EXPECT_EQ(mask, nullptr);
}

} // namespace
