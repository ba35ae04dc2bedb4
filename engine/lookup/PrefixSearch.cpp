// The prefix and segment search: all candidates of a typed key that is not
// a wildcard pattern. In a fixed order it gathers the exact hits, for full
// pinyin the words typed by their initials (with or without a last whole
// syllable), the sole-candidate code map of the shape code, the exact and
// fuzzy matches of the key's leading syllables, and the ranked prefix rows,
// and decides what the display shows: a list, rows, or nothing.
#include <cstring>
#include <string>
#include <unordered_map>
#include <utility>

#include "base/ChnText.h"
#include "engine/CChnChars.h"
#include "engine/lookup/CandidateSeen.h"
#include "engine/lookup/EditDistance.h"
#include "engine/lookup/KeyScan.h"
#include "engine/lookup/PrefixTiers.h"

using keyscan::FatList;

namespace {

constexpr int kFewCandidates = 6;  // fewer exact hits leave room for more
constexpr int kRowBudget = 64;
constexpr int kMaxSyllableKeys = 4;  // a leading syllable tested at a segment start
constexpr int kMinMatchSyllableKeys = 4;

// The distance a fuzzy segment of n keys must stay below. The tolerance
// setting scales it: "More" (0) keeps 1 up to eight keys and n * 4 / 11
// (at least 2) beyond; "Less" (1) halves that, "None" (2) leaves only equal
// keys. Neither goes below 1, which already means equal keys only, so that
// "Less" is never stricter than "None".
int FuzzySegmentLimit(int n, int degree) {
  const int more = n <= 8 ? 1 : (n * 4 / 11 > 2 ? n * 4 / 11 : 2);
  if (degree == 2) return 1;
  if (degree == 1) return more / 2 > 1 ? more / 2 : 1;
  return more;
}

// Keeps the syllable-end answers while it lives (the engine's own memo,
// unless an outer scope already keeps one).
class EndingPtMemo {
 public:
  explicit EndingPtMemo(CChnChars& e) : m_e(e), m_outer(e.m_pEndingPtMemo) {
    if (!m_outer) e.m_pEndingPtMemo = &m_memo;
  }
  ~EndingPtMemo() { m_e.m_pEndingPtMemo = m_outer; }
  EndingPtMemo(const EndingPtMemo&) = delete;
  EndingPtMemo& operator=(const EndingPtMemo&) = delete;

 private:
  CChnChars& m_e;
  std::unordered_map<std::string, std::pair<short, int>>* m_outer;
  std::unordered_map<std::string, std::pair<short, int>> m_memo;
};

// Initials plus a last syllable: keeps the phrases whose last character
// reads syl (or syl completed), giving them the whole typed key; drops the
// ones it cannot read that way.
void KeepLastSyllable(CChnChars& e, FatList& found, const CString& syl, const CString& whole) {
  CString complete = syl;
  RestoreCompletePY(complete);
  for (int i = found.GetSize() - 1; i >= 0; --i) {
    CString text;
    FatFmt2NmlChar(found[i], text);
    if (text.GetLength() < 2) {
      found.RemoveAt(i);
      continue;
    }
    const int last = text.GetLength() - 2;
    const auto ch = static_cast<unsigned short>(static_cast<uint8_t>(text[last]) |
                                                (static_cast<uint8_t>(text[last + 1]) << 8));
    CStringArray readings;
    e.MapChnToKeysLookup(ch, readings, 1, 0);
    if (readings.GetSize() == 0) continue;
    bool match = false;
    for (int r = 0; r < readings.GetSize() && !match; ++r)
      match = readings[r] == syl || readings[r] == complete;
    if (!match) {
      found.RemoveAt(i);
      continue;
    }
    found[i].SetKey(whole);
    found[i].keyLen = found[i].usedKeys = static_cast<uint8_t>(strlen(found[i].key));
  }
}

}  // namespace

int CChnChars::Lookup_PrefixOk(CString key, FatList& out, int /*ignored*/, int noExact) {
  const typInputSettings& cfg = cfgInputManager;
  const bool pinyin = cfg.IsPinYinMethod();
  const bool fullPinyin = pinyin && !cfg.ShuangPin;
  const bool fuzzy = pinyin && cfg.fuzziPY;
  const int L = key.GetLength();
  bool few = false, enough = false;
  m_bOneBestSplit = 0;
  m_bLongCiInExact = 0;

  // 1. Exact hits.
  m_nExactHits = 0;
  if (!noExact && LookupExact(key, out, 0)) {
    m_nExactHits = out.GetSize();
    if (L == 1) return 1;
    if (pinyin && L == 4)
      for (int i = 0; i < out.GetSize(); ++i)
        if (out[i].kind != kFatChar && keyscan::TextChars(out[i]) > 3) m_bLongCiInExact = 1;
    few = out.GetSize() < kFewCandidates;
    if ((!pinyin || fuzzy) && !few) return 1;
  }
  CandidateSeen seen;
  for (int i = 0; i < out.GetSize(); ++i) seen.Insert(CandidateSeen::KeyOf(out[i]));

  // 2. Initials of two- and three-character words.
  FatList found;
  if (fullPinyin && (L == 2 || L == 3) && m_pShouZiMuIdx && !noExact &&
      LookupExactHelper(key, found, 2, kPinYin)) {
    out.Append(found);
    m_nExactHits += found.GetSize();
    few = out.GetSize() < kFewCandidates;
  }
  // 3. Initials and a last whole syllable ("bjing").
  if (fullPinyin && L > 2 && !noExact) {
    for (int i = 1; i <= L - 2; ++i) {
      const CString syl = key.Mid(i);
      if (!IsPYProper(syl)) continue;
      LookupExactHelper(key.Left(i + 1), found, i <= 2 ? 2 : 3, kPinYin);
      KeepLastSyllable(*this, found, syl, key);
      if (found.GetSize() == 0) continue;
      out.Append(found);
      m_nExactHits += found.GetSize();
      few = out.GetSize() < kFewCandidates;
      if (m_nExactHits > 0 && !few) {
        enough = true;
        break;
      }
    }
  }
  // 4. The one character that completes a shape code.
  if (!pinyin && m_nExactHits == 0 && m_pKey2ChsDic2) {
    CString sole;
    if (m_pKey2ChsDic2->Lookup(key, sole) && sole.GetLength() == 2 &&
        static_cast<uint8_t>(sole[0]) >= 0x80) {
      out.RemoveAll();
      typCharFatFmt c =
          typCharFatFmt::Char(static_cast<uint8_t>(sole[0]), static_cast<uint8_t>(sole[1]));
      out.Add(c);
      m_bSoleCandMapHit = 1;
      return 1;
    }
  }

  // 5. Leading syllables: exact characters and fuzzy phrases.
  FatList segLists[prefixtiers::kMaxSegLists];
  FatList fuzzyList;
  CandidateSeen fuzzyMine;
  int nSegs = 0, F = 0;
  bool segFound = false;
  if (pinyin && !cfg.fuzziPY && L > 2) {
    EndingPtMemo memo(*this);
    const bool W = IsPYProper(key) != 0;
    int pos = L;
    while (pos > 0) {
      short p = static_cast<short>(pos);
      if (!GetNextInsertPt(key, p, 0, 1) || p == pos) p = static_cast<short>(pos - 1);
      pos = p;
      if (pos <= 0) break;
      const CString P = key.Left(pos);
      if (!W && IsPYProper(P)) {
        bool syllableFollows = false;
        for (int n = 1; n <= kMaxSyllableKeys && pos + n <= L && !syllableFollows; ++n)
          syllableFollows = IsPYProper(key.Mid(pos, n)) != 0;
        // Only as many lists as their holders have; a key with more
        // leading syllables than that keeps the longest four.
        if ((nSegs == 0 || syllableFollows) && nSegs < prefixtiers::kMaxSegLists) {
          LookupExactHelper(P, segLists[nSegs], 0, kPinYin);
          segFound = segFound || segLists[nSegs].GetSize() > 0;
          ++nSegs;
        }
      } else if (pos > 1) {
        const int before = fuzzyList.GetSize();
        F += LookupFuzzySegment(P, fuzzyList, seen, fuzzyMine, kPinYin);
        segFound = segFound || fuzzyList.GetSize() > before;
      }
    }
  }

  // 6. Ranked prefix rows.
  int B = enough ? 0 : (few ? kFewCandidates - out.GetSize() : kRowBudget);
  if (pinyin) B = B > F ? B - F : 0;
  m_nRows[kRowSetChars] = m_nRows[kRowSetPhrases] = 0;
  if (B > 0) {
    if (pinyin || cfg.useCizu) Lookup_PrefixOkHelper(key, kRowSetPhrases, seen, B);
    if (!pinyin) Lookup_PrefixOkHelper(key, kRowSetChars, seen, B);
  }
  MergeRowSets(L, B > 0 ? B : 1);
  if (m_nRows[kRowSetChars] == 0 && m_nRows[kRowSetPhrases] == 0 && nSegs == 0 &&
      fuzzyList.GetSize() == 0) {
    m_nSegRows = m_nSegMaxMatch = m_nSegOutcome = 0;
    return m_nExactHits;
  }
  SwapShortKeyRows(L);
  const int k = m_nSegRows;
  int R = 1;
  auto distanceTest = [&] {
    if (k > 1 && m_nExactHits == 0 && L > 3 && L * 3 / 2 < m_nSegMinDist) {
      R = 0;
      m_nSegRows = k;
    }
  };

  // 7. The rows' candidates.
  FatList prefixList;
  if (fuzzy) m_arrRowOrder.RemoveAll();
  for (int i = 0; i < k; ++i) {
    tagE_Dist& row = m_rows[kRowsMerged][i];
    const CString& rowKey = m_strRowKey[row.nSet][row.nList][row.nSlot];
    FatList& cands = m_arrRowCands[row.nSet][row.nList][row.nSlot];
    for (int j = 0; j < cands.GetSize(); ++j) {
      typCharFatFmt c = cands[j];
      c.SetKey(rowKey);
      c.score = row.nDist;
      c.keyLen = static_cast<uint8_t>(row.nMatchLen);
      c.usedKeys = static_cast<uint8_t>(strlen(c.key));
      if (fuzzy) {
        out.Add(c);
        m_arrRowOrder.Add(row);
      } else {
        prefixList.Add(c);
      }
    }
  }

  // 8. What to show.
  if (pinyin && !fuzzy) {
    if (nSegs > 0 || fuzzyList.GetSize() > 0) {
      prefixtiers::Gathered g;
      g.prefix = &prefixList;
      g.fuzzy = &fuzzyList;
      for (int s = 0; s < nSegs; ++s) g.segs[s] = &segLists[s];
      g.nSegs = nSegs;
      prefixtiers::ChooseByTiers(*this, key, g, out);
    } else if (!IsPYProper(key)) {
      out.Append(prefixList);
    } else {
      // One whole syllable: only prefix candidates that matched most of it.
      const int minLen = L < 4 ? L : (L <= 5 ? L - 1 : L - 2);
      const int maxScore = L < 4 ? 1 : (L <= 5 ? 2 : 3);
      for (int i = 0; i < prefixList.GetSize(); ++i)
        if (prefixList[i].keyLen >= minLen && prefixList[i].score < maxScore)
          out.Add(prefixList[i]);
    }
    m_nSegRows = 1;
    if (!segFound || out.GetSize() == 0) distanceTest();
    if (R == 1) m_nSegOutcome = 3;
  } else if (fuzzy) {
    m_nSegRows = 1;
    distanceTest();
    if (R == 1) m_nSegOutcome = 3;
  } else {
    const tagE_Dist* rows = m_rows[kRowsMerged];
    const int slack = L > 5 ? L - 6 : 0;
    m_bOneBestSplit = k == 1 || (k > 1 && rows[0].nDist < rows[1].nDist + slack);
    if (m_bOneBestSplit) {
      m_nSegRows = 1;
      m_nSegOutcome = 2;
      R = 1;
    } else {
      distanceTest();
      if (R == 0 && !few) m_bTryNumCizu = 1;
      if (R == 1) m_nSegOutcome = 3;
    }
  }
  if (m_bTryNumCizu && NumCizuMatch(key, out)) return 1;
  return R;
}

int CChnChars::LookupFuzzySegment(CString seg, FatList& list, CandidateSeen& seen,
                                  CandidateSeen& mine, int method) {
  const int n = seg.GetLength();
  const int minLen = n * 6 / 7, maxLen = n * 8 / 7;
  const int D = FuzzySegmentLimit(n, cfgInputManager.generalFuzzyMatchDegree);
  const keyscan::KeyList l = keyscan::CiZuList(*this, method);
  if (!l.Loaded()) return 0;
  char segHead[4] = {};
  strncpy(segHead, seg, 3);
  // The distance of a record's key, -1 when it is out of reach; false
  // stops the walk.
  auto match = [&](const keyscan::Record& r, int& d) {
    d = -1;
    const int keyLen = static_cast<int>(r.keyLen);
    if (keyLen < minLen || keyLen > maxLen) return true;
    char recKey[256];
    const int copy = keyLen < 255 ? keyLen : 255;
    memcpy(recKey, r.Key(l), static_cast<size_t>(copy));
    recKey[copy] = 0;
    const int head = strncmp(recKey, segHead, 3);
    if (head != 0) return !(keyLen >= 3 && head > 0);
    // Every key of length difference costs an insertion or a deletion (3):
    // a key whose length alone puts it at D or beyond needs no distance.
    const int gap = (keyLen > 3 ? keyLen - 3 : 0) - (n > 3 ? n - 3 : 0);
    if (3 * (gap < 0 ? -gap : gap) >= D) return true;
    const int dist =
        EditDistanceBelow(keyLen > 3 ? recKey + 3 : "", n > 3 ? seg.GetString() + 3 : "", D);
    if (dist < D) d = dist;
    return true;
  };
  // The phrases of a matching record not met before.
  auto take = [&](const keyscan::Record& r, int d) {
    const int keyLen = static_cast<int>(r.keyLen);
    char recKey[256];
    const int copy = keyLen < 255 ? keyLen : 255;
    memcpy(recKey, r.Key(l), static_cast<size_t>(copy));
    recKey[copy] = 0;
    for (uint32_t p = r.dataPos; p < r.next; p += static_cast<uint32_t>(l.entryLen)) {
      const uint8_t* en = l.data + p;
      const uint32_t dup = CandidateSeen::EntryKey(en);
      if (seen.Contains(dup) || mine.Contains(dup)) continue;
      typCharFatFmt c = typCharFatFmt::Phrase(en, l.entryLen == 4 ? en[3] : 0);
      c.SetKey(recKey);
      c.keyLen = static_cast<uint8_t>(n);
      c.score = static_cast<int16_t>(d);
      list.Add(c);
      mine.Insert(dup);
      seen.Insert(dup);
    }
  };
  keyscan::Record r;
  int d;
  if (D <= 1) {
    // Distance 0 is left: only the record of exactly these keys matches.
    if (keyscan::FindExact(l, seg, n, r) && match(r, d) && d >= 0) take(r, d);
  } else if (l.recs && n >= 3) {
    // Only records that begin with the segment's first three keys match;
    // they follow one another in the sorted list. A sentence asks for the
    // same segments again at every key: the matches are kept (record and
    // distance) until the index changes.
    std::string cacheKey = std::to_string(method) + ' ' + std::to_string(D) + ' ';
    cacheKey += seg.GetString();
    auto hit = m_segMatches.find(cacheKey);
    if (hit == m_segMatches.end()) {
      if (m_segMatches.size() >= kMaxSegMatches) m_segMatches.clear();
      std::vector<std::pair<uint32_t, int>> found;
      const uint32_t end = keyscan::UpperBound(l, seg, 3);
      for (uint32_t i = keyscan::LowerBound(l, seg, 3); i < end; ++i) {
        keyscan::ReadRecord(l, l.recs[i], r);
        if (match(r, d) && d >= 0) found.emplace_back(r.pos, d);
      }
      hit = m_segMatches.emplace(std::move(cacheKey), std::move(found)).first;
    }
    for (const auto& m : hit->second) {
      keyscan::ReadRecord(l, m.first, r);
      take(r, m.second);
    }
  } else {
    for (uint32_t pos = keyscan::StartOf(l, seg); keyscan::ReadRecord(l, pos, r); pos = r.next) {
      if (!match(r, d)) break;
      if (d >= 0) take(r, d);
    }
  }
  return list.GetSize();
}
