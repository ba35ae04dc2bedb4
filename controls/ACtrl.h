// ACtrl.h: the base of every control of a dialog. A control is a window
// object with its own X window, a child of its dialog's window, and a copy
// of the template record it was built from. The dialog (ADialog.h) creates
// the controls, owns them and frees them with itself; a control borrows its
// dialog (m_pParent) and reports to it through CtrlEvProc or message 1380.
#pragma once

#include "controls/DlgTemplate.h"
#include "framework/AWnd.h"

class ADialog;

class ACtrl : public AWnd {
 public:
  ACtrl() { Init(); }
  ACtrl(int id, AWnd* parent);
  ~ACtrl() override = default;

  // Returns 1 and does nothing else.
  int Winproc(XEvent* event) override { return 1; }
  void Draw(XEvent* event) override {}
  // Destroys the control's X window when it has one; returns 1.
  int Destroy() override;

  int Init() { return 1; }
  // Fills the object (AWnd::Create), takes the hidden and disabled flags
  // from the template copy (which must be set before) and sets the client
  // area to the window less 3 pixels a side. Creates no window; returns 1.
  int Create(long x, long y, long cx, long cy, const char* text, AWnd* parent, long id);

  // The dialog this control belongs to, or null.
  ADialog* GetDlg() const;

  typCtrl m_ctrlTmpl;  // the template record the control was built from

 protected:
  // Creates the control's X window as a child of the parent's window (the
  // root without a parent) at its rectangle, registered to this object, and
  // maps it at (x, y). style 1 selects no key or button events. 1, or 0
  // when X refused the window.
  int CreateCtrlWin(int style);
  // The window text as shown: translated for a Chinese UI.
  CString ShownText() const;
  // The light focus mark with its blue outline around rect.
  void DrawFocusMark(GC gc, CRect rect);
  // Draws the caption at (x, y) in cells of the font height.
  void DrawCaption(GC gc, int x, int y, const char* text);
  // A press on the control: its dialog gives it the focus and the control
  // grabs the pointer (owner events off) until the release.
  void TakeFocusAndPointer();
  // The repaint events of a passive or toggling control: a motion while
  // pressed and an Expose of its own window redraw it. True when the event
  // was one of them.
  bool RedrawOnPaintEvent(XEvent* event, bool pressed);
  // Draws the shown text as a label: at x (centred when x < 0), centred
  // vertically (at two thirds of that in the traditional Chinese UI); when
  // the control has its dialog's focus, on the focus mark grown by growX
  // left and right ((w - text width) / 4 when growX < 0) and by 3 above and
  // below when more than minFree pixels are free above the text.
  void DrawLabel(GC gc, int x, int growX, int minFree);
};

// A new GC of a window in copy mode, background face grey and foreground
// black; the three are restored and the GC released when it goes.
class CtrlGC {
 public:
  explicit CtrlGC(unsigned long window);
  ~CtrlGC();
  CtrlGC(const CtrlGC&) = delete;
  CtrlGC& operator=(const CtrlGC&) = delete;
  GC get() const { return m_gc; }
  explicit operator bool() const { return m_gc != nullptr; }

 private:
  GC m_gc;
  int m_oldMode = 0;
  unsigned long m_oldBk = 0, m_oldFg = 0;
};
