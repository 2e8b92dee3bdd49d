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

std::string Bytes(const ResourceEntry* entry)
{
  return std::string(reinterpret_cast<const char*>(entry->Data), entry->Size);
}

} // namespace

TEST(Resources, FoundByNameAndTypeWhateverTheCase)
{
  const ResourceEntry* exact = FindResource("sample", "RT_RCDATA");
  ASSERT_NE(exact, nullptr);
  EXPECT_EQ(Bytes(exact), SourceFile("sample.txt"));
  EXPECT_EQ(FindResource("SAMPLE", "RT_RCDATA"), exact);
  EXPECT_EQ(FindResource("Sample", "rt_rcdata"), exact);
}

TEST(Resources, MissingNamesAndOtherTypesFindNothing)
{
  EXPECT_EQ(FindResource("missing", "RT_RCDATA"), nullptr);
  EXPECT_EQ(FindResource("sample", "RT_BITMAP"), nullptr);
  EXPECT_EQ(FindResource("sample.txt", "RT_RCDATA"), nullptr) << "the name has no extension";
  EXPECT_EQ(FindResource("sampl", "RT_RCDATA"), nullptr);
  EXPECT_EQ(FindResource(std::string("sample\0x", 8), "RT_RCDATA"), nullptr);
  EXPECT_EQ(FindResource("", "RT_RCDATA"), nullptr);
}

TEST(Resources, EveryByteValueSurvivesEmbedding)
{
  const ResourceEntry* all = FindResource("allbytes", "RT_RCDATA");
  ASSERT_NE(all, nullptr);
  ASSERT_EQ(all->Size, 256u);
  for (unsigned i = 0; i < 256; ++i)
    EXPECT_EQ(all->Data[i], i);
}

TEST(ResourceStream, ReadsTheBytesInPiecesAndSeeks)
{
  TResourceStream s("SAMPLE", "RT_RCDATA");
  const std::string expected = SourceFile("sample.txt");
  ASSERT_EQ(s.Size(), static_cast<int64_t>(expected.size()));
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
}

TEST(ResourceStream, IsReadOnly)
{
  TResourceStream s("sample", "RT_RCDATA");
  EXPECT_EQ(s.Write("x", 1), 0);
  EXPECT_THROW(s.WriteBuffer("x", 1), EWriteError);
  EXPECT_EQ(s.Memory()[0], 'F');
}

TEST(ResourceStream, EmptyResourceAndMissingOne)
{
  TResourceStream empty("empty", "RT_RCDATA");
  EXPECT_EQ(empty.Size(), 0);
  char c;
  EXPECT_EQ(empty.Read(&c, 1), 0);
  EXPECT_THROW(TResourceStream("missing", "RT_RCDATA"), EResNotFound);
}
