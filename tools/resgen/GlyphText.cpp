#include "tools/resgen/GlyphText.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdio>
#include <vector>

namespace resgen {

namespace {

FT_Library Lib(void* p) { return static_cast<FT_Library>(p); }
FT_Face Face(void* p) { return static_cast<FT_Face>(p); }

// The code points of UTF-8 text; a malformed byte stands for itself.
std::vector<uint32_t> CodePoints(const std::string& s) {
  std::vector<uint32_t> out;
  for (size_t i = 0; i < s.size();) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    int n = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
    if (n < 0 || (n > 0 && i + n >= s.size())) {
      out.push_back(c);
      ++i;
      continue;
    }
    uint32_t cp = n == 0 ? c : c & (0x3F >> n);
    for (int k = 1; k <= n; ++k) cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    out.push_back(cp);
    i += n + 1;
  }
  return out;
}

uint32_t Mix(uint32_t under, uint32_t over, double a) {
  uint32_t out = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const double u = (under >> shift) & 0xFF, o = (over >> shift) & 0xFF;
    const int v = static_cast<int>(u + (o - u) * a + 0.5);
    out |= static_cast<uint32_t>(v < 0 ? 0 : v > 255 ? 255 : v) << shift;
  }
  return out;
}

}  // namespace

void BlendPixel(Canvas& canvas, int x, int y, uint32_t rgb, double alpha) {
  if (x < 0 || y < 0 || x >= canvas.Width() || y >= canvas.Height() || alpha <= 0) return;
  if (alpha > 1) alpha = 1;
  canvas.FillRect(x, y, x + 1, y + 1, Mix(canvas.Pixel(x, y), rgb, alpha));
}

GlyphFont::GlyphFont(const char* path) {
  FT_Library lib = nullptr;
  if (FT_Init_FreeType(&lib) != 0) {
    m_error = "FreeType cannot start";
    return;
  }
  m_library = lib;
  FT_Face face = nullptr;
  if (FT_New_Face(lib, path, 0, &face) != 0) {
    m_error = std::string(path) + ": not a font FreeType can open";
    return;
  }
  m_face = face;
}

GlyphFont::~GlyphFont() {
  if (m_face) FT_Done_Face(Face(m_face));
  if (m_library) FT_Done_FreeType(Lib(m_library));
}

int GlyphFont::TextWidth(const std::string& utf8, int px) {
  if (!m_face) return 0;
  FT_Face face = Face(m_face);
  FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(px));
  int width = 0;
  for (uint32_t cp : CodePoints(utf8)) {
    if (FT_Load_Char(face, cp, FT_LOAD_NO_BITMAP) == 0) width += face->glyph->advance.x >> 6;
  }
  return width;
}

int GlyphFont::Draw(Canvas& canvas, const std::string& utf8, int px, int x, int baseline,
                    uint32_t rgb) {
  if (!m_face) return 0;
  FT_Face face = Face(m_face);
  FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(px));
  int pen = x;
  for (uint32_t cp : CodePoints(utf8)) {
    if (FT_Load_Char(face, cp, FT_LOAD_RENDER | FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_NORMAL) != 0)
      continue;
    const FT_GlyphSlot g = face->glyph;
    const FT_Bitmap& bm = g->bitmap;
    if (bm.pixel_mode == FT_PIXEL_MODE_GRAY) {
      for (unsigned row = 0; row < bm.rows; ++row) {
        const unsigned char* line = bm.buffer + static_cast<long>(row) * bm.pitch;
        for (unsigned col = 0; col < bm.width; ++col) {
          BlendPixel(canvas, pen + g->bitmap_left + static_cast<int>(col),
                     baseline - g->bitmap_top + static_cast<int>(row), rgb, line[col] / 255.0);
        }
      }
    }
    pen += g->advance.x >> 6;
  }
  return pen - x;
}

void GlyphFont::InkRows(const std::string& utf8, int px, int* top, int* bottom) {
  *top = 0;
  *bottom = 0;
  if (!m_face) return;
  FT_Face face = Face(m_face);
  FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(px));
  bool any = false;
  for (uint32_t cp : CodePoints(utf8)) {
    if (FT_Load_Char(face, cp, FT_LOAD_RENDER | FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_NORMAL) != 0)
      continue;
    const FT_GlyphSlot g = face->glyph;
    if (g->bitmap.rows == 0) continue;
    const int t = -g->bitmap_top, b = -g->bitmap_top + static_cast<int>(g->bitmap.rows);
    if (!any || t < *top) *top = t;
    if (!any || b > *bottom) *bottom = b;
    any = true;
  }
}

void GlyphFont::DrawCentred(Canvas& canvas, const std::string& utf8, int px, double cx, double cy,
                            uint32_t rgb) {
  int top = 0, bottom = 0;
  InkRows(utf8, px, &top, &bottom);
  const int width = TextWidth(utf8, px);
  const int x = static_cast<int>(cx - width / 2.0 + 0.5);
  const int baseline = static_cast<int>(cy - (top + bottom) / 2.0 + 0.5);
  Draw(canvas, utf8, px, x, baseline, rgb);
}

GlyphFont* DefaultGlyphFont() {
  static const std::unique_ptr<GlyphFont> font = [] {
    static const char* const kPaths[] = {"/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc",
                                         "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"};
    for (const char* path : kPaths) {
      auto f = std::make_unique<GlyphFont>(path);
      if (f->Ok()) return f;
      std::fprintf(stderr, "kvrresgen: %s\n", f->Error().c_str());
    }
    return std::unique_ptr<GlyphFont>();
  }();
  return font.get();
}

}  // namespace resgen
