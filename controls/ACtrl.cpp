#include "controls/ACtrl.h"

#include "controls/ADialog.h"
#include "controls/CtrlConsts.h"
#include "framework/AfcKernel.h"
#include "framework/CFont.h"
#include "framework/CWinApp.h"
#include "framework/Colours.h"
#include "framework/Drawing.h"
#include "framework/UIStrings.h"
#include "framework/WinGeometry.h"
#include "framework/x11/CtrlEvents.h"
#include "framework/x11/EventAccess.h"

ACtrl::ACtrl(int id, AWnd* parent) {
  Init();
  m_nID = id;
  m_pParent = parent;
}

int ACtrl::Destroy() {
  if (m_hWnd) DestroyWin(m_hWnd);
  m_hWnd = 0;
  return 1;
}

int ACtrl::Create(long x, long y, long cx, long cy, const char* text, AWnd* parent, long id) {
  AWnd::Create(x, y, cx, cy, text, parent, id);
  if (m_ctrlTmpl.m_style & kCtrlStyleHidden) m_bHidden = 1;
  if (m_ctrlTmpl.m_style & kCtrlStyleDisabled) m_bDisabled = 1;
  m_ptClientOrg = CPoint(3, 3);
  m_szClient = CSize(cx - 6, cy - 6);
  return 1;
}

ADialog* ACtrl::GetDlg() const { return dynamic_cast<ADialog*>(m_pParent); }

int ACtrl::CreateCtrlWin(int style) {
  const unsigned long parentWin = m_pParent ? m_pParent->m_hWnd : 0;
  const CRect rc = m_rcWin;
  const unsigned long win = CreateWin(style, 0, rc, parentWin, nullptr, this, m_nID, this);
  if (!win) return 0;
  m_hWnd = win;
  SetWinPos(win, rc.left, rc.top, 0, 0, kSwpKeepSize | kSwpShow, 0, 0);
  return 1;
}

CString ACtrl::ShownText() const {
  const int lang = GetUILanguage();
  if (lang == kUILangGbk || lang == kUILangBig5) return LoadStringChn(m_strText, 0);
  return m_strText;
}

void ACtrl::DrawFocusMark(GC gc, CRect rect) {
  FillClrRect(m_hWnd, gc, &rect, kClrFocusFill);
  const unsigned long old = SetFgClr(gc, kClrFocusLine);
  afc::x11::DrawOutline(m_hWnd, gc, rect.left, rect.top, rect.Width(), rect.Height());
  SetFgClrPxl(gc, old);
}

void ACtrl::DrawCaption(GC gc, int x, int y, const char* text) {
  ChBmpStrOut(m_hWnd, gc, x, y, text, 0, 0, m_nFontH, m_nFontH, 0, nullptr, 0, kChStrAuto, 1);
}

void ACtrl::DrawLabel(GC gc, int x, int growX, int minFree) {
  const int w = m_szWin.cx, h = m_szWin.cy, fh = m_nFontH;
  const CString text = ShownText();
  const CSize ext = ChnBmpStrExtent(text, 0, fh, fh, fh);
  if (x < 0) x = (w - ext.cx) / 2;
  if (growX < 0) growX = (w - ext.cx) / 4;
  int y = (h - ext.cy) / 2;
  ADialog* dlg = GetDlg();
  if (dlg && dlg->m_nFocusID == m_nID) {
    const int dy = (h - ext.cy) / 2 > minFree ? 3 : 0;
    DrawFocusMark(gc, CRect(x - growX, y - dy, x + ext.cx + growX, y + ext.cy + dy));
    SetFgClr(gc, kClrFocusLine);
  }
  if (GetUILanguage() == kUILangBig5) y = 2 * y / 3;
  DrawCaption(gc, x, y, text);
}

CtrlGC::CtrlGC(unsigned long window) : m_gc(window ? GetGC(window) : nullptr) {
  if (!m_gc) return;
  m_oldMode = SetDrawMode(m_gc, kDrawCopy);
  m_oldBk = SetBkClr(m_gc, kClrFace);
  m_oldFg = SetFgClrPxl(m_gc, gpxlBlack);
}

CtrlGC::~CtrlGC() {
  if (!m_gc) return;
  SetFgClrPxl(m_gc, m_oldFg);
  SetBkClrPxl(m_gc, m_oldBk);
  SetDrawMode(m_gc, m_oldMode);
  ReleaseGC(m_gc);
}

void ACtrl::TakeFocusAndPointer() {
  if (ADialog* dlg = GetDlg()) dlg->SetCtrlFocus(m_nID);
  SetPtrGrab(m_hWnd);
}

bool ACtrl::RedrawOnPaintEvent(XEvent* event, bool pressed) {
  switch (afc::x11::EventKind(event)) {
    case afc::x11::EvKind::kMotion:
      if (pressed) Draw(event);
      return true;
    case afc::x11::EvKind::kExpose:
      if (afc::x11::EventWindow(event) == m_hWnd) Draw(event);
      return true;
    default: return false;
  }
}
