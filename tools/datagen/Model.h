// Model.h: what the generator knows about every GBK Han character and every
// candidate phrase once the sources are read: frequencies (essay words
// converted to simplified), untoned readings with their shares, toned
// readings, Wubi 86 codes, stroke spellings and usage ranks. The file
// builders (Builders.h) only read the model.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "tools/datagen/Sources.h"

namespace datagen {

using OpenccDict = std::map<std::string, std::vector<std::string>>;

// Where the sources are. A missing file reads as empty; `strict` makes a
// missing file an error (the shipped build), fixtures leave it off.
struct Options {
  std::string rimeDir;    // *.dict.yaml, essay.txt, symbols.yaml
  std::string unihanDir;  // Unihan_Readings.txt[.bz2], Unihan_Variants.txt[.bz2],
                          // UnicodeData.txt
  std::string openccDir;  // TSCharacters.txt, TSPhrases.txt, STCharacters.txt, TWVariants.txt
  std::string outDir;     // where the data files go
  bool strict = false;
};

struct Inputs {
  std::vector<RimeEntry> pinyinSimp, luna, terra, wubi, stroke;
  std::vector<EssayEntry> essay;
  std::map<char32_t, UnihanChar> unihan;
  OpenccDict tsChars, tsPhrases, stChars, twVariants;
  std::map<std::string, std::vector<std::string>> symbols;
  // Canonical singleton decompositions (UnicodeData.txt): a compatibility
  // ideograph and the unified ideograph it stands for.
  std::map<char32_t, char32_t> canonical;
};

// Reads every source. False with a message when `strict` and a file is
// missing or unreadable.
bool LoadInputs(const Options& opt, Inputs& in, std::string& error);

struct TonedReading {
  std::string syllable;
  std::vector<int> tones;  // in order of preference
};

struct CharInfo {
  char32_t cp = 0;
  std::string gbk;  // two bytes
  double freq = 0;  // essay frequency after conversion to simplified
  // Untoned readings, most used first, with their share of the uses.
  std::vector<std::pair<std::string, double>> readings;
  std::vector<TonedReading> toned;  // from terra_pinyin and Unihan
  // Wubi 86 codes with their weights, and the full (longest) code.
  std::vector<std::pair<std::string, double>> wubi;
  std::string fullWubi;
  std::string strokes;  // h s p n z letters
  uint32_t rank = 0;    // usage rank, 1 most frequent
  bool common = false;  // among the most frequent kCommonChars
};

struct Phrase {
  std::string text;  // UTF-8, simplified
  std::string gbk;
  double freq = 0;
  // Readings given by a dictionary, one syllable per character each.
  std::vector<std::vector<std::string>> explicitPinyin;
  std::vector<char32_t> cps;
  // A pinyin dictionary lists it; otherwise only the essay word list does.
  bool inDictionary = false;
};

// The syllables that only interjections read (m, n, ng, hm, hng, eh). They
// are left out of every reading: as syllables of the key split they cut
// real syllables ("hen" into he|n, "ng" after a vowel), and each of their
// characters keeps its other readings (嗯 en, 呣 mu) or the V-mode.
bool IsInterjectionSyllable(const std::string& syllable);

constexpr size_t kCommonChars = 3755;
constexpr size_t kLessCommonChars = 6763;  // common and less common together

class Model {
 public:
  // Builds the model; false with a message when the sources give nothing
  // usable (no characters at all).
  bool Build(const Inputs& in, std::string& error);

  const std::vector<CharInfo>& Chars() const { return m_chars; }
  // The character of a code point, or null when it is not a GBK Han
  // character.
  const CharInfo* Find(char32_t cp) const;
  const std::vector<Phrase>& Phrases() const { return m_phrases; }
  // Converts traditional text to simplified (phrases first, then characters).
  std::u32string ToSimplified(const std::u32string& s) const;

 private:
  void CollectChars();
  void CollectFrequencies();
  void CollectReadings();
  void BorrowCanonicalReadings();
  void CollectTones();
  void CollectShapeAndStrokes();
  void AssignRanks();
  void CollectPhrases();
  CharInfo* FindMutable(char32_t cp);

  const Inputs* m_in = nullptr;
  std::vector<CharInfo> m_chars;  // in GBK code order
  std::vector<int32_t> m_index;   // code point -> index in m_chars, or -1
  std::map<std::u32string, std::u32string> m_tsPhrases;
  std::map<char32_t, char32_t> m_tsChars;
  size_t m_maxPhraseKey = 1;
  std::map<std::string, double> m_wordFreq;  // simplified UTF-8 -> frequency
  std::vector<Phrase> m_phrases;
};

}  // namespace datagen
