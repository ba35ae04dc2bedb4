// List boxes on the private Xvfb: their geometry and bars with real text
// widths, a list built from a dialog template through the builder's seam,
// its messages, and clicks and keys of a user on a second connection
// (XTest). The drawn list is saved to build/screenshots/.
#include "tests/controls/DialogTestApp.h"

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "controls/ALbx.h"
#include "controls/AScrl.h"
#include "controls/CtrlConsts.h"
#include "framework/WinMsg.h"
#include "framework/internal/Clock.h"
#include "tests/support/Screenshot.h"

DialogTestApp& TheApp() {
  static DialogTestApp app;
  return app;
}
static auto* const kEnv = ::testing::AddGlobalTestEnvironment(new DialogEnv);

namespace {

constexpr int kHostDlg = 930;  // an empty dialog that hosts hand-made lists
constexpr int kListDlg = 931;  // a list box, OK and Cancel
constexpr int kIdList = 700;

const char kWide[] = "a row far wider than the list box that shows it, so it scrolls";
const char kChinese[] = "\xd6\xd0\xce\xc4\xc1\xd0\xb1\xed";  // GBK: zhong wen lie biao

class ListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(TheApp().user, nullptr);
    AddTemplate(kHostDlg, CSize(200, 150), {});
    AddTemplate(kListDlg, CSize(160, 120),
                {MakeCtrl(kCtrlListBox, kIdList, 5, 5, 120, 60, "", kCtrlStyleTabStop),
                 MakeCtrl(kCtrlPushButton, IDOK, 10, 90, 50, 14, "OK", kCtrlStyleTabStop),
                 MakeCtrl(kCtrlPushButton, IDCANCEL, 80, 90, 50, 14, "Cancel", kCtrlStyleTabStop)});
    TheApp().steps.clear();
    TheApp().watchdogFired = false;
  }
  void TearDown() override {
    EXPECT_FALSE(TheApp().watchdogFired) << "the dialog outlived its script";
  }
  DialogTestApp& app = TheApp();
};

bool Shown(const AScrl* bar) { return !bar->m_bHidden && IsWinShown(bar->m_hWnd); }

// A list 200 by 120 pixels at font height 16 in a built dialog: rows of 20,
// five visible, a window 100 high. The table adds rows one at a time and
// checks which bars show and the vertical bar's range and page.
TEST_F(ListTest, RowsAndBarsFollowTheContent) {
  ADialog host(kHostDlg, nullptr);
  ASSERT_EQ(host.Create(), 1);
  struct Step {
    const char* row;
    bool h, v;
    int vRange, vPage;
  };
  const std::vector<std::vector<Step>> lists = {
      // Short rows: the sixth shows the vertical bar, range 1, page 2.
      {{"one", false, false, 0, 0},
       {"two", false, false, 0, 0},
       {"three", false, false, 0, 0},
       {"four", false, false, 0, 0},
       {"five", false, false, 0, 0},
       {"six", false, true, 1, 2},
       {"seven", false, true, 2, 2}},
      // A wide row shows the horizontal bar; when the rows reach the visible
      // count the vertical bar shows as well (four rows fit above the bar).
      {{kWide, true, false, 0, 0},
       {"b", true, false, 0, 0},
       {"c", true, false, 0, 0},
       {"d", true, false, 0, 0},
       {"e", true, true, 1, 2}},
  };
  for (size_t n = 0; n < lists.size(); ++n) {
    ALbx lbx;
    lbx.m_nFontH = 16;
    ASSERT_EQ(lbx.Create(10, 40, 200, 120, "", &host, kIdList + static_cast<int>(n)), 1);
    EXPECT_EQ(lbx.m_nRowH, 20);
    EXPECT_EQ(lbx.m_nVisRows, 5);
    EXPECT_EQ(GetWinSize(lbx.m_hWnd), CSize(200, 100));
    EXPECT_EQ(lbx.m_rcList, CRect(10, 40, 210, 146));
    ASSERT_NE(lbx.m_pVScrl, nullptr);
    EXPECT_EQ(lbx.m_pVScrl->m_hWnd != 0 && lbx.m_pHScrl->m_hWnd != 0, true);
    EXPECT_FALSE(Shown(lbx.m_pVScrl.get()));
    EXPECT_FALSE(Shown(lbx.m_pHScrl.get()));
    for (const Step& s : lists[n]) {
      SCOPED_TRACE(testing::Message() << "list " << n << " row " << lbx.GetCount() << " " << s.row);
      lbx.AddRow(s.row);
      XSync(dsply, False);
      EXPECT_EQ(Shown(lbx.m_pHScrl.get()), s.h);
      EXPECT_EQ(Shown(lbx.m_pVScrl.get()), s.v);
      if (s.v) {
        EXPECT_EQ(lbx.m_pVScrl->m_nMax, s.vRange);
        EXPECT_EQ(lbx.m_pVScrl->m_nPage, s.vPage);
      }
    }
    if (n == 1) {
      // At its last position the horizontal bar brings the end of the wide
      // row to the right edge of the rows' band.
      AScrl& h = *lbx.m_pHScrl;
      EXPECT_GT(h.m_nMax, 0);
      h.SetThumPos(h.m_nMax);
      const int rowW = lbx.m_arrItems[0].m_nWidth;
      EXPECT_EQ(lbx.m_nWidest, rowW + 3);
      EXPECT_LE(3 + rowW - std::min(h.m_nMax * lbx.m_nFontH, lbx.m_nWidest - lbx.m_nTextW),
                lbx.m_nTextW + 3);
      // Removing the wide row takes the horizontal bar away again.
      EXPECT_EQ(lbx.RemoveRow(0), 1);
      EXPECT_TRUE(lbx.m_pHScrl->m_bHidden);
      EXPECT_EQ(lbx.m_nWidest, lbx.GetLBWidth(-1));
    }
    lbx.Destroy();
  }
  host.Destroy();
}

// Built from a template through the seam; filled and read by messages.
TEST_F(ListTest, MessagesFillReadAndSelect) {
  ADialog dlg(kListDlg, nullptr);
  ASSERT_EQ(dlg.Create(), 1);
  auto* lbx = dynamic_cast<ALbx*>(dlg.GetCtrl(kIdList));
  ASSERT_NE(lbx, nullptr) << "the builder makes list boxes through its seam";
  EXPECT_EQ(lbx->m_nRowH, 26);  // the dialog's font height 20
  // The two bars joined the control list after the list box.
  EXPECT_EQ(dlg.GetDlgCtr(lbx->m_pVScrl->m_hWnd), lbx->m_pVScrl.get());
  EXPECT_EQ(dlg.GetDlgCtr(lbx->m_pHScrl->m_hWnd), lbx->m_pHScrl.get());
  const char* rows[] = {"alpha", "beta", "gamma"};
  for (const char* r : rows)
    EXPECT_EQ(dlg.SendCtrlEv(kIdList, WM_LBX_ADDROW, 0, reinterpret_cast<unsigned long>(r)), 1);
  EXPECT_EQ(dlg.SendCtrlEv(kIdList, WM_LBX_ADDROW, 0, 0), 0);  // no text, no row
  EXPECT_EQ(dlg.SendCtrlEv(kIdList, WM_LBX_COUNT, 0, 0), 3);
  // 1302 into a buffer of 4: three bytes and the NUL, answering the length.
  char buf[16];
  std::memset(buf, 'x', sizeof buf);
  EXPECT_EQ(dlg.SendCtrlEv(kIdList, WM_LBX_GETTEXT, 2, reinterpret_cast<unsigned long>(buf), 4), 5);
  EXPECT_STREQ(buf, "gam");
  EXPECT_EQ(buf[4], 'x');
  // Sent without a size (two words), nothing is written.
  std::memset(buf, 'x', sizeof buf);
  EXPECT_EQ(dlg.SendCtrlEv(kIdList, WM_LBX_GETTEXT, 1, reinterpret_cast<unsigned long>(buf)), 4);
  EXPECT_EQ(buf[0], 'x');
  EXPECT_EQ(dlg.SendCtrlEv(kIdList, WM_LBX_GETTEXT, 3, reinterpret_cast<unsigned long>(buf), 16),
            -1);
  EXPECT_EQ(dlg.SendCtrlEv(kIdList, WM_LBX_GETTEXT, static_cast<unsigned long>(-1),
                           reinterpret_cast<unsigned long>(buf), 16),
            -1);
  // 1306 selects, held inside the rows.
  EXPECT_EQ(dlg.SendCtrlEv(kIdList, WM_LBX_SETSEL, 7, 0), 1);
  EXPECT_EQ(lbx->GetSel(), 2);
  // 1303 of the selected last row: the selection goes with it.
  EXPECT_EQ(dlg.SendCtrlEv(kIdList, WM_LBX_DELROW, 2, 0), 1);
  EXPECT_EQ(lbx->GetSel(), -1);
  EXPECT_EQ(dlg.SendCtrlEv(kIdList, WM_LBX_DELROW, 2, 0), 0);
  EXPECT_EQ(dlg.SendCtrlEv(kIdList, WM_LBX_COUNT, 0, 0), 2);
  dlg.Destroy();
  EXPECT_EQ(lbx->m_hWnd, 0UL);
  EXPECT_EQ(lbx->m_pVScrl->m_hWnd, 0UL);
}

// Records what the list box reports.
class ListDlg : public ADialog {
 public:
  ListDlg() : ADialog(kListDlg, nullptr) {}
  int InitDlg() override {
    ADialog::InitDlg();
    lbx = dynamic_cast<ALbx*>(GetCtrl(kIdList));
    if (!lbx) return 1;
    const std::string rows[] = {"first", kChinese, "third", "fourth", "fifth", "sixth", kWide};
    for (const std::string& r : rows)
      SendCtrlEv(kIdList, WM_LBX_ADDROW, 0, reinterpret_cast<unsigned long>(r.c_str()));
    return 1;
  }
  int CtrlEvProc(unsigned long window, int id, unsigned long code, XEvent* event) override {
    if (id == kIdList) codes.push_back(code);
    return ADialog::CtrlEvProc(window, id, code, event);
  }
  ALbx* lbx = nullptr;
  std::vector<unsigned long> codes;
};

// The click counting reads this clock: presses the test means as single
// clicks are a second apart, the two of a double click at the same time.
uint32_t g_nowMs = 1;
uint32_t TestClock() { return g_nowMs; }

TEST_F(ListTest, ClicksKeysAndADoubleClick) {
  afc::SetClockForTest(TestClock);
  ListDlg dlg;
  auto rowY = [&](int row) { return row * dlg.lbx->m_nRowH + dlg.lbx->m_nRowH / 2; };
  app.Then([&] {
    ASSERT_NE(dlg.lbx, nullptr);
    EXPECT_EQ(dlg.m_nFocusID, kIdList);  // the first tab stop
    g_nowMs += 1000;
    app.ClickAt(dlg.lbx->m_hWnd, 20, rowY(2));
  });
  app.Then([&] {
    EXPECT_EQ(dlg.lbx->GetSel(), 2);
    EXPECT_EQ(dlg.codes, std::vector<unsigned long>{kCtrlEvRowClick});
    app.Key(XK_Down);
  });
  app.Then([&] {
    EXPECT_EQ(dlg.lbx->GetSel(), 3);
    app.Key(XK_Up, false);
    app.Key(XK_Up, false);
  });
  app.Then([&] {
    EXPECT_EQ(dlg.lbx->GetSel(), 1);
    dlg.codes.clear();
    // Two presses within the double-click interval.
    g_nowMs += 1000;
    app.ClickAt(dlg.lbx->m_hWnd, 20, rowY(0));
    app.ClickAt(dlg.lbx->m_hWnd, 20, rowY(0));
  });
  app.Then([&] {
    // One click for the first press, the double click for the second, and
    // no click of its own for the second press.
    EXPECT_EQ(dlg.codes, (std::vector<unsigned long>{kCtrlEvRowClick, kCtrlEvRowDblClick}));
    EXPECT_EQ(dlg.lbx->GetSel(), 0);
    dlg.SendCtrlEv(kIdList, WM_LBX_SETSEL, 1, 0);
  });
  app.ThenWhen(
      [&] { return dlg.lbx->GetSel() == 1; },
      [&] {
        const ALbx& l = *dlg.lbx;
        const CSize sz = GetWinSize(dlg.m_hWnd);
        EXPECT_EQ(kvrtest::SaveWindowShot(dsply, dlg.m_hWnd, "list_box", sz.cx, sz.cy), "");
        // The selected row is filled blue (the list has the focus), the others
        // white; both bars show for seven rows with a wide one.
        const kvrtest::Pixels px = kvrtest::Grab(dsply, l.m_hWnd, l.m_szWin.cx, l.m_szWin.cy);
        ASSERT_GT(px.w, 0);
        EXPECT_EQ(px.At(l.m_nTextW - 2, 3 + l.m_nRowH + 2), 0x0000ffu);
        EXPECT_EQ(px.At(l.m_nTextW - 2, 3 + 2 * l.m_nRowH + 2), 0xffffffu);
        EXPECT_TRUE(Shown(l.m_pVScrl.get()));
        EXPECT_TRUE(Shown(l.m_pHScrl.get()));
        app.Key(XK_Return);  // no default button: nothing
      });
  app.Then([&] {
    EXPECT_FALSE(dlg.IsDlgEnded());
    app.Key(XK_Escape);
  });
  dlg.ActModal();
  afc::SetClockForTest(nullptr);
}

}  // namespace
