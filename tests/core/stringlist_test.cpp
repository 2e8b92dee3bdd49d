#include <gtest/gtest.h>

#include <vector>

#include "support/EnvScope.h"
#include "Exceptions.h"
#include "MemoryStream.h"
#include "support/ScratchFolder.h"
#include "StringList.h"

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

AnsiString Bytes(const char* text, size_t size)
{
  return AnsiString(text, size);
}

// ---- line splitting ----

TEST(StringListText, SplitsAtCrLfAndCrLf)
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
    {"a\n\rb", {"a", "", "b"}},    // LF CR is two breaks
    {" a \r\n\r\n", {" a ", ""}},  // blanks kept, one empty line before the final break
  };
  for (const Case& c : cases) {
    TStringList list;
    list.SetText(c.text);
    EXPECT_EQ(LinesOf(list), c.lines) << testing::PrintToString(c.text);
  }
}

TEST(StringListText, NulIsAnOrdinaryByte)
{
  TStringList list;
  list.SetText(Bytes("a\0b\r\n\0\nc", 8));
  EXPECT_EQ(LinesOf(list), (Lines{Bytes("a\0b", 3), Bytes("\0", 1), "c"}));
  EXPECT_EQ(list.Text(), Bytes("a\0b\r\n\0\r\nc\r\n", 11));
}

TEST(StringListText, JoinsWithCrLfAfterEveryLine)
{
  TStringList list;
  EXPECT_EQ(list.Text(), "");
  Fill(list, {"a", "", "b"});
  EXPECT_EQ(list.Text(), "a\r\n\r\nb\r\n");
  list.SetText(list.Text());  // reading the text back gives the same lines
  EXPECT_EQ(LinesOf(list), (Lines{"a", "", "b"}));
}

// ---- files and streams ----

TEST(StringListFiles, LoadsFileWithMixedBreaksAndNul)
{
  ScratchFolder folder;
  std::string name = folder.Write("log.txt", Bytes("one\rtwo\0x\r\n\xC0\xFF\n", 14));
  TStringList list;
  list.Add("old");
  list.LoadFromFile(name);
  EXPECT_EQ(LinesOf(list), (Lines{"one", Bytes("two\0x", 5), "\xC0\xFF"}));
}

TEST(StringListFiles, FailedLoadKeepsTheList)
{
  ScratchFolder folder;
  TStringList list;
  Fill(list, {"kept", "lines"});
  EXPECT_THROW(list.LoadFromFile(folder / "missing.txt"), EFOpenError);
  EXPECT_THROW(list.LoadFromFile(folder.Path()), EFOpenError);  // a folder
  EXPECT_EQ(LinesOf(list), (Lines{"kept", "lines"}));
}

TEST(StringListFiles, SaveWritesCrLfAfterEveryLineAndTruncates)
{
  ScratchFolder folder;
  std::string name = folder.Write("red.txt", std::string(100, 'x'));
  TStringList list;
  Fill(list, {"\xEF\xBB\xBF", "b", ""});  // a leading BOM-like line is data, nothing is added
  list.SaveToFile(name);
  EXPECT_EQ(ScratchFolder::Read(name), "\xEF\xBB\xBF\r\nb\r\n\r\n");

  TStringList empty;
  empty.SaveToFile(name);
  EXPECT_EQ(ScratchFolder::Read(name), "");
}

TEST(StringListFiles, SaveFailureThrows)
{
  ScratchFolder folder;
  TStringList list;
  list.Add("x");
  EXPECT_THROW(list.SaveToFile(folder / "no/such/folder.txt"), EFCreateError);
  EXPECT_THROW(list.SaveToFile(folder.Path()), EFCreateError);
}

TEST(StringListFiles, AllBytesSurviveSaveAndLoad)
{
  ScratchFolder folder;
  AnsiString line;
  for (int byte = 0; byte < 256; ++byte)
    if (byte != '\r' && byte != '\n')
      line.push_back(static_cast<char>(byte));
  TStringList list;
  Fill(list, {line, "", line});
  list.SaveToFile(folder / "all.txt");
  TStringList back;
  back.LoadFromFile(folder / "all.txt");
  EXPECT_EQ(LinesOf(back), LinesOf(list));
}

TEST(StringListFiles, LoadFromStreamStartsAtItsPosition)
{
  TMemoryStream stream;
  const AnsiString bytes = "skip\r\nfirst\nsecond";
  stream.WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
  stream.Seek(6, soFromBeginning);
  TStringList list;
  list.LoadFromStream(stream);
  EXPECT_EQ(LinesOf(list), (Lines{"first", "second"}));
}

// ---- unsorted lists ----

TEST(StringListUnsorted, KeepsOrderAndDuplicates)
{
  TStringList list;
  EXPECT_EQ(list.Add("b"), 0);
  EXPECT_EQ(list.Add("B"), 1);
  EXPECT_EQ(list.Add("a"), 2);
  list.Insert(0, "first");
  list.Insert(list.Count(), "last");
  list.Delete(1);
  EXPECT_EQ(LinesOf(list), (Lines{"first", "B", "a", "last"}));
  list.Put(1, "c");
  EXPECT_EQ(list.Strings(1), "c");
}

TEST(StringListUnsorted, IndexOfAndFindIgnoreCase)
{
  TStringList list;
  Fill(list, {"P0100", "x", "p0100"});
  EXPECT_EQ(list.IndexOf("p0100"), 0);
  EXPECT_EQ(list.IndexOf("P010"), -1);
  int index = -1;
  EXPECT_TRUE(list.Find("X", index));
  EXPECT_EQ(index, 1);
  EXPECT_FALSE(list.Find("y", index));
  list.SetCaseSensitive(true);
  EXPECT_EQ(list.IndexOf("p0100"), 2);
  EXPECT_EQ(list.IndexOf("X"), -1);
}

TEST(StringListUnsorted, MoveBothWays)
{
  TStringList list;
  Fill(list, {"a", "b", "c", "d"});
  list.Move(3, 0);  // recent-files list: to the top
  EXPECT_EQ(LinesOf(list), (Lines{"d", "a", "b", "c"}));
  list.Move(0, 3);
  EXPECT_EQ(LinesOf(list), (Lines{"a", "b", "c", "d"}));
  list.Move(2, 2);
  EXPECT_THROW(list.Move(1, 4), EListError);
  EXPECT_THROW(list.Move(-1, 0), EListError);
  EXPECT_EQ(LinesOf(list), (Lines{"a", "b", "c", "d"}));
}

TEST(StringListUnsorted, BadIndexesThrow)
{
  TStringList list;
  list.Add("only");
  EXPECT_THROW(list.Get(1), EListError);
  EXPECT_THROW(list.Get(-1), EListError);
  EXPECT_THROW(list.Put(1, "x"), EListError);
  EXPECT_THROW(list.Delete(1), EListError);
  EXPECT_THROW(list.Insert(2, "x"), EListError);
  EXPECT_THROW(list.Insert(-1, "x"), EListError);
  EXPECT_EQ(LinesOf(list), Lines{"only"});
  list.Clear();
  EXPECT_THROW(list.Get(0), EListError);
}

// ---- sorted lists ----

TEST(StringListSorted, AddReturnsTheSortedIndex)
{
  TStringList list;
  list.SetSorted(true);
  EXPECT_EQ(list.Add("m"), 0);
  EXPECT_EQ(list.Add("z"), 1);
  EXPECT_EQ(list.Add("A"), 0);
  EXPECT_EQ(list.Add("b"), 1);
  EXPECT_EQ(LinesOf(list), (Lines{"A", "b", "m", "z"}));
}

TEST(StringListSorted, DuplicatesIgnoredCaseInsensitivelyByDefault)
{
  TStringList list;
  list.SetSorted(true);
  Fill(list, {"P0300", "P0100", "P0200"});
  EXPECT_EQ(list.Add("p0200"), 1);  // the existing index, nothing added
  EXPECT_EQ(LinesOf(list), (Lines{"P0100", "P0200", "P0300"}));
  EXPECT_EQ(list.IndexOf("p0300"), 2);
  EXPECT_EQ(list.IndexOf("P0250"), -1);
  int index = -1;
  EXPECT_FALSE(list.Find("P0250", index));
  EXPECT_EQ(index, 2);  // where it would go
}

TEST(StringListSorted, DuplicateRules)
{
  TStringList accept;
  accept.SetSorted(true);
  accept.SetDuplicates(dupAccept);
  Fill(accept, {"b", "a"});
  EXPECT_EQ(accept.Add("B"), 1);
  EXPECT_EQ(accept.Count(), 3);

  TStringList error;
  error.SetSorted(true);
  error.SetDuplicates(dupError);
  Fill(error, {"b", "a"});
  EXPECT_THROW(error.Add("A"), EListError);
  EXPECT_EQ(LinesOf(error), (Lines{"a", "b"}));
  // A load that hits a duplicate keeps the old lines too.
  EXPECT_THROW(error.SetText("x\r\ny\r\nX\r\n"), EListError);
  EXPECT_EQ(LinesOf(error), (Lines{"a", "b"}));

  TStringList caseSensitive;
  caseSensitive.SetSorted(true);
  caseSensitive.SetCaseSensitive(true);
  Fill(caseSensitive, {"a", "A", "a"});
  EXPECT_EQ(LinesOf(caseSensitive), (Lines{"A", "a"}));
}

TEST(StringListSorted, PositionalChangesAreRefused)
{
  TStringList list;
  Fill(list, {"c", "a", "b"});
  list.SetSorted(true);  // sorts what is there
  EXPECT_EQ(LinesOf(list), (Lines{"a", "b", "c"}));
  EXPECT_THROW(list.Insert(0, "z"), EListError);
  EXPECT_THROW(list.Put(0, "z"), EListError);
  EXPECT_THROW(list.Move(0, 2), EListError);
  list.Delete(0);
  EXPECT_EQ(LinesOf(list), (Lines{"b", "c"}));
}

TEST(StringListSorted, LoadAddsInOrder)
{
  TStringList list;
  list.SetSorted(true);
  list.SetText("b\r\nA\r\na\r\n\r\n");
  EXPECT_EQ(LinesOf(list), (Lines{"", "A", "b"}));
}

TEST(StringListSorted, CyrillicOrderAndCaseUnderARussianLocale)
{
  EnvScope russian("LC_ALL", "ru_RU.UTF-8");
  TStringList list;
  list.SetSorted(true);
  Fill(list, {"\xE2\xEE\xE4\xE0", "\xC0\xE7\xEE\xF2", "Zed"});  // "вода", "Азот"
  EXPECT_EQ(list.Add("\xC2\xCE\xC4\xC0"), 2);                     // "ВОДА" is already there
  EXPECT_EQ(LinesOf(list), (Lines{"Zed", "\xC0\xE7\xEE\xF2", "\xE2\xEE\xE4\xE0"}));
}

TEST(StringListSorted, CaseDistinctKeepsNamesThatDifferOnlyInCase)
{
  TStringList list;
  list.SetSorted(true);
  list.SetCaseDistinct(true);
  Fill(list, {"b.qel", "a.qel", "B.qel", "A.qel", "c.qel"});
  // The case-insensitive order holds; names equal but for case follow each other in byte order.
  EXPECT_EQ(LinesOf(list), (Lines{"A.qel", "a.qel", "B.qel", "b.qel", "c.qel"}));
  EXPECT_EQ(list.IndexOf("A.qel"), 0);
  EXPECT_EQ(list.IndexOf("a.qel"), 1);
  EXPECT_EQ(list.IndexOf("b.QEL"), -1);
  int index = -1;
  EXPECT_TRUE(list.Find("b.qel", index));
  EXPECT_EQ(index, 3);
  EXPECT_FALSE(list.Find("a.QEL", index));
  EXPECT_EQ(index, 1);  // where it would go: between "A.qel" and "a.qel"
  // A byte-equal name is the one duplicate.
  EXPECT_EQ(list.Add("a.qel"), 1);
  EXPECT_EQ(list.Count(), 5);
  list.SetDuplicates(dupError);
  EXPECT_THROW(list.Add("B.qel"), EListError);
  EXPECT_EQ(list.Add("C.qel"), 4);

  // A load keeps the mode.
  list.SetDuplicates(dupIgnore);
  list.SetText("x.qel\r\nX.qel\r\nx.qel\r\n");
  EXPECT_EQ(LinesOf(list), (Lines{"X.qel", "x.qel"}));
}

TEST(StringListSorted, CaseDistinctResortsAndAppliesToUnsortedSearch)
{
  TStringList unsorted;
  Fill(unsorted, {"Log.qel", "log.qel"});
  EXPECT_EQ(unsorted.IndexOf("log.qel"), 0);
  unsorted.SetCaseDistinct(true);
  EXPECT_EQ(unsorted.IndexOf("log.qel"), 1);
  EXPECT_EQ(unsorted.IndexOf("LOG.qel"), -1);

  // Switched on over a sorted list with accepted duplicates: equal-but-for-case names regroup
  // in byte order.
  TStringList sorted;
  sorted.SetSorted(true);
  sorted.SetDuplicates(dupAccept);
  Fill(sorted, {"m", "b", "M", "B", "b"});
  sorted.SetCaseDistinct(true);
  EXPECT_EQ(LinesOf(sorted), (Lines{"B", "b", "b", "M", "m"}));
  EXPECT_EQ(sorted.IndexOf("m"), 4);
  // CaseSensitive, when on, orders by bytes alone.
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

TEST(Strings, SharedBehaviourThroughTheInterface)
{
  VectorStrings list;
  EXPECT_EQ(list.Add("Alpha"), 0);
  EXPECT_EQ(list.Add("beta"), 1);
  EXPECT_EQ(list.IndexOf("BETA"), 1);
  list.Move(1, 0);
  EXPECT_EQ(list.lines, (Lines{"beta", "Alpha"}));
  EXPECT_THROW(list.Move(0, 2), EListError);  // checked before anything is deleted
  EXPECT_EQ(list.lines, (Lines{"beta", "Alpha"}));
  list.SetText("x\ny");
  EXPECT_EQ(list.lines, (Lines{"x", "y"}));
  EXPECT_EQ(list.Text(), "x\r\ny\r\n");
}

TEST(Strings, UpdateStateOnlyAtTheOutermostPair)
{
  VectorStrings list;
  list.BeginUpdate();
  list.BeginUpdate();
  list.EndUpdate();
  EXPECT_EQ(list.updates, std::vector<bool>{true});
  list.EndUpdate();
  list.EndUpdate();  // unbalanced: ignored
  EXPECT_EQ(list.updates, (std::vector<bool>{true, false}));
  list.SetText("a\r\nb");  // a whole load is one batch
  EXPECT_EQ(list.updates, (std::vector<bool>{true, false, true, false}));
}

}  // namespace
