// The main panel's layout (the toolbar over the right of the tab row, the page control under
// it) and the Text page's find row.
#include <algorithm>

#include "Buttons.h"
#include "ComboBox.h"
#include "Edit.h"
#include "Label.h"
#include "PageControl.h"
#include "Panel.h"
#include "RadioButton.h"
#include "app/Layout.h"
#include "app/Progress.h"
#include "app/Qelunit.h"

namespace {

constexpr int ToolbarLeft = 230;
constexpr int ToolbarHeight = 41;
constexpr int ToolButtonSize = 40;
// Gap between the last tab and the toolbar: the tabs stay reachable whatever the language.
constexpr int TabGap = 8;
// The page control starts here, so that the toolbar lies over the right of its tab row.
constexpr int PageControlTop = 22;

// The right edge of the last tab in the page control's parent.
int LastTabRight(const TPageControl* pages)
{
  const int count = pages->PageCount();
  return count == 0 ? 0 : pages->Left() + pages->TabRect(count - 1).right;
}

}  // namespace

using layout::Bottom;
using layout::CaptionedWidth;
using layout::Right;

bool BQELunit::LaysOut() const
{
  return ReadyFlag && Owner;
}

void BQELunit::MainPanelResize(TObject*)
{
  if (!LaysOut())
    return;
  const int width = MainPanel->ClientWidth();
  // Captions in the Linux fonts reach further than the toolbar's usual left edge.
  const int left = std::max(ToolbarLeft, LastTabRight(PageControl) + TabGap);
  ToolbarPanel->SetBounds(left, 0, std::max(0, width - left), ToolbarHeight);
  ToolbarPanel->BringToFront();

  // From the right edge leftwards: language, paste, next, previous, open.
  int x = ToolbarPanel->ClientWidth();
  for (TBitBtn* button : {LanguageButton, PasteButton, NextButton, PrevButton, OpenButton}) {
    const int gap = button == LanguageButton ? 0 : button == PasteButton ? 16 : 8;
    x -= ToolButtonSize + gap;
    button->SetBounds(x, 0, ToolButtonSize, ToolButtonSize);
  }

  SpeedEdit->SetVisible(SpeedInHz != 0);
  SpeedUnitLabel->SetVisible(SpeedInHz != 0);
  int comboLeft = 0;
  if (SpeedInHz) {
    const int e = SpeedEdit->Height();
    SpeedEdit->SetBounds(0, (ToolbarHeight - RecentCombo->Height()) / 2, 2 * e, e);
    SpeedUnitLabel->SetBounds(Right(SpeedEdit) + 8, Bottom(SpeedEdit) - SpeedUnitLabel->Height() - 2,
                              static_cast<int>(1.2 * e), SpeedUnitLabel->Height());
    comboLeft = Right(SpeedUnitLabel) + 8;
  }
  RecentCombo->SetBounds(comboLeft, (ToolbarHeight - RecentCombo->Height()) / 2,
                         std::max(0, OpenButton->Left() - 8 - comboLeft), RecentCombo->Height());

  PageControl->SetBounds(0, PageControlTop, width, std::max(0, MainPanel->ClientHeight() - PageControlTop));
  if (Progress)
    Progress->Arrange();
}

void BQELunit::FindPanelResize(TObject*)
{
  if (!LaysOut())
    return;
  const int e = FindEdit->Height();
  FindLabel->SetBounds(5, 8, FindLabel->Width(), FindLabel->Height());
  ClearFindButton->SetBounds(Right(FindLabel) + 10, 5, e, e);
  FindEdit->SetBounds(Right(ClearFindButton) + 5, 5, 7 * e, e);
  FindButton->SetBounds(Right(FindEdit) + 10, 5, 4 * e, e);
  FindUpRadio->SetBounds(Right(FindButton) + 20, 8, CaptionedWidth(FindUpRadio, 3 * e), FindUpRadio->Height());
  FindDownRadio->SetBounds(Right(FindUpRadio) + 10, 8, CaptionedWidth(FindDownRadio, 3 * e),
                           FindDownRadio->Height());
  TextStartButton->SetBounds(Right(FindDownRadio) + 30, 5, e, e);
  TextEndButton->SetBounds(Right(TextStartButton) + 10, 5, e, e);
  FindPanel->SetHeight(Bottom(FindEdit) + 10);
}
