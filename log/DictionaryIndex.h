#pragma once
// The parameter-name dictionary by any of its three names, the first entry keeping a name.
// A parse looks up every new parameter name here. The dictionary is loaded at start-up and
// never changes after it, so the index is made at the first look-up and kept from parse to
// parse; every change of the dictionary begins by emptying it, which drops the index too.
#include <string_view>

#include "PtrList.h"
#include "log/TextPool.h"
#include "texts/Dictionary.h"

class DictionaryIndex {
public:
  // The entry that has the name in any language, or null; indexes the dictionary if needed.
  const LDictCell* Find(const TPtrList<LDictCell>& dictionary, std::string_view name)
  {
    if (!built_) {
      for (int i = 0; i < dictionary.Count(); ++i)
        if (const LDictCell* entry = dictionary.Get(i))
          for (const AnsiString* form : {&entry->Ru, &entry->En, &entry->De})
            entries_.try_emplace(*form, entry);
      built_ = true;
    }
    auto found = entries_.find(name);
    return found == entries_.end() ? nullptr : found->second;
  }

  // For a dictionary about to change: the next look-up indexes it again.
  void Clear() noexcept
  {
    entries_.clear();
    built_ = false;
  }

private:
  TextMap<const LDictCell*> entries_;
  bool built_ = false;
};
