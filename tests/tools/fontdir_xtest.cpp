// The distribution's font directory must give kvr's GBK and Big5 font sets
// real Chinese glyphs. "No missing charset" alone proves nothing (a set can
// be created from fonts that draw boxes or nothing), so these tests draw
// characters and compare the pixels: one character drawn from its GBK, its
// Big5 and its Unicode encoding must give the same glyph, and different
// characters must differ.
#include <gtest/gtest.h>
// Xlib after gtest: Xlib defines macros (None, Bool) that gtest uses as names.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <clocale>
#include <string>
#include <vector>

namespace {

constexpr int kSize = 20;
constexpr int kBox = 40;

// The pattern list the framework builds for a locale (family "fixed").
std::string PatternsFor(const char* locale) {
  return "-*-fixed-medium-r-normal--" + std::to_string(kSize) +
         "-*-*-*-*-*-*-*,-*-*-medium-r-normal--" + std::to_string(kSize) + "-*-*-*-*-*-" + locale +
         "-*";
}

struct Glyph {
  bool ok = false;
  std::vector<bool> ink;  // kBox * kBox pixels, true where drawn
  int Count() const {
    int n = 0;
    for (bool b : ink) n += b;
    return n;
  }
};

class FontDir : public testing::Test {
 protected:
  void SetUp() override {
    m_dpy = XOpenDisplay(nullptr);
    ASSERT_NE(m_dpy, nullptr);
  }
  void TearDown() override {
    if (m_dpy) XCloseDisplay(m_dpy);
    setlocale(LC_CTYPE, "C");
  }

  // Draws `text` (in the locale's encoding) with a font set for `locale`,
  // returns the ink. Fails the test when the set cannot be created or lacks
  // a charset.
  Glyph Draw(const char* locale, const std::string& text, bool utf8 = false) {
    Glyph g;
    if (!setlocale(LC_CTYPE, locale)) {
      ADD_FAILURE() << "locale " << locale << " is not generated";
      return g;
    }
    char** missing = nullptr;
    int nMissing = 0;
    char* def = nullptr;
    std::string patterns = utf8 ? "-*-wenquanyi zen hei-medium-r-normal--20-*-*-*-*-*-iso10646-1"
                                : PatternsFor(locale);
    XFontSet fs = XCreateFontSet(m_dpy, patterns.c_str(), &missing, &nMissing, &def);
    if (missing) XFreeStringList(missing);
    if (!fs) {
      ADD_FAILURE() << "no font set for " << locale;
      return g;
    }
    // A UTF-8 set covers many charsets; only the Chinese sets must be whole.
    if (!utf8) {
      EXPECT_EQ(nMissing, 0) << "charsets missing for " << locale;
    }
    Window root = DefaultRootWindow(m_dpy);
    int scr = DefaultScreen(m_dpy);
    Pixmap pm = XCreatePixmap(m_dpy, root, kBox, kBox, DefaultDepth(m_dpy, scr));
    GC gc = XCreateGC(m_dpy, pm, 0, nullptr);
    XSetForeground(m_dpy, gc, WhitePixel(m_dpy, scr));
    XFillRectangle(m_dpy, pm, gc, 0, 0, kBox, kBox);
    XSetForeground(m_dpy, gc, BlackPixel(m_dpy, scr));
    if (utf8)
      Xutf8DrawString(m_dpy, pm, fs, gc, 5, 28, text.data(), static_cast<int>(text.size()));
    else
      XmbDrawString(m_dpy, pm, fs, gc, 5, 28, text.data(), static_cast<int>(text.size()));
    XImage* img = XGetImage(m_dpy, pm, 0, 0, kBox, kBox, AllPlanes, ZPixmap);
    if (img) {
      g.ink.resize(kBox * kBox);
      for (int y = 0; y < kBox; ++y)
        for (int x = 0; x < kBox; ++x)
          g.ink[y * kBox + x] = XGetPixel(img, x, y) != WhitePixel(m_dpy, scr);
      g.ok = true;
      XDestroyImage(img);
    }
    XFreeGC(m_dpy, gc);
    XFreePixmap(m_dpy, pm);
    XFreeFontSet(m_dpy, fs);
    return g;
  }

  Display* m_dpy = nullptr;
};

// 中 in GBK (D6D0), Big5 (A4A4) and UTF-8; 国 (B9FA) and 國 in Big5 (B0EA).
const std::string kZhongGbk = "\xD6\xD0";
const std::string kZhongBig5 = "\xA4\xA4";
const std::string kZhongUtf8 = "\xE4\xB8\xAD";
const std::string kGuoGbk = "\xB9\xFA";

TEST_F(FontDir, GbkGlyphIsTheRealCharacter) {
  Glyph gbk = Draw("zh_CN.GBK", kZhongGbk);
  Glyph uni = Draw("zh_CN.UTF-8", kZhongUtf8, true);
  ASSERT_TRUE(gbk.ok && uni.ok);
  EXPECT_GT(gbk.Count(), 40) << "the GBK set drew (almost) nothing";
  EXPECT_EQ(gbk.ink, uni.ink) << "GBK D6D0 does not draw the glyph of U+4E2D";
}

TEST_F(FontDir, Big5GlyphIsTheRealCharacter) {
  Glyph big5 = Draw("zh_TW.Big5", kZhongBig5);
  Glyph uni = Draw("zh_CN.UTF-8", kZhongUtf8, true);
  ASSERT_TRUE(big5.ok && uni.ok);
  EXPECT_GT(big5.Count(), 40);
  EXPECT_EQ(big5.ink, uni.ink) << "Big5 A4A4 does not draw the glyph of U+4E2D";
}

TEST_F(FontDir, DifferentCharactersDrawDifferently) {
  Glyph zhong = Draw("zh_CN.GBK", kZhongGbk);
  Glyph guo = Draw("zh_CN.GBK", kGuoGbk);
  ASSERT_TRUE(zhong.ok && guo.ok);
  EXPECT_GT(guo.Count(), 40);
  EXPECT_NE(zhong.ink, guo.ink);
}

TEST_F(FontDir, OtherChineseLocalesFindTheirFonts) {
  for (const char* locale : {"zh_CN.GB2312", "zh_CN.GB18030"}) {
    SCOPED_TRACE(locale);
    Glyph g = Draw(locale, kZhongGbk);  // 中 has the same bytes in both
    EXPECT_TRUE(g.ok);
    EXPECT_GT(g.Count(), 40);
  }
}

}  // namespace
