#include "engine/dics/CharUsageRanks.h"

#include <cstddef>

namespace {
constexpr size_t kChars = 0x10000;
}

void CharUsageRanks::Reset() {
  m_rank.assign(kChars, kNone);
  m_nRanked = 0;
}

void CharUsageRanks::RemoveAll() {
  std::vector<int32_t>().swap(m_rank);
  m_nRanked = 0;
}

void CharUsageRanks::SetAt(uint16_t ch, int32_t rank) {
  if (m_rank.empty()) Reset();
  m_nRanked += (rank != kNone) - (m_rank[ch] != kNone);
  m_rank[ch] = rank;
}

int CharUsageRanks::Lookup(uint16_t ch, int32_t& rank) const {
  const int32_t r = RankOf(ch);
  if (r == kNone) return 0;
  rank = r;
  return 1;
}
