// The editing commands: select all, the whole and the selected text,
// inserting and deleting text as undo steps, emptying the editor, and undo
// and redo over the document's step list.
#include <algorithm>
#include <climits>
#include <cstring>
#include <string>

#include "editor/AEdtStor.h"
#include "editor/AEdtVu.h"
#include "editor/EditorEngine.h"
#include "editor/EdtVuWorld.h"
#include "editor/internal/EdtDocAccess.h"
#include "editor/internal/EdtText.h"
#include "framework/UIStrings.h"

namespace {

const char kQuitBlockMode[] = "Please quit Block Selection Mode first.";

const char* LineBreak(int32_t endKind) {
  switch (endKind) {
    case kRowEndLF: return "\n";
    case kRowEndCRLF: return "\r\n";
    default: return "";
  }
}

}  // namespace

// --- Helpers ----------------------------------------------------------------

CPoint AEdtVu::SnapToChar(CPoint p) const {
  const int rows = RowCount();
  if (rows < 1) return CPoint(0, 0);
  p.y = std::clamp(p.y, 0, rows - 1);
  CString text;
  const int n = RowText(p.y, text);
  p.x = edttext::SnapToCharEnd(text, static_cast<size_t>(n), std::clamp(p.x, 0, n));
  return p;
}

void AEdtVu::AfterEdit(int fromRow) {
  m_pDoc->MakeLineInfo(std::max(fromRow - 1, 0), 1);
  MySetScrollParams();
}

// The bytes go in at the caret (moved out of a pair it might fall in), and
// the step records that very place: an undo must remove exactly these bytes
// even when a selection's anchor lies elsewhere (the combo box inserts
// committed text without deleting its selection).
int AEdtVu::InsertAtCaret(const unsigned char* text, unsigned long n, CEditStep& step) {
  if (!m_pDoc || !text || n == 0 || n > static_cast<unsigned long>(INT32_MAX)) return 0;
  const CPoint at = SnapToChar(CPoint(m_nCaretCol, m_nCaretRow));
  long row = at.y;
  int col = at.x, disp = 0;
  m_pDoc->InsertBytes(const_cast<unsigned char*>(text), n, row, col, disp);
  step.m_nKind = kStepInserted;
  step.Reset();
  step.m_pt = at;
  step.m_nLength = static_cast<int32_t>(n);
  AfterEdit(at.y);
  m_nCaretRow = static_cast<int32_t>(row);
  m_nCaretCol = col;
  m_nCaretDispCol = disp;
  CollapseSelectionAtCaret();
  PlaceCaret();
  MyShowCaret();
  return 1;
}

// A re-choice of the engine's last commit erases the characters before the
// caret: once a command has changed the text before the commit, or taken
// the caret away from it, those characters are no longer the commit's.
// (Text the engine itself inserts goes through DoInsertStr, which leaves
// the cycle alone.)
void AEdtVu::LeaveReSelectionAfterEdit(CPoint editAt) {
  ReSelectionCheck(editAt, editAt);
  LeaveReSelectionIfMoved();
}

// --- Whole text and selection -------------------------------------------------

void AEdtVu::OnEditSelectAll() {
  if (InBlockSelectMode()) {
    edtvuMsgBox(kQuitBlockMode, 1, 0, -1);
    return;
  }
  const int last = std::max(RowCount() - 1, 0);
  CString text;
  m_ptSelAnchor = CPoint(RowText(last, text), last);
  m_ptSelEnd = CPoint(0, 0);
  m_nCaretRow = m_nCaretCol = m_nCaretDispCol = 0;
  SetScrollThumPos(0, 0);
  SetScrollThumPos(1, 0);
  PlaceCaret();
  ResetEngineInput();
  LeaveReSelectionIfMoved();
}

// Each row is followed by its own break, so a multi-line control hands back
// its lines as they were typed, not run together.
void AEdtVu::GetAllText(CString& out) {
  out.Empty();
  if (!m_pDoc) return;
  const bool single = DocSingleLine(*m_pDoc);
  const int rows = single ? std::min(RowCount(), 1) : RowCount();
  std::string all;
  for (int r = 0; r < rows; ++r) {
    CString text;
    const int n = RowText(r, text);
    all.append(static_cast<const char*>(text), static_cast<size_t>(n));
    if (!single) all += LineBreak(m_pDoc->GetLineInfo(r).m_nEnd);
    if (all.size() > static_cast<size_t>(CString::kMaxLength)) break;
  }
  all.resize(std::min(all.size(), static_cast<size_t>(CString::kMaxLength)));
  out = edttext::ToCString(all);
}

void AEdtVu::GetSelectedText(CString& out) {
  out.Empty();
  if (!m_pDoc || m_ptSelAnchor == m_ptSelEnd) return;
  if (InBlockSelectMode()) {
    // The block's rows give blanks only: no byte range is found for a
    // pixel band.
    CRect block;
    if (!GetBlockSelArea(block)) return;
    const int blanks = block.Width() / CharWidth();
    for (int r = block.top; r <= block.bottom; ++r) {
      out += CString(' ', blanks);
      out += "\r\n";
    }
    return;
  }
  CPoint from = m_ptSelAnchor, to = m_ptSelEnd;
  if (edttext::PosBefore(to, from)) std::swap(from, to);
  m_pDoc->GetText(from, to, out, 1);
}

// --- Inserting, deleting, clearing ----------------------------------------------

void AEdtVu::DoInsertStr(unsigned char* text) {
  if (!text) return;
  if (!InsertAtCaret(text, std::strlen(reinterpret_cast<char*>(text)), m_editStep)) return;
  if (!m_bReplaying) m_pDoc->AddDoUndoRec(m_editStep);
}

void AEdtVu::DoInsertStrBlock(unsigned char* text) {
  if (!m_pDoc || !text) return;
  long dispCol = 0;
  GetPixelXPosByPointXOrCharX(nullptr, m_ptSelAnchor.y, m_ptSelAnchor.x, 0, nullptr, &dispCol,
                              nullptr, nullptr);
  const char* s = reinterpret_cast<const char*>(text);
  int row = std::max(m_ptSelAnchor.y, 0);
  while (*s) {
    const size_t len = std::strcspn(s, "\r\n");
    while (row >= RowCount()) {
      m_pDoc->AddAEmptyLineAtEnd(1);
      m_pDoc->MakeLineInfo(RowCount() - 1, 0);
    }
    // Short rows are padded with blanks up to the column.
    const int cols = m_pDoc->GetLineInfo(row).m_nCols;
    std::string padded(static_cast<size_t>(std::max<long>(dispCol - cols, 0)), ' ');
    padded.append(s, len);
    long col = dispCol;
    CString rowText;
    const int at =
        cols < dispCol ? RowText(row, rowText) : m_pDoc->GetCharPosFromDispPos(row, col, 1);
    m_nCaretRow = row;
    m_nCaretCol = std::max(at, 0);
    if (InsertAtCaret(reinterpret_cast<const unsigned char*>(padded.data()), padded.size(),
                      m_editStep) &&
        !m_bReplaying)
      m_pDoc->AddDoUndoRec(m_editStep);
    s += len;
    if (*s == '\r' && s[1] == '\n') ++s;
    if (*s) ++s;
    ++row;
  }
}

// The new row follows a break: one is written first whenever the last row
// holds text without one, so the text never runs into that row.
void AEdtVu::DoAppendStrNoScrollNoCaretPosChng(unsigned char* text) {
  if (!m_pDoc || !text || !*text || RowCount() < 1) return;
  const int last = RowCount() - 1;
  CString lastText;
  const int n = RowText(last, lastText);
  std::string bytes = n > 0 && m_pDoc->GetLineInfo(last).m_nEnd == kRowEndSoft ? "\r\n" : "";
  bytes += reinterpret_cast<const char*>(text);
  long row = last;
  int col = n, disp = 0;
  m_pDoc->InsertBytes(reinterpret_cast<unsigned char*>(bytes.data()), bytes.size(), row, col, disp);
  AfterEdit(last);
}

void AEdtVu::ClearAll(int) {
  if (!m_pDoc) return;
  m_pDoc->ClearAll();
  m_pDoc->ResetDoUndoInfo();
  m_byHeldLead = 0;
  m_nCaretRow = m_nCaretCol = m_nCaretDispCol = 0;
  m_ptSelAnchor = m_ptSelEnd = CPoint(0, 0);
  m_pDoc->MakeLineInfo(-1, 0);
  MySetScrollParams();
}

int AEdtVu::DoDeleteStr(CPoint at, unsigned long length) {
  if (!m_pDoc || RowCount() < 1 || length == 0) return 0;
  const CPoint p = SnapToChar(at);
  int changed = 0;
  CString removed;
  if (!m_pDoc->DeleteByteStream(p.y, p.x, length, changed, &removed) || !changed) return 0;
  m_editStep.m_nKind = kStepDeleted;
  m_editStep.Reset();
  m_editStep.m_pt = p;
  m_editStep.m_strText = removed;
  if (!m_bReplaying) m_pDoc->AddDoUndoRec(m_editStep);
  m_nCaretRow = p.y;
  m_nCaretCol = p.x;
  CollapseSelectionAtCaret();
  AfterEdit(p.y);
  PlaceCaret();
  return 1;
}

// The selected text goes without a step; the caret goes to where it began.
void AEdtVu::ReplaceText() {
  if (!m_pDoc || m_ptSelAnchor == m_ptSelEnd) return;
  CPoint from = m_ptSelAnchor, to = m_ptSelEnd;
  if (edttext::PosBefore(to, from)) std::swap(from, to);
  from = SnapToChar(from);
  to = SnapToChar(to);
  if (!m_pDoc->ReplaceText(from, to, CString(), nullptr)) return;
  m_nCaretRow = from.y;
  m_nCaretCol = from.x;
  CollapseSelectionAtCaret();
  AfterEdit(from.y);
  PlaceCaret();
}

// --- Undo and redo ----------------------------------------------------------------

void AEdtVu::UnDoReDo(int undo) {
  const long pos = !m_pDoc ? 0 : undo ? m_pDoc->GetUndoRec() : m_pDoc->GetRedoRec();
  if (!pos) {
    World().Beep();
    return;
  }
  const CEditStep step = m_pDoc->m_lstUndo.GetAt(pos);
  m_nCaretRow = step.m_pt.y;
  m_nCaretCol = step.m_pt.x;
  CollapseSelectionAtCaret();
  m_bReplaying = 1;
  CEditStep inverse = step;
  if (step.m_nKind == kStepInserted || step.m_nKind == kStepReplaced) {
    if (step.m_nLength > 0 && !DoDeleteStr(step.m_pt, static_cast<unsigned long>(step.m_nLength))) {
      // The document refused (the bytes would not fit in one step's text):
      // the step stays as it is, so nothing of the history is lost.
      m_bReplaying = 0;
      World().Beep();
      return;
    }
    if (step.m_nLength > 0) {
      inverse = m_editStep;
    } else {
      inverse.m_nKind = kStepDeleted;
      inverse.Reset();
    }
    if (step.m_nKind == kStepReplaced) inverse.m_nKind = kStepReplaced;
  }
  if (step.m_nKind == kStepDeleted || step.m_nKind == kStepReplaced) {
    const int n = step.m_strText.GetLength();
    const int inserted = InsertAtCaret(
        reinterpret_cast<const unsigned char*>(static_cast<const char*>(step.m_strText)),
        static_cast<unsigned long>(n), m_editStep);
    if (step.m_nKind == kStepReplaced) {
      inverse.m_nLength = inserted ? n : 0;
    } else if (inserted) {
      inverse = m_editStep;
    } else {
      inverse.m_nKind = kStepInserted;
      inverse.Reset();
    }
  }
  m_bReplaying = 0;
  m_pDoc->m_lstUndo.SetAt(pos, inverse);
  if (undo) {
    m_pDoc->m_posRedo = pos;
  } else {
    long next = pos;
    m_pDoc->m_lstUndo.GetNext(next);
    m_pDoc->m_posRedo = next;
  }
  MyShowCaret();
  LeaveReSelectionAfterEdit(step.m_pt);
}

// --- Words and characters at the caret ---------------------------------------------

int AEdtVu::GetWordAtCaret(CString& word) {
  word.Empty();
  CString text;
  const int n = RowText(m_nCaretRow, text);
  const int c = std::clamp<int>(m_nCaretCol, 0, n);
  const char* s = text;
  const auto sym = [&](int i) { return iscsym(static_cast<unsigned char>(s[i])) != 0; };
  if (edttext::PairBefore(s, static_cast<size_t>(n), c)) {
    word = text.Mid(c - 2, 2);
    return 1;
  }
  if (edttext::CharBytes(s, static_cast<size_t>(n), static_cast<size_t>(c)) == 2) {
    word = text.Mid(c, 2);
    return 1;
  }
  int from = c, to = c;
  while (from > 0 && sym(from - 1) && !edttext::PairBefore(s, static_cast<size_t>(n), from)) --from;
  while (to < n && sym(to)) ++to;
  if (to == from) return 0;
  word = text.Mid(from, to - from);
  return 1;
}

int AEdtVu::GetChnCharAtCaret(CString& ch, int& after) {
  ch.Empty();
  CString text;
  const int n = RowText(m_nCaretRow, text);
  const char* s = text;
  const int c = std::clamp<int>(m_nCaretCol, 0, n);
  if (m_ptSelAnchor != m_ptSelEnd) {
    // Only a selection of exactly one such character.
    CPoint from = m_ptSelAnchor, to = m_ptSelEnd;
    if (edttext::PosBefore(to, from)) std::swap(from, to);
    if (from.y != to.y || to.x - from.x != 2 || from.x < 0 || to.x > n ||
        edttext::CharBytes(s, static_cast<size_t>(n), static_cast<size_t>(from.x)) != 2)
      return 0;
    ch = text.Mid(from.x, 2);
    after = from.x == c ? 1 : 0;
    return 1;
  }
  if (c < n && edttext::CharBytes(s, static_cast<size_t>(n), static_cast<size_t>(c)) == 2) {
    ch = text.Mid(c, 2);
    after = 1;
    return 1;
  }
  if (edttext::PairBefore(s, static_cast<size_t>(n), c)) {
    ch = text.Mid(c - 2, 2);
    after = 0;
    return 1;
  }
  return 0;
}
