// typCharFatFmt.h: one candidate of the engine, a plain 48-byte value record
// copied and passed by value everywhere; it owns nothing. It names a GBK
// character, a phrase of the phrase store by its byte offset, the engine's
// number-phrase text or an entry of the engine's word list, together with
// how it matched the typed keys. The free helpers turn a record into text,
// compare records, drop copies from a list and give the duplicate key.
#pragma once

#include <cstdint>

#include "engine/internal/FrameworkTypes.h"

// Values of typCharFatFmt::kind.
enum : uint8_t {
  kFatChar = 0,    // data[0..1] a GBK character (or one ASCII byte)
  kFatPhrase = 1,  // data[0..2] an index entry reference into the store
  kFatNumCi = 2,   // the engine's number-phrase text
  kFatWord = 3,    // data[0..1] index into the engine's word list, LSB first
  kFatNone = 16,   // nothing (the last-commit record without a commit)
};

constexpr int kFatKeyBytes = 32;  // key text with its NUL
constexpr int kFatDataBytes = 6;
// "No phrase": no offset of the 23-bit store can have this value, so code
// that needs a "none" never confuses it with the phrase at offset 0.
constexpr uint32_t kNoPhraseOffset = 0xFFFFFFFFu;

struct typCharFatFmt {
  uint8_t kind;          // not set by the constructor: producers set it
  uint8_t keyLen;        // typed keys matched (edit-distance, fuzzy segment)
  uint8_t usedKeys;      // typed keys a choice consumes; 0 not set
  uint8_t lianXianMark;  // 1 moved to the front by association ordering
  uint8_t data[kFatDataBytes];
  char key[kFatKeyBytes];  // NUL-terminated, at most 31 characters
  int16_t score;           // edit distance, lower first; 0 exact

  typCharFatFmt();

  // kind 0 record of the character lead/trail (trail 0 for one byte).
  static typCharFatFmt Char(uint8_t lead, uint8_t trail);
  // kind 1 record of an index entry: its three bytes as stored (marker
  // included) and, for a 4-byte pinyin entry, its weight.
  static typCharFatFmt Phrase(const uint8_t* entry, uint8_t weight);
  // kind 1 record of the phrase at offset (below 2^23), with the entry
  // marker set as an index stores it.
  static typCharFatFmt PhraseAt(uint32_t offset);

  // The phrase offset of a kind 1 record; kNoPhraseOffset for other kinds.
  uint32_t PhraseOffset() const;
  // Copies text into key, cut to 31 bytes.
  void SetKey(const char* text);
  // Keys a choice of this candidate consumes: usedKeys when set, else the
  // key's length for an exact match (score 0), else keyLen.
  int UsedKeyCount() const;
};

static_assert(sizeof(typCharFatFmt) == 4 + kFatDataBytes + kFatKeyBytes + 2,
              "plain record without padding");

// The text of rec by its kind (see the record); empty when the kind's
// source is off, not loaded or out of range.
void FatFmt2NmlChar(typCharFatFmt rec, CString& text);
// Nonzero when the leading data bytes agree: 3 when a is a phrase, else 2.
int SameFatChar(typCharFatFmt a, typCharFatFmt b);
// Removes every element e of list with SameFatChar(rec, e), keeping order.
void ExcludeChnChars(AArray<typCharFatFmt, typCharFatFmt&>& list, typCharFatFmt& rec);
// The duplicate key: the character itself for kind 0, else six upper-case
// hexadecimal digits of data bytes 0..2 (marker bit as stored).
void GetFatChnCharHexStr(typCharFatFmt& rec, CString& key);
