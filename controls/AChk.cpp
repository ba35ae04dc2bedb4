#include "controls/AChk.h"

#include "controls/ABtn.h"
#include "controls/ADialog.h"
#include "controls/CheckCtrlKeys.h"
#include "controls/CtrlConsts.h"
#include "controls/DlgLayout.h"
#include "framework/AfcKernel.h"
#include "framework/CFont.h"
#include "framework/CWinApp.h"
#include "framework/Colours.h"
#include "framework/Drawing.h"
#include "framework/KeySyms.h"
#include "framework/UIStrings.h"
#include "framework/x11/CtrlEvents.h"
#include "framework/x11/EventAccess.h"

using afc::x11::EvKind;

AChk::AChk(int id, AWnd* parent) : AChk() {
  m_nID = id;
  m_pParent = parent;
}

void AChk::Init() {
  m_nType = kCtrlCheckBox;
  m_bPressed = m_bChecked = m_bNotifying = 0;
}

int AChk::Create(long x, long y, long cx, long cy, const char* text, AWnd* parent, long id) {
  ACtrl::Create(x, y, cx, cy, text, parent, id);
  return CreateCtrlWin(0);
}

int AChk::Winproc(XEvent* event) {
  switch (afc::x11::EventKind(event)) {
    case EvKind::kKeyPress: {
      const unsigned long key = afc::x11::EventKeySym(event);
      if (m_bDisabled || CheckCtrlDialogKey(*this, key)) return 1;
      if (key == keysym::kSpace) return Toggle(event);
      if (WalkForKey(this, key, afc::x11::EventShift(event))) Draw(nullptr);
      return 1;
    }
    case EvKind::kButtonPress:
      if (m_bDisabled) return 1;
      m_bPressed = 1;
      TakeFocusAndPointer();
      Draw(event);
      return 1;
    case EvKind::kButtonRelease: {
      const bool wasPressed = m_bPressed;
      if (GetPtrGrab() == m_hWnd) UnsetPtrGrab();
      m_bPressed = 0;
      if (m_bDisabled || !wasPressed) return 1;
      if (EventInside(event, m_szWin)) return Toggle(event);
      return 1;
    }
    default: RedrawOnPaintEvent(event, m_bPressed); return 1;
  }
}

int AChk::Toggle(XEvent* event) {
  ADialog* dlg = GetDlg();
  if (!dlg || m_bNotifying) return 1;
  m_bChecked = !m_bChecked;
  m_bNotifying = 1;
  const int r = dlg->CtrlEvProc(m_hWnd, m_nID, kCtrlEvClick, nullptr);
  m_bNotifying = 0;
  Draw(event);
  return r;
}

void AChk::Draw(XEvent*) {
  CtrlGC dc(m_hWnd);
  if (!dc) return;
  GC gc = dc.get();
  const int w = m_szWin.cx, h = m_szWin.cy;
  CRect all(0, 0, w, h);
  FillClrRect(m_hWnd, gc, &all, kClrFace);
  if (m_bHidden) return;
  const dlglayout::ChkGeom g = dlglayout::CheckBox(h);
  Draw3DRect(m_hWnd, gc, g.q, g.t, g.s, g.s, 1);
  CRect well(g.q + 3, g.t + 3, g.q + g.s - 1, g.t + g.s - 2);
  FillClrRect(m_hWnd, gc, &well, m_bDisabled ? kClrWellDisabled : kClrWell);
  SetFgClr(gc, kClrText);
  if (m_bChecked) {
    CRect inner(well.left + 3, well.top + 3, well.right - 3, well.bottom - 3);
    DrawCross(m_hWnd, gc, inner, 4);
  }
  DrawLabel(gc, g.textX, 2, 2);
}
