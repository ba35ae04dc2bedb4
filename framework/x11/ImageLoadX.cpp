// Conversion of a decoded bitmap into an X image.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdlib>
#include <memory>

#include "framework/AfcKernel.h"
#include "framework/Colours.h"
#include "framework/ImageLoad.h"
#include "image/PLAnyBmp.h"

XImage* LoadBmpFile(const char* path) {
  std::unique_ptr<PLAnyBmp> bitmap(LoadPLBmp(path));
  if (!bitmap || !dsply) return nullptr;
  const int w = bitmap->GetWidth(), h = bitmap->GetHeight();
  if (w <= 0 || h <= 0) return nullptr;
  // Made directly in the screen's depth and format rather than read from
  // the root window, which fails for an image larger than the screen.
  XImage* image =
      XCreateImage(dsply, DefaultVisual(dsply, scrn), DefaultDepth(dsply, scrn), ZPixmap, 0,
                   nullptr, static_cast<unsigned>(w), static_cast<unsigned>(h), 32, 0);
  if (!image) return nullptr;
  image->data = static_cast<char*>(
      std::calloc(static_cast<size_t>(image->bytes_per_line), static_cast<size_t>(h)));
  if (!image->data) {
    XDestroyImage(image);
    return nullptr;
  }
  PLPixel32** rows = bitmap->GetLineArray32();
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const PLPixel32& p = rows[y][x];
      const unsigned long rgb = (static_cast<unsigned long>(p.GetR()) << 16) |
                                (static_cast<unsigned long>(p.GetG()) << 8) | p.GetB();
      unsigned long pixel = 0;
      GetClosestSysClr(rgb, &pixel);
      XPutPixel(image, x, y, pixel);
    }
  }
  return image;
}
