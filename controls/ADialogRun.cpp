// Running a dialog: the modal run, the dialog window's own events, focus and
// tab stops, Return, radio groups and the member-variable exchange.
#include <algorithm>

#include "controls/ABtn.h"
#include "controls/AChk.h"
#include "controls/ADialog.h"
#include "controls/ARdo.h"
#include "controls/CtrlConsts.h"
#include "controls/internal/DlgCtrlSeam.h"
#include "framework/AfcKernel.h"
#include "framework/CWinApp.h"
#include "framework/KeySyms.h"
#include "framework/WinGeometry.h"
#include "framework/WinMsg.h"
#include "framework/x11/CtrlEvents.h"
#include "framework/x11/EventAccess.h"

namespace {

using afc::x11::EvKind;

// The drag state, one for all dialogs (only one is dragged at a time).
struct DragState {
  bool buttonDown = false;
  bool dragging = false;
  CPoint press{0, 0};
};
DragState g_drag;

bool IsType(AWnd* w, int type) { return w && w->m_nType == type; }

}  // namespace

int ADialog::ActModal() {
  unsigned long oldFocus = 0;
  int oldRevert = afc::x11::kRevertToParent;
  afc::x11::GetInputFocus(&oldFocus, &oldRevert);
  if (Create() != 1) {
    // Nothing exists to interact with (no template, or X refused the
    // window): the dialog ends at once as cancelled instead of waiting for
    // an Escape that no window of its own can receive.
    Destroy();
    return IDCANCEL;
  }
  CWinApp* app = uniqueAFCAppPointer;
  if (app && !app->m_hMainWnd) app->m_hMainWnd = m_hWnd;
  InitDlg();
  AfterInitDlg();
  DoDlgEventLoop(m_hWnd, this);
  m_bQuit = 0;
  Destroy();
  afc::x11::SetInputFocus(oldFocus, oldRevert);
  return m_nResult;
}

int ADialog::InitDlg() {
  MemVarAttaches();
  SyncMemVars(0);
  return 1;
}

void ADialog::OnOK() {
  SyncMemVars(1);
  QuitDlg(IDOK);
}

void ADialog::OnCancel() { QuitDlg(IDCANCEL); }

int ADialog::CtrlEvProc(unsigned long window, int id, unsigned long code, XEvent* event) {
  m_pExposeEv = event;
  if (code == kCtrlEvClick && id == IDOK) {
    OnOK();
    return 1;
  }
  if (code == kCtrlEvClick && id == IDCANCEL) {
    OnCancel();
    return 1;
  }
  return AWnd::CtrlEvProc(window, id, code, event);
}

int ADialog::Winproc(XEvent* event) {
  switch (afc::x11::EventKind(event)) {
    case EvKind::kButtonPress: return OnButtonPress(event);
    case EvKind::kButtonRelease: return OnButtonRelease(event);
    case EvKind::kMotion: return OnMotion(event);
    case EvKind::kExpose:
      if (afc::x11::EventWindow(event) != m_hWnd) return 1;
      Draw(event);
      CtrlEvProc(0, kPaintNotifyId, 0, event);
      return 1;
    case EvKind::kClientMessage:
      if (WinMsgId(event) == WM_CTRL_EVENT) {
        return CtrlEvProc(WinMsgWord(event, 0), WinMsgInt(event, 1), WinMsgWord(event, 2), nullptr);
      }
      if (WinMsgId(event) == WM_AFC_DBLCLICK) return AWnd::Winproc(event);
      return 1;
    default: return 1;
  }
}

int ADialog::OnButtonPress(XEvent* event) {
  const int counted = AWnd::Winproc(event);
  if (counted) {
    g_drag = DragState();
    return counted;
  }
  g_drag.buttonDown = true;
  const CPoint pt = afc::x11::EventPoint(event);
  const CSize sz = GetWinSize(m_hWnd);
  if (pt.x >= 0 && pt.y >= 0 && pt.x < sz.cx && pt.y < m_nCaptionH + 3) {
    afc::x11::GrabPointerOwner(m_hWnd);
    g_drag.press = pt;
    g_drag.dragging = true;
  }
  return CtrlEvProc(m_hWnd, m_nDlgID, kCtrlEvPress, event);
}

int ADialog::OnButtonRelease(XEvent* event) {
  if (g_drag.dragging) afc::x11::UngrabPointer();
  g_drag.dragging = false;
  g_drag.buttonDown = false;
  return CtrlEvProc(m_hWnd, m_nDlgID, kCtrlEvClick, event);
}

int ADialog::OnMotion(XEvent* event) {
  g_drag.buttonDown = afc::x11::EventButton1Held(event);
  if (!g_drag.buttonDown && g_drag.dragging) {
    afc::x11::UngrabPointer();
    g_drag.dragging = false;
  }
  if (g_drag.dragging) {
    XEvent* newest = event;
    alignas(long) unsigned char buf[afc::kXEventBytes];
    XEvent* queued = reinterpret_cast<XEvent*>(buf);
    if (afc::x11::TakeNewestMotion(m_hWnd, queued)) newest = queued;
    CRect rc;
    if (GetWinRect(m_hWnd, &rc)) {
      const CPoint pt = afc::x11::EventPoint(newest);
      WinMoveNoSize(m_hWnd, pt.x + rc.left - g_drag.press.x, pt.y + rc.top - g_drag.press.y);
    }
  }
  return CtrlEvProc(m_hWnd, m_nDlgID, kCtrlEvMotion, event);
}

// --- focus and tab stops ---------------------------------------------------

int ADialog::AfterInitDlg() {
  for (AWnd* ctrl : m_arrCtrls) {
    if (!IsTabStop(ctrl)) continue;
    if (IsType(ctrl, kCtrlPushButton) && m_nDefBtnID >= 0 && ctrl->m_nID != m_nDefBtnID) continue;
    if (auto* rdo = dynamic_cast<ARdo*>(ctrl); rdo && !rdo->m_bChecked) continue;
    m_nFocusID = ctrl->m_nID;
    afc::x11::SetInputFocus(ctrl->m_hWnd, afc::x11::kRevertToParent);
    return 1;
  }
  afc::x11::SetInputFocus(m_hWnd, afc::x11::kRevertToParent);
  return 1;
}

int ADialog::IsTabStop(AWnd* ctrl) {
  if (!ctrl) return 0;
  switch (ctrl->m_nType) {
    case kCtrlOtherClass:
    case kCtrlComboBox:
    case kCtrlRadioButton:
    case kCtrlEditField:
    case kCtrlPushButton:
    case kCtrlListBox:
    case kCtrlCheckBox: break;
    default: return 0;
  }
  if (ctrl->m_bDisabled || ctrl->m_bHidden || ctrl->m_nID == 0) return 0;
  if (ctrl->m_nType == kCtrlEditField && GetDlgCtrlSeam().editReadOnly &&
      GetDlgCtrlSeam().editReadOnly(ctrl)) {
    return 0;
  }
  if (auto* btn = dynamic_cast<ABtn*>(ctrl); btn && (btn->m_bCmboArrow || btn->m_bAlwaysDown))
    return 0;
  return 1;
}

int ADialog::GoNextStop(int p, int backwards, int) {
  const int n = static_cast<int>(m_arrCtrls.size());
  if (n == 0 || p < 0 || p >= n) return -1;
  AWnd* start = m_arrCtrls[p];
  for (int i = 0; i < n; ++i) {
    p = backwards ? (p - 1 < 0 ? n - 1 : p - 1) : (p + 1) % n;
    AWnd* cand = m_arrCtrls[p];
    if (!IsTabStop(cand)) continue;
    if (cand->m_nID > 0 && cand->m_nID == start->m_nID) continue;
    if (IsType(start, kCtrlRadioButton) && IsType(cand, kCtrlRadioButton)) continue;
    if (!IsType(start, kCtrlRadioButton) && IsType(cand, kCtrlRadioButton)) {
      if (AWnd* checked = FindCheckedRadioBtnInGrp(cand->m_nID)) cand = checked;
    } else if (IsType(start, kCtrlEditField)) {
      if (GetDlgCtrlSeam().editLeave) GetDlgCtrlSeam().editLeave(start);
      start->Draw(nullptr);
    }
    SetCtrlFocus(cand->m_nID);
    if (IsType(cand, kCtrlEditField) && GetDlgCtrlSeam().editSelectAll)
      GetDlgCtrlSeam().editSelectAll(cand);
    cand->Draw(nullptr);
    return CtrlId2Idx(cand->m_nID);
  }
  return -1;
}

void ADialog::WalkTabStops(int id, int backwards, int) {
  const int p = CtrlId2Idx(id);
  if (p >= 0) GoNextStop(p, backwards);
}

int ADialog::SetCtrlFocus(int id) {
  AWnd* ctrl = GetCtrl(id);
  if (!ctrl) return m_nFocusID;
  unsigned long focusWin = 0;
  afc::x11::GetInputFocus(&focusWin, nullptr);
  if (id == m_nFocusID && focusWin == ctrl->m_hWnd) return -1;
  const int prev = m_nFocusID;
  m_nFocusID = id;
  afc::x11::SetInputFocus(ctrl->m_hWnd, afc::x11::kRevertToParent);
  if (prev >= 0 && prev != id) {
    if (AWnd* old = GetCtrl(prev)) old->Draw(nullptr);
  }
  return prev;
}

void ADialog::ProcessReturn(AWnd* ctrl) {
  if (IsType(ctrl, kCtrlPushButton)) {
    CtrlEvProc(ctrl->m_hWnd, ctrl->m_nID, kCtrlEvClick, nullptr);
    return;
  }
  if (m_nDefBtnID < 0) return;
  AWnd* def = GetCtrl(m_nDefBtnID);
  if (IsType(def, kCtrlPushButton)) CtrlEvProc(def->m_hWnd, def->m_nID, kCtrlEvClick, nullptr);
}

// --- radio groups ----------------------------------------------------------

const std::vector<int>* ADialog::GroupOf(int id) {
  auto r = m_mapRadio.find(id);
  if (r == m_mapRadio.end()) return nullptr;
  auto g = m_mapGroups.find(r->second);
  return g == m_mapGroups.end() ? nullptr : &g->second;
}

void ADialog::ProcessRadioBtnEv(int id, unsigned long key) {
  const std::vector<int>* group = GroupOf(id);
  if (!group || group->empty()) return;
  const int n = static_cast<int>(group->size());
  if (key == 0) {
    for (int other : *group) {
      auto* rdo = dynamic_cast<ARdo*>(GetCtrl(other));
      if (!rdo || other == id) continue;
      rdo->m_bChecked = 0;
      rdo->Draw(nullptr);
    }
    return;
  }
  int step = 0;
  if (key == keysym::kUp || key == keysym::kLeft) step = -1;
  if (key == keysym::kDown || key == keysym::kRight) step = 1;
  // Home and End carry no direction: the group is left as it is.
  if (step == 0) return;
  int p = -1;
  for (int i = 0; i < n; ++i) {
    auto* rdo = dynamic_cast<ARdo*>(GetCtrl((*group)[i]));
    if (!rdo) continue;
    if (rdo->m_bChecked && p < 0) p = i;
    rdo->m_bChecked = 0;
    rdo->Draw(nullptr);
  }
  // From an unchecked group Down starts at the first radio, Up at the last.
  int q = p < 0 ? (step > 0 ? 0 : n - 1) : p + step;
  if (q < 0) q = n - 1;
  q %= n;
  auto* target = dynamic_cast<ARdo*>(GetCtrl((*group)[q]));
  if (!target) return;
  target->m_bChecked = 1;
  SetCtrlFocus(target->m_nID);
  target->Draw(nullptr);
}

AWnd* ADialog::FindCheckedRadioBtnInGrp(int id) {
  const std::vector<int>* group = GroupOf(id);
  if (!group) return nullptr;
  for (int member : *group) {
    auto* rdo = dynamic_cast<ARdo*>(GetCtrl(member));
    if (rdo && rdo->m_bChecked) return rdo;
  }
  return nullptr;
}

// --- member variables and accessors ----------------------------------------

void ADialog::MemVarAttach(int id, void* variable) {
  if (AWnd* ctrl = GetCtrl(id)) ctrl->m_pMemVar = variable;
}

void ADialog::MemVarAttachCtrl(int id, AWnd** variable) {
  if (!variable) return;
  if (AWnd* ctrl = GetCtrl(id)) *variable = ctrl;
}

int ADialog::SyncMemVars(int toVariables) {
  for (AWnd* ctrl : m_arrCtrls)
    if (ctrl->m_pMemVar) SyncCtrl(ctrl, toVariables);
  return 1;
}

void ADialog::SyncCtrl(AWnd* ctrl, int toVariables) {
  const DlgCtrlSeam& seam = GetDlgCtrlSeam();
  if (ctrl->m_nType == kCtrlEditField) {
    auto* var = static_cast<CString*>(ctrl->m_pMemVar);
    if (toVariables && seam.editGetText) *var = seam.editGetText(ctrl);
    if (!toVariables && seam.editSetText) seam.editSetText(ctrl, *var);
    return;
  }
  if (auto* chk = dynamic_cast<AChk*>(ctrl)) {
    int* var = static_cast<int*>(ctrl->m_pMemVar);
    if (toVariables) {
      *var = chk->m_bChecked ? 1 : 0;
    } else {
      const uint8_t want = static_cast<uint8_t>(*var & 0xff);
      if (want != chk->m_bChecked) {
        chk->m_bChecked = want;
        chk->Draw(nullptr);
      }
    }
    return;
  }
  if (!dynamic_cast<ARdo*>(ctrl)) return;
  const std::vector<int>* group = GroupOf(ctrl->m_nID);
  if (!group) return;
  int* var = static_cast<int*>(ctrl->m_pMemVar);
  const int n = static_cast<int>(group->size());
  if (toVariables) {
    *var = -1;
    for (int i = 0; i < n; ++i) {
      auto* rdo = dynamic_cast<ARdo*>(GetCtrl((*group)[i]));
      if (rdo && rdo->m_bChecked) {
        *var = i;
        break;
      }
    }
    return;
  }
  const int index = std::min(*var, n - 1);
  for (int i = 0; i < n; ++i) {
    auto* rdo = dynamic_cast<ARdo*>(GetCtrl((*group)[i]));
    if (!rdo) continue;
    const int32_t want = i == index ? 1 : 0;
    if (rdo->m_bChecked != want) {
      rdo->m_bChecked = want;
      rdo->Draw(nullptr);
    }
  }
}

int ADialog::SetCtrlText(int id, const char* text) {
  AWnd* ctrl = GetCtrl(id);
  if (!ctrl) return 1;
  if (ctrl->m_nType == kCtrlEditField) {
    if (GetDlgCtrlSeam().editSetText) GetDlgCtrlSeam().editSetText(ctrl, text ? text : "");
  } else {
    ctrl->m_strText = text ? text : "";
  }
  ctrl->Draw(nullptr);
  return 1;
}

int ADialog::GetCtrlText(int id, CString& text) {
  AWnd* ctrl = GetCtrl(id);
  if (!ctrl) return 1;
  if (ctrl->m_nType == kCtrlEditField) {
    if (GetDlgCtrlSeam().editGetText) text = GetDlgCtrlSeam().editGetText(ctrl);
  } else {
    text = ctrl->m_strText;
  }
  return 1;
}

int ADialog::IsBtnChecked(int id) {
  auto* chk = dynamic_cast<AChk*>(GetCtrl(id));
  if (!chk) return -1;
  return chk->m_bChecked ? 1 : 0;
}

int ADialog::SetBtnCheck(int id, int state) {
  if (auto* chk = dynamic_cast<AChk*>(GetCtrl(id))) {
    chk->m_bChecked = static_cast<uint8_t>(state & 0xff);
    chk->Draw(nullptr);
  }
  return -1;
}

int ADialog::SendCtrlEv(int id, int message, unsigned long p1, unsigned long p2, unsigned long p3) {
  const unsigned long win = GetCtrlWin(id);
  return win ? SendWinEvent(win, message, p1, p2, p3) : 0;
}

void ADialog::GrabPtrToCtrl(unsigned long window) {
  afc::x11::GrabPointerOwner(window);
  m_hCaptureWin = window;
}

unsigned long ADialog::UngrabPtrToCtrl() {
  afc::x11::UngrabPointer();
  const unsigned long prev = m_hCaptureWin;
  m_hCaptureWin = 0;
  return prev;
}
