// CandidateSeen.h: the candidates a lookup has already gathered, by their
// duplicate key (GetFatChnCharHexStr), so that a candidate met again in a
// later row or segment is left out. The key is kept as a number: a
// character's key is its own one or two bytes, any other record's is its
// three data bytes, so two records have equal numbers exactly when their
// duplicate keys are equal strings. An open-addressing set of those
// numbers; it owns its storage and is not shared between lookups.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/typCharFatFmt.h"

class CandidateSeen {
 public:
  CandidateSeen() : m_slots(kFirstSlots, 0) {}

  // The key of the character lead/trail (trail 0: one byte).
  static uint32_t CharKey(uint8_t lead, uint8_t trail) {
    // The key text stops at the first zero byte.
    return kCharClass | static_cast<uint32_t>(lead) << 8 | (lead ? trail : 0u);
  }
  // The key of an index entry by its three stored bytes.
  static uint32_t EntryKey(const uint8_t* entry) {
    return kEntryClass | static_cast<uint32_t>(entry[0]) << 16 |
           static_cast<uint32_t>(entry[1]) << 8 | entry[2];
  }
  static uint32_t KeyOf(const typCharFatFmt& rec) {
    return rec.kind == kFatChar ? CharKey(rec.data[0], rec.data[1]) : EntryKey(rec.data);
  }

  bool Contains(uint32_t key) const { return m_slots[Find(key)] == key; }
  // Adds key; false when it was there already.
  bool Insert(uint32_t key) {
    size_t at = Find(key);
    if (m_slots[at] == key) return false;
    if (2 * (m_count + 1) > m_slots.size()) {
      Grow();
      at = Find(key);
    }
    m_slots[at] = key;
    ++m_count;
    return true;
  }

 private:
  static constexpr uint32_t kCharClass = 1u << 24;
  static constexpr uint32_t kEntryClass = 2u << 24;  // no key is 0: 0 is a free slot
  static constexpr size_t kFirstSlots = 256;         // a power of two

  // The slot holding key, or the free slot where it would go.
  size_t Find(uint32_t key) const {
    const size_t mask = m_slots.size() - 1;
    size_t i = (key * 0x9E3779B1u) >> 8 & mask;
    while (m_slots[i] != 0 && m_slots[i] != key) i = (i + 1) & mask;
    return i;
  }
  void Grow() {
    std::vector<uint32_t> old(m_slots.size() * 2, 0);
    old.swap(m_slots);
    for (uint32_t k : old)
      if (k != 0) m_slots[Find(k)] = k;
  }

  std::vector<uint32_t> m_slots;
  size_t m_count = 0;
};
