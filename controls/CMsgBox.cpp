#include "controls/CMsgBox.h"

#include <cstdarg>
#include <cstdio>

#include "base/IniFile.h"
#include "controls/CtrlConsts.h"
#include "controls/DlgLayout.h"
#include "controls/internal/MsgFormat.h"
#include "framework/AfcKernel.h"
#include "framework/CFont.h"
#include "framework/CWinApp.h"
#include "framework/Colours.h"
#include "framework/UIStrings.h"
#include "framework/WinGeometry.h"

namespace {

constexpr int kTranslationBuf = 128;  // a translation in the box: at most 127 bytes
constexpr int kFormatLimit = 119;     // a translated format: at most 118 bytes
constexpr int kFormattedBuf = 160;    // a formatted text: at most 159 bytes
constexpr int kMsgCell = 16;          // cell and minimum height of the text

// The format to use for format's arguments: its [UI_STR] translation when
// literal is 0 and the translation takes the same arguments, else format.
CString ChooseFormat(const char* format, int literal) {
  if (literal) return format;
  char buf[kTranslationBuf];
  const int n = GetIniFileString(gstrUIINI, "UI_STR", format, buf, kFormatLimit, format);
  if (n < 0) return format;
  if (!msgfmt::SameConversions(format, buf)) {
    std::fprintf(stderr,
                 "%s: [UI_STR] translation of \"%s\" takes other arguments; shown untranslated\n",
                 static_cast<const char*>(gstrUIINI), format);
    return format;
  }
  return buf;
}

CString FormatMsgV(const char* format, int literal, va_list args) {
  if (!format) return "";
  const CString chosen = ChooseFormat(format, literal);
  char out[kFormattedBuf];
  std::vsnprintf(out, sizeof out, chosen, args);
  return out;
}

}  // namespace

CMsgBox::CMsgBox(AWnd* parent) : ADialog(kMsgBoxDlgId, parent) { m_nResult = IDCANCEL; }

// OK and Cancel are ADialog's (through the virtual OnOK and OnCancel).
int CMsgBox::CtrlEvProc(unsigned long window, int id, unsigned long code, XEvent* event) {
  if (window == 0 && id == kPaintNotifyId && code == 0) {
    AtDraw();
    return 1;
  }
  if (code == kCtrlEvClick && id == IDYES) {
    OnYes();
    return 1;
  }
  if (code == kCtrlEvClick && id == IDNO) {
    OnNo();
    return 1;
  }
  return ADialog::CtrlEvProc(window, id, code, event);
}

int CMsgBox::InitDlg() {
  ADialog::InitDlg();
  if (ReadChnUI() && !m_bLiteral) {
    char buf[kTranslationBuf];
    if (GetIniFileString(gstrUIINI, "UI_STR", m_strMsg, buf, sizeof buf, "") > 0) m_strMsg = buf;
  }
  const CSize text = ChnBmpStrExtent(m_strMsg, 0, kMsgCell, kMsgCell, kMsgCell);
  int bw = 12, bh = 12;
  if (AWnd* sizer = GetCtrl(m_nMsgType == kMsgBoxYesNo ? IDYES : IDOK)) {
    bw = sizer->m_rcWin.Width();
    bh = sizer->m_rcWin.Height();
  }
  const dlglayout::MsgBoxGeom g = dlglayout::MsgBoxSize(m_nMsgType, text.cx, text.cy, bw, bh);
  m_ptText = g.text;
  CRect work;
  GetWindowsWorkArea(&work);
  const CPoint at = dlglayout::Centre(work.Width(), work.Height(), g.w, g.h);
  WinMove(m_hWnd, at.x, at.y, g.w, g.h);
  const CSize sz = GetWinSize(m_hWnd);
  const dlglayout::MsgBoxButtons b = dlglayout::MsgBoxButtonPos(m_nMsgType, sz.cx, sz.cy, bw, bh);
  auto place = [&](int id, int x) {
    if (const unsigned long win = GetCtrlWin(id)) SetWinPos(win, x, b.y, bw, bh, kSwpShow, 0, 0);
    if (AWnd* btn = GetCtrl(id)) btn->m_bHidden = 0;
  };
  if (m_nMsgType == kMsgBoxOk) {
    place(IDOK, b.x1);
    SetDefltBtn(IDOK);
  } else {
    const bool yesNo = m_nMsgType == kMsgBoxYesNo;
    place(yesNo ? IDYES : IDOK, b.x1);
    place(yesNo ? IDNO : IDCANCEL, b.x2);
    SetDefltBtn(m_nMsgDefBtn);
  }
  return 1;
}

void CMsgBox::AtDraw() {
  GC gc = GetGC(m_hWnd);
  if (!gc) return;
  const int oldMode = SetDrawMode(gc, kDrawCopy);
  const unsigned long oldFg = SetFgClr(gc, kClrText);
  ChBmpStrOut(m_hWnd, gc, m_ptText.x, m_nCaptionH + m_ptText.y + 3, m_strMsg, 0, 0, kMsgCell,
              kMsgCell, 0, nullptr, 0, kChStrAuto, 1);
  SetFgClrPxl(gc, oldFg);
  SetDrawMode(gc, oldMode);
  ReleaseGC(gc);
}

int ChMsgbox(const char* text, int type, int literal, int defaultButton) {
  CWinApp* app = uniqueAFCAppPointer;
  CMsgBox box(app ? app->m_pMainWnd : nullptr);
  box.m_strMsg = text ? text : "";
  box.m_nMsgType = type;
  box.m_bLiteral = literal;
  box.m_nMsgDefBtn = defaultButton;
  return box.ActModal();
}

int ChMsgbox2V(const char* format, int type, int literal, va_list args) {
  return ChMsgbox(FormatMsgV(format, literal, args), type, 1, -1);
}

int ChMsgbox2(const char* format, int type, int literal, ...) {
  va_list args;
  va_start(args, literal);
  const int r = ChMsgbox2V(format, type, literal, args);
  va_end(args);
  return r;
}

CString ChMsgText(const char* format, int literal, ...) {
  va_list args;
  va_start(args, literal);
  const CString text = FormatMsgV(format, literal, args);
  va_end(args);
  return text;
}
