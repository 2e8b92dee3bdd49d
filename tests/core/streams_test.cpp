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

} // namespace

// Sizes cross the internal buffer several times, so every refill and flush is exercised.
TEST(FileStream, ByteAtATimeWriteThenReadKeepsEveryByte)
{
  ScratchFolder dir;
  const std::string name = dir / "bytes.bin";
  const std::string expected = Pattern(200003);
  {
    TFileStream out(name, fmCreate);
    for (char c : expected)
      ASSERT_EQ(out.Write(&c, 1), 1);
    EXPECT_EQ(out.Size(), static_cast<int64_t>(expected.size()));
    EXPECT_TRUE(out.Close());
  }
  EXPECT_EQ(ScratchFolder::Read(name), expected);

  TFileStream in(name, fmOpenRead);
  std::string back;
  char c;
  while (in.Read(&c, 1) == 1)
    back += c;
  EXPECT_EQ(back, expected);
  EXPECT_EQ(in.Position(), static_cast<int64_t>(expected.size()));
}

TEST(FileStream, ShortReadAtTheEndThenNothing)
{
  ScratchFolder dir;
  const std::string name = dir.Write("short.bin", "0123456789");
  TFileStream in(name, fmOpenRead);
  char buf[8];
  EXPECT_EQ(in.Read(buf, 8), 8);
  EXPECT_EQ(in.Read(buf, 8), 2);
  EXPECT_EQ(std::string(buf, 2), "89");
  EXPECT_EQ(in.Read(buf, 8), 0);
  in.SetPosition(5);
  EXPECT_THROW(in.ReadBuffer(buf, 8), EReadError);
}

TEST(FileStream, LargeReadAcrossTheBufferAfterSmallOnes)
{
  ScratchFolder dir;
  const std::string expected = Pattern(300000);
  const std::string name = dir.Write("large.bin", expected);
  TFileStream in(name, fmOpenRead);
  char first[3];
  ASSERT_EQ(in.Read(first, 3), 3);
  std::vector<char> rest(expected.size());
  EXPECT_EQ(in.Read(rest.data(), static_cast<int32_t>(rest.size())), static_cast<int32_t>(expected.size() - 3));
  EXPECT_EQ(std::string(first, 3) + std::string(rest.data(), expected.size() - 3), expected);
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

TEST(FileStream, CreateEmptiesAnExistingFileAlsoWithAllModeBitsSet)
{
  ScratchFolder dir;
  const std::string name = dir.Write("old.bin", "old content");
  {
    TFileStream s(name, fmCreate);
    EXPECT_EQ(s.Size(), 0);
  }
  dir.Write("old.bin", "old content");
  {
    TFileStream s(name, 0xFFFF);
    s.WriteBuffer("new", 3);
  }
  EXPECT_EQ(ScratchFolder::Read(name), "new");
}

TEST(FileStream, OpenAndCreateFailuresThrowTheirOwnExceptions)
{
  ScratchFolder dir;
  EXPECT_THROW(TFileStream(dir / "missing.bin", fmOpenRead), EFOpenError);
  EXPECT_THROW(TFileStream(dir.Path(), fmOpenRead), EFOpenError);
  EXPECT_THROW(TFileStream(dir / "no/such/folder.bin", fmCreate), EFCreateError);
  EXPECT_THROW(TFileStream(dir.Path(), fmCreate), EFCreateError);
}

TEST(FileStream, ReadOnlyStreamRefusesWrites)
{
  ScratchFolder dir;
  const std::string name = dir.Write("ro.bin", "keep");
  {
    TFileStream s(name, fmOpenRead);
    EXPECT_EQ(s.Write("x", 1), 0);
    EXPECT_THROW(s.WriteBuffer("x", 1), EWriteError);
    EXPECT_TRUE(s.Close());
  }
  EXPECT_EQ(ScratchFolder::Read(name), "keep");
}

TEST(FileStream, FailedFinalFlushIsReported)
{
  // /dev/full accepts the open and refuses every write with ENOSPC.
  TFileStream s("/dev/full", fmOpenWrite);
  EXPECT_EQ(s.Write("abc", 3), 3); // still in the buffer
  EXPECT_FALSE(s.Close());
  EXPECT_TRUE(s.Failed());
}

TEST(FileStream, FailedFlushStopsLaterWrites)
{
  TFileStream s("/dev/full", fmOpenWrite);
  s.WriteBuffer("abc", 3);
  EXPECT_FALSE(s.Flush());
  EXPECT_EQ(s.Write("d", 1), 0);
  EXPECT_FALSE(s.Sync());
}

TEST(FileStream, FileNamesAreTakenByteForByte)
{
  ScratchFolder dir;
  const std::string name = dir / "\xC0\xFF\xE9.txt"; // not valid UTF-8
  {
    TFileStream s(name, fmCreate);
    s.WriteBuffer("x", 1);
  }
  EXPECT_EQ(ScratchFolder::Read(name), "x");
}

TEST(MemoryStream, WriteSeekReadAndShortReads)
{
  TMemoryStream m;
  m.WriteBuffer("hello", 5);
  EXPECT_EQ(m.Size(), 5);
  EXPECT_EQ(m.Seek(1, soFromBeginning), 1);
  char buf[8];
  EXPECT_EQ(m.Read(buf, 8), 4);
  EXPECT_EQ(std::string(buf, 4), "ello");
  EXPECT_EQ(m.Read(buf, 8), 0);
  m.SetPosition(3);
  EXPECT_THROW(m.ReadBuffer(buf, 3), EReadError);
  EXPECT_EQ(m.Seek(-10, soFromCurrent), -1);
  EXPECT_EQ(m.Seek(-2, soFromEnd), 3);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(m.Memory()), 5), "hello");
}

TEST(MemoryStream, WritingPastTheEndZeroFillsTheGap)
{
  TMemoryStream m;
  m.WriteBuffer("ab", 2);
  m.Seek(5, soFromBeginning);
  m.WriteBuffer("z", 1);
  ASSERT_EQ(m.Size(), 6);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(m.Memory()), 6), std::string("ab\0\0\0z", 6));
}

TEST(MemoryStream, SetSizeAndClear)
{
  TMemoryStream m;
  m.WriteBuffer("abcdef", 6);
  m.SetSize(3);
  EXPECT_EQ(m.Size(), 3);
  char c;
  EXPECT_EQ(m.Read(&c, 1), 0) << "position 6 lies past the new end";
  m.SetSize(4);
  EXPECT_EQ(m.Memory()[3], 0);
  EXPECT_THROW(m.SetSize(-1), EStreamError);
  m.Clear();
  EXPECT_EQ(m.Size(), 0);
  EXPECT_EQ(m.Position(), 0);
}
