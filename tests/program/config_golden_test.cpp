// Settings container files built by hand from the format's byte layout, checked against
// what the writer produces and what the reader takes from them.
#include <gtest/gtest.h>

#include <string>
#include <zlib.h>

#include "ConfigTestSupport.h"

namespace {

// The values of the known stream, and that stream in typed mode, byte by byte.
void WriteKnownValues(BConfigSave& save)
{
  const bool yes = true;
  const int four = 4, minusTwo = -2;
  const TColor colour = 0x00FF8040;
  const uint8_t byte = 200;
  const uint32_t lng = 0x01020304;
  ASSERT_TRUE(save.WriteBool(&yes));
  ASSERT_TRUE(save.WriteInt(&four));
  ASSERT_TRUE(save.WriteColor(&colour));
  ASSERT_TRUE(save.WriteString(""));
  ASSERT_TRUE(save.WriteString("abc"));
  ASSERT_TRUE(save.WriteByte(&byte));
  ASSERT_TRUE(save.WriteLong(&lng));
  ASSERT_TRUE(save.WriteInt(&minusTwo));
}

const std::string KnownTyped("\x01\x01"
                             "\x06\x04\x00\x00\x00"
                             "\x15\x40\x80\xFF\x00"
                             "\x16"
                             "\x10\x03\x03" "abc"
                             "\x03\xC8"
                             "\x07\x04\x03\x02\x01"
                             "\x06\xFE\xFF\xFF\xFF",
                             31);
const std::string KnownUntyped("\x01"
                               "\x04\x00\x00\x00"
                               "\x40\x80\xFF\x00"
                               "\x16"
                               "\x10\x03" "abc"
                               "\xC8"
                               "\x04\x03\x02\x01"
                               "\xFE\xFF\xFF\xFF",
                               24);

void ExpectKnownValues(BConfigLoad& load)
{
  bool b = false;
  int i = 0;
  TColor c = 0;
  AnsiString s = "x";
  uint8_t byte = 0;
  uint32_t lng = 0;
  ASSERT_TRUE(load.ReadBool(b));
  EXPECT_TRUE(b);
  ASSERT_TRUE(load.ReadInt(i));
  EXPECT_EQ(i, 4);
  ASSERT_TRUE(load.ReadColor(c));
  EXPECT_EQ(c, 0x00FF8040);
  ASSERT_TRUE(load.ReadString(s));
  EXPECT_EQ(s, "");
  ASSERT_TRUE(load.ReadString(s));
  EXPECT_EQ(s, "abc");
  ASSERT_TRUE(load.ReadByte(byte));
  EXPECT_EQ(byte, 200);
  ASSERT_TRUE(load.ReadLong(lng));
  EXPECT_EQ(lng, 0x01020304u);
  ASSERT_TRUE(load.ReadInt(i));
  EXPECT_EQ(i, -2);
  EXPECT_FALSE(load.ReadInt(i)); // nothing more
}

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
  return Le32(static_cast<uint32_t>(data.size()) + 32) + Le32(BlockChecksum(data)) +
         std::string("\x00\x80", 2) + Le32(static_cast<uint32_t>(data.size())) + data;
}


// Inflates a raw deflate stream; `used` gets the count of input bytes it took.
std::string RawInflate(const std::string& data, size_t& used)
{
  z_stream z{};
  EXPECT_EQ(inflateInit2(&z, -15), Z_OK);
  std::string out(1 << 20, '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  z.avail_in = static_cast<uInt>(data.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = static_cast<uInt>(out.size());
  EXPECT_EQ(inflate(&z, Z_FINISH), Z_STREAM_END);
  out.resize(z.total_out);
  used = z.total_in;
  inflateEnd(&z);
  return out;
}


} // namespace

TEST(ConfigGolden, PlainTypedFileIsHeaderThenScrambledStream)
{
  BeamMode mode;
  mode.Compressed = 0;
  const std::string file = WriteContainer(mode, WriteKnownValues);
  const std::string header("BEAM v.1\x00\x00\x00\x01\x80\x8D\x5B\x00", 16);
  ASSERT_EQ(file.size(), 16 + KnownTyped.size());
  EXPECT_EQ(file.substr(0, 16), header);
  // The key starts at 0x6B with the first body byte and steps by one.
  EXPECT_EQ(static_cast<uint8_t>(file[16]), 0x01 ^ 0x6B);
  EXPECT_EQ(static_cast<uint8_t>(file[17]), 0x01 ^ 0x6C);
  EXPECT_EQ(static_cast<uint8_t>(file[18]), 0x06 ^ 0x6D);
  EXPECT_EQ(file.substr(16), Scramble(KnownTyped));

  BConfigLoadMem load;
  SetBytes(load, header + Scramble(KnownTyped));
  ExpectKnownValues(load);
}

TEST(ConfigGolden, FixedKeyXorsEveryByteWith6B)
{
  BeamMode mode;
  mode.Compressed = 0;
  mode.FixedKey = 1;
  const std::string file = WriteContainer(mode, WriteKnownValues);
  const std::string header("BEAM v.1\x00\x00\x01\x01\x80\x8D\x5B\x00", 16);
  EXPECT_EQ(file, header + Scramble(KnownTyped, true));
  EXPECT_EQ(static_cast<uint8_t>(file[18]), 0x06 ^ 0x6B);

  BConfigLoadMem load;
  SetBytes(load, file);
  ExpectKnownValues(load);
}

TEST(ConfigGolden, UntypedStreamKeepsStringKindsButNoTags)
{
  BeamMode mode;
  mode.Compressed = 0;
  mode.Typed = 0;
  const std::string file = WriteContainer(mode, WriteKnownValues);
  EXPECT_EQ(file, Header(0, 0, 0, 0, 6000000) + Scramble(KnownUntyped));

  BConfigLoadMem load;
  SetBytes(load, file);
  ExpectKnownValues(load);
}

TEST(ConfigGolden, WriterClampsTheBlockSizeInTheHeader)
{
  for (auto [given, stored] : {std::pair<uint32_t, uint32_t>{50, 100000}, {20000000, 10000000},
                               {100000, 100000}, {10000000, 10000000}}) {
    BeamMode mode;
    mode.Compressed = 0;
    mode.BlockSize = given;
    const std::string file = WriteContainer(mode, [](BConfigSave& s) { ASSERT_TRUE(s.WriteString("")); });
    EXPECT_EQ(file.substr(12, 4), Le32(stored)) << given;
  }
}

TEST(ConfigGolden, ReaderClampsTheBlockSizeFromTheHeader)
{
  for (auto [given, used] : {std::pair<uint32_t, uint32_t>{50, 100000}, {20000000, 10000000}, {123456, 123456}}) {
    BConfigLoadMem load;
    SetBytes(load, Header(0, 0, 0, 1, given) + Scramble(std::string("\x16", 1)));
    AnsiString s;
    EXPECT_TRUE(load.ReadString(s));
    EXPECT_EQ(load.BlockSizeInUse(), used);
  }
}

TEST(ConfigGolden, StringLengthKindsAtTheirBoundaries)
{
  struct Case {
    size_t length;
    std::string prefix; // kind byte, then the length as a typed value
  };
  const Case cases[] = {
    {255, std::string("\x10\x03\xFF", 3)},
    {256, std::string("\x0F\x05\x00\x01", 4)},
    {65535, std::string("\x0F\x05\xFF\xFF", 4)},
    {65536, std::string("\x0E\x07\x00\x00\x01\x00", 6)},
  };
  for (const Case& c : cases) {
    std::string text(c.length, '\0');
    for (size_t i = 0; i < text.size(); ++i)
      text[i] = static_cast<char>('A' + i % 26);
    BeamMode mode;
    mode.Compressed = 0;
    const std::string file = WriteContainer(mode, [&](BConfigSave& s) { ASSERT_TRUE(s.WriteString(text)); });
    // Long enough for the key to wrap past 0xFF several times.
    EXPECT_EQ(file.substr(16), Scramble(c.prefix + text)) << c.length;

    BConfigLoadMem load;
    SetBytes(load, file);
    AnsiString back;
    ASSERT_TRUE(load.ReadString(back)) << c.length;
    EXPECT_EQ(back, text);
  }
}

TEST(ConfigGolden, UnknownStringKindIsReadAsFourByteLength)
{
  BConfigLoadMem load;
  SetBytes(load, Header(0, 0, 0, 1, 6000000) + Scramble(std::string("\x63\x07\x02\x00\x00\x00" "ok", 8)));
  AnsiString s;
  ASSERT_TRUE(load.ReadString(s));
  EXPECT_EQ(s, "ok");
}

TEST(ConfigGolden, ShortKindWithZeroLengthIsEmpty)
{
  BConfigLoadMem load;
  SetBytes(load, Header(0, 0, 0, 1, 6000000) + Scramble(std::string("\x10\x03\x00\x06\x07\x00\x00\x00", 8)));
  AnsiString s = "old";
  ASSERT_TRUE(load.ReadString(s));
  EXPECT_EQ(s, "");
  int i = 0;
  ASSERT_TRUE(load.ReadInt(i));
  EXPECT_EQ(i, 7);
}

TEST(ConfigGolden, DeflateBodyIsRawDeflateWithSyncFlushAndTrailer)
{
  BeamMode mode;
  mode.Method = 1;
  const std::string file = WriteContainer(mode, WriteKnownValues);
  ASSERT_GT(file.size(), 16u + 8u);
  EXPECT_EQ(file.substr(0, 16), Header(1, 1, 0, 1, 6000000));
  // Every body byte, trailer included, is scrambled.
  const std::string body = Scramble(file.substr(16));
  size_t used = 0;
  EXPECT_EQ(RawInflate(body, used), KnownTyped);
  ASSERT_EQ(body.size(), used + 8);
  EXPECT_EQ(body.substr(used, 4), Le32(Crc(KnownTyped)));
  EXPECT_EQ(body.substr(used + 4), Le32(static_cast<uint32_t>(KnownTyped.size())));
  // Level 9, memory level 9, default strategy: the same bytes as zlib gives directly.
  EXPECT_EQ(body.substr(0, used), RawDeflate(KnownTyped, true));
}

TEST(ConfigGolden, ReaderTakesAHandMadeDeflateBody)
{
  const std::string deflated = RawDeflate(KnownTyped);
  const std::string trailer = Le32(Crc(KnownTyped)) + Le32(static_cast<uint32_t>(KnownTyped.size()));
  BConfigLoadMem load;
  SetBytes(load, Header(1, 1, 0, 1, 6000000) + Scramble(deflated + trailer));
  ExpectKnownValues(load);
}

TEST(ConfigGolden, OneBooleanMakesA36ByteFileOfOneStoredBlock)
{
  const std::string file = WriteContainer(BeamMode{}, [](BConfigSave& s) {
    const bool yes = true;
    ASSERT_TRUE(s.WriteBool(&yes));
  });
  const std::string block = StoredBlock(std::string("\x01\x01", 2));
  ASSERT_EQ(block.size(), 16u);
  EXPECT_EQ(file, Header(1, 0, 0, 1, 6000000) + Le32(16) + Scramble(block));
  EXPECT_EQ(file.size(), 36u);
  EXPECT_EQ(file.substr(20, 4), Scramble(Le32(34))); // size hint 2 + 32
}

TEST(ConfigGolden, KeyRunsAcrossBlocksAndSkipsTheirLengths)
{
  const std::string first = KnownTyped.substr(0, 12);  // bool, int, colour
  const std::string second = KnownTyped.substr(12);    // the rest
  const std::string b1 = StoredBlock(first), b2 = StoredBlock(second);
  const std::string file = Header(1, 0, 0, 1, 6000000) + Le32(static_cast<uint32_t>(b1.size())) + Scramble(b1) +
                           Le32(static_cast<uint32_t>(b2.size())) +
                           Scramble(b2, false, static_cast<uint8_t>(0x6B + b1.size()));
  BConfigLoadMem load;
  SetBytes(load, file);
  ExpectKnownValues(load);
}

TEST(ConfigGolden, WriterNeverWritesAHeaderBeforeTheFirstValue)
{
  EXPECT_EQ(WriteContainer(BeamMode{}, [](BConfigSave&) {}), "");
}
