// The X side of the colour code: allocation in the default colour map and
// the GC setters.
#include <X11/Xlib.h>

#include "framework/AfcKernel.h"
#include "framework/Colours.h"

int MyAllocXClr(int r, int g, int b, unsigned long& colormap, unsigned long& pixel) {
  if (!dsply) return 0;
  if (!colormap) colormap = DefaultColormap(dsply, scrn);
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
