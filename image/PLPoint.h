// PLPoint.h: an integer point or size of the image classes (width and height
// of a bitmap, dots per inch of its resolution).
#pragma once

#include <cstdint>

class PLPoint {
 public:
  int32_t x;
  int32_t y;

  // Leaves x and y unset, as the bitmap description's own fields are until
  // they are given values.
  PLPoint() = default;
  PLPoint(int32_t x_, int32_t y_) : x(x_), y(y_) {}

  bool operator==(const PLPoint& o) const { return x == o.x && y == o.y; }
  bool operator!=(const PLPoint& o) const { return !(*this == o); }
};
