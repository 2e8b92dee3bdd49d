#include <gtest/gtest.h>

#include <string>

#include "Exceptions.h"
#include "ResourceStream.h"
#include "Resources.h"
#include "support/ScratchFolder.h"

namespace {

std::string SourceFile(const std::string& name)
{
  return ScratchFolder::Read(std::string(DRAVOLIN_TEST_DATA) + "/resources/" + name);
}

}  // namespace

// Name and type match whatever the case, but whole (the name has no extension); every byte
// value survives the embedding.
TEST(Resources, FoundByNameAndTypeWhateverTheCaseWithEveryByte)
{
  const ResourceEntry* exact = FindResource("sample", "RT_RCDATA");
  ASSERT_NE(exact, nullptr);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(exact->Data), exact->Size), SourceFile("sample.txt"));
  EXPECT_EQ(FindResource("SAMPLE", "RT_RCDATA"), exact);
  EXPECT_EQ(FindResource("Sample", "rt_rcdata"), exact);
  for (const std::string& name : {std::string("missing"), std::string("sample.txt"), std::string("sampl"),
                                  std::string("sample\0x", 8), std::string()})
    EXPECT_EQ(FindResource(name, "RT_RCDATA"), nullptr) << name;
  EXPECT_EQ(FindResource("sample", "RT_BITMAP"), nullptr);

  const ResourceEntry* all = FindResource("allbytes", "RT_RCDATA");
  ASSERT_NE(all, nullptr);
  ASSERT_EQ(all->Size, 256u);
  for (unsigned i = 0; i < 256; ++i)
    ASSERT_EQ(all->Data[i], i);
}

TEST(ResourceStream, ReadsInPiecesSeeksAndRefusesWrites)
{
  TResourceStream s("SAMPLE", "RT_RCDATA");
  const std::string expected = SourceFile("sample.txt");
  EXPECT_EQ(s.Memory(), FindResource("sample", "RT_RCDATA")->Data);
  std::string back;
  char buf[5];
  for (int32_t n; (n = s.Read(buf, 5)) > 0;)
    back.append(buf, static_cast<size_t>(n));
  EXPECT_EQ(back, expected);
  EXPECT_EQ(s.Seek(-4, soFromEnd), static_cast<int64_t>(expected.size()) - 4);
  ASSERT_EQ(s.Read(buf, 5), 4);
  EXPECT_EQ(std::string(buf, 4), "\xC0\xFF\r\n");
  EXPECT_EQ(s.Seek(-1, soFromBeginning), -1);
  EXPECT_EQ(s.Write("x", 1), 0);
  EXPECT_THROW(s.WriteBuffer("x", 1), EWriteError);
  EXPECT_EQ(s.Memory()[0], 'F');

  TResourceStream empty("empty", "RT_RCDATA");
  EXPECT_EQ(empty.Size(), 0);
  EXPECT_EQ(empty.Read(buf, 1), 0);
  EXPECT_THROW(TResourceStream("missing", "RT_RCDATA"), EResNotFound);
}
