// Proper matches of the typed keys: the prefixes that are a syllable or
// phrase key (pinyin) or a character or phrase code (shape code). The
// cursor keys and phrase building move by them: one syllable or code at a
// time.
#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>

#include "engine/CChnChars.h"

namespace {

using FatList = AArray<typCharFatFmt, typCharFatFmt&>;

// No pinyin syllable starts with these letters, so a syllable boundary is
// never placed right before one of them when looking for syllables only.
constexpr const char* gnonPYBeginners = "iuv";

int LettersIn(const CString& s) {
  int n = 0;
  for (int i = 0; i < s.GetLength(); ++i)
    if (isalpha(static_cast<unsigned char>(s[i]))) ++n;
  return n;
}

}  // namespace

int CChnChars::IsProperMatches(const char* text, int phraseOk, int* exact) {
  if (exact) *exact = 0;
  if (!text || !text[0]) return 1;
  FatList found;
  if (!cfgInputManager.IsPinYinMethod()) {
    if (LookupExactHelper(text, found, 0, kXingMa) && found.GetSize() > 0) return 1;
    found.RemoveAll();
    return phraseOk && LookupExactHelper(text, found, 1, kXingMa) && found.GetSize() > 0 ? 1 : 0;
  }
  CString t(text);
  RemvFenHaoAtEnds(t);
  if (cfgInputManager.ShuangPin) ShuangPin2FullPinyin(t);
  if (IsPYProper(t)) return 1;
  if (!phraseOk) return 0;
  m_nApostrophes = t.Remove('\'');
  if (LookupExactHelper(t, found, 1, kPinYin) && found.GetSize() > 0) {
    CString first;
    FatFmt2NmlChar(found[0], first);
    if (exact && LettersIn(t) == first.GetLength() / 2) *exact = 1;
    return 1;
  }
  found.RemoveAll();
  if (LookupExactHelper(t, found, 2, kPinYin) && found.GetSize() > 0) {
    if (exact) *exact = 1;
    return 1;
  }
  return 0;
}

int CChnChars::IsCombinationOfProperMatches(const char* text, int phraseOk) {
  const int n = text ? static_cast<int>(strlen(text)) : 0;
  if (n == 0) return 1;
  for (int k = n; k >= 1; --k) {
    const std::string head(text, static_cast<size_t>(k));
    if (IsProperMatches(head.c_str(), phraseOk, nullptr) &&
        IsProperMatches(text + k, phraseOk, nullptr))
      return 1;
  }
  return 0;
}

short CChnChars::FindMatchingKeySeqEndingPt(const char* keys, int phraseOk, int wholeOk,
                                            int* found) {
  if (found) *found = 0;
  const int n = keys ? static_cast<int>(strlen(keys)) : 0;
  if (n == 0) return 0;
  const bool pinyin = cfgInputManager.IsPinYinMethod();
  if (m_pEndingPtMemo && pinyin && !phraseOk) {
    std::string memoKey(keys, static_cast<size_t>(n));
    memoKey += wholeOk ? '1' : '0';
    auto hit = m_pEndingPtMemo->find(memoKey);
    if (hit == m_pEndingPtMemo->end()) {
      std::unordered_map<std::string, std::pair<short, int>>* memo = m_pEndingPtMemo;
      m_pEndingPtMemo = nullptr;
      int wasFound = 0;
      const short len = FindMatchingKeySeqEndingPt(keys, phraseOk, wholeOk, &wasFound);
      m_pEndingPtMemo = memo;
      hit = memo->emplace(std::move(memoKey), std::make_pair(len, wasFound)).first;
    }
    if (found) *found = hit->second.second;
    return hit->second.first;
  }
  int firstHit = 0;
  for (int i = wholeOk ? n : n - 1; i >= 1; --i) {
    const std::string prefix(keys, static_cast<size_t>(i));
    int exact = 0;
    if (!IsProperMatches(prefix.c_str(), phraseOk, &exact)) continue;
    if (pinyin && !phraseOk && i < n && strchr(gnonPYBeginners, keys[i])) continue;
    if (found) *found = 1;
    if (firstHit == 0) firstHit = i;
    if (!m_nZuCiMode || exact || IsCombinationOfProperMatches(keys + i, phraseOk))
      return static_cast<short>(i);
  }
  return static_cast<short>(firstHit > 0 ? firstHit : 1);
}

int CChnChars::GetNextInsertPt(const char* keys, short& point, int forward, int fine) {
  const int n = keys ? static_cast<int>(strlen(keys)) : 0;
  if (n == 0) return 0;
  if (forward) {
    if (point >= n) return 0;
    if (point == n - 1) {
      point = static_cast<short>(n);
      return 1;
    }
  } else {
    if (point <= 0) return 0;
    if (point == 1) {
      point = 0;
      return 1;
    }
  }
  int start = 0;
  while (start < n) {
    const int len = FindMatchingKeySeqEndingPt(keys + start, 0, 1, nullptr);
    if (len <= 0) return 0;
    const int end = start + len;
    if (forward && end > point) {
      point = static_cast<short>(end);
      return 1;
    }
    if (!forward && end >= point) {
      if (fine && len >= 2) start = RefineBackwardStop(keys, start, len, point);
      point = static_cast<short>(start);
      return 1;
    }
    start = end;
  }
  return 0;
}

// A backward move into a long match stops at its last inner boundary
// before the point where both parts are proper matches.
int CChnChars::RefineBackwardStop(const char* keys, int start, int m, int point) {
  std::string work(keys + start);
  if (m_nZuCiMode) {
    CString unused;
    if (GetZuCiUnusedKeys(unused)) work += unused.GetString();
  }
  while (m > 1) {
    const int lim = std::max(0, std::min(m, point - start) - 1);
    int foundA = 0;
    const int a =
        FindMatchingKeySeqEndingPt(work.substr(0, static_cast<size_t>(lim)).c_str(), 0, 1, &foundA);
    if (a < 1 || !foundA || a >= m) break;
    int foundB = 0;
    const int b = FindMatchingKeySeqEndingPt(work.c_str() + a, 0, 1, &foundB);
    if (b < 1 || !foundB) {
      m = a;
      continue;
    }
    if (m_nZuCiMode) {
      if (start > 0 && a > 1 && work[a] == 'a' && (work[a - 1] == 'i' || work[a - 1] == 'u')) {
        FatList list;
        const size_t headLen = std::min(strlen(keys), static_cast<size_t>(start + a));
        const CString head(std::string(keys, headLen).c_str());
        if (!(LookupExactHelper(head, list, 1, kPinYin) && list.GetSize() > 0)) break;
      }
      start += a;
      break;
    }
    if (start + a < point) {
      start += a;
      break;
    }
    --m;
  }
  return start;
}
