// PhraseStoreFormat.h: the byte layout of the phrase store (CiZuFlat.igb) and
// of the key indexes that point into it (pxcizudic.idx, pycizudic.idx,
// py2_3ZiCi1stZuMu.idx), with the writers the data generator uses and the
// small decoders the loaders use. Nothing here owns a buffer: every function
// reads or appends to storage the caller owns.
//
// CiZuFlat.igb: phrases, each GBK text ended by a zero byte, named by the
// byte offset of their first byte (23 bits). On disk every 512-byte block is
// scrambled with JiaMiJieMi, the key position restarting at each block.
//
// Index files (all integers big-endian inside an entry):
//   [header]  1 byte, only in a weighted pycizudic.idx: bit 7 set
//   records   sorted by key as unsigned bytes (strcmp order):
//     key     1..99 bytes, each 0x01..0x7F, no terminator
//     entry   3 bytes: 0x80 | offset bits 22..16, bits 15..8, bits 7..0
//     weight  1 byte 0..31, only in 4-byte entries
//   end       one zero byte
// The entries of a key follow one another while the next byte has bit 7
// set, in the order in which they are offered.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace phrasestore {

constexpr size_t kBlockBytes = 512;          // scrambling restarts per block
constexpr size_t kMinFileBytes = 100;        // the generator writes no shorter store
constexpr uint32_t kOffsetLimit = 1u << 23;  // offsets are 23 bits
constexpr uint8_t kEntryMark = 0x80;         // first byte of every entry
constexpr uint8_t kWeightedHeader = 0x80;    // header byte of a weighted index
constexpr size_t kMaxKeyBytes = 99;          // keys are sorted in 100-byte slots
constexpr uint8_t kMaxWeight = 31;           // usage weight of a 4-byte entry
constexpr size_t kPaddingBytes = 28;         // zero bytes after a loaded buffer
constexpr int kRefBytes = 3;                 // a phrase reference in an entry

// Scrambles or unscrambles n bytes of a whole store image, block by block.
// `from` and `to` may be the same buffer.
void ScrambleBlocks(const uint8_t* from, uint8_t* to, size_t n);

// Appends the 3-byte reference to `offset` (which must be below
// kOffsetLimit) to `out`.
void AppendRef(std::string& out, uint32_t offset);

// The offset a 3-byte reference names; p must point at 3 readable bytes.
uint32_t RefOffset(const uint8_t* p);

// True when every byte of `key` is 0x01..0x7F and it has 1..kMaxKeyBytes
// bytes: the keys an index may hold.
bool IsValidKey(const std::string& key);

// One entry of an index record.
struct IndexEntry {
  uint32_t offset = 0;  // phrase offset in the store
  uint8_t weight = 0;   // written only for 4-byte entries
};

// One record: a key and its entries in the order offered.
struct IndexRecord {
  std::string key;
  std::vector<IndexEntry> entries;
};

// Serialises records into an index image. `records` must be sorted by key
// (unsigned byte order) with distinct valid keys and at least one entry
// each; entryBytes is 3 or 4; `weightedHeader` writes the header byte (only
// for a weighted pycizudic.idx). Ends with the zero byte.
std::string WriteIndex(const std::vector<IndexRecord>& records, int entryBytes,
                       bool weightedHeader);

// Parses an index image back into records (the inverse of WriteIndex).
// Returns false, with a message in `error`, when the bytes break the format:
// a key byte of 0x80 or above where a key must start, a record without
// entries, a truncated entry, a missing end byte or keys out of order.
bool ReadIndex(const std::string& image, int entryBytes, bool weightedHeader,
               std::vector<IndexRecord>& records, std::string& error);

}  // namespace phrasestore
