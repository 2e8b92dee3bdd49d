#pragma once
// The Items of a combo box: the TStrings face of its list. The texts are kept as the program's
// bytes and shown through the control's code page. As in the class library, changing the items
// never selects one: a list that gets its first item, or loses its selected one, has no
// selection (ItemIndex -1).
#include <QString>
#include <vector>

#include "StringList.h"

class QComboBox;
class TControl;

class ComboItems : public TStrings {
public:
  ComboItems(const TControl& control, QComboBox& combo);

  int Count() const override { return static_cast<int>(items_.size()); }
  AnsiString Get(int index) const override;
  void Put(int index, const AnsiString& s) override;
  void Insert(int index, const AnsiString& s) override;
  void Delete(int index) override;
  void Clear() override;

  // Shows every item again, after the control's code page changed.
  void Redisplay();

private:
  void CheckIndex(int index, int limit) const;
  QString Display(const AnsiString& s) const;

  const TControl& control_;
  QComboBox& combo_;
  std::vector<AnsiString> items_;
};
