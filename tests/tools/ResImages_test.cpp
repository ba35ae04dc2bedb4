// The images the build draws into res/ of the distribution directory: the
// resource script names each one under the id the code looks it up by, our
// own decoders read every one, and each has the size and the picture its
// pane relies on.
#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/stat.h>

#include <memory>
#include <string>
#include <vector>

#include "controls/RcCmplr.h"
#include "tests/controls/RcTestUtil.h"
#include "tests/support/DecodedImage.h"
#include "tests/support/TestPaths.h"

namespace {

using Decoded = DecodedImage;

Decoded Decode(const std::string& path) { return DecodeImage(path); }

// Dark enough to be ink on the light pane colours.
bool Ink(uint32_t c) { return ((c >> 16) & 0xFF) + ((c >> 8) & 0xFF) + (c & 0xFF) < 3 * 160; }

// The bounding box of the ink inside a rectangle.
struct Box {
  int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1;
  bool Empty() const { return right < 0; }
  int W() const { return right - left + 1; }
  int H() const { return bottom - top + 1; }
};

Box InkBox(const Decoded& d, int x0, int y0, int x1, int y1) {
  Box b;
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x)
      if (Ink(d.At(x, y))) {
        b.left = std::min(b.left, x);
        b.top = std::min(b.top, y);
        b.right = std::max(b.right, x);
        b.bottom = std::max(b.bottom, y);
      }
  return b;
}

std::string ResPath(const std::string& file) { return kvrtest::DistDir() + "/res/" + file; }

// The bitmap table of the shipped Jux.rc, compiled from a copy in a scratch
// directory.
std::string JuxBitmapFile(int id) {
  kvrtest::ScratchDir dir;
  for (const char* name : {"Jux.rc", "resource.h"})
    rctest::WriteFile(dir.File(name), rctest::ReadFile(kvrtest::DistDir() + "/" + name));
  mkdir(dir.File("res").c_str(), 0777);
  CRcCmplr rc;
  rc.EchoReports(false);
  if (rc.LoadGuiResFromRC(dir.File("Jux.rc").c_str()) != 1) return "";
  CString file;
  CString key(std::to_string(id).c_str());
  if (!rc.m_mapBmps.Lookup(key, file)) return "";
  return std::string(static_cast<const char*>(file));
}

}  // namespace

// The sizes the panes give the windows these images fill (the page arrows)
// or the room they leave for them (stroke cells of 6 pixels, the forecast
// mark in the 16 pixels before the first word).
TEST(ResImages, PaneImagesAreNamedByTheScriptAndDecodeAtTheirSizes) {
  struct Case {
    int id;
    const char* file;
    int width, height;
  } const cases[] = {
      {131, "bihua.bmp", 30, 12},
      {172, "arrows2.bmp", 58, 14},
      {173, "arrows.bmp", 14, 49},
      {175, "forecast.bmp", 14, 14},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    EXPECT_EQ(JuxBitmapFile(c.id), c.file) << "bitmap " << c.id;
    const Decoded d = Decode(ResPath(c.file));
    ASSERT_EQ(d.error, "");
    EXPECT_EQ(d.width, c.width);
    EXPECT_EQ(d.height, c.height);
  }
}

TEST(ResImages, EveryImageInResDecodes) {
  const std::string dir = kvrtest::DistDir() + "/res";
  std::unique_ptr<DIR, int (*)(DIR*)> d(opendir(dir.c_str()), closedir);
  ASSERT_TRUE(d) << dir;
  int images = 0;
  while (dirent* e = readdir(d.get())) {
    const std::string name = e->d_name;
    if (name.size() < 4 || name.compare(name.size() - 4, 4, ".bmp") != 0) continue;
    SCOPED_TRACE(name);
    const Decoded img = Decode(dir + "/" + name);
    EXPECT_EQ(img.error, "");
    EXPECT_GT(img.width, 0);
    ++images;
  }
  EXPECT_GE(images, 4);
}

// Cell i of the stroke strip is the stroke of key i of "-=[];": a flat
// héng, a tall shù, a piě from the upper right to the lower left, a small
// diǎn and a zhé that turns from across to down.
TEST(ResImages, StrokeCellsHoldTheirStrokesInKeyOrder) {
  const Decoded d = Decode(ResPath("bihua.bmp"));
  ASSERT_EQ(d.error, "");
  ASSERT_EQ(d.width, 30);
  Box cell[5];
  for (int i = 0; i < 5; ++i) {
    cell[i] = InkBox(d, 6 * i, 0, 6 * i + 6, d.height);
    ASSERT_FALSE(cell[i].Empty()) << "cell " << i;
  }
  EXPECT_GT(cell[0].W(), 2 * cell[0].H()) << "héng is flat";
  EXPECT_GT(cell[1].H(), 2 * cell[1].W()) << "shù is tall";
  // piě: ink at the upper right and the lower left, none at the lower right.
  EXPECT_TRUE(Ink(d.At(12 + 4, cell[2].top)) || Ink(d.At(12 + 5, cell[2].top)));
  EXPECT_TRUE(Ink(d.At(12 + 1, cell[2].bottom)) || Ink(d.At(12 + 0, cell[2].bottom)));
  EXPECT_FALSE(Ink(d.At(12 + 5, cell[2].bottom)));
  EXPECT_LT(cell[3].H(), cell[1].H()) << "diǎn is short";
  // zhé: a top row across and a right column down, an empty lower left.
  EXPECT_GE(cell[4].W(), 4);
  EXPECT_GT(cell[4].H(), 2 * cell[4].W() - 4);
  EXPECT_FALSE(Ink(d.At(24 + 1, cell[4].bottom)));
  // Strokes stay inside their cells: a gap between neighbours.
  for (int i = 0; i < 4; ++i) EXPECT_LT(cell[i].right, cell[i + 1].left);
}

TEST(ResImages, PageArrowsPointTheWayTheyPage) {
  const Decoded v = Decode(ResPath("arrows.bmp"));
  ASSERT_EQ(v.error, "");
  ASSERT_EQ(v.height, 49);
  // Up arrow in the top half: its widest row is at its bottom.
  const Box up = InkBox(v, 1, 1, v.width - 1, 24);
  const Box down = InkBox(v, 1, 25, v.width - 1, v.height - 1);
  ASSERT_FALSE(up.Empty());
  ASSERT_FALSE(down.Empty());
  auto rowInk = [](const Decoded& d, int y) {
    int n = 0;
    for (int x = 1; x < d.width - 1; ++x) n += Ink(d.At(x, y));
    return n;
  };
  EXPECT_LT(rowInk(v, up.top), rowInk(v, up.bottom));
  EXPECT_GT(rowInk(v, down.top), rowInk(v, down.bottom));

  const Decoded h = Decode(ResPath("arrows2.bmp"));
  ASSERT_EQ(h.error, "");
  ASSERT_EQ(h.width, 58);
  const Box left = InkBox(h, 1, 1, 29, h.height - 1);
  const Box right = InkBox(h, 30, 1, h.width - 1, h.height - 1);
  ASSERT_FALSE(left.Empty());
  ASSERT_FALSE(right.Empty());
  auto colInk = [](const Decoded& d, int x) {
    int n = 0;
    for (int y = 1; y < d.height - 1; ++y) n += Ink(d.At(x, y));
    return n;
  };
  EXPECT_LT(colInk(h, left.left), colInk(h, left.right));
  EXPECT_GT(colInk(h, right.left), colInk(h, right.right));
}

TEST(ResImages, ForecastMarkIsABlueDiscOnThePane) {
  const Decoded d = Decode(ResPath("forecast.bmp"));
  ASSERT_EQ(d.error, "");
  EXPECT_EQ(d.At(0, 0), 0xFFF0F0u) << "corners are the forecast pane's background";
  const uint32_t c = d.At(7, 1);
  EXPECT_GT(c & 0xFF, (c >> 16) & 0xFF) << "blue rim";
}

// The keymap window's nine pictures: the shape code's is taller than the
// pinyin ones, and each pinyin picture shows its own layout (the schemes
// place their finals differently; standard pinyin marks its symbol key).
TEST(ResImages, KeymapPicturesDecodeAtTheirSizesAndDiffer) {
  struct Case {
    const char* file;
    int height;
  } const cases[] = {
      {"keymap.bmp", 480},      {"keymapPY.bmp", 400},     {"keymapPYStd.bmp", 400},
      {"keymapSP.bmp", 400},    {"keymapSP1.bmp", 400},    {"keymapSP2.bmp", 400},
      {"keymapSPStd.bmp", 400}, {"keymapSPStd1.bmp", 400}, {"keymapSPStd2.bmp", 400},
  };
  std::vector<Decoded> pictures;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    pictures.push_back(Decode(ResPath(c.file)));
    const Decoded& d = pictures.back();
    ASSERT_EQ(d.error, "");
    EXPECT_EQ(d.width, 810);
    EXPECT_EQ(d.height, c.height);
    // Keys with labels: plenty of ink.
    const Box ink = InkBox(d, 0, 0, d.width, d.height);
    EXPECT_GT(ink.W(), 700);
    EXPECT_GT(ink.H(), 300);
  }
  for (size_t a = 1; a < pictures.size(); ++a) {
    for (size_t b = a + 1; b < pictures.size(); ++b) {
      int differing = 0;
      for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 810; ++x) differing += pictures[a].At(x, y) != pictures[b].At(x, y);
      EXPECT_GT(differing, 200) << cases[a].file << " and " << cases[b].file;
    }
  }
}
