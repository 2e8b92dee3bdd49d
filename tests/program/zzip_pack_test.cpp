// Whole blocks: the stored and packed layouts byte by byte, round trips through every filter the
// packer can choose, and damaged or hostile blocks that must fail cleanly.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "platform/core/Exceptions.h"
#include "settings/ZZipStream.h"

namespace {

using Bytes = std::vector<uint8_t>;

uint32_t Field32(const Bytes& b, size_t at)
{
  return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
}
void Set32(Bytes& b, size_t at, uint32_t v)
{
  for (int i = 0; i < 4; ++i)
    b[at + i] = uint8_t(v >> (8 * i));
}
void Put32(Bytes& b, uint32_t v)
{
  b.resize(b.size() + 4);
  Set32(b, b.size() - 4, v);
}
uint16_t Flags(const Bytes& block)
{
  return uint16_t(block[8] | block[9] << 8);
}
int DeltaOf(const Bytes& block)
{
  return (Flags(block) >> 4) & 7;
}

Bytes Pack(BZZipStream& z, const Bytes& data)
{
  Bytes buffer(data.size() * 12 / 10 + 100);
  std::copy(data.begin(), data.end(), buffer.begin());
  const int length = z.Pack(buffer.data(), int(data.size()), int(buffer.size()));
  EXPECT_GT(length, 0);
  buffer.resize(static_cast<size_t>(std::max(length, 0)));
  return buffer;
}

Bytes Unpack(BZZipStream& z, const Bytes& block, size_t capacity)
{
  Bytes buffer(std::max(capacity, block.size()));
  std::copy(block.begin(), block.end(), buffer.begin());
  const int length = z.Unpack(buffer.data(), int(block.size()), int(buffer.size()));
  buffer.resize(static_cast<size_t>(length));
  return buffer;
}

Bytes RoundTrip(BZZipStream& z, const Bytes& data)
{
  const Bytes block = Pack(z, data);
  BZZipStream reader;
  EXPECT_EQ(Unpack(reader, block, data.size() * 12 / 10 + 100), data);
  return block;
}

Bytes Text(size_t size, unsigned seed)
{
  static const char* words[] = {"the", "engine",   "here",   "where",   "there", "Speed", "load",    "idle",
                                "He",  "throttle", "sensor", "whether", "The",   "other", "mixture", "lambda"};
  std::mt19937 rng(seed);
  std::string s;
  while (s.size() < size) {
    s += words[rng() % 16];
    s += rng() % 9 == 0 ? ".\n" : " ";
  }
  s.resize(size);
  return Bytes(s.begin(), s.end());
}

Bytes Log(size_t size, unsigned seed)
{
  std::mt19937 rng(seed);
  auto pick = [&rng](unsigned range) { return unsigned(rng() % range); };
  std::string s;
  char line[96];
  for (int t = 0; s.size() < size; t += 40) {
    std::snprintf(line, sizeof line, "%08d RPM %4u Load %3u.%u TPS %2u ECT %3u\r\n", t, 800 + pick(3000),
                  pick(100), pick(10), pick(90), 80 + pick(20));
    s += line;
  }
  s.resize(size);
  return Bytes(s.begin(), s.end());
}

Bytes Random(size_t size, unsigned seed)
{
  std::mt19937 rng(seed);
  Bytes b(size);
  for (auto& x : b)
    x = uint8_t(rng());
  return b;
}

TEST(ZZipPack, RefusedInput)
{
  BZZipStream z;
  EXPECT_EQ(z.Pack(nullptr, 10, 100), -1);
  EXPECT_EQ(z.Status, -3);
  EXPECT_EQ(z.Unpack(nullptr, 10, 100), -1);
  EXPECT_EQ(z.Status, -3);
  Bytes big(BZZipStream::MaxInputLength + 1, 'a');
  EXPECT_EQ(z.Pack(big.data(), int(big.size()), int(big.size())), -1);
  EXPECT_EQ(z.Status, -4);
  EXPECT_EQ(big[0], 'a');
}

TEST(ZZipPack, StoredAndPackedBlocksFollowTheLayout)
{
  BZZipStream z;
  Bytes data(64);
  for (int i = 0; i < 64; ++i)
    data[i] = uint8_t(i * 3);
  Bytes expected{96, 0, 0, 0};  // size hint, checksum, flags, length, the bytes
  Put32(expected, BZZipStream::Checksum(data.data(), 64));
  expected.insert(expected.end(), {0x00, 0x80, 64, 0, 0, 0});
  expected.insert(expected.end(), data.begin(), data.end());
  EXPECT_EQ(RoundTrip(z, data), expected);
  EXPECT_EQ(RoundTrip(z, {}), (Bytes{32, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x80, 0, 0, 0, 0}));

  const Bytes as(65, 'a');
  const Bytes block = RoundTrip(z, as);
  EXPECT_EQ(Field32(block, 0), 97u);
  EXPECT_EQ(Field32(block, 4), BZZipStream::Checksum(as.data(), 65));
  EXPECT_EQ(Flags(block), 0);
  EXPECT_EQ(Field32(block, 10), 65u);  // symbols
  EXPECT_EQ(Field32(block, 14), 1u);   // the first 'a' is rank 97, the only side symbol
  EXPECT_EQ(Field32(block, 18), 0u);   // the whole block sorts first
  EXPECT_EQ(block[22], 97);
  const uint32_t l2 = Field32(block, 23);
  const uint32_t l1 = Field32(block, 27 + l2);
  EXPECT_EQ(block.size(), 31 + l2 + l1);
}

// Undoes the coders, move-to-front and sort of a packed block by hand, leaving the filtered data.
Bytes SortedInput(const Bytes& block)
{
  BZZipStream z;
  const int count = int(Field32(block, 10)), sideCount = int(Field32(block, 14));
  const uint32_t l2 = Field32(block, 23);
  Bytes main(static_cast<size_t>(count)), side(static_cast<size_t>(sideCount)), data(static_cast<size_t>(count));
  z.DecodeSymbols(count, main.data(), &block[31 + l2], int(Field32(block, 27 + l2)));
  z.DecodeHighRanks(sideCount, side.data(), block[22], &block[27], int(l2));
  BZZipStream::MergeSymbols(main.data(), count, side.data(), sideCount);
  BZZipStream::MoveToFrontDecode(main.data(), count);
  BZZipStream::UnsortBlock(main.data(), count, int(Field32(block, 18)), data.data());
  return data;
}

TEST(ZZipPack, FinalByteFixAvoidsATrailingFF)
{
  BZZipStream z;
  Bytes data = Text(200, 1);
  data.insert(data.end(), {0x01, 0xFF});
  const Bytes block = RoundTrip(z, data);
  EXPECT_EQ(Flags(block), BZZipStream::FlagFinalByteFix);
  data.back() = 0xFE;
  EXPECT_EQ(SortedInput(block), data);
}

Bytes Wave(size_t size)
{
  Bytes b(size);
  for (size_t i = 0; i < size; ++i)
    b[i] = uint8_t(128 + 100 * std::sin(double(i) / 300.0) + double(i % 3));
  return b;
}

Bytes Records(size_t size)
{
  Bytes data(0x910, 0);
  const uint32_t magic40 = 0x09A00000, magic80 = 0x03A00505;
  std::memcpy(&data[40], &magic40, 4);
  std::memcpy(&data[80], &magic80, 4);
  for (int r = 0; data.size() < size; ++r)
    for (int c = 0; c < 13; ++c)
      data.push_back(uint8_t(c < 4 ? r >> (8 * c) : 128 + 50 * std::sin(r / 40.0 + c)));
  data.resize(size);
  return data;
}

// The filters the packer chooses, by the flags' bits: run length 0x1, mode 0xE, delta type 0x70,
// trigrams 0x80, final byte fix 0x100, stored 0x8000.
TEST(ZZipPack, FiltersFollowTheDataAndTheOptions)
{
  Bytes alphabet, code, escapes{0xFF, 0x01}, trigramCodes = Text(200000, 9);
  for (int i = 0; i < 20 * 256; ++i)
    alphabet.push_back(uint8_t(i));
  for (int i = 0; i < 1000; ++i)
    code.insert(code.end(), {0x55, 0x8B, 0xEC, 0xE8, uint8_t(i * 7), uint8_t(i >> 6), 0, 0, 0x5D, 0xC3, 0, 0});
  const Bytes random = Random(4000, 15);  // every byte value: the full-alphabet mode
  escapes.insert(escapes.end(), random.begin(), random.end());
  // A long run of 0xF8 writes count digits 0xF9, which the text filter turns into trigram codes.
  std::fill(trigramCodes.begin() + 1000, trigramCodes.begin() + 1600, uint8_t(0xF8));
  using Z = BZZipStream;
  const struct {
    const char* name;
    Bytes data;
    uint8_t optionA, optionB;
    uint16_t mask, flags;
  } cases[] = {
      {"incompressible", Random(1000, 3), 1, 0, 0xFFFF, Z::FlagStored},
      {"stored after filtering", escapes, 1, 0, 0xFFFF,
       Z::FlagStored | Z::FlagFinalByteFix | Z::ModeReversed << 1},
      {"run of 513", Bytes(513, 'q'), 1, 0, Z::FlagRunLength, 0},
      {"run of 514", Bytes(514, 'q'), 1, 0, Z::FlagRunLength, Z::FlagRunLength},
      {"small text", Text(4000, 7), 1, 0, 0xE, Z::ModeText << 1},
      {"text", Text(200000, 8), 1, 0, 0xFFFF, Z::ModeText << 1 | Z::FlagTrigram},
      {"text without option A", Text(200000, 8), 0, 0, 0xFFFF, 0},
      {"text with trigram codes", trigramCodes, 1, 0, 0x8F, Z::ModeText << 1 | Z::FlagRunLength},
      {"alphabet", alphabet, 1, 0, 0xE, Z::ModeReversed << 1},
      {"code", code, 1, 0, 0xE, Z::ModeCallReversed << 1},
      {"code without option A", code, 0, 0, 0xE, Z::ModeNone << 1},
      {"wave", Wave(140000), 0, 0, 0x7E, 0},
      {"wave with option B", Wave(140000), 0, 1, 0xE, Z::ModeDelta << 1},
      // A delta filter would have lost the record transform, whatever the options.
      {"records", Records(200000), 0, 0, 0x80FF, Z::DeltaRecord << 4 | Z::FlagRunLength},
      {"records with option B", Records(200000), 0, 1, 0x80FF, Z::DeltaRecord << 4 | Z::FlagRunLength},
  };
  for (const auto& c : cases) {
    BZZipStream z;
    z.OptionA = c.optionA;
    z.OptionB = c.optionB;
    const Bytes block = RoundTrip(z, c.data);
    EXPECT_EQ(Flags(block) & c.mask, c.flags) << c.name;
    if (c.optionB && c.flags == Z::ModeDelta << 1) {
      EXPECT_NE(DeltaOf(block), 0) << c.name;
    }
  }
}

// The decoders refuse to read past what a genuine code needs, and the unpacker refuses symbol
// counts the hint cannot account for; no block the packer writes may trip either.
TEST(ZZipPack, RoundTripsBlocksOfManySizesAndKinds)
{
  std::vector<size_t> sizes{0, 1, 64};
  for (size_t n = 65; n < 700; ++n)
    sizes.push_back(n);
  for (size_t n = 700; n < 300000; n = n * 13 / 10 + 3)
    sizes.push_back(n);
  int packed = 0, lengthened = 0;
  for (int options = 0; options < 3; ++options) {
    BZZipStream z, reader;
    z.OptionA = options == 1 ? 1 : 0;  // both 0 is what the container writes
    z.OptionB = options == 2 ? 1 : 0;
    for (size_t i = 0; i < sizes.size(); ++i) {
      const size_t n = sizes[i];
      Bytes data;
      switch (i % 5) {
      case 0: data = Text(n, unsigned(i)); break;
      case 1: data = Log(n, unsigned(i)); break;
      case 2:  // runs long enough for the pre-pass, of short ones that it lengthens
        data.assign(std::min<size_t>(n, 520), uint8_t(i));
        while (data.size() < n)
          data.insert(data.end(), 8, uint8_t(data.size() / 8));
        data.resize(n);
        break;
      case 3: data = Random(n, unsigned(i)); break;
      default:
        data.resize(n);
        for (size_t k = 0; k < n; ++k)
          data[k] = uint8_t(k * k % (3 + i % 40));
        break;
      }
      const Bytes block = Pack(z, data);
      if (!(Flags(block) & 0x8000)) {
        ++packed;
        if (Field32(block, 10) > Field32(block, 0) - 32)
          ++lengthened;
      }
      ASSERT_EQ(Unpack(reader, block, n * 12 / 10 + 100), data) << "size " << n << " kind " << i % 5;
    }
  }
  EXPECT_GT(packed, int(sizes.size()));
  EXPECT_GT(lengthened, 0);

  BZZipStream z;
  z.OptionA = 0;
  const Bytes data = Log(1 << 20, 6);
  EXPECT_LT(RoundTrip(z, data).size(), data.size() / 4);
}

TEST(ZZipPack, RunLengthGrowthBeyondTheHintRoundTrips)
{
  // A stretch that chooses the pre-pass, then eight of each value in turn: every run gains a
  // terminator, so the coders see more symbols than the block or its hint has bytes.
  Bytes data(600, 'Z');
  for (int i = 0; i < 40000; ++i)
    data.insert(data.end(), 8, uint8_t(i));
  for (uint8_t optionA : {0, 1}) {
    BZZipStream z;
    z.OptionA = optionA;
    const Bytes block = RoundTrip(z, data);
    ASSERT_EQ(Flags(block) & 0x8001, 1);
    EXPECT_EQ(Field32(block, 0), data.size() + 32);
    EXPECT_GT(Field32(block, 10), data.size() + 39000);
  }
}

Bytes Buffered(const Bytes& block, size_t capacity)
{
  Bytes b(std::max(capacity, block.size()));
  std::copy(block.begin(), block.end(), b.begin());
  return b;
}

// A wrong checksum raises with status -2 and an empty message; any cut raises.
TEST(ZZipUnpack, ChecksumMismatchAndTruncatedBlocksRaise)
{
  BZZipStream z;
  for (const Bytes& data : {Bytes(40, 'x'), Text(3000, 10)}) {
    Bytes block = Pack(z, data);
    for (size_t length = 0; length < block.size(); ++length) {
      Bytes buffer = Buffered(block, 4000);
      EXPECT_THROW(z.Unpack(buffer.data(), int(length), int(buffer.size())), Exception) << length;
    }
    block[4] ^= 0x10;
    Bytes buffer = Buffered(block, 4000);
    try {
      z.Unpack(buffer.data(), int(block.size()), int(buffer.size()));
      ADD_FAILURE() << "no exception";
    } catch (const Exception& e) {
      EXPECT_STREQ(e.what(), "");
    }
    EXPECT_EQ(z.Status, -2);
  }
}

TEST(ZZipUnpack, HostileFieldsRaise)
{
  BZZipStream z;
  const Bytes packed = Pack(z, Text(3000, 12));
  const Bytes stored = Pack(z, Bytes(20, 'y'));
  auto raises = [&z](Bytes block, size_t at, uint32_t value, size_t capacity = 10000) {
    for (int i = 0; i < 4; ++i)
      block[at + i] = uint8_t(value >> (8 * i));
    Bytes buffer = Buffered(block, capacity);
    EXPECT_THROW(z.Unpack(buffer.data(), int(block.size()), int(buffer.size())), Exception) << at << " " << value;
  };
  raises(stored, 10, 21);  // stored length past the block
  raises(stored, 10, 0xFFFFFFFF);
  raises(packed, 10, 0x7FFFFFFF);  // symbol count far beyond the buffer
  raises(packed, 10, 0);
  raises(packed, 14, Field32(packed, 10) + 1);  // more side symbols than symbols
  raises(packed, 14, Field32(packed, 14) + 1);  // side symbols the main stream has no place for
  raises(packed, 14, Field32(packed, 14) - 1);
  raises(packed, 0, 31);                    // size hint below its own 32
  raises(packed, 18, Field32(packed, 10));  // primary index out of range
  raises(packed, 23, 0xFFFFFFF0);           // side coder length past the block
  raises(packed, 27 + Field32(packed, 23), 100000);
  raises(packed, 8, 0x000E);         // mode 7
  raises(packed, 10, 100000, 3000);  // more symbols than the buffer could ever hold unpacked
  Bytes buffer = Buffered(packed, 4000);
  EXPECT_THROW(z.Unpack(buffer.data(), int(packed.size()), int(packed.size()) - 1), Exception);
}

TEST(ZZipUnpack, SizeHintMustCoverTheData)
{
  // Two letters in turn: no run-length pass or text filter, so the hint is the length itself, and
  // the few dozen coded bytes stand for all the symbols.
  Bytes data(300000);
  for (size_t i = 0; i < data.size(); ++i)
    data[i] = i % 2 ? 'b' : 'a';
  BZZipStream z;
  z.OptionA = 0;
  const Bytes block = RoundTrip(z, data);
  ASSERT_EQ(Flags(block), 0);
  ASSERT_EQ(Field32(block, 0), data.size() + 32);
  ASSERT_EQ(Field32(block, 10), data.size());
  ASSERT_LT(block.size(), 200u);
  const size_t capacity = data.size() * 2;
  const uint32_t n = uint32_t(data.size());
  // One byte short, half, below its own 32, and longer than the buffer could ever take back.
  for (uint32_t hint : {n + 31, n / 2 + 32, 20u, uint32_t(capacity) + 33}) {
    Bytes buffer = Buffered(block, capacity);
    Set32(buffer, 0, hint);
    EXPECT_THROW(z.Unpack(buffer.data(), int(block.size()), int(buffer.size())), Exception) << hint;
  }
  Bytes buffer = Buffered(block, capacity);
  ASSERT_EQ(z.Unpack(buffer.data(), int(block.size()), int(buffer.size())), int(n));
}

TEST(ZZipUnpack, HugeSymbolCountFromATinyStreamIsRefused)
{
  // Hand-made blocks claiming as much as a 12 MB buffer allows, with eight coded bytes: zeros,
  // a pattern, and ones, which read as the longest zero runs the main coder knows.
  const uint32_t capacity = 12000000;
  for (uint8_t fill : {0x00, 0x5A, 0xFF})
    for (bool textMode : {false, true}) {
      const uint32_t hinted = textMode ? 2 * capacity : capacity;
      Bytes block;
      Put32(block, hinted + 32);
      Put32(block, 0);
      block.push_back(textMode ? 0x03 : 0x01);  // run-length pass, and the text filter or not
      block.push_back(0);
      Put32(block, textMode ? hinted : hinted + (hinted + 1) / 8);  // the most symbols allowed
      Put32(block, 0);                                              // side symbols
      Put32(block, 0);                                              // primary index
      block.push_back(1);                                           // largest side symbol
      Put32(block, 1);
      block.push_back(0x02);  // an empty side stream
      Put32(block, 8);
      block.insert(block.end(), 8, fill);
      Bytes buffer = Buffered(block, capacity);
      BZZipStream z;
      EXPECT_THROW(z.Unpack(buffer.data(), int(block.size()), int(buffer.size())), Exception)
          << "fill " << int(fill) << " text " << textMode;
    }
}

TEST(ZZipUnpack, EveryFlippedByteFailsCleanlyOrUnpacks)
{
  BZZipStream z;
  z.OptionB = 1;
  Bytes data = Text(1500, 13);
  data.insert(data.end(), 600, '=');
  const Bytes block = Pack(z, data);
  ASSERT_EQ(Flags(block) & 0x8000, 0);
  int failures = 0;
  for (size_t at = 0; at < block.size(); ++at)
    for (uint8_t mask : {0x01, 0x10, 0x80, 0xFF}) {
      Bytes buffer = Buffered(block, 4000);
      buffer[at] ^= mask;
      try {
        const int length = z.Unpack(buffer.data(), int(block.size()), int(buffer.size()));
        EXPECT_LE(static_cast<size_t>(length), buffer.size());
      } catch (const Exception&) {
        ++failures;
      }
    }
  EXPECT_GT(failures, 0);
}

TEST(ZZipPack, BlockLargerThanTheBufferRaises)
{
  BZZipStream z;
  Bytes data = Random(100, 14);
  Bytes buffer = data;  // no room for the 14-byte stored header
  EXPECT_THROW(z.Pack(buffer.data(), 100, 100), Exception);
  buffer.resize(114);
  EXPECT_EQ(z.Pack(buffer.data(), 100, 114), 114);
}

TEST(ZZipPack, PackedBlockTooLargeForTheBufferIsStored)
{
  // Find a block that shrinks by too little to pay for the packed header: 100 bytes of 100 values.
  BZZipStream z;
  for (unsigned seed = 0; seed < 100; ++seed) {
    std::mt19937 rng(seed);
    Bytes data(100);
    for (auto& x : data)
      x = uint8_t(rng() % 100);
    const Bytes packed = Pack(z, data);
    if (Flags(packed) & 0x8000 || packed.size() <= 114)
      continue;
    Bytes buffer(114);
    std::copy(data.begin(), data.end(), buffer.begin());
    ASSERT_EQ(z.Pack(buffer.data(), 100, 114), 114);
    EXPECT_EQ(Flags(buffer), 0x8000);
    BZZipStream reader;
    EXPECT_EQ(Unpack(reader, buffer, 114), data);
    return;
  }
  FAIL() << "no block packs to between 115 and 131 bytes";
}

}  // namespace
