#include "app/TextSearch.h"

#include <algorithm>
#include <cstring>

#include "CodePage.h"

namespace {

// glibc's memmem skips through a gigabyte well within the time a user waits.
int64_t FirstIn(std::string_view text, int64_t from, int64_t to, std::string_view word)
{
  if (to - from < static_cast<int64_t>(word.size()))
    return -1;
  const void* hit = ::memmem(text.data() + from, static_cast<size_t>(to - from), word.data(), word.size());
  return hit ? static_cast<const char*>(hit) - text.data() : -1;
}

// The last start in [low, high] of an occurrence of word, -1 when none. Windows of starts are
// searched from the high end, small at first, so that a match near the caret is found without
// a pass over the rest; inside a window every occurrence is stepped through.
int64_t LastStart(std::string_view text, int64_t low, int64_t high, std::string_view word)
{
  const auto length = static_cast<int64_t>(word.size());
  for (int64_t window = 1 << 16; high >= low; window = std::min<int64_t>(window * 2, 1 << 24)) {
    const int64_t from = std::max(low, high - window + 1);
    int64_t last = -1;
    for (int64_t at = FirstIn(text, from, high + length, word); at >= 0;
         at = FirstIn(text, at + 1, high + length, word))
      last = at;
    if (last >= 0)
      return last;
    high = from - 1;
  }
  return -1;
}

}  // namespace

TextMatch FindForward(std::string_view text, int64_t from, const std::vector<AnsiString>& forms)
{
  TextMatch best;
  const auto size = static_cast<int64_t>(text.size());
  from = std::clamp<int64_t>(from, 0, size);
  for (const AnsiString& form : forms) {
    if (form.empty())
      continue;
    // A later form only matters where it starts before the best so far.
    const int64_t to =
        best.Position < 0 ? size : std::min(size, best.Position + static_cast<int64_t>(form.size()));
    const int64_t at = FirstIn(text, from, to, form);
    if (at >= 0 && (best.Position < 0 || at < best.Position))
      best = {at, static_cast<int64_t>(form.size())};
  }
  return best;
}

TextMatch FindBackward(std::string_view text, int64_t end, const std::vector<AnsiString>& forms)
{
  TextMatch best;
  end = std::clamp<int64_t>(end, 0, static_cast<int64_t>(text.size()));
  for (const AnsiString& form : forms) {
    const auto length = static_cast<int64_t>(form.size());
    if (length == 0)
      continue;
    const int64_t at = LastStart(text, std::max<int64_t>(0, best.Position + 1), end - length, form);
    if (at >= 0)
      best = {at, length};
  }
  return best;
}

std::vector<AnsiString> SearchForms(const AnsiString& bytes, const AnsiString& utf8, int codePage)
{
  if (bytes == utf8)
    return {bytes};
  std::vector<AnsiString> forms;
  // Two different fallbacks give two different results exactly when a character is missing.
  if (Utf8ToAnsi(utf8, codePage, '\1') == Utf8ToAnsi(utf8, codePage, '\2'))
    forms.push_back(bytes);
  forms.push_back(utf8);
  return forms;
}
