// The message box from the shipped script (dialog 112 of Jux.rc), run on the
// private Xvfb and answered by a user on a second connection.
#include "tests/controls/DialogTestApp.h"

#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "controls/ABtn.h"
#include "controls/CMsgBox.h"
#include "controls/CtrlConsts.h"

DialogTestApp& TheApp() {
  static DialogTestApp app;
  return app;
}
static auto* const kEnv = ::testing::AddGlobalTestEnvironment(new DialogEnv);

namespace {

// The box that has the focus (the focus sits on one of its buttons).
CMsgBox* ShownBox() {
  unsigned long focus = 0;
  int revert = 0;
  XGetInputFocus(dsply, &focus, &revert);
  AWnd* w = AfcFindWnd(focus);
  if (w && !dynamic_cast<CMsgBox*>(w)) w = w->m_pParent;
  return dynamic_cast<CMsgBox*>(w);
}

void ClickButton(int id) {
  CMsgBox* box = ShownBox();
  ASSERT_NE(box, nullptr);
  AWnd* btn = box->GetCtrl(id);
  ASSERT_NE(btn, nullptr);
  ASSERT_EQ(IsWinShown(btn->m_hWnd), 1) << "button " << id << " is not shown";
  TheApp().ClickAt(btn->m_hWnd, btn->m_szWin.cx / 2, btn->m_szWin.cy / 2);
}

class MsgBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(TheApp().user, nullptr);
    TheApp().steps.clear();
    TheApp().watchdogFired = false;
  }
  void TearDown() override {
    EXPECT_FALSE(TheApp().watchdogFired) << "the box outlived its script";
  }
  DialogTestApp& app = TheApp();
};

TEST_F(MsgBoxTest, ShippedTemplateHasTheFourHiddenButtons) {
  ADialog dlg(kMsgBoxDlgId, nullptr);
  ASSERT_EQ(dlg.Create(), 1);
  for (int id : {IDOK, IDCANCEL, IDYES, IDNO}) {
    SCOPED_TRACE(id);
    ASSERT_NE(dlg.GetCtrl(id), nullptr);
    EXPECT_EQ(dlg.GetCtrl(id)->m_nType, kCtrlPushButton);
    EXPECT_EQ(IsWinShown(dlg.GetCtrlWin(id)), 0);
  }
  dlg.Destroy();
}

TEST_F(MsgBoxTest, ButtonsEndTheBoxWithTheirCodes) {
  struct Case {
    int type;
    int button;
    int want;
  } const cases[] = {
      {kMsgBoxOk, IDOK, 1},       {kMsgBoxYesNo, IDYES, 6},       {kMsgBoxYesNo, IDNO, 7},
      {kMsgBoxOkCancel, IDOK, 1}, {kMsgBoxOkCancel, IDCANCEL, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "type " << c.type << " button " << c.button);
    app.Then([&] { ClickButton(c.button); });
    EXPECT_EQ(ChMsgbox("Continue?", c.type, 1, -1), c.want);
  }
}

TEST_F(MsgBoxTest, EscapeGives2EvenForYesNo) {
  app.Then([&] { app.Key(XK_Escape); });
  EXPECT_EQ(ChMsgbox("Really?", kMsgBoxYesNo, 1, IDYES), 2);
}

TEST_F(MsgBoxTest, ReturnPressesTheDefaultButton) {
  app.Then([&] { app.Key(XK_Return); });
  EXPECT_EQ(ChMsgbox("Done.", kMsgBoxOk, 1, -1), 1);
  app.Then([&] {
    CMsgBox* box = ShownBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->m_nFocusID, IDNO);
    app.Key(XK_Return);
  });
  EXPECT_EQ(ChMsgbox("Keep it?", kMsgBoxYesNo, 1, IDNO), 7);
  // ChMsgbox2 sets no default button: Return acts on the focused one, the
  // first shown button.
  app.Then([&] { app.Key(XK_Return); });
  EXPECT_EQ(ChMsgbox2("Error%d: Cannot open file[%s]!", kMsgBoxYesNo, 1, 3, "x.dic"), 6);
}

TEST_F(MsgBoxTest, BoxSizesItselfToTheTextAndPlacesItsButtons) {
  app.Then([&] {
    CMsgBox* box = ShownBox();
    ASSERT_NE(box, nullptr);
    const CSize sz = GetWinSize(box->m_hWnd);
    AWnd* yes = box->GetCtrl(IDYES);
    AWnd* no = box->GetCtrl(IDNO);
    const int bw = yes->m_szWin.cx, bh = yes->m_szWin.cy;
    EXPECT_GE(sz.cx, 3 * bw);
    EXPECT_EQ(yes->m_rcWin.top, sz.cy - 3 * bh / 2);
    EXPECT_EQ(no->m_rcWin.left - yes->m_rcWin.left, 4 * bw / 3);
    EXPECT_EQ(IsWinShown(box->GetCtrlWin(IDOK)), 0);
    EXPECT_EQ(IsWinShown(box->GetCtrlWin(IDCANCEL)), 0);
    CRect rc;
    GetWinRect(box->m_hWnd, &rc);
    EXPECT_EQ(rc.left, (1280 - sz.cx) / 2);
    app.Key(XK_Escape);
  });
  ChMsgbox("Short", kMsgBoxYesNo, 1, -1);
  const std::string longText(120, 'W');
  app.Then([&] {
    CMsgBox* box = ShownBox();
    ASSERT_NE(box, nullptr);
    const CSize text = ChnBmpStrExtent(box->m_strMsg, 0, 16, 16, 16);
    const int bh = box->GetCtrl(IDOK)->m_szWin.cy;
    EXPECT_EQ(GetWinSize(box->m_hWnd).cx, text.cx + 2 * bh);
    app.Key(XK_Escape);
  });
  ChMsgbox(longText.c_str(), kMsgBoxOk, 1, -1);
}

// Writes the window as a PPM picture, for a person to look at.
void SavePpm(unsigned long window, const char* path) {
  const CSize sz = GetWinSize(window);
  XImage* img = XGetImage(dsply, window, 0, 0, sz.cx, sz.cy, AllPlanes, ZPixmap);
  FILE* f = std::fopen(path, "wb");
  if (img && f) {
    std::fprintf(f, "P6\n%d %d\n255\n", img->width, img->height);
    for (int y = 0; y < img->height; ++y)
      for (int x = 0; x < img->width; ++x) {
        const unsigned long p = XGetPixel(img, x, y);
        const unsigned char rgb[3] = {static_cast<unsigned char>(p >> 16),
                                      static_cast<unsigned char>(p >> 8),
                                      static_cast<unsigned char>(p)};
        std::fwrite(rgb, 1, 3, f);
      }
  }
  if (f) std::fclose(f);
  if (img) XDestroyImage(img);
}

// Counts the pixels of the box's text line that are not the face colour.
int InkInTextLine(CMsgBox* box) {
  const CSize sz = GetWinSize(box->m_hWnd);
  const int top = box->m_nCaptionH + 3;
  const int height = box->GetCtrl(IDOK)->m_rcWin.top - top;
  XImage* img = XGetImage(dsply, box->m_hWnd, 3, top, sz.cx - 6, height, AllPlanes, ZPixmap);
  if (!img) return -1;
  int ink = 0;
  for (int y = 0; y < img->height; ++y)
    for (int x = 0; x < img->width; ++x) ink += XGetPixel(img, x, y) == 0x000000UL;
  XDestroyImage(img);
  return ink;
}

TEST_F(MsgBoxTest, ChineseTextDrawsItsGlyphs) {
  ASSERT_TRUE(DialogEnv::fontsOk) << "the UI font sets could not be created";
  int chinese = -1, empty = -1;
  app.Then([&] {
    CMsgBox* box = ShownBox();
    ASSERT_NE(box, nullptr);
    chinese = InkInTextLine(box);
    if (const char* shot = std::getenv("KVR_MSGBOX_SHOT")) SavePpm(box->m_hWnd, shot);
    ClickButton(IDOK);
  });
  // "中文输入法" (GBK)
  EXPECT_EQ(ChMsgbox("\xd6\xd0\xce\xc4\xca\xe4\xc8\xeb\xb7\xa8", kMsgBoxOk, 1, -1), 1);
  app.Then([&] {
    CMsgBox* box = ShownBox();
    ASSERT_NE(box, nullptr);
    empty = InkInTextLine(box);
    ClickButton(IDOK);
  });
  EXPECT_EQ(ChMsgbox("", kMsgBoxOk, 1, -1), 1);
  EXPECT_EQ(empty, 0);
  EXPECT_GT(chinese, 5 * 20) << "five characters drawn as glyphs";
}

}  // namespace
