// Geometry.h: integer points, sizes and rectangles in pixels: the plain
// records POINT, tagSIZE and tagRECT, the value classes CPoint, CSize and
// CRect over them, and the free functions on rectangles.
//
// Two rules differ from the usual geometry, and callers depend on both:
//  - PtInRect counts all four edges as inside (right and bottom included);
//  - the free IsRectEmpty is true when the width OR the height is 0 or less,
//    CRect::IsRectEmpty only when BOTH are: a rectangle 0 wide and 10 high is
//    empty for the first and not for the second.
// Default-constructed objects hold zeros.
#pragma once

#include <cstdint>

struct POINT {
  int32_t x;
  int32_t y;
};

struct tagSIZE {
  int32_t cx;
  int32_t cy;
};

struct tagRECT {
  int32_t left;
  int32_t top;
  int32_t right;
  int32_t bottom;
};

// ---- Free functions on rectangles. Results may alias the inputs.
bool PtInRect(const tagRECT* r, POINT p);
void SetRect(tagRECT* r, int left, int top, int right, int bottom);
void SetRectEmpty(tagRECT* r);
int CopyRect(tagRECT* dst, const tagRECT* src);  // returns 1
int InflateRect(tagRECT* r, int dx, int dy);     // returns 0
bool IsRectEmpty(const tagRECT* r);              // width or height <= 0
// The overlap and 1; touching or empty rectangles give all zeros and 0.
int IntersectRect(tagRECT* dst, const tagRECT* a, const tagRECT* b);
bool EqualRect(const tagRECT* a, const tagRECT* b);
int OffsetRect(tagRECT* r, int dx, int dy);  // returns 1
// The bounding rectangle; an empty input is ignored. Returns 1.
int UnionRect(tagRECT* dst, const tagRECT* a, const tagRECT* b);

class CSize;

class CPoint : public POINT {
 public:
  CPoint() : POINT{0, 0} {}
  CPoint(int x0, int y0) : POINT{x0, y0} {}
  CPoint(POINT p) : POINT(p) {}
  CPoint(tagSIZE s) : POINT{s.cx, s.cy} {}
  // x from the low 16 bits, y from the next 16, each signed.
  explicit CPoint(unsigned long dw)
      : POINT{static_cast<int16_t>(dw & 0xFFFF), static_cast<int16_t>((dw >> 16) & 0xFFFF)} {}

  void Offset(int dx, int dy) { x += dx, y += dy; }
  void Offset(POINT p) { Offset(p.x, p.y); }
  void Offset(tagSIZE s) { Offset(s.cx, s.cy); }

  bool operator==(POINT p) const { return x == p.x && y == p.y; }
  bool operator!=(POINT p) const { return !(*this == p); }
  void operator+=(tagSIZE s) { Offset(s); }
  void operator-=(tagSIZE s) { Offset(-s.cx, -s.cy); }
  void operator+=(POINT p) { Offset(p); }
  void operator-=(POINT p) { Offset(-p.x, -p.y); }
  CPoint operator+(tagSIZE s) const { return CPoint(x + s.cx, y + s.cy); }
  CPoint operator-(tagSIZE s) const { return CPoint(x - s.cx, y - s.cy); }
  CPoint operator+(POINT p) const { return CPoint(x + p.x, y + p.y); }
  CSize operator-(POINT p) const;
  CPoint operator-() const { return CPoint(-x, -y); }
};

class CSize : public tagSIZE {
 public:
  CSize() : tagSIZE{0, 0} {}
  CSize(long cx0, long cy0) : tagSIZE{static_cast<int32_t>(cx0), static_cast<int32_t>(cy0)} {}
  CSize(tagSIZE s) : tagSIZE(s) {}
  CSize(POINT p) : tagSIZE{p.x, p.y} {}
  // cx from the low 16 bits, cy from the next 16, each signed.
  explicit CSize(unsigned long dw)
      : tagSIZE{static_cast<int16_t>(dw & 0xFFFF), static_cast<int16_t>((dw >> 16) & 0xFFFF)} {}

  bool operator==(tagSIZE s) const { return cx == s.cx && cy == s.cy; }
  bool operator!=(tagSIZE s) const { return !(*this == s); }
  void operator+=(tagSIZE s) { cx += s.cx, cy += s.cy; }
  void operator-=(tagSIZE s) { cx -= s.cx, cy -= s.cy; }
  CSize operator+(tagSIZE s) const { return CSize(cx + s.cx, cy + s.cy); }
  CSize operator-(tagSIZE s) const { return CSize(cx - s.cx, cy - s.cy); }
  CPoint operator+(POINT p) const { return CPoint(cx + p.x, cy + p.y); }
  CPoint operator-(POINT p) const { return CPoint(cx - p.x, cy - p.y); }
  CSize operator-() const { return CSize(-cx, -cy); }
};

inline CSize CPoint::operator-(POINT p) const { return CSize(x - p.x, y - p.y); }

class CRect : public tagRECT {
 public:
  CRect() : tagRECT{0, 0, 0, 0} {}
  CRect(int l, int t, int r, int b) : tagRECT{l, t, r, b} {}
  CRect(const tagRECT& r) : tagRECT(r) {}
  CRect(POINT p, tagSIZE s) : tagRECT{p.x, p.y, p.x + s.cx, p.y + s.cy} {}
  CRect(POINT topLeft, POINT bottomRight)
      : tagRECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y} {}

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  CSize Size() const { return CSize(Width(), Height()); }
  // The corners as points, in place: writing through them moves the edges.
  CPoint& TopLeft() { return *reinterpret_cast<CPoint*>(&left); }
  CPoint& BottomRight() { return *reinterpret_cast<CPoint*>(&right); }
  const CPoint& TopLeft() const { return *reinterpret_cast<const CPoint*>(&left); }
  const CPoint& BottomRight() const { return *reinterpret_cast<const CPoint*>(&right); }
  CPoint CenterPoint() const;  // halves truncate towards zero
  void SwapLeftRight() { SwapLeftRight(this); }
  static void SwapLeftRight(tagRECT* r);

  operator tagRECT*() { return this; }
  operator const tagRECT*() const { return this; }

  // Empty only when the width and the height are both 0 or less.
  bool IsRectEmpty() const { return Width() <= 0 && Height() <= 0; }
  bool PtInRect(POINT p) const { return ::PtInRect(this, p); }
  void SetRect(int l, int t, int r, int b) { ::SetRect(this, l, t, r, b); }
  void SetRect(POINT topLeft, POINT bottomRight) {
    ::SetRect(this, topLeft.x, topLeft.y, bottomRight.x, bottomRight.y);
  }
  void SetRectEmpty() { ::SetRectEmpty(this); }
  bool EqualRect(const tagRECT* r) const { return ::EqualRect(this, r); }
  int IntersectRect(const tagRECT* a, const tagRECT* b) { return ::IntersectRect(this, a, b); }
  int UnionRect(const tagRECT* a, const tagRECT* b) { return ::UnionRect(this, a, b); }
  void InflateRect(int dx, int dy) { ::InflateRect(this, dx, dy); }
  void InflateRect(tagSIZE s) { ::InflateRect(this, s.cx, s.cy); }
  void DeflateRect(int dx, int dy) { ::InflateRect(this, -dx, -dy); }
  void DeflateRect(tagSIZE s) { ::InflateRect(this, -s.cx, -s.cy); }
  void OffsetRect(int dx, int dy) { ::OffsetRect(this, dx, dy); }
  void OffsetRect(POINT p) { ::OffsetRect(this, p.x, p.y); }
  void OffsetRect(tagSIZE s) { ::OffsetRect(this, s.cx, s.cy); }

  CRect& operator=(const tagRECT& r) {
    ::CopyRect(this, &r);
    return *this;
  }
  bool operator==(const tagRECT& r) const { return ::EqualRect(this, &r); }
  bool operator!=(const tagRECT& r) const { return !::EqualRect(this, &r); }
  void operator+=(POINT p) { OffsetRect(p.x, p.y); }
  void operator+=(tagSIZE s) { OffsetRect(s.cx, s.cy); }
  void operator-=(POINT p) { OffsetRect(-p.x, -p.y); }
  void operator-=(tagSIZE s) { OffsetRect(-s.cx, -s.cy); }
  CRect operator+(POINT p) const { return Moved(p.x, p.y); }
  CRect operator+(tagSIZE s) const { return Moved(s.cx, s.cy); }
  CRect operator-(POINT p) const { return Moved(-p.x, -p.y); }
  CRect operator-(tagSIZE s) const { return Moved(-s.cx, -s.cy); }

 private:
  CRect Moved(int dx, int dy) const {
    CRect r(*this);
    r.OffsetRect(dx, dy);
    return r;
  }
};

static_assert(sizeof(CPoint) == 2 * sizeof(int32_t), "a corner of a CRect is a CPoint");
static_assert(sizeof(CRect) == 4 * sizeof(int32_t), "CRect is its four edges");
