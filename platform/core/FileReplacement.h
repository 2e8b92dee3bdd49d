#pragma once
// A file written under a temporary name beside its target and put in the target's place by
// one rename once it is complete: until then, and whenever the writing fails or is given up,
// the old file stays as it was and no part-written file is left behind.
#include <cstddef>

#include "System.h"

class FileReplacement {
public:
  // Makes the temporary file. On failure Failed() is true and Reason() says why; every later
  // call does nothing.
  explicit FileReplacement(const AnsiString& target);
  // Gives up unless committed.
  ~FileReplacement();
  FileReplacement(const FileReplacement&) = delete;
  FileReplacement& operator=(const FileReplacement&) = delete;

  // All of the bytes, or false with the reason kept.
  bool Write(const void* data, size_t size);
  // Flushes to the disk and renames over the target; false, with the temporary removed and the
  // target untouched, on any failure.
  bool Commit();
  // Removes the temporary file.
  void Abandon();

  bool Failed() const { return error_ != 0; }
  // The system's own words for the first failure; "" while there is none.
  AnsiString Reason() const;
  const AnsiString& TempName() const { return tempName_; }

private:
  void Fail(int error);

  AnsiString target_;
  AnsiString tempName_;
  int fd_ = -1;
  int error_ = 0;
  bool done_ = false;
};

// The whole of a small file at once, through a replacement: on failure the old file stays as
// it was, EFCreateError when no file could be made there, EWriteError when writing or renaming
// failed, each with the system's reason as its message. A device or a pipe of that name is
// written to in place, never replaced by a file.
void ReplaceFileContents(const AnsiString& fileName, const void* data, size_t size);
