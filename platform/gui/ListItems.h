#pragma once
// The Items of a list box: the TStrings face of its lines, kept as the program's bytes. In a
// sorted list Add puts a line at its place in the case-insensitive order (AnsiCompareText), after
// the lines that compare equal; Insert and assigning a line keep the place the program gives.
#include <vector>

#include "StringList.h"

class TListBox;

class TListBoxStrings : public TStrings {
public:
  explicit TListBoxStrings(TListBox& listBox) : listBox_(listBox) {}

  int Count() const override { return static_cast<int>(lines_.size()); }
  AnsiString Get(int index) const override;
  void Put(int index, const AnsiString& s) override;
  void Insert(int index, const AnsiString& s) override;
  void Delete(int index) override;
  void Clear() override;
  int Add(const AnsiString& s) override;

protected:
  // A batch of changes repaints and sets the scroll range once, at its end.
  void SetUpdateState(bool updating) override;

private:
  friend class TListBox;
  // Sorts the lines already there when switched on.
  void SetSorted(bool sorted);
  void CheckIndex(int index, int limit) const;

  TListBox& listBox_;
  std::vector<AnsiString> lines_;
  bool sorted_ = false;
};
