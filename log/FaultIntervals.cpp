// BQELunit::BuildErrorIntervals: every run of fault lines, and every run of erase markers, of
// the parsed log becomes one fault interval; then each interval whose codes or kinds differ from
// those of the interval before it is marked changed.
#include <memory>

#include "app/Qelunit.h"

namespace {

constexpr int EraseErrorsTextId = 92;

const AnsiString KindActual = "A";
const AnsiString KindPost = "P";
const AnsiString KindErase = "D";

// Times never decrease along the log, so b - a cannot overflow where a + b could.
int64_t Midpoint(int64_t a, int64_t b)
{
  return a + (b - a) / 2;
}

bool IsRunKind(const LDataCell* cell, int32_t kind)
{
  return cell && cell->Kind == kind;
}

// In the list before it is filled, so that the list owns it and its code lists from the start.
LErrorCell* AppendInterval(TPtrList<LErrorCell>& intervals, bool sortedCodes)
{
  auto owned = std::make_unique<LErrorCell>();
  auto codes = std::make_unique<TStringList>();
  auto kinds = std::make_unique<TStringList>();
  codes->SetSorted(sortedCodes);
  intervals.Add(owned.get());
  LErrorCell* interval = owned.release();
  interval->Codes = codes.release();
  interval->Kinds = kinds.release();
  return interval;
}

void AddActual(LErrorCell& interval, const AnsiString& text)
{
  TStringList& codes = *interval.Codes;
  TStringList& kinds = *interval.Kinds;
  int index;
  if (codes.Find(text, index)) {
    if (kinds.Get(index) != KindPost)
      return;
    // Read as stored before and as actual now: it is actual.
    codes.Delete(index);
    kinds.Delete(index);
    interval.HasPost = kinds.IndexOf(KindPost) >= 0 ? 1 : 0;
  }
  index = codes.Add(text);
  kinds.Insert(index, KindActual);
  interval.HasActual = 1;
}

void AddPost(LErrorCell& interval, const AnsiString& text)
{
  int index;
  if (interval.Codes->Find(text, index))
    return;
  index = interval.Codes->Add(text);
  interval.Kinds->Insert(index, KindPost);
  interval.HasPost = 1;
}

bool SameCodes(const LErrorCell& a, const LErrorCell& b)
{
  if (!a.Codes || !a.Kinds || !b.Codes || !b.Kinds)
    return !a.Codes == !b.Codes && !a.Kinds == !b.Kinds;
  if (a.Codes->Count() != b.Codes->Count() || a.Kinds->Count() != b.Kinds->Count())
    return false;
  // Exact here: codes that differ in letter case only are one code inside an interval, yet a
  // change between two.
  for (int i = 0; i < a.Codes->Count(); ++i)
    if (a.Codes->Get(i) != b.Codes->Get(i))
      return false;
  for (int i = 0; i < a.Kinds->Count(); ++i)
    if (a.Kinds->Get(i) != b.Kinds->Get(i))
      return false;
  return true;
}

}  // namespace

void BQELunit::BuildErrorIntervals()
{
  if (!ErrorCells || !DataCells)
    return;
  AnsiString eraseText;
  GetUiText(EraseErrorsTextId, eraseText);

  const int count = DataCells->Count();
  int i = 0;
  // Once past every ProgressEvery-th record, even inside a run: a run may be the whole log.
  int nextLook = 0;
  const auto aborted = [&] {
    if (i < nextLook)
      return false;
    nextLook = i + static_cast<int>(ProgressEvery);
    return ParseAborted(count, i);
  };
  while (i < count) {
    if (aborted())
      return;
    const LDataCell* first = DataCells->Get(i);
    if (!IsRunKind(first, KindEraseMarker) && !IsRunKind(first, KindFault)) {
      ++i;
      continue;
    }
    const int32_t kind = first->Kind;
    LErrorCell* interval = AppendInterval(*ErrorCells, kind == KindFault);
    if (kind == KindEraseMarker) {
      interval->Erase = 1;
      interval->Codes->Add(first->Text);
      interval->Kinds->Add(KindErase);
    }
    for (; i < count && IsRunKind(DataCells->Get(i), kind); ++i) {
      if (aborted())
        return;
      const LDataCell* record = DataCells->Get(i);
      interval->Time = Midpoint(first->Time, record->Time);
      if (kind != KindFault)
        continue;
      if (record->Text == eraseText)
        interval->Erase = 1;
      else if (record->Value > 0.0)
        AddActual(*interval, record->Text);
      else if (record->Value < 0.0)
        AddPost(*interval, record->Text);
      // A value of 0 is the no-errors marker of a block: it adds no code.
    }
  }

  // An interval after an erase is not compared with the one before the erase.
  for (int j = 0; j + 1 < ErrorCells->Count(); ++j) {
    const LErrorCell* before = ErrorCells->Get(j);
    LErrorCell* next = ErrorCells->Get(j + 1);
    if (!before || !next || before->Erase || next->Erase)
      continue;
    if (!SameCodes(*before, *next))
      next->Changed = 1;
  }
}
