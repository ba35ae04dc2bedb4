// The input panes paint themselves from the pane globals (InputPanes.h,
// engine/PaneGlobals.h) and the engine's state. Each drawing saves the GC's
// raster function, background and foreground, draws with the copy
// function and puts them back.
#include "frontend/PaneDrawing.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

#include "engine/CChnChars.h"
#include "engine/InputSettings.h"
#include "engine/PaneGlobals.h"
#include "framework/AfcKernel.h"
#include "framework/CFont.h"
#include "framework/Colours.h"
#include "framework/Drawing.h"
#include "framework/ImageLoad.h"
#include "framework/WinGeometry.h"
#include "framework/x11/EventAccess.h"
#include "frontend/InputPanes.h"
#include "frontend/internal/PaneLayout.h"
#include "frontend/internal/PaneX.h"

unsigned long clrbkInputPane = 0xFFF0F0;
unsigned long clrbkInputPaneHilite = 0xD7FF91;
unsigned long clrbkInputPaneForecast = 0xFFF0F0;
unsigned long clrInputPaneBorder = 0xC1C1BE;
unsigned long clrChoicePane = 0x2C2150;
unsigned long clrChoicePane2 = 0x0000B9;
unsigned long clrChoicePane2_border = 0x8C8CB9;
unsigned long clrSelNum = 0x8B953B;

namespace {

constexpr int kGXcopy = 3;
constexpr unsigned long kBlack = 0x000000, kRed = 0xFF0000, kBlue = 0x0000FF;
constexpr unsigned long kGreen = 0x00FF00, kGrey = 0x929296;
constexpr unsigned long kHighlightText = 0x2C2150;
constexpr unsigned long kStrokeFg = 0x416222;
constexpr int kBmpStrokes = 131, kBmpArrowsUnder = 172, kBmpArrowsBeside = 173;
constexpr int kBmpForecast = 175;
constexpr int kStrokeCellW = 6;  // a stroke symbol's width in bitmap 131
constexpr int kStrokeRoom = 7;   // and its room in the keys pane
constexpr int kStrokeY = 6;
constexpr int kForecastItems = 3;
constexpr int kLangSimplified = 1000, kLangTraditional = 1001;

// The GC's function, background and foreground, restored on leaving.
class GcState {
 public:
  explicit GcState(GC gc)
      : m_gc(gc),
        m_function(SetDrawMode(gc, kGXcopy)),
        m_bg(SetBkClr(gc, clrbkInputPane)),
        m_fg(SetFgClr(gc, kBlack)) {}
  ~GcState() {
    SetFgClrPxl(m_gc, m_fg);
    SetBkClrPxl(m_gc, m_bg);
    SetDrawMode(m_gc, m_function);
  }
  GcState(const GcState&) = delete;
  GcState& operator=(const GcState&) = delete;

 private:
  GC m_gc;
  int m_function;
  unsigned long m_bg, m_fg;
};

// The resource images, decoded once and kept for the process.
XImage* PaneImage(int id) {
  struct Cached {
    int id;
    XImage* image;
  };
  static Cached cache[] = {{kBmpStrokes, nullptr},
                           {kBmpArrowsUnder, nullptr},
                           {kBmpArrowsBeside, nullptr},
                           {kBmpForecast, nullptr}};
  static bool tried[4] = {};
  for (int i = 0; i < 4; ++i) {
    if (cache[i].id != id) continue;
    if (!tried[i]) {
      tried[i] = true;
      cache[i].image = LoadBmpId(id);
    }
    return cache[i].image;
  }
  return nullptr;
}

void PutWholeImage(unsigned long window, GC gc, XImage* image, int x, int y) {
  const CSize s = panes::ImageSize(image);
  if (s.cx > 0) AfcPutImage(dsply, window, gc, image, 0, 0, x, y, s.cx, s.cy, kGXcopy);
}

void Fill(unsigned long window, GC gc, int l, int t, int r, int b, unsigned long rgb) {
  CRect rc(l, t, r, b);
  if (rc.right > rc.left && rc.bottom > rc.top) FillClrRect(window, gc, &rc, rgb);
}

void FillRegionAt(unsigned long window, GC gc, Region region, int dx, int dy, unsigned long rgb) {
  if (!region) return;
  panes::OffsetRegion(region, dx, dy);
  FillClrRgn(window, gc, region, rgb);
  panes::OffsetRegion(region, -dx, -dy);
}

// UI-font text with its baseline at the font's height.
void UiText(unsigned long window, GC gc, int x, const char* text, int nBytes, unsigned long rgb) {
  if (nBytes <= 0) return;
  std::string copy(text, static_cast<size_t>(nBytes));
  StrOut(window, gc, x, 0, copy.data(), nBytes, &diplayUIFont, kGXcopy, rgb, clrbkInputPane);
}

int UiWidth(const char* text, int nBytes) {
  return nBytes > 0 ? GetTextExtent(diplayUIFont.m_fontSet, text, nBytes).cx : 0;
}

// Bitmap-font text (16 by 16 cells) at (x, y) in rgb; its extent.
CSize BmpText(unsigned long window, GC gc, int x, int y, const char* text, unsigned long rgb) {
  SetFgClr(gc, rgb);
  return ChBmpStrOut(window, gc, x, y, text, 0, 0, 16, 16, 0, nullptr, 0, kChStrAuto, 1);
}

int PageSize() { return std::clamp(dictionary.m_nPageSize, 1, 10); }

// Pages of the candidate list and the items on the current one.
void Pages(int& pages, int& onPage) {
  const int count = dictionary.m_arrChoices.GetSize();
  const int size = PageSize();
  pages = (count + size - 1) / size;
  onPage = std::min(count - dictionary.m_nCurPage * size, size);
}

bool MorePages(int pages) { return pages > (isPYProperAndMultiCandidatePanes ? 3 : 1); }

void DrawToneMark(unsigned long window, GC gc, int x, int H) {
  const int t = x + 2;
  switch (byteShengDiao) {
    case 1: Fill(window, gc, x + 4, H / 2 - 1, x + H, H / 2 + 2, kBlue); break;
    case 2: FillRegionAt(window, gc, hrgnShengDiao2, t, -2, kBlue); break;
    case 3: FillRegionAt(window, gc, hrgnShengDiao3, t, -2, kBlue); break;
    case 4: FillRegionAt(window, gc, hrgnShengDiao4, t, -2, kBlue); break;
    case 5:
      Fill(window, gc, x + 8, H / 2 - 1, std::max(t + H - 6, x + 12), H / 2 + 2, kBlue);
      break;
    default: break;
  }
}

}  // namespace

void SetStyleMordenClrs() {
  clrbkInputPane = 0xFFF0F0;
  clrbkInputPaneHilite = 0xD7FF91;
  clrbkInputPaneForecast = 0xFFF0F0;
  clrInputPaneBorder = 0xC1C1BE;
  clrChoicePane = 0x2C2150;
  clrChoicePane2 = 0x0000B9;
  clrChoicePane2_border = 0x8C8CB9;
  clrSelNum = 0x8B953B;
}

void SetStyleClassicClrs() {
  clrbkInputPane = 0xFFFF91;
  clrbkInputPaneHilite = 0xD7FF91;
  clrbkInputPaneForecast = 0xFFF0F0;
  clrInputPaneBorder = 0x9BFFE1;
  clrChoicePane = 0x2C2150;
  clrChoicePane2 = 0x0000B9;
  clrChoicePane2_border = 0x8C8CB9;
  clrSelNum = 0x2C2150;
}

void SetCandidateBarStyle(int style) {
  if (style == kBarStyleClassic)
    SetStyleClassicClrs();
  else
    SetStyleMordenClrs();
}

int InputPaneProc(XEvent* event) {
  if (!event || !panes::IsExposeEvent(event)) return 0;
  // One drawing paints the whole pane: the last of a series is enough.
  if (!panes::IsLastExpose(event)) return 1;
  const unsigned long window = afc::x11::EventWindow(event);
  GC gc = GetGC(window);
  if (!gc) return 1;
  SetBkClr(gc, clrbkInputPane);
  const long id = GetWinID(window);
  if (id == kKeysPaneId)
    DrawInputPane1(gc);
  else if (id == kArrowPaneId)
    DrawInputPane3(gc);
  else if (id == kForecastPaneId)
    DrawInputPane4(gc);
  else
    DrawInputPane2(window, gc, static_cast<int>(id));
  ReleaseGC(gc);
  return 1;
}

void DrawInputPane1(GC gc) {
  const unsigned long w = hwndInputPane1;
  if (!w) return;
  GcState keep(gc);
  CChnChars& e = dictionary;
  const bool pinyin = cfgInputManager.IsPinYinMethod();
  const char* text = strInputPane1;
  const int len = strInputPane1.GetLength();
  int lettersLen = len;
  int strokes = 0;
  if (pinyin) {
    std::string keys(text, static_cast<size_t>(len));
    std::string strokeKeys(keys.size() + 1, '\0');
    strokes = std::clamp(e.GetCountOfBiHuaMa(keys.data(), &lettersLen, strokeKeys.data()), 0, len);
    lettersLen = std::clamp(lettersLen, 0, len);
  }
  const CSize size = GetWinSize(w);
  const int W = size.cx, H = size.cy;
  Fill(w, gc, 0, 0, W, H, clrbkInputPane);
  DrawBox(w, gc, clrInputPaneBorder, CRect(0, 0, W, H + 2), 1);

  int x = 2;
  CString chosen;
  if (e.m_nZuCiMode) {
    if (e.GetZuCiMatchedZis(chosen)) UiText(w, gc, x, chosen, chosen.GetLength(), kBlack);
    x += xZuCiPrefixExtra;
  }
  const int normal = std::clamp(e.m_nSkippedKeys, 0, lettersLen);
  if (normal == 0) {
    UiText(w, gc, x, text, lettersLen, kBlack);
  } else {
    UiText(w, gc, x, text, normal, kBlack);
    UiText(w, gc, x + UiWidth(text, normal), text + normal, lettersLen - normal, kRed);
  }
  x += UiWidth(text, lettersLen);
  if (pinyin && byteShengDiao) {
    DrawToneMark(w, gc, x, H);
    x = x + 2 + sizInputPane1Letters.cy;
  }
  // The stroke keys, each as its symbol. A key past the picture's cells
  // (a stroke set longer than the picture) keeps its room but shows nothing.
  if (strokes > 0) {
    x += 3;
    XImage* cells = PaneImage(kBmpStrokes);
    const CSize cs = panes::ImageSize(cells);
    const unsigned long oldFg = SetFgClr(gc, kStrokeFg);
    for (int i = len - strokes; i < len; ++i, x += kStrokeRoom) {
      const char* hit = text[i] ? std::strchr(gszBiHuaMa, text[i]) : nullptr;
      const int index = hit ? static_cast<int>(hit - gszBiHuaMa) : -1;
      if (index < 0 || (index + 1) * kStrokeCellW > cs.cx) continue;
      AfcPutImage(dsply, w, gc, cells, index * kStrokeCellW, 0, x, kStrokeY, kStrokeCellW, cs.cy,
                  kGXcopy);
    }
    SetFgClrPxl(gc, oldFg);
  }
  FillRegionAt(w, gc, hrgnInsertPt, xKeySeqInsertPt, 0, kRed);
  CString unused;
  if (e.m_nZuCiMode && e.GetZuCiUnusedKeys(unused)) {
    const int bx = sizInputPane1.cx + xZuCiPrefixExtra + 8;
    Fill(w, gc, bx, 0, bx + 2, H, kGreen);
    if (!pinyin) unused.MakeUpper();
    UiText(w, gc, bx + 2 + 2, unused, unused.GetLength(), kGrey);
  }
}

namespace {

void DrawParallelRow(unsigned long w, GC gc, int row, int W, int H) {
  const int rows = std::min(arrStrInputPane2[0].GetSize(), kCandidatePanes);
  if (rows == 0 || row >= rows) return;
  const int extra = panes::ExtraColumnsInUse(extraMultiCandidatePanes, arrStrInputPane2);
  const int rowH = sizInputPane2.cy / rows;
  const unsigned long colour = row < highlightClrLenCountOfItems ? kHighlightText : clrChoicePane2;
  int x = 0;
  for (int c = 0; c < extra + 2 && row < arrStrInputPane2[c].GetSize(); ++c) {
    if (extra > 0 && c == currentPaneInMultiPanes + 1)
      Fill(w, gc, x, 0, x + cxLimit4VerticalCadidatePane[c], rowH, clrbkInputPaneHilite);
    BmpText(w, gc, x, 2, arrStrInputPane2[c][row], colour);
    x += cxLimit4VerticalCadidatePane[c] + 4;
  }
  int pages = 0, onPage = 0;
  Pages(pages, onPage);
  if (cfgInputManager.IsPinYinMethod() && MorePages(pages) && row == onPage - 1) {
    const int y1 = pane1yJumped ? 1 : H - 2;
    const int y2 = pane1yJumped ? 3 : H - 4;
    Fill(w, gc, 0, y1, cxLimit4VerticalCadidatePane[0], y1 + 1, clrChoicePane2_border);
    Fill(w, gc, 0, y2, cxLimit4VerticalCadidatePane[0], y2 + 1, clrChoicePane2_border);
  }
}

// The multi-row layout: the current page and the following ones as lines.
// Returns the line height (for the more-pages mark).
int DrawMultiRow(unsigned long w, GC gc, int W) {
  const CStringArray& numbers = arrStrInputPane2[0];
  const int lines = panes::ExtraColumnsInUse(extraMultiCandidatePanes, arrStrInputPane2) + 1;
  const int lineH = sizInputPane2.cy / lines;
  if (numbers.GetSize() == 0) return lineH;
  const int rowLimit0 = cxLimit4HorzCadidatePane[0];
  const int first = lines >= 2 && arrStrInputPane2[2].GetSize() == PageSize() ? 1 : 0;
  int y = 2;
  for (int L = 0; L < lines; ++L) {
    if (lines > 1 && L == currentPaneInMultiPanes)
      Fill(w, gc, 0, L * lineH, W, (L + 1) * lineH, clrbkInputPaneHilite);
    const CStringArray& items = arrStrInputPane2[L + 1];
    const int n = std::min(items.GetSize(), kCandidatePanes);
    int x = 0;
    for (int i = 0; i < n; ++i) {
      if ((L == first || i > 0) && i < numbers.GetSize())
        BmpText(w, gc, i > 0 ? x - 8 : x, y, numbers[i], clrSelNum);
      x += i == 0 ? rowLimit0 + 2 : rowLimit0 / 2;
      BmpText(w, gc, x, y, items[i], clrChoicePane2);
      x += cxLimit4HorzCadidatePane[i] + 4;
    }
    if (items.GetSize() < PageSize()) break;
    y += lineH;
  }
  return lineH;
}

void DrawOneLine(unsigned long w, GC gc) {
  const int hl = std::clamp(highlightClrLen, 0, strInputPane2.GetLength());
  if (hl == 0) {
    BmpText(w, gc, 0, 2, strInputPane2, clrChoicePane2);
    return;
  }
  const CString head = strInputPane2.Left(hl);
  const CSize s = BmpText(w, gc, 0, 2, head, kHighlightText);
  BmpText(w, gc, s.cx, 2, strInputPane2.Mid(hl), clrChoicePane2);
}

}  // namespace

void DrawInputPane2(unsigned long window, GC gc, int row) {
  if (!window) return;
  GcState keep(gc);
  SetWinLang(window, cfgInputManager.ChnUI == 2 ? kLangTraditional : kLangSimplified);
  const bool parallel = cfgInputManager.PromptParallelSel != 0;
  const CSize size = GetWinSize(window);
  const int W = size.cx, H = size.cy;
  int pages = 0, onPage = 0;
  Pages(pages, onPage);
  Fill(window, gc, 0, 0, W, H, clrbkInputPane);
  // Parallel rows above the last one leave their bottom edge open, so the
  // rows join.
  const bool joined = parallel && row < onPage - 1;
  DrawBox(window, gc, clrInputPaneBorder, CRect(0, 0, W, joined ? H + 1 : H), 1);
  if (parallel) {
    DrawParallelRow(window, gc, row, W, H);
    return;
  }
  if (row != 0) return;
  const bool pinyin = cfgInputManager.IsPinYinMethod();
  int markH = sizInputPane2.cy;
  if (pinyin && panes::ExtraColumnsInUse(extraMultiCandidatePanes, arrStrInputPane2) > 0 &&
      cfgInputManager.PYSingleCharShowMultiRow)
    markH = DrawMultiRow(window, gc, W);
  else
    DrawOneLine(window, gc);
  if (pinyin && MorePages(pages)) {
    const int cw = sizInputPane2.cx;
    Fill(window, gc, cw - 1, 0, cw, markH, clrChoicePane2_border);
    Fill(window, gc, cw - 3, 0, cw - 2, markH, clrChoicePane2_border);
  }
}

void DrawInputPane3(GC gc) {
  if (!hwndInputPane3) return;
  GcState keep(gc);
  const int id = cfgInputManager.PromptParallelSel ? kBmpArrowsUnder : kBmpArrowsBeside;
  PutWholeImage(hwndInputPane3, gc, PaneImage(id), 0, 0);
}

void DrawInputPane4(GC gc) {
  const unsigned long w = hwndInputPane4;
  if (!w) return;
  const CStringArray& items = dictionary.m_arrForecast;
  if (items.GetSize() == 0 && !cfgInputManager.useZiCiForecast) return;
  GcState keep(gc);
  const CSize size = GetWinSize(w);
  Fill(w, gc, 0, 0, size.cx, size.cy, clrbkInputPaneForecast);
  PutWholeImage(w, gc, PaneImage(kBmpForecast), 1, 2);
  const int n = std::min(items.GetSize(), kForecastItems);
  int x = 16;
  for (int i = 0; i < n; ++i) {
    const CSize s = BmpText(w, gc, x, 2, items[i], kBlue);
    x += s.cx + 3;
    if (i + 1 < n) {
      Fill(w, gc, x, 0, x + 3, s.cy + 2, kRed);
      x += 7;
    }
  }
}
