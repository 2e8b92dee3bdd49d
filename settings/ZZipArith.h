#pragma once
// The 16-bit arithmetic-coding core shared by the packer's two coders. Bits are packed into
// bytes least significant bit first. Totals stay at or below 16384, so range times total fits
// in 32 bits.
#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <vector>

#include "Exceptions.h"

namespace zzip {

// The largest total any model of the coders reaches.
constexpr uint32_t MaxTotal = 16384;

// 2^47 / t rounded up, for t in 1..MaxTotal: the coders multiply where the arithmetic divides.
inline constexpr std::array<uint64_t, MaxTotal + 1> Reciprocals = [] {
  std::array<uint64_t, MaxTotal + 1> r{};
  for (uint64_t t = 1; t <= MaxTotal; ++t)
    r[t] = ((uint64_t(1) << 47) + t - 1) / t;
  return r;
}();

// m = x * 2^31 / t, over by more than 0 and less than 1 + x / 2^16, for x up to 2^16. Then
// a * m / 2^31 is over a * x / t by less than a * (1 + x / 2^16) / 2^31, which in the coders'
// uses (x = range <= 2^16 with a <= t; x = below < t <= 2^13 with a = range) is less than the
// 1/t by which the fraction of a * x / t stays below 1: rounded down, both are the same integer.
inline uint64_t Scale(uint32_t x, uint32_t t)
{
  return (x * Reciprocals[t] >> 16) + 1;
}

// The bytes with their bit order reversed: the coders think of bits in the order they are coded,
// the first at the top, and the stream holds each byte's first bit at the bottom.
inline constexpr std::array<uint8_t, 256> ReversedBits = [] {
  std::array<uint8_t, 256> table{};
  for (int b = 0; b < 256; ++b)
    for (int i = 0; i < 8; ++i)
      table[b] = uint8_t(table[b] | ((b >> i) & 1) << (7 - i));
  return table;
}();

// The low and high ends of the interval, and the step that narrows it to [a, b) of t and then
// doubles it until it is wider than a quarter. Each doubling settles a leading bit that low and
// high share, or, when they straddle the middle closely (low 01..., high 10...), removes the second
// bit and leaves a pending bit whose value the next settled bit decides. Shared bits all come
// first and straddling bits after them, so both runs are counted at once.
struct Interval {
  uint32_t low = 0, high = 0xFFFF;

  void Narrow(uint32_t a, uint32_t b, uint32_t t)
  {
    if (t > MaxTotal)
      throw Exception();
    const uint32_t range = high - low + 1, base = low;
    const uint64_t m = Scale(range, t);  // range * b / t is b * m / 2^31, rounded down
    high = base + uint32_t(b * m >> 31) - 1;
    low = base + uint32_t(a * m >> 31);
  }
  // How many leading bits low and high share (16 when they are equal).
  int Settled() const { return std::countl_zero((low ^ high) << 16 | 0x8000); }
  void DropSettled(int k)
  {
    low = (low << k) & 0xFFFF;
    high = ((high << k) | ((1u << k) - 1)) & 0xFFFF;
  }
  // How many bits after the first are 1 in low and 0 in high; only with the first bits apart.
  int Straddling() const { return std::countl_one((low & ~high) << 17); }
  void DropStraddling(int k)
  {
    low = (low << k) & 0x7FFF;
    high = (((high << k) | ((1u << k) - 1)) & 0x7FFF) | 0x8000;
  }
};

class ArithEncoder {
public:
  explicit ArithEncoder(std::vector<uint8_t>& out) : out_(out) { out_.resize(4096); }

  // Codes the interval [a, b) out of total t.
  [[gnu::always_inline]] void Encode(uint32_t a, uint32_t b, uint32_t t)
  {
    interval_.Narrow(a, b, t);
    if (const int k = interval_.Settled(); k != 0) {
      const uint32_t bits = interval_.low >> (16 - k);
      if (pending_ == 0) {
        Put(bits, k);
      } else {
        BitWithPending(bits >> (k - 1));
        Put(bits, k - 1);
      }
      interval_.DropSettled(k);
    }
    if (const int k = interval_.Straddling(); k != 0) {
      pending_ += uint64_t(k);
      interval_.DropStraddling(k);
    }
  }

  // Ends the code; the partly filled last byte is always written, even when empty.
  void Finish()
  {
    ++pending_;
    BitWithPending(interval_.low >= 0x4000 ? 1 : 0);
    Byte(ReversedBits[(bits_ << (8 - count_)) & 0xFF]);
    out_.resize(size_);
  }

private:
  // Appends the low k bits of `bits`, k <= 32, the highest first.
  [[gnu::always_inline]] void Put(uint32_t bits, int k)
  {
    bits_ = (bits_ << k) | (bits & uint32_t((uint64_t(1) << k) - 1));
    for (count_ += k; count_ >= 8;) {
      count_ -= 8;
      Byte(ReversedBits[(bits_ >> count_) & 0xFF]);
    }
  }
  // The output grows in steps; Finish cuts it to what was written.
  void Byte(uint8_t b)
  {
    if (size_ == out_.size())
      out_.resize(2 * size_);
    out_[size_++] = b;
  }
  void BitWithPending(uint32_t bit)
  {
    Put(bit, 1);
    const uint32_t opposite = bit ? 0 : 0xFFFFFFFFu;
    for (; pending_ > 32; pending_ -= 32)
      Put(opposite, 32);
    Put(opposite, int(pending_));
    pending_ = 0;
  }

  std::vector<uint8_t>& out_;
  size_t size_ = 0;  // bytes written to out_
  Interval interval_;
  uint64_t pending_ = 0;
  uint64_t bits_ = 0;  // the last count_ bits are not written yet, the first of them highest
  int count_ = 0;
};

class ArithDecoder {
public:
  // Bytes past the end of the input read as 0, but only as far as a genuine code can need them:
  // the encoder writes two bits more than its S doublings and pads them to L whole bytes, always
  // with at least one bit to spare, so S <= 8L - 3; the decoder reads 16 bits ahead of the same S
  // doublings, at most 8L + 13 bits. Any further read means the input is not such a code, and
  // refusing it there bounds the work a few damaged bytes can cause.
  ArithDecoder(const uint8_t* in, int length)
      : in_(in), length_(uint64_t(length > 0 ? length : 0)), budget_(8 * length_ + LookAheadBits)
  {
    code_ = Bits(16);
  }

  static constexpr uint64_t LookAheadBits = 13;

  // Where the code lies in [0, t), kept scaled by the range: the symbol whose interval [a, b)
  // holds it is the one with a * range <= scaled < b * range, found without a division.
  struct Position {
    uint32_t scaled, range;
    bool Below(uint32_t bound) const { return scaled < bound * range; }
  };
  [[gnu::always_inline]] Position Locate(uint32_t t) const
  {
    if (code_ < interval_.low || code_ > interval_.high)
      throw Exception();  // only a damaged input gets here
    const uint32_t range = interval_.high - interval_.low + 1;
    return {(code_ - interval_.low + 1) * t - 1, range};
  }

  // Removes the interval [a, b) of the decoded symbol, as the encoder did.
  [[gnu::always_inline]] void Consume(uint32_t a, uint32_t b, uint32_t t)
  {
    interval_.Narrow(a, b, t);
    Renormalize();
  }

  // Decodes a run of the symbol at the top, [below, t) of t, t growing by 2 after each symbol, as
  // long as the code lies there, t stays at most `last` (<= MaxTotal) and fewer than `most` are
  // taken; returns how many were. Only low moves, by range * below / t rounded down, which is
  // range * Scale(below, t) / 2^31 rounded down: one multiplication from one symbol to the next,
  // and the same cut tells whether the code lies above it. The doublings, seldom needed in such a
  // run, take a branch.
  int TakeTopRun(uint32_t below, uint32_t t, uint32_t last, int most)
  {
    // The interval and the code in locals, which the compiler keeps in registers.
    uint32_t low = interval_.low, high = interval_.high, code = code_;
    int taken = 0;
    for (; taken < most && t <= last; ++taken, t += 2) {
      if (code < low || code > high)
        throw Exception();  // as in Locate
      const uint32_t cut = uint32_t((high - low + 1) * Scale(below, t) >> 31);
      if (code - low < cut)
        break;  // ((code - low + 1) * t - 1) / range < below
      low += cut;
      if (((low ^ high) & 0x8000) == 0 || (low & ~high & 0x4000) != 0) {
        interval_.low = low;
        Renormalize();
        low = interval_.low;
        high = interval_.high;
        code = code_;
      }
    }
    interval_.low = low;
    return taken;
  }

private:
  // Doubles the interval until it is wider than a quarter. No branches: after a symbol that was
  // hard to foretell, so is the number of doublings. Both runs of doublings are counted from the
  // narrowed interval and made at once: the code lies inside the interval, so it shares the
  // settled bits, and of the straddling ones it keeps the first.
  [[gnu::always_inline]] void Renormalize()
  {
    const uint32_t low = interval_.low, high = interval_.high;
    const int settled = interval_.Settled();
    const int straddling = std::countl_one((low & ~high) << 16 << 1 << settled);
    const int k = settled + straddling;  // at most 16
    interval_.low = (low << k) & 0x7FFF;
    interval_.high = (((high << k) | ((1u << k) - 1)) & 0x7FFF) | 0x8000;
    const uint32_t bits = Bits(k);
    code_ = (((code_ << settled) | (bits >> straddling)) & 0x8000) | (((code_ << k) | bits) & 0x7FFF);
  }
  // The next k bits (0 <= k <= 16), the first highest.
  uint32_t Bits(int k)
  {
    if (count_ < k)
      Refill(k);
    const uint32_t bits = uint32_t((buffer_ >> 32 << k) >> 32);
    buffer_ <<= k;
    count_ -= k;
    return bits;
  }
  // Tops the buffer up with whole bytes, the first bit of the stream highest, counting no more bits
  // than the budget allows.
  void Refill(int k)
  {
    int loaded = 0;
    for (int free = 64 - count_; free >= 8; free -= 8, loaded += 8, ++next_) {
      const uint8_t byte = next_ < length_ ? in_[next_] : 0;
      buffer_ |= uint64_t(ReversedBits[byte]) << (free - 8);
    }
    const uint64_t counted = std::min<uint64_t>(uint64_t(loaded), budget_);
    budget_ -= counted;
    count_ += int(counted);
    if (count_ < k)
      throw Exception();
  }

  const uint8_t* in_;
  uint64_t length_;
  uint64_t budget_;      // bits a genuine code may still need, beyond those in the buffer
  uint64_t next_ = 0;    // the next byte to load
  uint64_t buffer_ = 0;  // count_ bits, the first highest; below them nothing or the bits that follow
  int count_ = 0;
  Interval interval_;
  uint32_t code_ = 0;
};

}  // namespace zzip
