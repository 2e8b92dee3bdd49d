#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Exceptions.h"
#include "FileStream.h"
#include "MemoryStream.h"
#include "support/ScratchFolder.h"

namespace {

std::string Pattern(size_t size)
{
  std::string bytes(size, '\0');
  for (size_t i = 0; i < size; ++i)
    bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
  return bytes;
}

}  // namespace

// Sizes cross the internal buffer several times, so every refill and flush is exercised: a byte
// at a time, then a large read after small ones, then a short read at the end.
TEST(FileStream, PiecesOfAnySizeKeepEveryByte)
{
  ScratchFolder dir;
  const std::string name = dir / "bytes.bin";
  const std::string expected = Pattern(300003);
  {
    TFileStream out(name, fmCreate);
    for (char c : expected)
      ASSERT_EQ(out.Write(&c, 1), 1);
    EXPECT_EQ(out.Size(), static_cast<int64_t>(expected.size()));
    EXPECT_TRUE(out.Close());
  }
  EXPECT_EQ(ScratchFolder::Read(name), expected);

  TFileStream in(name, fmOpenRead);
  std::string back(expected.size(), '\0');
  for (size_t i = 0; i < 1000; ++i)
    ASSERT_EQ(in.Read(&back[i], 1), 1);
  ASSERT_EQ(in.Read(&back[1000], 3), 3);
  EXPECT_EQ(in.Read(&back[1003], 400000), static_cast<int32_t>(expected.size() - 1003));
  EXPECT_EQ(back, expected);
  EXPECT_EQ(in.Position(), static_cast<int64_t>(expected.size()));
  EXPECT_EQ(in.Read(&back[0], 8), 0);
  in.SetPosition(static_cast<int64_t>(expected.size()) - 2);
  EXPECT_EQ(in.Read(&back[0], 8), 2);
  in.SetPosition(5);
  EXPECT_THROW(in.ReadBuffer(&back[0], 400000), EReadError);
}

TEST(FileStream, SeekingBetweenWritesAndReadsSeesPendingBytes)
{
  ScratchFolder dir;
  const std::string name = dir / "mixed.bin";
  TFileStream s(name, fmCreate);
  s.WriteBuffer("abcdef", 6);
  EXPECT_EQ(s.Seek(2, soFromBeginning), 2);
  char two[2];
  ASSERT_EQ(s.Read(two, 2), 2);
  EXPECT_EQ(std::string(two, 2), "cd");
  s.WriteBuffer("XY", 2);  // overwrites "ef" right after a read
  s.WriteBuffer("Z", 1);   // and extends the file
  EXPECT_EQ(s.Seek(0, soFromEnd), 7);
  EXPECT_EQ(s.Seek(-3, soFromCurrent), 4);
  char three[3];
  ASSERT_EQ(s.Read(three, 3), 3);
  EXPECT_EQ(std::string(three, 3), "XYZ");
  EXPECT_EQ(s.Seek(-1, soFromBeginning), -1);
  EXPECT_EQ(s.Position(), 7);
  ASSERT_TRUE(s.Close());
  EXPECT_EQ(ScratchFolder::Read(name), "abcdXYZ");
}

// Create empties a file, also with all mode bits set; names are bytes, not UTF-8; a read-only
// stream refuses writes; failures to open or create throw their own exceptions.
TEST(FileStream, OpenModesAndTheirFailures)
{
  ScratchFolder dir;
  const std::string name = dir.Write("\xC0\xFF\xE9.bin", "old content");
  {
    TFileStream s(name, fmCreate);
    EXPECT_EQ(s.Size(), 0);
  }
  dir.Write("\xC0\xFF\xE9.bin", "old content");
  {
    TFileStream s(name, 0xFFFF);
    s.WriteBuffer("new", 3);
  }
  EXPECT_EQ(ScratchFolder::Read(name), "new");
  {
    TFileStream s(name, fmOpenRead);
    EXPECT_EQ(s.Write("x", 1), 0);
    EXPECT_THROW(s.WriteBuffer("x", 1), EWriteError);
    EXPECT_TRUE(s.Close());
  }
  EXPECT_EQ(ScratchFolder::Read(name), "new");

  EXPECT_THROW(TFileStream(dir / "missing.bin", fmOpenRead), EFOpenError);
  EXPECT_THROW(TFileStream(dir.Path(), fmOpenRead), EFOpenError);
  EXPECT_THROW(TFileStream(dir / "no/such/folder.bin", fmCreate), EFCreateError);
  EXPECT_THROW(TFileStream(dir.Path(), fmCreate), EFCreateError);
}

// /dev/full accepts the open and refuses every write with ENOSPC.
TEST(FileStream, AFailedFlushIsReportedAndStopsLaterWrites)
{
  TFileStream s("/dev/full", fmOpenWrite);
  EXPECT_EQ(s.Write("abc", 3), 3);  // still in the buffer
  EXPECT_FALSE(s.Flush());
  EXPECT_TRUE(s.Failed());
  EXPECT_EQ(s.Write("d", 1), 0);
  EXPECT_FALSE(s.Sync());
  TFileStream closing("/dev/full", fmOpenWrite);
  closing.WriteBuffer("abc", 3);
  EXPECT_FALSE(closing.Close());
}

TEST(MemoryStream, WriteSeekReadGapsAndSizes)
{
  TMemoryStream m;
  m.WriteBuffer("hello", 5);
  EXPECT_EQ(m.Seek(1, soFromBeginning), 1);
  char buf[8];
  EXPECT_EQ(m.Read(buf, 8), 4);
  EXPECT_EQ(std::string(buf, 4), "ello");
  EXPECT_EQ(m.Read(buf, 8), 0);
  m.SetPosition(3);
  EXPECT_THROW(m.ReadBuffer(buf, 3), EReadError);
  EXPECT_EQ(m.Seek(-10, soFromCurrent), -1);
  EXPECT_EQ(m.Seek(-2, soFromEnd), 3);
  m.Seek(7, soFromBeginning);  // writing past the end zero-fills the gap
  m.WriteBuffer("z", 1);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(m.Memory()), static_cast<size_t>(m.Size())),
            std::string("hello\0\0z", 8));
  m.SetSize(3);
  EXPECT_EQ(m.Read(buf, 1), 0) << "the position lies past the new end";
  m.SetSize(4);
  EXPECT_EQ(m.Memory()[3], 0);
  EXPECT_THROW(m.SetSize(-1), EStreamError);
  m.Clear();
  EXPECT_EQ(m.Size() + m.Position(), 0);
}
