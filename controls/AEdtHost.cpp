#include "controls/AEdtHost.h"

#include "controls/ADialog.h"
#include "controls/AScrl.h"
#include "controls/CMsgBox.h"
#include "editor/AEdtStor.h"
#include "framework/AfcKernel.h"
#include "framework/CFont.h"
#include "framework/CWinApp.h"
#include "framework/KeySyms.h"
#include "framework/UIStrings.h"
#include "framework/WinGeometry.h"
#include "framework/x11/CtrlEvents.h"
#include "framework/x11/EventAccess.h"

namespace {

// Sets the application's edit-key flag and window for one key and clears
// both however the key's handling ends.
class EditKeyMark {
 public:
  explicit EditKeyMark(unsigned long window) : m_app(uniqueAFCAppPointer) {
    if (!m_app) return;
    m_app->m_bEditKey = 1;
    m_app->m_hEditKeyWnd = window;
  }
  ~EditKeyMark() {
    if (!m_app) return;
    m_app->m_bEditKey = 0;
    m_app->m_hEditKeyWnd = 0;
  }
  EditKeyMark(const EditKeyMark&) = delete;
  EditKeyMark& operator=(const EditKeyMark&) = delete;

 private:
  CWinApp* m_app;
};

}  // namespace

AEdtHost::AEdtHost() = default;

// The view part may still reach the document while it goes: the document
// is released only once the derived parts are done, here.
AEdtHost::~AEdtHost() {
  SetDocument(nullptr);
  m_doc.reset();
}

GC AEdtHost::edtvuGetGC() { return m_hWnd ? GetGC(m_hWnd) : nullptr; }

void AEdtHost::GetVuRect(CRect* rc) {
  if (rc) *rc = CRect(0, 0, m_szWin.cx - 6, m_szWin.cy - 6);
}

int AEdtHost::edtvuMsgBox(const char* text, int type, int literal, int defButton) {
  return ChMsgbox(text, type, literal, defButton);
}

int AEdtHost::CreateHostWin(bool singleLine) {
  if (!CreateCtrlWin(0)) return 0;
  RaiseWin(m_hWnd);
  m_doc = std::make_unique<AEdtStor>();
  m_doc->m_bSingleLine = singleLine ? 1 : 0;
  SetDocument(m_doc.get());
  m_ptClientOrg = CPoint(3, 3);
  m_ptTextOrigin = CPoint(4, 4);
  m_szClient = CSize(m_szWin.cx - 6, m_szWin.cy - 6);
  SetWin(m_hWnd);
  const int lang = GetUILanguage();
  m_font = (lang == kUILangEnglish || lang == kUILangGbk) ? diplayUIFont : diplayUIFontFan;
  OnCreate();
  return 1;
}

int AEdtHost::HandKeyToView(XEvent* event) {
  EditKeyMark mark(m_hWnd);
  return PreProcessEv(event);
}

const char* AEdtHost::TakeEngineBackSpaces(const char* text) {
  if (!text) return "";
  while (*text == '\x08') {
    AtCharEv(keysym::kBackSpace, 0);
    ++text;
  }
  return text;
}

bool AEdtHost::OnFocusEvent(XEvent* event) {
  switch (afc::x11::EventKind(event)) {
    case afc::x11::EvKind::kFocusIn:
      InitCaret(m_hWnd, m_nFontH);
      // The new caret starts where the view's caret is.
      PlaceCaret();
      MapCaret(1);
      return true;
    case afc::x11::EvKind::kFocusOut: ClearCaret(); return true;
    default: return false;
  }
}

CPoint AEdtHost::NewestMotionPoint(XEvent* event) {
  ADialog* dlg = GetDlg();
  if (dlg && m_hWnd && dlg->m_hCaptureWin == m_hWnd) afc::x11::TakeNewestMotion(m_hWnd, event);
  return afc::x11::EventPoint(event);
}

bool AEdtHost::PressInView(XEvent* event, CPoint& point) {
  const CPoint at = afc::x11::EventPoint(event);
  point = CPoint(at.x - 3, at.y - 3);
  CRect view;
  GetVuRect(&view);
  return point.x >= view.left && point.x < view.right && point.y >= view.top &&
         point.y < view.bottom;
}

void AEdtHost::TakePress(XEvent* event, bool intoView) {
  ADialog* dlg = GetDlg();
  if (dlg) dlg->SetCtrlFocus(m_nID);
  CPoint pt;
  if (intoView && PressInView(event, pt)) {
    if (dlg) dlg->GrabPtrToCtrl(m_hWnd);
    AEdtVu::AtLBtnDwn(0, pt);
  }
}

void AEdtHost::InsertText(const char* text) {
  if (!text || !*text) return;
  CString copy(text);
  DoInsertStr(reinterpret_cast<unsigned char*>(copy.GetBuffer(0)));
  copy.ReleaseBuffer();
}

void AEdtHost::ReplaceAllText(const char* text) {
  ClearAll(0);
  InsertText(text);
}
