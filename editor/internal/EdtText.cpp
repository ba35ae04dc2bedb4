#include "editor/internal/EdtText.h"

namespace edttext {

int SnapToCharEnd(const char* s, size_t n, int x) {
  if (x <= 0) return 0;
  if (static_cast<size_t>(x) >= n) return static_cast<int>(n);
  size_t i = 0;
  while (i < static_cast<size_t>(x)) i += CharBytes(s, n, i);
  return static_cast<int>(i);
}

bool PairBefore(const char* s, size_t n, int x) {
  if (x < 2 || static_cast<size_t>(x) > n) return false;
  size_t i = 0;
  for (;;) {
    const int w = CharBytes(s, n, i);
    if (i + w >= static_cast<size_t>(x)) return w == 2 && i + w == static_cast<size_t>(x);
    i += w;
  }
}

std::vector<size_t> EvenPieces(size_t m) {
  constexpr size_t kPiece = 512;
  std::vector<size_t> out;
  if (m == 0) return out;
  const size_t k = (m + kPiece - 1) / kPiece;
  const size_t p = m / k;
  for (size_t i = 0; i + 1 < k; ++i) out.push_back(p);
  out.push_back(m - p * (k - 1));
  return out;
}

}  // namespace edttext
