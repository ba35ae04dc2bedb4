// Scroll bars in a dialog on the private Xvfb, pressed and dragged by a user
// on a second connection (XTest): what they post to their owner.
#include "tests/controls/DialogTestApp.h"

#include <utility>
#include <vector>

#include "controls/AScrl.h"
#include "controls/CtrlConsts.h"
#include "framework/WinMsg.h"
#include "framework/x11/CtrlEvents.h"
#include "tests/support/Screenshot.h"

DialogTestApp& TheApp() {
  static DialogTestApp app;
  return app;
}
static auto* const kEnv = ::testing::AddGlobalTestEnvironment(new DialogEnv);

namespace {

constexpr int kBarDlg = 920;

// A dialog that owns a horizontal and a vertical bar, 16 by 116 pixels, and
// is their owner: it records what they post.
class BarDlg : public ADialog {
 public:
  BarDlg() : ADialog(kBarDlg, nullptr) {}
  int InitDlg() override {
    ADialog::InitDlg();
    horz.SetOrientation(1);
    vert.SetOrientation(0);
    horz.m_pOwner = vert.m_pOwner = this;
    created = horz.Create(10, m_nCaptionH + 10, 116, 16, "", this, 0) +
              vert.Create(150, m_nCaptionH + 10, 16, 116, "", this, 0);
    return 1;
  }
  int Winproc(XEvent* event) override {
    const int id = WinMsgId(event);
    if (id == WM_SCRL_HORZ || id == WM_SCRL_VERT) posts.emplace_back(id, WinMsgInt(event, 0));
    return ADialog::Winproc(event);
  }
  AScrl horz, vert;  // destructed before the ADialog part: they leave its list
  int created = 0;
  std::vector<std::pair<int, int>> posts;
};

class ScrollBarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(TheApp().user, nullptr);
    AddTemplate(kBarDlg, CSize(100, 80), {});
    TheApp().steps.clear();
    TheApp().watchdogFired = false;
  }
  void TearDown() override {
    EXPECT_FALSE(TheApp().watchdogFired) << "the dialog outlived its script";
  }
  DialogTestApp& app = TheApp();
};

TEST_F(ScrollBarTest, HorizontalPosts1382AndVertical1383) {
  BarDlg dlg;
  using Posts = std::vector<std::pair<int, int>>;
  app.Then([&] {
    ASSERT_EQ(dlg.created, 2);
    EXPECT_EQ(dlg.horz.m_nArrow, 16);
    EXPECT_EQ(dlg.horz.m_nTrack, 116);
    EXPECT_NE(dlg.GetDlgCtr(dlg.vert.m_hWnd), nullptr) << "the bar is in the control list";
    app.ClickAt(dlg.horz.m_hWnd, 110, 8);  // the second arrow: one step
  });
  app.Then([&] { app.ClickAt(dlg.vert.m_hWnd, 8, 80); });  // the track after the thumb: a page
  // Press on the thumb (position 10: offset 6, box 22 to 38), drag it to
  // the end of the track, release.
  app.Then([&] { app.PressAt(dlg.vert.m_hWnd, 8, 30); });
  app.Then([&] {
    EXPECT_EQ(dlg.vert.m_nState, AScrl::kDragging);
    CRect rc;
    GetWinRect(dlg.vert.m_hWnd, &rc);
    app.MoveTo(rc.left + 8, rc.top + 116 - 32);
  });
  app.Then([&] { app.Release(); });
  app.Then([&] {
    EXPECT_EQ(dlg.vert.m_nState, AScrl::kIdle);
    EXPECT_EQ(
        dlg.posts,
        (Posts{{WM_SCRL_HORZ, 1}, {WM_SCRL_VERT, 10}, {WM_SCRL_VERT, 10}, {WM_SCRL_VERT, 100}}));
    EXPECT_EQ(dlg.horz.m_nPos, 1);
    EXPECT_EQ(dlg.vert.m_nPos, 100);
    const CSize sz = GetWinSize(dlg.m_hWnd);
    EXPECT_EQ(kvrtest::SaveWindowShot(dsply, dlg.m_hWnd, "scroll_bars", sz.cx, sz.cy), "");
    // The thumb of the vertical bar now sits at the end: its box spans 84
    // to 100, raised (a bright upper edge), over the sunken track.
    const kvrtest::Pixels px = kvrtest::Grab(dsply, dlg.vert.m_hWnd, 16, 116);
    ASSERT_EQ(px.h, 116);
    EXPECT_EQ(px.At(8, 90), 0xc7c7c7u);
    EXPECT_NE(px.At(8, 84), 0xc7c7c7u);
    EXPECT_EQ(px.At(8, 50), 0xc7c7c7u);
    app.Key(XK_Escape);
  });
  dlg.ActModal();
  EXPECT_TRUE(dlg.m_arrCtrls.empty());
}

}  // namespace
