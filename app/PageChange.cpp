// A page change: the Options page opens on the chart's mask, every change reads the Options
// page back, and the Chart page acts on what the edits there asked for.
#include "ComboBox.h"
#include "PageControl.h"
#include "app/Qelunit.h"

void BQELunit::PageControlChange(TObject*)
{
  // Set in code during a parse or the walk the page is still acted on, once they are over.
  if (ParseRunning) {
    WhenParseEnds([this] { PageControlChange(PageControl); });
    return;
  }
  TTabSheet* const page = PageControl->ActivePage();
  if (page == OptionsPage) {
    if (ChartMaskIndex >= 0 && ChartMaskIndex < MaskCombo->Items()->Count())
      MaskCombo->SetItemIndex(ChartMaskIndex);
    // The editor takes the chart's mask; the rows it shows now are not read back into the mask
    // it leaves (they were read when the page was left).
    EditorRowsValid = 0;
    MaskComboChange(MaskCombo);
    EditorRowsValid = 1;
  }
  ReadOptionsAndMaskRows();
  if (page == ChartPage)
    ShowEditsOnChart();
}

void BQELunit::ShowEditsOnChart()
{
  if (ReparseNeeded)
    ParseLogText();
  if (StatusesChanged)
    MapStatusesToData();
  // The refilled selector draws the chart through its mask.
  if (MasksChanged) {
    FillMaskSelector();
    return;
  }
  CalcValueRange();
  DrawChart();
  DrawValuePanels();
  DrawErrorPanel();
  ShowZoomStatus();
}
