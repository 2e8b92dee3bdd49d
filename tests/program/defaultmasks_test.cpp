// The first-start defaults: what the rest of the program relies on in them, not their tables.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "CodePage.h"
#include "app/Qelunit.h"
#include "support/TestApp.h"

namespace {

const char* const RpmRu = "\xCE\xE1\xEE\xF0\xEE\xF2\xFB";  // "Обороты" in Windows-1251

// Made over lists of an older start, twice: three masks, each named in every language with the
// word the family choice looks for, replace what was there; parameter ids and names are unique, a channel
// known before keeps its id and new ones come above it; each parameter item carries its
// channel's id, each status item names a status; every name is code-page bytes.
TEST(DefaultMasks, ThreeFamilyMasksOverTheParametersAndStatusesTheyName)
{
  BQELunit unit;
  unit.ClearMaskCells();
  unit.ClearTypeCells();
  unit.ClearStatusCells();
  unit.StatusesChanged = 0;
  auto* rpm = new LTypeCell;
  unit.TypeCells->Add(rpm);
  rpm->Id = 40, rpm->NameRu = RpmRu;
  std::string counts[2];
  for (std::string& count : counts) {
    unit.MakeDefaultMasks();
    unit.MakeDefaultStatuses();
    count = std::to_string(unit.MaskCells->Count()) + " " + std::to_string(unit.StatusCells->Count()) + " " +
            std::to_string(unit.TypeCells->Count());
  }
  EXPECT_EQ(counts[0], counts[1]);
  EXPECT_EQ(unit.StatusesChanged, 1);
  std::set<AnsiString> statuses;
  for (int s = 0; s < unit.StatusCells->Count(); ++s) {
    EXPECT_NE(unit.StatusCells->Get(s)->Steps, nullptr);
    statuses.insert(unit.StatusCells->Get(s)->Name);
  }
  std::set<int32_t> ids;
  std::set<AnsiString> channels;
  for (int c = 0; c < unit.TypeCells->Count(); ++c)
    EXPECT_TRUE(ids.insert(unit.TypeCells->Get(c)->Id).second &&
                channels.insert(unit.TypeCells->Get(c)->NameRu).second);
  EXPECT_GE(ids.size(), 10u);
  EXPECT_EQ(*ids.begin(), 40);
  EXPECT_EQ(unit.TypeCells->Get(1)->Id, 41);

  const char* const words[] = {"QEL", "PMS", "LH"};
  ASSERT_EQ(unit.MaskCells->Count(), 3);
  int parameters = 0, rpmItems = 0;
  for (int m = 0; m < 3; ++m) {
    const LMaskCell* mask = unit.MaskCells->Get(m);
    for (const AnsiString* name : {&mask->NameRu, &mask->NameEn, &mask->NameDe})
      for (int w = 0; w < 3; ++w)
        EXPECT_EQ(name->find(words[w]) != AnsiString::npos, w == m) << *name << " / " << words[w];
    EXPECT_TRUE(mask->YBottom < 0 && mask->YTop > 0);
    for (int i = 0; i < mask->Items->Count(); ++i) {
      const LTypeCell* item = mask->Items->Get(i);
      SCOPED_TRACE(item->NameEn);
      EXPECT_FALSE(IsUtf8WithHighBytes(item->NameRu + item->NameEn + item->NameDe));
      if (item->Id == StatusItemId)
        EXPECT_EQ(statuses.count(item->NameRu), 1u);
      else
        EXPECT_EQ(item->Id, unit.ChannelIdByName(item->NameRu));
      parameters += item->Id >= 2;
      rpmItems += item->Id == 40;
    }
  }
  EXPECT_GE(parameters, 20);
  EXPECT_GE(rpmItems, 1);
}

}  // namespace
