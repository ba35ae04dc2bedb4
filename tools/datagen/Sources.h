// Sources.h: readers of the open data the generator builds from: Rime
// dictionaries (*.dict.yaml), the Rime essay word list, Rime's symbols.yaml,
// OpenCC dictionaries dumped to text, and the Unihan database (plain or
// bz2-compressed). Each reader takes a path and reports whether the file was
// there; a missing file reads as empty, and the caller decides whether that
// is acceptable (fixtures leave most sources out).
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace datagen {

// Reads a whole file (decompressing it when the name ends in ".bz2").
// False when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& out);

// Lines of a text, without their line ends (a CR before the LF included).
std::vector<std::string> Lines(const std::string& text);

// Calls fn(start, length) for every line of `text`, without copying it.
template <typename Fn>
void ForEachLine(const std::string& text, Fn&& fn) {
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    size_t n = end - at;
    if (n > 0 && text[at + n - 1] == '\r') --n;
    fn(text.data() + at, n);
    at = end + 1;
  }
}

// One body line of a Rime dictionary: tab-separated columns.
struct RimeEntry {
  std::string text;    // UTF-8 word
  std::string code;    // pinyin syllables separated by spaces, or a code
  std::string weight;  // as written: a number, a percentage or empty
};
// The entries after the "..." line that ends the YAML header; comment and
// empty lines are skipped.
bool ReadRimeDict(const std::string& path, std::vector<RimeEntry>& out);

// essay.txt: word TAB frequency.
struct EssayEntry {
  std::string text;
  int64_t freq = 0;
};
bool ReadEssay(const std::string& path, std::vector<EssayEntry>& out);

// An OpenCC dictionary dumped as text: key TAB candidates separated by
// spaces.
bool ReadOpenccText(const std::string& path, std::map<std::string, std::vector<std::string>>& out);

// The fields of Unihan that the generator reads, by code point.
struct UnihanChar {
  std::string mandarin, tghz2013, xhc1983, hanyuPinyin;  // readings
  std::vector<char32_t> traditional;                     // kTraditionalVariant
};
// Reads Unihan_Readings.txt and Unihan_Variants.txt lines from `text`
// (either file, or both concatenated) into `out`.
void ParseUnihan(const std::string& text, std::map<char32_t, UnihanChar>& out);

// The canonical singleton decompositions of UnicodeData.txt ("F92C;...;
// 90CE;..." gives F92C -> 90CE).
void ParseCanonicalSingletons(const std::string& text, std::map<char32_t, char32_t>& out);

// The symbol groups of symbols.yaml: "'/xh': [ ★, ☆ ]" gives "xh".
bool ReadSymbolGroups(const std::string& path,
                      std::map<std::string, std::vector<std::string>>& out);

}  // namespace datagen
