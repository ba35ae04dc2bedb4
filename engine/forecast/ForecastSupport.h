// ForecastSupport.h: what the forecast matcher, results and firing share:
// the run-time bounds of one match, capture-slot helpers, the memory of the
// last fired rule and the history's character reads.
#pragma once

#include <cstring>

#include "engine/CChnChars.h"

namespace forecast {

// Nesting of matcher calls one match may reach, and the calls it may make
// in all. A consistent rule base stays far below both (the history has at
// most 20 characters); they stop a hostile one that got past the loader.
constexpr int kMaxDepth = 200;
constexpr long kMaxSteps = 200000;

// Counts one call of a recursive matcher function for as long as it lives.
class DepthGuard {
 public:
  explicit DepthGuard(CChnChars& e) : m_e(e) {
    if (m_e.m_nFccDepth == 0) m_e.m_nFccSteps = kMaxSteps;  // a new match
    ++m_e.m_nFccDepth;
    m_ok = m_e.m_nFccDepth <= kMaxDepth && m_e.m_nFccSteps-- > 0;
  }
  ~DepthGuard() { --m_e.m_nFccDepth; }
  DepthGuard(const DepthGuard&) = delete;
  DepthGuard& operator=(const DepthGuard&) = delete;
  bool Ok() const { return m_ok; }

 private:
  CChnChars& m_e;
  bool m_ok;
};

// The history character at p, lead byte low.
inline unsigned short CharAt(const char* text, int p) {
  return static_cast<unsigned short>(static_cast<uint8_t>(text[p]) |
                                     static_cast<uint8_t>(text[p + 1]) << 8);
}

struct Snapshot {
  typPriorIdInfo slots[kPriorIdSlots];
};
inline Snapshot Take(const CChnChars& e) {
  Snapshot s;
  std::memcpy(s.slots, e.m_priorIds, sizeof s.slots);
  return s;
}
inline void Restore(CChnChars& e, const Snapshot& s) {
  std::memcpy(e.m_priorIds, s.slots, sizeof s.slots);
}

// Writes letter's slot (a letter without slot: nothing). text of n bytes,
// cut to what the slot holds.
void Bind(CChnChars& e, char letter, uint8_t kind, const char* text, int n, uint16_t index,
          uint8_t kind2 = 0);
// The binding's text has exactly the n bytes at p.
bool SpanEquals(const typPriorIdInfo& binding, const char* p, int n);

// The memory of the last firing (ForecastFiring.cpp): group (-1 none),
// rule, matched sentence or reversed flag, and the continuation's request
// to keep the memory although nothing fired.
extern int lastIdxDB;
extern int lastIdxRule;
extern int lastSubRule;
extern int keepLastRuleMem;

}  // namespace forecast
