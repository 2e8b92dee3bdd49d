// The text store: its line index, loads, the memo's lines, and edits when memory runs out.
#include <gtest/gtest.h>

#include <fstream>
#include <malloc.h>

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

// The splitting rule spelled out plainly: CR LF and LF CR are one break each, any other CR or LF
// one (CR CR two); a final break adds no line. Also whether the text ends with a break.
std::pair<Lines, bool> Split(const std::string& bytes)
{
  Lines lines;
  std::string line;
  bool finalBreak = false;
  for (size_t i = 0; i < bytes.size(); ++i) {
    const char c = bytes[i];
    finalBreak = c == '\r' || c == '\n';
    if (!finalBreak) {
      line += c;
      continue;
    }
    lines.push_back(line);
    line.clear();
    if (i + 1 < bytes.size() && (bytes[i + 1] == '\r' || bytes[i + 1] == '\n') && bytes[i + 1] != c)
      ++i;
  }
  if (!finalBreak && !bytes.empty())
    lines.push_back(line);
  return {lines, finalBreak};
}

// Lines of a few bytes, some of a few KB (blocks too long for the short offsets) and now and
// then one past 65535 bytes; every query is checked on every line after each step.
TEST(MemoLines, RandomLoadsAndEditsAgreeWithAPlainListOfStarts)
{
  std::mt19937 random(4242);
  auto pick = [&random](size_t n) { return static_cast<size_t>(random() % n); };
  auto randomLine = [&] {
    const size_t kind = pick(100);
    const size_t length = kind == 0 ? 65530 + pick(20) : kind < 8 ? 900 + pick(3000) : pick(12);
    return std::string(length, "ab\0"[pick(3)]);
  };
  MemoStore store;
  TMemoStrings lines(store, nullptr);
  Lines model;
  bool finalBreak = false;
  for (int step = 0; step < 2000; ++step) {
    const size_t op = pick(20);
    if (op < 2) {
      std::string bytes;
      if (op == 0) {
        for (size_t n = pick(24); n > 0; --n)
          bytes += "ab\r\n\0"[pick(5)];
      } else {
        const char* const breaks[] = {"\r\n", "\n", "\r", "\n\r"};
        for (size_t n = pick(300); n > 0; --n)
          bytes += randomLine() + breaks[pick(4)];
        if (pick(2) == 0)
          bytes += randomLine();
      }
      std::tie(model, finalBreak) = Split(bytes);
      lines.SetText(bytes);
    } else if (op == 2) {
      lines.Clear();
      model.clear();
      finalBreak = false;
    } else if (op < 8 && !model.empty()) {
      const size_t i = pick(model.size());
      model[i] = randomLine();
      lines.Put(static_cast<int>(i), model[i]);
    } else if (op < 14 || model.empty()) {
      const size_t i = pick(model.size() + 1);
      finalBreak = finalBreak || model.empty();
      model.insert(model.begin() + static_cast<std::ptrdiff_t>(i), randomLine());
      lines.Insert(static_cast<int>(i), model[i]);
    } else {
      const size_t i = pick(model.size());
      finalBreak = finalBreak && model.size() > 1;
      model.erase(model.begin() + static_cast<std::ptrdiff_t>(i));
      lines.Delete(static_cast<int>(i));
    }

    std::string text;
    std::vector<int64_t> starts{0};
    size_t longest = 0;
    for (size_t i = 0; i < model.size(); ++i) {
      text += model[i] + (i + 1 < model.size() || finalBreak ? "\r\n" : "");
      starts.push_back(starts.back() + static_cast<int64_t>(model[i].size()) + 2);
      longest = std::max(longest, model[i].size());
    }
    const auto viewLines = static_cast<int64_t>(model.size()) + (finalBreak || model.empty() ? 1 : 0);
    SCOPED_TRACE("step " + std::to_string(step));
    ASSERT_EQ(StoredLines(store), model);
    ASSERT_EQ(store.Text(), text);
    ASSERT_EQ(store.TextLength(), static_cast<int64_t>(text.size()));
    ASSERT_EQ(store.ViewLineCount(), viewLines);
    ASSERT_EQ(store.MaxLineLength(), static_cast<int64_t>(longest));
    const auto size = static_cast<int64_t>(text.size());
    auto clamped = [size](int64_t position) { return std::clamp<int64_t>(position, 0, size); };
    for (int k = 0; k < 4; ++k) {
      const int64_t from = static_cast<int64_t>(pick(text.size() + 9)) - 4;
      const int64_t to = from + static_cast<int64_t>(pick(text.size() + 9)) - 2;
      ASSERT_EQ(store.Range(from, to),
                clamped(to) > clamped(from) ? text.substr(clamped(from), clamped(to) - clamped(from)) : "");
    }
    auto lineOf = [&](int64_t position) {
      return std::upper_bound(starts.begin(), starts.begin() + viewLines, clamped(position)) - starts.begin() - 1;
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

// One byte an offset makes whole-start blocks as common as very long lines make them in the
// store: the same code, checked against a plain list of the starts.
TEST(MemoLineStarts, AgreeWithAPlainListThroughPushesAndCuts)
{
  std::mt19937 random(777);
  MemoLineStarts<uint8_t> starts;
  std::vector<int64_t> model;
  bool sawWide = false, sawNarrow = false;
  for (int round = 0; round < 3000; ++round) {
    if (random() % 12 == 0) {
      const size_t size = random() % (model.size() + 1);
      starts.Truncate(size);
      model.resize(size);
    } else {
      // Short steps, and now and then one too long for a byte.
      const int64_t step = random() % 150 == 0 ? 256 + random() % 300 : random() % 4;
      model.push_back((model.empty() ? 0 : model.back()) + step);
      starts.Push(model.back());
    }
    ASSERT_EQ(starts.Size(), model.size());
    for (size_t i = 0; i < model.size(); ++i) {
      ASSERT_EQ(starts[i], model[i]) << "start " << i << " in round " << round;
      (starts.IsWide(i) ? sawWide : sawNarrow) = true;
    }
  }
  starts.Clear();
  starts.Push(5);
  EXPECT_TRUE(sawWide && sawNarrow && starts.Size() == 1 && starts.Back() == 5);
}

// The steps come between pieces of every pass (read, lines counted, split, breaks widened).
TEST(MemoStore, LoadInStepsBreaksOffAnywhereKeepingTheOldText)
{
  ScratchFolder dir;
  std::string bytes;
  std::mt19937 random(7);
  while (bytes.size() < (6u << 20)) {
    bytes += "F10115" + std::to_string(random() % 100) + std::string("  450 \0 O2 Sensor", 17);
    bytes += random() % 3 == 0 ? "\n" : "\r\n";  // single breaks: the text is widened too
  }
  const std::string file = dir.Write("big.qel", bytes);
  std::vector<std::pair<int64_t, int64_t>> calls;
  MemoStore store;
  ASSERT_TRUE(store.LoadFromFile(file, [&](int64_t done, int64_t total) {
    calls.emplace_back(done, total);
    return true;
  }));
  EXPECT_EQ(StoredLines(store), Split(bytes).first);
  ASSERT_GE(calls.size(), 4u);
  for (size_t i = 1; i < calls.size(); ++i)
    EXPECT_TRUE(calls[i].first > calls[i - 1].first && calls[i].first <= calls[i].second) << i;

  for (size_t stop = 0; stop < calls.size(); ++stop) {
    store.SetText("old\nlines");
    size_t seen = 0;
    EXPECT_FALSE(store.LoadFromFile(file, [&](int64_t, int64_t) { return seen++ < stop; }));
    EXPECT_EQ(seen, stop + 1);
    EXPECT_EQ(store.Text(), "old\r\nlines") << "stopped at step " << stop;
  }
  EXPECT_THROW(store.LoadFromFile(dir / "missing.txt"), EFOpenError);
  EXPECT_THROW(store.LoadFromFile(dir.Path()), EFOpenError);
  EXPECT_EQ(StoredLines(store), (Lines{"old", "lines"}));
  // A log another program appends to is read as it was at the open.
  std::ofstream appender(file, std::ios::app);
  ASSERT_TRUE(store.LoadFromFile(file, [&](int64_t, int64_t) {
    appender << "F1000001\r\n" << std::flush;
    return true;
  }));
  EXPECT_EQ(StoredLines(store), Split(bytes).first);
}

TEST(MemoLines, BatchedChangesAreReportedOnceAndLoadGoesStraightToTheStore)
{
  ScratchFolder dir;
  MemoStore store;
  std::vector<bool> reports;
  TMemoStrings lines(store, [&](bool whole) { reports.push_back(whole); });
  lines.Add("a");
  lines.Put(0, "b");
  lines.Delete(0);
  lines.BeginUpdate();
  lines.Clear();
  lines.Add("one");
  EXPECT_EQ(reports, (std::vector<bool>{false, false, false}));
  lines.EndUpdate();
  lines.LoadFromFile(dir.Write("log.txt", "x\ny\n"));
  EXPECT_THROW(lines.LoadFromFile(dir / "none"), EFOpenError);
  EXPECT_THROW(lines.Get(2), EListError);
  EXPECT_THROW(lines.Get(-1), EListError);
  EXPECT_THROW(lines.Put(2, "x"), EListError);
  EXPECT_THROW(lines.Insert(3, "x"), EListError);
  EXPECT_THROW(lines.Delete(-1), EListError);
  EXPECT_EQ(reports, (std::vector<bool>{false, false, false, true, true}));
  EXPECT_EQ(store.Text(), "x\r\ny\r\n");
}

}  // namespace

// The global new and delete of this test program count allocations, and fail those of this
// thread once the armed count has been made; the nothrow forms go with their deletes.
namespace {
thread_local int64_t allocationsBeforeFailure = -1;
thread_local int64_t liveBytes = 0;  // made minus given back by this thread

void* Allocate(std::size_t size) noexcept
{
  void* block = std::malloc(size ? size : 1);
  if (block)
    liveBytes += static_cast<int64_t>(malloc_usable_size(block));
  return block;
}
}  // namespace

void* operator new(std::size_t size)
{
  if (allocationsBeforeFailure == 0)
    throw std::bad_alloc();
  if (allocationsBeforeFailure > 0)
    --allocationsBeforeFailure;
  if (void* block = Allocate(size))
    return block;
  throw std::bad_alloc();
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
  return Allocate(size);
}
void operator delete(void* block) noexcept
{
  if (block)
    liveBytes -= static_cast<int64_t>(malloc_usable_size(block));
  std::free(block);
}
void operator delete(void* block, std::size_t) noexcept
{
  operator delete(block);
}
void operator delete(void* block, const std::nothrow_t&) noexcept
{
  operator delete(block);
}

// Blocks of long lines make the index rebuild whole-start blocks on the way.
TEST(MemoStore, AnEditOutOfMemoryLeavesTextAndStartsAsTheyWere)
{
  std::string bytes;
  for (int i = 0; i < 300; ++i)
    bytes += std::string(i % 50 == 20 ? 3000 : static_cast<size_t>(i % 9), static_cast<char>('a' + i % 26)) + "\n";
  const std::string longLine(70000, 'L');
  // Put a long line, put at a block's edge, insert in the middle, a long line at the top, after
  // a final break, after no final break, into an empty text; delete in the middle, a line of the
  // longest; clear.
  const std::vector<std::pair<std::string, std::function<void(MemoStore&)>>> edits = {
      {bytes, [&](MemoStore& s) { s.Put(100, longLine); }},
      {bytes, [](MemoStore& s) { s.Put(63, ""); }},
      {bytes, [](MemoStore& s) { s.Insert(64, "inserted"); }},
      {bytes, [&](MemoStore& s) { s.Insert(0, longLine); }},
      {bytes, [&](MemoStore& s) { s.Insert(s.Count(), longLine); }},
      {"a\nb", [](MemoStore& s) { s.Insert(2, "c"); }},
      {"", [](MemoStore& s) { s.Insert(0, "a first line longer than a short string"); }},
      {bytes, [](MemoStore& s) { s.Delete(70); }},
      {bytes, [](MemoStore& s) { s.Delete(20); }},
      {bytes, [](MemoStore& s) { s.Clear(); }}};
  auto state = [](const MemoStore& s) {
    std::vector<int64_t> all{s.MaxLineLength()};
    for (int64_t i = 0; i <= s.Count(); ++i)
      all.push_back(s.LineStart(i));
    return std::pair(s.Text(), all);
  };
  int failures = 0;
  for (size_t e = 0; e < edits.size(); ++e) {
    const auto& [text, apply] = edits[e];
    SCOPED_TRACE("edit " + std::to_string(e));
    MemoStore reference;
    reference.SetText(text);
    apply(reference);
    for (int64_t failAt = 0;; ++failAt) {
      MemoStore store;
      store.SetText(text);
      const MemoStore before = store;
      bool failed = false;
      allocationsBeforeFailure = failAt;
      try {
        apply(store);
      } catch (const std::bad_alloc&) {
        failed = true;
      }
      allocationsBeforeFailure = -1;
      if (state(store) != state(failed ? before : reference)) {
        ADD_FAILURE() << (failed ? "failing allocation " : "after allocations: ") << failAt;
        break;
      }
      if (!failed)
        break;
      ++failures;
    }
  }
  EXPECT_GT(failures, static_cast<int>(edits.size()));  // the allocations did fail
}

TEST(MemoStore, ClearGivesTheRoomOfTheLineIndexBack)
{
  std::string bytes;
  for (int i = 0; i < 200000; ++i)
    bytes += "line\n";
  MemoStore store;
  const int64_t before = liveBytes;
  store.SetText(bytes);
  EXPECT_GT(liveBytes - before, 200000 * 2);
  store.Clear();
  EXPECT_LT(liveBytes - before, 4096);
}
