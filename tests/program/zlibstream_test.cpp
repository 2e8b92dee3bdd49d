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

}  // namespace

// The data comes whole before the trailer is judged: 0 at a good end, -1 on a wrong checksum
// or a short trailer, and the same again on the next read. One member only: what follows is
// never read, and the trailer's length is not compared.
TEST(ZLibStream, TrailerDecidesTheEndOnlyAfterTheData)
{
  const std::string deflated = RawDeflate(Data), size = Le32(static_cast<uint32_t>(Data.size()));
  const struct {
    std::string body, data;
    int last;
  } cases[] = {
      {deflated + Le32(Crc(Data)) + size + "trailing junk", Data, 0},
      {deflated + Le32(Crc(Data) ^ 1) + size, Data, -1},
      {deflated + Le32(Crc(Data)) + Le32(12345), Data, 0},
      {deflated + Le32(Crc(Data)) + "\x01\x02", Data, -1},
      {std::string("\xFF\xFF\xFF\xFF garbage", 12), "", -1},
  };
  for (const auto& c : cases) {
    ZReader r(c.body);
    int last;
    EXPECT_TRUE(r.ReadAll(last) == c.data) << c.body.size();
    EXPECT_EQ(last, c.last);
    char ch;
    EXPECT_EQ(r.Z.Read(&ch, 1), c.last);
  }
  // Truncated data delivers a prefix, then nothing.
  ZReader r(deflated.substr(0, deflated.size() / 2));
  int last;
  const std::string got = r.ReadAll(last);
  EXPECT_EQ(last, 0);
  EXPECT_LT(got.size(), Data.size());
  EXPECT_TRUE(got == Data.substr(0, got.size()));
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
  const std::vector<Value> big{{'s', 0, Random(200000, 9)}};
  const std::string file = WriteValues({.Method = 1}, big);
  ASSERT_GT(file.size(), 16u + 3 * 64000u);
  const std::string stream = std::string("\x0E\x07", 2) + Le32(200000) + big[0].Text;
  const std::string body = Scramble(file.substr(16));
  EXPECT_EQ(body.substr(body.size() - 8), Le32(Crc(stream)) + Le32(static_cast<uint32_t>(stream.size())));
  ZReader r(body);
  int last;
  EXPECT_TRUE(r.ReadAll(last) == stream);
  EXPECT_EQ(last, 0);
  EXPECT_EQ(ReadValues(file, big), DumpValues(big) + "end");
}

TEST(ZLibStream, ContainerReadsEveryValueDespiteAWrongCrc)
{
  std::string file = WriteValues({.Method = 1}, {{'i', 1}, {'i', 2}});
  file[file.size() - 8] ^= 0x40;  // a CRC bit, through the scrambling
  EXPECT_EQ(ReadValues(file, {{'i'}, {'i'}}), "i:1\ni:2\nend");
}

TEST(ZLibStream, FailedOutputIsReportedByTheWriter)
{
  std::string bytes;
  TestSave save(new SinkStream(&bytes, 1000));
  save.Method = 1;
  const std::string big = Random(200000, 3);
  const int one = 1;
  EXPECT_TRUE(save.WriteInt(&one));  // still inside zlib's buffer
  EXPECT_FALSE(save.WriteString(big));
  EXPECT_TRUE(save.Failed());
  EXPECT_FALSE(save.Finish());
  EXPECT_LE(bytes.size(), 1000u);
}
