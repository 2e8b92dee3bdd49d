#pragma once
// TComboBox: a drop-down list of texts the user picks from. OnChange runs for every pick of the
// user, also of the item already selected, and never when the program sets ItemIndex or changes
// Items.
#include <memory>

#include "ComboItems.h"
#include "CustomComboBox.h"

// The program uses drop-down lists only (the user picks, never types), so that is the one style
// built, and a new combo box has it already.
enum TComboBoxStyle { csDropDownList };

class TComboBox : public TCustomComboBox {
public:
  explicit TComboBox(TComponent* AOwner);
  ~TComboBox() override;

  TComboBoxStyle Style() const { return csDropDownList; }
  void SetStyle(TComboBoxStyle) {}
  // Rows the open list shows before it scrolls.
  int DropDownCount() const;
  void SetDropDownCount(int count);

  TStrings* Items() { return items_.get(); }
  // -1 when no item is selected; setting an index that does not exist selects none.
  int ItemIndex() const;
  void SetItemIndex(int index);

  TNotifyEvent OnChange;

protected:
  void UserPicked(int index) override;
  void TextChanged() override;

private:
  std::unique_ptr<ComboItems> items_;
};
