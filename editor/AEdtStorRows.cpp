// The row table of AEdtStor: the row builder and the reads of the table.
#include <algorithm>

#include "editor/AEdtStor.h"
#include "editor/internal/EdtText.h"

using edttext::IsLead;
using edttext::IsTrail;

namespace {
constexpr int kInitialWidest = 500;
constexpr int kRestartWidest = 10;
// The build may return once this many new rows start where the old ones
// did, past the blocks the last change touched.
constexpr int kMatchesToStop = 3;
}  // namespace

// The builder scans bytes block after block; a row may run on into the next
// block. A CR is a break only with an LF right after it, also when the LF
// starts the next block; any other CR is a byte of its row that takes no
// column, so that byte counts and offsets agree with the text the walks see.
void AEdtStor::MakeLineInfo(int startRow, int mayStopEarly) {
  int oldCount = m_aLines.GetSize();
  if (startRow >= oldCount - 1) mayStopEarly = 0;
  if (startRow > oldCount - 1) startRow = oldCount - 1;

  int at = 0;
  long blk = m_lstBlks.GetHeadPosition();
  int off = 0;
  if (startRow < 0) {
    m_nWidest = kInitialWidest;
    m_nLongest = 0;
    m_aLines.RemoveAll();
    m_aLines.SetSize(0, 512);
    oldCount = 0;
    mayStopEarly = 0;
  } else {
    int r = startRow - 1;
    while (r >= 0 && !RowOk(r)) --r;
    if (r >= 0) {
      at = r;
      blk = m_aLines[r].m_posBlk;
      off = m_aLines[r].m_nOffset;
    } else if (!mayStopEarly) {
      m_nWidest = kRestartWidest;
      m_nLongest = 0;
    }
  }

  bool reached = m_posChangeMark == 0;
  auto enter = [&](long b) {
    if (!reached && b == m_posChangeMark) {
      reached = true;
      m_posChangeMark = 0;
    }
  };
  // Moves (blk, off) off the end of a block into the next one.
  auto settle = [&]() {
    for (long next; off >= BlkLen(blk) && (next = NextBlk(blk)) != 0;) {
      blk = next;
      off = 0;
      enter(blk);
    }
  };
  // The byte after (blk, off), -1 at the end of the text.
  auto peekNext = [&]() -> int {
    if (off + 1 < BlkLen(blk)) return static_cast<unsigned char>(Blk(blk)[off + 1]);
    for (long b = NextBlk(blk); b; b = NextBlk(b))
      if (BlkLen(b) > 0) return static_cast<unsigned char>(Blk(b)[0]);
    return -1;
  };

  const int wrap = m_bWordWrap ? std::max<int>(m_nWrapWidth, 1) : 0;
  enter(blk);
  int i = at;
  int matches = 0;
  int lastEnd = at > 0 ? m_aLines[at - 1].m_nEnd : kRowEndLF;
  for (;;) {
    settle();
    typLineInfo row{blk, off, 0, 0, kRowEndSoft, GetBlkSerial(blk)};
    const bool rowAfterMark = reached;
    bool inPair = false;  // the last byte taken is a lead byte
    long prevBlk = blk;
    int prevOff = off;
    bool atEnd = false;
    for (;;) {
      settle();
      if (off >= BlkLen(blk)) {
        atEnd = true;
        break;
      }
      const unsigned char b = static_cast<unsigned char>(Blk(blk)[off]);
      if (wrap && row.m_nBytes > 0 && row.m_nCols >= wrap) {
        if (inPair && IsTrail(b)) {
          if (row.m_nBytes > 1) {
            // Give the lead byte back: the pair starts the next row.
            row.m_nBytes -= 1;
            row.m_nCols -= 1;
            blk = prevBlk;
            off = prevOff;
          } else {
            // A row too narrow for one pair still holds it whole.
            row.m_nBytes += 1;
            row.m_nCols += 1;
            ++off;
          }
        }
        break;
      }
      if (b == '\n') {
        row.m_nEnd = kRowEndLF;
        ++off;
        break;
      }
      if (b == '\r' && peekNext() == '\n') {
        row.m_nEnd = kRowEndCRLF;
        ++off;
        settle();
        ++off;
        break;
      }
      if (b == '\r') {
        inPair = false;
      } else {
        inPair = !inPair && IsLead(b);
        row.m_nCols = b == '\t' ? edttext::NextTabStop(row.m_nCols, m_nTabWidth) : row.m_nCols + 1;
      }
      row.m_nBytes += 1;
      prevBlk = blk;
      prevOff = off;
      ++off;
    }
    // At the end of the text an empty row is kept only as the first row of
    // the build or as the line after a final break.
    if (!atEnd || row.m_nBytes > 0 || i == at || lastEnd != kRowEndSoft) {
      if (mayStopEarly && rowAfterMark && i < oldCount) {
        const typLineInfo& old = m_aLines[i];
        if (old.m_posBlk == row.m_posBlk && old.m_nSerial == row.m_nSerial &&
            old.m_nOffset == row.m_nOffset && ++matches >= kMatchesToStop)
          return;
      }
      m_aLines.SetAtGrow(i, row);
      m_nWidest = std::max(m_nWidest, row.m_nCols);
      m_nLongest = std::max(m_nLongest, row.m_nBytes);
      lastEnd = row.m_nEnd;
      ++i;
    }
    if (atEnd) break;
  }

  m_aLines.SetSize(i, -1);
  if (i == 0) {
    m_aLines.Add(typLineInfo{0, 0, 0, 0, kRowEndSoft, 0});
    m_nWidest = kInitialWidest;
    m_nLongest = 0;
  }
  m_posChangeMark = 0;
  const int last = m_aLines.GetSize() - 1;
  if (wrap && m_aLines[last].m_nCols >= wrap) {
    // A full last row gets a break after it, so that the caret has a row to
    // go to. The rows around the new break are then built as any other, so
    // the table stays what a full rebuild makes; the new last row is empty,
    // which ends the recursion.
    AddAEmptyLineAtEnd(1);
    MakeLineInfo(last, 0);
  }
}

void AEdtStor::AddAEmptyLineAtEnd(int withBreak) {
  const long tail = m_lstBlks.GetTailPosition();
  const int n = m_aLines.GetSize();
  int end = kRowEndSoft;
  if (n > 0 && withBreak) {
    typLineInfo& last = m_aLines[n - 1];
    if (last.m_nEnd == kRowEndSoft) {
      Blk(tail) += "\r\n";
      SetDirty();
      last.m_nEnd = kRowEndCRLF;
    }
    end = last.m_nEnd;
  }
  m_aLines.Add(typLineInfo{tail, BlkLen(tail), 0, 0, end, GetBlkSerial(tail)});
}

int AEdtStor::GetLine(int row, CString& out) {
  out.Empty();
  if (row < 0 || row >= m_aLines.GetSize() || !RowOk(row)) return -1;
  const std::string text = RowText(row);
  out = edttext::ToCString(text);
  return static_cast<int>(text.size());
}

int AEdtStor::GetFirstLineEndedWithRet(int row) {
  const int n = m_aLines.GetSize();
  if (row < 0 || row >= n) return -1;
  for (int r = row; r < n; ++r)
    if (m_aLines[r].m_nEnd != kRowEndSoft) return r;
  return n - 1;
}

int AEdtStor::MapHardRetRowColToSoftRetRow(int line, int byteCol) {
  const int n = m_aLines.GetSize();
  if (n == 0) return -1;
  int r = 0;
  for (int seen = 0; r < n && seen < line; ++r)
    if (m_aLines[r].m_nEnd != kRowEndSoft) ++seen;
  if (line < 0 || r >= n) return n - 1;
  for (int sum = 0; r < n; ++r) {
    sum += m_aLines[r].m_nBytes;
    if (sum >= byteCol || m_aLines[r].m_nEnd != kRowEndSoft) return r;
  }
  return n - 1;
}

int AEdtStor::GetCharPosFromDispPos(long row, long& dispCol, int roundUp) {
  if (row < 0 || row >= m_aLines.GetSize()) return -1;
  if (dispCol <= 0) {
    dispCol = 0;
    return 0;
  }
  const std::string text = RowText(static_cast<int>(row));
  const size_t n = text.size();
  long col = 0;
  size_t i = 0;
  while (i < n) {
    const unsigned char b = static_cast<unsigned char>(text[i]);
    const int w = edttext::CharBytes(text.data(), n, i);
    const long endCol = b == '\t'   ? edttext::NextTabStop(static_cast<int>(col), m_nTabWidth)
                        : b == '\r' ? col
                                    : col + w;
    if (endCol >= dispCol) {
      if (roundUp) {
        dispCol = endCol;
        return static_cast<int>(i + w);
      }
      dispCol = col;
      return static_cast<int>(i);
    }
    col = endCol;
    i += w;
  }
  dispCol = col;
  return static_cast<int>(n);
}

// Reads the text as rows of width columns and writes CR LF wherever such a
// row would wrap. The text is laid out in fresh blocks; the rows are the
// caller's to rebuild.
int AEdtStor::PutBreaks(int width) {
  if (width < 1 || m_lstBlks.GetCount() == 0) return 0;
  std::string text;
  for (long b = m_lstBlks.GetHeadPosition(); b; b = NextBlk(b)) {
    const CString& s = Blk(b);
    text.append(static_cast<const char*>(s), static_cast<size_t>(s.GetLength()));
  }
  std::string out;
  out.reserve(text.size() + text.size() / 16 + 2);
  const size_t n = text.size();
  int cols = 0;
  size_t i = 0;
  while (i < n) {
    const unsigned char b = static_cast<unsigned char>(text[i]);
    if (b == '\n' || (b == '\r' && i + 1 < n && text[i + 1] == '\n')) {
      const size_t w = b == '\n' ? 1 : 2;
      out.append(text, i, w);
      i += w;
      cols = 0;
      continue;
    }
    const int w = b == '\r' ? 1 : edttext::CharBytes(text.data(), n, i);
    const int endCol = b == '\t'   ? edttext::NextTabStop(cols, m_nTabWidth)
                       : b == '\r' ? cols
                                   : cols + w;
    // A character that would pass the width starts a new row, unless the
    // row is still empty (a pair wider than the width stays whole).
    if (cols > 0 && w == 2 && endCol > width) {
      out += "\r\n";
      cols = 0;
      continue;
    }
    out.append(text, i, static_cast<size_t>(w));
    cols = endCol;
    i += static_cast<size_t>(w);
    if (cols >= width && i < n && text[i] != '\n' &&
        !(text[i] == '\r' && i + 1 < n && text[i + 1] == '\n')) {
      out += "\r\n";
      cols = 0;
    }
  }
  if (out.empty() || out.back() != '\n') out += "\r\n";

  m_lstBlks.RemoveAll();
  m_mapLiveBlks.clear();
  long after = 0;
  size_t pos = 0;
  for (size_t len : edttext::EvenPieces(out.size())) {
    after = NewBlkAfter(after, edttext::ToCString(out.substr(pos, len)));
    pos += len;
  }
  KeepOneBlk();
  SetDirty();
  m_posChangeMark = kChangeMarkEnd;
  return 1;
}
