// Parameters found or made by name, during a parse and through FindOrAddChannel, and the
// ECU family taken from the file name.
#include <climits>
#include <iterator>
#include <string>
#include <vector>

#include "ComboBox.h"
#include "Exceptions.h"
#include "program/ParserTestSupport.h"

namespace {

class ParserChannels : public ParserTest {
protected:
  // The parameters as "id ru/en/de chart", one a line.
  static std::string Channels(const BQELunit& u)
  {
    std::string dump;
    for (int i = 0; i < u.TypeCells->Count(); ++i) {
      const LTypeCell* c = u.TypeCells->Get(i);
      dump += std::to_string(c->Id) + " " + c->NameRu + "/" + c->NameEn + "/" + c->NameDe + " " +
              std::to_string(c->Chart) + "\n";
    }
    return dump;
  }

  // The kinds of the records of a parse of one value line a name.
  std::string KindsOf(const std::vector<std::string>& names)
  {
    std::string log, kinds;
    for (const std::string& name : names)
      log += ValueLine("F1011000", "1", name);
    Parse(log);
    for (int i = 0; i < Records(); ++i)
      kinds += (i ? " " : "") + std::to_string(Cell(i).Kind);
    return kinds;
  }
};

// Letter case counts; a new parameter takes the largest id plus one. Ids read from settings
// may already be at the top of the range: no id wraps round, the line is a bad value.
TEST_F(ParserChannels, FirstParameterWithTheNameInAnyLanguageWinsAndNoIdWraps)
{
  AddItem(unit.TypeCells, 5, "Speed")->NameDe = "Drehzahl";
  AddItem(unit.TypeCells, 3, "Speed");
  EXPECT_EQ(KindsOf({"Speed", "Drehzahl", "Fresh", "speed"}), "5 5 6 7");
  EXPECT_EQ(unit.FindOrAddChannel("Fresh") * 10 + unit.FindOrAddChannel("Other"), 68);

  AddItem(unit.TypeCells, INT32_MAX, "Top");
  EXPECT_EQ(KindsOf({"Top", "New"}), std::to_string(INT32_MAX));
  EXPECT_EQ(unit.BadValueLines->Count() * 10 + unit.TypeCells->Count(), 16);
  EXPECT_THROW(unit.FindOrAddChannel("New"), EIntError);
}

// A new parameter takes its names from the first dictionary entry holding the name, the record
// keeps the name of its line. The parse looks names up in an index; FindOrAddChannel walks:
// both must make the same parameters.
TEST_F(ParserChannels, ParseAndFindOrAddChannelAgreeAndTakeDictionaryNames)
{
  const std::initializer_list<LDictCell> dictionary = {
      {"ru1", "en1", "de1"}, {"en1", "en1b", "de1b"}, {"ru2", "en2", "en1"}};
  const std::string rpm = "\xCE\xE1\xEE\xF0\xEE\xF2\xFB";
  const char* names[] = {"en1", "de1", "Load", rpm.c_str(), "Load", "", "ru2", "x", "Load "};
  BQELunit plain;
  for (BQELunit* u : {&unit, &plain}) {
    u->ClearTypeCells();
    u->ClearDictCells();
    for (const LDictCell& entry : dictionary)
      u->DictCells->Add(new LDictCell(entry));
    AddItem(u->TypeCells, 9, "x", 0)->NameDe = "Load";
  }
  const std::string kinds = KindsOf({std::begin(names), std::end(names)});
  EXPECT_EQ(kinds, "10 10 9 11 9 12 13 9 14");
  EXPECT_EQ(Cell(1).Text, "de1");
  std::string found;
  for (const char* name : names)
    found += (found.empty() ? "" : " ") + std::to_string(plain.FindOrAddChannel(name));
  EXPECT_EQ(found, kinds);
  EXPECT_EQ(Channels(unit), "9 x/x/Load 0\n10 ru1/en1/de1 1\n11 " + rpm + "/" + rpm + "/" + rpm +
                                " 1\n12 // 1\n13 ru2/en2/en1 1\n14 Load /Load /Load  1\n");
  EXPECT_EQ(Channels(plain), Channels(unit));

  // The parse keeps its index of the dictionary from log to log, but never past a change.
  unit.ClearDictCells();
  unit.DictCells->Add(new LDictCell(LDictCell{"ru3", "en3", "en1"}));
  unit.ClearTypeCells();
  KindsOf({"en1"});
  EXPECT_EQ(Channels(unit), "2 ru3/en3/en1 1\n");
}

// "file-name family-before family-after word" ('-' for no word).
TEST_F(ParserChannels, FamilyFromTheFileName)
{
  for (const char* line :
       {"/logs/LH0815.txt 0 3 LH", "/logs/lh0815.txt 1 3 LH", "/logs/Lh0815.txt 0 0 -", "/logs/Q5_1.qel 0 1 QEL",
        "/logs/x4.qel 2 1 QEL", "/logs/P7.qel 0 2 PMS", "/logs/a6 1 2 PMS", "/logs/4123.qel 2 2 -",
        "/logs/Q5.qel 1 1 -", "/logs/P6.qel 2 2 -", "/LH/Q7/a.qel 0 0 -", "/logs/Q6:7.qel 0 2 PMS",
        "/logs/12:Q4.qel 0 0 -", "/L5\\LH1.qel 0 1 QEL", "/l/C:\\Q7.qel 0 0 -", "/logs/L 3 3 -", " 3 3 -"}) {
    const std::string c = line;
    const size_t blank = c.find(' ');
    unit.LogFileName = c.substr(0, blank);
    unit.EcuFamily = c[blank + 1] - '0';
    const char* word = unit.ChooseEcuFamilyAndMask();
    EXPECT_EQ(c.substr(0, blank + 3) + std::to_string(unit.EcuFamily) + " " + (word ? word : "-"), c);
  }
  // A parse of a missing log still takes the family.
  unit.LogFileName = folder / "P7.txt";
  unit.ParseLogText();
  EXPECT_EQ(unit.EcuFamily, 2);
}

// A mask already holding the new family's word stays; with none, only the family changes. It
// is selected as the program does, without the change handler.
TEST_F(ParserChannels, NewFamilySelectsTheFirstMaskHoldingItsWord)
{
  TComboBox combo(nullptr);
  for (const char* name : {"Common", "PMS full", "QEL short", "QEL full"})
    combo.Items()->Add(name);
  int changes = 0;
  combo.OnChange = [&changes](TObject*) { ++changes; };
  unit.ChartMaskCombo = &combo;
  const auto open = [this, &combo](int chosen, const char* name) {
    if (chosen >= 0)
      combo.SetItemIndex(chosen);
    unit.ChartMaskIndex = chosen >= 0 ? chosen : unit.ChartMaskIndex;
    unit.LogFileName = name;
    unit.ChooseEcuFamilyAndMask();
    return std::to_string(unit.EcuFamily) + " " + std::to_string(unit.ChartMaskIndex) + " " +
           std::to_string(combo.ItemIndex());
  };
  EXPECT_EQ(open(0, "/logs/Q5.qel"), "1 2 2");
  EXPECT_EQ(open(0, "/logs/x4.qel"), "1 0 0");  // the user's pick stays while the family does
  EXPECT_EQ(open(1, "/logs/P7.qel"), "2 1 1");
  EXPECT_EQ(open(-1, "/logs/LH1.txt"), "3 1 1");
  unit.ChartMaskIndex = 9;  // not an entry of the combo
  EXPECT_EQ(open(-1, "/logs/Q5.qel"), "1 2 2");
  EXPECT_EQ(changes, 0);
  unit.ChartMaskCombo = nullptr;
}

}  // namespace
