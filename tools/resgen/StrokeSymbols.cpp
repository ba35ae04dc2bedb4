// bihua.bmp: the stroke symbols the keys pane shows for typed stroke keys,
// one 6 by 12 cell a stroke, in the order of the stroke keys "-=[];":
// héng (horizontal), shù (vertical), piě (falling left), diǎn (dot) and
// zhé (turning). The pane copies cell i from x = 6 i.
#include "tools/resgen/PaneColours.h"
#include "tools/resgen/ResImage.h"

namespace resgen {

namespace {

constexpr int kCellW = 6;
constexpr int kCellH = 12;
constexpr int kStrokes = 5;
constexpr uint32_t kInk = 0x416222;  // the keys pane's stroke colour
constexpr double kPen = 1.3;

Canvas DrawStrokeSymbols() {
  Canvas c(kCellW * kStrokes, kCellH, kPaneBackground);
  auto at = [](int cell, double x, double y) { return PointF{cell * kCellW + x, y}; };
  // Straight strokes run along pixel centres so they stay crisp.
  // héng: a horizontal.
  c.StrokeLine(at(0, 0.9, 6.5), at(0, 5.1, 6.5), kPen, kInk);
  // shù: a vertical.
  c.StrokeLine(at(1, 2.5, 2.0), at(1, 2.5, 10.0), kPen, kInk);
  // piě: from the upper right sweeping down to the left.
  c.StrokePolyline({at(2, 4.6, 2.2), at(2, 4.3, 5.0), at(2, 3.3, 7.8), at(2, 1.2, 10.0)}, kPen,
                   kInk);
  // diǎn: a short stroke down to the right ending in a heavier point.
  c.StrokeLine(at(3, 2.0, 4.4), at(3, 3.7, 7.2), kPen, kInk);
  c.FillDisc(at(3, 3.7, 7.4), 1.05, kInk);
  // zhé: across, then down.
  c.StrokePolyline({at(4, 0.9, 3.5), at(4, 4.5, 3.5), at(4, 4.5, 10.0)}, kPen, kInk);
  return c;
}

const RegisterResImage reg{"bihua.bmp", &DrawStrokeSymbols};

}  // namespace

}  // namespace resgen
