// Keys: the hand-off to the input engine through a recording engine, and
// the view's navigation over GBK text (EdtVuFixture.h: 8 pixels a byte,
// rows of 24, a view of 25 columns and 4 rows).
#include <string>
#include <vector>

#include "framework/KeySyms.h"
#include "tests/editor/EdtVuFixture.h"

namespace edtvutest {
namespace {

constexpr unsigned long kShift = 1, kCtrl = 4, kAlt = 8;
constexpr unsigned long kOtherWindow = 0x600007;

// An engine that writes one line per call and answers as told.
struct KeyEngine : IEditorEngine {
  std::vector<std::string> log;
  int answer = 0;           // what ProcessKeyMsg returns
  int modal = 0;            // ModalBoxUp
  bool keysTyped = false;   // m_strKeySeq not empty
  int setCtrlInEngine = 0;  // ProcessKeyMsg sets the Ctrl flag (the engine may)
  unsigned long reSelWnd = 0;

  void SetKeyRecord(const EdtKeyRecord& rec) override {
    IEditorEngine::SetKeyRecord(rec);
    log.push_back("record alt=" + std::to_string(rec.alt) + " ctrl=" + std::to_string(rec.ctrl) +
                  " shift=" + std::to_string(rec.shift));
  }
  void SetKeyWindow(unsigned long w) override {
    log.push_back(w == kHostWindow ? "window" : "window?");
  }
  int ProcessKeyMsg(int type, unsigned long key, unsigned long extra) override {
    char buf[64];
    std::snprintf(buf, sizeof buf, "engine %d 0x%lX %lu", type, key, extra);
    log.push_back(buf);
    if (setCtrlInEngine) m_key.ctrl = 1;
    return answer;
  }
  int KeySeqEmpty() override { return keysTyped ? 0 : 1; }
  int ModalBoxUp() override { return modal; }
  int HasEngine() override { return 1; }
  void ShowNMoveInputPanes(int hideAll) override {
    log.push_back("panes " + std::to_string(hideAll));
  }
  void EmptyInputPane2() override { log.push_back("pane2 emptied"); }
  void ResetChnInput(int a, int b, int c) override {
    log.push_back("reset " + std::to_string(a) + std::to_string(b) + std::to_string(c));
  }
  unsigned long ReSelectionWindow() override { return reSelWnd; }
  void ResetReSelectionData() override {
    log.push_back("close re-selection");
    reSelWnd = 0;
  }
};

EdtKeyEvent Key(int pressed, unsigned long sym, unsigned long state, const std::string& text) {
  EdtKeyEvent k;
  k.pressed = pressed;
  k.keysym = sym;
  k.state = state;
  k.textLen = static_cast<int>(text.size());
  std::copy(text.begin(), text.end(), k.text);
  return k;
}

std::string Join(const std::vector<std::string>& v) {
  std::string s;
  for (const std::string& x : v) s += (s.empty() ? "" : "; ") + x;
  return s;
}

class EdtVuKeysTest : public EdtVuTest {
 protected:
  void SetUp() override {
    EdtVuTest::SetUp();
    SetEditorEngine(&keys);
  }
  std::string Text() {
    std::string s;
    for (int r = 0; r < doc.GetLineCount(); ++r) {
      CString line;
      doc.GetLine(r, line);
      s += (r ? "|" : "") + std::string(static_cast<const char*>(line), line.GetLength());
    }
    return s;
  }
  void CaretAt(int col, int row) {
    view.m_nCaretCol = col;
    view.m_nCaretRow = row;
    view.m_ptSelAnchor = view.m_ptSelEnd = CPoint(col, row);
  }
  CPoint Caret() const { return CPoint(view.m_nCaretCol, view.m_nCaretRow); }

  KeyEngine keys;
};

TEST_F(EdtVuKeysTest, EveryKeyIsOfferedToTheEngineFirst) {
  const std::string rec0 = "record alt=0 ctrl=0 shift=0; window; ";
  struct Case {
    const char* name;
    EdtKeyEvent key;
    int answer, modal;
    bool keysTyped;
    int ctrlByEngine;
    int result;
    std::string calls;
    std::string text;  // the document after the key ("ab", caret after a)
    int caretCol;
  } const cases[] = {
      {"letter, unused", Key(1, 'x', 0, "x"), 0, 0, false, 0, 0, rec0 + "engine 3 0x58 0", "axb",
       2},
      {"letter, used", Key(1, 'x', 0, "x"), 1, 0, false, 0, 1, rec0 + "engine 3 0x58 0", "ab", 1},
      {"engine's own count", Key(1, 'x', 0, "x"), 3, 0, false, 0, 3, rec0 + "engine 3 0x58 0", "ab",
       1},
      {"letter released", Key(0, 'x', 0, "x"), 0, 0, false, 0, 0, rec0 + "engine 4 0x58 0", "ab",
       1},
      {"Alt_R pressed", Key(1, keysym::kAltR, 0, ""), 0, 0, false, 0, 0,
       "record alt=1 ctrl=0 shift=0; window; engine 2 0xFFEA 0", "ab", 1},
      {"Alt_R released", Key(0, keysym::kAltR, kAlt, ""), 0, 0, false, 0, 0,
       rec0 + "engine 1 0xFFEA 0", "ab", 1},
      {"Alt_L released", Key(0, keysym::kAltL, kAlt, ""), 0, 0, false, 0, 0,
       "record alt=1 ctrl=0 shift=0; window; engine 1 0xFFE9 0", "ab", 1},
      {"Alt+a", Key(1, 'a', kAlt, "a"), 0, 0, false, 0, 0,
       "record alt=1 ctrl=0 shift=0; window; engine 2 0x41 0", "aab", 2},
      {"modal box", Key(1, 'x', 0, "x"), 0, 1, false, 0, 1, "record alt=0 ctrl=0 shift=0; window",
       "ab", 1},
      {"navigation released, no keys", Key(0, keysym::kRight, 0, ""), 0, 0, false, 0, 0,
       rec0 + "panes 0", "ab", 1},
      {"navigation released, keys typed", Key(0, keysym::kRight, 0, ""), 0, 0, true, 0, 0,
       rec0 + "engine 4 0xFF53 0", "ab", 1},
      {"navigation pressed", Key(1, keysym::kRight, 0, ""), 0, 0, false, 0, 0,
       rec0 + "engine 3 0xFF53 0; pane2 emptied", "ab", 2},
      {"Ctrl+v is a chord", Key(1, 'v', kCtrl, "\x16"), 0, 0, false, 0, 0,
       "record alt=0 ctrl=1 shift=0; window; engine 3 0x56 0", "ab", 1},
      {"Caps_Lock", Key(1, keysym::kCapsLock, 0, ""), 0, 0, false, 0, 0, rec0 + "engine 3 0xFFE5 0",
       "ab", 1},
      {"Escape", Key(1, keysym::kEscape, 0, "\x1b"), 0, 0, false, 0, 0, rec0 + "engine 3 0xFF1B 0",
       "ab", 1},
      {"Ctrl set by the engine", Key(1, 'x', 0, "x"), 0, 0, false, 1, 0, rec0 + "engine 3 0x58 0",
       "ab", 1},
      {"two bytes of text", Key(1, 'x', 0, "xy"), 0, 0, false, 0, 0, rec0 + "engine 3 0x58 0", "ab",
       1},
      {"Shift+x", Key(1, 'X', kShift, "X"), 0, 0, false, 0, 0,
       "record alt=0 ctrl=0 shift=1; window; engine 3 0x58 0", "aXb", 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetText("ab");
    CaretAt(1, 0);
    keys.log.clear();
    keys.answer = c.answer;
    keys.modal = c.modal;
    keys.keysTyped = c.keysTyped;
    keys.setCtrlInEngine = c.ctrlByEngine;
    EXPECT_EQ(view.PreProcessKey(c.key), c.result);
    EXPECT_EQ(Join(keys.log), c.calls);
    EXPECT_EQ(Text(), c.text);
    EXPECT_EQ(view.m_nCaretCol, c.caretCol);
  }
}

// kvrsetup: no engine, every press straight to the view, and no delimiter
// chord.
TEST_F(EdtVuKeysTest, WithoutAnEngineKeysGoStraightToTheView) {
  SetEditorEngine(nullptr);
  SetText("ab");
  CaretAt(1, 0);
  EXPECT_EQ(view.PreProcessKey(Key(1, 'x', 0, "x")), 0);
  EXPECT_EQ(Text(), "axb");
  EXPECT_EQ(view.PreProcessKey(Key(0, keysym::kLeft, 0, "")), 0);
  EXPECT_EQ(Caret(), CPoint(2, 0));
  EXPECT_EQ(view.AtKeyEv(0xDB, kCtrl), 0);
  // The Alt_R release rule holds in the default's own key record.
  view.PreProcessKey(Key(0, keysym::kAltR, kAlt, ""));
  EXPECT_EQ(EditorEngine().AltHeld(), 0);
  view.PreProcessKey(Key(1, 'q', kAlt | kCtrl, "\x11"));
  EXPECT_EQ(EditorEngine().AltHeld(), 1);
  EXPECT_EQ(EditorEngine().CtrlHeld(), 1);
  EXPECT_EQ(Text(), "axb");
}

TEST_F(EdtVuKeysTest, AGbkCharacterTypedByteByByteIsOneCharacter) {
  SetText("ab");
  CaretAt(1, 0);
  EXPECT_EQ(view.PreProcessKey(Key(1, 0xD6, 0, "\xD6")), 0);
  EXPECT_EQ(Text(), "ab");
  view.PreProcessKey(Key(1, 0xD0, 0, "\xD0"));
  EXPECT_EQ(Text(),
            "a\xD6\xD0"
            "b");
  EXPECT_EQ(Caret(), CPoint(3, 0));
}

TEST_F(EdtVuKeysTest, AReSelectionOpenForAnotherWindowIsClosedBeforeTheKey) {
  SetText("ab");
  keys.reSelWnd = kOtherWindow;
  view.PreProcessKey(Key(1, 'x', 0, "x"));
  ASSERT_FALSE(keys.log.empty());
  EXPECT_EQ(keys.log[0], "close re-selection");
  // A cycle of this control stays open.
  keys.log.clear();
  keys.reSelWnd = kHostWindow;
  keys.answer = 1;
  view.PreProcessKey(Key(1, 'x', 0, "x"));
  EXPECT_EQ(Join(keys.log), "record alt=0 ctrl=0 shift=0; window; engine 3 0x58 0");
}

TEST_F(EdtVuKeysTest, CtrlWithANavigationKeyResetsTheInput) {
  SetText(Rows(3));
  view.m_byHeldLead = 0xD6;
  keys.keysTyped = true;
  EXPECT_EQ(view.AtKeyEv(keysym::kHome, kCtrl), 1);
  EXPECT_EQ(Join(keys.log), "reset 001");
  EXPECT_EQ(view.m_byHeldLead, 0);
}

// Where each key leaves the caret on "中文，abc  def" ("，" is a Chinese
// white character), "    x", and a row of three GBK characters.
TEST_F(EdtVuKeysTest, NavigationOverGbkText) {
  const std::string row0 =
      "\xD6\xD0\xCE\xC4\xA3\xAC"
      "abc  def";
  const std::string text = row0 + "\r\n    x\r\n\xB0\xA1\xB0\xA2\xB0\xA3";
  struct Case {
    const char* name;
    CPoint from;
    unsigned long sym, state;
    CPoint to;
  } const cases[] = {
      {"Right over a pair", {0, 0}, keysym::kRight, 0, {2, 0}},
      {"Right over a byte", {6, 0}, keysym::kRight, 0, {7, 0}},
      {"Right at the end", {14, 0}, keysym::kRight, 0, {0, 1}},
      {"Left over a pair", {4, 0}, keysym::kLeft, 0, {2, 0}},
      {"Left at column 0", {0, 1}, keysym::kLeft, 0, {14, 0}},
      {"Left beyond the row", {9, 1}, keysym::kLeft, 0, {5, 1}},
      {"Ctrl+Right, Chinese run", {0, 0}, keysym::kRight, kCtrl, {4, 0}},
      {"Ctrl+Right, white char", {4, 0}, keysym::kRight, kCtrl, {6, 0}},
      {"Ctrl+Right, word", {6, 0}, keysym::kRight, kCtrl, {9, 0}},
      {"Ctrl+Right, blanks", {9, 0}, keysym::kRight, kCtrl, {11, 0}},
      {"Ctrl+Left, word", {14, 0}, keysym::kLeft, kCtrl, {11, 0}},
      {"Ctrl+Left, blanks", {11, 0}, keysym::kLeft, kCtrl, {9, 0}},
      {"Ctrl+Left, after white char", {6, 0}, keysym::kLeft, kCtrl, {4, 0}},
      {"Ctrl+Left, Chinese run", {4, 0}, keysym::kLeft, kCtrl, {0, 0}},
      {"Home", {5, 1}, keysym::kHome, 0, {0, 1}},
      {"Home again", {0, 1}, keysym::kHome, 0, {4, 1}},
      {"Home at 0 on a word", {0, 0}, keysym::kHome, 0, {4, 0}},
      {"End", {0, 1}, keysym::kEnd, 0, {5, 1}},
      {"Ctrl+End", {0, 0}, keysym::kEnd, kCtrl, {6, 2}},
      {"Ctrl+Home", {3, 2}, keysym::kHome, kCtrl, {0, 0}},
      {"Down keeps x", {4, 1}, keysym::kDown, 0, {4, 2}},
      {"Down into a pair", {3, 1}, keysym::kDown, 0, {2, 2}},
      {"Down from the last row", {2, 2}, keysym::kDown, 0, {2, 2}},
      {"Up keeps x", {4, 2}, keysym::kUp, 0, {4, 1}},
      {"Up from row 0", {3, 0}, keysym::kUp, 0, {3, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetText(text);
    CaretAt(c.from.x, c.from.y);
    EXPECT_EQ(view.AtKeyEv(c.sym, c.state), 1);
    EXPECT_EQ(Caret(), c.to);
    EXPECT_EQ(view.m_ptSelEnd, c.to);
    EXPECT_EQ(view.m_ptSelAnchor, c.to);  // without Shift the selection collapses
  }
}

TEST_F(EdtVuKeysTest, ShiftExtendsAndDraggingKeepsArrowsInTheRow) {
  SetText("abcdef\r\nxy\xD6\xD0z");
  CaretAt(3, 0);
  view.AtKeyEv(keysym::kDown, kShift);
  EXPECT_EQ(view.m_ptSelAnchor, CPoint(3, 0));
  EXPECT_EQ(view.m_ptSelEnd, CPoint(2, 1));  // 24 px is the pair's middle: its start
  view.AtKeyEv(keysym::kRight, kShift);
  EXPECT_EQ(view.m_ptSelEnd, CPoint(4, 1));
  EXPECT_EQ(view.m_ptSelAnchor, CPoint(3, 0));

  // While a drag runs Shift counts as held, and Right stops at the row's end.
  CaretAt(5, 1);
  view.m_dwDragDir = kDragRight;
  view.AtKeyEv(keysym::kRight, 0);
  view.AtKeyEv(keysym::kRight, 0);
  EXPECT_EQ(view.m_ptSelEnd, CPoint(5, 1));
  EXPECT_EQ(view.m_ptSelAnchor, CPoint(5, 1));
  view.m_dwDragDir = kDragLeft;
  view.AtKeyEv(keysym::kLeft, kCtrl);  // no word move while dragging
  EXPECT_EQ(view.m_ptSelEnd, CPoint(4, 1));
  EXPECT_EQ(view.m_ptSelAnchor, CPoint(5, 1));
}

TEST_F(EdtVuKeysTest, PageKeys) {
  struct Case {
    const char* name;
    int rows, vpos;
    CPoint from;
    unsigned long sym;
    int result, vposAfter;
    CPoint to;
  } const cases[] = {
      {"Next, the document fits", 3, 0, {2, 2}, keysym::kNext, 1, 0, {2, 2}},
      {"Next", 10, 0, {2, 0}, keysym::kNext, 1, 72, {2, 3}},
      {"Next near the end", 10, 120, {2, 5}, keysym::kNext, 1, 144, {2, 6}},
      {"Prior at the top", 10, 0, {2, 2}, keysym::kPrior, 1, 0, {2, 2}},
      {"Prior", 10, 96, {2, 5}, keysym::kPrior, 1, 24, {2, 2}},
      {"Prior below one row", 10, 30, {2, 2}, keysym::kPrior, 1, 0, {2, 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetText(Rows(c.rows));
    view.SetScrollThumPos(1, c.vpos);
    CaretAt(c.from.x, c.from.y);
    view.PlaceCaret();
    EXPECT_EQ(view.AtKeyEv(c.sym, 0), c.result);
    EXPECT_EQ(view.GetScrollThumPos(1), c.vposAfter);
    EXPECT_EQ(Caret(), c.to);
    EXPECT_EQ(world.caret, CPoint(16, c.to.y * 24 - c.vposAfter));
  }
}

TEST_F(EdtVuKeysTest, NextWithLessThanOneVisibleRowIsNotUsed) {
  SetText(Rows(10));
  view.vu = CRect(0, 0, 200, 20);
  CaretAt(0, 0);
  EXPECT_EQ(view.AtKeyEv(keysym::kNext, 0), 0);
  EXPECT_EQ(Caret(), CPoint(0, 0));
}

TEST_F(EdtVuKeysTest, CtrlDownStopsAt444) {
  SetText(Rows(40));
  view.SetScrollThumPos(1, 444);
  CaretAt(2, 20);
  world.caret = CPoint(-7, -7);
  view.AtKeyEv(keysym::kDown, kCtrl);
  EXPECT_EQ(Caret(), CPoint(2, 20));
  EXPECT_EQ(world.caret, CPoint(-7, -7));
  EXPECT_EQ(view.GetScrollThumPos(1), 444);

  // Below 444 the caret row that would leave the top moves down one row.
  view.SetScrollThumPos(1, 48);
  CaretAt(2, 2);
  view.AtKeyEv(keysym::kDown, kCtrl);
  EXPECT_EQ(Caret(), CPoint(2, 3));
  view.AtKeyEv(keysym::kUp, kCtrl);  // p' 24: row 3 still fits
  EXPECT_EQ(Caret(), CPoint(2, 3));
}

TEST_F(EdtVuKeysTest, ChordsAndLocksAreUsedAndReadOnlySwallowsTheRest) {
  struct Case {
    unsigned long sym, state;
    int readOnly, result;
  } const cases[] = {
      {'v', kCtrl, 0, 1},
      {'V', kCtrl | kShift, 1, 1},
      {keysym::kInsert, kShift, 0, 1},
      {'x', kCtrl, 1, 1},
      {keysym::kDelete, kShift, 1, 1},
      {'c', kCtrl, 0, 1},
      {keysym::kInsert, kCtrl, 0, 1},
      {'z', kCtrl, 1, 1},
      {'y', kCtrl, 0, 1},
      {'u', kCtrl, 0, 1},
      {0xDB, kCtrl, 0, 1},
      {keysym::kInsert, 0, 0, 1},
      {keysym::kNumLock, 0, 0, 1},
      {keysym::kPause, 0, 0, 1},
      {keysym::kControlL, kCtrl, 0, 1},
      {'x', 0, 0, 0},
      {'x', 0, 1, 1},
      {keysym::kShiftL, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.sym << " " << c.state);
    SetText("ab");
    view.SetReadOnly(c.readOnly);
    CaretAt(1, 0);
    EXPECT_EQ(view.AtKeyEv(c.sym, c.state), c.result);
    EXPECT_EQ(Text(), "ab");
  }
}

TEST_F(EdtVuKeysTest, ReadOnlyTakesNoTypingThroughTheKeys) {
  SetText("ab");
  view.SetReadOnly(1);
  CaretAt(1, 0);
  for (const EdtKeyEvent& k :
       {Key(1, 'x', 0, "x"), Key(1, keysym::kBackSpace, 0, "\b"),
        Key(1, keysym::kDelete, 0, "\x7f"), Key(1, 0xD6, 0, "\xD6"), Key(1, 0xD0, 0, "\xD0")})
    view.PreProcessKey(k);
  EXPECT_EQ(Text(), "ab");
  EXPECT_EQ(doc.m_lstUndo.GetCount(), 0);
  // The navigation keys still move.
  view.PreProcessKey(Key(1, keysym::kRight, 0, ""));
  EXPECT_EQ(Caret(), CPoint(2, 0));
}

TEST_F(EdtVuKeysTest, DragTicksReplayTheArrowKeys) {
  SetText(Rows(10, 10));
  CaretAt(3, 1);
  view.m_nDragTimer = world.nextSlot;
  view.m_dwDragDir = kDragDown | kDragRight;
  view.AtTimer(world.nextSlot);
  EXPECT_EQ(view.m_ptSelAnchor, CPoint(3, 1));
  EXPECT_EQ(view.m_ptSelEnd, CPoint(4, 2));
}

}  // namespace
}  // namespace edtvutest
