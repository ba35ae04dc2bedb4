// tips.bmp (bitmap 120): the picture in the bottom-right corner of the tips
// dialog's white tip area, 64 by 72: a lit bulb with a soft glow and rays,
// on white so that it sits in the area without a frame.
#include <cmath>

#include "tools/resgen/ResImage.h"

namespace resgen {

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kGlow = 0xFFF4C2;
constexpr uint32_t kGlass = 0xFFD84A;
constexpr uint32_t kGlassLight = 0xFFF0A8;
constexpr uint32_t kFilament = 0xE07B00;
constexpr uint32_t kBase = 0x8C93A0;
constexpr uint32_t kBaseDark = 0x5E6572;
constexpr uint32_t kRay = 0xF2B705;

Canvas DrawTipArea() {
  Canvas c(64, 72, kWhite);
  const PointF bulb{32.0, 28.0};
  c.FillDisc(bulb, 24.0, kGlow);
  // Rays between the glow and the bulb.
  for (int i = 0; i < 7; ++i) {
    const double a = (-180 + 30 * i) * M_PI / 180;
    c.StrokeLine({bulb.x + 19.5 * std::cos(a), bulb.y + 19.5 * std::sin(a)},
                 {bulb.x + 25.5 * std::cos(a), bulb.y + 25.5 * std::sin(a)}, 2.2, kRay);
  }
  // The glass: a disc over a neck that narrows towards the base.
  c.FillShape({DiscContour(bulb, 14.0), {{21.5, 34.0}, {42.5, 34.0}, {38.5, 47.0}, {25.5, 47.0}}},
              kGlass);
  c.FillDisc({26.5, 22.5}, 5.0, kGlassLight);
  // The filament.
  c.StrokePolyline({{27.0, 46.0},
                    {27.5, 33.0},
                    {30.0, 29.5},
                    {32.0, 33.0},
                    {34.0, 29.5},
                    {36.5, 33.0},
                    {37.0, 46.0}},
                   1.4, kFilament);
  // The screw base: three bands and the contact.
  for (int i = 0; i < 3; ++i) {
    const double y = 48.0 + i * 4.0;
    c.FillPolygon({{24.5, y}, {39.5, y}, {39.5, y + 3.2}, {24.5, y + 3.2}},
                  i % 2 ? kBaseDark : kBase);
  }
  c.FillPolygon({{27.0, 60.0}, {37.0, 60.0}, {34.5, 64.5}, {29.5, 64.5}}, kBaseDark);
  return c;
}

const RegisterResImage reg{"tips.bmp", &DrawTipArea};

}  // namespace

}  // namespace resgen
