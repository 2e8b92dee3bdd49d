// The deflate method of the settings container: trailer checks, end-of-stream rules,
// write failures, and data larger than its 64000-byte buffers.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>
#include <zlib.h>

#include "ConfigTestSupport.h"
#include "settings/ZLibStream.h"

namespace {

std::string Random(size_t size, unsigned seed)
{
  std::mt19937 rng(seed);
  std::string s(size, '\0');
  for (char& c : s)
    c = static_cast<char>(1 + rng() % 255);
  return s;
}



// A deflate stream opened for reading on a container whose stream holds `body` scrambled
// from its first byte (no header: the stream reads straight through the scrambled layer).
struct ZReader {
  BConfigLoadMem Load;
  BZLibStream Z;
  explicit ZReader(const std::string& body)
  {
    SetBytes(Load, Scramble(body));
    EXPECT_EQ(Z.Open(&Load), 1);
  }
  std::string ReadAll(int& last)
  {
    std::string out;
    std::vector<char> buf(5000);
    while ((last = Z.Read(buf.data(), static_cast<int>(buf.size()))) > 0)
      out.append(buf.data(), static_cast<size_t>(last));
    return out;
  }
};

const std::string Data = "settings " + Random(3000, 1) + " end";

} // namespace

TEST(ZLibStream, MatchingTrailerEndsWithZeroAndStaysEnded)
{
  ZReader r(RawDeflate(Data) + Le32(Crc(Data)) + Le32(static_cast<uint32_t>(Data.size())) + "trailing junk");
  int last;
  EXPECT_EQ(r.ReadAll(last), Data);
  EXPECT_EQ(last, 0);
  char c;
  EXPECT_EQ(r.Z.Read(&c, 1), 0); // one member only: what follows is never read
}

TEST(ZLibStream, WrongCrcStillDeliversTheDataThenFails)
{
  ZReader r(RawDeflate(Data) + Le32(Crc(Data) ^ 1) + Le32(static_cast<uint32_t>(Data.size())));
  int last;
  EXPECT_EQ(r.ReadAll(last), Data);
  EXPECT_EQ(last, -1);
  char c;
  EXPECT_EQ(r.Z.Read(&c, 1), -1);
}

TEST(ZLibStream, TrailerLengthIsNotCompared)
{
  ZReader r(RawDeflate(Data) + Le32(Crc(Data)) + Le32(12345));
  int last;
  EXPECT_EQ(r.ReadAll(last), Data);
  EXPECT_EQ(last, 0);
}

TEST(ZLibStream, MissingTrailerLengthIsADataError)
{
  ZReader r(RawDeflate(Data) + Le32(Crc(Data)) + "\x01\x02");
  int last;
  EXPECT_EQ(r.ReadAll(last), Data);
  EXPECT_EQ(last, -1);
}

TEST(ZLibStream, TruncatedDataDeliversAPrefixThenNothing)
{
  const std::string deflated = RawDeflate(Data);
  ZReader r(deflated.substr(0, deflated.size() / 2));
  int last;
  const std::string got = r.ReadAll(last);
  EXPECT_EQ(last, 0);
  EXPECT_LT(got.size(), Data.size());
  EXPECT_EQ(got, Data.substr(0, got.size()));
}

TEST(ZLibStream, GarbageIsADataError)
{
  ZReader r(std::string("\xFF\xFF\xFF\xFF garbage", 12));
  int last;
  EXPECT_EQ(r.ReadAll(last), "");
  EXPECT_EQ(last, -1);
}

TEST(ZLibStream, ClosedOrWrongModeIsMisuse)
{
  BZLibStream z;
  char buf[4] = {};
  EXPECT_EQ(z.Read(buf, 4), -2);
  EXPECT_EQ(z.Write(buf, 4), -2);
  EXPECT_EQ(z.Flush(), -2);
  EXPECT_EQ(z.Open(static_cast<BConfigLoad*>(nullptr)), 0);
  EXPECT_EQ(z.Open(static_cast<BConfigSave*>(nullptr)), 0);
  EXPECT_FALSE(z.IsOpen());

  ZReader r(RawDeflate(Data));
  EXPECT_EQ(r.Z.Write(buf, 4), -2);
  EXPECT_EQ(r.Z.Flush(), -2);
}

// Incompressible data larger than the buffers: the key runs on across the 64000-byte
// pieces and into the trailer.
TEST(ZLibStream, LargeDataKeepsOneKeySequenceThroughTheTrailer)
{
  const std::string big = Random(200000, 9);
  BeamMode mode;
  mode.Method = 1;
  const std::string file = WriteContainer(mode, [&](BConfigSave& s) { ASSERT_TRUE(s.WriteString(big)); });
  ASSERT_GT(file.size(), 16u + 3 * 64000u);
  const std::string body = Scramble(file.substr(16));
  z_stream z{};
  ASSERT_EQ(inflateInit2(&z, -15), Z_OK);
  std::string out(big.size() + 100, '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(body.data()));
  z.avail_in = static_cast<uInt>(body.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = static_cast<uInt>(out.size());
  ASSERT_EQ(inflate(&z, Z_FINISH), Z_STREAM_END);
  out.resize(z.total_out);
  const size_t used = z.total_in;
  inflateEnd(&z);
  const std::string stream = std::string("\x0E\x07", 2) + Le32(200000) + big;
  EXPECT_EQ(out, stream);
  EXPECT_EQ(body.substr(used), Le32(Crc(stream)) + Le32(static_cast<uint32_t>(stream.size())));

  BConfigLoadMem load;
  SetBytes(load, file);
  AnsiString back;
  ASSERT_TRUE(load.ReadString(back));
  EXPECT_EQ(back, big);
}

TEST(ZLibStream, ContainerReadsEveryValueDespiteAWrongCrc)
{
  BeamMode mode;
  mode.Method = 1;
  const int a = 1, b = 2;
  std::string file = WriteContainer(mode, [&](BConfigSave& s) {
    ASSERT_TRUE(s.WriteInt(&a));
    ASSERT_TRUE(s.WriteInt(&b));
  });
  file[file.size() - 8] ^= 0x40; // a CRC bit, through the scrambling
  BConfigLoadMem load;
  SetBytes(load, file);
  int v;
  ASSERT_TRUE(load.ReadInt(v));
  EXPECT_EQ(v, 1);
  ASSERT_TRUE(load.ReadInt(v));
  EXPECT_EQ(v, 2);
  EXPECT_FALSE(load.ReadInt(v));
}

TEST(ZLibStream, FailedOutputIsReportedByTheWriter)
{
  std::string bytes;
  TestSave save(new SinkStream(&bytes, 1000));
  save.Method = 1;
  const std::string big = Random(200000, 3);
  const int one = 1;
  EXPECT_TRUE(save.WriteInt(&one)); // still inside zlib's buffer
  EXPECT_FALSE(save.WriteString(big));
  EXPECT_TRUE(save.Failed());
  EXPECT_FALSE(save.Finish());
  EXPECT_LE(bytes.size(), 1000u);
}
