// CFont.h: the two font sets all text is drawn with, and the character-by-
// character drawing and measuring of GBK and Big5 text.
//
// A CFont wraps an X font set created in the current locale with its
// metrics. CreateUIFonts makes the user interface's sets: diplayUIFont for
// GBK, diplayUIFontFan for Big5; both live until the process ends.
// ChBmpStrOut draws a text one character at a time: ASCII always with the
// GBK set, double-byte characters with the set the window's language or the
// caller's mode picks, GBK text converted to Big5 on the fly (through the
// engine's table, EngineHooks.h) when it is shown in traditional Chinese.
// Tabs take a fixed cell; a clip rectangle makes long text wrap or stop.
//
// Text drawn with an empty font set does not appear; its cells measure 0.
#pragma once

#include "base/Geometry.h"
#include "framework/XDrawTypes.h"

class CFont {
 public:
  CFont() = default;
  // Creates the font set from a comma-separated pattern list in the current
  // locale. 1 on success; 0 when no set can be made or two or more charsets
  // are missing (one missing charset is accepted); the object is then empty.
  // A set the object held before is freed first.
  int Create(Display* display, const char* patterns);
  // (width, height).
  CSize GetFontSize() const { return CSize(m_nWidth, m_nHeight); }

  XFontSet m_fontSet = nullptr;  // owned; lives until the process ends
  int m_nHeight = 0;             // the largest ascent + descent of the set's fonts
  int m_nWidth = 0;              // the largest maximum character width, halved
  int m_nAscent = 0;             // the ascent of the font that gave the height

 private:
  Display* m_pDisplay = nullptr;  // borrowed: the display the set belongs to
};

extern CFont diplayUIFont;     // GBK
extern CFont diplayUIFontFan;  // Big5

// Creates both UI font sets (the first argument is not used). 1 on success,
// 0 when either cannot be created (a message goes to stderr). *gbTries and
// *big5Tries (when not null) get the 1-based number of the locale that
// succeeded. A locale that the C library refuses is skipped. The LC_CTYPE
// locale in force before the call is restored on every path.
int CreateUIFonts(int, int* gbTries, int* big5Tries);
// Does nothing; 1.
int DeleteUIFonts(int);

// Drawing modes of ChBmpStrOut.
constexpr int kChStrAuto = 0;      // by the window's language
constexpr int kChStrNoDouble = 1;  // double-byte cells stay blank
constexpr int kChStrGbk = 2;       // double-byte characters with the GBK set
constexpr int kChStrBig5 = 3;      // ... with the Big5 set

// Draws the NUL-terminated text at (x, y) (top of the line) in window with
// gc, character by character, and returns the sum of the cells' widths and
// the sum of their heights. A TAB (and, in mode 1, a double-byte character)
// takes a cell of (cellW, cellH). With clip, a character drawn beyond its
// right edge ends the drawing (stopAtClip) or makes the next one start at
// the first x, cellH * 3 / 2 lower. textIsGbk says whether the text is GBK
// (converted when Big5 is wanted) or already Big5. The sixth, seventh and
// tenth arguments are not used. Null text: (0, 0).
CSize ChBmpStrOut(unsigned long window, GC gc, int x, int y, const char* text, int, int, int cellW,
                  int cellH, int, CRect* clip, int stopAtClip, int mode, int textIsGbk);
// Measures GBK text as one line: (sum of the widths, the largest height but
// at least tabH); a TAB counts (tabW, tabH). Double-byte characters are
// measured with the GBK set under a GBK UI, else with the Big5 set. The
// second and fifth arguments are not used.
CSize ChnBmpStrExtent(const char* text, int, int tabW, int tabH, int);
// Draws nothing; 1.
int ChnGBorBig5TextOut(GC, int, int, const char*, int, int);

// A device-context shell that nothing draws through.
class CDC {
 public:
  int IsPrinting() const { return m_bPrinting; }
  template <class... A>
  int CreateDC(A&&...) {
    return 1;
  }
  int CreateCompatibleDC(CDC*) { return 1; }
  int m_bPrinting = 0;
};
