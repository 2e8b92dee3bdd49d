#include <gtest/gtest.h>

#include "Exceptions.h"
#include "PtrList.h"

namespace {

struct Item {
  int id;
};

TEST(PtrList, KeepsInsertionOrderAndNulls)
{
  Item a{1}, b{2}, c{3};
  TPtrList<Item> list;
  EXPECT_EQ(list.Add(&a), 0);
  EXPECT_EQ(list.Add(nullptr), 1);
  EXPECT_EQ(list.Add(&b), 2);
  list.Insert(0, &c);
  list.Insert(list.Count(), nullptr);
  ASSERT_EQ(list.Count(), 5);
  EXPECT_EQ(list[0], &c);
  EXPECT_EQ(list.Get(1), &a);
  EXPECT_EQ(list.Items(2), nullptr);
  EXPECT_EQ(list.IndexOf(&b), 3);
  EXPECT_EQ(list.IndexOf(nullptr), 2);
}

TEST(PtrList, ExchangePackAndRemove)
{
  Item a{1}, b{2}, c{3};
  TPtrList<Item> list;
  for (Item* item : {&a, static_cast<Item*>(nullptr), &b, static_cast<Item*>(nullptr), &c})
    list.Add(item);
  list.Exchange(0, 4);  // row up/down
  EXPECT_EQ(list[0], &c);
  EXPECT_EQ(list[4], &a);
  list.Pack();
  ASSERT_EQ(list.Count(), 3);
  EXPECT_EQ(list[0], &c);
  EXPECT_EQ(list[1], &b);
  EXPECT_EQ(list[2], &a);
  EXPECT_EQ(list.Remove(&b), 1);
  EXPECT_EQ(list.Remove(&b), -1);
  list.Put(0, &b);
  list[1] = nullptr;
  EXPECT_EQ(list.Get(0), &b);
  EXPECT_EQ(list.Get(1), nullptr);
}

TEST(PtrList, ClearDoesNotFree)
{
  auto* owned = new Item{7};
  TPtrList<Item> list;
  list.Add(owned);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(owned->id, 7);  // still alive: the sanitizer build would catch a free
  delete owned;
}

TEST(PtrList, ReserveMakesRoomWithoutEntries)
{
  Item a{1};
  TPtrList<Item> list;
  list.Add(&a);
  list.Reserve(1000);
  EXPECT_EQ(list.Count(), 1);
  EXPECT_EQ(list[0], &a);
  const int room = list.Capacity();
  EXPECT_GE(room, 1000);

  // A smaller or a senseless count changes nothing.
  list.Reserve(10);
  list.Reserve(0);
  list.Reserve(-5);
  EXPECT_EQ(list.Capacity(), room);
  EXPECT_EQ(list.Count(), 1);

  for (int i = 1; i < 1000; ++i)
    list.Add(i % 2 ? nullptr : &a);
  EXPECT_EQ(list.Capacity(), room);  // never grew on the way
  EXPECT_EQ(list[998], &a);
  EXPECT_EQ(list[999], nullptr);

  // Clear keeps the room for the next fill.
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.Capacity(), room);
}

TEST(PtrList, BadIndexesThrow)
{
  Item a{1};
  TList list;
  list.Add(&a);
  EXPECT_THROW(list.Get(1), EListError);
  EXPECT_THROW(list[-1], EListError);
  EXPECT_THROW(list.Put(1, &a), EListError);
  EXPECT_THROW(list.Delete(1), EListError);
  EXPECT_THROW(list.Insert(2, &a), EListError);
  EXPECT_THROW(list.Exchange(0, 1), EListError);
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(list[0], &a);
  const TList& constList = list;
  EXPECT_THROW(constList[1], EListError);
}

}  // namespace
