// CharReadings.h: the pinyin readings of one character from the engine's
// tone dictionaries (ch2pypz1.bin first, then ch2pypz2.bin), for the
// stroke, tone and initial-letter tests.
#pragma once

#include "engine/CChnChars.h"

namespace chnreadings {

// The 16-bit map key (lead byte low) of the two GBK bytes at ch.
inline unsigned short MemoryOrder(const char* ch) {
  return static_cast<unsigned short>(static_cast<uint8_t>(ch[0]) |
                                     (static_cast<uint8_t>(ch[1]) << 8));
}

// The readings of the character at ch into out; false when neither
// dictionary has it.
inline bool Of(CChnChars& e, const char* ch, CStringArray& out) {
  const unsigned short v = MemoryOrder(ch);
  typArrPYs a;
  if (e.m_mapCh2PYs.Lookup(v, a)) {
    out.Copy(a.readings);
    return true;
  }
  typArrPYsDiaoInOrder b;
  if (e.m_mapCh2PYsDiaoInOrder.Lookup(v, b)) {
    out.Copy(b.readings);
    return true;
  }
  return false;
}

}  // namespace chnreadings
