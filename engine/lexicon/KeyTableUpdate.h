// KeyTableUpdate.h: bringing a key index's two-key table and record index
// (the block BuildIdx2KeysInDic makes: kTwoKeyBuckets offsets, the record
// count, the offset of every record; engine/lookup/KeyScan.h) up to date
// after insertions (IndexInsert.h), instead of walking the whole index
// again. The result is the block a fresh build would give; where that
// cannot be shown from the insertions alone (a damaged index whose records
// the insertions do not fall on, a record starting with an entry byte),
// the planner says so and the caller builds the block afresh.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/lexicon/IndexInsert.h"

namespace ciku {

// The insertions in the coordinates of the block: offsets from the first
// record (after any header byte), each a new record or entries of one.
struct TableUpdate {
  struct Piece {
    uint32_t at = 0;       // offset in the old records
    uint32_t size = 0;     // bytes inserted
    bool keyLine = false;  // a new record
  };
  std::vector<Piece> pieces;  // in image order
};

// Plans the update of block for the insertions pieces into the old image
// (records from data = image + header, ended by a zero byte, entries of
// entryLen bytes). False when the insertions do not fall on the records
// the block lists: the block must then be built afresh.
[[nodiscard]] bool PlanTableUpdate(const uint32_t* block, const uint8_t* data, int entryLen,
                                   uint32_t header, const std::vector<Insertion>& pieces,
                                   TableUpdate& out);

// Applies a planned update to *block once the insertions are in the image
// (data: its new records, zero-padded). May move *block (realloc); false
// when memory runs out or the new records cannot be read as a fresh build
// reads them, leaving *block valid for the old image only: the caller
// builds it afresh.
[[nodiscard]] bool ApplyTableUpdate(uint32_t** block, const uint8_t* data,
                                    const TableUpdate& update);

}  // namespace ciku
