// Whole blocks: what the packer makes of data of every kind it tells apart (pinned in an expected
// dump, which also pins both coders), round trips of many sizes, and damaged or hostile blocks.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

#include "ZZipTestSupport.h"

namespace {

Bytes Buffered(const Bytes& block, size_t capacity)
{
  Bytes b(std::max(capacity, block.size()));
  std::copy(block.begin(), block.end(), b.begin());
  return b;
}

Bytes Pack(const Bytes& data, uint8_t optionA = 1, uint8_t optionB = 0)
{
  BZZipStream z;
  z.OptionA = optionA;
  z.OptionB = optionB;
  Bytes buffer = Buffered(data, data.size() * 12 / 10 + 100);
  const int length = z.Pack(buffer.data(), int(data.size()), int(buffer.size()));
  EXPECT_GT(length, 0);
  buffer.resize(size_t(std::max(length, 0)));
  return buffer;
}

// Unpacks with a fresh stream, so that nothing the packer left behind helps.
Bytes Unpack(const Bytes& block, size_t capacity)
{
  BZZipStream z;
  Bytes buffer = Buffered(block, capacity);
  buffer.resize(size_t(z.Unpack(buffer.data(), int(block.size()), int(buffer.size()))));
  return buffer;
}

void ExpectUnpackRaises(const Bytes& block, size_t length, size_t capacity, const std::string& what)
{
  BZZipStream z;
  Bytes buffer = Buffered(block, capacity);
  EXPECT_THROW(z.Unpack(buffer.data(), int(length), int(buffer.size())), Exception) << what;
}

uint64_t Fnv(const Bytes& b)
{
  uint64_t h = 14695981039346656037u;
  for (uint8_t x : b)
    h = (h ^ x) * 1099511628211u;
  return h;
}

// Lines of a recorded log: a time and a few values.
Bytes Log(size_t size, unsigned seed)
{
  std::mt19937 rng(seed);
  std::string s;
  for (int t = 0; s.size() < size; t += 40)
    s += std::to_string(100000000 + t) + " RPM " + std::to_string(800 + rng() % 3000) + " Load " +
         std::to_string(rng() % 1000) + " ECT " + std::to_string(80 + rng() % 20) + "\r\n";
  s.resize(size);
  return FromText(s);
}

Bytes Wave(size_t size)
{
  Bytes b(size);
  for (size_t i = 0; i < size; ++i)
    b[i] = uint8_t(128 + 100 * std::sin(double(i) / 300.0) + double(i % 3));
  return b;
}

// 13-byte records after the head the record transform looks for.
Bytes Records(size_t size)
{
  Bytes data = RecordHead();
  for (int r = 0; data.size() < size; ++r)
    for (int c = 0; c < 13; ++c)
      data.push_back(uint8_t(c < 4 ? r >> (8 * c) : 128 + 50 * std::sin(r / 40.0 + c)));
  data.resize(size);
  return data;
}

Bytes Repeat(const Bytes& unit, size_t size)
{
  Bytes b;
  while (b.size() < size)
    b.insert(b.end(), unit.begin(), unit.end());
  return b;
}

struct BlockCase {
  std::string name;
  Bytes data;
  uint8_t optionA, optionB;
};

// Data that reaches each choice of the packer: stored or packed, the run-length pre-pass at its
// threshold, each mode, the trigram stage, the delta and record filters, the final-byte fix.
std::vector<BlockCase> BlockCases()
{
  Bytes small(64), alphabet, code, escapes{0xFF, 0x01}, trigramCodes = Text(200000, 9), growth(600, 'Z'), runs;
  for (int i = 0; i < 64; ++i)
    small[size_t(i)] = uint8_t(i * 3);
  for (int i = 0; i < 20 * 256; ++i)
    alphabet.push_back(uint8_t(i));
  for (int i = 0; i < 1000; ++i)
    code.insert(code.end(), {0x55, 0x8B, 0xEC, 0xE8, uint8_t(i * 7), uint8_t(i >> 6), 0, 0, 0x5D, 0xC3, 0, 0});
  const Bytes random = Random(4000, 15);
  escapes.insert(escapes.end(), random.begin(), random.end());
  // A long run of 0xF8 writes count digits 0xF9, which the text filter turns into trigram codes.
  std::fill(trigramCodes.begin() + 1000, trigramCodes.begin() + 1600, uint8_t(0xF8));
  // Eight of each value after a stretch that chooses the pre-pass: every run gains a terminator.
  for (int i = 0; i < 40000; ++i)
    growth.insert(growth.end(), 8, uint8_t(i));
  std::mt19937 rng(11);
  while (runs.size() < 150000)
    runs.insert(runs.end(), 1 + rng() % 900, uint8_t(rng() % 5 == 0 ? rng() : rng() % 4));
  Bytes finalFF = Text(200, 1);
  finalFF.insert(finalFF.end(), {0x01, 0xFF});
  const Bytes line = FromText("F1011500    2350.0      Engine speed, rpm\r\n");
  return {{"empty", {}, 1, 0},
          {"64 bytes", small, 1, 0},
          {"65 a", Bytes(65, 'a'), 1, 0},
          {"final FF", finalFF, 1, 0},
          {"incompressible", Random(1000, 3), 1, 0},
          {"escapes", escapes, 1, 0},
          {"run of 513", Bytes(513, 'q'), 1, 0},
          {"run of 514", Bytes(514, 'q'), 1, 0},
          {"small text", Text(4000, 7), 1, 0},
          {"text", Text(200000, 8), 1, 0},
          {"text", Text(200000, 8), 0, 0},
          {"trigram codes", trigramCodes, 1, 0},
          {"alphabet", alphabet, 1, 0},
          {"code", code, 1, 0},
          {"code", code, 0, 0},
          {"wave", Wave(140000), 0, 0},
          {"wave", Wave(140000), 0, 1},
          {"records", Records(200000), 0, 0},
          {"records", Records(200000), 0, 1},
          {"repeated line", Repeat(line, 300000), 0, 0},
          {"repeated line", Repeat(line, 300000), 1, 0},
          {"runs", runs, 0, 0},
          {"run growth", growth, 0, 0},
          {"run growth", growth, 1, 0},
          {"two letters", Repeat(FromText("ab"), 300000), 0, 0},
          {"log", Log(1 << 20, 6), 0, 0}};
}

std::string Hex(uint64_t v)
{
  std::ostringstream out;
  out << std::hex << v;
  return out.str();
}

}  // namespace

// Each line: the case and options; the flags, size hint and symbol count (the stored length for a
// stored block); the block's length and hash. Every block unpacks to its data.
TEST(ZZipBlocks, PackedBytesMatchTheExpectedDump)
{
  std::string dump;
  for (const BlockCase& c : BlockCases()) {
    const Bytes block = Pack(c.data, c.optionA, c.optionB);
    ASSERT_EQ(Unpack(block, c.data.size() * 12 / 10 + 100), c.data) << c.name;
    dump += c.name + " " + std::to_string(c.optionA) + std::to_string(c.optionB) + ": " + Hex(Flags(block)) + " " +
            std::to_string(Field32(block, 0)) + " " + std::to_string(Field32(block, 10)) + " " +
            std::to_string(block.size()) + " " + Hex(Fnv(block)) + "\n";
  }
  if (const char* update = std::getenv("DRAVOLIN_WRITE_DUMP"))  // after a deliberate change of the format
    std::ofstream(update) << dump;
  std::ifstream file(DRAVOLIN_TEST_DATA "/program/zzip_blocks.txt");
  EXPECT_EQ(dump, std::string(std::istreambuf_iterator<char>(file), {}));
}

// The decoders refuse to read past what a genuine code needs, and the unpacker refuses symbol
// counts the hint cannot account for; no block the packer writes may trip either.
TEST(ZZipBlocks, RoundTripsBlocksOfManySizesAndKinds)
{
  std::vector<size_t> sizes{0, 1, 64};
  for (size_t n = 65; n < 700; ++n)
    sizes.push_back(n);
  for (size_t n = 700; n < 300000; n = n * 13 / 10 + 3)
    sizes.push_back(n);
  int packed = 0, lengthened = 0;
  for (int options = 0; options < 3; ++options)
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
        for (size_t k = 0; k < n; ++k)
          data.push_back(uint8_t(k * k % (3 + i % 40)));
      }
      const Bytes block = Pack(data, options == 1, options == 2);
      if (!(Flags(block) & Z::FlagStored)) {
        ++packed;
        lengthened += Field32(block, 10) > Field32(block, 0) - 32;
      }
      ASSERT_EQ(Unpack(block, n * 12 / 10 + 100), data) << "size " << n << " kind " << i % 5;
    }
  EXPECT_GT(packed, int(sizes.size()));
  EXPECT_GT(lengthened, 0);
}

TEST(ZZipBlocks, BufferTooSmallRaisesOrStores)
{
  BZZipStream z;
  Bytes buffer = Random(100, 14);  // no room for the 14-byte stored header
  EXPECT_THROW(z.Pack(buffer.data(), 100, 100), Exception);
  // 100 bytes of 100 values shrink by too little to pay for the packed header: stored instead.
  for (unsigned seed = 0; seed < 100; ++seed) {
    const Bytes data = Random(100, seed, 100);
    const Bytes packed = Pack(data);
    if (Flags(packed) & Z::FlagStored || packed.size() <= 114)
      continue;
    buffer = Buffered(data, 114);
    ASSERT_EQ(z.Pack(buffer.data(), 100, 114), 114);
    EXPECT_EQ(Flags(buffer), Z::FlagStored);
    EXPECT_EQ(Unpack(buffer, 114), data);
    return;
  }
  FAIL() << "no block packs to between 115 and 131 bytes";
}

TEST(ZZipBlocks, RefusedInputAndDamagedBlocksRaise)
{
  BZZipStream z;
  EXPECT_EQ(z.Pack(nullptr, 10, 100), -1);
  EXPECT_EQ(z.Status, -3);
  EXPECT_EQ(z.Unpack(nullptr, 10, 100), -1);
  EXPECT_EQ(z.Status, -3);
  Bytes big(Z::MaxInputLength + 1, 'a');
  EXPECT_EQ(z.Pack(big.data(), int(big.size()), int(big.size())), -1);
  EXPECT_EQ(z.Status, -4);

  // Any cut raises; a wrong checksum raises with status -2 and an empty message.
  for (const Bytes& data : {Bytes(40, 'x'), Text(3000, 10)}) {
    Bytes block = Pack(data);
    for (size_t length = 0; length < block.size(); ++length)
      ExpectUnpackRaises(block, length, 4000, "cut at " + std::to_string(length));
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

  // Two letters in turn: no pre-pass or text filter, so the hint is the length itself, and the few
  // dozen coded bytes stand for all the symbols.
  const Bytes packed = Pack(Text(3000, 12)), stored = Pack(Bytes(20, 'y')),
              ab = Pack(Repeat(FromText("ab"), 300000), 0);
  const uint32_t n = 300000;
  const uint32_t symbols = Field32(packed, 10), side = Field32(packed, 14), l2 = Field32(packed, 23);
  const struct {
    const Bytes& block;
    size_t at;
    uint32_t value;
    size_t capacity;
  } fields[] = {
      {stored, 10, 21, 10000},                                             // stored length past the block
      {stored, 10, 0xFFFFFFFF, 10000},  {packed, 10, 0x7FFFFFFF, 10000},   // symbol count far beyond the buffer
      {packed, 10, 0, 10000},           {packed, 14, symbols + 1, 10000},  // more side symbols than symbols
      {packed, 14, side + 1, 10000},                             // side symbols the main stream has no place for
      {packed, 14, side - 1, 10000},    {packed, 0, 31, 10000},  // size hint below its own 32
      {packed, 18, symbols, 10000},                              // primary index out of range
      {packed, 23, 0xFFFFFFF0, 10000},                           // side coder length past the block
      {packed, 27 + l2, 100000, 10000},                          // main coder length past the block
      {packed, 8, 0x000E, 10000},                                // mode 7
      {packed, 10, 100000, 3000},  // more symbols than the buffer could ever hold unpacked
      {ab, 0, n + 31, 2 * n},      // hints short of the symbols, or longer than the buffer could take
      {ab, 0, n / 2 + 32, 2 * n},       {ab, 0, 20, 2 * n},
      {ab, 0, 2 * n + 33, 2 * n},
  };
  for (const auto& f : fields) {
    Bytes block = f.block;
    for (int i = 0; i < 4; ++i)
      block[f.at + size_t(i)] = uint8_t(f.value >> (8 * i));
    ExpectUnpackRaises(block, block.size(), f.capacity, std::to_string(f.at) + " = " + std::to_string(f.value));
  }
  Bytes buffer = Buffered(packed, 4000);
  EXPECT_THROW(z.Unpack(buffer.data(), int(packed.size()), int(packed.size()) - 1), Exception);
}

TEST(ZZipBlocks, HugeSymbolCountsFromTinyStreamsAreRefused)
{
  Bytes block;
  // Hand-made blocks claiming as much as a 12 MB buffer allows, with eight coded bytes: zeros, a
  // pattern, and ones, which read as the longest zero runs the main coder knows.
  const uint32_t room = 12000000;
  for (uint8_t fill : {0x00, 0x5A, 0xFF})
    for (bool textMode : {false, true}) {
      const uint32_t hinted = textMode ? 2 * room : room;
      block.clear();
      Put32(block, hinted + 32);
      Put32(block, 0);
      block.insert(block.end(), {uint8_t(textMode ? 0x03 : 0x01), 0});  // pre-pass, text filter or not
      Put32(block, textMode ? hinted : hinted + (hinted + 1) / 8);      // the most symbols allowed
      Put32(block, 0);                                                  // side symbols
      Put32(block, 0);                                                  // primary index
      block.push_back(1);                                               // largest side symbol
      Put32(block, 1);
      block.push_back(0x02);  // an empty side stream
      Put32(block, 8);
      block.insert(block.end(), 8, fill);
      ExpectUnpackRaises(block, block.size(), room,
                         "fill " + std::to_string(fill) + " text " + std::to_string(textMode));
    }
}
