#include "tests/support/Screenshot.h"

#include <X11/Xutil.h>
#include <sys/stat.h>

#include <algorithm>

#include "tests/support/TestPaths.h"
#include "tests/support/WindowsMayVanish.h"
#include "tools/resgen/Canvas.h"

namespace kvrtest {

int Pixels::Count(uint32_t c, int x0, int y0, int x1, int y1) const {
  if (x1 < 0) x1 = w;
  if (y1 < 0) y1 = h;
  int n = 0;
  for (int y = std::max(y0, 0); y < y1 && y < h; ++y)
    for (int x = std::max(x0, 0); x < x1 && x < w; ++x) n += At(x, y) == c;
  return n;
}

Pixels Grab(Display* dpy, Window win, int w, int h) {
  Pixels p;
  XImage* img = nullptr;
  {
    // A pane may go while it is read: no pixels then.
    const WindowsMayVanish vanishing(dpy);
    img = XGetImage(dpy, win, 0, 0, w, h, AllPlanes, ZPixmap);
  }
  if (!img) return p;
  p.w = w;
  p.h = h;
  p.px.reserve(static_cast<size_t>(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      p.px.push_back(static_cast<uint32_t>(XGetPixel(img, x, y)) & 0xFFFFFF);
  XDestroyImage(img);
  return p;
}

std::string SaveWindowShot(Display* dpy, Window win, const std::string& name, int w, int h) {
  const Pixels shown = Grab(dpy, win, w, h);
  if (shown.w != w) return "cannot read the window's pixels";
  resgen::Canvas shot(w, h, 0);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) shot.FillRect(x, y, x + 1, y + 1, shown.At(x, y));
  const std::string dir = BinaryDir() + "/screenshots";
  mkdir(dir.c_str(), 0777);
  std::string error;
  if (!resgen::WriteFileBytes((dir + "/" + name + ".bmp").c_str(), shot.ToBmp(), &error))
    return error;
  return "";
}

std::string SaveScreen(Display* dpy, const std::string& name, int w, int h) {
  return SaveWindowShot(dpy, DefaultRootWindow(dpy), name, w, h);
}

}  // namespace kvrtest
