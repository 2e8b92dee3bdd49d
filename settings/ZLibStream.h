#pragma once
// Compression method 1 of the settings container: one raw deflate stream (no zlib or gzip
// header) in 64000-byte pieces through the container's scrambled byte layer, followed by
// an 8-byte trailer: CRC-32 and length of the uncompressed bytes, little-endian.
#include <cstdint>
#include <memory>

class BConfigLoad;
class BConfigSave;

class BZLibStream {
public:
  static constexpr int BufferSize = 64000;

  BZLibStream();
  ~BZLibStream();  // closes: a writing stream gets its final block and trailer
  BZLibStream(const BZLibStream&) = delete;
  BZLibStream& operator=(const BZLibStream&) = delete;

  // Set by the container writer before opening.
  int Level = 9;
  int Strategy = 0;
  int MemLevel = 9;

  // Nonzero on success; a failed open leaves the object closed.
  int Open(BConfigSave* container);  // for writing
  int Open(BConfigLoad* container);  // for reading
  bool IsOpen() const { return State != nullptr; }

  // Count of bytes taken; -2 when not open for writing.
  int Write(const void* buffer, int n);
  // Count delivered; 0 at the end of the stream; -1 on a data or read error with nothing
  // delivered; -2 when not open for reading.
  int Read(void* buffer, int n);
  // Sync flush: everything written so far becomes decodable.
  int Flush();
  // Finishes a writing stream and writes the trailer; 0 when all went well.
  int Close();

private:
  struct OpenState;

  // A fresh state with its buffer, zlib not started yet; none when memory is short.
  static std::unique_ptr<OpenState> NewState(char mode);

  int DoFlush(int flush);
  int PutRaw(const uint8_t* buffer, int n);
  int GetRaw(uint8_t* buffer, int n);
  int GetByte();
  uint32_t GetLong();
  void PutLong(uint32_t value);
  int Destroy();

  std::unique_ptr<OpenState> State;
};
