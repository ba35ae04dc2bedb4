// PaneX.h: the few Xlib calls of the input panes (frontend/x11/PaneX.cpp):
// the regions of the keys pane's marks (polygons in pixels of a 16 by 16
// cell, filled by the even-odd rule), image sizes and Expose series.
#pragma once

#include "base/Geometry.h"
#include "framework/XDrawTypes.h"
#include "framework/XTypes.h"

namespace panes {

// A region of the closed polygon of n points; null without a display.
Region MakePolygonRegion(const POINT* points, int n);
void DestroyRegion(Region region);
// Moves the region by (dx, dy).
void OffsetRegion(Region region, int dx, int dy);
// Width and height of an image; (0, 0) for null.
CSize ImageSize(const XImage* image);
void DestroyImage(XImage* image);
bool IsExposeEvent(const XEvent* event);
// True for an Expose event that is the last of its series (count 0).
bool IsLastExpose(const XEvent* event);

}  // namespace panes
