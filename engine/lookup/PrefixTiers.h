// PrefixTiers.h: how full pinyin chooses, in tiers, among the candidates a
// prefix search gathered: the close prefix candidates, the fuzzy segment
// phrases and the characters of the key's leading syllables. Private to the
// prefix search (PrefixSearch.cpp).
#pragma once

#include <vector>

#include "engine/CChnChars.h"
#include "engine/lookup/KeyScan.h"

namespace prefixtiers {

// The most leading-syllable lists one search holds: a standard pinyin key
// has at most four leading syllables.
constexpr int kMaxSegLists = 4;

struct Gathered {
  keyscan::FatList* prefix;              // candidates of the merged rows
  keyscan::FatList* fuzzy;               // fuzzy segment phrases
  keyscan::FatList* segs[kMaxSegLists];  // characters of leading syllables
  int nSegs = 0;
};

// Appends to out, tier by tier, the candidates of the typed key (L keys);
// taken working candidates get an empty key. Sets m_bPrefixOnly.
void ChooseByTiers(CChnChars& e, const CString& key, Gathered& g, keyscan::FatList& out);

// Orders the fuzzy list by score within each run of equal keyLen by
// adjacent exchanges until none is left (equal scores keep their order).
void SortFuzzyRuns(keyscan::FatList& fuzzy);

}  // namespace prefixtiers
