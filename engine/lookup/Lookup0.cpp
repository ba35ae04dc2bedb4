// The lookup driver: every candidate list starts with one Lookup0. It
// treats keys made only of wildcards, cuts over-long keys, rewrites the
// pinyin spellings van/vn and the shape-code aliases, then runs the
// wildcard search or the prefix search; a shape-code key that finds
// nothing is retried with fixed correction rules, at most ten searches.
#include "engine/CChnChars.h"
#include "engine/EngineHost.h"
#include "engine/lookup/KeyScan.h"
#include "engine/lookup/LookupTexts.h"

using keyscan::FatList;

namespace {

constexpr int kMaxKeyWithPhrases = 46;  // bytes of a key kept with phrases on
constexpr int kMaxKeyCharsOnly = 10;    // and with single characters only
constexpr int kMaxSearches = 10;        // of one shape-code lookup
constexpr int kMinRetryKey = 5;         // shorter shape-code keys are not retried
const char kPlaceholder[] = "_";        // stands for "1t2" while retrying

int CountOf(const CString& s, char c) {
  int n = 0;
  for (int i = 0; i < s.GetLength(); ++i) n += s[i] == c;
  return n;
}

void OneChar(FatList& out, lookuptext::GbkChar c) {
  typCharFatFmt rec = typCharFatFmt::Char(c.lead, c.trail);
  out.Add(rec);
}

// Every "van" to "uan", then every "vn" to "un".
void RewriteV(CString& s) {
  s.Replace("van", "uan");
  s.Replace("vn", "un");
}

// The doubled-c rule: "cc" folds to "c" when a w (or "1w") follows the
// first "cc" and its neighbourhood is not one of the codes that need it.
void FoldDoubledC(CString& key) {
  const int p = key.Find("cc");
  if (p < 1) return;
  const bool wAfter = key.Mid(p + 2, 1) == "w" || key.Mid(p + 2, 2) == "1w";
  if (wAfter && key.Left(2) != "p[" && key.Left(4) != "wncc" && key[p - 1] != '[')
    key.Replace("cc", "c");
}

// The aliases of shape codes that users type for a code of the list. A
// whole-key answer puts its character into out and returns true.
bool RewriteXingMaAliases(CString& key, FatList& out) {
  static const char* const kFirst[][2] = {{"u;;", ";;u"}, {"jmgh", "jmg9"}, {"q2;20", "6x0"}};
  for (const auto& r : kFirst) key.Replace(r[0], r[1]);
  FoldDoubledC(key);
  if (key == "vu" || key == "pvu") key.Replace("vu", "2u");
  static const char* const kParts[][2] = {
      {"rt813o", "rto"}, {"rt13o", "rto"}, {"rt83o", "rto"}, {"rt81o", "rto"}, {"rt3o", "rto"},
      {"rt1o", "rto"},   {"rt8o", "rto"},  {"rt813", "rto"}, {"rt13", "rto"},  {"rt83", "rto"},
      {"3ry", "39y"},    {"q8x", "6x"},    {"81;", "82;"},   {"jn.d", "jnd"},  {"1xb", "db"},
      {"jp6f", "p6"},    {"p6f", "p6"},    {"jp6", "p6"},    {"-i1w", "-iw"},  {"jc;", "jc"},
      {"8131", "8h"}};
  for (const auto& r : kParts) key.Replace(r[0], r[1]);
  if (key == "rg1" || key == "rgj" || key == "rg4") {
    OneChar(out, lookuptext::kYu);
    return true;
  }
  if (key == "qono") {
    OneChar(out, lookuptext::kGao);
    return true;
  }
  if (key == "1oh") {
    OneChar(out, lookuptext::kDou);
    return true;
  }
  static const char* const kLast[][2] = {{"qono", "/"}, {"rg1", "/"}, {"rgj", "/"},
                                         {"rg4", "/"},  {"1oh", "/"}, {",d14", "rd14"},
                                         {",d4", "rd4"}};
  for (const auto& r : kLast) key.Replace(r[0], r[1]);
  return false;
}

// One pass of the shape-code retry rules after search number t (1..9)
// failed; t may advance past rules that did not apply. Returns false when
// the key became too short to retry.
bool RewriteXingMaRetry(CString& key, int& t) {
  key.Replace("1t2", kPlaceholder);
  if (key.GetLength() < kMinRetryKey) return false;
  if (t == 1) {
    bool changed = false;
    if (key.GetLength() > 0 && key[key.GetLength() - 1] == '1') {
      key.DeleteRight(1);
      changed = true;
    }
    changed |= key.Replace(",j", ",1") > 0;
    if (!changed) t = 2;
  }
  if (t == 2) {
    if (key.Replace(",8u", ",") == 0 && key.Replace("oo", "o") == 0) t = 3;
  }
  if (t == 3) {
    if (key.Replace("[1o", "[o") == 0 && key.Replace("oo", "o") == 0) t = 4;
  }
  static const char* const kByTurn[][2] = {{"_", "t"},  {"q8", "6"}, {"1z", "z"},
                                           {"sj", "s"}, {"11", "1"}, {",k", ","}};
  if (t >= 4 && t <= 9 && key.Replace(kByTurn[t - 4][0], kByTurn[t - 4][1]) == 0) ++t;
  key.Replace(kPlaceholder, "1t");
  return true;
}

}  // namespace

int CChnChars::Lookup0(CString key, FatList& out, int showTip, int ignored, int noExact) {
  m_nSegOutcome = 0;
  m_bSoleCandMapHit = 0;
  m_bTryNumCizu = 0;
  m_strTip.Empty();
  out.RemoveAll();
  m_arrWildKeys.RemoveAll();
  m_bOneBestSplit = 0;
  m_nExactHits = 0;
  const typInputSettings& cfg = cfgInputManager;
  const bool pinyin = cfg.IsPinYinMethod();
  const int w = CountOf(key, '?');

  auto tip = [&](const char* text) {
    m_strTip = text;
    if (showTip) {
      EngineHost().MessageBeep();
      EngineHost().ShowTipMsg(text);
    }
  };

  if (w > 0 && w == key.GetLength()) {
    if (w == 1 && (!pinyin || !cfg.StdPinYin)) {
      OneChar(out, lookuptext::kShen);
      return 1;
    }
    if (w == 1) m_nSegRows = 0;
    tip(lookuptext::kAllWildcards);
    return 0;
  }

  const bool wasHj = key == "hj";
  const int maxLen = cfg.useCizu ? kMaxKeyWithPhrases : kMaxKeyCharsOnly;
  if (key.GetLength() > maxLen) key = key.Left(maxLen);

  if (pinyin) {
    if (!cfg.ShuangPin) {
      if (cfg.StdPinYin && key.GetLength() > 0 && key[0] == 'v') {
        CString rest = key.Mid(1);
        RewriteV(rest);
        key = CString("v") + rest;
      } else {
        RewriteV(key);
      }
    }
  } else {
    if (wasHj) {
      tip(lookuptext::kLaoHint);
      return 0;
    }
    if (RewriteXingMaAliases(key, out)) return 1;
  }

  int t = 0;
  for (;;) {
    const int result =
        w > 0 ? LookUpWzWildCard(key, out) : Lookup_PrefixOk(key, out, ignored, noExact);
    if (pinyin) return result;
    ++t;
    if (w > 0 || t >= kMaxSearches) return result;
    if (result != 0) return 1;
    if (!RewriteXingMaRetry(key, t)) return 0;
    // A later search starts from an empty list, as the first one did.
    out.RemoveAll();
  }
}
