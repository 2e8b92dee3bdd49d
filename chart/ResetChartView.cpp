// The chart's view as before any log: neither zoomed nor panned, nothing at the cursor.
#include "app/Qelunit.h"

void BQELunit::ResetChartView()
{
  ZoomX = ZoomY = 1.0;
  PanX = PanY = 0;
  PanPercentX = PanPercentY = 0.0;
  CursorDataCell = nullptr;
  CursorFaultInterval = nullptr;
}
