// The packer's two adaptive arithmetic coders: exact codes of the first symbols, round trips over
// many distributions and lengths, and damaged input that must neither crash nor hang.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "platform/core/Exceptions.h"
#include "settings/ZZipStream.h"

namespace {

using Bytes = std::vector<uint8_t>;

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

// Codes must decode from exactly their own bytes: the decoder reads up to 13 bits past the end
// of a genuine code, and refuses to read further.
void ExpectRoundTrip(BZZipStream& z, const Bytes& symbols, int largest = 0)
{
  ASSERT_EQ(Decode(z, Encode(z, symbols, largest), symbols.size(), largest), symbols)
      << symbols.size() << " symbols, largest " << largest;
}

TEST(ZZipCoders, FirstSymbolsHaveTheFormatsCodes)
{
  const struct {
    int largest;
    Bytes symbols, code;
  } cases[] = {
      {0, {}, {0x02}},  // the termination bits 0, 1 alone, from bit 0 up
      // Counts 0, 0, 0: from the bottom 2, 1, 0, each a third of the interval.
      {0, {0}, {0x03}},  // bits 1, 1, 0
      {0, {1}, {0x06}},  // a pending bit: 0, 1, 1
      {0, {2}, {0x04}},  // bits 0, 0, 1
      // Largest two: one group, every symbol certain, nothing but the termination.
      {2, Bytes(1000, 2), {0x02}},
      // Groups 0 (the value 2) and 1 (3 to 6): 5 is group 1, the lower half, then offset 2 of 4.
      {5, {5}, {0x14}},  // bits 0 | 0, 1 | 0, 1
      {5, {2}, {0x05}},  // bits 1 | 0, 1
  };
  for (const auto& c : cases) {
    BZZipStream z;
    EXPECT_EQ(Encode(z, c.symbols, c.largest), c.code) << c.largest << ", " << c.symbols.size();
    EXPECT_EQ(Decode(z, c.code, c.symbols.size(), c.largest), c.symbols);
  }
  BZZipStream z;
  Bytes out;
  const Bytes three{0, 3};
  EXPECT_THROW(z.EncodeSymbols(2, three.data(), out), std::exception);
  EXPECT_THROW(z.EncodeHighRanks(1, three.data() + 1, 2, out), std::exception);
}

TEST(ZZipCoders, MainStreamsRoundTrip)
{
  std::mt19937 rng(42);
  BZZipStream z;
  // Every length up to 800, from uniform to mostly zeros.
  for (int n = 0; n < 800; ++n) {
    Bytes s(static_cast<size_t>(n));
    const unsigned zeroShare = 34 + unsigned(n % 5) * 16;
    for (auto& x : s) {
      const unsigned r = rng() % 100;
      x = r < zeroShare ? 0 : uint8_t(1 + r % 2);
    }
    ExpectRoundTrip(z, s);
  }
  // Long streams: uniform, mostly zero, mostly two, long runs of each, and all zeros.
  for (int weights : {0, 1, 2, 3}) {
    Bytes s(200000);
    for (size_t i = 0; i < s.size(); ++i) {
      const unsigned r = rng() % 100;
      s[i] = weights == 0   ? uint8_t(r % 3)
             : weights == 1 ? (r < 90   ? 0
                               : r < 97 ? 1
                                        : 2)
             : weights == 2 ? (r < 50   ? 2
                               : r < 75 ? 1
                                        : 0)
                            : uint8_t(i / 5000 % 3);
    }
    ExpectRoundTrip(z, s);
  }
  const Bytes zeros(100000, 0);
  EXPECT_LT(Encode(z, zeros).size(), 100u);
  ExpectRoundTrip(z, zeros);
}

TEST(ZZipCoders, SideStreamsRoundTripForEveryLargestSymbol)
{
  std::mt19937 rng(7);
  BZZipStream z;
  for (int largest = 2; largest <= 255; ++largest) {
    // Small ranks far more often than large ones, as after move-to-front.
    Bytes s(largest < 20 ? 3000 : 600);
    const int span = largest - 1;
    for (auto& x : s)
      x = uint8_t(2 + int(rng() % unsigned(span)) * int(rng() % unsigned(span)) / span);
    s.back() = uint8_t(largest);
    ExpectRoundTrip(z, s, largest);
    // Short streams of every length, half of them twos.
    Bytes side(static_cast<size_t>(largest * 7 % 400));
    for (auto& x : side)
      x = uint8_t(2 + rng() % unsigned(span) * (rng() % 2));
    ExpectRoundTrip(z, side, largest);
  }
  // Long and skewed, through the halving of the counts.
  Bytes s(300000);
  for (size_t i = 0; i < s.size(); ++i)
    s[i] = uint8_t(i < 150000 ? 200 + rng() % 3 : 2 + rng() % 254);
  ExpectRoundTrip(z, s, 255);
}

TEST(ZZipCoders, DamagedInputDecodesToSymbolsInRangeOrIsRefused)
{
  std::mt19937 rng(5);
  BZZipStream z;
  int decoded = 0, refused = 0;
  for (int round = 0; round < 200; ++round) {
    // From nothing at all to more than 5000 symbols of either stream can need.
    Bytes garbage(size_t(rng() % 2000));
    for (auto& x : garbage)
      x = uint8_t(rng());
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
}

TEST(ZZipCoders, ReadingOnPastTheCodeIsRefused)
{
  BZZipStream z;
  std::mt19937 rng(3);
  Bytes mixed(3000), side(3000);
  for (auto& x : mixed)
    x = uint8_t(rng() % 3);
  for (auto& x : side)
    x = uint8_t(2 + rng() % 40);
  // 100000 zeros take a few dozen bytes; the millions more asked for here would once have been
  // decoded from the zeros read past the end.
  for (const Bytes& s : {Bytes(100000, 0), mixed})
    EXPECT_THROW(Decode(z, Encode(z, s), 4000000), Exception);
  EXPECT_THROW(Decode(z, Encode(z, side, 41), 4000000, 41), Exception);
  EXPECT_THROW(Decode(z, {}, 1), Exception);  // every code has at least its termination byte
}

}  // namespace
