// typCiZuRec.h: the records of the lexicon's growth. A typCiZuRec is a
// phrase added to the phrase store and waiting to be filed under the keys
// of the other input method; a typNewPiece is one planned insertion into a
// key index. Plain values; they own only their text. Also the limits that
// keep the lexicon's files valid as it grows.
#pragma once

#include <cstdint>

#include "base/CString.h"

struct typCiZuRec {
  CString ci;      // the phrase, GBK
  int offset = 0;  // its byte offset in the phrase store
};

struct typNewPiece {
  int at = 0;          // position in the old index before which the bytes go
  int size = 0;        // bytes inserted: an entry, plus the key for a new key line
  uint8_t weight = 0;  // weight byte of the new entry (4-byte entries)
};

// At most this many keys are made for one phrase: a long phrase of
// characters with several readings would otherwise give the product of all
// their readings.
constexpr int kMaxKeysPerPhrase = 64;
// A new entry goes after this many entries of an existing key.
constexpr int kNewEntryAfter = 4;
// The idle work saves changed learning this many seconds after the change,
// and waits as long again after a save that failed.
constexpr uint32_t kIdleSaveDelaySec = 10;
