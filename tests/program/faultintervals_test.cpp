// Fault intervals: one per run of fault lines or erase markers, with sorted codes and their
// kinds side by side, the erase entries of the current language, and the changed marks.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "program/ParserTestSupport.h"

namespace {

const AnsiString P0100 = "P0100 Air mass meter";
const AnsiString P0200 = "P0200 Injector circuit";
const AnsiString P0300 = "P0300 Random misfire detected";

class FaultIntervals : public ParserTest {
protected:
  void Add(int32_t kind, int64_t time, double value = 0.0, const AnsiString& text = "")
  {
    LDataCell* cell = unit.DataCellPool.New();
    cell->Index = unit.DataCells->Count();
    cell->Kind = kind;
    cell->Time = time;
    cell->Value = value;
    cell->Text = text;
    unit.DataCells->Add(cell);
  }
  void Actual(int64_t time, const AnsiString& text) { Add(KindFault, time, 1.0, text); }
  void Post(int64_t time, const AnsiString& text) { Add(KindFault, time, -1.0, text); }
  void Value(int64_t time) { Add(2, time, 12.5, "RPM"); }

  // From the records as they stand, whether or not a parse already built intervals.
  void Build()
  {
    unit.ClearErrorCells();
    unit.BuildErrorIntervals();
  }

  int Count() const { return unit.ErrorCells->Count(); }
  const LErrorCell& At(int i) const { return *unit.ErrorCells->Get(i); }
  std::vector<AnsiString> Codes(int i) const { return Lines(*At(i).Codes); }
  std::vector<AnsiString> Kinds(int i) const { return Lines(*At(i).Kinds); }
};

using Texts = std::vector<AnsiString>;

TEST_F(FaultIntervals, NothingFromNoRecordsOrRecordsOfOtherKinds)
{
  Build();
  EXPECT_EQ(Count(), 0);
  Value(10);
  Add(KindStatus, 20, 0.0, "IDLE");
  Build();
  EXPECT_EQ(Count(), 0);
}

TEST_F(FaultIntervals, SingleFaultLine)
{
  Actual(1234, P0100);
  Build();
  ASSERT_EQ(Count(), 1);
  EXPECT_EQ(At(0).Time, 1234);
  EXPECT_EQ(Codes(0), Texts{P0100});
  EXPECT_EQ(Kinds(0), Texts{"A"});
  EXPECT_EQ(At(0).HasActual, 1);
  EXPECT_EQ(At(0).HasPost, 0);
  EXPECT_EQ(At(0).Erase, 0);
  EXPECT_EQ(At(0).Changed, 0);
  EXPECT_EQ(At(0).MarkLeft | At(0).MarkTop | At(0).MarkRight | At(0).MarkBottom, 0);
}

TEST_F(FaultIntervals, CodesSortedWithTheirKindsAtTheSameIndex)
{
  Actual(0, P0300);
  Post(10, P0100);
  Actual(20, P0200);
  Post(30, P0300);      // already there as actual: stays actual
  Actual(41, P0200);    // listed once
  Build();
  ASSERT_EQ(Count(), 1);
  EXPECT_EQ(Codes(0), (Texts{P0100, P0200, P0300}));
  EXPECT_EQ(Kinds(0), (Texts{"P", "A", "A"}));
  EXPECT_EQ(At(0).HasActual, 1);
  EXPECT_EQ(At(0).HasPost, 1);
  EXPECT_EQ(At(0).Time, 20);  // halfway from 0 to 41, truncated
}

TEST_F(FaultIntervals, PostThenActualEndsActual)
{
  Post(0, P0100);
  Actual(10, P0100);
  Build();
  ASSERT_EQ(Count(), 1);
  EXPECT_EQ(Codes(0), Texts{P0100});
  EXPECT_EQ(Kinds(0), Texts{"A"});
  EXPECT_EQ(At(0).HasActual, 1);
  EXPECT_EQ(At(0).HasPost, 0);

  // With another post code left, has post stays.
  unit.ClearDataCells();
  Post(0, P0200);
  Post(5, P0100);
  Actual(10, P0100);
  Build();
  EXPECT_EQ(Codes(0), (Texts{P0100, P0200}));
  EXPECT_EQ(Kinds(0), (Texts{"A", "P"}));
  EXPECT_EQ(At(0).HasPost, 1);
}

TEST_F(FaultIntervals, LetterCaseOneCodeInsideTwoCodesBetween)
{
  Actual(0, "P0100 air mass meter");
  Actual(5, P0100);
  Value(10);
  Actual(20, P0100);
  Build();
  ASSERT_EQ(Count(), 2);
  EXPECT_EQ(Codes(0), Texts{"P0100 air mass meter"});
  EXPECT_EQ(At(1).Changed, 1);
}

TEST_F(FaultIntervals, ChangedMarksAgainstTheIntervalBefore)
{
  Actual(0, P0100);     // 0: first, never marked
  Value(1);
  Actual(2, P0100);     // 1: same
  Value(3);
  Post(4, P0100);       // 2: same code, other kind
  Value(5);
  Post(6, P0100);       // 3: same
  Post(7, P0200);       //    and one more code
  Value(8);
  Add(KindFault, 9);    // 4: no-errors marker only: no codes
  Value(10);
  Add(KindFault, 11);   // 5: no codes again
  Build();
  ASSERT_EQ(Count(), 6);
  const Byte changed[] = {0, 0, 1, 1, 1, 0};
  for (int i = 0; i < 6; ++i)
    EXPECT_EQ(At(i).Changed, changed[i]) << i;
  EXPECT_TRUE(Codes(4).empty());
  EXPECT_EQ(At(4).HasActual | At(4).HasPost | At(4).Erase, 0);
}

TEST_F(FaultIntervals, EraseMarkersMakeOneIntervalTimedAcrossTheRun)
{
  Actual(0, P0100);
  Add(KindEraseMarker, 10, 0.0, "Erase Errors");
  Add(KindEraseMarker, 500, 0.0, "Erase Errors (2)");
  Add(KindEraseMarker, 1001, 0.0, "Erase Errors (3)");
  Actual(1200, P0200);
  Build();
  ASSERT_EQ(Count(), 3);
  const LErrorCell& erase = At(1);
  EXPECT_EQ(erase.Erase, 1);
  EXPECT_EQ(erase.Time, 505);
  EXPECT_EQ(Codes(1), Texts{"Erase Errors"});
  EXPECT_EQ(Kinds(1), Texts{"D"});
  EXPECT_EQ(erase.HasActual | erase.HasPost | erase.Changed, 0);
  // Neither the erase interval nor the one after it is compared.
  EXPECT_EQ(At(2).Changed, 0);
}

TEST_F(FaultIntervals, EraseLineOfTheCurrentLanguageMarksTheFaultInterval)
{
  const AnsiString russian = "\xD3\xE4\xE0\xEB\xE5\xED\xE8\xE5 \xEE\xF8\xE8\xE1\xEE\xEA!";
  const AnsiString german = "L\xF6sche Fehler!";
  unit.Language = Russian;
  Actual(0, P0100);
  Value(1);
  Actual(2, russian);
  Actual(3, P0200);
  Value(4);
  Actual(5, "Erase Errors");  // English while the language is Russian: just a code
  Build();
  ASSERT_EQ(Count(), 3);
  EXPECT_EQ(At(1).Erase, 1);
  EXPECT_EQ(Codes(1), Texts{P0200});
  EXPECT_EQ(At(1).Changed, 0);
  EXPECT_EQ(At(2).Erase, 0);
  EXPECT_EQ(Codes(2), Texts{"Erase Errors"});
  EXPECT_EQ(At(2).Changed, 0);

  unit.Language = German;
  unit.ClearDataCells();
  Post(0, german);
  Build();
  ASSERT_EQ(Count(), 1);
  EXPECT_EQ(At(0).Erase, 1);
  EXPECT_TRUE(Codes(0).empty());
  EXPECT_EQ(At(0).HasPost, 0);
}

TEST_F(FaultIntervals, TimesBeyondThirtyTwoBitsAndNearTheLimit)
{
  Actual(3'000'000'000, P0100);
  Actual(5'000'000'001, P0200);
  Value(6'000'000'000);
  Actual(INT64_MAX - 10, P0100);
  Actual(INT64_MAX, P0100);
  Build();
  ASSERT_EQ(Count(), 2);
  EXPECT_EQ(At(0).Time, 4'000'000'000);
  EXPECT_EQ(At(1).Time, INT64_MAX - 5);
}

// Through the parser: the same fault lines give the same intervals under either algorithm.
class ParsedFaultIntervals : public ParserTest, public ::testing::WithParamInterface<Byte> {};

TEST_P(ParsedFaultIntervals, SectionsOfOneLogBecomeIntervals)
{
  unit.OldErrorAlgorithm = GetParam();
  const std::string block = GetParam() ? "" : "F10E0000\r\n";
  const std::string value = ValueLine("F1011000", "1", "A") + "\r\n";
  Parse(block + "Actual errors:\r\n" + P0300 + "\r\n" + P0100 + "\r\n\r\n" +
        "Post errors:\r\n" + P0100 + "\r\n" + P0200 + "\r\n\r\n" + value +
        block + "Post errors:\r\n" + P0200 + "\r\n\r\n" + value);
  unit.ClearErrorCells();
  unit.BuildErrorIntervals();
  ASSERT_EQ(unit.ErrorCells->Count(), 2);
  const LErrorCell& first = *unit.ErrorCells->Get(0);
  EXPECT_EQ(Lines(*first.Codes), (Texts{P0100, P0200, P0300}));
  EXPECT_EQ(Lines(*first.Kinds), (Texts{"A", "P", "A"}));
  EXPECT_EQ(first.HasActual, 1);
  EXPECT_EQ(first.HasPost, 1);
  const LErrorCell& second = *unit.ErrorCells->Get(1);
  EXPECT_EQ(Lines(*second.Codes), Texts{P0200});
  EXPECT_EQ(Lines(*second.Kinds), Texts{"P"});
  EXPECT_EQ(second.Changed, 1);
}

INSTANTIATE_TEST_SUITE_P(BothAlgorithms, ParsedFaultIntervals, ::testing::Values(Byte{0}, Byte{1}));

} // namespace
