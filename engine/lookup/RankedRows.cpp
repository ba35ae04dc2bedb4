// Ranked prefix rows: the index records whose keys share the longest
// beginning with the typed keys, ranked by the keyboard edit distance of
// the rest of their key to the rest of the typed keys. Each set (0 the
// characters, 1 the phrases of the current input method) keeps two lists
// of records, the longest common beginning and the runner-up; their rows
// are ranked, merged into m_rows[set], and the two sets are merged into
// m_rows[kRowsMerged]. Rows of equal distance keep the order of the index:
// every sort here is stable, because that order is what the user sees.
#include <cstring>
#include <utility>

#include "engine/CChnChars.h"
#include "engine/lookup/CandidateSeen.h"
#include "engine/lookup/EditDistance.h"
#include "engine/lookup/KeyScan.h"

namespace {

constexpr int kNoRowDist = 99999;        // m_nRowsMinDist of a set without rows
constexpr int kNoSegDist = 999999;       // m_nSegMinDist without rows
constexpr int kFillPinYin = 20;          // candidates that end a merge once enough
constexpr int kFillXingMa = 16;          // distinct distances are taken
constexpr int kDistinctChars = 1;        // distinct distances needed, set 0
constexpr int kDistinctPhrases = 3;      // set 1 and the merge of the sets
constexpr int kSecondListStep = 6;       // distance per key the runner-up lacks
constexpr int kSecondListStepShort = 3;  // ... when one typed key is left
constexpr int kLists = 2;

// Stable sort of rows by nDist (insertion sort: equal distances keep their
// slot order).
void SortRows(tagE_Dist* rows, int n) {
  for (int i = 1; i < n; ++i) {
    const tagE_Dist r = rows[i];
    int j = i;
    while (j > 0 && compareE_Dist(&rows[j - 1], &r) > 0) {
      rows[j] = rows[j - 1];
      --j;
    }
    rows[j] = r;
  }
}

// Counts of a merge: rows taken, candidates in them, distinct distances
// beyond the first.
struct MergeCount {
  int k = 0;
  int t = 0;
  int d = -1;
  int lastDist = 0;
  void Take(const tagE_Dist& row, int candidates) {
    if (k == 0 || row.nDist != lastDist) ++d;
    lastDist = row.nDist;
    t += candidates;
    ++k;
  }
  bool Done(int budget, int distinct, int fill) const {
    return t >= budget || (d > distinct && t >= fill) || k >= kMaxRows;
  }
};

}  // namespace

int compareE_Dist(const void* a, const void* b) {
  const int da = static_cast<const tagE_Dist*>(a)->nDist;
  const int db = static_cast<const tagE_Dist*>(b)->nDist;
  return da < db ? -1 : (da > db ? 1 : 0);
}

int CChnChars::Lookup_PrefixOkHelper(CString& key, int set, CandidateSeen& seen, int budget) {
  m_nRows[set] = 0;
  m_nRowsMaxMatch[set] = 0;
  m_nRowsMinDist[set] = kNoRowDist;
  const bool pinyin = cfgInputManager.IsPinYinMethod();
  const int method = pinyin ? kPinYin : kXingMa;
  const keyscan::KeyList l =
      set == kRowSetChars ? keyscan::CharList(*this, method) : keyscan::CiZuList(*this, method);
  if (!l.Loaded()) return 0;
  const int L = key.GetLength();

  // 1. The best list and the runner-up.
  keyscan::PrefixLists gathered;
  keyscan::GatherPrefixLists(l, key, L, m_nExactHits != 0, m_bLongCiInExact != 0, gathered);
  const keyscan::PrefixList* lists = gathered.list;
  const int best = gathered.best;
  keyscan::Record r;

  // 2. Rows with their candidates, the best list first.
  CandidateSeen met;
  tagE_Dist rows[kLists][kMaxRows];
  int nRows[kLists] = {0, 0};
  const int order[kLists] = {best, 1 - best};
  for (int which : order) {
    const keyscan::PrefixList& list = lists[which];
    int e = 0;
    for (int i = 0; i < list.count; ++i) {
      keyscan::ReadRecord(l, list.pos[i], r);
      CString& rowKey = m_strRowKey[set][which][e];
      rowKey = CString();
      rowKey.AddChars(r.Key(l), 0, static_cast<int>(r.keyLen));
      auto& cands = m_arrRowCands[set][which][e];
      cands.RemoveAll();
      auto take = [&](typCharFatFmt rec, uint32_t dupKey) {
        if (seen.Contains(dupKey) || !met.Insert(dupKey)) return;
        if (set == kRowSetPhrases && pinyin && m_nApostrophes >= 1 &&
            keyscan::TextChars(rec) < m_nApostrophes + 1)
          return;
        rec.SetKey(rowKey);
        cands.Add(rec);
      };
      if (l.pyKeys) {
        const keyscan::PyRun run = keyscan::PyRunOf(*this, l, r);
        for (uint32_t j = 0; j < run.count; ++j) {
          const uint8_t* c = keyscan::PyFlatChar(*this, run.start + j);
          take(typCharFatFmt::Char(c[0], c[1]), CandidateSeen::CharKey(c[0], c[1]));
        }
      } else {
        for (uint32_t p = r.dataPos; p < r.next; p += static_cast<uint32_t>(l.entryLen)) {
          const uint8_t* en = l.data + p;
          if (set == kRowSetChars) {
            take(typCharFatFmt::Char(en[0], en[1]), CandidateSeen::CharKey(en[0], en[1]));
          } else {
            take(typCharFatFmt::Phrase(en, l.entryLen == 4 ? en[3] : 0),
                 CandidateSeen::EntryKey(en));
          }
        }
      }
      if (cands.GetSize() > 0) ++e;
    }
    nRows[which] = e;
  }

  // 3. Rank each list.
  const keyscan::PrefixList& bl = lists[best];
  const keyscan::PrefixList& sl = lists[1 - best];
  for (int which = 0; which < kLists; ++which) {
    const int P = lists[which].prefix;
    const char* R = key.GetString() + (P < L ? P : L);
    const int rLen = static_cast<int>(strlen(R));
    for (int e = 0; e < nRows[which]; ++e) {
      const CString& rowKey = m_strRowKey[set][which][e];
      const char* T = rowKey.GetString() + (P < rowKey.GetLength() ? P : rowKey.GetLength());
      int dist = EditDistance(T, R);
      if (!pinyin && set == kRowSetPhrases && P == L && m_chLookAheadKey != 0 &&
          T[0] == m_chLookAheadKey && T[1] == 0)
        dist = 1;
      if (which != best) {
        if (rLen >= 2)
          dist += (bl.prefix - sl.prefix) * kSecondListStep;
        else if (rLen == 1)
          dist += (bl.prefix - sl.prefix) * kSecondListStepShort;
      }
      if (L > 2 && P == L) dist = dist * 3 / 2;
      rows[which][e] = {static_cast<int16_t>(set), static_cast<int16_t>(which),
                        static_cast<int16_t>(e), static_cast<int16_t>(dist),
                        static_cast<int16_t>(P)};
    }
    SortRows(rows[which], nRows[which]);
    for (int e = 0; e < nRows[which]; ++e)
      if (rows[which][e].nDist < m_nRowsMinDist[set]) m_nRowsMinDist[set] = rows[which][e].nDist;
  }

  // 4. Merge the two lists.
  const int fill = pinyin ? kFillPinYin : kFillXingMa;
  const int distinct = set == kRowSetChars ? kDistinctChars : kDistinctPhrases;
  const int degree = cfgInputManager.generalFuzzyMatchDegree;
  MergeCount m;
  int next[kLists] = {0, 0};
  while (next[0] < nRows[0] || next[1] < nRows[1]) {
    int from;
    if (next[0] >= nRows[0])
      from = 1;
    else if (next[1] >= nRows[1])
      from = 0;
    else
      from = rows[1][next[1]].nDist < rows[0][next[0]].nDist ? 1 : 0;
    const tagE_Dist row = rows[from][next[from]++];
    if (row.nMatchLen < L) {
      const int keyLen = m_strRowKey[set][row.nList][row.nSlot].GetLength();
      if (degree == 2 || (degree == 1 && row.nDist >= 3 * keyLen / 4)) continue;
    }
    m_rows[set][m.k] = row;
    m.Take(row, m_arrRowCands[set][row.nList][row.nSlot].GetSize());
    if (m.Done(budget, distinct, fill)) break;
  }
  m_nRows[set] = m.k;
  m_nRowsMaxMatch[set] = lists[0].prefix > lists[1].prefix ? lists[0].prefix : lists[1].prefix;
  return m.k > 0 ? 1 : 0;
}

void CChnChars::MergeRowSets(int keyLen, int budget) {
  m_nSegRows = 0;
  m_nSegMaxMatch = 0;
  m_nSegMinDist = kNoSegDist;
  const int n0 = m_nRows[kRowSetChars], n1 = m_nRows[kRowSetPhrases];
  if (n0 == 0 && n1 == 0) return;
  if (n0 == 0 || n1 == 0) {
    const int set = n0 ? kRowSetChars : kRowSetPhrases;
    for (int i = 0; i < m_nRows[set]; ++i) m_rows[kRowsMerged][i] = m_rows[set][i];
    m_nSegRows = m_nRows[set] < budget ? m_nRows[set] : budget;
    m_nSegMaxMatch = m_nRowsMaxMatch[set];
    m_nSegMinDist = m_nRowsMinDist[set];
    return;
  }
  const int L = keyLen;
  const int fill = cfgInputManager.IsPinYinMethod() ? kFillPinYin : kFillXingMa;
  // Whether the phrase row should go before the character row: a closer
  // row wins unless the other matched clearly more of the key.
  auto phraseFirst = [L](const tagE_Dist& c, const tagE_Dist& p) {
    const int d0 = c.nDist, d1 = p.nDist, l0 = c.nMatchLen, l1 = p.nMatchLen;
    if (d0 < d1) return l0 < l1 && (l1 - l0 > 2 || 4 * (l1 - l0) >= 3 * L);
    if (d1 < d0) return !(l1 < l0 && (l0 - l1 > 2 || 4 * (l0 - l1) >= 3 * L));
    return l0 < l1;
  };
  MergeCount m;
  int i0 = 0, i1 = 0;
  while (i0 < n0 || i1 < n1) {
    int set;
    if (i0 >= n0)
      set = kRowSetPhrases;
    else if (i1 >= n1)
      set = kRowSetChars;
    else
      set = phraseFirst(m_rows[0][i0], m_rows[1][i1]) ? kRowSetPhrases : kRowSetChars;
    const tagE_Dist row = set == kRowSetChars ? m_rows[0][i0++] : m_rows[1][i1++];
    m_rows[kRowsMerged][m.k] = row;
    m.Take(row, m_arrRowCands[row.nSet][row.nList][row.nSlot].GetSize());
    if (m.Done(budget, kDistinctPhrases, fill)) break;
  }
  m_nSegRows = m.k;
  m_nSegMaxMatch =
      m_nRowsMaxMatch[0] > m_nRowsMaxMatch[1] ? m_nRowsMaxMatch[0] : m_nRowsMaxMatch[1];
  m_nSegMinDist = m_nRowsMinDist[0] < m_nRowsMinDist[1] ? m_nRowsMinDist[0] : m_nRowsMinDist[1];
}

void CChnChars::SwapShortKeyRows(int keyLen) {
  const int k = m_nSegRows;
  tagE_Dist* rows = m_rows[kRowsMerged];
  if (k > 2 && rows[1].nDist < rows[2].nDist) {
    const int L = keyLen;
    const bool swap =
        (L <= 3 && rows[0].nMatchLen == 2 && rows[0].nDist > 1 && rows[1].nMatchLen > 2) ||
        (L == 4 && rows[0].nMatchLen == 2 && rows[0].nDist > 3 && rows[1].nMatchLen > 2) ||
        (L == 4 && rows[0].nMatchLen == 3 && rows[0].nDist > 2 && rows[1].nMatchLen > 3);
    if (swap) std::swap(rows[0], rows[1]);
  }
  if (k > 0) m_nSegMaxMatch = rows[0].nMatchLen;
}
