// PhraseKeyRule.h: the keys under which a phrase is filed, built from the
// codes of its characters. The lexicon uses it for every phrase the user
// adds and the data generator for every shipped phrase, so that shipped and
// learned phrases are typed the same way.
//
// Two or three characters: every combination of one code per character,
// concatenated; in the shape code a combination of at most 3 letters is
// lengthened by each distinct pinyin first letter f of the last character
// (k + f, or k + f + f when k has 2 letters). In pinyin the first letters of
// the combination also go to the initials keys.
// Four or more: every combination, concatenated (none at all when a
// character has no code); with four to six characters also every combination
// of the distinct first letters of characters 1, 2, 3 and the last; with
// five or more every combination of the distinct first letters of all.
// A key produced once is not produced again, in either output.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace phrasekey {

enum Method { kShapeCode = 0, kPinyin = 1 };

struct Keys {
  std::vector<std::string> keys;         // phrase index keys, in order made
  std::vector<std::string> initialKeys;  // initials index keys (pinyin)
};

// Bounds for one phrase. The product of the readings of a long phrase of
// polyphonic characters grows fast: maxKeys stops the rule after that many
// keys in all and after 4 * maxKeys combinations tried in each group of
// combinations (full codes, initials); validOnly drops the
// keys that an index cannot hold (phrasestore::IsValidKey).
struct Limits {
  size_t maxKeys = SIZE_MAX;
  bool validOnly = false;
};

// codes[i]: the codes (shape code) or readings (pinyin) of character i.
// lastPinyinLetters: the distinct pinyin first letters of the last
// character, used only to lengthen short shape-code keys. withInitials: the
// initials index is in use (pinyin). Returns true when out.keys is not
// empty. out is emptied first.
bool BuildKeys(const std::vector<std::vector<std::string>>& codes, Method method,
               const std::string& lastPinyinLetters, bool withInitials, Keys& out,
               const Limits& limits = Limits());

// The distinct first letters of a list of codes, in order of appearance.
std::string DistinctFirstLetters(const std::vector<std::string>& codes);

}  // namespace phrasekey
