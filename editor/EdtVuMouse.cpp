// The mouse: presses, multiple clicks and dragging.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "base/ChnChar.h"
#include "editor/AEdtVu.h"
#include "editor/EditorEngine.h"
#include "editor/EdtVuWorld.h"
#include "editor/internal/EdtText.h"
#include "framework/AfcKernel.h"
#include "framework/KeySyms.h"
#include "framework/UIStrings.h"

namespace {

constexpr int kBig5Language = 1001;

// Where the characters of one row begin, by the double-byte test of a
// language (1001 Big5, else GBK). A position is a character bound when it
// begins a character or is the row's end.
class RowChars {
 public:
  RowChars(const CString& text, int lang) : m_n(text.GetLength()), m_bound(m_n + 1, false) {
    std::vector<long> starts(std::max(m_n, 1));
    const long k = ChnCharBefore(text, m_n, starts.data(), lang);
    for (long i = 0; i < k; ++i) m_bound[starts[i]] = true;
    m_bound[m_n] = true;
  }
  // Bytes of the character that ends at pos (0 at the row's start).
  int WidthBefore(int pos) const {
    if (pos <= 0 || pos > m_n) return 0;
    int p = pos - 1;
    while (p > 0 && !m_bound[p]) --p;
    return pos - p;
  }

 private:
  int m_n;
  std::vector<bool> m_bound;
};

const unsigned char* Bytes(const CString& s) {
  return reinterpret_cast<const unsigned char*>(static_cast<const char*>(s));
}

}  // namespace

int AEdtVu::CaretPixelX() {
  return GetPixelXPosByPointXOrCharX(nullptr, m_nCaretRow, m_nCaretCol, 0, nullptr, nullptr,
                                     nullptr, nullptr);
}

int AEdtVu::CaretToPoint(CPoint p) {
  const int rows = RowCount();
  const CPoint scroll = GetScrollThumPosPt();
  const int64_t docY = static_cast<int64_t>(scroll.y) + p.y;
  int row = docY < 0 ? 0 : static_cast<int>(std::min<int64_t>(docY / RowHeight(), INT32_MAX));
  int docX = p.x + scroll.x;
  if (row > rows - 1) {
    // Below the text: the end of the last row.
    row = std::max(rows - 1, 0);
    docX = GetDocSize().cx;
  }
  long disp = 0;
  int col = 0;
  const int x = GetPixelXPosByPointXOrCharX(nullptr, row, docX, 1, nullptr, &disp, &col, nullptr);
  m_nCaretRow = row;
  m_nCaretCol = col;
  m_nCaretDispCol = static_cast<int32_t>(disp);
  return x;
}

void AEdtVu::PlaceSelection(CPoint anchor, CPoint end) {
  m_ptSelAnchor = anchor;
  m_ptSelEnd = end;
  NormalizeSelPts();
  m_nCaretRow = m_ptSelEnd.y;
  m_nCaretCol = m_ptSelEnd.x;
  PlaceCaret();  // also brings the caret's display column up to date
  if (InBlockSelectMode()) m_nBlockSelX = m_nCaretDispCol * CharWidth();
}

void AEdtVu::CollapseSelectionAtCaret() {
  m_ptSelAnchor = m_ptSelEnd = CPoint(m_nCaretCol, m_nCaretRow);
}

void AEdtVu::ResetEngineInput() {
  EditorEngine().ResetChnInput(0, 0, 1);
  m_byHeldLead = 0;
}

void AEdtVu::UpdateBlockCaret() {
  if (!InBlockSelectMode()) return;
  CRect block;
  const bool wide = GetBlockSelArea(block) && block.left != block.right;
  m_bCaretHidden = wide;
  World().MapCaret(wide ? 0 : 1);
}

void AEdtVu::NormalizeSelPts() {
  if (edttext::PosBefore(m_ptSelEnd, m_ptSelAnchor)) std::swap(m_ptSelAnchor, m_ptSelEnd);
}

int AEdtVu::GetBlockSelArea(CRect& rc) {
  if (m_ptSelAnchor == m_ptSelEnd) return 0;
  const int ax = GetPixelXPosByPointXOrCharX(nullptr, m_ptSelAnchor.y, m_ptSelAnchor.x, 0, nullptr,
                                             nullptr, nullptr, nullptr);
  rc = CRect(std::min(ax, static_cast<int>(m_nBlockSelX)), std::min(m_ptSelAnchor.y, m_ptSelEnd.y),
             std::max(ax, static_cast<int>(m_nBlockSelX)), std::max(m_ptSelAnchor.y, m_ptSelEnd.y));
  return 1;
}

// --- Presses and clicks -----------------------------------------------------

void AEdtVu::AtLBtnDwn(unsigned long flags, CPoint p) {
  if (OnManageLButtonClicks(flags, p)) return;
  m_dwLastPress = World().NowMs();
  m_bLineSel = 0;
  if (RowCount() < 1) {
    m_nCaretRow = m_nCaretCol = m_nCaretDispCol = 0;
    CollapseSelectionAtCaret();
    return;
  }
  const int x = CaretToPoint(p);
  const int hpos = GetScrollThumPos(0);
  if (x < hpos) {
    CRect view;
    GetVuRect(&view);
    const int cw = CharWidth();
    if (x < view.Width())
      SetScrollThumPos(0, 0);
    else
      SetScrollThumPos(0, hpos - (view.Width() + hpos - x - 2 * cw) / cw * cw);
  }
  PlaceCaret();
  CollapseSelectionAtCaret();
  m_nBlockSelX = m_nCaretDispCol * CharWidth();
  UpdateBlockCaret();
  LeaveReSelectionIfMoved();
}

int AEdtVu::OnManageLButtonClicks(unsigned long flags, CPoint p) {
  // A click handler asks again before it runs (so a double click that the
  // window base reports itself can still turn out to be a triple one); a
  // click already being run must not count itself a second time.
  if (m_bInClickCount) return 0;
  const uint32_t now = World().NowMs();
  int ran = 0;
  m_bInClickCount = true;
  if (now - m_dwLastPress <= m_dwDblClkIntvl) {
    m_dwLastPress = 0;
    AtLBtnDblClk(flags, p);
    ran = 1;
  } else if (now - m_dwLastDblClk < m_dwDblClkIntvl && p == m_ptLastDblClk) {
    if (m_dwLast3Clk == 0) {
      OnLButton3Clk(flags, p);
      m_dwLast3Clk = now;
      ran = 1;
    } else if (now - m_dwLast3Clk < m_dwDblClkIntvl) {
      OnLButton4Clk(flags, p);
      m_dwLast3Clk = 0;
      ran = 1;
    }
  } else {
    m_dwLast3Clk = 0;
  }
  m_bInClickCount = false;
  return ran;
}

void AEdtVu::AtLBtnDblClk(unsigned long flags, CPoint p) {
  if (OnManageLButtonClicks(flags, p)) return;
  m_dwLastDblClk = World().NowMs();
  m_ptLastDblClk = p;
  const int row = m_nCaretRow, a = m_nCaretCol;
  CString text;
  const int n = RowText(row, text);
  const unsigned char* s = Bytes(text);
  const int xc =
      GetPixelXPosByPointXOrCharX(nullptr, row, a, 0, nullptr, nullptr, nullptr, nullptr) -
      GetScrollThumPos(0);
  if (RowCount() < 1 || n == 0 || (xc < p.x && a >= n) || a < 0 || a > n) {
    if (m_bListMode) {
      ParseCurLineAndGoSpot();
      return;
    }
    ResetEngineInput();
    CollapseSelectionAtCaret();
    return;
  }
  const int winBig5 = WinBig5();
  const int fanTi = EditorEngine().FanTi() != 0;
  const RowChars chars(text, winBig5 ? kBig5Language : 0);
  const auto lead = [&](int i) { return i < n && IsChnChar(s[i], 1, winBig5); };
  int from = a, to = a;
  if (a > 1 && chars.WidthBefore(a) == 2 && (p.x < xc || (a < n && !lead(a)))) {
    from = a - 2;  // the Chinese character left of the click
  } else if (a < n - 1 && IsChnChar(s[a], 1, fanTi) && IsChnChar(s[a + 1], 0, fanTi)) {
    to = a + 2;  // the Chinese character right of it
  } else if (a > 0 && chars.WidthBefore(a) == 1 && s[a - 1] != ' ' &&
             (p.x <= xc || (a < n && s[a] == ' '))) {
    from = a - 1;  // a single sign left of the click
  } else if (a < n && !lead(a) && s[a] != ' ' && (a == 0 || !iscsym(s[a - 1])) &&
             (p.x >= xc || (a > 0 && s[a - 1] == ' '))) {
    to = a + 1;  // a single sign right of it
  } else {
    // A word: identifier bytes both ways.
    while (from > 0 && iscsym(s[from - 1]) && chars.WidthBefore(from) == 1) --from;
    while (to < n && !lead(to) && iscsym(s[to])) ++to;
  }
  PlaceSelection(CPoint(from, row), CPoint(to, row));
}

void AEdtVu::OnLButton3Clk(unsigned long, CPoint p) {
  if (RowCount() < 1) {
    ResetEngineInput();
    return;
  }
  NormalizeSelPts();
  const int row = m_ptSelAnchor.y;
  CString text;
  const int n = RowText(row, text);
  const unsigned char* s = Bytes(text);
  const int winBig5 = WinBig5();
  const int fanTi = EditorEngine().FanTi() != 0;
  const RowChars chars(text, winBig5 ? kBig5Language : 0);
  const auto lead = [&](int i) { return i >= 0 && i < n && IsChnChar(s[i], 1, winBig5); };
  const auto pairAt = [&](int i) {
    return lead(i) && i + 1 < n && IsChnChar(s[i + 1], 0, winBig5);
  };
  const auto inkAt = [&](int i) { return pairAt(i) && !IsChnWhiteChar(s[i], s[i + 1], fanTi); };

  const int start = std::min<int>(m_ptSelAnchor.x, n);
  const bool empty = m_ptSelAnchor == m_ptSelEnd;
  bool moved = false;
  int from = start, to = start;
  if (empty || inkAt(start) || (lead(start) && !pairAt(start))) {
    // A run of Chinese characters (not symbols) around the click.
    const int xc = CaretPixelX() - GetScrollThumPos(0);
    const bool holdLeft = p.x >= xc && (from >= n || lead(from));
    if (!holdLeft)
      while (from >= 2 && chars.WidthBefore(from) == 2 && inkAt(from - 2)) from -= 2;
    while (inkAt(to)) to += 2;
    moved = from != start || to != start;
  }
  if (!moved) {
    from = 0;
    to = n;
  }
  PlaceSelection(CPoint(from, row), CPoint(to, row));
  ResetEngineInput();
}

namespace {
bool StartsWithBlank(const CString& s) {
  return s.GetLength() > 0 && (s[0] == ' ' || s[0] == '\t');
}
}  // namespace

void AEdtVu::OnLButton4Clk(unsigned long, CPoint p) {
  const int rows = RowCount();
  if (rows < 1) {
    ResetEngineInput();
    return;
  }
  const int fanTi = EditorEngine().FanTi() != 0;
  const auto rowText = [&](int r) {
    CString t;
    RowText(r, t);
    return t;
  };
  const auto empty = [&](int r) { return r < 0 || r >= rows || rowText(r).GetLength() == 0; };
  // A row that opens a paragraph: indented, or led by a Chinese space or a
  // list mark.
  const auto opens = [&](int r) {
    const CString t = rowText(r);
    if (StartsWithBlank(t)) return true;
    const unsigned char* s = Bytes(t);
    return t.GetLength() >= 2 && IsChnParagraph1stChar(s[0], s[1], fanTi);
  };
  const CPoint scroll = GetScrollThumPosPt();
  const int64_t docY = static_cast<int64_t>(scroll.y) + p.y;
  const int row = std::clamp<int64_t>(docY < 0 ? 0 : docY / RowHeight(), 0, rows - 1);

  int first = row;
  if (empty(row)) {
    while (first < rows - 1 && empty(first)) ++first;
  } else {
    while (first > 0 && !empty(first - 1) && !StartsWithBlank(rowText(first))) --first;
  }
  int last = row + 1;
  if (empty(last)) {
    last = std::min(last, rows - 1);
    while (last > 0 && empty(last)) --last;
  } else if (opens(last) && !empty(row)) {
    last = row;  // the next row begins a paragraph of its own
  } else {
    while (last < rows - 1 && !empty(last + 1) && !opens(last + 1)) ++last;
  }
  PlaceSelection(CPoint(0, first), CPoint(rowText(last).GetLength(), last));
  ResetEngineInput();
}

// --- Dragging ---------------------------------------------------------------

void AEdtVu::AtPtrMv(unsigned long, CPoint p) {
  if (RowCount() < 1) return;
  CRect view;
  GetVuRect(&view);
  const CPoint scroll = GetScrollThumPosPt();
  const bool left = p.x < 0 && scroll.x >= 1;
  const bool right = p.x > view.right;
  const bool up = p.y < 0 && scroll.y >= 1;
  if (up) p.y = 0;
  const bool down = p.y > view.bottom;

  const CPoint oldEnd = m_ptSelEnd;
  CaretToPoint(CPoint(p.x, std::min(p.y, view.bottom)));
  m_ptSelEnd = CPoint(m_nCaretCol, m_nCaretRow);
  if (m_ptSelEnd != oldEnd) PlaceCaret();
  UpdateBlockCaret();

  if (!(left || right || up || down)) {
    if (m_nDragTimer) World().ReleaseTimer(m_nDragTimer);
    m_nDragTimer = 0;
    m_dwDragDir = 0;
    return;
  }
  if (!m_nDragTimer) {
    // Without a free slot there is no auto-scroll; dragging inside the view
    // still works. The view's own "no timer" stays 0.
    const int slot = World().CreateTimer(kDragTimerMs, m_hWnd);
    m_nDragTimer = NoTimer(slot) ? 0 : slot;
  }
  m_dwDragDir = (left ? kDragLeft : 0) | (right ? kDragRight : 0) | (up ? kDragUp : 0) |
                (down ? kDragDown : 0);
}

void AEdtVu::AtLBtnUp(unsigned long, CPoint) {
  if (m_nDragTimer) World().ReleaseTimer(m_nDragTimer);
  m_nDragTimer = 0;
  m_dwDragDir = 0;
  m_bLineSel = 0;
}

void AEdtVu::AtTimer(unsigned long slot) {
  if (!m_nDragTimer || slot != static_cast<unsigned long>(m_nDragTimer)) return;
  // Each direction replays its arrow key: while the drag runs the key
  // extends the selection by one character (never across rows) or one row.
  const struct {
    uint32_t bit;
    unsigned long key;
  } steps[] = {{kDragLeft, keysym::kLeft},
               {kDragRight, keysym::kRight},
               {kDragUp, keysym::kUp},
               {kDragDown, keysym::kDown}};
  for (const auto& step : steps)
    if (m_dwDragDir & step.bit) AtKeyEv(step.key, 0);
}
