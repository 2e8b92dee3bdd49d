#include <gtest/gtest.h>

#include <vector>

#include "Exceptions.h"
#include "MemoryStream.h"
#include "StringList.h"
#include "support/EnvScope.h"
#include "support/ScratchFolder.h"

namespace {

using Lines = std::vector<AnsiString>;

Lines LinesOf(const TStrings& list)
{
  Lines lines;
  for (int i = 0; i < list.Count(); ++i)
    lines.push_back(list.Get(i));
  return lines;
}

void Fill(TStrings& list, const Lines& lines)
{
  for (const AnsiString& line : lines)
    list.Add(line);
}

struct SortedList : TStringList {
  explicit SortedList(TDuplicates duplicates = dupIgnore, bool caseDistinct = false)
  {
    SetSorted(true);
    SetDuplicates(duplicates);
    SetCaseDistinct(caseDistinct);
  }
};

// Breaks are CR, LF and CR LF (LF CR is two); NUL is an ordinary byte; the text has a CR LF after
// every line.
TEST(StringListText, SplitsAtCrLfAndCrLfAndJoinsWithCrLf)
{
  const std::pair<AnsiString, Lines> cases[] = {
      {"", {}},
      {"a\r", {"a"}},
      {"\n\n", {"", ""}},
      {"a\rb\nc\r\nd", {"a", "b", "c", "d"}},
      {"a\r\r\nb", {"a", "", "b"}},
      {"a\n\rb", {"a", "", "b"}},
      {AnsiString("a\0b\r\n\0\nc", 8), {AnsiString("a\0b", 3), AnsiString("\0", 1), "c"}}};
  for (const auto& [text, lines] : cases) {
    TStringList list;
    list.SetText(text);
    EXPECT_EQ(LinesOf(list), lines) << testing::PrintToString(text);
    AnsiString joined;
    for (const AnsiString& line : lines)
      joined += line + "\r\n";
    EXPECT_EQ(list.Text(), joined) << testing::PrintToString(text);
  }
}

// Every byte survives a save and a load; a load starts at the stream's position; a failed load
// keeps the list; a save truncates and adds nothing (a BOM-like first line is data).
TEST(StringListFiles, SaveAndLoadKeepEveryByte)
{
  ScratchFolder folder;
  AnsiString line;
  for (int byte = 0; byte < 256; ++byte)
    if (byte != '\r' && byte != '\n')
      line.push_back(static_cast<char>(byte));
  TStringList list;
  Fill(list, {"\xEF\xBB\xBF", line, "", line});
  const std::string name = folder.Write("all.txt", std::string(100000, 'x'));
  list.SaveToFile(name);
  EXPECT_EQ(ScratchFolder::Read(name), list.Text());
  TStringList back;
  back.Add("old");
  back.LoadFromFile(name);
  EXPECT_EQ(LinesOf(back), LinesOf(list));
  EXPECT_THROW(back.LoadFromFile(folder / "missing.txt"), EFOpenError);
  EXPECT_THROW(back.LoadFromFile(folder.Path()), EFOpenError);
  EXPECT_EQ(back.Count(), 4);
  EXPECT_THROW(list.SaveToFile(folder / "no/such/folder.txt"), EFCreateError);
  EXPECT_THROW(list.SaveToFile(folder.Path()), EFCreateError);

  TMemoryStream stream;
  stream.WriteBuffer("skip\r\nfirst\nsecond", 18);
  stream.Seek(6, soFromBeginning);
  list.LoadFromStream(stream);
  EXPECT_EQ(LinesOf(list), (Lines{"first", "second"}));
}

// Bad indexes throw and change nothing; a move goes both ways (the recent-files list: to the top).
TEST(StringListUnsorted, KeepsOrderAndDuplicatesAndFindsIgnoringCase)
{
  TStringList list;
  Fill(list, {"P0100", "x", "p0100"});
  list.Insert(0, "first");
  list.Insert(list.Count(), "last");
  list.Delete(2);
  list.Put(0, "c");
  EXPECT_EQ(LinesOf(list), (Lines{"c", "P0100", "p0100", "last"}));
  int index = -1;
  EXPECT_TRUE(list.Find("LAST", index));
  EXPECT_EQ(std::pair(index, list.IndexOf("p0100")), std::pair(3, 1));
  EXPECT_EQ(list.IndexOf("P010"), -1);
  list.SetCaseSensitive(true);
  EXPECT_EQ(std::pair(list.IndexOf("p0100"), list.IndexOf("Last")), std::pair(2, -1));

  list.Move(3, 0);
  EXPECT_EQ(LinesOf(list), (Lines{"last", "c", "P0100", "p0100"}));
  list.Move(0, 3);
  EXPECT_EQ(LinesOf(list), (Lines{"c", "P0100", "p0100", "last"}));
  for (auto [from, to] : {std::pair{1, 4}, {-1, 0}})
    EXPECT_THROW(list.Move(from, to), EListError);
  EXPECT_THROW(list.Get(4), EListError);
  EXPECT_THROW(list.Put(-1, "x"), EListError);
  EXPECT_THROW(list.Delete(4), EListError);
  EXPECT_THROW(list.Insert(5, "x"), EListError);
  EXPECT_EQ(LinesOf(list), (Lines{"c", "P0100", "p0100", "last"}));
}

// Sorted lists: Add returns the sorted place; duplicates (case-insensitive by default) are
// ignored, accepted or refused (a load that hits one keeps the old lines); Find tells where a
// missing line would go; positional changes are refused; SetSorted sorts what is there.
TEST(StringListSorted, AddFindAndTheDuplicateRules)
{
  SortedList list;
  Fill(list, {"m", "z", "A"});
  EXPECT_EQ(list.Add("b"), 1);
  EXPECT_EQ(list.Add("B"), 1);  // the existing index, nothing added
  EXPECT_EQ(LinesOf(list), (Lines{"A", "b", "m", "z"}));
  int index = -1;
  EXPECT_FALSE(list.Find("n", index));
  EXPECT_EQ(std::pair(index, list.IndexOf("Z")), std::pair(3, 3));
  EXPECT_THROW(list.Insert(0, "y"), EListError);
  EXPECT_THROW(list.Put(0, "y"), EListError);
  EXPECT_THROW(list.Move(0, 2), EListError);
  list.SetText("q\r\nC\r\nc\r\n\r\n");
  EXPECT_EQ(LinesOf(list), (Lines{"", "C", "q"}));

  SortedList accept(dupAccept);
  Fill(accept, {"b", "a"});
  EXPECT_EQ(accept.Add("B"), 1);
  EXPECT_EQ(accept.Count(), 3);
  SortedList error(dupError);
  Fill(error, {"b", "a"});
  EXPECT_THROW(error.Add("A"), EListError);
  EXPECT_THROW(error.SetText("x\r\ny\r\nX\r\n"), EListError);
  EXPECT_EQ(LinesOf(error), (Lines{"a", "b"}));
  TStringList unsorted;
  Fill(unsorted, {"c", "a", "b"});
  unsorted.SetSorted(true);
  EXPECT_EQ(LinesOf(unsorted), (Lines{"a", "b", "c"}));

  EnvScope russian("LC_ALL", "ru_RU.UTF-8");
  SortedList cyrillic;
  Fill(cyrillic, {"\xE2\xEE\xE4\xE0", "\xC0\xE7\xEE\xF2", "Zed"});  // "вода", "Азот"
  EXPECT_EQ(cyrillic.Add("\xC2\xCE\xC4\xC0"), 2);                   // "ВОДА" is already there
  EXPECT_EQ(LinesOf(cyrillic), (Lines{"Zed", "\xC0\xE7\xEE\xF2", "\xE2\xEE\xE4\xE0"}));
}

// Names equal but for case stay apart and follow each other in byte order within the
// case-insensitive order; a byte-equal name is the one duplicate; loads and searches keep the
// mode, sorted or not; CaseSensitive orders by bytes alone.
TEST(StringListSorted, CaseDistinctKeepsNamesThatDifferOnlyInCase)
{
  SortedList list(dupIgnore, true);
  Fill(list, {"b.qel", "a.qel", "B.qel", "A.qel", "c.qel", "a.qel"});
  EXPECT_EQ(LinesOf(list), (Lines{"A.qel", "a.qel", "B.qel", "b.qel", "c.qel"}));
  EXPECT_EQ(std::pair(list.IndexOf("b.qel"), list.IndexOf("b.QEL")), std::pair(3, -1));
  int index = -1;
  EXPECT_FALSE(list.Find("a.QEL", index));
  EXPECT_EQ(index, 1);  // between "A.qel" and "a.qel"
  list.SetDuplicates(dupError);
  EXPECT_THROW(list.Add("B.qel"), EListError);
  EXPECT_EQ(list.Add("C.qel"), 4);
  list.SetDuplicates(dupIgnore);
  list.SetText("x.qel\r\nX.qel\r\nx.qel\r\n");
  EXPECT_EQ(LinesOf(list), (Lines{"X.qel", "x.qel"}));

  TStringList unsorted;
  Fill(unsorted, {"Log.qel", "log.qel"});
  EXPECT_EQ(unsorted.IndexOf("log.qel"), 0);
  unsorted.SetCaseDistinct(true);
  EXPECT_EQ(std::pair(unsorted.IndexOf("log.qel"), unsorted.IndexOf("LOG.qel")), std::pair(1, -1));

  SortedList sorted(dupAccept);  // switched on over accepted duplicates, the names regroup
  Fill(sorted, {"m", "b", "M", "B", "b"});
  sorted.SetCaseDistinct(true);
  EXPECT_EQ(LinesOf(sorted), (Lines{"B", "b", "b", "M", "m"}));
  sorted.SetCaseSensitive(true);
  EXPECT_EQ(LinesOf(sorted), (Lines{"B", "M", "b", "b", "m"}));
}

// The abstract interface as the control adapters use it, over a plain vector.
class VectorStrings : public TStrings {
public:
  int Count() const override { return static_cast<int>(lines.size()); }
  AnsiString Get(int index) const override { return lines.at(static_cast<size_t>(index)); }
  void Put(int index, const AnsiString& s) override { lines.at(static_cast<size_t>(index)) = s; }
  void Insert(int index, const AnsiString& s) override { lines.insert(lines.begin() + index, s); }
  void Delete(int index) override { lines.erase(lines.begin() + index); }
  void Clear() override { lines.clear(); }

  Lines lines;
  std::vector<bool> updates;

protected:
  void SetUpdateState(bool updating) override { updates.push_back(updating); }
};

// The update state changes only at the outermost pair (an unbalanced end is ignored); a move and
// a whole load are one batch each; a bad move is refused before anything is deleted.
TEST(Strings, SharedBehaviourThroughTheInterface)
{
  VectorStrings list;
  Fill(list, {"Alpha", "beta"});
  EXPECT_EQ(list.IndexOf("BETA"), 1);
  list.Move(1, 0);
  EXPECT_THROW(list.Move(0, 2), EListError);
  EXPECT_EQ(list.lines, (Lines{"beta", "Alpha"}));
  list.BeginUpdate();
  list.BeginUpdate();
  list.EndUpdate();
  list.EndUpdate();
  list.EndUpdate();
  list.SetText("x\ny");
  EXPECT_EQ(list.Text(), "x\r\ny\r\n");
  EXPECT_EQ(list.updates, (std::vector<bool>{true, false, true, false, true, false}));
}

}  // namespace
