#include "engine/lexicon/KeyTableUpdate.h"

#include <algorithm>
#include <cstdlib>

#include "engine/internal/DicBuffers.h"
#include "engine/lookup/KeyScan.h"

namespace ciku {

namespace {

using keyscan::kIndexCountSlot;
using keyscan::kIndexFirstSlot;

bool IsKeyByte(uint8_t b) { return b != 0 && b < phrasestore::kEntryMark; }

// Where the record at pos ends and its entries start.
keyscan::Record RecordAt(const uint8_t* data, int entryLen, uint32_t pos) {
  keyscan::KeyList l;
  l.data = data;
  l.entryLen = entryLen;
  keyscan::Record r;
  keyscan::ReadRecord(l, pos, r);
  return r;
}

// Whether one insertion falls on the records of the old list as the block
// lists them: a new record at a record's start or at the end of the list,
// entries between or after a record's entries.
bool FallsOnRecords(const uint32_t* recs, uint32_t n, uint32_t end, const uint8_t* data,
                    int entryLen, const TableUpdate::Piece& p) {
  const uint32_t* hit = std::lower_bound(recs, recs + n, p.at);
  if (p.keyLine) return p.at == end || (hit != recs + n && *hit == p.at);
  if (hit == recs) return false;
  const keyscan::Record r = RecordAt(data, entryLen, *(hit - 1));
  return p.at >= r.dataPos && p.at <= r.next &&
         (p.at - r.dataPos) % static_cast<uint32_t>(entryLen) == 0;
}

// The two-key table of the records recs[0..n) of data, as
// chndic::BuildTwoKeyTable makes it from a walk of the bytes; false when a
// record starts with a byte that walk would read differently.
bool TableFromRecords(const uint8_t* data, const uint32_t* recs, uint32_t n, uint32_t* table) {
  chndic::TwoKeyTableMaker maker(table);
  for (uint32_t i = 0; i < n; ++i) {
    const uint32_t s = recs[i];
    if (!IsKeyByte(data[s])) return false;
    // Only the first two key bytes choose the bucket.
    maker.Add(data + s, IsKeyByte(data[s + 1]) ? 2 : 1, s);
  }
  maker.Finish();
  return true;
}

}  // namespace

bool PlanTableUpdate(const uint32_t* block, const uint8_t* data, int entryLen, uint32_t header,
                     const std::vector<Insertion>& pieces, TableUpdate& out) {
  out.pieces.clear();
  if (!block || !data || entryLen <= 0) return false;
  const uint32_t n = block[kIndexCountSlot];
  const uint32_t* recs = block + kIndexFirstSlot;
  const uint32_t end = n > 0 ? RecordAt(data, entryLen, recs[n - 1]).next : 0;
  for (const Insertion& in : pieces) {
    if (in.at < header || in.bytes.empty()) return false;
    TableUpdate::Piece p;
    p.at = in.at - header;
    p.size = static_cast<uint32_t>(in.bytes.size());
    p.keyLine = IsKeyByte(static_cast<uint8_t>(in.bytes[0]));
    if (!out.pieces.empty() && p.at < out.pieces.back().at) return false;
    if (!FallsOnRecords(recs, n, end, data, entryLen, p)) return false;
    out.pieces.push_back(p);
  }
  return true;
}

bool ApplyTableUpdate(uint32_t** block, const uint8_t* data, const TableUpdate& update) {
  const uint32_t n = (*block)[kIndexCountSlot];
  uint32_t added = 0;
  uint32_t shift = 0;
  for (const TableUpdate::Piece& p : update.pieces) {
    added += p.keyLine ? 1 : 0;
    shift += p.size;
  }
  if (added > 0) {
    const size_t slots = kIndexFirstSlot + static_cast<size_t>(n) + added;
    auto* grown = static_cast<uint32_t*>(realloc(*block, slots * sizeof(uint32_t)));
    if (!grown) return false;
    *block = grown;
  }
  uint32_t* table = *block;
  uint32_t* recs = table + kIndexFirstSlot;
  // From the back: an old record moves by every insertion at or before it
  // (one at its own offset goes in front of it); a new record lands after
  // the insertions before it.
  size_t pi = update.pieces.size();
  size_t ri = n;
  size_t write = static_cast<size_t>(n) + added;
  while (write > 0) {
    if (ri > 0 && (pi == 0 || recs[ri - 1] >= update.pieces[pi - 1].at)) {
      recs[--write] = recs[--ri] + shift;
      continue;
    }
    const TableUpdate::Piece& p = update.pieces[--pi];
    shift -= p.size;
    if (p.keyLine) recs[--write] = p.at + shift;
  }
  table[kIndexCountSlot] = n + added;
  if (added > 0) return TableFromRecords(data, recs, n + added, table);
  // No record came or went: every bucket's record only moved.
  size_t next = 0;
  uint32_t moved = 0;
  for (int b = 0; b < kTwoKeyBuckets; ++b) {
    while (next < update.pieces.size() && update.pieces[next].at <= table[b])
      moved += update.pieces[next++].size;
    table[b] += moved;
  }
  return true;
}

}  // namespace ciku
