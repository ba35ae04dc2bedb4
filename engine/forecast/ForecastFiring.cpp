// Forecast rule firing: after a commit, continue the rule that fired last
// or scan the history, oldest start first, for a rule that its end
// completes; a cycle forecasts the sentence after the one the history ends
// with, a sequence its forecast part after its condition.
#include <memory>

#include <algorithm>
#include <cstring>

#include "base/ChnChar.h"
#include "engine/CChnChars.h"
#include "engine/EngineHost.h"
#include "engine/forecast/ForecastSupport.h"

namespace forecast {

// The memory of the last firing. Written by the firing, the continuation,
// the history (ZiCiForecastAddString) and the reset; read by the firing.
int lastIdxDB = -1;
int lastIdxRule = -1;
int lastSubRule = -1;
int keepLastRuleMem = 0;

}  // namespace forecast

using namespace forecast;

namespace {

// The groups the scan tries, in order; only the first four are scanned.
constexpr uint16_t fccScanOrder[fcc::kGroups] = {0, 1, 2, 3, 4, 5};
constexpr unsigned short kRightDoubleQuote = 0xB1A1;  // A1B1, lead byte low
constexpr unsigned short kLeftDoubleQuote = 0xB0A1;

void ForgetLastRule() { lastIdxDB = -1; }

struct CellDeleter {
  void operator()(typForecastCell* c) const { delete c; }
};
using OwnedForm = std::unique_ptr<typForecastCell, CellDeleter>;

bool AfterWhiteChar(const char* text, int s) {
  return s >= 2 &&
         IsChnWhiteChar(static_cast<uint8_t>(text[s - 2]), static_cast<uint8_t>(text[s - 1]), 0);
}

void PutInFront(CStringArray& out, const CString& rest) {
  if (out.GetSize() > 0) out[0] = rest + out[0];
}

}  // namespace

// ---- Fresh firing

namespace {

int FireCycle(CChnChars& e, char* text, int s, int end, CStringArray& out, int group, int rule) {
  typForecastCell* R = e.m_forecastRules[group][rule];
  const int n = R->children.GetSize();
  if (n == 0 || end - s < 2) return 0;
  bool same = lastIdxDB == group && lastIdxRule == rule;
  if (!same) ForgetLastRule();
  if (n == 2 && same && (R->flags & fcc::kFlagAnySentence)) return 0;
  const int start = (n == 2 || !same || lastSubRule < 0) ? 0 : (lastSubRule + 1) % n;
  const unsigned short last = CharAt(text, end - 2);
  for (int k = 0; k < n; ++k) {
    const int i = (start + k) % n;
    typForecastCell* sentence = R->children[i];
    const bool may = (i == 0 || ((R->flags & fcc::kFlagAnySentence) && (i != n - 1 || n < 3)) ||
                      (sentence->flags & fcc::kFlagMayEnd)) &&
                     !(sentence->flags & fcc::kFlagNeverEnd) &&
                     (!(sentence->flags & fcc::kFlagAtStart) || s < 2 || AfterWhiteChar(text, s));
    if (!may) continue;
    // The last sentence is known by the end of the one before it; a cycle
    // of one sentence has only its own.
    typForecastCell* endsOf = (i == n - 1 && n > 1) ? R->children[i - 1] : sentence;
    if (!e.IsMatchingBiaoDian(last, e.GetRuleEndChars(endsOf, group), n > 2)) continue;
    if (!e.ForecastMatchHelper(text, s, end - 2, sentence, group)) continue;
    const int next = (i + 1) % n;
    if (!e.GetForecastResult(R->children[next], 0, out, group)) continue;
    if (R->endChars[0] != 0 && (n == 2 || (next == n - 1 && !(R->flags & fcc::kFlagAnySentence))))
      e.ForecastAddEndchars(out, R);
    if (n > 1) {
      lastIdxDB = group;
      lastIdxRule = rule;
      lastSubRule = i;
    }
    e.m_nForecastMatchEnd = end - 2;
    if (sentence->flags & fcc::kFlagNoFreshForecast) out.RemoveAll();
    return 1;
  }
  same = lastIdxDB == group && lastIdxRule == rule;
  if (same && e.m_nForecastMatchEnd >= 0) {
    CString rest;
    int partial = 0;
    typForecastCell* sentence = R->children[start];
    if (e.IsCellPrefixNGetForecastResult(text, e.m_nForecastMatchEnd + 2, end, sentence, rest,
                                         group, partial)) {
      if (!rest.IsEmpty()) {
        out.Add(rest);
        if (sentence->endChars[0] != 0 && (sentence->flags & fcc::kFlagAddEndChar))
          e.ForecastAddEndchars(out, sentence);
      }
      return 1;
    }
  }
  return 0;
}

void AddEndCharOf(CChnChars& e, CStringArray& out, typForecastCell* F) {
  if (F->endChars[0] != 0 && (F->flags & fcc::kFlagAddEndChar)) e.ForecastAddEndchars(out, F);
}

// One form of a sequence rule: 1 fired, 0 not, -1 a typed beginning of
// the forecast matched but gave nothing (the reversed form is not tried).
int FireSequenceForm(CChnChars& e, char* text, int s, int end, CStringArray& out, int group,
                     int rule, typForecastCell* F, bool reversed) {
  const int n = F->children.GetSize();
  if (F->split > n) return 0;
  if (e.Group2GroupMatch(text, s, end, F->children, 0, F->split, group)) {
    e.m_nForecastMatchEnd = end;
    const int from = F->split + ((F->flags & fcc::kFlagNoSeparator) ? 1 : 0);
    if (e.GetForecastResult(F, from, out, group)) {
      AddEndCharOf(e, out, F);
      lastIdxDB = group;
      lastIdxRule = rule;
      lastSubRule = reversed ? 1 : 0;
      return 1;
    }
  }
  for (int k = F->split; k < n; ++k) {
    for (int p = s + 2; p < end; p += 2) {
      CString rest;
      int partial = 0;
      if (!e.Group2GroupMatch(text, s, p, F->children, 0, k, group) ||
          !e.IsCellPrefixNGetForecastResult(text, p, end, F->children[k], rest, group, partial))
        continue;
      bool added = false;
      if (k != n - 1 && e.GetForecastResult(F, k + 1, out, group)) {
        PutInFront(out, rest);
        added = true;
      } else if (!rest.IsEmpty()) {
        out.Add(rest);
        added = true;
      }
      if (added) AddEndCharOf(e, out, F);
      return added ? 1 : -1;
    }
  }
  return 0;
}

int FireSequence(CChnChars& e, char* text, int s, int end, CStringArray& out, int group, int rule) {
  typForecastCell* R = e.m_forecastRules[group][rule];
  const int r = FireSequenceForm(e, text, s, end, out, group, rule, R, false);
  if (r != 0 || !(R->flags & fcc::kFlagReversible)) return r > 0;
  OwnedForm reversed(DuplicateForecastRule4NonDirectFire(R));
  return FireSequenceForm(e, text, s, end, out, group, rule, reversed.get(), true) > 0;
}

}  // namespace

// ---- Continuation

namespace {

int ContinueCycle(CChnChars& e, char* text, int s, int end, CStringArray& out, int group,
                  typForecastCell* R) {
  const int n = R->children.GetSize();
  if (n == 0) return 0;
  const int i = (lastSubRule + 1) % n < 0 ? 0 : (lastSubRule + 1) % n;
  const int L = end - s;
  typForecastCell* sentence = R->children[i];
  if (L >= 0 && L <= 2 && end > 1 && CharAt(text, end - 2) != 0 &&
      e.IsMatchingBiaoDian(CharAt(text, end - 2), e.GetRuleEndChars(sentence, group), n > 2)) {
    const int next = (i + 1) % n;
    if (!e.GetForecastResult(R->children[next], 0, out, group)) return 0;
    if (R->endChars[0] != 0 && next == n - 1 && !(R->flags & fcc::kFlagAnySentence))
      e.ForecastAddEndchars(out, R);
    lastSubRule = i;
    e.m_nForecastMatchEnd = end - 2;
    return 1;
  }
  if (e.m_nForecastMatchEnd >= 0 && end - e.m_nForecastMatchEnd < 2 * fcc::kHistoryChars) {
    if (end == e.m_nForecastMatchEnd) {
      if (--lastSubRule < 0) ForgetLastRule();
      return 1;
    }
    CString rest;
    int partial = 0;
    if (L >= 0 && e.IsCellPrefixNGetForecastResult(text, e.m_nForecastMatchEnd + 2, end, sentence,
                                                   rest, group, partial)) {
      if (partial) return 1;
      if (!rest.IsEmpty()) {
        out.Add(rest);
        if (R->endChars[0] != 0 && (R->flags & fcc::kFlagAddEndChar)) e.ForecastAddEndchars(out, R);
        return 1;
      }
    }
  }
  keepLastRuleMem = 1;
  return 0;
}

// Characters typed after a sequence fired within which its forecast may
// still be completed.
constexpr int kSequenceTypingBytes = 18;

int ContinueSequence(CChnChars& e, char* text, int end, CStringArray& out, int group,
                     typForecastCell* R) {
  const int mfe = e.m_nForecastMatchEnd;
  if (mfe < 0 || mfe > end || end - mfe >= kSequenceTypingBytes) return 0;
  OwnedForm reversed;
  typForecastCell* F = R;
  if ((R->flags & fcc::kFlagNoSeparator) && lastSubRule > 0) {
    reversed.reset(DuplicateForecastRule4NonDirectFire(R));
    F = reversed.get();
  }
  const int n = F->children.GetSize();
  int lo = 0, hi = 0;
  for (int k = F->split; k < n; ++k) {
    for (int p = mfe + lo; p <= mfe + hi && p <= end; p += 2) {
      CString rest;
      int partial = 0;
      if (!e.Group2GroupMatch(text, mfe, p, F->children, F->split, k, group) ||
          !e.IsCellPrefixNGetForecastResult(text, p, end, F->children[k], rest, group, partial))
        continue;
      if (k != n - 1 && e.GetForecastResult(F, k + 1, out, group)) {
        PutInFront(out, rest);
        AddEndCharOf(e, out, F);
        return 1;
      }
      if (!rest.IsEmpty()) {
        out.Add(rest);
        AddEndCharOf(e, out, F);
        return 1;
      }
      break;
    }
    lo += 2 * F->children[k]->minLen;
    hi += 2 * F->children[k]->maxLen;
  }
  return 0;
}

}  // namespace

int CChnChars::ForecastMatch(char* text, int s, int e, CStringArray& out, int group, int rule,
                             int cont) {
  if (group < 0 || group >= fcc::kGroups || rule < 0 || rule >= m_forecastRules[group].GetSize())
    return 0;
  typForecastCell* R = m_forecastRules[group][rule];
  if (!cont) {
    std::memset(m_priorIds, 0, sizeof m_priorIds);
    m_curPriorId = 0;
    if (R->type == fcc::kCycle) return FireCycle(*this, text, s, e, out, group, rule);
    if (R->type == fcc::kSequence) return FireSequence(*this, text, s, e, out, group, rule);
    EngineDiag("Invalid rule!");
    return 0;
  }
  if (m_bForecastCommitting) return 0;
  if (R->type == fcc::kCycle) return ContinueCycle(*this, text, s, e, out, group, R);
  if (ContinueSequence(*this, text, e, out, group, R)) return 1;
  lastIdxDB = lastIdxRule = -1;
  return 0;
}

int CChnChars::GetForecastZiCiHelper(char* text, int i, int n) {
  m_arrForecast.RemoveAll();
  unsigned short c = CharAt(text, i);
  if (c == kRightDoubleQuote) c = kLeftDoubleQuote;
  const unsigned short keys[] = {c, fcc::kKeyAny, fcc::kKeyDigits};
  for (int g = 0; g < fcc::kScannedGroups; ++g) {
    const int group = fccScanOrder[g];
    for (unsigned short key : keys) {
      CDWordArray list;
      if (!m_forecastKeys[group].Lookup(key, list)) continue;
      for (int k = 0; k < list.GetSize(); ++k) {
        const int r = static_cast<int>(list[k]);
        if (r >= m_forecastRules[group].GetSize()) continue;
        const typForecastCell* R = m_forecastRules[group][r];
        if (R->type == fcc::kSequence && !(2 * R->minLen <= n - i && n - i <= 2 * R->maxLen - 2))
          continue;
        if ((R->flags & fcc::kFlagAtStart) && i > 0 && !AfterWhiteChar(text, i)) continue;
        if (ForecastMatch(text, i, n, m_arrForecast, group, r, 0)) return 1;
      }
    }
  }
  return 0;
}

int CChnChars::GetForecastZiCi(const char* str) {
  m_arrForecast.RemoveAll();
  // The matcher works on a copy: it reads spans, and nothing may change
  // the history under it.
  char text[2 * fcc::kHistoryChars + 2] = {};
  const int n = std::min(m_strForecastHistory.GetLength(), 2 * fcc::kHistoryChars);
  std::memcpy(text, m_strForecastHistory.GetString(), static_cast<size_t>(n));
  if (n < 1) {
    if (!m_bForecastCommitting) ForgetLastRule();
    return 0;
  }
  keepLastRuleMem = 0;
  if (lastIdxDB > -1) {
    const int L = str ? static_cast<int>(std::strlen(str)) : -2;
    if (ForecastMatch(text, n - L, n, m_arrForecast, lastIdxDB, lastIdxRule, 1)) return 1;
    const bool cycle = lastIdxDB > -1 && lastIdxRule >= 0 &&
                       lastIdxRule < m_forecastRules[lastIdxDB].GetSize() &&
                       m_forecastRules[lastIdxDB][lastIdxRule]->type == fcc::kCycle;
    if (!m_bForecastCommitting && L == 2 && cycle && keepLastRuleMem == 0) ForgetLastRule();
  }
  if (m_bForecastCommitting) return 0;
  for (int i = 0; i < n; i += 2)
    if (GetForecastZiCiHelper(text, i, n)) return 1;
  if (keepLastRuleMem == 1) return 0;
  ForgetLastRule();
  return 0;
}
