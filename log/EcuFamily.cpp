// The ECU family of a log, by the way the recorder names its files, and the chart mask that
// goes with a new family.
#include <string_view>

#include "ComboBox.h"
#include "Paths.h"
#include "app/Qelunit.h"

namespace {

constexpr int FamilyQel = 1;
constexpr int FamilyPms = 2;
constexpr int FamilyLh = 3;

bool Holds(const AnsiString& text, std::string_view word)
{
  return text.find(word) != AnsiString::npos;
}

// Keeps a chart mask whose name holds the family's word; else takes the first that does, if
// any, as if the user had picked it but without the combo's change handler.
void SelectMaskOfFamily(BQELunit& unit, std::string_view word)
{
  TComboBox* combo = unit.ChartMaskCombo;
  if (!combo)
    return;
  const TStrings& items = *combo->Items();
  const int count = items.Count();
  if (unit.ChartMaskIndex >= 0 && unit.ChartMaskIndex < count && Holds(items.Get(unit.ChartMaskIndex), word))
    return;
  for (int i = 0; i < count; ++i) {
    if (Holds(items.Get(i), word)) {
      combo->SetItemIndex(i);
      unit.ChartMaskIndex = i;
      return;
    }
  }
}

}  // namespace

const char* BQELunit::ChooseEcuFamilyAndMask()
{
  const AnsiString fileName = ExtractFileName(LogFileName);
  const std::string_view name = fileName;
  const std::string_view head = name.substr(0, 2);
  const char second = name.size() >= 2 ? name[1] : '\0';

  const char* word = nullptr;
  if ((head == "LH" || head == "lh") && EcuFamily != FamilyLh) {
    EcuFamily = FamilyLh;
    word = "LH";
    SelectMaskOfFamily(*this, word);
  }
  if ((second == '4' || second == '5') && EcuFamily != FamilyQel) {
    EcuFamily = FamilyQel;
    word = "QEL";
    SelectMaskOfFamily(*this, word);
  }
  if ((second == '6' || second == '7') && EcuFamily != FamilyPms) {
    EcuFamily = FamilyPms;
    word = "PMS";
    SelectMaskOfFamily(*this, word);
  }
  return word;
}
