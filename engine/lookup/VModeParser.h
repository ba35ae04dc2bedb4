// VModeParser.h: reads the text of vmodewords.dic (layout in
// engine/formats/VModeFormat.h) into word lists and per-column keys, refusing what
// the engine cannot hold: a line over 510 bytes, a key over 31 bytes, more
// lines than a 16-bit line index names.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/formats/VModeFormat.h"

namespace vmode {

struct Key {
  std::string key;
  uint16_t line;
};

struct Parsed {
  std::vector<std::string> lines;                  // word list of each data line
  std::array<std::vector<Key>, kKeyColumns> keys;  // per column, sorted by key
  std::string firstFault;                          // "" when nothing was refused
  int nRefused = 0;                                // lines and keys refused
};

// Parses the whole file text. Keys of a column are sorted by byte order;
// equal keys keep file order.
Parsed Parse(const std::string& text);

}  // namespace vmode
