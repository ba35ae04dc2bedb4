// VModeFormat.h: the keyword file vmodewords.dic of the V-mode. Text lines
// of at most 510 bytes; a data line starts with a lower-case letter and
// holds four key columns and a word list, separated by commas:
//   full-pinyin keys,MS keys,C_Star keys,ZR keys,word,word,...
// A column may hold alternatives separated by '|', each at most 31 bytes.
// Full-pinyin keys are in the short form (ang -> ag, ju -> jv, ...), since
// the typed keys are shortened the same way before they are compared; the
// ShuangPin columns hold the keys as typed in that scheme. Lines starting
// with ';' are comments.
#pragma once

#include <cstddef>

namespace vmode {

constexpr size_t kMaxLineBytes = 510;
constexpr size_t kMaxKeyBytes = 31;
constexpr int kKeyColumns = 4;  // full pinyin, then ShuangPin schemes 0..2

}  // namespace vmode
