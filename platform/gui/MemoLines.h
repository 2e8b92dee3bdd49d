#pragma once
// A memo's Lines: the TStrings face of its store. Every change is reported to the owner (the
// view), once per batch between BeginUpdate and EndUpdate.
#include <functional>

#include "MemoStore.h"
#include "StringList.h"

class TMemoStrings : public TStrings {
public:
  // changed(true) after the whole text was replaced, changed(false) after a line edit.
  TMemoStrings(MemoStore& store, std::function<void(bool replaced)> changed);

  int Count() const override;
  AnsiString Get(int index) const override;
  void Put(int index, const AnsiString& s) override;
  void Insert(int index, const AnsiString& s) override;
  void Delete(int index) override;
  void Clear() override;
  void SetText(const AnsiString& text) override;

  // The file's bytes go straight into the store, without a copy
  // per line. Throws EFOpenError and keeps the old text when the file cannot be opened.
  void LoadFromFile(const AnsiString& fileName) override;
  // The same in pieces, with the step called between them; false, with the old text kept and
  // nothing reported, when the step broke the load off.
  bool LoadFromFile(const AnsiString& fileName, const MemoLoadStep& step);

protected:
  void SetUpdateState(bool updating) override;

private:
  void CheckIndex(int index, int limit) const;
  void Changed(bool replaced);

  MemoStore& store_;
  std::function<void(bool)> changed_;
  bool updating_ = false;
  bool pendingReplaced_ = false;
  bool pending_ = false;
};
