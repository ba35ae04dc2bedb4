// WinGeometry.h: geometry and visibility of X windows, by window id. A
// "registered" window is one with a window object in the kernel's map
// (AfcFindWnd); for those the helpers also keep the object's rectangles,
// language and hidden flag in step with the X window. Coordinates are in
// the parent's pixels unless a name says root ("screen"). Border widths are
// never counted.
//
// Calls on a window the server does not know give the neutral results each
// function names (0, (0, 0), points unchanged).
#pragma once

#include "base/Geometry.h"

// (0, 0, width, height) of screen 0.
void GetWindowsWorkArea(CRect* rect);
// Width and height; (0, 0) when the attributes cannot be read.
CSize GetWinSize(unsigned long window);
// 1 when the window is mapped (viewable or not), else 0.
int IsWinShown(unsigned long window);
// The window's rectangle in root coordinates; 1, or 0 (rect untouched) when
// the attributes of the window or an ancestor cannot be read.
int GetWinRect(unsigned long window, CRect* rect);
// Registered: (client origin, client origin + client size) of the object,
// 1; otherwise 0.
int GetDrawRect(unsigned long window, CRect* rect);
// The object's language; -1 for an unregistered window. SetWinLang returns
// the previous one.
int GetWinLang(unsigned long window);
int SetWinLang(unsigned long window, int lang);
// The parent window (XQueryTree), 0 on failure.
unsigned long GetWinParent(unsigned long window);
// Maps (show nonzero) or unmaps the window. A registered window's hidden
// flag becomes !show and WM_AFC_SHOW {show} is posted to it; the post's
// status is returned. 0 for an unregistered window.
int ShowWin(int show, unsigned long window);
// Subtract / add the window's root origin; unchanged when it cannot be
// read. Return 1.
int ScreenToWin(unsigned long window, CPoint* point);
int ScreenToWinRc(unsigned long window, CRect* rect);
int WinToScreen(unsigned long window, CPoint* point);
int WinToScreenRc(unsigned long window, CRect* rect);
// SetWinPos flags, combined with |. 0 moves and resizes; kSwpKeepPos keeps
// the position, kSwpKeepSize the size. kSwpShow maps the window; without it
// the window is unmapped (so flags 0 unmaps).
constexpr unsigned long kSwpKeepPos = 1;
constexpr unsigned long kSwpKeepSize = 2;
constexpr unsigned long kSwpShow = 8;
// SetWinPos's raise argument: kSwpRaise puts the window above its siblings,
// 0 leaves the stacking order alone.
constexpr unsigned long kSwpRaise = 1;

// Configures the window and maps or unmaps it by the kSwp flags above. A
// registered window's object follows the move and the resize. Returns 1.
int SetWinPos(unsigned long window, long x, long y, long w, long h, unsigned long flags,
              unsigned long raise, int);
// SetWinPos(window, x, y, w, h, kSwpShow, 0, 0).
int WinMove(unsigned long window, long x, long y, long w, long h);
// Moves the window; a registered window's object follows (client origin by
// the same distance, window rectangle to (x, y) with its size).
int WinMoveNoSize(unsigned long window, long x, long y);
// 1 when the window is registered.
int IsAfcWin(unsigned long window);
// The window that holds the keyboard focus.
unsigned long GetFocusWin();
// The pointer in root coordinates; 1, or 0 when it is on another screen.
int GetPointerPos(POINT* point);
// Warps the pointer to (x, y) of the root window; 1.
int SetPointerPos(long x, long y);
// Height of a dialog's title bar: 25 below a default font height of 20,
// else that height x 5 / 4.
int GetDlgCaptionH();
// Dialog units to pixels: both coordinates x (h / 8), integer division
// first.
CSize DigUnitToScrnDot(CSize size, long h);
CPoint DigUnitToScrnDot(CPoint point, long h);
// The double-click interval, 340 ms.
int GetDblClikIntvl();
