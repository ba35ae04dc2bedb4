// AEdtStor.h: the text editor's document. It keeps GBK text as an ordered
// list of byte blocks of about 512 bytes, the table of display rows built
// over them, the layout switches the view reads, and the undo list. It has
// no window and makes no X call; the editor view (AEdtVu) drives it.
//
// Positions: the view passes display positions, a row of the row table and
// a byte offset within that row (CPoint: x the offset, y the row). The
// document turns them into a block and an offset in that block. After every
// change the caller rebuilds the rows with MakeLineInfo(row - 1, 1), row
// clamped at 0; until then rows may name blocks that are gone.
//
// Blocks are not aligned to characters, breaks or rows: a double-byte pair,
// a CR LF or a row may run from one block into the next. No operation splits
// a pair or a CR LF. Pairs are always told by the GBK ranges: the text of
// every edit control is GBK, whatever the UI language.
//
// Line breaks are CR LF or a lone LF. A lone CR (one not followed by LF) is
// an ordinary byte of its row that takes no column.
//
// Stale rows: a block's list position is a node address that the list's
// pool hands out again once the block is removed. Every block therefore gets
// a serial number, kept in the live-block set and in every row built on it;
// a row is live only when its position is in the set with the same serial.
// Every walk is also bounded by the length of the block it is in and by the
// row's byte count, so even a row that is wrong never reads past a block.
//
// Ownership: the document owns its blocks, rows and undo steps. The edit
// control and the combo box create it with new and delete it through the
// virtual destructor.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>

#include "base/AArray.h"
#include "base/AList.h"
#include "base/CString.h"
#include "base/Geometry.h"
#include "editor/CEditStep.h"

// Row-end kinds of typLineInfo::m_nEnd.
constexpr int32_t kRowEndSoft = 0;  // wrapped, or the last row without a break
constexpr int32_t kRowEndLF = 1;
constexpr int32_t kRowEndCRLF = 2;
// A CR that ends its block with an LF still to come. The row builder looks
// into the next block at once, so no finished table holds it; it is kept for
// readers that test for it.
constexpr int32_t kRowEndPendingCR = -1;

// Block sizes: insertion and replacement split a block above kBlkSplitAt
// bytes into pieces of about kBlkSize; the Delete key splits above
// kBlkSplitAfterDelete.
constexpr int kBlkSize = 512;
constexpr int kBlkSplitAt = 640;
constexpr int kBlkSplitAfterDelete = 1024;

// One display row (plain record).
struct typLineInfo {
  long m_posBlk;       // AList position of the block of the row's first byte; 0: none
  int32_t m_nOffset;   // offset of the first byte in that block
  int32_t m_nBytes;    // text bytes, break not counted; may run into later blocks
  int32_t m_nCols;     // display columns (a byte 1, a pair 2, a TAB to the next stop)
  int32_t m_nEnd;      // kRowEnd...
  uint64_t m_nSerial;  // serial of the block when the row was built
};

class AEdtStor {
 public:
  AEdtStor();
  AEdtStor(const AEdtStor&) = delete;
  AEdtStor& operator=(const AEdtStor&) = delete;

  // ---- Whole document
  // One empty block, one empty row, widest 500, longest 0; returns 1. The
  // undo list is left alone.
  virtual int OnNewDocument();
  virtual void OnCloseDocument() {}
  virtual void SetTitle(const char*) {}
  // Writes nothing; returns 1.
  virtual int OnSaveDocument(const char*) { return 1; }
  virtual ~AEdtStor();

  // Removes every block, sets dirty and leaves one empty block. The rows are
  // the caller's: it resets the undo list and rebuilds them next.
  void ClearAll();
  void MySetTitle(const char*) {}
  void DocSave() {}
  void SetDirty() { m_bDirty = 1; }
  // 1 when word wrap is off and block selection on.
  int InBlockSelectMode() const { return !m_bWordWrap && m_bBlockSel ? 1 : 0; }

  // ---- Row table
  // Rebuilds the rows from a live row before startRow (below 0: all rows).
  // With mayStopEarly the build returns at the third row start that matches
  // the old table once it has passed the blocks the last change touched.
  void MakeLineInfo(int startRow, int mayStopEarly);
  // Appends a row of 0 bytes at the end of the last block; with withBreak a
  // last row without a break first gets CR LF written after it.
  void AddAEmptyLineAtEnd(int withBreak);
  // The row's byte count, its bytes (break not included) in out; -1 and out
  // empty for a row outside the table.
  int GetLine(int row, CString& out);
  // The first row at or after row with a break; the last row when none has
  // one; -1 for a row outside the table.
  int GetFirstLineEndedWithRet(int row);
  // The row that holds byte byteCol of hard line `line` (lines counted by
  // breaks, 0-based); the last row when the line does not exist; -1 when the
  // table is empty.
  int MapHardRetRowColToSoftRetRow(int line, int byteCol);
  // Display column dispCol of row to a byte offset: rounding up, the offset
  // after the character that reaches dispCol, else its start; dispCol is set
  // to the column of the offset returned. -1 for a row outside the table.
  int GetCharPosFromDispPos(long row, long& dispCol, int roundUp);

  int GetLineCount() const { return m_aLines.GetSize(); }
  // Row record; row must be inside the table.
  const typLineInfo& GetLineInfo(int row) const { return m_aLines[row]; }
  // Whether the row's block is still the block the row was built on.
  bool IsLineLive(const typLineInfo& line) const;

  // ---- Positions and text
  // Row pt.y (clamped into the table), byte pt.x of it (clamped to the row's
  // bytes) to a block and an offset in it. In block-selection mode without
  // noSnap pt.x is written back: clamped, and moved after a pair it falls
  // inside. Returns 1, or 0 for a stale row.
  int MapCoord2PosNIndex(CPoint& pt, long& block, int& offset, int noSnap);
  // The bytes between two positions in out (from before to); 0 when either
  // position is stale, or when the text would pass CString's limit.
  int GetText(CPoint from, CPoint to, CString& out, int noSnap);
  // Looks at the byte before offset in block (the last byte of the block
  // before when offset is below 1): with wantCR whether it is CR, else
  // whether it is a GBK lead byte. 0 for block 0, a stale block, no block
  // before, or an empty block.
  int IsPrevCharChn1stByteOrCR(long block, int offset, int wantCR);

  // ---- Changes. Each sets dirty; the caller then rebuilds the rows with
  // MakeLineInfo(row - 1, 1), row clamped at 0. deleted and old may be null;
  // given, they are emptied and receive the removed bytes in text order.
  //
  // Inserts len bytes at (row, col); row, col and dispCol move to the end of
  // the inserted bytes as the rows will be after the rebuild. Returns 1.
  int InsertBytes(unsigned char* src, unsigned long len, long& row, int& col, int& dispCol);
  // InsertBytes, the rebuild, and an undo step {inserted, merge class 0, the
  // old position, len}.
  int InsertBytesWithUndo(unsigned char* src, unsigned long len, long& row, int& col, int& dispCol);
  // Backspace: removes the character or break before (row, col) and moves
  // the position to where it was. Returns 1 with changed = 1, or beeps and
  // returns 0 at the start of the text.
  int DeleteBytesLeft(long& row, int& col, int& changed, CString* deleted);
  // Delete key: removes the character or break at (row, col); the position
  // stays. Returns 1 with changed = 1, or beeps and returns 0 at the end of
  // the text.
  int DeleteBytesRight(long& row, int& col, int& changed, CString* deleted);
  // Removes count bytes from (row, col), across blocks and rows (fewer when
  // the text ends first; one more when the last would cut a pair or a CR
  // LF). Returns 1 with changed = 1; beeps and returns 0 for a stale row, or
  // when deleted is given and the bytes would not fit in one CString.
  int DeleteByteStream(long row, int col, unsigned long count, int& changed, CString* deleted);
  // Replaces the bytes between two positions (either order; a column inside
  // a pair counts after it) by text. Returns 1; 0 when either position is
  // stale, or when old is given and the replaced bytes would not fit in one
  // CString. Equal positions and empty text change nothing.
  int ReplaceText(CPoint& from, CPoint& to, CString text, CString* old);
  // Writes CR LF at every place where rows of width columns would wrap, and
  // after the last row unless the text ends with LF. The rows are not
  // rebuilt. Returns 1; 0 when width is below 1.
  int PutBreaks(int width);

  // ---- Undo list (oldest step first)
  // Adds a step: drops the undone steps when the redo mark is set, else may
  // extend the last step by a typed run; clears the redo mark.
  void AddDoUndoRec(CEditStep& step);
  // The step an undo applies (0: none).
  long GetUndoRec();
  // The step a redo applies: the redo mark (0: none).
  long GetRedoRec() { return m_posRedo; }
  // Empties the list and clears the redo mark.
  void ResetDoUndoInfo();

  // ---- Fields (read and set by the view and the controls)
  int16_t m_nWrapWidth = 100;  // columns
  int32_t m_nWidest = 500;     // widest row seen, columns
  int32_t m_nLongest = 0;      // longest row seen, bytes
  int32_t m_nLanguage = 0;     // 1001: the view draws with the traditional font set
  AArray<typLineInfo, const typLineInfo&> m_aLines;  // the row table
  AList<CString, const CString&> m_lstBlks{10};      // the text, in order; never empty
  // Live blocks: list position -> serial. Every block of m_lstBlks is here,
  // and only those.
  std::unordered_map<long, uint64_t> m_mapLiveBlks;
  uint8_t m_bWordWrap = 0;
  uint8_t m_bListMode = 0;  // the view makes the document read-only
  uint8_t m_bDirty = 0;
  uint8_t m_bSingleLine = 0;
  uint8_t m_bBlockSel = 0;
  // A block at or after the last block the last change touched: the row
  // builder may stop early only after entering it. 0: nothing pending;
  // kChangeMarkEnd: the change reached the last block, no early stop.
  long m_posChangeMark = 0;
  static constexpr long kChangeMarkEnd = -1;
  int32_t m_nTabWidth = 4;
  int32_t m_nReadOnly = 0;
  CString m_strEmpty;  // the text of every new empty block
  CString m_strTitle;
  AList<CEditStep, const CEditStep&> m_lstUndo{10};
  long m_posRedo = 0;  // first undone step; 0 when nothing is undone

  // The serial of a live block, 0 for one that is not in the list.
  uint64_t GetBlkSerial(long pos) const;

 private:
  // A place in the text: a block and an offset in it.
  struct BlkPt {
    long blk;
    int off;
  };

  CString& Blk(long pos) { return m_lstBlks.GetAt(pos); }
  int BlkLen(long pos) { return m_lstBlks.GetAt(pos).GetLength(); }
  long NextBlk(long pos);
  long PrevBlk(long pos);
  // Adds a block after pos (0: at the head) and enters it in the live set.
  long NewBlkAfter(long pos, const CString& text);
  // Removes a block from the list and from the live set at once.
  void RemoveBlk(long pos);
  // Appends an empty block when the list is empty.
  void KeepOneBlk();
  // The first non-empty block after (before) blk, removing the empty blocks
  // passed; 0 when there is none.
  long NextNonEmpty(long blk);
  long PrevNonEmpty(long blk);
  long NonEmptyBeside(long blk, bool forward);
  // The change marker: the block after blk, or the end mark.
  void SetMarkAfter(long blk);

  // Whether row is in the table, live, and starts inside its block.
  bool RowOk(int row);
  BlkPt EndOfText();
  // x bytes forward from (blk, off), never past the end of the text.
  BlkPt Walk(long blk, int off, long x);
  // The bytes of a row (break not included), bounded by the text.
  std::string RowText(int row);
  // col clamped to the row's bytes and moved out of a pair it falls in.
  int SnapCol(int row, int col);
  // Adds rows at the end until row exists; row is first clamped to
  // [0, row count] so a wild row cannot grow the table without bound.
  void EnsureRow(long& row);
  // The text place of (row, col); false for a stale row.
  bool PointOf(int row, int col, BlkPt& pt);

  // Replaces the bytes from a to b (a not after b) by text; the joined
  // block is cut evenly above kBlkSplitAt bytes. removed gets the old bytes.
  void ReplaceRange(BlkPt a, BlkPt b, const std::string& text, std::string* removed);
  size_t BytesBetween(BlkPt a, BlkPt b);
  long PrevStep(long pos);
  // Where an insertion of src at (row, col, dispCol) leaves the caret.
  void PredictInsertEnd(const unsigned char* src, unsigned long len, long& row, int& col,
                        int& dispCol);

  uint64_t m_nNextSerial = 1;
};
