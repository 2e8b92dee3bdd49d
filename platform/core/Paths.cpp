#include "Paths.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <vector>

#ifndef RENAME_NOREPLACE
#define RENAME_NOREPLACE (1 << 0)
#endif

namespace {

// Index of the last separator, or npos.
size_t LastSeparator(const AnsiString& fileName)
{
  return fileName.rfind(PathDelim);
}

// Index of the extension's dot, or npos when the file part has none.
size_t ExtensionDot(const AnsiString& fileName)
{
  const size_t at = fileName.find_last_of("./");
  if (at == AnsiString::npos || fileName[at] != '.')
    return AnsiString::npos;
  return at;
}

bool RenameNoReplace(const char* oldName, const char* newName, int& error)
{
#ifdef SYS_renameat2
  if (::syscall(SYS_renameat2, AT_FDCWD, oldName, AT_FDCWD, newName, RENAME_NOREPLACE) == 0)
    return true;
  error = errno;
#else
  error = ENOSYS;
#endif
  return false;
}

}  // namespace

AnsiString ExtractFilePath(const AnsiString& fileName)
{
  const size_t at = LastSeparator(fileName);
  return at == AnsiString::npos ? AnsiString() : fileName.substr(0, at + 1);
}

AnsiString ExtractFileName(const AnsiString& fileName)
{
  const size_t at = LastSeparator(fileName);
  return at == AnsiString::npos ? fileName : fileName.substr(at + 1);
}

AnsiString ExtractFileExt(const AnsiString& fileName)
{
  const size_t dot = ExtensionDot(fileName);
  return dot == AnsiString::npos ? AnsiString() : fileName.substr(dot);
}

AnsiString ChangeFileExt(const AnsiString& fileName, const AnsiString& extension)
{
  const size_t dot = ExtensionDot(fileName);
  return (dot == AnsiString::npos ? fileName : fileName.substr(0, dot)) + extension;
}

namespace {

// "." and empty parts dropped, ".." taking the part before it (never above the root); a
// trailing separator kept. Only the text changes: a link on the way stays a link, so the name
// is the one the user gave, written once.
AnsiString CleanAbsolutePath(const AnsiString& path)
{
  std::vector<AnsiString> parts;
  for (size_t start = 1; start <= path.size();) {
    size_t end = path.find(PathDelim, start);
    if (end == AnsiString::npos)
      end = path.size();
    const AnsiString part = path.substr(start, end - start);
    if (part == "..") {
      if (!parts.empty())
        parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    start = end + 1;
  }
  AnsiString clean;
  for (const AnsiString& part : parts)
    clean += PathDelim + part;
  if (clean.empty() || (path.back() == PathDelim && !parts.empty()))
    clean += PathDelim;
  return clean;
}

}  // namespace

AnsiString ExpandFileName(const AnsiString& fileName)
{
  if (fileName.empty())
    return fileName;
  if (fileName[0] == PathDelim)
    return CleanAbsolutePath(fileName);
  std::vector<char> buffer(PATH_MAX);
  while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
    if (errno != ERANGE)
      return fileName;
    buffer.resize(buffer.size() * 2);
  }
  return CleanAbsolutePath(AnsiString(buffer.data()) + PathDelim + fileName);
}

bool FileExists(const AnsiString& fileName)
{
  struct stat st;
  return !fileName.empty() && ::stat(fileName.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool RenameFile(const AnsiString& oldName, const AnsiString& newName)
{
  const char* from = oldName.c_str();
  const char* to = newName.c_str();
  int error = 0;
  if (RenameNoReplace(from, to, error))
    return true;
  // Only a kernel or file system without the no-replace flag earns a second try.
  if (error != ENOSYS && error != EINVAL && error != ENOTSUP)
    return false;

  struct stat st;
  if (::lstat(from, &st) != 0)
    return false;
  if (!S_ISDIR(st.st_mode)) {
    // link() refuses an existing target, which makes the check and the move one step.
    if (::link(from, to) == 0) {
      if (::unlink(from) == 0)
        return true;
      ::unlink(to);
      return false;
    }
    if (errno == EEXIST)
      return false;
  }
  // Last resort (folders, or file systems without hard links): test, then move.
  struct stat target;
  if (::lstat(to, &target) == 0 || errno != ENOENT)
    return false;
  return std::rename(from, to) == 0;
}

AnsiString JoinPath(const AnsiString& folder, const AnsiString& name)
{
  // The folder's end as the system sees it: a name stops at its first NUL.
  const int length = CStrLen(folder);
  if (length > 0 && folder[static_cast<size_t>(length) - 1] == '/')
    return folder + name;
  return folder + "/" + name;
}

// As the kernel gives up on a path.
constexpr int MaxLinkHops = 40;

AnsiString FollowLinkChain(const AnsiString& fileName, int& error)
{
  AnsiString name = fileName;
  for (int hop = 0; hop < MaxLinkHops; ++hop) {
    struct stat st;
    if (::lstat(name.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
      return name;
    std::string target(static_cast<size_t>(st.st_size) + 1, '\0');
    const ssize_t length = ::readlink(name.c_str(), target.data(), target.size());
    if (length < 0 || static_cast<size_t>(length) >= target.size()) {
      error = length < 0 ? errno : EINVAL;
      return name;
    }
    target.resize(static_cast<size_t>(length));
    const size_t slash = name.rfind('/');
    name = target.starts_with('/') || slash == AnsiString::npos ? target : name.substr(0, slash + 1) + target;
  }
  error = ELOOP;
  return name;
}
