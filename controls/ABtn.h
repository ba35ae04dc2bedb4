// ABtn.h: the push button (template type 9), also a combo box's arrow and
// the base of owner-drawn panels. It draws its grey 3D face itself, shows
// the focus mark and the default button's black frame, clicks on a mouse
// release inside itself or on Return/space, and posts the click to its
// dialog as message 1380 (code 2003).
#pragma once

#include <cstdint>

#include "controls/ACtrl.h"

class ACmbo;

class ABtn : public ACtrl {
 public:
  ABtn() { Init(); }
  ABtn(int id, AWnd* parent);
  ~ABtn() override = default;

  int Winproc(XEvent* event) override;
  void Draw(XEvent* event) override;
  // AWnd::ReplaceDlgCtrl; returns 1.
  int ReplaceDlgCtrl(int id, IDialogHost* dialog) override;

  void Init();
  // ACtrl::Create, then the window (all events). 1, or 0 without a window.
  int Create(long x, long y, long cx, long cy, const char* text, AWnd* parent, long id);

  uint8_t m_bPressed = 0;     // a mouse button or Return/space is down on it
  uint8_t m_bKeyDown = 0;     // the last key event handled was a press
  uint8_t m_bAlwaysDown = 0;  // drawn pressed, never a tab stop
  uint8_t m_bCmboArrow = 0;   // the arrow of m_pCmbo
  ACmbo* m_pCmbo = nullptr;   // borrowed: the combo box that owns the arrow

 private:
  int OnKey(XEvent* event);
  int OnRelease(XEvent* event);
  void PostClick();
};

// Walks the dialog's tab stops for the walking keys shared by push buttons
// and check boxes (Tab, Shift+Tab, ISO_Left_Tab, arrows, PgUp, PgDn).
// Returns true when the key was one of them.
bool WalkForKey(ACtrl* ctrl, unsigned long keysym, bool shift);
// Whether the point of a button event lies inside (0, 0, w, h).
bool EventInside(XEvent* event, const CSize& size);
