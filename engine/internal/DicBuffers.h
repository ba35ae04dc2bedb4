// DicBuffers.h: the byte-level work under the engine's sorted key lists and
// character lists, free of the engine object so that tests reach it
// directly: reading a file whole, making the padded C-allocated buffers the
// engine keeps, the two-key table, widening a pinyin character list to the
// learned form, and bounding the records of pykeys.dic.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/formats/PhraseStoreFormat.h"

namespace chndic {

// Zero bytes after every buffer the engine loads from a file.
constexpr size_t kPad = phrasestore::kPaddingBytes;

// The whole file into out; false when it cannot be opened or read whole.
[[nodiscard]] bool ReadWholeFile(const char* path, std::vector<uint8_t>& out);
// What ReadWholeFilePadded found.
enum class PaddedRead { kRead, kCannotOpen, kReadFailed, kNoMemory };
// The whole file into a malloc'ed buffer followed by extra + kPad zero
// bytes, as PaddedCopy of its bytes would be, but read in place: kRead with
// buf (freed by the caller with free()) and nBytes set; otherwise buf is
// null.
[[nodiscard]] PaddedRead ReadWholeFilePadded(const char* path, size_t extra, unsigned char*& buf,
                                             size_t& nBytes);
// Whether path names no file at all (as opposed to one that is there but
// cannot be read): only an absent learned file may be started afresh.
bool FileIsAbsent(const char* path);
// A malloc'ed copy of n bytes of data followed by extra + kPad zero bytes;
// null when memory runs out. The caller frees it with free().
unsigned char* PaddedCopy(const uint8_t* data, size_t n, size_t extra = 0);
// Ordinal 0..49 of a key character for the two-key table.
int KeyOrdinal(char c);
// The bucket of a key: ordinal(key[0]) * 50 + ordinal(key[1]), the second
// being the terminating zero of a one-character key; 0 for an empty key.
int KeyBucket(const char* key);

// How the data after each key of a sorted key list is laid out.
enum class KeyListLayout {
  kEntries,     // entries of entryLen bytes while the next byte has bit 7
  kPinYinKeys,  // one 4-byte record (pykeys.dic)
};
// The two-key table (2500 offsets) made record by record, in list order:
// each bucket holds the first record of its one- or two-key prefix, a
// bucket without one the offset of the bucket before it.
class TwoKeyTableMaker {
 public:
  // Empties table.
  explicit TwoKeyTableMaker(uint32_t* table);
  // The next record, at offset, whose key has keyLen (at least 1) key bytes
  // from key.
  void Add(const uint8_t* key, size_t keyLen, uint32_t offset);
  // Fills the buckets without a record; the table is then complete.
  void Finish();

 private:
  uint32_t* m_table;
  signed char m_prev0 = 0, m_prev1 = 0;
};
// Fills table (2500 offsets) for the records in data[0..len), which end at
// a zero byte or at len. Offsets count from data.
void BuildTwoKeyTable(const uint8_t* data, size_t len, KeyListLayout layout, int entryLen,
                      uint32_t* table);

// Whether any key of the sorted key list in data[0..len) (entries of
// entryLen bytes after each key, as kEntries) contains the byte key.
bool KeyListUsesKeyByte(const uint8_t* data, size_t len, int entryLen, uint8_t key);

// The learned form of a 2-byte character list: each character followed by
// a weight byte 0, then one zero byte; stops at a zero lead byte or at the
// end (a lone last byte is dropped).
std::vector<uint8_t> WidenPyFlat(const uint8_t* flat, size_t len);

// Bounds the records of a pykeys.dic buffer (data[0..len), zero-padded) in
// place: a record that runs past len ends the list there (a zero byte is
// written at its start); a run whose start + count passes nChars characters
// is cut to the characters that exist. Returns the first fault, "" when the
// buffer was sound.
std::string BoundPyKeys(uint8_t* data, size_t len, uint32_t nChars);

}  // namespace chndic
