// Drawing the visible rows and mapping positions to pixels.
#include <algorithm>
#include <string>

#include "base/ChnChar.h"
#include "editor/AEdtVu.h"
#include "editor/EditorEngine.h"
#include "editor/EdtVuWorld.h"
#include "editor/internal/EdtDocAccess.h"
#include "editor/internal/EdtText.h"
#include "framework/Colours.h"
#include "framework/Drawing.h"

namespace {
constexpr int kRasterCopy = 3;
// The cell painted after a row's last character, so a character deleted
// at the row's end leaves no ink behind.
constexpr int kRowTailWidth = 4;
// The rows' fills may reach this far below the clip: the hosts' frame.
constexpr int kClipSlack = 4;
constexpr int kBig5Language = 1001;
}  // namespace

// A graphics context the view took from its host, released on every path.
class AEdtVu::HostGC {
 public:
  HostGC(AEdtVu& view, GC given) : m_view(view), m_gc(given) {
    if (!m_gc) {
      m_gc = view.edtvuGetGC();
      m_owned = m_gc != nullptr;
    }
  }
  ~HostGC() {
    if (m_owned) m_view.World().ReleaseGC(m_gc);
  }
  HostGC(const HostGC&) = delete;
  HostGC& operator=(const HostGC&) = delete;
  GC gc() const { return m_gc; }

 private:
  AEdtVu& m_view;
  GC m_gc;
  bool m_owned = false;
};

int AEdtVu::SpaceWidth(const CFont& font) {
  if (m_nSpaceWidth == 0) {
    const int w = World().TextWidth(font, " ", 1);
    // A font that cannot measure (no set) still gives TABs a width.
    m_nSpaceWidth = static_cast<int16_t>(w > 0 ? w : CharWidth());
  }
  return m_nSpaceWidth;
}

int AEdtVu::GetPixelXPosByPointXOrCharX(GC gc, int row, int pos, int byPixel,
                                        unsigned short* charAt, long* dispCol, int* byteCol,
                                        int* atEnd) {
  HostGC hold(*this, gc);
  if (!hold.gc()) return kNoPixelX;
  const int space = SpaceWidth(m_font);
  CString text;
  const int len = RowText(row, text);
  const unsigned char* s = reinterpret_cast<const unsigned char*>(static_cast<const char*>(text));
  const int tab = m_pDoc ? DocTabWidth(*m_pDoc) : 4;
  const int big5 = EditorEngine().FanTi() != 0;
  if (charAt) *charAt = 0;

  int limit = pos, count = len;
  if (!byPixel) {
    if (pos > len) {
      // Beyond the row's text every column is one character width.
      if (dispCol) *dispCol = pos;
      if (atEnd) *atEnd = 1;
      return CharWidth() * pos;
    }
    limit = GetDocSize().cx;
    count = std::max(pos, 0);
  }
  int x = 0, i = 0;
  long cols = 0;
  while (i < count) {
    if (charAt) *charAt = static_cast<unsigned short>(s[i] | (i + 1 < len ? s[i + 1] << 8 : 0));
    if (s[i] == '\t') {
      const int n = tab - static_cast<int>(cols % tab);
      const int w = n * space;
      if (x + w > limit) break;
      x += w;
      cols += n;
      ++i;
      if (x == limit) break;
      continue;
    }
    if (s[i] == '\r') {  // a lone CR inside a row is drawn as nothing
      ++i;
      continue;
    }
    int nb = 1;
    if (IsChnChar(s[i], 1, big5)) {
      if (i + 1 >= len) break;
      nb = 2;
    }
    const int w = World().TextWidth(m_font, reinterpret_cast<const char*>(s + i), nb);
    if (limit <= x + w / 2) break;  // a click lands on the nearer edge
    x += w;
    cols += nb;
    i += nb;
  }
  if (byPixel && byteCol) *byteCol = i;
  if (dispCol) *dispCol = cols;
  if (atEnd) *atEnd = i >= len;
  return x;
}

CPoint AEdtVu::LnChar2PointInDoc(GC gc, int row, int byteCol) {
  long cols = 0;
  const int x = GetPixelXPosByPointXOrCharX(gc, row, byteCol, 0, nullptr, &cols, nullptr, nullptr);
  m_nCaretDispCol = static_cast<int32_t>(cols);
  return CPoint(x, row * RowHeight());
}

namespace {

// One row's painting: the cells and the characters, in view pixels.
struct RowPainter {
  unsigned long window;
  GC gc;
  int scrollX, top, bottom;  // row top and the fills' bottom, view pixels
  void Fill(int x0, int x1, unsigned long rgb) const {
    if (x1 <= x0) return;
    CRect rc(x0 - scrollX, top, x1 - scrollX, bottom);
    FillClrRect(window, gc, &rc, rgb);
  }
};

}  // namespace

void AEdtVu::edtvuDraw(GC gc, int allSelected) {
  const int rows = RowCount();
  if (rows < 1 || !gc || !m_pDoc) return;
  const CPoint scroll = GetScrollThumPosPt();
  CRect clip;
  GetClipRc(&clip);
  clip.OffsetRect(scroll.x, scroll.y);

  unsigned long back = edtIsDsabled() ? kEdtBackDisabled : kEdtBack;
  unsigned long selBack = m_clrSelBack;
  if (allSelected) back = selBack = kEdtAllSelected;

  const int rh = RowHeight();
  const int first = std::max(clip.top / rh, 0);
  if (first >= rows) return;
  int last = std::min(clip.bottom / rh, rows - 1);
  if (DocSingleLine(*m_pDoc)) last = 0;
  const int big5 = DocLanguage(*m_pDoc) == kBig5Language;
  const CFont& font = big5 ? diplayUIFontFan : diplayUIFont;
  const int space = SpaceWidth(font);
  const int tab = DocTabWidth(*m_pDoc);

  const bool selEmpty = m_ptSelAnchor == m_ptSelEnd;
  const CPoint selStart =
      edttext::PosBefore(m_ptSelEnd, m_ptSelAnchor) ? m_ptSelEnd : m_ptSelAnchor;
  const CPoint selStop = edttext::PosBefore(m_ptSelEnd, m_ptSelAnchor) ? m_ptSelAnchor : m_ptSelEnd;
  const bool block = InBlockSelectMode() && !selEmpty;
  int blockLeft = 0, blockRight = 0;
  if (block) {
    const int ax = GetPixelXPosByPointXOrCharX(gc, m_ptSelAnchor.y, m_ptSelAnchor.x, 0, nullptr,
                                               nullptr, nullptr, nullptr) +
                   m_ptTextOrigin.x;
    const int bx = m_nBlockSelX + m_ptTextOrigin.x;
    blockLeft = std::min(ax, bx);
    blockRight = std::max(ax, bx);
  }

  int y = first * rh + m_ptTextOrigin.y;
  std::string text;
  unsigned char carry = 0;  // a lead byte that ended the row before
  for (int r = first; r <= last; ++r, y += rh) {
    CString line;
    const int len = RowText(r, line);
    const int carried = carry ? 1 : 0;
    text.assign(carried, static_cast<char>(carry));
    text.append(static_cast<const char*>(line), len);
    carry = 0;
    const bool inBlockRows = block && r >= selStart.y && r <= selStop.y;
    // The cell after the text is selected when the selection takes this
    // row's break; a caret at the row's end alone selects nothing.
    bool endSelected;
    if (len == 0)
      endSelected = !selEmpty && r >= selStart.y && r <= selStop.y;
    else
      endSelected = !selEmpty && r == selStart.y && selStart.x >= len;

    const int top = y - scroll.y;
    const RowPainter paint{m_hWnd, gc, scroll.x, top,
                           std::min(top + rh, clip.bottom - scroll.y + kClipSlack)};
    int x = m_ptTextOrigin.x, col = 0;
    const int n = static_cast<int>(text.size());
    for (int i = 0; i < n && x < clip.right;) {
      const unsigned char b = static_cast<unsigned char>(text[i]);
      // A lone CR (a break byte the row builder did not end the row on)
      // shows nothing and the row goes on after it.
      if (b == '\r') {
        ++i;
        continue;
      }
      bool sel = allSelected != 0;
      if (!sel) {
        if (block)
          sel = inBlockRows && blockLeft <= x && x < blockRight;
        else if (!selEmpty) {
          const CPoint at(i - carried, r);
          sel = !edttext::PosBefore(at, selStart) && edttext::PosBefore(at, selStop);
        }
      }
      if (b == '\t') {
        const int cells = tab - col % tab;
        const int w = cells * space;
        if (block && sel && x + w > blockRight) sel = false;
        if (x < clip.right && x + w > clip.left) paint.Fill(x, x + w, sel ? selBack : back);
        x += w;
        col += cells;
        ++i;
      } else {
        int nb = 1;
        if (IsChnChar(b, 1, big5)) {
          if (i + 1 >= n) {
            carry = b;  // drawn with its trail byte at the next row's start
            break;
          }
          nb = 2;
        }
        const int w = World().TextWidth(font, text.data() + i, nb);
        if (block && sel && x + w > blockRight) sel = false;
        if (x + w > clip.left) {
          paint.Fill(x, x + w, sel ? selBack : back);
          SetFgClr(gc, sel ? kEdtSelText : m_clrText);
          SetDrawMode(gc, kRasterCopy);
          char glyph[3] = {text[i], nb == 2 ? text[i + 1] : '\0', '\0'};
          ChBmpStrOut(m_hWnd, gc, x - scroll.x, top, glyph, 0, 0, m_nFontHeight, m_nFontHeight, 0,
                      nullptr, 0, kChStrAuto, big5 ? 0 : 1);
        }
        x += w;
        col += nb;
        i += nb;
      }
      if (i >= n) paint.Fill(x, x + kRowTailWidth, back);
    }
    if (!block) {
      paint.Fill(x, x + space, endSelected ? selBack : back);
    } else if (!inBlockRows) {
      paint.Fill(x, clip.right, back);
    } else {
      paint.Fill(x, blockLeft, back);
      paint.Fill(std::max(x, blockLeft), blockRight, selBack);
      paint.Fill(std::max(x, blockRight), clip.right, back);
    }
  }
}
