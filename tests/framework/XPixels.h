// XPixels.h: a pixmap the X tests draw on and read back pixel by pixel.
#pragma once

#include <gtest/gtest.h>
// Xlib after gtest.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <clocale>
#include <string>
#include <vector>

#include "framework/AfcKernel.h"

// A w x h pixmap of the screen's depth on the kernel's display, filled
// white, with a GC of its own (foreground black).
class TestPixmap {
 public:
  TestPixmap(int w, int h) : m_w(w), m_h(h) {
    m_pm = XCreatePixmap(dsply, RootWindow(dsply, scrn), w, h, DefaultDepth(dsply, scrn));
    m_gc = XCreateGC(dsply, m_pm, 0, nullptr);
    Clear(WhitePixel(dsply, scrn));
  }
  ~TestPixmap() {
    XFreeGC(dsply, m_gc);
    XFreePixmap(dsply, m_pm);
  }
  TestPixmap(const TestPixmap&) = delete;
  TestPixmap& operator=(const TestPixmap&) = delete;

  void Clear(unsigned long pixel) {
    XSetForeground(dsply, m_gc, pixel);
    XFillRectangle(dsply, m_pm, m_gc, 0, 0, m_w, m_h);
    XSetForeground(dsply, m_gc, BlackPixel(dsply, scrn));
  }
  // Every pixel, row by row.
  std::vector<unsigned long> Pixels() const {
    std::vector<unsigned long> px;
    XImage* img = XGetImage(dsply, m_pm, 0, 0, m_w, m_h, AllPlanes, ZPixmap);
    if (!img) return px;
    px.reserve(static_cast<size_t>(m_w) * m_h);
    for (int y = 0; y < m_h; ++y)
      for (int x = 0; x < m_w; ++x) px.push_back(XGetPixel(img, x, y));
    XDestroyImage(img);
    return px;
  }
  unsigned long At(int x, int y) const { return Pixels()[static_cast<size_t>(y) * m_w + x]; }
  // Pixels that are not white, as a mask.
  std::vector<bool> Ink() const {
    std::vector<bool> ink;
    for (unsigned long p : Pixels()) ink.push_back(p != WhitePixel(dsply, scrn));
    return ink;
  }
  unsigned long Foreground() const {
    XGCValues v{};
    XGetGCValues(dsply, m_gc, GCForeground, &v);
    return v.foreground;
  }

  Pixmap id() const { return m_pm; }
  GC gc() const { return m_gc; }
  int w() const { return m_w; }
  int h() const { return m_h; }

 private:
  int m_w, m_h;
  Pixmap m_pm;
  GC m_gc;
};

inline int CountInk(const std::vector<bool>& ink) {
  int n = 0;
  for (bool b : ink) n += b;
  return n;
}

// An oracle for drawn Chinese text that shares nothing with the GBK path:
// each UTF-8 text of chars drawn from the Unicode face of the
// distribution's font at pixel size `size`, at x xs[i] with its baseline at
// `baseline`, on a white w x h pixmap; returns the ink mask (empty when the
// face cannot be loaded, which the caller's comparison then reports).
inline std::vector<bool> UnicodeInk(const std::vector<std::string>& chars,
                                    const std::vector<int>& xs, int baseline, int size, int w,
                                    int h) {
  TestPixmap pm(w, h);
  const char* old = std::setlocale(LC_CTYPE, nullptr);
  const std::string saved = old ? old : "C";
  std::setlocale(LC_CTYPE, "zh_CN.UTF-8");
  const std::string pattern =
      "-*-wenquanyi zen hei-medium-r-normal--" + std::to_string(size) + "-*-*-*-*-*-iso10646-1";
  char** missing = nullptr;
  int n = 0;
  char* def = nullptr;
  XFontSet fs = XCreateFontSet(dsply, pattern.c_str(), &missing, &n, &def);
  if (missing) XFreeStringList(missing);
  std::setlocale(LC_CTYPE, saved.c_str());
  EXPECT_NE(fs, nullptr) << pattern;
  if (!fs) return {};
  for (size_t i = 0; i < chars.size() && i < xs.size(); ++i)
    Xutf8DrawString(dsply, pm.id(), fs, pm.gc(), xs[i], baseline, chars[i].data(),
                    static_cast<int>(chars[i].size()));
  XFreeFontSet(dsply, fs);
  return pm.Ink();
}
