// Drawing.h: what the controls, dialogs and panes draw with: filled and
// framed rectangles, 3D edges, arrows, radio boxes, crosses, images and
// plain text lines. The framework's windows are override-redirect and draw
// everything themselves. Coordinates are the window's pixels; colours are
// 0xRRGGBB (Colours.h) unless a name says pixel. Functions that change a
// GC's colour or raster function say whether they restore it.
#pragma once

#include "base/Geometry.h"
#include "framework/XDrawTypes.h"

class CFont;

// Fills rect in the colour; the GC's foreground is restored.
void FillClrRect(unsigned long window, GC gc, CRect* rect, unsigned long rgb);
// Clips the GC to region, fills the region's bounding box in the colour,
// then lifts the clipping (a clip square of (0, 0) to (23000, 23000)).
void FillClrRgn(unsigned long window, GC gc, Region region, unsigned long rgb);
// A two-pixel 3D frame: upper and left edges in gpxlBright (raised) or
// gpxlDark (sunken), lower and right edges in the other colour, which the
// GC keeps.
void Draw3DRect(unsigned long window, GC gc, int x, int y, int w, int h, int sunken);
// A frame of thickness t inside r: four filled bands (top, left, right,
// bottom).
void DrawBox(unsigned long window, GC gc, unsigned long rgb, CRect r, int t);
// The same frame as lines with raster function 8, so drawing it twice
// restores the pixels; the GC's function is restored.
void DrawInvertBox(unsigned long window, GC gc, CRect r, int t);
// An X of n strokes (n at most max(4, r's width / 3), 3 when below 1) on the
// square of r's height, starting n / 2 + 1 pixels left of r and moving one
// pixel right per stroke.
void DrawCross(unsigned long window, GC gc, CRect r, int n);
// A sunken radio box of radius r centred at (cx, cy): two shaded rings, a
// light disc, and a black dot when on. The foreground is restored.
void DrawRadioBox(unsigned long window, GC gc, int cx, int cy, int r, int on);
// A 3D-shaded triangle: dir 1 down (base along y, apex at (x + w / 2,
// y + h)), 3 up (apex h above the base), 0 left (base one pixel left of x,
// apex w further left), anything else right (base along x, apex at (x + w,
// y + w / 2)).
void Draw3dArrow(unsigned long window, GC gc, long x, long y, long w, long h, int dir);
// Horizontal green lines across (x, x + w) at y + s, y + 2s, ... below
// y + h, s = h / 4, with the shared GC (its foreground is restored). A
// height below 4 draws nothing, as does a colour map without pure green.
void DrawGreenLines(unsigned long window, int x, int y, int w, int h);
// Puts the part (srcX, srcY, w, h) of image at (dstX, dstY) with the raster
// function on gc (null: the shared GC); the function is restored. A null
// image draws nothing. Returns 1, 0 for a null image.
int AfcPutImage(Display* display, unsigned long window, GC gc, XImage* image, long srcX, long srcY,
                long dstX, long dstY, long w, long h, int function);
// Null text: 0. Otherwise sets the GC's colours and raster function (they
// stay set) and draws len bytes of text with the font's set at (x, y + the
// font's height); returns 1. A font without a set draws nothing.
int StrOut(unsigned long window, GC gc, int x, int y, char* text, int len, CFont* font,
           int function, unsigned long fg, unsigned long bg);
// Width and height of the text's logical extent in the set; (0, 0) for no
// set, no text or a length below 1.
CSize GetTextExtent(XFontSet set, const char* text, long len);
