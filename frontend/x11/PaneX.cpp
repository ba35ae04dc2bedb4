#include "frontend/internal/PaneX.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <vector>

#include "framework/AfcKernel.h"

namespace panes {

Region MakePolygonRegion(const POINT* points, int n) {
  if (!dsply || !points || n < 3) return nullptr;
  std::vector<XPoint> xp(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) {
    xp[i].x = static_cast<short>(points[i].x);
    xp[i].y = static_cast<short>(points[i].y);
  }
  return XPolygonRegion(xp.data(), n, EvenOddRule);
}

void DestroyRegion(Region region) {
  if (region) XDestroyRegion(region);
}

void OffsetRegion(Region region, int dx, int dy) {
  if (region) XOffsetRegion(region, dx, dy);
}

CSize ImageSize(const XImage* image) {
  return image ? CSize(image->width, image->height) : CSize(0, 0);
}

void DestroyImage(XImage* image) {
  if (image) XDestroyImage(image);
}

bool IsExposeEvent(const XEvent* event) { return event && event->type == Expose; }

bool IsLastExpose(const XEvent* event) {
  return event && event->type == Expose && event->xexpose.count == 0;
}

}  // namespace panes
