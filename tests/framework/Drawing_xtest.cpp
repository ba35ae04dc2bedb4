// The drawing helpers, drawn on a pixmap of the private Xvfb (24-bit true
// colour) and read back.
#include <gtest/gtest.h>
// Xlib after gtest.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <string>
#include <vector>

#include "framework/Colours.h"
#include "framework/Drawing.h"
#include "tests/framework/FrameworkTestApp.h"
#include "tests/framework/XPixels.h"

static FrameworkTestApp theApp;
static auto* const kEnv = ::testing::AddGlobalTestEnvironment(new KernelEnv);

namespace {

unsigned long Px(unsigned long rgb) {
  unsigned long pixel = 0;
  GetClosestSysClr(rgb, &pixel);
  return pixel;
}

TEST(Colours, TrueColourGivesTheColourItself) {
  gmapRgbToRgbPixel.RemoveAll();
  unsigned long pixel = 0;
  EXPECT_EQ(GetClosestSysClr(0x3366CC, &pixel), 0x3366CCUL);
  EXPECT_EQ(pixel, 0x3366CCUL);  // the 24-bit visual's pixel is the colour
  typRgbPxl rec;
  ASSERT_TRUE(gmapRgbToRgbPixel.Lookup(0x3366CC, rec));
  EXPECT_EQ(rec.pixel, 0x3366CCu);
}

TEST(Colours, TrueColourPixelsAreMadeWithoutAskingTheServer) {
  const Colormap def = DefaultColormap(dsply, scrn);
  const unsigned char cases[][3] = {{0, 0, 0},     {255, 255, 255},    {1, 2, 3},
                                    {254, 0, 127}, {0x33, 0x66, 0xCC}, {128, 128, 128},
                                    {255, 0, 0},   {0, 255, 0},        {0, 0, 255}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c[0]) + "," + std::to_string(c[1]) + "," + std::to_string(c[2]));
    XColor x{};
    x.red = static_cast<unsigned short>(c[0] * 257);
    x.green = static_cast<unsigned short>(c[1] * 257);
    x.blue = static_cast<unsigned short>(c[2] * 257);
    x.flags = DoRed | DoGreen | DoBlue;
    ASSERT_TRUE(XAllocColor(dsply, def, &x));
    unsigned long colormap = 0, pixel = 0;
    const unsigned long before = XNextRequest(dsply);
    ASSERT_EQ(MyAllocXClr(c[0], c[1], c[2], colormap, pixel), 1);
    EXPECT_EQ(XNextRequest(dsply), before);  // no request made
    EXPECT_EQ(pixel, x.pixel);
    EXPECT_EQ(colormap, def);
  }
  // Another colour map is still asked, and gives the same pixels.
  const Colormap own =
      XCreateColormap(dsply, RootWindow(dsply, scrn), DefaultVisual(dsply, scrn), AllocNone);
  unsigned long colormap = own, pixel = 0;
  const unsigned long before = XNextRequest(dsply);
  ASSERT_EQ(MyAllocXClr(0x33, 0x66, 0xCC, colormap, pixel), 1);
  EXPECT_GT(XNextRequest(dsply), before);
  EXPECT_EQ(pixel, 0x3366CCUL);
  XFreeColormap(dsply, own);
}

TEST(Colours, GcSettersReturnThePreviousValue) {
  TestPixmap pm(4, 4);
  SetFgClrPxl(pm.gc(), 0x123456);
  EXPECT_EQ(SetFgClr(pm.gc(), 0xABCDEF), 0x123456UL);
  EXPECT_EQ(SetFgClrPxl(pm.gc(), 1), Px(0xABCDEF));
  SetBkClrPxl(pm.gc(), 7);
  EXPECT_EQ(SetBkClr(pm.gc(), 0x010101), 7UL);
  EXPECT_EQ(SetDrawMode(pm.gc(), GXxor), GXcopy);
  EXPECT_EQ(SetDrawMode(pm.gc(), GXcopy), GXxor);
}

TEST(Drawing, FillClrRectRestoresTheForeground) {
  TestPixmap pm(10, 10);
  CRect r(2, 3, 6, 8);
  FillClrRect(pm.id(), pm.gc(), &r, 0xFF0000);
  EXPECT_EQ(pm.At(2, 3), Px(0xFF0000));
  EXPECT_EQ(pm.At(5, 7), Px(0xFF0000));
  EXPECT_EQ(pm.At(6, 7), WhitePixel(dsply, scrn));
  EXPECT_EQ(pm.At(5, 8), WhitePixel(dsply, scrn));
  EXPECT_EQ(pm.Foreground(), BlackPixel(dsply, scrn));
}

TEST(Drawing, FillClrRgnClipsThenLiftsTheClip) {
  TestPixmap pm(20, 20);
  XPoint tri[] = {{0, 0}, {19, 0}, {0, 19}};
  Region rgn = XPolygonRegion(tri, 3, EvenOddRule);
  FillClrRgn(pm.id(), pm.gc(), rgn, 0x00FF00);
  XDestroyRegion(rgn);
  EXPECT_EQ(pm.At(1, 1), Px(0x00FF00));
  EXPECT_EQ(pm.At(18, 18), WhitePixel(dsply, scrn));  // in the box, outside the region
  // The clip is lifted: a later fill reaches the corner.
  CRect all(0, 0, 20, 20);
  FillClrRect(pm.id(), pm.gc(), &all, 0x0000FF);
  EXPECT_EQ(pm.At(18, 18), Px(0x0000FF));
}

TEST(Drawing, Draw3DRectEdges) {
  for (int sunken : {0, 1}) {
    SCOPED_TRACE(sunken);
    TestPixmap pm(40, 30);
    Draw3DRect(pm.id(), pm.gc(), 5, 5, 20, 15, sunken);
    const unsigned long upper = sunken ? gpxlDark : gpxlBright;
    const unsigned long lower = sunken ? gpxlBright : gpxlDark;
    EXPECT_EQ(pm.At(10, 5), upper);   // top edge
    EXPECT_EQ(pm.At(10, 6), upper);   // its inner line
    EXPECT_EQ(pm.At(5, 10), upper);   // left edge
    EXPECT_EQ(pm.At(10, 19), lower);  // bottom edge (y + h - 1)
    EXPECT_EQ(pm.At(25, 10), lower);  // right edge (x + w)
    EXPECT_EQ(pm.At(12, 12), WhitePixel(dsply, scrn));
    EXPECT_EQ(pm.Foreground(), lower);  // the GC keeps the second colour
  }
}

TEST(Drawing, DrawBoxDrawsFourBandsInside) {
  TestPixmap pm(30, 30);
  DrawBox(pm.id(), pm.gc(), 0xFF0000, CRect(5, 5, 25, 25), 3);
  const unsigned long red = Px(0xFF0000), white = WhitePixel(dsply, scrn);
  EXPECT_EQ(pm.At(5, 5), red);
  EXPECT_EQ(pm.At(7, 15), red);
  EXPECT_EQ(pm.At(24, 15), red);
  EXPECT_EQ(pm.At(15, 24), red);
  EXPECT_EQ(pm.At(8, 8), white);
  EXPECT_EQ(pm.At(4, 4), white);
  EXPECT_EQ(pm.At(25, 25), white);
}

TEST(Drawing, InvertBoxTwiceRestoresThePixels) {
  TestPixmap pm(30, 30);
  CRect part(0, 0, 15, 30);
  FillClrRect(pm.id(), pm.gc(), &part, 0x336699);
  const std::vector<unsigned long> before = pm.Pixels();
  DrawInvertBox(pm.id(), pm.gc(), CRect(3, 3, 27, 27), 2);
  EXPECT_NE(pm.Pixels(), before);
  DrawInvertBox(pm.id(), pm.gc(), CRect(3, 3, 27, 27), 2);
  EXPECT_EQ(pm.Pixels(), before);
  XGCValues v{};
  XGetGCValues(dsply, pm.gc(), GCFunction, &v);
  EXPECT_EQ(v.function, GXcopy);
}

TEST(Drawing, DrawCrossStrokeCount) {
  // Each stroke puts two pixels on the top row of the square (one per
  // diagonal), so the top row counts the strokes.
  struct Case {
    int n, width, strokes;
  };
  const Case cases[] = {{10, 30, 10}, {0, 30, 3}, {-2, 30, 3}, {20, 30, 10}, {2, 9, 2}, {6, 9, 4}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "n " << c.n << " width " << c.width);
    TestPixmap pm(120, 60);
    DrawCross(pm.id(), pm.gc(), CRect(40, 10, 40 + c.width, 40), c.n);
    std::vector<bool> ink = pm.Ink();
    int top = 0;
    for (int x = 0; x < pm.w(); ++x) top += ink[10 * pm.w() + x];
    EXPECT_EQ(top, 2 * c.strokes);
  }
}

TEST(Drawing, RadioBox) {
  for (int on : {0, 1}) {
    SCOPED_TRACE(on);
    TestPixmap pm(30, 30);
    DrawRadioBox(pm.id(), pm.gc(), 15, 15, 8, on);
    EXPECT_EQ(pm.At(15, 15), on ? BlackPixel(dsply, scrn) : Px(0xE6FFE6));
    EXPECT_EQ(pm.At(11, 15), Px(0xE6FFE6));  // inside r - 3, outside r - 5
    EXPECT_EQ(pm.At(15, 7), gpxlDark);       // top of the ring: upper-left half
    EXPECT_EQ(pm.At(15, 23), gpxlBright);    // bottom: lower-right half
    EXPECT_EQ(pm.Foreground(), BlackPixel(dsply, scrn));
  }
}

TEST(Drawing, ArrowsPointTheirWay) {
  struct Case {
    int dir;
    int apexX, apexY;            // must be drawn
    int minX, minY, maxX, maxY;  // nothing outside
  };
  // x 20, y 20, w 10, h 8.
  const Case cases[] = {
      {1, 25, 28, 20, 20, 30, 29},  // down
      {3, 25, 12, 20, 11, 30, 20},  // up
      {0, 9, 25, 9, 20, 19, 30},    // left: base at x 19, apex 10 further left
      {2, 30, 25, 20, 20, 30, 30},  // right
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dir);
    TestPixmap pm(50, 50);
    Draw3dArrow(pm.id(), pm.gc(), 20, 20, 10, 8, c.dir);
    std::vector<bool> ink = pm.Ink();
    EXPECT_TRUE(ink[c.apexY * 50 + c.apexX]);
    for (int y = 0; y < 50; ++y)
      for (int x = 0; x < 50; ++x)
        if (ink[y * 50 + x]) {
          EXPECT_TRUE(x >= c.minX && x <= c.maxX && y >= c.minY && y <= c.maxY)
              << "ink at " << x << "," << y;
        }
  }
}

TEST(Drawing, GreenLines) {
  TestPixmap pm(30, 30);
  if (!gGC) CreateGC(pm.id());
  XSetForeground(dsply, gGC, 0x123456);
  // Heights below 4 draw nothing (and return).
  for (int h : {0, 1, 2, 3, -5}) DrawGreenLines(pm.id(), 0, 0, 20, h);
  EXPECT_EQ(CountInk(pm.Ink()), 0);
  DrawGreenLines(pm.id(), 2, 4, 10, 8);  // s = 2: lines at y 6, 8, 10
  const unsigned long green = Px(0x00FF00);
  for (int y = 0; y < 30; ++y) {
    const bool line = y == 6 || y == 8 || y == 10;
    EXPECT_EQ(pm.At(5, y) == green, line) << y;
  }
  XGCValues v{};
  XGetGCValues(dsply, gGC, GCForeground, &v);
  EXPECT_EQ(v.foreground, 0x123456UL);
}

TEST(Drawing, PutImageRestoresTheFunction) {
  TestPixmap pm(10, 10);
  XImage* img = XGetImage(dsply, pm.id(), 0, 0, 4, 4, AllPlanes, ZPixmap);
  ASSERT_NE(img, nullptr);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) XPutPixel(img, x, y, Px(0x0000FF));
  EXPECT_EQ(AfcPutImage(dsply, pm.id(), pm.gc(), img, 1, 1, 5, 5, 2, 2, GXcopy), 1);
  EXPECT_EQ(pm.At(5, 5), Px(0x0000FF));
  EXPECT_EQ(pm.At(6, 6), Px(0x0000FF));
  EXPECT_EQ(pm.At(7, 7), WhitePixel(dsply, scrn));
  SetDrawMode(pm.gc(), GXand);
  AfcPutImage(dsply, pm.id(), pm.gc(), img, 0, 0, 0, 0, 1, 1, GXxor);
  XGCValues v{};
  XGetGCValues(dsply, pm.gc(), GCFunction, &v);
  EXPECT_EQ(v.function, GXand);
  EXPECT_EQ(AfcPutImage(dsply, pm.id(), pm.gc(), nullptr, 0, 0, 0, 0, 1, 1, GXcopy), 0);
  XDestroyImage(img);
}

TEST(Drawing, StrOutOfNullTextIsZero) {
  TestPixmap pm(10, 10);
  EXPECT_EQ(StrOut(pm.id(), pm.gc(), 0, 0, nullptr, 3, nullptr, GXcopy, 0, 0xFFFFFF), 0);
  char text[] = "abc";
  // A font without a set draws nothing but the colours are set.
  EXPECT_EQ(StrOut(pm.id(), pm.gc(), 0, 0, text, 3, nullptr, GXcopy, 0xFF0000, 0x00FF00), 1);
  EXPECT_EQ(pm.Foreground(), Px(0xFF0000));
  EXPECT_EQ(CountInk(pm.Ink()), 0);
}

}  // namespace
