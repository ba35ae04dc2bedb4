// Typing: bytes (GBK characters arrive one byte at a time), BackSpace,
// Delete, removing the selection, indenting a block of rows, and where the
// engine's re-selection of its last commit ends.
#include <algorithm>
#include <cstdint>

#include "base/ChnChar.h"
#include "editor/AEdtStor.h"
#include "editor/AEdtVu.h"
#include "editor/EditorEngine.h"
#include "editor/EdtVuWorld.h"
#include "editor/internal/EdtDocAccess.h"
#include "editor/internal/EdtText.h"
#include "framework/KeySyms.h"
#include "framework/UIStrings.h"

// --- The engine's re-selection ---------------------------------------------------

void AEdtVu::RecordEngineCommitPos() {
  EditorEngine().SetLastCommitPos(CPoint(m_nCaretCol, m_nCaretRow));
}

void AEdtVu::CloseReSelection() {
  IEditorEngine& engine = EditorEngine();
  engine.ResetReSelectionData();
  engine.SetLastCommitPos(CPoint(-1, -1));
}

// A re-choice erases characters before the caret: an edit before the end of
// the last commit makes those characters someone else's.
void AEdtVu::ReSelectionCheck(CPoint a, CPoint b) {
  IEditorEngine& engine = EditorEngine();
  if (engine.ReSelectionReplaying()) return;
  const CPoint at = engine.LastCommitPos();
  if (at.y < 0) return;
  if (edttext::PosBefore(a, at) || edttext::PosBefore(b, at)) CloseReSelection();
}

// The re-selection lasts while the caret stays right after the commit; a
// press, a navigation key or typing that moves it elsewhere ends it. The
// engine's own erasing and re-committing does not.
void AEdtVu::LeaveReSelectionIfMoved() {
  IEditorEngine& engine = EditorEngine();
  if (engine.ReSelectionReplaying()) return;
  const CPoint at = engine.LastCommitPos();
  if (at.y < 0) return;
  if (at != CPoint(m_nCaretCol, m_nCaretRow)) CloseReSelection();
}

// --- Typing ----------------------------------------------------------------------

void AEdtVu::AtCharEv(unsigned long code, unsigned long state) {
  m_bTypedShift = (state & kEdtShiftBit) != 0;
  m_bTypedCtrl = (state & kEdtCtrlBit) != 0;
  m_bTypedAlt = (state & kEdtAltBit) != 0;
  if (m_bTypedCtrl) return;
  if (code == keysym::kEscape) {
    if (m_ptSelAnchor != m_ptSelEnd) {
      CollapseSelectionAtCaret();
      if (InBlockSelectMode()) {
        m_bCaretHidden = 0;
        World().MapCaret(1);
      }
    }
    return;
  }
  if (GetReadOnly()) return;
  DoKeyInput(code, state);
}

int AEdtVu::DoKeyInput(unsigned long code, unsigned long state) {
  m_bHadSel = m_ptSelAnchor != m_ptSelEnd;
  int changed = 0;
  KeyInput(code, state, 0, changed);
  if (changed == 1) CollapseSelectionAtCaret();
  if (changed) {
    ReSelectionCheck(m_ptSelAnchor, m_ptSelEnd);
    LeaveReSelectionIfMoved();
  }
  return changed;
}

int AEdtVu::KeyInput(unsigned long code, unsigned long state, int overwrite, int& changed) {
  if (!m_pDoc) return 0;
  const bool hasSel = m_ptSelAnchor != m_ptSelEnd;
  if (code == keysym::kTab && !DocWordWrap(*m_pDoc) && !InBlockSelectMode() && hasSel &&
      m_ptSelAnchor.y != m_ptSelEnd.y) {
    changed = BlockShift((state & kEdtShiftBit) != 0);
    return changed;
  }
  if (code == keysym::kBackSpace || code == keysym::kDelete) {
    if (hasSel) {
      DeleteSelection(changed);
      ReSelectionCheck(m_ptSelAnchor, m_ptSelAnchor);
      MyShowCaret();
      return 1;
    }
    ReSelectionCheck(m_ptSelAnchor, m_ptSelEnd);
    CString removed;
    InsertChars(code, 1, changed, &removed);
    ReSelectionCheck(m_ptSelAnchor, m_ptSelEnd);
    if (!removed.IsEmpty()) {
      CEditStep step;
      step.m_nKind = kStepDeleted;
      step.m_pt = CPoint(m_nCaretCol, m_nCaretRow);
      step.m_strText = removed;
      step.m_nMergeClass = kMergeNever;
      m_pDoc->AddDoUndoRec(step);
    }
    return changed;
  }
  // A typed byte; Return (which the hosts keep for themselves) types CR.
  const unsigned char c = code == keysym::kReturn ? '\r' : static_cast<unsigned char>(code & 0xFF);
  if (edttext::IsLead(c) && !m_byHeldLead) {
    m_byHeldLead = c;
    return 0;
  }
  unsigned long character = c;
  int n = 1;
  if (m_byHeldLead && edttext::IsTrail(c)) {
    character = m_byHeldLead | (static_cast<unsigned long>(c) << 8);
    n = 2;
  }
  m_byHeldLead = 0;

  if (hasSel) {
    DeleteSelection(changed);
    if (m_pDoc->m_lstUndo.GetCount() > 0) {
      CEditStep& last = m_pDoc->m_lstUndo.GetTail();
      if (last.m_nKind == kStepDeleted) {
        last.m_nKind = kStepReplaced;
        last.m_nLength = n;
      }
    }
  } else {
    CEditStep step;
    step.m_nKind = kStepInserted;
    step.m_nLength = n;
    step.m_nMergeClass =
        iscsym(static_cast<unsigned char>(character & 0xFF)) ? kMergeIdentChar : kMergeOtherChar;
    step.m_pt = m_ptSelAnchor;
    if (overwrite) {
      // The byte at the caret goes first; the step then replaces it.
      long row = m_nCaretRow;
      int col = m_nCaretCol, removedAny = 0;
      CString removed;
      m_pDoc->DeleteBytesRight(row, col, removedAny, &removed);
      if (removedAny) {
        step.m_nKind = kStepReplaced;
        step.m_strText = removed;
        step.m_nMergeClass = kMergeNever;
      }
    }
    m_pDoc->AddDoUndoRec(step);
  }
  return InsertChars(character, n, changed, nullptr);
}

int AEdtVu::InsertChars(unsigned long code, int n, int& changed, CString* removed) {
  if (!m_pDoc) return 0;
  long row = m_nCaretRow;
  int col = m_nCaretCol;
  const int oldRow = m_nCaretRow;
  if (code == keysym::kBackSpace || code == keysym::kDelete) {
    int done = 0;
    if (code == keysym::kBackSpace)
      m_pDoc->DeleteBytesLeft(row, col, done, removed);
    else
      m_pDoc->DeleteBytesRight(row, col, done, removed);
    if (!done) return 0;
  } else {
    unsigned char bytes[2] = {static_cast<unsigned char>(code & 0xFF),
                              static_cast<unsigned char>((code >> 8) & 0xFF)};
    int disp = 0;
    m_pDoc->InsertBytes(bytes, static_cast<unsigned long>(std::clamp(n, 1, 2)), row, col, disp);
  }
  changed = 1;
  m_nCaretRow = static_cast<int32_t>(row);
  m_nCaretCol = col;
  AfterEdit(std::min<int>(oldRow, m_nCaretRow));
  ScrollForInsertion();
  return 1;
}

// After an insertion or a deletion the caret stays in view.
void AEdtVu::ScrollForInsertion() {
  CRect view;
  GetVuRect(&view);
  const int cw = CharWidth(), rh = RowHeight();
  const CPoint at = LnChar2PointInDoc(nullptr, m_nCaretRow, m_nCaretCol);
  const int hpos = GetScrollThumPos(0), vpos = GetScrollThumPos(1);
  if (at.x > hpos + view.Width()) {
    SetScrollThumPos(0, hpos + ((at.x - hpos - view.Width()) / cw + 5) * cw);
  } else if (at.x <= hpos && hpos > 0) {
    SetScrollThumPos(0, std::max(hpos - ((hpos - at.x) / cw + 2) * cw, 0));
  }
  const int bottom = at.y + rh;
  if (bottom > vpos + view.Height()) {
    SetScrollThumPos(1, vpos + ((bottom - vpos - view.Height()) / rh + 1) * rh);
  } else if (at.y < vpos) {
    SetScrollThumPos(1, std::max(vpos - ((vpos - at.y) / rh + 1) * rh, 0));
  }
  const CPoint scroll = GetScrollThumPosPt();
  SetCaretPosWithOffset(CPoint(std::max(at.x - scroll.x, 0), std::max(at.y - scroll.y, 0)));
}

void AEdtVu::DeleteSelection(int& changed) {
  if (!m_pDoc || m_ptSelAnchor == m_ptSelEnd) return;
  if (!InBlockSelectMode()) {
    NormalizeSelPts();
    CPoint from = m_ptSelAnchor, to = m_ptSelEnd;
    CString old;
    if (m_pDoc->ReplaceText(from, to, CString(), &old)) {
      // NormalizeSelPts put the anchor first.
      CEditStep step;
      step.m_nKind = kStepDeleted;
      step.m_pt = from;
      step.m_strText = old;
      m_pDoc->AddDoUndoRec(step);
      changed = 1;
      m_nCaretRow = from.y;
      m_nCaretCol = from.x;
      CollapseSelectionAtCaret();
      AfterEdit(from.y);
    }
  }
  IEditorEngine& engine = EditorEngine();
  if (engine.UseZiCiForecast()) engine.ZiCiForecastingReset(0);
}

int AEdtVu::BlockShift(int outdent) {
  NormalizeSelPts();
  const int first = m_ptSelAnchor.y;
  int last = m_ptSelEnd.y;
  if (m_ptSelEnd.x == 0) {
    --last;
  } else {
    m_ptSelEnd = CPoint(0, m_ptSelEnd.y + 1);
  }
  m_ptSelAnchor.x = m_ptSelEnd.x = 0;
  m_nCaretRow = first;
  m_nCaretCol = 0;
  const int tab = DocTabWidth(*m_pDoc);
  for (int row = last; row >= first; --row) {
    CString text;
    const int n = RowText(row, text);
    if (n == 0) continue;
    int cut = 0;
    if (outdent) {
      if (text[0] == '\t') {
        cut = 1;
      } else {
        while (cut < n && cut < tab && text[cut] == ' ') ++cut;
        if (cut < n && cut < tab && text[cut] == '\t') ++cut;  // a TAB within them goes too
      }
      if (cut == 0) continue;
      int done = 0;
      CString removed;
      m_pDoc->DeleteByteStream(row, 0, static_cast<unsigned long>(cut), done, &removed);
      if (!done) continue;
      CEditStep step;
      step.m_nKind = kStepDeleted;
      step.m_pt = CPoint(0, row);
      step.m_strText = removed;
      m_pDoc->AddDoUndoRec(step);
    } else {
      bool other = false;
      for (int i = 0; i < n && !other; ++i) other = text[i] != ' ';
      if (!other) continue;
      unsigned char tabByte = '\t';
      long r = row;
      int col = 0, disp = 0;
      m_pDoc->InsertBytes(&tabByte, 1, r, col, disp);
      CEditStep step;
      step.m_nKind = kStepInserted;
      step.m_pt = CPoint(0, row);
      step.m_nLength = 1;
      m_pDoc->AddDoUndoRec(step);
    }
    m_pDoc->MakeLineInfo(std::max(row - 1, 0), 1);
  }
  const int rows = RowCount();
  if (last >= 0 && last == rows - 1 && m_pDoc->GetLineInfo(last).m_nEnd == kRowEndSoft) {
    CString text;
    m_ptSelEnd = CPoint(RowText(last, text), last);
  }
  MySetScrollParams();
  SetScrollThumPos(0, 0);
  PlaceCaret();
  return 2;
}
