#pragma once
// Constants of the "BEAM v.1" settings container shared by its reader and writer.
#include <cstdint>

// The file starts with these 8 bytes, then compressed flag, method, fixed-key flag,
// typed flag (one byte each) and the block size (4 bytes); 16 bytes in all, never scrambled.
constexpr char BeamSignature[8] = {'B', 'E', 'A', 'M', ' ', 'v', '.', '1'};
constexpr int BeamHeaderSize = 16;

// Methods of a compressed body.
constexpr uint8_t BeamMethodZZip = 0;  // blocks packed by BZZipStream
constexpr uint8_t BeamMethodZLib = 1;  // one raw deflate stream and its trailer

// Start value of the running key every body byte is XORed with.
constexpr uint8_t ScrambleKey = 0x6B;

// Tag byte before each typed value (typed mode only).
enum BeamValueTag : uint8_t {
  BeamTagBool = 1,
  BeamTagByte = 3,
  BeamTagShort = 5,
  BeamTagInt = 6,
  BeamTagLong = 7,
  BeamTagColor = 21,
};

// Kind byte before each string, in typed and untyped mode alike.
enum BeamStringKind : uint8_t {
  BeamStringLong = 14,    // 4-byte length
  BeamStringMedium = 15,  // 2-byte length
  BeamStringShort = 16,   // 1-byte length
  BeamStringEmpty = 22,   // nothing follows
};

constexpr uint32_t BeamDefaultBlockSize = 6000000;
constexpr uint32_t BeamMinBlockSize = 100000;
constexpr uint32_t BeamMaxBlockSize = 10000000;

constexpr uint32_t ClampBlockSize(uint32_t size)
{
  return size < BeamMinBlockSize ? BeamMinBlockSize : size > BeamMaxBlockSize ? BeamMaxBlockSize : size;
}

// The block buffer holds 1.2 blocks.
constexpr uint32_t BlockCapacity(uint32_t blockSize)
{
  return static_cast<uint32_t>(static_cast<uint64_t>(blockSize) * 12 / 10);
}

// Room a packed block needs beyond its input: the stored form adds 14 bytes, the packed
// form at most 31 (it is only kept when not larger than the input).
constexpr uint32_t BeamBlockOverhead = 32;

// Largest value stream either side accepts. Real settings are a few kilobytes; the cap
// keeps a hostile file from making the reader unpack or allocate without end.
constexpr uint64_t BeamMaxStreamBytes = 64ull << 20;

inline uint32_t GetLE32(const uint8_t* p)
{
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

inline void PutLE32(uint8_t* p, uint32_t v)
{
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
  p[2] = static_cast<uint8_t>(v >> 16);
  p[3] = static_cast<uint8_t>(v >> 24);
}
