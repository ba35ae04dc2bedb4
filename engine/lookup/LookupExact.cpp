// The exact lookup: the candidates filed under exactly the typed key in the
// character lists and phrase indexes, the one-letter lists and the symbol
// list of pinyin, and the ordering and filtering of exact hits by usage
// rank (SortAndRemoveRareChar).
#include <cctype>
#include <cstdint>
#include <vector>

#include "engine/CChnChars.h"
#include "engine/lookup/KeyScan.h"
#include "engine/lookup/LookupTexts.h"

using keyscan::FatList;

namespace {

constexpr int kRankOfUnranked = 450;  // usage rank of a character sort.dic lacks
constexpr int kPhraseWeight = 2000;   // sort weight of a phrase

bool IsVowelKey(char c) { return c == 'a' || c == 'e' || c == 'o'; }

// The characters of the one-key list of letter, each a kind 0 candidate
// whose key is the typed letter. Lists exist for 'b' to 'z' only.
void AppendOneKeyChars(const CChnChars& e, char letter, const char* typed, FatList& out) {
  if (letter < 'b' || letter > 'z') return;
  const CString& list = e.m_str1KeyPy[letter - 'b'];
  const auto* p = reinterpret_cast<const uint8_t*>(list.GetString());
  const int n = list.GetLength();
  for (int i = 0; i + 1 < n && p[i] >= 0x80; i += 2) {
    typCharFatFmt c = typCharFatFmt::Char(p[i], p[i + 1]);
    c.SetKey(typed);
    out.Add(c);
  }
}

void AppendSymbols(FatList& out) {
  const auto* p = reinterpret_cast<const uint8_t*>(gBiaoDian);
  for (int i = 0; p[i] >= 0x80 && p[i + 1] != 0; i += 2) {
    typCharFatFmt c = typCharFatFmt::Char(p[i], p[i + 1]);
    c.SetKey("v");
    out.Add(c);
  }
}

}  // namespace

int CChnChars::LookupExact(CString key, FatList& out, int what) {
  const typInputSettings& cfg = cfgInputManager;
  const bool pinyin = cfg.IsPinYinMethod();
  const int len = key.GetLength();
  if (pinyin && cfg.StdPinYin) {
    // The V-mode key: 'v' in full pinyin; in ShuangPin, where 'v' is the
    // initial zh, the 'V' that the V-mode hot key types. A ShuangPin key
    // that reaches here unconverted (one with wildcards) and starts with a
    // lower-case 'v' is pinyin, not a symbol name.
    const char vKey = cfg.ShuangPin ? 'V' : 'v';
    if (len == 1 && key[0] == vKey) {
      out.RemoveAll();
      AppendSymbols(out);
      return 1;
    }
    if (len > 0 && key[0] == vKey) {
      out.RemoveAll();
      return UnitCiMatch(key.Mid(1), out);
    }
  }

  int found = 0;
  FatList chars, phrases;
  if (pinyin && len == 1 && !IsVowelKey(key[0]) && isalpha(static_cast<unsigned char>(key[0])) &&
      (cfg.StdPinYin || m_nZuCiMode == 0)) {
    if (!cfg.StdPinYin) {
      found = LookupExactHelper(key, chars, 0, kXingMa);
      out.Append(chars);
    } else {
      char letter = key[0];
      if (cfg.ShuangPin && cfg.ShuangPinScheme == 1) {
        if (letter == 'u')
          letter = 'i';
        else if (letter == 'i')
          letter = 'u';
      }
      out.RemoveAll();
      AppendOneKeyChars(*this, letter, key, out);
      found = out.GetSize() > 0;
    }
  } else {
    const typInputMethod method = pinyin ? kPinYin : kXingMa;
    int foundChars = 0, foundPhrases = 0;
    if (!pinyin || (m_nApostrophes == 0 && what != 2))
      foundChars = LookupExactHelper(key, chars, 0, method);
    const bool wantPhrases = pinyin ? (what != 1 && len > 1) : cfg.useCizu != 0;
    if (wantPhrases) foundPhrases = LookupExactHelper(key, phrases, 1, method);
    out.RemoveAll();
    out.Append(chars);
    out.Append(phrases);
    found = foundChars || foundPhrases;
  }
  SortAndRemoveRareChar(out);
  return found ? 1 : 0;
}

int CChnChars::LookupExactHelper(CString key, FatList& out, int mode, typInputMethod method) {
  out.RemoveAll();
  keyscan::KeyList list;
  switch (mode) {
    case 0: list = keyscan::CharList(*this, method); break;
    case 2: list = keyscan::ShouZiMuList(*this); break;
    default: list = keyscan::CiZuList(*this, method); break;
  }
  keyscan::Record r;
  if (!keyscan::FindExact(list, key, key.GetLength(), r)) return 0;

  if (mode == 0 && list.pyKeys) {
    const keyscan::PyRun run = keyscan::PyRunOf(*this, list, r);
    if (run.count > 0) {
      const uint8_t* first = keyscan::PyFlatChar(*this, run.start);
      if (first[0] == lookuptext::kJumper.lead && first[1] == lookuptext::kJumper.trail) {
        // A fuzzy partner: its characters are filed under the common form.
        CString common;
        if (!GetFuzziPyCommonFactor(key, common)) return 0;
        return LookupExactHelper(common, out, 0, kPinYin);
      }
    }
    for (uint32_t i = 0; i < run.count; ++i) {
      const uint8_t* c = keyscan::PyFlatChar(*this, run.start + i);
      typCharFatFmt rec = typCharFatFmt::Char(c[0], c[1]);
      rec.SetKey(key);
      out.Add(rec);
    }
    return 1;
  }

  int kept = 0;
  for (uint32_t p = r.dataPos; p < r.next; p += static_cast<uint32_t>(list.entryLen)) {
    const uint8_t* entry = list.data + p;
    typCharFatFmt rec =
        mode == 0 ? typCharFatFmt::Char(entry[0], entry[1]) : typCharFatFmt::Phrase(entry, 0);
    rec.SetKey(key);
    // Initials of long phrases: only phrases with a character per key.
    if (mode == 3 && keyscan::TextChars(rec) < key.GetLength()) continue;
    out.Add(rec);
    ++kept;
  }
  return mode == 3 ? (kept > 0 ? 1 : 0) : 1;
}

void CChnChars::SortAndRemoveRareChar(FatList& list) {
  const int n = list.GetSize();
  if (n == 0 || (n == 1 && m_nApostrophes == 0)) return;
  const typInputSettings& cfg = cfgInputManager;
  const bool pinyin = cfg.IsPinYinMethod();
  const bool wildKeys = m_strKeySeq.Find('?') >= 0 && m_arrWildKeys.GetSize() == n;

  struct typFatFmtSortRec {
    typCharFatFmt rec;
    int nWeight;
    int nIndex;
  };
  std::vector<typFatFmtSortRec> kept;
  kept.reserve(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) {
    typFatFmtSortRec s{list[i], 0, i};
    if (s.rec.kind == kFatPhrase) {
      s.nWeight = kPhraseWeight;
      if (pinyin && m_nApostrophes >= 1 && keyscan::TextChars(s.rec) < m_nApostrophes + 1) continue;
    } else {
      const uint16_t ch = static_cast<uint16_t>(s.rec.data[0] | (s.rec.data[1] << 8));
      const int32_t rank = m_mapCh2Usage.RankOf(ch);
      s.nWeight = rank == CharUsageRanks::kNone ? kRankOfUnranked : static_cast<int>(rank);
      if (!pinyin && s.nWeight >= cfg.ExcludeLevel) continue;
    }
    kept.push_back(s);
  }

  const bool sort =
      !pinyin || (!cfg.StdPinYin && m_strKeySeq.GetLength() == 1 && !IsVowelKey(m_strKeySeq[0]));
  if (sort) {
    // The exchange sort the candidate order has always had: each position
    // takes, in turn, every later record lighter than what it holds. It is
    // not stable (5, 5, 3 gives 3 and the two 5s swapped); the order the
    // user sees follows from exactly this.
    const size_t k = kept.size();
    for (size_t i = 0; i + 1 < k; ++i)
      for (size_t j = i + 1; j < k; ++j)
        if (kept[j].nWeight < kept[i].nWeight) std::swap(kept[i], kept[j]);
  }

  list.RemoveAll();
  for (const typFatFmtSortRec& s : kept) list.Add(const_cast<typCharFatFmt&>(s.rec));
  if (wildKeys) {
    CStringArray keys;
    for (const typFatFmtSortRec& s : kept) keys.Add(m_arrWildKeys[s.nIndex]);
    m_arrWildKeys.RemoveAll();
    for (int i = 0; i < keys.GetSize(); ++i) m_arrWildKeys.Add(keys[i]);
  }
}
