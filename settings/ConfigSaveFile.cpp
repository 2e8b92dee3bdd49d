#include "settings/ConfigSaveFile.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

#include "Exceptions.h"

namespace {

[[noreturn]] void FailCreate(const AnsiString& fileName, int error)
{
  throw EFCreateError("Cannot create file \"" + fileName + "\". " +
                      std::system_category().message(error));
}

// A new, empty file beside the target, created exclusively so nothing else is clobbered.
AnsiString CreateTempBeside(const AnsiString& fileName)
{
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0;; ++attempt) {
    const AnsiString name = fileName + ".tmp" + std::to_string(::getpid()) + "-" +
                            std::to_string(counter.fetch_add(1));
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      ::close(fd);
      return name;
    }
    if (errno != EEXIST || attempt >= 100)
      FailCreate(fileName, errno);
  }
}

// Makes the rename itself durable; a failure here does not undo the save.
void SyncFolderOf(const AnsiString& fileName)
{
  const size_t slash = fileName.rfind('/');
  const AnsiString folder = slash == AnsiString::npos ? AnsiString(".")
                            : slash == 0             ? AnsiString("/")
                                                     : fileName.substr(0, slash);
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    ::fsync(fd);
    ::close(fd);
  }
}

} // namespace

BConfigSaveFile::BConfigSaveFile(const AnsiString& fileName) : FileName(fileName)
{
  // Writing in place would have failed on such a target, so the save fails the same way.
  struct stat st;
  if (::stat(fileName.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode))
      FailCreate(fileName, EISDIR);
    if (::access(fileName.c_str(), W_OK) != 0)
      FailCreate(fileName, errno);
  }
  TempName = CreateTempBeside(fileName);
  try {
    File = new TFileStream(TempName, fmCreate);
  } catch (...) {
    ::unlink(TempName.c_str());
    throw;
  }
  Stream = File;
}

BConfigSaveFile::~BConfigSaveFile()
{
  if (Committed || !File)
    return;
  Abandon();
  delete File;
  Stream = File = nullptr;
  ::unlink(TempName.c_str());
}

bool BConfigSaveFile::Commit()
{
  if (Committed || !File)
    return false;
  bool ok;
  try {
    ok = Finish();
  } catch (...) {
    ok = false;
  }
  ok = File->Sync() && ok;
  ok = File->Close() && ok;
  delete File;
  Stream = File = nullptr;
  if (ok && ::rename(TempName.c_str(), FileName.c_str()) == 0) {
    SyncFolderOf(FileName);
    Committed = true;
    return true;
  }
  ::unlink(TempName.c_str());
  return false;
}
