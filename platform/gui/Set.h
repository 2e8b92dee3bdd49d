#pragma once
// A small set of enumerators, as the class library's set types are used: Contains, << adds,
// >> removes.
#include <initializer_list>

template <class E>
class Set {
public:
  Set() = default;
  Set(std::initializer_list<E> items)
  {
    for (E item : items)
      *this << item;
  }

  bool Contains(E item) const { return (bits_ & Bit(item)) != 0; }
  Set& operator<<(E item)
  {
    bits_ |= Bit(item);
    return *this;
  }
  Set& operator>>(E item)
  {
    bits_ &= ~Bit(item);
    return *this;
  }
  bool operator==(const Set&) const = default;

private:
  static unsigned Bit(E item) { return 1u << static_cast<unsigned>(item); }
  unsigned bits_ = 0;
};
