// Building a dialog from its template, drawing its frame, and finding its
// controls.
#include "controls/ADialog.h"

#include <cstdio>

#include "controls/ABtn.h"
#include "controls/AChk.h"
#include "controls/APrgss.h"
#include "controls/ARdo.h"
#include "controls/AText.h"
#include "controls/CtrlConsts.h"
#include "controls/DlgLayout.h"
#include "controls/RcCmplr.h"
#include "controls/internal/DlgCtrlSeam.h"
#include "framework/AfcKernel.h"
#include "framework/CFont.h"
#include "framework/CWinApp.h"
#include "framework/Colours.h"
#include "framework/Drawing.h"
#include "framework/UIStrings.h"
#include "framework/WinGeometry.h"
#include "framework/x11/CtrlEvents.h"
#include "framework/x11/EventAccess.h"

ADialog::ADialog() { Init(); }

ADialog::ADialog(int id, AWnd* parent) {
  SetDlgID(id);
  m_pParent = parent;
  Init();
}

ADialog::~ADialog() {
  // A dialog destructed while still built takes its windows with it.
  if (m_hWnd || !m_arrCtrls.empty()) ADialog::Destroy();
  m_mapGroups.clear();
  m_mapCtrls.clear();
  m_mapRadio.clear();
  m_ownedCtrls.clear();
}

void ADialog::Init() {
  m_nType = kWndDialog;
  m_bQuit = 0;
  m_nResult = 0;
  m_nFocusID = -1;
  m_nRadioGrp = 1000;
  m_hCaptureWin = 0;
  m_nDefBtnID = -1;
}

int ADialog::GetResDlg(unsigned long id) {
  CRcCmplr* rc = AppRcCmplr();
  if (!rc) return 0;
  CString key;
  key.Format("%d", static_cast<int>(id));
  typDlg found;
  if (!rc->m_mapDlgs.Lookup(key, found)) return 0;
  m_dlgTmpl = found;
  return 1;
}

int ADialog::Create(unsigned long id, AWnd* parent) {
  SetDlgID(static_cast<int>(id));
  m_pParent = parent;
  return Create();
}

int ADialog::Create() {
  if (!GetResDlg(m_nDlgID)) return -999;
  const CWinApp* app = uniqueAFCAppPointer;
  const int appDefault = app ? app->GetDefaultFontHeight() : 16;
  const int h = dlglayout::DlgFontHeight(m_dlgTmpl.m_fontSize, gScrnVertRes, appDefault);
  m_nFontH = h;
  const CSize client = dlglayout::MinSize(dlglayout::Units(m_dlgTmpl.m_size, h));
  m_nCaptionH = GetDlgCaptionH();
  const int W = client.cx + 6;
  const int H = m_nCaptionH + client.cy + 6;
  CRect work;
  GetWindowsWorkArea(&work);
  const CPoint at = dlglayout::Centre(work.Width(), work.Height(), W, H);
  m_rcWin = CRect(at.x, at.y, at.x + W, at.y + H);
  m_szWin = CSize(W, H);
  m_szClient = client;
  m_ptClientOrg = CPoint(3, m_nCaptionH + 3);
  m_strText = m_dlgTmpl.m_caption;
  m_bQuit = 0;
  const unsigned long win = CreateWin(0, 0, m_rcWin, 0, nullptr, this, m_nDlgID, this);
  if (!win) return 0;
  m_hWnd = win;
  SetWinPos(win, at.x, at.y, 0, 0, kSwpKeepSize | kSwpShow, 0, 0);
  bool groupOpen = false;
  long pos = m_dlgTmpl.m_ctrls.GetHeadPosition();
  while (pos) {
    const typCtrl& rec = m_dlgTmpl.m_ctrls.GetNext(pos);
    BuildCtrl(rec, h, groupOpen);
  }
  return 1;
}

namespace {

// A new object for a template type, or null for a type that has none.
ACtrl* NewCtrlFor(const typCtrl& rec) {
  switch (rec.m_type) {
    case kCtrlStaticText:
    case kCtrlBitmap:
    case kCtrlGroupBox: {
      auto* text = new AText;
      text->m_nMode = rec.m_type == kCtrlStaticText ? AText::kModeText
                      : rec.m_type == kCtrlGroupBox ? AText::kModeGroup
                                                    : AText::kModeBitmap;
      return text;
    }
    case kCtrlRadioButton: return new ARdo;
    case kCtrlPushButton: return new ABtn;
    case kCtrlProgressBar: return new APrgss;
    case kCtrlCheckBox:
      // A hidden check box gets no object and no window at all.
      return (rec.m_style & kCtrlStyleHidden) ? nullptr : new AChk;
    case kCtrlComboBox:
    case kCtrlEditField:
    case kCtrlListBox:
      return GetDlgCtrlSeam().newCtrl ? GetDlgCtrlSeam().newCtrl(rec.m_type) : nullptr;
    default: return nullptr;
  }
}

// Calls the Create of the control's own class.
int CreateAs(ACtrl* ctrl, long x, long y, long cx, long cy, const char* text, AWnd* parent,
             long id) {
  if (auto* b = dynamic_cast<ABtn*>(ctrl)) return b->Create(x, y, cx, cy, text, parent, id);
  if (auto* c = dynamic_cast<AChk*>(ctrl)) return c->Create(x, y, cx, cy, text, parent, id);
  if (auto* r = dynamic_cast<ARdo*>(ctrl)) return r->Create(x, y, cx, cy, text, parent, id);
  if (auto* t = dynamic_cast<AText*>(ctrl)) return t->Create(x, y, cx, cy, text, parent, id);
  if (auto* p = dynamic_cast<APrgss*>(ctrl)) return p->Create(x, y, cx, cy, text, parent, id);
  // Controls of other files create themselves from their own Create, which
  // the seam's factory arranges through the template copy; the base fills
  // the object at least.
  return ctrl->Create(x, y, cx, cy, text, parent, id);
}

}  // namespace

void ADialog::BuildCtrl(const typCtrl& rec, int h, bool& groupOpen) {
  CSize size = dlglayout::MinSize(dlglayout::Units(rec.m_size, h));
  CPoint at = dlglayout::Units(rec.m_pt, h);
  at.y += m_nCaptionH;
  if (rec.m_type != kCtrlRadioButton) groupOpen = false;
  ACtrl* raw = NewCtrlFor(rec);
  if (!raw) return;
  std::unique_ptr<ACtrl> ctrl(raw);
  ctrl->m_ctrlTmpl = rec;
  ctrl->m_nFontH = h;  // sizes a control computes before ACtrl::Create follow h
  switch (rec.m_type) {
    case kCtrlRadioButton:
      JoinRadioGroup(rec.m_id, !groupOpen || rec.m_group);
      groupOpen = true;
      break;
    case kCtrlEditField:
      if (!(rec.m_style & kCtrlStyleMultiLine)) size.cy = dlglayout::SingleLineEditHeight(h);
      break;
    case kCtrlPushButton:
    case kCtrlProgressBar:
      if (rec.m_style & kCtrlStyleOwnerDraw) ctrl->m_bOwnerDraw = 1;
      break;
    case kCtrlListBox:
      at.y += 3;
      size.cy -= 3;
      if (rec.m_style & kCtrlStyleDisabled) ctrl->m_bDisabled = 1;
      break;
    case kCtrlComboBox:
      if (rec.m_style & kCtrlStyleDisabled) ctrl->m_bDisabled = 1;
      break;
    default: break;
  }
  CreateAs(ctrl.get(), at.x, at.y, size.cx, size.cy, rec.m_text, this, rec.m_id);
  if ((rec.m_type == kCtrlPushButton || rec.m_type == kCtrlProgressBar) &&
      (rec.m_style & kCtrlStyleHidden) && ctrl->m_hWnd) {
    ShowWin(0, ctrl->m_hWnd);
  }
  m_arrCtrls.push_back(ctrl.get());
  m_mapCtrls[rec.m_id] = ctrl.get();
  m_ownedCtrls.push_back(std::move(ctrl));
}

void ADialog::JoinRadioGroup(int id, bool newGroup) {
  if (newGroup) {
    ++m_nRadioGrp;
    m_mapGroups[m_nRadioGrp] = std::vector<int>();
  }
  m_mapRadio[id] = m_nRadioGrp;
  m_mapGroups[m_nRadioGrp].push_back(id);
}

int ADialog::Destroy() {
  if (m_hWnd) {
    // The window map may hold a control whose window dies with the dialog's.
    const unsigned long win = m_hWnd;
    m_hWnd = 0;
    for (AWnd* ctrl : m_arrCtrls) ctrl->Destroy();
    DestroyWin(win);
  } else {
    for (AWnd* ctrl : m_arrCtrls) ctrl->Destroy();
  }
  m_arrCtrls.clear();
  return 1;
}

AWnd* ADialog::GetDlgCtr(unsigned long window) {
  if (!window) return nullptr;
  for (AWnd* ctrl : m_arrCtrls)
    if (ctrl->m_hWnd == window) return ctrl;
  return nullptr;
}

AWnd* ADialog::GetCtrl(int id) {
  auto it = m_mapCtrls.find(id);
  return it == m_mapCtrls.end() ? nullptr : it->second;
}

unsigned long ADialog::GetCtrlWin(int id) {
  AWnd* ctrl = GetCtrl(id);
  return ctrl ? ctrl->m_hWnd : 0;
}

void ADialog::SwapCtrlObject(int id, AWnd* from, AWnd* to) {
  for (AWnd*& ctrl : m_arrCtrls) {
    if (ctrl == from) {
      ctrl = to;
      break;
    }
  }
  auto it = m_mapCtrls.find(id);
  if (it != m_mapCtrls.end() && it->second == from) it->second = to;
}

int ADialog::CtrlId2Idx(int id) {
  for (size_t i = 0; i < m_arrCtrls.size(); ++i)
    if (m_arrCtrls[i]->m_nID == id) return static_cast<int>(i);
  return -1;
}

void ADialog::AddGroupFrame(const CRect& frame, unsigned long titleWin) {
  CRect copy = frame;
  m_arrGrpFrames.Add(copy);
  m_arrGrpTitles.Add(static_cast<uint32_t>(titleWin));
}

void ADialog::Draw(XEvent* event) {
  m_pExposeEv = event;
  GC gc = GetGC(m_hWnd);
  if (!gc) return;
  const int oldMode = SetDrawMode(gc, kDrawCopy);
  const unsigned long oldBk = SetBkClr(gc, kClrFace);
  const unsigned long oldFg = SetFgClrPxl(gc, gpxlBlack);
  const CSize sz = GetWinSize(m_hWnd);
  const int W = sz.cx, H = sz.cy;
  CRect exposed = event ? afc::x11::ExposeRect(event) : CRect(0, 0, W, H);
  CRect title(0, 0, W, m_nCaptionH + 3), part;
  if (IntersectRect(&part, &title, &exposed)) FillClrRect(m_hWnd, gc, &part, kClrTitle);
  SetFgClr(gc, kClrCaption);
  const int lang = GetUILanguage();
  const CString caption = (lang == kUILangGbk || lang == kUILangBig5)
                              ? LoadStringChn(m_dlgTmpl.m_caption, 0)
                              : m_dlgTmpl.m_caption;
  ChBmpStrOut(m_hWnd, gc, 5, 4, caption, 0, 0, m_nFontH, m_nFontH, 0, nullptr, 0, kChStrAuto, 1);
  CRect client(0, m_nCaptionH + 3, W, H);
  if (IntersectRect(&part, &client, &exposed)) FillClrRect(m_hWnd, gc, &part, kClrFace);
  DrawBorder(gc, W, H);
  DrawGroupFrames(gc);
  SetFgClrPxl(gc, oldFg);
  SetBkClrPxl(gc, oldBk);
  SetDrawMode(gc, oldMode);
  ReleaseGC(gc);
}

void ADialog::DrawBorder(GC gc, int W, int H) {
  using afc::x11::DrawLine;
  SetFgClrPxl(gc, gpxlBright);
  DrawLine(m_hWnd, gc, 1, 1, W - 1, 1);
  DrawLine(m_hWnd, gc, 1, 1, 1, H - 1);
  DrawLine(m_hWnd, gc, 2, 2, W - 2, 2);
  DrawLine(m_hWnd, gc, 2, 2, 2, H - 2);
  SetFgClrPxl(gc, gpxlDark);
  DrawLine(m_hWnd, gc, 1, H - 2, W - 1, H - 2);
  DrawLine(m_hWnd, gc, W - 1, 1, W - 1, H - 1);
  DrawLine(m_hWnd, gc, 2, H - 3, W - 2, H - 3);
  DrawLine(m_hWnd, gc, W - 2, H - 3, W - 2, 2);
}

void ADialog::DrawGroupFrames(GC gc) {
  unsigned long face = 0;
  GetClosestSysClr(kClrFace, &face);
  for (int i = 0; i < m_arrGrpFrames.GetSize(); ++i) {
    CRect r = m_arrGrpFrames[i];
    const bool shown = i < m_arrGrpTitles.GetSize() && IsWinShown(m_arrGrpTitles[i]);
    SetFgClrPxl(gc, shown ? gpxlDark : face);
    afc::x11::DrawOutline(m_hWnd, gc, r.left, r.top, r.Width(), r.Height());
    SetFgClrPxl(gc, shown ? gpxlBright : face);
    afc::x11::DrawOutline(m_hWnd, gc, r.left + 1, r.top + 1, r.Width(), r.Height());
  }
}
