// Combo boxes on the private Xvfb: their geometry at the dialog's font
// height, the drop-list kind's key steps, its list dropped by the space
// key's release, by the arrow and by the pointer, the selection that the
// list leaves (hover then Escape, re-choosing the selected row), and the
// messages. The dropped list is saved to build/screenshots/.
#include "tests/controls/DialogTestApp.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "controls/ABtn.h"
#include "controls/ACmbo.h"
#include "controls/AMenu.h"
#include "controls/CtrlConsts.h"
#include "framework/Clipboard.h"
#include "framework/WinMsg.h"
#include "tests/support/Screenshot.h"

DialogTestApp& TheApp() {
  static DialogTestApp app;
  return app;
}
static auto* const kEnv = ::testing::AddGlobalTestEnvironment(new DialogEnv);

namespace {

constexpr int kHostDlg = 940;   // an empty dialog that hosts hand-made combo boxes
constexpr int kComboDlg = 941;  // a drop-list combo box and OK
constexpr int kIdCombo = 720;

// A dialog that records the notifications of its controls.
class RecDlg : public ADialog {
 public:
  explicit RecDlg(int id) : ADialog(id, nullptr) {}
  int CtrlEvProc(unsigned long window, int id, unsigned long code, XEvent* event) override {
    if (id == kIdCombo) codes.push_back(code);
    return ADialog::CtrlEvProc(window, id, code, event);
  }
  std::vector<unsigned long> codes;
};

class ComboTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(TheApp().user, nullptr);
    AddTemplate(kHostDlg, CSize(200, 150), {});
    AddTemplate(kComboDlg, CSize(160, 100),
                {MakeCtrl(kCtrlComboBox, kIdCombo, 5, 5, 120, 60, "",
                          kCtrlStyleTabStop | kCtrlStyleDropList),
                 MakeCtrl(kCtrlPushButton, IDOK, 10, 70, 50, 14, "OK", kCtrlStyleTabStop)});
    TheApp().steps.clear();
    TheApp().watchdogFired = false;
  }
  void TearDown() override {
    EXPECT_FALSE(TheApp().watchdogFired) << "the dialog outlived its script";
  }
  DialogTestApp& app = TheApp();
};

// A combo box made the way the dialog builder makes one.
std::unique_ptr<ACmbo> MakeCombo(ADialog& dlg, int fontH, uint32_t style, int x, int y, int cx,
                                 int cy, std::initializer_list<const char*> rows = {}) {
  auto c = std::make_unique<ACmbo>();
  c->m_ctrlTmpl = MakeCtrl(kCtrlComboBox, kIdCombo, 0, 0, 0, 0, "", style);
  c->m_nFontH = fontH;
  EXPECT_EQ(c->Create(x, y, cx, cy, "", &dlg, kIdCombo), 1);
  for (const char* r : rows) c->AddRow(r);
  return c;
}

std::string Text(ACmbo& c) { return static_cast<const char*>(c.GetText()); }

// At font height 20 a combo box is 20 * 1.3 + 6 = 32 pixels tall whatever
// its template says; the edit part is cx - 32 wide and the 32 by 32 arrow
// lies beside it, 2 pixels to the left.
TEST_F(ComboTest, HeightAndArrowFollowTheFontHeight) {
  RecDlg host(kHostDlg);
  ASSERT_EQ(host.Create(), 1);
  struct Case {
    int fontH, cx, cy, h;
  } cases[] = {{20, 200, 14, 32}, {20, 200, 300, 32}, {16, 150, 40, 26}};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.fontH * 1000 + k.cy);
    auto c = MakeCombo(host, k.fontH, 0, 10, 40, k.cx, k.cy);
    EXPECT_EQ(c->m_szWin, CSize(k.cx - k.h, k.h));
    EXPECT_EQ(GetWinSize(c->m_hWnd), CSize(k.cx - k.h, k.h));
    EXPECT_EQ(c->m_rcEdit, CRect(10, 40, 10 + k.cx - k.h, 40 + k.h));
    EXPECT_EQ(c->m_rcBtn, CRect(10 + k.cx - k.h, 40, 10 + k.cx, 40 + k.h));
    ASSERT_NE(c->m_pArrow, nullptr);
    EXPECT_EQ(c->m_pArrow->m_bCmboArrow, 1);
    EXPECT_EQ(c->m_pArrow->m_rcWin, CRect(10 + k.cx - k.h - 2, 40, 10 + k.cx - 2, 40 + k.h));
    // The arrow is a window of the dialog but never a tab stop.
    EXPECT_NE(host.GetDlgCtr(c->m_pArrow->m_hWnd), nullptr);
    EXPECT_EQ(host.IsTabStop(c->m_pArrow.get()), 0);
    EXPECT_EQ(c->m_list.m_nMinWidth, k.cx - k.h);
  }
  host.Destroy();
}

// The drop-list kind steps through its rows with the arrow and page keys,
// wrapping, shows the new row and tells the dialog code 1. Other keys step
// nothing; an empty list stays as it is.
TEST_F(ComboTest, DropListKeysStepAndWrap) {
  RecDlg host(kHostDlg);
  ASSERT_EQ(host.Create(), 1);
  struct Case {
    std::vector<const char*> rows;
    int sel;
    KeySym key;
    int want;
    const char* text;
    bool notified;
  } cases[] = {
      {{"A", "B", "C"}, 2, XK_Down, 0, "A", true},
      {{"A", "B", "C"}, 0, XK_Up, 2, "C", true},
      {{"A", "B", "C"}, 1, XK_Right, 2, "C", true},
      {{"A", "B", "C"}, 1, XK_Left, 0, "A", true},
      {{"A", "B", "C"}, 2, XK_Next, 0, "A", true},
      {{"A", "B", "C"}, 0, XK_Prior, 2, "C", true},
      // From no selection Down goes to the first row, Up to the last.
      {{"A", "B", "C"}, -1, XK_Down, 0, "A", true},
      {{"A", "B", "C"}, -1, XK_Up, 2, "C", true},
      // No rows: nothing changes and nobody is told.
      {{}, -1, XK_Down, -1, "", false},
      {{}, -1, XK_Up, -1, "", false},
      // Keys that do not step.
      {{"A", "B", "C"}, 1, XK_Home, 1, "B", false},
      {{"A", "B", "C"}, 1, XK_a, 1, "B", false},
      {{"A", "B", "C"}, 1, XK_space, 1, "B", false},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(std::to_string(k.rows.size()) + " rows, from " + std::to_string(k.sel) + ", key " +
                 XKeysymToString(k.key));
    auto c = MakeCombo(host, 20, kCtrlStyleDropList, 10, 40, 200, 14);
    ASSERT_EQ(c->m_bDropList, 1);
    for (const char* r : k.rows) c->AddRow(r);
    c->SetSel(k.sel);
    host.codes.clear();
    XEvent ev = SynthKey(c->m_hWnd, k.key, true);
    c->Winproc(&ev);
    EXPECT_EQ(c->GetSel(), k.want);
    EXPECT_EQ(Text(*c), k.text);
    EXPECT_EQ(host.codes, k.notified ? std::vector<unsigned long>{kCtrlEvSelChange}
                                     : std::vector<unsigned long>{});
  }
  host.Destroy();
}

// SetSel past the end selects the last row and shows it; the messages add
// rows, select and answer the selection.
TEST_F(ComboTest, SelectionByCallAndByMessage) {
  RecDlg host(kHostDlg);
  ASSERT_EQ(host.Create(), 1);
  auto c = MakeCombo(host, 20, kCtrlStyleDropList, 10, 40, 200, 14);
  for (const char* r : {"one", "two", "three"})
    SendWinEvent(c->m_hWnd, WM_CMBO_ADDROW, 0, reinterpret_cast<unsigned long>(r));
  EXPECT_EQ(c->GetCount(), 3);
  c->SetSel(5);
  EXPECT_EQ(c->GetSel(), 2);
  EXPECT_EQ(Text(*c), "three");
  EXPECT_EQ(SendWinEvent(c->m_hWnd, WM_CMBO_SETSEL, 1, 0), 1);
  EXPECT_EQ(SendWinEvent(c->m_hWnd, WM_CMBO_GETSEL, 0, 0), 1);
  EXPECT_EQ(Text(*c), "two");
  // Setting the selection never notifies.
  EXPECT_TRUE(host.codes.empty());
  host.Destroy();
}

// The editable kind: the engine's text (message 1400) erases a character
// per leading 0x08 and is inserted at the caret, the selection kept and
// nothing told; Ctrl+V pastes once per press.
TEST_F(ComboTest, EditableKindTakesEngineTextAndPastesOnce) {
  RecDlg host(kHostDlg);
  ASSERT_EQ(host.Create(), 1);
  auto c = MakeCombo(host, 20, 0, 10, 40, 200, 14);
  ASSERT_EQ(c->m_bDropList, 0);
  c->SetText("abcd");
  c->m_nCaretCol = 4;
  c->m_ptSelAnchor = c->m_ptSelEnd = CPoint(4, 0);
  const char text[] =
      "\x08\x08"
      "\xd6\xd0";
  EXPECT_EQ(SendWinEvent(c->m_hWnd, WM_EDT_ENGINETEXT, reinterpret_cast<unsigned long>(text), 0),
            1);
  EXPECT_EQ(Text(*c), "ab\xd6\xd0");
  EXPECT_TRUE(host.codes.empty());

  // The clipboard belongs to the application's main window.
  TheApp().InitMainWindows(host.m_hWnd, &host);
  char copied[] = "xy";
  ASSERT_EQ(SetClipbrdText(copied, 0), 1);
  c->SetText("");
  XEvent press = SynthKey(c->m_hWnd, XK_v, true, ControlMask);
  c->Winproc(&press);
  XEvent release = SynthKey(c->m_hWnd, XK_v, false, ControlMask);
  c->Winproc(&release);
  EXPECT_EQ(Text(*c), "xy");
  ClearMyClipboard();
  TheApp().InitMainWindows(0, nullptr);
  host.Destroy();
}

class ComboDlg : public RecDlg {
 public:
  ComboDlg() : RecDlg(kComboDlg) {}
  int InitDlg() override {
    RecDlg::InitDlg();
    combo = dynamic_cast<ACmbo*>(GetCtrl(kIdCombo));
    if (combo)
      for (const char* r : {"Apple", "Banana", "Cherry", "Damson"}) combo->AddRow(r);
    if (combo) combo->SetSel(1);
    return 1;
  }
  ACmbo* combo = nullptr;
};

int RowMidY(const AMenu& m, int row) {
  const int top = row == 0 ? 0 : m.m_arrRowBottoms[row - 1];
  return (top + m.m_arrRowBottoms[row]) / 2;
}

// The list drops on the space key's release (not its press), on the
// arrow's click and on a click on the edit part. Hovering over a row and
// pressing Escape makes that row the selection with code 1; choosing the
// selected row again changes nothing and tells nothing.
TEST_F(ComboTest, TheDroppedListChoosesTheSelection) {
  ComboDlg dlg;
  ACmbo*& c = dlg.combo;
  const KeyCode space = XKeysymToKeycode(app.user, XK_space);
  app.Then([&] {
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(dlg.m_nFocusID, kIdCombo);
    EXPECT_EQ(Text(*c), "Banana");
    XTestFakeKeyEvent(app.user, space, True, 0);
    XSync(app.user, False);
  });
  app.Then([&] {
    EXPECT_EQ(gbMnuUp, 0);  // a press drops nothing
    XTestFakeKeyEvent(app.user, space, False, 0);
    XSync(app.user, False);
  });
  // The list is up (its own loop runs these steps): hover over row 3.
  app.ThenWhen(
      [&] { return c->m_list.m_hWnd && IsWinShown(c->m_list.m_hWnd); },
      [&] {
        EXPECT_EQ(c->m_bDropping, 1);
        EXPECT_EQ(c->m_list.m_nCurRow, 1);  // the selection is highlighted
        const CSize sz = GetWinSize(c->m_list.m_hWnd);
        EXPECT_EQ(kvrtest::SaveWindowShot(dsply, c->m_list.m_hWnd, "combo_list", sz.cx, sz.cy), "");
        EXPECT_GE(c->m_list.m_size.cx, c->m_szWin.cx);
        app.MoveTo(c->m_list.m_rect.left + 10, c->m_list.m_rect.top + RowMidY(c->m_list, 3));
      });
  app.Then([&] {
    EXPECT_EQ(c->m_list.m_nCurRow, 3);
    app.Key(XK_Escape);
  });
  app.Then([&] {
    EXPECT_EQ(gbMnuUp, 0);
    EXPECT_EQ(c->m_bDropping, 0);
    EXPECT_EQ(c->GetSel(), 3);
    EXPECT_EQ(Text(*c), "Damson");
    EXPECT_EQ(dlg.codes, std::vector<unsigned long>{kCtrlEvSelChange});
    dlg.codes.clear();
    // The arrow drops the list as well.
    app.ClickAt(c->m_pArrow->m_hWnd, 10, 10);
  });
  app.ThenWhen([&] { return c->m_list.m_hWnd && IsWinShown(c->m_list.m_hWnd); },
               [&] {
                 // Return on the highlighted row: the selected row again.
                 EXPECT_EQ(c->m_list.m_nCurRow, 3);
                 app.Key(XK_Return);
               });
  app.Then([&] {
    EXPECT_EQ(gbMnuUp, 0);
    EXPECT_EQ(c->GetSel(), 3);
    EXPECT_TRUE(dlg.codes.empty());
    // A click on the edit part drops it too; the pointer then picks row 0.
    app.ClickAt(c->m_hWnd, 10, 10);
  });
  app.ThenWhen([&] { return c->m_list.m_hWnd && IsWinShown(c->m_list.m_hWnd); },
               [&] { app.ClickAt(c->m_list.m_hWnd, 10, RowMidY(c->m_list, 0)); });
  app.Then([&] {
    EXPECT_EQ(c->GetSel(), 0);
    EXPECT_EQ(Text(*c), "Apple");
    EXPECT_EQ(dlg.codes, std::vector<unsigned long>{kCtrlEvSelChange});
    // The keyboard focus is back on the combo box, which shows it.
    EXPECT_EQ(GetFocusWin(), c->m_hWnd);
    const kvrtest::Pixels px = kvrtest::Grab(dsply, c->m_hWnd, c->m_szWin.cx, c->m_szWin.cy);
    ASSERT_GT(px.w, 0);
    EXPECT_EQ(px.At(c->m_szWin.cx - 5, c->m_szWin.cy / 2), 0x0000afu);
    const CSize sz = GetWinSize(dlg.m_hWnd);
    EXPECT_EQ(kvrtest::SaveWindowShot(dsply, dlg.m_hWnd, "combo_drop_list", sz.cx, sz.cy), "");
    app.Key(XK_Escape);
  });
  dlg.ActModal();
}

}  // namespace
