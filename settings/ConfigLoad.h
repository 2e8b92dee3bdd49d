#pragma once
// Reader of the "BEAM v.1" settings container, over a file or a block of memory.
// The signature and every length and block field of the input are checked: a damaged or
// hostile input makes typed reads fail (a damaged packed block raises Exception from the
// packer), never more.
#include <cstdint>
#include <memory>

#include "Stream.h"
#include "System.h"
#include "settings/BeamFormat.h"

class BZLibStream;
class BZZipStream;
class TMemoryStream;

class BConfigLoad {
public:
  ~BConfigLoad();
  BConfigLoad(const BConfigLoad&) = delete;
  BConfigLoad& operator=(const BConfigLoad&) = delete;

  // Typed values: false on a short read or, in typed mode, a wrong tag; the variable is
  // only changed on success.
  bool ReadBool(bool& value);
  bool ReadByte(uint8_t& value);
  bool ReadShort(uint16_t& value);
  bool ReadInt(int& value);
  bool ReadLong(uint32_t& value);
  bool ReadColor(TColor& value);
  // False when fewer bytes than its length follow; s then holds those that came.
  bool ReadString(AnsiString& s);
  // One raw byte of the value stream.
  bool ReadTag(uint8_t& tag);

  // Inner layers. Read delivers value-stream bytes, never from two packed blocks at once.
  int32_t Read(void* buffer, int32_t n);
  int32_t ReadScrambled(void* buffer, int32_t n);
  void ReadHeader();
  uint8_t NextKey();

  // Grows with every byte taken from the stream or delivered to a caller. A read that leaves
  // it as it was found the end of the data, and so will every read after it.
  uint64_t Progress() const { return Taken; }

  // Block size taken from the header (after clamping); 0 while the header is unread.
  uint32_t BlockSizeInUse() const { return HeaderPending ? 0 : BlockSize; }

protected:
  // Takes ownership of the stream.
  explicit BConfigLoad(TStream* stream);
  void Reset();

  TStream* Stream;

private:
  bool ReadValue(uint8_t tag, uint8_t* bytes, int32_t width);
  int32_t ReadPart(void* buffer, int32_t n, bool mayLoadBlock);
  bool LoadBlock();

  uint8_t Key = ScrambleKey;
  uint8_t FixedKey = 0;
  uint8_t Typed = 1;
  uint8_t Compressed = 1;
  uint8_t Method = 0;
  uint32_t BlockSize = BeamDefaultBlockSize;
  std::unique_ptr<BZLibStream> Zlib;
  std::unique_ptr<BZZipStream> Zip;
  std::unique_ptr<uint8_t[]> Block;
  uint32_t BlockRoom = 0;  // bytes Block holds; it is kept for the next data of SetData
  uint64_t Unpacked = 0;   // length of the current block
  uint64_t Consumed = 0;   // bytes asked of it so far (may pass its end)
  uint32_t Capacity = BlockCapacity(BeamDefaultBlockSize);
  uint64_t Total = 0;  // value-stream bytes unpacked or delivered so far
  // The container itself is broken: another signature, a short header, an unknown method, a
  // block that is cut, too long or fails to unpack, a stream past the cap. Every read from
  // then on delivers nothing, so a reader cannot skip one record and go on in garbage.
  bool Broken = false;
  uint64_t Taken = 0;  // bytes read from the stream plus bytes delivered
  bool HeaderPending = true;
};

// Opens the file for reading; a file that cannot be opened raises EFOpenError.
class BConfigLoadFile final : public BConfigLoad {
public:
  explicit BConfigLoadFile(const AnsiString& fileName);
};

// Reads a copy of a block of memory handed over by SetData.
class BConfigLoadMem final : public BConfigLoad {
public:
  BConfigLoadMem();
  // False for a null pointer (nothing changes); otherwise starts over on a copy of the bytes.
  bool SetData(const void* data, int64_t size);
};
