// bar.bmp (bitmap 161): the main bar's picture sheet, 344 by 100. Rows of
// 20-pixel faces that the bar copies to its cells (frontend/BarCells.h holds
// the places): row 0 the long bar's normal faces at each cell's own x, row
// 20 the same pressed, row 40 the faces of the modes that are off (English
// input, XingMa, half width, Latin punctuation, simplified output), rows 60
// and 80 the menu icon's five animation frames, the short bar's faces and
// two alternative faces of the mode cell.
//
// Every face is a small rounded button on the bar's grey with a one-pixel
// grey margin, so faces that share a column or a row on the sheet meet on
// grey. Pressed faces are darker, sunken, and their picture sits one pixel
// lower and to the right.
#include <cmath>
#include <string>

#include "tools/resgen/GlyphText.h"
#include "tools/resgen/ResImage.h"

namespace resgen {

namespace {

constexpr int kSheetW = 344, kSheetH = 100;
constexpr uint32_t kBarGrey = 0xC7C7C7;
constexpr uint32_t kFaceTop = 0xF7F8FA, kFaceBottom = 0xDCDFE5;
constexpr uint32_t kPressedTop = 0xAEB4C0, kPressedBottom = 0xCBD0D8;
constexpr uint32_t kEdge = 0x8E95A1, kPressedEdge = 0x5D6573;
constexpr uint32_t kHighlight = 0xFFFFFF, kShadow = 0x8A909C;
constexpr uint32_t kInk = 0x2F3542;
constexpr uint32_t kChnRed = 0xC41E2A, kChnBlue = 0x2158B8, kChnGreen = 0x1F8A4C;
constexpr uint32_t kEngSlate = 0x4B5D7A;
constexpr uint32_t kGold = 0xD99A16;
constexpr uint32_t kExitRed = 0xC23A2B;

uint32_t Lerp(uint32_t a, uint32_t b, double t) {
  uint32_t out = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const double x = (a >> shift) & 0xFF, y = (b >> shift) & 0xFF;
    out |= static_cast<uint32_t>(x + (y - x) * t + 0.5) << shift;
  }
  return out;
}

// One face: the cell at (x, y), w by h, pressed or not.
struct Face {
  int x, y, w, h;
  bool pressed;
  // The picture's centre, moved with the press.
  double Cx() const { return x + w / 2.0 + (pressed ? 1 : 0); }
  double Cy() const { return y + h / 2.0 + (pressed ? 1 : 0); }
  double Dx() const { return pressed ? 1 : 0; }
};

// The button: a one-pixel grey margin, an edge with rounded corners, a
// vertical gradient, and a highlight (normal) or shadow (pressed) line.
void Button(Canvas& c, const Face& f) {
  c.FillRect(f.x, f.y, f.x + f.w, f.y + f.h, kBarGrey);
  const int l = f.x + 1, t = f.y + 1, r = f.x + f.w - 1, b = f.y + f.h - 1;
  const uint32_t edge = f.pressed ? kPressedEdge : kEdge;
  c.FillRect(l + 1, t, r - 1, t + 1, edge);
  c.FillRect(l + 1, b - 1, r - 1, b, edge);
  c.FillRect(l, t + 1, l + 1, b - 1, edge);
  c.FillRect(r - 1, t + 1, r, b - 1, edge);
  for (int px : {l, r - 1}) {
    for (int py : {t, b - 1}) BlendPixel(c, px, py, edge, 0.35);
  }
  const int rows = b - t - 2;
  for (int i = 0; i < rows; ++i) {
    const double k = rows > 1 ? static_cast<double>(i) / (rows - 1) : 0;
    const uint32_t rgb =
        f.pressed ? Lerp(kPressedTop, kPressedBottom, k) : Lerp(kFaceTop, kFaceBottom, k);
    c.FillRect(l + 1, t + 1 + i, r - 1, t + 2 + i, rgb);
  }
  if (f.pressed) {
    c.FillRect(l + 1, t + 1, r - 1, t + 2, kShadow);
    c.FillRect(l + 1, t + 2, l + 2, b - 1, Lerp(kShadow, kPressedTop, 0.5));
  } else {
    for (int px = l + 2; px < r - 2; ++px) BlendPixel(c, px, t + 1, kHighlight, 0.8);
  }
}

void Text(Canvas& c, const std::string& s, int px, double cx, double cy, uint32_t rgb) {
  if (GlyphFont* font = DefaultGlyphFont()) font->DrawCentred(c, s, px, cx, cy, rgb);
}

// A rounded square badge with a white character: the mode's mark.
void Badge(Canvas& c, double cx, double cy, double side, uint32_t rgb, const std::string& ch) {
  const double h = side / 2, r = 2.6;
  // Corners clockwise from the top left, each a quarter circle.
  const double ox[4] = {cx - h + r, cx + h - r, cx + h - r, cx - h + r};
  const double oy[4] = {cy - h + r, cy - h + r, cy + h - r, cy + h - r};
  Contour box;
  for (int corner = 0; corner < 4; ++corner) {
    for (int i = 0; i <= 6; ++i) {
      const double a = (180 + corner * 90 + i * 15) * M_PI / 180;
      box.push_back({ox[corner] + r * std::cos(a), oy[corner] + r * std::sin(a)});
    }
  }
  c.FillPolygon(box, rgb);
  Text(c, ch, static_cast<int>(side - 3), cx, cy, 0xFFFFFF);
}

// ---- Pictures, each drawn on its face.

void ModeLong(Canvas& c, const Face& f, uint32_t rgb, const std::string& mark,
              const std::string& label) {
  Button(c, f);
  const double cy = f.Cy();
  Badge(c, f.x + 12 + f.Dx(), cy, 15, rgb, mark);
  Text(c, label, 12, f.x + 12 + (f.w - 12) / 2.0 + 3 + f.Dx(), cy, rgb);
}

void ModeShort(Canvas& c, const Face& f, uint32_t rgb, const std::string& mark) {
  Button(c, f);
  Badge(c, f.Cx(), f.Cy(), 14, rgb, mark);
}

void Label(Canvas& c, const Face& f, const std::string& s, int px, uint32_t rgb) {
  Button(c, f);
  Text(c, s, px, f.Cx(), f.Cy(), rgb);
}

void Keyboard(Canvas& c, const Face& f) {
  Button(c, f);
  const double l = f.x + 3.5 + f.Dx(), t = f.y + 5.5 + f.Dx();
  c.FillPolygon({{l, t}, {l + 13, t}, {l + 13, t + 9}, {l, t + 9}}, kInk);
  c.FillPolygon({{l + 1, t + 1}, {l + 12, t + 1}, {l + 12, t + 8}, {l + 1, t + 8}}, 0xFFFFFF);
  const int kx = static_cast<int>(l) + 2, ky = static_cast<int>(t) + 2;
  for (int row = 0; row < 2; ++row) {
    for (int k = 0; k < 5; ++k)
      c.FillRect(kx + k * 2, ky + row * 2, kx + k * 2 + 1, ky + row * 2 + 1, kInk);
  }
  c.FillRect(kx + 2, ky + 4, kx + 8, ky + 5, kInk);  // the space bar
}

void Moon(Canvas& c, const Face& f, bool full) {
  Button(c, f);
  const PointF centre{f.Cx(), f.Cy()};
  if (full) {
    c.FillDisc(centre, 5.6, kGold);
    return;
  }
  Contour half;
  for (int i = 0; i <= 24; ++i) {
    const double a = (90 + i * 7.5) * M_PI / 180;
    half.push_back({centre.x + 5.6 * std::cos(a), centre.y + 5.6 * std::sin(a)});
  }
  c.FillPolygon(half, kGold);
  std::vector<PointF> ring;
  for (int i = 0; i <= 48; ++i) {
    const double a = i * 7.5 * M_PI / 180;
    ring.push_back({centre.x + 5.0 * std::cos(a), centre.y + 5.0 * std::sin(a)});
  }
  c.StrokePolyline(ring, 1.2, kGold);
}

void Punctuation(Canvas& c, const Face& f, bool chinese) {
  Button(c, f);
  const double cx = f.Cx(), cy = f.Cy();
  const uint32_t ink = chinese ? kChnRed : kInk;
  // A comma: a dot with a tail.
  c.FillDisc({cx - 3.5, cy + 2.0}, 1.6, ink);
  c.StrokePolyline({{cx - 2.3, cy + 2.4}, {cx - 2.6, cy + 4.3}, {cx - 4.4, cy + 5.6}}, 1.2, ink);
  if (chinese) {
    std::vector<PointF> ring;
    for (int i = 0; i <= 24; ++i) {
      const double a = i * 15 * M_PI / 180;
      ring.push_back({cx + 3.5 + 2.3 * std::cos(a), cy + 3.0 + 2.3 * std::sin(a)});
    }
    c.StrokePolyline(ring, 1.2, ink);
  } else {
    c.FillDisc({cx + 3.5, cy + 3.5}, 1.6, ink);
  }
}

void Gear(Canvas& c, const Face& f) {
  Button(c, f);
  const double cx = f.Cx(), cy = f.Cy();
  Contour gear;
  for (int i = 0; i < 32; ++i) {
    const double a = i * (2 * M_PI / 32);
    const double r = (i % 4 < 2) ? 6.6 : 4.9;
    gear.push_back({cx + r * std::cos(a + M_PI / 32), cy + r * std::sin(a + M_PI / 32)});
  }
  c.FillPolygon(gear, 0x566173);
  c.FillDisc({cx, cy}, 2.1, f.pressed ? kPressedBottom : kFaceBottom);
}

void Magnifier(Canvas& c, const Face& f) {
  Button(c, f);
  const double cx = f.Cx() - 1.5, cy = f.Cy() - 1.5;
  std::vector<PointF> ring;
  for (int i = 0; i <= 36; ++i) {
    const double a = i * 10 * M_PI / 180;
    ring.push_back({cx + 3.9 * std::cos(a), cy + 3.9 * std::sin(a)});
  }
  c.FillDisc({cx, cy}, 3.6, 0xDDEBFA);
  c.StrokePolyline(ring, 1.6, 0x3A4556);
  c.StrokeLine({cx + 3.0, cy + 3.0}, {cx + 6.6, cy + 6.6}, 2.4, 0x3A4556);
}

void Pencil(Canvas& c, const Face& f) {
  Button(c, f);
  const double cx = f.Cx(), cy = f.Cy();
  c.StrokeLine({cx - 3.8, cy + 3.8}, {cx + 4.2, cy - 4.2}, 3.4, 0xE0A030);
  c.StrokeLine({cx + 3.2, cy - 3.2}, {cx + 4.8, cy - 4.8}, 3.4, 0xD0606A);
  c.FillPolygon({{cx - 6.0, cy + 6.0}, {cx - 5.0, cy + 2.6}, {cx - 2.6, cy + 5.0}}, kInk);
}

void Help(Canvas& c, const Face& f) {
  Button(c, f);
  c.FillDisc({f.Cx(), f.Cy()}, 6.8, kChnBlue);
  Text(c, "?", 12, f.Cx(), f.Cy(), 0xFFFFFF);
}

void Grip(Canvas& c, const Face& f) {
  Button(c, f);
  for (int col = 0; col < 2; ++col) {
    for (int row = 0; row < 4; ++row) {
      const int x = f.x + 7 + col * 4 + static_cast<int>(f.Dx());
      const int y = f.y + 4 + row * 3 + static_cast<int>(f.Dx());
      c.FillRect(x, y, x + 2, y + 2, 0x6B7383);
      c.FillRect(x + 1, y + 1, x + 2, y + 2, 0xFFFFFF);
    }
  }
}

void Power(Canvas& c, const Face& f) {
  Button(c, f);
  const double cx = f.Cx(), cy = f.Cy() + 0.5;
  // The arc opens at the top, where the switch's line stands.
  std::vector<PointF> open;
  for (int a = 35; a <= 325; a += 10) {
    const double r = a * M_PI / 180;
    open.push_back({cx + 5.2 * std::sin(r), cy - 5.2 * std::cos(r)});
  }
  c.StrokePolyline(open, 1.8, kExitRed);
  c.StrokeLine({cx, cy - 6.8}, {cx, cy - 1.2}, 1.8, kExitRed);
}

// The menu cell: a 22-wide button with a small arrow, and the logo drawn
// over its left 20 columns in five frames (a sparkle circles the logo).
void MenuButton(Canvas& c, const Face& f) {
  Button(c, f);
  const double ax = f.x + 18.5 + f.Dx(), ay = f.Cy() + 1;
  c.FillPolygon({{ax - 2, ay - 1}, {ax + 2, ay - 1}, {ax, ay + 1.5}}, kInk);
}

void Logo(Canvas& c, double cx, double cy, int frame) {
  c.FillDisc({cx, cy}, 6.3, kChnRed);
  c.FillDisc({cx - 1.1, cy - 1.5}, 2.7, 0xD8434E);
  Text(c, "K", 10, cx, cy, 0xFFFFFF);
  if (frame == 0) return;
  const double a = (frame * 90 - 45) * M_PI / 180;
  const double sx = cx + 6.2 * std::cos(a), sy = cy + 6.2 * std::sin(a);
  c.FillPolygon({{sx, sy - 3},
                 {sx + 0.8, sy - 0.8},
                 {sx + 3, sy},
                 {sx + 0.8, sy + 0.8},
                 {sx, sy + 3},
                 {sx - 0.8, sy + 0.8},
                 {sx - 3, sy},
                 {sx - 0.8, sy - 0.8}},
                kGold);
}

void IconFrame(Canvas& sheet, int frame, bool pressed) {
  // Drawn on a menu button of its own, of which the left 20 columns go to
  // the sheet: they replace those columns of the menu cell's face.
  Canvas cell(22, 20, kBarGrey);
  const Face f{0, 0, 22, 20, pressed};
  MenuButton(cell, f);
  Logo(cell, 8.5 + f.Dx(), 10 + f.Dx(), frame);
  const int x0 = frame * 20, y0 = pressed ? 80 : 60;
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 20; ++x)
      sheet.FillRect(x0 + x, y0 + y, x0 + x + 1, y0 + y + 1, cell.Pixel(x, y));
  }
}

// The faces of one row pair (normal at y, pressed at y + 20).
template <class Draw>
void Pair(Canvas& c, int x, int y, int w, Draw draw) {
  draw(c, Face{x, y, w, 20, false});
  draw(c, Face{x, y + 20, w, 20, true});
}

Canvas DrawBarSheet() {
  Canvas c(kSheetW, kSheetH, kBarGrey);
  const char* const kChn = "\xE4\xB8\xAD";                   // 中
  const char* const kChnLabel = "\xE4\xB8\xAD\xE6\x96\x87";  // 中文
  // ---- Rows 0 and 20: the long bar.
  // The menu cell's button; the icon frames cover its left 20 columns.
  Pair(c, 0, 0, 22, MenuButton);
  Pair(c, 28, 0, 76, [&](Canvas& k, const Face& f) { ModeLong(k, f, kChnRed, kChn, kChnLabel); });
  // The mode cell's pressed face is its normal one (the cell switches at
  // once).
  ModeLong(c, Face{28, 20, 76, 20, false}, kChnRed, kChn, kChnLabel);
  Pair(c, 103, 0, 31, [](Canvas& k, const Face& f) {
    Label(k, f, "\xE6\x8B\xBC\xE9\x9F\xB3", 11, kChnBlue);  // 拼音
  });
  Pair(c, 134, 0, 20, Keyboard);
  Pair(c, 154, 0, 20, [](Canvas& k, const Face& f) {
    Label(k, f, "\xE7\xB9\x81", 13, kChnRed);  // 繁
  });
  Pair(c, 174, 0, 20, [](Canvas& k, const Face& f) { Moon(k, f, true); });
  Pair(c, 194, 0, 20, [](Canvas& k, const Face& f) { Punctuation(k, f, true); });
  Pair(c, 214, 0, 20, Gear);
  Pair(c, 234, 0, 20, Magnifier);
  Pair(c, 254, 0, 20, Pencil);
  Pair(c, 274, 0, 20, Help);
  Pair(c, 294, 0, 20, Grip);
  Pair(c, 314, 0, 20, Power);
  // ---- Row 40: the modes that are off, normal and pressed side by side.
  for (int i = 0; i < 2; ++i) {
    const bool p = i == 1;
    ModeLong(c, Face{i * 75, 40, 75, 20, p}, kEngSlate, "A", "English");
    Label(c, Face{152 + i * 31, 40, 31, 20, p}, "\xE5\xBD\xA2\xE7\xA0\x81", 11, kChnGreen);  // 形码
    Moon(c, Face{215 + i * 20, 40, 20, 20, p}, false);
    Punctuation(c, Face{255 + i * 20, 40, 20, 20, p}, false);
    Label(c, Face{295 + i * 20, 40, 20, 20, p}, "\xE7\xAE\x80", 13, kChnBlue);  // 简
  }
  // ---- Rows 60 and 80: icon frames and the short bar.
  for (int frame = 0; frame < 5; ++frame) {
    IconFrame(c, frame, false);
    IconFrame(c, frame, true);
  }
  Pair(c, 102, 60, 20, [&](Canvas& k, const Face& f) { ModeShort(k, f, kChnRed, kChn); });
  Pair(c, 121, 60, 20, Keyboard);
  Pair(c, 141, 59, 20, [](Canvas& k, const Face& f) { Moon(k, f, true); });
  Pair(c, 161, 59, 20, [](Canvas& k, const Face& f) { Punctuation(k, f, true); });
  Pair(c, 181, 60, 20, Gear);
  Pair(c, 202, 60, 20, Help);
  Pair(c, 223, 60, 20, [](Canvas& k, const Face& f) { ModeShort(k, f, kEngSlate, "A"); });
  Grip(c, Face{242, 60, 20, 20, false});
  // The mode cell's alternative faces (ICON1 1 and 2).
  ModeLong(c, Face{266, 60, 76, 20, false}, kChnBlue, kChn, kChnLabel);
  ModeLong(c, Face{266, 80, 76, 20, false}, kChnGreen, kChn, kChnLabel);
  return c;
}

const RegisterResImage reg{"bar.bmp", &DrawBarSheet};

}  // namespace

}  // namespace resgen
