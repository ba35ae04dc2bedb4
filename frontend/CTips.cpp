#include "frontend/CTips.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "base/GbkBytes.h"
#include "controls/CtrlConsts.h"
#include "engine/InputSettings.h"
#include "framework/AfcKernel.h"
#include "framework/CFont.h"
#include "framework/CWinApp.h"
#include "framework/Colours.h"
#include "framework/Drawing.h"
#include "framework/ImageLoad.h"
#include "framework/WinGeometry.h"
#include "framework/x11/CtrlEvents.h"

namespace {

constexpr int kLineBytes = 2048;  // a line is read up to 2047 bytes
constexpr int kTipCell = 16;      // text cells; wrapped lines 24 pixels apart
constexpr unsigned long kTipPaper = 0xFFFFFF;
constexpr unsigned long kTipInk = 0x000000;
constexpr int kRasterCopy = 3;

// The tip a line gives in the input method, or null when it gives none.
const char* TipOfLine(char* line, int inputMethod) {
  switch (line[0]) {
    case ';':
    case 'j': return nullptr;
    case 'p': return inputMethod == kPinYin ? line + 1 : nullptr;
    case 'x': return inputMethod == kXingMa ? line + 1 : nullptr;
    default: return line;
  }
}

}  // namespace

bool ReadTipsFile(const char* path, int inputMethod, TipList& tips) {
  FILE* f = path ? std::fopen(path, "rt") : nullptr;
  if (!f) return false;
  char line[kLineBytes];
  while (std::fgets(line, sizeof line, f)) {
    int len = static_cast<int>(std::strlen(line));
    if (len > 0 && line[len - 1] != '\n' && !std::feof(f)) {
      // An over-long line: keep what was read, cut between characters, and
      // drop the rest of it.
      int i = 0;
      while (i + gbk::CharBytes(line, len, i) < len) i += gbk::CharBytes(line, len, i);
      if (gbk::CharBytes(line, len, i) == 1 && gbk::IsLead(static_cast<unsigned char>(line[i])))
        line[len = i] = '\0';
      int c;
      while ((c = std::fgetc(f)) != EOF && c != '\n') {}
    }
    char* tip = const_cast<char*>(TipOfLine(line, inputMethod));
    if (!tip) continue;
    int n = static_cast<int>(std::strlen(tip));
    while (n > 0 && (tip[n - 1] == '\r' || tip[n - 1] == '\n')) tip[--n] = '\0';
    if (n == 0) continue;
    tips.AddTail(CString(tip));
  }
  std::fclose(f);
  return true;
}

int16_t StepTipNum(int32_t tipNum, int step, int count) {
  // Tip numbers are 16-bit: tips past the largest number cannot be reached.
  count = std::min(count, 32767);
  int16_t n = static_cast<int16_t>(static_cast<uint16_t>(tipNum) + static_cast<uint16_t>(step));
  if (n > count) {
    n = 1;
  } else if (n < 1) {
    n = static_cast<int16_t>(count);
  }
  return n;
}

CTips::CTips(AWnd* parent) : ADialog(kTipsDlgId, parent) {}

CTips::~CTips() = default;

int CTips::CtrlEvProc(unsigned long window, int id, unsigned long code, XEvent* event) {
  if (code == kCtrlEvClick) {
    switch (id) {
      case kTipsNextId: OnNext(); return 1;
      case kTipsPrevId: OnPrev(); return 1;
      default: break;
    }
  }
  if (code == kCtrlEvOwnerDraw) AtDrawCtrl(id, window);
  return ADialog::CtrlEvProc(window, id, code, event);
}

int CTips::InitDlg() {
  ADialog::InitDlg();
  SetDefltBtn(IDOK);
  if (AWnd* area = GetCtrl(kTipsTextId)) area->m_bOwnerDraw = 1;
  if (const unsigned long win = GetCtrlWin(kTipsShowAtStartId)) {
    ShowWin(0, win);
    EnableWin(win, 0);
  }
  const CString dir = uniqueAFCAppPointer ? uniqueAFCAppPointer->m_strProgDir : CString("./");
  m_listTips.RemoveAll();
  if (!ReadTipsFile(dir + "tips.txt", cfgInputManager.InputMthd, m_listTips)) {
    QuitDlg(IDCANCEL);
    return 0;
  }
  SetTipText(1);
  return 1;
}

void CTips::SetTipText(int step) {
  const int count = m_listTips.GetCount();
  cfgInputManager.TipNum = StepTipNum(cfgInputManager.TipNum, step, count);
  // No tips: the area stays empty.
  const long pos = m_listTips.FindIndex(cfgInputManager.TipNum - 1);
  m_strTip = pos ? m_listTips.GetAt(pos) : CString();
  if (const unsigned long win = GetCtrlWin(kTipsTextId)) InvalidateRect(win, nullptr, 1);
}

void CTips::AtDrawCtrl(int id, unsigned long window) {
  if (id != kTipsTextId || !window) return;
  GC gc = GetGC(window);
  if (!gc) return;
  const CSize size = GetWinSize(window);
  CRect rect(0, 0, size.cx, size.cy);
  const int mx = rect.Width() / 20, my = rect.Height() / 15;
  FillClrRect(window, gc, &rect, kTipPaper);
  const unsigned long oldFg = SetFgClr(gc, kTipInk);
  if (XImage* picture = LoadBmpId(kTipsBitmapId)) {
    const CSize pic = afc::x11::ImageSize(picture);
    const int top = std::max(0L, static_cast<long>(rect.bottom - 4 - pic.cy));
    AfcPutImage(dsply, window, gc, picture, 0, 0, rect.right - 4 - pic.cx, top, pic.cx, pic.cy,
                kRasterCopy);
    afc::x11::DestroyImage(picture);
  }
  rect.DeflateRect(mx, my);
  rect.right -= 2 * mx;
  ChBmpStrOut(window, gc, rect.left, rect.top, m_strTip, 0, 0, kTipCell, kTipCell, 0, &rect, 0,
              kChStrAuto, 1);
  SetFgClrPxl(gc, oldFg);
  ReleaseGC(gc);
}
