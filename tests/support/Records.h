#pragma once
// Records made by hand as the parser, the masks and the interval builders make them, and read
// back as text: a test compares a whole list with its expected dump instead of field by field.
#include <initializer_list>
#include <memory>
#include <sstream>
#include <string>
#include <utility>

#include "ComboBox.h"
#include "app/Qelunit.h"

// Appends a line record from the unit's pool, unlinked, as the parser's walk does; unless given,
// its text position is ten times its index.
inline LDataCell* AddLine(BQELunit& unit, int32_t kind, int64_t time, double value = 0.0,
                          const AnsiString& text = "", const AnsiString& code = "", int64_t textPos = -1)
{
  LDataCell* cell = unit.DataCellPool.New();
  cell->Index = unit.DataCells->Count();
  cell->Kind = kind;
  cell->Time = time;
  cell->Value = value;
  cell->Text = text;
  cell->Code = code;
  cell->TextPos = textPos >= 0 ? textPos : 10 * int64_t{cell->Index};
  unit.DataCells->Add(cell);
  return cell;
}

// Links the records of each kind in list order, as the parser's linking stage does.
inline void LinkLines(BQELunit& unit)
{
  for (int i = 0; i < unit.DataCells->Count(); ++i) {
    LDataCell* cell = unit.DataCells->Get(i);
    for (int k = i + 1; cell && k < unit.DataCells->Count(); ++k) {
      LDataCell* later = unit.DataCells->Get(k);
      if (later && later->Kind == cell->Kind) {
        cell->Next = later;
        later->Prev = cell;
        break;
      }
    }
  }
}

// A parameter (in unit.TypeCells) or a mask item (in mask->Items), named alike in all three
// languages; a status item has the id KindStatus.
inline LTypeCell* AddItem(TPtrList<LTypeCell>* list, int32_t id, const AnsiString& name, Byte chart = 1,
                          int32_t factor = 1, int32_t offset = 0)
{
  auto* item = new LTypeCell;
  item->Id = id;
  item->NameRu = item->NameEn = item->NameDe = name;
  item->Chart = chart;
  item->Factor = factor;
  item->Offset = offset;
  list->Add(item);
  return item;
}

// A mask with an empty item list, appended to the unit's masks.
inline LMaskCell* AddMask(BQELunit& unit, const AnsiString& name)
{
  auto* mask = new LMaskCell;
  mask->NameRu = mask->NameEn = mask->NameDe = name;
  mask->Items = new TPtrList<LTypeCell>;
  unit.MaskCells->Add(mask);
  return mask;
}

// Adds a mask "Chart" and chooses it in a chart combo of its own, which the caller keeps and
// unhooks (ChartMaskCombo = nullptr) before the unit goes.
inline LMaskCell* ChooseNewChartMask(BQELunit& unit, std::unique_ptr<TComboBox>& combo)
{
  LMaskCell* chart = AddMask(unit, "Chart");
  combo = std::make_unique<TComboBox>(nullptr);
  combo->Items()->Add("Chart");
  combo->SetItemIndex(0);
  unit.ChartMaskCombo = combo.get();
  unit.ChartMaskIndex = 0;
  return chart;
}

inline void AddStep(LStatusCell* status, int64_t time, Byte state)
{
  status->Steps->Add(new LStatusStep{time, state});
}

// A tracked status with a step list of its own, appended to the unit's statuses.
inline LStatusCell* AddStatus(BQELunit& unit, const AnsiString& name,
                              std::initializer_list<std::pair<int64_t, Byte>> steps = {})
{
  auto* status = new LStatusCell;
  status->Name = name;
  status->Steps = new TPtrList<LStatusStep>;
  for (const auto& [time, state] : steps)
    AddStep(status, time, state);
  unit.StatusCells->Add(status);
  return status;
}

// A fault interval; with codes given (code, kind) it gets its two lists.
inline LErrorCell* AddFault(BQELunit& unit, int64_t time,
                            std::initializer_list<std::pair<AnsiString, AnsiString>> codes = {})
{
  auto* fault = new LErrorCell;
  fault->Time = time;
  if (codes.size()) {
    fault->Codes = new TStringList;
    fault->Kinds = new TStringList;
    for (const auto& [code, kind] : codes) {
      fault->Codes->Add(code);
      fault->Kinds->Add(kind);
    }
  }
  unit.ErrorCells->Add(fault);
  return fault;
}

// ---- read back ----

// The lines of a string list joined by '|'.
inline std::string Joined(const TStringList* list)
{
  std::string text;
  for (int i = 0; list && i < list->Count(); ++i)
    text += (i ? "|" : "") + list->Get(i);
  return text;
}

// One line a record: "index kind@time value 'code' 'text' pos <prev >next", the links as
// indices ('-' for none). A record whose Index is not its place shows "index!place".
inline std::string DumpLines(const BQELunit& unit)
{
  std::ostringstream out;
  for (int i = 0; i < unit.DataCells->Count(); ++i) {
    const LDataCell* c = unit.DataCells->Get(i);
    out << c->Index;
    if (c->Index != i)
      out << '!' << i;
    out << ' ' << c->Kind << '@' << c->Time << ' ' << c->Value << " '" << c->Code.Str() << "' '" << c->Text.Str()
        << "' " << c->TextPos << " <";
    (c->Prev ? out << c->Prev->Index : out << '-') << " >";
    (c->Next ? out << c->Next->Index : out << '-') << '\n';
  }
  return out.str();
}

// One line an interval: "time codes kinds" and its flags as letters (a actual, p post,
// e erase, c changed).
inline std::string DumpFaults(const BQELunit& unit)
{
  std::ostringstream out;
  for (int i = 0; i < unit.ErrorCells->Count(); ++i) {
    const LErrorCell* f = unit.ErrorCells->Get(i);
    out << f->Time << ' ' << Joined(f->Codes) << ' ' << Joined(f->Kinds) << ' ' << (f->HasActual ? "a" : "")
        << (f->HasPost ? "p" : "") << (f->Erase ? "e" : "") << (f->Changed ? "c" : "") << '\n';
  }
  return out.str();
}

// The steps of a status as "time:state" joined by blanks; "none" without a step list.
inline std::string DumpSteps(const LStatusCell* status)
{
  if (!status->Steps)
    return "none";
  std::string text;
  for (int i = 0; i < status->Steps->Count(); ++i) {
    const LStatusStep* s = status->Steps->Get(i);
    text += (i ? " " : "") + std::to_string(s->Time) + ":" + std::to_string(s->State);
  }
  return text;
}
