// Fault intervals: one per run of fault lines or erase markers, with sorted codes and their
// kinds side by side, the erase entries of the current language, and the changed marks.
#include <climits>
#include <string>
#include <vector>

#include "program/ParserTestSupport.h"

namespace {

struct Rec {
  int32_t kind;
  int64_t time;
  double value = 0.0;
  AnsiString text = "";
};
// Actual and post fault lines, a value between runs, a no-errors marker, an erase marker.
const auto A = [](int64_t t, const AnsiString& text) { return Rec{KindFault, t, 1.0, text}; };
const auto P = [](int64_t t, const AnsiString& text) { return Rec{KindFault, t, -1.0, text}; };
const auto V = [](int64_t t) { return Rec{2, t, 12.5, "RPM"}; };
const auto N = [](int64_t t) { return Rec{KindFault, t}; };
const auto E = [](int64_t t, const AnsiString& text) { return Rec{KindEraseMarker, t, 0.0, text}; };

const AnsiString RussianErase = "\xD3\xE4\xE0\xEB\xE5\xED\xE8\xE5 \xEE\xF8\xE8\xE1\xEE\xEA!";  // cp1251
const AnsiString GermanErase = "L\xF6sche Fehler!";                                            // cp1252

struct Case {
  const char* what;
  int language;
  std::vector<Rec> records;
  const char* dump;  // DumpFaults: "time codes kinds flags"
};

// clang-format off
const Case Cases[] = {
    {"no records", English, {}, ""},
    {"records of other kinds", English, {V(10), {KindStatus, 20, 0.0, "IDLE"}}, ""},
    {"one line", English, {A(1234, "P0100")}, "1234 P0100 A a\n"},
    {"codes sorted, kinds beside them, an actual code stays actual, time halfway", English,
     {A(0, "P0300"), P(10, "P0100"), A(20, "P0200"), P(30, "P0300"), A(41, "P0200")},
     "20 P0100|P0200|P0300 P|A|A ap\n"},
    {"post then actual ends actual", English, {P(0, "P0100"), A(10, "P0100")}, "5 P0100 A a\n"},
    {"another post code keeps has-post", English, {P(0, "P0200"), P(5, "P0100"), A(10, "P0100")},
     "5 P0100|P0200 A|P ap\n"},
    {"letter case: one code inside a run, two across runs", English,
     {A(0, "P0100 air"), A(5, "P0100 AIR"), V(10), A(20, "P0100 AIR")}, "2 P0100 air A a\n20 P0100 AIR A ac\n"},
    {"changed against the interval before; markers only have no codes", English,
     {A(0, "P0100"), V(1), A(2, "P0100"), V(3), P(4, "P0100"), V(5), P(6, "P0100"), P(7, "P0200"), V(8), N(9),
      V(10), N(11)},
     "0 P0100 A a\n2 P0100 A a\n4 P0100 P pc\n6 P0100|P0200 P|P pc\n9   c\n11   \n"},
    {"a run of erase markers is one interval, neither it nor the next compared", English,
     {A(0, "P0100"), E(10, "Erase Errors"), E(500, "Erase Errors (2)"), E(1001, "Erase Errors (3)"),
      A(1200, "P0200")},
     "0 P0100 A a\n505 Erase Errors D e\n1200 P0200 A a\n"},
    {"the erase line of the current language marks its interval; another language's is a code", Russian,
     {A(0, "P0100"), V(1), A(2, RussianErase), A(3, "P0200"), V(4), A(5, "Erase Errors")},
     "0 P0100 A a\n2 P0200 A ae\n5 Erase Errors A a\n"},
    {"a German erase line alone", German, {P(0, GermanErase)}, "0   e\n"},
    {"times beyond 32 bits and near the limit", English,
     {A(3'000'000'000, "P0100"), A(5'000'000'001, "P0200"), V(6'000'000'000), A(INT64_MAX - 10, "P0100"),
      A(INT64_MAX, "P0100")},
     "4000000000 P0100|P0200 A|A a\n9223372036854775802 P0100 A ac\n"}};
// clang-format on

using FaultIntervals = ParserTest;

TEST_F(FaultIntervals, ScriptedRecordsGiveTheirIntervals)
{
  for (const Case& c : Cases) {
    SCOPED_TRACE(c.what);
    unit.Language = c.language;
    unit.ClearDataCells();
    for (const Rec& r : c.records)
      AddLine(unit, r.kind, r.time, r.value, r.text);
    unit.ClearErrorCells();
    unit.BuildErrorIntervals();
    EXPECT_EQ(DumpFaults(unit), c.dump);
  }
}

}  // namespace
