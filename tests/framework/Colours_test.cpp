// The colour database and the fallback chain of colour allocation, against a
// colour map that refuses what each case chooses.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "framework/Colours.h"
#include "framework/internal/ColourAlloc.h"
#include "framework/internal/PlatformRoot.h"
#include "tests/support/TestPaths.h"

namespace {

// The fake colour map: grants the colours in `granted`, records every try.
struct FakeColourMap {
  static inline std::set<unsigned long> granted;
  static inline std::vector<unsigned long> tries;
  static int Alloc(int r, int g, int b, unsigned long* pixel) {
    const unsigned long c = (static_cast<unsigned long>(r) << 16) | (g << 8) | b;
    tries.push_back(c);
    if (!granted.count(c)) return 0;
    *pixel = 0x1000000UL | c;
    return 1;
  }
};

class ColourAlloc : public testing::Test {
 protected:
  void SetUp() override {
    m_old = afc::SetColourAllocatorForTest(&FakeColourMap::Alloc);
    Reset();
  }
  void TearDown() override {
    afc::SetColourAllocatorForTest(m_old);
    Reset();
  }
  static void Reset() {
    FakeColourMap::granted.clear();
    FakeColourMap::tries.clear();
    gmapRgbToRgbPixel.RemoveAll();
    gmapRgbToClosestSysRgb.RemoveAll();
    gmapClrDB.RemoveAll();
  }
  afc::ColourAllocFn m_old = nullptr;
};

TEST_F(ColourAlloc, FallbackChainTable) {
  struct Case {
    const char* name;
    unsigned long request;
    std::set<unsigned long> granted;
    std::vector<unsigned long> database;
    unsigned long want;                // colour obtained, 0 when none
    std::vector<unsigned long> tries;  // in order; empty: not checked
  };
  const Case cases[] = {
      {"exact", 0x336699, {0x336699}, {}, 0x336699, {0x336699}},
      {"grey: one step darker first",
       0x808080,
       {0x7F7F7F, 0x818181},
       {},
       0x7F7F7F,
       {0x808080, 0x7F7F7F}},
      {"grey: outwards, darker before lighter",
       0x808080,
       {0x838383},
       {},
       0x838383,
       {0x808080, 0x7F7F7F, 0x818181, 0x7E7E7E, 0x828282, 0x7D7D7D, 0x838383}},
      {"nearest database colour",
       0x123456,
       {0x103050},
       {0x000000, 0x103050, 0xFFFFFF},
       0x103050,
       {0x123456, 0x103050}},
      {"snapped to three levels",
       0x50C0F0,
       {0x7FFFFF},
       {0x000000},
       0x7FFFFF,
       {0x50C0F0, 0x000000, 0x7FFFFF}},
      {"snapped to two levels",
       0x50C0F0,
       {0x00FFFF},
       {0x000000},
       0x00FFFF,
       {0x50C0F0, 0x000000, 0x7FFFFF, 0x00FFFF}},
      {"empty database: nearest is black",
       0x445566,
       {0x000000},
       {},
       0x000000,
       {0x445566, 0x000000}},
      {"nothing granted", 0x50C0F0, {}, {0x112233}, 0, {0x50C0F0, 0x112233, 0x7FFFFF, 0x00FFFF}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Reset();
    FakeColourMap::granted = c.granted;
    for (unsigned long k : c.database) gmapClrDB.SetAt(static_cast<uint32_t>(k), nullptr);
    unsigned long pixel = 12345;
    EXPECT_EQ(GetClosestSysClr(c.request, &pixel), c.want);
    EXPECT_EQ(pixel, c.want || c.granted.count(0) ? (0x1000000UL | c.want) : 0UL);
    if (!c.tries.empty()) {
      EXPECT_EQ(FakeColourMap::tries, c.tries);
    }
  }
}

TEST_F(ColourAlloc, SecondRequestIsServedFromTheMap) {
  FakeColourMap::granted = {0x7F7F7F};
  unsigned long first = 0, second = 0;
  EXPECT_EQ(GetClosestSysClr(0x808080, &first), 0x7F7F7FUL);
  FakeColourMap::tries.clear();
  EXPECT_EQ(GetClosestSysClr(0x808080, &second), 0x7F7F7FUL);
  EXPECT_EQ(second, first);
  EXPECT_TRUE(FakeColourMap::tries.empty());
  EXPECT_EQ(GetClosestSysClr(0x808080, nullptr), 0x7F7F7FUL);  // null pixel is allowed
}

TEST_F(ColourAlloc, AFailedColourIsNotRememberedAndTriedAgain) {
  EXPECT_EQ(GetClosestSysClr(0x010203, nullptr), 0UL);
  FakeColourMap::granted = {0x010203};
  FakeColourMap::tries.clear();
  unsigned long pixel = 0;
  EXPECT_EQ(GetClosestSysClr(0x010203, &pixel), 0x010203UL);
  EXPECT_EQ(pixel, 0x1010203UL);
}

TEST_F(ColourAlloc, TheNearestColourIsTheFirstOfEqualsAndIsRemembered) {
  // 0x000010 is at distance 16^2 from both; the map's order decides and a
  // later colour wins only when strictly nearer.
  gmapClrDB.SetAt(0x000000, nullptr);
  gmapClrDB.SetAt(0x000020, nullptr);
  long pos = gmapClrDB.GetStartPosition();
  uint32_t firstKey = 0;
  void* v = nullptr;
  gmapClrDB.GetNextMapRec(pos, firstKey, v);
  FakeColourMap::granted = {firstKey};
  EXPECT_EQ(GetClosestSysClr(0x000010, nullptr), static_cast<unsigned long>(firstKey));
  void* remembered = nullptr;
  ASSERT_TRUE(gmapRgbToClosestSysRgb.Lookup(0x000010, remembered));
  EXPECT_EQ(reinterpret_cast<uintptr_t>(remembered), firstKey);
}

TEST(GetSnapClrTo3Pts, Boundaries) {
  const int cases[][2] = {{0, 0}, {63, 0}, {64, 127}, {191, 127}, {192, 255}, {255, 255}};
  for (const auto& c : cases) EXPECT_EQ(GetSnapClrTo3Pts(c[0]), c[1]) << c[0];
}

// --- The colour database ----------------------------------------------------

class ColourDatabase : public testing::Test {
 protected:
  void SetUp() override { m_oldRoot = afc::SetPlatformRootForTest(m_dir.Path()); }
  void TearDown() override {
    afc::SetPlatformRootForTest(m_oldRoot);
    gmapClrDB.RemoveAll();
    gmapRgbToClosestSysRgb.RemoveAll();
  }
  void Write(const std::string& absPath, const std::string& text) {
    std::string path = m_dir.Path();
    size_t start = 1;
    for (size_t slash; (slash = absPath.find('/', start)) != std::string::npos; start = slash + 1) {
      path = m_dir.Path() + absPath.substr(0, slash);
      mkdir(path.c_str(), 0755);
    }
    std::ofstream(m_dir.Path() + absPath) << text;
  }
  kvrtest::ScratchDir m_dir;
  std::string m_oldRoot;
};

TEST_F(ColourDatabase, DebianPathIsRead) {
  Write("/usr/share/X11/rgb.txt",
        "! $Xorg: rgb.txt comment line\n"
        "255 250 250\t\tsnow\n"
        "  0   0 128\t\tnavy blue\n"
        "  0   0 128\t\tNavyBlue\n"  // the same colour again
        "300   0   0\t\ttoo red\n"   // out of range: skipped
        "-1   0   0\t\tnegative\n"   // skipped
        "12 34\t\ttwo numbers\n"     // skipped
        "1 2 3\n"                    // no name: skipped
        "190 190 190\t\tgray\n");
  EXPECT_EQ(AfcClrInit(), 3);
  void* v = nullptr;
  EXPECT_TRUE(gmapClrDB.Lookup(0xFFFAFA, v));
  EXPECT_TRUE(gmapClrDB.Lookup(0x000080, v));
  EXPECT_TRUE(gmapClrDB.Lookup(0xBEBEBE, v));
}

TEST_F(ColourDatabase, OlderPathsComeFirst) {
  Write("/usr/share/X11/rgb.txt", "1 1 1\t\ta\n2 2 2\t\tb\n");
  Write("/lib/X11/rgb.txt", "3 3 3\t\tc\n");
  EXPECT_EQ(AfcClrInit(), 1);
  Write("/usr/lib/X11/rgb.txt", "4 4 4\t\td\n5 5 5\t\te\n6 6 6\t\tf\n");
  EXPECT_EQ(AfcClrInit(), 3);
}

TEST_F(ColourDatabase, NoFileLeavesTheDatabaseEmpty) {
  EXPECT_EQ(AfcClrInit(), 0);
  EXPECT_EQ(gmapClrDB.GetCount(), 0);
}

TEST_F(ColourDatabase, TheSystemDatabaseIsFound) {
  afc::SetPlatformRootForTest("");
  EXPECT_GT(AfcClrInit(), 500) << "rgb.txt (package x11-common) missing?";
}

}  // namespace
