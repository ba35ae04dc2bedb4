// MiniDics.h: a small but complete set of engine dictionaries, built in a
// test's scratch directory with the data generator's own record writers
// (engine/formats/PhraseStoreFormat.h, engine/formats/CharDictFormat.h), so that the
// engine's loaders read exactly what the generator writes. 24 syllables of
// three characters each, a two-character phrase for each adjacent pair of
// syllables, and every per-character file.
#pragma once

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "engine/formats/CharDictFormat.h"
#include "engine/formats/PhraseStoreFormat.h"
#include "tests/support/FileText.h"

namespace minidics {

inline const std::vector<std::string>& Syllables() {
  static const std::vector<std::string> s = {
      "a",  "ai",  "an",  "ba", "bai", "ban", "ca", "cai", "can", "cha",  "chai",  "chan",
      "da", "dai", "dan", "la", "lai", "lan", "ra", "ran", "sha", "shan", "zhong", "zhuo"};
  return s;
}
constexpr int kCharsPerSyllable = 3;

// The j-th character of syllable i: a GBK code in the B0..B7 rows.
inline std::string Char(size_t i, int j) {
  const int n = static_cast<int>(i) * kCharsPerSyllable + j;
  return std::string{static_cast<char>(0xB0 + n / 90), static_cast<char>(0xA1 + n % 90)};
}
// The shape code of that character: two letters.
inline std::string ShapeCode(size_t i, int j) {
  const int n = static_cast<int>(i) * kCharsPerSyllable + j;
  return std::string{static_cast<char>('a' + n / 26), static_cast<char>('a' + n % 26)};
}

struct Phrase {
  std::string text;
  std::string pyKey;     // syllables joined
  std::string pxKey;     // shape codes of the two characters, cut to 4
  std::string initials;  // first letters of the syllables
  uint32_t offset;
};

inline std::vector<Phrase> Phrases() {
  std::vector<Phrase> out;
  uint32_t offset = 0;
  const auto& syl = Syllables();
  for (size_t i = 0; i + 1 < syl.size(); ++i) {
    Phrase p;
    p.text = Char(i, 0) + Char(i + 1, 0);
    p.pyKey = syl[i] + syl[i + 1];
    p.pxKey = ShapeCode(i, 0) + ShapeCode(i + 1, 0);
    p.initials = std::string{syl[i][0], syl[i + 1][0]};
    p.offset = offset;
    offset += static_cast<uint32_t>(p.text.size()) + 1;
    out.push_back(p);
  }
  return out;
}

inline void Write(const std::string& path, const std::string& bytes) {
  kvrtest::WriteFileText(path, bytes);
}

inline std::string StoreImage() {
  std::string plain;
  for (const Phrase& p : Phrases()) plain += p.text + '\0';
  return plain;
}

// An index image: records keyed by keyOf(phrase), sorted, entries in
// phrase order.
template <class KeyOf>
std::string IndexImage(KeyOf keyOf, int entryBytes, bool weighted) {
  std::map<std::string, std::vector<phrasestore::IndexEntry>> byKey;
  uint8_t weight = 1;
  for (const Phrase& p : Phrases()) {
    phrasestore::IndexEntry e;
    e.offset = p.offset;
    e.weight = static_cast<uint8_t>(weight++ % 31);
    byKey[keyOf(p)].push_back(e);
  }
  std::vector<phrasestore::IndexRecord> recs;
  for (auto& kv : byKey) recs.push_back({kv.first, kv.second});
  return phrasestore::WriteIndex(recs, entryBytes, weighted);
}

struct Options {
  bool xingMaIndex = true;
  bool pinYinIndex = true;
  bool weightedPinYin = false;
};

// Writes every dictionary into dir (ending with '/').
inline void WriteAll(const std::string& dir, const Options& o = Options()) {
  const auto& syl = Syllables();
  // Phrase store, scrambled.
  std::string store = StoreImage();
  phrasestore::ScrambleBlocks(reinterpret_cast<const uint8_t*>(store.data()),
                              reinterpret_cast<uint8_t*>(&store[0]), store.size());
  Write(dir + "CiZuFlat.igb", store);
  if (o.pinYinIndex)
    Write(dir + "pycizudic.idx", IndexImage([](const Phrase& p) { return p.pyKey; },
                                            o.weightedPinYin ? 4 : 3, o.weightedPinYin));
  if (o.xingMaIndex)
    Write(dir + "pxcizudic.idx", IndexImage([](const Phrase& p) { return p.pxKey; }, 3, false));
  Write(dir + "py2_3ZiCi1stZuMu.idx",
        IndexImage([](const Phrase& p) { return p.initials; }, 4, false));

  // Pinyin character list and syllables.
  std::string flat;
  std::vector<chardict::SyllableRun> runs;
  for (size_t i = 0; i < syl.size(); ++i) {
    chardict::SyllableRun r;
    r.syllable = syl[i];
    r.count = kCharsPerSyllable;
    r.start = static_cast<uint32_t>(i * kCharsPerSyllable);
    runs.push_back(r);
    for (int j = 0; j < kCharsPerSyllable; ++j) flat += Char(i, j);
  }
  Write(dir + "gbkflat.dic", flat);
  Write(dir + "pykeys.dic", chardict::WritePyKeys(runs));

  // Shape codes, readings, ranks.
  std::vector<chardict::ShapeCodeRecord> shapes;
  std::vector<chardict::CodeRecord> pxCodes, pyCodes;
  std::vector<chardict::ToneRecord> tones;
  std::vector<std::pair<std::string, std::string>> sole;
  std::string sortDic;
  uint32_t rank = 1;
  for (size_t i = 0; i < syl.size(); ++i) {
    for (int j = 0; j < kCharsPerSyllable; ++j) {
      const std::string ch = Char(i, j);
      shapes.push_back({ShapeCode(i, j), {ch}});
      pxCodes.push_back({ch, {ShapeCode(i, j)}});
      pyCodes.push_back({ch, {syl[i]}});
      chardict::ToneRecord t;
      t.ch = ch;
      t.readings.push_back({syl[i], {1 + j, 5}});
      t.common = j == 0;
      tones.push_back(t);
      sole.emplace_back(ShapeCode(i, j) + "z", ch);
      sortDic += chardict::SortDicLine(ch, rank++);
    }
  }
  std::sort(shapes.begin(), shapes.end(),
            [](const auto& a, const auto& b) { return a.code < b.code; });
  Write(dir + "chdicres.bin", chardict::WriteShapeCodeList(shapes));
  Write(dir + "ch2key.bin", chardict::WriteCharCodes(pxCodes));
  Write(dir + "ch2py.bin", chardict::WriteCharCodes(pyCodes));
  Write(dir + "ch2pypz1.bin", chardict::WriteToneReadings(tones, false, 1));
  Write(dir + "ch2pypz2.bin", chardict::WriteToneReadings(tones, true, 1));
  Write(dir + "chndic2.bin", chardict::WriteStringMap(sole));
  Write(dir + "sort.dic", sortDic);
  Write(dir + "py_1key.dic", "; one-key lists\nb\n" + Char(3, 0) + Char(3, 1) + "\n" + Char(4, 0) +
                                 "\nz\n" + Char(22, 0) + "\nx\n");
}

}  // namespace minidics
