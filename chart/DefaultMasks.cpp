// The built-in defaults of a first start: the statuses, the well-known parameters and the three
// masks of the ECU families, and the look a new item takes for a well-known Russian name.
#include <iterator>
#include <memory>
#include <vector>

#include "CodePage.h"
#include "app/Qelunit.h"
#include "chart/Masks.h"

namespace {

// The source keeps the names readable in UTF-8; the records hold code-page bytes.
constexpr int Cyrillic = 1251;
constexpr int Western = 1252;

AnsiString Ru(const char* utf8)
{
  return Utf8ToAnsi(utf8, Cyrillic);
}
AnsiString De(const char* utf8)
{
  return Utf8ToAnsi(utf8, Western);
}

constexpr TColor Black = 0x000000;
constexpr TColor Maroon = 0x000080;
constexpr TColor Red = 0x0000FF;
constexpr TColor Orange = 0x0080FF;
constexpr TColor Green = 0x008000;
constexpr TColor Yellow = 0x00FFFF;
constexpr TColor Navy = 0x800000;
constexpr TColor Teal = 0x808000;
constexpr TColor Blue = 0xFF0000;
constexpr TColor Fuchsia = 0xFF00FF;
constexpr TColor Aqua = 0xFFFF00;

struct ItemLookSource {
  const char* nameRu;
  int32_t factor;
  int32_t offset;
  TColor color;
  Byte chart;
  Byte cursor;
};

// Negative factors draw the curve mirrored.
constexpr ItemLookSource ItemLookSources[] = {
    {"ДМРВ, кг/ч", 10, 0, Orange, 1, 1},
    {"Нагрузка мотора", 10, 0, Navy, 1, 1},
    {"Обороты", 1, 0, Red, 1, 1},
    {"Угол ДЗ", 100, 0, Black, 1, 0},
    {"УОЗ", 100, 0, Yellow, 0, 0},
    {"O2 Sensor (mV)", 1, 0, Green, 1, 0},
    {"O2 sensor control %", 100, 0, Fuchsia, 1, 0},
    {"Температура воздуха", 10, 0, Aqua, 1, 0},
    {"Температура ОЖ", 10, 0, Aqua, 1, 0},
    {"Температура ОЖ 1", 20, 0, Aqua, 1, 0},
    {"Температура ОЖ 2", 20, 0, Aqua, 1, 0},
    {"QEL Voltage", 1000, 0, Maroon, 0, 1},
    {"Время впрыска", 100, 0, Teal, 0, 1},
    {"MAP, mbar", 1, 0, Blue, 1, 0},
    {"ON/OFF ratio", 60, -3000, Fuchsia, 1, 0},
    {"LMM Voltage", 2000, 0, Fuchsia, 1, 0},
    {"Selector lever position, V", -400, 0, Teal, 1, 0},
    {"Скорость автомобиля", 30, 0, Black, 1, 0},
    {"Starter signal tml 50", -1500, 0, Red, 1, 0},
    {"IDLE", 500, -500, Black, 1, 0},
    {"Safety fuel shut-off", -30, 0, Blue, 1, 0},
};

// "KAT" four times over, as the first-start list has always had it.
constexpr const char* StatusNames[] = {
    "IDLE",
    "Drive",
    "P/N",
    "A/C",
    "Camshaft actuator",
    "Cutt off",
    "EVAP",
    "Activation",
    "Warm-up",
    "25_32",
    "25_128",
    "Throttle Error",
    "Post-start enrichment",
    "Knock control",
    "MG",
    "KAT",
    "Starter signal tml 50",
    "Safety fuel shut-off",
    "KAT",
    "KAT",
    "KAT",
};

// Registered before the masks are made, so that on a first start they get the ids 2 to 13.
constexpr const char* RegisteredChannels[] = {
    "ДМРВ, кг/ч",
    "Нагрузка мотора",
    "Обороты",
    "Угол ДЗ",
    "УОЗ",
    "O2 Sensor (mV)",
    "O2 sensor control %",
    "Температура воздуха",
    "Температура ОЖ",
    "Потенциометр положения упора дросселя",
    "Время впрыска",
    "MAP, mbar",
};

// A parameter item with its three names, or a status item (no English name) named nameRu.
struct ItemSource {
  const char* nameRu;
  const char* nameEn;
  const char* nameDe;
};

constexpr ItemSource Status(const char* name)
{
  return {name, nullptr, nullptr};
}

constexpr ItemSource AirMass = {"ДМРВ, кг/ч", "Air Mass", "Luftmasse [Kg/h]"};
constexpr ItemSource EngineLoad = {"Нагрузка мотора", "Engine load", "Motorlast  [%](?)"};
constexpr ItemSource Rpm = {"Обороты", "RPM", "Motordrehzahl [1/min]"};
constexpr ItemSource Throttle = {"Угол ДЗ", "Throttle angle", "Drosselklappenwinkel"};
constexpr ItemSource Ignition = {"УОЗ", "Ignition angle", "Zündwinkel [°]"};
constexpr ItemSource O2Sensor = {"O2 Sensor (mV)", "O2 Sensor (mV)", "O2-Sondenspannung [mV]"};
constexpr ItemSource O2Control = {"O2 sensor control %", "O2 sensor control %", "Lambdaregelung [%]"};
constexpr ItemSource AirTemp = {"Температура воздуха", "Air", "Ansaugluft-Temperatur [°C]"};
constexpr ItemSource Coolant = {"Температура ОЖ", "Coolant", "Kühlmitteltemperatur [°C]"};
constexpr ItemSource InjTime = {"Время впрыска", "Inj time, ms", "Einspritzzeit, [ms]"};

constexpr ItemSource QelItems[] = {
    AirMass,
    EngineLoad,
    Rpm,
    Throttle,
    Ignition,
    O2Sensor,
    O2Control,
    AirTemp,
    Coolant,
    {"Потенциометр положения упора дросселя", "Throttle response voltage", "DK-Antw. [V]"},
    InjTime,
    Status("IDLE"),
    Status("Drive"),
    Status("P/N"),
    Status("A/C"),
    Status("Camshaft actuator"),
    Status("Cutt off"),
};

constexpr ItemSource PmsItems[] = {
    Rpm,
    Throttle,
    Ignition,
    O2Sensor,
    O2Control,
    AirTemp,
    Coolant,
    EngineLoad,
    {"MAP, mbar", "MAP, mbar", "MAP, mbar"},
    Status("IDLE"),
    Status("Drive"),
    Status("P/N"),
    Status("A/C"),
    Status("Camshaft actuator"),
    Status("Cutt off"),
};

// Three names here are both a parameter and a status item: each add looks at its own kind.
constexpr ItemSource LhItems[] = {
    {"ON/OFF ratio", "ON/OFF ratio", "ON/OFF ratio"},
    {"LMM Voltage", "LMM Voltage", "LMM Voltage"},
    AirMass,
    Throttle,
    Rpm,
    O2Sensor,
    InjTime,
    {"Температура ОЖ 1", "Coolant 1", "Kühlmitteltemperatur 1 [°C]"},
    {"Температура ОЖ 2", "Coolant 2", "Kühlmitteltemperatur 2 [°C]"},
    AirTemp,
    {"Selector lever position, V", "Selector lever position, V", "Selector lever position, V"},
    {"Скорость автомобиля", "Vehicle speed", "Vechicle speed (rear)"},
    {"Starter signal tml 50", "Starter signal tml 50", "Starter signal tml 50"},
    {"IDLE", "IDLE", "IDLE"},
    {"Safety fuel shut-off", "Safety fuel shut-off", "Safety fuel shut-off"},
    Status("IDLE"),
    Status("Starter signal tml 50"),
    Status("Safety fuel shut-off"),
};

// The names carry the family's word: the parser picks a mask by it.
struct MaskSource {
  const char* nameRu;
  const char* nameEn;
  const char* nameDe;
  int32_t yBottom;
  int32_t yTop;
  const ItemSource* items;
  size_t itemCount;
};

constexpr MaskSource MaskSources[] = {
    {"QEL Общая", "QEL Common", "QEL Gemein", -2500, 4000, QelItems, std::size(QelItems)},
    {"PMS Общая", "PMS Common", "PMS Gemein", -3000, 4000, PmsItems, std::size(PmsItems)},
    {"LH-SFI", "LH-SFI", "LH-SFI", -3000, 4000, LhItems, std::size(LhItems)},
};

constexpr int32_t DefaultThickness = 2;

}  // namespace

const DefaultItemLook* FindDefaultItemLook(const AnsiString& nameRu)
{
  static const std::vector<DefaultItemLook> Looks = [] {
    std::vector<DefaultItemLook> converted;
    for (const ItemLookSource& s : ItemLookSources)
      converted.push_back({Ru(s.nameRu), s.factor, s.offset, s.color, s.chart, s.cursor});
    return converted;
  }();
  for (const DefaultItemLook& look : Looks)
    if (look.NameRu == nameRu)
      return &look;
  return nullptr;
}

void BQELunit::MakeDefaultStatuses()
{
  if (!StatusCells)
    return;
  ClearStatusCells();
  for (const char* name : StatusNames) {
    auto status = std::make_unique<LStatusCell>();
    auto steps = std::make_unique<TPtrList<LStatusStep>>();
    status->Name = name;
    StatusCells->Add(status.get());
    status->Steps = steps.release();
    status.release();
  }
  StatusesChanged = 1;
}

void BQELunit::MakeDefaultMasks()
{
  if (!MaskCells)
    return;
  ClearMaskCells();
  for (const char* name : RegisteredChannels)
    FindOrAddChannel(Ru(name));
  for (const MaskSource& source : MaskSources) {
    // In the list before it is filled: the list owns it, and its items, from the start.
    auto owned = std::make_unique<LMaskCell>();
    auto items = std::make_unique<TPtrList<LTypeCell>>();
    MaskCells->Add(owned.get());
    LMaskCell* mask = owned.release();
    mask->Items = items.release();
    mask->NameRu = Ru(source.nameRu);
    mask->NameEn = source.nameEn;
    mask->NameDe = De(source.nameDe);
    mask->Thickness = DefaultThickness;
    mask->UnderCursor = 0;
    mask->YBottom = source.yBottom;
    mask->YTop = source.yTop;
    for (size_t i = 0; i < source.itemCount; ++i) {
      const ItemSource& item = source.items[i];
      if (item.nameEn)
        AddChannelItem(mask, Ru(item.nameRu), item.nameEn, De(item.nameDe));
      else
        AddStatusItem(mask, item.nameRu);
    }
  }
}
