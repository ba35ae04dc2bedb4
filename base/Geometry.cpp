#include "base/Geometry.h"

#include <algorithm>

bool PtInRect(const tagRECT* r, POINT p) {
  return p.x >= r->left && p.x <= r->right && p.y >= r->top && p.y <= r->bottom;
}

void SetRect(tagRECT* r, int left, int top, int right, int bottom) {
  *r = tagRECT{left, top, right, bottom};
}

void SetRectEmpty(tagRECT* r) { *r = tagRECT{0, 0, 0, 0}; }

int CopyRect(tagRECT* dst, const tagRECT* src) {
  *dst = *src;
  return 1;
}

int InflateRect(tagRECT* r, int dx, int dy) {
  r->left -= dx;
  r->top -= dy;
  r->right += dx;
  r->bottom += dy;
  return 0;
}

bool IsRectEmpty(const tagRECT* r) { return r->left >= r->right || r->top >= r->bottom; }

int IntersectRect(tagRECT* dst, const tagRECT* a, const tagRECT* b) {
  const bool overlap = !IsRectEmpty(a) && !IsRectEmpty(b) && a->left < b->right &&
                       b->left < a->right && a->top < b->bottom && b->top < a->bottom;
  if (!overlap) {
    SetRectEmpty(dst);
    return 0;
  }
  *dst = tagRECT{std::max(a->left, b->left), std::max(a->top, b->top), std::min(a->right, b->right),
                 std::min(a->bottom, b->bottom)};
  return 1;
}

bool EqualRect(const tagRECT* a, const tagRECT* b) {
  return a->left == b->left && a->top == b->top && a->right == b->right && a->bottom == b->bottom;
}

int OffsetRect(tagRECT* r, int dx, int dy) {
  r->left += dx;
  r->right += dx;
  r->top += dy;
  r->bottom += dy;
  return 1;
}

int UnionRect(tagRECT* dst, const tagRECT* a, const tagRECT* b) {
  if (IsRectEmpty(a)) {
    *dst = *b;
  } else if (IsRectEmpty(b)) {
    *dst = *a;
  } else {
    *dst = tagRECT{std::min(a->left, b->left), std::min(a->top, b->top),
                   std::max(a->right, b->right), std::max(a->bottom, b->bottom)};
  }
  return 1;
}

CPoint CRect::CenterPoint() const {
  const int64_t cx = (static_cast<int64_t>(left) + right) / 2;
  const int64_t cy = (static_cast<int64_t>(top) + bottom) / 2;
  return CPoint(static_cast<int>(cx), static_cast<int>(cy));
}

void CRect::SwapLeftRight(tagRECT* r) { std::swap(r->left, r->right); }
