#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <set>
#include <vector>

#include "image/PLAnyBmp.h"
#include "image/PLFilterQuantize.h"

namespace {

using Q = PLFilterQuantize;

PLAnyBmp Image(int w, int h, const std::vector<PLPixel32>& pixels) {
  PLAnyBmp b;
  b.Create(w, h, 32, false, false);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.GetLineArray32()[y][x] = pixels[y * w + x];
  return b;
}

std::vector<PLPixel32> RandomPixels(int n, unsigned seed) {
  std::mt19937 rng(seed);
  std::vector<PLPixel32> v;
  for (int i = 0; i < n; ++i) v.emplace_back(rng() & 255, rng() & 255, rng() & 255, 255);
  return v;
}

// An independent model of the mapping: the nearest palette entry by squared
// RGB distance (first of equals), remembered per 5-bit cell for the first
// colour of the cell that is mapped; dithering applied to the colour first.
// Floyd-Steinberg errors live in a whole-image array here.
std::vector<uint8_t> OracleMap(const std::vector<PLPixel32>& img, int w, int h,
                               const PLPixel32* pal, int dither) {
  std::map<int, int> cache;
  auto nearest = [&](int r, int g, int b) {
    const int cell = ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3);
    auto it = cache.find(cell);
    if (it != cache.end()) return it->second;
    int best = 0;
    long bestD = -1;
    for (int i = 0; i < 256; ++i) {
      const long d = long(r - pal[i].GetR()) * (r - pal[i].GetR()) +
                     long(g - pal[i].GetG()) * (g - pal[i].GetG()) +
                     long(b - pal[i].GetB()) * (b - pal[i].GetB());
      if (bestD < 0 || d < bestD) {
        bestD = d;
        best = i;
      }
    }
    cache[cell] = best;
    return best;
  };
  static const int kM[16] = {-7, 1, -5, 3, 5, -3, 7, -1, -4, 4, -6, 2, 8, 0, 6, -2};
  std::vector<uint8_t> out(img.size());
  std::vector<double> err(img.size() * 3, 0.0);
  for (int y = 0; y < h; ++y) {
    const bool ltr = y % 2 == 0;
    for (int i = 0; i < w; ++i) {
      const int x = (dither == 2 && !ltr) ? w - 1 - i : i;
      const PLPixel32& p = img[y * w + x];
      int c[3] = {p.GetR(), p.GetG(), p.GetB()};
      if (dither == 1) {
        const int off = 2 * kM[((w - 1 - x) % 4) * 4 + y % 4];
        for (int& v : c) v = std::min(255, std::max(0, v + off));
      }
      double exact[3] = {0, 0, 0};
      if (dither == 2) {
        for (int a = 0; a < 3; ++a) {
          exact[a] = std::min(255.0, std::max(0.0, c[a] + err[(y * w + x) * 3 + a]));
          c[a] = static_cast<int>(exact[a]);
        }
      }
      const int idx = nearest(c[0], c[1], c[2]);
      out[y * w + x] = static_cast<uint8_t>(idx);
      if (dither != 2) continue;
      const int dir = ltr ? 1 : -1;
      const int chosen[3] = {pal[idx].GetR(), pal[idx].GetG(), pal[idx].GetB()};
      auto give = [&](int xx, int yy, int a, double amount) {
        if (xx >= 0 && xx < w && yy < h) err[(yy * w + xx) * 3 + a] += amount;
      };
      for (int a = 0; a < 3; ++a) {
        const double e = (exact[a] - chosen[a]) / 16.0;
        give(x + dir, y, a, 7 * e);
        give(x - dir, y + 1, a, 3 * e);
        give(x, y + 1, a, 5 * e);
        give(x + dir, y + 1, a, 1 * e);
      }
    }
  }
  return out;
}

std::vector<uint8_t> Indices(const PLAnyBmp& b) {
  std::vector<uint8_t> v;
  for (int y = 0; y < b.GetHeight(); ++y)
    for (int x = 0; x < b.GetWidth(); ++x) v.push_back(b.GetLineArray()[y][x]);
  return v;
}

TEST(PLFilterQuantize, DefaultPaletteEntries) {
  const PLPixel32* p = Q::GetDefaultPalette();
  struct Case {
    int i;
    PLPixel32 c;
  } const cases[] = {{0, PLPixel32(0, 0, 0, 0)},         {1, PLPixel32(191, 0, 0, 0)},
                     {9, PLPixel32(166, 202, 240, 0)},   {15, PLPixel32(0, 128, 128, 0)},
                     {16, PLPixel32(0, 81, 0, 0)},       {17, PLPixel32(81, 81, 0, 0)},
                     {63, PLPixel32(55, 133, 81, 0)},    {224, PLPixel32(217, 255, 255, 0)},
                     {225, PLPixel32(196, 196, 196, 0)}, {244, PLPixel32(253, 253, 253, 0)},
                     {245, PLPixel32(155, 207, 207, 0)}, {249, PLPixel32(255, 0, 0, 0)},
                     {255, PLPixel32(255, 255, 255, 0)}};
  for (const Case& c : cases) EXPECT_EQ(p[c.i], c.c) << c.i;
}

TEST(PLFilterQuantize, MappingMatchesTheOracleForEveryDitherAndPalette) {
  constexpr int kW = 23, kH = 17;
  const std::vector<PLPixel32> pixels = RandomPixels(kW * kH, 7);
  const PLAnyBmp src = Image(kW, kH, pixels);
  std::vector<PLPixel32> user = RandomPixels(256, 99);
  for (int paletteType : {Q::kDefaultPalette, Q::kUserPalette}) {
    for (int dither : {Q::kNoDither, Q::kOrderedDither, Q::kFloydSteinberg}) {
      SCOPED_TRACE(testing::Message() << "palette " << paletteType << " dither " << dither);
      Q q(paletteType, dither);
      if (paletteType == Q::kUserPalette) q.SetUserPalette(user.data());
      PLAnyBmp dst;
      dst.CreateFilteredCopy(const_cast<PLAnyBmp&>(src), q);
      ASSERT_EQ(dst.GetBitsPerPixel(), 8);
      const PLPixel32* pal = paletteType == Q::kUserPalette ? user.data() : Q::GetDefaultPalette();
      for (int i = 0; i < 256; ++i) ASSERT_EQ(dst.GetPalette()[i], pal[i]) << i;
      EXPECT_EQ(Indices(dst), OracleMap(pixels, kW, kH, pal, dither));
    }
  }
}

TEST(PLFilterQuantize, KnownColoursOfTheDefaultPalette) {
  const PLAnyBmp src = Image(
      3, 1, {PLPixel32(255, 0, 0, 255), PLPixel32(191, 0, 0, 255), PLPixel32(255, 255, 255, 255)});
  PLAnyBmp dst;
  dst.CreateCopy(src, 8);  // a bitmap's default modes: default palette, no dither
  EXPECT_EQ(Indices(dst), (std::vector<uint8_t>{249, 1, 255}));
}

TEST(PLFilterQuantize, FloydSteinbergLeavesAPaletteColourAlone) {
  const PLAnyBmp src = Image(6, 5, std::vector<PLPixel32>(30, PLPixel32(0, 128, 128, 255)));
  PLAnyBmp dst;
  dst.CreateFilteredCopy(const_cast<PLAnyBmp&>(src), Q(Q::kDefaultPalette, Q::kFloydSteinberg));
  EXPECT_EQ(Indices(dst), std::vector<uint8_t>(30, 15));
}

TEST(PLFilterQuantize, OrderedDitherStartsWithMinusFourteen) {
  // One pixel: row 0, counted column 0, so every channel moves by 2 * -7.
  // (14, 14, 14) becomes black; without the offset it would not.
  const PLAnyBmp src = Image(1, 1, {PLPixel32(104, 14, 14, 255)});
  PLPixel32 pal[256];
  for (PLPixel32& p : pal) p = PLPixel32(255, 255, 255, 0);
  pal[0] = PLPixel32(90, 0, 0, 0);  // exactly the shifted colour
  pal[1] = PLPixel32(104, 14, 14, 0);
  Q q(Q::kUserPalette, Q::kOrderedDither);
  q.SetUserPalette(pal);
  PLAnyBmp dst;
  dst.CreateFilteredCopy(const_cast<PLAnyBmp&>(src), q);
  EXPECT_EQ(dst.GetLineArray()[0][0], 0);
}

TEST(PLFilterQuantize, MedianCutOfOneColour) {
  const PLAnyBmp src = Image(4, 4, std::vector<PLPixel32>(16, PLPixel32(100, 150, 200, 255)));
  PLAnyBmp dst;
  dst.CreateFilteredCopy(const_cast<PLAnyBmp&>(src), Q(Q::kMedianCut, Q::kNoDither));
  const PLPixel32* p = dst.GetPalette();
  EXPECT_EQ(p[0], PLPixel32(0, 0, 0, 0));
  EXPECT_EQ(p[7], PLPixel32(255, 255, 255, 0));
  EXPECT_EQ(p[8], PLPixel32(12 * 255 / 31, 18 * 255 / 31, 25 * 255 / 31, 0));
  for (int i = 9; i < 256; ++i) EXPECT_EQ(p[i], PLPixel32(0, 0, 0, 0)) << i;
  EXPECT_EQ(Indices(dst), std::vector<uint8_t>(16, 8));
}

// The cut keeps splitting while a box holds two colours, so a few colours far
// enough apart each end in a box of their own, whose palette colour is the
// colour's 5-bit cell widened again. Coordinates that are multiples of 3
// never give a box of extent exactly 2.
TEST(PLFilterQuantize, MedianCutSeparatesFewColours) {
  std::mt19937 rng(5);
  std::set<int> cells;
  std::vector<PLPixel32> colours;
  while (colours.size() < 40) {
    const int r = 3 * (rng() % 11), g = 3 * (rng() % 11), b = 3 * (rng() % 11);
    if (!cells.insert(r << 10 | g << 5 | b).second) continue;
    colours.emplace_back(r * 8 + 5, g * 8 + 2, b * 8 + 7, 255);
  }
  std::vector<PLPixel32> pixels;
  for (int i = 0; i < 400; ++i) pixels.push_back(colours[rng() % colours.size()]);
  const PLAnyBmp src = Image(20, 20, pixels);
  PLAnyBmp dst;
  dst.CreateFilteredCopy(const_cast<PLAnyBmp&>(src), Q(Q::kMedianCut, Q::kNoDither));
  for (int i = 0; i < 400; ++i) {
    const PLPixel32& c = pixels[i];
    const PLPixel32 want((c.GetR() >> 3) * 255 / 31, (c.GetG() >> 3) * 255 / 31,
                         (c.GetB() >> 3) * 255 / 31, 0);
    EXPECT_EQ(dst.GetPalette()[dst.GetLineArray()[i / 20][i % 20]], want) << i;
  }
  int used = 0;
  for (int i = 8; i < 256; ++i) used += dst.GetPalette()[i] != PLPixel32(0, 0, 0, 0);
  EXPECT_LE(used, 40);
}

TEST(PLFilterQuantize, PopularityOrdersByFrequencyAndCountsLevel31) {
  // Colour i (5-bit cells) appears 10 - i times; colour 0 sits on level 31.
  const int cells[5][3] = {{31, 10, 5}, {4, 8, 12}, {20, 1, 30}, {7, 7, 7}, {16, 24, 2}};
  std::vector<PLPixel32> pixels;
  for (int i = 0; i < 5; ++i)
    for (int n = 0; n < 10 - i; ++n)
      pixels.emplace_back(cells[i][0] * 8, cells[i][1] * 8, cells[i][2] * 8, 255);
  const PLAnyBmp src = Image(static_cast<int>(pixels.size()), 1, pixels);
  PLAnyBmp dst;
  dst.CreateFilteredCopy(const_cast<PLAnyBmp&>(src), Q(Q::kPopularity, Q::kNoDither));
  const PLPixel32* p = dst.GetPalette();
  EXPECT_EQ(p[1], PLPixel32(255, 0, 0, 0));  // corner (31, 0, 0)
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(p[8 + i],
              PLPixel32(cells[i][0] * 255 / 31, cells[i][1] * 255 / 31, cells[i][2] * 255 / 31, 0))
        << i;
  }
  EXPECT_EQ(dst.GetLineArray()[0][0], 8);
  EXPECT_EQ(dst.GetLineArray()[0][pixels.size() - 1], 12);
}

// The colour table used to keep counts and cached lookups from one image to
// the next; each Apply starts afresh.
TEST(PLFilterQuantize, EachApplyStartsAfresh) {
  const Q q(Q::kMedianCut, Q::kNoDither);
  const PLAnyBmp red = Image(2, 2, std::vector<PLPixel32>(4, PLPixel32(200, 0, 0, 255)));
  const PLAnyBmp blue = Image(2, 2, std::vector<PLPixel32>(4, PLPixel32(0, 0, 120, 255)));
  PLAnyBmp a, b;
  a.CreateFilteredCopy(const_cast<PLAnyBmp&>(red), q);
  b.CreateFilteredCopy(const_cast<PLAnyBmp&>(blue), q);
  EXPECT_EQ(b.GetPalette()[8], PLPixel32(0, 0, 15 * 255 / 31, 0));
  EXPECT_EQ(b.GetLineArray()[1][1], 8);
}

TEST(PLFilterQuantize, InPlaceOnAnyDepth) {
  PLAnyBmp b;
  b.Create(4, 2, 24, false, false);
  for (int x = 0; x < 4; ++x) b.GetLineArray24()[1][x].Set(0, 255, 0);
  b.ApplyFilter(Q(Q::kDefaultPalette, Q::kNoDither));
  EXPECT_EQ(b.GetBitsPerPixel(), 8);
  EXPECT_EQ(b.GetLineArray()[1][3], 40);  // the cube's green comes before entry 250
  EXPECT_EQ(b.GetLineArray()[0][0], 0);
}

}  // namespace
