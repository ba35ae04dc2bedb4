// The image generator's canvas: BMP files our decoders read back pixel for
// pixel, anti-aliased edges, unions that do not darken where parts overlap,
// clipping, and the file writer's refusal.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "image/PLAnyBmp.h"
#include "image/PLAnyPicDecoder.h"
#include "image/PLPixel32.h"
#include "tests/support/TestPaths.h"
#include "tools/resgen/Canvas.h"

using resgen::Canvas;
using resgen::PointF;

namespace {

uint32_t Rgb(const PLPixel32& p) {
  return uint32_t{p.GetR()} << 16 | uint32_t{p.GetG()} << 8 | p.GetB();
}

int Red(uint32_t c) { return (c >> 16) & 0xFF; }

}  // namespace

// Widths 1 to 5 cover every row padding; distinct corner colours catch a
// flipped row order or swapped channels.
TEST(Canvas, BmpReadsBackThroughTheDecoder) {
  kvrtest::ScratchDir dir;
  for (int w = 1; w <= 5; ++w) {
    SCOPED_TRACE(w);
    Canvas c(w, 3, 0x102030);
    c.FillRect(0, 0, 1, 1, 0xFF0000);
    c.FillRect(w - 1, 2, w, 3, 0x0000FF);
    c.FillRect(0, 1, w, 2, 0x00FF00);
    const std::string path = dir.File("c" + std::to_string(w) + ".bmp");
    std::string error;
    ASSERT_TRUE(resgen::WriteFileBytes(path.c_str(), c.ToBmp(), &error)) << error;
    PLAnyBmp bmp;
    PLAnyPicDecoder decoder;
    decoder.OpenFile(path.c_str());
    decoder.MakeBmp(&bmp, 32);
    decoder.Close();
    ASSERT_EQ(bmp.GetWidth(), w);
    ASSERT_EQ(bmp.GetHeight(), 3);
    PLPixel32** rows = bmp.GetLineArray32();
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < w; ++x) EXPECT_EQ(Rgb(rows[y][x]), c.Pixel(x, y)) << x << "," << y;
    if (w > 1) {
      EXPECT_EQ(Rgb(rows[0][0]), 0xFF0000u);
    }
    EXPECT_EQ(Rgb(rows[2][w - 1]), 0x0000FFu);
  }
}

TEST(Canvas, EdgesAreBlendedByCoverage) {
  Canvas c(4, 1, 0x000000);
  // Covers pixel 0 fully, pixel 1 half, pixels 2 and 3 not at all.
  c.FillPolygon({{0, 0}, {1.5, 0}, {1.5, 1}, {0, 1}}, 0xFF0000);
  EXPECT_EQ(c.Pixel(0, 0), 0xFF0000u);
  EXPECT_NEAR(Red(c.Pixel(1, 0)), 128, 2);
  EXPECT_EQ(c.Pixel(2, 0), 0u);
}

TEST(Canvas, OverlappingPartsOfAShapeBlendOnce) {
  Canvas c(10, 3, 0x000000);
  // A horizontal line of width 1 through the middle row's half: two parts
  // (the segment and its round ends) overlap everywhere along it.
  c.StrokeLine({2, 1.5}, {8, 1.5}, 0.5, 0xFF0000);
  const int mid = Red(c.Pixel(5, 1));
  EXPECT_NEAR(mid, 128, 2) << "the pen covers half the row, once";
}

TEST(Canvas, DrawingPastTheEdgesIsClipped) {
  Canvas c(3, 3, 0xFFFFFF);
  c.FillRect(-5, -5, 100, 1, 0x000000);
  c.FillDisc({-10, -10}, 4, 0x000000);
  c.StrokeLine({-20, 2.5}, {40, 2.5}, 1, 0x000000);
  EXPECT_EQ(c.Pixel(1, 0), 0u);
  EXPECT_EQ(c.Pixel(1, 1), 0xFFFFFFu);
  EXPECT_EQ(c.Pixel(1, 2), 0u);
  EXPECT_EQ(c.Pixel(-1, 0), 0u) << "outside reads as 0";
  EXPECT_EQ(c.Pixel(3, 0), 0u);
}

TEST(Canvas, DegenerateShapesDrawNothing) {
  Canvas c(3, 3, 0xFFFFFF);
  c.FillPolygon({{0, 0}, {3, 3}}, 0);
  c.FillShape({}, 0);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(c.Pixel(x, y), 0xFFFFFFu);
}

TEST(Canvas, WriteIntoAMissingDirectoryIsRefused) {
  kvrtest::ScratchDir dir;
  const std::string path = dir.File("no/such/dir/x.bmp");
  std::string error;
  EXPECT_FALSE(resgen::WriteFileBytes(path.c_str(), {1, 2, 3}, &error));
  EXPECT_NE(error.find(path), std::string::npos) << error;
}
