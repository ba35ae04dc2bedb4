// CtrlShots.h: what the control X tests read back from the screen: a
// window's pixels as 0xRRGGBB and its picture saved for review as
// <build>/screenshots/<name>.bmp (with the image generator's BMP writer).
#pragma once

#include <gtest/gtest.h>
// Xlib after gtest.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <sys/stat.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/TestPaths.h"
#include "tools/resgen/Canvas.h"

namespace ctrltest {

// The pixels of a mapped window, its children included, row by row.
struct WinPixels {
  int w = 0, h = 0;
  std::vector<uint32_t> px;
  uint32_t At(int x, int y) const {
    return x < 0 || y < 0 || x >= w || y >= h ? 0 : px[static_cast<size_t>(y) * w + x];
  }
};

inline WinPixels GrabWindow(Display* dpy, unsigned long window) {
  WinPixels p;
  XWindowAttributes attr {};
  if (!XGetWindowAttributes(dpy, window, &attr)) return p;
  XImage* img = XGetImage(dpy, window, 0, 0, attr.width, attr.height, AllPlanes, ZPixmap);
  if (!img) return p;
  p.w = attr.width;
  p.h = attr.height;
  p.px.reserve(static_cast<size_t>(p.w) * p.h);
  for (int y = 0; y < p.h; ++y)
    for (int x = 0; x < p.w; ++x)
      p.px.push_back(static_cast<uint32_t>(XGetPixel(img, x, y)) & 0xFFFFFF);
  XDestroyImage(img);
  return p;
}

// Saves the window's picture; "" or the reason it could not.
inline std::string SaveWindowShot(Display* dpy, unsigned long window, const std::string& name) {
  const WinPixels p = GrabWindow(dpy, window);
  if (p.w == 0) return "cannot read the window";
  resgen::Canvas shot(p.w, p.h, 0);
  for (int y = 0; y < p.h; ++y)
    for (int x = 0; x < p.w; ++x) shot.FillRect(x, y, x + 1, y + 1, p.At(x, y));
  const std::string dir = kvrtest::BinaryDir() + "/screenshots";
  mkdir(dir.c_str(), 0777);
  std::string error;
  if (!resgen::WriteFileBytes((dir + "/" + name + ".bmp").c_str(), shot.ToBmp(), &error))
    return error;
  return "";
}

}  // namespace ctrltest
