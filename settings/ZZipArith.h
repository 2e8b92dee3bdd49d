#pragma once
// The 16-bit arithmetic-coding core shared by the packer's two coders. Bits are packed into
// bytes least significant bit first. Totals stay at or below 16384, so range times total fits
// in 32 bits.
#include <cstdint>
#include <vector>

#include "Exceptions.h"

namespace zzip {

class ArithEncoder {
public:
  explicit ArithEncoder(std::vector<uint8_t>& out) : out_(out) { out_.clear(); }

  // Codes the interval [a, b) out of total t.
  void Encode(uint32_t a, uint32_t b, uint32_t t) {
    const uint32_t range = high_ - low_ + 1;
    high_ = low_ + range * b / t - 1;
    low_ = low_ + range * a / t;
    for (;;) {
      if (high_ < 0x8000) {
        BitWithPending(0);
      } else if (low_ >= 0x8000) {
        BitWithPending(1);
        low_ -= 0x8000;
        high_ -= 0x8000;
      } else if (low_ >= 0x4000 && high_ < 0xC000) {
        ++pending_;
        low_ -= 0x4000;
        high_ -= 0x4000;
      } else {
        break;
      }
      low_ = 2 * low_;
      high_ = 2 * high_ + 1;
    }
  }

  // Ends the code; the partly filled last byte is always written, even when empty.
  void Finish() {
    ++pending_;
    BitWithPending(low_ >= 0x4000 ? 1 : 0);
    out_.push_back(uint8_t(bits_));
  }

private:
  void Bit(uint32_t bit) {
    bits_ |= bit << count_;
    if (++count_ == 8) {
      out_.push_back(uint8_t(bits_));
      bits_ = 0;
      count_ = 0;
    }
  }
  void BitWithPending(uint32_t bit) {
    Bit(bit);
    for (; pending_ != 0; --pending_) Bit(bit ^ 1);
  }

  std::vector<uint8_t>& out_;
  uint32_t low_ = 0, high_ = 0xFFFF;
  uint32_t pending_ = 0;
  uint32_t bits_ = 0;
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
      : in_(in), length_(uint64_t(length > 0 ? length : 0)), bitLimit_(8 * length_ + LookAheadBits) {
    for (int i = 0; i < 16; ++i) code_ = 2 * code_ + NextBit();
  }

  static constexpr uint64_t LookAheadBits = 13;

  // Where the code lies in [0, t), kept scaled by the range: the symbol whose interval [a, b)
  // holds it is the one with a * range <= scaled < b * range, found without a division.
  struct Position {
    uint32_t scaled, range;
    bool Below(uint32_t bound) const { return scaled < bound * range; }
  };
  Position Locate(uint32_t t) const {
    if (code_ < low_ || code_ > high_) throw Exception();  // only a damaged input gets here
    const uint32_t range = high_ - low_ + 1;
    return {(code_ - low_ + 1) * t - 1, range};
  }

  // Removes the interval [a, b) of the decoded symbol, as the encoder did.
  void Consume(uint32_t a, uint32_t b, uint32_t t) {
    const uint32_t range = high_ - low_ + 1;
    high_ = low_ + range * b / t - 1;
    low_ = low_ + range * a / t;
    for (;;) {
      if (high_ < 0x8000) {
      } else if (low_ >= 0x8000) {
        low_ -= 0x8000;
        high_ -= 0x8000;
        code_ -= 0x8000;
      } else if (low_ >= 0x4000 && high_ < 0xC000) {
        low_ -= 0x4000;
        high_ -= 0x4000;
        code_ -= 0x4000;
      } else {
        break;
      }
      low_ = 2 * low_;
      high_ = 2 * high_ + 1;
      code_ = 2 * code_ + NextBit();
    }
  }

private:
  uint32_t NextBit() {
    if (position_ >= bitLimit_) throw Exception();
    const uint64_t byte = position_ >> 3;
    const uint32_t bit = byte < length_ ? (in_[byte] >> (position_ & 7)) & 1 : 0;
    ++position_;
    return bit;
  }

  const uint8_t* in_;
  uint64_t length_;
  uint64_t bitLimit_;
  uint64_t position_ = 0;
  uint32_t low_ = 0, high_ = 0xFFFF, code_ = 0;
};

}  // namespace zzip
