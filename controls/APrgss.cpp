#include "controls/APrgss.h"

#include "controls/CtrlConsts.h"
#include "controls/DlgLayout.h"
#include "framework/AfcKernel.h"
#include "framework/Drawing.h"
#include "framework/WinMsg.h"
#include "framework/x11/CtrlEvents.h"
#include "framework/x11/EventAccess.h"

APrgss::APrgss(int id, AWnd* parent) : APrgss() {
  m_nID = id;
  m_pParent = parent;
}

void APrgss::Init() {
  m_nType = kCtrlProgressBar;
  m_nID = -1;
  m_pParent = nullptr;
  m_nPercent = 0;
}

int APrgss::Create(long x, long y, long cx, long cy, const char* text, AWnd* parent, long id) {
  ACtrl::Create(x, y, cx, cy, text, parent, id);
  return CreateCtrlWin(0);
}

int APrgss::ReplaceDlgCtrl(int id, IDialogHost* dialog) {
  AWnd::ReplaceDlgCtrl(id, dialog);
  return 1;
}

int APrgss::Winproc(XEvent* event) {
  switch (afc::x11::EventKind(event)) {
    case afc::x11::EvKind::kClientMessage:
      if (WinMsgId(event) == WM_CTRL_SETPOS) {
        m_nPercent = WinMsgInt(event, 0);
        InvalidateRect(m_hWnd, nullptr, 0);
        Draw(nullptr);
      }
      return 1;
    case afc::x11::EvKind::kExpose:
      if (afc::x11::EventWindow(event) == m_hWnd) Draw(event);
      return 1;
    default: return 1;
  }
}

void APrgss::Draw(XEvent*) {
  if (!m_hWnd) return;
  GC gc = GetGC(m_hWnd);
  if (!gc) return;
  CRect all(0, 0, m_szWin.cx, m_szWin.cy);
  FillClrRect(m_hWnd, gc, &all, kClrFace);
  // The bar is not clamped by its callers: out-of-range shares draw as 0 or
  // 100 percent rather than past the window.
  const int pct = m_nPercent < 0 ? 0 : (m_nPercent > 100 ? 100 : m_nPercent);
  CRect bar(0, 0, dlglayout::ProgressFill(m_szWin.cx, pct), m_szWin.cy);
  if (bar.right > 0) FillClrRect(m_hWnd, gc, &bar, kClrProgress);
  ReleaseGC(gc);
}
