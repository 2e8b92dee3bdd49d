#pragma once
// Enumerating the entries of one folder that match a wildcard name.
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "System.h"

constexpr int faReadOnly = 0x01;
constexpr int faHidden = 0x02;
constexpr int faSysFile = 0x04;
constexpr int faVolumeID = 0x08;
constexpr int faDirectory = 0x10;
constexpr int faArchive = 0x20;
constexpr int faAnyFile = 0x3F;
constexpr int faSymLink = 0x40;

struct SearchState;

// Attr holds faDirectory for a folder (never through a link), faSymLink for any
// symbolic link (so a link to a folder is not walked into), faReadOnly when the
// owner may not write. Size is the file's size (the target's for a link to a file).
struct TSearchRec {
  AnsiString Name;
  int Attr = 0;
  int64_t Size = 0;

  TSearchRec();
  ~TSearchRec();  // closes a search left open
  TSearchRec(TSearchRec&&) noexcept;
  TSearchRec& operator=(TSearchRec&&) noexcept;

private:
  friend int FindFirst(const AnsiString&, int, TSearchRec&);
  friend int FindNext(TSearchRec&);
  friend void FindClose(TSearchRec&);
  std::unique_ptr<SearchState> state_;
};

// The pattern is a folder, '/', then a name with '*' and '?' (ASCII case ignored;
// '?' is exactly one byte; "x.*" also matches "x", so "*.*" matches every name).
// Entries come in the file system's order, "." and ".." included.
// Filter: an entry is reported unless it has faHidden, faSysFile, faVolumeID or
// faDirectory and that bit is missing from `attr`; plain files always pass.
// Returns 0 when an entry was found (in `rec`), nonzero when there is none,
// also when the folder cannot be searched.
int FindFirst(const AnsiString& pattern, int attr, TSearchRec& rec);
int FindNext(TSearchRec& rec);
void FindClose(TSearchRec& rec);

// The name matcher on its own.
bool MatchesWildcard(const AnsiString& name, const AnsiString& mask);

// The names `accept` takes of the files in a folder (links to files included; never folders,
// devices or pipes), in the file system's order; empty when the folder cannot be read. Much
// faster than FindFirst over large folders: the listing's own entry types spare a look at
// each file, and a name is tested before its entry is.
std::vector<AnsiString> FolderFileNames(const AnsiString& folder,
                                        const std::function<bool(const AnsiString&)>& accept);
