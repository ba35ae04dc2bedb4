// LexiconFixture.h: an engine on a private copy of the lexicon fixture
// (fixtures/lexicon_dict), with helpers to add phrases by their UTF-8 text,
// read the lexicon files as they are on disk and find a phrase under a key.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "engine/CChnChars.h"
#include "engine/lookup/KeyScan.h"
#include "tests/engine/LookupFixture.h"

namespace lexicontest {

using lookuptest::ToGbk;
using lookuptest::ToUtf8;

// The files of the lexicon, in the order a save puts them in place.
inline const std::vector<std::string>& LexiconFiles() {
  static const std::vector<std::string> files = {"CiZuFlat.igb",  "pxcizudic.idx",
                                                 "pycizudic.idx", "py2_3ZiCi1stZuMu.idx",
                                                 "depend1.map",   "depend2.map"};
  return files;
}

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return "<missing>";
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The character value of a one-character UTF-8 text (lead byte low).
inline uint16_t CharValue(const char* utf8) {
  const CString g = ToGbk(utf8);
  return static_cast<uint16_t>(static_cast<uint8_t>(g[0]) | static_cast<uint8_t>(g[1]) << 8);
}

class Lexicon : public lookuptest::Engine {
 protected:
  void SetUp() override { StartOn(lookuptest::PinYinSettings()); }
  void StartOn(const typInputSettings& s) {
    Start(lookuptest::FixtureDir("lexicon_dict"), s);
    m_host.calls.clear();
  }
  // Closes the engine and starts it again on the same files.
  void Restart() {
    dictionary.CloseDictionary();
    gbInitDone = 0;
    dictionary.InitFirst();
    dictionary.InitDictionary();
  }
  int Add(const char* utf8, int method = kPinYin) {
    CString gbk = ToGbk(utf8);
    const int r = dictionary.AddToCiKu(gbk.GetBuffer(gbk.GetLength()), method, 0, -1);
    gbk.ReleaseBuffer();
    return r;
  }
  std::map<std::string, std::string> Files() const {
    std::map<std::string, std::string> out;
    for (const std::string& f : LexiconFiles()) out[f] = ReadFile(Path(f.c_str()));
    return out;
  }
  // The store offset of a stored phrase; -1 when it is not stored.
  int OffsetOf(const char* utf8) const {
    const std::string want(ToGbk(utf8).GetString());
    const char* s = reinterpret_cast<const char*>(dictionary.m_pCiZuFlat);
    for (uint32_t pos = 0; s && pos < dictionary.m_nCiZuFlatLen;) {
      const std::string got(s + pos);
      if (got == want) return static_cast<int>(pos);
      pos += static_cast<uint32_t>(got.size()) + 1;
    }
    return -1;
  }
  // Whether the index of list names the phrase at offset under key.
  static bool Filed(const keyscan::KeyList& l, const std::string& key, int offset) {
    keyscan::Record r;
    if (!keyscan::FindExact(l, key.c_str(), static_cast<int>(key.size()), r)) return false;
    for (uint32_t p = r.dataPos; p < r.next; p += static_cast<uint32_t>(l.entryLen))
      if (static_cast<int>(phrasestore::RefOffset(l.data + p)) == offset) return true;
    return false;
  }
  std::vector<std::string> Keys(const char* utf8, int method,
                                std::vector<std::string>* initials = nullptr) {
    CStringArray keys, init;
    dictionary.m_bUseCh2KeysPY = 1;
    dictionary.GetKeyFromCi(ToGbk(utf8), method, keys, init);
    dictionary.m_bUseCh2KeysPY = 0;
    std::vector<std::string> out;
    for (int i = 0; i < keys.GetSize(); ++i) out.emplace_back(keys[i].GetString());
    if (initials) {
      initials->clear();
      for (int i = 0; i < init.GetSize(); ++i) initials->emplace_back(init[i].GetString());
    }
    return out;
  }
};

}  // namespace lexicontest
