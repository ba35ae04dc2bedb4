// Files written by another program (ImageMagick; see fixtures/README),
// decoded through the subsystem's entry and compared with the pictures they
// were made from.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "image/PLAnyBmp.h"
#include "image/PLDecodeFile.h"
#include "tests/support/TestPaths.h"

namespace {

std::string Fixture(const std::string& name) {
  return kvrtest::SourceDir() + "/tests/image/fixtures/" + name;
}

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<PLPixel32> pixels;
};

// A plain-text PPM ("P3"), as the fixtures' sources are.
Picture ReadPpm(const std::string& path) {
  std::ifstream in(path);
  std::string magic;
  int maxval = 0;
  Picture p;
  in >> magic >> p.width >> p.height >> maxval;
  EXPECT_EQ(magic, "P3");
  for (int i = 0; i < p.width * p.height; ++i) {
    int r = 0, g = 0, b = 0;
    in >> r >> g >> b;
    p.pixels.emplace_back(r, g, b, 255);
  }
  EXPECT_TRUE(in) << path;
  return p;
}

TEST(ForeignFiles, BitmapsMatchTheirSources) {
  // 16-bit pixels lose up to 8 levels in the writer (5 bits kept) and up to 7
  // more in the decoder, which widens 5 bits by a shift (white is 248).
  struct Case {
    const char* file;
    const char* source;
    int tolerance;
  } const cases[] = {
      {"im_1bit.bmp", "two.ppm", 0},      {"im_4bit.bmp", "four.ppm", 0},
      {"im_8bit.bmp", "many.ppm", 0},     {"im_rle.bmp", "four.ppm", 0},
      {"im_os2.bmp", "four.ppm", 0},      {"im_24bit.bmp", "many.ppm", 0},
      {"im_32bit_v5.bmp", "many.ppm", 0}, {"im_565.bmp", "many.ppm", 16},
      {"im_rgb.jpg", "many.ppm", 24},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const Picture want = ReadPpm(Fixture(c.source));
    PLAnyBmp bmp;
    CString error;
    ASSERT_TRUE(PLDecodeFile(Fixture(c.file).c_str(), &bmp, 32, &error))
        << static_cast<const char*>(error);
    ASSERT_EQ(bmp.GetWidth(), want.width);
    ASSERT_EQ(bmp.GetHeight(), want.height);
    for (int y = 0; y < want.height; ++y) {
      for (int x = 0; x < want.width; ++x) {
        const PLPixel32 got = bmp.GetPixel(x, y);
        const PLPixel32& w = want.pixels[y * want.width + x];
        EXPECT_NEAR(got.GetR(), w.GetR(), c.tolerance) << x << "," << y;
        EXPECT_NEAR(got.GetG(), w.GetG(), c.tolerance) << x << "," << y;
        EXPECT_NEAR(got.GetB(), w.GetB(), c.tolerance) << x << "," << y;
      }
    }
  }
}

TEST(ForeignFiles, GreyJpegIsGreyscale) {
  const Picture src = ReadPpm(Fixture("many.ppm"));
  PLAnyBmp bmp;
  CString error;
  ASSERT_TRUE(PLDecodeFile(Fixture("im_grey.jpg").c_str(), &bmp, 0, &error))
      << static_cast<const char*>(error);
  EXPECT_EQ(bmp.GetBitsPerPixel(), 8);
  EXPECT_TRUE(bmp.IsGreyscale());
  // The writer's grey is one of the two usual lumas; either will do.
  for (int i = 0; i < src.width * src.height; ++i) {
    const PLPixel32& p = src.pixels[i];
    const double luma601 = 0.299 * p.GetR() + 0.587 * p.GetG() + 0.114 * p.GetB();
    const double luma709 = 0.2126 * p.GetR() + 0.7152 * p.GetG() + 0.0722 * p.GetB();
    const int got = bmp.GetLineArray()[i / src.width][i % src.width];
    EXPECT_TRUE(std::abs(got - luma601) <= 24 || std::abs(got - luma709) <= 24)
        << i << ": " << got << " vs " << luma601 << " or " << luma709;
  }
}

}  // namespace
