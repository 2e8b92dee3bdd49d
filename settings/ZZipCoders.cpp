// Coder of the main stream: symbols 0, 1 and 2 under an order-3 context model.
#include "Exceptions.h"
#include "settings/ZZipArith.h"
#include "settings/ZZipStream.h"

namespace {

constexpr uint32_t HalvingLimit[14] = {256, 96, 128, 128, 144, 144, 144, 144, 144, 144, 144, 128, 128, 256};
constexpr uint8_t ContextModel[27] = {0, 1, 7, 2, 3, 8, 4, 10, 9, 2, 12, 11, 2, 3,
                                      8, 5, 5, 9, 4, 7, 8, 4, 10, 9, 6, 6, 13};
constexpr uint32_t ZeroRunLimit = 8192;

// Which symbol lies at the bottom, middle and top of the interval, from the widths A, B, C.
void Layout(const uint32_t counts[3], int order[3]) {
  const uint32_t a = counts[0] + 1, b = counts[1] + 1, c = counts[2] + 1;
  auto set = [order](int bottom, int middle, int top) {
    order[0] = bottom;
    order[1] = middle;
    order[2] = top;
  };
  if (b > a) {
    if (c > a) c > b ? set(0, 1, 2) : set(0, 2, 1);
    else set(2, 0, 1);
  } else if (c > b) {
    a > c ? set(1, 2, 0) : set(1, 0, 2);
  } else {
    set(2, 1, 0);
  }
}

uint32_t Total(const uint32_t counts[3]) { return counts[0] + counts[1] + counts[2] + 3; }

}  // namespace

void BZZipStream::ResetModel() {
  for (auto& counts : MainCounts) counts[0] = counts[1] = counts[2] = 0;
  ZeroRun = true;
}

void BZZipStream::OrderContextEnc(int model, int symbol, uint32_t& low, uint32_t& high) const {
  int order[3];
  Layout(MainCounts[model], order);
  low = 0;
  for (int i = 0;; ++i) {
    const uint32_t width = MainCounts[model][order[i]] + 1;
    if (order[i] == symbol) {
      high = low + width;
      return;
    }
    low += width;
  }
}

int BZZipStream::OrderContextDec(int model, uint32_t scaled, uint32_t range, uint32_t& low, uint32_t& high) const {
  int order[3];
  Layout(MainCounts[model], order);
  low = 0;
  for (int i = 0; i < 3; ++i) {
    high = low + MainCounts[model][order[i]] + 1;
    if (scaled < high * range) return order[i];
    low = high;
  }
  throw Exception();
}

void BZZipStream::UpdateMainModel(int model, int symbol, int context) {
  uint32_t* counts = MainCounts[model];
  if (!ZeroRun && symbol == 0 && context == 0) {
    counts[0] = counts[0] / 2 + 3;
    counts[1] /= 2;
    counts[2] /= 2;
    ZeroRun = true;
    return;
  }
  if (symbol != 0) ZeroRun = false;
  const uint32_t limit = ZeroRun ? ZeroRunLimit : HalvingLimit[model];
  if (limit < Total(counts))
    for (int i = 0; i < 3; ++i) counts[i] /= 2;
  counts[symbol] += 2;
}

int BZZipStream::EncodeSymbols(int count, const uint8_t* symbols, std::vector<uint8_t>& out) {
  ResetModel();
  zzip::ArithEncoder coder(out);
  int context = 0;
  for (int i = 0; i < count; ++i) {
    const int symbol = symbols[i];
    if (symbol > 2) throw Exception();
    const int model = ContextModel[context];
    uint32_t low, high;
    OrderContextEnc(model, symbol, low, high);
    coder.Encode(low, high, Total(MainCounts[model]));
    UpdateMainModel(model, symbol, context);
    context = context % 9 * 3 + symbol;
  }
  coder.Finish();
  return int(out.size());
}

void BZZipStream::DecodeSymbols(int count, uint8_t* output, const uint8_t* input, int inputLength) {
  ResetModel();
  zzip::ArithDecoder coder(input, inputLength);
  int context = 0;
  for (int i = 0; i < count; ++i) {
    const int model = ContextModel[context];
    const uint32_t total = Total(MainCounts[model]);
    uint32_t low, high;
    const zzip::ArithDecoder::Position at = coder.Locate(total);
    const int symbol = OrderContextDec(model, at.scaled, at.range, low, high);
    coder.Consume(low, high, total);
    output[i] = uint8_t(symbol);
    UpdateMainModel(model, symbol, context);
    context = context % 9 * 3 + symbol;
  }
}
