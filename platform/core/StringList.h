#pragma once
// Lists of texts: the abstract TStrings (also implemented by the controls' item lists) and the
// plain TStringList.
#include <vector>

#include "Stream.h"
#include "System.h"

class TStrings {
public:
  TStrings() = default;
  TStrings(const TStrings&) = delete;
  TStrings& operator=(const TStrings&) = delete;
  virtual ~TStrings() = default;

  // Index errors throw EListError.
  virtual int Count() const = 0;
  virtual AnsiString Get(int index) const = 0;
  virtual void Put(int index, const AnsiString& s) = 0;
  virtual void Insert(int index, const AnsiString& s) = 0;
  virtual void Delete(int index) = 0;
  virtual void Clear() = 0;

  const AnsiString Strings(int index) const { return Get(index); }
  // Returns the index the text went to.
  virtual int Add(const AnsiString& s);
  // First index of a text equal to s by the list's comparison (case-insensitive unless the list
  // says otherwise); -1 when none.
  virtual int IndexOf(const AnsiString& s) const;
  // Moves one line so that it ends up at index `to`; both indexes are checked first.
  virtual void Move(int from, int to);

  // Lines end at CR, LF or CR LF; a final break adds no line; NUL is an ordinary byte.
  // A failing load throws before the list changes.
  virtual void LoadFromFile(const AnsiString& fileName);
  void LoadFromStream(TStream& stream);  // from the stream's position to its end
  // Every line followed by CR LF, no byte-order mark; EFCreateError when the file cannot be made.
  void SaveToFile(const AnsiString& fileName) const;

  virtual AnsiString Text() const;               // every line followed by CR LF
  virtual void SetText(const AnsiString& text);  // split as on load

  void BeginUpdate();
  void EndUpdate();

protected:
  // Called when the first BeginUpdate starts and the last EndUpdate ends a batch of changes.
  virtual void SetUpdateState(bool /*updating*/) {}
  // Order and equality of two texts for this list.
  virtual int CompareStrings(const AnsiString& a, const AnsiString& b) const;
  [[noreturn]] static void IndexError(int index);
  static std::vector<AnsiString> SplitLines(const AnsiString& text);

private:
  int updateCount_ = 0;
};

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList : public TStrings {
public:
  int Count() const override { return static_cast<int>(items_.size()); }
  AnsiString Get(int index) const override;
  void Put(int index, const AnsiString& s) override;     // EListError on a sorted list
  void Insert(int index, const AnsiString& s) override;  // EListError on a sorted list
  void Delete(int index) override;
  void Clear() override { items_.clear(); }
  void Move(int from, int to) override;  // EListError on a sorted list

  // On a sorted list: the sorted position; a text equal to one already there is handled by
  // Duplicates (dupIgnore: nothing added, the existing index returned).
  int Add(const AnsiString& s) override;
  int IndexOf(const AnsiString& s) const override;
  void SetText(const AnsiString& text) override;

  // Sorted list: true when s is there, index = its position or where it would go.
  // Unsorted list: a linear search; index = Count() when not found.
  bool Find(const AnsiString& s, int& index) const;

  bool Sorted() const { return sorted_; }
  void SetSorted(bool sorted);  // sorts the lines when switched on
  TDuplicates Duplicates() const { return duplicates_; }
  void SetDuplicates(TDuplicates duplicates) { duplicates_ = duplicates; }
  bool CaseSensitive() const { return caseSensitive_; }
  void SetCaseSensitive(bool caseSensitive);
  // For names that differ only in case (file names on Linux): the order stays case-insensitive,
  // texts equal but for case follow each other in byte order, and only byte-equal texts count as
  // the same (duplicates, IndexOf, Find). CaseSensitive, when on, decides instead.
  bool CaseDistinct() const { return caseDistinct_; }
  void SetCaseDistinct(bool caseDistinct);

protected:
  int CompareStrings(const AnsiString& a, const AnsiString& b) const override;

private:
  void CheckIndex(int index) const;
  void CheckUnsorted() const;
  bool SameText(const AnsiString& a, const AnsiString& b) const;
  void Sort();

  std::vector<AnsiString> items_;
  bool sorted_ = false;
  TDuplicates duplicates_ = dupIgnore;
  bool caseSensitive_ = false;
  bool caseDistinct_ = false;
};
