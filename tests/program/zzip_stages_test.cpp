// The packer's reversible stages: the exact bytes the format fixes for small inputs, round
// trips of every stage over data that reaches their corner cases, and the block sort and
// move-to-front against their plain definitions.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "platform/core/Exceptions.h"
#include "settings/ZZipStream.h"

namespace {

using Bytes = std::vector<uint8_t>;
using Z = BZZipStream;

Bytes FromText(const std::string& s)
{
  return Bytes(s.begin(), s.end());
}

Bytes RandomBytes(size_t n, int alphabet, unsigned seed)
{
  std::mt19937 rng(seed);
  Bytes b(n);
  for (auto& x : b)
    x = uint8_t(rng() % unsigned(alphabet));
  return b;
}

// A stage as a pair of functions over whole byte strings.
struct Stage {
  std::string name;
  std::function<Bytes(Bytes)> encode, decode;
};

template <void (*Encode)(uint8_t*, int), void (*Decode)(uint8_t*, int)>
Stage InPlace(const char* name)
{
  return {name,
          [](Bytes b) {
            Encode(b.data(), int(b.size()));
            return b;
          },
          [](Bytes b) {
            Decode(b.data(), int(b.size()));
            return b;
          }};
}

std::vector<Stage> Stages()
{
  std::vector<Stage> stages{
      {"run length",
       [](Bytes b) {
         Bytes o;
         Z::RunLengthEncode(b.data(), int(b.size()), o);
         return o;
       },
       [](Bytes b) {
         Bytes o;
         Z::RunLengthDecode(b.data(), int(b.size()), o, 1 << 26);
         return o;
       }},
      {"text filter",
       [](Bytes b) {
         Bytes o;
         Z::TextFilterEncode(b.data(), int(b.size()), o);
         return o;
       },
       [](Bytes b) {
         Bytes o;
         Z::TextFilterDecode(b.data(), int(b.size()), o);
         return o;
       }},
      {"trigram",
       [](Bytes b) {
         Bytes o;
         Z::TrigramEncode(b.data(), int(b.size()), o);
         return o;
       },
       [](Bytes b) {
         Bytes o;
         Z::TrigramDecode(b.data(), int(b.size()), o, 1 << 26);
         return o;
       }},
      InPlace<Z::CallFilterEncode, Z::CallFilterDecode>("call filter"),
      InPlace<Z::RecordTransformEncode, Z::RecordTransformDecode>("record transform"),
      InPlace<Z::MoveToFrontEncode, Z::MoveToFrontDecode>("move to front"),
      // The side stream's length and the side stream before the main one.
      {"split",
       [](Bytes b) {
         Bytes side;
         Z::SplitSymbols(b.data(), int(b.size()), side);
         const uint32_t k = uint32_t(side.size());
         side.insert(side.begin(), {uint8_t(k), uint8_t(k >> 8), uint8_t(k >> 16), uint8_t(k >> 24)});
         side.insert(side.end(), b.begin(), b.end());
         return side;
       },
       [](Bytes b) {
         const size_t k = b[0] | b[1] << 8 | b[2] << 16 | size_t(b[3]) << 24;
         Bytes main(b.begin() + 4 + long(k), b.end());
         Z::MergeSymbols(main.data(), int(main.size()), b.data() + 4, int(k));
         return main;
       }},
  };
  for (int type = 1; type <= 5; ++type)
    stages.push_back({"delta " + std::to_string(type),
                      [type](Bytes b) {
                        Z::DeltaEncode(b.data(), int(b.size()), type);
                        return b;
                      },
                      [type](Bytes b) {
                        Z::DeltaDecode(b.data(), int(b.size()), type);
                        return b;
                      }});
  return stages;
}

const Stage& StageNamed(const std::string& name)
{
  static const std::vector<Stage> stages = Stages();
  return *std::find_if(stages.begin(), stages.end(), [&](const Stage& s) { return s.name == name; });
}

// Outputs the format fixes, each read back to its input.
TEST(ZZipStages, SmallInputsGiveTheFormatsBytes)
{
  Bytes records(0x910, 0);
  for (int j = 0; j < 30; ++j)
    records.push_back(uint8_t(j));
  Bytes recordsOut(0x910, 0);  // columns of differences; the first record subtracts the zero head
  for (int column = 0; column < 13; ++column) {
    recordsOut.insert(recordsOut.end(), {uint8_t(column), 13});
    if (column + 26 < 30)
      recordsOut.push_back(13);
  }
  Bytes highRun(10, 0xFF), highRunOut(9, 0xFF);  // digits and terminator wrap around 255
  highRun.push_back(0);
  highRunOut.insert(highRunOut.end(), {0x00, 0x01, 0x00});
  const struct {
    const char* stage;
    Bytes in, out;
  } cases[] = {
      // Seven equal bytes make a run: the count of the rest in digits, then a terminator.
      {"run length", Bytes(10, 0), {0, 0, 0, 0, 0, 0, 0, 1, 1, 2}},
      {"run length", FromText(std::string(8, 'A') + "B"), FromText(std::string(8, 'A') + "CB")},
      {"run length", FromText(std::string(12, 'A') + "X"), FromText(std::string(8, 'A') + "AABX")},
      {"run length", highRun, highRunOut},
      // Capitals escaped, the alphabet permuted; the last byte is never escaped, high values rotate.
      {"text filter", FromText("Hi\nthere"), {96, 'k', 'c', 31, 10, 'u', 'k', 'b', 'l', 'b'}},
      {"text filter", {30, 'A', 200, 250, 'A'}, {96, 61, 96, 'a', 207, 124, 'A'}},
      // Groups replaced while four bytes remain.
      {"trigram", FromText("ukbxxvaaphjdlcnqxukb"), {129, 'x', 'x', 123, 126, 127, 124, 'q', 'x', 'u', 'k', 'b'}},
      // The target after an 0xE8 made absolute, and skipped, so that an 0xE8 inside it is no call.
      {"call filter", {0x90, 0xE8, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}, {0x90, 0xE8, 0x01, 0, 0, 0, 0, 0}},
      {"call filter",
       {0xE8, 0xE8, 0, 0, 0, 0xE8, 0, 0, 0, 0, 0, 0},
       {0xE8, 0xE9, 0, 0, 0, 0xE8, 6, 0, 0, 0, 0, 0}},
      {"record transform", records, recordsOut},
      // New symbols stop at rank 1.
      {"move to front", {5, 5, 3, 5, 1, 1, 1}, {5, 1, 4, 0, 3, 1, 0}},
      // Ranks of 2 and up move to the side stream, leaving a 2.
      {"split", {0, 1, 2, 7, 0, 255, 1}, {3, 0, 0, 0, 2, 7, 255, 0, 1, 2, 2, 0, 2, 1}},
      // Differences from offset four on; a word cut by the end keeps only its low byte's.
      {"delta 1", {1, 2, 3, 4, 10, 12, 15}, {1, 2, 3, 4, 6, 2, 3}},
      {"delta 4", {0, 0, 0, 0, 0x34, 0x12, 0x35, 0x13, 0x01}, {0, 0, 0, 0, 0x34, 0x12, 0x01, 0x01, 0xCC}},
  };
  for (const auto& c : cases) {
    const Stage& stage = StageNamed(c.stage);
    ASSERT_EQ(stage.encode(c.in), c.out) << c.stage;
    EXPECT_EQ(stage.decode(c.out), c.in) << c.stage;
  }
  Bytes side, binary{0, 1, 1, 0}, ranks{0, 7, 255, 1};
  EXPECT_EQ(Z::SplitSymbols(binary.data(), 4, side), 1);  // the largest rank, 1 if none is 2 or more
  EXPECT_EQ(Z::SplitSymbols(ranks.data(), 4, side), 255);
}

// Data for the round trips: the corner cases of each stage and random bytes of narrow and
// full alphabets.
std::vector<Bytes> Corpus()
{
  std::vector<Bytes> corpus{
      {},        {30},  {10},     {10, 32},     {10, 32, 32},    {10, 'a'},
      {10, 'A'}, {'Z'}, {96, 30}, {30, 30, 10}, {0xE8, 1, 2, 3}, FromText("ukbxxvaaphjdlcnqxukbukbukb")};
  corpus.push_back(FromText("The Quick\n brown\nfox\n\n Jumps over the Lazy dog.\n"));
  for (int b : {0, 1, 0x41, 0xFE, 0xFF})
    for (int len : {1, 6, 7, 8, 9, 15, 16, 513, 70000})
      for (int next : {-1, b + 1, b + 2, b + 3}) {
        Bytes in(static_cast<size_t>(len), uint8_t(b));
        if (next >= 0)
          in.push_back(uint8_t(next));
        in.push_back(uint8_t(b + 1));
        corpus.push_back(in);
      }
  for (unsigned seed = 0; seed < 30; ++seed)
    corpus.push_back(RandomBytes(1 + seed * 97, seed % 3 ? 256 : 3, seed));
  Bytes calls = RandomBytes(5000, 256, 9);
  std::replace(calls.begin(), calls.end(), uint8_t(7), uint8_t(0xE8));
  corpus.push_back(calls);
  Bytes records(0x910, 0);
  const uint32_t magic40 = 0x09A00000, magic80 = 0x03A00505;
  std::memcpy(&records[40], &magic40, 4);
  std::memcpy(&records[80], &magic80, 4);
  for (int r = 0; r < 101; ++r)
    for (int c = 0; c < 13; ++c)
      records.push_back(uint8_t(r * (c + 1) + c * 7));
  for (size_t size : {size_t(0x910), size_t(0x911), size_t(0x910 + 26), records.size()})
    corpus.emplace_back(records.begin(), records.begin() + long(size));
  return corpus;
}

TEST(ZZipStages, EveryStageRoundTripsAndChangesWhatItShould)
{
  const std::vector<Bytes> corpus = Corpus();
  for (const Stage& stage : Stages())
    for (const Bytes& in : corpus) {
      // The packer replaces groups only in data without the codes 123 to 129.
      if (stage.name == "trigram" &&
          std::any_of(in.begin(), in.end(), [](uint8_t b) { return b >= 123 && b <= 129; }))
        continue;
      const Bytes out = stage.encode(in);
      ASSERT_EQ(stage.decode(out), in) << stage.name << ", " << in.size() << " bytes";
      if (stage.name.starts_with("delta") && in.size() > 6 && in[4] != 0) {
        EXPECT_NE(out, in) << stage.name;
      }
    }
  Bytes records = corpus.back();
  EXPECT_TRUE(Z::RecordTransformApplies(records.data(), int(records.size())));
  EXPECT_FALSE(Z::RecordTransformApplies(records.data(), 83));
  records[80] ^= 1;
  EXPECT_FALSE(Z::RecordTransformApplies(records.data(), int(records.size())));
  Bytes calls = corpus[corpus.size() - 5];
  EXPECT_NE(StageNamed("call filter").encode(calls), calls);
}

// The unpacker refuses blocks with more symbols than this growth allows, so it must be the worst.
TEST(ZZipStages, RunLengthGrowsByAtMostOneBytePerEight)
{
  // Seven zeros, then eight of each next value: every run adds a terminator and nothing else.
  for (int runs : {0, 1, 2, 100, 5000}) {
    Bytes in(7, 0);
    for (int r = 1; r <= runs; ++r)
      in.insert(in.end(), 8, uint8_t(r));
    EXPECT_EQ(StageNamed("run length").encode(in).size(), in.size() + (in.size() + 1) / 8) << runs << " runs";
  }
  std::mt19937 rng(17);  // runs of random lengths, the short ones most often
  for (int round = 0; round < 300; ++round) {
    Bytes in;
    const size_t target = 1 + rng() % 3000;
    while (in.size() < target)
      in.insert(in.end(), size_t(1 + rng() % 12 * (rng() % 3)), uint8_t(rng() % 4));
    ASSERT_LE(StageNamed("run length").encode(in).size(), in.size() + (in.size() + 1) / 8) << "round " << round;
  }
}

TEST(ZZipStages, DecodersRefuseOutputBeyondTheirLimitAndCountsThatDisagree)
{
  Bytes in(8, 'A'), out;
  in.insert(in.end(), 24, 'B');  // a count of 2^24 - 1
  EXPECT_THROW(Z::RunLengthDecode(in.data(), int(in.size()), out, 1000), std::exception);
  in.insert(in.end(), 20, 'B');  // more digits than any count has
  EXPECT_THROW(Z::RunLengthDecode(in.data(), int(in.size()), out, 1 << 30), std::exception);
  const Bytes trigrams{129, 'x', 'x', 123, 126, 127, 124, 'q', 'x', 'u', 'k', 'b'};
  EXPECT_THROW(Z::TrigramDecode(trigrams.data(), int(trigrams.size()), out, 10), std::exception);

  Bytes main{0, 2, 2}, one{2};
  const Bytes side{5, 6};
  EXPECT_THROW(Z::MergeSymbols(main.data(), 3, side.data(), 1), std::exception);
  EXPECT_THROW(Z::MergeSymbols(one.data(), 1, side.data(), 2), std::exception);
  const Bytes last = FromText("bnnaaa");
  Bytes back(6);
  for (const auto& [n, primary] : {std::pair{6, 6}, {6, -1}, {0, 0}})
    EXPECT_THROW(Z::UnsortBlock(last.data(), n, primary, back.data()), std::exception) << n << " " << primary;
}

TEST(ZZipStages, DeltaTakesTheDistanceTheDataVariesOver)
{
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
  const Bytes* inputs[] = {&noise, &smooth, &pairs, &triples, &words, &stereo};
  for (int type = 0; type <= 5; ++type)
    EXPECT_EQ(Z::ChooseDelta(inputs[type]->data(), n), type);
}

// The order the block sort must produce, compared directly: the data continues with 0xFF bytes.
TEST(ZZipStages, BlockSortMatchesDirectComparisonAndInverts)
{
  std::vector<Bytes> cases{FromText("banana"),      {7}, {0xFF, 0x00}, {0x00, 0xFF}, Bytes(300, 'a'),
                           FromText("abababababab")};
  for (unsigned seed = 0; seed < 60; ++seed) {
    Bytes data = RandomBytes(1 + seed * 7, seed % 3 == 0 ? 2 : seed % 3 == 1 ? 4 : 256, seed);
    if (seed % 4 == 0)
      std::replace(data.begin(), data.end(), uint8_t(1), uint8_t(0xFF));
    cases.push_back(data);
  }
  Bytes periodic;
  for (int i = 0; i < 500; ++i)
    periodic.push_back(uint8_t("xyzzy"[i % 5]));
  cases.push_back(periodic);
  for (Bytes data : cases) {
    const int n = int(data.size());
    // As the packer does: a last 0xFF becomes 0xFF minus the byte before, so no two suffixes tie.
    if (n >= 2 && data[n - 1] == 0xFF)
      data[n - 1] = uint8_t(0xFF - data[n - 2]);
    std::vector<int> order(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
      order[i] = i;
    auto at = [&](int p) { return p < n ? data[p] : uint8_t(0xFF); };
    std::sort(order.begin(), order.end(), [&](int a, int b) {
      for (int d = 0; d <= n; ++d)
        if (at(a + d) != at(b + d))
          return at(a + d) < at(b + d);
      return false;
    });
    Bytes expected(static_cast<size_t>(n)), last(static_cast<size_t>(n)), back(static_cast<size_t>(n));
    int expectedPrimary = -1;
    for (int k = 0; k < n; ++k) {
      expected[k] = data[(order[k] + n - 1) % n];
      if (order[k] == 0)
        expectedPrimary = k;
    }
    const int primary = Z::SortBlock(data.data(), n, last.data());
    ASSERT_EQ(primary, expectedPrimary);
    ASSERT_EQ(last, expected);
    Z::UnsortBlock(last.data(), n, primary, back.data());
    ASSERT_EQ(back, data);
  }
}

// Runs of rank 0 and of ranks below 2 are skipped eight at a time; runs of every length at every
// alignment must still come out as the plain definition of move-to-front gives them.
TEST(ZZipStages, WordScansOfRanksAgreeWithTheDefinitions)
{
  std::mt19937 rng(3);
  for (int round = 0; round < 400; ++round) {
    Bytes ranks;
    while (ranks.size() < 300) {
      ranks.insert(ranks.end(), rng() % 20, 0);
      const unsigned kind = rng() % 3;
      ranks.push_back(uint8_t(kind == 0 ? 1 : kind == 1 ? 2 + rng() % 5 : rng() % 256));
    }
    // The byte at the rank, then the moves: rank 1 swaps with the front only after a move.
    Bytes table(256), expected(ranks.size());
    for (int v = 0; v < 256; ++v)
      table[size_t(v)] = uint8_t(v);
    bool recent = false;
    for (size_t i = 0; i < ranks.size(); ++i) {
      const int r = ranks[i];
      const uint8_t value = table[size_t(r)];
      expected[i] = value;
      if (r == 1 && recent)
        std::swap(table[0], table[1]);
      if (r >= 2) {
        table.erase(table.begin() + r);
        table.insert(table.begin() + 1, value);
      }
      recent = r != 0;
    }
    const Stage& mtf = StageNamed("move to front");
    ASSERT_EQ(mtf.decode(ranks), expected) << "round " << round;
    ASSERT_EQ(mtf.encode(expected), ranks) << "round " << round;
    ASSERT_EQ(StageNamed("split").decode(StageNamed("split").encode(ranks)), ranks);
    Bytes main = ranks, side;
    Z::SplitSymbols(main.data(), int(main.size()), side);
    main[rng() % main.size()] = 3;  // a main stream with a symbol above 2
    EXPECT_THROW(Z::MergeSymbols(main.data(), int(main.size()), side.data(), int(side.size())), Exception);
  }
}

}  // namespace
