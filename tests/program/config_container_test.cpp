// Round trips of the settings container in every body mode, long values, and hostile input.
#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <string>
#include <tuple>
#include <vector>
#include <zlib.h>

#include "ConfigTestSupport.h"
#include "Exceptions.h"
#include "settings/BeamFormat.h"

namespace {

std::string Text(size_t size, unsigned seed)
{
  std::mt19937 rng(seed);
  std::string s(size, '\0');
  for (char& c : s)
    c = static_cast<char>(1 + rng() % 255);  // no NUL: the writer stops at one
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

// compressed, method, fixed key, typed
using ModeParam = std::tuple<int, int, int, int>;

BeamMode ToMode(const ModeParam& p)
{
  return {.Compressed = uint8_t(std::get<0>(p)),
          .Method = uint8_t(std::get<1>(p)),
          .FixedKey = uint8_t(std::get<2>(p)),
          .Typed = uint8_t(std::get<3>(p))};
}

class ContainerRoundTrip : public testing::TestWithParam<ModeParam> {};

}  // namespace

TEST_P(ContainerRoundTrip, EveryValueComesBack)
{
  const std::vector<Value> sample = Sample();
  EXPECT_EQ(ReadValues(WriteValues(ToMode(GetParam()), sample), sample), DumpValues(sample) + "end");
}

// Whatever the cut, the values read are the ones written, up to one that fails.
TEST_P(ContainerRoundTrip, TruncatedFilesFailWithoutGarbage)
{
  const std::vector<Value> sample = Sample(3);
  const BeamMode mode = ToMode(GetParam());
  const std::string bytes = WriteValues(mode, sample);
  for (size_t cut = 0; cut < bytes.size(); ++cut) {
    const std::string read = ReadValues(bytes.substr(0, cut), sample);
    EXPECT_EQ(read, (DumpValues(sample) + "end").substr(0, read.size())) << cut;
    // A deflate body may lose only its end markers and trailer and still hold every value.
    if (!(mode.Compressed && mode.Method == 1)) {
      EXPECT_LT(read.size(), DumpValues(sample).size()) << cut;
    }
  }
}

std::string ModeName(const testing::TestParamInfo<ModeParam>& info)
{
  const int compressed = std::get<0>(info.param), method = std::get<1>(info.param);
  // The method byte of a plain file is ignored, but it is still varied.
  std::string name = !compressed ? "Plain" + std::to_string(method) : method ? "Deflate" : "Packed";
  name += std::get<2>(info.param) ? "FixedKey" : "RunningKey";
  return name + (std::get<3>(info.param) ? "Typed" : "Untyped");
}

INSTANTIATE_TEST_SUITE_P(Modes, ContainerRoundTrip,
                         testing::Combine(testing::Values(0, 1), testing::Values(0, 1), testing::Values(0, 1),
                                          testing::Values(0, 1)),
                         ModeName);

// A wrong tag fails the read and leaves the value; a string stops at its first NUL.
TEST(ConfigContainer, WrongTagFailsTheTypedReadAndNulEndsAString)
{
  BConfigLoadMem load;
  SetBytes(load, WriteValues(BeamMode{}, {{'i', 4}}));
  TColor c = 123;
  EXPECT_FALSE(load.ReadColor(c));
  EXPECT_EQ(c, 123);
  const std::string nul =
      WriteValues(BeamMode{}, {{'s', 0, std::string("ab\0cd", 5)}, {'s', 0, std::string("\0x", 2)}});
  EXPECT_EQ(ReadValues(nul, {{'s'}, {'s'}}), "s:ab\ns:\nend");
}

TEST(ConfigContainer, ValuesSpreadOverManyBlocksComeBack)
{
  std::vector<Value> values;  // 5-byte values: 30000 of them need two blocks of 100000
  for (uint32_t i = 0; i < 30000; ++i)
    values.push_back({'i', static_cast<int32_t>(i * 2654435761u)});
  const std::string bytes = WriteValues({.BlockSize = 100000}, values);
  // Walk the plain block lengths: more than one block.
  size_t pos = 16, blocks = 0;
  while (pos + 4 <= bytes.size()) {
    pos += 4 + GetLE32(reinterpret_cast<const uint8_t*>(bytes.data() + pos));
    ++blocks;
  }
  EXPECT_EQ(pos, bytes.size());
  EXPECT_EQ(blocks, 2u);
  EXPECT_TRUE(ReadValues(bytes, values) == DumpValues(values) + "end");
}

TEST(ConfigContainer, ValueLargerThanABlockFitsUpToTheBuffer)
{
  const std::vector<Value> fits{{'s', 0, "before"}, {'s', 0, Text(110000, 7)}};  // a buffer of 120000
  bool refused = false, failed = false;
  const std::string bytes = WriteContainer({.BlockSize = 100000}, [&](TestSave& s) {
    for (const Value& v : fits)
      ASSERT_TRUE(WriteValue(s, v));
    refused = !s.WriteString(Text(130000, 8));
    failed = s.Failed();
  });
  EXPECT_TRUE(refused);
  EXPECT_TRUE(failed);
  EXPECT_EQ(ReadValues(bytes, fits), DumpValues(fits) + "end");
}

TEST(ConfigContainer, SetDataStartsOverAndRefusesNull)
{
  const std::string a = WriteValues(BeamMode{}, {{'i', 1}}), b = WriteValues({.Compressed = 0}, {{'i', 2}});
  BConfigLoadMem load;
  EXPECT_FALSE(load.SetData(nullptr, 10));
  SetBytes(load, a);
  EXPECT_EQ(ReadValues(load, {{'i'}}), "i:1\nend");
  SetBytes(load, b);  // a new header, the key back at its start
  EXPECT_EQ(ReadValues(load, {{'i'}}), "i:2\nend");
  EXPECT_FALSE(load.SetData(nullptr, 0));
  EXPECT_EQ(ReadValues(load, {{'i'}}), "");  // the data stays what it was, now used up
}

// One memory reader for data of several block sizes in turn: the buffer kept from the last
// data serves the next only when it is large enough.
TEST(ConfigContainer, SetDataTakesBlocksOfAnySizeInTurn)
{
  const uint32_t blockSizes[2] = {100000, 400000};
  const std::string texts[2] = {Text(110000, 9), Text(450000, 10)};
  std::string data[2];
  for (int i = 0; i < 2; ++i) {
    BeamMode mode;
    mode.BlockSize = blockSizes[i];
    data[i] = WriteContainer(mode, [&](BConfigSave& s) { ASSERT_TRUE(s.WriteString(texts[i])); });
  }
  BConfigLoadMem load;
  for (int i : {0, 1, 0, 1}) {
    SetBytes(load, data[i]);
    AnsiString s;
    ASSERT_TRUE(load.ReadString(s)) << i;
    EXPECT_EQ(s, texts[i]) << i;
  }
}

TEST(ConfigContainer, MissingFileRaisesFromTheConstructor)
{
  EXPECT_THROW(BConfigLoadFile("/nonexistent/folder/Dravolin.ini"), EFOpenError);
}

// ---- hostile input ----

TEST(ConfigHostile, InputsThatFailTheFirstRead)
{
  // Block size 100000: the buffer holds 120000 bytes.
  const std::string packed = Header(1, 0, 0, 1, 100000);
  const std::string inputs[] = {"",
                                "BEAM",
                                Header(1, 0, 0, 1, 6000000),
                                Header(1, 1, 0, 1, 6000000),
                                Header(0, 0, 0, 1, 6000000),
                                Header(1, 2, 0, 1, 6000000) +
                                    Scramble(std::string("\x06\x01\x00\x00\x00", 5)),  // unknown method
                                packed + Le32(120001) + std::string(64, '\x55'),  // block lengths above the buffer
                                packed + Le32(0x7FFFFFFF) + std::string(64, '\x55'),
                                packed + Le32(0xFFFFFFFF) + std::string(64, '\x55'),
                                packed + Le32(1000) + std::string(10, '\x55')};  // a truncated block
  for (const std::string& bytes : inputs)
    EXPECT_EQ(ReadValues(bytes, {{'i'}}), "") << bytes.size();
}

TEST(ConfigHostile, StringLengthsNearTheTopOfTheRangeFail)
{
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
  z.avail_out = static_cast<uInt>(out.size());
  for (int i = -1; i < 80; ++i) {
    const std::string& in = i < 0 ? head : zeros;
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data()));
    z.avail_in = static_cast<uInt>(in.size());
    ASSERT_EQ(deflate(&z, i == 79 ? Z_FINISH : Z_NO_FLUSH), i == 79 ? Z_STREAM_END : Z_OK);
  }
  out.resize(z.total_out);
  deflateEnd(&z);

  BConfigLoadMem load;
  SetBytes(load, Header(1, 1, 0, 1, 6000000) + Scramble(out));
  AnsiString s;
  EXPECT_FALSE(load.ReadString(s));
  EXPECT_EQ(s, "");  // all zeros: ends at the first NUL
  int v;
  EXPECT_FALSE(load.ReadInt(v));
}

TEST(ConfigHostile, GarbageAfterAValidHeaderNeverCrashes)
{
  std::mt19937 rng(42);
  for (int round = 0; round < 300; ++round) {
    const int method = round % 3;  // packed, deflate, plain
    std::string body(1 + rng() % 400, '\0');
    for (char& c : body)
      c = static_cast<char>(rng());
    if (method == 0 && round % 2 == 0)
      body = Le32(static_cast<uint32_t>(body.size())) + body;  // a block length that fits
    BConfigLoadMem load;
    SetBytes(load, Header(method == 2 ? 0 : 1, method == 1 ? 1 : 0, rng() % 2, rng() % 2, 100000) + body);
    try {
      for (int i = 0; i < 10000 && ReadValue(load, "byilcs"[rng() % 6]); ++i) {
      }
    } catch (const Exception&) {
      // a packed block that fails to unpack
    }
  }
}
