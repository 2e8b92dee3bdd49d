// Clearing the history: no recent logs and no open log, without asking.
#include "ComboBox.h"
#include "app/Qelunit.h"

void BQELunit::ClearHistoryButtonClick(TObject*)
{
  if (ParseRunning)
    return;
  RecentCombo->Items()->Clear();
  LogFileName.clear();
  // Without a file the parse leaves the text, the records and the chart empty.
  ParseLogText();
}
