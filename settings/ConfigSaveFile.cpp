#include "settings/ConfigSaveFile.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

#include "Exceptions.h"
#include "Paths.h"

namespace {

[[noreturn]] void FailCreate(const AnsiString& fileName, int error)
{
  throw EFCreateError("Cannot create file \"" + fileName + "\". " + std::system_category().message(error));
}

// As the kernel follows them.

// Temporary files are named after the target: "<target>.tmp<pid>-<counter>".
constexpr char TempMark[] = ".tmp";

AnsiString FolderOf(const AnsiString& fileName)
{
  const size_t slash = fileName.rfind('/');
  return slash == AnsiString::npos ? AnsiString(".") : slash == 0 ? AnsiString("/") : fileName.substr(0, slash);
}

// The file a chain of symbolic links ends at, which need not exist yet: the save replaces
// that file, so the links stay links.
AnsiString FollowLinks(const AnsiString& fileName)
{
  int error = 0;
  const AnsiString name = FollowLinkChain(fileName, error);
  if (error)
    FailCreate(fileName, error);
  return name;
}

// The pid in a temporary name of ours for `base` ("<base>.tmp<pid>-<counter>"), else 0.
pid_t TempOwner(const std::string& entry, const std::string& base)
{
  const std::string head = base + TempMark;
  if (!entry.starts_with(head))
    return 0;
  const size_t dash = entry.find('-', head.size());
  auto digits = [&](size_t from, size_t to) {
    return to > from && entry.find_first_not_of("0123456789", from) >= to;
  };
  if (dash == std::string::npos || !digits(head.size(), dash) || !digits(dash + 1, entry.size()) ||
      dash - head.size() > 9)
    return 0;
  return static_cast<pid_t>(std::stol(entry.substr(head.size(), dash - head.size())));
}

// Removes temporary files a save that was killed left beside the target. A process that
// still runs may be saving right now: its files stay.
void RemoveStaleTemps(const AnsiString& target)
{
  const AnsiString folder = FolderOf(target);
  const size_t slash = target.rfind('/');
  const std::string base = slash == AnsiString::npos ? target : target.substr(slash + 1);
  DIR* dir = ::opendir(folder.c_str());
  if (!dir)
    return;
  while (const dirent* entry = ::readdir(dir)) {
    const pid_t owner = TempOwner(entry->d_name, base);
    if (owner <= 0 || ::kill(owner, 0) == 0 || errno != ESRCH)
      continue;
    const AnsiString name = folder + "/" + entry->d_name;
    struct stat st;
    if (::lstat(name.c_str(), &st) == 0 && S_ISREG(st.st_mode))
      ::unlink(name.c_str());
  }
  ::closedir(dir);
}

// A new, empty file beside the target, created exclusively so nothing else is clobbered.
AnsiString CreateTempBeside(const AnsiString& fileName)
{
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0;; ++attempt) {
    const AnsiString name =
        fileName + TempMark + std::to_string(::getpid()) + "-" + std::to_string(counter.fetch_add(1));
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
  const int fd = ::open(FolderOf(fileName).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    ::fsync(fd);
    ::close(fd);
  }
}

}  // namespace

BConfigSaveFile::BConfigSaveFile(const AnsiString& fileName) : FileName(FollowLinks(fileName))
{
  // Writing in place would have failed on such a target, so the save fails the same way.
  struct stat st;
  const bool exists = ::stat(FileName.c_str(), &st) == 0;
  if (exists) {
    // The rename would put a regular file in place of a device node or a FIFO the name links
    // to: such a target is left alone, as an unwritable one is.
    if (!S_ISREG(st.st_mode))
      FailCreate(fileName, S_ISDIR(st.st_mode) ? EISDIR : EINVAL);
    if (::access(FileName.c_str(), W_OK) != 0)
      FailCreate(fileName, errno);
  }
  RemoveStaleTemps(FileName);
  TempName = CreateTempBeside(FileName);
  try {
    File = new TFileStream(TempName, fmCreate);
  } catch (...) {
    ::unlink(TempName.c_str());
    throw;
  }
  Stream = File;
  // The replacement keeps the old file's permissions (a private file stays private).
  if (exists)
    ::chmod(TempName.c_str(), st.st_mode & 07777);
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
