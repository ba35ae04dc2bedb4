#include "editor/EdtVuWorld.h"

#include "framework/AfcKernel.h"
#include "framework/CFont.h"
#include "framework/Clipboard.h"
#include "framework/Drawing.h"
#include "framework/SysUtil.h"
#include "framework/WinGeometry.h"

namespace {

class CFrameworkWorld final : public IEdtVuWorld {
 public:
  uint32_t NowMs() override { return GetMiliSecCount(); }
  int CreateTimer(unsigned long ms, unsigned long window) override {
    return ::CreateTimer(ms, window);
  }
  void ReleaseTimer(int slot) override { ::ReleaseTimer(slot); }
  unsigned long FocusWin() override { return GetFocusWin(); }
  void SetCaretPt(CPoint pt) override { ::SetCaretPt(pt); }
  CPoint GetCaretPt() override { return ::GetCaretPt(0); }
  int MapCaret(int show) override { return ::MapCaret(show); }
  int TextWidth(const CFont& font, const char* text, int n) override {
    return GetTextExtent(font.m_fontSet, text, n).cx;
  }
  void ReleaseGC(GC gc) override { ::ReleaseGC(gc); }
  int WinLang(unsigned long window) override { return GetWinLang(window); }
  int SetClipbrdText(char* text) override { return ::SetClipbrdText(text, 0); }
  int GetClipbrdText(char** out, int variant) override { return ::GetClipbrdText(out, variant); }
  void Beep() override { MessageBeep(-1); }
};

}  // namespace

IEdtVuWorld& FrameworkEdtVuWorld() {
  static CFrameworkWorld world;
  return world;
}
