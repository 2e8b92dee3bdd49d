// The first-start defaults against their tables, written out here byte for byte (Russian names
// as Windows-1251, German as Windows-1252 escapes) rather than taken from the program's tables.
#include <gtest/gtest.h>

#include <vector>

#include "app/Qelunit.h"
#include "support/TestApp.h"

namespace {

const char* const AirMassRu = "\xC4\xCC\xD0\xC2, \xEA\xE3/\xF7";
const char* const EngineLoadRu = "\xCD\xE0\xE3\xF0\xF3\xE7\xEA\xE0 \xEC\xEE\xF2\xEE\xF0\xE0";
const char* const RpmRu = "\xCE\xE1\xEE\xF0\xEE\xF2\xFB";
const char* const ThrottleRu = "\xD3\xE3\xEE\xEB \xC4\xC7";
const char* const IgnitionRu = "\xD3\xCE\xC7";
const char* const AirTempRu = "\xD2\xE5\xEC\xEF\xE5\xF0\xE0\xF2\xF3\xF0\xE0 \xE2\xEE\xE7\xE4\xF3\xF5\xE0";
const char* const CoolantRu = "\xD2\xE5\xEC\xEF\xE5\xF0\xE0\xF2\xF3\xF0\xE0 \xCE\xC6";
const char* const Coolant1Ru = "\xD2\xE5\xEC\xEF\xE5\xF0\xE0\xF2\xF3\xF0\xE0 \xCE\xC6 1";
const char* const Coolant2Ru = "\xD2\xE5\xEC\xEF\xE5\xF0\xE0\xF2\xF3\xF0\xE0 \xCE\xC6 2";
const char* const PotentiometerRu =
    "\xCF\xEE\xF2\xE5\xED\xF6\xE8\xEE\xEC\xE5\xF2\xF0 \xEF\xEE\xEB\xEE\xE6\xE5\xED\xE8\xFF "
    "\xF3\xEF\xEE\xF0\xE0 \xE4\xF0\xEE\xF1\xF1\xE5\xEB\xFF";
const char* const InjTimeRu = "\xC2\xF0\xE5\xEC\xFF \xE2\xEF\xF0\xFB\xF1\xEA\xE0";
const char* const SpeedRu = "\xD1\xEA\xEE\xF0\xEE\xF1\xF2\xFC \xE0\xE2\xF2\xEE\xEC\xEE\xE1\xE8\xEB\xFF";

const char* const IgnitionDe = "Z\xFCndwinkel [\xB0]";
const char* const AirTempDe = "Ansaugluft-Temperatur [\xB0""C]";
const char* const CoolantDe = "K\xFChlmitteltemperatur [\xB0""C]";

struct ExpectedItem {
  AnsiString ru, en, de;
  int32_t id, factor, offset;
  TColor color;
  Byte chart, cursor;
};

// A status item: the name in all three languages, id 1.
ExpectedItem S(const char* name, int32_t offset, TColor color, Byte chart)
{
  return {name, name, name, 1, 100, offset, color, chart, 0};
}

// Ids: the twelve registered names get 2 to 13 in registration order; others none yet.
const ExpectedItem AirMass{AirMassRu, "Air Mass", "Luftmasse [Kg/h]", 2, 10, 0, 0x0080FF, 1, 1};
const ExpectedItem EngineLoad{EngineLoadRu, "Engine load", "Motorlast  [%](?)", 3, 10, 0, 0x800000, 1, 1};
const ExpectedItem Rpm{RpmRu, "RPM", "Motordrehzahl [1/min]", 4, 1, 0, 0x0000FF, 1, 1};
const ExpectedItem Throttle{ThrottleRu, "Throttle angle", "Drosselklappenwinkel", 5, 100, 0, 0x000000, 1, 0};
const ExpectedItem Ignition{IgnitionRu, "Ignition angle", IgnitionDe, 6, 100, 0, 0x00FFFF, 0, 0};
const ExpectedItem O2Sensor{"O2 Sensor (mV)", "O2 Sensor (mV)", "O2-Sondenspannung [mV]", 7, 1, 0, 0x008000, 1, 0};
const ExpectedItem O2Control{"O2 sensor control %", "O2 sensor control %", "Lambdaregelung [%]", 8, 100, 0, 0xFF00FF, 1, 0};
const ExpectedItem AirTemp{AirTempRu, "Air", AirTempDe, 9, 10, 0, 0xFFFF00, 1, 0};
const ExpectedItem Coolant{CoolantRu, "Coolant", CoolantDe, 10, 10, 0, 0xFFFF00, 1, 0};
const ExpectedItem InjTime{InjTimeRu, "Inj time, ms", "Einspritzzeit, [ms]", 12, 100, 0, 0x808000, 0, 1};

const std::vector<ExpectedItem> QelItems = {
    AirMass, EngineLoad, Rpm, Throttle, Ignition, O2Sensor, O2Control, AirTemp, Coolant,
    {PotentiometerRu, "Throttle response voltage", "DK-Antw. [V]", 11, 1, 0, 0x000000, 0, 0},
    InjTime,
    S("IDLE", -500, 0xFF00FF, 0), S("Drive", -700, 0x00FFFF, 1), S("P/N", -500, 0xFF00FF, 0),
    S("A/C", -500, 0x0000FF, 1), S("Camshaft actuator", -500, 0xFF00FF, 0),
    S("Cutt off", -500, 0xFF00FF, 0),
};

const std::vector<ExpectedItem> PmsItems = {
    Rpm, Throttle, Ignition, O2Sensor, O2Control, AirTemp, Coolant, EngineLoad,
    {"MAP, mbar", "MAP, mbar", "MAP, mbar", 13, 1, 0, 0xFF0000, 1, 0},
    S("IDLE", -500, 0xFF00FF, 0), S("Drive", -700, 0x00FFFF, 1), S("P/N", -500, 0xFF00FF, 0),
    S("A/C", -500, 0x0000FF, 1), S("Camshaft actuator", -500, 0xFF00FF, 0),
    S("Cutt off", -500, 0xFF00FF, 0),
};

const std::vector<ExpectedItem> LhItems = {
    {"ON/OFF ratio", "ON/OFF ratio", "ON/OFF ratio", -1, 60, -3000, 0xFF00FF, 1, 0},
    {"LMM Voltage", "LMM Voltage", "LMM Voltage", -1, 2000, 0, 0xFF00FF, 1, 0},
    AirMass, Throttle, Rpm, O2Sensor, InjTime,
    {Coolant1Ru, "Coolant 1", "K\xFChlmitteltemperatur 1 [\xB0""C]", -1, 20, 0, 0xFFFF00, 1, 0},
    {Coolant2Ru, "Coolant 2", "K\xFChlmitteltemperatur 2 [\xB0""C]", -1, 20, 0, 0xFFFF00, 1, 0},
    AirTemp,
    {"Selector lever position, V", "Selector lever position, V", "Selector lever position, V", -1, -400, 0,
     0x808000, 1, 0},
    {SpeedRu, "Vehicle speed", "Vechicle speed (rear)", -1, 30, 0, 0x000000, 1, 0},
    {"Starter signal tml 50", "Starter signal tml 50", "Starter signal tml 50", -1, -1500, 0, 0x0000FF, 1, 0},
    {"IDLE", "IDLE", "IDLE", -1, 500, -500, 0x000000, 1, 0},
    {"Safety fuel shut-off", "Safety fuel shut-off", "Safety fuel shut-off", -1, -30, 0, 0xFF0000, 1, 0},
    S("IDLE", -500, 0xFF00FF, 0), S("Starter signal tml 50", -500, 0xFF00FF, 0),
    S("Safety fuel shut-off", -500, 0xFF00FF, 0),
};

struct ExpectedMask {
  AnsiString ru, en, de;
  int32_t yBottom, yTop;
  const std::vector<ExpectedItem>* items;
};

const ExpectedMask Masks[] = {
    {"QEL \xCE\xE1\xF9\xE0\xFF", "QEL Common", "QEL Gemein", -2500, 4000, &QelItems},
    {"PMS \xCE\xE1\xF9\xE0\xFF", "PMS Common", "PMS Gemein", -3000, 4000, &PmsItems},
    {"LH-SFI", "LH-SFI", "LH-SFI", -3000, 4000, &LhItems},
};

void ExpectItem(const LTypeCell* item, const ExpectedItem& want)
{
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->NameRu, want.ru);
  EXPECT_EQ(item->NameEn, want.en);
  EXPECT_EQ(item->NameDe, want.de);
  EXPECT_EQ(item->Id, want.id);
  EXPECT_EQ(item->Factor, want.factor);
  EXPECT_EQ(item->Offset, want.offset);
  EXPECT_EQ(item->Color, want.color);
  EXPECT_EQ(item->Chart, want.chart);
  EXPECT_EQ(item->Cursor, want.cursor);
  EXPECT_EQ(item->Minimum, 0.0);
  EXPECT_EQ(item->Maximum, 0.0);
  EXPECT_EQ(item->CursorValue, 0.0);
  EXPECT_EQ(item->Present, 0);
  EXPECT_EQ(item->NameLabel, nullptr);
  EXPECT_EQ(item->CursorCheck, nullptr);
}

// The first-start path: no settings, so the channels are cleared before the defaults.
class DefaultMasks : public ::testing::Test {
protected:
  // The constructor brings the start settings; these tests build their own lists.
  void SetUp() override
  {
    unit.ClearMaskCells();
    unit.ClearTypeCells();
    unit.ClearStatusCells();
  }

  void FirstStart()
  {
    unit.ClearTypeCells();
    unit.MakeDefaultMasks();
    unit.MakeDefaultStatuses();
  }

  BQELunit unit;
};

TEST_F(DefaultMasks, ThreeMasksWithTheirItemsByteForByte)
{
  FirstStart();
  ASSERT_EQ(unit.MaskCells->Count(), 3);
  for (int m = 0; m < 3; ++m) {
    SCOPED_TRACE(m);
    const LMaskCell* mask = unit.MaskCells->Get(m);
    const ExpectedMask& want = Masks[m];
    EXPECT_EQ(mask->NameRu, want.ru);
    EXPECT_EQ(mask->NameEn, want.en);
    EXPECT_EQ(mask->NameDe, want.de);
    EXPECT_EQ(mask->Thickness, 2);
    EXPECT_EQ(mask->UnderCursor, 0);
    EXPECT_EQ(mask->YBottom, want.yBottom);
    EXPECT_EQ(mask->YTop, want.yTop);
    ASSERT_NE(mask->Items, nullptr);
    ASSERT_EQ(mask->Items->Count(), static_cast<int>(want.items->size()));
    for (int i = 0; i < mask->Items->Count(); ++i) {
      SCOPED_TRACE(i);
      ExpectItem(mask->Items->Get(i), (*want.items)[static_cast<size_t>(i)]);
    }
  }
}

TEST_F(DefaultMasks, TwelveChannelsRegisteredInOrder)
{
  FirstStart();
  const std::vector<AnsiString> names = {AirMassRu, EngineLoadRu, RpmRu, ThrottleRu, IgnitionRu,
                                         "O2 Sensor (mV)", "O2 sensor control %", AirTempRu, CoolantRu,
                                         PotentiometerRu, InjTimeRu, "MAP, mbar"};
  ASSERT_EQ(unit.TypeCells->Count(), 12);
  for (int i = 0; i < 12; ++i) {
    const LTypeCell* channel = unit.TypeCells->Get(i);
    EXPECT_EQ(channel->Id, i + 2);
    EXPECT_EQ(channel->NameRu, names[static_cast<size_t>(i)]);
    EXPECT_EQ(channel->Chart, 1);
  }
}

TEST_F(DefaultMasks, TwentyOneStatusesFourOfThemKat)
{
  unit.StatusesChanged = 0;
  FirstStart();
  const std::vector<AnsiString> names = {
      "IDLE", "Drive", "P/N", "A/C", "Camshaft actuator", "Cutt off", "EVAP", "Activation",
      "Warm-up", "25_32", "25_128", "Throttle Error", "Post-start enrichment", "Knock control",
      "MG", "KAT", "Starter signal tml 50", "Safety fuel shut-off", "KAT", "KAT", "KAT"};
  ASSERT_EQ(unit.StatusCells->Count(), 21);
  for (int i = 0; i < 21; ++i) {
    const LStatusCell* status = unit.StatusCells->Get(i);
    EXPECT_EQ(status->Name, names[static_cast<size_t>(i)]);
    EXPECT_EQ(status->Label, "");
    EXPECT_EQ(status->State, 0);
    EXPECT_EQ(status->LastMatchTime, 0);
    ASSERT_NE(status->Steps, nullptr);
    EXPECT_EQ(status->Steps->Count(), 0);
  }
  EXPECT_EQ(unit.StatusesChanged, 1);
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

  ASSERT_EQ(unit.MaskCells->Count(), 3);
  EXPECT_EQ(unit.StatusCells->Count(), 21);
  EXPECT_EQ(unit.StatusCells->Get(0)->Name, "IDLE");
  ASSERT_EQ(unit.TypeCells->Count(), 12);
  EXPECT_EQ(unit.TypeCells->Get(0)->Id, 40);
  EXPECT_EQ(unit.TypeCells->Get(1)->Id, 41);  // "ДМРВ, кг/ч", the next above the largest
  const LTypeCell* rpmItem = unit.MaskCells->Get(0)->Items->Get(2);
  EXPECT_EQ(rpmItem->NameRu, RpmRu);
  EXPECT_EQ(rpmItem->Id, 40);
}

TEST(MaskRecord, NewMaskStartsAsTheUserAndTheSettingsMakeIt)
{
  const LMaskCell mask;
  EXPECT_EQ(mask.Thickness, 2);
  EXPECT_EQ(mask.UnderCursor, 1);
  EXPECT_EQ(mask.YBottom, -200);
  EXPECT_EQ(mask.YTop, 4000);
  EXPECT_EQ(mask.Items, nullptr);
}

} // namespace
