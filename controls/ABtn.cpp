#include "controls/ABtn.h"

#include <cstdio>

#include "controls/ADialog.h"
#include "controls/CtrlConsts.h"
#include "controls/internal/DlgCtrlSeam.h"
#include "framework/AfcKernel.h"
#include "framework/CFont.h"
#include "framework/CWinApp.h"
#include "framework/Colours.h"
#include "framework/Drawing.h"
#include "framework/KeySyms.h"
#include "framework/UIStrings.h"
#include "framework/WinGeometry.h"
#include "framework/x11/CtrlEvents.h"
#include "framework/x11/EventAccess.h"

using afc::x11::EvKind;

bool WalkForKey(ACtrl* ctrl, unsigned long key, bool shift) {
  int backwards = -1;
  switch (key) {
    case keysym::kTab: backwards = shift ? 1 : 0; break;
    case keysym::kIsoLeftTab:
    case keysym::kLeft:
    case keysym::kUp:
    case keysym::kPrior: backwards = 1; break;
    case keysym::kRight:
    case keysym::kDown:
    case keysym::kNext: backwards = 0; break;
    default: return false;
  }
  if (ADialog* dlg = ctrl->GetDlg()) dlg->WalkTabStops(ctrl->m_nID, backwards);
  return true;
}

bool EventInside(XEvent* event, const CSize& size) {
  const CPoint pt = afc::x11::EventPoint(event);
  return pt.x >= 0 && pt.y >= 0 && pt.x < size.cx && pt.y < size.cy;
}

ABtn::ABtn(int id, AWnd* parent) : ABtn() {
  m_nID = id;
  m_pParent = parent;
}

void ABtn::Init() {
  m_nType = kCtrlPushButton;
  m_nID = -1;
  m_pParent = nullptr;
  m_bPressed = m_bKeyDown = m_bAlwaysDown = m_bCmboArrow = 0;
  m_pCmbo = nullptr;
}

int ABtn::Create(long x, long y, long cx, long cy, const char* text, AWnd* parent, long id) {
  ACtrl::Create(x, y, cx, cy, text, parent, id);
  return CreateCtrlWin(0);
}

int ABtn::ReplaceDlgCtrl(int id, IDialogHost* dialog) {
  AWnd::ReplaceDlgCtrl(id, dialog);
  return 1;
}

void ABtn::PostClick() {
  if (m_pParent && m_pParent->m_hWnd)
    PostWinEvent3Parms(m_pParent->m_hWnd, WM_CTRL_EVENT, m_hWnd, static_cast<uint32_t>(m_nID),
                       kCtrlEvClick);
}

int ABtn::Winproc(XEvent* event) {
  switch (afc::x11::EventKind(event)) {
    case EvKind::kClientMessage: return 1;
    case EvKind::kKeyPress: return OnKey(event);
    case EvKind::kKeyRelease:
      if (m_bKeyDown && afc::x11::EventWindow(event) == m_hWnd) return OnKey(event);
      return 1;
    case EvKind::kButtonPress:
      m_bPressed = 1;
      TakeFocusAndPointer();
      Draw(event);
      return CtrlEvProc(m_hWnd, m_nID, kCtrlEvPress, event);
    case EvKind::kButtonRelease: return m_bPressed ? OnRelease(event) : 1;
    case EvKind::kMotion:
      if (m_bPressed) Draw(event);
      return CtrlEvProc(m_hWnd, m_nID, kCtrlEvMotion, event);
    case EvKind::kExpose:
      if (afc::x11::EventWindow(event) == m_hWnd) Draw(event);
      return 1;
    default: return 1;
  }
}

int ABtn::OnKey(XEvent* event) {
  const bool press = afc::x11::EventKind(event) == EvKind::kKeyPress;
  m_bKeyDown = press ? 1 : 0;
  const unsigned long key = afc::x11::EventKeySym(event);
  if (key == keysym::kEscape) return 1;
  if (key == keysym::kReturn || key == keysym::kKpEnter || key == keysym::kSpace) {
    m_bPressed = m_bKeyDown;
    // The click happens on the key press; the face stays sunken until the
    // release.
    if (press) PostClick();
  } else if (press) {
    WalkForKey(this, key, afc::x11::EventShift(event));
  }
  Draw(event);
  return 1;
}

int ABtn::OnRelease(XEvent* event) {
  UnsetPtrGrab();
  m_bPressed = 0;
  Draw(event);
  if (EventInside(event, m_szWin)) {
    std::fprintf(stderr, "fire!!=%d\n", m_nID);
    if (m_bCmboArrow) {
      if (m_pCmbo && GetDlgCtrlSeam().comboDropDown) GetDlgCtrlSeam().comboDropDown(m_pCmbo);
    } else {
      PostClick();
    }
  }
  return CtrlEvProc(m_hWnd, m_nID, kCtrlEvClick, event);
}

void ABtn::Draw(XEvent* event) {
  CtrlGC dc(m_hWnd);
  if (!dc) return;
  GC gc = dc.get();
  const int w = m_szWin.cx, h = m_szWin.cy;
  bool sunken = m_bPressed && (!event || afc::x11::EventKind(event) != EvKind::kMotion ||
                               EventInside(event, m_szWin));
  if (m_bAlwaysDown) sunken = true;
  CRect all(0, 0, w, h);
  FillClrRect(m_hWnd, gc, &all, kClrFace);
  Draw3DRect(m_hWnd, gc, 1, 1, w - 2, h - 2, sunken);
  SetFgClr(gc, kClrText);
  ADialog* dlg = GetDlg();
  if (dlg && dlg->m_nDefBtnID == m_nID) afc::x11::DrawOutline(m_hWnd, gc, 0, 0, w - 1, h - 1);
  if (m_bCmboArrow) {
    const int s = static_cast<int>(w * 0.4);
    Draw3dArrow(m_hWnd, gc, (w - s) / 2, (h - s) / 2, s, s, 1);
    return;
  }
  DrawLabel(gc, -1, -1, 3);
  if (m_bOwnerDraw && !(event && afc::x11::EventKind(event) == EvKind::kKeyRelease)) {
    DrawCtrl(gc, 0);
    if (dlg) dlg->CtrlEvProc(m_hWnd, m_nID, kCtrlEvOwnerDraw, event);
  }
}
