#include "app/SmallRoutines.h"

AnsiString JoinPath(const AnsiString& folder, const AnsiString& name)
{
  // The folder's end as the system sees it: a name stops at its first NUL.
  const int length = CStrLen(folder);
  if (length > 0 && folder[static_cast<size_t>(length) - 1] == '/')
    return folder + name;
  return folder + "/" + name;
}

AnsiString PadString(const AnsiString& text, char fill, int width, bool right)
{
  if (width <= 0)
    return AnsiString();
  const size_t target = static_cast<size_t>(width);
  if (text.size() >= target)
    return text.substr(0, target);
  // Sized in one step: the result's length counts every fill byte, a NUL as well.
  const AnsiString padding(target - text.size(), fill);
  return right ? text + padding : padding + text;
}
