// The packer's reversible stages one by one: exact outputs where the format fixes them, and round
// trips over data that reaches their corner cases.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "settings/ZZipStream.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes FromText(const std::string& s) { return Bytes(s.begin(), s.end()); }

Bytes RandomBytes(size_t n, int alphabet, unsigned seed) {
  std::mt19937 rng(seed);
  Bytes b(n);
  for (auto& x : b) x = uint8_t(rng() % unsigned(alphabet));
  return b;
}

TEST(ZZipChecksum, ShiftsComplementedBytesInFromTheTop) {
  EXPECT_EQ(BZZipStream::Checksum(nullptr, 0), 0xFFFFFFFFu);
  const Bytes a = FromText("A");
  EXPECT_EQ(BZZipStream::Checksum(a.data(), 1), 0xBEFFFFFFu);
  // From the fifth byte on, the byte four places back comes in again through the low end.
  const Bytes text = FromText("ABCDE");
  EXPECT_EQ(BZZipStream::Checksum(text.data(), 4), 0xBBBCBDBEu);
  EXPECT_EQ(BZZipStream::Checksum(text.data(), 5), 0xFBBBBCBDu);
}

TEST(ZZipRunLength, WritesCountDigitsAndTerminators) {
  Bytes out;
  // Seven zeros at the start already make a run: 3 more zeros are the digits 1, 1, then the end.
  const Bytes zeros(10, 0);
  BZZipStream::RunLengthEncode(zeros.data(), 10, out);
  EXPECT_EQ(out, (Bytes{0, 0, 0, 0, 0, 0, 0, 1, 1, 2}));

  const Bytes eightAndNext = FromText(std::string(8, 'A') + "B");
  BZZipStream::RunLengthEncode(eightAndNext.data(), int(eightAndNext.size()), out);
  EXPECT_EQ(out, FromText(std::string(8, 'A') + "CB"));

  const Bytes twelve = FromText(std::string(12, 'A') + "X");  // 4 more: digits 0, 0, 1
  BZZipStream::RunLengthEncode(twelve.data(), int(twelve.size()), out);
  EXPECT_EQ(out, FromText(std::string(8, 'A') + "AABX"));

  // Digits and terminator wrap around 255.
  Bytes high(10, 0xFF);
  high.push_back(0x00);
  BZZipStream::RunLengthEncode(high.data(), int(high.size()), out);
  Bytes expected(9, 0xFF);
  expected.insert(expected.end(), {0x00, 0x01, 0x00});
  EXPECT_EQ(out, expected);
}

TEST(ZZipRunLength, RoundTripsRunsOfEveryLengthAndByte) {
  for (int b : {0, 1, 0x41, 0xFE, 0xFF})
    for (int len : {1, 6, 7, 8, 9, 15, 16, 513, 70000}) {
      for (int next : {-1, b + 1, b + 2, b + 3}) {
        Bytes in(static_cast<size_t>(len), uint8_t(b));
        if (next >= 0) in.push_back(uint8_t(next));
        in.push_back(uint8_t(b + 1));
        Bytes packed, unpacked;
        BZZipStream::RunLengthEncode(in.data(), int(in.size()), packed);
        BZZipStream::RunLengthDecode(packed.data(), int(packed.size()), unpacked, int(in.size()));
        ASSERT_EQ(unpacked, in) << "byte " << b << " length " << len << " next " << next;
      }
    }
  const Bytes mixed = RandomBytes(100000, 3, 7);
  Bytes packed, unpacked;
  BZZipStream::RunLengthEncode(mixed.data(), int(mixed.size()), packed);
  BZZipStream::RunLengthDecode(packed.data(), int(packed.size()), unpacked, int(mixed.size()));
  EXPECT_EQ(unpacked, mixed);
}

// The unpacker refuses blocks with more symbols than this growth allows, so it must be the worst.
TEST(ZZipRunLength, GrowsByAtMostOneBytePerEight) {
  // Seven zeros, then eight of each next value: every run adds a terminator and nothing else.
  for (int runs : {0, 1, 2, 100, 5000}) {
    Bytes in(7, 0);
    for (int r = 1; r <= runs; ++r) in.insert(in.end(), 8, uint8_t(r));
    const size_t n = in.size();
    Bytes out, back;
    BZZipStream::RunLengthEncode(in.data(), int(n), out);
    EXPECT_EQ(out.size(), n + (n + 1) / 8) << runs << " runs";
    BZZipStream::RunLengthDecode(out.data(), int(out.size()), back, int(n));
    EXPECT_EQ(back, in);
  }
  // Runs of random lengths, the short ones most often.
  std::mt19937 rng(17);
  for (int round = 0; round < 300; ++round) {
    Bytes in;
    const size_t target = 1 + rng() % 3000;
    while (in.size() < target) in.insert(in.end(), size_t(1 + rng() % 12 * (rng() % 3)), uint8_t(rng() % 4));
    Bytes out;
    BZZipStream::RunLengthEncode(in.data(), int(in.size()), out);
    ASSERT_LE(out.size(), in.size() + (in.size() + 1) / 8) << "round " << round;
  }
}

TEST(ZZipRunLength, DecodeRefusesOutputBeyondItsLimit) {
  Bytes in(8, 'A');
  in.insert(in.end(), 24, 'B');  // a count of 2^24 - 1
  Bytes out;
  EXPECT_THROW(BZZipStream::RunLengthDecode(in.data(), int(in.size()), out, 1000), std::exception);
  in.insert(in.end(), 20, 'B');  // more digits than any count has
  EXPECT_THROW(BZZipStream::RunLengthDecode(in.data(), int(in.size()), out, 1 << 30), std::exception);
}

Bytes RecordData(int records) {
  Bytes data(0x910, 0);
  const uint32_t magic40 = 0x09A00000, magic80 = 0x03A00505;
  std::memcpy(&data[40], &magic40, 4);
  std::memcpy(&data[80], &magic80, 4);
  for (int r = 0; r < records; ++r)
    for (int c = 0; c < 13; ++c) data.push_back(uint8_t(r * (c + 1) + c * 7));
  return data;
}

TEST(ZZipRecordTransform, WritesDifferencesColumnByColumn) {
  Bytes data(0x910, 0);
  for (int j = 0; j < 30; ++j) data.push_back(uint8_t(j));
  BZZipStream::RecordTransformEncode(data.data(), int(data.size()));
  Bytes expected;
  for (int column = 0; column < 13; ++column) {
    expected.push_back(uint8_t(column));  // the first record subtracts the zero head
    expected.push_back(13);
    if (column + 26 < 30) expected.push_back(13);
  }
  EXPECT_EQ(Bytes(data.begin() + 0x910, data.end()), expected);
  EXPECT_TRUE(std::all_of(data.begin(), data.begin() + 0x910, [](uint8_t b) { return b == 0; }));
}

TEST(ZZipRecordTransform, RecognisesItsDataAndRoundTrips) {
  Bytes data = RecordData(101);
  EXPECT_TRUE(BZZipStream::RecordTransformApplies(data.data(), int(data.size())));
  EXPECT_FALSE(BZZipStream::RecordTransformApplies(data.data(), 83));
  data[80] ^= 1;
  EXPECT_FALSE(BZZipStream::RecordTransformApplies(data.data(), int(data.size())));
  data[80] ^= 1;
  for (size_t size : {static_cast<size_t>(0x910), static_cast<size_t>(0x911), static_cast<size_t>(0x910 + 26), data.size()}) {
    Bytes copy(data.begin(), data.begin() + long(size));
    BZZipStream::RecordTransformEncode(copy.data(), int(size));
    BZZipStream::RecordTransformDecode(copy.data(), int(size));
    EXPECT_EQ(copy, Bytes(data.begin(), data.begin() + long(size)));
  }
}

TEST(ZZipDelta, SubtractsFromOffsetFourOn) {
  Bytes bytes{1, 2, 3, 4, 10, 12, 15};
  BZZipStream::DeltaEncode(bytes.data(), 7, 1);
  EXPECT_EQ(bytes, (Bytes{1, 2, 3, 4, 6, 2, 3}));
  // A word cut by the end keeps only its low byte's difference.
  Bytes words{0, 0, 0, 0, 0x34, 0x12, 0x35, 0x13, 0x01};
  BZZipStream::DeltaEncode(words.data(), 9, 4);
  EXPECT_EQ(words, (Bytes{0, 0, 0, 0, 0x34, 0x12, 0x01, 0x01, 0xCC}));
}

TEST(ZZipDelta, EveryTypeRoundTripsAtEveryLength) {
  const Bytes data = RandomBytes(64, 256, 11);
  for (int type = 1; type <= 5; ++type)
    for (int n = 0; n <= 64; ++n) {
      Bytes copy(data.begin(), data.begin() + n);
      BZZipStream::DeltaEncode(copy.data(), n, type);
      if (n > 6) {
        EXPECT_NE(copy, Bytes(data.begin(), data.begin() + n));
      }
      BZZipStream::DeltaDecode(copy.data(), n, type);
      ASSERT_EQ(copy, Bytes(data.begin(), data.begin() + n)) << "type " << type << " n " << n;
    }
}

TEST(ZZipDelta, ChoosesTheDistanceTheDataVariesOver) {
  std::mt19937 rng(3);
  const int n = 40000;
  Bytes smooth(n), pairs(n), triples(n), words(n), stereo(n), noise = RandomBytes(n, 256, 5);
  for (int i = 0; i < n; ++i) {
    smooth[i] = uint8_t(i / 50);
    pairs[i] = uint8_t((i % 2) * 200 + i / 400);
    triples[i] = uint8_t((i % 3) * 80 + i / 600);
  }
  for (int p = 0; p + 1 < n; p += 2) {
    const int mono = 300 * (p / 2) % 60000 + int(rng() % 256);
    const int channel = (p / 2) % 2 ? 40000 + p / 4 + int(rng() % 256) : 1000 + p / 4 + int(rng() % 256);
    words[p] = uint8_t(mono);
    words[p + 1] = uint8_t(mono >> 8);
    stereo[p] = uint8_t(channel);
    stereo[p + 1] = uint8_t(channel >> 8);
  }
  EXPECT_EQ(BZZipStream::ChooseDelta(smooth.data(), n), 1);
  EXPECT_EQ(BZZipStream::ChooseDelta(pairs.data(), n), 2);
  EXPECT_EQ(BZZipStream::ChooseDelta(triples.data(), n), 3);
  EXPECT_EQ(BZZipStream::ChooseDelta(words.data(), n), 4);
  EXPECT_EQ(BZZipStream::ChooseDelta(stereo.data(), n), 5);
  EXPECT_EQ(BZZipStream::ChooseDelta(noise.data(), n), 0);
}

TEST(ZZipCallFilter, MakesCallTargetsAbsoluteAndBack) {
  Bytes code{0x90, 0xE8, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00};
  BZZipStream::CallFilterEncode(code.data(), 8);
  EXPECT_EQ(code, (Bytes{0x90, 0xE8, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00}));
  // The target after an 0xE8 is skipped, so an 0xE8 inside it is no call.
  Bytes inner{0xE8, 0xE8, 0x00, 0x00, 0x00, 0xE8, 0, 0, 0, 0, 0, 0};
  BZZipStream::CallFilterEncode(inner.data(), 12);
  EXPECT_EQ(inner, (Bytes{0xE8, 0xE9, 0x00, 0x00, 0x00, 0xE8, 6, 0, 0, 0, 0, 0}));
  const Bytes data = RandomBytes(5000, 256, 9);
  Bytes copy = data;
  std::replace(copy.begin(), copy.end(), uint8_t(7), uint8_t(0xE8));
  const Bytes original = copy;
  BZZipStream::CallFilterEncode(copy.data(), int(copy.size()));
  EXPECT_NE(copy, original);
  BZZipStream::CallFilterDecode(copy.data(), int(copy.size()));
  EXPECT_EQ(copy, original);
}

TEST(ZZipTextFilter, EscapesCapitalsAndPermutes) {
  const Bytes in = FromText("Hi\nthere");
  Bytes out;
  BZZipStream::TextFilterEncode(in.data(), int(in.size()), out);
  EXPECT_EQ(out, (Bytes{96, 'k', 'c', 31, 10, 'u', 'k', 'b', 'l', 'b'}));
  // The last byte is never escaped; high values rotate.
  const Bytes tail{30, 'A', 200, 250, 'A'};
  BZZipStream::TextFilterEncode(tail.data(), 5, out);
  EXPECT_EQ(out, (Bytes{96, 61, 96, 'a', 207, 124, 'A'}));
}

TEST(ZZipTextFilter, RoundTripsAnyBytes) {
  std::vector<Bytes> cases{
      {}, {30}, {10}, {10, 32}, {10, 32, 32}, {10, 'a'}, {10, 'A'}, {'Z'}, {96, 30}, {30, 30, 10}};
  cases.push_back(FromText("The Quick\n brown\nfox\n\n Jumps over the Lazy dog.\n"));
  for (unsigned seed = 0; seed < 20; ++seed) cases.push_back(RandomBytes(300, seed % 2 ? 256 : 40, seed));
  for (const Bytes& in : cases) {
    Bytes packed, unpacked;
    BZZipStream::TextFilterEncode(in.data(), int(in.size()), packed);
    BZZipStream::TextFilterDecode(packed.data(), int(packed.size()), unpacked);
    ASSERT_EQ(unpacked, in);
  }
}

TEST(ZZipTrigram, ReplacesGroupsWhileFourBytesRemain) {
  const Bytes in = FromText("ukbxxvaaphjdlcnqxukb");
  Bytes out;
  BZZipStream::TrigramEncode(in.data(), int(in.size()), out);
  Bytes expected{129, 'x', 'x', 123, 126, 127, 124, 'q', 'x'};
  expected.insert(expected.end(), {'u', 'k', 'b'});
  EXPECT_EQ(out, expected);
  Bytes back;
  BZZipStream::TrigramDecode(out.data(), int(out.size()), back, 1000);
  EXPECT_EQ(back, in);
  EXPECT_THROW(BZZipStream::TrigramDecode(out.data(), int(out.size()), back, 10), std::exception);
}

// The order the block sort must produce, compared directly: the data continues with 0xFF bytes.
std::vector<int> SlowSuffixOrder(const Bytes& data) {
  const int n = int(data.size());
  std::vector<int> order(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) order[i] = i;
  auto at = [&](int p) { return p < n ? data[p] : uint8_t(0xFF); };
  std::sort(order.begin(), order.end(), [&](int a, int b) {
    for (int d = 0; d <= n; ++d)
      if (at(a + d) != at(b + d)) return at(a + d) < at(b + d);
    return false;
  });
  return order;
}

TEST(ZZipSortBlock, KnownBlock) {
  const Bytes banana = FromText("banana");
  Bytes last(6);
  EXPECT_EQ(BZZipStream::SortBlock(banana.data(), 6, last.data()), 3);
  EXPECT_EQ(last, FromText("bnnaaa"));
  Bytes back(6);
  BZZipStream::UnsortBlock(last.data(), 6, 3, back.data());
  EXPECT_EQ(back, banana);
}

TEST(ZZipSortBlock, MatchesDirectComparisonAndInverts) {
  std::vector<Bytes> cases{{7}, {0xFF, 0x00}, {0x00, 0xFF}, Bytes(300, 'a'), FromText("abababababab")};
  for (unsigned seed = 0; seed < 60; ++seed) {
    Bytes data = RandomBytes(1 + seed * 7, seed % 3 == 0 ? 2 : seed % 3 == 1 ? 4 : 256, seed);
    if (seed % 4 == 0) std::replace(data.begin(), data.end(), uint8_t(1), uint8_t(0xFF));
    cases.push_back(data);
  }
  Bytes periodic;
  for (int i = 0; i < 500; ++i) periodic.push_back(uint8_t("xyzzy"[i % 5]));
  cases.push_back(periodic);
  for (Bytes data : cases) {
    const int n = int(data.size());
    // As the packer does: a last 0xFF becomes 0xFF minus the byte before, so no two suffixes tie.
    if (n >= 2 && data[n - 1] == 0xFF) data[n - 1] = uint8_t(0xFF - data[n - 2]);
    const std::vector<int> order = SlowSuffixOrder(data);
    Bytes expected(static_cast<size_t>(n)), last(static_cast<size_t>(n)), back(static_cast<size_t>(n));
    int expectedPrimary = -1;
    for (int k = 0; k < n; ++k) {
      expected[k] = data[(order[k] + n - 1) % n];
      if (order[k] == 0) expectedPrimary = k;
    }
    const int primary = BZZipStream::SortBlock(data.data(), n, last.data());
    ASSERT_EQ(primary, expectedPrimary);
    ASSERT_EQ(last, expected);
    BZZipStream::UnsortBlock(last.data(), n, primary, back.data());
    ASSERT_EQ(back, data);
  }
}

TEST(ZZipSortBlock, UnsortRefusesAPrimaryOutOfRange) {
  const Bytes last = FromText("bnnaaa");
  Bytes out(6);
  EXPECT_THROW(BZZipStream::UnsortBlock(last.data(), 6, 6, out.data()), std::exception);
  EXPECT_THROW(BZZipStream::UnsortBlock(last.data(), 6, -1, out.data()), std::exception);
  EXPECT_THROW(BZZipStream::UnsortBlock(last.data(), 0, 0, out.data()), std::exception);
}

TEST(ZZipMoveToFront, NewSymbolsStopAtRankOne) {
  Bytes data{5, 5, 3, 5, 1, 1, 1};
  BZZipStream::MoveToFrontEncode(data.data(), int(data.size()));
  // 5 goes to rank 1, comes to the front when seen again; 3 goes to rank 1 behind it.
  EXPECT_EQ(data, (Bytes{5, 1, 4, 0, 3, 1, 0}));
  BZZipStream::MoveToFrontDecode(data.data(), int(data.size()));
  EXPECT_EQ(data, (Bytes{5, 5, 3, 5, 1, 1, 1}));
  const Bytes random = RandomBytes(20000, 256, 1);
  Bytes copy = random;
  BZZipStream::MoveToFrontEncode(copy.data(), int(copy.size()));
  BZZipStream::MoveToFrontDecode(copy.data(), int(copy.size()));
  EXPECT_EQ(copy, random);
}

TEST(ZZipSplitSymbols, SideStreamTakesRanksFromTwoUp) {
  Bytes data{0, 1, 2, 7, 0, 255, 1};
  Bytes side;
  EXPECT_EQ(BZZipStream::SplitSymbols(data.data(), int(data.size()), side), 255);
  EXPECT_EQ(data, (Bytes{0, 1, 2, 2, 0, 2, 1}));
  EXPECT_EQ(side, (Bytes{2, 7, 255}));
  BZZipStream::MergeSymbols(data.data(), int(data.size()), side.data(), int(side.size()));
  EXPECT_EQ(data, (Bytes{0, 1, 2, 7, 0, 255, 1}));

  Bytes binary{0, 1, 1, 0};
  EXPECT_EQ(BZZipStream::SplitSymbols(binary.data(), 4, side), 1);
  EXPECT_TRUE(side.empty());
}

TEST(ZZipSplitSymbols, MergeRefusesCountsThatDisagree) {
  Bytes main{0, 2, 2};
  const Bytes side{5};
  EXPECT_THROW(BZZipStream::MergeSymbols(main.data(), 3, side.data(), 1), std::exception);
  Bytes one{2};
  const Bytes two{5, 6};
  EXPECT_THROW(BZZipStream::MergeSymbols(one.data(), 1, two.data(), 2), std::exception);
}

}  // namespace
