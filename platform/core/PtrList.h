#pragma once
// A list of pointers in insertion order. It never owns what it points to; null entries are
// allowed; a bad index throws EListError.
#include <algorithm>
#include <string>
#include <vector>

#include "Exceptions.h"

template <class T>
class TPtrList {
public:
  int Count() const { return static_cast<int>(items_.size()); }

  int Add(T* item)
  {
    items_.push_back(item);
    return Count() - 1;
  }

  T* Get(int index) const { return items_[Checked(index)]; }
  T* Items(int index) const { return Get(index); }
  T* operator[](int index) const { return Get(index); }
  T*& operator[](int index) { return items_[Checked(index)]; }
  void Put(int index, T* item) { items_[Checked(index)] = item; }

  // index may be Count() to append.
  void Insert(int index, T* item)
  {
    if (index != Count())
      Checked(index);
    // Append and rotate into place: same result as vector::insert, which GCC 12 flags with a
    // false -Wstringop-overread when inlined.
    items_.push_back(item);
    std::rotate(items_.begin() + index, items_.end() - 1, items_.end());
  }

  void Delete(int index) { items_.erase(items_.begin() + Checked(index)); }

  void Exchange(int a, int b) { std::swap(items_[Checked(a)], items_[Checked(b)]); }

  // Empties the list; the room it had stays for the next entries.
  // Gives the room back too: a list of a big log's millions of records would keep it.
  void Clear() { std::vector<T*>().swap(items_); }

  // Room for `count` entries in all, so that adding up to that many never moves the list;
  // never shrinks it.
  void Reserve(int count)
  {
    if (count > Capacity())
      items_.reserve(static_cast<size_t>(count));
  }
  int Capacity() const { return static_cast<int>(items_.capacity()); }

  // Removes the null entries, keeping the order of the rest.
  void Pack() { items_.erase(std::remove(items_.begin(), items_.end(), nullptr), items_.end()); }

  // First index of item, -1 when absent.
  int IndexOf(const T* item) const
  {
    auto it = std::find(items_.begin(), items_.end(), item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
  }

  // Removes the first occurrence; returns its former index, -1 when absent.
  int Remove(const T* item)
  {
    int index = IndexOf(item);
    if (index >= 0)
      Delete(index);
    return index;
  }

private:
  size_t Checked(int index) const
  {
    if (index < 0 || index >= Count())
      throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    return static_cast<size_t>(index);
  }

  std::vector<T*> items_;
};

using TList = TPtrList<void>;
