// Parameters found or made by name, during a parse and through FindOrAddChannel, and the
// ECU family taken from the file name.
#include <climits>
#include <string>

#include "ComboBox.h"
#include "Exceptions.h"
#include "program/ParserTestSupport.h"

namespace {

class ParserChannels : public ParserTest {
protected:
  LTypeCell* AddChannel(int32_t id, const AnsiString& ru, const AnsiString& en, const AnsiString& de)
  {
    auto* cell = new LTypeCell;
    cell->Id = id;
    cell->NameRu = ru;
    cell->NameEn = en;
    cell->NameDe = de;
    unit.TypeCells->Add(cell);
    return cell;
  }

  void UseDictionary(std::initializer_list<LDictCell> entries)
  {
    unit.ClearDictCells();
    for (const LDictCell& entry : entries)
      unit.DictCells->Add(new LDictCell(entry));
  }
};

TEST_F(ParserChannels, FirstParameterWithTheNameInAnyLanguageWins)
{
  AddChannel(5, "Drehzahl ru", "Speed", "Drehzahl");
  AddChannel(3, "Speed", "Speed", "Speed");
  Parse(ValueLine("F1011000", "1", "Speed") + "\r\n" + ValueLine("F1011000", "2", "Drehzahl") + "\r\n" +
        ValueLine("F1011000", "3", "Fresh") + "\r\n" + ValueLine("F1011000", "4", "speed") + "\r\n");
  ASSERT_EQ(Records(), 4);
  EXPECT_EQ(Cell(0).Kind, 5);
  EXPECT_EQ(Cell(1).Kind, 5);
  EXPECT_EQ(Cell(2).Kind, 6);  // largest id 5, plus 1
  EXPECT_EQ(Cell(3).Kind, 7);  // letter case counts
  EXPECT_EQ(unit.FindOrAddChannel("Speed"), 5);
  EXPECT_EQ(unit.FindOrAddChannel("Fresh"), 6);
  EXPECT_EQ(unit.FindOrAddChannel("Other"), 8);
}

TEST_F(ParserChannels, NewParameterTakesItsNamesFromTheFirstDictionaryEntry)
{
  UseDictionary({{"ru1", "en1", "de1"}, {"en1", "en1b", "de1b"}, {"ru2", "en2", "en1"}});
  Parse(ValueLine("F1011000", "1", "en1") + "\r\n" + ValueLine("F1011000", "2", "de1") + "\r\n");
  ASSERT_EQ(Records(), 2);
  EXPECT_EQ(Cell(0).Kind, Cell(1).Kind);
  EXPECT_EQ(Cell(0).Text, "en1");  // the record keeps the name of its line
  EXPECT_EQ(Cell(1).Text, "de1");
  const LTypeCell* channel = Channel(Cell(0).Kind);
  ASSERT_NE(channel, nullptr);
  EXPECT_EQ(channel->NameRu, "ru1");
  EXPECT_EQ(channel->NameEn, "en1");
  EXPECT_EQ(channel->NameDe, "de1");
  EXPECT_EQ(channel->Factor, 1);
  EXPECT_EQ(channel->Offset, 0);
  EXPECT_EQ(channel->Color, 0);
  EXPECT_EQ(channel->Chart, 1);
  EXPECT_EQ(channel->Cursor, 0);

  const int32_t id = unit.FindOrAddChannel("ru2");
  EXPECT_EQ(Channel(id)->NameEn, "en2");

  // The parse keeps its index of the dictionary from log to log, but never past a change.
  UseDictionary({{"ru3", "en3", "en1"}});
  unit.ClearTypeCells();
  Parse(ValueLine("F1011000", "3", "en1") + "\r\n");
  ASSERT_EQ(Records(), 1);
  EXPECT_EQ(Channel(Cell(0).Kind)->NameRu, "ru3");
}

// The parse looks names up in an index; the result must be the plain walk's, name by name.
TEST_F(ParserChannels, ParseAndFindOrAddChannelAgree)
{
  const char* names[] = {"Load", "\xCE\xE1\xEE\xF0\xEE\xF2\xFB", "Load", "", "Engine speed", "x", "Load "};
  AddChannel(9, "x", "y", "Load");
  std::string log;
  for (const char* name : names)
    log += ValueLine("F1011000", "1", name) + "\r\n";
  Parse(log);

  BQELunit plain;
  plain.ClearTypeCells();
  auto* cell = new LTypeCell;
  cell->Id = 9;
  cell->NameRu = "x";
  cell->NameEn = "y";
  cell->NameDe = "Load";
  plain.TypeCells->Add(cell);
  ASSERT_EQ(Records(), 7);
  for (int i = 0; i < 7; ++i)
    EXPECT_EQ(plain.FindOrAddChannel(names[i]), Cell(i).Kind) << i;
  ASSERT_EQ(plain.TypeCells->Count(), unit.TypeCells->Count());
  for (int i = 0; i < unit.TypeCells->Count(); ++i) {
    EXPECT_EQ(plain.TypeCells->Get(i)->Id, unit.TypeCells->Get(i)->Id);
    EXPECT_EQ(plain.TypeCells->Get(i)->NameRu, unit.TypeCells->Get(i)->NameRu);
    EXPECT_EQ(plain.TypeCells->Get(i)->NameEn, unit.TypeCells->Get(i)->NameEn);
    EXPECT_EQ(plain.TypeCells->Get(i)->NameDe, unit.TypeCells->Get(i)->NameDe);
  }
}

// Ids read from settings may already be at the top of the range: no id wraps round.
TEST_F(ParserChannels, NoIdLeftFilesTheLineAsABadValue)
{
  AddChannel(INT32_MAX, "Top", "Top", "Top");
  Parse(ValueLine("F1011000", "1", "Top") + "\r\n" + ValueLine("F1011000", "2", "New") + "\r\n");
  ASSERT_EQ(Records(), 1);
  EXPECT_EQ(Cell(0).Kind, INT32_MAX);
  EXPECT_EQ(unit.BadValueLines->Count(), 1);
  EXPECT_EQ(unit.TypeCells->Count(), 1);
  EXPECT_THROW(unit.FindOrAddChannel("New"), EIntError);
}

TEST_F(ParserChannels, FamilyFromTheFileName)
{
  struct Case {
    const char* name;
    int before;
    int after;
    const char* word;
  };
  const Case cases[] = {
      {"/logs/LH0815.txt", 0, 3, "LH"},   {"/logs/lh0815.txt", 1, 3, "LH"},
      {"/logs/Lh0815.txt", 0, 0, nullptr}, {"/logs/Q5_1.qel", 0, 1, "QEL"},
      {"/logs/x4.qel", 2, 1, "QEL"},      {"/logs/P7.qel", 0, 2, "PMS"},
      {"/logs/a6", 1, 2, "PMS"},          {"/logs/4123.qel", 2, 2, nullptr},
      {"/logs/Q5.qel", 1, 1, nullptr},    {"/LH/Q7/a.qel", 0, 0, nullptr},
      {"/logs/Q6:7.qel", 0, 2, "PMS"},   {"/logs/12:Q4.qel", 0, 0, nullptr},
      {"/L5\\LH1.qel", 0, 1, "QEL"},     {"/l/C:\\Q7.qel", 0, 0, nullptr},
      {"/logs/L", 3, 3, nullptr},         {"", 3, 3, nullptr},
  };
  for (const Case& c : cases) {
    unit.EcuFamily = c.before;
    unit.LogFileName = c.name;
    const char* word = unit.ChooseEcuFamilyAndMask();
    EXPECT_EQ(unit.EcuFamily, c.after) << c.name;
    EXPECT_STREQ(word, c.word) << c.name;
  }
}

TEST_F(ParserChannels, NewFamilySelectsTheFirstMaskHoldingItsWord)
{
  TComboBox combo(nullptr);
  for (const char* name : {"Common", "PMS full", "QEL short", "QEL full"})
    combo.Items()->Add(name);
  int changes = 0;
  combo.OnChange = [&changes](TObject*) { ++changes; };
  unit.ChartMaskCombo = &combo;
  const auto open = [this](const char* name) {
    unit.LogFileName = name;
    unit.ChooseEcuFamilyAndMask();
  };

  combo.SetItemIndex(0);
  unit.ChartMaskIndex = 0;
  open("/logs/Q5.qel");
  EXPECT_EQ(unit.ChartMaskIndex, 2);
  EXPECT_EQ(combo.ItemIndex(), 2);

  combo.SetItemIndex(0);  // the user's pick stays while the family does
  unit.ChartMaskIndex = 0;
  open("/logs/x4.qel");
  EXPECT_EQ(unit.ChartMaskIndex, 0);

  combo.SetItemIndex(1);  // a mask that already holds the new family's word stays
  unit.ChartMaskIndex = 1;
  open("/logs/P7.qel");
  EXPECT_EQ(unit.EcuFamily, 2);
  EXPECT_EQ(unit.ChartMaskIndex, 1);

  open("/logs/LH1.txt");  // no mask holds "LH": nothing changes but the family
  EXPECT_EQ(unit.EcuFamily, 3);
  EXPECT_EQ(unit.ChartMaskIndex, 1);
  EXPECT_EQ(combo.ItemIndex(), 1);

  unit.ChartMaskIndex = 9;  // not an entry of the combo
  open("/logs/Q5.qel");
  EXPECT_EQ(unit.ChartMaskIndex, 2);
  EXPECT_EQ(changes, 0);  // selected as the program does, without the change handler
  unit.ChartMaskCombo = nullptr;
}

TEST_F(ParserChannels, ParseOfAMissingLogStillTakesTheFamily)
{
  unit.LogFileName = folder / "LH1.txt";
  unit.ParseLogText();
  EXPECT_EQ(unit.EcuFamily, 3);
}

} // namespace
