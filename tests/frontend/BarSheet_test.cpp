// The bar's picture sheet (res/bar.bmp, drawn by the build) against the
// places the bar copies its faces from: every face the bar can show lies on
// the sheet, carries a picture, meets its neighbours on the bar's grey, and
// looks different when pressed where the bar shows a pressed face.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "frontend/BarCells.h"
#include "tests/support/DecodedImage.h"
#include "tests/support/TestPaths.h"

namespace {

constexpr uint32_t kBarGrey = 0xC7C7C7;

std::string ResPath(const std::string& file) { return kvrtest::DistDir() + "/res/" + file; }

// The distinct colours of a sheet rectangle.
size_t Colours(const DecodedImage& d, const BarFaceCopy& f) {
  std::set<uint32_t> seen;
  for (int y = f.srcY; y < f.srcY + f.height; ++y) {
    for (int x = f.srcX; x < f.srcX + f.width; ++x) seen.insert(d.At(x, y));
  }
  return seen.size();
}

bool SameFace(const DecodedImage& d, const BarFaceCopy& a, const BarFaceCopy& b) {
  for (int y = 0; y < a.height; ++y) {
    for (int x = 0; x < a.width; ++x) {
      if (d.At(a.srcX + x, a.srcY + y) != d.At(b.srcX + x, b.srcY + y)) return false;
    }
  }
  return true;
}

TEST(BarSheet, EveryFaceTheBarShowsIsDrawn) {
  const DecodedImage sheet = DecodeImage(ResPath("bar.bmp"));
  ASSERT_TRUE(sheet.error.empty()) << sheet.error;
  ASSERT_EQ(sheet.width, kSheetWidth);
  ASSERT_EQ(sheet.height, kSheetHeight);
  for (int mask = 0; mask < 64; ++mask) {
    BarFaceModes m{};
    m.shortBar = mask & 1;
    m.chinese = mask & 2;
    m.pinYin = mask & 4;
    m.fanTi = mask & 8;
    m.fullWidth = mask & 16;
    m.chnPunct = mask & 32;
    for (int icon1 : {0, 1, 2}) {
      for (int frame = 0; frame < 5; ++frame) {
        m.icon1 = icon1;
        m.iconFrame = frame;
        for (const typBarCell& cell : kBarCellTable) {
          const BarCellFace normal = BarCellFaceFor(cell.bit, false, m);
          const BarCellFace pressed = BarCellFaceFor(cell.bit, true, m);
          for (int i = 0; i < normal.nCopies; ++i) {
            SCOPED_TRACE(testing::Message() << "modes " << mask << " icon " << icon1 << " frame "
                                            << frame << " cell " << cell.bit << " copy " << i);
            const BarFaceCopy& f = normal.copies[i];
            ASSERT_LE(f.srcX + f.width, sheet.width);
            ASSERT_LE(f.srcY + f.height, sheet.height);
            // A button with a picture, not an empty patch.
            EXPECT_GE(Colours(sheet, f), 8u);
            // Its corners are the bar's grey, so neighbouring faces meet
            // cleanly on the bar and on the sheet.
            EXPECT_EQ(sheet.At(f.srcX, f.srcY), kBarGrey);
            EXPECT_EQ(sheet.At(f.srcX, f.srcY + f.height - 1), kBarGrey);
            const BarFaceCopy& p = pressed.copies[i];
            const bool samePlace = p.srcX == f.srcX && p.srcY == f.srcY;
            if (!samePlace) {
              EXPECT_FALSE(SameFace(sheet, f, p));
            }
          }
        }
      }
    }
  }
}

TEST(BarSheet, TipAreaPictureSitsOnWhite) {
  const DecodedImage tips = DecodeImage(ResPath("tips.bmp"));
  ASSERT_TRUE(tips.error.empty()) << tips.error;
  EXPECT_EQ(tips.width, 64);
  EXPECT_EQ(tips.height, 72);
  // The tip area is white: the picture's edges are too.
  for (int x = 0; x < tips.width; ++x) {
    EXPECT_EQ(tips.At(x, tips.height - 1), 0xFFFFFFu) << x;
  }
  for (int y = 0; y < tips.height; ++y) {
    EXPECT_EQ(tips.At(0, y), 0xFFFFFFu) << y;
    EXPECT_EQ(tips.At(tips.width - 1, y), 0xFFFFFFu) << y;
  }
  EXPECT_NE(tips.At(32, 28), 0xFFFFFFu);  // the bulb
}

}  // namespace
