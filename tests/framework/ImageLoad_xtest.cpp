// Resource images: finding them in res/ by id or name ignoring case,
// decoding them and converting them into X images; broken files give no
// image and never end the program.
#include <gtest/gtest.h>
// Xlib after gtest.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <sys/stat.h>

#include <cstdint>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "base/FixedMaps.h"
#include "framework/Colours.h"
#include "framework/Drawing.h"
#include "framework/ImageLoad.h"
#include "framework/ResourceCompiler.h"
#include "image/PLAnyBmp.h"
#include "tests/framework/FrameworkTestApp.h"
#include "tests/framework/XPixels.h"
#include "tests/support/TestPaths.h"

static FrameworkTestApp theApp;
static auto* const kEnv = ::testing::AddGlobalTestEnvironment(new KernelEnv);

namespace {

using Pixels = std::vector<std::vector<uint32_t>>;  // rows of 0xRRGGBB, top first

void Le(std::string& b, uint32_t v, int n) {
  for (int i = 0; i < n; ++i) b += static_cast<char>((v >> (8 * i)) & 0xFF);
}

// A 24-bit bottom-up BMP file of the pixels.
std::string Bmp(const Pixels& px) {
  const int h = static_cast<int>(px.size()), w = static_cast<int>(px[0].size());
  const int stride = (w * 3 + 3) & ~3;
  std::string b = "BM";
  Le(b, 54 + stride * h, 4);
  Le(b, 0, 4);
  Le(b, 54, 4);
  Le(b, 40, 4);
  Le(b, w, 4);
  Le(b, h, 4);
  Le(b, 1, 2);
  Le(b, 24, 2);
  Le(b, 0, 4);
  Le(b, stride * h, 4);
  Le(b, 2835, 4);
  Le(b, 2835, 4);
  Le(b, 0, 4);
  Le(b, 0, 4);
  for (int y = h - 1; y >= 0; --y) {
    std::string row;
    for (uint32_t c : px[y]) {
      row += static_cast<char>(c & 0xFF);
      row += static_cast<char>((c >> 8) & 0xFF);
      row += static_cast<char>((c >> 16) & 0xFF);
    }
    row.resize(stride, '\0');
    b += row;
  }
  return b;
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

unsigned long Px(unsigned long rgb) {
  unsigned long pixel = 0;
  GetClosestSysClr(rgb, &pixel);
  return pixel;
}

struct FakeCompiler : IResourceCompiler {
  int LoadGuiResFromRC(const char*) override { return 1; }
  int SaveGuiRes() override { return 1; }
  const AMapStringToString* GetBitmapTable() const override { return &bitmaps; }
  const AMapStringToString* GetIconTable() const override { return &icons; }
  AMapStringToString bitmaps, icons;
};

const Pixels kTwoByTwo = {{0xFF0000, 0x00FF00}, {0x0000FF, 0xFFFFFF}};

class ImageLoad : public testing::Test {
 protected:
  void SetUp() override {
    m_oldDir = theApp.m_strProgDir;
    theApp.m_strProgDir = (m_dir.Path() + "/").c_str();
    mkdir(Res().c_str(), 0755);
    auto rc = std::make_unique<FakeCompiler>();
    m_rc = rc.get();
    theApp.SetResourceCompiler(std::move(rc));
  }
  void TearDown() override {
    theApp.SetResourceCompiler(nullptr);
    theApp.m_strProgDir = m_oldDir;
  }
  std::string Res() const { return m_dir.Path() + "/res"; }

  kvrtest::ScratchDir m_dir;
  CString m_oldDir;
  FakeCompiler* m_rc = nullptr;
};

void ExpectPixels(XImage* img, const Pixels& px) {
  ASSERT_NE(img, nullptr);
  ASSERT_EQ(img->width, static_cast<int>(px[0].size()));
  ASSERT_EQ(img->height, static_cast<int>(px.size()));
  for (size_t y = 0; y < px.size(); ++y)
    for (size_t x = 0; x < px[y].size(); ++x)
      EXPECT_EQ(XGetPixel(img, static_cast<int>(x), static_cast<int>(y)), Px(px[y][x]))
          << x << "," << y;
}

TEST_F(ImageLoad, TwoByTwoImageIsConvertedAndDrawn) {
  const std::string path = Res() + "/t.bmp";
  WriteFile(path, Bmp(kTwoByTwo));
  XImage* img = LoadBmpFile(path.c_str());
  ExpectPixels(img, kTwoByTwo);
  ASSERT_NE(img, nullptr);
  EXPECT_EQ(img->depth, DefaultDepth(dsply, scrn));
  EXPECT_EQ(img->format, ZPixmap);
  // Put on a drawable and read back.
  TestPixmap pm(6, 6);
  AfcPutImage(dsply, pm.id(), pm.gc(), img, 0, 0, 2, 3, 2, 2, GXcopy);
  EXPECT_EQ(pm.At(2, 3), Px(0xFF0000));
  EXPECT_EQ(pm.At(3, 3), Px(0x00FF00));
  EXPECT_EQ(pm.At(2, 4), Px(0x0000FF));
  EXPECT_EQ(pm.At(3, 4), Px(0xFFFFFF));
  XDestroyImage(img);
}

TEST_F(ImageLoad, ImageWiderThanTheScreenLoads) {
  const int w = DisplayWidth(dsply, scrn) + 37;
  Pixels px(2, std::vector<uint32_t>(static_cast<size_t>(w), 0x808080));
  px[1][static_cast<size_t>(w - 1)] = 0x102030;
  const std::string path = Res() + "/wide.bmp";
  WriteFile(path, Bmp(px));
  XImage* img = LoadBmpFile(path.c_str());
  ASSERT_NE(img, nullptr);
  EXPECT_EQ(img->width, w);
  EXPECT_EQ(XGetPixel(img, w - 1, 1), Px(0x102030));
  EXPECT_EQ(XGetPixel(img, 0, 0), Px(0x808080));
  XDestroyImage(img);
}

TEST_F(ImageLoad, MissingOrBrokenFilesGiveNoImage) {
  std::string good = Bmp(kTwoByTwo);
  struct Case {
    const char* name;
    std::string bytes;
  };
  const Case cases[] = {
      {"garbage", "this is not an image at all, not even close"},
      {"empty", ""},
      {"truncated", good.substr(0, 60)},
      {"header only", good.substr(0, 54)},
      {"JPEG magic then nothing", std::string("\xFF\xD8\xFF\xE0", 4)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = Res() + "/broken.bmp";
    WriteFile(path, c.bytes);
    testing::internal::CaptureStderr();
    XImage* img = LoadBmpFile(path.c_str());
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(img, nullptr);
    if (img) XDestroyImage(img);
    EXPECT_NE(err.find("broken.bmp"), std::string::npos) << err;
  }
  testing::internal::CaptureStderr();
  EXPECT_EQ(LoadBmpFile((Res() + "/missing.bmp").c_str()), nullptr);
  EXPECT_EQ(LoadBmpFile(""), nullptr);
  EXPECT_EQ(LoadBmpFile(nullptr), nullptr);
  EXPECT_EQ(LoadPLBmp((Res() + "/missing.bmp").c_str()), nullptr);
  testing::internal::GetCapturedStderr();
}

TEST_F(ImageLoad, DecodedBitmapIs32Bit) {
  const std::string path = Res() + "/t.bmp";
  WriteFile(path, Bmp(kTwoByTwo));
  std::unique_ptr<PLAnyBmp> bmp(LoadPLBmp(path.c_str()));
  ASSERT_NE(bmp, nullptr);
  EXPECT_EQ(bmp->GetBitsPerPixel(), 32);
  EXPECT_EQ(bmp->GetLineArray32()[1][0].GetB(), 0xFF);
}

TEST_F(ImageLoad, NamesMatchIgnoringCase) {
  WriteFile(Res() + "/Logo.BMP", Bmp(kTwoByTwo));
  WriteFile(Res() + "/logo.bmp", Bmp({{0x000000}}));
  // The last match in alphabetical order wins.
  EXPECT_STREQ(GetMatchingRealFileNameForCaseInSensitiveName(Res().c_str(), "LOGO.bmp"),
               "logo.bmp");
  EXPECT_STREQ(GetMatchingRealFileNameForCaseInSensitiveName(Res().c_str(), "none.bmp"), "");
  EXPECT_STREQ(GetMatchingRealFileNameForCaseInSensitiveName((Res() + "/nodir").c_str(), "a"), "");
  char name[] = "LOGO.BMP";
  XImage* img = LoadBmp(name);
  ExpectPixels(img, {{0x000000}});
  if (img) XDestroyImage(img);
  EXPECT_EQ(LoadBmp(nullptr), nullptr);
}

TEST_F(ImageLoad, ResourceIdsThroughTheBitmapThenTheIconTable) {
  WriteFile(Res() + "/bar.Bmp", Bmp(kTwoByTwo));
  WriteFile(Res() + "/icon.bmp", Bmp({{0x112233}}));
  m_rc->bitmaps.SetAt("101", "BAR.BMP");
  m_rc->icons.SetAt("102", "icon.bmp");
  m_rc->icons.SetAt("101", "icon.bmp");  // the bitmap table comes first
  m_rc->bitmaps.SetAt("103", "gone.bmp");
  EXPECT_STREQ(GetResImgPathFromId(101), (Res() + "/bar.Bmp").c_str());
  EXPECT_STREQ(GetResImgPathFromId(102), (Res() + "/icon.bmp").c_str());
  EXPECT_STREQ(GetResImgPathFromId(103), (Res() + "/").c_str());
  testing::internal::CaptureStdout();
  EXPECT_STREQ(GetResImgPathFromId(999), "");
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "BMP 999 not found!!!");

  XImage* img = LoadBmpId(101);
  ExpectPixels(img, kTwoByTwo);
  if (img) XDestroyImage(img);
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  EXPECT_EQ(LoadBmpId(999), nullptr);
  EXPECT_EQ(LoadBmpId(103), nullptr);
  testing::internal::GetCapturedStderr();
  testing::internal::GetCapturedStdout();
}

}  // namespace
