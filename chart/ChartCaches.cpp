#include "app/Qelunit.h"

void BQELunit::DropChartCaches()
{
  ++ChartDataGeneration;
  CursorChains.Clear();
  CurveSummary.Clear();
  // They point into the records: the panels and F3 must not read them once freed.
  CursorDataCell = nullptr;
  CursorFaultInterval = nullptr;
}
