// The record arrays: growth steps, record lifetimes through growth, insert
// and remove, sharing of strings, and sources that live inside the array.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/CArrCore.h"
#include "base/CDWordArray.h"
#include "base/CStringArray.h"
#include "base/CWordArray.h"
#include "base/internal/RecArray.h"

namespace {

// A record that counts the live instances of its kind (bitwise movable: it
// holds no pointer to itself).
struct Counted {
  static int live;
  int value = 0;
  Counted() { ++live; }
  Counted(const Counted& o) : value(o.value) { ++live; }
  explicit Counted(int v) : value(v) { ++live; }
  Counted& operator=(const Counted&) = default;
  ~Counted() { --live; }
};
int Counted::live = 0;

template <typename A>
std::vector<long> Values(const A& a) {
  std::vector<long> v;
  for (int i = 0; i < a.GetSize(); ++i) v.push_back(static_cast<long>(a.GetAt(i)));
  return v;
}

std::vector<std::string> Texts(const CStringArray& a) {
  std::vector<std::string> v;
  for (int i = 0; i < a.GetSize(); ++i) v.emplace_back(a[i].GetString());
  return v;
}

}  // namespace

TEST(CArrCore, GrowthSteps) {
  CStringArray a;
  EXPECT_EQ(a.GetSize(), 0);
  EXPECT_EQ(a.GetMaxSize(), 0);
  std::vector<int> maxes;
  for (int i = 0; i < 45; ++i) {
    a.Add("x");
    if (maxes.empty() || maxes.back() != a.GetMaxSize()) maxes.push_back(a.GetMaxSize());
  }
  EXPECT_EQ(maxes, (std::vector<int>{1, 21, 41, 61}));

  CDWordArray d;
  d.SetSize(0, 0);
  EXPECT_EQ(d.GetGrowBy(), 32);
  d.SetSize(40000, -1);
  d.SetSize(40000, 0);
  EXPECT_EQ(d.GetGrowBy(), 1024);
  d.SetSize(40001, -1);
  EXPECT_EQ(d.GetMaxSize(), 41024);
  d.SetSize(50000, -1);  // more than one step: exactly what was asked
  EXPECT_EQ(d.GetMaxSize(), 50000);
  EXPECT_EQ(d.GetAt(49999), 0u);

  d.SetSize(0, -1);  // records go, storage stays
  EXPECT_EQ(d.GetSize(), 0);
  EXPECT_EQ(d.GetMaxSize(), 50000);
  d.RemoveAll();
  EXPECT_EQ(d.GetMaxSize(), 0);
  EXPECT_EQ(d.GetGrowBy(), 20);
  d.RemoveAll();
  EXPECT_EQ(d.GetSize(), 0);
}

TEST(CArrCore, RecordLifetimesThroughGrowthInsertAndRemove) {
  Counted::live = 0;
  {
    TRecArray<Counted> a;
    for (int i = 0; i < 30; ++i) a.Add(Counted(i));
    EXPECT_EQ(Counted::live, 30);
    a.InsertTo(5, Counted(100), 3);
    EXPECT_EQ(Counted::live, 33);
    EXPECT_EQ(a.GetAt(4).value, 4);
    EXPECT_EQ(a.GetAt(7).value, 100);
    EXPECT_EQ(a.GetAt(8).value, 5);
    a.InsertTo(40, Counted(7), 2);  // past the end: the gap gets new records
    EXPECT_EQ(a.GetSize(), 42);
    EXPECT_EQ(Counted::live, 42);
    EXPECT_EQ(a.GetAt(35).value, 0);
    a.RemoveAt(0, 10);
    EXPECT_EQ(Counted::live, 32);
    EXPECT_EQ(a.GetAt(0).value, 7);
    a.SetSize(5, -1);
    EXPECT_EQ(Counted::live, 5);
    a.InsertTo(2, &a);  // itself
    EXPECT_EQ(Counted::live, 10);
    EXPECT_EQ(a.GetAt(2).value, 7);
    a.Append(a);
    EXPECT_EQ(Counted::live, 20);
    a.Add(a.ElementAt(0));  // a record of its own, while growing
    EXPECT_EQ(a.GetAt(20).value, 7);
  }
  EXPECT_EQ(Counted::live, 0);
}

TEST(CArrCore, WordInsertAndDWordRemove) {
  CWordArray w;
  for (uint16_t v : {1, 2, 3}) w.Add(v);
  w.InsertTo(1, 7, 2);
  EXPECT_EQ(Values(w), (std::vector<long>{1, 7, 7, 2, 3}));
  CWordArray w2;
  for (uint16_t v : {1, 2, 3}) w2.Add(v);
  w2.InsertTo(5, 7, 1);
  EXPECT_EQ(Values(w2), (std::vector<long>{1, 2, 3, 0, 0, 7}));
  EXPECT_EQ(w2[5], 7);

  CDWordArray d;
  for (uint32_t v : {5u, 6u, 7u}) d.Add(v);
  d.RemoveAt(0, 2);
  EXPECT_EQ(Values(d), (std::vector<long>{7}));
  d.SetAtGrow(3, 0xFFFFFFFFu);
  EXPECT_EQ(Values(d), (std::vector<long>{7, 0, 0, 0xFFFFFFFFL}));
  CDWordArray e;
  e = d;
  EXPECT_EQ(Values(e), Values(d));
  EXPECT_EQ(d.InsertTo(0, &e), 4);
  EXPECT_EQ(d.GetSize(), 8);
  CDWordArray empty;
  EXPECT_EQ(d.InsertTo(2, &empty), 0);
  EXPECT_EQ(d.Append(empty), 8);
  EXPECT_EQ(d.GetSize(), 8);
  EXPECT_EQ(d.DiskIO(0, nullptr), 1);
}

TEST(CArrCore, StringArraysShareTheirStrings) {
  CString outside("kept");
  const CString::SDesc* desc = outside.GetData();
  {
    CStringArray a;
    a.Add(outside);
    a.Add("b");
    EXPECT_EQ(a[0].GetData(), desc);
    EXPECT_EQ(desc->refs, 2u);
    CStringArray b;
    b = a;
    EXPECT_EQ(b[0].GetData(), desc);
    EXPECT_EQ(desc->refs, 3u);
    EXPECT_EQ(a.AddUnique("kept"), -1);
    EXPECT_EQ(a.GetSize(), 2);
    EXPECT_EQ(a.AddUnique("c"), 2);
    a[1] += "!";
    EXPECT_EQ(Texts(a), (std::vector<std::string>{"kept", "b!", "c"}));
    EXPECT_EQ(Texts(b), (std::vector<std::string>{"kept", "b"}));
  }
  EXPECT_EQ(desc->refs, 1u);
  EXPECT_STREQ(outside, "kept");
}

TEST(CArrCore, StringSourcesInsideTheArray) {
  CStringArray a;
  a.Add("first");
  for (int i = 0; i < 50; ++i) a.Add(a[0]);  // grows while reading a[0]
  EXPECT_EQ(a.GetSize(), 51);
  EXPECT_STREQ(a[50], "first");
  a.SetAtGrow(80, a[1]);
  EXPECT_STREQ(a[80], "first");
  EXPECT_STREQ(a[79], "");
  a.InsertTo(0, a[80], 30);
  EXPECT_STREQ(a[0], "first");
  EXPECT_STREQ(a[30], "first");
  a.SetAt(2, a[2].GetString());
  EXPECT_STREQ(a[2], "first");
  a.InsertTo(1, &a);
  EXPECT_EQ(a.GetSize(), 222);
  a.Append(a);
  EXPECT_EQ(a.GetSize(), 444);
  a.RemoveAll();
  EXPECT_EQ(a.GetSize(), 0);
}
