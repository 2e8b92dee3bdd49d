// The line records live in chunks of the central object's pool: made in place, destroyed by the
// clear operation, chunks given back at once. AddressSanitizer reports a record destroyed twice
// or never (its texts would leak).
#include <string>

#include "program/ParserTestSupport.h"

namespace {

TEST(DataCellPool, MakesDefaultRecordsAcrossChunksAndKnowsItsOwn)
{
  BDataCellPool pool;
  EXPECT_FALSE(pool.Owns(nullptr));
  LDataCell* first = pool.New();
  // A short log takes a small chunk; a long one few chunks, never much room to spare.
  EXPECT_LT(pool.Capacity(), BDataCellPool::ChunkRecords / 8);
  const size_t count = BDataCellPool::ChunkRecords * 3 + 5;
  LDataCell* last = first;
  for (size_t i = 1; i < count; ++i)
    last = pool.New();
  EXPECT_GE(pool.Capacity(), count);
  EXPECT_LT(pool.Capacity() - count, BDataCellPool::ChunkRecords);
  EXPECT_LE(pool.ChunkCount(), 12u);
  EXPECT_TRUE(pool.Owns(first));
  EXPECT_TRUE(pool.Owns(last));
  EXPECT_TRUE(pool.Owns(first + 1000));
  EXPECT_EQ(last->Kind, KindFault);
  EXPECT_TRUE(last->Code.IsEmpty() && last->Text.IsEmpty() && !last->Next && !last->Prev);

  LDataCell alone;
  EXPECT_FALSE(pool.Owns(&alone));

  // The last record given back makes room for the next in the same place.
  last->Text = SharedText("a name that has to be released with the record");
  pool.DropLast();
  EXPECT_EQ(pool.New(), last);
  EXPECT_TRUE(last->Text.IsEmpty());

  pool.Release();
  EXPECT_EQ(pool.ChunkCount(), 0u);
  EXPECT_FALSE(pool.Owns(first));
}

class PooledParse : public ParserTest {
protected:
  static std::string ValueLines(int count, const std::string& name)
  {
    std::string log;
    for (int i = 0; i < count; ++i)
      log += ValueLine("F1011000", std::to_string(i % 1000), name) + "\r\n";
    return log;
  }
};

int capacityAtWalkStart = -1;

TEST_F(PooledParse, RecordsOfEachParseComeFromThePoolAndGoBackWithTheNextOne)
{
  const int lines = static_cast<int>(BDataCellPool::ChunkRecords) + 100;
  capacityAtWalkStart = -1;
  unit.ProgressHook = [](BQELunit& u, int stage, int64_t, int64_t position) {
    if (stage == 2 && position == 0)
      capacityAtWalkStart = u.DataCells->Capacity();
  };
  Parse(ValueLines(lines, "Engine speed"));
  ASSERT_EQ(Records(), lines);
  // Room for every line before the first record: the list never moves while it fills.
  EXPECT_GE(capacityAtWalkStart, lines);
  EXPECT_GT(unit.DataCellPool.ChunkCount(), 1u);
  for (int i = 0; i < Records(); i += 997)
    ASSERT_TRUE(unit.DataCellPool.Owns(&Cell(i))) << i;
  EXPECT_EQ(Cell(lines - 1).Index, lines - 1);
  EXPECT_EQ(Cell(lines - 1).Prev, &Cell(lines - 2));

  // The next parse destroys these records and makes its own from fresh chunks.
  Parse(ValueLines(3, "Load"));
  ASSERT_EQ(Records(), 3);
  EXPECT_EQ(unit.DataCellPool.ChunkCount(), 1u);
  EXPECT_LT(unit.DataCellPool.Capacity(), BDataCellPool::ChunkRecords);
  EXPECT_EQ(Cell(2).Text, "Load");
  EXPECT_EQ(Cell(2).Index, 2);

  unit.ClearDataCells();
  EXPECT_EQ(Records(), 0);
  EXPECT_EQ(unit.DataCellPool.ChunkCount(), 0u);
  unit.ProgressHook = nullptr;
}

}  // namespace
