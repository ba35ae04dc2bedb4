// The changes of AEdtStor: insertion, Backspace and Delete, stream deletion
// and replacement. None of them splits a GBK pair or a CR LF, also where
// one runs from one block into the next, and none reads past a block.
#include <algorithm>
#include <string>

#include "editor/AEdtStor.h"
#include "editor/internal/EdtText.h"
#include "framework/SysUtil.h"

using edttext::IsLead;
using edttext::IsTrail;

namespace {

bool FitsCString(size_t n) { return n <= static_cast<size_t>(CString::kMaxLength); }

void Hand(const std::string& bytes, CString* out) {
  if (out) *out = edttext::ToCString(bytes);
}

}  // namespace

// ---------------------------------------------------------------- insertion

void AEdtStor::PredictInsertEnd(const unsigned char* src, unsigned long len, long& row, int& col,
                                int& dispCol) {
  const int n = m_aLines.GetSize();
  const int wrap = m_bWordWrap ? std::max<int>(m_nWrapWidth, 1) : 0;
  // One byte typed at the start of a wrapped row flows into the row before
  // when it fits there; the caret stays where it is.
  if (wrap && len == 1 && col == 0 && row > 0 && row - 1 < n &&
      m_aLines[row - 1].m_nEnd == kRowEndSoft && m_aLines[row - 1].m_nCols < wrap)
    return;
  bool soft = false;
  for (unsigned long i = 0; i < len;) {
    const unsigned char b = src[i];
    if (b == '\t') {
      const int next = edttext::NextTabStop(dispCol, m_nTabWidth);
      if (wrap && next >= wrap) {
        ++row;
        col = dispCol = 0;
      } else {
        dispCol = next;
        ++col;
      }
      soft = false;
      ++i;
      continue;
    }
    if (b == '\r' && i + 1 < len && src[i + 1] == '\n') {
      ++i;  // the CR of a CR LF: the LF moves the caret
      continue;
    }
    if (b == '\n') {
      if (!soft) {
        ++row;
        col = dispCol = 0;
      }
      soft = false;
      ++i;
      continue;
    }
    // A lone CR is a byte of its row without a column.
    const int w = b == '\r' ? 1 : edttext::CharBytes(reinterpret_cast<const char*>(src), len, i);
    const int cols = b == '\r' ? 0 : w;
    if (wrap && cols > 0 && dispCol + cols >= wrap) {
      // The character starts the next row, or ends this one exactly.
      const bool exact = dispCol + cols == wrap;
      ++row;
      col = exact ? 0 : w;
      dispCol = exact ? 0 : cols;
      soft = true;
    } else {
      col += w;
      dispCol += cols;
      soft = false;
    }
    i += static_cast<unsigned long>(w);
  }
}

int AEdtStor::InsertBytes(unsigned char* src, unsigned long len, long& row, int& col,
                          int& dispCol) {
  if (!src) len = 0;
  EnsureRow(row);
  const int at = SnapCol(static_cast<int>(row), col);
  long endRow = row;
  int endCol = at;
  PredictInsertEnd(src, len, endRow, endCol, dispCol);
  if (len == 0) {
    col = at;
    return 1;
  }

  BlkPt p;
  if (!PointOf(static_cast<int>(row), at, p)) p = EndOfText();
  {
    // A point right after a break belongs before it: step back by the
    // break's own length, one byte for a lone LF, two for CR LF.
    const CString& s = Blk(p.blk);
    if (at >= 1 && p.off >= 1 && s[p.off - 1] == '\n') {
      --p.off;
      if (p.off >= 1 && s[p.off - 1] == '\r') --p.off;
    }
  }

  const CString& old = Blk(p.blk);
  const char* bytes = reinterpret_cast<const char*>(src);
  const size_t oldLen = static_cast<size_t>(old.GetLength());
  const size_t m = oldLen + len;
  if (m <= static_cast<size_t>(kBlkSplitAt)) {
    std::string text(static_cast<const char*>(old), static_cast<size_t>(p.off));
    text.append(bytes, len);
    text.append(static_cast<const char*>(old) + p.off, oldLen - static_cast<size_t>(p.off));
    Blk(p.blk) = edttext::ToCString(text);
    SetMarkAfter(p.blk);
  } else {
    // The bytes before the point stay together as the first piece; the
    // inserted bytes and the rest follow in pieces of m / k bytes.
    const size_t k = (m + kBlkSize - 1) / kBlkSize;
    const size_t piece = m / k;
    const std::string after(static_cast<const char*>(old) + p.off,
                            oldLen - static_cast<size_t>(p.off));
    std::string cur(static_cast<const char*>(old), static_cast<size_t>(p.off));
    long last = p.blk;
    auto close = [&]() {
      last = NewBlkAfter(last, edttext::ToCString(cur));
      cur.clear();
    };
    if (cur.size() >= piece) close();
    auto feed = [&](const char* s, size_t n) {
      while (n > 0) {
        const size_t take = std::min(n, piece - cur.size());
        cur.append(s, take);
        s += take;
        n -= take;
        if (cur.size() >= piece) close();
      }
    };
    feed(bytes, len);
    feed(after.data(), after.size());
    if (!cur.empty()) close();
    RemoveBlk(p.blk);
    SetMarkAfter(last);
  }
  SetDirty();
  row = endRow;
  col = endCol;
  return 1;
}

int AEdtStor::InsertBytesWithUndo(unsigned char* src, unsigned long len, long& row, int& col,
                                  int& dispCol) {
  EnsureRow(row);
  CEditStep step;
  step.m_nKind = kStepInserted;
  step.m_pt = CPoint(SnapCol(static_cast<int>(row), col), static_cast<int>(row));
  step.m_nLength = src ? static_cast<int32_t>(len) : 0;
  const int oldRow = static_cast<int>(row);
  const int done = InsertBytes(src, len, row, col, dispCol);
  MakeLineInfo(std::max(oldRow - 1, 0), 1);
  AddDoUndoRec(step);
  return done;
}

// ---------------------------------------------------------------- Backspace

int AEdtStor::DeleteBytesLeft(long& row, int& col, int& changed, CString* deleted) {
  if (deleted) deleted->Empty();
  if (row < 1 && col < 1) {
    MessageBeep(0);
    return 0;
  }
  EnsureRow(row);
  const bool atRowStart = col < 1;
  int r = static_cast<int>(row);
  int c = SnapCol(r, col);
  if (c == 0 && r >= 1 && m_aLines[r - 1].m_nEnd == kRowEndSoft) {
    // The start of a wrapped row: the character before is the last of the
    // row above.
    --r;
    c = m_aLines[r].m_nBytes;
  }
  const std::string text = RowText(r);
  const bool pair = edttext::PairBefore(text.data(), text.size(), c);

  BlkPt p;
  if (!PointOf(r, c, p)) p = EndOfText();
  SetDirty();
  changed = 1;
  if (p.off == 0) {
    const long prev = PrevNonEmpty(p.blk);
    if (!prev) {
      MessageBeep(0);
      return 0;
    }
    p = BlkPt{prev, BlkLen(prev)};
  }

  CString& s = Blk(p.blk);
  const unsigned char before = static_cast<unsigned char>(s[p.off - 1]);
  int width = 1;
  long prevBlk = 0;  // the block that holds the first byte when it is not p.blk
  if (pair) {
    width = 2;
  } else if (before == '\n') {
    if (p.off >= 2) {
      if (s[p.off - 2] == '\r') width = 2;
    } else {
      const long prev = PrevNonEmpty(p.blk);
      if (prev && Blk(prev)[BlkLen(prev) - 1] == '\r') width = 2;
    }
  }
  if (width == 2 && p.off == 1) prevBlk = PrevNonEmpty(p.blk);
  if (width == 2 && p.off == 1 && !prevBlk) width = 1;

  std::string removed;
  if (prevBlk) {
    CString& ps = Blk(prevBlk);
    removed += ps[ps.GetLength() - 1];
    ps.Delete(ps.GetLength() - 1, 1);
    if (ps.IsEmpty()) RemoveBlk(prevBlk);
  }
  const int inBlock = prevBlk ? 1 : width;
  removed.append(static_cast<const char*>(s) + p.off - inBlock, static_cast<size_t>(inBlock));
  s.Delete(p.off - inBlock, inBlock);
  const long after = NextBlk(p.blk);
  if (s.IsEmpty()) {
    RemoveBlk(p.blk);
    KeepOneBlk();
    m_posChangeMark = after ? after : kChangeMarkEnd;
  } else {
    SetMarkAfter(p.blk);
  }
  Hand(removed, deleted);

  if (atRowStart) {
    if (row > 0) {
      --row;
      const bool wasBreak = removed.back() == '\n';
      col = std::max(m_aLines[row].m_nBytes - (wasBreak ? 0 : width), 0);
    }
  } else {
    col = std::max(c - width, 0);
  }
  return 1;
}

// ---------------------------------------------------------------- Delete key

int AEdtStor::DeleteBytesRight(long& row, int& col, int& changed, CString* deleted) {
  if (deleted) deleted->Empty();
  EnsureRow(row);
  const typLineInfo& li = m_aLines[row];
  BlkPt p;
  if (IsLineLive(li)) {
    if (li.m_nOffset > BlkLen(li.m_posBlk)) {
      MessageBeep(0);
      return 0;
    }
    col = SnapCol(static_cast<int>(row), col);
    PointOf(static_cast<int>(row), col, p);
  } else {
    p = EndOfText();
  }
  SetDirty();
  changed = 1;
  if (p.off >= BlkLen(p.blk)) {
    const long next = NextNonEmpty(p.blk);
    if (!next) {
      MessageBeep(0);
      return 0;
    }
    p = BlkPt{next, 0};
  }

  CString& s = Blk(p.blk);
  const unsigned char first = static_cast<unsigned char>(s[p.off]);
  std::string removed(1, static_cast<char>(first));
  long secondBlk = p.blk;  // where the second byte of a pair or CR LF lies
  if (IsLead(first) || first == '\r') {
    int second = -1;
    if (p.off + 1 < s.GetLength()) {
      second = static_cast<unsigned char>(s[p.off + 1]);
    } else if ((secondBlk = NextNonEmpty(p.blk)) != 0) {
      second = static_cast<unsigned char>(Blk(secondBlk)[0]);
    }
    if (second >= 0 &&
        (first == '\r' ? second == '\n' : IsTrail(static_cast<unsigned char>(second))))
      removed += static_cast<char>(second);
  }

  long touched = p.blk;
  if (removed.size() == 2 && secondBlk != p.blk) {
    s.Delete(p.off, 1);
    CString& ns = Blk(secondBlk);
    ns.Delete(0, 1);
    touched = secondBlk;
    if (ns.IsEmpty()) {
      touched = p.blk;
      RemoveBlk(secondBlk);
    }
  } else {
    s.Delete(p.off, static_cast<int>(removed.size()));
  }
  if (s.GetLength() > kBlkSplitAfterDelete) {
    const CString rest = s.Mid(kBlkSize);
    s = s.Left(kBlkSize);
    const long split = NewBlkAfter(p.blk, rest);
    if (touched == p.blk) touched = split;
  }
  if (s.IsEmpty()) {
    const long after = NextBlk(p.blk);
    RemoveBlk(p.blk);
    KeepOneBlk();
    if (touched == p.blk) touched = 0;
    m_posChangeMark = after ? after : kChangeMarkEnd;
  }
  if (touched) SetMarkAfter(touched);
  Hand(removed, deleted);
  return 1;
}

// ---------------------------------------------------------------- streams

void AEdtStor::ReplaceRange(BlkPt a, BlkPt b, const std::string& text, std::string* removed) {
  std::string gone;
  long blk = a.blk;
  int off = a.off;
  int lastEnd = off;
  for (;;) {
    const CString& s = Blk(blk);
    lastEnd = blk == b.blk ? std::max(b.off, off) : s.GetLength();
    gone.append(static_cast<const char*>(s) + off, static_cast<size_t>(lastEnd - off));
    if (blk == b.blk) break;
    const long next = NextBlk(blk);
    if (!next) break;
    blk = next;
    off = 0;
  }
  const long last = blk;

  const CString& head = Blk(a.blk);
  std::string joined(static_cast<const char*>(head), static_cast<size_t>(a.off));
  joined += text;
  const CString& tail = Blk(last);
  joined.append(static_cast<const char*>(tail) + lastEnd,
                static_cast<size_t>(tail.GetLength() - lastEnd));
  if (last != a.blk) {
    for (long x = NextBlk(a.blk); x;) {
      const long next = NextBlk(x);
      RemoveBlk(x);
      if (x == last) break;
      x = next;
    }
  }

  if (joined.size() <= static_cast<size_t>(kBlkSplitAt)) {
    if (joined.empty() && m_lstBlks.GetCount() > 1) {
      const long after = NextBlk(a.blk);
      RemoveBlk(a.blk);
      m_posChangeMark = after ? after : kChangeMarkEnd;
    } else {
      Blk(a.blk) = edttext::ToCString(joined);
      SetMarkAfter(a.blk);
    }
  } else {
    // Cut evenly: a join of two large blocks must not keep growing.
    long lastPiece = a.blk;
    size_t pos = 0;
    for (size_t len : edttext::EvenPieces(joined.size())) {
      lastPiece = NewBlkAfter(lastPiece, edttext::ToCString(joined.substr(pos, len)));
      pos += len;
    }
    RemoveBlk(a.blk);
    SetMarkAfter(lastPiece);
  }
  KeepOneBlk();
  if (removed) *removed = std::move(gone);
}

int AEdtStor::DeleteByteStream(long row, int col, unsigned long count, int& changed,
                               CString* deleted) {
  if (deleted) deleted->Empty();
  if (!RowOk(static_cast<int>(row))) {
    MessageBeep(0);
    return 0;
  }
  BlkPt a;
  PointOf(static_cast<int>(row), SnapCol(static_cast<int>(row), col), a);

  // Read the bytes to go, then move the end out of a pair or a CR LF that
  // it would cut.
  std::string span;
  long blk = a.blk;
  int off = a.off;
  for (;;) {
    const CString& s = Blk(blk);
    const size_t take =
        std::min<size_t>(count - span.size(), static_cast<size_t>(s.GetLength() - off));
    span.append(static_cast<const char*>(s) + off, take);
    if (span.size() >= count) break;
    const long next = NextBlk(blk);
    if (!next) break;
    blk = next;
    off = 0;
  }
  BlkPt b = Walk(a.blk, a.off, static_cast<long>(span.size()));
  if (!span.empty()) {
    const BlkPt beyond = Walk(b.blk, b.off, 1);
    const bool more = beyond.blk != b.blk || beyond.off != b.off;
    if (more) {
      const unsigned char next = static_cast<unsigned char>(Blk(beyond.blk)[beyond.off - 1]);
      size_t i = 0;
      while (i + 1 < span.size()) i += edttext::CharBytes(span.data(), span.size(), i);
      const unsigned char lastByte = static_cast<unsigned char>(span.back());
      const bool cutsPair = i == span.size() - 1 && IsLead(lastByte) && IsTrail(next);
      if (cutsPair || (lastByte == '\r' && next == '\n')) {
        span += static_cast<char>(next);
        b = beyond;
      }
    }
  }
  if (deleted && !FitsCString(span.size())) {
    // The removed text could not be handed back whole (for undo): refuse.
    MessageBeep(0);
    return 0;
  }
  SetDirty();
  changed = 1;
  ReplaceRange(a, b, std::string(), nullptr);
  Hand(span, deleted);
  return 1;
}

int AEdtStor::ReplaceText(CPoint& from, CPoint& to, CString text, CString* old) {
  if (old) old->Empty();
  const int n = m_aLines.GetSize();
  if (n == 0) return 0;
  const int noSnap = InBlockSelectMode() ? 0 : 1;
  CPoint f = from, t = to;
  if (noSnap) {
    // Positions inside a pair move after it, so no character is cut.
    f.y = std::clamp(f.y, 0, n - 1);
    t.y = std::clamp(t.y, 0, n - 1);
    f.x = SnapCol(f.y, f.x);
    t.x = SnapCol(t.y, t.x);
  }
  BlkPt a{}, b{};
  if (!MapCoord2PosNIndex(f, a.blk, a.off, noSnap) || !MapCoord2PosNIndex(t, b.blk, b.off, noSnap))
    return 0;
  if (!noSnap) {
    from = f;
    to = t;
  }
  if (edttext::PosBefore(t, f)) std::swap(a, b);
  if (a.blk == b.blk && a.off == b.off && text.IsEmpty()) return 1;
  if (old && !FitsCString(BytesBetween(a, b))) {
    // The replaced text could not be handed back whole (for undo): refuse.
    MessageBeep(0);
    return 0;
  }
  std::string gone;
  ReplaceRange(a, b,
               std::string(static_cast<const char*>(text), static_cast<size_t>(text.GetLength())),
               &gone);
  SetDirty();
  Hand(gone, old);
  return 1;
}

size_t AEdtStor::BytesBetween(BlkPt a, BlkPt b) {
  size_t n = 0;
  for (long blk = a.blk; blk; blk = NextBlk(blk)) {
    const int end = blk == b.blk ? std::max(b.off, a.off) : BlkLen(blk);
    n += static_cast<size_t>(end - (blk == a.blk ? a.off : 0));
    if (blk == b.blk) break;
  }
  return n;
}
