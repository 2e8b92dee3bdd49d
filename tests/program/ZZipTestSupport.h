#pragma once
// Shared by the packer's tests: byte strings, seeded data of a few kinds, and the little-endian
// fields of a block.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "platform/core/Exceptions.h"
#include "settings/ZZipStream.h"

using Bytes = std::vector<uint8_t>;
using Z = BZZipStream;

inline Bytes FromText(const std::string& s)
{
  return Bytes(s.begin(), s.end());
}

inline Bytes Random(size_t n, unsigned seed, unsigned alphabet = 256)
{
  std::mt19937 rng(seed);
  Bytes b(n);
  for (auto& x : b)
    x = uint8_t(rng() % alphabet);
  return b;
}

// Words, spaces and line ends, with capitals: what the text mode is for.
inline Bytes Text(size_t size, unsigned seed)
{
  static const char* words[] = {"the", "engine",   "here",   "where",   "there", "Speed", "load",    "idle",
                                "He",  "throttle", "sensor", "whether", "The",   "other", "mixture", "lambda"};
  std::mt19937 rng(seed);
  std::string s;
  while (s.size() < size)
    s += std::string(words[rng() % 16]) + (rng() % 9 == 0 ? ".\n" : " ");
  s.resize(size);
  return FromText(s);
}

inline uint32_t Field32(const Bytes& b, size_t at)
{
  return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
}

inline void Put32(Bytes& b, uint32_t v)
{
  for (int i = 0; i < 4; ++i)
    b.push_back(uint8_t(v >> (8 * i)));
}

inline uint16_t Flags(const Bytes& block)
{
  return uint16_t(block[8] | block[9] << 8);
}

// The head of a file of records, with the two marks the record transform looks for.
inline Bytes RecordHead()
{
  Bytes records(0x910, 0);
  const uint32_t magic40 = 0x09A00000, magic80 = 0x03A00505;
  std::memcpy(&records[40], &magic40, 4);
  std::memcpy(&records[80], &magic80, 4);
  return records;
}
