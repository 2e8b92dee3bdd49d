// Coder of the side stream: each rank of 2 and above as a group number plus an offset inside the
// group, both under frequency-sorted adaptive models.
#include <algorithm>
#include <bit>
#include <cstring>
#include <utility>

#include "Exceptions.h"
#include "settings/ZZipArith.h"
#include "settings/ZZipStream.h"

namespace {

constexpr uint32_t GroupTotalLimit = 256;

}  // namespace

void BZZipStream::InitRankTable(RankModel& model, int size)
{
  model.Size = size;
  for (int r = 1; r <= size; ++r) {
    model.Symbol[r] = r - 1;
    model.RankOf[r - 1] = r;
    model.Count[r] = 1;
    model.Cum[r] = uint32_t(size - r);
  }
  model.Total = uint32_t(size);
}

void BZZipStream::InitRankModels(int largest)
{
  std::fill(std::begin(GroupSize), std::end(GroupSize), 0);
  std::fill(std::begin(GroupEmpty), std::end(GroupEmpty), false);
  GroupSize[0] = 1;
  int filled = 0;
  for (int g = 1, remaining = largest - 1; remaining > 0; ++g) {
    if ((1 << g) <= remaining) {
      GroupSize[g] = 1 << g;
      remaining -= 1 << g;
      filled = g;
    } else {
      GroupSize[g - 1] += remaining;
      GroupEmpty[g] = true;
      break;
    }
  }
  GroupCount = 1 + filled;
  InitRankTable(GroupModel, GroupCount);
  for (int g = 1; g <= filled; ++g)
    InitRankTable(OffsetModels[g], GroupSize[g]);
}

bool BZZipStream::GroupOf(int value, int& group, int& offset) const
{
  int g = std::bit_width(unsigned(value + 1)) - 1;
  if (g >= GroupCount) {
    if (!GroupEmpty[g])
      return false;
    --g;
  }
  group = g;
  offset = value + 1 - (1 << g);
  return g == 0 ? value == 0 : offset < GroupSize[g];
}

namespace {

void Halve(int size, uint32_t* count, uint32_t* cum, uint32_t& total)
{
  uint32_t sum = 0;
  for (int r = size; r >= 1; --r) {
    count[r] = (count[r] + 1) / 2;
    cum[r] = sum;
    sum += count[r];
  }
  total = sum;
}

// Adds 1 to the cumulative values of ranks 1 to q - 1, four at a time: models of the larger groups
// have a hundred ranks and more.
void AddOneBefore(uint32_t* cum, int q)
{
  using Four = uint32_t __attribute__((vector_size(16)));
  int r = 1;
  for (; r + 4 <= q; r += 4) {
    Four v;
    std::memcpy(&v, cum + r, sizeof v);
    v += 1;
    std::memcpy(cum + r, &v, sizeof v);
  }
  for (; r < q; ++r)
    cum[r] += 1;
}

// The smallest rank holding the same count as rank r.
int FirstWithCount(const uint32_t* count, int r, uint32_t c)
{
  while (r > 1 && count[r - 1] == c)
    --r;
  return r;
}

}  // namespace

void BZZipStream::UpdateRankModel(RankModel& model, int rank)
{
  if (model.Total >= std::min<uint32_t>(128u * uint32_t(model.Size), 16384u))
    Halve(model.Size, model.Count, model.Cum, model.Total);
  auto swapRanks = [&model](int a, int b) {
    std::swap(model.Symbol[a], model.Symbol[b]);
    model.RankOf[model.Symbol[a]] = a;
    model.RankOf[model.Symbol[b]] = b;
  };
  const int q = FirstWithCount(model.Count, rank, model.Count[rank]);
  if (q < rank)
    swapRanks(q, rank);
  model.Count[q] += 1;
  AddOneBefore(model.Cum, q);
  model.Total += 1;
}

void BZZipStream::UpdateGroupModel(RankModel& model, int rank)
{
  if (model.Total >= GroupTotalLimit)
    Halve(model.Size, model.Count, model.Cum, model.Total);
  auto swapRanks = [&model](int a, int b) {
    std::swap(model.Symbol[a], model.Symbol[b]);
    model.RankOf[model.Symbol[a]] = a;
    model.RankOf[model.Symbol[b]] = b;
  };
  const uint32_t c = model.Count[rank];
  const int q = FirstWithCount(model.Count, rank, c);
  swapRanks(q, rank);
  const int p = q > 1 && model.Count[q - 1] == c + 1 ? FirstWithCount(model.Count, q - 1, c + 1) : q;
  if (p < q)
    swapRanks(p, q);
  if (p == q) {
    model.Count[p] += 2;
  } else {
    model.Count[p] += 1;
    model.Count[q] += 1;
  }
  for (int r = p; r < q; ++r)
    model.Cum[r] += 1;
  for (int r = 1; r < p; ++r)
    model.Cum[r] += 2;
  model.Total += 2;
}

namespace {

template <typename Model>
void EncodeRank(zzip::ArithEncoder& coder, const Model& model, int symbol)
{
  const int r = model.RankOf[symbol];
  coder.Encode(model.Cum[r], model.Cum[r] + model.Count[r], model.Total);
}

// Rank 1 lies at the top: the first rank whose cumulative value is not above the code.
template <typename Model>
int DecodeRank(zzip::ArithDecoder& coder, const Model& model)
{
  const zzip::ArithDecoder::Position at = coder.Locate(model.Total);
  int r = 1;
  while (at.Below(model.Cum[r]))
    ++r;
  coder.Consume(model.Cum[r], model.Cum[r] + model.Count[r], model.Total);
  return r;
}

}  // namespace

int BZZipStream::EncodeHighRanks(int count, const uint8_t* symbols, int largest, std::vector<uint8_t>& out)
{
  InitRankModels(largest);
  zzip::ArithEncoder coder(out);
  for (int i = 0; i < count; ++i) {
    const int x = symbols[i];
    int group, offset;
    if (x < 2 || x > largest || !GroupOf(x - 2, group, offset))
      throw Exception();
    EncodeRank(coder, GroupModel, group);
    UpdateGroupModel(GroupModel, GroupModel.RankOf[group]);
    if (group >= 1) {
      RankModel& model = OffsetModels[group];
      EncodeRank(coder, model, offset);
      UpdateRankModel(model, model.RankOf[offset]);
    }
  }
  coder.Finish();
  return int(out.size());
}

void BZZipStream::DecodeHighRanks(int count, uint8_t* output, int largest, const uint8_t* input, int inputLength)
{
  if (count > 0 && largest < 2)
    throw Exception();
  InitRankModels(largest);
  zzip::ArithDecoder coder(input, inputLength);
  for (int i = 0; i < count; ++i) {
    const int rank = DecodeRank(coder, GroupModel);
    const int group = GroupModel.Symbol[rank];
    UpdateGroupModel(GroupModel, rank);
    int value = 0;
    if (group >= 1) {
      RankModel& model = OffsetModels[group];
      const int offsetRank = DecodeRank(coder, model);
      value = (1 << group) - 1 + model.Symbol[offsetRank];
      UpdateRankModel(model, offsetRank);
    }
    if (value + 2 > 255)
      throw Exception();
    output[i] = uint8_t(value + 2);
  }
}
