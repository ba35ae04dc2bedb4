// CharUsageRanks.h: the usage rank of every character (sort.dic), by
// character value (lead byte low) in one dense table, so that loading is
// one pass and the candidate sort a single index. Empty until the ranks
// are loaded; a character without a rank holds kNone.
#pragma once

#include <climits>
#include <cstdint>
#include <vector>

class CharUsageRanks {
 public:
  static constexpr int32_t kNone = INT32_MIN;

  // Loaded: the table exists, though it may hold no rank.
  bool Loaded() const { return !m_rank.empty(); }
  // Makes the table, every character without a rank.
  void Reset();
  // Drops the table (not loaded).
  void RemoveAll();
  // Gives ch the rank; loads an empty table first. A rank of kNone is none.
  void SetAt(uint16_t ch, int32_t rank);
  void RemoveKey(uint16_t ch) { SetAt(ch, kNone); }
  // ch's rank, kNone when it has none or nothing is loaded.
  int32_t RankOf(uint16_t ch) const { return m_rank.empty() ? kNone : m_rank[ch]; }
  // Present: rank = ch's rank, returns 1. Else returns 0, rank untouched.
  int Lookup(uint16_t ch, int32_t& rank) const;
  // Characters with a rank.
  int GetCount() const { return m_nRanked; }

 private:
  std::vector<int32_t> m_rank;  // 0x10000 ranks, or empty
  int m_nRanked = 0;
};
