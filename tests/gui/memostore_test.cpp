#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Exceptions.h"
#include "MemoLines.h"
#include "MemoStore.h"
#include "core/ScratchFolder.h"

namespace {

using Lines = std::vector<std::string>;

Lines StoredLines(const MemoStore& store)
{
  Lines lines;
  for (int64_t i = 0; i < store.Count(); ++i)
    lines.emplace_back(store.Line(i));
  return lines;
}

// The text as the program counts it: every line and its CR LF, the last CR LF only when the
// text ends with a break.
std::string Joined(const Lines& lines, bool finalBreak)
{
  std::string text;
  for (size_t i = 0; i < lines.size(); ++i) {
    text += lines[i];
    if (i + 1 < lines.size() || finalBreak)
      text += "\r\n";
  }
  return text;
}

MemoStore Loaded(const std::string& bytes)
{
  MemoStore store;
  store.SetText(bytes);
  return store;
}

} // namespace

TEST(MemoStore, SplitsAtEveryKindOfBreakAndCountsEachAsCrLf)
{
  struct Case {
    std::string bytes;
    Lines lines;
    std::string text;
  };
  const std::vector<Case> cases = {
      {"", {}, ""},
      {"abc", {"abc"}, "abc"},
      {"a\r\nb", {"a", "b"}, "a\r\nb"},
      {"a\nb\n", {"a", "b"}, "a\r\nb\r\n"},
      {"a\rb\r", {"a", "b"}, "a\r\nb\r\n"},
      {"a\n\rb", {"a", "b"}, "a\r\nb"},            // LF CR is one break
      {"a\r\rb", {"a", "", "b"}, "a\r\n\r\nb"},    // CR CR is two
      {"a\n\nb", {"a", "", "b"}, "a\r\n\r\nb"},
      {"a\r\n\r\nb", {"a", "", "b"}, "a\r\n\r\nb"},
      {"a\n\r\nb", {"a", "", "b"}, "a\r\n\r\nb"},  // LF CR, then a lone LF
      {"\r\n", {""}, "\r\n"},
      {"\n\n", {"", ""}, "\r\n\r\n"},
      {std::string("a\0b\nc\0", 6), {std::string("a\0b", 3), std::string("c\0", 2)},
       std::string("a\0b\r\nc\0", 7)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.bytes));
    const MemoStore store = Loaded(c.bytes);
    EXPECT_EQ(StoredLines(store), c.lines);
    EXPECT_EQ(store.Text(), c.text);
    EXPECT_EQ(store.TextLength(), static_cast<int64_t>(c.text.size()));
  }
}

// The rule spelled out plainly, against the store's two passes over random mixtures of breaks.
TEST(MemoStore, SplittingAgreesWithThePlainRuleOnRandomTexts)
{
  uint32_t seed = 12345;
  auto next = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 16; };
  const char alphabet[] = {'a', 'b', '\r', '\n', '\0'};
  for (int round = 0; round < 2000; ++round) {
    std::string bytes;
    for (unsigned n = next() % 24; n > 0; --n)
      bytes += alphabet[next() % 5];
    Lines expected;
    std::string line;
    bool finalBreak = false;
    for (size_t i = 0; i < bytes.size(); ++i) {
      const char c = bytes[i];
      finalBreak = c == '\r' || c == '\n';
      if (!finalBreak) {
        line += c;
        continue;
      }
      expected.push_back(line);
      line.clear();
      if (i + 1 < bytes.size() && (bytes[i + 1] == '\r' || bytes[i + 1] == '\n') && bytes[i + 1] != c)
        ++i;
    }
    if (!finalBreak && !bytes.empty())
      expected.push_back(line);
    const MemoStore store = Loaded(bytes);
    ASSERT_EQ(StoredLines(store), expected) << testing::PrintToString(bytes);
    ASSERT_EQ(store.Text(), Joined(expected, finalBreak)) << testing::PrintToString(bytes);
  }
}

// Every position of a text, checked against what the CR LF text itself says: the line is the
// number of CR LF pairs wholly before the position, and the column stops at the line's end.
TEST(MemoStore, PositionsAndLinesAgreeWithTheCrLfText)
{
  for (const std::string bytes : {"ab\ncd\r\n\rlast", "x\r\n", "\n", "", "one line", "\r\r\n\n"}) {
    SCOPED_TRACE(testing::PrintToString(bytes));
    const MemoStore store = Loaded(bytes);
    const std::string text = store.Text();
    int64_t line = 0, lineStart = 0;
    for (int64_t p = 0; p <= static_cast<int64_t>(text.size()); ++p) {
      if (p >= 2 && text.compare(static_cast<size_t>(p) - 2, 2, "\r\n") == 0) {
        ++line;
        lineStart = p;
      }
      ASSERT_EQ(store.LineOf(p), line) << "position " << p;
      ASSERT_EQ(store.LineStart(line), lineStart);
      const int64_t column = std::min(p - lineStart, store.LineLength(line));
      const int64_t back = store.PositionOf(line, p - lineStart);
      // Inside a CR LF pair the way back lands at the line's end.
      EXPECT_EQ(back, lineStart + column) << "position " << p;
    }
    EXPECT_EQ(store.ViewLineCount(), line + 1);
  }
}

TEST(MemoStore, AFinalBreakLeavesAnEmptyLineForTheCaretButNotForLines)
{
  const MemoStore store = Loaded("ab\ncd\n");
  EXPECT_EQ(store.Count(), 2);
  ASSERT_EQ(store.ViewLineCount(), 3);
  EXPECT_EQ(store.LineStart(2), 8);
  EXPECT_EQ(store.LineLength(2), 0);
  EXPECT_EQ(store.LineOf(8), 2);
  // "length minus 2" is the end of the last stored line.
  EXPECT_EQ(store.LineOf(store.TextLength() - 2), 1);

  const MemoStore empty = Loaded("");
  EXPECT_EQ(empty.Count(), 0);
  EXPECT_EQ(empty.ViewLineCount(), 1);
  EXPECT_EQ(empty.LineOf(5), 0);
}

TEST(MemoStore, PositionsPastEitherEndAreClamped)
{
  const MemoStore store = Loaded("abc\ndefg");
  EXPECT_EQ(store.LineOf(-5), 0);
  EXPECT_EQ(store.LineOf(1000), 1);
  EXPECT_EQ(store.PositionOf(1, 1000), 9);
  EXPECT_EQ(store.PositionOf(0, -3), 0);
  EXPECT_EQ(store.Range(-10, 1000), "abc\r\ndefg");
  EXPECT_EQ(store.Range(6, 2), "");
}

TEST(MemoStore, RangeIsTheSameAsCuttingTheText)
{
  for (const std::string bytes : {"ab\ncd\r\n\rlast\n", "a\rb", "\n\n\n"}) {
    const MemoStore store = Loaded(bytes);
    const std::string text = store.Text();
    const int64_t n = static_cast<int64_t>(text.size());
    for (int64_t from = 0; from <= n; ++from)
      for (int64_t to = from; to <= n; ++to)
        ASSERT_EQ(store.Range(from, to), text.substr(static_cast<size_t>(from), static_cast<size_t>(to - from)))
            << testing::PrintToString(bytes) << " " << from << ".." << to;
  }
}

TEST(MemoStore, LoadsFileBytesAndKeepsTheOldTextWhenTheFileCannotBeOpened)
{
  ScratchFolder dir;
  MemoStore store;
  store.LoadFromFile(dir.Write("log.txt", std::string("F1000001\r\nkey\0x\nend", 19)));
  EXPECT_EQ(StoredLines(store), (Lines{"F1000001", std::string("key\0x", 5), "end"}));
  EXPECT_EQ(store.MaxLineLength(), 8);

  EXPECT_THROW(store.LoadFromFile(dir / "missing.txt"), EFOpenError);
  EXPECT_THROW(store.LoadFromFile(dir.Path()), EFOpenError);
  EXPECT_EQ(StoredLines(store), (Lines{"F1000001", std::string("key\0x", 5), "end"}));
  EXPECT_EQ(store.Text(), std::string("F1000001\r\nkey\0x\r\nend", 20));

  store.LoadFromFile(dir.Write("empty.txt", ""));
  EXPECT_EQ(store.Count(), 0);
  EXPECT_EQ(store.Text(), "");
}

// One byte an offset makes whole-start blocks as common as very long lines make them in the
// store: the same code, checked against a plain list of the starts.
TEST(MemoLineStarts, AgreeWithAPlainListThroughPushesAndCuts)
{
  uint32_t seed = 777;
  auto next = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 16; };
  MemoLineStarts<uint8_t> starts;
  std::vector<int64_t> model;
  bool sawWide = false, sawNarrow = false;
  for (int round = 0; round < 3000; ++round) {
    if (next() % 12 == 0) {
      const size_t size = next() % (model.size() + 1);
      starts.Truncate(size);
      model.resize(size);
    } else {
      // Short steps, and now and then one too long for a byte.
      const int64_t step = next() % 150 == 0 ? 256 + next() % 300 : next() % 4;
      model.push_back((model.empty() ? 0 : model.back()) + step);
      starts.Push(model.back());
    }
    ASSERT_EQ(starts.Size(), model.size());
    for (size_t i = 0; i < model.size(); ++i) {
      ASSERT_EQ(starts[i], model[i]) << "start " << i << " in round " << round;
      (starts.IsWide(i) ? sawWide : sawNarrow) = true;
    }
  }
  EXPECT_TRUE(sawWide);
  EXPECT_TRUE(sawNarrow);
  starts.Clear();
  EXPECT_EQ(starts.Size(), 0u);
  starts.Push(5);
  EXPECT_EQ(starts.Back(), 5);
}

// Thousands of lines, a few too long for the short offsets, through a load with LF breaks and
// edits at the top, in the middle and at the end.
TEST(MemoLines, LongTextsKeepEveryStartThroughEdits)
{
  Lines model;
  for (int i = 0; i < 5000; ++i)
    model.push_back(i % 1500 == 700 ? std::string(70000, 'x') : std::string(static_cast<size_t>(i % 37), 'a'));
  std::string bytes;
  for (const std::string& line : model)
    bytes += line + "\n";
  MemoStore store;
  TMemoStrings lines(store, nullptr);
  lines.SetText(bytes);
  auto check = [&](const char* step) {
    SCOPED_TRACE(step);
    ASSERT_EQ(store.Count(), static_cast<int64_t>(model.size()));
    ASSERT_EQ(store.Text(), Joined(model, true));
    int64_t position = 0;
    for (int64_t i = 0; i < store.Count(); ++i) {
      ASSERT_EQ(store.LineStart(i), position) << "line " << i;
      ASSERT_EQ(store.LineOf(position + store.LineLength(i) / 2), i);
      position += store.LineLength(i) + 2;
    }
    EXPECT_EQ(store.LineStart(store.Count()), store.TextLength());
  };
  check("loaded");
  lines.Put(2500, std::string(80000, 'y'));
  model[2500] = std::string(80000, 'y');
  check("put a long line");
  lines.Put(700, "short again");
  model[700] = "short again";
  check("put a short line");
  lines.Insert(0, std::string(66000, 'z'));
  model.insert(model.begin(), std::string(66000, 'z'));
  check("insert at the top");
  lines.Insert(3000, "between");
  model.insert(model.begin() + 3000, "between");
  check("insert in the middle");
  lines.Delete(64);
  model.erase(model.begin() + 64);
  check("delete at a block's edge");
  lines.Delete(lines.Count() - 1);
  model.pop_back();
  lines.Add("last");
  model.push_back("last");
  check("delete and add at the end");
  EXPECT_EQ(store.MaxLineLength(), 80000);
}

// Lines edits against a plain model of the lines: after each one the text and every line's
// start must be what the CR LF rule gives.
TEST(MemoLines, EditsKeepTextAndPositionsRight)
{
  MemoStore store;
  int replaced = 0, edited = 0;
  TMemoStrings lines(store, [&](bool whole) { ++(whole ? replaced : edited); });
  lines.SetText("first\nsecond");  // no final break
  Lines model = {"first", "second"};
  bool finalBreak = false;
  auto check = [&](const char* step) {
    SCOPED_TRACE(step);
    ASSERT_EQ(lines.Count(), static_cast<int>(model.size()));
    EXPECT_EQ(store.Text(), Joined(model, finalBreak));
    int64_t position = 0;
    for (int i = 0; i < lines.Count(); ++i) {
      EXPECT_EQ(lines.Get(i), model[static_cast<size_t>(i)]);
      EXPECT_EQ(store.LineStart(i), position);
      position += static_cast<int64_t>(model[static_cast<size_t>(i)].size()) + 2;
    }
  };
  check("loaded");

  lines.Add("third");  // a text without a final break keeps ending without one
  model.push_back("third");
  check("add");
  lines.Insert(0, "zero-zero");
  model.insert(model.begin(), "zero-zero");
  check("insert at the top");
  lines.Put(1, "1");
  model[1] = "1";
  check("put shorter");
  EXPECT_EQ(store.MaxLineLength(), 9);
  lines.Delete(0);
  model.erase(model.begin());
  check("delete");
  EXPECT_EQ(store.MaxLineLength(), 6);
  lines.Delete(2);  // the last line, which had no break: the one before it loses its break
  model.pop_back();
  check("delete the last line");

  lines.Clear();
  model.clear();
  check("clear");
  lines.Add("help line");  // into an empty memo a line goes with its break
  model.push_back("help line");
  finalBreak = true;
  check("add to empty");
  lines.Add("more");
  model.push_back("more");
  check("add after a final break");
  lines.Delete(1);
  model.pop_back();
  check("delete the last line before a final break");
  lines.Delete(0);
  model.clear();
  finalBreak = false;
  check("delete the only line");

  EXPECT_EQ(replaced, 2);
  EXPECT_EQ(edited, 9);
}

TEST(MemoLines, IndexErrorsThrowAndChangeNothing)
{
  MemoStore store;
  TMemoStrings lines(store, nullptr);
  lines.SetText("a\nb");
  EXPECT_THROW(lines.Get(2), EListError);
  EXPECT_THROW(lines.Get(-1), EListError);
  EXPECT_THROW(lines.Put(2, "x"), EListError);
  EXPECT_THROW(lines.Insert(3, "x"), EListError);
  EXPECT_THROW(lines.Delete(-1), EListError);
  EXPECT_EQ(store.Text(), "a\r\nb");
}

TEST(MemoLines, BatchedChangesAreReportedOnceAndLoadGoesStraightToTheStore)
{
  ScratchFolder dir;
  MemoStore store;
  std::vector<bool> reports;
  TMemoStrings lines(store, [&](bool whole) { reports.push_back(whole); });
  lines.BeginUpdate();
  lines.Clear();
  lines.Add("one");
  lines.Add("two");
  EXPECT_TRUE(reports.empty());
  lines.EndUpdate();
  EXPECT_EQ(reports, std::vector<bool>{true});

  lines.LoadFromFile(dir.Write("log.txt", "x\ny\n"));
  EXPECT_EQ(store.Text(), "x\r\ny\r\n");
  EXPECT_EQ(reports, (std::vector<bool>{true, true}));
  EXPECT_THROW(lines.LoadFromFile(dir / "none"), EFOpenError);
  EXPECT_EQ(reports.size(), 2u);
  EXPECT_EQ(store.Text(), "x\r\ny\r\n");
}
