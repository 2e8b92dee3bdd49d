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
    c = static_cast<char>(1 + rng() % 255); // no NUL: the writer stops at one
  return s;
}

// Every kind of value, in the order a settings file might hold them.
struct Sample {
  std::vector<bool> Bools{true, false};
  std::vector<uint8_t> Bytes{0, 1, 255};
  std::vector<int> Ints{0, -1, 4, INT_MIN, INT_MAX};
  std::vector<uint32_t> Longs{0, 0xFFFFFFFF, 70000};
  std::vector<TColor> Colors{0, 0x00C0DCC0, clBtnFace, clInfoBk};
  std::vector<std::string> Strings{"", "a", "\xCF\xF0\xE8\xE2\xE5\xF2", Text(255, 1), Text(256, 2), Text(65535, 3),
                                   Text(65536, 4), Text(200000, 5)};

  void Write(BConfigSave& s) const
  {
    for (size_t i = 0; i < Strings.size(); ++i) {
      const bool b = Bools[i % Bools.size()];
      ASSERT_TRUE(s.WriteBool(&b));
      ASSERT_TRUE(s.WriteByte(&Bytes[i % Bytes.size()]));
      ASSERT_TRUE(s.WriteInt(&Ints[i % Ints.size()]));
      ASSERT_TRUE(s.WriteLong(&Longs[i % Longs.size()]));
      ASSERT_TRUE(s.WriteColor(&Colors[i % Colors.size()]));
      ASSERT_TRUE(s.WriteString(Strings[i]));
    }
  }

  // Reads values in order until one fails; each one read must be the one written.
  // Returns the count read (six per string).
  size_t ReadPrefix(BConfigLoad& l) const
  {
    size_t count = 0;
    for (size_t i = 0; i < Strings.size(); ++i) {
      bool b;
      uint8_t byte;
      int n;
      uint32_t lng;
      TColor c;
      AnsiString s;
      if (!l.ReadBool(b))
        return count;
      EXPECT_EQ(b, Bools[i % Bools.size()]) << i;
      if (!l.ReadByte(byte))
        return count + 1;
      EXPECT_EQ(byte, Bytes[i % Bytes.size()]) << i;
      if (!l.ReadInt(n))
        return count + 2;
      EXPECT_EQ(n, Ints[i % Ints.size()]) << i;
      if (!l.ReadLong(lng))
        return count + 3;
      EXPECT_EQ(lng, Longs[i % Longs.size()]) << i;
      if (!l.ReadColor(c))
        return count + 4;
      EXPECT_EQ(c, Colors[i % Colors.size()]) << i;
      if (!l.ReadString(s))
        return count + 5;
      EXPECT_EQ(s, Strings[i]) << i;
      count += 6;
    }
    return count;
  }

  size_t Count() const { return Strings.size() * 6; }
};

// compressed, method, fixed key, typed
using ModeParam = std::tuple<int, int, int, int>;

BeamMode ToMode(const ModeParam& p)
{
  BeamMode m;
  m.Compressed = static_cast<uint8_t>(std::get<0>(p));
  m.Method = static_cast<uint8_t>(std::get<1>(p));
  m.FixedKey = static_cast<uint8_t>(std::get<2>(p));
  m.Typed = static_cast<uint8_t>(std::get<3>(p));
  return m;
}

class ContainerRoundTrip : public testing::TestWithParam<ModeParam> {};

} // namespace

TEST_P(ContainerRoundTrip, EveryValueComesBack)
{
  const Sample sample;
  const std::string bytes = WriteContainer(ToMode(GetParam()), [&](BConfigSave& s) { sample.Write(s); });
  BConfigLoadMem load;
  SetBytes(load, bytes);
  EXPECT_EQ(sample.ReadPrefix(load), sample.Count());
  int n;
  EXPECT_FALSE(load.ReadInt(n)) << "the stream should be at its end";
}

TEST_P(ContainerRoundTrip, TruncatedFilesFailWithoutGarbage)
{
  Sample sample;
  sample.Strings.resize(3);
  const BeamMode mode = ToMode(GetParam());
  const std::string bytes = WriteContainer(mode, [&](BConfigSave& s) { sample.Write(s); });
  for (size_t cut = 0; cut < bytes.size(); ++cut) {
    BConfigLoadMem load;
    SetBytes(load, bytes.substr(0, cut));
    const size_t count = sample.ReadPrefix(load);
    // A deflate body may lose only its end markers and trailer and still hold every value.
    if (!(mode.Compressed && mode.Method == 1)) {
      EXPECT_LT(count, sample.Count()) << cut;
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

TEST(ConfigContainer, WrongTagFailsTheTypedRead)
{
  const int four = 4;
  const std::string bytes = WriteContainer(BeamMode{}, [&](BConfigSave& s) { ASSERT_TRUE(s.WriteInt(&four)); });
  BConfigLoadMem load;
  SetBytes(load, bytes);
  TColor c = 123;
  EXPECT_FALSE(load.ReadColor(c));
  EXPECT_EQ(c, 123); // unchanged on failure
}

TEST(ConfigContainer, WriterStopsAStringAtItsFirstNul)
{
  const std::string bytes = WriteContainer(BeamMode{}, [](BConfigSave& s) {
    ASSERT_TRUE(s.WriteString(std::string("ab\0cd", 5)));
    ASSERT_TRUE(s.WriteString(std::string("\0x", 2)));
  });
  BConfigLoadMem load;
  SetBytes(load, bytes);
  AnsiString s;
  ASSERT_TRUE(load.ReadString(s));
  EXPECT_EQ(s, "ab");
  ASSERT_TRUE(load.ReadString(s));
  EXPECT_EQ(s, "");
}

TEST(ConfigContainer, ValuesSpreadOverManyBlocksComeBack)
{
  BeamMode mode;
  mode.BlockSize = 100000; // 5-byte values: 30000 of them need two blocks
  std::vector<int> values(30000);
  for (size_t i = 0; i < values.size(); ++i)
    values[i] = static_cast<int>(i * 2654435761u);
  const std::string bytes = WriteContainer(mode, [&](BConfigSave& s) {
    for (const int& v : values)
      ASSERT_TRUE(s.WriteInt(&v));
  });
  // Walk the plain block lengths: more than one block.
  size_t pos = 16, blocks = 0;
  while (pos + 4 <= bytes.size()) {
    pos += 4 + GetLE32(reinterpret_cast<const uint8_t*>(bytes.data() + pos));
    ++blocks;
  }
  EXPECT_EQ(pos, bytes.size());
  EXPECT_EQ(blocks, 2u);

  BConfigLoadMem load;
  SetBytes(load, bytes);
  for (size_t i = 0; i < values.size(); ++i) {
    int v;
    ASSERT_TRUE(load.ReadInt(v)) << i;
    ASSERT_EQ(v, values[i]);
  }
}

TEST(ConfigContainer, ValueLargerThanABlockFitsUpToTheBuffer)
{
  BeamMode mode;
  mode.BlockSize = 100000; // buffer of 120000 bytes
  const std::string big = Text(110000, 7), tooBig = Text(130000, 8);
  bool refused = false, failed = false;
  const std::string bytes = WriteContainer(mode, [&](TestSave& s) {
    ASSERT_TRUE(s.WriteString("before"));
    ASSERT_TRUE(s.WriteString(big));
    refused = !s.WriteString(tooBig);
    failed = s.Failed();
  });
  EXPECT_TRUE(refused);
  EXPECT_TRUE(failed);
  BConfigLoadMem load;
  SetBytes(load, bytes);
  AnsiString s;
  ASSERT_TRUE(load.ReadString(s));
  EXPECT_EQ(s, "before");
  ASSERT_TRUE(load.ReadString(s));
  EXPECT_EQ(s, big);
}

TEST(ConfigContainer, SetDataStartsOverAndRefusesNull)
{
  const int one = 1, two = 2;
  const std::string a = WriteContainer(BeamMode{}, [&](BConfigSave& s) { ASSERT_TRUE(s.WriteInt(&one)); });
  BeamMode plain;
  plain.Compressed = 0;
  const std::string b = WriteContainer(plain, [&](BConfigSave& s) { ASSERT_TRUE(s.WriteInt(&two)); });
  BConfigLoadMem load;
  EXPECT_FALSE(load.SetData(nullptr, 10));
  SetBytes(load, a);
  int v = 0;
  ASSERT_TRUE(load.ReadInt(v));
  EXPECT_EQ(v, 1);
  SetBytes(load, b); // a new header, the key back at its start
  ASSERT_TRUE(load.ReadInt(v));
  EXPECT_EQ(v, 2);
  EXPECT_FALSE(load.SetData(nullptr, 0));
  EXPECT_FALSE(load.ReadInt(v)); // the data stays what it was, now used up
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

TEST(ConfigHostile, EmptyOrHeaderOnlyInputFailsTheFirstRead)
{
  for (const std::string& bytes : {std::string(), std::string("BEAM"), Header(1, 0, 0, 1, 6000000),
                                   Header(1, 1, 0, 1, 6000000), Header(0, 0, 0, 1, 6000000)}) {
    BConfigLoadMem load;
    SetBytes(load, bytes);
    bool b;
    EXPECT_FALSE(load.ReadBool(b)) << bytes.size();
  }
}

TEST(ConfigHostile, UnknownMethodReadsNothing)
{
  BConfigLoadMem load;
  SetBytes(load, Header(1, 2, 0, 1, 6000000) + Scramble(std::string("\x06\x01\x00\x00\x00", 5)));
  int v;
  EXPECT_FALSE(load.ReadInt(v));
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

TEST(ConfigHostile, PackedBlockLengthAboveTheBufferIsRefused)
{
  // Block size 100000: the buffer holds 120000 bytes.
  for (uint32_t length : {120001u, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
    BConfigLoadMem load;
    SetBytes(load, Header(1, 0, 0, 1, 100000) + Le32(length) + std::string(64, '\x55'));
    bool b;
    EXPECT_FALSE(load.ReadBool(b)) << length;
  }
}

TEST(ConfigHostile, TruncatedPackedBlockIsRefused)
{
  BConfigLoadMem load;
  SetBytes(load, Header(1, 0, 0, 1, 6000000) + Le32(1000) + std::string(10, '\x55'));
  bool b;
  EXPECT_FALSE(load.ReadBool(b));
}

TEST(ConfigHostile, DeflateBombStopsAtTheCap)
{
  // A string claiming 4 GB, backed by 80 MB of zeros that deflate to almost nothing.
  std::string stream = std::string("\x0E\x07", 2) + Le32(0xFFFFFFFF);
  z_stream z{};
  ASSERT_EQ(deflateInit2(&z, 9, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY), Z_OK);
  std::string out(1 << 20, '\0');
  const std::string zeros(1 << 20, '\0');
  size_t outLen = 0;
  auto pump = [&](const char* data, size_t n, int flush) {
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data));
    z.avail_in = static_cast<uInt>(n);
    int ret;
    do {
      if (out.size() - outLen < 65536)
        out.resize(out.size() * 2);
      z.next_out = reinterpret_cast<Bytef*>(out.data() + outLen);
      z.avail_out = static_cast<uInt>(out.size() - outLen);
      ret = deflate(&z, flush);
      outLen = out.size() - z.avail_out;
    } while (flush == Z_FINISH ? ret == Z_OK : z.avail_in > 0);
  };
  pump(stream.data(), stream.size(), Z_NO_FLUSH);
  for (int i = 0; i < 80; ++i)
    pump(zeros.data(), zeros.size(), i == 79 ? Z_FINISH : Z_NO_FLUSH);
  deflateEnd(&z);
  out.resize(outLen);
  ASSERT_LT(out.size(), 1u << 20);

  BConfigLoadMem load;
  SetBytes(load, Header(1, 1, 0, 1, 6000000) + Scramble(out));
  AnsiString s;
  EXPECT_FALSE(load.ReadString(s));
  EXPECT_EQ(s, ""); // all zeros: ends at the first NUL
  int v;
  EXPECT_FALSE(load.ReadInt(v));
}

TEST(ConfigHostile, GarbageAfterAValidHeaderNeverCrashes)
{
  std::mt19937 rng(42);
  for (int round = 0; round < 300; ++round) {
    const int method = round % 3; // packed, deflate, plain
    std::string body(1 + rng() % 400, '\0');
    for (char& c : body)
      c = static_cast<char>(rng());
    if (method == 0 && round % 2 == 0)
      body = Le32(static_cast<uint32_t>(body.size())) + body; // a block length that fits
    BConfigLoadMem load;
    SetBytes(load, Header(method == 2 ? 0 : 1, method == 1 ? 1 : 0, rng() % 2, rng() % 2, 100000) + body);
    try {
      for (int i = 0; i < 10000; ++i) {
        bool b;
        uint8_t byte;
        int v;
        uint32_t lng;
        AnsiString s;
        const int pick = static_cast<int>(rng() % 5);
        const bool ok = pick == 0 ? load.ReadBool(b) : pick == 1 ? load.ReadByte(byte)
                        : pick == 2 ? load.ReadInt(v) : pick == 3 ? load.ReadLong(lng) : load.ReadString(s);
        if (!ok)
          break;
      }
    } catch (const Exception&) {
      // a packed block that fails to unpack
    }
  }
}
