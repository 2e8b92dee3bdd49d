#pragma once
// A file as a stream, buffered so that byte-at-a-time Read and Write stay cheap.
#include <cstdint>
#include <memory>

#include "Stream.h"
#include "System.h"

// Access in the low bits; share-mode bits are accepted and ignored.
constexpr uint16_t fmOpenRead = 0x0000;
constexpr uint16_t fmOpenWrite = 0x0001;
constexpr uint16_t fmOpenReadWrite = 0x0002;
// Create (or empty) the file, open for reading and writing. Any mode with all
// of the high byte set counts as create, so 0xFFFF does too.
constexpr uint16_t fmCreate = 0xFF00;

class TFileStream : public TStream {
public:
  // The name is the file system's own bytes. Opening throws EFOpenError
  // (also for a folder), creating throws EFCreateError.
  TFileStream(const AnsiString& fileName, uint16_t mode);
  ~TFileStream() override;  // flushes and closes; a failure here is lost, call Close() to see it
  TFileStream(const TFileStream&) = delete;
  TFileStream& operator=(const TFileStream&) = delete;

  int32_t Read(void* buffer, int32_t count) override;
  int32_t Write(const void* buffer, int32_t count) override;
  // A position before the start is refused: -1, position unchanged.
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() override;

  // Writes pending bytes to the file; false when that or an earlier write failed.
  bool Flush();
  // Flush, then fsync.
  bool Sync();
  // Flush and close; true only when every write since opening reached the file.
  // Read and Write return 0 afterwards.
  bool Close();
  bool Failed() const { return failed_; }

  const AnsiString& FileName() const { return fileName_; }

private:
  enum class Buffered { Nothing, ReadData, PendingWrite };

  bool WriteAll(const uint8_t* data, size_t count, int64_t at);
  uint8_t* Buffer();

  AnsiString fileName_;
  int fd_ = -1;
  bool canRead_ = false;
  bool canWrite_ = false;
  bool failed_ = false;
  int64_t pos_ = 0;
  // ReadData: buf_[0, bufLen_) holds the file's bytes from bufStart_.
  // PendingWrite: buf_[0, bufLen_) still has to go to bufStart_, and pos_ == bufStart_ + bufLen_.
  Buffered state_ = Buffered::Nothing;
  int64_t bufStart_ = 0;
  size_t bufLen_ = 0;
  // Made on the first small read or write: a stream read in large pieces never needs it.
  std::unique_ptr<uint8_t[]> buf_;
};
