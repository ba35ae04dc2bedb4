// DependMaps.h: the byte layout of the association maps depend1.map and
// depend2.map, free of the engine so that tests reach it directly.
//
//   offset  size    content (all little-endian)
//   0       u32     count of records
//   then count records of:
//           u16/u32 key: a character (depend1.map, 16 bits, lead byte low)
//                   or a phrase reference (depend2.map, 32 bits, bit 31 set)
//           u16     m, the number of values
//           m x u32 values: characters or phrase references
//
// No header, magic number or version; the order of the records carries no
// meaning.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// A list holds at most what its 16-bit count can say.
constexpr int kMaxDependValues = 0xFFFF;

namespace dependmap {

using Record = std::pair<uint32_t, std::vector<uint32_t>>;

// The file image of records; wideKeys for depend2.map. A list longer than
// kMaxDependValues is cut to that many values, so the count never lies.
std::string Write(const std::vector<Record>& records, bool wideKeys);

// The records of a file image. Reads up to the first record that the bytes
// do not hold whole (a count larger than the file, a cut record) and
// returns false there with a message in error; the records read before it
// are kept in out.
bool Read(const uint8_t* data, size_t n, bool wideKeys, std::vector<Record>& out,
          std::string& error);

}  // namespace dependmap
