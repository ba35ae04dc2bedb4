// The X side of the colour code: allocation in the default colour map and
// the GC setters.
#include <X11/Xlib.h>

#include "framework/AfcKernel.h"
#include "framework/Colours.h"

namespace {

// The shift of an eight-bit mask (0xFF << shift); -1 for any other mask.
int ByteMaskShift(unsigned long mask) {
  for (int shift = 0; shift + 8 <= static_cast<int>(8 * sizeof mask); shift += 8)
    if (mask == 0xFFUL << shift) return shift;
  return -1;
}

// On a TrueColor visual of eight bits per primary, XAllocColor of
// (r, g, b) x 257 always succeeds and gives the colour's own bits at the
// visual's masks: the pixel is made here without a round trip (the bar's
// picture alone asks for thousands of colours). False where the server
// must be asked: another colour map or visual, or a component out of range.
bool LocalTrueColourPixel(unsigned long colormap, int r, int g, int b, unsigned long& pixel) {
  if (colormap != DefaultColormap(dsply, scrn)) return false;
  if (r < 0 || r > 255 || g < 0 || g > 255 || b < 0 || b > 255) return false;
  const Visual* v = DefaultVisual(dsply, scrn);
  if (v->c_class != TrueColor || v->bits_per_rgb != 8) return false;
  const int rs = ByteMaskShift(v->red_mask), gs = ByteMaskShift(v->green_mask),
            bs = ByteMaskShift(v->blue_mask);
  if (rs < 0 || gs < 0 || bs < 0) return false;
  pixel = static_cast<unsigned long>(r) << rs | static_cast<unsigned long>(g) << gs |
          static_cast<unsigned long>(b) << bs;
  return true;
}

}  // namespace

int MyAllocXClr(int r, int g, int b, unsigned long& colormap, unsigned long& pixel) {
  if (!dsply) return 0;
  if (!colormap) colormap = DefaultColormap(dsply, scrn);
  if (LocalTrueColourPixel(colormap, r, g, b, pixel)) return 1;
  XColor c{};
  c.red = static_cast<unsigned short>(r * 257);
  c.green = static_cast<unsigned short>(g * 257);
  c.blue = static_cast<unsigned short>(b * 257);
  c.flags = DoRed | DoGreen | DoBlue;
  if (!XAllocColor(dsply, colormap, &c)) return 0;
  pixel = c.pixel;
  return 1;
}

unsigned long SetFgClrPxl(GC gc, unsigned long pixel) {
  XGCValues old{};
  XGetGCValues(dsply, gc, GCForeground, &old);
  XSetForeground(dsply, gc, pixel);
  return old.foreground;
}

unsigned long SetBkClrPxl(GC gc, unsigned long pixel) {
  XGCValues old{};
  XGetGCValues(dsply, gc, GCBackground, &old);
  XSetBackground(dsply, gc, pixel);
  return old.background;
}

unsigned long SetFgClr(GC gc, unsigned long rgb) {
  unsigned long pixel = 0;
  GetClosestSysClr(rgb, &pixel);
  return SetFgClrPxl(gc, pixel);
}

unsigned long SetBkClr(GC gc, unsigned long rgb) {
  unsigned long pixel = 0;
  GetClosestSysClr(rgb, &pixel);
  return SetBkClrPxl(gc, pixel);
}

int SetDrawMode(GC gc, int function) {
  XGCValues old{};
  XGetGCValues(dsply, gc, GCFunction, &old);
  XSetFunction(dsply, gc, function);
  return old.function;
}
