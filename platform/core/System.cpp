#include "System.h"

#include <algorithm>

int Pos(std::string_view sub, std::string_view s)
{
  if (sub.empty())
    return 0;
  size_t found = s.find(sub);
  return found == std::string_view::npos ? 0 : static_cast<int>(found) + 1;
}

AnsiString Copy(std::string_view s, int index1, int count)
{
  // 64-bit arithmetic so that a huge index or count cannot overflow.
  int64_t start = std::max<int64_t>(index1, 1) - 1;
  int64_t size = static_cast<int64_t>(s.size());
  if (count <= 0 || start >= size)
    return AnsiString();
  int64_t length = std::min<int64_t>(count, size - start);
  return AnsiString(s.substr(static_cast<size_t>(start), static_cast<size_t>(length)));
}

int CStrLen(std::string_view s)
{
  size_t nul = s.find('\0');
  return static_cast<int>(nul == std::string_view::npos ? s.size() : nul);
}
