// AWnd.h: the base class of every window object: the controls and dialogs,
// the front end's windows, and the bare objects the kernel makes for windows
// that have only a window procedure. An AWnd describes one X window (id,
// geometry, text, language, flags, control id); the kernel finds it through
// the window map and calls ProcessEv for every event of its window. The base
// counts left-button presses into double clicks, and an object can stand in
// for a control of a dialog (ReplaceDlgCtrl / RestoreDlgCtrl).
//
// An AWnd does not own its X window: CreateWin / DestroyWin (AfcKernel.h)
// do. An object that is deleted leaves the window map. Windows cannot be
// copied.
#pragma once

#include <cstdint>

#include "base/CString.h"
#include "base/Geometry.h"
#include "framework/XTypes.h"

class IDialogHost;
struct tagDRAWITEMSTRUCT;
struct tagMEASUREITEMSTRUCT;

// Kinds of window objects; controls set codes of their own.
constexpr int kAWndPlain = -1;
// The CtrlEvProc code of a double click.
constexpr unsigned long kCtrlEvDblClick = 2004;

class AWnd {
 public:
  AWnd();
  explicit AWnd(unsigned long window);
  AWnd(const AWnd&) = delete;
  AWnd& operator=(const AWnd&) = delete;

  // --- virtual operations, in slot order ---
  // The default window procedure: a window message WM_AFC_DBLCLICK becomes
  // CtrlEvProc(window, id, 2004, event); a left-button press runs the click
  // counting (its result); other events give 1.
  virtual int Winproc(XEvent* event);
  virtual void Draw(XEvent* event) {}
  virtual int CtrlMsgEvHelper(int) { return 1; }
  // The application's default font height, at least 20 (16 under a
  // traditional Chinese UI) in the input method, at least 16 in the
  // installer.
  virtual int GetDefaultFontHeight();
  virtual void OnCancel() {}
  virtual void OnOK() {}
  // RestoreDlgCtrl(), window 0; returns 1.
  virtual int Destroy();
  virtual void MemVarAttaches() {}
  // Takes over the window of the dialog's control id: 0 when no object is
  // registered for it; otherwise registers this object in its place (window
  // map, the dialog's control list and id map), copies its state, returns 1.
  virtual int ReplaceDlgCtrl(int id, IDialogHost* dialog);
  // Copies every field of source but the window, the language, the expose
  // event, the replaced control and the dialog. Returns 1.
  virtual int CopyData(AWnd* source);
  // Undoes ReplaceDlgCtrl; the replaced control takes over this object's
  // state. 0 when nothing is replaced.
  virtual int RestoreDlgCtrl();
  virtual void CalcWindowRect(tagRECT*, unsigned long) {}
  virtual void AtLBtnDwn(unsigned long flags, CPoint) {}
  virtual void AtLBtnUp(unsigned long flags, CPoint) {}
  virtual void AtLBtnDblClk(unsigned long flags, CPoint) {}
  virtual void OnLButton3Clk(unsigned long flags, CPoint) {}
  virtual void OnLButton4Clk(unsigned long flags, CPoint) {}
  virtual void AtPtrMv(unsigned long flags, CPoint) {}
  virtual void DrawCtrl(GC, unsigned long) {}
  virtual void AtDrawCtrl(int, unsigned long) {}
  virtual int OnCommand(unsigned long, unsigned long) { return 1; }
  virtual int OnNotify(unsigned long, unsigned long, unsigned long*) { return 1; }
  virtual ~AWnd();
  // The notification path from a control to its dialog; the base returns 1.
  virtual int CtrlEvProc(unsigned long window, int id, unsigned long code, XEvent* event) {
    return 1;
  }

  // --- non-virtual members ---
  int Init();
  // Fills the object (no X window is created); returns 1.
  int Create(long x, long y, long w, long h, const char* text, AWnd* parent, long id);
  // The window procedure's result when one is set, else Winproc's.
  int ProcessEv(XEvent* event);
  int Default(XEvent* event) { return AWnd::Winproc(event); }
  // Click counting: 1 (and WM_AFC_DBLCLICK posted) for a press within the
  // double-click interval of the last single press, else 0.
  int OnManageLButtonClicks(unsigned long flags, CPoint point);
  void GetExposeRect(CRect* rect);
  // Sets the window field only; the window map is the kernel's.
  int SetHdl(unsigned long window);
  unsigned long UnsetHdl();
  CPoint SetClientOrg(CPoint org);
  CSize SetClientSize(CSize size);
  CPoint GetClientOrg() const { return m_ptClientOrg; }
  CSize GetClientSize() const { return m_szClient; }
  void OnDestroy() { RestoreDlgCtrl(); }
  int GetCtrlText(int id, CString& text) { return text.GetLength(); }
  void GetWindowText(CString&) {}
  void OnNcDestroy() {}
  void AtDrawCtrl(int, tagDRAWITEMSTRUCT*) {}
  void OnMeasureItem(int, tagMEASUREITEMSTRUCT*) {}
  void OnParentNotify(unsigned long, unsigned long) {}
  void OnSysColorChange() {}
  void CenterWindow(AWnd*) {}
  template <class... A>
  int ModifyStyle(A&&...) {
    return 0;
  }
  template <class... A>
  int GetDescendantWindow(A&&...) {
    return 0;
  }
  template <class... A>
  int ReflectChildNotify(A&&...) {
    return 0;
  }
  template <class... A>
  int OnActivateTopLevel(A&&...) {
    return 0;
  }
  template <class... A>
  int ModifyStyleEx(A&&...) {
    return 1;
  }
  int GetWindowPlacement(CRect*) { return 1; }
  int SetWindowPlacement(const CRect*) { return 1; }
  // Does nothing (the kernel's PostWinEvent is the one that posts).
  int PostWinEvent(unsigned long id, unsigned long a, unsigned long b) { return 0; }

  // --- fields, in order ---
  unsigned long m_hWnd;        // the X window; 0 when none
  int m_nType;                 // kAWndPlain or a control's kind
  AWnd* m_pParent;             // borrowed: the parent outlives the child
  int m_nFontH;                // pixel height of the text
  int m_nCaptionH;             // own title bar (dialogs)
  int m_nID;                   // control id; -1 until set
  CRect m_rcWin;               // in the parent's coordinates
  CPoint m_ptClientOrg;        // origin of the drawing area
  CSize m_szClient;            // size of the drawing area
  CSize m_szWin;               // size of the window
  CString m_strText;           // caption or content
  int m_nLang;                 // 0, 1000 or 1001, from the application at Init
  XEvent* m_pExposeEv;         // borrowed: the Expose being painted, or null
  void* m_pMemVar;             // borrowed: the dialog variable this control mirrors
  uint8_t m_nMemVarKind;       // how it mirrors it
  uint8_t m_bHidden;           // 1 after ShowWin hid the window
  uint8_t m_bDisabled;         // 1 when disabled (EnableWin)
  uint8_t m_bOwnerDraw;        // 1 when the dialog draws this control
  int (*m_pWinProc)(XEvent*);  // when set, receives every event instead of Winproc
  AWnd* m_pReplacedCtrl;       // borrowed: the control this object stands in for
  IDialogHost* m_pDlg;         // borrowed: that control's dialog
  uint32_t m_tmLastPress;      // clock of the last single press; 0 after a double click
  uint32_t m_tmDblClk;         // clock of the last double click
  CPoint m_ptDblClk;           // where it was
  uint32_t m_tm3rdClk;         // unused by the base
  uint32_t m_nDblClkIntvl;     // GetDblClikIntvl(), 340 ms
};

// The double-click interval in milliseconds.
constexpr uint32_t kDblClikIntvl = 340;
