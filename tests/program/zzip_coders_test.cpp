// The packer's two adaptive coders and its checksum: the quick arithmetic against the plain
// division, and damaged input that must neither crash nor hang (their round trips and output
// are the blocks' tests).
#include <gtest/gtest.h>

#include "ZZipTestSupport.h"
#include "settings/ZZipArith.h"

namespace {

// The code of the symbols (the main stream for largest 0, else the side stream up to largest).
Bytes Encode(BZZipStream& z, const Bytes& symbols, int largest = 0)
{
  Bytes out;
  const int length = largest ? z.EncodeHighRanks(int(symbols.size()), symbols.data(), largest, out)
                             : z.EncodeSymbols(int(symbols.size()), symbols.data(), out);
  EXPECT_EQ(length, int(out.size()));
  return out;
}

Bytes Decode(BZZipStream& z, const Bytes& code, size_t count, int largest = 0)
{
  Bytes out(count, 9);
  if (largest)
    z.DecodeHighRanks(int(count), out.data(), largest, code.data(), int(code.size()));
  else
    z.DecodeSymbols(int(count), out.data(), code.data(), int(code.size()));
  return out;
}

// `count` symbols: 2 plus the product of two uniform draws below `span`, so small ones dominate.
Bytes SkewedRanks(std::mt19937& rng, size_t count, unsigned span)
{
  Bytes s(count);
  for (auto& x : s)
    x = uint8_t(2 + rng() % span * (rng() % span) / span);
  return s;
}

}  // namespace

// The division the coders replace: for a bound a of [0, t), the cut a * x / t.
TEST(ZZipCoders, ScaledCutsEqualTheDivision)
{
  std::mt19937 rng(1);
  for (uint32_t t = 1; t <= zzip::MaxTotal; ++t) {
    // A range as the coder holds it (above a quarter), and each bound of [0, t) at its ends.
    for (uint32_t range : {0x4001u, 0x8000u, 0xFFFFu, 0x10000u, uint32_t(0x4001u + rng() % 0xC000u)}) {
      const uint64_t m = zzip::Scale(range, t);
      for (uint32_t a : {0u, 1u, t / 3, t / 2, t - 1, t, uint32_t(rng() % (t + 1))})
        ASSERT_EQ(uint32_t(a * m >> 31), uint32_t(uint64_t(range) * a / t)) << range << " * " << a << " / " << t;
    }
    // A run of the top symbol: the width below it scaled once, times each range.
    if (t <= 8192)
      for (uint32_t below : {1u, t / 2, t - 1, uint32_t(rng() % t)}) {
        const uint64_t m = zzip::Scale(below, t);
        for (uint32_t range : {0x4001u, 0x10000u, uint32_t(0x4001u + rng() % 0xC000u)})
          ASSERT_EQ(uint32_t(range * m >> 31), uint32_t(uint64_t(range) * below / t))
              << range << " * " << below << " / " << t;
      }
  }
}

// The checksum taken a word at a time against its byte-by-byte definition, at every length and
// every alignment of the data.
TEST(ZZipCoders, ChecksumMatchesTheByteByByteDefinition)
{
  const Bytes data = Random(70000, 2);
  auto bytewise = [](const uint8_t* p, int n) {
    uint32_t c = 0xFFFFFFFFu;
    for (int i = 0; i < n; ++i)
      c = (c >> 8) ^ (uint32_t((c ^ p[i]) & 0xFF) << 24);
    return c;
  };
  for (int offset = 0; offset < 8; ++offset)
    for (int n : {0, 1, 2, 3, 5, 7, 8, 9, 15, 16, 17, 31, 33, 63, 64, 65, 79, 69992})
      ASSERT_EQ(Z::Checksum(data.data() + offset, n), bytewise(data.data() + offset, n)) << offset << ", " << n;
}

TEST(ZZipCoders, DamagedInputDecodesToSymbolsInRangeOrIsRefused)
{
  std::mt19937 rng(5);
  BZZipStream z;
  int decoded = 0, refused = 0;
  for (int round = 0; round < 200; ++round) {
    // From nothing at all to more than 5000 symbols of either stream can need.
    const Bytes garbage = Random(rng() % 2000, unsigned(round));
    const int largest = 2 + int(rng() % 254);
    for (const int side : {0, largest}) {
      try {
        for (uint8_t x : Decode(z, garbage, side ? 2000 : 5000, side))
          ASSERT_TRUE(side ? x >= 2 : x <= 2);
        ++decoded;
      } catch (const Exception&) {
        ++refused;
      }
    }
  }
  EXPECT_GT(decoded, 0);
  EXPECT_GT(refused, 0);

  // 100000 zeros take a few dozen bytes; the millions more asked for here would once have been
  // decoded from the zeros read past the end.
  for (const Bytes& s : {Bytes(100000, 0), Random(3000, 3, 3)})
    EXPECT_THROW(Decode(z, Encode(z, s), 4000000), Exception);
  EXPECT_THROW(Decode(z, Encode(z, SkewedRanks(rng, 3000, 40), 41), 4000000, 41), Exception);
  EXPECT_THROW(Decode(z, {}, 1), Exception);  // every code has at least its termination byte
  Bytes out;                                  // symbols out of range
  const Bytes three{0, 3};
  EXPECT_THROW(z.EncodeSymbols(2, three.data(), out), std::exception);
  EXPECT_THROW(z.EncodeHighRanks(1, three.data() + 1, 2, out), std::exception);
}
