// The text store when memory runs out: an edit that fails at any allocation changes nothing,
// and a cleared store gives its room back. Allocations are counted and made to fail by
// replacing the global new and delete for this test program.
#include <gtest/gtest.h>
#include <malloc.h>

#include <cstdlib>
#include <functional>
#include <new>
#include <string>
#include <vector>

#include "MemoStore.h"

// Allocations of this thread fail once the armed count of them has been made; unarmed, new is
// malloc. The plain and nothrow forms are replaced together with their deletes, so that every
// block goes back the way it came.
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

// An edit that runs out of memory at any of its allocations changes nothing: the text, every
// start and the longest line stay as they were. Blocks of long lines make the index rebuild
// whole-start blocks on the way.
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

// A cleared store keeps no room for the text it had nor for that text's line index: a large
// log's memory goes back with it.
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
