// StrokeTableParser.h: reads the bytes of bihuaku.bin (layout in
// engine/formats/BiHuaFormat.h) into stroke distributions, trusting no length in
// the file: every length is checked against the bytes that remain before
// it is used, and a syllable must be 1 to kMaxSyllableBytes ASCII letters.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/formats/BiHuaFormat.h"

namespace bihua {

// Longest syllable the table may name ("zhuang" has 6 letters; room for
// the longer spellings of the fuzzy forms).
constexpr uint32_t kMaxSyllableBytes = 8;

// Parses data[0..n). Records read whole before the first fault are kept in
// out; returns false with err naming the fault and its offset when the
// table is damaged (truncated, a length past the end, a bad syllable).
[[nodiscard]] bool ParseTable(const uint8_t* data, size_t n, std::vector<Distribution>& out,
                              std::string& err);

}  // namespace bihua
