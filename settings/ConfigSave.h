#pragma once
// Writer of the "BEAM v.1" settings container: a typed value stream, scrambled and
// packed in blocks (method 0), deflated (method 1) or stored plain.
#include <cstdint>
#include <memory>

#include "Stream.h"
#include "System.h"
#include "settings/BeamFormat.h"

class BZLibStream;
class BZZipStream;

class BConfigSave {
public:
  // Takes ownership of the stream (null: every write fails).
  explicit BConfigSave(TStream* stream = nullptr);
  // Writes the last block, or ends the deflate stream with its trailer, then closes the stream.
  ~BConfigSave();
  BConfigSave(const BConfigSave&) = delete;
  BConfigSave& operator=(const BConfigSave&) = delete;

  // Header values, taken by the first write. The program keeps these construction values.
  uint8_t Compressed = 1;
  uint8_t Method = 0;
  uint8_t FixedKey = 0;
  uint8_t Typed = 1;
  uint32_t BlockSize = BeamDefaultBlockSize;
  // Handed to the codecs when the header is written.
  int ZLevel = 9;
  int ZMemLevel = 9;
  int ZStrategy = 0;
  uint8_t ZipOptionA = 0;
  uint8_t ZipOptionB = 0;

  // Typed values; true when every byte was accepted.
  bool WriteBool(const bool* value);
  bool WriteByte(const uint8_t* value);
  bool WriteInt(const int* value);
  bool WriteLong(const uint32_t* value);
  bool WriteColor(const TColor* value);
  // Kind byte, length as a typed value, then the bytes up to the first NUL.
  bool WriteString(const AnsiString& s);
  // One raw byte of the value stream (a tag or a string kind).
  bool WriteTag(uint8_t tag);

  // Inner layers. Write takes value-stream bytes and returns how many it took.
  int32_t Write(const void* buffer, int32_t n);
  int32_t WriteScrambled(const void* buffer, int32_t n);
  void WriteHeader();
  bool FlushBlock();
  uint8_t NextKey();

  // True once any byte failed to reach the stream or a value was refused.
  bool Failed() const { return WriteFailed; }

protected:
  // Writes what is still held back (last block, deflate end and trailer); true when every
  // byte since construction was accepted. Later writes fail.
  bool Finish();
  // For an abandoned output: nothing more is written on destruction.
  void Abandon() { Finished = true; }

  TStream* Stream;

private:
  bool WriteValue(uint8_t tag, const uint8_t* bytes, int32_t width);
  bool WriteShort(uint16_t value);

  uint8_t Key = ScrambleKey;
  std::unique_ptr<BZLibStream> Zlib;
  std::unique_ptr<BZZipStream> Zip;
  std::unique_ptr<uint8_t[]> Block;
  uint32_t Pending = 0;
  uint32_t BlockInUse = BeamDefaultBlockSize;
  uint32_t Capacity = BlockCapacity(BeamDefaultBlockSize);
  uint64_t Written = 0;  // value-stream bytes taken so far
  bool HeaderPending = true;
  bool Finished = false;
  bool WriteFailed = false;
};
