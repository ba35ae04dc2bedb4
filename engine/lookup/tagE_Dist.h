// tagE_Dist.h: one ranked prefix row of a lookup. A row is an index record
// whose key shares a beginning with the typed keys, ranked by how far the
// rest of its key lies from the rest of the typed keys. The engine keeps up
// to 64 rows per candidate set and 64 merged rows (CChnChars::m_rows); the
// row's key and candidates live in CChnChars::m_strRowKey and
// m_arrRowCands, addressed by (nSet, nList, nSlot). A plain value record.
#pragma once

#include <cstdint>

// Rows per set, per list and merged.
constexpr int kMaxRows = 64;
// m_rows[kRowsMerged] holds the merge of the character set (0) and the
// phrase set (1).
enum : int { kRowSetChars = 0, kRowSetPhrases = 1, kRowsMerged = 2 };

struct tagE_Dist {
  int16_t nSet;       // 0 characters, 1 phrases
  int16_t nList;      // the set's list the row came from: 0 or 1
  int16_t nSlot;      // position in that list, 0..63
  int16_t nDist;      // ranking distance, lower first
  int16_t nMatchLen;  // common beginning of the row key and the typed keys
};

// qsort-style comparison by nDist: -1, 0 or 1.
int compareE_Dist(const void* a, const void* b);
