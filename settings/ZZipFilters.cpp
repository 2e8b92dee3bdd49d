// The packer's reversible byte filters chosen by looking at the data: run lengths, the record
// transform, the delta filters, the x86 call filter and the reversal.
#include <algorithm>
#include <cstdlib>

#include "Exceptions.h"
#include "settings/ZZipStream.h"

namespace {

uint32_t Get32(const uint8_t* p)
{
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

void Put32(uint8_t* p, uint32_t v)
{
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
  p[2] = uint8_t(v >> 16);
  p[3] = uint8_t(v >> 24);
}

constexpr int RecordHead = 0x910;  // bytes left as they are before the records
constexpr int RecordSize = 13;

}  // namespace

void BZZipStream::ChooseFilters(const uint8_t* data, int n, bool allowModes)
{
  uint64_t histogram[256] = {};
  uint64_t heCount = 0, callCount = 0;
  int longest = 0, stretch = 0;
  for (int i = 0; i < n; ++i) {
    const uint8_t b = data[i];
    ++histogram[b];
    if (i + 1 < n) {
      if (b == 0x68 && data[i + 1] == 0x65)
        ++heCount;
      stretch = b == data[i + 1] ? stretch + 1 : 0;
      longest = std::max(longest, stretch);
    }
    if (b == 0xE8 && i + 4 < n && data[i + 4] == 0)
      ++callCount;
  }
  RunLengthFlag = longest > 512;
  Mode = ModeNone;
  TrigramFlag = false;
  int top = 0;
  bool allValues = true;
  uint64_t low = 0, high = 0;
  for (int v = 0; v < 256; ++v) {
    if (histogram[v] != 0)
      top = v;
    else
      allValues = false;
    if (v <= 9)
      low += histogram[v];
    if (v >= 128)
      high += histogram[v];
  }
  if (allValues && allowModes)
    Mode = ModeReversed;
  if (allowModes && Mode == ModeNone && top >= 33 && low + high < uint64_t(n / 16))
    Mode = ModeText;
  TrigramFlag = Mode == ModeText && top < 249 && n > 0x20000 && heCount * 1000 > uint64_t(n) * 4;
  const uint64_t e8 = histogram[0xE8];
  if (allowModes && (Mode == ModeNone || Mode == ModeReversed) && e8 * 128 > uint64_t(n) && callCount * 6 > e8)
    Mode = ModeCallReversed;
}

void BZZipStream::RunLengthEncode(const uint8_t* in, int n, std::vector<uint8_t>& out)
{
  out.clear();
  out.reserve(size_t(n) + size_t(n) / 7 + 2);
  uint8_t previous = 0;
  int repeats = 0;
  for (int i = 0; i < n;) {
    const uint8_t b = in[i++];
    out.push_back(b);
    if (b != previous) {
      previous = b;
      repeats = 0;
      continue;
    }
    if (++repeats < 7)
      continue;
    repeats = 0;
    uint32_t k = 0;
    while (i < n && in[i] == b) {
      ++k;
      ++i;
    }
    for (; k != 0; k >>= 1)
      out.push_back(uint8_t(b + (k & 1)));
    if (i == n || in[i] == uint8_t(b + 1) || in[i] == uint8_t(b + 2))
      out.push_back(uint8_t(b + 2));
  }
}

void BZZipStream::RunLengthDecode(const uint8_t* in, int n, std::vector<uint8_t>& out, int limit)
{
  out.clear();
  uint8_t previous = 0;
  int repeats = 0;
  for (int i = 0; i < n;) {
    const uint8_t b = in[i++];
    if (out.size() >= size_t(limit))
      throw Exception();
    out.push_back(b);
    if (b != previous) {
      previous = b;
      repeats = 0;
      continue;
    }
    if (++repeats < 7)
      continue;
    repeats = 0;
    uint64_t k = 0;
    for (int bit = 0; i < n && uint8_t(in[i] - b) <= 1; ++bit, ++i) {
      if (bit >= 32)
        throw Exception();
      k |= uint64_t(uint8_t(in[i] - b)) << bit;
    }
    if (i < n && in[i] == uint8_t(b + 2))
      ++i;
    if (k > uint64_t(limit) - out.size())
      throw Exception();
    out.insert(out.end(), size_t(k), b);
  }
}

bool BZZipStream::RecordTransformApplies(const uint8_t* data, int n)
{
  return n >= 84 && Get32(data + 40) == 0x09A00000 && Get32(data + 80) == 0x03A00505;
}

void BZZipStream::RecordTransformEncode(uint8_t* data, int n)
{
  if (n <= RecordHead)
    return;
  const int m = n - RecordHead;
  uint8_t* records = data + RecordHead;
  std::vector<uint8_t> diff(static_cast<size_t>(m));
  for (int j = 0; j < m; ++j)
    diff[j] = uint8_t(records[j] - records[j - RecordSize]);
  int o = 0;
  for (int column = 0; column < RecordSize; ++column)
    for (int j = column; j < m; j += RecordSize)
      records[o++] = diff[j];
}

void BZZipStream::RecordTransformDecode(uint8_t* data, int n)
{
  if (n <= RecordHead)
    return;
  const int m = n - RecordHead;
  uint8_t* records = data + RecordHead;
  const std::vector<uint8_t> diff(records, records + m);
  int o = 0;
  for (int column = 0; column < RecordSize; ++column)
    for (int j = column; j < m; j += RecordSize)
      records[j] = uint8_t(diff[o++] + records[j - RecordSize]);
}

int BZZipStream::ChooseDelta(const uint8_t* data, int n)
{
  auto w = [data](int p) { return int(data[p] | data[p + 1] << 8); };
  int64_t s1 = 0, s2 = 0, s3 = 0, s4 = 0, s5 = 0;
  for (int p = 4; p < n - 1; p += 2) {
    const uint8_t* b = data + p;
    s1 += std::abs(b[1] - b[0]) + std::abs(b[0] - b[-1]);
    s2 += std::abs(b[1] - b[-1]) + std::abs(b[0] - b[-2]);
    s3 += std::abs(b[1] - b[-2]) + std::abs(b[0] - b[-3]);
    s4 += std::abs(w(p) - w(p - 2)) / 256;
    s5 += std::abs(w(p) - w(p - 4)) / 256;
  }
  const int64_t n64 = n;
  if (s1 < 13 * n64)
    return 1;
  if (s2 < 13 * n64)
    return 2;
  if (s3 < 14 * n64)
    return 3;
  if (s4 < 13 * n64)
    return 4;
  if (s5 < 17 * n64)
    return 5;
  return 0;
}

// Types 1 to 3 subtract the byte 1 to 3 places back, types 4 and 5 the 16-bit word 1 or 2 words
// back. A word cut by the end of the data keeps only its low byte, which the high bytes cannot reach.
void BZZipStream::DeltaEncode(uint8_t* data, int n, int type)
{
  if (n <= 4)
    return;
  if (type >= 1 && type <= 3) {
    for (int i = n - 1; i >= 4; --i)
      data[i] = uint8_t(data[i] - data[i - type]);
    return;
  }
  const int d = type == 4 ? 2 : 4;
  const int lastWord = 4 + (n - 5) / 2 * 2;
  for (int p = lastWord; p >= 4; p -= 2) {
    if (p + 1 < n) {
      const int v = (data[p] | data[p + 1] << 8) - (data[p - d] | data[p - d + 1] << 8);
      data[p] = uint8_t(v);
      data[p + 1] = uint8_t(v >> 8);
    } else {
      data[p] = uint8_t(data[p] - data[p - d]);
    }
  }
}

void BZZipStream::DeltaDecode(uint8_t* data, int n, int type)
{
  if (type >= 1 && type <= 3) {
    for (int i = 4; i < n; ++i)
      data[i] = uint8_t(data[i] + data[i - type]);
    return;
  }
  const int d = type == 4 ? 2 : 4;
  for (int p = 4; p < n; p += 2) {
    if (p + 1 < n) {
      const int v = (data[p] | data[p + 1] << 8) + (data[p - d] | data[p - d + 1] << 8);
      data[p] = uint8_t(v);
      data[p + 1] = uint8_t(v >> 8);
    } else {
      data[p] = uint8_t(data[p] + data[p - d]);
    }
  }
}

void BZZipStream::CallFilterEncode(uint8_t* data, int n)
{
  for (int i = 0; i < n - 6;) {
    if (data[i] != 0xE8) {
      ++i;
      continue;
    }
    Put32(data + i + 1, Get32(data + i + 1) + uint32_t(i + 1));
    i += 5;
  }
}

void BZZipStream::CallFilterDecode(uint8_t* data, int n)
{
  for (int i = 0; i < n - 6;) {
    if (data[i] != 0xE8) {
      ++i;
      continue;
    }
    Put32(data + i + 1, Get32(data + i + 1) - uint32_t(i + 1));
    i += 5;
  }
}

void BZZipStream::ReverseBytes(uint8_t* data, int n)
{
  std::reverse(data, data + n);
}
