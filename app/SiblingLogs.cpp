// Previous and next log: the logs beside the current one with the same first three bytes
// and extension, in name order.
#include "FileSearch.h"
#include "Paths.h"
#include "TextUtils.h"
#include "app/Qelunit.h"

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

  // Sorted by name alone, which orders the full paths alike (they share the folder), and
  // cheaper to compare.
  TStringList names;
  names.SetCaseDistinct(true);
  for (const AnsiString& entry : FolderFileNames(
           folder, [&](const AnsiString& candidate) { return IsSibling(candidate, prefix, extension); }))
    names.Add(entry);
  names.SetSorted(true);

  // Filled in order, the sorted list costs one pass more.
  SiblingList->SetSorted(false);
  for (int i = 0; i < names.Count(); ++i)
    SiblingList->Add(JoinPath(folder, names.Get(i)));
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
