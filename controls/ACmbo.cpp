#include "controls/ACmbo.h"

#include <algorithm>

#include "controls/ABtn.h"
#include "controls/ADialog.h"
#include "controls/CtrlConsts.h"
#include "editor/AEdtStor.h"
#include "framework/AfcKernel.h"
#include "framework/CWinApp.h"
#include "framework/Colours.h"
#include "framework/Drawing.h"
#include "framework/KeySyms.h"
#include "framework/WinGeometry.h"
#include "framework/WinMsg.h"
#include "framework/x11/CtrlEvents.h"
#include "framework/x11/EventAccess.h"

using afc::x11::EvKind;

namespace {
constexpr unsigned long kClrCmboFace = 0xc7c7c7;
constexpr unsigned long kClrCmboFocused = 0x0000af;
constexpr unsigned long kClrCmboDisabled = 0xbfbfbf;
constexpr unsigned long kClrCmboWell = 0xffffff;
}  // namespace

ACmbo::ACmbo() { Init(nullptr, 0); }

ACmbo::ACmbo(int id, AWnd* parent) : ACmbo() {
  m_nID = id;
  m_pParent = parent;
}

ACmbo::~ACmbo() {
  if (m_pArrow) {
    if (ADialog* dlg = GetDlg()) dlg->RemoveCtrl(m_pArrow.get());
    m_pArrow->Destroy();
    m_pArrow.reset();
  }
}

int ACmbo::Init(const char* name, int) {
  m_nType = kCtrlComboBox;
  m_pArrow.reset();
  m_list.m_nCurRow = 0;
  m_list.m_bStrList = 1;
  m_bPressed = m_bDropList = m_bHistory = m_bDropping = 0;
  m_strHistory = name ? name : "";
  if (m_bHistory) LoadMRU();
  return 1;
}

int ACmbo::Create(long x, long y, long cx, long cy, const char* text, AWnd* parent, long id) {
  // The height follows the dialog's font height, given before this call.
  const int fh = m_nFontH > 0 ? m_nFontH : GetDefaultFontHeight();
  const long h = static_cast<long>(fh * 1.3 + 6.0);
  const long editW = std::max(cx - h, 7L);
  m_rcEdit = CRect(x, y, x + editW, y + h);
  m_rcBtn = CRect(x + editW, y, x + editW + h, y + h);
  m_bDropList = (m_ctrlTmpl.m_style & kCtrlStyleDropList) ? 1 : 0;
  ACtrl::Create(x, y, editW, h, text, parent, id);
  if (!CreateHostWin(true)) return 0;
  OnInitialUpdate();
  m_pArrow = std::make_unique<ABtn>();
  m_pArrow->m_nFontH = m_nFontH;
  m_pArrow->m_bCmboArrow = 1;
  m_pArrow->m_pCmbo = this;
  m_pArrow->Create(m_rcBtn.left - 2, y, h, h, "", parent, 0);
  if (ADialog* dlg = GetDlg()) dlg->AddCtrl(m_pArrow.get());
  CalcLBMaxWidth();
  return 1;
}

// --- rows and selection -----------------------------------------------------

int ACmbo::GetLstText(int i, CString& out) {
  if (i < 0 || i >= GetCount()) return 0;
  out = m_list.m_arrTexts[i];
  return 1;
}

int ACmbo::FindRowExact(const char* text, int start) {
  if (!text) return -1;
  for (int i = std::max(start, 0); i < GetCount(); ++i)
    if (m_list.m_arrTexts[i] == text) return i;
  return -1;
}

void ACmbo::SetSel(int i) {
  const int n = GetCount();
  if (n == 0 || i < 0) {
    m_list.m_nCurRow = -1;
    return;
  }
  m_list.m_nCurRow = std::min(i, n - 1);
  SetText(m_list.m_arrTexts[m_list.m_nCurRow]);
}

int ACmbo::GetSel() {
  const int sel = m_list.m_nCurRow;
  return sel >= 0 && sel < GetCount() ? sel : -1;
}

int ACmbo::SetText(const char* text) {
  if (Doc()) ReplaceAllText(text);
  return 1;
}

CString ACmbo::GetText() {
  CString text;
  if (Doc()) GetAllText(text);
  return text;
}

void ACmbo::Notify(unsigned long code) {
  if (ADialog* dlg = GetDlg()) dlg->CtrlEvProc(m_hWnd, m_nID, code, nullptr);
}

void ACmbo::DropDown() {
  if (m_bDisabled || !m_hWnd) return;
  if (!m_bDropping) {
    CRect rc;
    GetWinRect(m_hWnd, &rc);
    m_bDropping = 1;
    const int old = m_list.m_nCurRow;
    const int result = m_list.PopupMenu(rc.left, rc.bottom, m_hWnd, 0);
    const int cur = m_list.m_nCurRow;
    if (result && cur != old && cur >= 0 && cur < GetCount()) {
      SetText(m_list.m_arrTexts[cur]);
      Notify(kCtrlEvSelChange);
    }
    // The pointer left the list: the selection stays what it was.
    if (cur < 0) m_list.m_nCurRow = old;
  }
  if (m_hWnd) afc::x11::SetInputFocus(m_hWnd, afc::x11::kRevertToParent);
  m_bDropping = 0;
  Draw(nullptr);
}

// --- events -----------------------------------------------------------------

int ACmbo::Winproc(XEvent* event) {
  const EvKind kind = afc::x11::EventKind(event);
  if (kind == EvKind::kFocusIn || kind == EvKind::kFocusOut) {
    // Only the editable kind has a caret; the drop-list kind shows the
    // focus by its colour.
    if (!m_bDropList || kind == EvKind::kFocusOut) OnFocusEvent(event);
    if (m_bDropList) Draw(nullptr);
    return 1;
  }
  switch (kind) {
    case EvKind::kClientMessage: return OnMessage(event);
    case EvKind::kKeyPress:
    case EvKind::kKeyRelease: return OnKey(event);
    case EvKind::kButtonPress: return OnPress(event);
    case EvKind::kButtonRelease: return OnRelease(event);
    case EvKind::kMotion: return OnMotion(event);
    case EvKind::kExpose:
      if (afc::x11::EventWindow(event) == m_hWnd) Draw(event);
      return 1;
    default: return 1;
  }
}

int ACmbo::OnMessage(XEvent* event) {
  switch (WinMsgId(event)) {
    case WM_CMBO_ADDROW: {
      const char* text = reinterpret_cast<const char*>(WinMsgLong(event, 1));
      AddRow(text);
      return 1;
    }
    case WM_CMBO_SETSEL:
      SetSel(WinMsgInt(event, 0));
      Draw(nullptr);
      return 1;
    case WM_CMBO_GETSEL: return GetSel();
    case WM_EDT_ENGINETEXT:
      EngineText(reinterpret_cast<const char*>(WinMsgLong(event, 0)));
      return 1;
    case WM_AFC_TIMER: AtTimer(WinMsgWord(event, 0)); return 1;
    default: return 1;
  }
}

void ACmbo::EngineText(const char* text) {
  if (!Doc()) return;
  const char* rest = TakeEngineBackSpaces(text);
  InsertText(rest);
  // The engine's re-selection erases what it committed from here.
  RecordEngineCommitPos();
}

bool ACmbo::StepSelection(unsigned long key) {
  int dir = 0;
  if (key == keysym::kLeft || key == keysym::kUp || key == keysym::kPrior) dir = -1;
  if (key == keysym::kRight || key == keysym::kDown || key == keysym::kNext) dir = 1;
  if (!dir) return false;
  const int n = GetCount();
  // No rows: nothing to step to.
  if (n == 0) return true;
  const int sel = GetSel();
  // From no selection Down goes to the first row and Up to the last.
  const int next = sel < 0 ? (dir > 0 ? 0 : n - 1) : (sel + dir + n) % n;
  m_list.m_nCurRow = next;
  SetText(m_list.m_arrTexts[next]);
  Notify(kCtrlEvSelChange);
  return true;
}

int ACmbo::OnKey(XEvent* event) {
  const bool press = afc::x11::EventKind(event) == EvKind::kKeyPress;
  const unsigned long key = afc::x11::EventKeySym(event);
  ADialog* dlg = GetDlg();
  if (press && (key == keysym::kReturn || key == keysym::kKpEnter)) {
    if (dlg) dlg->ProcessReturn(this);
    return 0;
  }
  int result = 1;
  if (!m_bDropList) {
    // A disabled editable combo box ignores keys.
    if (!m_bDisabled) result = HandKeyToView(event);
  } else if (!press) {
    if (key == keysym::kSpace) DropDown();
  } else if (!StepSelection(key)) {
    if (key == keysym::kTab || key == keysym::kIsoLeftTab) {
      const bool back = key == keysym::kIsoLeftTab || afc::x11::EventShift(event);
      if (dlg) dlg->WalkTabStops(m_nID, back);
    }
    if (key != keysym::kAltL && key != keysym::kAltR && !m_bDisabled)
      AtKeyEv(key, afc::x11::EventState(event));
  }
  Draw(nullptr);
  return result;
}

int ACmbo::OnPress(XEvent* event) {
  m_bPressed = 1;
  TakePress(event, !m_bDropList && !m_bDisabled);
  Draw(nullptr);
  return 1;
}

int ACmbo::OnRelease(XEvent* event) {
  if (m_bDropList) {
    if (m_bPressed) {
      m_bPressed = 0;
      DropDown();
    }
    m_bPressed = 0;
    return 1;
  }
  m_bPressed = 0;
  if (ADialog* dlg = GetDlg()) dlg->UngrabPtrToCtrl();
  AEdtVu::AtLBtnUp(0, afc::x11::EventPoint(event));
  return 1;
}

int ACmbo::OnMotion(XEvent* event) {
  if (m_bPressed && !m_bDropList && !m_bDisabled)
    AEdtVu::AtPtrMv(afc::x11::EventState(event), NewestMotionPoint(event));
  Draw(nullptr);
  return 1;
}

// --- drawing ----------------------------------------------------------------

bool ACmbo::Focused() { return m_bDropList && m_hWnd && GetFocusWin() == m_hWnd; }

void ACmbo::Draw(XEvent* event) {
  if (!m_hWnd) return;
  m_pExposeEv = event;
  CtrlGC dc(m_hWnd);
  if (!dc) return;
  GC gc = dc.get();
  const bool focused = Focused();
  SetBkClr(gc, kClrCmboFace);
  const int w = m_szWin.cx, h = m_szWin.cy;
  CRect all(0, 0, w, h);
  FillClrRect(m_hWnd, gc, &all,
              focused ? kClrCmboFocused : (m_bDisabled ? kClrCmboDisabled : kClrCmboWell));
  Draw3DRect(m_hWnd, gc, 1, 1, w - 2, h - 2, 1);
  SetFgClr(gc, 0x000000);
  edtvuDraw(gc, focused ? 1 : 0);
}
