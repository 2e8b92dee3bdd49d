// The inverse block sort: the table of rows, the plain walk and the chained walk.
#include "settings/ZZipUnsort.h"

#include <sys/mman.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "Exceptions.h"
#include "settings/ZZipStream.h"

namespace {

// Below this many rows the table fits the first-level cache and the plain walk is as fast.
constexpr int ChainedFrom = 1 << 13;
// Below this many rows the walks are short and store their bytes in smaller chunks.
constexpr int SmallChunksBelow = 1 << 18;

// A big table is read at random, so with small pages nearly every step would also miss the address
// translation caches; it asks the system for huge pages.
struct FreeTable {
  void operator()(void* p) const { std::free(p); }
};
template <typename Entry>
using Table = std::unique_ptr<Entry[], FreeTable>;

template <typename Entry>
Table<Entry> NewTable(size_t size)
{
  constexpr size_t HugePage = size_t(1) << 21;
  const bool huge = size * sizeof(Entry) >= 4 * HugePage;
  const size_t bytes = huge ? (size * sizeof(Entry) + HugePage - 1) / HugePage * HugePage : size * sizeof(Entry);
  void* p = huge ? std::aligned_alloc(HugePage, bytes) : std::malloc(bytes);
  if (p == nullptr)
    throw std::bad_alloc();
  if (huge)
    madvise(p, bytes, MADV_HUGEPAGE);
  return Table<Entry>(static_cast<Entry*>(p));
}

// Four stretches of rows are stepped through side by side, so that a run of equal bytes in one
// does not make each step wait for the count the step before it stored.
constexpr int Ways = 4;
struct Stretch {
  uint32_t from, to;
  uint32_t counts[256];
};

template <typename Step>
void SideBySide(Stretch* stretches, Step step)
{
  uint32_t shortest = UINT32_MAX;
  for (int s = 0; s < Ways; ++s)
    shortest = std::min(shortest, stretches[s].to - stretches[s].from);
  for (uint32_t j = 0; j < shortest; ++j)
#pragma GCC unroll 4
    for (int s = 0; s < Ways; ++s)
      step(stretches[s], stretches[s].from + j);
  for (int s = 0; s < Ways; ++s)
    for (uint32_t k = stretches[s].from + shortest; k < stretches[s].to; ++k)
      step(stretches[s], k);
}

// One entry per row: the row of the suffix one byte earlier, with the row's byte in the low 8 bits,
// so each step of a walk touches memory once. The rows of one byte value take their places in row
// order, except the primary row, which comes last among them. Rows are numbered from the primary
// on, so that the walk starts at row 0 and a walk can tell a marked row from its number alone.
// Two more entries lead nowhere but to themselves, for walks that have nothing left to do.
template <typename Entry>
Table<Entry> BuildTable(const uint8_t* last, uint32_t n, uint32_t primary)
{
  // The rows before the primary in four stretches, then those after it in four more.
  Stretch stretches[2 * Ways];
  for (int half = 0; half < 2; ++half) {
    const uint32_t from = half == 0 ? 0 : primary + 1, to = half == 0 ? primary : n;
    for (int s = 0; s < Ways; ++s) {
      Stretch& stretch = stretches[half * Ways + s];
      stretch.from = from + uint32_t(uint64_t(to - from) * uint32_t(s) / Ways);
      stretch.to = from + uint32_t(uint64_t(to - from) * uint32_t(s + 1) / Ways);
      std::fill(std::begin(stretch.counts), std::end(stretch.counts), 0);
    }
  }
  for (int half = 0; half < 2; ++half)
    SideBySide(stretches + half * Ways, [last](Stretch& stretch, uint32_t k) { ++stretch.counts[last[k]]; });
  // Each stretch's counts become the place of its first row of each byte value.
  uint32_t sum = 0, primaryPlace = 0;
  for (int c = 0; c < 256; ++c) {
    for (Stretch& stretch : stretches) {
      const uint32_t count = stretch.counts[c];
      stretch.counts[c] = sum;
      sum += count;
    }
    if (c == last[primary])
      primaryPlace = sum++;
  }
  Table<Entry> entries = NewTable<Entry>(size_t(n) + 2);
  Entry* table = entries.get();
  // Places below the primary's wrap round to the end: a mask rather than a branch, as they come
  // in no order.
  auto entry = [n, primary](uint32_t place, uint8_t c) {
    return Entry(place - primary + (n & (0u - uint32_t(place < primary)))) << 8 | c;
  };
  const uint32_t wrap = n - primary;
  SideBySide(stretches,
             [&](Stretch& stretch, uint32_t k) { table[k + wrap] = entry(stretch.counts[last[k]]++, last[k]); });
  SideBySide(stretches + Ways, [&](Stretch& stretch, uint32_t k) {
    table[k - primary] = entry(stretch.counts[last[k]]++, last[k]);
  });
  table[0] = entry(primaryPlace, last[primary]);
  table[n] = Entry(n) << 8;
  table[n + 1] = Entry(n + 1) << 8;
  return entries;
}

template <typename Entry>
void WalkPlain(const Entry* entries, uint32_t n, uint8_t* out)
{
  Entry entry = entries[0];
  for (uint32_t pos = n; pos-- > 0;) {
    out[pos] = uint8_t(entry);
    entry = entries[entry >> 8];
  }
}

constexpr int MaxWalks = 32;
// Chunks lie a cache line further apart than their size in a group, so that the walks' stores do
// not all fall into one set of the cache.
constexpr uint32_t Stride(uint32_t chunkSize)
{
  return chunkSize + 64;
}

// Steps the walks of `rows` at once from position i of their chunks, which lie one after another
// in `group` and fill from their ends down, until the chunks are full or until a round in which
// some walk reached a marked row; returns where it stopped and sets a bit per walk that reached
// one. A round is a few instructions per walk, so that the processor can have the loads of all of
// them under way together; the empty asm hides the round's position from the optimiser, which
// would otherwise keep a pointer per walk and run out of registers.
template <typename Entry, uint32_t ChunkSize, int Walks>
uint32_t Rounds(const Entry* entries, uint32_t* rows, uint8_t* group, uint32_t mask, uint32_t i, uint32_t& reached)
{
  uint32_t row[Walks];
  for (int w = 0; w < Walks; ++w)
    row[w] = rows[w];
  uint32_t least = mask;
  while (i < ChunkSize && least != 0) {
    uint8_t* at = group + (ChunkSize - 1 - i);
    asm("" : "+r"(at));
#pragma GCC unroll 32
    for (int w = 0; w < Walks; ++w) {
      const Entry entry = entries[row[w]];
      at[w * Stride(ChunkSize)] = uint8_t(entry);
      row[w] = uint32_t(entry >> 8);
      least = std::min(least, row[w] & mask);
    }
    ++i;
  }
  uint32_t hit = 0;
  for (int w = 0; w < Walks; ++w) {
    rows[w] = row[w];
    if ((row[w] & mask) == 0)
      hit |= 1u << w;
  }
  reached = hit;
  return i;
}

// The walk from the primary row is one long chain of dependent loads. Cut at every markStep-th row,
// it becomes many short chains, walked side by side so that the processor waits for many loads at
// once. The walks step together, each appending its bytes to a stream of its own; a piece is a
// range of such a stream, and which piece follows which is known once each has met the next marked
// row. The streams are kept in chunks, one per stream for every ChunkSize rounds, side by side in a
// group; at the start of each group the walks still under way move to the front, and the group
// holds as many walks as the next power of two, the others idle on a row that leads to itself.
// A walk goes backwards through the block, so its chunks fill from their ends down, and the pieces
// are copied out as they lie.
template <typename Entry, uint32_t ChunkSize>
class ChainWalk {
public:
  ChainWalk(const Entry* entries, uint32_t n, uint32_t markStep)
      : entries_(entries), n_(n), step_(markStep), marks_((n + markStep - 1) / markStep), pieces_(marks_),
        idle_((n & (markStep - 1)) != 0 ? n : n + 1)
  {
    std::fill(std::begin(stream_), std::end(stream_), -1);
  }

  void Run(uint8_t* out)
  {
    int live = 0;
    while (live < MaxWalks && started_ < marks_) {
      stream_[live] = live;
      Start(live++);
    }
    while ((live = Regroup()) > 0) {
      const int walks = int(std::bit_ceil(unsigned(live)));
      uint8_t* group = groups_.back().get();
      uint32_t i = 0;
      while (i < ChunkSize && live > 0) {
        uint32_t reached = 0;
        const uint32_t from = i;
        switch (walks) {
        case 32: i = Rounds<Entry, ChunkSize, 32>(entries_, row_, group, step_ - 1, i, reached); break;
        case 16: i = Rounds<Entry, ChunkSize, 16>(entries_, row_, group, step_ - 1, i, reached); break;
        case 8: i = Rounds<Entry, ChunkSize, 8>(entries_, row_, group, step_ - 1, i, reached); break;
        case 4: i = Rounds<Entry, ChunkSize, 4>(entries_, row_, group, step_ - 1, i, reached); break;
        case 2: i = Rounds<Entry, ChunkSize, 2>(entries_, row_, group, step_ - 1, i, reached); break;
        default: i = Rounds<Entry, ChunkSize, 1>(entries_, row_, group, step_ - 1, i, reached); break;
        }
        rounds_ += i - from;
        for (int w = 0; w < walks; ++w) {
          if (!(reached >> w & 1) || stream_[w] < 0)
            continue;
          Finish(w);
          if (started_ < marks_) {
            Start(w);
          } else {
            stream_[w] = -1;
            row_[w] = idle_;
            --live;
          }
        }
      }
    }
    Assemble(out);
  }

private:
  struct Piece {
    uint32_t next = 0;  // the piece that follows towards the start of the block
    int stream = 0;
    uint64_t start = 0, length = 0;
  };

  void Start(int w)
  {
    piece_[w] = started_++;
    row_[w] = piece_[w] * step_;
    start_[w] = rounds_;
  }
  void Finish(int w)
  {
    Piece& piece = pieces_[piece_[w]];
    piece.next = row_[w] / step_;
    piece.stream = stream_[w];
    piece.start = start_[w];
    piece.length = rounds_ - start_[w];
  }
  // Moves the walks under way to the front and gives each a chunk of a new group; returns how many.
  int Regroup()
  {
    int live = 0;
    for (int w = 0; w < MaxWalks; ++w) {
      if (stream_[w] < 0)
        continue;
      row_[live] = row_[w];
      piece_[live] = piece_[w];
      start_[live] = start_[w];
      stream_[live++] = stream_[w];
    }
    for (int w = live; w < MaxWalks; ++w) {
      stream_[w] = -1;
      row_[w] = idle_;
    }
    if (live == 0)
      return 0;
    const size_t walks = std::bit_ceil(unsigned(live));
    groups_.emplace_back(new uint8_t[walks * Stride(ChunkSize)]);
    chunks_.resize(chunks_.size() + MaxWalks);
    for (int w = 0; w < live; ++w)
      chunks_[chunks_.size() - MaxWalks + size_t(stream_[w])] =
          groups_.back().get() + size_t(w) * Stride(ChunkSize);
    return live;
  }

  // From the primary's piece on, each piece fills the output downwards from where the last one
  // ended. A damaged block whose primary lies on a short cycle goes round it again, as the plain
  // walk does.
  void Assemble(uint8_t* out) const
  {
    uint64_t pos = n_;
    uint32_t mark = 0;
    while (pos > 0) {
      const Piece& piece = pieces_[mark];
      uint64_t at = piece.start;
      uint64_t remaining = std::min(piece.length, pos);
      while (remaining > 0) {
        const uint32_t offset = uint32_t(at % ChunkSize);
        const uint32_t take = uint32_t(std::min<uint64_t>(ChunkSize - offset, remaining));
        const uint8_t* chunk = chunks_[at / ChunkSize * MaxWalks + uint64_t(piece.stream)];
        std::memcpy(out + pos - take, chunk + (ChunkSize - offset - take), take);
        pos -= take;
        at += take;
        remaining -= take;
      }
      mark = piece.next;
    }
  }

  const Entry* entries_;
  const uint32_t n_, step_, marks_;
  std::vector<Piece> pieces_;
  const uint32_t idle_;  // a row that leads to itself and is not marked
  std::vector<std::unique_ptr<uint8_t[]>> groups_;
  std::vector<uint8_t*> chunks_;  // MaxWalks per group: the chunk of each stream
  uint32_t started_ = 0;
  uint64_t rounds_ = 0;  // how long every stream still being written is
  // The walks under way; a walk without a stream idles.
  uint32_t row_[MaxWalks] = {};
  uint32_t piece_[MaxWalks] = {};
  uint64_t start_[MaxWalks] = {};
  int stream_[MaxWalks];  // -1 when the walk idles
};

template <typename Entry>
void Unsort(const uint8_t* last, int n, int primary, uint8_t* out, uint32_t markStep)
{
  if (n <= 0 || primary < 0 || primary >= n)
    throw Exception();
  const Table<Entry> entries = BuildTable<Entry>(last, uint32_t(n), uint32_t(primary));
  if (markStep == 0)
    WalkPlain(entries.get(), uint32_t(n), out);
  else if (n < SmallChunksBelow)
    ChainWalk<Entry, 512>(entries.get(), uint32_t(n), markStep).Run(out);
  else
    ChainWalk<Entry, 4096>(entries.get(), uint32_t(n), markStep).Run(out);
}

void Dispatch(const uint8_t* last, int n, int primary, uint8_t* out, uint32_t markStep)
{
  if (n < (1 << 24) - 2)
    Unsort<uint32_t>(last, n, primary, out, markStep);
  else
    Unsort<uint64_t>(last, n, primary, out, markStep);
}

}  // namespace

namespace zzip {

void UnsortPlain(const uint8_t* last, int n, int primary, uint8_t* out)
{
  Dispatch(last, n, primary, out, 0);
}

void UnsortChained(const uint8_t* last, int n, int primary, uint8_t* out, uint32_t markStep)
{
  if (markStep < 2 || (markStep & (markStep - 1)) != 0)
    throw Exception();
  Dispatch(last, n, primary, out, markStep);
}

}  // namespace zzip

// About 64 walks in a small block, one per 4096 rows in a big one.
void BZZipStream::UnsortBlock(const uint8_t* last, int n, int primary, uint8_t* out)
{
  if (n < ChainedFrom)
    zzip::UnsortPlain(last, n, primary, out);
  else
    zzip::UnsortChained(last, n, primary, out, std::clamp(std::bit_floor(uint32_t(n) >> 6), 16u, 4096u));
}
