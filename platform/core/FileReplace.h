#pragma once
// Writing a whole file so that its name never holds half of it.
#include <cstddef>

#include "System.h"

// The bytes go to a new file beside fileName, which is renamed over it only once complete and
// on disk; a link is followed to the file it names, whose permissions the new file keeps. On
// failure the old file stays as it was and nothing is left beside it: EFCreateError when no
// file could be made there, EWriteError when writing or renaming failed, each with the
// system's reason as its message. A device or a pipe of that name is written to in place.
void ReplaceFileContents(const AnsiString& fileName, const void* data, size_t size);
