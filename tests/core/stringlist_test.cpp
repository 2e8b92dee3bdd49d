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
  explicit SortedList(TDuplicates duplicates = dupIgnore)
  {
    SetSorted(true);
    SetDuplicates(duplicates);
  }
};

// Breaks are CR, LF and CR LF (LF CR is two); NUL is an ordinary byte; the text has a CR LF after
// every line.
TEST(StringListText, SplitsAtCrLfAndCrLfAndJoinsWithCrLf)
{
  struct Case {
    AnsiString text;
    Lines lines;
  };
  const Case cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\n", {"a"}},
      {"a\r", {"a"}},
      {"a\n", {"a"}},
      {"\r\n", {""}},
      {"\n\n", {"", ""}},
      {"a\rb\nc\r\nd", {"a", "b", "c", "d"}},
      {"a\r\r\nb", {"a", "", "b"}},
      {"a\n\rb", {"a", "", "b"}},
      {" a \r\n\r\n", {" a ", ""}},
      {AnsiString("a\0b\r\n\0\nc", 8), {AnsiString("a\0b", 3), AnsiString("\0", 1), "c"}},
  };
  for (const Case& c : cases) {
    TStringList list;
    list.SetText(c.text);
    EXPECT_EQ(LinesOf(list), c.lines) << testing::PrintToString(c.text);
    AnsiString joined;
    for (const AnsiString& line : c.lines)
      joined += line + "\r\n";
    EXPECT_EQ(list.Text(), joined) << testing::PrintToString(c.text);
  }
}

// Every byte survives a save and a load; a load takes mixed breaks and starts at the stream's
// position; a failed load keeps the list; a save truncates and adds nothing (a BOM-like first
// line is data).
TEST(StringListFiles, SaveAndLoadKeepEveryByte)
{
  ScratchFolder folder;
  AnsiString line;
  for (int byte = 0; byte < 256; ++byte)
    if (byte != '\r' && byte != '\n')
      line.push_back(static_cast<char>(byte));
  TStringList list;
  Fill(list, {line, "", line});
  const std::string name = folder.Write("all.txt", std::string(100000, 'x'));
  list.SaveToFile(name);
  TStringList back;
  back.Add("old");
  back.LoadFromFile(name);
  EXPECT_EQ(LinesOf(back), LinesOf(list));

  back.LoadFromFile(folder.Write("log.txt", AnsiString("one\rtwo\0x\r\n\xC0\xFF\n", 14)));
  EXPECT_EQ(LinesOf(back), (Lines{"one", AnsiString("two\0x", 5), "\xC0\xFF"}));
  EXPECT_THROW(back.LoadFromFile(folder / "missing.txt"), EFOpenError);
  EXPECT_THROW(back.LoadFromFile(folder.Path()), EFOpenError);
  EXPECT_EQ(back.Count(), 3);

  TStringList bom;
  Fill(bom, {"\xEF\xBB\xBF", "b", ""});
  bom.SaveToFile(name);
  EXPECT_EQ(ScratchFolder::Read(name), "\xEF\xBB\xBF\r\nb\r\n\r\n");
  TStringList().SaveToFile(name);
  EXPECT_EQ(ScratchFolder::Read(name), "");
  EXPECT_THROW(bom.SaveToFile(folder / "no/such/folder.txt"), EFCreateError);
  EXPECT_THROW(bom.SaveToFile(folder.Path()), EFCreateError);

  TMemoryStream stream;
  const AnsiString bytes = "skip\r\nfirst\nsecond";
  stream.WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
  stream.Seek(6, soFromBeginning);
  list.LoadFromStream(stream);
  EXPECT_EQ(LinesOf(list), (Lines{"first", "second"}));
}

TEST(StringListUnsorted, KeepsOrderAndDuplicatesAndFindsIgnoringCase)
{
  TStringList list;
  EXPECT_EQ(list.Add("P0100"), 0);
  EXPECT_EQ(list.Add("x"), 1);
  EXPECT_EQ(list.Add("p0100"), 2);
  list.Insert(0, "first");
  list.Insert(list.Count(), "last");
  list.Delete(2);
  list.Put(0, "c");
  EXPECT_EQ(LinesOf(list), (Lines{"c", "P0100", "p0100", "last"}));
  EXPECT_EQ(list.IndexOf("p0100"), 1);
  EXPECT_EQ(list.IndexOf("P010"), -1);
  int index = -1;
  EXPECT_TRUE(list.Find("LAST", index));
  EXPECT_EQ(index, 3);
  EXPECT_FALSE(list.Find("y", index));
  list.SetCaseSensitive(true);
  EXPECT_EQ(list.IndexOf("p0100"), 2);
  EXPECT_EQ(list.IndexOf("Last"), -1);
}

TEST(StringListUnsorted, MoveBothWaysAndBadIndexesThrow)
{
  TStringList list;
  Fill(list, {"a", "b", "c", "d"});
  list.Move(3, 0);  // recent-files list: to the top
  EXPECT_EQ(LinesOf(list), (Lines{"d", "a", "b", "c"}));
  list.Move(0, 3);
  list.Move(2, 2);
  EXPECT_EQ(LinesOf(list), (Lines{"a", "b", "c", "d"}));
  EXPECT_THROW(list.Move(1, 4), EListError);
  EXPECT_THROW(list.Move(-1, 0), EListError);
  EXPECT_THROW(list.Get(4), EListError);
  EXPECT_THROW(list.Get(-1), EListError);
  EXPECT_THROW(list.Put(4, "x"), EListError);
  EXPECT_THROW(list.Delete(4), EListError);
  EXPECT_THROW(list.Insert(5, "x"), EListError);
  EXPECT_THROW(list.Insert(-1, "x"), EListError);
  EXPECT_EQ(LinesOf(list), (Lines{"a", "b", "c", "d"}));
}

// Sorted lists: Add returns the sorted place; duplicates (case-insensitive by default) are
// ignored, accepted or refused (a load that hits one keeps the old lines); Find tells where a
// missing line would go; positional changes are refused; SetSorted sorts what is there.
TEST(StringListSorted, AddFindAndTheDuplicateRules)
{
  SortedList list;
  EXPECT_EQ(list.Add("m"), 0);
  EXPECT_EQ(list.Add("z"), 1);
  EXPECT_EQ(list.Add("A"), 0);
  EXPECT_EQ(list.Add("b"), 1);
  EXPECT_EQ(list.Add("B"), 1);  // the existing index, nothing added
  EXPECT_EQ(LinesOf(list), (Lines{"A", "b", "m", "z"}));
  EXPECT_EQ(list.IndexOf("Z"), 3);
  int index = -1;
  EXPECT_FALSE(list.Find("n", index));
  EXPECT_EQ(index, 3);
  EXPECT_THROW(list.Insert(0, "y"), EListError);
  EXPECT_THROW(list.Put(0, "y"), EListError);
  EXPECT_THROW(list.Move(0, 2), EListError);
  list.Delete(0);
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
  SortedList caseSensitive;
  caseSensitive.SetCaseSensitive(true);
  Fill(caseSensitive, {"a", "A", "a"});
  EXPECT_EQ(LinesOf(caseSensitive), (Lines{"A", "a"}));
  TStringList unsorted;
  Fill(unsorted, {"c", "a", "b"});
  unsorted.SetSorted(true);
  EXPECT_EQ(LinesOf(unsorted), (Lines{"a", "b", "c"}));
}

TEST(StringListSorted, CyrillicOrderAndCaseUnderARussianLocale)
{
  EnvScope russian("LC_ALL", "ru_RU.UTF-8");
  SortedList list;
  Fill(list, {"\xE2\xEE\xE4\xE0", "\xC0\xE7\xEE\xF2", "Zed"});  // "вода", "Азот"
  EXPECT_EQ(list.Add("\xC2\xCE\xC4\xC0"), 2);                   // "ВОДА" is already there
  EXPECT_EQ(LinesOf(list), (Lines{"Zed", "\xC0\xE7\xEE\xF2", "\xE2\xEE\xE4\xE0"}));
}

// Names equal but for case stay apart and follow each other in byte order within the
// case-insensitive order; a byte-equal name is the one duplicate; loads and searches keep the
// mode, sorted or not.
TEST(StringListSorted, CaseDistinctKeepsNamesThatDifferOnlyInCase)
{
  SortedList list;
  list.SetCaseDistinct(true);
  Fill(list, {"b.qel", "a.qel", "B.qel", "A.qel", "c.qel"});
  EXPECT_EQ(LinesOf(list), (Lines{"A.qel", "a.qel", "B.qel", "b.qel", "c.qel"}));
  EXPECT_EQ(list.IndexOf("a.qel"), 1);
  EXPECT_EQ(list.IndexOf("b.QEL"), -1);
  int index = -1;
  EXPECT_TRUE(list.Find("b.qel", index));
  EXPECT_EQ(index, 3);
  EXPECT_FALSE(list.Find("a.QEL", index));
  EXPECT_EQ(index, 1);  // between "A.qel" and "a.qel"
  EXPECT_EQ(list.Add("a.qel"), 1);
  EXPECT_EQ(list.Count(), 5);
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
  EXPECT_EQ(unsorted.IndexOf("log.qel"), 1);
  EXPECT_EQ(unsorted.IndexOf("LOG.qel"), -1);

  // Switched on over accepted duplicates, the names regroup; CaseSensitive orders by bytes alone.
  SortedList sorted(dupAccept);
  Fill(sorted, {"m", "b", "M", "B", "b"});
  sorted.SetCaseDistinct(true);
  EXPECT_EQ(LinesOf(sorted), (Lines{"B", "b", "b", "M", "m"}));
  EXPECT_EQ(sorted.IndexOf("m"), 4);
  sorted.SetCaseSensitive(true);
  EXPECT_EQ(LinesOf(sorted), (Lines{"B", "M", "b", "b", "m"}));
}

// ---- the abstract interface, as the control adapters use it ----

class VectorStrings : public TStrings {
public:
  int Count() const override { return static_cast<int>(lines.size()); }
  AnsiString Get(int index) const override { return lines.at(Index(index)); }
  void Put(int index, const AnsiString& s) override { lines.at(Index(index)) = s; }
  void Insert(int index, const AnsiString& s) override
  {
    if (index < 0 || index > Count())
      IndexError(index);
    lines.insert(lines.begin() + index, s);
  }
  void Delete(int index) override { lines.erase(lines.begin() + static_cast<long>(Index(index))); }
  void Clear() override { lines.clear(); }

  Lines lines;
  std::vector<bool> updates;

protected:
  void SetUpdateState(bool updating) override { updates.push_back(updating); }

private:
  size_t Index(int index) const
  {
    if (index < 0 || index >= Count())
      IndexError(index);
    return static_cast<size_t>(index);
  }
};

// The update state changes only at the outermost pair (an unbalanced end is ignored); a move and
// a whole load are one batch each.
TEST(Strings, SharedBehaviourThroughTheInterface)
{
  VectorStrings list;
  EXPECT_EQ(list.Add("Alpha"), 0);
  EXPECT_EQ(list.Add("beta"), 1);
  EXPECT_EQ(list.IndexOf("BETA"), 1);
  list.Move(1, 0);
  EXPECT_THROW(list.Move(0, 2), EListError);  // checked before anything is deleted
  EXPECT_EQ(list.lines, (Lines{"beta", "Alpha"}));
  list.BeginUpdate();
  list.BeginUpdate();
  list.EndUpdate();
  list.EndUpdate();
  list.EndUpdate();
  list.SetText("x\ny");
  EXPECT_EQ(list.lines, (Lines{"x", "y"}));
  EXPECT_EQ(list.Text(), "x\r\ny\r\n");
  EXPECT_EQ(list.updates, (std::vector<bool>{true, false, true, false, true, false}));
}

}  // namespace
