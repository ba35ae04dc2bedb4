// GeneratedData.h: small readers of the generated data files for the
// generator's tests, until the engine's own loaders exist. They assume
// well-formed files (the generator's invariant check has passed) and report
// what they cannot parse with a test failure.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "base/ByteOrder.h"
#include "engine/formats/Big5TableFormat.h"
#include "engine/formats/PhraseStoreFormat.h"
#include "tests/support/FileText.h"
#include "tools/datagen/Generate.h"

namespace gentest {

inline datagen::FileSet ReadAll(const std::string& dir) {
  datagen::FileSet files;
  for (int i = 0; i < datagen::kGeneratedFileCount; ++i) {
    const std::string name = datagen::kGeneratedFiles[i];
    files[name] = kvrtest::ReadFileText(dir + "/" + name);
    EXPECT_FALSE(files[name].empty()) << name << " was not generated into " << dir;
  }
  return files;
}

inline std::string Unscramble(const std::string& img) {
  std::string out(img.size(), '\0');
  phrasestore::ScrambleBlocks(reinterpret_cast<const uint8_t*>(img.data()),
                              reinterpret_cast<uint8_t*>(&out[0]), img.size());
  return out;
}

// An index as key -> phrases (GBK) with their weights.
using Decoded = std::map<std::string, std::vector<std::pair<std::string, int>>>;

inline Decoded DecodeIndex(const std::string& img, int width, bool header,
                           const std::string& store) {
  std::vector<phrasestore::IndexRecord> recs;
  std::string error;
  EXPECT_TRUE(phrasestore::ReadIndex(img, width, header, recs, error)) << error;
  Decoded out;
  for (const auto& r : recs) {
    for (const auto& e : r.entries)
      out[r.key].emplace_back(std::string(store.c_str() + e.offset), e.weight);
  }
  return out;
}

inline bool HasPhrase(const Decoded& d, const std::string& key, const std::string& gbk) {
  const auto it = d.find(key);
  if (it == d.end()) return false;
  for (const auto& p : it->second)
    if (p.first == gbk) return true;
  return false;
}

inline uint16_t Be16(const std::string& s, size_t at) { return big_endian::Load16(s.data() + at); }
inline uint16_t Le16(const std::string& s, size_t at) {
  return little_endian::Load16(s.data() + at);
}

// The Big5 code gbk2b5.bin gives a GBK code (lead byte high).
inline uint16_t Gbk2Big5(const std::string& table, uint16_t gbk) {
  const int cell = big5table::GbkCell(gbk);
  return cell < 0 ? 0 : Be16(table, static_cast<size_t>(cell) * 2);
}

// The tone-reading records of ch2pypz1.bin / ch2pypz2.bin: character ->
// reading -> tone value (mask or ordered word).
inline std::map<std::string, std::map<std::string, int>> ToneReadings(const std::string& img,
                                                                      bool ordered) {
  std::map<std::string, std::map<std::string, int>> out;
  const size_t n = Le16(img, 4);
  size_t at = 6;
  for (size_t i = 0; i < n; ++i) {
    const std::string ch = img.substr(at, 2);
    const auto m = static_cast<unsigned char>(img[at + 2]);
    at += 3;
    for (unsigned k = 0; k < m; ++k) {
      const auto len = static_cast<unsigned char>(img[at]);
      const std::string py = img.substr(at + 1, len);
      at += 1 + len;
      out[ch][py] = ordered ? Le16(img, at) : static_cast<unsigned char>(img[at]);
      at += ordered ? 2 : 1;
    }
    at += 1;
  }
  return out;
}

// The characters of a shape code in chdicres.bin, as one GBK string.
inline std::string ShapeCodeChars(const std::string& img, const std::string& code) {
  size_t at = 0;
  while (at < img.size() && img[at] != '\0') {
    std::string key, chars;
    while (at < img.size() && img[at] != '\0' && static_cast<unsigned char>(img[at]) < 0x80)
      key += img[at++];
    while (at + 1 < img.size() && static_cast<unsigned char>(img[at]) >= 0x80) {
      chars += img.substr(at, 2);
      at += 2;
    }
    if (key == code) return chars;
  }
  return "";
}

// The syllables of pykeys.dic in file order: each record is the syllable's
// letters and four bytes (count, start); a zero byte ends the list.
inline std::vector<std::string> Syllables(const std::string& pykeys) {
  std::vector<std::string> out;
  size_t at = 0;
  while (at < pykeys.size() && pykeys[at] != '\0') {
    std::string syl;
    while (at < pykeys.size() && static_cast<unsigned char>(pykeys[at]) < 0x80 &&
           pykeys[at] != '\0')
      syl.push_back(pykeys[at++]);
    if (syl.empty() || at + 4 > pykeys.size()) {
      ADD_FAILURE() << "pykeys.dic: malformed record at offset " << at;
      break;
    }
    out.push_back(syl);
    at += 4;
  }
  return out;
}

}  // namespace gentest
