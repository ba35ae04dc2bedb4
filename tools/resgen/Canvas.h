// Canvas.h: the drawing surface of the image generator. A 24-bit RGB picture
// with filled rectangles and anti-aliased shapes (polygons, thick lines with
// round ends, discs), each shape blended over what is already there by the
// share of the pixel it covers. Coordinates are pixels with (0, 0) at the
// top-left corner of the top-left pixel, so the centre of pixel (x, y) is
// (x + 0.5, y + 0.5). Everything outside the picture is clipped.
//
// Colours are 0xRRGGBB. The canvas owns its pixels; copies are plain values.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace resgen {

struct PointF {
  double x, y;
};

// One closed outline; the last point joins the first.
using Contour = std::vector<PointF>;

class Canvas {
 public:
  // A width by height picture filled with background. Sizes below 1 count
  // as 1 and above kMaxSide as kMaxSide: the generator draws small icons.
  Canvas(int width, int height, uint32_t background);

  static constexpr int kMaxSide = 4096;

  int Width() const { return m_width; }
  int Height() const { return m_height; }
  // 0xRRGGBB of pixel (x, y); 0 outside the picture.
  uint32_t Pixel(int x, int y) const;

  // Whole pixels from (left, top) up to, not including, (right, bottom).
  void FillRect(int left, int top, int right, int bottom, uint32_t rgb);
  // The union of the contours: a point is inside when any contour holds it
  // (even-odd rule within each contour). Contours of fewer than three points
  // add nothing.
  void FillShape(const std::vector<Contour>& contours, uint32_t rgb);
  void FillPolygon(const Contour& polygon, uint32_t rgb) { FillShape({polygon}, rgb); }
  // A line of the given width along the points, with round ends and joins.
  void StrokePolyline(const std::vector<PointF>& points, double width, uint32_t rgb);
  void StrokeLine(PointF a, PointF b, double width, uint32_t rgb) {
    StrokePolyline({a, b}, width, rgb);
  }
  void FillDisc(PointF centre, double radius, uint32_t rgb);

  // The picture as a BMP file: BITMAPFILEHEADER, BITMAPINFOHEADER (40
  // bytes), 24 bits a pixel, rows bottom-up, each padded to 4 bytes.
  std::vector<uint8_t> ToBmp() const;

 private:
  void Blend(int x, int y, uint32_t rgb, double alpha);

  int m_width;
  int m_height;
  std::vector<uint32_t> m_pixels;  // row-major, top row first
};

// The outline of a disc as a polygon of enough points for the radius.
Contour DiscContour(PointF centre, double radius);

// Writes bytes to path through a temporary file beside it, renamed over the
// target once complete. False with *error set ("<path>: <reason>") on
// failure; the target is then left as it was.
[[nodiscard]] bool WriteFileBytes(const char* path, const std::vector<uint8_t>& bytes,
                                  std::string* error);

}  // namespace resgen
