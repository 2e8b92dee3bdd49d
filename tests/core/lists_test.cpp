// The string lists and the pointer list.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Exceptions.h"
#include "MemoryStream.h"
#include "PtrList.h"
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
  TStringList list;
  std::string shown;
  for (const AnsiString& text : {AnsiString(), AnsiString("a\r"), AnsiString("\n\n"), AnsiString("a\rb\nc\r\nd"),
                                 AnsiString("a\r\r\nb"), AnsiString("a\n\rb"), AnsiString("a\0b\r\n\0\nc", 8)}) {
    list.SetText(text);
    for (const AnsiString& line : LinesOf(list))
      shown += "[" + line + "]";
    shown += " ";
  }
  EXPECT_EQ(shown, " [a] [][] [a][b][c][d] [a][][b] [a][][b] [a" + AnsiString("\0", 1) + "b][" +
                       AnsiString("\0", 1) + "][c] ");
  EXPECT_EQ(list.Text(), AnsiString("a\0b\r\n\0\r\nc\r\n", 11));
}

// A save truncates and adds nothing (a BOM-like first line is data).
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
  EXPECT_THROW(back.LoadFromFile(folder / "missing.txt"), EFOpenError);
  EXPECT_EQ(LinesOf(back), LinesOf(list));
  EXPECT_THROW(list.SaveToFile("/dev/full"), EWriteError);  // a write the disk refused
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
  list.SetCaseSensitive(true);
  EXPECT_EQ(std::pair(list.IndexOf("p0100"), list.IndexOf("Last")), std::pair(2, -1));

  list.Move(3, 0);
  EXPECT_EQ(LinesOf(list), (Lines{"last", "c", "P0100", "p0100"}));
  list.Move(0, 3);
  EXPECT_THROW(list.Move(1, 4), EListError);
  EXPECT_THROW(list.Put(-1, "x"), EListError);
  EXPECT_THROW(list.Insert(5, "x"), EListError);
  EXPECT_EQ(LinesOf(list), (Lines{"c", "P0100", "p0100", "last"}));
}

// Duplicates are case-insensitive by default; a load that hits a refused one keeps the old lines.
TEST(StringListSorted, AddFindTheDuplicateRulesAndCaseDistinctNames)
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

  SortedList error(dupError);
  Fill(error, {"b", "a"});
  EXPECT_THROW(error.Add("A"), EListError);
  EXPECT_THROW(error.SetText("x\r\ny\r\nX\r\n"), EListError);
  EXPECT_EQ(LinesOf(error), (Lines{"a", "b"}));

  EnvScope russian("LC_ALL", "ru_RU.UTF-8");
  SortedList cyrillic;
  Fill(cyrillic, {"\xE2\xEE\xE4\xE0", "\xC0\xE7\xEE\xF2", "Zed"});  // "вода", "Азот"
  EXPECT_EQ(cyrillic.Add("\xC2\xCE\xC4\xC0"), 2);                   // "ВОДА" is already there
  EXPECT_EQ(LinesOf(cyrillic), (Lines{"Zed", "\xC0\xE7\xEE\xF2", "\xE2\xEE\xE4\xE0"}));

  // CaseDistinct: names equal but for case follow each other in byte order; CaseSensitive orders
  // by bytes alone.
  list.Clear();
  list.SetCaseDistinct(true);
  Fill(list, {"b.qel", "a.qel", "B.qel", "A.qel", "c.qel", "a.qel"});
  EXPECT_EQ(LinesOf(list), (Lines{"A.qel", "a.qel", "B.qel", "b.qel", "c.qel"}));
  EXPECT_EQ(std::pair(list.IndexOf("b.qel"), list.IndexOf("b.QEL")), std::pair(3, -1));
  EXPECT_FALSE(list.Find("a.QEL", index));
  EXPECT_EQ(index, 1);  // between "A.qel" and "a.qel"
  list.SetDuplicates(dupError);
  EXPECT_THROW(list.Add("B.qel"), EListError);
  EXPECT_EQ(list.Add("C.qel"), 4);
  list.SetDuplicates(dupIgnore);
  list.SetText("x.qel\r\nX.qel\r\nx.qel\r\n");
  EXPECT_EQ(LinesOf(list), (Lines{"X.qel", "x.qel"}));

  SortedList sorted(dupAccept);  // switched on over accepted duplicates, the names regroup
  Fill(sorted, {"m", "b", "M", "B", "b"});
  sorted.SetCaseDistinct(true);
  EXPECT_EQ(LinesOf(sorted), (Lines{"B", "b", "b", "M", "m"}));
  sorted.SetCaseSensitive(true);
  EXPECT_EQ(LinesOf(sorted), (Lines{"B", "M", "b", "b", "m"}));
}

struct Item {
  int id;
};

// The list as text: the id of each entry, 0 for a null.
std::string Dump(const TPtrList<Item>& list)
{
  std::string text;
  for (int i = 0; i < list.Count(); ++i)
    text += std::to_string(list[i] ? list[i]->id : 0);
  return text;
}

// Clear frees nothing (the sanitizer build would see a free).
TEST(PtrList, EditsKeepOrderAndNullsAndClearNeitherFreesNorShrinks)
{
  Item a{1}, b{2}, c{3};
  TPtrList<Item> list;
  EXPECT_EQ(list.Add(&a), 0);
  EXPECT_EQ(list.Add(nullptr), 1);
  EXPECT_EQ(list.Add(&b), 2);
  list.Insert(0, &c);
  list.Insert(list.Count(), nullptr);
  EXPECT_EQ(Dump(list), "31020");
  EXPECT_EQ(std::pair(list.IndexOf(&b), list.IndexOf(nullptr)), std::pair(3, 2));
  list.Exchange(0, 4);  // row up/down
  EXPECT_EQ(Dump(list), "01023");
  list.Pack();
  EXPECT_EQ(Dump(list), "123");
  EXPECT_EQ(list.Remove(&b), 1);
  EXPECT_EQ(list.Remove(&b), -1);
  list.Put(0, &b);
  list[1] = nullptr;
  EXPECT_THROW(list[-1], EListError);
  EXPECT_THROW(list.Insert(3, &a), EListError);
  EXPECT_THROW(static_cast<const TPtrList<Item>&>(list)[2], EListError);
  EXPECT_EQ(Dump(list), "20");

  list.Reserve(1000);
  const int room = list.Capacity();
  EXPECT_GE(room, 1000);
  list.Reserve(-5);  // a smaller or a senseless count changes nothing
  auto* owned = new Item{7};
  list.Put(0, owned);
  list.Clear();  // frees no item, and gives the room back (a big log's list would keep it)
  EXPECT_EQ(std::vector<int>({list.Count(), list.Capacity(), owned->id}), std::vector<int>({0, 0, 7}));
  delete owned;
}

}  // namespace
