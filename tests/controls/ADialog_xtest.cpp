// Dialogs built from templates and run modally on the private Xvfb, driven
// by a user on a second connection (XTest).
#include "tests/controls/DialogTestApp.h"

#include <utility>
#include <vector>

#include "controls/ABtn.h"
#include "controls/AChk.h"
#include "controls/APrgss.h"
#include "controls/ARdo.h"
#include "controls/AText.h"
#include "controls/CtrlConsts.h"
#include "framework/WinMsg.h"
#include "tests/framework/XPixels.h"

DialogTestApp& TheApp() {
  static DialogTestApp app;
  return app;
}
static auto* const kEnv = ::testing::AddGlobalTestEnvironment(new DialogEnv);

namespace {

constexpr int kFormDlg = 901;
constexpr int kLayoutDlg = 902;
constexpr int kIdText = 300, kIdChk = 401, kIdDisabledChk = 402;
constexpr int kIdRadio1 = 501, kIdRadio2 = 502, kIdRadio3 = 503;

// A dialog with a text, two check boxes (the second disabled), a radio
// group of three and OK / Cancel; its variables are attached to the check
// box and the group.
void AddFormTemplate() {
  AddTemplate(kFormDlg, CSize(160, 110),
              {MakeCtrl(kCtrlStaticText, kIdText, 5, 5, 100, 10, "Options"),
               MakeCtrl(kCtrlCheckBox, kIdChk, 5, 18, 100, 10, "Check", kCtrlStyleTabStop),
               MakeCtrl(kCtrlCheckBox, kIdDisabledChk, 5, 30, 100, 10, "Off",
                        kCtrlStyleTabStop | kCtrlStyleDisabled),
               MakeCtrl(kCtrlRadioButton, kIdRadio1, 5, 42, 100, 10, "One", kCtrlStyleTabStop, 1),
               MakeCtrl(kCtrlRadioButton, kIdRadio2, 5, 54, 100, 10, "Two"),
               MakeCtrl(kCtrlRadioButton, kIdRadio3, 5, 66, 100, 10, "Three"),
               MakeCtrl(kCtrlPushButton, IDOK, 10, 85, 50, 14, "OK", kCtrlStyleTabStop),
               MakeCtrl(kCtrlPushButton, IDCANCEL, 80, 85, 50, 14, "Cancel", kCtrlStyleTabStop)});
}

class FormDlg : public ADialog {
 public:
  FormDlg() : ADialog(kFormDlg, nullptr) {}
  void MemVarAttaches() override {
    MemVarAttach(kIdChk, &check);
    MemVarAttach(kIdRadio2, &radio);  // any radio of the group carries it
  }
  int CtrlEvProc(unsigned long window, int id, unsigned long code, XEvent* event) override {
    events.emplace_back(id, code);
    return ADialog::CtrlEvProc(window, id, code, event);
  }
  int Clicks(int id) const {
    int n = 0;
    for (const auto& e : events) n += e.first == id && e.second == kCtrlEvClick;
    return n;
  }
  int check = 0;
  int radio = -1;
  std::vector<std::pair<int, unsigned long>> events;
};

class DialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(TheApp().user, nullptr);
    AddFormTemplate();
    TheApp().steps.clear();
    TheApp().watchdogFired = false;
  }
  void TearDown() override {
    EXPECT_FALSE(TheApp().watchdogFired) << "the dialog outlived its script";
  }
  DialogTestApp& app = TheApp();
};

unsigned long Win(ADialog& d, int id) { return d.GetCtrlWin(id); }
int CenterX(ADialog& d, int id) { return d.GetCtrl(id)->m_szWin.cx / 2; }
int CenterY(ADialog& d, int id) { return d.GetCtrl(id)->m_szWin.cy / 2; }
void ClickCtrl(ADialog& d, int id) { TheApp().ClickAt(Win(d, id), CenterX(d, id), CenterY(d, id)); }

TEST_F(DialogTest, OkStoresTheVariablesAndReturns1) {
  FormDlg dlg;
  dlg.radio = 0;
  app.Then([&] { ClickCtrl(dlg, kIdChk); });
  app.Then([&] { ClickCtrl(dlg, kIdRadio3); });
  app.Then([&] { ClickCtrl(dlg, IDOK); });
  EXPECT_EQ(dlg.ActModal(), 1);
  EXPECT_EQ(dlg.check, 1);
  EXPECT_EQ(dlg.radio, 2);
  EXPECT_EQ(dlg.m_hWnd, 0UL);
}

TEST_F(DialogTest, CancelLeavesTheVariablesAndReturns2) {
  FormDlg dlg;
  dlg.radio = 1;
  app.Then([&] { ClickCtrl(dlg, kIdChk); });
  app.Then([&] {
    EXPECT_EQ(dlg.IsBtnChecked(kIdChk), 1);
    ClickCtrl(dlg, IDCANCEL);
  });
  EXPECT_EQ(dlg.ActModal(), 2);
  EXPECT_EQ(dlg.check, 0);
  EXPECT_EQ(dlg.radio, 1);
}

TEST_F(DialogTest, EscapeKeepsThePresetResult) {
  FormDlg dlg;
  app.Then([&] { app.Key(XK_Escape); });
  EXPECT_EQ(dlg.ActModal(), 0);
  FormDlg preset;
  preset.m_nResult = 2;
  app.Then([&] { app.Key(XK_Escape); });
  EXPECT_EQ(preset.ActModal(), 2);
}

TEST_F(DialogTest, ReturnOnAFocusedButtonClicksIt) {
  FormDlg dlg;
  app.Then([&] { ClickCtrl(dlg, kIdChk); });  // focus, checked
  app.Then([&] { app.Key(XK_Tab, true); });   // back to Cancel (wraps)
  app.Then([&] {
    EXPECT_EQ(dlg.m_nFocusID, IDCANCEL);
    app.Key(XK_Return);
  });
  EXPECT_EQ(dlg.ActModal(), 2);
}

TEST_F(DialogTest, FirstFocusAndTabWrap) {
  FormDlg dlg;  // no radio checked: the group is passed over by the first focus
  std::vector<int> seen;
  auto record = [&] {
    seen.push_back(dlg.m_nFocusID);
    unsigned long focus = 0;
    int revert = 0;
    XGetInputFocus(dsply, &focus, &revert);
    EXPECT_EQ(focus, Win(dlg, dlg.m_nFocusID)) << "the X focus follows";
  };
  app.Then(record);
  for (int i = 0; i < 4; ++i) {
    app.Then([&] { app.Key(XK_Tab); });
    app.Then(record);
  }
  app.Then([&] { app.Key(XK_Tab, true); });
  app.Then(record);
  app.Then([&] { app.Key(XK_Escape); });
  dlg.ActModal();
  // The disabled check box is no stop; Tab into the unchecked group lands on
  // its first radio; from the last stop Tab wraps, Shift+Tab from the first
  // goes to the last.
  const std::vector<int> want = {kIdChk, kIdRadio1, IDOK, IDCANCEL, kIdChk, IDCANCEL};
  EXPECT_EQ(seen, want);
}

TEST_F(DialogTest, DefaultButtonTakesTheFirstFocusOverOtherButtons) {
  AddTemplate(903, CSize(100, 40),
              {MakeCtrl(kCtrlStaticText, 1, 5, 5, 50, 10, "x"),
               MakeCtrl(kCtrlPushButton, IDOK, 5, 20, 40, 14, "OK", kCtrlStyleTabStop),
               MakeCtrl(kCtrlPushButton, IDCANCEL, 50, 20, 40, 14, "Cancel", kCtrlStyleTabStop)});
  struct DefDlg : ADialog {
    DefDlg() : ADialog(903, nullptr) {}
    int InitDlg() override {
      ADialog::InitDlg();
      SetDefltBtn(IDCANCEL);
      return 1;
    }
  } dlg;
  app.Then([&] {
    EXPECT_EQ(dlg.m_nFocusID, IDCANCEL);
    app.Key(XK_Return);
  });
  EXPECT_EQ(dlg.ActModal(), 2);
}

TEST_F(DialogTest, RadioGroupArrowsWrapAndClicksUncheckTheRest) {
  FormDlg dlg;
  dlg.radio = 0;
  std::vector<int> checked;
  auto record = [&] {
    AWnd* c = dlg.FindCheckedRadioBtnInGrp(kIdRadio1);
    checked.push_back(c ? c->m_nID : -1);
  };
  app.Then([&] {
    EXPECT_EQ(dlg.m_nFocusID, kIdChk);
    app.Key(XK_Tab);  // into the group: its checked radio
  });
  app.Then([&] {
    EXPECT_EQ(dlg.m_nFocusID, kIdRadio1);
    app.Key(XK_Up);  // wraps to the last
  });
  app.Then(record);
  app.Then([&] {
    EXPECT_EQ(dlg.m_nFocusID, kIdRadio3);
    app.Key(XK_Down);  // wraps to the first
  });
  app.Then(record);
  app.Then([&] { ClickCtrl(dlg, kIdRadio2); });
  app.Then([&] {
    record();
    int n = 0;
    for (int id : {kIdRadio1, kIdRadio2, kIdRadio3})
      n += static_cast<ARdo*>(dlg.GetCtrl(id))->m_bChecked;
    EXPECT_EQ(n, 1);
    EXPECT_EQ(dlg.IsBtnChecked(kIdRadio2), -1);  // not a check box
    ClickCtrl(dlg, IDOK);
  });
  EXPECT_EQ(dlg.ActModal(), 1);
  EXPECT_EQ(checked, (std::vector<int>{kIdRadio3, kIdRadio1, kIdRadio2}));
  EXPECT_EQ(dlg.radio, 1);
}

TEST_F(DialogTest, RadioIndexBeyondTheGroupChecksTheLastAndNegativeClearsAll) {
  FormDlg dlg;
  dlg.radio = 5;
  app.Then([&] {
    EXPECT_EQ(dlg.FindCheckedRadioBtnInGrp(kIdRadio1), dlg.GetCtrl(kIdRadio3));
    dlg.radio = -1;
    dlg.SyncMemVars(0);
    EXPECT_EQ(dlg.FindCheckedRadioBtnInGrp(kIdRadio1), nullptr);
    app.Key(XK_Escape);
  });
  dlg.ActModal();
}

TEST_F(DialogTest, ButtonReleasedOutsideItselfReportsNoClick) {
  FormDlg dlg;
  app.Then([&] { app.PressAt(Win(dlg, IDOK), 5, 5); });
  app.Then([&] {
    EXPECT_TRUE(static_cast<ABtn*>(dlg.GetCtrl(IDOK))->m_bPressed);
    CRect rc;
    GetWinRect(Win(dlg, IDOK), &rc);
    app.MoveTo(rc.left - 30, rc.top - 30);  // off the button, still inside the dialog
  });
  app.Then([&] { app.Release(); });
  app.Then([&] {
    EXPECT_FALSE(static_cast<ABtn*>(dlg.GetCtrl(IDOK))->m_bPressed);
    EXPECT_EQ(dlg.Clicks(IDOK), 0);
    EXPECT_FALSE(dlg.IsDlgEnded());
    app.Key(XK_Escape);
  });
  EXPECT_EQ(dlg.ActModal(), 0);
  EXPECT_EQ(dlg.Clicks(IDOK), 0);
}

TEST_F(DialogTest, DisabledCheckBoxIgnoresClicksAndKeys) {
  FormDlg dlg;
  app.Then([&] { ClickCtrl(dlg, kIdDisabledChk); });
  app.Then([&] {
    // Space reaches whatever has the focus: give it to the disabled box.
    XSetInputFocus(dsply, Win(dlg, kIdDisabledChk), RevertToParent, CurrentTime);
    XSync(dsply, False);
    app.Key(XK_space);
  });
  app.Then([&] {
    EXPECT_EQ(dlg.IsBtnChecked(kIdDisabledChk), 0);
    EXPECT_EQ(dlg.Clicks(kIdDisabledChk), 0);
    // The enabled one toggles on space.
    XSetInputFocus(dsply, Win(dlg, kIdChk), RevertToParent, CurrentTime);
    XSync(dsply, False);
    app.Key(XK_space);
  });
  app.Then([&] {
    EXPECT_EQ(dlg.IsBtnChecked(kIdChk), 1);
    EXPECT_EQ(dlg.Clicks(kIdChk), 1);
    app.Key(XK_Escape);
  });
  dlg.ActModal();
}

TEST_F(DialogTest, MissingTemplateEndsAtOnceAsCancelled) {
  ADialog dlg(4242, nullptr);
  EXPECT_EQ(dlg.Create(), -999);
  EXPECT_EQ(dlg.ActModal(), 2);
  EXPECT_TRUE(app.steps.empty());
}

// A subclass puts its own button in place of OK; the dialog frees only the
// controls it made, and the stand-in gives OK back when it goes (ASan checks
// that nothing is freed twice or leaked).
TEST_F(DialogTest, StandInControlBelongsToTheSubclass) {
  struct CountingBtn : ABtn {
    int CtrlEvProc(unsigned long w, int id, unsigned long code, XEvent* e) override {
      presses += code == kCtrlEvPress;
      return 1;
    }
    int presses = 0;
  };
  struct StandInDlg : FormDlg {
    int InitDlg() override {
      FormDlg::InitDlg();
      original = GetCtrl(IDOK);
      replaced = stand.ReplaceDlgCtrl(IDOK, this);
      return 1;
    }
    CountingBtn stand;  // destructed before the ADialog part
    AWnd* original = nullptr;
    int replaced = 0;
  };
  {
    StandInDlg dlg;
    app.Then([&] {
      EXPECT_EQ(dlg.replaced, 1);
      EXPECT_EQ(dlg.GetCtrl(IDOK), &dlg.stand);
      EXPECT_EQ(dlg.GetDlgCtr(dlg.stand.m_hWnd), &dlg.stand);
      ClickCtrl(dlg, IDOK);
    });
    EXPECT_EQ(dlg.ActModal(), 1);
    EXPECT_EQ(dlg.stand.presses, 1);
  }
  // A dialog destructed while still built takes its windows with it.
  {
    FormDlg built;
    ASSERT_EQ(built.Create(), 1);
  }
}

// --- building ---------------------------------------------------------------

TEST_F(DialogTest, BuildingFollowsTheTemplate) {
  AddTemplate(kLayoutDlg, CSize(100, 50),
              {MakeCtrl(kCtrlPushButton, 10, 10, 10, 50, 14, "A"),
               MakeCtrl(kCtrlPushButton, 11, 10, 10, 50, 14, "Hidden", kCtrlStyleHidden),
               MakeCtrl(kCtrlCheckBox, 12, 10, 10, 50, 14, "Gone", kCtrlStyleHidden),
               MakeCtrl(kCtrlProgressBar, 13, 0, 0, 0, 0, ""),
               MakeCtrl(kCtrlRadioButton, 20, 0, 0, 10, 10, "r"),
               MakeCtrl(kCtrlRadioButton, 21, 0, 0, 10, 10, "r"),
               MakeCtrl(kCtrlStaticText, 30, 0, 0, 10, 10, "t"),
               MakeCtrl(kCtrlRadioButton, 22, 0, 0, 10, 10, "r"),
               MakeCtrl(kCtrlRadioButton, 23, 0, 0, 10, 10, "r", 0, 1),
               MakeCtrl(kCtrlBlackFrame, 40, 0, 0, 10, 10, "")});
  ADialog dlg(kLayoutDlg, nullptr);
  ASSERT_EQ(dlg.Create(), 1);
  // h = 20 on this screen: 2 pixels a unit; a title bar of 25.
  EXPECT_EQ(dlg.m_nFontH, 20);
  EXPECT_EQ(dlg.m_nCaptionH, 25);
  const CSize sz = GetWinSize(dlg.m_hWnd);
  EXPECT_EQ(sz.cx, 206);
  EXPECT_EQ(sz.cy, 25 + 100 + 6);
  CRect rc;
  GetWinRect(dlg.m_hWnd, &rc);
  EXPECT_EQ(rc.left, (1280 - 206) / 2);
  EXPECT_EQ(rc.top, (1024 - 131) / 2);
  AWnd* a = dlg.GetCtrl(10);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->m_rcWin, CRect(20, 45, 120, 73));
  EXPECT_EQ(IsWinShown(a->m_hWnd), 1);
  EXPECT_EQ(IsWinShown(dlg.GetCtrlWin(11)), 0);     // a hidden push button exists unmapped
  EXPECT_EQ(dlg.GetCtrl(12), nullptr);              // a hidden check box does not exist
  EXPECT_EQ(dlg.GetCtrl(40), nullptr);              // no class for a black frame
  EXPECT_EQ(dlg.GetCtrl(13)->m_rcWin.Width(), 90);  // minimum sizes
  EXPECT_EQ(dlg.GetCtrl(13)->m_rcWin.Height(), 100);
  EXPECT_EQ(dlg.m_mapRadio[20], 1001);
  EXPECT_EQ(dlg.m_mapRadio[21], 1001);
  EXPECT_EQ(dlg.m_mapRadio[22], 1002);  // a text between splits
  EXPECT_EQ(dlg.m_mapRadio[23], 1003);  // so does a group flag
  EXPECT_EQ(dlg.m_arrCtrls.size(), 8u);
  dlg.Destroy();
  EXPECT_EQ(dlg.m_hWnd, 0UL);
  EXPECT_TRUE(dlg.m_arrCtrls.empty());
}

TEST_F(DialogTest, ProgressBarFillsItsShareInBlue) {
  AddTemplate(904, CSize(120, 30), {MakeCtrl(kCtrlProgressBar, 50, 0, 0, 100, 10, "")});
  ADialog dlg(904, nullptr);
  ASSERT_EQ(dlg.Create(), 1);
  EXPECT_EQ(dlg.SendCtrlEv(50, WM_CTRL_SETPOS, 50, 0), 1);
  XSync(dsply, False);
  const unsigned long win = dlg.GetCtrlWin(50);
  XImage* img = XGetImage(dsply, win, 0, 0, 200, 20, AllPlanes, ZPixmap);
  ASSERT_NE(img, nullptr);
  EXPECT_EQ(XGetPixel(img, 0, 5), 0x0000ffUL);
  EXPECT_EQ(XGetPixel(img, 99, 5), 0x0000ffUL);
  EXPECT_EQ(XGetPixel(img, 100, 5), 0xc7c7c7UL);
  XDestroyImage(img);
  dlg.Destroy();
}

TEST_F(DialogTest, GroupBoxFrameAndTitle) {
  AddTemplate(905, CSize(150, 100), {MakeCtrl(kCtrlGroupBox, 60, 5, 5, 100, 50, "Group")});
  ADialog dlg(905, nullptr);
  ASSERT_EQ(dlg.Create(), 1);
  auto* box = dynamic_cast<AText*>(dlg.GetCtrl(60));
  ASSERT_NE(box, nullptr);
  ASSERT_EQ(dlg.m_arrGrpFrames.GetSize(), 1);
  const CRect frame = dlg.m_arrGrpFrames[0];
  EXPECT_EQ(frame.left, 10);
  EXPECT_EQ(frame.right, 210);
  EXPECT_EQ(frame.bottom, 35 + 100);
  EXPECT_GT(frame.top, 35);  // half a title height below the box's top
  EXPECT_EQ(dlg.m_arrGrpTitles[0], box->m_hWnd);
  dlg.Destroy();
}

}  // namespace
