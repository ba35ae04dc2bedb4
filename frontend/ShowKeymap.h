// ShowKeymap.h: the keymap window, a picture of the keyboard for the input
// method in use: where the shape code's roots lie, or the pinyin and
// ShuangPin keys with the tone and stroke keys. It is a dialog on template
// 105 that is never run modally: the keymap command makes it once, places
// it at the work area's bottom-right corner and then only shows and hides
// it (frontend/BarCommands.cpp). A press anywhere in it drags it; a double
// click hides it. The picture is chosen by the settings when the window is
// made and decoded once, so a later change of method shows the old picture
// until kvr starts again.
#pragma once

#include "base/CString.h"
#include "controls/ADialog.h"
#include "framework/XDrawTypes.h"

struct typInputSettings;

// The keymap window's dialog template.
constexpr int kKeymapDlgId = 105;

// The picture for the settings: "keymap", then "PYStd", "SPStd", "PY" or
// "SP" in pinyin input (standard pinyin or not, ShuangPin or not), then the
// ShuangPin scheme's digit when it is 1 or more, then ".bmp". Shape-code
// input has no variant: "keymap.bmp".
CString KeymapPictureName(const typInputSettings& settings);

class CShowKeymap : public ADialog {
 public:
  explicit CShowKeymap(AWnd* parent);
  ~CShowKeymap() override;

  void AtLBtnDwn(unsigned long flags, CPoint point) override;
  void AtLBtnUp(unsigned long flags, CPoint point) override;
  void AtLBtnDblClk(unsigned long flags, CPoint point) override;
  void AtPtrMv(unsigned long flags, CPoint point) override;
  // OK and Cancel, the paint notification, then the pointer's presses,
  // clicks, double clicks and motions anywhere in the window.
  int CtrlEvProc(unsigned long window, int id, unsigned long code, XEvent* event) override;
  // Loads the picture the settings choose, with a status message while it
  // loads. Returns 1; a picture that cannot be loaded leaves the window its
  // background.
  int InitDlg() override;

  // Paints the exposed part: the picture below the title bar, the rest in
  // the window's background colour.
  void AtDraw(XEvent* expose);
  // Hide the window unless it is kept shown (nothing calls them).
  void OnClose();
  void OnSysKeyDown(unsigned long key);
  void OnSize() {}
  void OnShowWindow() {}

  int m_bKeepShown = 0;          // never set: the window can always be hidden
  XImage* m_pPicture = nullptr;  // owned; null when it could not be loaded
};
