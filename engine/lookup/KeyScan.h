// KeyScan.h: reading the engine's sorted key lists in place. A list is a
// run of records ended by a zero byte: an ASCII key (bytes 0x01..0x7F)
// followed by its data. In the character list of the shape code and in the
// phrase and initials indexes the data are entries of a fixed width, each
// starting with a byte of 0x80 or above; in pykeys.dic it is one 4-byte
// block naming a run of the pinyin character list. Every buffer the engine
// loads is followed by zero bytes (kPadBytes), so a walk stops at a zero
// byte without a length test and never reads past the padding.
//
// The views borrow the engine's buffers; they are valid until the next load
// or release of the list.
#pragma once

#include <cstdint>
#include <cstring>

#include "engine/CChnChars.h"

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
  int entryLen = 0;                 // bytes per entry (kEntries lists)
  bool pyKeys = false;              // one 4-byte block after each key
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

// The record whose key is exactly key (a walk from its bucket that stops at
// the first record sorting after it); false when there is none.
bool FindExact(const KeyList& l, const char* key, int keyLen, Record& hit);

// The number of double-byte characters of a candidate's text.
int TextChars(const typCharFatFmt& rec);

// "%02X%02X%02X" of three entry bytes: the duplicate key of a phrase entry.
CString HexKey(const uint8_t* entry);

}  // namespace keyscan
