// IndexInsert.h: filing one phrase under new keys of a sorted key index
// (pxcizudic.idx, pycizudic.idx, py2_3ZiCi1stZuMu.idx; layout in
// engine/formats/PhraseStoreFormat.h). The old image is only read: the result is a
// new buffer, so a failure leaves the index as it was and the caller
// installs the new image only once every other step of the add succeeded.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ciku {

// A planned insertion with its bytes.
struct Insertion {
  uint32_t at = 0;    // position in the old image the bytes go before
  std::string bytes;  // a key line (key + entry) or an entry
};

// Plans the entries for the phrase at offset under each of keys (sorted
// ascending, distinct, each a valid index key) in the index image
// img[0..len), whose records start after header bytes and have entryLen
// (3 or 4) byte entries; img must be followed by zero bytes. A known key
// gets the entry after its first kNewEntryAfter entries (or after all when
// it has fewer), weighted as the entry before it; a key that already names
// the phrase gets nothing; a new key gets a key line, weight 1, where it
// sorts. The insertions come in image order.
std::vector<Insertion> PlanInsertions(const uint8_t* img, uint32_t len, uint32_t header,
                                      int entryLen, const std::vector<std::string>& keys,
                                      uint32_t offset);

// A malloc'ed copy of img[0..len) with the insertions applied, followed by
// zero padding; newLen receives its length. Null when memory runs out.
unsigned char* ApplyInsertions(const uint8_t* img, uint32_t len,
                               const std::vector<Insertion>& pieces, uint32_t& newLen);

// The bytes the insertions add.
uint32_t InsertedBytes(const std::vector<Insertion>& pieces);

// The same result in place: img holds len bytes and has room for
// len + InsertedBytes(pieces) bytes and the zero padding after them, which
// this writes. Returns the new length.
uint32_t ApplyInsertionsInPlace(uint8_t* img, uint32_t len, const std::vector<Insertion>& pieces);

}  // namespace ciku
