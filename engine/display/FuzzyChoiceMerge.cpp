// The candidate list under fuzzy pinyin: the keys are looked up under every
// fuzzy form, and the results are merged into one list. Exact hits of all
// forms come first, spread evenly into one another; the ranked rows of the
// forms follow, merged by row distance and cut at 64. A candidate found
// under several forms is listed once, under the first form that found it.
#include <algorithm>
#include <climits>
#include <set>
#include <string>
#include <vector>

#include "engine/CChnChars.h"

namespace {

using FatList = AArray<typCharFatFmt, typCharFatFmt&>;

// Row candidates kept by the merge.
constexpr int kMaxMergedRows = 64;

std::string DupKey(typCharFatFmt rec) {
  CString key;
  GetFatChnCharHexStr(rec, key);
  return std::string(key.GetString(), key.GetLength());
}

// Drops later copies of a candidate inside one list.
void DropInnerDuplicates(FatList& list) {
  for (int i = list.GetSize() - 1; i > 0; --i) {
    const std::string key = DupKey(list[i]);
    for (int j = 0; j < i; ++j)
      if (DupKey(list[j]) == key) {
        list.RemoveAt(i);
        break;
      }
  }
}

void InsertOrAppend(FatList& list, int pos, typCharFatFmt& rec) {
  if (pos >= list.GetSize())
    list.Add(rec);
  else
    list.InsertTo(pos, rec);
}

// Spreads the new exact hits of b into a: each goes in after a run of a's
// entries as long as the ratio of the two sizes, so that no form's hits
// crowd out another's from the first page.
void MergeExact(FatList& a, FatList& b, std::set<std::string>& seen) {
  if (a.GetSize() == 0) {
    for (int i = 0; i < b.GetSize(); ++i)
      if (seen.insert(DupKey(b[i])).second) a.Add(b[i]);
    return;
  }
  int pos = 1;
  if (a.GetSize() > b.GetSize()) {
    const int step = a.GetSize() / b.GetSize();
    for (int i = 0; i < b.GetSize(); ++i) {
      if (!seen.insert(DupKey(b[i])).second) continue;
      InsertOrAppend(a, pos, b[i]);
      pos += step + 1;
    }
    return;
  }
  const int step = std::max(1, b.GetSize() / a.GetSize());
  for (int g = 0; g < b.GetSize(); g += step) {
    bool inserted = false;
    for (int i = g; i < std::min(g + step, b.GetSize()); ++i) {
      if (!seen.insert(DupKey(b[i])).second) continue;
      InsertOrAppend(a, pos, b[i]);
      ++pos;
      inserted = true;
    }
    if (inserted) ++pos;
  }
}

}  // namespace

void CChnChars::LookupFuzzyMerged(const CString& keys) {
  const bool wild = keys.Find('?') >= 0;
  if (!wild && LookupExact(keys, m_arrChoices, 1) && m_arrChoices.GetSize() > 0) {
    m_bChoicesFound = 1;
    return;
  }
  m_arrFuzzyForms.RemoveAll();
  GetFuzziPyAllPossibleForms_Cizu(keys, m_arrFuzzyForms);
  m_arrChoices.RemoveAll();

  FatList exact;
  FatList ranked[2];
  std::vector<int16_t> dist[2];
  int p = 0;
  int m = 0;
  std::set<std::string> seen;

  for (int fi = 0; fi < m_arrFuzzyForms.GetSize(); ++fi) {
    const CString form = m_arrFuzzyForms[fi];
    FatList found;
    if (!wild && LookupExact(form, found, 2) && found.GetSize() > 0) {
      DropInnerDuplicates(found);
      if (found.GetSize() > 0) MergeExact(exact, found, seen);
      continue;
    }
    if (!Lookup0(form, found, 0, 2, 1)) continue;
    // The row records run parallel to the candidates; keep them so.
    for (int i = found.GetSize() - 1; i >= 0; --i) {
      if (seen.count(DupKey(found[i])) == 0) continue;
      found.RemoveAt(i);
      if (i < m_arrRowOrder.GetSize()) m_arrRowOrder.RemoveAt(i);
    }
    for (int i = 0; i < found.GetSize(); ++i) seen.insert(DupKey(found[i]));
    if (wild) {
      m_arrChoices.Append(found);
      continue;
    }
    std::vector<int16_t> e;
    for (int i = 0; i < std::min(kMaxMergedRows, m_arrRowOrder.GetSize()); ++i)
      e.push_back(m_arrRowOrder[i].nDist);
    auto distOfFound = [&](int i) { return i < static_cast<int>(e.size()) ? e[i] : INT16_MAX; };
    const int q = (p + 1) % 2;
    ranked[q].RemoveAll();
    dist[q].clear();
    if (fi > 0 && ranked[p].GetSize() > 0) {
      if (!e.empty()) m_nRowsMinDist[1] = std::min<int>(m_nRowsMinDist[1], e[0]);
      int ip = 0;
      int ib = 0;
      while (ranked[q].GetSize() < kMaxMergedRows && (ip < m || ib < found.GetSize())) {
        const bool takeFound = ib < found.GetSize() && (ip >= m || distOfFound(ib) < dist[p][ip]);
        if (takeFound) {
          ranked[q].Add(found[ib]);
          dist[q].push_back(distOfFound(ib));
          ++ib;
        } else {
          ranked[q].Add(ranked[p][ip]);
          dist[q].push_back(dist[p][ip]);
          ++ip;
        }
      }
      m = ranked[q].GetSize();
    } else {
      ranked[q].Copy(found);
      dist[q] = e;
      if (!e.empty()) m_nRowsMinDist[1] = e[0];
      m = static_cast<int>(e.size());
    }
    p = q;
  }

  if (wild) {
    m_bChoicesFound = m_arrChoices.GetSize() > 0 ? 1 : 0;
    return;
  }
  m_bChoicesFound = 0;
  m_nExactHits = 0;
  if (exact.GetSize() > 0) {
    m_arrChoices.Copy(exact);
    m_bChoicesFound = 1;
    m_nExactHits = 1;
  }
  if (ranked[p].GetSize() > 0) {
    m_arrChoices.Append(ranked[p]);
    m_bChoicesFound = 1;
  }
}
