#include <gtest/gtest.h>

#include <cstring>

#include "image/PLAnyBmp.h"
#include "image/PLBmpInfo.h"
#include "image/PLConstants.h"
#include "image/PLTextException.h"

namespace {

PLAnyBmp Make32(int w, int h, std::initializer_list<PLPixel32> pixels) {
  PLAnyBmp b;
  b.Create(w, h, 32, false, false);
  auto it = pixels.begin();
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.GetLineArray32()[y][x] = *it++;
  return b;
}

TEST(PLAnyBmp, NewBitmapIs16By16GreyEightBitCleared) {
  PLAnyBmp b;
  EXPECT_EQ(b.GetWidth(), 16);
  EXPECT_EQ(b.GetHeight(), 16);
  EXPECT_EQ(b.GetBitsPerPixel(), 8);
  for (int i = 0; i < 256; ++i) EXPECT_EQ(b.GetPalette()[i], PLPixel32(i, i, i, 255)) << i;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) EXPECT_EQ(b.GetLineArray()[y][x], 0);
}

TEST(PLAnyBmp, RowsArePackedWithoutFill) {
  struct Case {
    int width, bpp;
    long bytesPerLine;
  } const cases[] = {{9, 1, 2}, {8, 1, 1}, {1, 1, 1}, {3, 24, 9}, {3, 32, 12}, {5, 8, 5}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.width << " px at " << c.bpp);
    PLAnyBmp b;
    b.Create(c.width, 4, static_cast<unsigned short>(c.bpp), false, false);
    EXPECT_EQ(b.GetBytesPerLine(), c.bytesPerLine);
    EXPECT_EQ(b.GetLineArray()[3] - b.GetLineArray()[0], 3 * c.bytesPerLine);
  }
}

TEST(PLAnyBmp, NumberOfColoursByDepth) {
  struct Case {
    int bpp, colours;
  } const cases[] = {{1, 2}, {8, 256}, {24, 16777216}, {32, 16777216}};
  for (const Case& c : cases) {
    PLAnyBmp b;
    b.Create(2, 2, static_cast<unsigned short>(c.bpp), false, false);
    EXPECT_EQ(b.GetNumColors(), c.colours) << c.bpp;
    EXPECT_EQ(b.GetPalette() != nullptr, c.bpp <= 8) << c.bpp;
  }
}

TEST(PLAnyBmp, OneBitGreyPaletteIsBlackThenWhite) {
  PLAnyBmp b;
  b.Create(3, 1, 1, false, false);
  EXPECT_EQ(b.GetPalette()[0], PLPixel32(0, 0, 0, 255));
  EXPECT_EQ(b.GetPalette()[1], PLPixel32(255, 255, 255, 255));
}

TEST(PLAnyBmp, CreateRefusesBadDepthsAndSizes) {
  struct Case {
    long w, h;
    int bpp, code;
  } const cases[] = {{2, 2, 7, PL_ERRFORMAT_UNKNOWN},    {2, 2, 0, PL_ERRFORMAT_UNKNOWN},
                     {2, 2, 16, PL_ERRFORMAT_UNKNOWN},   {-1, 2, 8, PL_ERRNO_MEMORY},
                     {2, -5, 8, PL_ERRNO_MEMORY},        {40000, 1, 8, PL_ERRNO_MEMORY},
                     {30000, 30000, 32, PL_ERRNO_MEMORY}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.w << "x" << c.h << "@" << c.bpp);
    PLAnyBmp b;
    try {
      b.Create(c.w, c.h, static_cast<unsigned short>(c.bpp), false, false);
      ADD_FAILURE() << "created";
    } catch (const PLTextException& e) {
      EXPECT_EQ(e.GetCode(), c.code);
    }
    // The old bitmap is still whole.
    EXPECT_EQ(b.GetWidth(), 16);
    EXPECT_EQ(b.GetLineArray()[15][15], 0);
  }
}

TEST(PLAnyBmp, EightToThirtyTwoTakesAllFourPaletteBytes) {
  PLAnyBmp src;
  src.Create(3, 2, 8, false, false);
  src.SetPaletteEntry(7, 10, 20, 30, 40);
  src.SetPaletteEntry(9, 1, 2, 3, 4);
  src.GetLineArray()[0][1] = 7;
  src.GetLineArray()[1][2] = 9;
  PLAnyBmp dst;
  dst.CreateCopy(src, 32);
  EXPECT_EQ(dst.GetBitsPerPixel(), 32);
  EXPECT_EQ(dst.GetPixel(1, 0), PLPixel32(10, 20, 30, 40));
  EXPECT_EQ(dst.GetPixel(2, 1), PLPixel32(1, 2, 3, 4));
  EXPECT_EQ(dst.GetPixel(0, 0), PLPixel32(0, 0, 0, 255));
}

TEST(PLAnyBmp, CopyAtSameDepthIsExactAndSelfCopyChangesNothing) {
  PLAnyBmp src = Make32(2, 1, {PLPixel32(1, 2, 3, 4), PLPixel32(5, 6, 7, 8)});
  src.SetResolution(PLPoint(72, 96));
  PLAnyBmp dst;
  dst.CreateCopy(src, 0);
  EXPECT_TRUE(dst == src);
  EXPECT_EQ(dst.GetResolution(), PLPoint(72, 96));
  src.CreateCopy(src, 8);
  EXPECT_EQ(src.GetBitsPerPixel(), 32);
  EXPECT_EQ(src.GetPixel(1, 0), PLPixel32(5, 6, 7, 8));
  src = src;
  EXPECT_EQ(src.GetPixel(0, 0), PLPixel32(1, 2, 3, 4));
}

TEST(PLAnyBmp, ThirtyTwoToOneBitThresholdsAt128) {
  PLAnyBmp src =
      Make32(3, 1, {PLPixel32(127, 127, 127, 0), PLPixel32(128, 0, 0, 0), PLPixel32(0, 0, 0, 0)});
  PLAnyBmp dst;
  dst.CreateCopy(src, 1);
  EXPECT_EQ(dst.GetLineArray()[0][0], 0xA0);  // pixels 0 and 2 black, pixel 1 white
  EXPECT_EQ(dst.GetPalette()[0], PLPixel32(255, 255, 255, 255));
  EXPECT_EQ(dst.GetPalette()[1], PLPixel32(0, 0, 0, 255));
  PLAnyBmp back;
  back.CreateCopy(dst, 32);
  EXPECT_EQ(back.GetPixel(0, 0), PLPixel32(0, 0, 0, 255));
  EXPECT_EQ(back.GetPixel(1, 0), PLPixel32(255, 255, 255, 255));
}

TEST(PLAnyBmp, OneBitToEightKeepsBitsAndPalette) {
  PLAnyBmp src;
  src.Create(10, 1, 1, false, false);
  src.GetLineArray()[0][0] = 0x81;
  src.GetLineArray()[0][1] = 0x40;
  src.SetPaletteEntry(0, 9, 9, 9, 0);
  PLAnyBmp dst;
  dst.CreateCopy(src, 8);
  const uint8_t want[10] = {1, 0, 0, 0, 0, 0, 0, 1, 0, 1};
  EXPECT_EQ(std::memcmp(dst.GetLineArray()[0], want, 10), 0);
  EXPECT_EQ(dst.GetPalette()[0], PLPixel32(9, 9, 9, 255));
  EXPECT_EQ(dst.GetPalette()[1], PLPixel32(255, 255, 255, 255));
}

// 24-bit sources used to be read with the pixel size of another depth; every
// conversion now reads them as 24-bit pixels.
TEST(PLAnyBmp, TwentyFourBitSourcesConvertToEveryDepth) {
  PLAnyBmp src;
  src.Create(5, 2, 24, false, false);
  for (int x = 0; x < 5; ++x) {
    src.GetLineArray24()[0][x].Set(255, 0, 0);
    src.GetLineArray24()[1][x].Set(10, 10, 10);
  }
  PLAnyBmp to32, to8, to1;
  to32.CreateCopy(src, 32);
  to8.CreateCopy(src, 8);
  to1.CreateCopy(src, 1);
  EXPECT_EQ(to32.GetPixel(4, 0), PLPixel32(255, 0, 0, 255));
  EXPECT_EQ(to8.GetLineArray()[0][4], 249);  // red in the default palette
  EXPECT_EQ(to1.GetLineArray()[0][0], 0x00);
  EXPECT_EQ(to1.GetLineArray()[1][0], 0xF8);
}

TEST(PLAnyBmp, AlmostEqualCountsEveryPaletteEntryAndOneBitPixel) {
  PLAnyBmp a;
  a.Create(4, 1, 8, false, false);
  PLAnyBmp b(a);
  EXPECT_TRUE(a == b);
  b.SetPaletteEntry(255, 0, 0, 0, 255);
  EXPECT_FALSE(a == b);
  PLAnyBmp c(a);
  c.GetLineArray()[0][3] = 2;
  EXPECT_FALSE(a == c);
  EXPECT_TRUE(a.AlmostEqual(c, 2));

  PLAnyBmp one1, one2;
  one1.Create(9, 1, 1, false, false);
  one2.Create(9, 1, 1, false, false);
  one2.GetLineArray()[0][1] = 0x80;  // pixel 8
  EXPECT_FALSE(one1 == one2);
}

TEST(PLAnyBmp, SetAlphaChannelNeedsAMatchingEightBitBitmap) {
  PLAnyBmp img = Make32(2, 1, {PLPixel32(1, 1, 1, 0), PLPixel32(2, 2, 2, 0)});
  PLAnyBmp wrong;
  wrong.Create(3, 1, 8, false, false);
  img.SetAlphaChannel(&wrong);
  EXPECT_FALSE(img.HasAlpha());
  PLAnyBmp alpha;
  alpha.Create(2, 1, 8, false, false);
  alpha.GetLineArray()[0][1] = 77;
  img.SetAlphaChannel(&alpha);
  EXPECT_TRUE(img.HasAlpha());
  EXPECT_EQ(img.GetPixel(1, 0), PLPixel32(2, 2, 2, 77));
}

TEST(PLAnyBmp, FindNearestColorTakesTheFirstOfEquals) {
  PLAnyBmp b;
  b.Create(1, 1, 1, false, false);  // black, white
  EXPECT_EQ(b.FindNearestColor(PLPixel32(100, 100, 100, 0)), 0);
  EXPECT_EQ(b.FindNearestColor(PLPixel32(200, 100, 100, 0)), 1);
  PLAnyBmp t;
  t.Create(1, 1, 32, false, false);
  EXPECT_EQ(t.FindNearestColor(PLPixel32(0, 0, 0, 0)), -1);
}

TEST(PLAnyBmp, PixelAccessOutsideTheBitmapIsHarmless) {
  PLAnyBmp b = Make32(
      2, 2,
      {PLPixel32(1, 1, 1, 1), PLPixel32(2, 2, 2, 2), PLPixel32(3, 3, 3, 3), PLPixel32(4, 4, 4, 4)});
  b.SetPixel(2, 0, PLPixel32(9, 9, 9, 9));
  b.SetPixel(-1, 1, PLPixel32(9, 9, 9, 9));
  EXPECT_EQ(b.GetPixel(5, 5), PLPixel32(0, 0, 0, 0));
  EXPECT_EQ(b.GetPixel(1, 1), PLPixel32(4, 4, 4, 4));
}

TEST(PLAnyBmp, EmptyBitmapsCopyAndConvert) {
  for (int bpp : {1, 8, 24, 32}) {
    PLAnyBmp empty;
    empty.Create(0, 3, static_cast<unsigned short>(bpp), false, false);
    PLAnyBmp copy(empty);
    EXPECT_EQ(copy.GetHeight(), 3);
    for (int to : {1, 8, 24, 32}) {
      PLAnyBmp other;
      other.CreateCopy(empty, to);
      EXPECT_EQ(other.GetWidth(), 0) << bpp << " to " << to;
    }
  }
}

TEST(PLBmpInfo, TextFormRoundTrips) {
  const PLBmpInfo info(PLPoint(640, 480), 32, PLPoint(72, 96), true, false);
  char text[128];
  info.AsString(text, sizeof text);
  EXPECT_STREQ(text, "{ Size: (640, 480), bpp: 32, Resolution: (72, 96), Alpha: 1, Greyscale: 0 }");
  EXPECT_TRUE(PLBmpInfo(text) == info);
  char tiny[6];
  info.AsString(tiny, sizeof tiny);
  EXPECT_STREQ(tiny, "{ Siz");
  const PLBmpInfo junk("nonsense");
  EXPECT_EQ(junk.GetWidth(), 0);
  EXPECT_EQ(junk.GetBitsPerPixel(), 0);
}

}  // namespace
