// The settings container: round trips in every body mode, files built by hand from the format's
// byte layout, the deflate body's trailer, and hostile input (any bytes: the fuzz target).
#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <tuple>

#include "ConfigTestSupport.h"
#include "Exceptions.h"
#include "settings/BeamFormat.h"
#include "settings/ZLibStream.h"

namespace {

std::string Text(size_t size, unsigned seed)
{
  std::mt19937 rng(seed);
  std::string s(size, '\0');
  for (char& c : s)
    c = char(1 + rng() % 255);  // no NUL: the writer stops at one
  return s;
}

// Every kind of value, in the order a settings file might hold them: each string after a
// boolean, a byte, an int, a long and a colour.
std::vector<Value> Sample(size_t strings = 8)
{
  const std::string texts[] = {"",
                               "a",
                               "\xCF\xF0\xE8\xE2\xE5\xF2",
                               Text(255, 1),
                               Text(256, 2),
                               Text(65535, 3),
                               Text(65536, 4),
                               Text(200000, 5)};
  const int64_t ints[] = {0, -1, 4, INT_MIN, INT_MAX}, longs[] = {0, 0xFFFFFFFF, 70000},
                colors[] = {0, 0x00C0DCC0, clBtnFace, clInfoBk};
  std::vector<Value> values;
  for (size_t i = 0; i < strings; ++i)
    values.insert(values.end(), {{'b', int64_t(i % 2 == 0)},
                                 {'y', int64_t(i * 127 % 256)},
                                 {'i', ints[i % 5]},
                                 {'l', longs[i % 3]},
                                 {'c', colors[i % 4]},
                                 {'s', 0, texts[i]}});
  return values;
}

// Raw deflate with the container's settings, straight from zlib.
std::string RawDeflate(const std::string& data, bool syncFlush = false)
{
  z_stream z{};
  deflateInit2(&z, 9, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY);
  std::string out(deflateBound(&z, uLong(data.size())) + 64, '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  z.avail_in = uInt(data.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = uInt(out.size());
  if (syncFlush)
    deflate(&z, Z_SYNC_FLUSH);
  out.resize(deflate(&z, Z_FINISH) == Z_STREAM_END ? z.total_out : 0);
  deflateEnd(&z);
  return out;
}

// compressed, method, fixed key, typed
using ModeParam = std::tuple<int, int, int, int>;

class ContainerRoundTrip : public testing::TestWithParam<ModeParam> {
protected:
  const BeamMode Mode{uint8_t(std::get<0>(GetParam())), uint8_t(std::get<1>(GetParam())),
                      uint8_t(std::get<2>(GetParam())), uint8_t(std::get<3>(GetParam()))};
};

// The values of the known stream, and that stream in typed mode, byte by byte.
const std::vector<Value> Known{{'b', 1},        {'i', 4},   {'c', 0x00FF8040}, {'s', 0, ""},
                               {'s', 0, "abc"}, {'y', 200}, {'l', 0x01020304}, {'i', -2}};
const std::string KnownRead = DumpValues(Known) + "end";
const std::string KnownTyped("\x01\x01\x06\x04\x00\x00\x00\x15\x40\x80\xFF\x00\x16\x10\x03\x03"
                             "abc\x03\xC8\x07\x04\x03\x02\x01\x06\xFE\xFF\xFF\xFF",
                             31);

// A packed block that stores its data as it is, as the format defines it.
std::string StoredBlock(const std::string& data)
{
  uint32_t c = 0xFFFFFFFF;
  for (unsigned char b : data)
    c = (c >> 8) ^ (((c ^ b) & 0xFFu) << 24);
  return Le32(uint32_t(data.size()) + 32) + Le32(c) + std::string("\x00\x80", 2) + Le32(uint32_t(data.size())) +
         data;
}

}  // namespace

// Whatever the cut, the values read are the ones written, up to one that fails.
TEST_P(ContainerRoundTrip, EveryValueComesBackAndTruncatedFilesFailWithoutGarbage)
{
  const std::vector<Value> sample = Sample();
  EXPECT_EQ(ReadValues(WriteValues(Mode, sample), sample), DumpValues(sample) + "end");
  const std::vector<Value> few = Sample(3);
  const std::string bytes = WriteValues(Mode, few);
  for (size_t cut = 0; cut < bytes.size(); ++cut) {
    const std::string read = ReadValues(bytes.substr(0, cut), few);
    EXPECT_EQ(read, (DumpValues(few) + "end").substr(0, read.size())) << cut;
    // A deflate body may lose only its end markers and trailer and still hold every value.
    if (!(Mode.Compressed && Mode.Method == 1)) {
      EXPECT_LT(read.size(), DumpValues(few).size()) << cut;
    }
  }
}

std::string ModeName(const testing::TestParamInfo<ModeParam>& info)
{
  // The method byte of a plain file is ignored, but it is still varied.
  const auto [compressed, method, fixedKey, typed] = info.param;
  return (!compressed ? "Plain" + std::to_string(method)
          : method    ? "Deflate"
                      : "Packed") +
         (fixedKey ? "FixedKey" : "RunningKey") + (typed ? "Typed" : "Untyped");
}

INSTANTIATE_TEST_SUITE_P(Modes, ContainerRoundTrip,
                         testing::Combine(testing::Values(0, 1), testing::Values(0, 1), testing::Values(0, 1),
                                          testing::Values(0, 1)),
                         ModeName);

// A wrong tag fails the read and leaves the value; a string stops at its first NUL; a value larger
// than a block fits up to the buffer; one reader takes data of any block size in turn.
TEST(ConfigContainer, TagsNulsBlocksAndReaders)
{
  BConfigLoadMem load;
  SetBytes(load, WriteValues({}, {{'i', 4}}));
  TColor c = 123;
  EXPECT_FALSE(load.ReadColor(c));
  EXPECT_EQ(c, 123);
  const std::string nul = WriteValues({}, {{'s', 0, std::string("ab\0cd", 5)}, {'s', 0, std::string("\0x", 2)}});
  EXPECT_EQ(ReadValues(nul, {{'s'}, {'s'}}), "s:ab\ns:\nend");

  std::vector<Value> values;  // 5-byte values: 30000 of them need two blocks of 100000
  for (uint32_t i = 0; i < 30000; ++i)
    values.push_back({'i', int32_t(i * 2654435761u)});
  const std::string spread = WriteValues({.BlockSize = 100000}, values);
  size_t pos = 16, blocks = 0;  // walk the plain block lengths
  for (; pos + 4 <= spread.size(); ++blocks)
    pos += 4 + GetLE32(reinterpret_cast<const uint8_t*>(spread.data() + pos));
  EXPECT_EQ(std::pair(pos, blocks), std::pair(spread.size(), size_t(2)));
  EXPECT_TRUE(ReadValues(spread, values) == DumpValues(values) + "end");

  const std::vector<Value> fits{{'s', 0, "before"}, {'s', 0, Text(110000, 7)}};  // a buffer of 120000
  const std::string big = WriteContainer({.BlockSize = 100000}, [&](TestSave& s) {
    for (const Value& v : fits)
      ASSERT_TRUE(WriteValue(s, v));
    EXPECT_FALSE(s.WriteString(Text(130000, 8)));
    EXPECT_TRUE(s.Failed());
  });
  EXPECT_EQ(ReadValues(big, fits), DumpValues(fits) + "end");

  // The buffer kept from the last data serves the next only when it is large enough.
  const std::string texts[2] = {Text(110000, 9), Text(450000, 10)};
  const std::string data[2] = {WriteValues({.BlockSize = 100000}, {{'s', 0, texts[0]}}),
                               WriteValues({.BlockSize = 400000}, {{'s', 0, texts[1]}})};
  for (int i : {0, 1, 0, 1}) {
    SetBytes(load, data[i]);
    EXPECT_EQ(ReadValues(load, {{'s'}}), DumpValues({{'s', 0, texts[i]}}) + "end") << i;
  }
  EXPECT_FALSE(load.SetData(nullptr, 0));
  EXPECT_EQ(ReadValues(load, {{'i'}}), "");  // the data stays what it was, now used up
  EXPECT_THROW(BConfigLoadFile("/nonexistent/folder/Dravolin.ini"), EFOpenError);
}

// Plain bodies: the header, then the value stream scrambled with a key from 0x6B that steps by
// one, or stays with a fixed key; an untyped stream keeps the string kinds but no tags. Packed:
// one stored block of the stream, its length unscrambled. Deflate: raw deflate with a sync flush
// and a trailer of CRC and length, all scrambled.
TEST(ConfigContainer, FilesAreTheFormatsBytes)
{
  const std::string untyped("\x01\x04\x00\x00\x00\x40\x80\xFF\x00\x16\x10\x03"
                            "abc\xC8\x04\x03\x02\x01\xFE\xFF\xFF\xFF",
                            24);
  const std::string trailer = Le32(Crc(KnownTyped)) + Le32(uint32_t(KnownTyped.size()));
  const std::string boolean = StoredBlock(std::string("\x01\x01", 2));
  const struct {
    BeamMode mode;
    std::string file;
  } cases[] = {
      {{0, 0, 0, 1}, std::string("BEAM v.1\x00\x00\x00\x01\x80\x8D\x5B\x00", 16) + Scramble(KnownTyped)},
      {{0, 0, 1, 1}, std::string("BEAM v.1\x00\x00\x01\x01\x80\x8D\x5B\x00", 16) + Scramble(KnownTyped, true)},
      {{0, 0, 0, 0}, Header(0, 0, 0, 0, 6000000) + Scramble(untyped)},
      {{1, 1, 0, 1}, Header(1, 1, 0, 1, 6000000) + Scramble(RawDeflate(KnownTyped, true) + trailer)},
  };
  for (const auto& c : cases) {
    EXPECT_TRUE(WriteValues(c.mode, Known) == c.file) << int(c.mode.FixedKey) << int(c.mode.Typed);
    EXPECT_EQ(ReadValues(c.file, Known), KnownRead);
  }
  EXPECT_EQ(WriteValues({}, {{'b', 1}}), Header(1, 0, 0, 1, 6000000) + Le32(16) + Scramble(boolean));
  EXPECT_EQ(WriteContainer({}, [](BConfigSave&) {}), "");  // no header before the first value
  // The reader takes a deflate body without the sync flush, and blocks the writer never makes:
  // the key runs on across them and skips their lengths.
  EXPECT_EQ(ReadValues(Header(1, 1, 0, 1, 6000000) + Scramble(RawDeflate(KnownTyped) + trailer), Known),
            KnownRead);
  const std::string b1 = StoredBlock(KnownTyped.substr(0, 12)), b2 = StoredBlock(KnownTyped.substr(12));
  EXPECT_EQ(ReadValues(Header(1, 0, 0, 1, 6000000) + Le32(uint32_t(b1.size())) + Scramble(b1) +
                           Le32(uint32_t(b2.size())) + Scramble(b2, false, uint8_t(0x6B + b1.size())),
                       Known),
            KnownRead);
}

TEST(ConfigContainer, BlockSizeIsClampedByWriterAndReader)
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

// Kind byte, then the length as a typed value; the reader also takes an unknown string kind
// with a four-byte length, and a short kind of length zero.
TEST(ConfigContainer, StringLengthKindsAtTheirBoundaries)
{
  const std::pair<size_t, std::string> cases[] = {{255, std::string("\x10\x03\xFF", 3)},
                                                  {256, std::string("\x0F\x05\x00\x01", 4)},
                                                  {65535, std::string("\x0F\x05\xFF\xFF", 4)},
                                                  {65536, std::string("\x0E\x07\x00\x00\x01\x00", 6)}};
  for (const auto& [length, prefix] : cases) {
    std::string text(length, '\0');
    for (size_t i = 0; i < text.size(); ++i)
      text[i] = char('A' + i % 26);
    const std::string file = WriteValues({.Compressed = 0}, {{'s', 0, text}});
    EXPECT_TRUE(file.substr(16) == Scramble(prefix + text)) << length;  // the key wraps past 0xFF
    EXPECT_EQ(ReadValues(file, {{'s', 0, text}}), DumpValues({{'s', 0, text}}) + "end");
  }
  const std::string head = Header(0, 0, 0, 1, 6000000);
  EXPECT_EQ(ReadValues(head + Scramble(std::string("\x63\x07\x02\x00\x00\x00ok", 8)), {{'s'}}), "s:ok\nend");
  EXPECT_EQ(ReadValues(head + Scramble(std::string("\x10\x03\x00\x06\x07\x00\x00\x00", 8)), {{'s'}, {'i'}}),
            "s:\ni:7\nend");
}

// The data comes whole before the trailer is judged: 0 at a good end, -1 on a wrong checksum or
// a short trailer, and the same again on the next read. One member only: what follows is never
// read, and the trailer's length is not compared. Truncated data delivers a prefix.
TEST(ZLibStream, TrailerDecidesTheEndOnlyAfterTheData)
{
  const std::string data = "settings " + Text(3000, 1) + " end", deflated = RawDeflate(data),
                    size = Le32(uint32_t(data.size()));
  const struct {
    std::string body, data;
    int last;
  } cases[] = {
      {deflated + Le32(Crc(data)) + size + "trailing junk", data, 0},
      {deflated + Le32(Crc(data) ^ 1) + size, data, -1},
      {deflated + Le32(Crc(data)) + Le32(12345), data, 0},
      {deflated + Le32(Crc(data)) + "\x01\x02", data, -1},
      {std::string("\xFF\xFF\xFF\xFF garbage", 12), "", -1},
      {deflated.substr(0, deflated.size() / 2), "", 0},
  };
  for (const auto& c : cases) {
    // The stream reads straight through the scrambled layer of a container without a header.
    BConfigLoadMem load;
    SetBytes(load, Scramble(c.body));
    BZLibStream z;
    ASSERT_EQ(z.Open(&load), 1);
    std::string out(5000, '\0'), got;
    int last;
    while ((last = z.Read(out.data(), int(out.size()))) > 0)
      got.append(out.data(), size_t(last));
    EXPECT_TRUE(c.data.empty() ? data.starts_with(got) : got == c.data) << c.body.size();
    EXPECT_EQ(last, c.last);
    EXPECT_EQ(z.Read(out.data(), 1), c.last);
  }
  // Misuse: closed, or the wrong direction.
  BZLibStream z;
  char buf[4] = {};
  EXPECT_EQ(z.Read(buf, 4) + z.Write(buf, 4) + z.Flush(), -6);
  EXPECT_EQ(z.Open(static_cast<BConfigLoad*>(nullptr)) + z.Open(static_cast<BConfigSave*>(nullptr)), 0);
  BConfigLoadMem load;
  SetBytes(load, Scramble(deflated));
  ASSERT_EQ(z.Open(&load), 1);
  EXPECT_EQ(z.Write(buf, 4) + z.Flush(), -4);
}

// Incompressible data larger than the 64000-byte buffers: the key runs on across the pieces and
// into the trailer; the container reads every value despite a wrong CRC; a failed output is
// reported by the writer.
TEST(ZLibStream, LargeDataWrongCrcAndFailedOutput)
{
  const std::vector<Value> big{{'s', 0, Text(200000, 9)}};
  const std::string file = WriteValues({.Method = 1}, big);
  const std::string stream = std::string("\x0E\x07", 2) + Le32(200000) + big[0].Text;
  EXPECT_EQ(Scramble(file.substr(16)).substr(file.size() - 24), Le32(Crc(stream)) + Le32(uint32_t(stream.size())));
  EXPECT_EQ(ReadValues(file, big), DumpValues(big) + "end");

  std::string small = WriteValues({.Method = 1}, {{'i', 1}, {'i', 2}});
  small[small.size() - 8] ^= 0x40;  // a CRC bit, through the scrambling
  EXPECT_EQ(ReadValues(small, {{'i'}, {'i'}}), "i:1\ni:2\nend");

  std::string bytes;
  TestSave save(new SinkStream(&bytes, 1000));
  save.Method = 1;
  const int one = 1;
  EXPECT_TRUE(save.WriteInt(&one));  // still inside zlib's buffer
  EXPECT_FALSE(save.WriteString(big[0].Text));
  EXPECT_TRUE(save.Failed());
  EXPECT_FALSE(save.Finish());
  EXPECT_LE(bytes.size(), 1000u);
}

TEST(ConfigHostile, InputsThatFailTheFirstRead)
{
  const std::string packed = Header(1, 0, 0, 1, 100000), junk(64, '\x55');  // a buffer of 120000 bytes
  const std::string inputs[] = {
      "",
      "BEAM",
      Header(1, 0, 0, 1, 6000000),
      Header(1, 1, 0, 1, 6000000),
      Header(0, 0, 0, 1, 6000000),
      Header(1, 2, 0, 1, 6000000) + Scramble(std::string("\x06\x01\x00\x00\x00", 5)),  // unknown method
      "BEAM v.2" + WriteValues({.Compressed = 0}, {{'i', 1}}).substr(8),               // foreign signature
      packed + Le32(120001) + junk,  // block lengths above the buffer
      packed + Le32(0x7FFFFFFF) + junk,
      packed + Le32(0xFFFFFFFF) + junk,
      packed + Le32(1000) + junk.substr(0, 10)};  // a truncated block
  for (const std::string& bytes : inputs)
    EXPECT_EQ(ReadValues(bytes, {{'i'}}), "") << bytes.size();
  // String lengths near the top of the range fail, keeping what came.
  for (uint32_t length : {0xFFFFFFFFu, 0xFFFFFFFEu, 0x80000000u, 0x7FFFFFFFu, 100000u}) {
    const std::string stream = std::string("\x0E\x07", 2) + Le32(length) + "only a few bytes";
    BConfigLoadMem load;
    SetBytes(load, Header(0, 0, 0, 1, 6000000) + Scramble(stream));
    AnsiString s;
    EXPECT_FALSE(load.ReadString(s)) << length;
    EXPECT_EQ(s, "only a few bytes");
  }
}

TEST(ConfigHostile, DeflateBombStopsAtTheCap)
{
  // A string claiming 4 GB, backed by 80 MB of zeros that deflate to almost nothing.
  const std::string head = std::string("\x0E\x07", 2) + Le32(0xFFFFFFFF), zeros(1 << 20, '\0');
  std::string out(1 << 20, '\0');
  z_stream z{};
  ASSERT_EQ(deflateInit2(&z, 9, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY), Z_OK);
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = uInt(out.size());
  for (int i = -1; i < 80; ++i) {
    const std::string& in = i < 0 ? head : zeros;
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data()));
    z.avail_in = uInt(in.size());
    ASSERT_EQ(deflate(&z, i == 79 ? Z_FINISH : Z_NO_FLUSH), i == 79 ? Z_STREAM_END : Z_OK);
  }
  out.resize(z.total_out);
  deflateEnd(&z);
  BConfigLoadMem load;
  SetBytes(load, Header(1, 1, 0, 1, 6000000) + Scramble(out));
  AnsiString s;
  EXPECT_FALSE(load.ReadString(s));
  EXPECT_TRUE(s.empty()) << s.size();  // all zeros: ends at the first NUL
}
