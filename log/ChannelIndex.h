#pragma once
// The parameters by name, for a parse that looks a name up on every value line. Holds the
// same first-match rule as BQELunit::FindOrAddChannel: a name belongs to the first parameter
// in list order that has it in any language.
#include <cstdint>
#include <string_view>

#include "log/Records.h"
#include "log/TextPool.h"
#include "texts/Dictionary.h"

class BQELunit;

// A new parameter: id, the shown flag, and the three names of the first dictionary entry
// that has the name in any language, else the name itself three times.
LTypeCell* NewChannel(int32_t id, const AnsiString& name, const LDictCell* entry);
// The id after the largest; EIntError when the ids are used up.
int32_t NextChannelId(int32_t largest);

class ChannelIndex {
public:
  struct Entry {
    int32_t Id;
    SharedText Name;  // the name as looked up, shared by the records that carry it
  };

  // Indexes the parameter list as it is now; from then on the list may grow only through
  // FindOrAdd while this index lives.
  explicit ChannelIndex(BQELunit& unit);

  // The parameter of this name, appended to the list when none has it.
  const Entry& FindOrAdd(std::string_view name);

private:
  void Index(const AnsiString& name, int32_t id);

  BQELunit& unit_;
  TextMap<Entry> byName_;
  int32_t largestId_ = 1;
};
