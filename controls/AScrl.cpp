#include "controls/AScrl.h"

#include "controls/ADialog.h"
#include "controls/CtrlConsts.h"
#include "framework/AfcKernel.h"
#include "framework/Drawing.h"
#include "framework/WinGeometry.h"
#include "framework/x11/CtrlEvents.h"
#include "framework/x11/EventAccess.h"

using afc::x11::EvKind;

void RaiseWin(unsigned long window) {
  // Flags 11: keep the position and the size, stay mapped; raise.
  if (window) SetWinPos(window, 0, 0, 0, 0, 11, 1, 0);
}

AScrl::AScrl(int id, AWnd* parent) : AScrl() {
  m_nID = id;
  m_pParent = parent;
}

AScrl::~AScrl() {
  // The dialog's loop finds the bar through its control list: a bar that
  // goes before its dialog must not stay there.
  if (ADialog* dlg = GetDlg()) dlg->RemoveCtrl(this);
}

void AScrl::Init() {
  m_nType = kWndScrollBar;
  m_nState = kIdle;
  SetOrientation(0);
  m_nMin = 0;
  m_nMax = 100;
  m_nPos = 0;
  m_nPage = 10;
  m_nStep = 1;
  m_pOwner = nullptr;
  m_nLastThumb = -1;
}

void AScrl::SetOrientation(int h) {
  m_bHorz = h != 0;
  m_nMsg = m_bHorz ? WM_SCRL_HORZ : WM_SCRL_VERT;
}

int AScrl::Create(long x, long y, long cx, long cy, const char* text, AWnd* parent, long id) {
  ACtrl::Create(x, y, cx, cy, text, parent, id);
  m_nArrow = static_cast<int>(cx < cy ? cx : cy);
  m_nTrack = static_cast<int>(cx < cy ? cy : cx);
  // Events reach a dialog's controls only through its control list.
  if (ADialog* dlg = GetDlg()) dlg->AddCtrl(this);
  if (!CreateCtrlWin(0)) return 0;
  RaiseWin(m_hWnd);
  return 1;
}

int AScrl::Clamp(int p) const {
  if (p < 0) return 0;
  return p > Range() ? Range() : p;
}

int AScrl::ThumbOffset(int p) const {
  const int64_t travel = m_nTrack - 3 * m_nArrow;
  if (travel <= 0) return 0;
  const int64_t range = m_nMax > 1 ? m_nMax : 1;
  return static_cast<int>(travel * Clamp(p) / range);
}

int AScrl::SetThumPos(int p) {
  const int old = m_nPos;
  m_nPos = Clamp(p);
  m_nThumb = m_nLastThumb = ThumbOffset(m_nPos);
  return old;
}

int AScrl::PressAt(int c) {
  const int a = m_nArrow;
  const int t = ThumbOffset(m_nPos);
  int p = m_nPos;
  if (c <= a) {
    p -= m_nStep;
    m_nState = kFirstArrow;
  } else if (c <= t + a) {
    p -= m_nPage;
    m_nState = kPageBack;
  } else if (c <= 2 * a + t) {
    m_nState = kDragging;
  } else if (c <= m_nTrack - a) {
    p += m_nPage;
    m_nState = kPageForward;
  } else {
    p += m_nStep;
    m_nState = kSecondArrow;
  }
  SetThumPos(p);
  return m_nPos;
}

AScrl::DragStep AScrl::DragTo(int c, int d) {
  DragStep step;
  const int a = m_nArrow;
  if (c < a || c > m_nTrack - 2 * a || d < 0 || d > a) return step;
  const int thumb = c - a;
  if (thumb == m_nLastThumb) return step;
  const bool forward = thumb > m_nLastThumb;
  m_nThumb = thumb;
  const int64_t travel = m_nTrack - 3 * a > 1 ? m_nTrack - 3 * a : 1;
  const int range = Range();
  const int64_t unit = travel / (range > 1 ? range : 1);
  const int old = m_nPos;
  m_nPos = Clamp(static_cast<int>(thumb * static_cast<int64_t>(range) / travel));
  // With few positions the thumb moves in long jumps: once it has gone more
  // than its own size into the next position's span, it snaps there and the
  // pointer follows it.
  if (unit > a) {
    const bool snapForward = forward && m_nPos == old && thumb % unit > a;
    const bool snapBack = !forward && m_nPos == old - 1 && (travel - thumb) % unit > 0;
    if (snapForward || snapBack) {
      if (snapForward) m_nPos = Clamp(m_nPos + 1);
      m_nThumb = m_nLastThumb = ThumbOffset(m_nPos);
      step.warpAlong = forward ? a + m_nThumb : a * 3 / 2 + m_nThumb;
    }
  }
  step.post = true;
  return step;
}

void AScrl::PostPos() {
  if (m_pOwner && m_pOwner->m_hWnd)
    ::PostWinEvent(m_pOwner->m_hWnd, m_nMsg, static_cast<uint32_t>(m_nPos), 0);
}

void AScrl::OnPress(XEvent* event) {
  m_nState = kPressing;
  ADialog* dlg = GetDlg();
  if (dlg && m_pOwner) dlg->SetCtrlFocus(m_pOwner->m_nID);
  const CPoint pt = afc::x11::EventPoint(event);
  PressAt(m_bHorz ? pt.x : pt.y);
  PostPos();
  Draw(event);
}

void AScrl::OnDrag(XEvent* event) {
  const CPoint pt = afc::x11::EventPoint(event);
  const DragStep step = m_bHorz ? DragTo(pt.x, pt.y) : DragTo(pt.y, pt.x);
  if (!step.post) return;
  if (step.warpAlong >= 0) {
    CPoint to = m_bHorz ? CPoint(step.warpAlong, pt.y) : CPoint(pt.x, step.warpAlong);
    WinToScreen(m_hWnd, &to);
    SetPointerPos(to.x, to.y);
  }
  PostPos();
  Draw(event);
}

int AScrl::Winproc(XEvent* event) {
  switch (afc::x11::EventKind(event)) {
    case EvKind::kButtonPress: OnPress(event); break;
    case EvKind::kMotion:
      if (m_nState == kDragging) OnDrag(event);
      break;
    case EvKind::kButtonRelease:
      m_nState = kIdle;
      Draw(event);
      break;
    case EvKind::kExpose:
      if (afc::x11::EventWindow(event) == m_hWnd) Draw(event);
      break;
    default: break;
  }
  return 1;
}

void AScrl::Draw(XEvent*) {
  m_nThumb = ThumbOffset(m_nPos);
  if (m_bHidden) return;
  CtrlGC dc(m_hWnd);
  if (!dc) return;
  if (m_bHorz)
    DrawHorizontal(dc.get(), m_szWin.cx, m_szWin.cy);
  else
    DrawVertical(dc.get(), m_szWin.cx, m_szWin.cy);
}

// The arrow glyphs are half an arrow box, centred in it.
void AScrl::DrawHorizontal(GC gc, int w, int h) {
  const int a = m_nArrow, T = m_nTrack, t = m_nThumb, g = a / 2, q = (a - g) / 2;
  CRect face(0, 1, w, h);
  FillClrRect(m_hWnd, gc, &face, kClrFace);
  Draw3DRect(m_hWnd, gc, a, 2, w - 2 * a, h - 2, 1);
  Draw3DRect(m_hWnd, gc, 0, 0, a, a, m_nState == kFirstArrow);
  Draw3dArrow(m_hWnd, gc, a - q, q, g, g, 0);
  Draw3DRect(m_hWnd, gc, t + a, 0, a, a, 0);
  Draw3DRect(m_hWnd, gc, T - a, 0, a, a, m_nState == kSecondArrow);
  Draw3dArrow(m_hWnd, gc, T - a + q, q, g, g, 2);
}

void AScrl::DrawVertical(GC gc, int w, int h) {
  const int a = m_nArrow, T = m_nTrack, t = m_nThumb, g = a / 2, q = (a - g) / 2;
  CRect face(1, 0, w, h);
  FillClrRect(m_hWnd, gc, &face, kClrFace);
  Draw3DRect(m_hWnd, gc, 2, a - 1, w - 2, h - a - (a - 1), 1);
  Draw3DRect(m_hWnd, gc, 0, 0, a, a, m_nState == kFirstArrow);
  Draw3dArrow(m_hWnd, gc, q, a - q, g, g, 3);
  Draw3DRect(m_hWnd, gc, 0, t + a, a, a, 0);
  Draw3DRect(m_hWnd, gc, 0, T - a, a, a, m_nState == kSecondArrow);
  Draw3dArrow(m_hWnd, gc, q, T - a + q, g, g, 1);
}
