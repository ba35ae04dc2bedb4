// The UI font sets on the private Xvfb with the distribution's font
// directory, and text drawn through them compared pixel by pixel with the
// same characters drawn from Unicode: "no missing charset" alone would also
// pass with a wrongly encoded font.
#include <gtest/gtest.h>
// Xlib after gtest.
#include <X11/Xlib.h>

#include <algorithm>
#include <clocale>
#include <cstdlib>
#include <map>
#include <string>

#include "framework/CFont.h"
#include "framework/Drawing.h"
#include "framework/EngineHooks.h"
#include "tests/framework/FrameworkTestApp.h"
#include "tests/framework/XPixels.h"
#include "tests/support/TestPaths.h"

static FrameworkTestApp theApp;
static auto* const kEnv = ::testing::AddGlobalTestEnvironment(new KernelEnv);

namespace {

#define ZHONG "\xD6\xD0"  // 中 in GBK
#define GUO "\xB9\xFA"    // 国
#define YI "\xD2\xD4"     // 以
#define HOU "\xBA\xF3"    // 后

// The engine's table for the characters used here.
unsigned short FakeGbk2Big5(unsigned short gbk) {
  static const std::map<unsigned short, unsigned short> table = {
      {0xD6D0, 0xA4A4}, {0xD2D4, 0xA548}, {0xBAF3, 0xA65A}};
  auto it = table.find(gbk);
  return it == table.end() ? 0xA1BC : it->second;
}

constexpr int kX = 5, kY = 5;

class UIFonts : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    std::setlocale(LC_CTYPE, "C");
    s_ok = CreateUIFonts(0, &s_gbTries, &s_big5Tries);
  }
  void SetUp() override { ASSERT_EQ(s_ok, 1) << "the font directory is not on the font path?"; }
  void TearDown() override { SetEngineHooks(EngineHooks()); }

  // text (UTF-8) drawn from the Unicode face at pixel size `size` with its
  // baseline where ChBmpStrOut puts it, one character at each x of xs.
  static std::vector<bool> Reference(const std::vector<std::string>& chars,
                                     const std::vector<int>& xs, int size, int w, int h) {
    return UnicodeInk(chars, xs, kY + diplayUIFont.m_nAscent, size, w, h);
  }

  static std::vector<bool> Drawn(const char* text, int mode, int w, int h) {
    TestPixmap pm(w, h);
    ChBmpStrOut(pm.id(), pm.gc(), kX, kY, text, 0, 0, 16, 16, 0, nullptr, 0, mode, 1);
    return pm.Ink();
  }

  static inline int s_ok = 0, s_gbTries = 0, s_big5Tries = 0;
};

TEST_F(UIFonts, BothSetsAreCreatedInTheFirstLocaleAndTheLocaleIsRestored) {
  EXPECT_EQ(s_gbTries, 1);    // zh_CN.GBK
  EXPECT_EQ(s_big5Tries, 1);  // zh_TW.Big5
  EXPECT_NE(diplayUIFont.m_fontSet, nullptr);
  EXPECT_NE(diplayUIFontFan.m_fontSet, nullptr);
  EXPECT_GE(diplayUIFont.m_nHeight, 20);
  EXPECT_GT(diplayUIFont.m_nAscent, 0);
  EXPECT_GT(diplayUIFont.GetFontSize().cx, 0);
  EXPECT_STREQ(std::setlocale(LC_CTYPE, nullptr), "C");
}

TEST_F(UIFonts, GbkZhongIsTheRealGlyph) {
  // The GBK search's first locale asks for 20 pixels.
  std::vector<bool> drawn = Drawn(ZHONG, kChStrGbk, 40, 40);
  EXPECT_GT(CountInk(drawn), 40);
  EXPECT_EQ(drawn, Reference({"\xE4\xB8\xAD"}, {kX}, 20, 40, 40));
  EXPECT_NE(drawn, Reference({"\xE5\x9B\xBD"}, {kX}, 20, 40, 40));  // 国
  EXPECT_NE(drawn, Drawn(GUO, kChStrGbk, 40, 40));
}

TEST_F(UIFonts, Big5DrawingConvertsThroughTheEngineAndFixesHou) {
  SetEngineHooks(EngineHooks{nullptr, &FakeGbk2Big5});
  const int size = theApp.GetDefaultFontHeight();
  std::vector<bool> zhong = Drawn(ZHONG, kChStrBig5, 40, 40);
  EXPECT_GT(CountInk(zhong), 40);
  EXPECT_EQ(zhong, Reference({"\xE4\xB8\xAD"}, {kX}, size, 40, 40));

  // 以后 in running text shows 以後; the second cell starts after the
  // first character's Big5 extent.
  const int x2 = kX + GetTextExtent(diplayUIFontFan.m_fontSet, "\xA5\x48", 2).cx;
  std::vector<bool> yihou = Drawn(YI HOU, kChStrBig5, 80, 40);
  EXPECT_EQ(yihou, Reference({"\xE4\xBB\xA5", "\xE5\xBE\x8C"}, {kX, x2}, size, 80, 40));  // 以後
  EXPECT_NE(yihou, Reference({"\xE4\xBB\xA5", "\xE5\x90\x8E"}, {kX, x2}, size, 80, 40));  // 以后
  // A lone 后 stays the empress.
  EXPECT_EQ(Drawn(HOU, kChStrBig5, 40, 40), Reference({"\xE5\x90\x8E"}, {kX}, size, 40, 40));
}

TEST_F(UIFonts, ExtentOfMixedText) {
  theApp.m_nUILang = kUILangGbk;
  const CSize zhong = GetTextExtent(diplayUIFont.m_fontSet, ZHONG, 2);
  const CSize a = GetTextExtent(diplayUIFont.m_fontSet, "a", 1);
  const CSize total = ChnBmpStrExtent(ZHONG "a\t", 0, 7, 16, 0);
  EXPECT_GT(zhong.cx, 0);
  EXPECT_EQ(total.cx, zhong.cx + a.cx + 7);
  EXPECT_EQ(total.cy, std::max({zhong.cy, a.cy, 16}));
  EXPECT_EQ(ChnBmpStrExtent("", 0, 7, 16, 0), CSize(0, 16));
  theApp.m_nUILang = kUILangEnglish;
}

TEST_F(UIFonts, StrOutDrawsOneLineBelowY) {
  TestPixmap pm(60, 40);
  char text[] = ZHONG;
  EXPECT_EQ(StrOut(pm.id(), pm.gc(), 2, 0, text, 2, &diplayUIFont, GXcopy, 0x000000, 0xFFFFFF), 1);
  std::vector<bool> ink = pm.Ink();
  EXPECT_GT(CountInk(ink), 40);
  // The baseline is at y + the font's height: nothing above a descent's
  // worth of rows from the top.
  for (int x = 0; x < 60; ++x) EXPECT_FALSE(ink[x]) << x;
}

TEST_F(UIFonts, APatternThatMatchesNothingLeavesTheFontEmpty) {
  CFont font;
  testing::internal::CaptureStdout();
  EXPECT_EQ(font.Create(dsply, "-nosuchfoundry-nosuchfamily-*-*-*--*-*-*-*-*-*-*-*"), 0);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Cannor create fontset!\n");
  EXPECT_EQ(font.m_fontSet, nullptr);
  EXPECT_EQ(font.GetFontSize(), CSize(0, 0));
}

// Runs last: it points the C library at an empty locale directory.
TEST_F(UIFonts, RefusedLocalesAreSkipped) {
  kvrtest::ScratchDir empty;
  XFontSet before = diplayUIFont.m_fontSet;
  setenv("LOCPATH", empty.Path().c_str(), 1);
  int gb = -1, big5 = -1;
  testing::internal::CaptureStderr();
  const int ok = CreateUIFonts(0, &gb, &big5);
  const std::string err = testing::internal::GetCapturedStderr();
  unsetenv("LOCPATH");
  // Without the skip the sets would be built in the C locale, which has no
  // Chinese charset at all.
  EXPECT_EQ(ok, 0);
  EXPECT_EQ(gb, -1);
  EXPECT_EQ(diplayUIFont.m_fontSet, before);
  EXPECT_NE(err.find("GB"), std::string::npos);
  EXPECT_STREQ(std::setlocale(LC_CTYPE, nullptr), "C");
}

}  // namespace
