#include "tools/resgen/KeyboardPicture.h"

#include <cmath>

namespace resgen {

namespace {

// A rounded rectangle's outline, radius r at each corner.
Contour RoundRect(double x, double y, double w, double h, double r) {
  Contour out;
  const struct {
    double cx, cy, from;
  } corners[] = {{x + w - r, y + r, -90},
                 {x + w - r, y + h - r, 0},
                 {x + r, y + h - r, 90},
                 {x + r, y + r, 180}};
  for (const auto& k : corners) {
    for (int i = 0; i <= 6; ++i) {
      const double a = (k.from + 15.0 * i) * M_PI / 180;
      out.push_back({k.cx + r * std::cos(a), k.cy + r * std::sin(a)});
    }
  }
  return out;
}

}  // namespace

void DrawKey(Canvas& c, double x, double y, double w, double h, uint32_t face, uint32_t edge) {
  constexpr double kRadius = 6;
  c.FillPolygon(RoundRect(x, y + 1, w, h, kRadius), edge);  // the lip
  c.FillPolygon(RoundRect(x, y, w, h, kRadius), edge);
  c.FillPolygon(RoundRect(x + 1, y + 1, w - 2, h - 2, kRadius - 1), face);
}

int DrawText(Canvas& c, const std::string& utf8, int px, double x, double baseline, uint32_t rgb) {
  GlyphFont* font = DefaultGlyphFont();
  if (!font) return 0;
  return font->Draw(c, utf8, px, static_cast<int>(std::lround(x)),
                    static_cast<int>(std::lround(baseline)), rgb);
}

void DrawTextCentred(Canvas& c, const std::string& utf8, int px, double cx, double cy,
                     uint32_t rgb) {
  if (GlyphFont* font = DefaultGlyphFont()) font->DrawCentred(c, utf8, px, cx, cy, rgb);
}

int TextWidth(const std::string& utf8, int px) {
  GlyphFont* font = DefaultGlyphFont();
  return font ? font->TextWidth(utf8, px) : 0;
}

}  // namespace resgen
