// BiHuaFormat.h: the stroke table bihuaku.bin and its stroke classes. For
// each pinyin syllable the characters read that way are grouped by the
// classes of their first three strokes (125 groups). Little-endian:
//   u16 N; N x { u32 len, syllable, u32 noStrokes,
//     5 x (s1) { u32 first-stroke collapse,
//       5 x (s2) { u32 second-stroke collapse,
//         5 x (s3) { u32 len, GBK characters } } } }
// Stroke classes 0..4 are 横 竖 撇 点 折, written h s p n z in stroke
// spellings; the five stroke keys "-=[];" choose them in that order.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace bihua {

constexpr int kClasses = 5;
// The stroke letters of class 0..4.
constexpr char kStrokeLetters[kClasses + 1] = "hspnz";
// The default stroke keys of class 0..4.
constexpr char kStrokeKeys[kClasses + 1] = "-=[];";
// The stroke keys in ShuangPin's MS scheme, whose ';' is a final key: '/'
// takes class 4.
constexpr char kStrokeKeysMS[kClasses + 1] = "-=[]/";
// The keys of tones 1 to 5, the other filter of pinyin candidates.
constexpr char kToneKeys[6] = "12345";

// The class of a stroke letter h s p n z, or -1.
int ClassOfStrokeLetter(char c);

// The stroke groups of one syllable.
struct Distribution {
  std::string syllable;
  uint32_t noStrokes = 0;
  std::array<uint32_t, kClasses> firstCollapse{};
  std::array<std::array<uint32_t, kClasses>, kClasses> secondCollapse{};
  // groups[s1][s2][s3]: the GBK characters starting with those classes.
  std::array<std::array<std::array<std::string, kClasses>, kClasses>, kClasses> groups;
};

// bihuaku.bin from distributions in the order given.
std::string WriteTable(const std::vector<Distribution>& table);

}  // namespace bihua
