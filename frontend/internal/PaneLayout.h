// PaneLayout.h: what the input panes hold and how large they are, as pure
// functions of the engine's state and a text measure. InputPanes.cpp feeds
// them from the engine and the pane globals and sizes the windows with the
// results; the tests feed them a fixed-width measure.
//
// Limits the engine's data may exceed are clamped here, once: at most
// kMaxPaneRows candidate rows (there are that many candidate pane windows),
// at most kMaxExtraColumns extra columns.
#pragma once

#include <array>
#include <vector>

#include "base/CString.h"
#include "base/CStringArray.h"
#include "base/Geometry.h"

namespace panes {

constexpr int kMaxPaneRows = 10;      // candidate pane windows
constexpr int kMaxExtraColumns = 2;   // columns 2 and 3 of the candidate columns
constexpr int kCandidateColumns = 4;  // arrStrInputPane2
constexpr int kColumnLimits = 5;      // cxLimit4VerticalCadidatePane
constexpr int kMinPaneH = 22;         // a candidate pane is at least this high
constexpr int kStrokeCellW = 7;       // room of one stroke symbol in the keys pane

// The text extents the sizes are made of.
class ITextMeasure {
 public:
  virtual ~ITextMeasure() = default;
  // The first nBytes of text in the UI font (GetTextExtent with
  // diplayUIFont); (0, 0) for nothing.
  virtual CSize UiText(const char* text, int nBytes) = 0;
  // text as bitmap-font text of 16 by 16 cells (ChnBmpStrExtent).
  virtual CSize BmpText(const char* text) = 0;
};

// The extra columns (2 and 3) the panes show: extra clamped to 0..2 and
// cut before the first empty one, so a count the engine left from an
// earlier display adds no empty lines. columns may be null (then 0).
int ExtraColumnsInUse(int extra, const CStringArray* columns);

// The tone digit of the engine's tone key ('1' to '5', the character
// GetPingZeMa returns) as 1 to 5; 0 for anything else.
int ToneDigit(char toneKey);

struct KeysInputs {
  CString keys;         // m_strKeySeq
  int insertPt = 0;     // m_nInsertPt
  bool pinyin = false;  // InputMthd
  bool shuangPin = false;
  char toneKey = 0;     // GetPingZeMa of the keys
  int lettersLen = 0;   // GetCountOfBiHuaMa: the length before the strokes
  int strokes = 0;      //   and the number of trailing stroke keys
  bool zuCi = false;    // phrase building on
  CString zuCiMatched;  // the characters chosen so far
  CString zuCiUnused;   // the keys not yet used
};

struct KeysLayout {
  CString text;        // strInputPane1
  int tone = 0;        // byteShengDiao
  int lettersLen = 0;  // bytes of text drawn as letters
  int strokes = 0;
  CSize letters;      // sizInputPane1Letters
  CSize keys;         // sizInputPane1
  int xInsertPt = 0;  // xKeySeqInsertPt
  int xPrefix = 0;    // xZuCiPrefixExtra
  int xPostfix = 0;   // xZuCiPostfixExtra
  int insertPt = 0;   // the insert point, cut to the text when strokes follow
  CSize window;       // the keys pane window's size
};

// SetKeyPane's content and size. An empty key string with phrase building
// off is the caller's business (the pane is hidden).
KeysLayout LayOutKeysPane(const KeysInputs& in, ITextMeasure& measure);

struct ChoiceInputs {
  CString text;                           // strInputPane2
  const CStringArray* columns = nullptr;  // kCandidateColumns columns
  int extra = 0;                          // extraMultiCandidatePanes
  bool parallel = false;                  // PromptParallelSel
  bool multiRow = false;                  // PYSingleCharShowMultiRow
};

struct ChoiceLayout {
  int rows = 0;                               // clamped to kMaxPaneRows
  int extra = 0;                              // clamped to 0..kMaxExtraColumns
  std::array<int, kColumnLimits> colLimit{};  // cxLimit4VerticalCadidatePane
  std::array<int, kMaxPaneRows> rowLimit{};   // cxLimit4HorzCadidatePane
  std::array<std::vector<int>, 3> widths;     // arr2ndUpColumnWidthInputPane2
  CSize size;                                 // sizInputPane2
};

// SetChoicePane's sizes: one line, the multi-row layout or the parallel
// layout. columns must not be null.
ChoiceLayout LayOutChoicePane(const ChoiceInputs& in, ITextMeasure& measure);

// SetWindowPos_hwndInputPane2 in the parallel layout: the rectangle of each
// row's pane (root coordinates), rows stacked down from y, or up from
// y + (rows - 1) x rowH when upwards. rowH is height / rows, or pane0H when
// height is below 1. Empty when there are no rows or width list 0 is
// shorter than the rows.
std::vector<CRect> ParallelRowRects(const ChoiceLayout& layout, const CStringArray* columns, int x,
                                    int y, int height, int pane0H, bool upwards);

// ShowZiCiForecastPane's size for the forecast words (at least one).
CSize ForecastPaneSize(const CStringArray& items, ITextMeasure& measure);

}  // namespace panes
