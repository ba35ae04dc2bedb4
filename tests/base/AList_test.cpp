#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/AList.h"
#include "base/AStack.h"
#include "base/CString.h"

namespace {

using IntList = AList<int, const int&>;

std::vector<int> Forward(IntList& l) {
  std::vector<int> out;
  for (long pos = l.GetHeadPosition(); pos;) out.push_back(l.GetNext(pos));
  return out;
}
std::vector<int> Backward(IntList& l) {
  std::vector<int> out;
  for (long pos = l.GetTailPosition(); pos;) out.push_back(l.GetPrev(pos));
  return out;
}
void ExpectLinks(IntList& l, std::vector<int> want) {
  EXPECT_EQ(Forward(l), want);
  std::vector<int> rev(want.rbegin(), want.rend());
  EXPECT_EQ(Backward(l), rev);
  EXPECT_EQ(l.GetCount(), static_cast<int>(want.size()));
}

TEST(AList, LinksStayConsistentThroughEveryEdit) {
  IntList l(10);
  ExpectLinks(l, {});
  EXPECT_EQ(l.GetHeadPosition(), 0);
  long two = l.AddTail(2);
  l.AddHead(1);
  long four = l.AddTail(4);
  l.InsertAfter(two, 3);
  l.InsertBefore(l.GetHeadPosition(), 0);
  l.InsertAfter(four, 5);
  ExpectLinks(l, {0, 1, 2, 3, 4, 5});
  l.InsertBefore(0, -1);  // 0 means the head
  l.InsertAfter(0, 6);    // and the tail
  ExpectLinks(l, {-1, 0, 1, 2, 3, 4, 5, 6});
  l.RemoveAt(two);
  l.RemoveAt(l.GetHeadPosition());
  l.RemoveAt(l.GetTailPosition());
  ExpectLinks(l, {0, 1, 3, 4, 5});
  EXPECT_EQ(l.RemoveTail(), 5);
  EXPECT_EQ(l.GetTail(), 4);
  l.SetAt(four, 40);
  EXPECT_EQ(l.GetAt(four), 40);
  ExpectLinks(l, {0, 1, 3, 40});
}

TEST(AList, FindIndexTable) {
  IntList l(10);
  for (int v : {10, 11, 12}) l.AddTail(v);
  struct Case {
    int i, want;
  } const cases[] = {{0, 10}, {2, 12}, {3, -1}, {-1, -1}};
  for (const Case& c : cases) {
    long pos = l.FindIndex(c.i);
    if (c.want < 0) {
      EXPECT_EQ(pos, 0) << c.i;
    } else {
      EXPECT_EQ(l.GetAt(pos), c.want) << c.i;
    }
  }
}

TEST(AList, NodesComeInAddressOrderAndTheLastRemovalFreesTheBlocks) {
  IntList l(10);
  std::vector<long> pos;
  for (int i = 0; i < 10; ++i) pos.push_back(l.AddTail(i));
  for (int i = 1; i < 10; ++i) EXPECT_EQ(pos[i] - pos[i - 1], pos[1] - pos[0]) << i;
  EXPECT_GT(pos[1], pos[0]);
  // A freed node is reused first.
  l.RemoveAt(pos[4]);
  EXPECT_EQ(l.AddTail(99), pos[4]);
  // The 11th node needs a second block.
  long eleventh = l.AddTail(10);
  EXPECT_TRUE(eleventh < pos[0] || eleventh > pos[9]);
  while (l.GetCount()) l.RemoveTail();
  EXPECT_EQ(l.GetHeadPosition(), 0);
  EXPECT_EQ(l.GetTailPosition(), 0);
  // Usable again after giving everything back.
  l.AddTail(5);
  ExpectLinks(l, {5});
}

TEST(AList, OwnsItsStrings) {
  CString outside("shared text");
  {
    AList<CString, const CString&> l(10);
    for (int i = 0; i < 25; ++i) l.AddTail(outside);
    l.RemoveAt(l.FindIndex(3));
    EXPECT_EQ(l.GetCount(), 24);
  }
  EXPECT_STREQ(outside, "shared text");
  // Only this object shares the descriptor again.
  EXPECT_EQ(outside.GetData()->refs, 1u);
}

TEST(AStack, PushPopTop) {
  AStack<int, int> s;
  int out = 42;
  EXPECT_EQ(s.Pop(out), 0);
  EXPECT_EQ(out, 42);
  s.Push(1);
  s.Push(2);
  EXPECT_EQ(s.Top(), 2);
  EXPECT_EQ(s.GetSize(), 2);
  EXPECT_EQ(s.Pop(out), 1);
  EXPECT_EQ(out, 2);
  EXPECT_EQ(s.Pop(out), 1);
  EXPECT_EQ(out, 1);
  EXPECT_EQ(s.Pop(out), 0);
  for (int i = 0; i < 30; ++i) s.Push(i);
  s.Reset();
  EXPECT_EQ(s.GetSize(), 0);
}

}  // namespace
