#pragma once
// A small set of enumerators, as the class library's set types are used: Contains, << adds,
// >> removes.
#include <initializer_list>

template <class E>
class TSet {
public:
  TSet() = default;
  TSet(std::initializer_list<E> items)
  {
    for (E item : items)
      *this << item;
  }

  bool Contains(E item) const { return (bits_ & Bit(item)) != 0; }
  TSet& operator<<(E item)
  {
    bits_ |= Bit(item);
    return *this;
  }
  TSet& operator>>(E item)
  {
    bits_ &= ~Bit(item);
    return *this;
  }
  bool operator==(const TSet&) const = default;

private:
  static unsigned Bit(E item) { return 1u << static_cast<unsigned>(item); }
  unsigned bits_ = 0;
};
