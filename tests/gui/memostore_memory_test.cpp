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

namespace {

MemoStore Loaded(const std::string& bytes)
{
  MemoStore store;
  store.SetText(bytes);
  return store;
}

}  // namespace

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
  struct Edit {
    const char* name;
    std::string text;
    std::function<void(MemoStore&)> apply;
  };
  const std::vector<Edit> edits = {
      {"put a long line", bytes, [&](MemoStore& s) { s.Put(100, longLine); }},
      {"put at a block's edge", bytes, [](MemoStore& s) { s.Put(63, ""); }},
      {"insert in the middle", bytes, [](MemoStore& s) { s.Insert(64, "inserted"); }},
      {"insert a long line at the top", bytes, [&](MemoStore& s) { s.Insert(0, longLine); }},
      {"append after a final break", bytes, [&](MemoStore& s) { s.Insert(s.Count(), longLine); }},
      {"append without a final break", "a\nb", [](MemoStore& s) { s.Insert(2, "c"); }},
      {"insert into an empty text", "",
       [](MemoStore& s) { s.Insert(0, "a first line longer than a short string"); }},
      {"delete in the middle", bytes, [](MemoStore& s) { s.Delete(70); }},
      {"delete a line of the longest", bytes, [](MemoStore& s) { s.Delete(20); }},
      {"clear", bytes, [](MemoStore& s) { s.Clear(); }},
  };
  auto starts = [](const MemoStore& s) {
    std::vector<int64_t> all;
    for (int64_t i = 0; i <= s.Count(); ++i)
      all.push_back(s.LineStart(i));
    return all;
  };
  int failures = 0;
  for (const Edit& edit : edits) {
    SCOPED_TRACE(edit.name);
    MemoStore reference = Loaded(edit.text);
    edit.apply(reference);
    for (int64_t failAt = 0;; ++failAt) {
      MemoStore store = Loaded(edit.text);
      const MemoStore before = store;
      bool failed = false;
      allocationsBeforeFailure = failAt;
      try {
        edit.apply(store);
      } catch (const std::bad_alloc&) {
        failed = true;
      }
      allocationsBeforeFailure = -1;
      const MemoStore& expected = failed ? before : reference;
      if (store.Text() != expected.Text() || starts(store) != starts(expected) ||
          store.MaxLineLength() != expected.MaxLineLength()) {
        ADD_FAILURE() << (failed ? "failing allocation " : "after allocations: ") << failAt << " leaves "
                      << store.Count() << " lines of " << store.TextLength() << " bytes, not " << expected.Count()
                      << " of " << expected.TextLength();
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
