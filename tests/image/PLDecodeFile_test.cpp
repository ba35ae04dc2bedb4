#include <gtest/gtest.h>

#include <string>

#include "image/PLAnyBmp.h"
#include "image/PLDecodeFile.h"
#include "tests/image/ImageTestUtil.h"
#include "tests/support/TestPaths.h"

namespace {

TEST(PLDecodeFile, DecodesAtTheRequestedDepth) {
  kvrtest::ScratchDir dir;
  imgtest::BmpLayout s;
  s.width = 2;
  s.height = 2;
  s.bpp = 8;
  s.colorsUsed = 2;
  s.palette = {{1, 2, 3}, {200, 100, 50}};
  s.pixels = {1, 0, 0, 0, 0, 1, 0, 0};
  imgtest::WriteFile(dir.File("a.bmp"), imgtest::BuildBmp(s));
  PLAnyBmp bmp;
  CString error;
  ASSERT_TRUE(PLDecodeFile(dir.File("a.bmp").c_str(), &bmp, 32, &error))
      << static_cast<const char*>(error);
  EXPECT_EQ(bmp.GetBitsPerPixel(), 32);
  EXPECT_EQ(bmp.GetPixel(1, 0), PLPixel32(200, 100, 50, 255));  // top row is stored last
  EXPECT_EQ(bmp.GetPixel(0, 1), PLPixel32(200, 100, 50, 255));
}

// Every failure comes back as false and one line naming the file; nothing is
// thrown past the call.
TEST(PLDecodeFile, FailuresAreOneLineNamingTheFile) {
  kvrtest::ScratchDir dir;
  imgtest::BmpLayout s;
  s.bpp = 8;
  s.colorsUsed = 300;
  imgtest::WriteFile(dir.File("big.bmp"), imgtest::BuildBmp(s));
  imgtest::WriteFile(dir.File("notes.txt"), {'h', 'e', 'l', 'l', 'o'});
  struct Case {
    std::string path;
    std::string want;
  } const cases[] = {
      {dir.File("missing.bmp"),
       dir.File("missing.bmp") + ": Opening " + dir.File("missing.bmp") + " failed"},
      {dir.File("big.bmp"),
       dir.File("big.bmp") + ": Bitmap decoder: colour table of 300 entries (at most 256)."},
      {dir.File("notes.txt"), dir.File("notes.txt") + ": Unknown file type."},
  };
  for (const Case& c : cases) {
    PLAnyBmp bmp;
    CString error;
    EXPECT_FALSE(PLDecodeFile(c.path.c_str(), &bmp, 32, &error));
    EXPECT_EQ(std::string(static_cast<const char*>(error)), c.want);
    EXPECT_FALSE(PLDecodeFile(c.path.c_str(), &bmp, 32, nullptr));
  }
}

}  // namespace
