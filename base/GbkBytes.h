// GbkBytes.h: the GBK lead and trail byte ranges, the walk by characters
// that the double-byte-aware CString members share, and the walk by runs
// that the commit conversions share. A lead byte followed, inside the text,
// by a trail byte starts a two-byte character; every other byte is a
// one-byte character.
#pragma once

#include <cstddef>

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

// Walks NUL-ended text by runs: each stretch of ASCII (bytes below 0x80)
// and each stretch of double-byte characters goes to
// bool onRun(const char* run, size_t nBytes, bool doubleByte), in order; a
// double-byte run always has an even length. The walk stops with false when
// onRun returns false, or at a byte of 0x80 or above that is not a lead
// byte followed by a trail byte (the text is not GBK), after the runs before
// it were passed on. True when the whole text was walked.
template <class OnRun>
bool ForEachRun(const char* text, OnRun&& onRun) {
  const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
  while (*p) {
    const unsigned char* run = p;
    const bool doubleByte = *p >= 0x80;
    if (!doubleByte) {
      while (*p && *p < 0x80) ++p;
    } else {
      while (*p >= 0x80 && IsLead(p[0]) && IsTrail(p[1])) p += 2;
    }
    if (p != run &&
        !onRun(reinterpret_cast<const char*>(run), static_cast<size_t>(p - run), doubleByte))
      return false;
    if (*p >= 0x80 && !(IsLead(p[0]) && IsTrail(p[1]))) return false;
  }
  return true;
}

}  // namespace gbk
