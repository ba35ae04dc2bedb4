// arrows.bmp and arrows2.bmp: the page arrows of the candidate panes.
// arrows.bmp (14 by 49) stands right of the multi-row layout, whose lines
// are stacked: an up and a down arrow. arrows2.bmp (58 by 14) lies under the
// parallel layout, whose columns stand side by side: a left and a right
// arrow. Both sit in a pane-coloured box with the panes' border.
#include "tools/resgen/PaneColours.h"
#include "tools/resgen/ResImage.h"

namespace resgen {

namespace {

constexpr uint32_t kArrow = 0x3C3C9C;
constexpr uint32_t kDivider = 0xD8D0D8;

// A triangle with softly rounded corners: the filled triangle plus its
// outline drawn with a round pen.
void Arrow(Canvas& c, PointF a, PointF b, PointF d) {
  c.FillPolygon({a, b, d}, kArrow);
  c.StrokePolyline({a, b, d, a}, 1.2, kArrow);
}

void Frame(Canvas& c) {
  const int w = c.Width(), h = c.Height();
  c.FillRect(0, 0, w, 1, kPaneBorder);
  c.FillRect(0, h - 1, w, h, kPaneBorder);
  c.FillRect(0, 0, 1, h, kPaneBorder);
  c.FillRect(w - 1, 0, w, h, kPaneBorder);
}

Canvas DrawUpDownArrows() {
  Canvas c(14, 49, kPaneBackground);
  Frame(c);
  c.FillRect(3, 24, 11, 25, kDivider);
  Arrow(c, {7.0, 8.0}, {11.0, 15.5}, {3.0, 15.5});
  Arrow(c, {3.0, 33.5}, {11.0, 33.5}, {7.0, 41.0});
  return c;
}

Canvas DrawLeftRightArrows() {
  Canvas c(58, 14, kPaneBackground);
  Frame(c);
  c.FillRect(29, 3, 30, 11, kDivider);
  Arrow(c, {17.0, 7.0}, {24.5, 3.0}, {24.5, 11.0});
  Arrow(c, {34.5, 3.0}, {42.0, 7.0}, {34.5, 11.0});
  return c;
}

const RegisterResImage regUpDown{"arrows.bmp", &DrawUpDownArrows};
const RegisterResImage regLeftRight{"arrows2.bmp", &DrawLeftRightArrows};

}  // namespace

}  // namespace resgen
