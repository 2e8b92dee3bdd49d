// Pack and Unpack: the order of the stages, the block layout, the checksum and the work area.
#include "settings/ZZipStream.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>
#include <new>

#include "Exceptions.h"

namespace {

constexpr int PackedHeaderSize = 27;  // up to the side coder output

void Put16(std::vector<uint8_t>& out, uint32_t v)
{
  out.push_back(uint8_t(v));
  out.push_back(uint8_t(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v)
{
  Put16(out, v);
  Put16(out, v >> 16);
}

uint32_t Get32(const uint8_t* p)
{
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

[[noreturn]] void Fail()
{
  throw Exception();
}

// How many of the main-stream symbols (each 0, 1 or 2) are 2: those with bit 1 set, eight at a
// time, their bits added up by the multiplication into the top byte.
uint32_t CountTwos(const uint8_t* symbols, uint32_t n)
{
  uint32_t twos = 0, i = 0;
  for (; i + 8 <= n; i += 8) {
    uint64_t w;
    std::memcpy(&w, symbols + i, 8);
    twos += uint32_t(((w >> 1 & 0x0101010101010101u) * 0x0101010101010101u) >> 56);
  }
  for (; i < n; ++i)
    twos += symbols[i] >> 1;
  return twos;
}

// The longest the run-length pre-pass can make n bytes: each of its count groups adds at most one
// byte to what it replaces and needs 8 input bytes (7 for a first run of zeros).
uint64_t RunLengthGrowth(uint64_t n)
{
  return n + (n + 1) / 8;
}

// Reads the little-endian fields of a block, refusing any read past its end.
class BlockReader {
public:
  BlockReader(const uint8_t* data, int length) : data_(data), length_(length) {}
  uint32_t U32() { return Get32(Take(4)); }
  uint16_t U16()
  {
    const uint8_t* p = Take(2);
    return uint16_t(p[0] | p[1] << 8);
  }
  uint8_t U8() { return *Take(1); }
  const uint8_t* Take(uint32_t size)
  {
    if (size > uint32_t(length_ - pos_))
      Fail();
    const uint8_t* p = data_ + pos_;
    pos_ += int(size);
    return p;
  }

private:
  const uint8_t* data_;
  int length_;
  int pos_ = 0;
};

}  // namespace

BZZipStream::BZZipStream()
    : Status(0), OptionA(1), OptionB(0), RunLengthFlag(false), TrigramFlag(false), Mode(0), DeltaType(0),
      LargestSide(1), CheckValue(0)
{
  ResetModel();
  InitRankModels(1);
}

BZZipStream::~BZZipStream() = default;

uint32_t BZZipStream::Checksum(const uint8_t* data, int n)
{
  // The table entry for i is i in the top byte, so each step turns the value right by one byte
  // and puts the new byte into the top byte. The value ends as all ones with every byte put into
  // the byte lane of its distance from the end: the little-endian words of the data counted from
  // its end, all put together, which takes whole words at a time.
  const int lead = n & 3;
  uint32_t c = 0xFFFFFFFFu;
  for (int i = 0; i < lead; ++i)
    c ^= uint32_t(data[i]) << 8 * (4 - lead + i);
  uint64_t words = 0;
  int i = lead;
  for (; i + 8 <= n; i += 8) {
    uint64_t w;
    std::memcpy(&w, data + i, 8);
    if constexpr (std::endian::native == std::endian::big)
      w = __builtin_bswap64(w);
    words ^= w;
  }
  for (int b = 0; i + b < n; ++b)
    words ^= uint64_t(data[i + b]) << 8 * b;
  return c ^ uint32_t(words) ^ uint32_t(words >> 32);
}

void BZZipStream::Allocate(size_t size)
{
  Work.clear();
  Work.resize(size);
}

void BZZipStream::Free()
{
  Work.clear();
  Work.shrink_to_fit();
}

int BZZipStream::Pack(uint8_t* buffer, int length, int capacity)
{
  if (buffer == nullptr || length < 0 || capacity < length) {
    Status = -3;
    return -1;
  }
  if (length > MaxInputLength) {
    Status = -4;
    return -1;
  }
  Status = 0;
  Mode = ModeNone;
  RunLengthFlag = TrigramFlag = false;
  DeltaType = 0;
  LargestSide = 1;
  std::vector<uint8_t> block;
  uint16_t flags = 0;
  try {
    CheckValue = Checksum(buffer, length);
    if (length > 64)
      block = PackBlock(buffer, length, capacity, flags);
    // Stored: too short to pack, would not shrink, or would not fit the caller's buffer. The
    // filters chosen stay in the flags; unpacking a stored block ignores them.
    if (block.empty()) {
      Put32(block, uint32_t(length) + 32);
      Put32(block, CheckValue);
      Put16(block, flags | FlagStored);
      Put32(block, uint32_t(length));
      block.insert(block.end(), buffer, buffer + length);
    }
  } catch (const std::bad_alloc&) {
    Free();
    Status = -1;
    Fail();
  } catch (...) {
    Free();
    throw;
  }
  if (block.size() > size_t(capacity))
    Fail();
  std::memcpy(buffer, block.data(), block.size());
  return int(block.size());
}

uint16_t BZZipStream::ApplyFilters(int n, uint32_t& hint)
{
  const bool allowModes = OptionA != 0 && n >= 0xC00;
  std::vector<uint8_t> scratch;
  ChooseFilters(Work.data(), n, allowModes);
  if (RecordTransformApplies(Work.data(), n)) {
    RecordTransformEncode(Work.data(), n);
    RunLengthFlag = true;
    Mode = ModeNone;
    DeltaType = DeltaRecord;
  }
  if (RunLengthFlag) {
    RunLengthEncode(Work.data(), int(Work.size()), scratch);
    Work.swap(scratch);
  }
  // A delta filter would replace the record transform's type and lose it on unpacking.
  if ((Mode == ModeNone || Mode == ModeReversed) && Work.size() > 0x20000 && OptionB != 0 &&
      DeltaType != DeltaRecord) {
    const int type = ChooseDelta(Work.data(), int(Work.size()));
    if (type != 0) {
      DeltaType = type;
      Mode = ModeDelta;
    }
  }
  int len = int(Work.size());
  if (DeltaType >= 1 && DeltaType <= 5)
    DeltaEncode(Work.data(), len, DeltaType);
  if (Mode == ModeCallReversed)
    CallFilterEncode(Work.data(), len);
  if (Mode == ModeReversed || Mode == ModeCallReversed)
    ReverseBytes(Work.data(), len);
  if (Mode == ModeText) {
    TextFilterEncode(Work.data(), len, scratch);
    Work.swap(scratch);
    hint = std::max(hint, uint32_t(Work.size()));
  }
  // The trigram codes must not already occur, or unpacking would expand them.
  if (TrigramFlag && std::any_of(Work.begin(), Work.end(), [](uint8_t b) { return b >= 123 && b <= 129; }))
    TrigramFlag = false;
  if (TrigramFlag) {
    TrigramEncode(Work.data(), int(Work.size()), scratch);
    Work.swap(scratch);
  }
  uint16_t flags =
      uint16_t((RunLengthFlag ? FlagRunLength : 0) | Mode << 1 | DeltaType << 4 | (TrigramFlag ? FlagTrigram : 0));
  len = int(Work.size());
  if (len >= 2 && Work[len - 1] == 0xFF) {
    Work[len - 1] = uint8_t(0xFF - Work[len - 2]);
    flags |= FlagFinalByteFix;
  }
  return flags;
}

std::vector<uint8_t> BZZipStream::PackBlock(const uint8_t* buffer, int n, int capacity, uint16_t& flags)
{
  Allocate(size_t(n));
  std::memcpy(Work.data(), buffer, size_t(n));
  uint32_t hint = uint32_t(n);
  flags = ApplyFilters(n, hint);
  const int len = int(Work.size());
  std::vector<uint8_t> symbols(static_cast<size_t>(len));
  const int primary = SortBlock(Work.data(), len, symbols.data());
  Free();
  MoveToFrontEncode(symbols.data(), len);
  std::vector<uint8_t> side;
  LargestSide = SplitSymbols(symbols.data(), len, side);
  std::vector<uint8_t> mainOut, sideOut;
  EncodeSymbols(len, symbols.data(), mainOut);
  EncodeHighRanks(int(side.size()), side.data(), LargestSide, sideOut);
  const uint64_t coded = uint64_t(mainOut.size()) + sideOut.size();
  if (coded > hint || coded + PackedHeaderSize + 4 > uint64_t(capacity))
    return {};
  std::vector<uint8_t> block;
  block.reserve(size_t(coded) + PackedHeaderSize + 4);
  Put32(block, hint + 32);
  Put32(block, CheckValue);
  Put16(block, flags);
  Put32(block, uint32_t(len));
  Put32(block, uint32_t(side.size()));
  Put32(block, uint32_t(primary));
  block.push_back(uint8_t(LargestSide));
  Put32(block, uint32_t(sideOut.size()));
  block.insert(block.end(), sideOut.begin(), sideOut.end());
  Put32(block, uint32_t(mainOut.size()));
  block.insert(block.end(), mainOut.begin(), mainOut.end());
  return block;
}

int BZZipStream::Unpack(uint8_t* buffer, int packedLength, int capacity)
{
  if (buffer == nullptr) {
    Status = -3;
    return -1;
  }
  Status = 0;
  if (packedLength < 0 || capacity < 0 || packedLength > capacity)
    Fail();
  BlockReader reader(buffer, packedLength);
  const uint32_t hint = reader.U32();
  const uint32_t expected = reader.U32();
  const uint16_t flags = reader.U16();
  if (flags & FlagStored) {
    const uint32_t n = reader.U32();
    const uint8_t* bytes = reader.Take(n);
    if (Checksum(bytes, int(n)) != expected) {
      Status = -2;
      Fail();
    }
    std::memmove(buffer, bytes, n);
    return int(n);
  }
  RunLengthFlag = (flags & FlagRunLength) != 0;
  Mode = (flags >> 1) & 7;
  DeltaType = (flags >> 4) & 7;
  TrigramFlag = (flags & FlagTrigram) != 0;
  if (Mode > ModeCallReversed || DeltaType > DeltaRecord)
    Fail();
  const uint32_t count = reader.U32();
  const uint32_t sideCount = reader.U32();
  const uint32_t primary = reader.U32();
  LargestSide = reader.U8();
  const uint32_t sideLength = reader.U32();
  const uint8_t* sideIn = reader.Take(sideLength);
  const uint32_t mainLength = reader.U32();
  const uint8_t* mainIn = reader.Take(mainLength);
  // The hint is 32 more than the unpacked length, or than the text filter's output when that is
  // longer. The unpacked length fits the buffer; the text filter at most doubles the pre-pass
  // output, and trigrams only shorten. So no stage is longer than the hinted length, except the
  // pre-pass output when no text filter follows it. Checked before any decoding, since a few
  // coded bytes can stand for millions of symbols.
  const int outputLimit = std::min(capacity, int(MaxInputLength));
  const uint64_t hintLimit = Mode == ModeText ? 2 * RunLengthGrowth(uint64_t(outputLimit)) : uint64_t(outputLimit);
  if (hint < 32 || hint - 32 > hintLimit)
    Fail();
  const uint32_t hinted = hint - 32;
  const uint64_t stageLimit = Mode != ModeText && RunLengthFlag ? RunLengthGrowth(hinted) : hinted;
  if (count == 0 || count > stageLimit || sideCount > count || primary >= count)
    Fail();
  const int len = int(count);
  try {
    std::unique_ptr<uint8_t[]> symbols(new uint8_t[count]);
    DecodeSymbols(len, symbols.get(), mainIn, int(mainLength));
    // A side stream with a single group codes its symbols in no bits at all, so its count must be
    // matched against the main stream before anything is decoded from it.
    if (CountTwos(symbols.get(), count) != sideCount)
      Fail();
    std::vector<uint8_t> side(sideCount);
    DecodeHighRanks(int(sideCount), side.data(), LargestSide, sideIn, int(sideLength));
    MergeSymbols(symbols.get(), len, side.data(), int(sideCount));
    side = {};
    MoveToFrontDecode(symbols.get(), len);
    Allocate(count);
    UnsortBlock(symbols.get(), len, int(primary), Work.data());
    symbols.reset();
    UndoFilters(flags, int(stageLimit), std::min(outputLimit, int(hinted)));
    if (Checksum(Work.data(), int(Work.size())) != expected) {
      Status = -2;
      Fail();
    }
    if (!Work.empty())
      std::memcpy(buffer, Work.data(), Work.size());
  } catch (const std::bad_alloc&) {
    Free();
    Status = -1;
    Fail();
  } catch (...) {
    Free();
    throw;
  }
  const int result = int(Work.size());
  Free();
  return result;
}

void BZZipStream::UndoFilters(uint16_t flags, int stageLimit, int outputLimit)
{
  int size = int(Work.size());
  if (flags & FlagFinalByteFix) {
    if (size < 2)
      Fail();
    Work[size - 1] = uint8_t(Work[size - 1] + Work[size - 2]);
  }
  std::vector<uint8_t> scratch;
  if (TrigramFlag) {
    TrigramDecode(Work.data(), size, scratch, stageLimit);
    Work.swap(scratch);
  }
  if (Mode == ModeText) {
    TextFilterDecode(Work.data(), int(Work.size()), scratch);
    Work.swap(scratch);
  }
  size = int(Work.size());
  if (Mode == ModeReversed || Mode == ModeCallReversed)
    ReverseBytes(Work.data(), size);
  if (Mode == ModeCallReversed)
    CallFilterDecode(Work.data(), size);
  if (DeltaType >= 1 && DeltaType <= 5)
    DeltaDecode(Work.data(), size, DeltaType);
  if (RunLengthFlag) {
    RunLengthDecode(Work.data(), size, scratch, outputLimit);
    Work.swap(scratch);
  }
  if (DeltaType == DeltaRecord)
    RecordTransformDecode(Work.data(), int(Work.size()));
  if (Work.size() > size_t(outputLimit))
    Fail();
}
