// Full pinyin's choice among the candidates of one prefix search, in the
// tiers the candidate order has always had: close prefix candidates first,
// then the fuzzy segment phrases, the common characters of the leading
// syllables, looser prefix candidates, and the rest.
#include "engine/lookup/PrefixTiers.h"

#include <cstring>

#include "engine/lookup/EditDistance.h"

namespace prefixtiers {
namespace {

constexpr int kMinTierA = 3;  // score threshold of tier A at least this
constexpr int kLongKey = 12;  // prefix keys longer than this get the
                              // beginning test of tier A
constexpr int kSegHead = 4;   // leading characters of a syllable list in tier B

bool Free(const typCharFatFmt& c) { return c.key[0] != 0; }

// Appends a copy of c and marks c taken.
void Take(typCharFatFmt& c, keyscan::FatList& out) {
  typCharFatFmt copy = c;
  out.Add(copy);
  c.key[0] = 0;
}

int Max(int a, int b) { return a > b ? a : b; }

// Tier A: close to the whole typed key.
bool CloseEnough(const typCharFatFmt& c, const CString& key, int t) {
  const int L = key.GetLength();
  const int th = Max(kMinTierA, t);
  if (c.score < th || (c.score == th && c.keyLen >= L)) return true;
  const int n = static_cast<int>(strlen(c.key));
  if (n <= L || n <= kLongKey) return false;
  const bool mostly = n <= 16 ? L > n * 2 / 3 : L > n * 3 / 5;
  if (!mostly) return false;
  const CString head = CString(c.key).Left(L);
  return EditDistance(key, head) <= t - 1;
}

}  // namespace

void SortFuzzyRuns(keyscan::FatList& fuzzy) {
  for (bool swapped = true; swapped;) {
    swapped = false;
    for (int i = 0; i + 1 < fuzzy.GetSize(); ++i) {
      typCharFatFmt& a = fuzzy[i];
      typCharFatFmt& b = fuzzy[i + 1];
      if (a.keyLen == b.keyLen && b.score < a.score) {
        const typCharFatFmt keep = a;
        a = b;
        b = keep;
        swapped = true;
      }
    }
  }
}

void ChooseByTiers(CChnChars& e, const CString& key, Gathered& g, keyscan::FatList& out) {
  keyscan::FatList& prefix = *g.prefix;
  const int L = key.GetLength();
  const int t = L * 3 / 7;
  const int T2 = ((L <= 5 && t >= 2) || (L >= 6 && t >= 3)) ? 2 * t + 1 : (L <= 5 ? 5 : 7);
  const int T3 = ((L <= 4 && t >= 2) || (L >= 5 && t >= 3)) ? 5 * t / 2 : (L <= 4 ? 5 : 7);
  auto common = [&](typCharFatFmt& c) {
    return e.IsCommonChar(reinterpret_cast<char*>(c.data)) != 0;
  };

  for (int i = 0; i < prefix.GetSize(); ++i)  // A
    if (CloseEnough(prefix[i], key, t)) Take(prefix[i], out);

  SortFuzzyRuns(*g.fuzzy);
  e.m_bPrefixOnly = out.GetSize() == 0 && g.fuzzy->GetSize() > 0;
  out.Append(*g.fuzzy);

  for (int s = 0; s < g.nSegs; ++s) {  // B
    keyscan::FatList& seg = *g.segs[s];
    const int head = seg.GetSize() < kSegHead ? seg.GetSize() : kSegHead;
    for (int i = 0; i < head; ++i)
      if (common(seg[i])) Take(seg[i], out);
  }
  const int nearEnd = L - Max(1, L / 5);
  for (int i = 0; i < prefix.GetSize(); ++i)  // C
    if (Free(prefix[i]) && (prefix[i].score < T2 || prefix[i].keyLen >= nearEnd))
      Take(prefix[i], out);
  for (int s = 0; s < g.nSegs; ++s)  // D
    for (int i = 0; i < g.segs[s]->GetSize(); ++i)
      if (Free((*g.segs[s])[i]) && common((*g.segs[s])[i])) Take((*g.segs[s])[i], out);
  for (int i = 0; i < prefix.GetSize(); ++i)  // E
    if (Free(prefix[i]) && prefix[i].score < T3) Take(prefix[i], out);
  for (int s = 0; s < g.nSegs; ++s)  // F
    for (int i = 0; i < g.segs[s]->GetSize(); ++i)
      if (Free((*g.segs[s])[i])) Take((*g.segs[s])[i], out);
}

}  // namespace prefixtiers
