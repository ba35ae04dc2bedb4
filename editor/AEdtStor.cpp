#include "editor/AEdtStor.h"

#include <algorithm>

#include "editor/internal/EdtText.h"
#include "framework/SysUtil.h"

using edttext::IsLead;

namespace {
constexpr int kRowGrowBy = 512;
constexpr int kInitialWidest = 500;
}  // namespace

AEdtStor::AEdtStor() {
  m_aLines.SetSize(0, kRowGrowBy);
  const long blk = NewBlkAfter(0, m_strEmpty);
  m_aLines.Add(typLineInfo{blk, 0, 0, 0, kRowEndSoft, GetBlkSerial(blk)});
}

AEdtStor::~AEdtStor() {
  ResetDoUndoInfo();
  m_lstBlks.RemoveAll();
  m_mapLiveBlks.clear();
  m_aLines.RemoveAll();
}

int AEdtStor::OnNewDocument() {
  m_nWidest = kInitialWidest;
  m_nLongest = 0;
  m_lstBlks.RemoveAll();
  m_mapLiveBlks.clear();
  const long blk = NewBlkAfter(0, m_strEmpty);
  m_aLines.RemoveAll();
  m_aLines.SetSize(0, kRowGrowBy);
  m_aLines.Add(typLineInfo{blk, 0, 0, 0, kRowEndSoft, GetBlkSerial(blk)});
  m_posChangeMark = 0;
  return 1;
}

void AEdtStor::ClearAll() {
  m_lstBlks.RemoveAll();
  m_mapLiveBlks.clear();
  SetDirty();
  KeepOneBlk();
  // Every row is stale now; a rebuild that may stop early must not trust
  // any of them.
  m_posChangeMark = kChangeMarkEnd;
}

// ---------------------------------------------------------------- blocks

long AEdtStor::NextBlk(long pos) {
  m_lstBlks.GetNext(pos);
  return pos;
}

long AEdtStor::PrevBlk(long pos) {
  m_lstBlks.GetPrev(pos);
  return pos;
}

long AEdtStor::NewBlkAfter(long pos, const CString& text) {
  const long blk = pos ? m_lstBlks.InsertAfter(pos, text)
                       : m_lstBlks.InsertBefore(m_lstBlks.GetHeadPosition(), text);
  m_mapLiveBlks[blk] = m_nNextSerial++;
  return blk;
}

void AEdtStor::RemoveBlk(long pos) {
  m_mapLiveBlks.erase(pos);
  if (m_posChangeMark == pos) m_posChangeMark = kChangeMarkEnd;
  m_lstBlks.RemoveAt(pos);
}

void AEdtStor::KeepOneBlk() {
  if (m_lstBlks.GetCount() == 0) NewBlkAfter(0, m_strEmpty);
}

long AEdtStor::NextNonEmpty(long blk) { return NonEmptyBeside(blk, true); }
long AEdtStor::PrevNonEmpty(long blk) { return NonEmptyBeside(blk, false); }

long AEdtStor::NonEmptyBeside(long blk, bool forward) {
  auto step = [&](long pos) { return forward ? NextBlk(pos) : PrevBlk(pos); };
  long near = step(blk);
  while (near && BlkLen(near) == 0) {
    const long gone = near;
    near = step(near);
    RemoveBlk(gone);
  }
  return near;
}

void AEdtStor::SetMarkAfter(long blk) {
  const long next = blk ? NextBlk(blk) : 0;
  m_posChangeMark = next ? next : kChangeMarkEnd;
}

uint64_t AEdtStor::GetBlkSerial(long pos) const {
  const auto it = m_mapLiveBlks.find(pos);
  return it == m_mapLiveBlks.end() ? 0 : it->second;
}

bool AEdtStor::IsLineLive(const typLineInfo& line) const {
  return line.m_posBlk != 0 && line.m_nSerial != 0 && GetBlkSerial(line.m_posBlk) == line.m_nSerial;
}

// ---------------------------------------------------------------- walks

bool AEdtStor::RowOk(int row) {
  if (row < 0 || row >= m_aLines.GetSize()) return false;
  const typLineInfo& li = m_aLines[row];
  return IsLineLive(li) && li.m_nOffset >= 0 && li.m_nOffset <= BlkLen(li.m_posBlk);
}

AEdtStor::BlkPt AEdtStor::EndOfText() {
  const long tail = m_lstBlks.GetTailPosition();
  return BlkPt{tail, BlkLen(tail)};
}

AEdtStor::BlkPt AEdtStor::Walk(long blk, int off, long x) {
  int len = BlkLen(blk);
  off = std::clamp(off, 0, len);
  if (x < 0) x = 0;
  while (x > len - off) {
    const long next = NextBlk(blk);
    if (!next) return BlkPt{blk, len};
    x -= len - off;
    blk = next;
    off = 0;
    len = BlkLen(blk);
  }
  return BlkPt{blk, off + static_cast<int>(x)};
}

std::string AEdtStor::RowText(int row) {
  std::string out;
  if (!RowOk(row)) return out;
  const typLineInfo& li = m_aLines[row];
  long blk = li.m_posBlk;
  int off = li.m_nOffset;
  size_t want = li.m_nBytes > 0 ? static_cast<size_t>(li.m_nBytes) : 0;
  while (blk && out.size() < want) {
    const CString& s = Blk(blk);
    const size_t take = std::min(want - out.size(), static_cast<size_t>(s.GetLength() - off));
    out.append(static_cast<const char*>(s) + off, take);
    blk = NextBlk(blk);
    off = 0;
  }
  return out;
}

int AEdtStor::SnapCol(int row, int col) {
  if (row < 0 || row >= m_aLines.GetSize()) return 0;
  const std::string text = RowText(row);
  return edttext::SnapToCharEnd(text.data(), text.size(), std::max(col, 0));
}

void AEdtStor::EnsureRow(long& row) {
  if (row < 0) row = 0;
  if (row > m_aLines.GetSize()) row = m_aLines.GetSize();
  while (m_aLines.GetSize() <= row) AddAEmptyLineAtEnd(1);
}

bool AEdtStor::PointOf(int row, int col, BlkPt& pt) {
  if (!RowOk(row)) return false;
  const typLineInfo& li = m_aLines[row];
  pt = Walk(li.m_posBlk, li.m_nOffset, std::clamp(col, 0, std::max(li.m_nBytes, 0)));
  return true;
}

int AEdtStor::MapCoord2PosNIndex(CPoint& pt, long& block, int& offset, int noSnap) {
  const int n = m_aLines.GetSize();
  if (n == 0) return 0;
  pt.y = std::clamp(pt.y, 0, n - 1);
  if (!RowOk(pt.y)) return 0;
  const typLineInfo& li = m_aLines[pt.y];
  int x = std::clamp(pt.x, 0, std::max(li.m_nBytes, 0));
  if (InBlockSelectMode() && !noSnap) {
    // A column block may start inside a pair: move past the pair so that no
    // character is cut in two.
    const std::string text = RowText(pt.y);
    x = edttext::SnapToCharEnd(text.data(), text.size(), x);
    pt.x = x;
  }
  const BlkPt at = Walk(li.m_posBlk, li.m_nOffset, x);
  block = at.blk;
  offset = at.off;
  return 1;
}

int AEdtStor::GetText(CPoint from, CPoint to, CString& out, int noSnap) {
  out.Empty();
  BlkPt a{}, b{};
  if (!MapCoord2PosNIndex(from, a.blk, a.off, noSnap) ||
      !MapCoord2PosNIndex(to, b.blk, b.off, noSnap))
    return 0;
  if (edttext::PosBefore(to, from)) std::swap(a, b);
  std::string text;
  long blk = a.blk;
  int off = a.off;
  while (blk) {
    const CString& s = Blk(blk);
    const int end = blk == b.blk ? std::max(b.off, off) : s.GetLength();
    text.append(static_cast<const char*>(s) + off, static_cast<size_t>(end - off));
    if (blk == b.blk) break;
    blk = NextBlk(blk);
    off = 0;
    // The text is handed out as one CString; one that would pass its limit
    // is refused rather than cut short.
    if (text.size() > static_cast<size_t>(CString::kMaxLength)) return 0;
  }
  if (text.size() > static_cast<size_t>(CString::kMaxLength)) return 0;
  out = edttext::ToCString(text);
  return 1;
}

int AEdtStor::IsPrevCharChn1stByteOrCR(long block, int offset, int wantCR) {
  if (block == 0 || GetBlkSerial(block) == 0) return 0;
  long blk = block;
  int len = BlkLen(blk);
  offset = std::min(offset, len);
  if (offset < 1) {
    blk = PrevBlk(blk);
    if (!blk) return 0;
    len = BlkLen(blk);
    offset = len;
  }
  if (len == 0) return 0;
  const unsigned char b = static_cast<unsigned char>(Blk(blk)[offset - 1]);
  return wantCR ? (b == '\r') : (IsLead(b) ? 1 : 0);
}

// ---------------------------------------------------------------- undo list

void AEdtStor::AddDoUndoRec(CEditStep& step) {
  if (m_posRedo) {
    // The undone steps can no longer be redone once a new change is made.
    for (long pos = m_lstUndo.GetTailPosition(); pos;) {
      const long prev = PrevStep(pos);
      const bool last = pos == m_posRedo;
      m_lstUndo.RemoveAt(pos);
      if (last) break;
      pos = prev;
    }
    m_lstUndo.AddTail(step);
  } else if (step.m_nMergeClass != kMergeNever && m_lstUndo.GetCount() > 0) {
    CEditStep& last = m_lstUndo.GetTail();
    if (last.m_nKind == kStepInserted && last.m_nMergeClass > 0 &&
        last.m_nMergeClass == step.m_nMergeClass && last.m_pt.y == step.m_pt.y &&
        step.m_pt.x - last.m_pt.x == last.m_nLength) {
      last.m_nLength += step.m_nLength;
    } else {
      m_lstUndo.AddTail(step);
    }
  } else {
    m_lstUndo.AddTail(step);
  }
  m_posRedo = 0;
}

long AEdtStor::PrevStep(long pos) {
  m_lstUndo.GetPrev(pos);
  return pos;
}

long AEdtStor::GetUndoRec() {
  if (m_posRedo) return PrevStep(m_posRedo);
  return m_lstUndo.GetTailPosition();
}

void AEdtStor::ResetDoUndoInfo() {
  m_lstUndo.RemoveAll();
  m_posRedo = 0;
}
