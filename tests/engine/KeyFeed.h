// KeyFeed.h: key messages handed to the engine as the main bar hands them
// over: the key record (modifier flags and the key's text) is filled first,
// then ProcessKeyMsg is called. Free of GoogleTest, so that bench/ uses it
// too.
#pragma once

#include <cctype>
#include <cstdio>
#include <cstring>

#include "engine/CChnChars.h"
#include "framework/KeySyms.h"

namespace keyfeed {

enum Mods { kNone = 0, kShift = 1, kCtrl = 2, kLeftAlt = 4, kRightAlt = 8 };

// The key record of key with mods; text null gives a printable key its own
// character (lower case without Shift).
inline void Record(unsigned long key, const char* text, int mods) {
  dictionary.m_bShift = (mods & kShift) != 0;
  dictionary.m_bCtrl = (mods & kCtrl) != 0;
  dictionary.m_bAlt = (mods & (kLeftAlt | kRightAlt)) != 0;
  if (mods & kLeftAlt) dictionary.m_bLeftAlt = 1;
  if (mods & kRightAlt) dictionary.m_bLeftAlt = 0;
  char t[2] = {0, 0};
  if (!text && key < 0x80) {
    t[0] = static_cast<char>(isalpha(static_cast<int>(key)) && !(mods & kShift)
                                 ? tolower(static_cast<int>(key))
                                 : static_cast<int>(key));
    text = t;
  }
  snprintf(dictionary.m_szKeyText, sizeof dictionary.m_szKeyText, "%s", text ? text : "");
}

// A press (type 2 with Alt, else 3); the engine's result.
inline int Press(unsigned long key, int mods = kNone, const char* text = nullptr,
                 unsigned long flags = 0) {
  Record(key, text, mods);
  return dictionary.ProcessKeyMsg(dictionary.m_bAlt ? 2 : 3, key, flags);
}

inline int Release(unsigned long key, int mods = kNone) {
  Record(key, "", mods);
  return dictionary.ProcessKeyMsg(4, key, 0);
}

// The right Alt clicked alone: its press (type 2) and release (type 1).
inline int RightAltClick() {
  Press(keysym::kAltR, kRightAlt, "");
  Record(keysym::kAltR, "", kNone);
  return dictionary.ProcessKeyMsg(1, keysym::kAltR, 0);
}

// Presses the key of every character of keys (letters as their capital
// keysyms).
inline void Type(const char* keys) {
  for (const char* p = keys; *p; ++p) {
    const unsigned char c = static_cast<unsigned char>(*p);
    Press(isalpha(c) ? toupper(c) : c);
  }
}

}  // namespace keyfeed
