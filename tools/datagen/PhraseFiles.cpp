// The phrase store and the three phrase indexes. Every phrase is filed under
// the keys the engine's own key rule gives it (engine/formats/PhraseKeyRule.h), so a
// shipped phrase is typed exactly as the same phrase learned by the user.
#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "engine/formats/PhraseKeyRule.h"
#include "engine/formats/PhraseStoreFormat.h"
#include "tools/datagen/Builders.h"

namespace datagen {
namespace {

using KeyMap = std::unordered_map<std::string, std::vector<phrasestore::IndexEntry>>;

// Composed readings of a phrase without a dictionary reading: the main
// readings of each character, cut to the first one when the combinations
// would pass this number.
constexpr size_t kMaxComposedCombinations = 8;

// Usage weight of a shipped phrase: its log frequency, leaving room above
// for learning to raise it.
uint8_t InitialWeight(double freq) {
  const double w = std::floor(std::log2(freq + 1));
  return static_cast<uint8_t>(std::min<double>(std::max(w, 1.0), 24));
}

std::vector<std::vector<std::vector<std::string>>> PinyinVariants(const Model& m, const Phrase& p) {
  std::vector<std::vector<std::vector<std::string>>> out;
  for (const auto& syls : p.explicitPinyin) {
    std::vector<std::vector<std::string>> v;
    for (const std::string& s : syls) v.push_back({s});
    out.push_back(std::move(v));
  }
  if (!out.empty()) return out;
  std::vector<std::vector<std::string>> v;
  size_t combos = 1;
  for (char32_t cp : p.cps) {
    std::vector<std::string> r = MainReadings(*m.Find(cp));
    if (r.empty()) return out;
    if (r.size() > 2) r.resize(2);
    combos *= r.size();
    v.push_back(std::move(r));
  }
  if (combos > kMaxComposedCombinations) {
    for (auto& r : v) r.resize(1);
  }
  out.push_back(std::move(v));
  return out;
}

void FileUnder(KeyMap& map, const std::vector<std::string>& keys, uint32_t offset, uint8_t weight,
               size_t cap, size_t& tooLong) {
  for (const std::string& k : keys) {
    if (!phrasestore::IsValidKey(k)) {
      ++tooLong;
      continue;
    }
    auto& entries = map[k];
    if (entries.size() < cap) entries.push_back({offset, weight});
  }
}

// The records of a key map in strcmp order (std::string compares bytes as
// unsigned, as strcmp does).
std::vector<phrasestore::IndexRecord> Records(KeyMap& map) {
  std::vector<phrasestore::IndexRecord> out;
  out.reserve(map.size());
  for (auto& kv : map) {
    if (!kv.second.empty()) out.push_back({kv.first, std::move(kv.second)});
  }
  std::sort(out.begin(), out.end(),
            [](const phrasestore::IndexRecord& a, const phrasestore::IndexRecord& b) {
              return a.key < b.key;
            });
  return out;
}

}  // namespace

void BuildPhraseFiles(const Model& m, const PhraseFloors& floors, FileSet& files, Report& report) {
  // The store opens with an empty phrase: the lexicon takes offset 0 to mean
  // "no phrase" when it looks for the two-character parts of a new phrase,
  // so a real phrase at offset 0 would never be found there.
  std::string store(1, '\0');
  KeyMap pinyin, initials, shape;
  size_t kept = 0, tooLong = 0, essayOnlyDropped = 0;
  for (const Phrase& p : m.Phrases()) {
    if (p.freq < floors.any || p.gbk.empty()) continue;
    if (!p.inDictionary && p.freq < floors.essayOnly) {
      ++essayOnlyDropped;
      continue;
    }
    phrasekey::Keys py, merged;
    for (const auto& v : PinyinVariants(m, p)) {
      phrasekey::BuildKeys(v, phrasekey::kPinyin, "", true, py);
      for (const auto& k : py.keys)
        if (std::find(merged.keys.begin(), merged.keys.end(), k) == merged.keys.end())
          merged.keys.push_back(k);
      for (const auto& k : py.initialKeys)
        if (std::find(merged.initialKeys.begin(), merged.initialKeys.end(), k) ==
            merged.initialKeys.end())
          merged.initialKeys.push_back(k);
    }
    if (merged.keys.empty()) continue;
    std::vector<std::vector<std::string>> codes;
    for (char32_t cp : p.cps) {
      const CharInfo* c = m.Find(cp);
      codes.push_back(c->fullWubi.empty() ? std::vector<std::string>{}
                                          : std::vector<std::string>{c->fullWubi});
    }
    phrasekey::Keys px;
    const std::vector<std::string> lastReadings = MainReadings(*m.Find(p.cps.back()));
    phrasekey::BuildKeys(codes, phrasekey::kShapeCode,
                         phrasekey::DistinctFirstLetters(lastReadings), false, px);
    const auto offset = static_cast<uint32_t>(store.size());
    if (offset + p.gbk.size() + 1 > phrasestore::kOffsetLimit) {
      report.errors.push_back("CiZuFlat.igb: phrase store passes the 23-bit offset limit");
      return;
    }
    store += p.gbk;
    store.push_back('\0');
    ++kept;
    const uint8_t w = InitialWeight(p.freq);
    FileUnder(pinyin, merged.keys, offset, w, SIZE_MAX, tooLong);
    FileUnder(initials, merged.initialKeys, offset, w, kMaxInitialsPerKey, tooLong);
    FileUnder(shape, px.keys, offset, 0, SIZE_MAX, tooLong);
  }
  // Pad a tiny store (fixtures) past the loader's minimum length with empty
  // phrases, which no key names.
  while (store.size() < phrasestore::kMinFileBytes) store.push_back('\0');
  std::string scrambled(store.size(), '\0');
  phrasestore::ScrambleBlocks(reinterpret_cast<const uint8_t*>(store.data()),
                              reinterpret_cast<uint8_t*>(&scrambled[0]), store.size());
  files["CiZuFlat.igb"] = scrambled;
  files["pycizudic.idx"] = phrasestore::WriteIndex(Records(pinyin), 4, true);
  files["py2_3ZiCi1stZuMu.idx"] = phrasestore::WriteIndex(Records(initials), 4, false);
  files["pxcizudic.idx"] = phrasestore::WriteIndex(Records(shape), 3, false);
  report.notes.push_back(
      "phrases: " + std::to_string(kept) + " in a store of " + std::to_string(store.size()) +
      " bytes; keys: " + std::to_string(pinyin.size()) + " pinyin, " +
      std::to_string(initials.size()) + " initials, " + std::to_string(shape.size()) +
      " shape code; " + std::to_string(tooLong) + " keys too long left out; " +
      std::to_string(essayOnlyDropped) + " essay-only phrases below " +
      std::to_string(static_cast<long long>(floors.essayOnly)) + " left out");
}

}  // namespace datagen
