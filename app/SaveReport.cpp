// F10: the analysis report of the last parse, saved where the user chooses and opened.
#include "AppPaths.h"
#include "FileDialogs.h"
#include "FlagScope.h"
#include "Paths.h"
#include "Shell.h"
#include "TextUtils.h"
#include "app/MessageWindow.h"
#include "app/Qelunit.h"

namespace {

// The one message the program shows for its own failures stays this many seconds.
constexpr int MessageSeconds = 15;

// The chosen name with ".txt" after it unless it already ends in that (in any case).
AnsiString WithTextExtension(const AnsiString& name)
{
  return LowerCase(ExtractFileExt(name)) == ".txt" ? name : name + ".txt";
}

}  // namespace

AnsiString BQELunit::DefaultReportName()
{
  AnsiString text;
  // Without a log the joined empty folder would be the root folder, where nobody may write.
  const AnsiString folder = LogFileName.empty() ? HomeFolder() : ExtractFilePath(LogFileName);
  return JoinPath(folder, GetUiText(86, text) + ExtractFileName(LogFileName) + " .txt");
}

void BQELunit::SaveReportActionExecute(TObject*)
{
  if (ParseRunning)
    return;
  AnsiString fileName, reason;
  ReportWrite result;
  {
    // Nothing the report reads may change while the dialog is open or the write lets messages
    // run: a later start's log and the start timer's wait as for a parse.
    const FlagScope running(ParseRunning);
    try {
      TSaveDialog dialog(nullptr);
      dialog.SetOptions(TOpenOptions() << ofOverwritePrompt);
      AnsiString filter;
      dialog.SetFilter(GetUiText(87, filter));
      dialog.SetFilterIndex(1);
      dialog.SetFileName(DefaultReportName());
      if (!dialog.Execute())
        return;
      fileName = WithTextExtension(dialog.FileName());
    } catch (...) {
      return;
    }
    result = WriteAnalysisReport(fileName, reason);
  }
  if (result == ReportWrite::Written)
    ShellOpen(fileName);
  else if (result == ReportWrite::Failed)
    ShowTimedMessage(fileName + "\n" + reason, MessageSeconds);
}
