// The undo list: which typed characters join one step, what a new change
// does to undone steps, and where undo and redo find their step.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/AEdtStor.h"
#include "tests/editor/EdtDocHelpers.h"

using namespace edttest;

namespace {

CEditStep Typed(int x, int y, int mergeClass, int len = 1) {
  CEditStep s;
  s.m_nKind = kStepInserted;
  s.m_nMergeClass = mergeClass;
  s.m_pt = CPoint(x, y);
  s.m_nLength = len;
  return s;
}

std::vector<int> Lengths(AEdtStor& doc) {
  std::vector<int> out;
  for (long pos = doc.m_lstUndo.GetHeadPosition(); pos;)
    out.push_back(doc.m_lstUndo.GetNext(pos).m_nLength);
  return out;
}

}  // namespace

TEST(EdtUndo, TypedRunsMergeOnlyWhenTheyContinue) {
  struct Case {
    const char* name;
    std::vector<CEditStep> steps;
    std::vector<int> lengths;
  } const cases[] = {
      {"a b c", {Typed(0, 0, 1), Typed(1, 0, 1), Typed(2, 0, 1)}, {3}},
      {"a, blank, b", {Typed(0, 0, 1), Typed(1, 0, 2), Typed(2, 0, 1)}, {1, 1, 1}},
      {"two blanks", {Typed(0, 0, 2), Typed(1, 0, 2)}, {2}},
      {"another row", {Typed(0, 0, 1), Typed(1, 1, 1)}, {1, 1}},
      {"a gap", {Typed(0, 0, 1), Typed(2, 0, 1)}, {1, 1}},
      {"back a column", {Typed(3, 0, 1), Typed(3, 0, 1)}, {1, 1}},
      {"never merged", {Typed(0, 0, 0), Typed(1, 0, 0)}, {1, 1}},
      {"after a paste", {Typed(0, 0, 0, 5), Typed(5, 0, 1)}, {5, 1}},
      {"a pair typed", {Typed(0, 0, 2, 2), Typed(2, 0, 2, 2)}, {4}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    AEdtStor doc;
    for (CEditStep s : c.steps) doc.AddDoUndoRec(s);
    EXPECT_EQ(Lengths(doc), c.lengths);
    EXPECT_EQ(doc.GetRedoRec(), 0);
  }
}

TEST(EdtUndo, OnlyInsertionsAreExtended) {
  AEdtStor doc;
  CEditStep del;
  del.m_nKind = kStepDeleted;
  del.m_nMergeClass = 1;
  del.m_pt = CPoint(0, 0);
  del.m_strText = "x";
  doc.AddDoUndoRec(del);
  CEditStep typed = Typed(0, 0, 1);
  doc.AddDoUndoRec(typed);
  EXPECT_EQ(doc.m_lstUndo.GetCount(), 2);
}

TEST(EdtUndo, UndoAndRedoFindTheirSteps) {
  AEdtStor doc;
  EXPECT_EQ(doc.GetUndoRec(), 0);  // nothing to undo
  EXPECT_EQ(doc.GetRedoRec(), 0);  // nothing to redo
  CEditStep a = Typed(0, 0, 0), b = Typed(0, 1, 0), c = Typed(0, 2, 0);
  doc.AddDoUndoRec(a);
  doc.AddDoUndoRec(b);
  doc.AddDoUndoRec(c);
  const long first = doc.m_lstUndo.FindIndex(0), second = doc.m_lstUndo.FindIndex(1),
             third = doc.m_lstUndo.FindIndex(2);
  EXPECT_EQ(doc.GetUndoRec(), third);

  // The view undoes a step and sets the mark to it.
  doc.m_posRedo = doc.GetUndoRec();
  EXPECT_EQ(doc.GetRedoRec(), third);
  EXPECT_EQ(doc.GetUndoRec(), second);
  doc.m_posRedo = doc.GetUndoRec();
  doc.m_posRedo = doc.GetUndoRec();
  EXPECT_EQ(doc.GetRedoRec(), first);  // the first step undone: the mark is on it
  EXPECT_EQ(doc.GetUndoRec(), 0);      // and nothing is left to undo

  // A new keystroke drops every undone step: nothing to redo.
  CEditStep d = Typed(0, 0, 1);
  doc.AddDoUndoRec(d);
  EXPECT_EQ(doc.m_lstUndo.GetCount(), 1);
  EXPECT_EQ(doc.GetRedoRec(), 0);
  EXPECT_EQ(doc.m_lstUndo.GetTail().m_nMergeClass, 1);
}

TEST(EdtUndo, NewChangeAfterPartialUndoKeepsTheDoneSteps) {
  AEdtStor doc;
  CEditStep a = Typed(0, 0, 1), b = Typed(0, 1, 1), c = Typed(5, 0, 1);
  doc.AddDoUndoRec(a);
  doc.AddDoUndoRec(b);
  doc.m_posRedo = doc.GetUndoRec();  // b undone
  // c would extend a run if it were merged; after an undo it never is.
  c.m_pt = CPoint(1, 0);
  doc.AddDoUndoRec(c);
  EXPECT_EQ(Lengths(doc), (std::vector<int>{1, 1}));
  EXPECT_EQ(doc.m_lstUndo.GetTail().m_pt.x, 1);
}

TEST(EdtUndo, ResetEmptiesTheList) {
  AEdtStor doc;
  CEditStep a = Typed(0, 0, 0);
  doc.AddDoUndoRec(a);
  doc.m_posRedo = doc.GetUndoRec();
  doc.ResetDoUndoInfo();
  EXPECT_EQ(doc.m_lstUndo.GetCount(), 0);
  EXPECT_EQ(doc.GetUndoRec(), 0);
  EXPECT_EQ(doc.GetRedoRec(), 0);
}

TEST(EdtUndo, StepResetKeepsKindAndPosition) {
  CEditStep s;
  s.m_nKind = kStepReplaced;
  s.m_nMergeClass = 2;
  s.m_pt = CPoint(4, 7);
  s.m_strText = "old";
  s.m_nLength = 9;
  CEditStep copy;
  copy = s;
  s.Reset();
  EXPECT_EQ(s.m_nKind, kStepReplaced);
  EXPECT_EQ(s.m_pt.x, 4);
  EXPECT_EQ(s.m_pt.y, 7);
  EXPECT_EQ(s.m_nMergeClass, 0);
  EXPECT_EQ(s.m_nLength, 0);
  EXPECT_TRUE(s.m_strText.IsEmpty());
  EXPECT_EQ(Str(copy.m_strText), "old");  // the copy keeps its own text
  EXPECT_EQ(copy.m_nLength, 9);
}

TEST(EdtUndo, InsertWithUndoRecordsTheStepAndRebuilds) {
  AEdtStor doc;
  unsigned char text[] = {'a', 'b', '\n', 'c'};
  long row = 0;
  int col = 0, disp = 0;
  ASSERT_EQ(doc.InsertBytesWithUndo(text, 4, row, col, disp), 1);
  EXPECT_EQ(row, 1);
  EXPECT_EQ(col, 1);
  ASSERT_EQ(doc.m_lstUndo.GetCount(), 1);
  const CEditStep& s = doc.m_lstUndo.GetTail();
  EXPECT_EQ(s.m_nKind, kStepInserted);
  EXPECT_EQ(s.m_nMergeClass, 0);
  EXPECT_EQ(s.m_pt.x, 0);
  EXPECT_EQ(s.m_pt.y, 0);
  EXPECT_EQ(s.m_nLength, 4);
  ExpectConsistent(doc, "ab\nc");

  // Applying the step the other way round, as the view's undo does, gives
  // the text back.
  int changed = 0;
  CString gone;
  ASSERT_EQ(doc.DeleteByteStream(s.m_pt.y, s.m_pt.x, static_cast<unsigned long>(s.m_nLength),
                                 changed, &gone),
            1);
  EXPECT_EQ(Str(gone), "ab\nc");
  doc.MakeLineInfo(0, 1);
  ExpectConsistent(doc, "");
}
