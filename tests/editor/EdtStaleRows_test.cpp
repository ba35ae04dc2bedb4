// Rows read before the table is rebuilt, and positions no row can hold:
// nothing reads past a block, and a row whose block's node was handed to a
// new block is never taken for live.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "editor/AEdtStor.h"
#include "editor/internal/EdtText.h"
#include "tests/editor/EdtDocHelpers.h"

using namespace edttest;

namespace {

void Append(AEdtStor& doc, std::string text) {
  long row = doc.GetLineCount() - 1;
  int col = doc.GetLineInfo(static_cast<int>(row)).m_nBytes, disp = 0;
  ASSERT_EQ(
      doc.InsertBytes(reinterpret_cast<unsigned char*>(&text[0]), text.size(), row, col, disp), 1);
  doc.MakeLineInfo(-1, 0);
}

// Every read that starts from a row stays inside the text (the sanitizer
// build reports any byte read past a block) and refuses a stale row.
void ReadEveryRow(AEdtStor& doc, const std::vector<typLineInfo>& rows) {
  const size_t total = DocText(doc).size();
  for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
    SCOPED_TRACE(testing::Message() << "row " << r);
    CString line;
    const int n = doc.GetLine(r, line);
    if (!doc.IsLineLive(rows[r])) {
      EXPECT_EQ(n, -1);
    } else {
      EXPECT_LE(static_cast<size_t>(line.GetLength()), total);
    }
    CPoint pt(rows[r].m_nBytes + 50, r);
    long blk = 0;
    int off = -1;
    if (doc.MapCoord2PosNIndex(pt, blk, off, 1)) {
      EXPECT_NE(doc.GetBlkSerial(blk), 0u);
      EXPECT_GE(off, 0);
      EXPECT_LE(off, doc.m_lstBlks.GetAt(blk).GetLength());
    } else {
      EXPECT_FALSE(doc.IsLineLive(rows[r]));
    }
    long disp = 1000;
    doc.GetCharPosFromDispPos(r, disp, 1);
    EXPECT_EQ(doc.IsPrevCharChn1stByteOrCR(rows[r].m_posBlk, rows[r].m_nOffset + 10, 0) >= 0, true);
  }
}

}  // namespace

TEST(EdtStaleRows, ReusedNodesNeverPassForLiveRows) {
  AEdtStor doc;
  std::string model;
  for (int i = 0; i < 30; ++i) model += std::string(60, static_cast<char>('a' + i % 26)) + "\r\n";
  Append(doc, model);
  ASSERT_GE(doc.m_lstBlks.GetCount(), 3);
  std::vector<typLineInfo> old;
  for (int r = 0; r < doc.GetLineCount(); ++r) old.push_back(doc.GetLineInfo(r));
  std::set<long> oldBlocks;
  for (const typLineInfo& li : old) oldBlocks.insert(li.m_posBlk);

  // Replace nearly everything: the middle blocks go, and the new pieces
  // take their nodes from the list's pool.
  CPoint from(1, 0), to(3, doc.GetLineCount() - 2);
  const std::string fresh(1500, 'N');
  ASSERT_EQ(doc.ReplaceText(from, to, edttext::ToCString(fresh), nullptr), 1);
  int reused = 0;
  for (long pos = doc.m_lstBlks.GetHeadPosition(); pos; doc.m_lstBlks.GetNext(pos))
    if (oldBlocks.count(pos)) ++reused;
  ASSERT_GT(reused, 1) << "the pool handed out no old node; the case tests nothing";
  int stale = 0;
  for (const typLineInfo& li : old)
    if (!doc.IsLineLive(li) && doc.GetBlkSerial(li.m_posBlk) != 0) ++stale;
  EXPECT_GT(stale, 0) << "rows on reused nodes must be stale";

  ReadEveryRow(doc, old);

  // Changes from stale rows go to the end of the text or are refused; the
  // rebuilt table is whole again.
  long row = doc.GetLineCount() - 3;
  int col = 40, changed = 0;
  EXPECT_EQ(doc.DeleteByteStream(row, col, 5, changed, nullptr), doc.IsLineLive(old[row]) ? 1 : 0);
  row = doc.GetLineCount() - 3;
  col = 40;
  doc.DeleteBytesRight(row, col, changed, nullptr);
  row = doc.GetLineCount() - 3;
  col = 40;
  doc.DeleteBytesLeft(row, col, changed, nullptr);
  doc.MakeLineInfo(-1, 0);
  ExpectConsistent(doc, DocText(doc));
}

TEST(EdtStaleRows, WildOffsetsAreClamped) {
  AEdtStor doc;
  Append(doc, "abc\r\n" + std::string(900, 'd') + "\nef");
  // A damaged table: counts and offsets past the text.
  typLineInfo& first = const_cast<typLineInfo&>(doc.GetLineInfo(0));
  first.m_nBytes = 100000;
  std::vector<typLineInfo> rows;
  for (int r = 0; r < doc.GetLineCount(); ++r) rows.push_back(doc.GetLineInfo(r));
  ReadEveryRow(doc, rows);
  CString line;
  EXPECT_EQ(doc.GetLine(0, line), static_cast<int>(DocText(doc).size()));
  const_cast<typLineInfo&>(doc.GetLineInfo(2)).m_nOffset = 5000;
  EXPECT_EQ(doc.GetLine(2, line), -1);

  doc.MakeLineInfo(-1, 0);
  std::string model = DocText(doc);
  struct Case {
    long row;
    int col;
  } const cases[] = {{0, 99}, {1, -7}, {2, 1000}, {-3, 0}, {1000000, 5}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.row << "," << c.col);
    long row = c.row;
    int col = c.col, disp = 0, changed = 0;
    unsigned char x = 'X';
    ASSERT_EQ(doc.InsertBytes(&x, 1, row, col, disp), 1);
    doc.MakeLineInfo(-1, 0);
    EXPECT_LE(doc.GetLineCount(), 6);  // a wild row adds one row at most
    row = c.row;
    col = c.col;
    doc.DeleteBytesRight(row, col, changed, nullptr);
    doc.MakeLineInfo(-1, 0);
    row = c.row;
    col = c.col;
    doc.DeleteBytesLeft(row, col, changed, nullptr);
    doc.MakeLineInfo(-1, 0);
    ASSERT_NO_FATAL_FAILURE(ExpectConsistent(doc, DocText(doc)));
  }
}

TEST(EdtStaleRows, ZeroTabWidthDoesNotDivideByZero) {
  AEdtStor doc;
  doc.m_nTabWidth = 0;
  Append(doc, "a\tb\t");
  EXPECT_EQ(doc.GetLineInfo(0).m_nCols, 4);
  long disp = 2;
  EXPECT_EQ(doc.GetCharPosFromDispPos(0, disp, 1), 2);
  EXPECT_EQ(doc.PutBreaks(2), 1);
}

// Removed text is handed back as one CString, which stops at 65530 bytes:
// a removal that could not be handed back whole is refused, not cut.
TEST(EdtStaleRows, RemovalsPastTheStringLimitAreRefusedWhenTheTextIsWanted) {
  AEdtStor doc;
  const std::string big(70000, 'w');
  Append(doc, big);
  const int rowEnd = doc.GetLineInfo(0).m_nBytes;
  int changed = 0;
  CString gone;
  EXPECT_EQ(doc.DeleteByteStream(0, 0, 70000, changed, &gone), 0);
  EXPECT_EQ(changed, 0);
  CString text;
  EXPECT_EQ(doc.GetText(CPoint(0, 0), CPoint(rowEnd, 0), text, 1), 0);
  CPoint from(0, 0), to(rowEnd, 0);
  CString old;
  EXPECT_EQ(doc.ReplaceText(from, to, "r", &old), 0);
  ExpectConsistent(doc, big);

  EXPECT_EQ(doc.ReplaceText(from, to, "r", nullptr), 1);  // nothing to hand back
  doc.MakeLineInfo(0, 1);
  ExpectConsistent(doc, "r");
}
