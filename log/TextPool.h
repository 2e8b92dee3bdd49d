#pragma once
// One shared copy of each distinct text met during a parse: a log repeats a few dozen keys,
// names and fault lines millions of times.
#include <functional>
#include <string_view>
#include <unordered_map>

#include "SharedText.h"
#include "System.h"

// Lets the maps below be searched with a view of the bytes, without building a string.
struct TextHash {
  using is_transparent = void;
  size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
};

template <class T>
using TextMap = std::unordered_map<AnsiString, T, TextHash, std::equal_to<>>;

class TextPool {
public:
  const SharedText& Get(std::string_view text)
  {
    auto found = texts_.find(text);
    if (found == texts_.end()) {
      AnsiString copy(text);
      found = texts_.emplace(copy, SharedText(copy)).first;
    }
    return found->second;
  }

private:
  TextMap<SharedText> texts_;
};
