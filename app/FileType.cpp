// The desktop's association of log files with this program, with the files' picture.
#include "Application.h"
#include "DesktopIntegration.h"
#include "IgnoreFailure.h"
#include "Resources.h"
#include "app/Qelunit.h"

void BQELunit::RegisterFileType()
{
  // Written at every start, so a moved program repairs its association at its next start.
  IgnoreFailure([] {
    const ResourceEntry* icon = FindResource("qelicon", "RT_RCDATA");
    const AnsiString svg = icon ? AnsiString(reinterpret_cast<const char*>(icon->Data), icon->Size) : AnsiString();
    RegisterFileAssociation(".qel", "QELExt", "Dravolin C, analiz file-diagnostic", Application->ExeName(), svg);
  });
}
