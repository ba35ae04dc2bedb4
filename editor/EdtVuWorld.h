// EdtVuWorld.h: the framework services an editor view uses that need the X
// display: the millisecond clock, timers, the keyboard focus, the
// framework's single caret, text measuring, graphics-context release,
// the CLIPBOARD exchange, and the bell.
// The default world calls the framework; a test gives the view a world of
// its own (AEdtVu::SetWorld) to drive the clock, see the timers and the
// caret, and measure text without a display. Drawing itself is not here:
// it only happens on a real window.
#pragma once

#include <cstdint>

#include "base/Geometry.h"
#include "framework/XDrawTypes.h"

class CFont;

class IEdtVuWorld {
 public:
  virtual ~IEdtVuWorld() = default;
  // GetMiliSecCount: wraps at 2^32; compare readings by unsigned difference.
  virtual uint32_t NowMs() = 0;
  // CreateTimer: a slot, or a value NoTimer() accepts when none is free.
  virtual int CreateTimer(unsigned long ms, unsigned long window) = 0;
  virtual void ReleaseTimer(int slot) = 0;
  // GetFocusWin.
  virtual unsigned long FocusWin() = 0;
  // SetCaretPt, GetCaretPt(0), MapCaret.
  virtual void SetCaretPt(CPoint pt) = 0;
  virtual CPoint GetCaretPt() = 0;
  virtual int MapCaret(int show) = 0;
  // Width in pixels of the first n bytes of text in the font's set.
  virtual int TextWidth(const CFont& font, const char* text, int n) = 0;
  // ReleaseGC of a context the host made.
  virtual void ReleaseGC(GC gc) = 0;
  // GetWinLang: the language (0, 1000, 1001) of the host window.
  virtual int WinLang(unsigned long window) = 0;
  // SetClipbrdText(text, 0): offers the GBK text to other clients; 1 when
  // the program owns the clipboard now.
  virtual int SetClipbrdText(char* text) = 0;
  // GetClipbrdText: 1 with a new[] buffer (GBK, NUL-terminated) in *out
  // that the caller frees with delete[]; 0 and nothing in *out otherwise.
  virtual int GetClipbrdText(char** out, int variant) = 0;
  // MessageBeep(-1).
  virtual void Beep() = 0;
};

// The world over the framework. Lives for the whole process.
IEdtVuWorld& FrameworkEdtVuWorld();
