// The desktop's association of log files with this program.
#include "Application.h"
#include "DesktopIntegration.h"
#include "IgnoreFailure.h"
#include "app/Qelunit.h"

void BQELunit::RegisterFileType()
{
  // Written at every start, so a moved program repairs its association at its next start.
  IgnoreFailure([] {
    RegisterFileAssociation(".qel", "QELExt", "Dravolin C, analiz file-diagnostic", Application->ExeName());
  });
}
