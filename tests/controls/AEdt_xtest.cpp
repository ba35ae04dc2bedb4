// Edit controls on the private Xvfb: the text the engine commits (message
// 1400) with its BackSpace bytes, the way each key is routed (the dialog's
// own keys, the engine, the view, code 21) with the edit-key mark set for
// exactly the key's handling, presses in the view and in the frame, the
// text exchange, the tab walk into an edit control, read-only controls,
// and the shipped dialogs built with every control (pictures saved to
// build/screenshots/).
#include "tests/controls/DialogTestApp.h"

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "controls/ACmbo.h"
#include "controls/AEdt.h"
#include "controls/ALbx.h"
#include "controls/CtrlConsts.h"
#include "controls/EdtScrollBarBind.h"
#include "editor/AEdtStor.h"
#include "editor/EditorEngine.h"
#include "framework/WinMsg.h"
#include "tests/support/Screenshot.h"

DialogTestApp& TheApp() {
  static DialogTestApp app;
  return app;
}
static auto* const kEnv = ::testing::AddGlobalTestEnvironment(new DialogEnv);

namespace {

constexpr int kEditDlg = 950;  // two edit controls and OK
constexpr int kIdEdit = 730;
constexpr int kIdEdit2 = 731;

const char kZhongGuo[] = "\xd6\xd0\xb9\xfa";  // GBK: zhong guo

// A dialog that records the notifications of its first edit control.
class RecDlg : public ADialog {
 public:
  RecDlg() : ADialog(kEditDlg, nullptr) {}
  int CtrlEvProc(unsigned long window, int id, unsigned long code, XEvent* event) override {
    if (id == kIdEdit) codes.push_back(code);
    return ADialog::CtrlEvProc(window, id, code, event);
  }
  std::vector<unsigned long> codes;
};

// An engine that records the keys it is handed, checks that the edit-key
// mark names the control meanwhile, and commits text for the keys it is
// told to take, as kvr's engine does: synchronously, to the marked window.
class RecEngine : public IEditorEngine {
 public:
  int ProcessKeyMsg(int type, unsigned long key, unsigned long extra) override {
    calls.emplace_back(type, key);
    CWinApp* app = uniqueAFCAppPointer;
    markSeen = app && app->m_bEditKey ? app->m_hEditKeyWnd : 0;
    auto it = commits.find(key);
    if (it == commits.end() || type != 3) return 0;
    if (markSeen)
      SendWinEvent(markSeen, WM_EDT_ENGINETEXT, reinterpret_cast<unsigned long>(it->second.c_str()),
                   0);
    return 1;
  }
  void SetLastCommitPos(CPoint pos) override { lastCommit = pos; }
  CPoint LastCommitPos() override { return lastCommit; }

  std::vector<std::pair<int, unsigned long>> calls;
  std::map<unsigned long, std::string> commits;
  unsigned long markSeen = 0;
  CPoint lastCommit{-1, -1};
};

class EditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(TheApp().user, nullptr);
    AddTemplate(kEditDlg, CSize(200, 120),
                {MakeCtrl(kCtrlEditField, kIdEdit, 5, 5, 150, 14, "", kCtrlStyleTabStop),
                 MakeCtrl(kCtrlEditField, kIdEdit2, 5, 30, 150, 40, "",
                          kCtrlStyleTabStop | kCtrlStyleMultiLine),
                 MakeCtrl(kCtrlPushButton, IDOK, 10, 90, 50, 14, "OK", kCtrlStyleTabStop)});
    BindEditorScrollBars();
    SetEditorEngine(&engine);
    ASSERT_EQ(dlg.Create(), 1);
    edit = dynamic_cast<AEdt*>(dlg.GetCtrl(kIdEdit));
    ASSERT_NE(edit, nullptr);
  }
  void TearDown() override {
    dlg.Destroy();
    SetEditorEngine(nullptr);
  }
  std::string Text() { return static_cast<const char*>(edit->GetText()); }
  // Text, then the selection from (anchor) to (end) of row 0, the caret at
  // its end.
  void Prepare(const char* text, int anchor, int end) {
    edit->SetText(text);
    edit->m_ptSelAnchor = CPoint(anchor, 0);
    edit->m_ptSelEnd = CPoint(end, 0);
    edit->m_nCaretRow = 0;
    edit->m_nCaretCol = end;
    dlg.codes.clear();
  }
  RecEngine engine;
  RecDlg dlg;
  AEdt* edit = nullptr;
};

TEST_F(EditTest, BuiltFromTheTemplate) {
  AEdt& two = *dynamic_cast<AEdt*>(dlg.GetCtrl(kIdEdit2));
  // A single-line control is one line tall whatever the template says.
  EXPECT_EQ(edit->m_szWin.cy, static_cast<int>(dlg.m_nFontH * 1.3 + 6.0));
  EXPECT_EQ(edit->Doc()->m_bSingleLine, 1);
  EXPECT_EQ(two.Doc()->m_bSingleLine, 0);
  EXPECT_EQ(edit->m_ptTextOrigin, CPoint(4, 4));
  ASSERT_NE(edit->GetScrollBar(0), nullptr);
  ASSERT_NE(edit->GetScrollBar(1), nullptr);
  // The bars are windows of the dialog, hidden.
  EXPECT_NE(dlg.GetDlgCtr(edit->GetScrollBar(1)->GetWin()), nullptr);
  EXPECT_EQ(edit->GetScrollBar(1)->IsShown(), 0);
  const int t = static_cast<int>(edit->m_nFontH * 1.3);
  const CRect& r = edit->m_rcWin;
  EXPECT_EQ(edit->m_rcVBar, CRect(r.right - t, r.top + 3, r.right, r.bottom));
  EXPECT_EQ(edit->m_rcHBar, CRect(r.left + 3, r.bottom - t, r.right - t - 3, r.bottom));
}

// Message 1400: each leading 0x08 is a BackSpace of the view, then the
// selection goes, the rest is inserted, the dialog hears code 21 and the
// caret becomes the engine's last commit position.
TEST_F(EditTest, EngineTextErasesReplacesAndInserts) {
  struct Case {
    const char* before;
    int anchor, end;  // the selection, caret at its end
    const char* text;
    const char* after;
    int caret;
  } cases[] = {
      // The engine's re-selection: two characters erased, two put in.
      {"ab\xd6\xd0\xb9\xfa", 6, 6, "\x08\x08xyz", "abxyz", 5},
      // A selection is replaced.
      {"hello world", 6, 11, "abc", "hello abc", 9},
      {"hello world", 6, 11, kZhongGuo, "hello \xd6\xd0\xb9\xfa", 10},
      // Only BackSpaces: nothing to insert.
      {"abc", 3, 3, "\x08", "ab", 2},
      {"abc", 3, 3, "\x08\x08\x08\x08", "", 0},
      // Over a selection the first BackSpace removes the selection, the
      // second the character before it; then the letters.
      {"hello", 1, 3,
       "\x08\x08"
       "abc",
       "abclo", 3},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(std::string(k.before) + " + " + k.text);
    Prepare(k.before, k.anchor, k.end);
    engine.lastCommit = CPoint(-1, -1);
    EXPECT_EQ(
        SendWinEvent(edit->m_hWnd, WM_EDT_ENGINETEXT, reinterpret_cast<unsigned long>(k.text), 0),
        1);
    EXPECT_EQ(Text(), k.after);
    EXPECT_EQ(edit->m_nCaretCol, k.caret);
    EXPECT_EQ(edit->m_ptSelAnchor, edit->m_ptSelEnd);
    EXPECT_EQ(dlg.codes, std::vector<unsigned long>{kCtrlEvTextChange});
    EXPECT_EQ(engine.lastCommit, CPoint(k.caret, 0));
  }
}

// Which keys reach the engine and the view, and which the dialog keeps.
// Every key that reaches the engine is reported with code 21; the edit-key
// mark names the control while the engine has the key and is gone after.
TEST_F(EditTest, KeysAreRoutedDialogFirstThenEngineThenView) {
  const unsigned long e = edit->m_hWnd;
  CWinApp& app = *uniqueAFCAppPointer;
  struct Case {
    KeySym sym;
    bool press;
    unsigned state;
    bool toEngine;
    int focusAfter;  // the dialog's focused control
    const char* text;
    int codes21 = -1;  // code 21 reports: one for the key unless given
  } cases[] = {
      {XK_Tab, true, 0, false, kIdEdit2, ""},
      {XK_Tab, false, 0, false, kIdEdit, ""},
      // Shift+Tab (ISO_Left_Tab on this keyboard) walks backwards.
      {XK_Tab, true, ShiftMask, false, IDOK, ""},
      {XK_ISO_Left_Tab, true, ShiftMask, false, IDOK, ""},
      {XK_ISO_Left_Tab, false, ShiftMask, false, kIdEdit, ""},
      {XK_Return, true, 0, false, kIdEdit, ""},  // the dialog's default button
      {XK_Return, false, 0, true, kIdEdit, ""},  // its release is a key like any other
      {XK_a, true, 0, true, kIdEdit, "a"},       // the engine leaves it: the view types it
      {XK_a, false, 0, true, kIdEdit, ""},
      // The engine takes it and commits: the commit reports too.
      {XK_z, true, 0, true, kIdEdit, kZhongGuo, 2},
      {XK_Left, true, 0, true, kIdEdit, ""},
  };
  engine.commits['Z'] = kZhongGuo;
  for (const Case& k : cases) {
    SCOPED_TRACE(std::string(XKeysymToString(k.sym)) + (k.press ? " press" : " release") +
                 (k.state ? " with Shift" : ""));
    edit->SetText("");
    dlg.SetCtrlFocus(kIdEdit);
    dlg.codes.clear();
    engine.calls.clear();
    engine.markSeen = 0;
    XEvent ev = SynthKey(e, k.sym, k.press, k.state);
    edit->Winproc(&ev);
    EXPECT_EQ(engine.calls.size(), k.toEngine ? 1u : 0u);
    if (k.toEngine) {
      EXPECT_EQ(engine.calls[0].first, k.press ? 3 : 4);
      EXPECT_EQ(engine.markSeen, e);
    }
    const int reports = k.codes21 >= 0 ? k.codes21 : k.toEngine ? 1 : 0;
    EXPECT_EQ(dlg.codes, std::vector<unsigned long>(reports, kCtrlEvTextChange));
    EXPECT_EQ(dlg.m_nFocusID, k.focusAfter);
    EXPECT_EQ(Text(), k.text);
    EXPECT_EQ(app.m_bEditKey, 0);
    EXPECT_EQ(app.m_hEditKeyWnd, 0u);
  }
}

// A press in the text places the caret; a press in the 3-pixel frame only
// focuses the control.
TEST_F(EditTest, PressesInTheViewAndInTheFrame) {
  dlg.SetCtrlFocus(kIdEdit2);
  edit->SetText("hello");
  const int caret = 5;
  edit->m_nCaretCol = caret;
  edit->m_ptSelAnchor = edit->m_ptSelEnd = CPoint(caret, 0);
  for (CPoint at : {CPoint(1, 1), CPoint(edit->m_szWin.cx - 2, edit->m_szWin.cy - 2)}) {
    XEvent press = SynthButton(edit->m_hWnd, true, at.x, at.y);
    edit->Winproc(&press);
    XEvent release = SynthButton(edit->m_hWnd, false, at.x, at.y);
    edit->Winproc(&release);
    EXPECT_EQ(dlg.m_nFocusID, kIdEdit);
    EXPECT_EQ(edit->m_nCaretCol, caret);
    dlg.SetCtrlFocus(kIdEdit2);
  }
  XEvent press = SynthButton(edit->m_hWnd, true, 5, edit->m_szWin.cy / 2);
  edit->Winproc(&press);
  EXPECT_EQ(dlg.m_hCaptureWin, edit->m_hWnd);
  XEvent release = SynthButton(edit->m_hWnd, false, 5, edit->m_szWin.cy / 2);
  edit->Winproc(&release);
  EXPECT_EQ(dlg.m_hCaptureWin, 0u);
  EXPECT_EQ(dlg.m_nFocusID, kIdEdit);
  EXPECT_EQ(edit->m_nCaretCol, 0);
}

// The dialog's text exchange, the tab walk that selects an edit control's
// text, and a read-only control that is no tab stop.
TEST_F(EditTest, DialogExchangeTabWalkAndReadOnly) {
  CString var = "from the variable";
  dlg.MemVarAttach(kIdEdit, &var);
  dlg.SyncMemVars(0);
  EXPECT_EQ(Text(), "from the variable");
  edit->SetText("typed");
  dlg.SyncMemVars(1);
  EXPECT_STREQ(var, "typed");
  CString out;
  dlg.SetCtrlText(kIdEdit, "set");
  dlg.GetCtrlText(kIdEdit, out);
  EXPECT_STREQ(out, "set");

  // Tab from OK enters the first edit control with all its text selected.
  dlg.SetCtrlFocus(IDOK);
  dlg.WalkTabStops(IDOK, 0);
  EXPECT_EQ(dlg.m_nFocusID, kIdEdit);
  EXPECT_EQ(std::min(edit->m_ptSelAnchor.x, edit->m_ptSelEnd.x), 0);
  EXPECT_EQ(std::max(edit->m_ptSelAnchor.x, edit->m_ptSelEnd.x), 3);

  AEdt& two = *dynamic_cast<AEdt*>(dlg.GetCtrl(kIdEdit2));
  EXPECT_EQ(dlg.IsTabStop(&two), 1);
  two.SetReadOnly(1);
  EXPECT_EQ(dlg.IsTabStop(&two), 0);
  dlg.WalkTabStops(kIdEdit, 0);
  EXPECT_EQ(dlg.m_nFocusID, IDOK);
}

// The shipped dialogs with edit controls, combo boxes and list boxes build
// an object of the right class with a window for every such record; each
// is run and its picture taken.
TEST(ShippedDialogs, BuildEveryControl) {
  DialogTestApp& app = TheApp();
  for (int id : {106, 108, 110}) {
    SCOPED_TRACE(id);
    ADialog dlg(id, nullptr);
    app.Then([&] {
      int seen = 0;
      for (long pos = dlg.m_dlgTmpl.m_ctrls.GetHeadPosition(); pos;) {
        const typCtrl& rec = dlg.m_dlgTmpl.m_ctrls.GetNext(pos);
        AWnd* ctrl = dlg.GetCtrl(rec.m_id);
        switch (rec.m_type) {
          case kCtrlEditField: EXPECT_NE(dynamic_cast<AEdt*>(ctrl), nullptr) << rec.m_id; break;
          case kCtrlComboBox: {
            auto* c = dynamic_cast<ACmbo*>(ctrl);
            ASSERT_NE(c, nullptr) << rec.m_id;
            EXPECT_EQ(c->m_bDropList, (rec.m_style & kCtrlStyleDropList) ? 1 : 0);
            EXPECT_NE(c->m_pArrow, nullptr);
            break;
          }
          case kCtrlListBox: EXPECT_NE(dynamic_cast<ALbx*>(ctrl), nullptr) << rec.m_id; break;
          default: continue;
        }
        ++seen;
        if (ctrl) {
          EXPECT_NE(ctrl->m_hWnd, 0u) << rec.m_id;
        }
      }
      EXPECT_GT(seen, 0);
      const CSize sz = GetWinSize(dlg.m_hWnd);
      EXPECT_EQ(
          kvrtest::SaveWindowShot(dsply, dlg.m_hWnd, "dialog_" + std::to_string(id), sz.cx, sz.cy),
          "");
      app.Key(XK_Escape);
    });
    dlg.ActModal();
    EXPECT_FALSE(app.watchdogFired);
  }
}

}  // namespace
