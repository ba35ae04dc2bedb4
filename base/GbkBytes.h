// GbkBytes.h: the GBK lead and trail byte ranges, and the walk by characters
// that the double-byte-aware CString members share. A lead byte followed,
// inside the text, by a trail byte starts a two-byte character; every other
// byte is a one-byte character.
#pragma once

namespace gbk {

inline bool IsLead(unsigned char c) { return c >= 0x81 && c <= 0xFE; }
inline bool IsTrail(unsigned char c) { return c >= 0x40 && c <= 0xFE && c != 0x7F; }

// Bytes of the character that starts at index i of a text of len bytes.
inline int CharBytes(const char* text, int len, int i) {
  return i + 1 < len && IsLead(static_cast<unsigned char>(text[i])) &&
                 IsTrail(static_cast<unsigned char>(text[i + 1]))
             ? 2
             : 1;
}

// Whether a cut at byte p (0 < p < len) falls between a lead byte and its
// trail byte, walking by characters from index 0.
inline bool CutInsideChar(const char* text, int len, int p) {
  if (p <= 0 || p >= len) return false;
  int i = 0;
  while (i < p) i += CharBytes(text, len, i);
  return i != p;
}

}  // namespace gbk
