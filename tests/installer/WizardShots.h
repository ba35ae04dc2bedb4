// WizardShots.h: saves the part of the screen a window covers as
// <build>/screenshots/<name>.bmp, with the image generator's BMP writer.
#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <sys/stat.h>

#include <string>

#include "tests/support/TestPaths.h"
#include "tools/resgen/Canvas.h"

namespace installertest {

// "" or the reason the shot could not be saved.
inline std::string SaveWindowShot(Display* dpy, Window window, const std::string& name) {
  XWindowAttributes a;
  if (!XGetWindowAttributes(dpy, window, &a)) return "no such window";
  int x = 0, y = 0;
  Window child = 0;
  XTranslateCoordinates(dpy, window, DefaultRootWindow(dpy), 0, 0, &x, &y, &child);
  XImage* img = XGetImage(dpy, DefaultRootWindow(dpy), x, y, a.width, a.height, AllPlanes, ZPixmap);
  if (!img) return "cannot read the screen";
  resgen::Canvas shot(a.width, a.height, 0);
  for (int j = 0; j < a.height; ++j)
    for (int i = 0; i < a.width; ++i)
      shot.FillRect(i, j, i + 1, j + 1, static_cast<uint32_t>(XGetPixel(img, i, j)) & 0xFFFFFF);
  XDestroyImage(img);
  const std::string dir = kvrtest::BinaryDir() + "/screenshots";
  mkdir(dir.c_str(), 0777);
  std::string error;
  if (!resgen::WriteFileBytes((dir + "/" + name + ".bmp").c_str(), shot.ToBmp(), &error))
    return error;
  return "";
}

}  // namespace installertest
