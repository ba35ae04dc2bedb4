// FuzzyPinyin.h: fuzzy pinyin, for users who do not tell z from zh, c from
// ch, s from sh or l from r (each pair switched on separately in
// cfgInputManager). The engine's members (CChnChars, FuzzyPinyin.cpp) name
// the forms of a pair and spell out every fuzzy form of a phrase key; the
// generator (FuzzyPyDic.cpp) writes, once per combination of pairs, copies
// of the pinyin character list and pykeys.dic in which each pair's two
// syllables share one merged run. The common form of a pair is the syllable
// without h (za, ca, sa) or with r (ran); its partner's run is the single
// mark character pszJumper, which a lookup follows to the common form.
//
// This header holds what the members share with tests: the class of a
// phrase key, the mark character and the generator's run merge.
#pragma once

#include <string>
#include <vector>

#include "base/CString.h"

// What GetCiPyClass says of a pinyin string: 0 its z, c and s positions
// may vary; 1 it cannot be read as pinyin syllables; 2 it reads cleanly
// (its z, c, s positions vary only in keys longer than five).
enum typCiPyClass : int { kPyClassFree = 0, kPyClassBroken = 1, kPyClassClean = 2 };

// The class of the key being expanded by GetFuzziPyAllPossibleForms_Cizu.
// Written and read by the expansion only.
extern int pyclass;
// The mark character A1AC, as a NUL-terminated GBK text.
extern const char pszJumper[];

// The most spellings one phrase key expands to: each fuzzy initial doubles
// them, and a long key of l's and z's would otherwise freeze the input.
constexpr int kMaxFuzzyForms = 1024;

// One syllable of the generator's working list.
struct typDicItem {
  CString py;     // the syllable
  CString chars;  // its characters, 2 bytes each
  int nPyLen = 0;
  int nCharsLen = 0;  // bytes
};

// The generator's merge of a partner's run (b) into a common form's run
// (a), both 2 bytes a character: with a <= b characters, k = b / a partner
// characters follow each of a's characters (the rest at the end); with
// a > b, one partner character follows a's first character and then every
// k = a / b more of a's. An empty run merges to the other one.
std::string MergeFuzzyRuns(const std::string& a, const std::string& b);
