// KeyRoad.h: what the steps of one key's road through TranslateChnKey share:
// the key (a step may turn it into another key, as the pinyin digits become
// selection keys), where text goes, and the facts noted at the start. The
// steps themselves live in KeyTranslation.cpp and its neighbours; each
// returns 0 or 1 (TranslateChnKey's result) or kGoOnWithKey.
#pragma once

#include "engine/CChnChars.h"

struct typKeyRoad {
  unsigned long key;
  unsigned long window;
  bool nav;         // a navigation key (Home..End, or '/' as Next)
  char c;           // the key's character, letters lowered
  int hasWildcard;  // the key string holds '?' (the selection tips read it)
  int pageKey;      // the key turned the page: lay out without a lookup
};

namespace keyroad {

// Facts about the engine's state that many steps test.
inline bool KeysTyped(const CChnChars& e) { return !e.m_strKeySeq.IsEmpty(); }
// The right Alt: the Alt flag with the left Alt not recorded.
inline bool RightAlt(const CChnChars& e) { return e.m_bAlt && !e.m_bLeftAlt; }
inline bool LeftAlt(const CChnChars& e) { return e.m_bAlt && e.m_bLeftAlt; }
// A V-mode key string: pinyin with StdPinYin on, first key 'v' ('V' with
// ShuangPin).
bool IsVModeKeySeq(const CChnChars& e);
inline bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// Shape-code input: some code of the character index uses the key
// character c. A printable key that no code uses (digits and punctuation
// with a letters-only shape code) is output directly on no keys, and a digit
// then selects as in pinyin input, instead of entering a key string that
// can match nothing.
bool ShapeCodeUsesKey(const CChnChars& e, char c);
bool ShapeCodeForeignKey(const CChnChars& e, char c);

// The pinyin key filter: a key whose character is not a letter while keys
// are typed or phrase building is on.
int PinyinKeyFilter(CChnChars& e, typKeyRoad& road);

}  // namespace keyroad
