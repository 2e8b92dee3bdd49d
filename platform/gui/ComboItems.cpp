#include "ComboItems.h"

#include <QComboBox>

#include "Control.h"
#include "TextBoundary.h"

ComboItems::ComboItems(const TControl& control, QComboBox& combo) : control_(control), combo_(combo)
{
}

void ComboItems::CheckIndex(int index, int limit) const
{
  if (index < 0 || index >= limit)
    IndexError(index);
}

QString ComboItems::Display(const AnsiString& s) const
{
  return ToQString(s, control_.CodePage());
}

AnsiString ComboItems::Get(int index) const
{
  CheckIndex(index, Count());
  return items_[static_cast<size_t>(index)];
}

void ComboItems::Put(int index, const AnsiString& s)
{
  CheckIndex(index, Count());
  items_[static_cast<size_t>(index)] = s;
  combo_.setItemText(index, Display(s));
}

void ComboItems::Insert(int index, const AnsiString& s)
{
  CheckIndex(index, Count() + 1);
  const bool wasEmpty = items_.empty();
  items_.insert(items_.begin() + index, s);
  combo_.insertItem(index, Display(s));
  if (wasEmpty)
    combo_.setCurrentIndex(-1);  // Qt selects the first item of an empty list
}

void ComboItems::Delete(int index)
{
  CheckIndex(index, Count());
  const bool wasSelected = combo_.currentIndex() == index;
  items_.erase(items_.begin() + index);
  combo_.removeItem(index);
  if (wasSelected)
    combo_.setCurrentIndex(-1);  // Qt selects a neighbour instead
}

void ComboItems::Clear()
{
  items_.clear();
  combo_.clear();
}

void ComboItems::Redisplay()
{
  for (int i = 0; i < Count(); ++i)
    combo_.setItemText(i, Display(items_[static_cast<size_t>(i)]));
}
