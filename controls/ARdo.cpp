#include "controls/ARdo.h"

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

ARdo::ARdo(int id, AWnd* parent) : ARdo() {
  m_nID = id;
  m_pParent = parent;
}

void ARdo::Init() {
  m_nType = kCtrlRadioButton;
  m_bPressed = m_bChecked = 0;
}

int ARdo::Create(long x, long y, long cx, long cy, const char* text, AWnd* parent, long id) {
  ACtrl::Create(x, y, cx, cy, text, parent, id);
  return CreateCtrlWin(0);
}

int ARdo::Winproc(XEvent* event) {
  ADialog* dlg = GetDlg();
  switch (afc::x11::EventKind(event)) {
    case EvKind::kKeyPress: {
      const unsigned long key = afc::x11::EventKeySym(event);
      if (CheckCtrlDialogKey(*this, key)) return 1;
      if (dlg) {
        if (key == keysym::kTab) dlg->WalkTabStops(m_nID, afc::x11::EventShift(event));
        if (key == keysym::kIsoLeftTab) dlg->WalkTabStops(m_nID, 1);
        if (key == keysym::kLeft || key == keysym::kUp || key == keysym::kPrior)
          dlg->ProcessRadioBtnEv(m_nID, keysym::kUp);
        if (key == keysym::kRight || key == keysym::kDown || key == keysym::kNext)
          dlg->ProcessRadioBtnEv(m_nID, keysym::kDown);
      }
      Draw(nullptr);
      return 1;
    }
    case EvKind::kButtonPress:
      m_bPressed = 1;
      TakeFocusAndPointer();
      Draw(event);
      return 1;
    case EvKind::kButtonRelease: {
      if (GetPtrGrab() == m_hWnd) UnsetPtrGrab();
      m_bPressed = 0;
      if (!EventInside(event, m_szWin)) return 1;
      m_bChecked = 1;
      Draw(event);
      if (!dlg) return 1;
      dlg->ProcessRadioBtnEv(m_nID, 0);
      return dlg->CtrlEvProc(m_hWnd, m_nID, kCtrlEvClick, nullptr);
    }
    default: RedrawOnPaintEvent(event, m_bPressed); return 1;
  }
}

void ARdo::Draw(XEvent*) {
  CtrlGC dc(m_hWnd);
  if (!dc) return;
  GC gc = dc.get();
  const int w = m_szWin.cx, h = m_szWin.cy;
  CRect all(0, 0, w, h);
  FillClrRect(m_hWnd, gc, &all, kClrFace);
  const dlglayout::RdoGeom g = dlglayout::RadioButton(h);
  DrawRadioBox(m_hWnd, gc, g.cx, g.cy, g.r, m_bChecked);
  SetFgClr(gc, kClrText);
  DrawLabel(gc, g.textX, 2, 2);
}
