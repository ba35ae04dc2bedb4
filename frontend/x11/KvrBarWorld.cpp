// kvr's own world of the main bar: the bar's commands, mouse handling and
// tool tips act on the real windows through it.
#include <X11/Xlib.h>

#include <unistd.h>

#include "controls/CMsgBox.h"
#include "framework/AfcKernel.h"
#include "framework/CWinApp.h"
#include "framework/SysUtil.h"
#include "framework/WinGeometry.h"
#include "framework/WinMsg.h"
#include "frontend/BarDialogs.h"
#include "frontend/BarKeys.h"
#include "frontend/BarWorld.h"
#include "frontend/InputPanes.h"
#include "frontend/MainBar.h"
#include "frontend/PaneDrawing.h"
#include "frontend/Settings.h"

namespace {

class KvrBarWorld final : public IBarWorld {
 public:
  void PostCommand(uint32_t id) override {
    if (ghMainePane) PostWinEvent(ghMainePane, WM_AFC_COMMAND, id, 0);
  }
  void RepaintBar() override {
    if (ghMainePane) InvalidateRect(ghMainePane, nullptr, 0);
  }
  int RaiseMenu(int n) override { return ::RaiseMenu(n); }
  void MapBar(bool show) override {
    if (!ghMainePane) return;
    if (show) {
      SetWinPos(ghMainePane, 0, 0, 0, 0, kSwpKeepPos | kSwpKeepSize | kSwpShow, kSwpRaise, 0);
    } else {
      ShowWin(0, ghMainePane);
      HideToolTip();
    }
  }
  bool IsBarShown() override { return ghMainePane && IsWinShown(ghMainePane); }
  int MessageBox(const char* text) override { return ChMsgbox(text, kMsgBoxOk, 0, -1); }
  void OpenGuide(const char* fileName) override {
    CString path = uniqueAFCAppPointer ? uniqueAFCAppPointer->m_strProgDir : CString("./");
    path += fileName;
    OpenHtml(path.GetBuffer(path.GetLength()));
    path.ReleaseBuffer();
  }
  void ShowTipMsg(const char* text) override { ::ShowTipMsg(text); }
  void Sleep(int seconds) override { sleep(static_cast<unsigned>(seconds)); }
  int ChangeMenuState() override { return ::ChangeMenuState(); }
  int RunDialog(int id, int32_t* fields, int count) override {
    return RunBarDialog(id, fields, count);
  }
  int SaveProfile() override { return SavePreferences(); }
  void PlaceInputPanes() override { ShowNMoveInputPanes(0); }
  void SetPaneStyle(int style) override { SetCandidateBarStyle(style); }

  void GrabPointer(bool grab) override {
    if (grab) {
      SetPtrGrab(ghMainePane);
    } else {
      UnsetPtrGrab();
    }
  }
  void PaintCell(int cell, bool pressed) override {
    if (ghMainePane) PaintMain(ghMainePane, nullptr, cell | (pressed ? kPaintPressed : 0));
  }
  bool TakeNewestMotion(CPoint* point) override {
    if (!ghMainePane || !dsply) return false;
    XEvent ev;
    bool found = false;
    while (XCheckTypedWindowEvent(dsply, ghMainePane, MotionNotify, &ev)) {
      found = true;
      *point = CPoint(ev.xmotion.x, ev.xmotion.y);
    }
    return found;
  }
  CPoint MoveBar(int x, int y) override {
    SetWinPos(ghMainePane, x, y, 0, 0, kSwpKeepSize | kSwpShow, kSwpRaise, 0);
    return BarOrigin();
  }
  CPoint BarOrigin() override {
    CRect rect;
    if (!ghMainePane || !GetWinRect(ghMainePane, &rect)) return CPoint(0, 0);
    return CPoint(rect.left, rect.top);
  }
  void PostAfterMove() override {
    if (ghMainePane) PostWinEvent(ghMainePane, WM_AFC_AFTERCREATE, 0, 0);
  }
  uint32_t NowMs() override { return GetMiliSecCount(); }
  void StartTipTimer(int ms) override {
    StopTipTimer();
    const int slot = CreateTimer(static_cast<unsigned long>(ms), ghMainePane);
    gTimer = NoTimer(slot) ? 0 : slot;
  }
  void StopTipTimer() override {
    if (gTimer) ReleaseTimer(gTimer);
    gTimer = 0;
  }
  void ShowToolTip(int cells, CPoint pointer) override {
    POINT pt{pointer.x, pointer.y};
    ::ShowToolTip(cells, &pt);
  }
  void HideToolTip() override {
    if (ghToolTip) ShowWin(0, ghToolTip);
  }
};

}  // namespace

IBarWorld& TheKvrBarWorld() {
  static KvrBarWorld world;
  return world;
}
