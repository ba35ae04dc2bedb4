// Text.h: the character-level text helpers of the data generator: UTF-8
// decoding and encoding, GBK conversion through iconv, and toned pinyin.
// The generator works in UTF-8 (its sources are UTF-8) and converts to GBK
// only when it writes a file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace datagen {

// The code points of a UTF-8 string; invalid bytes become U+FFFD.
std::u32string DecodeUtf8(const std::string& s);
std::string EncodeUtf8(char32_t c);
std::string EncodeUtf8(const std::u32string& s);

// The GBK bytes of a code point, or "" when GBK cannot hold it (ASCII
// included: the engine's characters are double-byte).
std::string ToGbk(char32_t c);
// The GBK bytes of a whole string, or "" when any character is not
// double-byte GBK.
std::string ToGbk(const std::u32string& s);
// The Big5 code (lead byte high) of a code point, or 0 when none.
uint16_t ToBig5(char32_t c);
// The code point of a GBK code (lead byte high), or 0 when none.
char32_t FromGbk(uint16_t code);
// The code point of a Big5 code, or 0 when none.
char32_t FromBig5(uint16_t code);

// A GBK character of the 20,923 Han characters (CJK unified ideographs,
// extension A and the compatibility ideographs that GBK holds).
bool IsHan(char32_t c);

// A pinyin syllable with its tone (1..5, 0 unknown), spelled in lower case
// with v for u-umlaut and lve/nve for lue/nue.
struct Syllable {
  std::string text;
  int tone = 0;
};
// Parses "zhōng", "lü", "zhong1", "lue" and the like; false when the text
// holds anything but letters, tone marks and one trailing tone digit.
bool ParseSyllable(const std::string& utf8, Syllable& out);

// Splits at any of the separator bytes, dropping empty pieces.
std::vector<std::string> Split(const std::string& s, const char* separators);

}  // namespace datagen
