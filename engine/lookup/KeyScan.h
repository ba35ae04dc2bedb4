// KeyScan.h: reading the engine's sorted key lists in place. A list is a
// run of records ended by a zero byte: an ASCII key (bytes 0x01..0x7F)
// followed by its data. In the character list of the shape code and in the
// phrase and initials indexes the data are entries of a fixed width, each
// starting with a byte of 0x80 or above; in pykeys.dic it is one 4-byte
// block naming a run of the pinyin character list. Every buffer the engine
// loads is followed by zero bytes (kPadBytes), so a walk stops at a zero
// byte without a length test and never reads past the padding.
//
// Behind each two-key table the engine keeps the offset of every record of
// its list, in list order (the record index); the lists are in strcmp
// order of their keys, so a key or a key's beginning is found by binary
// search over it instead of a walk through its bucket. Whatever the index
// finds, a walk from the bucket finds too: the searches below give the
// walks' results on every sorted list.
//
// The views borrow the engine's buffers; they are valid until the next load
// or release of the list.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "engine/CChnChars.h"
#include "engine/lookup/tagE_Dist.h"

namespace keyscan {

using FatList = AArray<typCharFatFmt, typCharFatFmt&>;

constexpr uint8_t kEntryMark = 0x80;
constexpr int kPyBlockBytes = 4;    // pykeys.dic: count (BE, 15 bits), start (LE16)
constexpr int kShapeCharBytes = 2;  // shape-code character list
constexpr int kShouZiMuEntryBytes = 4;
constexpr int kPhraseRefBytes = 3;  // an entry's offset reference
constexpr int kMaxKeyText = kFatKeyBytes - 1;

// One sorted key list of the engine.
struct KeyList {
  const uint8_t* data = nullptr;    // the first record; null when not loaded
  const uint32_t* table = nullptr;  // two-key table; null: walks start at 0
  const uint32_t* recs = nullptr;   // record index; null: no searches
  uint32_t nRecs = 0;
  int entryLen = 0;     // bytes per entry (kEntries lists)
  bool pyKeys = false;  // one 4-byte block after each key
  bool Loaded() const { return data != nullptr && data[0] != 0; }
};

// The lists of the engine, by what they index.
KeyList CharList(const CChnChars& e, int method);  // chdicres.bin / pykeys.dic
KeyList CiZuList(const CChnChars& e, int method);  // phrase index
KeyList ShouZiMuList(const CChnChars& e);          // initials index

// One record: key at [pos, pos + keyLen), data at [dataPos, next).
struct Record {
  uint32_t pos = 0;
  uint32_t keyLen = 0;
  uint32_t dataPos = 0;
  uint32_t next = 0;
  const char* Key(const KeyList& l) const { return reinterpret_cast<const char*>(l.data + pos); }
};

// Reads the record at pos; false at the zero byte that ends the list.
inline bool ReadRecord(const KeyList& l, uint32_t pos, Record& r) {
  if (l.data[pos] == 0) return false;
  r.pos = pos;
  uint32_t p = pos;
  while (l.data[p] != 0 && l.data[p] < kEntryMark) ++p;
  r.keyLen = p - pos;
  r.dataPos = p;
  if (l.pyKeys) {
    p += kPyBlockBytes;
  } else {
    while (l.data[p] & kEntryMark) p += static_cast<uint32_t>(l.entryLen);
  }
  r.next = p;
  return true;
}

// Where a walk for keys starting with key[0..1] starts.
inline uint32_t StartOf(const KeyList& l, const char* key) {
  return l.table ? l.table[CChnChars::GetArrPosForIndexVal(key)] : 0;
}

// The record index stored behind a two-key table (table[kTwoKeyBuckets] is
// the count, the offsets follow).
constexpr int kIndexCountSlot = kTwoKeyBuckets;
constexpr int kIndexFirstSlot = kTwoKeyBuckets + 1;
// The offsets of every record of the list l (its table and index ignored),
// in order, as the walks of ReadRecord meet them from offset 0.
std::vector<uint32_t> RecordOffsets(const KeyList& l);

// The first index of l.recs whose record's key, cut to n bytes, does not
// sort before key cut to n bytes (LowerBound), or sorts after it
// (UpperBound); l.nRecs when there is none. Bytes compare as unsigned, a
// key before its extensions; key has at least n bytes. The records of
// [LowerBound, UpperBound) are those whose keys start with key's first n
// bytes. l.recs must be set.
uint32_t LowerBound(const KeyList& l, const char* key, int n);
uint32_t UpperBound(const KeyList& l, const char* key, int n);

// The run of the pinyin character list a pykeys.dic record names.
struct PyRun {
  uint32_t start = 0;
  uint32_t count = 0;
};
PyRun PyRunOf(const CChnChars& e, const KeyList& l, const Record& r);
// The bytes of character i of the pinyin character list (2 character
// bytes, then the weight byte in the learned order).
inline const uint8_t* PyFlatChar(const CChnChars& e, uint32_t i) {
  return e.m_pPyFlat + static_cast<size_t>(i) * static_cast<size_t>(e.m_nPyFlatEntryLen);
}

// The record whose key is exactly key (a binary search over the record
// index; without one, a walk from its bucket that stops at the first record
// sorting after it); false when there is none.
bool FindExact(const KeyList& l, const char* key, int keyLen, Record& hit);

// The two record lists of the ranked rows: the records whose keys share
// the longest beginning (prefix keys, at least 2) with the typed keys, and
// the runner-up, each at most kMaxRows records in list order.
struct PrefixList {
  int prefix = 0;
  int count = 0;
  uint32_t pos[kMaxRows];
};
struct PrefixLists {
  PrefixList list[2];
  int best = 0;  // which of list[] is the longest beginning
};
// Fills lists for key (L bytes). skipWholeRecordKeys: records whose whole
// key begins the typed keys are left out (there were exact hits);
// wholeKeyOnly: only records that begin with all of key count. With a
// record index, runs of records that cannot change the lists are skipped
// by binary search and the search stops past the records that begin with
// key's first two bytes; without one, the walk from the key's bucket.
void GatherPrefixLists(const KeyList& l, const char* key, int L, bool skipWholeRecordKeys,
                       bool wholeKeyOnly, PrefixLists& lists);

// The number of double-byte characters of a candidate's text.
int TextChars(const typCharFatFmt& rec);

}  // namespace keyscan
