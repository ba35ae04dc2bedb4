#include "tools/datagen/Model.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <set>
#include <unordered_map>

#include "tools/datagen/Text.h"

namespace datagen {
namespace {

// A source file: its name, where it goes, and whether it may be bz2.
bool LoadOne(const std::string& dir, const std::string& name, bool strict, std::string& error,
             const std::function<bool(const std::string&)>& read) {
  const std::string path = dir + "/" + name;
  if (read(path)) return true;
  if (strict) {
    error = "cannot read source " + path;
    return false;
  }
  return true;
}

// A reading the generator takes: a parsed syllable that is not one of the
// interjections' own.
bool ParseReading(const std::string& text, Syllable& out) {
  return ParseSyllable(text, out) && !IsInterjectionSyllable(out.text);
}

double ParseWeight(const std::string& w) { return w.empty() ? 0 : std::strtod(w.c_str(), nullptr); }

// Every reading token of a Unihan value: "0121.040:cháng 1456.020:zhǎng" or
// "10028.100:zhōng,zhòng" or "zhōng zhòng".
std::vector<Syllable> UnihanSyllables(const std::string& value) {
  std::vector<Syllable> out;
  for (std::string token : Split(value, " ")) {
    const size_t colon = token.find(':');
    if (colon != std::string::npos) token = token.substr(colon + 1);
    for (const std::string& s : Split(token, ",")) {
      Syllable syl;
      if (ParseReading(s, syl)) out.push_back(syl);
    }
  }
  return out;
}

void AddToned(std::vector<TonedReading>& list, const Syllable& s) {
  const int tone = s.tone == 0 ? 5 : s.tone;
  for (TonedReading& r : list) {
    if (r.syllable == s.text) {
      if (std::find(r.tones.begin(), r.tones.end(), tone) == r.tones.end()) r.tones.push_back(tone);
      return;
    }
  }
  list.push_back(TonedReading{s.text, {tone}});
}

}  // namespace

bool IsInterjectionSyllable(const std::string& syllable) {
  static const char* const kInterjections[] = {"m", "n", "ng", "hm", "hng", "eh"};
  for (const char* s : kInterjections)
    if (syllable == s) return true;
  return false;
}

bool LoadInputs(const Options& opt, Inputs& in, std::string& error) {
  const std::string& r = opt.rimeDir;
  auto rime = [&](const char* name, std::vector<RimeEntry>& to) {
    return LoadOne(r, name, opt.strict, error,
                   [&to](const std::string& p) { return ReadRimeDict(p, to); });
  };
  if (!rime("pinyin_simp.dict.yaml", in.pinyinSimp) || !rime("luna_pinyin.dict.yaml", in.luna) ||
      !rime("terra_pinyin.dict.yaml", in.terra) || !rime("wubi86.dict.yaml", in.wubi) ||
      !rime("stroke.dict.yaml", in.stroke))
    return false;
  if (!LoadOne(r, "essay.txt", opt.strict, error,
               [&in](const std::string& p) { return ReadEssay(p, in.essay); }))
    return false;
  if (!LoadOne(r, "symbols.yaml", opt.strict, error,
               [&in](const std::string& p) { return ReadSymbolGroups(p, in.symbols); }))
    return false;
  for (const char* name : {"Unihan_Readings.txt", "Unihan_Variants.txt"}) {
    std::string text;
    const std::string base = opt.unihanDir + "/" + name;
    if (!ReadWholeFile(base, text) && !ReadWholeFile(base + ".bz2", text) && opt.strict) {
      error = "cannot read source " + base + "(.bz2)";
      return false;
    }
    ParseUnihan(text, in.unihan);
  }
  {
    std::string text;
    const std::string path = opt.unihanDir + "/UnicodeData.txt";
    if (!ReadWholeFile(path, text) && opt.strict) {
      error = "cannot read source " + path;
      return false;
    }
    ParseCanonicalSingletons(text, in.canonical);
  }
  auto cc = [&](const char* name, OpenccDict& to) {
    return LoadOne(opt.openccDir, name, opt.strict, error,
                   [&to](const std::string& p) { return ReadOpenccText(p, to); });
  };
  return cc("TSCharacters.txt", in.tsChars) && cc("TSPhrases.txt", in.tsPhrases) &&
         cc("STCharacters.txt", in.stChars) && cc("TWVariants.txt", in.twVariants);
}

const CharInfo* Model::Find(char32_t cp) const {
  if (cp >= m_index.size() || m_index[cp] < 0) return nullptr;
  return &m_chars[static_cast<size_t>(m_index[cp])];
}

CharInfo* Model::FindMutable(char32_t cp) {
  return const_cast<CharInfo*>(static_cast<const Model*>(this)->Find(cp));
}

std::u32string Model::ToSimplified(const std::u32string& s) const {
  std::u32string out;
  size_t i = 0;
  while (i < s.size()) {
    bool matched = false;
    for (size_t len = std::min(m_maxPhraseKey, s.size() - i); len >= 2; --len) {
      const auto it = m_tsPhrases.find(s.substr(i, len));
      if (it != m_tsPhrases.end()) {
        out += it->second;
        i += len;
        matched = true;
        break;
      }
    }
    if (matched) continue;
    const auto it = m_tsChars.find(s[i]);
    out.push_back(it == m_tsChars.end() ? s[i] : it->second);
    ++i;
  }
  return out;
}

bool Model::Build(const Inputs& in, std::string& error) {
  m_in = &in;
  for (const auto& kv : in.tsPhrases) {
    if (kv.second.empty()) continue;
    const std::u32string key = DecodeUtf8(kv.first);
    m_tsPhrases[key] = DecodeUtf8(kv.second[0]);
    m_maxPhraseKey = std::max(m_maxPhraseKey, key.size());
  }
  for (const auto& kv : in.tsChars) {
    const std::u32string key = DecodeUtf8(kv.first),
                         to = kv.second.empty() ? U"" : DecodeUtf8(kv.second[0]);
    if (key.size() == 1 && to.size() == 1) m_tsChars[key[0]] = to[0];
  }
  CollectChars();
  if (m_chars.empty()) {
    error = "no GBK Han characters found (iconv GBK missing?)";
    return false;
  }
  CollectFrequencies();
  CollectReadings();
  BorrowCanonicalReadings();
  CollectTones();
  CollectShapeAndStrokes();
  AssignRanks();
  CollectPhrases();
  return true;
}

void Model::CollectChars() {
  m_index.assign(0x10000, -1);  // every GBK character is in the BMP
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    for (int trail = 0x40; trail <= 0xFE; ++trail) {
      if (trail == 0x7F) continue;
      const auto code = static_cast<uint16_t>(lead << 8 | trail);
      const char32_t cp = FromGbk(code);
      if (!IsHan(cp)) continue;
      CharInfo c;
      c.cp = cp;
      c.gbk = std::string{static_cast<char>(lead), static_cast<char>(trail)};
      if (cp >= m_index.size()) continue;
      m_index[cp] = static_cast<int32_t>(m_chars.size());
      m_chars.push_back(std::move(c));
    }
  }
}

void Model::CollectFrequencies() {
  for (const EssayEntry& e : m_in->essay) {
    m_wordFreq[EncodeUtf8(ToSimplified(DecodeUtf8(e.text)))] += static_cast<double>(e.freq);
  }
  for (CharInfo& c : m_chars) {
    const auto it = m_wordFreq.find(EncodeUtf8(c.cp));
    if (it != m_wordFreq.end()) c.freq = it->second;
  }
}

void Model::CollectReadings() {
  // Per character: reading -> weight (pinyin_simp) and reading -> share in
  // percent, or -1 when not given (luna_pinyin).
  std::map<char32_t, std::vector<std::pair<std::string, double>>> simp, luna;
  auto collect = [](const std::vector<RimeEntry>& src, auto& to, bool percent) {
    for (const RimeEntry& e : src) {
      const std::u32string t = DecodeUtf8(e.text);
      Syllable s;
      if (t.size() != 1 || !ParseReading(e.code, s)) continue;
      double w = ParseWeight(e.weight);
      if (percent && e.weight.find('%') == std::string::npos) w = -1;
      auto& list = to[t[0]];
      auto it =
          std::find_if(list.begin(), list.end(), [&](const auto& p) { return p.first == s.text; });
      if (it == list.end()) {
        list.emplace_back(s.text, w);
      } else if (w > it->second) {
        it->second = w;
      }
    }
  };
  collect(m_in->pinyinSimp, simp, false);
  collect(m_in->luna, luna, true);
  for (CharInfo& c : m_chars) {
    std::vector<std::pair<std::string, double>> r;
    const auto s = simp.find(c.cp);
    const auto l = luna.find(c.cp);
    if (s != simp.end()) {
      double total = 0;
      for (const auto& p : s->second) total += p.second;
      for (const auto& p : s->second)
        r.emplace_back(p.first, total > 0 ? p.second / total : 1.0 / s->second.size());
    }
    if (l != luna.end()) {
      double known = 0;
      int unknown = 0;
      for (const auto& p : l->second) {
        if (p.second >= 0)
          known += p.second / 100;
        else
          ++unknown;
      }
      const double rest = unknown > 0 ? std::max(0.05, 1 - known) / unknown : 0;
      // Readings that pinyin_simp lacks count for little beside its own.
      const double scale = r.empty() ? 1.0 : 0.01;
      for (const auto& p : l->second) {
        if (std::any_of(r.begin(), r.end(), [&](const auto& q) { return q.first == p.first; }))
          continue;
        r.emplace_back(p.first, scale * (p.second >= 0 ? p.second / 100 : rest));
      }
    }
    if (r.empty()) {
      const auto u = m_in->unihan.find(c.cp);
      if (u != m_in->unihan.end()) {
        for (const std::string* v : {&u->second.mandarin, &u->second.xhc1983, &u->second.tghz2013,
                                     &u->second.hanyuPinyin}) {
          if (!r.empty()) break;
          for (const Syllable& syl : UnihanSyllables(*v)) {
            if (std::none_of(r.begin(), r.end(),
                             [&](const auto& q) { return q.first == syl.text; }))
              r.emplace_back(syl.text, 1.0 / (r.size() + 1));
          }
        }
      }
    }
    std::stable_sort(r.begin(), r.end(),
                     [](const auto& a, const auto& b) { return a.second > b.second; });
    c.readings = std::move(r);
  }
}

// A compatibility ideograph without readings of its own reads as the
// unified ideograph it stands for.
void Model::BorrowCanonicalReadings() {
  for (CharInfo& c : m_chars) {
    if (!c.readings.empty()) continue;
    const auto it = m_in->canonical.find(c.cp);
    if (it == m_in->canonical.end()) continue;
    if (const CharInfo* u = Find(it->second)) c.readings = u->readings;
  }
}

void Model::CollectTones() {
  std::map<char32_t, std::vector<TonedReading>> toned;
  for (const RimeEntry& e : m_in->terra) {
    const std::u32string t = DecodeUtf8(e.text);
    Syllable s;
    if (t.size() == 1 && ParseReading(e.code, s)) AddToned(toned[t[0]], s);
  }
  for (const auto& kv : m_in->unihan) {
    for (const std::string* v :
         {&kv.second.mandarin, &kv.second.tghz2013, &kv.second.xhc1983, &kv.second.hanyuPinyin}) {
      for (const Syllable& s : UnihanSyllables(*v)) AddToned(toned[kv.first], s);
    }
  }
  for (CharInfo& c : m_chars) {
    auto it = toned.find(c.cp);
    if (it == toned.end()) {
      // Else the readings of the unified form or of the traditional form.
      std::vector<char32_t> trad;
      const auto canon = m_in->canonical.find(c.cp);
      if (canon != m_in->canonical.end()) trad.push_back(canon->second);
      const auto u = m_in->unihan.find(c.cp);
      if (u != m_in->unihan.end()) trad = u->second.traditional;
      const auto st = m_in->stChars.find(EncodeUtf8(c.cp));
      if (st != m_in->stChars.end()) {
        for (const std::string& t : st->second) {
          const std::u32string d = DecodeUtf8(t);
          if (d.size() == 1) trad.push_back(d[0]);
        }
      }
      for (char32_t t : trad) {
        it = toned.find(t);
        if (it != toned.end()) break;
      }
      if (it == toned.end()) continue;
    }
    std::vector<TonedReading> list = it->second;
    // Most used readings first, as the untoned readings are ordered.
    auto order = [&c](const TonedReading& r) {
      for (size_t i = 0; i < c.readings.size(); ++i) {
        if (c.readings[i].first == r.syllable) return i;
      }
      return c.readings.size();
    };
    std::stable_sort(list.begin(), list.end(), [&](const TonedReading& a, const TonedReading& b) {
      return order(a) < order(b);
    });
    c.toned = std::move(list);
  }
}

void Model::CollectShapeAndStrokes() {
  for (const RimeEntry& e : m_in->wubi) {
    const std::u32string t = DecodeUtf8(e.text);
    if (t.size() != 1) continue;
    CharInfo* c = FindMutable(t[0]);
    if (c == nullptr || e.code.empty() ||
        !std::all_of(e.code.begin(), e.code.end(), [](char k) { return k >= 'a' && k <= 'y'; }))
      continue;
    const double w = ParseWeight(e.weight);
    auto it = std::find_if(c->wubi.begin(), c->wubi.end(),
                           [&](const auto& p) { return p.first == e.code; });
    if (it == c->wubi.end()) {
      c->wubi.emplace_back(e.code, w);
    } else {
      it->second = std::max(it->second, w);
    }
  }
  for (CharInfo& c : m_chars) {
    double best = -1;
    for (const auto& p : c.wubi) {
      if (p.first.size() > c.fullWubi.size() ||
          (p.first.size() == c.fullWubi.size() && p.second > best)) {
        c.fullWubi = p.first;
        best = p.second;
      }
    }
  }
  for (const RimeEntry& e : m_in->stroke) {
    const std::u32string t = DecodeUtf8(e.text);
    if (t.size() != 1) continue;
    CharInfo* c = FindMutable(t[0]);
    if (c == nullptr || !c->strokes.empty()) continue;
    if (std::all_of(e.code.begin(), e.code.end(),
                    [](char k) { return std::strchr("hspnz", k) != nullptr; }))
      c->strokes = e.code;
  }
}

void Model::AssignRanks() {
  std::vector<size_t> order(m_chars.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(),
                   [this](size_t a, size_t b) { return m_chars[a].freq > m_chars[b].freq; });
  // Bands: the common characters rank below 1000, the less common below
  // 1500, the rest below 10000, so that the three exclusion levels of the
  // shape code (1000, 1500, 10000) keep common, less common and all.
  auto band = [](size_t i, size_t from, size_t to, uint32_t lo, uint32_t hi) {
    const size_t span = to - from > 1 ? to - from - 1 : 1;
    return lo + static_cast<uint32_t>((i - from) * (hi - lo) / span);
  };
  const size_t n = order.size();
  for (size_t i = 0; i < n; ++i) {
    CharInfo& c = m_chars[order[i]];
    if (i < kCommonChars) {
      c.rank = band(i, 0, std::min(n, kCommonChars), 1, 999);
      c.common = c.freq > 0;
    } else if (i < kLessCommonChars) {
      c.rank = band(i, kCommonChars, std::min(n, kLessCommonChars), 1000, 1499);
    } else {
      c.rank = band(i, kLessCommonChars, n, 1500, 9999);
    }
  }
}

void Model::CollectPhrases() {
  std::unordered_map<std::string, Phrase> cand;
  auto take = [&](const std::string& text) -> Phrase* {
    const std::u32string cps = DecodeUtf8(text);
    if (cps.size() < 2) return nullptr;
    for (char32_t c : cps) {
      if (Find(c) == nullptr) return nullptr;
    }
    Phrase& p = cand[text];
    if (p.text.empty()) {
      p.text = text;
      p.cps.assign(cps.begin(), cps.end());
    }
    return &p;
  };
  auto addPinyin = [](Phrase& p, const std::string& code) {
    std::vector<std::string> syls;
    for (const std::string& s : Split(code, " ")) {
      Syllable syl;
      if (!ParseReading(s, syl)) return;
      syls.push_back(syl.text);
    }
    if (syls.size() != p.cps.size()) return;
    if (std::find(p.explicitPinyin.begin(), p.explicitPinyin.end(), syls) == p.explicitPinyin.end())
      p.explicitPinyin.push_back(syls);
  };
  for (const RimeEntry& e : m_in->pinyinSimp) {
    if (Phrase* p = take(e.text)) {
      addPinyin(*p, e.code);
      p->freq = std::max(p->freq, ParseWeight(e.weight));
      p->inDictionary = true;
    }
  }
  for (const RimeEntry& e : m_in->luna) {
    if (Phrase* p = take(EncodeUtf8(ToSimplified(DecodeUtf8(e.text))))) {
      addPinyin(*p, e.code);
      p->inDictionary = true;
    }
  }
  for (const auto& kv : m_wordFreq) {
    if (kv.second <= 0) continue;
    if (Phrase* p = take(kv.first)) p->freq = std::max(p->freq, kv.second);
  }
  m_phrases.reserve(cand.size());
  for (auto& kv : cand) {
    Phrase& p = kv.second;
    const auto it = m_wordFreq.find(p.text);
    if (it != m_wordFreq.end()) p.freq = std::max(p.freq, it->second);
    std::u32string u(p.cps.begin(), p.cps.end());
    p.gbk = ToGbk(u);
    m_phrases.push_back(std::move(p));
  }
  // Most frequent first; equal frequencies in GBK order, so that every run
  // writes the same bytes.
  std::sort(m_phrases.begin(), m_phrases.end(), [](const Phrase& a, const Phrase& b) {
    return a.freq != b.freq ? a.freq > b.freq : a.gbk < b.gbk;
  });
}

}  // namespace datagen
