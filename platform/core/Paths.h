#pragma once
// File-name routines. Names are split at '/' only: on Linux a file name may hold '\' and ':'
// (a time stamp "12:30.qel").
#include "System.h"

constexpr char PathDelim = '/';

// folder and name with one "/" between them, added unless the folder already ends in one.
AnsiString JoinPath(const AnsiString& folder, const AnsiString& name);
// Everything up to and including the last separator; "" when there is none.
AnsiString ExtractFilePath(const AnsiString& fileName);
// Everything after the last separator.
AnsiString ExtractFileName(const AnsiString& fileName);
// From the last '.' of the file part, dot included; "" when the file part has none.
AnsiString ExtractFileExt(const AnsiString& fileName);
// Replaces the extension, or appends `extension` when there is none.
AnsiString ChangeFileExt(const AnsiString& fileName, const AnsiString& extension);
// A relative name joined to the working folder, then ".", ".." and doubled separators taken
// out of the text (links are not resolved); "" as it is, and a relative name as it is when the
// working folder cannot be read.
AnsiString ExpandFileName(const AnsiString& fileName);

// True for a regular file or a link to one; false for folders and anything else.
bool FileExists(const AnsiString& fileName);

// Renames a file or folder; never replaces an existing target (false then, both left as they were).
bool RenameFile(const AnsiString& oldName, const AnsiString& newName);

// The file a chain of symbolic links ends at, which need not exist yet (a file replaced there
// leaves the links links); the name itself when it is no link. A link that cannot be read or a
// chain too long sets error (an errno value) and gives the name reached so far.
AnsiString FollowLinkChain(const AnsiString& fileName, int& error);
