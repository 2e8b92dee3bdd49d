#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <new>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "Exceptions.h"
#include "MemoLines.h"
#include "MemoStore.h"
#include "support/ScratchFolder.h"

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

}  // namespace

// The rule spelled out plainly (CR, LF, CR LF and LF CR are one break each, CR CR two), against
// the store's two passes over random mixtures of breaks and NULs.
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
    ASSERT_EQ(store.TextLength(), static_cast<int64_t>(store.Text().size()));
  }
}

// Range clamps positions past either end.
TEST(MemoStore, RangeIsTheSameAsCuttingTheText)
{
  EXPECT_EQ(Loaded("abc\ndefg").Range(-10, 1000), "abc\r\ndefg");
  EXPECT_EQ(Loaded("abc\ndefg").Range(6, 2), "");
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

// A long load steps between pieces of every pass (read, lines counted, split, breaks widened);
// a step that says stop at any of them leaves the old text whole, and a load that goes on gives
// what a plain load gives.
TEST(MemoStore, LoadInStepsBreaksOffAnywhereKeepingTheOldText)
{
  ScratchFolder dir;
  std::string bytes;
  std::mt19937 random(7);
  while (bytes.size() < (6u << 20)) {
    bytes += "F10115" + std::to_string(random() % 100) + "    450      O2 Sensor";
    bytes += random() % 3 == 0 ? "\n" : "\r\n";  // single breaks: the text is widened too
  }
  const std::string file = dir.Write("big.qel", bytes);
  MemoStore plain;
  plain.LoadFromFile(file);

  std::vector<std::pair<int64_t, int64_t>> calls;
  MemoStore stepped;
  ASSERT_TRUE(stepped.LoadFromFile(file, [&](int64_t done, int64_t total) {
    calls.emplace_back(done, total);
    return true;
  }));
  EXPECT_EQ(stepped.Text(), plain.Text());
  EXPECT_EQ(StoredLines(stepped), StoredLines(plain));
  ASSERT_GE(calls.size(), 4u);
  for (size_t i = 1; i < calls.size(); ++i) {
    EXPECT_GT(calls[i].first, calls[i - 1].first);
    EXPECT_LE(calls[i].first, calls[i].second);
  }

  for (size_t stop = 0; stop < calls.size(); ++stop) {
    SCOPED_TRACE(stop);
    MemoStore store;
    store.SetText("old\nlines");
    size_t seen = 0;
    EXPECT_FALSE(store.LoadFromFile(file, [&](int64_t, int64_t) { return seen++ < stop; }));
    EXPECT_EQ(seen, stop + 1);
    EXPECT_EQ(StoredLines(store), (Lines{"old", "lines"}));
    EXPECT_EQ(store.Text(), "old\r\nlines");
  }
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

// A line edit is reported as such, a batch or a load once as a whole text.
TEST(MemoLines, BatchedChangesAreReportedOnceAndLoadGoesStraightToTheStore)
{
  ScratchFolder dir;
  MemoStore store;
  std::vector<bool> reports;
  TMemoStrings lines(store, [&](bool whole) { reports.push_back(whole); });
  lines.Add("a");
  lines.Put(0, "b");
  lines.Delete(0);
  EXPECT_EQ(reports, (std::vector<bool>{false, false, false}));
  reports.clear();
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

// Random loads and edits against a plain list of the starts, rebuilt from a model of the lines
// after each step; lines of a few bytes, some of a few KB (blocks too long for the short
// offsets) and now and then one past 65535 bytes. Every query is checked on every line.
TEST(MemoLines, RandomEditsAgreeWithAPlainListOfStarts)
{
  std::mt19937 random(4242);
  auto pick = [&random](size_t n) { return static_cast<size_t>(random() % n); };
  auto randomLine = [&] {
    const size_t kind = pick(100);
    const size_t length = kind == 0 ? 65530 + pick(20) : kind < 8 ? 900 + pick(3000) : pick(12);
    return std::string(length, static_cast<char>('a' + pick(26)));
  };
  MemoStore store;
  TMemoStrings lines(store, nullptr);
  Lines model;
  bool finalBreak = false;
  const char* const breaks[] = {"\r\n", "\n", "\r", "\n\r"};
  for (int step = 0; step < 1000; ++step) {
    const size_t op = pick(20);
    if (op == 0) {
      // One kind of break a text: two breaks of different kinds in a row would make one.
      model.clear();
      const size_t count = pick(300);
      const char* const lineBreak = breaks[pick(4)];
      std::string bytes;
      finalBreak = pick(2) == 0;
      for (size_t i = 0; i < count; ++i) {
        model.push_back(randomLine());
        bytes += model.back();
        if (i + 1 < count || finalBreak)
          bytes += lineBreak;
      }
      // An empty last line without a break after it is no line.
      if (!finalBreak && !model.empty() && model.back().empty()) {
        model.pop_back();
        finalBreak = !model.empty();
      }
      if (model.empty())
        finalBreak = false;
      lines.SetText(bytes);
    } else if (op == 1) {
      lines.Clear();
      model.clear();
      finalBreak = false;
    } else if (op < 8 && !model.empty()) {
      const size_t i = pick(model.size());
      model[i] = randomLine();
      lines.Put(static_cast<int>(i), model[i]);
    } else if (op < 14 || model.empty()) {
      const size_t i = pick(model.size() + 1);
      if (model.empty())
        finalBreak = true;
      model.insert(model.begin() + static_cast<std::ptrdiff_t>(i), randomLine());
      lines.Insert(static_cast<int>(i), model[i]);
    } else {
      const size_t i = pick(model.size());
      if (model.size() == 1)
        finalBreak = false;
      model.erase(model.begin() + static_cast<std::ptrdiff_t>(i));
      lines.Delete(static_cast<int>(i));
    }

    const std::string text = Joined(model, finalBreak);
    std::vector<int64_t> starts{0};
    size_t longest = 0;
    for (const std::string& line : model) {
      starts.push_back(starts.back() + static_cast<int64_t>(line.size()) + 2);
      longest = std::max(longest, line.size());
    }
    const auto viewLines = static_cast<int64_t>(model.size()) + (finalBreak || model.empty() ? 1 : 0);
    SCOPED_TRACE("step " + std::to_string(step));
    ASSERT_EQ(store.Count(), static_cast<int64_t>(model.size()));
    ASSERT_EQ(store.Text(), text);
    ASSERT_EQ(store.ViewLineCount(), viewLines);
    ASSERT_EQ(store.MaxLineLength(), static_cast<int64_t>(longest));
    auto lineOf = [&](int64_t position) {
      position = std::clamp<int64_t>(position, 0, static_cast<int64_t>(text.size()));
      return std::upper_bound(starts.begin(), starts.begin() + viewLines, position) - starts.begin() - 1;
    };
    for (int64_t i = 0; i < viewLines; ++i) {
      const auto k = static_cast<size_t>(i);
      const int64_t length = k < model.size() ? static_cast<int64_t>(model[k].size()) : 0;
      ASSERT_EQ(store.LineStart(i), starts[k]) << "line " << i;
      ASSERT_EQ(store.LineLength(i), length) << "line " << i;
      ASSERT_EQ(store.ViewLine(i), k < model.size() ? model[k] : std::string()) << "line " << i;
      for (const int64_t position : {starts[k] - 1, starts[k], starts[k] + length / 2, starts[k] + length,
                                     starts[k] + length + 1, starts[k] + length + 2})
        ASSERT_EQ(store.LineOf(position), lineOf(position)) << "position " << position;
      for (const int64_t column : {int64_t{-1}, int64_t{0}, length / 3, length, length + 5})
        ASSERT_EQ(store.PositionOf(i, column), starts[k] + std::clamp<int64_t>(column, 0, length));
    }
  }
}
