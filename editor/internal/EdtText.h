// EdtText.h: byte rules the document's operations share: what a lead and a
// trail byte are, where a TAB ends, how a byte run is read as characters,
// and how an oversized block is cut into pieces. Pure functions.
//
// Pairs are told by the GBK ranges only: edit-control text is GBK, and the
// Big5 ranges would split GBK characters whose trail byte is 0x80..0xA0.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "base/CString.h"
#include "base/ChnChar.h"
#include "base/Geometry.h"

namespace edttext {

inline bool IsLead(unsigned char b) { return IsChnChar(b, 1, 0) != 0; }
inline bool IsTrail(unsigned char b) { return IsChnChar(b, 0, 0) != 0; }

// Whether position a (x byte column, y row) comes before position b.
inline bool PosBefore(const CPoint& a, const CPoint& b) {
  return a.y < b.y || (a.y == b.y && a.x < b.x);
}

// The next tab stop strictly after cols. A tab width below 1 counts as 1,
// so a damaged setting cannot divide by zero.
inline int NextTabStop(int cols, int tabWidth) {
  if (tabWidth < 1) tabWidth = 1;
  return cols / tabWidth * tabWidth + tabWidth;
}

// The width in bytes of the character that starts at s[i] (n bytes in
// all): 2 for a lead byte followed by a trail byte, else 1.
inline int CharBytes(const char* s, size_t n, size_t i) {
  return i + 1 < n && IsLead(static_cast<unsigned char>(s[i])) &&
                 IsTrail(static_cast<unsigned char>(s[i + 1]))
             ? 2
             : 1;
}

// x moved forward to the next character boundary of s (read as characters
// from its start) when it falls inside a pair; clamped to [0, n].
int SnapToCharEnd(const char* s, size_t n, int x);

// Whether the two bytes before x in s (read from its start) are one pair.
bool PairBefore(const char* s, size_t n, int x);

// The piece lengths of an m-byte block cut evenly: k = ceil(m / 512)
// pieces of m / k bytes, the last one taking the rest.
std::vector<size_t> EvenPieces(size_t m);

// The bytes of s as a CString (NUL bytes included).
inline CString ToCString(const std::string& s) {
  CString out;
  out.AddChars(s.data(), 0, static_cast<int>(s.size()));
  return out;
}

}  // namespace edttext
