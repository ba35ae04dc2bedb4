// The keyboard side of the view: the hand-off of every key to the input
// engine, the chords, and the navigation keys with selection by Shift.
#include <algorithm>
#include <cstring>
#include <vector>

#include "base/ChnChar.h"
#include "editor/AEdtVu.h"
#include "editor/EditorEngine.h"
#include "editor/EdtVuWorld.h"
#include "editor/internal/EdtDocAccess.h"
#include "editor/internal/EdtText.h"
#include "framework/KeySyms.h"
#include "framework/UIStrings.h"
#include "framework/x11/CtrlEvents.h"

namespace {

// The keysyms of the delimiter chord.
constexpr unsigned long kDelimKeyA = 0xDB, kDelimKeyB = 0xDD;
// Ctrl+Down stops scrolling at this vertical position.
constexpr int kScrollALineMax = 444;

// The letter of a keysym in upper case; other keysyms as they are.
unsigned long UpperKey(unsigned long k) { return k >= 'a' && k <= 'z' ? k - 'a' + 'A' : k; }

bool IsModifierOrLockKey(unsigned long k) {
  return k == keysym::kCapsLock || k == keysym::kEscape || k == keysym::kInsert ||
         k == keysym::kShiftL || k == keysym::kShiftR || k == keysym::kControlL ||
         k == keysym::kControlR;
}

const unsigned char* Bytes(const CString& s) {
  return reinterpret_cast<const unsigned char*>(static_cast<const char*>(s));
}

// Where the characters of a row begin, pairs told by the GBK ranges (an
// edit control's text is GBK).
std::vector<int> CharStarts(const CString& text) {
  const int n = text.GetLength();
  std::vector<int> starts;
  for (int i = 0; i < n;) {
    starts.push_back(i);
    i += edttext::CharBytes(text, n, i);
  }
  return starts;
}

// Character classes of the word moves.
enum CharClass { kBlank, kWordByte, kChnWord, kOtherSign };

// The class of the character starting at i. With homeRules only spaces,
// tabs and Chinese white characters are blank; other signs are a class of
// their own.
CharClass ClassAt(const CString& text, int i, bool homeRules) {
  const unsigned char* s = Bytes(text);
  const int n = text.GetLength();
  if (edttext::CharBytes(text, n, i) == 2)
    return IsChnWhiteChar(s[i], s[i + 1], 0) ? kBlank : kChnWord;
  if (IsCSym(s[i])) return kWordByte;
  if (!homeRules || s[i] == ' ' || s[i] == '\t') return kBlank;
  return kOtherSign;
}

}  // namespace

// --- The hand-off ---------------------------------------------------------------

int AEdtVu::PreProcessEv(XEvent* ev) {
  EdtKeyEvent key;
  key.textLen = afc::x11::LookupKeyEvent(ev, key.text, kEdtKeyTextBytes, &key.keysym, &key.state);
  if (key.textLen < 0) return 0;
  key.pressed = afc::x11::EventKind(ev) == afc::x11::EvKind::kKeyPress;
  return PreProcessKey(key);
}

int AEdtVu::PreProcessKey(const EdtKeyEvent& key) {
  IEditorEngine& engine = EditorEngine();
  const unsigned long sym = key.keysym;
  // The key record names this control as the window of the re-selection: a
  // cycle still open for another window (a client's commit) would pass for
  // ours, and its BackSpaces would erase our text.
  const unsigned long reSelWnd = engine.ReSelectionWindow();
  if (reSelWnd && reSelWnd != m_hWnd) CloseReSelection();

  EdtKeyRecord rec;
  const int n = std::clamp(key.textLen, 0, kEdtKeyTextBytes - 1);
  std::memcpy(rec.text, key.text, n);
  rec.text[n] = 0;
  rec.alt = (key.state & kEdtAltBit) || sym == keysym::kAltL || sym == keysym::kAltR;
  rec.ctrl = (key.state & kEdtCtrlBit) != 0;
  rec.shift = (key.state & kEdtShiftBit) != 0;
  rec.xState = static_cast<uint32_t>(key.state);
  if (!key.pressed && sym == keysym::kAltR) rec.alt = 0;
  engine.SetKeyRecord(rec);
  engine.SetKeyWindow(m_hWnd);

  if (engine.ModalBoxUp()) return 1;
  if (!key.pressed && IsNavigationKey(sym) && engine.KeySeqEmpty()) {
    engine.ShowNMoveInputPanes(0);
  } else {
    int type;
    if (!key.pressed)
      type = engine.AltHeld() || sym == keysym::kAltR ? kEdtAltAlone : kEdtKeyRelease;
    else
      type = engine.AltHeld() ? kEdtKeyWithAlt : kEdtKeyPress;
    const int used = engine.ProcessKeyMsg(type, UpperKey(sym), 0);
    if (used >= 1) return used;
  }
  if (key.pressed && sym != keysym::kAltL && sym != keysym::kAltR) {
    const int r = AtKeyEv(sym, key.state);
    const bool oneByte = n == 1 && key.text[0] != 0;
    if (r == 0 && !IsModifierOrLockKey(sym) && !engine.CtrlHeld() && oneByte)
      AtCharEv(static_cast<unsigned long>(static_cast<long>(static_cast<signed char>(key.text[0]))),
               key.state);
  }
  return 0;
}

// --- The view's keys ------------------------------------------------------------

int AEdtVu::AtKeyEv(unsigned long sym, unsigned long state) {
  if (m_bListMode && sym == keysym::kReturn) {
    ParseCurLineAndGoSpot();
    return 0;
  }
  const bool ctrl = (state & kEdtCtrlBit) != 0;
  bool shift = (state & kEdtShiftBit) != 0;
  const bool ctrlChord = ctrl && sym != keysym::kControlL && sym != keysym::kControlR;
  const bool shiftChord = shift && !ctrl;
  const unsigned long key = UpperKey(sym);
  if ((ctrlChord && key == 'V') || (shiftChord && sym == keysym::kInsert)) {
    AtEdtPaste();
    return 1;
  }
  if (ctrlChord && key == 'U') {
    AtEdtPaste2();
    return 1;
  }
  if (ctrlChord && (key == 'C' || sym == keysym::kInsert)) {
    AtEdtCpy();
    return 1;
  }
  if ((ctrlChord && key == 'X') || (shiftChord && sym == keysym::kDelete)) {
    AtEdtCut();
    return 1;
  }
  if (ctrlChord && (sym == kDelimKeyA || sym == kDelimKeyB) && EditorEngine().HasEngine()) {
    GoOtherDelimiter(sym);
    return 1;
  }
  if (ctrlChord && key == 'Z') {
    OnUnDo();
    return 1;
  }
  if (ctrlChord && key == 'Y') {
    OnEditRedo();
    return 1;
  }
  if (sym == keysym::kInsert && !ctrl && !shift) return 1;

  if (m_dwDragDir) shift = true;
  int r = 0;
  if (IsNavigationKey(sym)) {
    if (ctrl) {
      EditorEngine().ResetChnInput(0, 0, 1);
      m_byHeldLead = 0;
    }
    if (EditorEngine().KeySeqEmpty()) EditorEngine().EmptyInputPane2();
    r = MoveByKey(sym, ctrl, shift);
    LeaveReSelectionIfMoved();
  } else if (sym == keysym::kNumLock || sym == keysym::kPause || sym == keysym::kScrollLock ||
             sym == keysym::kControlL || sym == keysym::kControlR) {
    r = 1;
  } else if (GetReadOnly()) {
    r = 1;  // nothing is typed into a read-only document
  } else if (sym == keysym::kBackSpace || sym == keysym::kDelete) {
    AtCharEv(sym, state);
    r = 1;
  }
  if (InBlockSelectMode()) UpdateBlockCaret();
  return r;
}

// Moves the caret for a navigation key; the selection end follows it, and
// the anchor too without Shift.
int AEdtVu::MoveByKey(unsigned long sym, bool ctrl, bool shift) {
  const int rows = RowCount();
  if (rows < 1) return 1;
  m_nCaretRow = std::clamp<int>(m_nCaretRow, 0, rows - 1);
  const bool dragging = m_dwDragDir != 0;
  CRect view;
  GetVuRect(&view);
  const int rh = RowHeight(), cw = CharWidth();
  const int vpos = GetScrollThumPos(1);
  const int caretX = CaretPixelX();
  CString text;
  const int len = RowText(m_nCaretRow, text);
  bool placeInView = false;  // the caret keeps its place in the view

  switch (sym) {
    case keysym::kDown:
    case keysym::kUp:
      if (ctrl) {
        // ScrollALine places the caret itself, where the scrolled view
        // would show it.
        ScrollALine(sym == keysym::kUp);
        m_ptSelEnd = CPoint(m_nCaretCol, m_nCaretRow);
        if (!shift) m_ptSelAnchor = m_ptSelEnd;
        return 1;
      }
      if (sym == keysym::kDown ? m_nCaretRow + 1 < rows : m_nCaretRow > 0) {
        KeepCaretX(m_nCaretRow + (sym == keysym::kDown ? 1 : -1), caretX);
        ScrollForVerticalMove(vpos);
      }
      placeInView = true;
      break;
    case keysym::kNext: {
      const int visible = view.Height() / rh;
      if (visible < 1) return 0;
      // Rows that lie wholly below the view.
      const int firstBelow = (vpos + view.Height() + rh - 1) / rh;
      const int below = std::max(rows - firstBelow, 0);
      if (below == 0) return 1;
      const int k = std::min(std::max(visible - 1, 1), below);
      SetScrollThumPos(1, vpos + k * rh);
      KeepCaretX(std::min(m_nCaretRow + k, rows - 1), caretX);
      placeInView = true;
      break;
    }
    case keysym::kPrior: {
      if (vpos <= 0) return 1;
      const int visible = view.Height() / rh;
      const int k = std::min(std::max(visible - 1, visible >= 1 ? 1 : 0), vpos / rh);
      int p = vpos - k * rh;
      if (p < rh) p = 0;
      SetScrollThumPos(1, p);
      KeepCaretX(std::max(m_nCaretRow - k, 0), caretX);
      placeInView = true;
      break;
    }
    case keysym::kEnd: {
      if (ctrl) {
        m_nCaretRow = rows - 1;
        // The vertical position that brings the last row into view.
        const int bottom = rows * rh;
        if (bottom > vpos + view.Height() || bottom <= vpos) {
          const int over = bottom - view.Height();
          const int p = over <= 0 ? 0 : (over + rh - 1) / rh * rh;
          SetScrollThumPos(1, std::clamp(p, 0, std::max(GetScrollHi(1), 0)));
        }
      }
      CString row;
      m_nCaretCol = RowText(m_nCaretRow, row);
      ScrollForRowEnd(CaretPixelX());
      break;
    }
    case keysym::kHome:
      if (ctrl) {
        m_nCaretRow = m_nCaretCol = 0;
        SetScrollThumPos(0, 0);
        SetScrollThumPos(1, 0);
      } else if (m_nCaretCol != 0) {
        m_nCaretCol = 0;
        SetScrollThumPos(0, 0);
      } else {
        m_nCaretCol = WordRight(true);
        ScrollForHorizontalMove(false);
      }
      break;
    case keysym::kLeft:
      if (ctrl && !dragging) {
        if (m_nCaretCol > 0) {
          m_nCaretCol = WordLeft();
        } else if (m_nCaretRow > 0) {
          CString prev;
          m_nCaretCol = RowText(--m_nCaretRow, prev);
        }
      } else if (m_nCaretCol > len) {
        m_nCaretCol = len;  // beyond the text: its end is the nearest place
      } else if (m_nCaretCol > 0) {
        const bool pair = edttext::PairBefore(text, len, m_nCaretCol);
        m_nCaretCol -= pair ? 2 : 1;
      } else if (m_nCaretRow > 0 && !dragging) {
        CString prev;
        m_nCaretCol = RowText(--m_nCaretRow, prev);
      }
      ScrollForHorizontalMove(true);
      break;
    case keysym::kRight:
      if (m_nCaretCol < len) {
        m_nCaretCol = ctrl && !dragging ? WordRight(false)
                                        : m_nCaretCol + edttext::CharBytes(text, len, m_nCaretCol);
      } else if (m_nCaretRow + 1 < rows && !dragging) {
        ++m_nCaretRow;
        m_nCaretCol = 0;
      }
      ScrollForHorizontalMove(false);
      break;
    default: return 0;
  }
  m_ptSelEnd = CPoint(m_nCaretCol, m_nCaretRow);
  if (!shift) m_ptSelAnchor = m_ptSelEnd;
  if (placeInView) {
    const CPoint at = LnChar2PointInDoc(nullptr, m_nCaretRow, m_nCaretCol);
    SetCaretPosWithOffset(CPoint(at.x - GetScrollThumPos(0), at.y - GetScrollThumPos(1)));
  } else {
    PlaceCaret();
  }
  if (InBlockSelectMode()) m_nBlockSelX = m_nCaretDispCol * cw;
  return 1;
}

// Caret to row, at the byte column nearest to pixel x.
void AEdtVu::KeepCaretX(int row, int x) {
  int col = 0;
  GetPixelXPosByPointXOrCharX(nullptr, row, x, 1, nullptr, nullptr, &col, nullptr);
  m_nCaretRow = row;
  m_nCaretCol = col;
}

// After Up or Down: the caret row comes into view, and a caret left of the
// view comes back in.
void AEdtVu::ScrollForVerticalMove(int vpos) {
  CRect view;
  GetVuRect(&view);
  const int rh = RowHeight(), cw = CharWidth();
  const int top = m_nCaretRow * rh, bottom = top + rh;
  if (bottom > vpos + view.Height()) {
    const int d = bottom - (vpos + view.Height());
    SetScrollThumPos(1, vpos + (d + rh - 1) / rh * rh);
  } else if (top < vpos) {
    SetScrollThumPos(1, top);
  }
  const int x = CaretPixelX();
  if (x < GetScrollThumPos(0)) SetScrollThumPos(0, x < view.Width() - 2 * cw ? 0 : x - 2 * cw);
}

// After Left, Right or Home: a caret that left the view brings it along by
// whole characters and five more.
void AEdtVu::ScrollForHorizontalMove(bool left) {
  CRect view;
  GetVuRect(&view);
  const int cw = CharWidth(), hpos = GetScrollThumPos(0);
  const int x = CaretPixelX();
  if (left && x < hpos) {
    SetScrollThumPos(0, std::max(hpos - ((hpos - x) / cw + 5) * cw, 0));
  } else if (!left && x >= hpos + view.Width()) {
    SetScrollThumPos(0, hpos + ((x - hpos - view.Width()) / cw + 5) * cw);
  }
  PlaceCaret();
  MyShowCaret();
}

// After End: the row's end, at pixel x, comes into view with a margin of
// four characters on the right.
void AEdtVu::ScrollForRowEnd(int x) {
  CRect view;
  GetVuRect(&view);
  const int cw = CharWidth(), hpos = GetScrollThumPos(0);
  if (x < hpos) {
    SetScrollThumPos(0, x < view.Width() ? 0 : hpos - (hpos - x + cw - 1) / cw * cw);
  } else if (x > hpos + view.Width() - 4 * cw) {
    const int excess = x - (hpos + view.Width() - 4 * cw);
    SetScrollThumPos(0, hpos + (excess + cw - 1) / cw * cw);
  }
}

// The column a word move to the right stops at, on the caret row.
int AEdtVu::WordRight(bool homeRules) {
  CString text;
  const int n = RowText(m_nCaretRow, text);
  int i = std::min<int>(m_nCaretCol, n);
  if (i >= n) return i;
  const CharClass first = ClassAt(text, i, homeRules);
  if (first == kBlank) {
    while (i < n && ClassAt(text, i, homeRules) == kBlank) i += edttext::CharBytes(text, n, i);
  } else {
    while (i < n && ClassAt(text, i, homeRules) == first) i += edttext::CharBytes(text, n, i);
  }
  return i;
}

// The column a word move to the left stops at: after blanks the end of the
// word before them, inside or after a word its start.
int AEdtVu::WordLeft() {
  CString text;
  const int n = RowText(m_nCaretRow, text);
  const std::vector<int> starts = CharStarts(text);
  const int col = std::min<int>(m_nCaretCol, n);
  // Index of the character that ends at (or spans) col.
  int k = static_cast<int>(std::lower_bound(starts.begin(), starts.end(), col) - starts.begin());
  if (k == 0) return 0;
  --k;
  const CharClass last = ClassAt(text, starts[k], false);
  while (k >= 0 && ClassAt(text, starts[k], false) == last) --k;
  return k < 0 ? 0 : starts[k + 1];
}

// Ctrl+Up and Ctrl+Down: the caret stays on a row that the view one row
// further would show; the position itself is left to MyShowCaret.
void AEdtVu::ScrollALine(int up) {
  const int rows = RowCount();
  if (rows < 1) return;
  CRect view;
  GetVuRect(&view);
  const int rh = RowHeight(), p = GetScrollThumPos(1);
  int next;
  if (up) {
    next = std::max(p - rh, 0);
  } else {
    if (p >= kScrollALineMax) return;
    next = std::min(p + rh, kScrollALineMax);
  }
  const int x = CaretPixelX();
  int row = m_nCaretRow;
  if (row * rh < next && row + 1 < rows)
    ++row;
  else if ((row + 1) * rh > next + view.Height() && row > 0)
    --row;
  if (row != m_nCaretRow) KeepCaretX(row, x);
  const CPoint at = LnChar2PointInDoc(nullptr, m_nCaretRow, m_nCaretCol);
  SetCaretPosWithOffset(CPoint(at.x - GetScrollThumPos(0), at.y - next));
  MyShowCaret();
}
