#pragma once
// The settings writer over a file. It writes a temporary file beside the target and puts
// it in place only on Commit, so a failed or abandoned save never costs the old file. A
// target that is a symbolic link is followed: the file it names is replaced, with its mode,
// and the link stays. Temporaries left by a killed save are removed by the next one.
#include "FileStream.h"
#include "System.h"
#include "settings/ConfigSave.h"

class BConfigSaveFile final : public BConfigSave {
public:
  // Raises EFCreateError when the file could not be written: the temporary file cannot be
  // created, or the target exists but is not writable.
  explicit BConfigSaveFile(const AnsiString& fileName);
  // Without a successful Commit the temporary file is removed and the target left as it was.
  ~BConfigSaveFile();

  // Writes what is held back, syncs the temporary file to disk and renames it over the
  // target. True only when every value and byte reached the file; once only.
  bool Commit();

  const AnsiString& TempFileName() const { return TempName; }

private:
  AnsiString FileName;
  AnsiString TempName;
  TFileStream* File = nullptr;  // the base's stream, while open
  bool Committed = false;
};
