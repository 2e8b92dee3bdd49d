#include "ComboBox.h"

#include <QComboBox>
#include <algorithm>

#include "Guard.h"

TComboBox::TComboBox(TComponent* AOwner) : TCustomComboBox(AOwner)
{
  items_ = std::make_unique<ComboItems>(*this, *Combo());
}

TComboBox::~TComboBox() = default;

int TComboBox::DropDownCount() const
{
  return Combo()->maxVisibleItems();
}

void TComboBox::SetDropDownCount(int count)
{
  Combo()->setMaxVisibleItems(std::max(count, 0));
}

int TComboBox::ItemIndex() const
{
  return Combo()->currentIndex();
}

void TComboBox::SetItemIndex(int index)
{
  Combo()->setCurrentIndex(index >= 0 && index < items_->Count() ? index : -1);
}

void TComboBox::UserPicked(int)
{
  FireEvent(OnChange, this);
}

void TComboBox::TextChanged()
{
  items_->Redisplay();
}
