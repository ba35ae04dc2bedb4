#include "framework/AWnd.h"

#include "framework/AfcKernel.h"
#include "framework/CWinApp.h"
#include "framework/ModalHosts.h"
#include "framework/internal/Clock.h"
#include "framework/internal/WindowMap.h"
#include "framework/x11/EventAccess.h"

AWnd::AWnd() { Init(); }

AWnd::AWnd(unsigned long window) {
  Init();
  m_hWnd = window;
}

AWnd::~AWnd() {
  RestoreDlgCtrl();
  // An object deleted without DestroyWin must not stay in the window map,
  // where the next event of its window would reach freed memory.
  if (m_hWnd) afc::WindowMap::Forget(m_hWnd, this);
}

int AWnd::Init() {
  m_hWnd = 0;
  m_nType = kAWndPlain;
  m_pParent = nullptr;
  m_nFontH = 0;
  m_nCaptionH = 0;
  m_nID = -1;
  m_rcWin = CRect(0, 0, 0, 0);
  m_ptClientOrg = CPoint(0, 0);
  m_szClient = CSize(0, 0);
  m_szWin = CSize(0, 0);
  m_nLang = uniqueAFCAppPointer ? uniqueAFCAppPointer->m_nUILang : 0;
  m_pExposeEv = nullptr;
  m_pMemVar = nullptr;
  m_nMemVarKind = 0;
  m_bHidden = 0;
  m_bDisabled = 0;
  m_bOwnerDraw = 0;
  m_pWinProc = nullptr;
  m_pReplacedCtrl = nullptr;
  m_pDlg = nullptr;
  m_tmLastPress = 0;
  m_tmDblClk = 0;
  m_ptDblClk = CPoint(0, 0);
  m_tm3rdClk = 0;
  m_nDblClkIntvl = kDblClikIntvl;
  return 1;
}

int AWnd::Create(long x, long y, long w, long h, const char* text, AWnd* parent, long id) {
  m_pParent = parent;
  m_nFontH = GetDefaultFontHeight();
  m_nCaptionH = 0;
  m_rcWin = CRect(static_cast<int>(x), static_cast<int>(y), static_cast<int>(x + w),
                  static_cast<int>(y + h));
  m_szWin = CSize(w, h);
  m_szClient = CSize(w, h);
  m_ptClientOrg = CPoint(0, 0);
  m_nID = static_cast<int>(id);
  m_strText = text ? text : "";
  return 1;
}

int AWnd::GetDefaultFontHeight() {
  const CWinApp* app = uniqueAFCAppPointer;
  const int appHeight = app ? app->GetDefaultFontHeight() : 16;
  int floor = 16;
  if (!app || app->m_bImeUI) floor = (app && app->m_nUILang == 1001) ? 16 : 20;
  return appHeight > floor ? appHeight : floor;
}

int AWnd::Destroy() {
  RestoreDlgCtrl();
  m_hWnd = 0;
  return 1;
}

int AWnd::ProcessEv(XEvent* event) {
  if (m_pWinProc) return m_pWinProc(event);
  return Winproc(event);
}

int AWnd::Winproc(XEvent* event) {
  switch (afc::x11::ClassifyForWinproc(event)) {
    case afc::x11::WinprocEvent::DoubleClickMsg:
      return CtrlEvProc(m_hWnd, m_nID, kCtrlEvDblClick, event);
    case afc::x11::WinprocEvent::LeftPress:
      return OnManageLButtonClicks(0, afc::x11::EventPoint(event));
    case afc::x11::WinprocEvent::OtherPress:
    case afc::x11::WinprocEvent::Motion:
      // Counting only left presses: a wheel turn or a pointer motion is not
      // half of a double click. Callers act on a press when this gives 0.
      return 0;
    case afc::x11::WinprocEvent::Other: break;
  }
  return 1;
}

int AWnd::OnManageLButtonClicks(unsigned long, CPoint point) {
  const uint32_t now = afc::NowMs();
  if (m_tmLastPress != 0 && static_cast<uint32_t>(now - m_tmLastPress) <= m_nDblClkIntvl) {
    m_tmLastPress = 0;
    m_tmDblClk = now;
    m_ptDblClk = point;
    ::PostWinEvent(m_hWnd, WM_AFC_DBLCLICK, static_cast<uint32_t>(point.x),
                   static_cast<uint32_t>(point.y));
    return 1;
  }
  m_tmLastPress = now;
  return 0;
}

void AWnd::GetExposeRect(CRect* rect) {
  if (!m_pExposeEv || !rect) return;
  *rect = afc::x11::ExposeRect(m_pExposeEv);
}

int AWnd::SetHdl(unsigned long window) {
  m_hWnd = window;
  return 1;
}

unsigned long AWnd::UnsetHdl() {
  const unsigned long old = m_hWnd;
  m_hWnd = 0;
  return old;
}

CPoint AWnd::SetClientOrg(CPoint org) {
  const CPoint old = m_ptClientOrg;
  m_ptClientOrg = org;
  return old;
}

CSize AWnd::SetClientSize(CSize size) {
  const CSize old = m_szClient;
  m_szClient = size;
  return old;
}

int AWnd::ReplaceDlgCtrl(int id, IDialogHost* dialog) {
  if (!dialog) return 0;
  const unsigned long window = dialog->GetCtrlWin(id);
  AWnd* replaced = window ? afc::WindowMap::Find(window) : nullptr;
  if (!replaced || replaced == this) return 0;
  m_hWnd = window;
  m_pReplacedCtrl = replaced;
  m_pDlg = dialog;
  afc::WindowMap::Register(window, this);
  dialog->SwapCtrlObject(id, replaced, this);
  CopyData(replaced);
  return 1;
}

int AWnd::RestoreDlgCtrl() {
  if (!m_pReplacedCtrl) return 0;
  AWnd* replaced = m_pReplacedCtrl;
  m_pReplacedCtrl = nullptr;
  if (m_hWnd && afc::WindowMap::Find(m_hWnd) == this) afc::WindowMap::Register(m_hWnd, replaced);
  if (m_pDlg) m_pDlg->SwapCtrlObject(m_nID, this, replaced);
  m_pDlg = nullptr;
  replaced->CopyData(this);
  return 1;
}

int AWnd::CopyData(AWnd* source) {
  if (!source || source == this) return 1;
  m_nType = source->m_nType;
  m_pParent = source->m_pParent;
  m_nFontH = source->m_nFontH;
  m_nCaptionH = source->m_nCaptionH;
  m_nID = source->m_nID;
  m_rcWin = source->m_rcWin;
  m_ptClientOrg = source->m_ptClientOrg;
  m_szClient = source->m_szClient;
  m_szWin = source->m_szWin;
  m_strText = source->m_strText;
  m_pMemVar = source->m_pMemVar;
  m_nMemVarKind = source->m_nMemVarKind;
  m_bHidden = source->m_bHidden;
  m_bDisabled = source->m_bDisabled;
  m_bOwnerDraw = source->m_bOwnerDraw;
  m_pWinProc = source->m_pWinProc;
  m_tmLastPress = source->m_tmLastPress;
  m_tmDblClk = source->m_tmDblClk;
  m_ptDblClk = source->m_ptDblClk;
  m_tm3rdClk = source->m_tm3rdClk;
  m_nDblClkIntvl = source->m_nDblClkIntvl;
  return 1;
}
