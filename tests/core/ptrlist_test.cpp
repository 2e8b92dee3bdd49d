#include <gtest/gtest.h>

#include <string>

#include "Exceptions.h"
#include "PtrList.h"

namespace {

struct Item {
  int id;
};

// The list as text: the id of each entry, 0 for a null.
std::string Dump(const TPtrList<Item>& list)
{
  std::string text;
  for (int i = 0; i < list.Count(); ++i)
    text += std::to_string(list[i] ? list[i]->id : 0);
  return text;
}

// Entries and nulls keep their places through the edits; bad indexes throw and change nothing;
// Clear frees nothing (the sanitizer build would see a free) and keeps the room Reserve made.
TEST(PtrList, EditsKeepOrderAndNullsAndClearNeitherFreesNorShrinks)
{
  Item a{1}, b{2}, c{3};
  TPtrList<Item> list;
  EXPECT_EQ(list.Add(&a), 0);
  EXPECT_EQ(list.Add(nullptr), 1);
  EXPECT_EQ(list.Add(&b), 2);
  list.Insert(0, &c);
  list.Insert(list.Count(), nullptr);
  EXPECT_EQ(Dump(list), "31020");
  EXPECT_EQ(std::pair(list.IndexOf(&b), list.IndexOf(nullptr)), std::pair(3, 2));
  list.Exchange(0, 4);  // row up/down
  EXPECT_EQ(Dump(list), "01023");
  list.Pack();
  EXPECT_EQ(Dump(list), "123");
  EXPECT_EQ(list.Remove(&b), 1);
  EXPECT_EQ(list.Remove(&b), -1);
  list.Put(0, &b);
  list[1] = nullptr;
  EXPECT_EQ(Dump(list), "20");
  EXPECT_THROW(list.Get(2), EListError);
  EXPECT_THROW(list[-1], EListError);
  EXPECT_THROW(list.Put(2, &a), EListError);
  EXPECT_THROW(list.Delete(2), EListError);
  EXPECT_THROW(list.Insert(3, &a), EListError);
  EXPECT_THROW(list.Exchange(0, 2), EListError);
  EXPECT_THROW(static_cast<const TPtrList<Item>&>(list)[2], EListError);
  EXPECT_EQ(Dump(list), "20");

  list.Reserve(1000);
  const int room = list.Capacity();
  EXPECT_GE(room, 1000);
  for (int n : {10, 0, -5})  // a smaller or a senseless count changes nothing
    list.Reserve(n);
  for (int i = 2; i < 1000; ++i)
    list.Add(i % 2 ? nullptr : &a);
  EXPECT_EQ(list.Capacity(), room);  // never grew on the way
  auto* owned = new Item{7};
  list.Put(0, owned);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.Capacity(), room);
  EXPECT_EQ(owned->id, 7);
  delete owned;
}

}  // namespace
