#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/AArray.h"
#include "base/CString.h"

namespace {

// Counts live records, so a test can see every record made once and
// destroyed once.
struct Counted {
  static int live;
  int v = 0;
  Counted() { ++live; }
  Counted(int x) : v(x) { ++live; }  // NOLINT: implicit on purpose, for tables
  Counted(const Counted& o) : v(o.v) { ++live; }
  Counted& operator=(const Counted&) = default;
  ~Counted() { --live; }
};
int Counted::live = 0;

template <class T>
std::vector<int> Values(const AArray<T, const T&>& a) {
  std::vector<int> out;
  for (int i = 0; i < a.GetSize(); ++i) out.push_back(static_cast<int>(a[i]));
  return out;
}

// Capacity is not public; it shows in how often storage moves. A record
// remembers its address to reveal a move.
TEST(AArray, AddGrowsByOneThenByTheStep) {
  AArray<int, const int&> a;
  std::vector<int> moves;
  const int* before = nullptr;
  for (int i = 0; i < 62; ++i) {
    a.Add(i);
    if (&a[0] != before) moves.push_back(i + 1);
    before = &a[0];
  }
  // Storage for 1 record, then 21, 41 and 61.
  EXPECT_EQ(moves, (std::vector<int>{1, 2, 22, 42, 62}));
}

// From a full array of `size` records, the next Add grows the storage by
// `step`: step - 1 further Adds fit, the one after needs new storage again.
TEST(AArray, GrowthStepTable) {
  struct Case {
    int size, growBy, step;
  } const cases[] = {{40, 0, 5}, {10, 0, 4}, {20000, 0, 1024}, {16, 0, 4}, {5, -1, 20}, {5, 3, 3}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.size << " by " << c.growBy);
    AArray<int, const int&> a;
    a.SetSize(c.size, c.growBy);  // the first sizing is exact
    const int* p = &a[0];
    a.Add(1);
    EXPECT_NE(&a[0], p);
    p = &a[0];
    for (int i = 1; i < c.step; ++i) a.Add(i);
    EXPECT_EQ(&a[0], p);
    a.Add(0);
    EXPECT_NE(&a[0], p);
  }
}

TEST(AArray, SetSizeZeroFreesAndRecordsBalance) {
  Counted::live = 0;
  {
    AArray<Counted, const Counted&> a;
    a.SetSize(30, -1);
    EXPECT_EQ(Counted::live, 30);
    a.SetSize(10, -1);
    EXPECT_EQ(Counted::live, 10);
    a.SetSize(0, -1);
    EXPECT_EQ(Counted::live, 0);
    EXPECT_EQ(a.GetSize(), 0);
    for (int i = 0; i < 50; ++i) a.Add(Counted(i));
    a.InsertTo(3, Counted(7), 5);
    a.RemoveAt(10, 20);
    EXPECT_EQ(Counted::live, a.GetSize());
  }
  EXPECT_EQ(Counted::live, 0);
}

TEST(AArray, InsertAndRemoveTable) {
  struct Case {
    int at, value, count;
    std::vector<int> want;
  } const cases[] = {
      {1, 7, 2, {1, 7, 7, 2, 3}},
      {0, 7, 1, {7, 1, 2, 3}},
      {3, 7, 1, {1, 2, 3, 7}},
      {5, 7, 1, {1, 2, 3, 0, 0, 7}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.at);
    AArray<int, const int&> a;
    for (int v : {1, 2, 3}) a.Add(v);
    a.InsertTo(c.at, c.value, c.count);
    EXPECT_EQ(Values(a), c.want);
  }
  AArray<int, const int&> a;
  for (int v : {5, 6, 7}) a.Add(v);
  a.RemoveAt(0, 2);
  EXPECT_EQ(Values(a), std::vector<int>{7});
}

TEST(AArray, AppendCopyAndInsertArrays) {
  AArray<int, const int&> a, b;
  for (int v : {1, 2}) a.Add(v);
  for (int v : {8, 9}) b.Add(v);
  EXPECT_EQ(a.Append(a), -1);
  EXPECT_EQ(Values(a), (std::vector<int>{1, 2}));
  EXPECT_EQ(a.Append(b), 2);
  EXPECT_EQ(Values(a), (std::vector<int>{1, 2, 8, 9}));
  EXPECT_EQ(a.InsertTo(1, &b), 2);
  EXPECT_EQ(Values(a), (std::vector<int>{1, 8, 9, 2, 8, 9}));
  AArray<int, const int&> empty;
  EXPECT_EQ(a.InsertTo(0, &empty), 0);
  b.Copy(a);
  EXPECT_EQ(Values(b), Values(a));
  b.Copy(b);
  EXPECT_EQ(Values(b), Values(a));
  // Inserting an array into itself behaves as if it were copied first.
  AArray<int, const int&> c;
  for (int v : {1, 2}) c.Add(v);
  EXPECT_EQ(c.InsertTo(1, &c), 2);
  EXPECT_EQ(Values(c), (std::vector<int>{1, 1, 2, 2}));
}

// Adding or inserting a record of the array itself while it must grow:
// the source is read before the old storage goes (ASan watches).
TEST(AArray, SelfAliasingSourcesSurviveGrowth) {
  AArray<CString, const CString&> a;
  a.Add(CString("first"));
  for (int i = 0; i < 100; ++i) a.Add(a[0]);
  EXPECT_EQ(a.GetSize(), 101);
  EXPECT_STREQ(a[100], "first");
  a.InsertTo(0, a[50], 30);
  EXPECT_STREQ(a[0], "first");
  a.SetAtGrow(500, a[1]);
  EXPECT_STREQ(a[500], "first");
  EXPECT_STREQ(a[499], "");
}

// A record that a bitwise move would break (std::string keeps a pointer into
// itself for short texts) still comes through growth and shifts intact.
TEST(AArray, NonRelocatableRecordsMoveSafely) {
  struct Rec {
    std::string s;
    int n = 0;
  };
  static_assert(!ABitwiseMovable<Rec>::value);
  static_assert(ABitwiseMovable<CString>::value);
  AArray<Rec, const Rec&> a;
  for (int i = 0; i < 70; ++i) a.Add(Rec{"r" + std::to_string(i), i});
  a.InsertTo(5, Rec{"ins", -1}, 3);
  a.RemoveAt(0, 2);
  ASSERT_EQ(a.GetSize(), 71);
  EXPECT_EQ(a[3].s, "ins");
  EXPECT_EQ(a[6].s, "r5");
  EXPECT_EQ(a[70].s, "r69");
}

}  // namespace
