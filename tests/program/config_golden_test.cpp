// Settings container files built by hand from the format's byte layout, checked against
// what the writer produces and what the reader takes from them.
#include <gtest/gtest.h>

#include <string>
#include <zlib.h>

#include "ConfigTestSupport.h"

namespace {

// The values of the known stream, and that stream in typed mode, byte by byte.
const std::vector<Value> Known{{'b', 1},        {'i', 4},   {'c', 0x00FF8040}, {'s', 0, ""},
                               {'s', 0, "abc"}, {'y', 200}, {'l', 0x01020304}, {'i', -2}};
const std::string KnownRead = DumpValues(Known) + "end";

const std::string KnownTyped("\x01\x01"
                             "\x06\x04\x00\x00\x00"
                             "\x15\x40\x80\xFF\x00"
                             "\x16"
                             "\x10\x03\x03"
                             "abc"
                             "\x03\xC8"
                             "\x07\x04\x03\x02\x01"
                             "\x06\xFE\xFF\xFF\xFF",
                             31);
const std::string KnownUntyped("\x01"
                               "\x04\x00\x00\x00"
                               "\x40\x80\xFF\x00"
                               "\x16"
                               "\x10\x03"
                               "abc"
                               "\xC8"
                               "\x04\x03\x02\x01"
                               "\xFE\xFF\xFF\xFF",
                               24);

// The checksum of a packed block as the format defines it.
uint32_t BlockChecksum(const std::string& bytes)
{
  uint32_t c = 0xFFFFFFFF;
  for (unsigned char b : bytes)
    c = (c >> 8) ^ (((c ^ b) & 0xFFu) << 24);
  return c;
}

std::string StoredBlock(const std::string& data)
{
  return Le32(static_cast<uint32_t>(data.size()) + 32) + Le32(BlockChecksum(data)) + std::string("\x00\x80", 2) +
         Le32(static_cast<uint32_t>(data.size())) + data;
}

}  // namespace

// Plain bodies: the header, then the value stream scrambled with a key from 0x6B that steps by
// one, or stays with a fixed key; an untyped stream keeps the string kinds but no tags.
TEST(ConfigGolden, PlainFilesAreHeaderThenScrambledStream)
{
  const struct {
    uint8_t fixedKey, typed;
    std::string header, body;
  } cases[] = {
      {0, 1, std::string("BEAM v.1\x00\x00\x00\x01\x80\x8D\x5B\x00", 16), Scramble(KnownTyped)},
      {1, 1, std::string("BEAM v.1\x00\x00\x01\x01\x80\x8D\x5B\x00", 16), Scramble(KnownTyped, true)},
      {0, 0, Header(0, 0, 0, 0, 6000000), Scramble(KnownUntyped)},
  };
  for (const auto& c : cases) {
    const BeamMode mode{.Compressed = 0, .FixedKey = c.fixedKey, .Typed = c.typed};
    EXPECT_TRUE(WriteValues(mode, Known) == c.header + c.body) << int(c.fixedKey) << int(c.typed);
    EXPECT_EQ(ReadValues(c.header + c.body, Known), KnownRead);
  }
  EXPECT_EQ(static_cast<uint8_t>(Scramble(KnownTyped)[2]), 0x06 ^ 0x6D);
  EXPECT_EQ(WriteContainer(BeamMode{}, [](BConfigSave&) {}), "");  // no header before the first value
}

TEST(ConfigGolden, BlockSizeIsClampedByWriterAndReader)
{
  for (auto [given, stored] : {std::pair<uint32_t, uint32_t>{50, 100000},
                               {20000000, 10000000},
                               {100000, 100000},
                               {10000000, 10000000},
                               {123456, 123456}}) {
    const std::string file = WriteValues({.Compressed = 0, .BlockSize = given}, {{'s'}});
    EXPECT_EQ(file.substr(12, 4), Le32(stored)) << given;
    BConfigLoadMem load;
    SetBytes(load, Header(0, 0, 0, 1, given) + file.substr(16));
    EXPECT_EQ(ReadValues(load, {{'s'}}), "s:\nend");
    EXPECT_EQ(load.BlockSizeInUse(), stored);
  }
}

TEST(ConfigGolden, StringLengthKindsAtTheirBoundaries)
{
  // Kind byte, then the length as a typed value.
  const std::pair<size_t, std::string> cases[] = {
      {255, std::string("\x10\x03\xFF", 3)},
      {256, std::string("\x0F\x05\x00\x01", 4)},
      {65535, std::string("\x0F\x05\xFF\xFF", 4)},
      {65536, std::string("\x0E\x07\x00\x00\x01\x00", 6)},
  };
  for (const auto& [length, prefix] : cases) {
    std::string text(length, '\0');
    for (size_t i = 0; i < text.size(); ++i)
      text[i] = static_cast<char>('A' + i % 26);
    const std::string file = WriteValues({.Compressed = 0}, {{'s', 0, text}});
    // Long enough for the key to wrap past 0xFF several times.
    EXPECT_TRUE(file.substr(16) == Scramble(prefix + text)) << length;
    EXPECT_EQ(ReadValues(file, {{'s', 0, text}}), DumpValues({{'s', 0, text}}) + "end");
  }
}

// Streams the writer never makes: an unknown string kind reads a four-byte length, a short
// kind of length zero is an empty string.
TEST(ConfigGolden, ReaderTakesOddStringKinds)
{
  const std::string head = Header(0, 0, 0, 1, 6000000);
  EXPECT_EQ(ReadValues(head + Scramble(std::string("\x63\x07\x02\x00\x00\x00"
                                                   "ok",
                                                   8)),
                       {{'s'}}),
            "s:ok\nend");
  EXPECT_EQ(ReadValues(head + Scramble(std::string("\x10\x03\x00\x06\x07\x00\x00\x00", 8)), {{'s'}, {'i'}}),
            "s:\ni:7\nend");
}

TEST(ConfigGolden, DeflateBodyIsRawDeflateWithSyncFlushAndTrailer)
{
  const std::string file = WriteValues({.Method = 1}, Known);
  ASSERT_GT(file.size(), 16u + 8u);
  EXPECT_EQ(file.substr(0, 16), Header(1, 1, 0, 1, 6000000));
  // Every body byte, trailer included, is scrambled.
  const std::string body = Scramble(file.substr(16));
  // Level 9, memory level 9, default strategy: the same bytes as zlib gives directly.
  const std::string deflated = RawDeflate(KnownTyped, true);
  const std::string trailer = Le32(Crc(KnownTyped)) + Le32(static_cast<uint32_t>(KnownTyped.size()));
  EXPECT_TRUE(body == deflated + trailer);
  // The reader takes a body deflated without the sync flush as well.
  EXPECT_EQ(ReadValues(Header(1, 1, 0, 1, 6000000) + Scramble(RawDeflate(KnownTyped) + trailer), Known),
            KnownRead);
}

TEST(ConfigGolden, OneBooleanMakesA36ByteFileOfOneStoredBlock)
{
  const std::string file = WriteValues(BeamMode{}, {{'b', 1}});
  const std::string block = StoredBlock(std::string("\x01\x01", 2));
  ASSERT_EQ(block.size(), 16u);
  EXPECT_EQ(file, Header(1, 0, 0, 1, 6000000) + Le32(16) + Scramble(block));
  EXPECT_EQ(file.substr(20, 4), Scramble(Le32(34)));  // size hint 2 + 32
}

TEST(ConfigGolden, KeyRunsAcrossBlocksAndSkipsTheirLengths)
{
  const std::string b1 = StoredBlock(KnownTyped.substr(0, 12));  // bool, int, colour
  const std::string b2 = StoredBlock(KnownTyped.substr(12));     // the rest
  const std::string file = Header(1, 0, 0, 1, 6000000) + Le32(static_cast<uint32_t>(b1.size())) + Scramble(b1) +
                           Le32(static_cast<uint32_t>(b2.size())) +
                           Scramble(b2, false, static_cast<uint8_t>(0x6B + b1.size()));
  EXPECT_EQ(ReadValues(file, Known), KnownRead);
}
