#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <random>
#include <string>

#include "Exceptions.h"
#include "FileStream.h"
#include "MemoryStream.h"
#include "ResourceStream.h"
#include "Resources.h"
#include "support/ScratchFolder.h"

namespace {

// Random writes, reads and seeks on a stream against a plain string: pieces of one byte, of a
// few, and now and then longer than the file stream's buffer, so that every refill and flush
// and every switch between reading and writing is crossed; a gap a seek leaves is zero-filled.
void AgreesWithAString(TStream& stream, std::string& model)
{
  std::mt19937 random(31);
  auto size = [&random] {
    return static_cast<int32_t>(random() % 40 == 0 ? 70000 + random() % 70000 : random() % 9);
  };
  int64_t pos = 0;
  std::string buffer;
  for (int step = 0; step < 3000; ++step) {
    SCOPED_TRACE("step " + std::to_string(step));
    const size_t at = std::min(static_cast<size_t>(pos), model.size());
    const int op = static_cast<int>(random() % 3);
    if (op == 0) {
      buffer.resize(static_cast<size_t>(size()));
      for (char& c : buffer)
        c = static_cast<char>(random());
      ASSERT_EQ(stream.Write(buffer.data(), static_cast<int32_t>(buffer.size())), std::ssize(buffer));
      if (!buffer.empty()) {
        model.resize(std::max(model.size(), static_cast<size_t>(pos) + buffer.size()), '\0');
        model.replace(static_cast<size_t>(pos), buffer.size(), buffer);
      }
      pos += std::ssize(buffer);
    } else if (op == 1) {
      const size_t asked = static_cast<size_t>(size());
      buffer.assign(asked, '\0');
      buffer.resize(static_cast<size_t>(stream.Read(buffer.data(), static_cast<int32_t>(asked))));
      ASSERT_EQ(buffer, model.substr(at, asked));
      pos += std::ssize(buffer);
    } else {
      const auto origin = static_cast<TSeekOrigin>(random() % 3);
      const int64_t base = origin == soFromBeginning ? 0
                           : origin == soFromCurrent ? pos
                                                     : static_cast<int64_t>(model.size());
      const int64_t offset = static_cast<int64_t>(random() % 200) - 150 + (random() % 5 == 0 ? 20 : 0);
      const int64_t target = base + offset;
      ASSERT_EQ(stream.Seek(offset, origin), target < 0 ? -1 : target);
      if (target >= 0)
        pos = target;
    }
    ASSERT_EQ(stream.Position(), pos);
    ASSERT_EQ(stream.Size(), static_cast<int64_t>(model.size()));
  }
}

}  // namespace

TEST(FileStream, RandomReadsWritesAndSeeksAgreeWithAString)
{
  ScratchFolder dir;
  const std::string name = dir / "bytes.bin";
  std::string model;
  TFileStream stream(name, fmCreate);
  AgreesWithAString(stream, model);
  ASSERT_TRUE(stream.Close());
  EXPECT_TRUE(ScratchFolder::Read(name) == model);
  TFileStream in(name, fmOpenRead);
  std::string back(model.size(), '\0');
  EXPECT_THROW(in.ReadBuffer(back.data(), static_cast<int32_t>(model.size() + 1)), EReadError);
}

// Create empties a file, also with all mode bits set; names are bytes, not UTF-8.
TEST(FileStream, OpenModesAndTheirFailures)
{
  ScratchFolder dir;
  const std::string name = dir.Write("\xC0\xFF\xE9.bin", "old content");
  EXPECT_EQ(TFileStream(name, fmCreate).Size(), 0);
  dir.Write("\xC0\xFF\xE9.bin", "old content");
  TFileStream(name, 0xFFFF).WriteBuffer("new", 3);
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
  // Read, only a regular file (or a link to one) opens, and a FIFO without a writer refuses at
  // once instead of waiting.
  ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
  std::filesystem::create_symlink(name, dir / "link");
  for (const std::string& other : {dir / "fifo", std::string("/dev/zero")})
    EXPECT_THROW(TFileStream(other, fmOpenRead), EFOpenError) << other;
  EXPECT_EQ(TFileStream(dir / "link", fmOpenRead).Size(), 3);
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

TEST(MemoryStream, RandomUseAgreesWithAStringAndSizesCutOrZeroFill)
{
  TMemoryStream m;
  std::string model;
  AgreesWithAString(m, model);
  EXPECT_TRUE(std::string(reinterpret_cast<const char*>(m.Memory()), static_cast<size_t>(m.Size())) == model);
  m.SetSize(3);
  m.SetPosition(2);
  EXPECT_THROW(m.ReadBuffer(model.data(), 2), EReadError);
  m.SetPosition(5);
  m.SetSize(4);
  EXPECT_EQ(m.Read(model.data(), 1), 0) << "the position lies past the new end";
  m.SetSize(6);
  EXPECT_EQ(m.Memory()[5], 0);
  EXPECT_THROW(m.SetSize(-1), EStreamError);
  m.Clear();
  EXPECT_EQ(m.Size() + m.Position(), 0);
}

// The name matches whole (it has no extension).
TEST(Resources, FoundByNameAndTypeWhateverTheCaseAndReadAsAStream)
{
  const ResourceEntry* exact = FindResource("SAMPLE", "rt_rcdata");
  ASSERT_NE(exact, nullptr);
  for (const std::string& name : {std::string("missing"), std::string("sample.txt"), std::string("sampl"),
                                  std::string("sample\0x", 8), std::string()})
    EXPECT_EQ(FindResource(name, "RT_RCDATA"), nullptr) << name;
  EXPECT_EQ(FindResource("sample", "RT_BITMAP"), nullptr);
  const ResourceEntry* all = FindResource("allbytes", "RT_RCDATA");
  ASSERT_NE(all, nullptr);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(all->Data), all->Size),
            ScratchFolder::Read(std::string(DRAVOLIN_TEST_DATA) + "/resources/allbytes.bin"));

  TResourceStream s("Sample", "RT_RCDATA");
  EXPECT_EQ(s.Memory(), exact->Data);
  std::string back;
  char buf[5];
  for (int32_t n; (n = s.Read(buf, 5)) > 0;)
    back.append(buf, static_cast<size_t>(n));
  EXPECT_EQ(back, std::string(reinterpret_cast<const char*>(exact->Data), exact->Size));
  EXPECT_EQ(s.Seek(-4, soFromEnd), static_cast<int64_t>(back.size()) - 4);
  EXPECT_EQ(s.Seek(-1, soFromBeginning), -1);
  EXPECT_EQ(s.Write("x", 1), 0);
  EXPECT_THROW(s.WriteBuffer("x", 1), EWriteError);
  EXPECT_EQ(TResourceStream("empty", "RT_RCDATA").Read(buf, 1), 0);
  EXPECT_THROW(TResourceStream("missing", "RT_RCDATA"), EResNotFound);
}
