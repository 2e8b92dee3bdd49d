// The record lists of the central object: the clear operations free every record with its
// strings and sub-lists (AddressSanitizer reports what they miss or free twice), skip null
// entries, keep the list objects and leave missing lists alone; the line records live in chunks
// of a pool, made in place and given back with the next parse.
#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

#include "program/ParserTestSupport.h"

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
  for (const char* name : {"QEL", "PMS"}) {
    LMaskCell* mask = AddMask(unit, name + Long);
    AddItem(mask->Items, 2, name + Long);
    mask->Items->Add(nullptr);
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

// The lists take new records after a clear, as every parse needs; clearing empty or missing
// lists is harmless; the destructor frees what is left.
TEST(ClearLists, FreeEveryRecordSkipNullEntriesAndKeepTheListObjects)
{
  BQELunit unit;
  const auto lists = [&unit] {
    return std::vector<const void*>{unit.ErrorCells, unit.DataCells, unit.TypeCells, unit.MaskCells,
                                    unit.StatusCells};
  };
  const auto before = lists();
  for (int round = 0; round < 2; ++round) {
    FillAll(unit);
    ClearAll(unit);
    EXPECT_EQ(lists(), before);
    EXPECT_EQ(unit.ErrorCells->Count() + unit.DataCells->Count() + unit.TypeCells->Count() +
                  unit.MaskCells->Count() + unit.StatusCells->Count(),
              0);
  }
  ClearAll(unit);

  auto* filled = new BQELunit;
  FillAll(*filled);
  filled->BadValueLines->Add("index 0000003 00010203 x");
  delete filled;
}

// A short log takes a small chunk; a long one few chunks, never much room to spare.
TEST(DataCellPool, MakesDefaultRecordsAcrossChunksAndKnowsItsOwn)
{
  BDataCellPool pool;
  EXPECT_FALSE(pool.Owns(nullptr));
  LDataCell* first = pool.New();
  EXPECT_LT(pool.Capacity(), BDataCellPool::ChunkRecords / 8);
  const size_t count = BDataCellPool::ChunkRecords * 3 + 5;
  LDataCell* last = first;
  for (size_t i = 1; i < count; ++i)
    last = pool.New();
  EXPECT_TRUE(pool.Capacity() >= count && pool.Capacity() - count < BDataCellPool::ChunkRecords);
  EXPECT_LE(pool.ChunkCount(), 12u);
  EXPECT_TRUE(pool.Owns(first) && pool.Owns(last) && pool.Owns(first + 1000));
  EXPECT_FALSE(pool.Owns(first + BDataCellPool::FirstChunkRecords));  // just past the first chunk
  EXPECT_TRUE(last->Kind == KindFault && last->Code.IsEmpty() && last->Text.IsEmpty() && !last->Next &&
              !last->Prev);
  // The last record given back makes room for the next in the same place.
  last->Text = SharedText("a name that has to be released with the record");
  pool.DropLast();
  EXPECT_EQ(pool.New(), last);
  EXPECT_TRUE(last->Text.IsEmpty());
  pool.Release();
  EXPECT_TRUE(pool.ChunkCount() == 0u && !pool.Owns(first));
}

int capacityAtWalkStart = -1;
using PooledParse = ParserTest;

// Room for every line before the first record: the list never moves while it fills. The next
// parse destroys these records and makes its own from fresh chunks.
TEST_F(PooledParse, RecordsOfEachParseGoBackWithTheNextOne)
{
  const int lines = static_cast<int>(BDataCellPool::ChunkRecords) + 100;
  unit.ProgressHook = [](BQELunit& u, int stage, int64_t, int64_t position) {
    if (stage == 2 && position == 0)
      capacityAtWalkStart = u.DataCells->Capacity();
  };
  Parse(ValueLines(lines, "Engine speed"));
  ASSERT_EQ(Records(), lines);
  EXPECT_GE(capacityAtWalkStart, lines);
  EXPECT_GT(unit.DataCellPool.ChunkCount(), 1u);
  for (int i = 0; i < Records(); i += 997)
    ASSERT_TRUE(unit.DataCellPool.Owns(&Cell(i))) << i;
  EXPECT_EQ(Cell(lines - 1).Index, lines - 1);
  Parse(ValueLines(3, "Load"));
  EXPECT_TRUE(unit.DataCellPool.ChunkCount() == 1u && unit.DataCellPool.Capacity() < BDataCellPool::ChunkRecords);
  unit.ClearDataCells();
  EXPECT_EQ(unit.DataCellPool.ChunkCount(), 0u);
}

}  // namespace
