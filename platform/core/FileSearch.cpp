#include "FileSearch.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

struct SearchState {
  DIR* Dir = nullptr;
  AnsiString Mask;
  int Excluded = 0;

  ~SearchState()
  {
    if (Dir)
      ::closedir(Dir);
  }
};

namespace {

constexpr int Special = faHidden | faSysFile | faVolumeID | faDirectory;

unsigned char FoldAscii(unsigned char c)
{
  return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 'a' + 'A') : c;
}

// '*' and '?' with backtracking to the last star only, which is enough for these two wildcards.
bool Glob(const AnsiString& name, size_t nameEnd, const AnsiString& mask, size_t maskEnd)
{
  size_t n = 0, m = 0;
  size_t starMask = AnsiString::npos, starName = 0;
  while (n < nameEnd) {
    if (m < maskEnd && mask[m] == '*') {
      starMask = m++;
      starName = n;
    } else if (m < maskEnd && (mask[m] == '?' || FoldAscii(static_cast<unsigned char>(mask[m])) ==
                                                     FoldAscii(static_cast<unsigned char>(name[n])))) {
      ++m;
      ++n;
    } else if (starMask != AnsiString::npos) {
      m = starMask + 1;
      n = ++starName;
    } else {
      return false;
    }
  }
  while (m < maskEnd && mask[m] == '*')
    ++m;
  return m == maskEnd;
}

// Fills rec from the next matching entry; false at the end.
bool NextMatch(SearchState& state, TSearchRec& rec)
{
  while (dirent* entry = ::readdir(state.Dir)) {
    const AnsiString name = entry->d_name;
    if (!MatchesWildcard(name, state.Mask))
      continue;
    struct stat st;
    if (::fstatat(::dirfd(state.Dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
      continue;  // gone since readdir saw it
    int attr = 0;
    int64_t size = st.st_size;
    if (S_ISLNK(st.st_mode)) {
      attr |= faSymLink;
      struct stat target;
      if (::fstatat(::dirfd(state.Dir), entry->d_name, &target, 0) == 0 && !S_ISDIR(target.st_mode)) {
        size = target.st_size;
        st.st_mode = (st.st_mode & ~07777) | (target.st_mode & 07777);
      }
    } else if (S_ISDIR(st.st_mode)) {
      attr |= faDirectory;
      size = 0;
    }
    if ((st.st_mode & S_IWUSR) == 0)
      attr |= faReadOnly;
    if (attr & state.Excluded)
      continue;
    rec.Name = name;
    rec.Attr = attr;
    rec.Size = size;
    return true;
  }
  return false;
}

}  // namespace

TSearchRec::TSearchRec() = default;
TSearchRec::~TSearchRec() = default;
TSearchRec::TSearchRec(TSearchRec&&) noexcept = default;
TSearchRec& TSearchRec::operator=(TSearchRec&&) noexcept = default;

bool MatchesWildcard(const AnsiString& name, const AnsiString& mask)
{
  if (Glob(name, name.size(), mask, mask.size()))
    return true;
  // A trailing ".*" may also match the end of a name without that dot.
  const size_t len = mask.size();
  return len >= 2 && mask[len - 2] == '.' && mask[len - 1] == '*' && Glob(name, name.size(), mask, len - 2);
}

int FindFirst(const AnsiString& pattern, int attr, TSearchRec& rec)
{
  FindClose(rec);
  const size_t slash = pattern.rfind('/');
  AnsiString folder = slash == AnsiString::npos ? AnsiString(".") : pattern.substr(0, slash + 1);
  auto state = std::make_unique<SearchState>();
  state->Mask = slash == AnsiString::npos ? pattern : pattern.substr(slash + 1);
  state->Excluded = ~attr & Special;
  if (state->Mask.empty())
    return ENOENT;
  state->Dir = ::opendir(folder.c_str());
  if (!state->Dir)
    return errno != 0 ? errno : ENOENT;
  if (!NextMatch(*state, rec))
    return ENOENT;
  rec.state_ = std::move(state);
  return 0;
}

int FindNext(TSearchRec& rec)
{
  if (!rec.state_)
    return ENOENT;
  return NextMatch(*rec.state_, rec) ? 0 : ENOENT;
}

void FindClose(TSearchRec& rec)
{
  rec.state_.reset();
}

std::vector<AnsiString> FolderFileNames(const AnsiString& folder,
                                        const std::function<bool(const AnsiString&)>& accept)
{
  std::vector<AnsiString> names;
  DIR* dir = ::opendir(folder.c_str());
  if (!dir)
    return names;
  while (dirent* entry = ::readdir(dir)) {
    AnsiString name = entry->d_name;
    if (entry->d_type == DT_DIR || !accept(name))
      continue;
    struct stat st;
    if (entry->d_type == DT_REG || ((entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) &&
                                    ::fstatat(::dirfd(dir), entry->d_name, &st, 0) == 0 && S_ISREG(st.st_mode)))
      names.push_back(std::move(name));
  }
  ::closedir(dir);
  return names;
}
