#include "engine/lookup/EditDistance.h"

#include <bitset>
#include <climits>
#include <cstring>
#include <vector>

#include "engine/CChnChars.h"

// Filled once by InitAdjcntCharPairs at dictionary loading; read by every
// EditDistance call.
AMapWordToPtr mapAdjcntCharPairs;

namespace {

// The keyboard, rows aligned by column. Column 0 of rows 1 to 3 and the
// last key of row 3 are Tab, Caps Lock and the Shift keys, which the
// shape-code keys type as '!', '@', '#' and '$'.
constexpr const char* kRows[] = {"`1234567890-=", "!qwertyuiop[]", "@asdfghjkl;'", "#zxcvbnm,./$"};
constexpr int kRowCount = 4;

constexpr int kMatchCost = 0;
constexpr int kAdjacentCost = 1;
constexpr int kEditCost = 3;  // other substitution, insertion, deletion, swap
// A string this long against one more than five times shorter is answered
// without the matrix.
constexpr int kShortcutLength = 16;
constexpr int kShortcutRatio = 5;

uint16_t PairKey(char a, char b) {
  return static_cast<uint16_t>(static_cast<uint8_t>(b) * 256 + static_cast<uint8_t>(a));
}

// The same set as a flat table of the 65,536 pair keys: the edit distance
// asks for adjacency in its innermost loop, many thousand times a key.
std::bitset<65536>& AdjacentBits() {
  static std::bitset<65536> bits;
  return bits;
}

void AddPair(char a, char b) {
  mapAdjcntCharPairs.SetAt(PairKey(a, b), nullptr);
  mapAdjcntCharPairs.SetAt(PairKey(b, a), nullptr);
  AdjacentBits().set(PairKey(a, b));
  AdjacentBits().set(PairKey(b, a));
}

// The distance matrix of the current call, (m + 1) x (n + 1) cells used,
// grown to the largest call so far: no call allocates once it has the room.
std::vector<int>& Matrix() {
  static std::vector<int> cells;
  return cells;
}

}  // namespace

void InitAdjcntCharPairs() {
  for (int r = 0; r < kRowCount; ++r) {
    const int len = static_cast<int>(strlen(kRows[r]));
    for (int k = 0; k < len; ++k) {
      if (k + 1 < len) AddPair(kRows[r][k], kRows[r][k + 1]);
      if (r + 1 >= kRowCount) continue;
      const char* below = kRows[r + 1];
      const int belowLen = static_cast<int>(strlen(below));
      if (k > 0 && k - 1 < belowLen) AddPair(kRows[r][k], below[k - 1]);
      if (k < belowLen) AddPair(kRows[r][k], below[k]);
    }
  }
}

void CChnChars::InitAdjcntCharPairs() { ::InitAdjcntCharPairs(); }

char adjacent(char a, char b) { return AdjacentBits().test(PairKey(a, b)) ? 1 : 0; }

int distBetween2Chars(char a, char b) {
  if (a == b) return kMatchCost;
  return adjacent(a, b) ? kAdjacentCost : kEditCost;
}

int EditDistance(const char* s1, const char* s2) { return EditDistanceBelow(s1, s2, INT_MAX); }

int EditDistanceBelow(const char* s1, const char* s2, int limit) {
  if (!s1) s1 = "";
  if (!s2) s2 = "";
  const int m = static_cast<int>(strlen(s1));
  const int n = static_cast<int>(strlen(s2));
  if (m > kShortcutLength && kShortcutRatio * n < m) return (m - n + n / 2) * kEditCost;
  if (n > kShortcutLength && kShortcutRatio * m < n) return (n - m + m / 2) * kEditCost;
  if (m == 0 && n == 0) return 0;

  std::vector<int>& cells = Matrix();
  const size_t width = static_cast<size_t>(n) + 1;
  const size_t need = (static_cast<size_t>(m) + 1) * width;
  if (cells.size() < need) cells.resize(need);
  auto D = [&](int i, int j) -> int& { return cells[static_cast<size_t>(i) * width + j]; };

  for (int i = 0; i <= m; ++i) D(i, 0) = kEditCost * i;
  for (int j = 1; j <= n; ++j) D(0, j) = kEditCost * j;
  // Every cell of row i comes from rows i - 1 and i - 2 plus a cost, so
  // the least cell of two rows in a row never falls further down; once it
  // reaches limit, so has the distance.
  int prevRowMin = 0;
  for (int i = 1; i <= m; ++i) {
    int rowMin = D(i, 0);
    for (int j = 1; j <= n; ++j) {
      int best = D(i - 1, j) + kEditCost;
      if (D(i, j - 1) + kEditCost < best) best = D(i, j - 1) + kEditCost;
      const int sub = D(i - 1, j - 1) + distBetween2Chars(s1[i - 1], s2[j - 1]);
      if (sub < best) best = sub;
      if (i >= 2 && j >= 2 && s1[i - 1] == s2[j - 2] && s1[i - 2] == s2[j - 1] &&
          D(i - 2, j - 2) + kEditCost < best)
        best = D(i - 2, j - 2) + kEditCost;
      D(i, j) = best;
      if (best < rowMin) rowMin = best;
    }
    if (rowMin >= limit && prevRowMin >= limit && i < m) return limit;
    prevRowMin = rowMin;
  }
  return D(m, n);
}
