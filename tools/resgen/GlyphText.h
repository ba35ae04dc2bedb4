// GlyphText.h: text on a Canvas, in a real font. The bar's faces carry a
// few Chinese characters and Latin letters; they are rendered at build time
// from the installed WenQuanYi font with FreeType, anti-aliased, and blended
// over the canvas like every other shape.
//
// A GlyphFont owns its FreeType library and face. Text is UTF-8.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "tools/resgen/Canvas.h"

namespace resgen {

class GlyphFont {
 public:
  // Opens the font file (face index 0 of a collection). Check Ok().
  explicit GlyphFont(const char* path);
  ~GlyphFont();
  GlyphFont(const GlyphFont&) = delete;
  GlyphFont& operator=(const GlyphFont&) = delete;

  bool Ok() const { return m_face != nullptr; }
  const std::string& Error() const { return m_error; }

  // The advance width of text at pixel size px, in pixels.
  int TextWidth(const std::string& utf8, int px);
  // Draws text with its left edge at x and its baseline at baseline.
  // Returns the advance width.
  int Draw(Canvas& canvas, const std::string& utf8, int px, int x, int baseline, uint32_t rgb);
  // Draws text centred horizontally on cx, with its ink centred vertically
  // on cy.
  void DrawCentred(Canvas& canvas, const std::string& utf8, int px, double cx, double cy,
                   uint32_t rgb);

 private:
  // The vertical extent of the ink of text at px relative to the baseline
  // (top negative).
  void InkRows(const std::string& utf8, int px, int* top, int* bottom);

  void* m_library = nullptr;  // FT_Library
  void* m_face = nullptr;     // FT_Face
  std::string m_error;
};

// The font the generator draws with: the installed WenQuanYi Zen Hei, else
// Micro Hei. Null (with a message on stderr) when neither opens.
GlyphFont* DefaultGlyphFont();

// Blends rgb over pixel (x, y) by alpha (0 to 1); pixels outside are
// ignored.
void BlendPixel(Canvas& canvas, int x, int y, uint32_t rgb, double alpha);

}  // namespace resgen
