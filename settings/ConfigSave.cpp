#include "settings/ConfigSave.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "settings/BeamFormat.h"
#include "settings/ZLibStream.h"
#include "settings/ZZipStream.h"

BConfigSave::BConfigSave(TStream* stream) : Stream(stream)
{
}

BConfigSave::~BConfigSave()
{
  try {
    Finish();
  } catch (...) {
    // A packer failure at the last block: the output is incomplete, nothing more to do.
  }
  Zlib.reset();
  Zip.reset();
  Block.reset();
  delete Stream;
}

uint8_t BConfigSave::NextKey()
{
  const uint8_t key = Key;
  if (!FixedKey)
    ++Key;
  return key;
}

void BConfigSave::WriteHeader()
{
  if (!HeaderPending)
    return;
  HeaderPending = false;
  BlockSize = ClampBlockSize(BlockSize);
  uint8_t header[BeamHeaderSize];
  std::memcpy(header, BeamSignature, sizeof BeamSignature);
  header[8] = Compressed;
  header[9] = Method;
  header[10] = FixedKey;
  header[11] = Typed;
  PutLE32(header + 12, BlockSize);
  if (!Stream || Stream->Write(header, BeamHeaderSize) != BeamHeaderSize)
    WriteFailed = true;
  if (!Compressed)
    return;
  BlockInUse = BlockSize;
  Capacity = BlockCapacity(BlockSize);
  if (Method == BeamMethodZZip) {
    Zip = std::make_unique<BZZipStream>();
    Zip->OptionA = ZipOptionA;
    Zip->OptionB = ZipOptionB;
    Block.reset(new (std::nothrow) uint8_t[Capacity]);
    Pending = 0;
  } else if (Method == BeamMethodZLib) {
    Zlib = std::make_unique<BZLibStream>();
    Zlib->Level = ZLevel;
    Zlib->Strategy = ZStrategy;
    Zlib->MemLevel = ZMemLevel;
    Zlib->Open(this);
  }
}

int32_t BConfigSave::WriteScrambled(const void* buffer, int32_t n)
{
  if (!Stream || !buffer || n <= 0)
    return 0;
  const uint8_t* in = static_cast<const uint8_t*>(buffer);
  uint8_t chunk[4096];
  int32_t done = 0;
  while (done < n) {
    const int32_t len = std::min<int32_t>(sizeof chunk, n - done);
    const uint8_t start = Key;
    for (int32_t i = 0; i < len; ++i)
      chunk[i] = in[done + i] ^ NextKey();
    int32_t wrote = Stream->Write(chunk, len);
    if (wrote == len) {
      done += len;
      continue;
    }
    // The key stepped for each byte that went and for the one that was refused.
    wrote = std::max(wrote, 0);
    if (!FixedKey)
      Key = static_cast<uint8_t>(start + wrote + 1);
    done += wrote;
    WriteFailed = true;
    break;
  }
  return done;
}

int32_t BConfigSave::Write(const void* buffer, int32_t n)
{
  if (HeaderPending)
    WriteHeader();
  if (!buffer || n <= 0)
    return 0;
  int32_t done = 0;
  // Past the cap the reader would refuse the file, so such a value is refused here.
  if (!Finished && Written + static_cast<uint64_t>(n) <= BeamMaxStreamBytes) {
    if (!Compressed) {
      done = WriteScrambled(buffer, n);
    } else if (Method == BeamMethodZZip) {
      // A value never spans two blocks, and the packed block must fit in the buffer.
      if (Block && static_cast<uint32_t>(n) <= Capacity - BeamBlockOverhead) {
        if (BlockInUse < static_cast<uint64_t>(Pending) + static_cast<uint32_t>(n))
          FlushBlock();
        std::memcpy(Block.get() + Pending, buffer, static_cast<size_t>(n));
        Pending += static_cast<uint32_t>(n);
        done = n;
      }
    } else if (Method == BeamMethodZLib && Zlib) {
      done = std::max(Zlib->Write(buffer, n), 0);
    }
  }
  Written += static_cast<uint64_t>(done);
  if (done != n)
    WriteFailed = true;
  return done;
}

bool BConfigSave::FlushBlock()
{
  if (HeaderPending || !Compressed)
    return true;
  if (Method == BeamMethodZZip) {
    if (!Block || !Zip || Pending == 0)
      return true;
    const uint32_t length = Pending;
    Pending = 0;
    int packed;
    try {
      packed = Zip->Pack(Block.get(), static_cast<int>(length), static_cast<int>(Capacity));
    } catch (...) {
      WriteFailed = true;
      throw;
    }
    if (packed < 0 || static_cast<uint32_t>(packed) > Capacity) {
      WriteFailed = true;
      return false;
    }
    uint8_t prefix[4];
    PutLE32(prefix, static_cast<uint32_t>(packed));
    bool ok = Stream && Stream->Write(prefix, 4) == 4;
    ok = WriteScrambled(Block.get(), packed) == packed && ok;
    if (!ok)
      WriteFailed = true;
    return ok;
  }
  if (Method == BeamMethodZLib && Zlib && Zlib->Flush() != 0) {
    WriteFailed = true;
    return false;
  }
  return true;
}

bool BConfigSave::Finish()
{
  if (Finished)
    return !WriteFailed;
  Finished = true;
  FlushBlock();
  // Closing writes the final deflate block and the trailer through this object.
  if (Zlib && Zlib->Close() != 0)
    WriteFailed = true;
  return !WriteFailed;
}

bool BConfigSave::WriteTag(uint8_t tag)
{
  return Write(&tag, 1) == 1;
}

bool BConfigSave::WriteValue(uint8_t tag, const uint8_t* bytes, int32_t width)
{
  if (HeaderPending)
    WriteHeader();
  if (Typed && !WriteTag(tag))
    return false;
  return Write(bytes, width) == width;
}

bool BConfigSave::WriteBool(const bool* value)
{
  const uint8_t byte = *value ? 1 : 0;
  return WriteValue(BeamTagBool, &byte, 1);
}

bool BConfigSave::WriteByte(const uint8_t* value)
{
  return WriteValue(BeamTagByte, value, 1);
}

bool BConfigSave::WriteShort(uint16_t value)
{
  const uint8_t bytes[2] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8)};
  return WriteValue(BeamTagShort, bytes, 2);
}

bool BConfigSave::WriteInt(const int* value)
{
  uint8_t bytes[4];
  PutLE32(bytes, static_cast<uint32_t>(*value));
  return WriteValue(BeamTagInt, bytes, 4);
}

bool BConfigSave::WriteLong(const uint32_t* value)
{
  uint8_t bytes[4];
  PutLE32(bytes, *value);
  return WriteValue(BeamTagLong, bytes, 4);
}

bool BConfigSave::WriteColor(const TColor* value)
{
  uint8_t bytes[4];
  PutLE32(bytes, static_cast<uint32_t>(*value));
  return WriteValue(BeamTagColor, bytes, 4);
}

bool BConfigSave::WriteString(const AnsiString& s)
{
  const size_t length = ::strnlen(s.data(), s.size());
  if (length > BeamMaxStreamBytes) {
    WriteFailed = true;
    return false;
  }
  bool ok;
  if (length == 0)
    return WriteTag(BeamStringEmpty);
  if (length <= 0xFF) {
    const uint8_t len = static_cast<uint8_t>(length);
    ok = WriteTag(BeamStringShort) && WriteByte(&len);
  } else if (length <= 0xFFFF) {
    ok = WriteTag(BeamStringMedium) && WriteShort(static_cast<uint16_t>(length));
  } else {
    const uint32_t len = static_cast<uint32_t>(length);
    ok = WriteTag(BeamStringLong) && WriteLong(&len);
  }
  if (!ok)
    return false;
  const int32_t n = static_cast<int32_t>(length);
  return Write(s.data(), n) == n;
}
