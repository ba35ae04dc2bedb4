// StoreCache.h: what the lexicon writer keeps beside the phrase store so
// that one more phrase does not cost a pass over the whole store: a hash
// table from a phrase's text to the offset where it is first stored (the
// test "is this phrase stored already?" and the association maps' search
// for its two-character halves), and the store as it is on disk, scrambled
// (a save scrambles only the blocks the new phrases touched).
//
// The cache describes one store buffer (the engine's m_pCiZuFlat, unscrambled)
// and never owns it. The store only grows at its end, through AddToCiKu,
// which tells the cache (Appended); any other change of the buffer (a load,
// a release, a buffer put in its place) must Clear it. As a second guard
// every use compares the buffer and its length with those the cache was
// made for and starts afresh when they differ.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace ciku {

class StoreCache {
 public:
  // Forgets everything; the next use reads the store again.
  void Clear();

  // The store moved (a realloc) and/or grew at its end to len bytes; the
  // bytes before the old length are unchanged.
  void Appended(const uint8_t* store, uint32_t len);

  // Whether the phrase text (no zero byte) is stored in store[0..len), and
  // the offset of the first stored copy of each of the texts `halves` (0
  // when none or when its only copy is at offset 0, which the association
  // maps read as "none"). Each stored phrase is the bytes from its offset
  // up to the next zero byte or the end of the store.
  bool Find(const uint8_t* store, uint32_t len, std::string_view text);
  uint32_t FirstOffset(const uint8_t* store, uint32_t len, std::string_view text);

  // The scrambled image of store[0..len) as the file holds it (blocks of
  // 512 bytes, each scrambled from key position 0). Valid until the next
  // call of any member.
  std::string_view Scrambled(const uint8_t* store, uint32_t len);

  // Bytes the cache holds, for the benchmarks.
  size_t MemoryBytes() const;

 private:
  void Sync(const uint8_t* store, uint32_t len);
  void IndexFrom(uint32_t from);
  void Insert(uint32_t offset, std::string_view text);
  void Grow();
  std::string_view TextAt(uint32_t offset) const;
  uint32_t Lookup(std::string_view text) const;

  const uint8_t* m_store = nullptr;  // borrowed: the engine's store
  uint32_t m_len = 0;                // length the cache describes
  bool m_indexed = false;
  // Open addressing, a power of two of slots; 0 is an empty slot (offset 0
  // is never entered: see FirstOffset).
  std::vector<uint32_t> m_slots;
  uint32_t m_count = 0;
  // Scrambled store, m_scrambledLen bytes of it valid.
  std::vector<uint8_t> m_scrambled;
  uint32_t m_scrambledLen = 0;
};

}  // namespace ciku
