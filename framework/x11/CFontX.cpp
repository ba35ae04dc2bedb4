// Font sets over Xlib, and the X canvas of the character walk.
#include "framework/CFont.h"

#include <X11/Xlib.h>

#include <clocale>
#include <cstdio>
#include <iterator>
#include <string>

#include "framework/AfcKernel.h"
#include "framework/CWinApp.h"
#include "framework/Drawing.h"
#include "framework/EngineHooks.h"
#include "framework/WinGeometry.h"
#include "framework/internal/ChStrLayout.h"

CFont diplayUIFont;
CFont diplayUIFontFan;

namespace {

// The messages, in UTF-8, when no font set of a script loads.
// 无法加载GB字体
constexpr char kNoGbFont[] =
    "\xE6\x97\xA0\xE6\xB3\x95\xE5\x8A\xA0\xE8\xBD\xBDGB\xE5\xAD\x97\xE4\xBD\x93\n";
// 无法加载Big5字体
constexpr char kNoBig5Font[] =
    "\xE6\x97\xA0\xE6\xB3\x95\xE5\x8A\xA0\xE8\xBD\xBD"
    "Big5\xE5\xAD\x97\xE4\xBD\x93\n";

struct LocaleTry {
  const char* name;
  int size;  // 0: the application's default font height
};

// The GBK search; kvrsetup starts at the second entry.
constexpr LocaleTry kGbkLocales[] = {
    {"zh_CN.GBK", 20}, {"zh_CN.GB2312", 0}, {"zh_CN", 0}, {"zh_CN.GB18030", 0}, {"zh_CN.eucCN", 0},
};
constexpr LocaleTry kBig5Locales[] = {{"zh_TW.Big5", 0}, {"zh_TW", 0}, {"zh_TW.eucTW", 0}};

// Two patterns: the family's medium regular font of that pixel size in any
// charset, and any family's at that size whose charset registry is the
// locale name.
std::string PatternList(const char* family, int size, const char* locale) {
  char base[256];
  std::snprintf(base, sizeof base, "-*-%s-medium-r-normal--%d-*-*-*-*-*-*-*,-*-*", family, size);
  char list[512];
  std::snprintf(list, sizeof list, "%s-medium-r-normal--%d-*-*-*-*-*-%s-*", base, size, locale);
  return list;
}

// Tries the locales in order (skipping those the C library refuses) with
// both families; returns the 1-based number of the locale that gave a set,
// 0 when none did.
int SearchFontSet(CFont& font, const LocaleTry* tries, int n, int defaultHeight) {
  for (int i = 0; i < n; ++i) {
    // A refused locale would leave the previous one in force, and the set
    // would be built for the wrong encoding.
    if (!std::setlocale(LC_CTYPE, tries[i].name)) continue;
    const int size = tries[i].size ? tries[i].size : defaultHeight;
    for (const char* family : {"fixed", "courier"}) {
      if (font.Create(dsply, PatternList(family, size, tries[i].name).c_str())) return i + 1;
    }
  }
  return 0;
}

class XCanvas : public afc::IChStrCanvas {
 public:
  XCanvas(unsigned long window, GC gc) : m_window(window), m_gc(gc) {}
  CSize Extent(afc::FontSetId set, const char* bytes, int n) override {
    return GetTextExtent(Font(set).m_fontSet, bytes, n);
  }
  void Draw(afc::FontSetId set, int x, int y, const char* bytes, int n) override {
    XFontSet fs = Font(set).m_fontSet;
    if (fs && dsply && m_window) XmbDrawString(dsply, m_window, fs, m_gc, x, y, bytes, n);
  }
  int GbkAscent() override { return diplayUIFont.m_nAscent; }

 private:
  static CFont& Font(afc::FontSetId set) {
    return set == afc::FontSetId::kGbk ? diplayUIFont : diplayUIFontFan;
  }
  unsigned long m_window;
  GC m_gc;
};

}  // namespace

int CFont::Create(Display* display, const char* patterns) {
  if (m_fontSet && m_pDisplay) XFreeFontSet(m_pDisplay, m_fontSet);
  m_fontSet = nullptr;
  m_pDisplay = nullptr;
  m_nHeight = m_nWidth = m_nAscent = 0;
  if (!display || !patterns) return 0;
  char** missing = nullptr;
  int nMissing = 0;
  char* defString = nullptr;
  XFontSet set = XCreateFontSet(display, patterns, &missing, &nMissing, &defString);
  if (missing) XFreeStringList(missing);
  if (!set) {
    std::fputs("Cannor create fontset!\n", stdout);
    return 0;
  }
  if (nMissing >= 2) {
    // "不支持字体加载" (font loading not supported), UTF-8.
    std::fprintf(stderr,
                 "\xE4\xB8\x8D\xE6\x94\xAF\xE6\x8C\x81\xE5\xAD\x97\xE4\xBD\x93\xE5\x8A\xA0"
                 "\xE8\xBD\xBD %s\n!\n",
                 patterns);
    XFreeFontSet(display, set);
    return 0;
  }
  XFontStruct** fonts = nullptr;
  char** names = nullptr;
  const int n = XFontsOfFontSet(set, &fonts, &names);
  for (int i = 0; i < n; ++i) {
    const XFontStruct* f = fonts[i];
    if (f->max_bounds.width / 2 > m_nWidth) m_nWidth = f->max_bounds.width / 2;
    if (f->ascent + f->descent > m_nHeight) {
      m_nHeight = f->ascent + f->descent;
      m_nAscent = f->ascent;
    }
  }
  m_fontSet = set;
  m_pDisplay = display;
  return 1;
}

int CreateUIFonts(int, int* gbTries, int* big5Tries) {
  // Ask for the current name (a null locale queries; an empty one would set
  // the environment's) and copy it: the next setlocale overwrites it.
  const char* current = std::setlocale(LC_CTYPE, nullptr);
  const std::string saved = current ? current : "C";
  const int h = uniqueAFCAppPointer ? uniqueAFCAppPointer->GetDefaultFontHeight() : 16;
  const bool installer = uniqueAFCAppPointer && !uniqueAFCAppPointer->m_bImeUI;
  const LocaleTry* gbk = installer ? kGbkLocales + 1 : kGbkLocales;
  const int nGbk = static_cast<int>(std::size(kGbkLocales)) - (installer ? 1 : 0);

  int result = 0;
  const int gbFound = SearchFontSet(diplayUIFont, gbk, nGbk, h);
  if (!gbFound) {
    std::fputs(kNoGbFont, stderr);
  } else {
    if (gbTries) *gbTries = gbFound;
    const int big5Found =
        SearchFontSet(diplayUIFontFan, kBig5Locales, static_cast<int>(std::size(kBig5Locales)), h);
    if (!big5Found) {
      std::fputs(kNoBig5Font, stderr);
    } else {
      if (big5Tries) *big5Tries = big5Found;
      result = 1;
    }
  }
  // Restored on failure too: the rest of the program (and the XIM server's
  // start) must not run in whichever locale the search tried last.
  std::setlocale(LC_CTYPE, saved.c_str());
  return result;
}

int DeleteUIFonts(int) { return 1; }

CSize ChBmpStrOut(unsigned long window, GC gc, int x, int y, const char* text, int, int, int cellW,
                  int cellH, int, CRect* clip, int stopAtClip, int mode, int textIsGbk) {
  afc::ChStrStyle style;
  style.lang = GetWinLang(window);
  style.mode = mode;
  style.textIsGbk = textIsGbk;
  style.installer = uniqueAFCAppPointer && !uniqueAFCAppPointer->m_bImeUI;
  style.gbk2Big5 = &EngineGbk2Big5;
  XCanvas canvas(window, gc);
  return afc::LayOutChStr(canvas, style, x, y, text, cellW, cellH, clip, stopAtClip);
}

CSize ChnBmpStrExtent(const char* text, int, int tabW, int tabH, int) {
  XCanvas canvas(0, nullptr);
  const int uiLang = uniqueAFCAppPointer ? uniqueAFCAppPointer->m_nUILang : kUILangEnglish;
  return afc::MeasureChStr(canvas, text, tabW, tabH, uiLang);
}

int ChnGBorBig5TextOut(GC, int, int, const char*, int, int) { return 1; }
