// The inverse block sort walked as many short chains at once must give exactly the bytes of the one
// long walk, for real sorted blocks of every kind and for damaged ones whose rows fall into
// several cycles.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/core/Exceptions.h"
#include "settings/ZZipStream.h"
#include "settings/ZZipUnsort.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Random(size_t n, unsigned seed, unsigned alphabet)
{
  std::mt19937 rng(seed);
  Bytes b(n);
  for (auto& x : b)
    x = uint8_t(rng() % alphabet);
  return b;
}

Bytes Periodic(size_t n, size_t period, unsigned seed)
{
  const Bytes unit = Random(period, seed, 256);
  Bytes b(n);
  for (size_t i = 0; i < n; ++i)
    b[i] = unit[i % period];
  return b;
}

// The last column of the sorted block and its primary index, as the packer makes them. A last
// byte of 0xFF is avoided, as the packer's final-byte fix does.
struct Sorted {
  Bytes last;
  int primary;
};
Sorted Sort(Bytes data)
{
  if (data.back() == 0xFF)
    data.back() = 0xFE;
  Sorted s{Bytes(data.size()), 0};
  s.primary = BZZipStream::SortBlock(data.data(), int(data.size()), s.last.data());
  return s;
}

Bytes Plain(const Bytes& last, int primary)
{
  Bytes out(last.size());
  zzip::UnsortPlain(last.data(), int(last.size()), primary, out.data());
  return out;
}

Bytes Chained(const Bytes& last, int primary, uint32_t markStep)
{
  Bytes out(last.size(), 0xAA);
  zzip::UnsortChained(last.data(), int(last.size()), primary, out.data(), markStep);
  return out;
}

TEST(ZZipUnsort, ChainedWalkGivesThePlainWalksBytes)
{
  std::vector<std::pair<std::string, Bytes>> blocks{
      {"one byte", Bytes{7}},
      {"two bytes", Bytes{3, 1}},
      {"tiny random", Random(17, 1, 256)},
      {"all equal", Bytes(5000, 0x41)},
      {"two values", Random(30000, 2, 2)},
      {"period 2", Periodic(40001, 2, 3)},
      {"period 43", Periodic(100000, 43, 4)},
      {"period 4096", Periodic(70000, 4096, 5)},
      {"period 97", Periodic(8192, 97, 8)},
      {"random", Random(120000, 6, 256)},
      {"few values", Random(300000, 7, 5)},  // past the size that takes bigger chunks
  };
  for (const auto& [name, data] : blocks) {
    const Sorted s = Sort(data);
    Bytes expected = data;
    if (expected.back() == 0xFF)
      expected.back() = 0xFE;
    ASSERT_EQ(Plain(s.last, s.primary), expected) << name;
    Bytes out(data.size());  // the block inverse, whichever walk it takes for the size
    BZZipStream::UnsortBlock(s.last.data(), int(out.size()), s.primary, out.data());
    ASSERT_EQ(out, expected) << name;
    for (uint32_t step : {2u, 16u, 256u, 4096u})
      ASSERT_EQ(Chained(s.last, s.primary, step), expected) << name << ", marks every " << step;
  }
}

// Any last column and primary make some permutation of the rows; when the primary's cycle is
// shorter than the block, the walk goes round it again and again. The chained walk must agree
// even then, and whatever cycles the marked rows fall on.
TEST(ZZipUnsort, DamagedColumnsWithSeveralCyclesAgreeToo)
{
  std::mt19937 rng(99);
  for (int round = 0; round < 300; ++round) {
    const size_t n = 1 + rng() % (round < 250 ? 3000 : 200000);
    const Bytes last = Random(n, unsigned(round), 1 + rng() % 6);
    const int primary = int(rng() % n);
    const Bytes expected = Plain(last, primary);
    for (uint32_t step : {2u, 8u, 1024u})
      ASSERT_EQ(Chained(last, primary, step), expected) << "round " << round << ", n " << n << ", step " << step;
  }
}

TEST(ZZipUnsort, RefusesMarkStepsThatAreNotPowersOfTwo)
{
  const Bytes last{1, 2, 3};
  Bytes out(3);
  for (uint32_t step : {0u, 1u, 3u, 100u})
    EXPECT_THROW(zzip::UnsortChained(last.data(), 3, 0, out.data(), step), Exception) << step;
  EXPECT_THROW(zzip::UnsortChained(last.data(), 3, 3, out.data(), 2), Exception);
  EXPECT_THROW(zzip::UnsortPlain(last.data(), 0, 0, out.data()), Exception);
}

}  // namespace
