// The input panes' windows, their placement at the caret and what they
// hold. The rules live in frontend/internal/PanePlacement.h and
// PaneLayout.h; this file reads X, the engine and the settings for them
// and moves, sizes, shows and hides the windows.
#include "frontend/InputPanes.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "engine/CChnChars.h"
#include "engine/InputSettings.h"
#include "engine/PaneGlobals.h"
#include "framework/AfcKernel.h"
#include "framework/CFont.h"
#include "framework/CWinApp.h"
#include "framework/Drawing.h"
#include "framework/WinGeometry.h"
#include "frontend/MainBar.h"
#include "frontend/PaneDrawing.h"
#include "frontend/Settings.h"
#include "frontend/XimGlue.h"
#include "frontend/internal/PaneLayout.h"
#include "frontend/internal/PanePlacement.h"
#include "frontend/internal/PaneX.h"

// Written by the functions below (and the engine's pane globals by the
// engine), read by the drawing (PaneDrawing.cpp).
unsigned long hwndInputPane1 = 0;
unsigned long hwndInputPane2[kCandidatePanes] = {};
unsigned long hwndInputPane3 = 0;
unsigned long hwndInputPane4 = 0;
int bShowPane1 = 0, bShowPane2 = 0;
CPoint posInputPane1, posInputPane2, posInputPane4;
int GetCaretPosFlag = panes::kCaretReported;
Region hrgnShengDiao2 = nullptr, hrgnShengDiao3 = nullptr, hrgnShengDiao4 = nullptr;
Region hrgnInsertPt = nullptr;

CString strInputPane1;
int byteShengDiao = 0;
int xKeySeqInsertPt = 0;
int xZuCiPrefixExtra = 0;
int xZuCiPostfixExtra = 0;
CString strInputPane2;
int highlightClrLen = 0;
int cxLimit4HorzCadidatePane[kCandidatePanes] = {};
CSize sizInputPane1, sizInputPane2, sizInputPane4;
CSize sizInputPane1Letters;

namespace {

// SetWinPos flags (framework/WinGeometry.h) the panes use.
constexpr unsigned long kMoveShown = kSwpKeepPos | kSwpShow;
constexpr unsigned long kMoveKeepSize = kSwpKeepSize | kSwpShow;
// The page-arrow pane's sizes (the pictures of bitmaps 173 and 172).
constexpr int kArrowsBesideW = 14, kArrowsBesideH = 49;
constexpr int kArrowsUnderW = 58, kArrowsUnderH = 14;

// The last candidate layout, for re-placing the parallel rows.
panes::ChoiceLayout gChoiceLayout;

class UiMeasure final : public panes::ITextMeasure {
 public:
  CSize UiText(const char* text, int nBytes) override {
    return GetTextExtent(diplayUIFont.m_fontSet, text, nBytes);
  }
  CSize BmpText(const char* text) override { return ChnBmpStrExtent(text, 0, 16, 16, 0); }
};

bool Parallel() { return cfgInputManager.PromptParallelSel != 0; }
bool MultiRow() { return cfgInputManager.PYSingleCharShowMultiRow != 0; }
bool ArrowsWanted() {
  return cfgInputManager.IsPinYinMethod() &&
         panes::ExtraColumnsInUse(extraMultiCandidatePanes, arrStrInputPane2) > 0 && MultiRow();
}

CRect WorkArea() {
  CRect work;
  GetWindowsWorkArea(&work);
  return work;
}

bool Exists(unsigned long window) { return window && IsAfcWin(window); }

void Hide(unsigned long window) {
  if (Exists(window)) ShowWin(0, window);
}

// Asks the focus window to repaint what rootRect (a pane's old place)
// covered.
void RepaintFocusUnder(CRect rootRect) {
  const unsigned long focus = MyGetFocus();
  if (!focus || rootRect.IsRectEmpty()) return;
  ScreenToWinRc(focus, &rootRect);
  InvalidateRect(focus, &rootRect, 1);
}

struct PaneSpec {
  unsigned long* window;
  long id;
  const char* text;
  CRect rect;
};

}  // namespace

// ---- Windows, caret and placement -----------------------------------------

int CreateInputPane(unsigned long parent) {
  SetCandidateBarStyle(gcfg.CandidateBarStyle);
  std::vector<PaneSpec> specs = {
      {&hwndInputPane1, kKeysPaneId, "Keys", CRect(100, 10, 116, 26)},
      {&hwndInputPane3, kArrowPaneId, "Arrow_Indicator", CRect(100, 10, 103, 13)}};
  static char choiceNames[kCandidatePanes][12];
  for (int i = 0; i < kCandidatePanes; ++i) {
    std::snprintf(choiceNames[i], sizeof choiceNames[i], "Choice%d", i);
    specs.push_back({&hwndInputPane2[i], i, choiceNames[i], CRect(100, 10, 103, 13)});
  }
  specs.push_back({&hwndInputPane4, kForecastPaneId, "ZiCi_Forecast", CRect(100, 10, 103, 13)});
  for (const PaneSpec& s : specs) {
    // Style 1: the panes take no keys or buttons.
    *s.window = CreateWin(1, 0, s.rect, parent, InputPaneProc, nullptr, s.id, nullptr);
    if (!*s.window) return 0;
    SetWinText(*s.window, s.text);
  }
  bShowPane1 = bShowPane2 = 0;
  const POINT tone2[] = {{3, 10}, {3, 13}, {12, 6}, {12, 3}, {3, 10}};
  const POINT tone3[] = {{3, 3}, {3, 6}, {7, 12}, {13, 6}, {13, 3}, {7, 9}, {3, 3}};
  const POINT tone4[] = {{3, 3}, {3, 6}, {12, 13}, {12, 10}, {3, 3}};
  const POINT insert[] = {{2, 1}, {5, 5}, {8, 1}, {2, 1}};
  hrgnShengDiao2 = panes::MakePolygonRegion(tone2, 5);
  hrgnShengDiao3 = panes::MakePolygonRegion(tone3, 7);
  hrgnShengDiao4 = panes::MakePolygonRegion(tone4, 5);
  hrgnInsertPt = panes::MakePolygonRegion(insert, 4);
  return 1;
}

void ExitInputPane() {
  for (Region* r : {&hrgnShengDiao2, &hrgnShengDiao3, &hrgnShengDiao4, &hrgnInsertPt}) {
    panes::DestroyRegion(*r);
    *r = nullptr;
  }
  std::vector<unsigned long*> all = {&hwndInputPane1, &hwndInputPane3, &hwndInputPane4};
  for (unsigned long& w : hwndInputPane2) all.push_back(&w);
  for (unsigned long* w : all) {
    if (*w) DestroyWin(*w);
    *w = 0;
  }
}

unsigned long MyGetFocus() { return gwinFocus; }

bool UsingFloatPane() {
  return panes::UsingFloatPane(cfgInputManager.useFloatPromptPane != 0, GetCaretPosFlag);
}

int MyGetCaretPos(unsigned long window, CPoint* pt) {
  panes::CaretInputs in;
  in.floatPane = cfgInputManager.useFloatPromptPane != 0;
  in.spotInside = thisIcReportLoc != 0;
  in.spot = gptCaretPos;
  in.ownCaret = window && GetCaretWin() == window;
  if (in.ownCaret) in.ownCaretPt = GetCaretPt(1);
  in.haveFocusRect = gwinFocus && GetWinRect(gwinFocus, &in.focusRect);
  if (CWinApp* app = uniqueAFCAppPointer) in.fontH = app->GetDefaultFontHeight();
  if (ghMainePane) GetWinRect(ghMainePane, &in.barRect);
  in.keysW = sizInputPane1.cx;
  in.lettersH = sizInputPane1Letters.cy;
  in.work = WorkArea();
  const panes::CaretResult r = panes::CaretPos(in);
  if (in.floatPane) GetCaretPosFlag = r.flag;
  if (pt) *pt = r.pt;
  return 1;
}

void CalcPanePos(CPoint* pt) {
  panes::KeysPosInputs in;
  in.caret = *pt;
  in.keysW = sizInputPane1.cx;
  in.keysH = sizInputPane1.cy;
  in.phraseExtra = dictionary.m_nZuCiMode ? xZuCiPrefixExtra + xZuCiPostfixExtra : 0;
  in.usingFloat = UsingFloatPane();
  in.multiRow = MultiRow();
  in.parallel = Parallel();
  in.work = WorkArea();
  const int wasJumped = pane1yJumped;
  const panes::KeysPos r = panes::KeysPanePos(in);
  *pt = r.pt;
  pane1yJumped = r.jumped ? 1 : 0;
  // The last parallel row draws its more-pages mark by the keys pane's side.
  if (Parallel() && wasJumped != pane1yJumped && Exists(hwndInputPane2[kCandidatePanes - 1]))
    InvalidateRect(hwndInputPane2[kCandidatePanes - 1], nullptr, 1);
}

void CalcPanePos2(CPoint* pt) {
  if (!Exists(hwndInputPane1)) return;
  panes::ChoicePosInputs in;
  in.caret = *pt;
  in.keysShown = bShowPane1 != 0;
  in.keysPos = posInputPane1;
  in.keysH = sizInputPane1.cy;
  in.keysJumped = pane1yJumped != 0;
  in.choiceW = sizInputPane2.cx;
  in.choiceH = sizInputPane2.cy;
  in.usingFloat = UsingFloatPane();
  in.parallel = Parallel();
  in.work = WorkArea();
  *pt = panes::ChoicePanePos(in);
}

void CalcPanePos4(CPoint* pt) {
  *pt = panes::ForecastPanePos(*pt, sizInputPane4.cx, sizInputPane4.cy, WorkArea());
}

namespace {

// Moves pane to the caret's place for it (calc) when that changed, keeping
// its size and leaving it shown; the focus window repaints the old place.
void FollowCaret(unsigned long pane, CPoint& lastPos, void (*calc)(CPoint*)) {
  const unsigned long focus = MyGetFocus();
  if (!focus) return;
  CPoint pt;
  MyGetCaretPos(focus, &pt);
  calc(&pt);
  if (pt == lastPos) return;
  CRect old;
  const bool hadRect = GetWinRect(pane, &old) != 0;
  lastPos = pt;
  SetWinPos(pane, pt.x, pt.y, 0, 0, kMoveKeepSize, kSwpRaise, 0);
  if (hadRect) RepaintFocusUnder(old);
}

}  // namespace

void ShowNMoveInputPanes(int hideAll) {
  CChnChars& e = dictionary;
  if (e.m_bModalBox || e.m_pBusyMarker || e.m_bReplayingKey) return;
  const bool building = e.m_nZuCiMode != 0;
  // The panes show what the engine holds; where they go follows the caret
  // rules, which put them above the bar when no caret is known.
  if (Exists(hwndInputPane1)) {
    const bool show = !hideAll && (!e.m_strKeySeq.IsEmpty() || building);
    bShowPane1 = show ? 1 : 0;
    if (!show) {
      Hide(hwndInputPane1);
    } else {
      if (!IsWinShown(hwndInputPane1)) ShowWin(1, hwndInputPane1);
      FollowCaret(hwndInputPane1, posInputPane1, CalcPanePos);
    }
  }
  if (Exists(hwndInputPane2[0])) {
    const bool show = !hideAll && (!strInputPane2.IsEmpty() || building);
    bShowPane2 = show ? 1 : 0;
    ShowWindow_hwndInputPane2(show ? 1 : 0);
    if (show && MyGetFocus()) {
      CPoint pt;
      MyGetCaretPos(MyGetFocus(), &pt);
      CalcPanePos2(&pt);
      if (!(pt == posInputPane2)) {
        CRect old;
        GetWindowRect_hwndInputPane2(&old);
        posInputPane2 = pt;
        SetWindowPos_hwndInputPane2(pt.x, pt.y, 0, 0, kMoveKeepSize);
        RepaintFocusUnder(old);
      }
    }
  }
  if (Exists(hwndInputPane4)) {
    const bool show = !hideAll && e.m_arrForecast.GetSize() > 0 && e.m_bForecastShown;
    if (!show) {
      Hide(hwndInputPane4);
    } else {
      if (!IsWinShown(hwndInputPane4)) ShowWin(1, hwndInputPane4);
      FollowCaret(hwndInputPane4, posInputPane4, CalcPanePos4);
    }
  }
}

void InvalidateRect_hwndInputPane2() {
  const int n = Parallel() ? kCandidatePanes : 1;
  for (int i = 0; i < n; ++i)
    if (Exists(hwndInputPane2[i])) InvalidateRect(hwndInputPane2[i], nullptr, 1);
}

int IsWindow_hwndInputPane2() {
  const int n = cfgInputManager.PromptParallelSel == 1 ? kCandidatePanes : 1;
  for (int i = 0; i < n; ++i)
    if (!Exists(hwndInputPane2[i])) return 0;
  return 1;
}

void ShowWindow_hwndInputPane2(int show) {
  const int count = !Parallel() ? 1
                    : show      ? std::min(arrStrInputPane2[0].GetSize(), kCandidatePanes)
                                : kCandidatePanes;
  for (int i = 0; i < count; ++i)
    if (Exists(hwndInputPane2[i])) ShowWin(show ? 1 : 0, hwndInputPane2[i]);
  if (!Exists(hwndInputPane3)) return;
  const bool arrows = !pane1yJumped && show && ArrowsWanted();
  ShowWin(arrows ? 1 : 0, hwndInputPane3);
}

void GetWindowRect_hwndInputPane2(CRect* rect) {
  *rect = CRect();
  if (!hwndInputPane2[0] || !GetWinRect(hwndInputPane2[0], rect)) return;
  if (cfgInputManager.PromptParallelSel != 1) return;
  for (int i = 1; i < kCandidatePanes && hwndInputPane2[i] && IsWinShown(hwndInputPane2[i]); ++i) {
    CRect row;
    if (GetWinRect(hwndInputPane2[i], &row)) UnionRect(rect, rect, &row);
  }
}

// ---- Contents and sizes ---------------------------------------------------

void SetKeyPane() {
  CChnChars& e = dictionary;
  if (!Exists(hwndInputPane1)) return;
  if (e.m_strKeySeq.IsEmpty() && !e.m_nZuCiMode) {
    Hide(hwndInputPane1);
    bShowPane1 = 0;
    return;
  }
  panes::KeysInputs in;
  in.keys = e.m_strKeySeq;
  in.insertPt = e.m_nInsertPt;
  in.pinyin = cfgInputManager.IsPinYinMethod();
  in.shuangPin = cfgInputManager.ShuangPin != 0;
  if (in.pinyin) {
    std::vector<char> keys(e.m_strKeySeq.GetString(),
                           e.m_strKeySeq.GetString() + e.m_strKeySeq.GetLength() + 1);
    std::vector<char> strokes(keys.size() + 1, 0);
    in.toneKey = e.GetPingZeMa(keys.data());
    in.strokes = e.GetCountOfBiHuaMa(keys.data(), &in.lettersLen, strokes.data());
  }
  if (e.m_nZuCiMode) {
    in.zuCi = true;
    e.GetZuCiUnusedKeys(in.zuCiUnused);
    e.GetZuCiMatchedZis(in.zuCiMatched);
  }
  UiMeasure measure;
  const panes::KeysLayout k = panes::LayOutKeysPane(in, measure);
  if (k.insertPt != in.insertPt) e.m_nInsertPt = static_cast<int16_t>(k.insertPt);
  strInputPane1 = k.text;
  byteShengDiao = k.tone;
  xKeySeqInsertPt = k.xInsertPt;
  xZuCiPrefixExtra = k.xPrefix;
  xZuCiPostfixExtra = k.xPostfix;
  sizInputPane1 = k.keys;
  sizInputPane1Letters = k.letters;

  bShowPane1 = 1;
  unsigned long flags = kMoveShown;
  CPoint pt;
  MyGetCaretPos(MyGetFocus(), &pt);
  bool moved = false;
  if (!e.m_bReplayingKey) {
    CPoint pos = pt;
    CalcPanePos(&pos);
    if (!(pos == posInputPane1)) {
      posInputPane1 = pos;
      flags &= ~kSwpKeepPos;
      moved = true;
    }
  }
  SetWinPos(hwndInputPane1, posInputPane1.x, posInputPane1.y, k.window.cx, k.window.cy, flags,
            kSwpRaise, 0);
  if (pt.x >= 0) InvalidateRect(hwndInputPane1, nullptr, 1);
  if (moved) ShowNMoveInputPanes(0);
}

namespace {

void StoreChoiceLayout(const panes::ChoiceLayout& L) {
  gChoiceLayout = L;
  for (int c = 0; c < kPaneColumnLimits; ++c) cxLimit4VerticalCadidatePane[c] = L.colLimit[c];
  for (int r = 0; r < kCandidatePanes; ++r) cxLimit4HorzCadidatePane[r] = L.rowLimit[r];
  for (int i = 0; i < kPaneColumns - 1; ++i) {
    arr2ndUpColumnWidthInputPane2[i].RemoveAll();
    for (int w : L.widths[i])
      arr2ndUpColumnWidthInputPane2[i].Add(static_cast<uint16_t>(std::clamp(w, 0, 0xFFFF)));
  }
  sizInputPane2 = L.size;
}

}  // namespace

void SetChoicePane(const char* text, int highlightLength, unsigned long colour) {
  if (!IsWindow_hwndInputPane2()) return;
  CChnChars& e = dictionary;
  clrChoicePane = colour;
  strInputPane2 = text ? text : "";
  highlightClrLen = std::clamp(highlightLength, 0, strInputPane2.GetLength());
  if (strInputPane2.IsEmpty() && !e.m_nZuCiMode) {
    ShowWindow_hwndInputPane2(0);
    bShowPane2 = 0;
    return;
  }
  bShowPane2 = 1;
  unsigned long flags = kMoveShown;
  panes::ChoiceInputs in;
  in.text = strInputPane2;
  in.columns = arrStrInputPane2;
  in.extra = extraMultiCandidatePanes;
  in.parallel = Parallel();
  in.multiRow = MultiRow();
  UiMeasure measure;
  StoreChoiceLayout(panes::LayOutChoicePane(in, measure));
  if (in.parallel) ShowWindow_hwndInputPane2(0);

  CPoint pt;
  MyGetCaretPos(MyGetFocus(), &pt);
  if (!e.m_bReplayingKey) {
    CalcPanePos2(&pt);
    if (!(pt == posInputPane2)) {
      posInputPane2 = pt;
      flags &= ~kSwpKeepPos;
    }
  }
  CRect old;
  GetWindowRect_hwndInputPane2(&old);
  RepaintFocusUnder(old);
  SetWindowPos_hwndInputPane2(posInputPane2.x, posInputPane2.y, sizInputPane2.cx, sizInputPane2.cy,
                              flags);
}

int SetWindowPos_hwndInputPane2(int x, int y, int width, int height, unsigned long flags) {
  // The arrows keep their own size; with the candidate width known they
  // also take their place from it.
  const unsigned long arrowFlags = width > 0 ? flags & ~(kSwpKeepPos | kSwpKeepSize) : flags;
  if (!Parallel()) {
    if (!Exists(hwndInputPane2[0])) return 0;
    SetWinPos(hwndInputPane2[0], x, y, width, height, flags, kSwpRaise, 0);
    InvalidateRect(hwndInputPane2[0], nullptr, 1);
    if (ArrowsWanted() && Exists(hwndInputPane3)) {
      // Re-placed with the size kept (width 0), the arrows still go beside
      // the pane, not over it.
      const int paneW = width > 0 ? width : GetWinSize(hwndInputPane2[0]).cx;
      SetWinPos(hwndInputPane3, x + paneW, y, kArrowsBesideW, kArrowsBesideH, arrowFlags, kSwpRaise,
                0);
      InvalidateRect(hwndInputPane3, nullptr, 1);
    } else {
      Hide(hwndInputPane3);
    }
    return 1;
  }
  const int pane0H = hwndInputPane2[0] ? GetWinSize(hwndInputPane2[0]).cy : 0;
  const bool upwards = cfgInputManager.PromptParallelSel == 1 && pane1yJumped;
  const std::vector<CRect> rows =
      panes::ParallelRowRects(gChoiceLayout, arrStrInputPane2, x, y, height, pane0H, upwards);
  if (rows.empty()) return 0;
  flags &= ~kSwpKeepPos;
  for (size_t r = 0; r < rows.size(); ++r) {
    const unsigned long pane = hwndInputPane2[r];
    if (!Exists(pane)) continue;
    SetWinPos(pane, rows[r].left, rows[r].top, rows[r].Width(), rows[r].Height(), flags, kSwpRaise,
              0);
    InvalidateRect(pane, nullptr, 1);
  }
  for (int r = static_cast<int>(rows.size()); r < kCandidatePanes; ++r) Hide(hwndInputPane2[r]);
  if (ArrowsWanted() && !pane1yJumped && Exists(hwndInputPane3)) {
    const int total = height > 0 ? height : rows.front().Height() * static_cast<int>(rows.size());
    SetWinPos(hwndInputPane3, x, y + total + 1, kArrowsUnderW, kArrowsUnderH,
              arrowFlags & ~kSwpKeepPos, kSwpRaise, 0);
    InvalidateRect(hwndInputPane3, nullptr, 1);
  } else {
    Hide(hwndInputPane3);
  }
  return 1;
}

int ShowZiCiForecastPane(int show) {
  if (show)
    SetChoicePane4();
  else
    Hide(hwndInputPane4);
  return 1;
}

void SetChoicePane4() {
  CChnChars& e = dictionary;
  const CStringArray& items = e.m_arrForecast;
  if (!cfgInputManager.useZiCiForecast || !Exists(hwndInputPane4) || items.GetSize() == 0 ||
      items[0].IsEmpty() || !e.m_bForecastShown) {
    Hide(hwndInputPane4);
    return;
  }
  unsigned long flags = kMoveShown;
  UiMeasure measure;
  sizInputPane4 = panes::ForecastPaneSize(items, measure);
  CPoint pt;
  MyGetCaretPos(MyGetFocus(), &pt);
  CalcPanePos4(&pt);
  if (!(pt == posInputPane4)) {
    posInputPane4 = pt;
    flags &= ~kSwpKeepPos;
  }
  CRect old;
  if (GetWinRect(hwndInputPane4, &old)) RepaintFocusUnder(old);
  SetWinPos(hwndInputPane4, posInputPane4.x, posInputPane4.y, sizInputPane4.cx, sizInputPane4.cy,
            flags, kSwpRaise, 0);
  InvalidateRect(hwndInputPane4, nullptr, 1);
}
