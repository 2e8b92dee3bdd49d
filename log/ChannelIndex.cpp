// Finding a parameter by name and creating it on first sight: the plain walk of
// BQELunit::FindOrAddChannel, and the index a parse uses instead (same results).
#include "log/ChannelIndex.h"

#include <algorithm>
#include <climits>
#include <memory>

#include "Exceptions.h"
#include "app/Qelunit.h"

LTypeCell* NewChannel(int32_t id, const AnsiString& name, const LDictCell* entry)
{
  auto* cell = new LTypeCell;
  cell->Id = id;
  cell->NameRu = entry ? entry->Ru : name;
  cell->NameEn = entry ? entry->En : name;
  cell->NameDe = entry ? entry->De : name;
  cell->Chart = 1;
  return cell;
}

int32_t NextChannelId(int32_t largest)
{
  if (largest == INT32_MAX)
    throw EIntError("no parameter id left");
  return largest + 1;
}

namespace {

bool HasName(const LTypeCell& cell, std::string_view name)
{
  return cell.NameRu == name || cell.NameEn == name || cell.NameDe == name;
}

// Appended at once, so that the list owns the parameter as soon as it exists.
void Append(TPtrList<LTypeCell>& list, LTypeCell* cell)
{
  std::unique_ptr<LTypeCell> owned(cell);
  list.Add(owned.get());
  owned.release();
}

}  // namespace

int32_t BQELunit::FindOrAddChannel(const AnsiString& name)
{
  int32_t largest = 1;
  for (int i = 0; i < TypeCells->Count(); ++i) {
    const LTypeCell* cell = TypeCells->Get(i);
    if (!cell)
      continue;
    if (HasName(*cell, name))
      return cell->Id;
    largest = std::max(largest, cell->Id);
  }
  const LDictCell* entry = nullptr;
  for (int i = 0; i < DictCells->Count() && !entry; ++i) {
    const LDictCell* candidate = DictCells->Get(i);
    if (candidate && (candidate->Ru == name || candidate->En == name || candidate->De == name))
      entry = candidate;
  }
  LTypeCell* cell = NewChannel(NextChannelId(largest), name, entry);
  Append(*TypeCells, cell);
  return cell->Id;
}

ChannelIndex::ChannelIndex(BQELunit& unit) : unit_(unit)
{
  for (int i = 0; i < unit.TypeCells->Count(); ++i) {
    const LTypeCell* cell = unit.TypeCells->Get(i);
    if (!cell)
      continue;
    Index(cell->NameRu, cell->Id);
    Index(cell->NameEn, cell->Id);
    Index(cell->NameDe, cell->Id);
    largestId_ = std::max(largestId_, cell->Id);
  }
}

// The first parameter to have a name keeps it.
void ChannelIndex::Index(const AnsiString& name, int32_t id)
{
  if (byName_.find(name) == byName_.end())
    byName_.emplace(name, Entry{id, SharedText(name)});
}

const ChannelIndex::Entry& ChannelIndex::FindOrAdd(std::string_view name)
{
  auto found = byName_.find(name);
  if (found != byName_.end())
    return found->second;
  const AnsiString text(name);
  LTypeCell* cell = NewChannel(NextChannelId(largestId_), text, unit_.DictIndex.Find(*unit_.DictCells, name));
  Append(*unit_.TypeCells, cell);
  largestId_ = cell->Id;
  Index(cell->NameRu, cell->Id);
  Index(cell->NameEn, cell->Id);
  Index(cell->NameDe, cell->Id);  // one of the three is the name looked up
  return byName_.find(name)->second;
}
