// The editor's mask: picked in its combo, added, renamed in the three-name dialog, deleted.
#include <memory>

#include "CodePage.h"
#include "ComboBox.h"
#include "IgnoreFailure.h"
#include "Numbers.h"
#include "Panel.h"
#include "app/NameEditor.h"
#include "app/Qelunit.h"

namespace {

// The dialog with its captions from the text table and the three names to edit.
std::unique_ptr<BNameRED> NameDialog(BQELunit& unit, const AnsiString& ru, const AnsiString& en,
                                     const AnsiString& de)
{
  auto dialog = std::make_unique<BNameRED>();
  unit.GetUiText(109, dialog->OkCaption);
  unit.GetUiText(105, dialog->CancelCaption);
  dialog->WindowCaption.clear();
  unit.GetUiText(106, dialog->RussianCaption);
  unit.GetUiText(107, dialog->EnglishCaption);
  unit.GetUiText(108, dialog->GermanCaption);
  dialog->RussianName = ru;
  dialog->EnglishName = en;
  dialog->GermanName = de;
  return dialog;
}

void FreeDialog(std::unique_ptr<BNameRED>& dialog) noexcept
{
  IgnoreFailure([&] { dialog.reset(); });
}

}  // namespace

void BQELunit::MaskComboChange(TObject*)
{
  if (ParseRunning || !MaskCombo)
    return;
  // The rows on show belong to the mask being left: they go back into it first.
  ReadOptionsAndMaskRows();
  EditorMaskIndex = MaskCombo->ItemIndex();
  ShowOptionsAndMaskRows();
}

void BQELunit::NewMaskButtonClick(TObject*)
{
  if (ParseRunning || !MaskCells || !MaskCombo)
    return;
  const AnsiString n = IntToStr(MaskCells->Count() + 1);
  auto dialog = NameDialog(*this, Utf8ToAnsi("Маска ", 1251) + n, "Mask " + n, "Masken " + n);
  if (dialog->Execute()) {
    // Names are taken as typed, empty or equal to another mask's.
    auto mask = std::make_unique<LMaskCell>();
    mask->NameRu = dialog->RussianName;
    mask->NameEn = dialog->EnglishName;
    mask->NameDe = dialog->GermanName;
    mask->Thickness = 2;
    mask->UnderCursor = 1;
    mask->YBottom = -200;
    mask->YTop = 4000;
    mask->Items = new TPtrList<LTypeCell>;
    LMaskCell* added = mask.get();
    MaskCells->Add(added);
    mask.release();
    DropChartCaches();
    MaskCombo->Items()->Add(MaskName(added));
    MaskCombo->SetItemIndex(MaskCombo->Items()->Count() - 1);
    MaskComboChange(MaskCombo);
    MasksChanged = 1;
  }
  FreeDialog(dialog);
}

void BQELunit::RenameMaskButtonClick(TObject*)
{
  if (ParseRunning || !MaskCells || !MaskCombo || MaskCombo->Items()->Count() == 0 || EditorMaskIndex < 0 ||
      EditorMaskIndex >= MaskCells->Count())
    return;
  LMaskCell* mask = MaskCells->Get(EditorMaskIndex);
  if (!mask)
    return;
  auto dialog = NameDialog(*this, mask->NameRu, mask->NameEn, mask->NameDe);
  if (dialog->Execute()) {
    mask->NameRu = dialog->RussianName;
    mask->NameEn = dialog->EnglishName;
    mask->NameDe = dialog->GermanName;
    DropChartCaches();
    if (EditorMaskIndex < MaskCombo->Items()->Count()) {
      MaskCombo->Items()->Put(EditorMaskIndex, MaskName(mask));
      MaskCombo->SetItemIndex(EditorMaskIndex);
    }
    MasksChanged = 1;
  }
  FreeDialog(dialog);
}

void BQELunit::DeleteMaskButtonClick(TObject*)
{
  LMaskCell* mask = nullptr;
  if (ParseRunning || !EditorMask(mask))
    return;
  const int d = MaskCells->IndexOf(mask);
  if (d < 0)
    return;
  DropChartCaches();
  RowHoverBar->Hide();
  if (mask->Items) {
    for (int i = 0; i < mask->Items->Count(); ++i)
      if (LTypeCell* item = mask->Items->Get(i)) {
        DeleteRowControls(*item);
        delete item;
      }
    delete mask->Items;
  }
  delete mask;
  MaskCells->Delete(d);
  // The combo lists the masks in list order: the two stay parallel.
  if (d < MaskCombo->Items()->Count())
    MaskCombo->Items()->Delete(d);

  const int count = MaskCombo->Items()->Count();
  if (count <= EditorMaskIndex)
    EditorMaskIndex = count - 1;
  MaskCombo->SetItemIndex(EditorMaskIndex);
  if (EditorMaskIndex == -1)
    MaskCombo->Items()->Clear();
  // The chart stays on its mask, which now stands one entry higher; on the deleted one's place
  // it takes the next mask (or the first, when the refill finds none there).
  if (ChartMaskIndex > d)
    --ChartMaskIndex;

  // The rows shown were the deleted mask's: nothing to read back.
  EditorRowsValid = 0;
  MaskComboChange(MaskCombo);
  EditorRowsValid = 1;
  MasksChanged = 1;
}
