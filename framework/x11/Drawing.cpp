// The drawing helpers over Xlib.
#include "framework/Drawing.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "framework/AfcKernel.h"
#include "framework/CFont.h"
#include "framework/Colours.h"

namespace {

void Line(unsigned long w, GC gc, long x1, long y1, long x2, long y2) {
  XDrawLine(dsply, w, gc, static_cast<int>(x1), static_cast<int>(y1), static_cast<int>(x2),
            static_cast<int>(y2));
}

// A line and its neighbour one pixel towards the inside (dx, dy).
void DoubleLine(unsigned long w, GC gc, long x1, long y1, long x2, long y2, int dx, int dy) {
  Line(w, gc, x1, y1, x2, y2);
  Line(w, gc, x1 + dx, y1 + dy, x2 + dx, y2 + dy);
}

void Ring(unsigned long w, GC gc, int cx, int cy, int r) {
  if (r <= 0) return;
  XSetForeground(dsply, gc, gpxlDark);
  XDrawArc(dsply, w, gc, cx - r, cy - r, 2 * r, 2 * r, 45 * 64, 180 * 64);
  XSetForeground(dsply, gc, gpxlBright);
  XDrawArc(dsply, w, gc, cx - r, cy - r, 2 * r, 2 * r, 225 * 64, 180 * 64);
}

void Disc(unsigned long w, GC gc, int cx, int cy, int r) {
  if (r <= 0) return;
  XFillArc(dsply, w, gc, cx - r, cy - r, 2 * r, 2 * r, 0, 360 * 64);
}

}  // namespace

void FillClrRect(unsigned long window, GC gc, CRect* rect, unsigned long rgb) {
  if (!dsply || !rect || rect->Width() <= 0 || rect->Height() <= 0) return;
  const unsigned long old = SetFgClr(gc, rgb);
  XFillRectangle(dsply, window, gc, rect->left, rect->top, static_cast<unsigned>(rect->Width()),
                 static_cast<unsigned>(rect->Height()));
  XSetForeground(dsply, gc, old);
}

void FillClrRgn(unsigned long window, GC gc, Region region, unsigned long rgb) {
  if (!dsply || !region) return;
  XSetRegion(dsply, gc, region);
  XRectangle box{};
  XClipBox(region, &box);
  CRect r(box.x, box.y, box.x + box.width, box.y + box.height);
  FillClrRect(window, gc, &r, rgb);
  XRectangle all{0, 0, 23000, 23000};
  XSetClipRectangles(dsply, gc, 0, 0, &all, 1, Unsorted);
}

void Draw3DRect(unsigned long window, GC gc, int x, int y, int w, int h, int sunken) {
  if (!dsply) return;
  XSetForeground(dsply, gc, sunken ? gpxlDark : gpxlBright);
  Line(window, gc, x, y, x + w, y);
  Line(window, gc, x, y, x, y + h);
  Line(window, gc, x + 1, y + 1, x + w - 1, y + 1);
  Line(window, gc, x + 1, y + 1, x + 1, y + h - 1);
  XSetForeground(dsply, gc, sunken ? gpxlBright : gpxlDark);
  Line(window, gc, x, y + h - 1, x + w, y + h - 1);
  Line(window, gc, x + w, y, x + w, y + h);
  Line(window, gc, x + 1, y + h - 2, x + w - 1, y + h - 2);
  Line(window, gc, x + w - 1, y + h - 2, x + w - 1, y + 1);
}

void DrawBox(unsigned long window, GC gc, unsigned long rgb, CRect r, int t) {
  CRect top(r.left, r.top, r.right, r.top + t);
  CRect left(r.left, r.top, r.left + t, r.bottom);
  CRect right(r.right - t, r.top, r.right, r.bottom);
  CRect bottom(r.left, r.bottom - t, r.right, r.bottom);
  for (CRect* band : {&top, &left, &right, &bottom}) FillClrRect(window, gc, band, rgb);
}

void DrawInvertBox(unsigned long window, GC gc, CRect r, int t) {
  if (!dsply) return;
  const int old = SetDrawMode(gc, GXnor);
  // Each ring is one rectangle outline, which X draws without touching a
  // pixel twice, and the rings do not overlap: a second drawing undoes the
  // first exactly.
  for (int k = 0; k < t; ++k) {
    const int w = r.Width() - 1 - 2 * k, h = r.Height() - 1 - 2 * k;
    if (w < 0 || h < 0) break;
    XDrawRectangle(dsply, window, gc, r.left + k, r.top + k, static_cast<unsigned>(w),
                   static_cast<unsigned>(h));
  }
  SetDrawMode(gc, old);
}

void DrawCross(unsigned long window, GC gc, CRect r, int n) {
  if (!dsply) return;
  const int limit = r.Width() / 3 > 4 ? r.Width() / 3 : 4;
  if (n > limit) n = limit;
  if (n < 1) n = 3;
  r.right = r.left + r.Height();
  r.OffsetRect(-(n / 2 + 1), 0);
  for (int i = 0; i < n; ++i) {
    r.OffsetRect(1, 0);
    Line(window, gc, r.left, r.top, r.right, r.bottom);
    Line(window, gc, r.left, r.bottom, r.right, r.top);
  }
}

void DrawRadioBox(unsigned long window, GC gc, int cx, int cy, int r, int on) {
  if (!dsply) return;
  XGCValues old{};
  XGetGCValues(dsply, gc, GCForeground, &old);
  Ring(window, gc, cx, cy, r);
  Ring(window, gc, cx, cy, r - 1);
  SetFgClr(gc, 0xE6FFE6);
  Disc(window, gc, cx, cy, r - 3);
  if (on) {
    XSetForeground(dsply, gc, BlackPixel(dsply, scrn));
    Disc(window, gc, cx, cy, r - 5);
  }
  XSetForeground(dsply, gc, old.foreground);
}

void Draw3dArrow(unsigned long window, GC gc, long x, long y, long w, long h, int dir) {
  if (!dsply) return;
  // Light falls from the upper left: edges facing up or left are bright,
  // the others dark. Every edge is doubled towards the inside.
  if (dir == 1) {  // down
    const long ax = x + w / 2, ay = y + h;
    XSetForeground(dsply, gc, gpxlBright);
    DoubleLine(window, gc, x, y, x + w, y, 0, 1);
    DoubleLine(window, gc, x, y, ax, ay, 1, 0);
    XSetForeground(dsply, gc, gpxlDark);
    DoubleLine(window, gc, x + w, y, ax, ay, -1, 0);
  } else if (dir == 3) {  // up
    const long ax = x + w / 2, ay = y - h;
    XSetForeground(dsply, gc, gpxlBright);
    DoubleLine(window, gc, x, y, ax, ay, 1, 0);
    XSetForeground(dsply, gc, gpxlDark);
    DoubleLine(window, gc, x, y, x + w, y, 0, -1);
    DoubleLine(window, gc, x + w, y, ax, ay, -1, 0);
  } else if (dir == 0) {  // left
    const long bx = x - 1, ax = bx - w, ay = y + w / 2;
    XSetForeground(dsply, gc, gpxlBright);
    DoubleLine(window, gc, bx, y, ax, ay, 0, 1);
    XSetForeground(dsply, gc, gpxlDark);
    DoubleLine(window, gc, bx, y, bx, y + w, -1, 0);
    DoubleLine(window, gc, bx, y + w, ax, ay, 0, -1);
  } else {  // right
    const long ax = x + w, ay = y + w / 2;
    XSetForeground(dsply, gc, gpxlBright);
    DoubleLine(window, gc, x, y, x, y + w, 1, 0);
    DoubleLine(window, gc, x, y, ax, ay, 0, 1);
    XSetForeground(dsply, gc, gpxlDark);
    DoubleLine(window, gc, x, y + w, ax, ay, 0, -1);
  }
}

void DrawGreenLines(unsigned long window, int x, int y, int w, int h) {
  // The step is h / 4: below 4 it would be 0 and the loop would not end.
  if (!dsply || !gGC || h < 4) return;
  unsigned long colormap = 0, green = 0;
  if (!MyAllocXClr(0, 255, 0, colormap, green)) return;
  const unsigned long old = SetFgClrPxl(gGC, green);
  const int s = h / 4;
  for (int ly = y + s; ly < y + h; ly += s) Line(window, gGC, x, ly, x + w, ly);
  XSetForeground(dsply, gGC, old);
}

int AfcPutImage(Display* display, unsigned long window, GC gc, XImage* image, long srcX, long srcY,
                long dstX, long dstY, long w, long h, int function) {
  if (!display || !image) return 0;
  if (!gc) gc = gGC;
  XGCValues old{};
  XGetGCValues(display, gc, GCFunction, &old);
  XSetFunction(display, gc, function);
  XPutImage(display, window, gc, image, static_cast<int>(srcX), static_cast<int>(srcY),
            static_cast<int>(dstX), static_cast<int>(dstY), static_cast<unsigned>(w),
            static_cast<unsigned>(h));
  XSetFunction(display, gc, old.function);
  return 1;
}

int StrOut(unsigned long window, GC gc, int x, int y, char* text, int len, CFont* font,
           int function, unsigned long fg, unsigned long bg) {
  if (!text) return 0;
  if (!dsply) return 1;
  SetFgClr(gc, fg);
  SetBkClr(gc, bg);
  XSetFunction(dsply, gc, function);
  if (font && font->m_fontSet && len > 0)
    XmbDrawString(dsply, window, font->m_fontSet, gc, x, y + font->m_nHeight, text, len);
  return 1;
}

CSize GetTextExtent(XFontSet set, const char* text, long len) {
  if (!set || !text || len < 1) return CSize(0, 0);
  XRectangle ink{}, logical{};
  XmbTextExtents(set, text, static_cast<int>(len), &ink, &logical);
  return CSize(logical.width, logical.height);
}
