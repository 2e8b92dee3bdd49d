#include "app/Qelunit.h"

void BQELunit::DropChartCaches()
{
  ++ChartDataGeneration;
  CursorChains.Clear();
  CurveSummary.Clear();
}
