// The editor view's copy and paste through the real CLIPBOARD selection on
// the private Xvfb: text copied in the view is read as UTF-8 by another
// client on a second connection, and text that client offers is pasted
// into the view as GBK. The pasted view is saved to <build>/screenshots/.
#include <gtest/gtest.h>
// Xlib after gtest.
#include <X11/Xlib.h>

#include <clocale>
#include <string>

#include "editor/AEdtStor.h"
#include "editor/AEdtVu.h"
#include "framework/Clipboard.h"
#include "framework/Drawing.h"
#include "framework/WinGeometry.h"
#include "tests/framework/ClipboardPeer.h"
#include "tests/framework/FrameworkTestApp.h"
#include "tests/support/Screenshot.h"

// The peer answers from a thread of its own while the program waits for it.
static const bool kXThreads = XInitThreads() != 0;
static FrameworkTestApp theApp;

namespace {

class XEnv : public ::testing::Environment {
 public:
  void SetUp() override {
    AfcKnrlInit();
    std::setlocale(LC_CTYPE, "C");
    fontsOk = CreateUIFonts(0, nullptr, nullptr);
  }
  static inline int fontsOk = 0;
};
auto* const kEnv = ::testing::AddGlobalTestEnvironment(new XEnv);

constexpr int kW = 260, kH = 60;
const std::string kChnUtf8 = "\xE7\xB2\x98\xE8\xB4\xB4";  // 粘贴 (paste)
const std::string kChnGbk = "\xD5\xB3\xCC\xF9";

// The view over the application's main window, which owns the clipboard
// when the view copies.
class MainWinView : public AEdtVu {
 public:
  MainWinView() {
    m_win = CreateWin(0, 0, CRect(20, 20, 20 + kW, 20 + kH), 0, nullptr, &m_obj, 1, nullptr);
    theApp.InitMainWindows(m_win, &m_obj);
    ShowWin(1, m_win);
    SetWin(m_win);
    m_font = diplayUIFont;
    m_ptTextOrigin = CPoint(1, 1);
    OnCreate();
    CRect bars[2] = {CRect(0, kH - 16, kW - 16, kH), CRect(kW - 16, 0, kW, kH - 16)};
    InitScrollers(bars, nullptr, nullptr);
    SetDocument(&m_doc);
    OnInitialUpdate();
    ClearAll(0);
    Drain();
  }
  ~MainWinView() override {
    ClearMyClipboard();
    theApp.InitMainWindows(0, nullptr);
    DestroyWin(m_win);
  }
  GC edtvuGetGC() override { return GetGC(m_win); }
  void GetClipRc(CRect* rc) override { GetVuRect(rc); }
  void GetVuRect(CRect* rc) override { *rc = CRect(0, 0, kW - 6, kH - 6); }

  std::string Text() {
    CString all;
    GetAllText(all);
    return std::string(static_cast<const char*>(all), all.GetLength());
  }
  void Shot(const std::string& name) {
    GC gc = GetGC(m_win);
    CRect all(0, 0, kW, kH);
    FillClrRect(m_win, gc, &all, 0xFFFFFF);
    edtvuDraw(gc, 0);
    ReleaseGC(gc);
    XSync(dsply, False);
    EXPECT_EQ(kvrtest::SaveWindowShot(dsply, m_win, name, kW, kH), "");
  }

  AEdtStor m_doc;

 private:
  RecordingWnd m_obj;
  unsigned long m_win = 0;
};

TEST(EdtVuClipboard, CopyIsReadAsUtf8ByAnotherClient) {
  ASSERT_TRUE(kXThreads);
  MainWinView view;
  unsigned char text[] = "copy \xD6\xD0\xCE\xC4";  // copy zhongwen
  view.DoInsertStr(text);
  view.OnEditSelectAll();
  ASSERT_EQ(view.AtEdtCpy(), 1);
  ClipboardPeer peer;
  std::string bytes, type;
  testing::internal::CaptureStderr();
  ASSERT_TRUE(peer.Request("UTF8_STRING", &bytes, &type));
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(type, "UTF8_STRING");
  EXPECT_EQ(bytes, "copy \xE4\xB8\xAD\xE6\x96\x87");
}

TEST(EdtVuClipboard, TextOfferedByAnotherClientIsPastedAsGbk) {
  ASSERT_TRUE(kXThreads);
  MainWinView view;
  unsigned char text[] = "[old]";
  view.DoInsertStr(text);
  view.m_ptSelAnchor = CPoint(1, 0);  // "old" is replaced
  view.m_ptSelEnd = CPoint(4, 0);
  view.m_nCaretCol = 4;
  ClipboardPeer peer;
  peer.Own({{"UTF8_STRING", {"UTF8_STRING", kChnUtf8 + " ok"}}});
  testing::internal::CaptureStderr();
  view.AtEdtPaste();
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(view.Text(), "[" + kChnGbk + " ok]");
  EXPECT_EQ(view.m_nCaretCol, 8);
  if (XEnv::fontsOk) view.Shot("editor_paste_from_other_client");
}

}  // namespace
