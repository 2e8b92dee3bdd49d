// Move-to-front ranks of the sorted block and their split into a ternary main stream and a side
// stream of the larger ranks.
#include <algorithm>
#include <cstring>
#include <numeric>

#include "Exceptions.h"
#include "settings/ZZipStream.h"

namespace {

// Eight bytes at once, for checks that treat them all alike.
uint64_t Word(const uint8_t* p)
{
  uint64_t w;
  std::memcpy(&w, p, 8);
  return w;
}

// A byte seen once moves only to rank 1; it reaches the front when seen again right after.
class RankTable {
public:
  RankTable() { std::iota(table_, table_ + 256, 0); }
  uint8_t At(int rank) const { return table_[rank]; }
  int RankOf(uint8_t value) const
  {
    return int(static_cast<const uint8_t*>(std::memchr(table_, value, 256)) - table_);
  }
  void Use(int rank, uint8_t value)
  {
    if (rank == 0) {
      recent_ = false;
      return;
    }
    if (rank == 1) {
      if (recent_)
        std::swap(table_[0], table_[1]);
    } else {
      std::memmove(table_ + 2, table_ + 1, size_t(rank - 1));
      table_[1] = value;
    }
    recent_ = true;
  }

private:
  uint8_t table_[256];
  bool recent_ = false;
};

}  // namespace

void BZZipStream::MoveToFrontEncode(uint8_t* data, int n)
{
  RankTable table;
  for (int i = 0; i < n; ++i) {
    const uint8_t value = data[i];
    const int rank = table.RankOf(value);
    data[i] = uint8_t(rank);
    table.Use(rank, value);
  }
}

void BZZipStream::MoveToFrontDecode(uint8_t* data, int n)
{
  RankTable table;
  for (int i = 0; i < n; ++i) {
    // Rank 0 repeats the front byte and changes nothing but the flag: long runs of it go eight at
    // a time.
    while (i + 8 <= n && data[i] == 0 && Word(data + i) == 0) {
      std::memset(data + i, table.At(0), 8);
      table.Use(0, table.At(0));
      i += 8;
    }
    if (i == n)
      break;
    const int rank = data[i];
    const uint8_t value = table.At(rank);
    data[i] = value;
    table.Use(rank, value);
  }
}

int BZZipStream::SplitSymbols(uint8_t* data, int n, std::vector<uint8_t>& side)
{
  side.clear();
  int largest = 1;
  for (int i = 0; i < n; ++i) {
    if (data[i] < 2)
      continue;
    side.push_back(data[i]);
    largest = std::max(largest, int(data[i]));
    data[i] = 2;
  }
  return largest;
}

void BZZipStream::MergeSymbols(uint8_t* data, int n, const uint8_t* side, int sideCount)
{
  int next = 0;
  for (int i = 0; i < n; ++i) {
    while (i + 8 <= n && (Word(data + i) & 0xFEFEFEFEFEFEFEFEu) == 0)
      i += 8;  // eight 0s and 1s
    if (i == n)
      break;
    if (data[i] > 2)
      throw Exception();
    if (data[i] < 2)
      continue;
    if (next >= sideCount)
      throw Exception();
    data[i] = side[next++];
  }
  if (next != sideCount)
    throw Exception();
}
