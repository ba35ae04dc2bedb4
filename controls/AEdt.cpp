#include "controls/AEdt.h"

#include "controls/ADialog.h"
#include "controls/CtrlConsts.h"
#include "editor/AEdtStor.h"
#include "framework/AfcKernel.h"
#include "framework/Colours.h"
#include "framework/Drawing.h"
#include "framework/KeySyms.h"
#include "framework/WinMsg.h"
#include "framework/x11/CtrlEvents.h"
#include "framework/x11/EventAccess.h"

using afc::x11::EvKind;

namespace {
constexpr unsigned long kClrEdtFace = 0xc7c7c7;
constexpr unsigned long kClrEdtWell = 0xffffff;
}  // namespace

AEdt::AEdt() { Init(); }

AEdt::AEdt(int id, AWnd* parent) : AEdt() {
  m_nID = id;
  m_pParent = parent;
}

AEdt::~AEdt() = default;

void AEdt::Init() {
  m_nType = kCtrlEditField;
  m_bPressed = 0;
  m_ptScroll = CPoint(0, 0);
}

int AEdt::Create(long x, long y, long cx, long cy, const char* text, AWnd* parent, long id) {
  ACtrl::Create(x, y, cx, cy, text, parent, id);
  if (!CreateHostWin(!(m_ctrlTmpl.m_style & kCtrlStyleMultiLine))) return 0;
  const int t = static_cast<int>(m_nFontH * 1.3);
  const int X = static_cast<int>(x), Y = static_cast<int>(y);
  const int CX = static_cast<int>(cx), CY = static_cast<int>(cy);
  m_rcHBar = CRect(X + 3, Y + CY - t, X + CX - t - 3, Y + CY);
  m_rcVBar = CRect(X + CX - t, Y + 3, X + CX, Y + CY);
  CRect rects[2] = {m_rcHBar, m_rcVBar};
  InitScrollers(rects, this, parent);
  OnInitialUpdate();
  return 1;
}

int AEdt::SetText(const char* text) {
  if (Doc()) {
    ReplaceAllText(text);
    MoveCaretToTopLeft();
  }
  Notify();
  return 1;
}

CString AEdt::GetText() {
  CString text;
  if (Doc()) GetAllText(text);
  return text;
}

void AEdt::Notify() {
  if (ADialog* dlg = GetDlg()) dlg->CtrlEvProc(m_hWnd, m_nID, kCtrlEvTextChange, nullptr);
}

// --- events -----------------------------------------------------------------

int AEdt::Winproc(XEvent* event) {
  if (OnFocusEvent(event)) return 1;
  switch (afc::x11::EventKind(event)) {
    case EvKind::kClientMessage: return OnMessage(event);
    case EvKind::kKeyPress:
    case EvKind::kKeyRelease: return OnKey(event);
    case EvKind::kButtonPress: return OnPress(event);
    case EvKind::kButtonRelease:
      m_bPressed = 0;
      if (ADialog* dlg = GetDlg()) dlg->UngrabPtrToCtrl();
      AEdtVu::AtLBtnUp(0, afc::x11::EventPoint(event));
      return 1;
    case EvKind::kMotion:
      if (m_bPressed) {
        AEdtVu::AtPtrMv(afc::x11::EventState(event), NewestMotionPoint(event));
        Draw(nullptr);
      }
      return 1;
    case EvKind::kExpose:
      if (afc::x11::EventWindow(event) == m_hWnd) Draw(event);
      return 1;
    default: return 1;
  }
}

int AEdt::OnMessage(XEvent* event) {
  switch (WinMsgId(event)) {
    case WM_AFC_SHOW:
      if (!WinMsgWord(event, 0)) {
        for (int i = 0; i < 2; ++i)
          if (IEdtScrollBar* bar = GetScrollBar(i)) bar->Show(0);
      } else {
        MySetScrollParams();
      }
      return 1;
    case WM_AFC_TIMER: AtTimer(WinMsgWord(event, 0)); return 1;
    case WM_SCRL_HORZ:
    case WM_SCRL_VERT: {
      const int pos = WinMsgInt(event, 0);
      int& seen = WinMsgId(event) == WM_SCRL_HORZ ? m_ptScroll.x : m_ptScroll.y;
      if (pos != seen) {
        seen = pos;
        if (m_hWnd) InvalidateRect(m_hWnd, nullptr, 0);
      }
      return 1;
    }
    case WM_EDT_ENGINETEXT:
      EngineText(reinterpret_cast<const char*>(WinMsgLong(event, 0)));
      return 1;
    default: return 1;
  }
}

void AEdt::EngineText(const char* text) {
  if (!Doc()) return;
  const char* rest = TakeEngineBackSpaces(text);
  int changed = 0;
  DeleteSelection(changed);
  InsertText(rest);
  // The engine's re-selection erases what it committed from here.
  RecordEngineCommitPos();
  Notify();
}

int AEdt::OnKey(XEvent* event) {
  const bool press = afc::x11::EventKind(event) == EvKind::kKeyPress;
  const unsigned long key = afc::x11::EventKeySym(event);
  ADialog* dlg = GetDlg();
  if (key == keysym::kTab || key == keysym::kIsoLeftTab) {
    // Their releases reach neither the engine nor the view.
    if (press && dlg)
      dlg->WalkTabStops(m_nID, key == keysym::kIsoLeftTab || afc::x11::EventShift(event));
    return 1;
  }
  if (press && (key == keysym::kReturn || key == keysym::kKpEnter)) {
    if (dlg) dlg->ProcessReturn(this);
    return 1;
  }
  const int result = HandKeyToView(event);
  Notify();
  Draw(nullptr);
  return result;
}

int AEdt::OnPress(XEvent* event) {
  m_bPressed = 1;
  TakePress(event, true);  // a press in the frame only focuses the control
  Draw(nullptr);
  return 1;
}

// --- drawing ----------------------------------------------------------------

void AEdt::Draw(XEvent* event) {
  if (!m_hWnd) return;
  m_pExposeEv = event;
  CtrlGC dc(m_hWnd);
  if (!dc) return;
  GC gc = dc.get();
  SetBkClr(gc, kClrEdtFace);
  const int w = m_szWin.cx, h = m_szWin.cy;
  CRect all(0, 0, w, h);
  FillClrRect(m_hWnd, gc, &all, kClrEdtFace);
  Draw3DRect(m_hWnd, gc, 1, 1, w - 2, h - 2, 1);
  CRect well(3, 3, w - 3, h - 3);
  FillClrRect(m_hWnd, gc, &well, kClrEdtWell);
  SetFgClr(gc, 0x000000);
  edtvuDraw(gc, 0);
}
