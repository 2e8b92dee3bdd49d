#include "Resources.h"

#include <cstring>

namespace {

// ASCII case folding only, whatever the locale; the whole AnsiString counts, NULs included.
bool SameTextAscii(const char* stored, const AnsiString& wanted)
{
  if (std::strlen(stored) != wanted.size())
    return false;
  for (std::size_t i = 0; i < wanted.size(); ++i) {
    unsigned char a = static_cast<unsigned char>(stored[i]);
    unsigned char b = static_cast<unsigned char>(wanted[i]);
    if (a >= 'a' && a <= 'z')
      a = static_cast<unsigned char>(a - 'a' + 'A');
    if (b >= 'a' && b <= 'z')
      b = static_cast<unsigned char>(b - 'a' + 'A');
    if (a != b)
      return false;
  }
  return true;
}

}  // namespace

const ResourceEntry* FindResource(const AnsiString& name, const AnsiString& type)
{
  std::size_t count = 0;
  const ResourceEntry* table = ResourceTable(count);
  for (std::size_t i = 0; i < count; ++i) {
    if (SameTextAscii(table[i].Name, name) && SameTextAscii(table[i].Type, type))
      return &table[i];
  }
  return nullptr;
}
