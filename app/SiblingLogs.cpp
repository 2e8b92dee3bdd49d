// Previous and next log: the logs beside the current one with the same first three bytes
// and extension, in name order.
#include "FileSearch.h"
#include "Paths.h"
#include "TextUtils.h"
#include "app/Qelunit.h"
#include "app/SmallRoutines.h"

namespace {

// Byte by byte rather than through the wildcard matcher: a Linux name may hold '*' or '?'.
// The prefix and the extension may overlap ("ab.qel" is its own sibling).
bool IsSibling(const AnsiString& name, const AnsiString& prefix, const AnsiString& extension)
{
  return name.size() >= prefix.size() && name.size() >= extension.size() &&
         UpperCase(name.substr(0, prefix.size())) == UpperCase(prefix) &&
         UpperCase(name.substr(name.size() - extension.size())) == UpperCase(extension);
}

}  // namespace

void BQELunit::ScanSiblingLogFiles()
{
  SiblingList->Clear();
  const AnsiString folder = ExtractFilePath(LogFileName);
  const AnsiString name = ExtractFileName(LogFileName);
  const AnsiString prefix = name.substr(0, 3);
  const AnsiString extension = ExtractFileExt(name);

  // Gathered first and sorted once: an insertion into the sorted list per file would move the
  // list's tail each time, too slow for a folder of many thousand logs.
  SiblingList->SetSorted(false);
  TSearchRec found;
  for (int result = FindFirst(JoinPath(folder, "*"), faAnyFile, found); result == 0; result = FindNext(found)) {
    if ((found.Attr & faDirectory) || !IsSibling(found.Name, prefix, extension))
      continue;
    const AnsiString path = JoinPath(folder, found.Name);
    // A link counts when it leads to a file.
    if (!(found.Attr & faSymLink) || FileExists(path))
      SiblingList->Add(path);
  }
  FindClose(found);
  SiblingList->SetSorted(true);
  SiblingIndex = SiblingList->IndexOf(LogFileName);
}

void BQELunit::StepSibling(int step)
{
  if (ParseRunning)
    return;
  if (LogFileName.empty()) {
    OpenButtonClick(nullptr);
    return;
  }
  ScanSiblingLogFiles();
  const int count = SiblingList->Count();
  if (count == 0)
    return;
  // From outside the list (-1) previous goes to the last, next to the first.
  if (step < 0)
    SiblingIndex = SiblingIndex <= 0 ? count - 1 : SiblingIndex - 1;
  else
    SiblingIndex = SiblingIndex < count - 1 ? SiblingIndex + 1 : 0;
  OpenLogFile(SiblingList->Get(SiblingIndex));
}

void BQELunit::PrevButtonClick(TObject*)
{
  StepSibling(-1);
}

void BQELunit::NextButtonClick(TObject*)
{
  StepSibling(+1);
}
