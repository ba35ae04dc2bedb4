#include "controls/ALbx.h"

#include <algorithm>
#include <cstring>

#include "controls/ABtn.h"
#include "controls/ADialog.h"
#include "controls/AScrl.h"
#include "controls/CtrlConsts.h"
#include "framework/AfcKernel.h"
#include "framework/CFont.h"
#include "framework/CWinApp.h"
#include "framework/Colours.h"
#include "framework/Drawing.h"
#include "framework/KeySyms.h"
#include "framework/UIStrings.h"
#include "framework/WinGeometry.h"
#include "framework/WinMsg.h"
#include "framework/x11/CtrlEvents.h"
#include "framework/x11/EventAccess.h"

using afc::x11::EvKind;

namespace {
constexpr unsigned long kClrList = 0xffffff;
constexpr unsigned long kClrRowText = 0x0000ff;
constexpr unsigned long kClrSelFocused = 0x0000ff;
constexpr unsigned long kClrSelUnfocused = 0xb4b4e1;
constexpr unsigned long kClrSelText = 0xffffff;
}  // namespace

ALbx::ALbx(int id, AWnd* parent) : ALbx() {
  m_nID = id;
  m_pParent = parent;
}

ALbx::~ALbx() {
  m_pVScrl.reset();
  m_pHScrl.reset();
  m_arrItems.RemoveAll();
}

void ALbx::Init() {
  m_nType = kCtrlListBox;
  m_nID = -1;
  m_pParent = nullptr;
  m_bPressed = m_bTranslate = m_bHoldRedraw = 0;
  m_nTextW = 10;
  m_nWidest = 10;
  m_nSel = -1;
  m_ptScroll = CPoint(0, 0);
}

int ALbx::Create(long x, long y, long cx, long cy, const char* text, AWnd* parent, long id) {
  // The dialog's font height sizes the rows; ACtrl::Create then gives the
  // control the default window font height for its characters.
  const int fh = m_nFontH > 0 ? m_nFontH : GetDefaultFontHeight();
  m_nRowH = std::max(static_cast<int>(fh * 1.3), 1);
  m_nBarW = m_nRowH;
  // A list lower than one row still shows one: a window of no height
  // cannot be made.
  m_nVisRows = std::max(static_cast<int>((cy - 6) / m_nRowH), 1);
  const int H = m_nVisRows * m_nRowH;
  const int X = static_cast<int>(x), Y = static_cast<int>(y);
  m_rcList = CRect(X, Y, X + static_cast<int>(cx), Y + H + 6);
  const int right = m_rcList.right, bottom = m_rcList.bottom, t = m_nBarW;
  m_rcVBar = CRect(right - t, Y + 3, right, Y + H - t);
  m_rcHBar = CRect(X + 3, bottom - t - 6, right - t - 3, bottom - 6);
  ACtrl::Create(x, y, cx, H, text, parent, id);
  if (!CreateCtrlWin(0)) return 0;
  RaiseWin(m_hWnd);
  m_pVScrl = std::make_unique<AScrl>();
  m_pHScrl = std::make_unique<AScrl>();
  m_pVScrl->SetOrientation(0);
  m_pHScrl->SetOrientation(1);
  const CRect* rects[2] = {&m_rcVBar, &m_rcHBar};
  AScrl* bars[2] = {m_pVScrl.get(), m_pHScrl.get()};
  for (int i = 0; i < 2; ++i) {
    bars[i]->m_pOwner = this;
    // A list of one row leaves the vertical bar no height: keep its window
    // valid all the same.
    const CRect& r = *rects[i];
    bars[i]->Create(r.left, r.top, std::max(r.Width(), 1), std::max(r.Height(), 1), "", parent, 0);
  }
  SetScroll(-1);
  return 1;
}

void ALbx::ReSet() {
  m_nSel = -1;
  m_bPressed = 0;
  m_nTextW = 10;
  m_nWidest = 10;
  if (m_pVScrl) m_pVScrl->m_nPos = 0;
  if (m_pHScrl) m_pHScrl->m_nPos = 0;
  m_bHoldRedraw = 0;
  m_arrItems.RemoveAll();
  m_ptScroll = CPoint(0, 0);
}

// --- rows -------------------------------------------------------------------

int ALbx::GetText(int i, CString& out) const {
  if (i < 0 || i > LastRow()) return 0;
  out = m_arrItems[i].m_strText;
  return 1;
}

int ALbx::CopyText(int i, char* buf, uint32_t size) const {
  if (i < 0 || i > LastRow()) return -1;
  const CString& text = m_arrItems[i].m_strText;
  const int len = text.GetLength();
  if (buf && size > 0) {
    const uint32_t n = std::min(static_cast<uint32_t>(len), size - 1);
    std::memcpy(buf, static_cast<const char*>(text), n);
    buf[n] = '\0';
  }
  return len;
}

int ALbx::AddRow(const char* text) {
  typLBoxItem item;
  item.m_strText = text ? text : "";
  m_arrItems.Add(item);
  SetScroll(LastRow());
  if (!m_bHoldRedraw) Invalidate();
  return 1;
}

int ALbx::RemoveRow(int i) {
  if (i < 0 || i > LastRow()) return 0;
  // Only the loss of the widest row changes the widest width: the others
  // keep their measured widths (removing rows one by one must not measure
  // every row each time).
  const bool wasWidest = m_arrItems[i].m_nWidth + 3 >= m_nWidest;
  m_arrItems.RemoveAt(i);
  if (m_nSel > LastRow()) m_nSel = -1;
  if (wasWidest) m_nWidest = CachedWidest();
  LayoutBars();
  return 1;
}

int ALbx::SetSel(int i) {
  m_nSel = i < 0 || LastRow() < 0 ? -1 : std::min(i, LastRow());
  ShowSelection();
  return 1;
}

bool ALbx::Translating() const {
  const int lang = GetUILanguage();
  return m_bTranslate && (lang == kUILangGbk || lang == kUILangBig5);
}

CString ALbx::ShownRow(int i) const {
  const CString& text = m_arrItems[i].m_strText;
  return Translating() ? LoadStringChn(text, 0) : text;
}

int ALbx::MeasureRow(int i) {
  const int w = ChnBmpStrExtent(ShownRow(i), 0, 16, 16, 0).cx;
  m_arrItems[i].m_nWidth = w;
  return w;
}

int ALbx::GetLBWidth(int n) {
  m_nMargin = m_nRowH / 5;
  int w = m_nMargin;
  if (n >= 0) {
    if (n <= LastRow()) w = std::max(w, MeasureRow(n));
  } else {
    for (int i = 0; i <= LastRow(); ++i) w = std::max(w, MeasureRow(i));
  }
  return w + 3;
}

int ALbx::CachedWidest() {
  m_nMargin = m_nRowH / 5;
  int w = m_nMargin;
  for (int i = 0; i <= LastRow(); ++i) {
    const int rw = m_arrItems[i].m_nWidth >= 0 ? m_arrItems[i].m_nWidth : MeasureRow(i);
    w = std::max(w, rw);
  }
  return w + 3;
}

// --- bars -------------------------------------------------------------------

void ALbx::ShowBar(AScrl* bar, bool show) {
  if (!bar) return;
  // A hidden bar scrolls nothing: rows it had scrolled away would stay out
  // of reach once it is gone.
  if (!show) bar->SetThumPos(0);
  bar->m_bHidden = show ? 0 : 1;
  if (!bar->m_hWnd) return;
  ShowWin(show ? 1 : 0, bar->m_hWnd);
  if (show) InvalidateRect(bar->m_hWnd, nullptr, 0);
}

void ALbx::SetScroll(int n) {
  m_nWidest = n >= 0 ? std::max(m_nWidest, GetLBWidth(n)) : GetLBWidth(-1);
  LayoutBars();
}

void ALbx::LayoutBars() {
  const int W = m_rcList.Width(), Hr = m_rcList.Height();
  const int count = GetCount();
  bool showH = false, showV = false;
  if (m_nWidest <= W && count <= m_nVisRows) {
    m_nTextW = W + m_nMargin - 6;
    m_nTextH = Hr - 6;
  } else if (m_nWidest > W) {
    showH = true;
    m_nTextH = Hr - m_rcHBar.Height() - 6;
    m_nTextW = W - 6;
    if (count >= m_nVisRows) {
      m_nTextW -= m_rcVBar.Width();
      showV = true;
    }
  } else {
    showV = true;
    m_nTextW = W - m_rcVBar.Width() - 6;
    m_nTextH = Hr - 6;
  }
  if (showH && m_pHScrl) {
    AScrl& h = *m_pHScrl;
    // The rows move by whole font heights; rounding the range up lets the
    // last position bring the end of the widest row into view.
    const int fh = std::max(m_nFontH, 1);
    h.m_nMin = 0;
    h.m_nMax = std::max((m_nWidest - m_nTextW + fh - 1) / fh, 0);
    h.m_nStep = 1;
    h.m_nPage = std::max(h.Length() / 10, 2);
    h.SetThumPos(std::min(h.m_nPos, h.m_nMax));
  }
  if (showV && m_pVScrl) {
    AScrl& v = *m_pVScrl;
    v.m_nMin = 0;
    v.m_nMax = count - m_nTextH / m_nRowH;
    v.m_nStep = 1;
    v.m_nPage = std::max(std::min(m_nVisRows, v.Length() / 10), 2);
    v.SetThumPos(std::min(v.m_nPos, v.m_nMax));
  }
  ShowBar(m_pHScrl.get(), showH);
  ShowBar(m_pVScrl.get(), showV);
}

int ALbx::FirstRow() const { return m_pVScrl && !m_pVScrl->m_bHidden ? m_pVScrl->m_nPos : 0; }

int ALbx::ShownRows() const { return m_nRowH > 0 ? m_nTextH / m_nRowH : 0; }

int ALbx::HShift() const {
  if (!m_pHScrl || m_pHScrl->m_bHidden) return 0;
  const int overflow = std::max(m_nWidest - m_nTextW, 0);
  return std::min(m_pHScrl->m_nPos * std::max(m_nFontH, 1), overflow);
}

void ALbx::ShowSelection() {
  if (!m_pVScrl || m_pVScrl->m_bHidden || m_nSel < 0) return;
  AScrl& v = *m_pVScrl;
  const int s = m_nSel, rows = ShownRows();
  int p = v.m_nPos;
  if (p > 0 && s < p + 1) {
    p = std::max(s - 1, 0);
  } else if (p < v.m_nMax && s > p + rows - 2) {
    p = s == p + rows - 1 ? p + 1 : std::max(s - 1, 0);
  }
  // The first row shown never passes the bar's range: beyond it the list
  // would show empty rows below its last one.
  v.m_nPos = std::min(p, std::max(v.m_nMax, 0));
}

void ALbx::MoveSelection(unsigned long key) {
  const int last = LastRow();
  const int page = std::max((m_nVisRows - 1) / 2, 2);
  int s = m_nSel;
  switch (key) {
    case keysym::kLeft:
    case keysym::kUp: s = std::max(s - 1, 0); break;
    case keysym::kRight:
    case keysym::kDown: s = std::min(s + 1, last); break;
    case keysym::kPrior: s = std::max(s - page, 0); break;
    case keysym::kNext: s = std::max(std::min(s + page, last), 0); break;
    default: return;
  }
  // An empty list has no row to select.
  m_nSel = last < 0 ? -1 : s;
  ShowSelection();
}

// --- events -----------------------------------------------------------------

void ALbx::Invalidate() {
  if (m_hWnd) InvalidateRect(m_hWnd, nullptr, 0);
}

int ALbx::Winproc(XEvent* event) {
  switch (afc::x11::EventKind(event)) {
    case EvKind::kClientMessage: return OnMessage(event);
    case EvKind::kKeyPress: return OnKey(event);
    case EvKind::kButtonPress: return OnPress(event);
    case EvKind::kButtonRelease: return OnRelease(event);
    case EvKind::kMotion:
      if (m_bPressed) Draw(event);
      return 1;
    case EvKind::kExpose:
      if (afc::x11::EventWindow(event) == m_hWnd) Draw(event);
      return 1;
    default: return 1;
  }
}

int ALbx::OnMessage(XEvent* event) {
  switch (WinMsgId(event)) {
    case WM_LBX_ADDROW: {
      const char* text = reinterpret_cast<const char*>(WinMsgLong(event, 1));
      return text ? AddRow(text) : 0;
    }
    case WM_LBX_COUNT: return GetCount();
    case WM_LBX_GETTEXT:
      return CopyText(WinMsgInt(event, 0), reinterpret_cast<char*>(WinMsgLong(event, 1)),
                      WinMsgWord(event, 2));
    case WM_LBX_DELROW: {
      const int r = RemoveRow(WinMsgInt(event, 0));
      if (r) Invalidate();
      return r;
    }
    case WM_LBX_SETSEL:
      SetSel(WinMsgInt(event, 0));
      Invalidate();
      return 1;
    case WM_AFC_DBLCLICK: {
      ADialog* dlg = GetDlg();
      return dlg ? dlg->CtrlEvProc(m_hWnd, m_nID, kCtrlEvRowDblClick, nullptr) : 1;
    }
    case WM_SCRL_HORZ:
    case WM_SCRL_VERT: {
      const int pos = WinMsgInt(event, 0);
      int& seen = WinMsgId(event) == WM_SCRL_HORZ ? m_ptScroll.x : m_ptScroll.y;
      if (pos != seen) {
        seen = pos;
        Invalidate();
      }
      return 1;
    }
    default: return 1;
  }
}

int ALbx::OnKey(XEvent* event) {
  const unsigned long key = afc::x11::EventKeySym(event);
  if (key == keysym::kEscape) return 1;
  ADialog* dlg = GetDlg();
  if (key == keysym::kReturn || key == keysym::kKpEnter || key == keysym::kSpace) {
    if (dlg) dlg->ProcessReturn(this);
    return 1;
  }
  if (key == keysym::kTab || key == keysym::kIsoLeftTab) {
    const bool back = key == keysym::kIsoLeftTab || afc::x11::EventShift(event);
    if (dlg) dlg->WalkTabStops(m_nID, back);
    ShowSelection();
  } else {
    MoveSelection(key);
  }
  Draw(event);
  return 1;
}

int ALbx::OnPress(XEvent* event) {
  // The second press of a double click was counted (1381 is posted): it
  // selects nothing and reports no click of its own.
  if (AWnd::Winproc(event)) {
    m_bPressed = 0;
    return 1;
  }
  m_bPressed = 1;
  if (ADialog* dlg = GetDlg()) dlg->SetCtrlFocus(m_nID);
  const CPoint pt = afc::x11::EventPoint(event);
  const int row = (pt.y > 0 ? pt.y : 0) / std::max(m_nRowH, 1) + FirstRow();
  m_nSel = std::min(row, LastRow());
  Draw(event);
  return 1;
}

int ALbx::OnRelease(XEvent* event) {
  if (!m_bPressed) return 1;
  m_bPressed = 0;
  Draw(event);
  if (!EventInside(event, m_szWin)) return 1;
  ADialog* dlg = GetDlg();
  return dlg ? dlg->CtrlEvProc(m_hWnd, m_nID, kCtrlEvRowClick, nullptr) : 1;
}

// --- drawing ----------------------------------------------------------------

void ALbx::DrawRow(GC gc, int i, int x, int y, bool focused) {
  const bool selected = i == m_nSel;
  CRect band(x, y, x + m_nTextW, y + m_nRowH);
  FillClrRect(m_hWnd, gc, &band,
              selected ? (focused ? kClrSelFocused : kClrSelUnfocused) : kClrList);
  SetFgClr(gc, selected ? kClrSelText : kClrRowText);
  ChBmpStrOut(m_hWnd, gc, x, y, ShownRow(i), 0, 0, m_nFontH, m_nFontH, 0, nullptr, 0, kChStrAuto,
              1);
}

void ALbx::Draw(XEvent* event) {
  if (m_bHoldRedraw) return;
  m_pExposeEv = event;
  CtrlGC dc(m_hWnd);
  if (!dc) return;
  GC gc = dc.get();
  SetBkClr(gc, kClrList);
  const int w = m_szWin.cx, h = m_szWin.cy;
  CRect all(0, 0, w, h);
  FillClrRect(m_hWnd, gc, &all, kClrList);
  ADialog* dlg = GetDlg();
  const bool focused = dlg && dlg->m_nFocusID == m_nID;
  const int first = FirstRow(), rows = ShownRows(), x = 3 - HShift();
  int y = 3;
  for (int i = first; i <= LastRow() && i < first + rows; ++i, y += m_nRowH)
    DrawRow(gc, i, x, y, focused);
  Draw3DRect(m_hWnd, gc, 0, 1, w - 2, h - 2, 1);
  // The bars lie over the list: they paint again after it.
  for (AScrl* bar : {m_pHScrl.get(), m_pVScrl.get()})
    if (bar && !bar->m_bHidden && bar->m_hWnd) InvalidateRect(bar->m_hWnd, nullptr, 0);
}
