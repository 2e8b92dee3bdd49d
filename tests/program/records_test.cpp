// The record lists of the central object: the clear operations free every record with its
// strings and sub-lists (AddressSanitizer reports what they miss or free twice), skip null
// entries, keep the list objects, and leave missing lists alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <utility>

#include "app/Qelunit.h"
#include "support/Records.h"
#include "support/TestApp.h"

namespace {

const AnsiString Long = ", long enough to live on the heap";

// Fills every record list of the unit, null entries and null sub-lists included.
void FillAll(BQELunit& unit)
{
  AddFault(unit, 0, {{"P0130 O2 sensor circuit" + Long, "A"}});
  unit.ErrorCells->Add(nullptr);
  AddFault(unit, 5);

  for (int i = 0; i < 5; ++i)
    AddLine(unit, 2, i, 0.0, "Engine speed" + Long, "00010203");
  unit.DataCells->Add(nullptr);
  AddLine(unit, 3, 6, 0.0, "A name no other record shares" + Long, "00010204");

  AddItem(unit.TypeCells, 2, "RPM" + Long);
  unit.TypeCells->Add(nullptr);
  AddItem(unit.TypeCells, 3, "Load" + Long);

  for (const char* name : {"QEL", "PMS"}) {
    LMaskCell* mask = AddMask(unit, name + Long);
    AddItem(mask->Items, 2, name + Long);
    mask->Items->Add(nullptr);
    AddItem(mask->Items, 3, name + Long);
  }
  unit.MaskCells->Add(nullptr);
  delete std::exchange(AddMask(unit, "LH" + Long)->Items, nullptr);

  AddStatus(unit, "IDLE", {{0, 1}, {100, 0}, {200, 1}});
  unit.StatusCells->Add(nullptr);
  delete std::exchange(AddStatus(unit, "Drive")->Steps, nullptr);
  AddStatus(unit, "EVAP", {{0, 1}})->Steps->Add(nullptr);
}

void ClearAll(BQELunit& unit)
{
  unit.ClearErrorCells();
  unit.ClearDataCells();
  unit.ClearTypeCells();
  unit.ClearMaskCells();
  unit.ClearStatusCells();
}

TEST(ClearLists, FreeEveryRecordSkipNullEntriesAndKeepTheListObjects)
{
  BQELunit unit;
  const void* lists[] = {unit.ErrorCells, unit.DataCells, unit.TypeCells, unit.MaskCells, unit.StatusCells};
  for (int round = 0; round < 2; ++round) {  // the lists take new records after a clear, as every parse needs
    FillAll(unit);
    EXPECT_EQ(unit.DataCells->Get(6)->Index, 6);
    ClearAll(unit);
    const void* after[] = {unit.ErrorCells, unit.DataCells, unit.TypeCells, unit.MaskCells, unit.StatusCells};
    EXPECT_TRUE(std::equal(std::begin(lists), std::end(lists), std::begin(after)));
    EXPECT_EQ(unit.ErrorCells->Count() + unit.DataCells->Count() + unit.TypeCells->Count() +
                  unit.MaskCells->Count() + unit.StatusCells->Count(),
              0);
  }
  ClearAll(unit);  // and clearing empty lists is harmless

  auto* filled = new BQELunit;  // the destructor frees what is left
  FillAll(*filled);
  filled->BadValueLines->Add("index 0000003 00010203 x");
  delete filled;
}

TEST(ClearLists, MissingListsAreLeftAlone)
{
  BQELunit unit;
  auto* errors = std::exchange(unit.ErrorCells, nullptr);
  auto* data = std::exchange(unit.DataCells, nullptr);
  auto* types = std::exchange(unit.TypeCells, nullptr);
  auto* masks = std::exchange(unit.MaskCells, nullptr);
  auto* statuses = std::exchange(unit.StatusCells, nullptr);
  auto* dictionary = std::exchange(unit.DictCells, nullptr);
  ClearAll(unit);
  unit.ClearDictCells();
  unit.ClearStatusSubList(nullptr);
  EXPECT_EQ(unit.ErrorCells, nullptr);
  EXPECT_EQ(unit.DictCells, nullptr);
  unit.ErrorCells = errors;
  unit.DataCells = data;
  unit.TypeCells = types;
  unit.MaskCells = masks;
  unit.StatusCells = statuses;
  unit.DictCells = dictionary;
}

TEST(ClearStatusSubList, EmptiesTheStepsOfThatStatusOnly)
{
  BQELunit unit;
  unit.ClearStatusCells();  // the start settings' statuses are not part of this test
  LStatusCell* first = AddStatus(unit, "IDLE", {{0, 1}, {100, 0}, {200, 1}});
  LStatusCell* second = AddStatus(unit, "Drive", {{0, 1}, {100, 0}});
  first->Steps->Add(nullptr);
  auto* firstSteps = first->Steps;

  unit.ClearStatusSubList(first);
  EXPECT_EQ(first->Steps, firstSteps);
  EXPECT_EQ(DumpSteps(first), "");
  EXPECT_EQ(DumpSteps(second), "0:1 100:0");
  EXPECT_EQ(unit.StatusCells->Count(), 2);
  AddStep(first, 500, 1);  // rebuilt into the same list
  EXPECT_EQ(DumpSteps(first), "500:1");

  LStatusCell withoutList;
  unit.ClearStatusSubList(&withoutList);
  EXPECT_EQ(withoutList.Steps, nullptr);
}

// The mask editor's rows point at items: its hook runs once, while the masks still stand; a
// failing hook stops nothing.
AnsiString gHookSaw;

TEST(ClearMaskCells, RowHookRunsBeforeTheItemsAreFreed)
{
  BQELunit unit;
  unit.ClearMaskCells();  // the start settings' masks are not part of this test
  using Hook = void (*)(BQELunit&);
  const Hook looking = [](BQELunit& u) {
    gHookSaw += std::to_string(u.MaskCells->Count()) + " " + u.MaskCells->Get(0)->Items->Get(0)->NameEn;
  };
  const Hook failing = [](BQELunit&) { throw std::runtime_error("row box gone"); };
  for (Hook hook : {looking, failing}) {
    AddItem(AddMask(unit, "QEL")->Items, 2, "QEL item" + Long);
    AddMask(unit, "LH");
    gHookSaw = "";
    unit.FreeMaskRowsHook = hook;
    EXPECT_NO_THROW(unit.ClearMaskCells());
    EXPECT_EQ(gHookSaw, hook == failing ? "" : "2 QEL item" + Long);
    EXPECT_EQ(unit.MaskCells->Count(), 0);
  }
  unit.FreeMaskRowsHook = nullptr;
}

TEST(SharedText, CopiesShareOneTextThatOutlivesTheOriginal)
{
  std::optional<LDataCell> a(std::in_place);
  LDataCell b;
  {
    SharedText name(AnsiString("A parameter name longer than the short buffer"));
    a->Text = name;
    b.Text = a->Text;
    EXPECT_EQ(&a->Text.Str(), &name.Str());
    EXPECT_EQ(&b.Text.Str(), &name.Str());
  }
  a.reset();
  EXPECT_EQ(b.Text, "A parameter name longer than the short buffer");

  SharedText self("kept");
  const SharedText& alias = self;
  self = alias;
  EXPECT_EQ(self, "kept");
  SharedText moved(std::move(self));
  EXPECT_EQ(moved, AnsiString("kept"));
  EXPECT_TRUE(self.IsEmpty());
  self = std::move(moved);
  EXPECT_EQ(self, "kept");
  self.Release();
  EXPECT_TRUE(self.IsEmpty());
  EXPECT_EQ(self.Str(), "");
}

}  // namespace
