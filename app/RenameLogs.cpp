// Logs recorded before the program had an extension of its own: in every folder named "LOGS"
// of a chosen tree, ".txt" files become ".qel". The walk runs under the progress window.
#include <chrono>
#include <utility>
#include <vector>

#include "ComboBox.h"
#include "FileCtrl.h"
#include "FileSearch.h"
#include "FlagScope.h"
#include "InputDialogs.h"
#include "Paths.h"
#include "TextUtils.h"
#include "app/Progress.h"
#include "app/Qelunit.h"

namespace {

// Each counter turns over past this, so its gauge starts again from empty.
constexpr int CounterTurn = 100;

int CountOn(int counter)
{
  return counter + 1 > CounterTurn ? 0 : counter + 1;
}

// The folder's own name: what follows its last "/", one trailing "/" left out.
AnsiString FolderOwnName(const AnsiString& folder)
{
  AnsiString path = folder;
  if (!path.empty() && path.back() == PathDelim)
    path.pop_back();
  const size_t slash = path.rfind(PathDelim);
  return slash == AnsiString::npos ? path : path.substr(slash + 1);
}

int64_t NowNs()
{
  return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

}  // namespace

void BQELunit::RenameLogsButtonClick(TObject*)
{
  if (ParseRunning)
    return;
  AnsiString text;
  ShowMessage(GetUiText(77, text));
  AnsiString folder;
  if (!SelectDirectory(folder, TSelectDirOpts() << sdAllowCreate << sdPerformCreate << sdPrompt, 0))
    return;

  // Like a parse the walk lets messages run: a close, the F-keys, an opening and a later
  // start's command line wait for it as they wait for a parse.
  const FlagScope running(ParseRunning);
  AbortFlag = 0;
  AnsiString caption, buttonText;
  const ProgressShown shown(Progress, GetUiText(78, caption), GetUiText(105, buttonText), 0);

  RenameFolderCounter = 0;
  RenameFileCounter = 0;
  RenameShownAtNs = 0;
  RenameLogsInFolder(folder, true);
}

void BQELunit::RenameLogsInFolder(const AnsiString& folder, bool recursive)
{
  if (AbortFlag)
    return;
  RenameFileCounter = 0;
  RenameFolderCounter = CountOn(RenameFolderCounter);
  ShowRenameProgress(folder);

  // The folder's entries are read and the folder closed before the walk descends: one open
  // folder per level would end at the open-file limit and skip the deeper LOGS folders.
  std::vector<std::pair<AnsiString, bool>> entries;  // name, folder
  TSearchRec entry;
  if (FindFirst(JoinPath(folder, "*.*"), faAnyFile, entry) != 0)
    return;
  do
    entries.emplace_back(entry.Name, (entry.Attr & faDirectory) != 0);
  while (FindNext(entry) == 0);
  FindClose(entry);

  const bool logsFolder = UpperCase(FolderOwnName(folder)) == "LOGS";
  for (const auto& [name, isFolder] : entries) {
    if (AbortFlag)
      break;
    // A link to a folder is no folder here: the walk never follows links, so never loops.
    if (!isFolder) {
      RenameFileCounter = CountOn(RenameFileCounter);
      ShowRenameProgress(folder);
      if (logsFolder && LowerCase(ExtractFileExt(name)) == ".txt")
        RenameOldLog(folder, name);
    } else if (recursive && name != "." && name != "..") {
      RenameLogsInFolder(JoinPath(folder, name), true);
    }
  }
}

void BQELunit::ShowRenameProgress(const AnsiString& folder)
{
  if (ProgressHook)
    ProgressHook(*this, 0, RenameFolderCounter, RenameFileCounter);
  if (!Progress)
    return;
  // A new text always lets the messages run; over many small folders that alone would cost
  // more than the walk. The window shows where the walk is at the gauges' own pace.
  const int64_t now = NowNs();
  if (now - RenameShownAtNs < std::chrono::nanoseconds(Progress->PumpInterval).count())
    return;
  RenameShownAtNs = now;
  Progress->SetText(folder);
  Progress->SetProgress(CounterTurn, RenameFolderCounter, CounterTurn, RenameFileCounter, true);
}

void BQELunit::RenameOldLog(const AnsiString& folder, const AnsiString& name)
{
  const AnsiString from = JoinPath(folder, name);
  const AnsiString to = JoinPath(folder, name.substr(0, name.size() - 4) + ".qel");
  // Only files (or links to them) are logs; an existing ".qel" is never replaced.
  if (!FileExists(from) || !RenameFile(from, to))
    return;
  // The open log and the entries naming it go with the file, or they would name nothing.
  if (LogFileName == from)
    LogFileName = to;
  TStrings* recent = RecentCombo->Items();
  for (int i = 0; i < recent->Count(); ++i)
    if (recent->Get(i) == from)
      recent->Put(i, to);
}
