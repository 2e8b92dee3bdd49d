// The block sort. Suffixes are ordered as if the data went on with endless 0xFF bytes; once the
// last byte is not a lone 0xFF run that is the order in which the end of the data sorts above
// every byte. Sorting the complemented bytes with the end below every byte and reading the result
// backwards gives exactly that order, and induced sorting (SA-IS) keeps it linear in time however
// repetitive the data is.
#include <algorithm>

#include "Exceptions.h"
#include "settings/ZZipStream.h"

namespace {

// Suffix array of s[0..n), whose last symbol is a unique sentinel smaller than all others;
// symbols lie in 0..alphabet-1. The top bit of each symbol is free on entry: it receives the
// suffix's type (set for S), so the inducing scans find symbol and type in one memory access.
template <typename Symbol>
void InducedSort(Symbol* s, int* sa, int n, int alphabet)
{
  constexpr Symbol TypeS = Symbol(Symbol(1) << (sizeof(Symbol) * 8 - 1));
  constexpr Symbol Value = Symbol(~TypeS);
  s[n - 1] |= TypeS;
  for (int i = n - 2; i >= 0; --i)
    if (s[i] < (s[i + 1] & Value) || (s[i] == (s[i + 1] & Value) && (s[i + 1] & TypeS)))
      s[i] |= TypeS;
  auto isLms = [s](int i) { return i > 0 && (s[i] & TypeS) && !(s[i - 1] & TypeS); };

  std::vector<int> counts(static_cast<size_t>(alphabet), 0), bucket(static_cast<size_t>(alphabet));
  for (int i = 0; i < n; ++i)
    ++counts[s[i] & Value];
  auto bucketEnds = [&] {
    int sum = 0;
    for (int c = 0; c < alphabet; ++c)
      bucket[c] = sum += counts[c];
  };
  auto bucketStarts = [&] {
    int sum = 0;
    for (int c = 0; c < alphabet; ++c) {
      bucket[c] = sum;
      sum += counts[c];
    }
  };
  auto induce = [&] {
    bucketStarts();
    for (int i = 0; i < n; ++i) {
      const int j = sa[i] - 1;
      if (j >= 0 && !(s[j] & TypeS))
        sa[bucket[s[j]]++] = j;
    }
    bucketEnds();
    for (int i = n - 1; i >= 0; --i) {
      const int j = sa[i] - 1;
      if (j >= 0 && (s[j] & TypeS))
        sa[--bucket[s[j] & Value]] = j;
    }
  };

  // Sort the LMS substrings by inducing from their unsorted positions.
  std::fill(sa, sa + n, -1);
  bucketEnds();
  for (int i = 1; i < n; ++i)
    if (isLms(i))
      sa[--bucket[s[i] & Value]] = i;
  induce();

  // Name the LMS substrings in sorted order; equal substrings (symbols and types) share a name.
  int lmsCount = 0;
  for (int i = 0; i < n; ++i)
    if (isLms(sa[i]))
      sa[lmsCount++] = sa[i];
  std::fill(sa + lmsCount, sa + n, -1);
  int names = 0, previous = -1;
  for (int i = 0; i < lmsCount; ++i) {
    const int pos = sa[i];
    bool differ = previous < 0;
    for (int d = 0; !differ; ++d) {
      if (s[pos + d] != s[previous + d])
        differ = true;
      else if (d > 0 && (isLms(pos + d) || isLms(previous + d)))
        break;
    }
    if (differ) {
      ++names;
      previous = pos;
    }
    sa[lmsCount + pos / 2] = names - 1;
  }
  for (int i = n - 1, j = n - 1; i >= lmsCount; --i)
    if (sa[i] >= 0)
      sa[j--] = sa[i];

  // Order the LMS suffixes: directly when every name is unique, else by sorting the names.
  int* reducedSa = sa;
  int* reduced = sa + n - lmsCount;
  if (names < lmsCount)
    InducedSort(reinterpret_cast<uint32_t*>(reduced), reducedSa, lmsCount, names);
  else
    for (int i = 0; i < lmsCount; ++i)
      reducedSa[reduced[i]] = i;

  // Induce the whole order from the sorted LMS suffixes.
  for (int i = 1, j = 0; i < n; ++i)
    if (isLms(i))
      reduced[j++] = i;
  for (int i = 0; i < lmsCount; ++i)
    reducedSa[i] = reduced[reducedSa[i]];
  std::fill(sa + lmsCount, sa + n, -1);
  bucketEnds();
  for (int i = lmsCount - 1; i >= 0; --i) {
    const int j = sa[i];
    sa[i] = -1;
    sa[--bucket[s[j] & Value]] = j;
  }
  induce();
}

}  // namespace

int BZZipStream::SortBlock(const uint8_t* data, int n, uint8_t* out)
{
  if (n <= 0)
    return 0;
  std::vector<uint16_t> complemented(size_t(n) + 1);
  for (int i = 0; i < n; ++i)
    complemented[i] = uint16_t(256 - data[i]);
  complemented[n] = 0;
  std::vector<int> sa(size_t(n) + 1);
  InducedSort(complemented.data(), sa.data(), n + 1, 257);
  complemented = {};
  // sa[0] is the sentinel; the others, read from the back, are the suffixes in block order.
  int primary = 0;
  for (int k = 0; k < n; ++k) {
    const int start = sa[n - k];
    if (start == 0) {
      primary = k;
      out[k] = data[n - 1];
    } else {
      out[k] = data[start - 1];
    }
  }
  return primary;
}
