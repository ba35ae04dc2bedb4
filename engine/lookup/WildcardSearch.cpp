// The wildcard search: '?' stands for one or more key characters; the text
// before the first '?' and after the last must match the start and the end
// of a dictionary key. The sorted key lists are scanned for every matching
// key, and the characters and phrases filed under them are collected, each
// once, with the key that matched first.
#include <cstring>
#include <string_view>

#include "engine/CChnChars.h"
#include "engine/lookup/KeyScan.h"
#include "engine/lookup/LookupTexts.h"

using keyscan::FatList;

namespace {

constexpr int kMaxResults = 960;      // a search stops taking records beyond this
constexpr int kPhraseResults = 200;   // phrases are searched only below this
constexpr int kInitialsKeyLimit = 4;  // pinyin keys shorter than this search the initials

enum class Verdict { kNoMatch, kMatch, kPassed };

// Whether key k matches pattern p (both without NUL inside); kPassed when k
// sorts after every key that could match, so the walk can stop after it.
Verdict Match(std::string_view p, std::string_view k) {
  const size_t f = p.find('?');
  const size_t last = p.rfind('?');
  if (k.size() < p.size()) return Verdict::kNoMatch;
  for (size_t i = 0; i < f; ++i)
    if (p[i] != k[i])
      return static_cast<uint8_t>(k[i]) > static_cast<uint8_t>(p[i]) ? Verdict::kPassed
                                                                     : Verdict::kNoMatch;
  const std::string_view suffix = p.substr(last + 1);
  if (k.substr(k.size() - suffix.size()) != suffix) return Verdict::kNoMatch;
  // The middle: each '?' takes one character; a literal run between two
  // '?' is found at its first occurrence in what is left.
  size_t kp = f;  // next unused character of k
  const size_t kEnd = k.size() - suffix.size();
  size_t pp = f;
  while (pp <= last) {
    if (p[pp] == '?') {
      if (kp >= kEnd) return Verdict::kNoMatch;
      ++kp;
      ++pp;
      continue;
    }
    const size_t runEnd = p.find('?', pp);
    const std::string_view run = p.substr(pp, runEnd - pp);
    const size_t at = k.substr(0, kEnd).find(run, kp);
    if (at == std::string_view::npos) return Verdict::kNoMatch;
    kp = at + run.size();
    pp = runEnd;
    // What is left must still hold one character per remaining '?'.
    size_t need = 0;
    for (size_t i = pp; i <= last; ++i) need += p[i] == '?' ? 1 : 0;
    if (kEnd - kp < need) return Verdict::kNoMatch;
  }
  return Verdict::kMatch;
}

bool SameBytes(const typCharFatFmt& a, const typCharFatFmt& b, int n) {
  return memcmp(a.data, b.data, static_cast<size_t>(n)) == 0;
}

}  // namespace

int CChnChars::LookUpWzWildCard(CString key, FatList& out) {
  out.RemoveAll();
  m_arrWildKeys.RemoveAll();
  if (key.GetLength() < 2) return 0;
  const typInputSettings& cfg = cfgInputManager;
  const bool pinyin = cfg.IsPinYinMethod();
  CStringArray keys;
  if (m_nApostrophes == 0 && LookUpWzWildCardHelper(key, out, keys, 0))
    for (int i = 0; i < keys.GetSize(); ++i) m_arrWildKeys.Add(keys[i]);
  if (pinyin || (cfg.useCizu == 1 && key.GetLength() > 3)) {
    FatList initials, phrases;
    CStringArray initialKeys, phraseKeys;
    if (pinyin && key.GetLength() < kInitialsKeyLimit)
      LookUpWzWildCardHelper(key, initials, initialKeys, 2);
    if (out.GetSize() + initials.GetSize() < kPhraseResults)
      LookUpWzWildCardHelper(key, phrases, phraseKeys, 1);
    out.Append(initials);
    out.Append(phrases);
    for (int i = 0; i < initialKeys.GetSize(); ++i) m_arrWildKeys.Add(initialKeys[i]);
    for (int i = 0; i < phraseKeys.GetSize(); ++i) m_arrWildKeys.Add(phraseKeys[i]);
  }
  return out.GetSize() > 0 ? 1 : 0;
}

int CChnChars::LookUpWzWildCardHelper(CString pattern, FatList& out, CStringArray& keys, int mode) {
  out.RemoveAll();
  keys.RemoveAll();
  const int f = pattern.Find('?');
  if (f < 0) return 0;
  const typInputSettings& cfg = cfgInputManager;
  const bool pinyin = cfg.IsPinYinMethod();
  const int method = pinyin ? kPinYin : kXingMa;
  keyscan::KeyList l;
  switch (mode) {
    case 0: l = keyscan::CharList(*this, method); break;
    case 2: l = keyscan::ShouZiMuList(*this); break;
    default: l = keyscan::CiZuList(*this, method); break;
  }
  if (!l.Loaded()) return 0;
  uint32_t start = 0;
  if (f > 0) {
    const CString head = pattern.Left(f < 2 ? f : 2);
    start = keyscan::StartOf(l, head);
  }
  const std::string_view p(pattern.GetString(), static_cast<size_t>(pattern.GetLength()));

  auto add = [&](typCharFatFmt rec, int nBytes, const CString& k) {
    for (int i = 0; i < out.GetSize(); ++i)
      if (SameBytes(out[i], rec, nBytes)) return;
    if (pinyin && mode != 0 && keyscan::TextChars(rec) <= m_nApostrophes) return;
    rec.SetKey(k);
    out.Add(rec);
    keys.Add(k);
  };

  keyscan::Record r;
  for (uint32_t pos = start; keyscan::ReadRecord(l, pos, r); pos = r.next) {
    const std::string_view k(r.Key(l), r.keyLen);
    const Verdict v = Match(p, k);
    if (v == Verdict::kPassed) break;
    if (v == Verdict::kNoMatch) continue;
    if (out.GetSize() > kMaxResults) break;
    CString recKey;
    recKey.AddChars(r.Key(l), 0, static_cast<int>(r.keyLen));
    if (mode == 0 && l.pyKeys) {
      const keyscan::PyRun run = keyscan::PyRunOf(*this, l, r);
      for (uint32_t i = 0; i < run.count; ++i) {
        const uint8_t* c = keyscan::PyFlatChar(*this, run.start + i);
        // A fuzzy partner's mark is no character to offer.
        if (c[0] == lookuptext::kJumper.lead && c[1] == lookuptext::kJumper.trail) continue;
        typCharFatFmt rec = typCharFatFmt::Char(c[0], c[1]);
        // A character of the learned order carries its usage weight.
        if (m_nPyFlatEntryLen == 3) rec.data[2] = c[2];
        add(rec, m_nPyFlatEntryLen, recKey);
      }
      continue;
    }
    for (uint32_t q = r.dataPos; q < r.next; q += static_cast<uint32_t>(l.entryLen)) {
      const uint8_t* en = l.data + q;
      if (mode == 0) {
        add(typCharFatFmt::Char(en[0], en[1]), 2, recKey);
      } else {
        typCharFatFmt rec = typCharFatFmt::Phrase(en, l.entryLen == 4 ? en[3] : 0);
        add(rec, l.entryLen, recKey);
      }
    }
  }
  return out.GetSize() > 0 ? 1 : 0;
}
