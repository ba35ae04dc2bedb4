// The view's commands without X: select all, copy, cut and paste against
// the fake world's clipboard, undo and redo of typed, pasted and replaced
// text, the whole text of single- and multi-line documents, and the
// delimiter jump.
#include <string>
#include <vector>

#include "framework/UIStrings.h"
#include "tests/editor/EdtVuFixture.h"

namespace edtvutest {
namespace {

// Records every engine call the commands make, with its arguments.
struct CommandEngine : IEditorEngine {
  std::vector<std::string> calls;
  int forecast = 0;
  void ResetChnInput(int a, int b, int c) override {
    calls.push_back("reset " + std::to_string(a) + std::to_string(b) + std::to_string(c));
  }
  int UseZiCiForecast() override { return forecast; }
  void ZiCiForecastingReset(int keep) override {
    calls.push_back("forecast " + std::to_string(keep));
  }
  void ShowNMoveInputPanes(int hideAll) override {
    calls.push_back("panes " + std::to_string(hideAll));
  }
};

// A world whose clipboard refuses to take text.
struct RefusingWorld : FakeWorld {
  int SetClipbrdText(char*) override { return 0; }
};

class EdtVuCommandsTest : public EdtVuTest {
 protected:
  void SetUp() override {
    EdtVuTest::SetUp();
    SetEditorEngine(&cmdEngine);
  }
  std::string Text() {
    CString all;
    view.GetAllText(all);
    return std::string(static_cast<const char*>(all), all.GetLength());
  }
  void Select(CPoint anchor, CPoint end) {
    view.m_ptSelAnchor = anchor;
    view.m_ptSelEnd = end;
    view.m_nCaretCol = end.x;
    view.m_nCaretRow = end.y;
  }
  void Caret(int col, int row) { Select(CPoint(col, row), CPoint(col, row)); }
  CPoint CaretPt() const { return CPoint(view.m_nCaretCol, view.m_nCaretRow); }
  // Types one byte at the caret as the key handler does: an insertion
  // step with the typed character's merge class, then the bytes.
  void Type(char c) {
    CEditStep step;
    step.m_nKind = kStepInserted;
    step.m_nMergeClass = iscsym(static_cast<unsigned char>(c)) ? kMergeIdentChar : kMergeOtherChar;
    step.m_pt = CaretPt();
    step.m_nLength = 1;
    doc.AddDoUndoRec(step);
    long row = view.m_nCaretRow;
    int col = view.m_nCaretCol, disp = 0;
    unsigned char b = static_cast<unsigned char>(c);
    doc.InsertBytes(&b, 1, row, col, disp);
    doc.MakeLineInfo(std::max<int>(view.m_nCaretRow - 1, 0), 1);
    Caret(col, static_cast<int>(row));
  }
  std::vector<int> Kinds() {
    std::vector<int> kinds;
    for (long pos = doc.m_lstUndo.GetHeadPosition(); pos;)
      kinds.push_back(doc.m_lstUndo.GetNext(pos).m_nKind);
    return kinds;
  }

  CommandEngine cmdEngine;
};

TEST_F(EdtVuCommandsTest, SelectAllThenCopyTakesTheWholeText) {
  SetText("one\r\ntwo\r\nthree");
  view.SetScrollThumPos(0, 16);
  view.SetScrollThumPos(1, 24);
  Caret(2, 1);
  view.OnEditSelectAll();
  EXPECT_EQ(view.m_ptSelAnchor, CPoint(5, 2));
  EXPECT_EQ(view.m_ptSelEnd, CPoint(0, 0));
  EXPECT_EQ(CaretPt(), CPoint(0, 0));
  EXPECT_EQ(view.GetScrollThumPosPt(), CPoint(0, 0));
  EXPECT_EQ(world.caret, CPoint(0, 0));
  view.AtEdtCpy();
  EXPECT_EQ(world.clipboard, "one\r\ntwo\r\nthree");
  EXPECT_EQ(cmdEngine.calls, (std::vector<std::string>{"reset 001", "reset 001"}));
}

TEST_F(EdtVuCommandsTest, SelectAllInBlockModeAsksToQuitIt) {
  struct BoxView : TestView {
    std::string shown;
    int edtvuMsgBox(const char* text, int type, int literal, int defButton) override {
      shown = std::string(text) + "|" + std::to_string(type) + std::to_string(literal) +
              std::to_string(defButton);
      return 1;
    }
  } box;
  box.SetWorld(&world);
  box.SetDocument(&doc);
  SetText("abc");
  doc.m_bBlockSel = 1;
  box.OnEditSelectAll();
  EXPECT_EQ(box.shown, "Please quit Block Selection Mode first.|10-1");
  EXPECT_EQ(box.m_ptSelAnchor, box.m_ptSelEnd);
  EXPECT_TRUE(cmdEngine.calls.empty());
}

TEST_F(EdtVuCommandsTest, CutWithAnEmptySelectionOnlyResets) {
  SetText("abc");
  world.clipboard = "before";
  Caret(1, 0);
  view.m_byHeldLead = 0xB0;
  view.AtEdtCut();
  EXPECT_EQ(Text(), "abc");
  EXPECT_EQ(world.clipboard, "before");
  EXPECT_EQ(doc.m_lstUndo.GetCount(), 0);
  EXPECT_EQ(view.m_byHeldLead, 0);
  EXPECT_EQ(cmdEngine.calls, (std::vector<std::string>{"reset 101", "reset 001"}));
}

TEST_F(EdtVuCommandsTest, CutMovesTheSelectionToTheClipboard) {
  SetText("ab\xD6\xD0\xCE\xC4yz\r\nrow");
  Select(CPoint(6, 0), CPoint(2, 0));
  cmdEngine.forecast = 1;
  view.AtEdtCut();
  EXPECT_EQ(world.clipboard, "\xD6\xD0\xCE\xC4");
  EXPECT_EQ(Text(), "abyz\r\nrow");
  EXPECT_EQ(CaretPt(), CPoint(2, 0));
  EXPECT_EQ(Kinds(), std::vector<int>{kStepDeleted});
  EXPECT_EQ(cmdEngine.calls.back(), "forecast 0");
  view.OnUnDo();
  EXPECT_EQ(Text(), "ab\xD6\xD0\xCE\xC4yz\r\nrow");
}

// A cut whose copy fails would otherwise drop text that is nowhere else.
TEST_F(EdtVuCommandsTest, CutKeepsTheTextWhenTheClipboardRefusesIt) {
  RefusingWorld refusing;
  view.SetWorld(&refusing);
  SetText("keep me");
  Select(CPoint(0, 0), CPoint(4, 0));
  view.AtEdtCut();
  EXPECT_EQ(Text(), "keep me");
  EXPECT_EQ(doc.m_lstUndo.GetCount(), 0);
}

TEST_F(EdtVuCommandsTest, PasteOverASelectionIsUndoneByTwoUndos) {
  SetText("one two three");
  world.clipboard = "2\r\n\xB6\xFE";  // 2, a break, er
  Select(CPoint(4, 0), CPoint(7, 0));
  doc.m_nReadOnly = 1;  // commands change a read-only document too
  cmdEngine.forecast = 1;
  view.AtEdtPaste();
  EXPECT_EQ(Text(), "one 2\r\n\xB6\xFE three");
  EXPECT_EQ(CaretPt(), CPoint(2, 1));
  EXPECT_EQ(view.m_ptSelAnchor, view.m_ptSelEnd);
  EXPECT_EQ(Kinds(), (std::vector<int>{kStepDeleted, kStepInserted}));
  EXPECT_EQ(cmdEngine.calls, (std::vector<std::string>{"forecast 0", "forecast 0"}));
  view.OnUnDo();
  EXPECT_EQ(Text(), "one  three");
  view.OnUnDo();
  EXPECT_EQ(Text(), "one two three");
  view.OnEditRedo();
  view.OnEditRedo();
  EXPECT_EQ(Text(), "one 2\r\n\xB6\xFE three");
  EXPECT_EQ(world.beeps, 0);
  view.OnEditRedo();  // nothing left to redo
  EXPECT_EQ(world.beeps, 1);
  EXPECT_EQ(Text(), "one 2\r\n\xB6\xFE three");
}

TEST_F(EdtVuCommandsTest, EmptyClipboardPastesNothing) {
  SetText("abc");
  Select(CPoint(0, 0), CPoint(2, 0));
  world.clipboard.clear();
  view.AtEdtPaste2();
  EXPECT_EQ(Text(), "abc");
  EXPECT_EQ(view.m_ptSelAnchor, CPoint(0, 0));
  EXPECT_EQ(doc.m_lstUndo.GetCount(), 0);
  EXPECT_EQ(view.m_bPasteVariant, 0);
}

TEST_F(EdtVuCommandsTest, TypedRunIsUndoneAndRedoneAsOneStep) {
  SetText("x\r\n");
  Caret(0, 1);
  for (char c : std::string("abc")) Type(c);
  ASSERT_EQ(Text(), "x\r\nabc");
  ASSERT_EQ(doc.m_lstUndo.GetCount(), 1);
  view.OnUnDo();
  EXPECT_EQ(Text(), "x\r\n");
  EXPECT_EQ(CaretPt(), CPoint(0, 1));
  view.OnUnDo();  // nothing before it
  EXPECT_EQ(world.beeps, 1);
  view.OnEditRedo();
  EXPECT_EQ(Text(), "x\r\nabc");
  EXPECT_EQ(CaretPt(), CPoint(3, 1));
  view.OnUnDo();
  Type('z');  // a new change drops what was undone
  view.OnEditRedo();
  EXPECT_EQ(Text(), "x\r\nz");
  EXPECT_EQ(world.beeps, 2);
}

TEST_F(EdtVuCommandsTest, ReplacedTextIsUndoneAndRedone) {
  SetText("say hello");
  Select(CPoint(4, 0), CPoint(9, 0));
  int changed = 0;
  view.DeleteSelection(changed);
  ASSERT_EQ(changed, 1);
  // What typing over a selection leaves: one replaced step.
  CEditStep& last = doc.m_lstUndo.GetTail();
  last.m_nKind = kStepReplaced;
  last.m_nLength = 2;
  long row = 0;
  int col = 4, disp = 0;
  unsigned char hi[] = "\xC4\xE3";
  doc.InsertBytes(hi, 2, row, col, disp);
  doc.MakeLineInfo(0, 1);
  ASSERT_EQ(Text(), "say \xC4\xE3");
  view.OnUnDo();
  EXPECT_EQ(Text(), "say hello");
  EXPECT_EQ(Kinds(), std::vector<int>{kStepReplaced});
  EXPECT_EQ(doc.m_lstUndo.GetTail().m_strText, "\xC4\xE3");
  EXPECT_EQ(doc.m_lstUndo.GetTail().m_nLength, 5);
  view.OnEditRedo();
  EXPECT_EQ(Text(), "say \xC4\xE3");
}

// The combo box inserts committed text without deleting its selection;
// the step must still name the place the bytes went in.
TEST_F(EdtVuCommandsTest, InsertionIsRecordedWhereItHappened) {
  SetText("abcdef");
  Select(CPoint(1, 0), CPoint(4, 0));
  unsigned char text[] = "XY";
  view.DoInsertStr(text);
  EXPECT_EQ(Text(), "abcdXYef");
  EXPECT_EQ(CaretPt(), CPoint(6, 0));
  view.OnUnDo();
  EXPECT_EQ(Text(), "abcdef");
}

TEST_F(EdtVuCommandsTest, DeleteAndClear) {
  SetText("abc\r\ndef");
  EXPECT_EQ(view.DoDeleteStr(CPoint(2, 0), 3), 1);  // c and the break
  EXPECT_EQ(Text(), "abdef");
  EXPECT_EQ(CaretPt(), CPoint(2, 0));
  EXPECT_EQ(doc.m_lstUndo.GetTail().m_strText, "c\r\n");
  view.ClearAll(0);
  EXPECT_EQ(Text(), "");
  EXPECT_EQ(doc.GetLineCount(), 1);
  EXPECT_EQ(doc.m_lstUndo.GetCount(), 0);
  view.OnUnDo();
  EXPECT_EQ(world.beeps, 1);
}

TEST_F(EdtVuCommandsTest, WholeTextKeepsEveryBreak) {
  SetText("a\r\nb\nc\r\n");
  EXPECT_EQ(Text(), "a\r\nb\nc\r\n");
  doc.m_bSingleLine = 1;
  CString first;
  view.GetAllText(first);
  EXPECT_EQ(first, "a");
}

TEST_F(EdtVuCommandsTest, DelimiterJump) {
  struct Case {
    const char* name;
    std::string text;
    CPoint anchor, end;  // the selection; the caret at end
    CPoint want;
  } const cases[] = {
      {"( forward", "f(a(b)c)", {2, 0}, {2, 0}, {7, 0}},
      {") backward", "f(a(b)c)", {7, 0}, {7, 0}, {1, 0}},
      {"#ifdef at depth", "#ifdef A\r\n#if B\r\nx\r\n#endif\r\n#endif", {6, 0}, {6, 0}, {0, 4}},
      {"#endif back", "#ifdef A\r\n#if B\r\nx\r\n#endif\r\n#endif", {6, 4}, {6, 4}, {0, 0}},
      {"#ifndef", "#ifndef X\r\n#endif", {0, 0}, {0, 0}, {0, 1}},
      {"BEGIN takes the first end", "BEGIN x begin y end z end", {0, 0}, {0, 0}, {16, 0}},
      {"a selected (", "(abcdefg)", {0, 0}, {1, 0}, {8, 0}},
      {"8 selected bytes", "(abcdefg)", {0, 0}, {8, 0}, {8, 0}},
      {"two rows selected", "(a\r\n)", {0, 0}, {1, 1}, {1, 1}},
      {"no partner", "f(a", {2, 0}, {2, 0}, {2, 0}},
      {"GBK brackets",
       "\xA1\xBE"
       "a\xA1\xBF",
       {2, 0},
       {2, 0},
       {3, 0}},
      {"a trail byte is no bracket", "\x81[x]", {2, 0}, {2, 0}, {2, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetText(c.text);
    Select(c.anchor, c.end);
    view.GoOtherDelimiter(0xDD);
    EXPECT_EQ(CaretPt(), c.want);
    if (c.want != c.end) {
      EXPECT_EQ(view.m_ptSelAnchor, c.want);
    }
  }
}

TEST_F(EdtVuCommandsTest, FocusPlacesTheCaretAndThePanes) {
  SetText("abc");
  Caret(2, 0);
  world.caretShown = 0;
  view.OnSetFocus(nullptr);
  EXPECT_EQ(world.caret, CPoint(16, 0));
  EXPECT_EQ(world.caretShown, 1);
  EXPECT_EQ(cmdEngine.calls, std::vector<std::string>{"panes 0"});
}

TEST_F(EdtVuCommandsTest, FontChangeBookkeeping) {
  SetText(Rows(20));
  view.SetScrollThumPos(1, 72);
  view.OnChooseFont();
  EXPECT_EQ(view.m_ptSavedViewPos, CPoint(0, 3));
  view.m_nFontHeight = 21;
  Select(CPoint(1, 1), CPoint(3, 2));
  view.m_dwDragDir = kDragDown;
  view.m_byHeldLead = 0xB0;
  view.UpdateParams();
  EXPECT_EQ(view.m_nFontHeight, 20);
  EXPECT_EQ(view.m_nRowHeight, 30);
  EXPECT_EQ(view.m_nCharWidth, 10);
  EXPECT_EQ(CaretPt(), CPoint(0, 0));
  EXPECT_EQ(view.m_ptSelAnchor, CPoint(0, 0));
  EXPECT_EQ(view.m_dwDragDir, 0u);
  EXPECT_EQ(view.m_byHeldLead, 0);
}

TEST_F(EdtVuCommandsTest, RowUnderTheRightButtonAndListSpots) {
  SetText(Rows(3) + "\r\nfile.c(12): 7");
  view.SetScrollThumPos(1, 24);
  EXPECT_EQ(view.OnRButtonDown(0, CPoint(5, 30)), 2);
  EXPECT_EQ(view.OnRButtonDown(0, CPoint(5, 3000)), 3);
  EXPECT_EQ(CaretPt(), CPoint(0, 0));  // nothing moves
  struct Case {
    int row;
    int spot;
  } const cases[] = {{3, 1}, {0, 0}};
  for (const Case& c : cases) {
    Caret(0, c.row);
    EXPECT_EQ(view.ParseCurLineAndGoSpot(), c.spot) << c.row;
  }
}

}  // namespace
}  // namespace edtvutest
