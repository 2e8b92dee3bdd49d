// The packer's two adaptive arithmetic coders: exact codes of the first symbols, round trips over
// many distributions, and damaged input that must neither crash nor hang.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "platform/core/Exceptions.h"
#include "settings/ZZipStream.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes EncodeMain(BZZipStream& z, const Bytes& symbols) {
  Bytes out;
  const int length = z.EncodeSymbols(int(symbols.size()), symbols.data(), out);
  EXPECT_EQ(length, int(out.size()));
  return out;
}

Bytes EncodeSide(BZZipStream& z, const Bytes& symbols, int largest) {
  Bytes out;
  const int length = z.EncodeHighRanks(int(symbols.size()), symbols.data(), largest, out);
  EXPECT_EQ(length, int(out.size()));
  return out;
}

TEST(ZZipMainCoder, EmptyStreamIsTheTerminationBitsAlone) {
  BZZipStream z;
  EXPECT_EQ(EncodeMain(z, {}), (Bytes{0x02}));  // bits 0, 1 from bit 0 up
}

TEST(ZZipMainCoder, FirstSymbolUsesTheEqualLayoutWithZeroOnTop) {
  // Counts 0, 0, 0: from the bottom 2, 1, 0, each a third of the interval.
  BZZipStream z;
  EXPECT_EQ(EncodeMain(z, {0}), (Bytes{0x03}));  // bits 1, 1, 0
  EXPECT_EQ(EncodeMain(z, {1}), (Bytes{0x06}));  // a pending bit: 0, 1, 1
  EXPECT_EQ(EncodeMain(z, {2}), (Bytes{0x04}));  // bits 0, 0, 1
}

TEST(ZZipMainCoder, AdaptsToLongZeroRuns) {
  BZZipStream z;
  const Bytes zeros(100000, 0);
  const Bytes code = EncodeMain(z, zeros);
  EXPECT_LT(code.size(), 100u);
  Bytes back(zeros.size(), 9);
  z.DecodeSymbols(int(back.size()), back.data(), code.data(), int(code.size()));
  EXPECT_EQ(back, zeros);
}

TEST(ZZipMainCoder, RoundTripsVariedStreams) {
  std::mt19937 rng(42);
  std::vector<Bytes> cases{{0}, {1}, {2}, {2, 2, 2, 1, 0}};
  for (int weights : {0, 1, 2, 3}) {
    for (size_t size : {size_t(10), size_t(1000), size_t(200000)}) {
      Bytes s(size);
      for (auto& x : s) {
        const unsigned r = rng() % 100;
        switch (weights) {
          case 0: x = uint8_t(r % 3); break;                     // uniform
          case 1: x = r < 90 ? 0 : r < 97 ? 1 : 2; break;          // mostly zero
          case 2: x = r < 50 ? 2 : r < 75 ? 1 : 0; break;          // mostly two
          default: x = uint8_t((&x - s.data()) / 5000 % 3); break;  // long runs of each
        }
      }
      cases.push_back(s);
    }
  }
  BZZipStream z;
  for (const Bytes& s : cases) {
    const Bytes code = EncodeMain(z, s);
    Bytes back(s.size());
    z.DecodeSymbols(int(s.size()), back.data(), code.data(), int(code.size()));
    ASSERT_EQ(back, s) << "size " << s.size();
  }
}

TEST(ZZipMainCoder, RefusesSymbolsAboveTwo) {
  BZZipStream z;
  Bytes out;
  const Bytes bad{0, 3};
  EXPECT_THROW(z.EncodeSymbols(2, bad.data(), out), std::exception);
}

TEST(ZZipSideCoder, LargestTwoCodesOnlyGroupZero) {
  BZZipStream z;
  const Bytes twos(1000, 2);
  const Bytes code = EncodeSide(z, twos, 2);
  // One group: every group symbol is certain, so nothing but the termination is written.
  EXPECT_EQ(code, (Bytes{0x02}));
  Bytes back(twos.size());
  z.DecodeHighRanks(int(back.size()), back.data(), 2, code.data(), int(code.size()));
  EXPECT_EQ(back, twos);
  const Bytes three{3};
  Bytes out;
  EXPECT_THROW(z.EncodeHighRanks(1, three.data(), 2, out), std::exception);
}

TEST(ZZipSideCoder, LargestFiveFoldsTheRemainderIntoGroupOne) {
  // Groups 0 (the value 2) and 1 (3 to 6): 5 is group 1, the lower half, then offset 2 of 4.
  BZZipStream z;
  EXPECT_EQ(EncodeSide(z, {5}, 5), (Bytes{0x14}));  // bits 0 | 0, 1 | 0, 1
  EXPECT_EQ(EncodeSide(z, {2}, 5), (Bytes{0x05}));  // bits 1 | 0, 1
}

TEST(ZZipSideCoder, RoundTripsEveryLargestSymbol) {
  std::mt19937 rng(7);
  BZZipStream z;
  for (int largest = 2; largest <= 255; ++largest) {
    Bytes s(largest < 20 ? 3000 : 600);
    for (auto& x : s) {
      // Small ranks far more often than large ones, as after move-to-front.
      const int span = largest - 1;
      const int v = int(rng() % unsigned(span)) * int(rng() % unsigned(span)) / span;
      x = uint8_t(2 + v);
    }
    s.back() = uint8_t(largest);
    const Bytes code = EncodeSide(z, s, largest);
    Bytes back(s.size());
    z.DecodeHighRanks(int(s.size()), back.data(), largest, code.data(), int(code.size()));
    ASSERT_EQ(back, s) << "largest " << largest;
  }
}

TEST(ZZipSideCoder, RoundTripsLongSkewedStreamsThroughHalving) {
  std::mt19937 rng(9);
  Bytes s(300000);
  for (size_t i = 0; i < s.size(); ++i) s[i] = uint8_t(i < 150000 ? 200 + rng() % 3 : 2 + rng() % 254);
  BZZipStream z;
  const Bytes code = EncodeSide(z, s, 255);
  Bytes back(s.size());
  z.DecodeHighRanks(int(s.size()), back.data(), 255, code.data(), int(code.size()));
  EXPECT_EQ(back, s);
}

TEST(ZZipCoders, DamagedInputDecodesToSymbolsInRangeOrIsRefused) {
  std::mt19937 rng(5);
  BZZipStream z;
  int decoded = 0, refused = 0;
  for (int round = 0; round < 200; ++round) {
    // From nothing at all to more than 5000 symbols of either stream can need.
    Bytes garbage(size_t(rng() % 2000));
    for (auto& x : garbage) x = uint8_t(rng());
    Bytes main(5000);
    try {
      z.DecodeSymbols(int(main.size()), main.data(), garbage.data(), int(garbage.size()));
      for (uint8_t x : main) ASSERT_LE(x, 2);
      ++decoded;
    } catch (const Exception&) {
      ++refused;
    }
    const int largest = 2 + int(rng() % 254);
    Bytes side(2000);
    try {
      z.DecodeHighRanks(int(side.size()), side.data(), largest, garbage.data(), int(garbage.size()));
      for (uint8_t x : side) ASSERT_GE(x, 2);
      ++decoded;
    } catch (const Exception&) {
      ++refused;
    }
  }
  EXPECT_GT(decoded, 0);
  EXPECT_GT(refused, 0);
}

// Codes of every length in bits must decode from exactly their own bytes: the decoder reads up to
// 13 bits past the end of a genuine code, and refuses to read further.
TEST(ZZipCoders, EveryCodeDecodesFromExactlyItsOwnBytes) {
  std::mt19937 rng(11);
  BZZipStream z;
  for (int n = 0; n < 800; ++n) {
    Bytes s(static_cast<size_t>(n));
    const unsigned zeroShare = 34 + unsigned(n % 5) * 16;  // from uniform to mostly zeros
    for (auto& x : s) {
      const unsigned r = rng() % 100;
      x = r < zeroShare ? 0 : uint8_t(1 + r % 2);
    }
    const Bytes code = EncodeMain(z, s);
    Bytes back(s.size());
    z.DecodeSymbols(n, back.data(), code.data(), int(code.size()));
    ASSERT_EQ(back, s) << "main, " << n << " symbols";

    const int largest = 2 + n % 254;
    Bytes side(static_cast<size_t>(n % 400));
    for (auto& x : side) x = uint8_t(2 + rng() % unsigned(largest - 1) * (rng() % 2));
    const Bytes sideCode = EncodeSide(z, side, largest);
    Bytes sideBack(side.size());
    z.DecodeHighRanks(int(side.size()), sideBack.data(), largest, sideCode.data(), int(sideCode.size()));
    ASSERT_EQ(sideBack, side) << "side, " << side.size() << " symbols up to " << largest;
  }
}

TEST(ZZipCoders, ReadingOnPastTheCodeIsRefused) {
  BZZipStream z;
  // 100000 zeros take a few dozen bytes; the millions more asked for here would once have been
  // decoded from the zeros read past the end.
  const Bytes code = EncodeMain(z, Bytes(100000, 0));
  Bytes many(4000000);
  EXPECT_THROW(z.DecodeSymbols(int(many.size()), many.data(), code.data(), int(code.size())), Exception);
  std::mt19937 rng(3);
  Bytes mixed(3000);
  for (auto& x : mixed) x = uint8_t(rng() % 3);
  const Bytes mixedCode = EncodeMain(z, mixed);
  EXPECT_THROW(z.DecodeSymbols(int(many.size()), many.data(), mixedCode.data(), int(mixedCode.size())), Exception);
  // Every code has at least its termination byte.
  EXPECT_THROW(z.DecodeSymbols(1, many.data(), mixedCode.data(), 0), Exception);

  Bytes side(3000);
  for (auto& x : side) x = uint8_t(2 + rng() % 40);
  const Bytes sideCode = EncodeSide(z, side, 41);
  EXPECT_THROW(z.DecodeHighRanks(int(many.size()), many.data(), 41, sideCode.data(), int(sideCode.size())), Exception);
}

}  // namespace
