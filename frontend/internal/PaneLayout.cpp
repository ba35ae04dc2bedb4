#include "frontend/internal/PaneLayout.h"

#include <algorithm>

namespace panes {

namespace {

// A keys pane line is this much taller than its text, and at least this high.
constexpr int kMinKeysTextH = 18;
// Margins of a measured candidate item.
constexpr int kItemPadW = 16, kItemPadH = 6;

CSize Item(ITextMeasure& m, const char* text) {
  const CSize s = m.BmpText(text);
  return CSize(s.cx + kItemPadW, s.cy + kItemPadH);
}

}  // namespace

int ExtraColumnsInUse(int extra, const CStringArray* columns) {
  if (!columns) return 0;
  const int n = std::clamp(extra, 0, kMaxExtraColumns);
  int used = 0;
  while (used < n && columns[2 + used].GetSize() > 0) ++used;
  return used;
}

int ToneDigit(char toneKey) { return toneKey >= '1' && toneKey <= '5' ? toneKey - '0' : 0; }

KeysLayout LayOutKeysPane(const KeysInputs& in, ITextMeasure& measure) {
  KeysLayout k;
  k.text = in.keys;
  if (in.pinyin && in.shuangPin) k.text.Replace('?', '_');
  if (!in.pinyin) k.text.MakeUpper();
  const int len = k.text.GetLength();
  if (in.pinyin && len > 1) k.tone = ToneDigit(in.toneKey);
  k.lettersLen = len;
  if (in.pinyin) {
    k.strokes = std::clamp(in.strokes, 0, len);
    k.lettersLen = std::clamp(in.lettersLen, 0, len);
  }
  k.insertPt = in.insertPt;

  // Letters' extent; the height of "A" when there are none.
  k.letters =
      k.lettersLen > 0 ? measure.UiText(k.text, k.lettersLen) : CSize(0, measure.UiText("A", 1).cy);
  const int textH = std::max(k.letters.cy * 4 / 3, kMinKeysTextH);
  const int n = std::clamp(k.insertPt, 0, k.lettersLen);
  k.xInsertPt = (n > 0 ? measure.UiText(k.text, n).cx : 0) - 2;
  k.keys = CSize(k.letters.cx + 4, textH + 6);

  if (in.pinyin) {
    const bool pastLetters = k.insertPt > k.lettersLen;
    if (k.tone) {
      const int before = k.keys.cx;
      k.keys.cx += k.keys.cy + 2;
      if (pastLetters) k.xInsertPt = before + k.keys.cy + 1;
    }
    if (k.strokes) {
      k.keys.cx += kStrokeCellW * k.strokes + 3;
      if (pastLetters) {
        k.insertPt = std::min(k.insertPt, len);
        k.xInsertPt += kStrokeCellW * (k.insertPt - k.lettersLen) + (k.tone ? -4 : 3);
      }
    }
  }
  if (in.zuCi) {
    k.xPostfix = in.zuCiUnused.IsEmpty()
                     ? 0
                     : measure.UiText(in.zuCiUnused, in.zuCiUnused.GetLength()).cx + 8;
    k.xPrefix = in.zuCiMatched.IsEmpty() ? 0 : measure.BmpText(in.zuCiMatched).cx + 2;
    k.xInsertPt += k.xPrefix;
  }
  const int phrase = in.zuCi ? k.xPrefix + k.xPostfix : 0;
  k.window = CSize(k.keys.cx + phrase + 8, std::max<int>(k.keys.cy, kMinKeysTextH));
  return k;
}

ChoiceLayout LayOutChoicePane(const ChoiceInputs& in, ITextMeasure& measure) {
  ChoiceLayout L;
  const CStringArray* col = in.columns;
  L.extra = ExtraColumnsInUse(in.extra, col);
  L.rows = (!in.parallel && !in.multiRow) ? 1 : std::min(col[0].GetSize(), kMaxPaneRows);
  int maxH = kMinPaneH;
  int lastH = 0;
  CSize size;
  for (int r = 0; r < L.rows; ++r) {
    if (!in.parallel) {
      size = Item(measure, in.text);
      lastH = size.cy;
    }
    if (!in.parallel && !in.multiRow) continue;
    for (int c = 0; c < L.extra + 2 && r < col[c].GetSize(); ++c) {
      const CSize s = Item(measure, col[c][r]);
      lastH = s.cy;
      maxH = std::max<int>(maxH, s.cy);
      if (c > 0) L.widths[c - 1].push_back(s.cx);
      L.colLimit[c] = std::max<int>(L.colLimit[c], s.cx);
      L.rowLimit[r] = std::max<int>(L.rowLimit[r], s.cx);
    }
  }
  if (!in.parallel && L.extra > 0 && in.multiRow) {
    int w = L.rowLimit[0] + 2 + (L.rows - 1) * (L.rowLimit[0] / 2);
    for (int r = 0; r < kMaxPaneRows && L.rowLimit[r] > 0; ++r) w += L.rowLimit[r] + 4;
    size = CSize(w, (L.extra + 1) * (lastH + 5) + 4);
  }
  if (in.parallel) {
    int w = lastH / 2 + L.colLimit[0] + L.colLimit[1];
    for (int c = 2; c <= L.extra + 1; ++c) w += L.colLimit[c] + 4;
    size = CSize(w, (maxH + 5) * L.rows);
  }
  if (L.rows > 0 && size.cy < kMinPaneH) size.cy = kMinPaneH;
  L.size = size;
  return L;
}

std::vector<CRect> ParallelRowRects(const ChoiceLayout& L, const CStringArray* col, int x, int y,
                                    int height, int pane0H, bool upwards) {
  std::vector<CRect> out;
  const int rows = std::min(col[0].GetSize(), kMaxPaneRows);
  if (rows <= 0 || static_cast<int>(L.widths[0].size()) < rows) return out;
  const int rowH = height < 1 ? pane0H : height / rows;
  const int extra = ExtraColumnsInUse(L.extra, col);
  for (int r = 0; r < rows; ++r) {
    int w = L.colLimit[0] + (extra > 0 ? L.colLimit[1] : L.widths[0][r]);
    for (int c = 2; c <= extra + 1; ++c) {
      const int n = col[c].GetSize();
      if (r >= n) continue;
      const bool last = r == n - 1;
      const int own =
          r < static_cast<int>(L.widths[c - 1].size()) ? L.widths[c - 1][r] : L.colLimit[c];
      w += (last ? own : L.colLimit[c]) + 4;
    }
    w += rowH / 2;
    const int top = upwards ? y + (rows - 1 - r) * rowH : y + r * rowH;
    out.emplace_back(x, top, x + w, top + rowH);
  }
  return out;
}

CSize ForecastPaneSize(const CStringArray& items, ITextMeasure& measure) {
  if (items.GetSize() == 0) return CSize(0, 0);
  const CSize first = measure.BmpText(items[0]);
  int w = 16;
  for (int i = 0; i < items.GetSize(); ++i)
    w += std::min<int>(measure.BmpText(items[i]).cx, first.cx) + 10;
  return CSize(w, std::max<int>(first.cy, kMinPaneH) + 4);
}

}  // namespace panes
