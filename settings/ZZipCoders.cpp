// Coder of the main stream: symbols 0, 1 and 2 under an order-3 context model.
#include <algorithm>
#include <array>

#include "Exceptions.h"
#include "settings/ZZipArith.h"
#include "settings/ZZipStream.h"

namespace {

constexpr uint32_t HalvingLimit[14] = {256, 96, 128, 128, 144, 144, 144, 144, 144, 144, 144, 128, 128, 256};
constexpr uint8_t ContextModel[27] = {0, 1, 7, 2, 3, 8, 4, 10, 9,  2, 12, 11, 2, 3,
                                      8, 5, 5, 9, 4, 7, 8, 4,  10, 9, 6,  6,  13};
constexpr uint32_t ZeroRunLimit = 8192;

// The context index without its oldest symbol, moved up to make room for the next one.
constexpr auto ContextShifted = [] {
  std::array<uint8_t, 27> table{};
  for (int context = 0; context < 27; ++context)
    table[context] = uint8_t(context % 9 * 3);
  return table;
}();

// The three counts of a model packed in one word, 21 bits each from symbol 0 up; none grows past
// a few thousand.
constexpr int CountBits = 21;
constexpr uint64_t CountMask = (uint64_t(1) << CountBits) - 1;
constexpr uint64_t HalvedMask = (CountMask >> 1) * (1 | uint64_t(1) << CountBits | uint64_t(1) << 2 * CountBits);

inline uint32_t Count(uint64_t counts, int symbol)
{
  return uint32_t(counts >> CountBits * symbol & CountMask);
}
inline uint64_t Unit(int symbol)
{
  return uint64_t(1) << CountBits * symbol;
}
inline uint64_t Halved(uint64_t counts)
{
  return counts >> 1 & HalvedMask;
}

// Which symbols lie at the bottom and at the top of the interval, the third between them, by the
// order of the widths A, B, C: four bits per case, the bottom symbol in the low two, indexed by
// B > A, C > A, C > B and A > C.
constexpr uint64_t LayoutCases = [] {
  uint64_t cases = 0;
  for (int key = 0; key < 16; ++key) {
    const bool ba = key & 1, ca = key & 2, cb = key & 4, ac = key & 8;
    int bottom, top;
    if (ba) {
      bottom = ca ? 0 : 2;
      top = ca && cb ? 2 : 1;
    } else if (cb) {
      bottom = 1;
      top = ac ? 0 : 2;
    } else {
      bottom = 2;
      top = 0;
    }
    cases |= uint64_t(bottom | top << 2) << 4 * key;
  }
  return cases;
}();

// A model's layout of [0, total): each symbol takes its count + 1, from the bottom up. Equal
// widths may swap places without moving the cuts, so the cuts are simply the narrowest and the
// widest width in from either end.
struct Layout {
  uint32_t a, b, c, cut1, cut2, total;

  explicit Layout(uint64_t counts)
      : a(Count(counts, 0) + 1), b(Count(counts, 1) + 1), c(Count(counts, 2) + 1), cut1(std::min({a, b, c})),
        cut2(a + b + c - std::max({a, b, c})), total(a + b + c)
  {
  }

  // The symbols at the bottom and the top, packed as in LayoutCases.
  int Ends() const { return int(LayoutCases >> 4 * ((b > a) | (c > a) << 1 | (c > b) << 2 | (a > c) << 3) & 15); }
  int SymbolAt(int slot) const
  {
    const int ends = Ends(), bottom = ends & 3, top = ends >> 2;
    const int order = bottom | (3 - bottom - top) << 2 | top << 4;
    return order >> 2 * slot & 3;
  }
  int SlotOf(int symbol) const
  {
    const int ends = Ends();
    return symbol == (ends & 3) ? 0 : symbol == ends >> 2 ? 2 : 1;
  }
};

}  // namespace

void BZZipStream::ResetModel()
{
  for (uint64_t& counts : MainCounts)
    counts = 0;
  ZeroRun = true;
}

inline void BZZipStream::OrderContextEnc(uint64_t counts, int symbol, uint32_t& low, uint32_t& high)
{
  const Layout layout(counts);
  const uint32_t bounds[4] = {0, layout.cut1, layout.cut2, layout.total};
  const int slot = layout.SlotOf(symbol);
  low = bounds[slot];
  high = bounds[slot + 1];
}

// Without branches, as the symbols that reach it are hard to foretell.
inline int BZZipStream::OrderContextDec(uint64_t counts, uint32_t scaled, uint32_t range, uint32_t& low,
                                        uint32_t& high)
{
  const Layout layout(counts);
  const bool aboveFirst = scaled >= layout.cut1 * range, aboveSecond = scaled >= layout.cut2 * range;
  low = aboveSecond ? layout.cut2 : aboveFirst ? layout.cut1 : 0;
  high = aboveSecond ? layout.total : aboveFirst ? layout.cut2 : layout.cut1;
  return layout.SymbolAt(int(aboveFirst) + int(aboveSecond));
}

inline void BZZipStream::UpdateMainModel(uint64_t& counts, int model, int symbol, int context)
{
  if (!ZeroRun && symbol == 0 && context == 0) {
    counts = Halved(counts) + 3 * Unit(0);
    ZeroRun = true;
    return;
  }
  if (symbol != 0)
    ZeroRun = false;
  const uint32_t limit = ZeroRun ? ZeroRunLimit : HalvingLimit[model];
  if (limit < Layout(counts).total)
    counts = Halved(counts);
  counts += 2 * Unit(symbol);
}

// Through a run of zeros the context stays 0 and only the zero count of its model grows, by 2
// a symbol: once zero is the widest, it stays on top with the same width below it, until the
// halving that comes when the total passes ZeroRunLimit. Each zero then takes one test and one
// narrowing. Returns where the run ends, with the counts brought up to date.
int BZZipStream::DecodeZeros(zzip::ArithDecoder& coder, uint64_t& counts, int i, int count, uint8_t* output)
{
  const uint32_t zero = Count(counts, 0) + 1, below = Count(counts, 1) + Count(counts, 2) + 2;
  if (zero <= Count(counts, 1) + 1 || zero <= Count(counts, 2) + 1)
    return i;
  const int run = coder.TakeTopRun(below, zero + below, ZeroRunLimit, count - i);
  std::fill(output + i, output + i + run, 0);
  counts += 2 * uint64_t(run) * Unit(0);
  return i + run;
}

int BZZipStream::EncodeSymbols(int count, const uint8_t* symbols, std::vector<uint8_t>& out)
{
  ResetModel();
  zzip::ArithEncoder coder(out);
  int context = 0;
  for (int i = 0; i < count; ++i) {
    const int symbol = symbols[i];
    if (symbol > 2)
      throw Exception();
    const int model = ContextModel[context];
    uint64_t counts = MainCounts[model];
    uint32_t low, high;
    OrderContextEnc(counts, symbol, low, high);
    coder.Encode(low, high, Layout(counts).total);
    UpdateMainModel(counts, model, symbol, context);
    MainCounts[model] = counts;
    context = ContextShifted[context] + symbol;
  }
  coder.Finish();
  return int(out.size());
}

void BZZipStream::DecodeSymbols(int count, uint8_t* __restrict output, const uint8_t* input, int inputLength)
{
  ResetModel();
  zzip::ArithDecoder coder(input, inputLength);
  int context = 0;
  for (int i = 0; i < count; ++i) {
    const int model = ContextModel[context];
    uint64_t counts = MainCounts[model];
    if (context == 0 && ZeroRun) {
      i = DecodeZeros(coder, counts, i, count, output);
      if (i == count) {
        MainCounts[model] = counts;
        break;
      }
    }
    const uint32_t total = Layout(counts).total;
    uint32_t low, high;
    const zzip::ArithDecoder::Position at = coder.Locate(total);
    const int symbol = OrderContextDec(counts, at.scaled, at.range, low, high);
    coder.Consume(low, high, total);
    output[i] = uint8_t(symbol);
    UpdateMainModel(counts, model, symbol, context);
    MainCounts[model] = counts;
    context = ContextShifted[context] + symbol;
  }
}
