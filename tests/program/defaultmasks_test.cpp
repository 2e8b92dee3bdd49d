// The first-start defaults: what the rest of the program relies on in them, not their tables.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "CodePage.h"
#include "app/Qelunit.h"
#include "chart/Masks.h"
#include "support/TestApp.h"

namespace {

const char* const RpmRu = "\xCE\xE1\xEE\xF0\xEE\xF2\xFB";  // "Обороты" in Windows-1251

class DefaultMasks : public ::testing::Test {
protected:
  // The constructor brings the start settings; these tests build their own lists.
  void SetUp() override
  {
    unit.ClearMaskCells();
    unit.ClearTypeCells();
    unit.ClearStatusCells();
    unit.StatusesChanged = 0;
  }

  BQELunit unit;
};

// Three masks, each named in every language with the word the family choice looks for; every
// parameter item of a registered name carries that channel's id, every status item names a
// status; names in code-page bytes.
TEST_F(DefaultMasks, MasksCarryTheirFamilyWordAndReferToChannelsAndStatuses)
{
  unit.MakeDefaultMasks();
  unit.MakeDefaultStatuses();
  EXPECT_EQ(unit.StatusesChanged, 1);
  std::set<AnsiString> statuses;
  for (int s = 0; s < unit.StatusCells->Count(); ++s) {
    ASSERT_NE(unit.StatusCells->Get(s)->Steps, nullptr);
    statuses.insert(unit.StatusCells->Get(s)->Name);
  }
  std::map<AnsiString, int32_t> channels;
  std::set<int32_t> ids;
  for (int c = 0; c < unit.TypeCells->Count(); ++c) {
    const LTypeCell* channel = unit.TypeCells->Get(c);
    EXPECT_GE(channel->Id, 2) << channel->NameRu;
    EXPECT_TRUE(ids.insert(channel->Id).second) << channel->Id;
    channels[channel->NameRu] = channel->Id;
  }
  EXPECT_GE(channels.size(), 10u);

  const char* const words[] = {"QEL", "PMS", "LH"};
  ASSERT_EQ(unit.MaskCells->Count(), 3);
  int parameters = 0;
  for (int m = 0; m < 3; ++m) {
    const LMaskCell* mask = unit.MaskCells->Get(m);
    for (const AnsiString* name : {&mask->NameRu, &mask->NameEn, &mask->NameDe})
      for (int w = 0; w < 3; ++w)
        EXPECT_EQ(name->find(words[w]) != AnsiString::npos, w == m) << *name << " / " << words[w];
    EXPECT_LT(mask->YBottom, 0);
    EXPECT_GT(mask->YTop, 0);
    ASSERT_NE(mask->Items, nullptr);
    for (int i = 0; i < mask->Items->Count(); ++i) {
      const LTypeCell* item = mask->Items->Get(i);
      SCOPED_TRACE(item->NameEn);
      for (const AnsiString* name : {&item->NameRu, &item->NameEn, &item->NameDe})
        EXPECT_FALSE(IsUtf8WithHighBytes(*name));
      if (item->Id == StatusItemId) {
        EXPECT_EQ(statuses.count(item->NameRu), 1u);
      } else {
        const auto channel = channels.find(item->NameRu);
        EXPECT_EQ(item->Id, channel == channels.end() ? -1 : channel->second);
        parameters += item->Id >= 2;
      }
    }
  }
  EXPECT_GE(parameters, 20);
}

TEST_F(DefaultMasks, ReplaceWhatWasThereAndReuseKnownChannels)
{
  // A channel known before keeps its id, and the items of its Russian name take that id.
  auto* rpm = new LTypeCell;
  rpm->Id = 40;
  rpm->NameRu = RpmRu;
  unit.TypeCells->Add(rpm);
  auto* old = new LMaskCell;
  old->NameRu = old->NameEn = old->NameDe = "old";
  old->Items = new TPtrList<LTypeCell>;
  unit.MaskCells->Add(old);
  auto* status = new LStatusCell;
  status->Name = "old";
  status->Steps = new TPtrList<LStatusStep>;
  unit.StatusCells->Add(status);

  unit.MakeDefaultMasks();
  unit.MakeDefaultStatuses();
  const int statuses = unit.StatusCells->Count();
  const int channels = unit.TypeCells->Count();
  unit.MakeDefaultMasks();
  unit.MakeDefaultStatuses();

  ASSERT_EQ(unit.MaskCells->Count(), 3);
  EXPECT_NE(unit.MaskCells->Get(0)->NameEn, "old");
  EXPECT_EQ(unit.StatusCells->Count(), statuses);
  EXPECT_NE(unit.StatusCells->Get(0)->Name, "old");
  EXPECT_EQ(unit.TypeCells->Count(), channels);
  EXPECT_EQ(unit.TypeCells->Get(0)->Id, 40);
  EXPECT_EQ(unit.TypeCells->Get(1)->Id, 41);  // the next above the largest
  int rpmItems = 0;
  for (int i = 0; i < unit.MaskCells->Get(0)->Items->Count(); ++i) {
    const LTypeCell* item = unit.MaskCells->Get(0)->Items->Get(i);
    if (item->NameRu == RpmRu) {
      EXPECT_EQ(item->Id, 40);
      ++rpmItems;
    }
  }
  EXPECT_EQ(rpmItems, 1);
}

}  // namespace
