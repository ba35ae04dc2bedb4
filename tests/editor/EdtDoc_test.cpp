// The document's own cases: rows of small texts, block splits at their
// thresholds, pairs and CR LF split over blocks, word wrap, the row reads,
// and damaged or stale positions.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/AEdtStor.h"
#include "editor/internal/EdtText.h"
#include "tests/editor/EdtDocHelpers.h"

using namespace edttest;

namespace {

// Appends text at the end of the document and rebuilds the rows as the
// view does.
void Append(AEdtStor& doc, const std::string& text) {
  long row = doc.GetLineCount() - 1;
  int col = doc.GetLineInfo(static_cast<int>(row)).m_nBytes;
  int disp = 0;
  std::string copy = text;
  const long oldRow = row;
  ASSERT_EQ(
      doc.InsertBytes(reinterpret_cast<unsigned char*>(&copy[0]), copy.size(), row, col, disp), 1);
  doc.MakeLineInfo(oldRow > 0 ? static_cast<int>(oldRow) - 1 : 0, 1);
}

// A document of two blocks, a then b: a whole block, and b appended after
// it (a + b above 640 bytes, b no longer than the piece size).
void TwoBlocks(AEdtStor& doc, const std::string& a, const std::string& b) {
  Append(doc, a);
  Append(doc, b);
  ASSERT_EQ(BlkLens(doc),
            (std::vector<int>{static_cast<int>(a.size()), static_cast<int>(b.size())}));
}

struct RowWant {
  int bytes, cols, end;
};

void ExpectRows(AEdtStor& doc, const std::vector<RowWant>& want) {
  ASSERT_EQ(doc.GetLineCount(), static_cast<int>(want.size()));
  for (size_t r = 0; r < want.size(); ++r) {
    SCOPED_TRACE(testing::Message() << "row " << r);
    EXPECT_EQ(doc.GetLineInfo(static_cast<int>(r)).m_nBytes, want[r].bytes);
    EXPECT_EQ(doc.GetLineInfo(static_cast<int>(r)).m_nCols, want[r].cols);
    EXPECT_EQ(doc.GetLineInfo(static_cast<int>(r)).m_nEnd, want[r].end);
  }
}

const std::string kMen = "\x82\x83";  // a traditional character whose trail byte is 0x83

}  // namespace

TEST(EdtDoc, NewDocumentIsOneEmptyBlockAndRow) {
  AEdtStor doc;
  EXPECT_EQ(BlkLens(doc), std::vector<int>{0});
  ExpectRows(doc, {{0, 0, 0}});
  CString line;
  EXPECT_EQ(doc.GetLine(0, line), 0);
  EXPECT_EQ(doc.GetLine(1, line), -1);
  EXPECT_EQ(doc.m_nWidest, 500);
  EXPECT_EQ(doc.OnNewDocument(), 1);
  ExpectRows(doc, {{0, 0, 0}});
}

TEST(EdtDoc, RowsOfSmallTexts) {
  struct Case {
    const char* name;
    std::string text;
    std::vector<RowWant> rows;
  } const cases[] = {
      {"CR LF", "ab\r\ncd", {{2, 2, 2}, {2, 2, 0}}},
      {"final LF", "ab\n", {{2, 2, 1}, {0, 0, 0}}},
      {"LF only", "a\nbc\n\nd", {{1, 1, 1}, {2, 2, 1}, {0, 0, 1}, {1, 1, 0}}},
      {"TAB", "a\tb", {{3, 5, 0}}},
      {"TAB from a stop", "abcd\tx", {{6, 9, 0}}},
      {"lone CR", "a\rb", {{3, 2, 0}}},
      {"lone CR at the end", "ab\r", {{3, 2, 0}}},
      {"CR CR LF", "a\r\r\nb", {{2, 1, 2}, {1, 1, 0}}},
      {"pairs", kMen + "x" + kMen, {{5, 5, 0}}},
      {"lone lead", "\x82\n", {{1, 1, 1}, {0, 0, 0}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    AEdtStor doc;
    Append(doc, c.text);
    ASSERT_NO_FATAL_FAILURE(ExpectRows(doc, c.rows));
    ASSERT_NO_FATAL_FAILURE(ExpectConsistent(doc, c.text));
  }
}

TEST(EdtDoc, InsertionSplitsBlocksAboveTheThreshold) {
  const std::string x500(500, 'x'), y200(200, 'y');
  {
    AEdtStor doc;
    TwoBlocks(doc, x500, y200);  // at the end: 500 and 200
  }
  {
    AEdtStor doc;
    Append(doc, x500);
    long row = 0;
    int col = 0, disp = 0;
    std::string y = y200;
    ASSERT_EQ(doc.InsertBytes(reinterpret_cast<unsigned char*>(&y[0]), y.size(), row, col, disp),
              1);
    doc.MakeLineInfo(0, 1);
    EXPECT_EQ(BlkLens(doc), (std::vector<int>{350, 350}));
    EXPECT_EQ(col, 200);
    ExpectConsistent(doc, y200 + x500);
  }
  {
    // 640 bytes stay one block; one more splits.
    AEdtStor doc;
    Append(doc, std::string(640, 'a'));
    EXPECT_EQ(BlkLens(doc), std::vector<int>{640});
    Append(doc, "b");
    EXPECT_EQ(BlkLens(doc), (std::vector<int>{640, 1}));
  }
}

TEST(EdtDoc, ReplacementCutsLargeBlocksEvenly) {
  AEdtStor doc;
  Append(doc, "ab");
  CPoint from(1, 0), to(1, 0);
  CString old;
  ASSERT_EQ(doc.ReplaceText(from, to, edttext::ToCString(std::string(1098, 'z')), &old), 1);
  doc.MakeLineInfo(0, 1);
  EXPECT_EQ(BlkLens(doc), (std::vector<int>{366, 366, 368}));
  EXPECT_EQ(Str(old), "");
  ExpectConsistent(doc, "a" + std::string(1098, 'z') + "b");
}

TEST(EdtDoc, CrAtBlockEndWithLfNextIsOneBreak) {
  AEdtStor doc;
  const std::string a = std::string(499, 'a') + "\r", b = "\n" + std::string(199, 'b');
  TwoBlocks(doc, a, b);
  ExpectRows(doc, {{499, 499, 2}, {199, 199, 0}});
  EXPECT_EQ(doc.GetLineInfo(1).m_nOffset, 1);  // the LF is no row of its own
  ExpectConsistent(doc, a + b);

  // Backspace at the start of row 1 takes the whole CR LF from both blocks.
  long row = 1;
  int col = 0, changed = 0;
  CString gone;
  ASSERT_EQ(doc.DeleteBytesLeft(row, col, changed, &gone), 1);
  EXPECT_EQ(Str(gone), "\r\n");
  EXPECT_EQ(row, 0);
  EXPECT_EQ(col, 499);
  doc.MakeLineInfo(0, 1);
  ExpectConsistent(doc, std::string(499, 'a') + std::string(199, 'b'));
}

TEST(EdtDoc, CrLfOverBlocksGoesWholeWithDelete) {
  AEdtStor doc;
  const std::string a = std::string(499, 'a') + "\r", b = "\n" + std::string(199, 'b');
  TwoBlocks(doc, a, b);
  long row = 0;
  int col = 499, changed = 0;
  CString gone;
  ASSERT_EQ(doc.DeleteBytesRight(row, col, changed, &gone), 1);
  EXPECT_EQ(Str(gone), "\r\n");
  doc.MakeLineInfo(0, 1);
  ExpectConsistent(doc, std::string(499, 'a') + std::string(199, 'b'));
}

TEST(EdtDoc, PairOverBlocksIsOneCharacter) {
  const std::string a = std::string(499, 'a') + kMen.substr(0, 1),
                    b = kMen.substr(1) + std::string(199, 'b');
  {
    AEdtStor doc;
    TwoBlocks(doc, a, b);
    ExpectRows(doc, {{700, 700, 0}});
    long row = 0;
    int col = 501, changed = 0;
    CString gone;
    ASSERT_EQ(doc.DeleteBytesLeft(row, col, changed, &gone), 1);  // from after the pair
    EXPECT_EQ(Str(gone), kMen);
    EXPECT_EQ(col, 499);
    doc.MakeLineInfo(0, 1);
    ExpectConsistent(doc, std::string(499, 'a') + std::string(199, 'b'));
  }
  {
    AEdtStor doc;
    TwoBlocks(doc, a, b);
    long row = 0;
    int col = 499, changed = 0;
    CString gone;
    ASSERT_EQ(doc.DeleteBytesRight(row, col, changed, &gone), 1);  // from before it
    EXPECT_EQ(Str(gone), kMen);
    doc.MakeLineInfo(0, 1);
    ExpectConsistent(doc, std::string(499, 'a') + std::string(199, 'b'));
  }
}

// A trail byte in 0x80..0xA0 is a GBK trail but no Big5 one: the pair must
// still go whole, whatever language the UI speaks.
TEST(EdtDoc, BackspaceTakesGbkPairsWithLowTrailBytes) {
  AEdtStor doc;
  Append(doc, "a" + kMen + kMen);
  long row = 0;
  int col = 5, changed = 0;
  CString gone;
  ASSERT_EQ(doc.DeleteBytesLeft(row, col, changed, &gone), 1);
  EXPECT_EQ(Str(gone), kMen);
  EXPECT_EQ(col, 3);
  doc.MakeLineInfo(0, 1);
  ExpectConsistent(doc, "a" + kMen);
}

TEST(EdtDoc, BackspaceAtRowStartJoinsRows) {
  struct Case {
    std::string text;
    long row;
    std::string gone, after;
    long wantRow;
    int wantCol;
  } const cases[] = {
      {"ab\ncd", 1, "\n", "abcd", 0, 2},
      {"ab\r\ncd", 1, "\r\n", "abcd", 0, 2},
      {"\n\n", 2, "\n", "\n", 1, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    AEdtStor doc;
    Append(doc, c.text);
    long row = c.row;
    int col = 0, changed = 0;
    CString gone;
    ASSERT_EQ(doc.DeleteBytesLeft(row, col, changed, &gone), 1);
    EXPECT_EQ(changed, 1);
    EXPECT_EQ(Str(gone), c.gone);
    EXPECT_EQ(row, c.wantRow);
    EXPECT_EQ(col, c.wantCol);
    doc.MakeLineInfo(0, 1);
    ExpectConsistent(doc, c.after);
  }
}

TEST(EdtDoc, DeletionsAtTheEndsOfTheTextBeep) {
  AEdtStor doc;
  Append(doc, "ab");
  long row = 0;
  int col = 0, changed = 0;
  EXPECT_EQ(doc.DeleteBytesLeft(row, col, changed, nullptr), 0);
  EXPECT_EQ(changed, 0);
  col = 2;
  EXPECT_EQ(doc.DeleteBytesRight(row, col, changed, nullptr), 0);
  ExpectConsistent(doc, "ab");
}

TEST(EdtDoc, DeletingTheOnlyByteLeavesOneEmptyBlock) {
  AEdtStor doc;
  Append(doc, "q");
  long row = 0;
  int col = 1, changed = 0;
  ASSERT_EQ(doc.DeleteBytesLeft(row, col, changed, nullptr), 1);
  doc.MakeLineInfo(0, 1);
  EXPECT_EQ(BlkLens(doc), std::vector<int>{0});
  ExpectRows(doc, {{0, 0, 0}});
}

TEST(EdtDoc, DeleteSplitsABlockAboveItsLimit) {
  // No change makes a block this large any more; one laid in directly
  // stands for it. The Delete key cuts it after 512 bytes.
  AEdtStor doc;
  doc.m_lstBlks.GetAt(doc.m_lstBlks.GetHeadPosition()) = edttext::ToCString(std::string(1100, 'a'));
  doc.MakeLineInfo(-1, 0);
  long row = 0;
  int col = 0, changed = 0;
  ASSERT_EQ(doc.DeleteBytesRight(row, col, changed, nullptr), 1);
  doc.MakeLineInfo(0, 1);
  EXPECT_EQ(BlkLens(doc), (std::vector<int>{512, 587}));
  ExpectConsistent(doc, std::string(1099, 'a'));
}

// Stream deletions join what is left of the first and the last block. The
// join is cut evenly when it grows past 640 bytes, so that repeated joins
// can never grow one block without end.
TEST(EdtDoc, StreamJoinsStayNearBlockSize) {
  AEdtStor doc;
  std::string model;
  for (int i = 0; i < 40; ++i) {
    const std::string part =
        std::string(500, static_cast<char>('a' + i % 26)) + std::string(200, 'Z');
    Append(doc, part);
    model += part;
  }
  for (int i = 0; i < 30; ++i) {
    // Two bytes around each block seam: the rest of both blocks joins.
    const std::vector<size_t> starts = BlkOffsets(doc);
    const size_t seam = starts[1 + static_cast<size_t>(i) % (starts.size() - 1)];
    long row;
    int col;
    ASSERT_TRUE(PosOf(doc, seam - 1, row, col));
    int changed = 0;
    ASSERT_EQ(doc.DeleteByteStream(row, col, 2, changed, nullptr), 1);
    doc.MakeLineInfo(row > 0 ? static_cast<int>(row) - 1 : 0, 1);
    model.erase(seam - 1, 2);
    ASSERT_NO_FATAL_FAILURE(ExpectConsistent(doc, model));
  }
  for (int len : BlkLens(doc)) EXPECT_LE(len, kBlkSplitAt);
}

TEST(EdtDoc, StreamEndsNeverCutAPairOrACrLf) {
  struct Case {
    std::string text;
    int col;
    unsigned long count;
    std::string gone;
  } const cases[] = {
      {"a" + kMen + "b", 0, 2, "a" + kMen},
      {"ab\r\ncd", 1, 2, "b\r\n"},
      {"abc", 1, 100000, "bc"},
      {"abc", 3, 5, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    AEdtStor doc;
    Append(doc, c.text);
    int changed = 0;
    CString gone;
    ASSERT_EQ(doc.DeleteByteStream(0, c.col, c.count, changed, &gone), 1);
    EXPECT_EQ(Str(gone), c.gone);
    doc.MakeLineInfo(0, 1);
    std::string want = c.text;
    want.erase(static_cast<size_t>(c.col), c.gone.size());
    ExpectConsistent(doc, want);
  }
}

TEST(EdtDoc, WordWrapNeverSplitsAPair) {
  AEdtStor doc;
  doc.m_bWordWrap = 1;
  doc.m_nWrapWidth = 10;
  std::string ten;
  for (int i = 0; i < 10; ++i) ten += kMen;
  Append(doc, ten);
  doc.MakeLineInfo(-1, 0);
  // Two rows of five pairs; the full last row gets a break and an empty row
  // after it, where the caret can go.
  ASSERT_GE(doc.GetLineCount(), 2);
  EXPECT_EQ(doc.GetLineInfo(0).m_nBytes, 10);
  EXPECT_EQ(doc.GetLineInfo(0).m_nEnd, kRowEndSoft);
  EXPECT_EQ(doc.GetLineInfo(1).m_nBytes, 10);
  EXPECT_EQ(doc.GetLineInfo(1).m_nOffset, 10);

  // An odd column: a pair that would end past the width moves down whole.
  AEdtStor odd;
  odd.m_bWordWrap = 1;
  odd.m_nWrapWidth = 5;
  Append(odd, "a" + kMen + kMen + kMen);
  odd.MakeLineInfo(-1, 0);
  EXPECT_EQ(odd.GetLineInfo(0).m_nBytes, 5);
  EXPECT_EQ(odd.GetLineInfo(1).m_nOffset, 5);
  EXPECT_EQ(odd.GetLineInfo(1).m_nBytes, 2);

  // A width of 1 still holds a pair whole instead of looping or cutting.
  AEdtStor narrow;
  narrow.m_bWordWrap = 1;
  narrow.m_nWrapWidth = 1;
  Append(narrow, kMen + "a");
  narrow.MakeLineInfo(-1, 0);
  EXPECT_EQ(narrow.GetLineInfo(0).m_nBytes, 2);
  EXPECT_EQ(narrow.GetLineInfo(1).m_nBytes, 1);
}

TEST(EdtDoc, HardLinesMapToWrappedRows) {
  AEdtStor doc;
  doc.m_bWordWrap = 1;
  doc.m_nWrapWidth = 5;
  Append(doc, "abcdefgh\nxy\n");
  doc.MakeLineInfo(-1, 0);
  ExpectRows(doc, {{5, 5, 0}, {3, 3, 1}, {2, 2, 1}, {0, 0, 0}});
  struct Case {
    int line, byteCol, row;
  } const cases[] = {{0, 0, 0},  {0, 3, 0}, {0, 5, 0}, {0, 6, 1},
                     {0, 99, 1}, {1, 1, 2}, {2, 0, 3}, {7, 0, 3}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.line << "," << c.byteCol);
    EXPECT_EQ(doc.MapHardRetRowColToSoftRetRow(c.line, c.byteCol), c.row);
  }
  EXPECT_EQ(doc.GetFirstLineEndedWithRet(0), 1);
  EXPECT_EQ(doc.GetFirstLineEndedWithRet(2), 2);
  EXPECT_EQ(doc.GetFirstLineEndedWithRet(3), 3);
  EXPECT_EQ(doc.GetFirstLineEndedWithRet(4), -1);
}

TEST(EdtDoc, DisplayColumnsToByteOffsets) {
  AEdtStor doc;
  Append(doc, "a\t" + kMen + "\rb");
  // a: 0-1, TAB: 1-4, pair: 4-6, CR: 6-6, b: 6-7
  struct Case {
    long disp;
    int roundUp;
    int off;
    long dispOut;
  } const cases[] = {{0, 0, 0, 0}, {1, 1, 1, 1}, {2, 0, 1, 1}, {2, 1, 2, 4},
                     {5, 0, 2, 4}, {5, 1, 4, 6}, {7, 1, 6, 7}, {99, 0, 6, 7}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.disp << "," << c.roundUp);
    long disp = c.disp;
    EXPECT_EQ(doc.GetCharPosFromDispPos(0, disp, c.roundUp), c.off);
    EXPECT_EQ(disp, c.dispOut);
  }
  long disp = 3;
  EXPECT_EQ(doc.GetCharPosFromDispPos(1, disp, 0), -1);
}

TEST(EdtDoc, TextBetweenPositionsAcrossBlocks) {
  AEdtStor doc;
  const std::string a = std::string(300, 'a') + "\n" + std::string(199, 'b'), b(200, 'c');
  TwoBlocks(doc, a, b);
  CString out;
  ASSERT_EQ(doc.GetText(CPoint(298, 0), CPoint(3, 1), out, 1), 1);
  EXPECT_EQ(Str(out), "aa\nbbb");
  ASSERT_EQ(doc.GetText(CPoint(198, 1), CPoint(202, 1), out, 1), 1);
  EXPECT_EQ(Str(out), "bccc");
  ASSERT_EQ(doc.GetText(CPoint(202, 1), CPoint(198, 1), out, 1), 1);  // either order
  EXPECT_EQ(Str(out), "bccc");
}

TEST(EdtDoc, PreviousByteTests) {
  AEdtStor doc;
  const std::string a = std::string(499, 'a') + "\r", b = "\n" + kMen + std::string(197, 'b');
  TwoBlocks(doc, a, b);
  const long first = doc.m_lstBlks.GetHeadPosition();
  const long second = doc.m_lstBlks.GetTailPosition();
  EXPECT_EQ(doc.IsPrevCharChn1stByteOrCR(second, 0, 1), 1);  // the CR that ends the block before
  EXPECT_EQ(doc.IsPrevCharChn1stByteOrCR(second, 2, 0), 1);  // the lead byte
  EXPECT_EQ(doc.IsPrevCharChn1stByteOrCR(second, 3, 0), 1);  // 0x83 is a lead byte as well
  EXPECT_EQ(doc.IsPrevCharChn1stByteOrCR(first, 0, 1), 0);   // no block before
  EXPECT_EQ(doc.IsPrevCharChn1stByteOrCR(0, 3, 0), 0);
}

TEST(EdtDoc, BlockSelectionSnapsOverPairs) {
  AEdtStor doc;
  doc.m_bBlockSel = 1;
  EXPECT_EQ(doc.InBlockSelectMode(), 1);
  Append(doc, "a" + kMen + "b");
  CPoint pt(2, 0);
  long blk;
  int off;
  ASSERT_EQ(doc.MapCoord2PosNIndex(pt, blk, off, 0), 1);
  EXPECT_EQ(pt.x, 3);
  EXPECT_EQ(off, 3);
  pt = CPoint(40, 0);
  ASSERT_EQ(doc.MapCoord2PosNIndex(pt, blk, off, 0), 1);
  EXPECT_EQ(pt.x, 4);
  doc.m_bWordWrap = 1;
  EXPECT_EQ(doc.InBlockSelectMode(), 0);
}

TEST(EdtDoc, PutBreaksWritesCrLfWhereRowsWouldWrap) {
  AEdtStor doc;
  Append(doc, "abcdefg\n" + kMen + kMen + kMen + "x");
  ASSERT_EQ(doc.PutBreaks(3), 1);
  EXPECT_EQ(DocText(doc), "abc\r\ndef\r\ng\n" + kMen + "\r\n" + kMen + "\r\n" + kMen + "x\r\n");
  EXPECT_EQ(doc.PutBreaks(0), 0);
  doc.MakeLineInfo(-1, 0);
  for (int r = 0; r < doc.GetLineCount(); ++r) EXPECT_LE(doc.GetLineInfo(r).m_nCols, 3);
}

TEST(EdtDoc, ClearAllLeavesOneEmptyBlock) {
  AEdtStor doc;
  Append(doc, std::string(2000, 'k'));
  doc.m_bDirty = 0;
  doc.ClearAll();
  EXPECT_EQ(doc.m_bDirty, 1);
  EXPECT_EQ(BlkLens(doc), std::vector<int>{0});
  doc.MakeLineInfo(-1, 0);
  ExpectConsistent(doc, "");
}

TEST(EdtDoc, AddEmptyLineAtEndWritesTheBreakOnce) {
  AEdtStor doc;
  Append(doc, "ab");
  doc.AddAEmptyLineAtEnd(1);
  EXPECT_EQ(DocText(doc), "ab\r\n");
  EXPECT_EQ(doc.GetLineInfo(0).m_nEnd, kRowEndCRLF);
  doc.AddAEmptyLineAtEnd(1);
  EXPECT_EQ(DocText(doc), "ab\r\n");
  EXPECT_EQ(doc.GetLineCount(), 3);
  doc.MakeLineInfo(-1, 0);
  ExpectConsistent(doc, "ab\r\n");
}

// A rebuild with early stop after a change in the middle of a long text
// rewrites only the rows up to the third row start that matches, past the
// changed block: a row far behind, marked here, is left as it was.
TEST(EdtDoc, EarlyStopLeavesTheRowsBehindTheChange) {
  AEdtStor doc;
  std::string model;
  for (int i = 0; i < 200; ++i) model += "line " + std::to_string(i) + "\r\n";
  Append(doc, model);
  doc.MakeLineInfo(-1, 0);
  const int last = doc.GetLineCount() - 2;
  const_cast<typLineInfo&>(doc.GetLineInfo(last)).m_nCols = 999;
  long row = 20;
  int col = 2, disp = 2;
  unsigned char x = 'X';
  ASSERT_EQ(doc.InsertBytes(&x, 1, row, col, disp), 1);
  doc.MakeLineInfo(19, 1);
  EXPECT_EQ(doc.GetLineInfo(last).m_nCols, 999);
  EXPECT_EQ(doc.GetLineInfo(20).m_nBytes, 8);
  doc.MakeLineInfo(-1, 0);
  model.insert(model.find("line 20\r") + 2, "X");
  ExpectConsistent(doc, model);
}

// With the change in the last block there is no block after it to pass:
// the rebuild must not stop at row starts that only look unchanged.
TEST(EdtDoc, ChangeInTheLastBlockRebuildsToTheEnd) {
  AEdtStor doc;
  Append(doc, "x\ny\nz");
  long row = 1;
  int col = 0, disp = 0;
  unsigned char text[] = {'q', '\n'};
  ASSERT_EQ(doc.InsertBytes(text, 2, row, col, disp), 1);
  EXPECT_EQ(row, 2);
  EXPECT_EQ(col, 0);
  doc.MakeLineInfo(0, 1);
  ExpectConsistent(doc, "x\nq\ny\nz");
}
