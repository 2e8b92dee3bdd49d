// The parameter-name dictionary: built in as the resource "dictred", or rebuilt at start-up
// from "english.txt" and "deutsch.txt" in the data folder (and then written to "red.txt").
#include "texts/Dictionary.h"

#include <memory>
#include <unordered_map>

#include "AppPaths.h"
#include "IgnoreFailure.h"
#include "ResourceStream.h"
#include "Resources.h"
#include "app/Qelunit.h"

namespace {

LDictCell* NewEntry(const AnsiString& ru, const AnsiString& en, const AnsiString& de)
{
  LDictCell* entry = new LDictCell;
  entry->Ru = ru;
  entry->En = en;
  entry->De = de;
  return entry;
}

// Appended entry by entry, so the list owns each one as soon as it exists.
void Append(TPtrList<LDictCell>& dictionary, const AnsiString& ru, const AnsiString& en, const AnsiString& de)
{
  std::unique_ptr<LDictCell> entry(NewEntry(ru, en, de));
  dictionary.Add(entry.get());
  entry.release();
}

}  // namespace

void AppendDictTriplets(TPtrList<LDictCell>& dictionary, const TStrings& lines)
{
  for (int i = 0; i + 2 < lines.Count(); i += 3)
    Append(dictionary, lines.Get(i), lines.Get(i + 1), lines.Get(i + 2));
}

void BQELunit::ClearDictCells()
{
  DictIndex.Clear();
  if (!DictCells)
    return;
  for (int i = 0; i < DictCells->Count(); ++i) {
    LDictCell* entry = DictCells->Get(i);
    if (entry)
      delete entry;
  }
  DictCells->Clear();
}

void BQELunit::LoadDictionaryResource(const AnsiString& name)
{
  ClearDictCells();
  if (!DictCells)
    return;
  IgnoreFailure([&] {
    if (!FindResource(name, "RT_RCDATA"))
      return;
    TStringList lines;
    {
      TResourceStream stream(name, "RT_RCDATA");
      lines.LoadFromStream(stream);
    }
    AppendDictTriplets(*DictCells, lines);
  });
}

void BQELunit::RebuildDictionary()
{
  if (!DictCells)
    return;
  IgnoreFailure([&] {
    const AnsiString folder = DataFolder();
    TStringList english, german;
    english.LoadFromFile(folder + "english.txt");
    german.LoadFromFile(folder + "deutsch.txt");

    ClearDictCells();
    for (int i = 0; i + 1 < english.Count(); i += 2)
      Append(*DictCells, english.Get(i), english.Get(i + 1), english.Get(i));

    // The first entry of each Russian name takes the German one; later German pairs of the
    // same name overwrite it. Indexed, since the files may be long.
    std::unordered_map<AnsiString, LDictCell*> firstByRu;
    for (int i = 0; i < DictCells->Count(); ++i)
      if (LDictCell* entry = DictCells->Get(i))
        firstByRu.emplace(entry->Ru, entry);
    for (int j = 0; j + 1 < german.Count(); j += 2) {
      const AnsiString key = german.Get(j);
      auto found = firstByRu.find(key);
      if (found != firstByRu.end()) {
        found->second->De = german.Get(j + 1);
      } else {
        Append(*DictCells, key, key, german.Get(j + 1));
        firstByRu.emplace(key, DictCells->Get(DictCells->Count() - 1));
      }
    }

    english.Clear();
    for (int i = 0; i < DictCells->Count(); ++i) {
      if (LDictCell* entry = DictCells->Get(i)) {
        english.Add(entry->Ru);
        english.Add(entry->En);
        english.Add(entry->De);
      }
    }
    english.SaveToFile(folder + "red.txt");
  });
}

AnsiString& BQELunit::TranslateName(const AnsiString& name, int TranslateMode, AnsiString& out)
{
  AnsiString result;
  const unsigned mode = static_cast<unsigned>(TranslateMode);
  if (DictCells && mode <= 5) {
    static constexpr AnsiString LDictCell::*Compared[] = {&LDictCell::Ru, &LDictCell::Ru, &LDictCell::En,
                                                          &LDictCell::De, &LDictCell::En, &LDictCell::De};
    static constexpr AnsiString LDictCell::*Returned[] = {&LDictCell::En, &LDictCell::De, &LDictCell::Ru,
                                                          &LDictCell::Ru, &LDictCell::De, &LDictCell::En};
    // No early exit: the last matching entry decides.
    for (int i = 0; i < DictCells->Count(); ++i) {
      const LDictCell* entry = DictCells->Get(i);
      if (entry && entry->*Compared[mode] == name)
        result = entry->*Returned[mode];
    }
  }
  out = result;
  return out;
}
