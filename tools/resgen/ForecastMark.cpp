// forecast.bmp: the 14 by 14 mark at the left of the forecast pane, a blue
// disc with a white double chevron pointing on to the words that may follow.
#include "tools/resgen/PaneColours.h"
#include "tools/resgen/ResImage.h"

namespace resgen {

namespace {

constexpr uint32_t kDisc = 0x3B6FC8;
constexpr uint32_t kChevron = 0xFFFFFF;

Canvas DrawForecastMark() {
  Canvas c(14, 14, kPaneBackground);
  c.FillDisc({7.0, 7.0}, 6.6, kDisc);
  c.StrokePolyline({{4.0, 4.0}, {6.8, 7.0}, {4.0, 10.0}}, 1.5, kChevron);
  c.StrokePolyline({{7.6, 4.0}, {10.4, 7.0}, {7.6, 10.0}}, 1.5, kChevron);
  return c;
}

const RegisterResImage reg{"forecast.bmp", &DrawForecastMark};

}  // namespace

}  // namespace resgen
