// The record lists of the central object: the clear operations free every record with its
// strings and sub-lists (AddressSanitizer reports what they miss or free twice), skip null
// entries, keep the list objects, and leave missing lists alone.
#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>
#include <utility>

#include "app/Qelunit.h"
#include "support/TestApp.h"

namespace {

TPtrList<LStatusStep>* NewSteps(int count)
{
  auto* steps = new TPtrList<LStatusStep>;
  for (int i = 0; i < count; ++i)
    steps->Add(new LStatusStep{i * 100, static_cast<Byte>(i % 2)});
  return steps;
}

LStatusCell* NewStatus(const AnsiString& name, int steps)
{
  auto* status = new LStatusCell;
  status->Name = name;
  status->Label = "S00001";
  status->Steps = NewSteps(steps);
  return status;
}

LTypeCell* NewType(int id, const AnsiString& name)
{
  auto* cell = new LTypeCell;
  cell->Id = id;
  cell->NameRu = name + " (ru), long enough to live on the heap";
  cell->NameEn = name + " (en), long enough to live on the heap";
  cell->NameDe = name + " (de), long enough to live on the heap";
  return cell;
}

LMaskCell* NewMask(const AnsiString& name, int items)
{
  auto* mask = new LMaskCell;
  mask->NameRu = mask->NameEn = mask->NameDe = name + ", a mask name beyond the short buffer";
  mask->Items = new TPtrList<LTypeCell>;
  for (int i = 0; i < items; ++i)
    mask->Items->Add(NewType(i + 2, name));
  return mask;
}

LErrorCell* NewError(bool withLists)
{
  auto* cell = new LErrorCell;
  if (withLists) {
    cell->Codes = new TStringList;
    cell->Kinds = new TStringList;
    cell->Codes->Add("P0130 O2 sensor circuit, a fault line of some length");
    cell->Kinds->Add("A");
  }
  return cell;
}

// A line record as the parser makes it, from the unit's pool.
LDataCell* NewData(BQELunit& unit, int index, const SharedText& code, const SharedText& text)
{
  LDataCell* cell = unit.DataCellPool.New();
  cell->Index = index;
  cell->Code = code;
  cell->Text = text;
  return cell;
}

// Fills every record list of the unit, null entries and null sub-lists included.
void FillAll(BQELunit& unit)
{
  unit.ErrorCells->Add(NewError(true));
  unit.ErrorCells->Add(nullptr);
  unit.ErrorCells->Add(NewError(false));

  const SharedText code("00010203"), name("Engine speed of the first cylinder bank");
  for (int i = 0; i < 5; ++i)
    unit.DataCells->Add(NewData(unit, i, code, name));
  unit.DataCells->Add(nullptr);
  unit.DataCells->Add(NewData(unit, 6, "00010204", "A name no other record shares, long enough"));

  unit.TypeCells->Add(NewType(2, "RPM"));
  unit.TypeCells->Add(nullptr);
  unit.TypeCells->Add(NewType(3, "Load"));

  unit.MaskCells->Add(NewMask("QEL", 3));
  unit.MaskCells->Add(nullptr);
  LMaskCell* holey = NewMask("PMS", 2);
  holey->Items->Add(nullptr);
  unit.MaskCells->Add(holey);
  LMaskCell* bare = NewMask("LH", 0);
  delete bare->Items;
  bare->Items = nullptr;
  unit.MaskCells->Add(bare);

  unit.StatusCells->Add(NewStatus("IDLE", 4));
  unit.StatusCells->Add(nullptr);
  LStatusCell* noSteps = NewStatus("Drive", 0);
  delete noSteps->Steps;
  noSteps->Steps = nullptr;
  unit.StatusCells->Add(noSteps);
  LStatusCell* holeySteps = NewStatus("EVAP", 2);
  holeySteps->Steps->Add(nullptr);
  unit.StatusCells->Add(holeySteps);
}

TEST(Records, NewParametersAndItemsScaleByOneAndHaveNoRowControls)
{
  const LTypeCell type;
  EXPECT_EQ(type.Factor, 1);
  EXPECT_EQ(type.Offset, 0);
  EXPECT_EQ(type.Chart + type.Cursor + type.Present, 0);
  EXPECT_TRUE(!type.NameLabel && !type.FactorEdit && !type.OffsetEdit && !type.ColorBox
              && !type.ChartCheck && !type.CursorCheck);
}

TEST(ClearLists, EmptyListsStayEmptyAndKeepTheirObjects)
{
  BQELunit unit;
  auto* errors = unit.ErrorCells;
  auto* data = unit.DataCells;
  auto* types = unit.TypeCells;
  auto* masks = unit.MaskCells;
  auto* statuses = unit.StatusCells;
  unit.ClearErrorCells();
  unit.ClearDataCells();
  unit.ClearTypeCells();
  unit.ClearMaskCells();
  unit.ClearStatusCells();
  EXPECT_EQ(unit.ErrorCells, errors);
  EXPECT_EQ(unit.DataCells, data);
  EXPECT_EQ(unit.TypeCells, types);
  EXPECT_EQ(unit.MaskCells, masks);
  EXPECT_EQ(unit.StatusCells, statuses);
  EXPECT_EQ(errors->Count() + data->Count() + types->Count() + masks->Count() + statuses->Count(), 0);
}

TEST(ClearLists, FreeEveryRecordAndSkipNullEntries)
{
  BQELunit unit;
  FillAll(unit);
  auto* masks = unit.MaskCells;
  unit.ClearErrorCells();
  unit.ClearDataCells();
  unit.ClearTypeCells();
  unit.ClearMaskCells();
  unit.ClearStatusCells();
  EXPECT_EQ(unit.ErrorCells->Count(), 0);
  EXPECT_EQ(unit.DataCells->Count(), 0);
  EXPECT_EQ(unit.TypeCells->Count(), 0);
  EXPECT_EQ(unit.MaskCells->Count(), 0);
  EXPECT_EQ(unit.StatusCells->Count(), 0);
  EXPECT_EQ(unit.MaskCells, masks);

  // The lists take new records after a clear, as every parse needs.
  FillAll(unit);
  EXPECT_EQ(unit.DataCells->Count(), 7);
  EXPECT_EQ(unit.DataCells->Get(6)->Index, 6);
}

TEST(ClearLists, DestructorFreesFilledLists)
{
  auto* unit = new BQELunit;
  FillAll(*unit);
  unit->BadValueLines->Add("index 0000003 00010203 x");
  unit->OtherLines->Add("index 0000004 something else");
  delete unit;
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
  unit.ClearErrorCells();
  unit.ClearDataCells();
  unit.ClearTypeCells();
  unit.ClearMaskCells();
  unit.ClearStatusCells();
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
  unit.ClearMaskCells();  // the start settings' lists are not part of this test
  unit.ClearStatusCells();
  LStatusCell* first = NewStatus("IDLE", 3);
  LStatusCell* second = NewStatus("Drive", 2);
  first->Steps->Add(nullptr);
  unit.StatusCells->Add(first);
  unit.StatusCells->Add(second);
  auto* firstSteps = first->Steps;

  unit.ClearStatusSubList(first);
  EXPECT_EQ(first->Steps, firstSteps);
  EXPECT_EQ(first->Steps->Count(), 0);
  EXPECT_EQ(second->Steps->Count(), 2);
  EXPECT_EQ(unit.StatusCells->Count(), 2);
  EXPECT_EQ(first->Name, "IDLE");

  // Steps are rebuilt into the same list after a clear.
  first->Steps->Add(new LStatusStep{500, 1});
  EXPECT_EQ(first->Steps->Count(), 1);

  LStatusCell withoutList;
  unit.ClearStatusSubList(&withoutList);
  EXPECT_EQ(withoutList.Steps, nullptr);
}

// What the row hook saw when it ran.
struct HookView {
  int Calls = 0;
  int Masks = -1;
  AnsiString FirstItem;
};
HookView gHookView;

TEST(ClearMaskCells, RowHookRunsBeforeTheItemsAreFreed)
{
  BQELunit unit;
  unit.ClearMaskCells();  // the start settings' lists are not part of this test
  unit.ClearStatusCells();
  unit.MaskCells->Add(NewMask("QEL", 2));
  unit.MaskCells->Add(NewMask("LH", 1));
  gHookView = HookView();
  unit.FreeMaskRowsHook = [](BQELunit& u) {
    ++gHookView.Calls;
    gHookView.Masks = u.MaskCells->Count();
    gHookView.FirstItem = u.MaskCells->Get(0)->Items->Get(0)->NameEn;
  };
  unit.ClearMaskCells();
  EXPECT_EQ(gHookView.Calls, 1);
  EXPECT_EQ(gHookView.Masks, 2);
  EXPECT_EQ(gHookView.FirstItem, "QEL (en), long enough to live on the heap");
  EXPECT_EQ(unit.MaskCells->Count(), 0);
  unit.FreeMaskRowsHook = nullptr;
}

TEST(ClearMaskCells, AFailingRowHookDoesNotStopTheClear)
{
  BQELunit unit;
  unit.MaskCells->Add(NewMask("QEL", 2));
  unit.FreeMaskRowsHook = [](BQELunit&) { throw std::runtime_error("row box gone"); };
  EXPECT_NO_THROW(unit.ClearMaskCells());
  EXPECT_EQ(unit.MaskCells->Count(), 0);
  unit.FreeMaskRowsHook = nullptr;
}

TEST(ConstructedUnit, HasFiveSeparateEmptyUnrecognisedLineLists)
{
  BQELunit unit;
  TStringList* lists[] = {unit.BadValueLines, unit.ShortRestLines, unit.ShortLines,
                          unit.BadKeyLines, unit.OtherLines};
  for (int i = 0; i < 5; ++i) {
    ASSERT_NE(lists[i], nullptr);
    EXPECT_EQ(lists[i]->Count(), 0);
    for (int k = 0; k < i; ++k)
      EXPECT_NE(lists[i], lists[k]);
  }
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
  EXPECT_EQ(b.Text.Length(), 45);

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

TEST(SharedText, EmptyTextAndComparisons)
{
  EXPECT_TRUE(SharedText(AnsiString()).IsEmpty());
  EXPECT_TRUE(SharedText("").IsEmpty());
  EXPECT_EQ(SharedText(), SharedText(""));
  EXPECT_EQ(SharedText("Drive"), SharedText("Drive"));
  EXPECT_FALSE(SharedText("Drive") == SharedText("drive"));
  EXPECT_FALSE(SharedText("Drive") == "Drive ");
  const AnsiString withNul("a\0b", 3);
  EXPECT_EQ(SharedText(withNul).Length(), 3);
  EXPECT_FALSE(SharedText(withNul) == "a");
}

} // namespace
