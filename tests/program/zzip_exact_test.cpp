// The packer's quick ways of doing its arithmetic and scans against their plain definitions, and
// codes pinned to the bytes that a coder written straight from the definitions produced.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "settings/ZZipArith.h"
#include "settings/ZZipStream.h"

namespace {

using Bytes = std::vector<uint8_t>;

uint64_t Fnv(const Bytes& b)
{
  uint64_t h = 14695981039346656037u;
  for (uint8_t x : b)
    h = (h ^ x) * 1099511628211u;
  return h;
}

// The division the coders replace: for a bound a of [0, t), the cut a * x / t.
TEST(ZZipExact, ScaledCutsEqualTheDivision)
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
TEST(ZZipExact, ChecksumMatchesTheByteByByteDefinition)
{
  std::mt19937 rng(2);
  Bytes data(70000);
  for (auto& x : data)
    x = uint8_t(rng());
  auto bytewise = [](const uint8_t* p, int n) {
    uint32_t c = 0xFFFFFFFFu;
    for (int i = 0; i < n; ++i)
      c = (c >> 8) ^ (uint32_t((c ^ p[i]) & 0xFF) << 24);
    return c;
  };
  for (int offset = 0; offset < 8; ++offset)
    for (int n = 0; n < 80; ++n)
      ASSERT_EQ(BZZipStream::Checksum(data.data() + offset, n), bytewise(data.data() + offset, n))
          << offset << ", " << n;
  EXPECT_EQ(BZZipStream::Checksum(data.data() + 3, 69997), bytewise(data.data() + 3, 69997));
}

// Main-stream symbols in stretches of different kinds: long runs of zeros (past the halving at a
// total of 8192), zeros broken by single ones and twos, uniform noise, and a short cycle.
Bytes MainStream()
{
  std::mt19937 rng(2024);
  Bytes s;
  for (int part = 0; part < 60; ++part) {
    switch (part % 4) {
    case 0: s.insert(s.end(), 1000 + rng() % 20000, 0); break;
    case 1:
      for (int i = 0; i < 3000; ++i)
        s.push_back(rng() % 16 == 0 ? uint8_t(1 + rng() % 2) : 0);
      break;
    case 2:
      for (int i = 0; i < 2000; ++i)
        s.push_back(uint8_t(rng() % 3));
      break;
    default:
      for (int i = 0; i < 500; ++i)
        s.push_back(uint8_t(i % 7 == 0 ? 2 : i % 3 == 0 ? 1 : 0));
      break;
    }
  }
  return s;
}

// Side-stream symbols up to `largest`: small ranks far more often than large ones, with a
// stretch of uniform ones in the middle.
Bytes SideStream(int largest)
{
  std::mt19937 rng{unsigned(largest)};
  Bytes s(60000);
  for (size_t i = 0; i < s.size(); ++i) {
    const unsigned span = unsigned(largest - 1);
    const unsigned v = i / 20000 == 1 ? rng() % span : rng() % span * (rng() % span) / span;
    s[i] = uint8_t(2 + v);
  }
  s.back() = uint8_t(largest);
  return s;
}

TEST(ZZipExact, CodersWriteThePinnedBytesAndReadThemBack)
{
  BZZipStream z;
  Bytes code;
  const Bytes main = MainStream();
  ASSERT_EQ(main.size(), 242933u);
  z.EncodeSymbols(int(main.size()), main.data(), code);
  EXPECT_EQ(code.size(), 10097u);
  EXPECT_EQ(Fnv(code), 0x94d2f5dca3207852u);
  Bytes back(main.size());
  z.DecodeSymbols(int(back.size()), back.data(), code.data(), int(code.size()));
  EXPECT_EQ(back, main);

  const struct {
    int largest;
    size_t length;
    uint64_t fnv;
  } sides[] = {
      {255, 57309, 0xb7fdbaad8a2e40c4u}, {40, 36423, 0xfd5d5a8665e90ff4u}, {3, 2579, 0xfba4f6b7d558fea7u}};
  for (const auto& side : sides) {
    const Bytes s = SideStream(side.largest);
    z.EncodeHighRanks(int(s.size()), s.data(), side.largest, code);
    EXPECT_EQ(code.size(), side.length) << side.largest;
    EXPECT_EQ(Fnv(code), side.fnv) << side.largest;
    Bytes sideBack(s.size());
    z.DecodeHighRanks(int(s.size()), sideBack.data(), side.largest, code.data(), int(code.size()));
    EXPECT_EQ(sideBack, s) << side.largest;
  }
}

// Whole blocks: words with numbers, a short line repeated, and bytes with long runs.
Bytes WordsBlock()
{
  static const char* words[] = {"engine", "speed",  "rpm",  "load", "idle",
                                "lambda", "sensor", "0.25", "1450", "\r\n"};
  std::mt19937 rng(7);
  Bytes b;
  while (b.size() < 200000) {
    const char* w = words[rng() % 10];
    b.insert(b.end(), w, w + std::char_traits<char>::length(w));
    b.push_back(' ');
  }
  return b;
}
Bytes RepeatedBlock()
{
  const std::string line = "F1011500    2350.0      Engine speed, rpm\r\n";
  Bytes b;
  while (b.size() < 300000)
    b.insert(b.end(), line.begin(), line.end());
  return b;
}
Bytes RunsBlock()
{
  std::mt19937 rng(11);
  Bytes b;
  while (b.size() < 150000)
    b.insert(b.end(), 1 + rng() % 900, uint8_t(rng() % 5 == 0 ? rng() : rng() % 4));
  return b;
}

TEST(ZZipExact, BlocksPackToThePinnedBytesAndUnpack)
{
  const struct {
    const char* name;
    Bytes data;
    uint8_t optionA;
    size_t length;
    uint64_t fnv;
  } blocks[] = {
      {"words", WordsBlock(), 0, 16208, 0xf7047d14bd2c000du},
      {"words, text mode", WordsBlock(), 1, 16212, 0xe7baaa988bf583bfu},
      {"repeated line", RepeatedBlock(), 0, 145, 0x2c7490793d11fad2u},
      {"repeated line, text mode", RepeatedBlock(), 1, 151, 0x31748777fc738aa3u},
      {"runs", RunsBlock(), 0, 1010, 0x4d929b5d23554740u},
  };
  for (const auto& block : blocks) {
    BZZipStream z;
    z.OptionA = block.optionA;
    z.OptionB = 0;
    Bytes buffer(block.data.size() * 12 / 10 + 100);
    std::copy(block.data.begin(), block.data.end(), buffer.begin());
    const int length = z.Pack(buffer.data(), int(block.data.size()), int(buffer.size()));
    ASSERT_EQ(length, int(block.length)) << block.name;
    buffer.resize(size_t(length));
    EXPECT_EQ(Fnv(buffer), block.fnv) << block.name;
    BZZipStream reader;
    buffer.resize(block.data.size() + 100);
    ASSERT_EQ(reader.Unpack(buffer.data(), length, int(buffer.size())), int(block.data.size())) << block.name;
    buffer.resize(block.data.size());
    EXPECT_EQ(buffer, block.data) << block.name;
  }
}

}  // namespace
