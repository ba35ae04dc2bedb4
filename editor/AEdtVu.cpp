#include "editor/AEdtVu.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include "editor/EditorEngine.h"
#include "editor/EdtVuWorld.h"
#include "editor/internal/EdtDocAccess.h"
#include "framework/WinGeometry.h"

namespace {
constexpr int kDefaultFontHeight = 16;
constexpr int kDefaultCharWidth = 8;
// The horizontal document size never falls below this many columns.
constexpr int kMinDocColumns = 500;

int ClampToInt(int64_t v) {
  return static_cast<int>(std::min<int64_t>(std::max<int64_t>(v, INT_MIN), INT_MAX));
}
}  // namespace

AEdtVu::AEdtVu() : m_pWorld(&FrameworkEdtVuWorld()) {
  m_nFontHeight = kDefaultFontHeight;
  m_nRowGap = static_cast<int16_t>(m_nFontHeight * m_dRowGapFactor);
  m_nRowHeight = static_cast<int16_t>(m_nRowGap + m_nFontHeight);
  m_nCharWidth = static_cast<int16_t>(m_nFontHeight / 2 ? m_nFontHeight / 2 : kDefaultCharWidth);
  m_dwDblClkIntvl = static_cast<uint32_t>(GetDblClikIntvl());
  BuildDelimiterPairs();
}

// The bars go with their unique_ptrs; the document stays with the host.
AEdtVu::~AEdtVu() = default;

void AEdtVu::SetWorld(IEdtVuWorld* world) { m_pWorld = world ? world : &FrameworkEdtVuWorld(); }

int AEdtVu::OnCreate() {
  const CSize size = m_font.GetFontSize();
  m_nFontHeight = static_cast<int16_t>(size.cy ? size.cy : kDefaultFontHeight);
  // A font that reports width 0 would make every scroll step 0 and divide
  // the page arithmetic by 0; the constructor's fallback holds here too.
  m_nCharWidth = static_cast<int16_t>(size.cx > 0 ? size.cx : kDefaultCharWidth);
  m_nRowGap = static_cast<int16_t>(m_nFontHeight * m_dRowGapFactor);
  m_nRowHeight = static_cast<int16_t>(m_nRowGap + m_nFontHeight);
  m_byHeldLead = 0;
  return 0;
}

void AEdtVu::InitScrollers(CRect rects[2], AWnd* owner, AWnd* parent) {
  for (int i = 0; i < 2; ++i) {
    m_pScrlBars[i] = MakeEdtScrollBar(i == 0, rects[i], owner, parent);
    m_pScrlBars[i]->Show(0);
  }
}

void AEdtVu::OnInitialUpdate() {
  if (m_pDoc) {
    m_bListMode = DocListMode(*m_pDoc);
    if (m_bListMode) m_pDoc->m_nReadOnly = 1;
  }
  MySetScrollParams();
}

int AEdtVu::GetReadOnly() const { return m_pDoc ? m_pDoc->m_nReadOnly : 0; }

int AEdtVu::SetReadOnly(int readOnly) {
  if (!m_pDoc) return 0;
  const int old = m_pDoc->m_nReadOnly;
  m_pDoc->m_nReadOnly = readOnly;
  return old;
}

int AEdtVu::InBlockSelectMode() const { return m_pDoc ? m_pDoc->InBlockSelectMode() : 0; }

int AEdtVu::RowCount() const { return m_pDoc ? DocRowCount(*m_pDoc) : 0; }

int AEdtVu::RowText(int row, CString& text) const {
  text.Empty();
  if (!m_pDoc || row < 0 || row >= RowCount()) return 0;
  const int n = m_pDoc->GetLine(row, text);
  if (n < 0) {
    text.Empty();
    return 0;
  }
  return text.GetLength();
}

int AEdtVu::WinBig5() const { return m_pWorld->WinLang(m_hWnd) == 1001; }

// --- Scrolling --------------------------------------------------------------

int AEdtVu::GetScrollThumPos(int i) const {
  if (i < 0 || i > 1 || !m_pScrlBars[i]) return 0;
  if (m_pDoc && DocSingleLine(*m_pDoc)) return 0;
  return m_pScrlBars[i]->GetPos();
}

int AEdtVu::SetScrollThumPos(int i, int pos) {
  if (i < 0 || i > 1 || !m_pScrlBars[i]) return 0;
  if (m_pDoc && DocSingleLine(*m_pDoc)) return 0;
  const int old = m_pScrlBars[i]->GetPos();
  m_pScrlBars[i]->SetPos(pos);
  return old;
}

int AEdtVu::GetScrollHi(int i) const {
  if (i < 0 || i > 1 || !m_pScrlBars[i]) return 0;
  return m_pScrlBars[i]->GetRangeMax();
}

void AEdtVu::ScrollDoc(int dx, int dy) {
  const int pos[2] = {GetScrollThumPos(0), GetScrollThumPos(1)};
  int d[2] = {dx, dy};
  for (int i = 0; i < 2; ++i) {
    if ((pos[i] < 1 && d[i] < 0) || (pos[i] >= GetScrollHi(i) && d[i] > 0)) d[i] = 0;
    if (d[i]) SetScrollThumPos(i, ClampToInt(static_cast<int64_t>(pos[i]) + d[i]));
  }
}

CSize AEdtVu::GetDocSize() const {
  int columns = kMinDocColumns;
  int rows = 0;
  if (m_pDoc) {
    columns =
        DocWordWrap(*m_pDoc) ? DocWrapWidth(*m_pDoc) : std::max(DocWidest(*m_pDoc), kMinDocColumns);
    rows = DocRowCount(*m_pDoc);
  }
  // A pasted row of millions of columns must not wrap the width negative.
  const int width = ClampToInt(static_cast<int64_t>(columns) * CharWidth() * 2);
  int height = ClampToInt(static_cast<int64_t>(RowHeight()) * (rows + 1));
  if (height < 1) height = RowHeight() * 10;
  return CSize(width, height);
}

void AEdtVu::MySetScrollParams() {
  CRect view;
  GetVuRect(&view);
  const int cw = CharWidth(), rh = RowHeight();
  const int viewW = view.Width(), viewH = view.Height();
  const CSize page(std::max(viewW / cw * cw - 6 * cw, 2 * cw), (viewH / rh - 1) * rh);
  const CSize line(cw, rh);
  const CSize doc = GetDocSize();
  if (m_pDoc && !DocSingleLine(*m_pDoc) && m_pScrlBars[1]) m_pScrlBars[1]->Show(viewH < doc.cy);

  bool update = page != m_szLastPage || line != m_szLastLine;
  if (!update && doc != m_szLastDoc) {
    // Small changes of a document that fits the view move no bar.
    const bool bothLow = doc.cy < viewH && m_szLastDoc.cy < viewH;
    const bool bothNarrow = doc.cx < viewW && m_szLastDoc.cx < viewW;
    const int64_t w = doc.cx, last = m_szLastDoc.cx;
    const bool nearLast = 4 * w > 3 * last && 2 * w < 3 * last;
    update = !(bothLow && (bothNarrow || nearLast));
  }
  if (!update) return;
  m_szLastDoc = doc;
  m_szLastPage = page;
  m_szLastLine = line;
  SetScrollParams(doc, page, line);
}

void AEdtVu::SetScrollParams(CSize size, const CSize& page, const CSize& line) {
  CRect view;
  GetVuRect(&view);
  if (m_pScrlBars[0]) {
    m_pScrlBars[0]->SetRangeMax(std::max(size.cx, 0));
    m_pScrlBars[0]->SetPage(page.cx);
    m_pScrlBars[0]->SetStep(line.cx);
  }
  if (m_pScrlBars[1]) {
    // A short document in a tall control would give a negative range:
    // positions stay in [0, max(range, 0)].
    m_pScrlBars[1]->SetRangeMax(std::max(size.cy - view.Height() / 2, 0));
    m_pScrlBars[1]->SetPage(page.cy);
    m_pScrlBars[1]->SetStep(line.cy);
  }
}
