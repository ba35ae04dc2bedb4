// Screenshot.h: reading back what an X test drew, and saving it for review.
// Pixels are 0xRRGGBB (the tests' Xvfb is 24-bit TrueColor). Pictures go
// to <build>/screenshots/<name>.bmp, written with the image generator's BMP
// writer through a temporary file.
#pragma once

#include <X11/Xlib.h>

#include <cstdint>
#include <string>
#include <vector>

namespace kvrtest {

// A rectangle of a window's pixels, row by row.
struct Pixels {
  int w = 0, h = 0;
  std::vector<uint32_t> px;
  uint32_t At(int x, int y) const { return px[static_cast<size_t>(y) * w + x]; }
  // Pixels of colour c in [x0, x1) x [y0, y1) (-1: to the edge).
  int Count(uint32_t c, int x0 = 0, int y0 = 0, int x1 = -1, int y1 = -1) const;
};

// The top-left w by h pixels of win; empty (w 0) when they cannot be read.
Pixels Grab(Display* dpy, Window win, int w, int h);

// Saves the top-left w by h pixels of win as <build>/screenshots/<name>.bmp;
// "" or the reason it could not.
std::string SaveWindowShot(Display* dpy, Window win, const std::string& name, int w, int h);
// The same for the screen.
std::string SaveScreen(Display* dpy, const std::string& name, int w, int h);

}  // namespace kvrtest
