// Opening a log: the one way every source ends in, the recent list, the open dialog.
#include <algorithm>

#include "Buttons.h"
#include "ComboBox.h"
#include "FileDialogs.h"
#include "PageControl.h"
#include "Paths.h"
#include "TextUtils.h"
#include "app/Qelunit.h"

namespace {

// At most this many recent logs after an opening adds one.
constexpr int RecentLimit = 12;

// The pattern fields of a dialog filter ("text|patterns|text|patterns") with the upper-case
// form of each pattern added: logs from other systems' media end in ".QEL" or ".TXT", and not
// every desktop's dialog ignores case.
AnsiString WithUpperCasePatterns(const AnsiString& filter)
{
  AnsiString result;
  for (size_t start = 0, field = 0;; ++field) {
    const size_t bar = std::min(filter.find('|', start), filter.size());
    AnsiString part = filter.substr(start, bar - start);
    if (field % 2 == 1) {
      const AnsiString listed = ";" + part + ";";
      for (size_t from = 0; from < listed.size() - 1;) {
        const size_t next = listed.find(';', from + 1);
        const AnsiString upper = UpperCase(listed.substr(from, next + 1 - from));
        if (listed.find(upper) == AnsiString::npos)
          part += upper.substr(0, upper.size() - 1);
        from = next;
      }
    }
    result += part;
    if (bar == filter.size())
      return result;
    result += '|';
    start = bar + 1;
  }
}

}  // namespace

void BQELunit::OpenLogFile(const AnsiString& name)
{
  // The log it reads must not change beneath a running parse.
  if (ParseRunning)
    return;
  // The name is opened exactly as given: a file name may begin or end with a blank. Only the
  // clipboard's text is trimmed, by the paste.
  if (name.empty())
    return;
  // Relative, it would be found in no folder by the sibling search.
  LogFileName = ExpandFileName(name);

  // One entry per folder: the first entry of the log's folder, or of a folder below it, takes
  // the log's name. It must begin with the folder: a name merely holding it ("/b/a/x.qel" for
  // the folder "/a/") lies elsewhere.
  TStrings* recent = RecentCombo->Items();
  const AnsiString folder = ExtractFilePath(LogFileName);
  int entry = 0;
  const int count = recent->Count();
  while (entry < count && recent->Get(entry).compare(0, folder.size(), folder) != 0)
    ++entry;
  if (entry < count) {
    recent->Put(entry, LogFileName);
    recent->Move(entry, 0);
    // Settings may bring the same log twice; it is listed once.
    for (int i = recent->Count() - 1; i > 0; --i)
      if (recent->Get(i) == LogFileName)
        recent->Delete(i);
  } else {
    while (recent->Count() >= RecentLimit)
      recent->Delete(recent->Count() - 1);
    recent->Insert(0, LogFileName);
  }
  RecentCombo->SetItemIndex(0);

  // Options edits that need a parse are taken now, or showing the Chart page would parse again.
  ReadOptionsAndMaskRows();
  ParseLogText();
  ShowChartPage();
}

void BQELunit::RecentComboChange(TObject*)
{
  const int picked = RecentCombo->ItemIndex();
  if (ParseRunning || picked < 0)
    return;
  RecentCombo->SetItemIndex(0);
  RecentCombo->Items()->Move(picked, 0);
  RecentCombo->SetItemIndex(0);
  // As listed: the entry was made by an opening already.
  LogFileName = RecentCombo->Items()->Get(0);
  ReadOptionsAndMaskRows();
  ParseLogText();
  ShowChartPage();
}

void BQELunit::ShowChartPage()
{
  if (PageControl->ActivePage() == ChartPage)
    return;
  // Set in code the page fires no change: its work is done here.
  PageControl->SetActivePage(ChartPage);
  PageControlChange(PageControl);
}

void BQELunit::OpenButtonClick(TObject*)
{
  if (ParseRunning)
    return;
  TOpenDialog dialog(nullptr);
  dialog.SetOptions(TOpenOptions() << ofFileMustExist);
  AnsiString filter;
  dialog.SetFilter(WithUpperCasePatterns(GetUiText(0, filter)));
  dialog.SetFilterIndex(1);
  const int selected = RecentCombo->ItemIndex();
  if (selected >= 0)
    dialog.SetFileName(RecentCombo->Items()->Get(selected));
  if (dialog.Execute())
    OpenLogFile(dialog.FileName());
}
