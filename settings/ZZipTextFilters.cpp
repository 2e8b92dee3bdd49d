// The text filter (a byte permutation that groups letters, capitals escaped as lower case) and the
// trigram filter that runs after it.
#include <cstring>

#include "Exceptions.h"
#include "settings/ZZipStream.h"

namespace {

constexpr uint8_t Escape = 96;  // the image of 30, written before an escaped byte
constexpr uint8_t LineFeed = 10;

struct Permutation {
  uint8_t Forward[256];
  uint8_t Inverse[256];
};

constexpr Permutation MakePermutation()
{
  Permutation p{};
  for (int i = 0; i < 256; ++i)
    p.Forward[i] = uint8_t(i);
  auto cycle = [&p](int a, int b, int c) {  // a -> b -> c -> a
    p.Forward[a] = uint8_t(b);
    p.Forward[b] = uint8_t(c);
    p.Forward[c] = uint8_t(a);
  };
  auto swap = [&p](int a, int b) {
    p.Forward[a] = uint8_t(b);
    p.Forward[b] = uint8_t(a);
  };
  cycle(10, 31, 32);
  swap(30, 96);
  cycle(35, 44, 45);
  swap(36, 59);
  swap(37, 58);
  swap(38, 63);
  swap(61, 62);
  const char from[] = "BCDEFGHIJKLMNOPQRSTUVW";
  const char to[] = "FGHBJIKCSTMOPDQRLNUEWV";
  for (int i = 0; from[i] != 0; ++i) {
    p.Forward[int(from[i])] = uint8_t(to[i]);
    p.Forward[from[i] + 32] = uint8_t(to[i] + 32);
  }
  for (int v = 123; v <= 248; ++v)
    p.Forward[v] = uint8_t(v + 7);
  for (int v = 249; v <= 255; ++v)
    p.Forward[v] = uint8_t(v - 126);
  for (int i = 0; i < 256; ++i)
    p.Inverse[p.Forward[i]] = uint8_t(i);
  return p;
}

constexpr Permutation Text = MakePermutation();

bool IsLowerOrBlank(uint8_t b)
{
  return b == ' ' || (b >= 'a' && b <= 'z');
}

// Trigram codes 123..129 and the byte sequences they stand for.
struct Gram {
  uint8_t Code;
  const char* Bytes;
};
constexpr Gram Trigrams[] = {{127, "jdl"}, {125, "kaw"}, {126, "aph"}, {129, "ukb"}, {128, "yde"}};
constexpr Gram Bigrams[] = {{123, "va"}, {124, "cn"}};

const char* Expansion(uint8_t code)
{
  for (const Gram& g : Trigrams)
    if (g.Code == code)
      return g.Bytes;
  for (const Gram& g : Bigrams)
    if (g.Code == code)
      return g.Bytes;
  return nullptr;
}

}  // namespace

void BZZipStream::TextFilterEncode(const uint8_t* in, int n, std::vector<uint8_t>& out)
{
  out.clear();
  out.reserve(size_t(n) * 2);
  for (int i = 0; i < n; ++i) {
    uint8_t b = in[i];
    if (i == n - 1) {
      out.push_back(Text.Forward[b]);
      break;
    }
    if ((b >= 'A' && b <= 'Z') || b == 30) {
      out.push_back(Escape);
      b = uint8_t(b + 32);
    }
    out.push_back(Text.Forward[b]);
    if (b == LineFeed && IsLowerOrBlank(in[i + 1]))
      out.push_back(LineFeed);
  }
}

void BZZipStream::TextFilterDecode(const uint8_t* in, int n, std::vector<uint8_t>& out)
{
  out.clear();
  out.reserve(size_t(n));
  for (int i = 0; i < n; ++i) {
    const uint8_t b = Text.Inverse[in[i]];
    // A 30 as the very last byte was written without escape.
    if (b == 30 && i + 1 < n) {
      out.push_back(uint8_t(Text.Inverse[in[++i]] - 32));
      continue;
    }
    out.push_back(b);
    if (b == LineFeed && i + 1 < n && Text.Inverse[in[i + 1]] == ' ')
      ++i;
  }
}

void BZZipStream::TrigramEncode(const uint8_t* in, int n, std::vector<uint8_t>& out)
{
  out.clear();
  out.reserve(size_t(n));
  int i = 0;
  while (n - i >= 4) {
    const uint8_t* p = in + i;
    uint8_t code = 0;
    int taken = 1;
    for (const Gram& g : Trigrams)
      if (std::memcmp(p, g.Bytes, 3) == 0) {
        code = g.Code;
        taken = 3;
      }
    if (code == 0)
      for (const Gram& g : Bigrams)
        if (std::memcmp(p, g.Bytes, 2) == 0) {
          code = g.Code;
          taken = 2;
        }
    out.push_back(code != 0 ? code : *p);
    i += taken;
  }
  out.insert(out.end(), in + i, in + n);
}

void BZZipStream::TrigramDecode(const uint8_t* in, int n, std::vector<uint8_t>& out, int limit)
{
  out.clear();
  out.reserve(size_t(n));
  for (int i = 0; i < n; ++i) {
    const char* bytes = Expansion(in[i]);
    const size_t size = bytes != nullptr ? std::strlen(bytes) : 1;
    if (out.size() + size > size_t(limit))
      throw Exception();
    if (bytes != nullptr)
      out.insert(out.end(), bytes, bytes + size);
    else
      out.push_back(in[i]);
  }
}
