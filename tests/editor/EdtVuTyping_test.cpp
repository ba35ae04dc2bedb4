// Typing, BackSpace and Delete with their undo steps, block shifts, and the
// re-choice of the engine's last commit, which must never erase text that
// is not that commit's (EdtVuFixture.h: 8 pixels a byte, rows of 24).
#include <string>
#include <vector>

#include "framework/KeySyms.h"
#include "tests/editor/EdtVuFixture.h"

namespace edtvutest {
namespace {

constexpr unsigned long kShift = 1, kCtrl = 4, kAlt = 8;
constexpr unsigned long kClientWindow = 0x600007;

const std::string kZhong = "\xD6\xD0", kGuo = "\xB9\xFA", kHua = "\xBB\xAA";

class EdtVuTypingTest : public EdtVuTest {
 protected:
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
  void Type(const std::string& bytes, unsigned long state = 0) {
    for (unsigned char c : bytes) view.AtCharEv(c, state);
  }
  std::vector<CEditStep> Steps() {
    std::vector<CEditStep> v;
    for (long p = doc.m_lstUndo.GetHeadPosition(); p;) v.push_back(doc.m_lstUndo.GetNext(p));
    return v;
  }
  static std::string Str(const CString& s) {
    return std::string(static_cast<const char*>(s), s.GetLength());
  }
};

TEST_F(EdtVuTypingTest, TypedBytesAndTheirUndoSteps) {
  struct Case {
    const char* name;
    std::string typed;
    std::string text;   // after typing into "ab" at column 1
    int steps, length;  // steps in the undo list, the last one's length
  } const cases[] = {
      {"a lead byte alone changes nothing", "\xD6", "ab", 0, 0},
      {"lead and trail: one character, one step", kZhong, "a" + kZhong + "b", 1, 2},
      {"lead and a non-trail byte: that byte",
       "\xD6"
       "1",
       "a1b", 1, 1},
      {"a typed run is one step", "xyz", "axyzb", 1, 3},
      {"letters and signs make two steps", "x+", "ax+b", 2, 1},
      {"two characters in a run", kZhong + kGuo, "a" + kZhong + kGuo + "b", 1, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetText("ab");
    doc.ResetDoUndoInfo();
    view.m_byHeldLead = 0;
    CaretAt(1, 0);
    Type(c.typed);
    EXPECT_EQ(Text(), c.text);
    const std::vector<CEditStep> steps = Steps();
    ASSERT_EQ(static_cast<int>(steps.size()), c.steps);
    if (!steps.empty()) {
      EXPECT_EQ(steps.back().m_nKind, kStepInserted);
      EXPECT_EQ(steps.back().m_nLength, c.length);
    }
    EXPECT_EQ(view.m_nCaretCol, 1 + static_cast<int>(c.text.size()) - 2);
  }
}

TEST_F(EdtVuTypingTest, TypingOverASelectionIsOneReplacedStep) {
  SetText("a" + kZhong + "cd");
  view.m_ptSelAnchor = CPoint(1, 0);
  view.m_ptSelEnd = CPoint(4, 0);
  view.m_nCaretCol = 4;
  Type(kGuo);
  EXPECT_EQ(Text(), "a" + kGuo + "d");
  const std::vector<CEditStep> steps = Steps();
  ASSERT_EQ(steps.size(), 1u);
  EXPECT_EQ(steps[0].m_nKind, kStepReplaced);
  EXPECT_EQ(Str(steps[0].m_strText), kZhong + "c");
  EXPECT_EQ(steps[0].m_nLength, 2);
  EXPECT_EQ(steps[0].m_pt, CPoint(1, 0));
  EXPECT_EQ(view.m_ptSelAnchor, CPoint(3, 0));
  EXPECT_EQ(view.m_ptSelEnd, CPoint(3, 0));
}

TEST_F(EdtVuTypingTest, BackSpaceAndDelete) {
  struct Case {
    const char* name;
    CPoint caret;
    unsigned long key;
    std::string text;
    CPoint after;
    std::string removed;  // the kind-0 step's text; empty: no step
  } const cases[] = {
      {"BackSpace over a pair", {3, 0}, keysym::kBackSpace, "a|x", {1, 0}, kZhong},
      {"Delete a pair", {1, 0}, keysym::kDelete, "a|x", {1, 0}, kZhong},
      {"BackSpace joins rows", {0, 1}, keysym::kBackSpace, "a" + kZhong + "x", {3, 0}, "\r\n"},
      {"BackSpace at the start", {0, 0}, keysym::kBackSpace, "a" + kZhong + "|x", {0, 0}, ""},
      {"Delete at the end", {1, 1}, keysym::kDelete, "a" + kZhong + "|x", {1, 1}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetText("a" + kZhong + "\r\nx");
    doc.ResetDoUndoInfo();
    CaretAt(c.caret.x, c.caret.y);
    EXPECT_EQ(view.AtKeyEv(c.key, 0), 1);
    EXPECT_EQ(Text(), c.text);
    EXPECT_EQ(CPoint(view.m_nCaretCol, view.m_nCaretRow), c.after);
    const std::vector<CEditStep> steps = Steps();
    if (c.removed.empty()) {
      EXPECT_TRUE(steps.empty());
    } else {
      ASSERT_EQ(steps.size(), 1u);
      EXPECT_EQ(steps[0].m_nKind, kStepDeleted);
      EXPECT_EQ(Str(steps[0].m_strText), c.removed);
      EXPECT_EQ(steps[0].m_pt, c.after);
    }
  }
}

TEST_F(EdtVuTypingTest, BackSpaceRemovesASelectionAndResetsTheForecast) {
  struct Engine : IEditorEngine {
    int forecastOn = 1, resets = 0;
    int UseZiCiForecast() override { return forecastOn; }
    void ZiCiForecastingReset(int keep) override {
      EXPECT_EQ(keep, 0);
      ++resets;
    }
  } engine;
  SetEditorEngine(&engine);
  SetText("abc\r\ndef");
  view.m_ptSelAnchor = CPoint(2, 1);  // backwards: the end first
  view.m_ptSelEnd = CPoint(1, 0);
  view.AtCharEv(keysym::kBackSpace, 0);
  EXPECT_EQ(Text(), "af");
  EXPECT_EQ(engine.resets, 1);
  ASSERT_EQ(Steps().size(), 1u);
  EXPECT_EQ(Str(Steps()[0].m_strText), "bc\r\nde");
}

TEST_F(EdtVuTypingTest, CtrlEscapeAndReadOnly) {
  SetText("abc");
  CaretAt(1, 0);
  Type("x", kCtrl);
  EXPECT_EQ(Text(), "abc");
  view.m_ptSelAnchor = CPoint(0, 0);
  view.m_ptSelEnd = CPoint(2, 0);
  view.m_nCaretCol = 2;
  view.AtCharEv(keysym::kEscape, 0);
  EXPECT_EQ(view.m_ptSelAnchor, CPoint(2, 0));
  EXPECT_EQ(view.m_ptSelEnd, CPoint(2, 0));
  view.SetReadOnly(1);
  Type("yz");
  view.AtCharEv(keysym::kBackSpace, 0);
  EXPECT_EQ(Text(), "abc");
  EXPECT_TRUE(Steps().empty());
}

TEST_F(EdtVuTypingTest, TabShiftsABlockOfRows) {
  struct Case {
    const char* name;
    std::string text;
    CPoint anchor, end;
    unsigned long state;
    std::string after;
    CPoint anchorAfter, endAfter;
  } const cases[] = {
      {"indent stops before a row selected at column 0",
       "a\r\nbb\r\ncc\r\nd",
       {2, 1},
       {0, 3},
       0,
       "a|\tbb|\tcc|d",
       {0, 1},
       {0, 3}},
      {"indent skips blank rows",
       "a\r\n  \r\n\r\nd",
       {0, 0},
       {1, 3},
       0,
       "\ta|  ||\td",
       {0, 0},
       {2, 3}},
      {"outdent takes at most the tab width of spaces",
       "      x\r\n\ty\r\n  \tz",
       {0, 0},
       {1, 2},
       kShift,
       "  x|y|z",
       {0, 0},
       {1, 2}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetText(c.text);
    doc.ResetDoUndoInfo();
    view.m_ptSelAnchor = c.anchor;
    view.m_ptSelEnd = c.end;
    EXPECT_EQ(view.DoKeyInput(keysym::kTab, c.state), 2);
    EXPECT_EQ(Text(), c.after);
    EXPECT_EQ(view.m_ptSelAnchor, c.anchorAfter);
    EXPECT_EQ(view.m_ptSelEnd, c.endAfter);
    EXPECT_EQ(CPoint(view.m_nCaretCol, view.m_nCaretRow), CPoint(0, c.anchorAfter.y));
  }
}

// The engine's side of a commit into an edit control, as kvr's engine does
// it: the commit opens a re-selection cycle; right Alt + '-' re-chooses
// while one is open, sending a BackSpace for each character of the text it
// replaces and then the next candidate. Like the engine, it takes the key's
// window as the cycle's window at every key.
struct ReChoiceEngine : IEditorEngine {
  AEdtVu* view = nullptr;
  unsigned long cycleWindow = 0;
  bool open = false;
  int replaying = 0;
  CPoint commitPos{-1, -1};
  std::string committed, next;
  int closes = 0;

  // The host's handling of engine text: a BackSpace for each leading 0x08,
  // the rest inserted at the caret, and the caret recorded.
  void Send(const std::string& text) {
    size_t i = 0;
    for (; i < text.size() && text[i] == '\b'; ++i) view->AtCharEv(keysym::kBackSpace, 0);
    for (; i < text.size(); i += 2) {
      int changed = 0;
      const unsigned long code = static_cast<unsigned char>(text[i]) |
                                 static_cast<unsigned long>(static_cast<unsigned char>(text[i + 1]))
                                     << 8;
      view->InsertChars(code, 2, changed, nullptr);
    }
    view->m_ptSelAnchor = view->m_ptSelEnd = CPoint(view->m_nCaretCol, view->m_nCaretRow);
    view->RecordEngineCommitPos();
  }
  void Commit(unsigned long window, const std::string& text, const std::string& then) {
    cycleWindow = window;
    open = true;
    committed = text;
    next = then;
    if (window == kHostWindow) Send(text);
  }
  void SetKeyWindow(unsigned long window) override { cycleWindow = window; }
  int ProcessKeyMsg(int type, unsigned long key, unsigned long) override {
    if (type != 2 || key != '-') return 0;
    if (open && cycleWindow == kHostWindow) {
      replaying = 1;
      Send(std::string(committed.size() / 2, '\b') + next);
      replaying = 0;
      std::swap(committed, next);
    }
    return 1;
  }
  unsigned long ReSelectionWindow() override { return open ? cycleWindow : 0; }
  void ResetReSelectionData() override {
    open = false;
    ++closes;
  }
  int ReSelectionReplaying() override { return replaying; }
  CPoint LastCommitPos() override { return commitPos; }
  void SetLastCommitPos(CPoint pos) override { commitPos = pos; }
};

EdtKeyEvent Key(unsigned long sym, unsigned long state, const std::string& text) {
  EdtKeyEvent k;
  k.keysym = sym;
  k.state = state;
  k.textLen = static_cast<int>(text.size());
  std::copy(text.begin(), text.end(), k.text);
  return k;
}

TEST_F(EdtVuTypingTest, ReChoosingNeverErasesOtherText) {
  enum Between { kNothing, kLeftKey, kPress, kTyping, kClientCommit };
  struct Case {
    const char* name;
    Between between;
    std::string after;
  } const cases[] = {
      {"re-chosen at once", kNothing, "ab" + kZhong + kHua + "cd"},
      {"caret moved by a key", kLeftKey, "ab" + kZhong + kGuo + "cd"},
      {"caret moved by a press", kPress, "ab" + kZhong + kGuo + "cd"},
      {"typed after the commit", kTyping, "ab" + kZhong + kGuo + "xcd"},
      {"the cycle is a client's", kClientCommit, "ab" + kZhong + kGuo + "cd"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ReChoiceEngine engine;
    engine.view = &view;
    SetEditorEngine(&engine);
    SetText("abcd");
    CaretAt(2, 0);
    engine.Commit(kHostWindow, kZhong + kGuo, kZhong + kHua);
    ASSERT_EQ(Text(), "ab" + kZhong + kGuo + "cd");
    switch (c.between) {
      case kNothing: break;
      case kLeftKey: view.PreProcessKey(Key(keysym::kLeft, 0, "")); break;
      case kPress:
        world.now += 5000;
        view.AtLBtnDwn(0, CPoint(2, 5));
        break;
      case kTyping: view.PreProcessKey(Key('x', 0, "x")); break;
      case kClientCommit: engine.Commit(kClientWindow, kHua, kGuo); break;
    }
    if (c.between == kLeftKey || c.between == kPress) {
      // Back to where the commit ended: the cycle stays closed.
      CaretAt(6, 0);
    }
    view.PreProcessKey(Key(keysym::kAltR, 0, ""));
    view.PreProcessKey(Key('-', kAlt, "-"));
    EXPECT_EQ(Text(), c.after);
    EXPECT_EQ(engine.closes, c.between == kNothing ? 0 : 1);
  }
}

}  // namespace
}  // namespace edtvutest
