// Points, sizes and rectangles: the framework's edge rules and the
// arithmetic of the value classes.
#include <gtest/gtest.h>

#include "base/Geometry.h"

namespace {

::testing::AssertionResult Is(const tagRECT& r, int l, int t, int rr, int b) {
  if (r.left == l && r.top == t && r.right == rr && r.bottom == b)
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "(" << r.left << "," << r.top << "," << r.right << "," << r.bottom << ")";
}

}  // namespace

TEST(Geometry, EdgeRules) {
  CRect r(10, 10, 20, 20);
  struct PtCase {
    int x, y;
    bool inside;
  } const pts[] = {{20, 20, true}, {10, 10, true}, {21, 15, false},
                   {15, 9, false}, {20, 10, true}, {9, 20, false}};
  for (const PtCase& c : pts) {
    SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
    EXPECT_EQ(PtInRect(&r, POINT{c.x, c.y}), c.inside);
    EXPECT_EQ(r.PtInRect(CPoint(c.x, c.y)), c.inside);
  }

  struct EmptyCase {
    CRect r;
    bool free, member;
  } const empties[] = {{CRect(0, 0, 0, 10), true, false},
                       {CRect(5, 5, 5, 5), true, true},
                       {CRect(0, 0, 10, 0), true, false},
                       {CRect(3, 3, 1, 1), true, true},
                       {CRect(0, 0, 1, 1), false, false}};
  for (const EmptyCase& c : empties) {
    SCOPED_TRACE(testing::Message()
                 << c.r.left << "," << c.r.top << "," << c.r.right << "," << c.r.bottom);
    EXPECT_EQ(IsRectEmpty(&c.r), c.free);
    EXPECT_EQ(c.r.IsRectEmpty(), c.member);
  }
}

TEST(Geometry, IntersectAndUnion) {
  struct Case {
    CRect a, b;
    int result;
    CRect want;
  } const cases[] = {
      {CRect(0, 0, 10, 10), CRect(10, 0, 20, 10), 0, CRect(0, 0, 0, 0)},  // touching
      {CRect(0, 0, 10, 10), CRect(5, 5, 20, 20), 1, CRect(5, 5, 10, 10)},
      {CRect(0, 0, 10, 10), CRect(2, 2, 2, 8), 0, CRect(0, 0, 0, 0)},  // b empty
      {CRect(-5, -5, 5, 5), CRect(-1, -9, 1, 9), 1, CRect(-1, -5, 1, 5)},
  };
  for (const Case& c : cases) {
    CRect dst(7, 7, 7, 7);
    EXPECT_EQ(dst.IntersectRect(&c.a, &c.b), c.result);
    EXPECT_TRUE(Is(dst, c.want.left, c.want.top, c.want.right, c.want.bottom));
  }
  CRect u;
  const CRect empty(50, 60, 50, 99), r(1, 2, 3, 4);
  EXPECT_EQ(u.UnionRect(&empty, &r), 1);
  EXPECT_TRUE(Is(u, 1, 2, 3, 4));
  u.UnionRect(&r, &empty);
  EXPECT_TRUE(Is(u, 1, 2, 3, 4));
  u.UnionRect(&r, CRect(-1, 3, 2, 9));
  EXPECT_TRUE(Is(u, -1, 2, 3, 9));
  // The result may be one of the inputs.
  CRect a(0, 0, 10, 10);
  a.IntersectRect(&a, CRect(5, 5, 20, 20));
  EXPECT_TRUE(Is(a, 5, 5, 10, 10));
}

TEST(Geometry, RectMembers) {
  CRect r(10, 10, 20, 20);
  r.InflateRect(2, 3);
  EXPECT_TRUE(Is(r, 8, 7, 22, 23));
  r = CRect(10, 10, 20, 20);
  r.DeflateRect(CSize(2, 3));
  EXPECT_TRUE(Is(r, 12, 13, 18, 17));
  EXPECT_EQ(InflateRect(&r, 1, 1), 0);
  EXPECT_EQ(OffsetRect(&r, 1, 1), 1);
  EXPECT_TRUE(Is(r, 12, 13, 20, 19));

  EXPECT_EQ(CRect(-3, -3, 0, 0).CenterPoint(), CPoint(-1, -1));
  EXPECT_EQ(CRect(0, 0, 5, 7).CenterPoint(), CPoint(2, 3));
  EXPECT_EQ(CRect(0, 0, 2147483647, 2147483647).CenterPoint(), CPoint(1073741823, 1073741823));

  CRect s(1, 2, 4, 8);
  EXPECT_EQ(s.Width(), 3);
  EXPECT_EQ(s.Height(), 6);
  EXPECT_EQ(s.Size(), CSize(3, 6));
  s.TopLeft() = CPoint(0, 0);
  s.BottomRight().Offset(1, 1);
  EXPECT_TRUE(Is(s, 0, 0, 5, 9));
  s.SwapLeftRight();
  EXPECT_TRUE(Is(s, 5, 0, 0, 9));
  EXPECT_EQ(s.Width(), -5);

  CRect t(CPoint(1, 1), CSize(2, 3));
  EXPECT_TRUE(Is(t, 1, 1, 3, 4));
  EXPECT_TRUE(t == CRect(CPoint(1, 1), CPoint(3, 4)));
  EXPECT_TRUE(t != CRect(1, 1, 3, 5));
  EXPECT_TRUE(Is(t + CPoint(1, 2), 2, 3, 4, 6));
  EXPECT_TRUE(Is(t - CSize(1, 1), 0, 0, 2, 3));
  t += CSize(10, 0);
  t -= CPoint(0, 1);
  EXPECT_TRUE(Is(t, 11, 0, 13, 3));
  t.OffsetRect(CPoint(-11, 0));
  EXPECT_TRUE(Is(t, 0, 0, 2, 3));
  t.SetRect(CPoint(4, 4), CPoint(5, 5));
  EXPECT_TRUE(t.EqualRect(CRect(4, 4, 5, 5)));
  t.SetRectEmpty();
  EXPECT_TRUE(Is(t, 0, 0, 0, 0));
  tagRECT raw;
  EXPECT_EQ(CopyRect(&raw, CRect(1, 2, 3, 4)), 1);
  EXPECT_TRUE(Is(raw, 1, 2, 3, 4));
}

TEST(Geometry, PointsAndSizes) {
  EXPECT_EQ(CPoint(0xFFFF0001ul), CPoint(1, -1));
  EXPECT_EQ(CSize(0x8000FFFFul), CSize(-1, -32768));
  EXPECT_EQ(CPoint(CSize(3, 4)), CPoint(3, 4));
  EXPECT_EQ(CSize(CPoint(3, 4)), CSize(3, 4));

  CPoint p(5, 6);
  EXPECT_EQ(p + CSize(1, 1), CPoint(6, 7));
  EXPECT_EQ(p - CSize(1, 1), CPoint(4, 5));
  EXPECT_EQ(p + CPoint(1, 2), CPoint(6, 8));
  EXPECT_EQ(p - CPoint(1, 2), CSize(4, 4));
  EXPECT_EQ(-p, CPoint(-5, -6));
  p += CSize(1, 1);
  p -= CPoint(2, 2);
  EXPECT_EQ(p, CPoint(4, 5));
  p.Offset(CSize(1, 0));
  p.Offset(POINT{0, 1});
  EXPECT_EQ(p, CPoint(5, 6));
  EXPECT_NE(p, CPoint(5, 7));

  CSize s(2, 3);
  EXPECT_EQ(s + CSize(1, 1), CSize(3, 4));
  EXPECT_EQ(s - CSize(1, 1), CSize(1, 2));
  EXPECT_EQ(s + CPoint(1, 1), CPoint(3, 4));
  EXPECT_EQ(s - CPoint(1, 1), CPoint(1, 2));
  EXPECT_EQ(-s, CSize(-2, -3));
  s += CSize(1, 1);
  s -= CSize(0, 2);
  EXPECT_EQ(s, CSize(3, 2));
  EXPECT_NE(s, CSize(3, 3));
  EXPECT_EQ(CPoint(), CPoint(0, 0));
}
