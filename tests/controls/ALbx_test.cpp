// The list box's rows and selection without a display: key steps (an empty
// list included), reading a row into a short buffer, removing rows and
// selecting by index. ALbx_xtest builds real list boxes in dialogs.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "controls/ALbx.h"
#include "controls/CtrlConsts.h"
#include "framework/KeySyms.h"

namespace {

void Fill(ALbx& lbx, int rows) {
  for (int i = 0; i < rows; ++i) lbx.AddRow(("row " + std::to_string(i)).c_str());
}

TEST(ALbx, StartsEmptyWithoutSelection) {
  ALbx lbx;
  EXPECT_EQ(lbx.m_nType, kCtrlListBox);
  EXPECT_EQ(lbx.GetSel(), -1);
  EXPECT_EQ(lbx.GetCount(), 0);
  EXPECT_EQ(lbx.m_nTextW, 10);
  EXPECT_EQ(lbx.m_nWidest, 10);
  EXPECT_EQ(lbx.m_pVScrl, nullptr);
}

TEST(ALbx, KeysStepTheSelectionInsideTheRows) {
  using namespace keysym;
  struct Case {
    int rows, sel;
    unsigned long key;
    int want;
  } cases[] = {
      // No rows: no key selects anything (row 0 does not exist).
      {0, -1, kUp, -1},
      {0, -1, kLeft, -1},
      {0, -1, kPrior, -1},
      {0, -1, kDown, -1},
      {0, -1, kRight, -1},
      {0, -1, kNext, -1},
      // From no selection.
      {3, -1, kUp, 0},
      {3, -1, kDown, 0},
      {3, -1, kPrior, 0},
      {3, -1, kNext, 1},
      // Inside, and held at both ends; pages are max((5 - 1) / 2, 2) = 2.
      {10, 5, kUp, 4},
      {10, 5, kRight, 6},
      {10, 5, kNext, 7},
      {10, 5, kPrior, 3},
      {10, 0, kUp, 0},
      {10, 9, kDown, 9},
      {10, 8, kNext, 9},
      {10, 1, kPrior, 0},
      // Other keys change nothing.
      {10, 5, kHome, 5},
      {10, 5, 'a', 5},
  };
  for (const Case& c : cases) {
    ALbx lbx;
    lbx.m_nVisRows = 5;
    Fill(lbx, c.rows);
    lbx.m_nSel = c.sel;
    lbx.MoveSelection(c.key);
    EXPECT_EQ(lbx.GetSel(), c.want) << c.rows << " rows, from " << c.sel << ", key " << c.key;
  }
}

TEST(ALbx, CopyTextFitsTheBufferAndChecksTheIndex) {
  ALbx lbx;
  lbx.AddRow("abcdefgh");
  lbx.AddRow("");
  char buf[8];
  std::memset(buf, 'x', sizeof buf);
  // A buffer of 5: four bytes and the NUL; the answer is the whole length.
  EXPECT_EQ(lbx.CopyText(0, buf, 5), 8);
  EXPECT_STREQ(buf, "abcd");
  EXPECT_EQ(buf[5], 'x');
  EXPECT_EQ(lbx.CopyText(0, buf, 8), 8);
  EXPECT_STREQ(buf, "abcdefg");
  EXPECT_EQ(lbx.CopyText(1, buf, 8), 0);
  EXPECT_STREQ(buf, "");
  // No size, no buffer or no such row: nothing is written.
  std::memset(buf, 'x', sizeof buf);
  EXPECT_EQ(lbx.CopyText(0, buf, 0), 8);
  EXPECT_EQ(lbx.CopyText(0, nullptr, 8), 8);
  EXPECT_EQ(lbx.CopyText(2, buf, 8), -1);
  EXPECT_EQ(lbx.CopyText(-1, buf, 8), -1);
  EXPECT_EQ(buf[0], 'x');

  CString out = "kept";
  EXPECT_EQ(lbx.GetText(2, out), 0);
  EXPECT_EQ(lbx.GetText(-1, out), 0);
  EXPECT_STREQ(out, "kept");
  EXPECT_EQ(lbx.GetText(0, out), 1);
  EXPECT_STREQ(out, "abcdefgh");
}

TEST(ALbx, RemovingRowsNeverLeavesTheSelectionOnARowThatIsGone) {
  ALbx lbx;
  Fill(lbx, 4);
  lbx.SetSel(3);
  EXPECT_EQ(lbx.RemoveRow(4), 0);
  EXPECT_EQ(lbx.RemoveRow(-1), 0);
  EXPECT_EQ(lbx.GetCount(), 4);
  EXPECT_EQ(lbx.GetSel(), 3);
  // The selected last row goes: no selection.
  EXPECT_EQ(lbx.RemoveRow(3), 1);
  EXPECT_EQ(lbx.GetCount(), 3);
  EXPECT_EQ(lbx.GetSel(), -1);
  // A row before the selection goes: the selection keeps its index while
  // that names a row, and is cleared once it would not.
  lbx.SetSel(1);
  EXPECT_EQ(lbx.RemoveRow(0), 1);
  EXPECT_EQ(lbx.GetSel(), 1);
  EXPECT_EQ(lbx.RemoveRow(0), 1);
  EXPECT_EQ(lbx.GetSel(), -1);
  EXPECT_EQ(lbx.RemoveRow(0), 1);
  EXPECT_EQ(lbx.GetCount(), 0);
  EXPECT_EQ(lbx.GetSel(), -1);
}

// Removing rows one by one (the word search's "find in result") must not
// measure every row each time: the widest width comes from the widths the
// rows kept. Here they keep widths no measuring would give.
TEST(ALbx, RemovingRowsUsesTheKeptWidths) {
  ALbx lbx;
  Fill(lbx, 4);
  lbx.m_arrItems[0].m_nWidth = 300;
  lbx.m_arrItems[2].m_nWidth = 200;
  lbx.m_nWidest = 303;
  EXPECT_EQ(lbx.RemoveRow(1), 1);  // not the widest: the widest stands
  EXPECT_EQ(lbx.m_nWidest, 303);
  EXPECT_EQ(lbx.RemoveRow(0), 1);  // the widest went: the next kept width
  EXPECT_EQ(lbx.m_nWidest, 203);
  EXPECT_EQ(lbx.m_arrItems[0].m_nWidth, 200);
  // Asked for explicitly, every row is measured again.
  EXPECT_EQ(lbx.GetLBWidth(-1), lbx.m_nMargin + 3);
  EXPECT_EQ(lbx.m_arrItems[0].m_nWidth, 0);
}

TEST(ALbx, SetSelHoldsTheIndexInsideTheRows) {
  ALbx lbx;
  lbx.SetSel(0);
  EXPECT_EQ(lbx.GetSel(), -1);  // an empty list
  Fill(lbx, 3);
  for (auto [i, want] : {std::pair{1, 1}, {5, 2}, {-1, -1}, {-7, -1}, {0, 0}}) {
    lbx.SetSel(i);
    EXPECT_EQ(lbx.GetSel(), want) << "SetSel(" << i << ")";
  }
}

TEST(ALbx, ReSetEmptiesTheList) {
  ALbx lbx;
  Fill(lbx, 4);
  lbx.SetSel(2);
  lbx.m_bHoldRedraw = 1;
  lbx.ReSet();
  EXPECT_EQ(lbx.GetCount(), 0);
  EXPECT_EQ(lbx.GetSel(), -1);
  EXPECT_EQ(lbx.m_bHoldRedraw, 0);
  EXPECT_EQ(lbx.m_nWidest, 10);
}

}  // namespace
