#include "settings/ConfigLoad.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>
#include <string>

#include "FileStream.h"
#include "MemoryStream.h"
#include "settings/BeamFormat.h"
#include "settings/ZLibStream.h"
#include "settings/ZZipStream.h"

namespace {

// Long strings are read in pieces, so memory grows only with the bytes that really come.
constexpr int32_t StringPiece = 64 * 1024;

// Reads until n bytes came or the stream has no more.
int32_t ReadFully(TStream& stream, uint8_t* buffer, int32_t n)
{
  int32_t got = 0;
  while (got < n) {
    const int32_t r = stream.Read(buffer + got, n - got);
    if (r <= 0)
      break;
    got += r;
  }
  return got;
}

}  // namespace

BConfigLoad::BConfigLoad(TStream* stream) : Stream(stream)
{
}

BConfigLoad::~BConfigLoad()
{
  Zlib.reset();
  Zip.reset();
  Block.reset();
  delete Stream;
}

// The block buffer stays for the next data: a header that asks for no more room reuses it.
void BConfigLoad::Reset()
{
  Zlib.reset();
  Zip.reset();
  Key = ScrambleKey;
  FixedKey = 0;
  Typed = 1;
  Compressed = 1;
  Method = BeamMethodZZip;
  BlockSize = BeamDefaultBlockSize;
  Capacity = BlockCapacity(BeamDefaultBlockSize);
  Unpacked = Consumed = Total = Taken = 0;
  Broken = false;
  HeaderPending = true;
}

uint8_t BConfigLoad::NextKey()
{
  const uint8_t key = Key;
  if (!FixedKey)
    ++Key;
  return key;
}

void BConfigLoad::ReadHeader()
{
  if (!HeaderPending)
    return;
  HeaderPending = false;
  if (Stream) {
    // A short header leaves the construction values of the fields it lacks; a foreign
    // signature or a short header is a file of another kind, whose values are never read.
    uint8_t signature[8];
    Broken = ReadFully(*Stream, signature, 8) != 8 || std::memcmp(signature, BeamSignature, 8) != 0;
    uint8_t* const flags[4] = {&Compressed, &Method, &FixedKey, &Typed};
    for (uint8_t* flag : flags) {
      uint8_t b;
      if (Stream->Read(&b, 1) == 1)
        *flag = b;
      else
        Broken = true;
    }
    uint8_t size[4];
    PutLE32(size, BlockSize);
    if (ReadFully(*Stream, size, 4) != 4)
      Broken = true;
    BlockSize = GetLE32(size);
  }
  BlockSize = ClampBlockSize(BlockSize);
  if (!Compressed || Broken)
    return;
  Capacity = BlockCapacity(BlockSize);
  if (Method == BeamMethodZZip) {
    Zip = std::make_unique<BZZipStream>();
    if (BlockRoom < Capacity) {
      Block.reset(new (std::nothrow) uint8_t[Capacity]);
      BlockRoom = Block ? Capacity : 0;
    }
    Unpacked = Consumed = 0;
  } else if (Method == BeamMethodZLib) {
    Zlib = std::make_unique<BZLibStream>();
    Zlib->Open(this);
  } else {
    Broken = true;
  }
}

int32_t BConfigLoad::ReadScrambled(void* buffer, int32_t n)
{
  if (!Stream || !buffer || n <= 0)
    return 0;
  uint8_t* out = static_cast<uint8_t*>(buffer);
  const int32_t got = ReadFully(*Stream, out, n);
  Taken += static_cast<uint64_t>(got);
  for (int32_t i = 0; i < got; ++i)
    out[i] ^= NextKey();
  return got;
}

bool BConfigLoad::LoadBlock()
{
  Unpacked = Consumed = 0;
  if (Broken || !Stream || !Block || !Zip)
    return false;
  uint8_t prefix[4];
  const int32_t prefixBytes = ReadFully(*Stream, prefix, 4);
  Taken += static_cast<uint64_t>(prefixBytes);
  if (prefixBytes < 4) {
    Broken = prefixBytes > 0;  // none at all is the end of the data
    return false;
  }
  const uint32_t packed = GetLE32(prefix);
  // A truncated block is not handed to the packer. Any fault of a block breaks the container:
  // the stream no longer stands at the next block's length.
  Broken = packed > Capacity ||
           ReadScrambled(Block.get(), static_cast<int32_t>(packed)) != static_cast<int32_t>(packed);
  if (Broken)
    return false;
  int length;
  try {
    length = Zip->Unpack(Block.get(), static_cast<int>(packed), static_cast<int>(Capacity));
  } catch (...) {
    Broken = true;
    throw;
  }
  Broken = length < 0 || static_cast<uint32_t>(length) > Capacity ||
           Total + static_cast<uint64_t>(length) > BeamMaxStreamBytes;
  if (Broken)
    return false;
  Total += static_cast<uint64_t>(length);
  Unpacked = static_cast<uint64_t>(length);
  return true;
}

int32_t BConfigLoad::ReadPart(void* buffer, int32_t n, bool mayLoadBlock)
{
  if (HeaderPending)
    ReadHeader();
  if (!buffer || n <= 0 || Broken)
    return 0;
  if (Compressed && Method == BeamMethodZZip) {
    if (Consumed >= Unpacked && (!mayLoadBlock || !LoadBlock()))
      return 0;
    const uint64_t left = Unpacked > Consumed ? Unpacked - Consumed : 0;
    const int32_t count = static_cast<int32_t>(std::min<uint64_t>(static_cast<uint64_t>(n), left));
    if (count > 0)
      std::memcpy(buffer, Block.get() + Consumed, static_cast<size_t>(count));
    Taken += static_cast<uint64_t>(count);
    // Advanced by what was asked: a value cut by the block's end moves on to the next block.
    Consumed += static_cast<uint64_t>(n);
    return count;
  }
  const uint64_t room = BeamMaxStreamBytes - Total;
  n = static_cast<int32_t>(std::min<uint64_t>(static_cast<uint64_t>(n), room));
  if (n == 0)
    return 0;
  int32_t got = 0;
  if (!Compressed)
    got = ReadScrambled(buffer, n);
  else if (Method == BeamMethodZLib && Zlib) {
    got = Zlib->Read(buffer, n);
    Broken = got < 0;  // a data error, or the stream could not be opened
    got = std::max(got, 0);
  }
  Total += static_cast<uint64_t>(got);
  Taken += static_cast<uint64_t>(got);
  return got;
}

int32_t BConfigLoad::Read(void* buffer, int32_t n)
{
  return ReadPart(buffer, n, true);
}

bool BConfigLoad::ReadTag(uint8_t& tag)
{
  uint8_t b;
  if (Read(&b, 1) != 1)
    return false;
  tag = b;
  return true;
}

bool BConfigLoad::ReadValue(uint8_t tag, uint8_t* bytes, int32_t width)
{
  if (HeaderPending)
    ReadHeader();
  uint8_t got;
  if (Typed && (!ReadTag(got) || got != tag))
    return false;
  return Read(bytes, width) == width;
}

bool BConfigLoad::ReadBool(bool& value)
{
  uint8_t b;
  if (!ReadValue(BeamTagBool, &b, 1))
    return false;
  value = b != 0;
  return true;
}

bool BConfigLoad::ReadByte(uint8_t& value)
{
  return ReadValue(BeamTagByte, &value, 1);
}

bool BConfigLoad::ReadShort(uint16_t& value)
{
  uint8_t b[2];
  if (!ReadValue(BeamTagShort, b, 2))
    return false;
  value = static_cast<uint16_t>(b[0] | (b[1] << 8));
  return true;
}

bool BConfigLoad::ReadInt(int& value)
{
  uint8_t b[4];
  if (!ReadValue(BeamTagInt, b, 4))
    return false;
  value = static_cast<int>(GetLE32(b));
  return true;
}

bool BConfigLoad::ReadLong(uint32_t& value)
{
  uint8_t b[4];
  if (!ReadValue(BeamTagLong, b, 4))
    return false;
  value = GetLE32(b);
  return true;
}

bool BConfigLoad::ReadColor(TColor& value)
{
  uint8_t b[4];
  if (!ReadValue(BeamTagColor, b, 4))
    return false;
  value = static_cast<TColor>(GetLE32(b));
  return true;
}

bool BConfigLoad::ReadString(AnsiString& s)
{
  uint8_t kind;
  if (!ReadTag(kind))
    return false;
  uint32_t length;
  if (kind == BeamStringEmpty) {
    s.clear();
    return true;
  }
  if (kind == BeamStringShort) {
    uint8_t b;
    if (!ReadByte(b))
      return false;
    length = b;
  } else if (kind == BeamStringMedium) {
    uint16_t w;
    if (!ReadShort(w))
      return false;
    length = w;
  } else if (!ReadLong(length)) {
    return false;
  }
  // The length comes from the file: never trust it for an allocation.
  std::string bytes;
  uint32_t got = 0;
  while (got < length) {
    const int32_t piece = static_cast<int32_t>(std::min<uint32_t>(length - got, StringPiece));
    bytes.resize(got + static_cast<size_t>(piece));
    // Only the first piece may start a new block: a string never spans two.
    const int32_t r = ReadPart(bytes.data() + got, piece, got == 0);
    got += static_cast<uint32_t>(std::max(r, 0));
    if (r < piece)
      break;
  }
  // As a C string: a NUL inside ends it.
  s.assign(bytes.data(), ::strnlen(bytes.data(), got));
  return got == length;
}

BConfigLoadFile::BConfigLoadFile(const AnsiString& fileName) : BConfigLoad(nullptr)
{
  Stream = new TFileStream(fileName, fmOpenRead);
}

BConfigLoadMem::BConfigLoadMem() : BConfigLoad(new TMemoryStream)
{
}

bool BConfigLoadMem::SetData(const void* data, int64_t size)
{
  if (!data || size < 0 || size > std::numeric_limits<int32_t>::max())
    return false;
  Reset();
  auto* memory = static_cast<TMemoryStream*>(Stream);
  memory->Clear();
  memory->WriteBuffer(data, static_cast<int32_t>(size));
  memory->Seek(0, soFromBeginning);
  return true;
}
