// ChoiceHelpers.h: small helpers shared by the candidate display, the key
// editing and the selection.
#pragma once

#include <algorithm>

#include "engine/CChnChars.h"

namespace choicehelp {

// The page size the display and the selection page by: a profile may hold
// anything, and a size of 0 would divide by zero, one above the pane's ten
// rows would run past its labels.
inline int PageSizeOf(int n) { return std::clamp(n, 1, static_cast<int>(kMaxCandidatesShown)); }

// The key string cut before its first tone key, then before its first
// stroke key: the pinyin letters (with apostrophes and wildcards).
inline CString LettersOf(const CString& keys) {
  CString s = keys;
  s.SpanExcluding(gszPingZeMa);
  s.SpanExcluding(gszBiHuaMa);
  return s;
}

// The position in keys right after its n-th key that is not an
// apostrophe, and after the apostrophes that follow it, so that the next
// segment starts with a letter. Candidates count the letters they used;
// the typed keys hold apostrophes as well.
inline int KeyPosAfterLetters(const CString& keys, int n) {
  const int length = keys.GetLength();
  int pos = 0;
  for (int seen = 0; pos < length && seen < n; ++pos)
    if (keys[pos] != '\'') ++seen;
  while (pos < length && keys[pos] == '\'') ++pos;
  return pos;
}

}  // namespace choicehelp
