#include "tools/resgen/Canvas.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "base/ByteOrder.h"

namespace resgen {

namespace {

// Samples a pixel side: 8 x 8 = 64 coverage levels, plenty for icons.
constexpr int kSamples = 8;
constexpr double kPi = 3.14159265358979323846;

bool ContourHolds(const Contour& c, double x, double y) {
  bool inside = false;
  for (size_t i = 0, j = c.size() - 1; i < c.size(); j = i++) {
    const PointF& a = c[i];
    const PointF& b = c[j];
    if ((a.y > y) != (b.y > y)) {
      const double xCross = a.x + (y - a.y) * (b.x - a.x) / (b.y - a.y);
      if (x < xCross) inside = !inside;
    }
  }
  return inside;
}

uint8_t Mix(uint32_t under, uint32_t over, int shift, double alpha) {
  const double u = (under >> shift) & 0xFF;
  const double o = (over >> shift) & 0xFF;
  return static_cast<uint8_t>(std::lround(u + (o - u) * alpha));
}

}  // namespace

Canvas::Canvas(int width, int height, uint32_t background)
    : m_width(std::clamp(width, 1, kMaxSide)),
      m_height(std::clamp(height, 1, kMaxSide)),
      m_pixels(static_cast<size_t>(m_width) * m_height, background & 0xFFFFFF) {}

uint32_t Canvas::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= m_width || y >= m_height) return 0;
  return m_pixels[static_cast<size_t>(y) * m_width + x];
}

void Canvas::Blend(int x, int y, uint32_t rgb, double alpha) {
  uint32_t& p = m_pixels[static_cast<size_t>(y) * m_width + x];
  if (alpha >= 1.0) {
    p = rgb & 0xFFFFFF;
    return;
  }
  p = (uint32_t{Mix(p, rgb, 16, alpha)} << 16) | (uint32_t{Mix(p, rgb, 8, alpha)} << 8) |
      Mix(p, rgb, 0, alpha);
}

void Canvas::FillRect(int left, int top, int right, int bottom, uint32_t rgb) {
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, m_width);
  bottom = std::min(bottom, m_height);
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x) Blend(x, y, rgb, 1.0);
}

void Canvas::FillShape(const std::vector<Contour>& contours, uint32_t rgb) {
  double minX = m_width, minY = m_height, maxX = 0, maxY = 0;
  bool any = false;
  for (const Contour& c : contours) {
    if (c.size() < 3) continue;
    any = true;
    for (const PointF& p : c) {
      minX = std::min(minX, p.x);
      minY = std::min(minY, p.y);
      maxX = std::max(maxX, p.x);
      maxY = std::max(maxY, p.y);
    }
  }
  if (!any) return;
  const int x0 = std::max(0, static_cast<int>(std::floor(minX)));
  const int y0 = std::max(0, static_cast<int>(std::floor(minY)));
  const int x1 = std::min(m_width, static_cast<int>(std::ceil(maxX)));
  const int y1 = std::min(m_height, static_cast<int>(std::ceil(maxY)));
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) {
      int hits = 0;
      for (int sy = 0; sy < kSamples; ++sy) {
        const double py = y + (sy + 0.5) / kSamples;
        for (int sx = 0; sx < kSamples; ++sx) {
          const double px = x + (sx + 0.5) / kSamples;
          for (const Contour& c : contours) {
            if (c.size() >= 3 && ContourHolds(c, px, py)) {
              ++hits;
              break;
            }
          }
        }
      }
      if (hits > 0) Blend(x, y, rgb, static_cast<double>(hits) / (kSamples * kSamples));
    }
  }
}

Contour DiscContour(PointF centre, double radius) {
  const int n = std::max(12, static_cast<int>(std::ceil(radius * 8)));
  Contour c;
  c.reserve(n);
  for (int i = 0; i < n; ++i) {
    const double a = 2 * kPi * i / n;
    c.push_back({centre.x + radius * std::cos(a), centre.y + radius * std::sin(a)});
  }
  return c;
}

void Canvas::FillDisc(PointF centre, double radius, uint32_t rgb) {
  FillShape({DiscContour(centre, radius)}, rgb);
}

void Canvas::StrokePolyline(const std::vector<PointF>& points, double width, uint32_t rgb) {
  // The union of one rectangle per segment and one disc per point: the discs
  // give the round ends and fill the gaps at the joins. Blending the union
  // once keeps overlapping parts from getting darker.
  const double r = width / 2;
  std::vector<Contour> shape;
  for (size_t i = 0; i < points.size(); ++i) {
    shape.push_back(DiscContour(points[i], r));
    if (i == 0) continue;
    const PointF a = points[i - 1];
    const PointF b = points[i];
    const double len = std::hypot(b.x - a.x, b.y - a.y);
    if (len == 0) continue;
    const double nx = -(b.y - a.y) / len * r;
    const double ny = (b.x - a.x) / len * r;
    shape.push_back(
        {{a.x + nx, a.y + ny}, {b.x + nx, b.y + ny}, {b.x - nx, b.y - ny}, {a.x - nx, a.y - ny}});
  }
  FillShape(shape, rgb);
}

std::vector<uint8_t> Canvas::ToBmp() const {
  constexpr uint32_t kFileHeader = 14;
  constexpr uint32_t kInfoHeader = 40;
  const uint32_t rowBytes = (static_cast<uint32_t>(m_width) * 3 + 3) & ~3u;
  const uint32_t imageBytes = rowBytes * static_cast<uint32_t>(m_height);
  const uint32_t fileBytes = kFileHeader + kInfoHeader + imageBytes;
  std::vector<uint8_t> out(fileBytes, 0);
  uint8_t* p = out.data();
  // BITMAPFILEHEADER (all fields little-endian)
  p[0] = 'B';
  p[1] = 'M';
  little_endian::Store32(p + 2, fileBytes);
  little_endian::Store32(p + 10, kFileHeader + kInfoHeader);  // offset of the pixels
  // BITMAPINFOHEADER
  p += kFileHeader;
  little_endian::Store32(p + 0, kInfoHeader);
  little_endian::Store32(p + 4, static_cast<uint32_t>(m_width));
  little_endian::Store32(p + 8, static_cast<uint32_t>(m_height));  // positive: bottom-up
  little_endian::Store16(p + 12, 1);                               // planes
  little_endian::Store16(p + 14, 24);                              // bits a pixel
  little_endian::Store32(p + 16, 0);                               // BI_RGB
  little_endian::Store32(p + 20, imageBytes);
  little_endian::Store32(p + 24, 2835);  // 72 dpi
  little_endian::Store32(p + 28, 2835);
  p += kInfoHeader;
  for (int y = m_height - 1; y >= 0; --y, p += rowBytes) {
    for (int x = 0; x < m_width; ++x) {
      const uint32_t c = Pixel(x, y);
      p[x * 3 + 0] = c & 0xFF;          // blue
      p[x * 3 + 1] = (c >> 8) & 0xFF;   // green
      p[x * 3 + 2] = (c >> 16) & 0xFF;  // red
    }
  }
  return out;
}

bool WriteFileBytes(const char* path, const std::vector<uint8_t>& bytes, std::string* error) {
  const std::string tmp = std::string(path) + ".tmp";
  auto fail = [&](const char* what) {
    if (error) *error = std::string(path) + ": " + what + ": " + std::strerror(errno);
    std::remove(tmp.c_str());
    return false;
  };
  FILE* f = std::fopen(tmp.c_str(), "wb");
  if (!f) return fail("cannot create the temporary file");
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  const bool closed = std::fclose(f) == 0;
  if (!written || !closed) return fail("cannot write");
  if (std::rename(tmp.c_str(), path) != 0) return fail("cannot rename the temporary file");
  return true;
}

}  // namespace resgen
