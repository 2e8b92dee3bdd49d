// The packer's reversible stages: the exact bytes the format fixes for small inputs (their round
// trips over long data are the blocks' random test), and the block sort, its inverse and
// move-to-front against their plain definitions.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <sstream>

#include "ZZipTestSupport.h"
#include "settings/ZZipUnsort.h"

namespace {

// A stage as a pair of functions over whole byte strings.
struct Stage {
  std::string name;
  std::function<Bytes(Bytes)> encode, decode;
};

template <auto F, int... Limit>
Bytes Out(Bytes b)
{
  Bytes o;
  F(b.data(), int(b.size()), o, Limit...);
  return o;
}

template <auto F, int... Type>
Bytes InPlace(Bytes b)
{
  F(b.data(), int(b.size()), Type...);
  return b;
}

std::vector<Stage> Stages()
{
  return {
      {"run length", Out<Z::RunLengthEncode>, Out<Z::RunLengthDecode, 1 << 26>},
      {"text filter", Out<Z::TextFilterEncode>, Out<Z::TextFilterDecode>},
      {"trigram", Out<Z::TrigramEncode>, Out<Z::TrigramDecode, 1 << 26>},
      {"call filter", InPlace<Z::CallFilterEncode>, InPlace<Z::CallFilterDecode>},
      {"record transform", InPlace<Z::RecordTransformEncode>, InPlace<Z::RecordTransformDecode>},
      {"move to front", InPlace<Z::MoveToFrontEncode>, InPlace<Z::MoveToFrontDecode>},
      // The side stream's length and the side stream before the main one.
      {"split",
       [](Bytes b) {
         Bytes side;
         Z::SplitSymbols(b.data(), int(b.size()), side);
         Bytes out;
         Put32(out, uint32_t(side.size()));
         out.insert(out.end(), side.begin(), side.end());
         out.insert(out.end(), b.begin(), b.end());
         return out;
       },
       [](Bytes b) {
         const size_t k = Field32(b, 0);
         Bytes main(b.begin() + 4 + long(k), b.end());
         Z::MergeSymbols(main.data(), int(main.size()), b.data() + 4, int(k));
         return main;
       }},
      {"delta 1", InPlace<Z::DeltaEncode, 1>, InPlace<Z::DeltaDecode, 1>},
      {"delta 2", InPlace<Z::DeltaEncode, 2>, InPlace<Z::DeltaDecode, 2>},
      {"delta 3", InPlace<Z::DeltaEncode, 3>, InPlace<Z::DeltaDecode, 3>},
      {"delta 4", InPlace<Z::DeltaEncode, 4>, InPlace<Z::DeltaDecode, 4>},
      {"delta 5", InPlace<Z::DeltaEncode, 5>, InPlace<Z::DeltaDecode, 5>},
  };
}

const Stage& StageNamed(const std::string& name)
{
  static const std::vector<Stage> AllStages = Stages();
  return *std::find_if(AllStages.begin(), AllStages.end(), [&](const Stage& s) { return s.name == name; });
}

}  // namespace

// The outputs the format fixes (tests/data/program/zzip_stages.txt), each read back to its input.
TEST(ZZipStages, SmallInputsGiveTheFormatsBytes)
{
  std::ifstream file(DRAVOLIN_TEST_DATA "/program/zzip_stages.txt");
  int cases = 0;
  for (std::string line; std::getline(file, line);) {
    if (line.empty() || line[0] == '#')
      continue;
    Bytes in, out;
    std::istringstream bytes(line.substr(line.find(':') + 1));
    for (std::string hex; bytes >> hex;)
      if (hex == "=>")
        std::swap(in, out);
      else
        out.push_back(uint8_t(std::stoul(hex, nullptr, 16)));
    const Stage& stage = StageNamed(line.substr(0, line.find(':')));
    ASSERT_EQ(stage.encode(in), out) << line;
    EXPECT_EQ(stage.decode(out), in) << line;
    ++cases;
  }
  EXPECT_EQ(cases, 13);
  Bytes side, binary{0, 1, 1, 0}, ranks{0, 7, 255, 1};
  EXPECT_EQ(Z::SplitSymbols(binary.data(), 4, side), 1);  // the largest rank, 1 if none is 2 or more
  EXPECT_EQ(Z::SplitSymbols(ranks.data(), 4, side), 255);
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
  for (uint32_t step : {0u, 1u, 3u, 100u})  // mark steps that are no powers of two
    EXPECT_THROW(zzip::UnsortChained(last.data(), 3, 0, back.data(), step), Exception) << step;
  EXPECT_THROW(zzip::UnsortChained(last.data(), 3, 3, back.data(), 2), Exception);
  EXPECT_THROW(zzip::UnsortPlain(last.data(), 0, 0, back.data()), Exception);
}

// The order the block sort must produce, compared directly: the data continues with 0xFF bytes.
// The inverse, as one walk and as many short chains, gives the data back.
TEST(ZZipStages, BlockSortMatchesDirectComparisonAndInverts)
{
  std::vector<Bytes> cases{FromText("banana"),      {7}, {0xFF, 0x00}, {0x00, 0xFF}, Bytes(300, 'a'),
                           FromText("abababababab")};
  for (unsigned seed = 0; seed < 60; ++seed) {
    Bytes data = Random(1 + seed * 7, seed, seed % 3 == 0 ? 2 : seed % 3 == 1 ? 4 : 256);
    if (seed % 4 == 0)
      std::replace(data.begin(), data.end(), uint8_t(1), uint8_t(0xFF));
    cases.push_back(data);
  }
  for (size_t period : {2, 5, 43, 97, 4096}) {
    const Bytes unit = Random(period, unsigned(period));
    Bytes& b = cases.emplace_back();
    for (size_t i = 0; i < 40001; ++i)
      b.push_back(unit[i % period]);
  }
  for (const Bytes& big : {Bytes(5000, 0x41), Random(30000, 2, 2), Random(120000, 6), Random(300000, 7, 5)})
    cases.push_back(big);  // the last past the size that takes bigger chunks
  for (Bytes data : cases) {
    const int n = int(data.size());
    // As the packer does: a last 0xFF becomes 0xFF minus the byte before, so no two suffixes tie.
    if (n >= 2 && data[n - 1] == 0xFF)
      data[n - 1] = uint8_t(0xFF - data[n - 2]);
    Bytes last(static_cast<size_t>(n)), back(static_cast<size_t>(n));
    const int primary = Z::SortBlock(data.data(), n, last.data());
    if (n < 5000) {
      std::vector<int> order(static_cast<size_t>(n));
      for (int i = 0; i < n; ++i)
        order[size_t(i)] = i;
      auto at = [&](int p) { return p < n ? data[size_t(p)] : uint8_t(0xFF); };
      std::sort(order.begin(), order.end(), [&](int a, int b) {
        for (int d = 0; d <= n; ++d)
          if (at(a + d) != at(b + d))
            return at(a + d) < at(b + d);
        return false;
      });
      Bytes expected(static_cast<size_t>(n));
      for (int k = 0; k < n; ++k)
        expected[size_t(k)] = data[size_t((order[size_t(k)] + n - 1) % n)];
      ASSERT_EQ(order[size_t(primary)], 0) << n;
      ASSERT_EQ(last, expected) << n;
    }
    Z::UnsortBlock(last.data(), n, primary, back.data());
    ASSERT_EQ(back, data);
    for (uint32_t step : {2u, 16u, 4096u}) {
      zzip::UnsortChained(last.data(), n, primary, back.data(), step);
      ASSERT_EQ(back, data) << n << ", marks every " << step;
    }
  }
}

// Any last column and primary make some permutation of the rows; when the primary's cycle is
// shorter than the block, the walk goes round it again and again. The chained walk must agree.
TEST(ZZipStages, DamagedColumnsUnsortAlikeInChains)
{
  std::mt19937 rng(99);
  for (int round = 0; round < 300; ++round) {
    const size_t n = 1 + rng() % (round < 250 ? 3000 : 200000);
    const Bytes last = Random(n, unsigned(round), 1 + rng() % 6);
    const int primary = int(rng() % n);
    Bytes expected(n), out(n);
    zzip::UnsortPlain(last.data(), int(n), primary, expected.data());
    for (uint32_t step : {2u, 8u, 1024u}) {
      zzip::UnsortChained(last.data(), int(n), primary, out.data(), step);
      ASSERT_EQ(out, expected) << "round " << round << ", n " << n << ", step " << step;
    }
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
