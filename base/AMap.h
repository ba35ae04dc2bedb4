// AMap.h: AMap<KEY, ARG_KEY, VALUE, ARG_VALUE>, a hash map with chained
// buckets (64 unless InitHashTable says otherwise) whose records come from a
// pool of blocks of blockSize records. Keys are integers, enumerations,
// pointers or CStrings; an integer key hashes by its low byte, a CString key
// by its text (TextHash in ContainerRecs.h).
//
// Iteration order is part of the contract, callers depend on it: buckets in
// ascending order, and within a bucket the most recently inserted record
// first. The map keeps one iteration state, so one iteration runs at a time
// and the map is not changed during it.
//
// The map owns its keys and values; a pointer value is not owned (removing a
// record never frees what it points to). Records never move; they go back to
// the pool only through RemoveAll. Not copyable.
#pragma once

#include <cassert>
#include <cstdint>
#include <new>
#include <type_traits>

#include "base/ContainerRecs.h"

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
class AMap {
 public:
  struct AMapRec {
    AMapRec* pNext;  // next record of the same bucket
    alignas(KEY) unsigned char key[sizeof(KEY)];
    alignas(VALUE) unsigned char value[sizeof(VALUE)];
    KEY& Key() { return *std::launder(reinterpret_cast<KEY*>(key)); }
    VALUE& Value() { return *std::launder(reinterpret_cast<VALUE*>(value)); }
  };

  explicit AMap(int blockSize) : m_nBlockSize(blockSize) { assert(blockSize > 0); }
  ~AMap() { RemoveAll(); }
  AMap(const AMap&) = delete;
  AMap& operator=(const AMap&) = delete;

  int GetCount() const { return m_nCount; }

  // Frees the bucket array and, with allocNow, makes one of size empty
  // buckets; the table size becomes size (at least 1) either way. Records
  // already in the map are not rehashed: call it only on an empty map.
  void InitHashTable(unsigned long size, int allocNow) {
    delete[] m_pHashTable;
    m_pHashTable = nullptr;
    m_nHashTableSize = size ? static_cast<uint32_t>(size) : 1u;
    if (allocNow) m_pHashTable = new AMapRec*[m_nHashTableSize]();
  }

  // Sets bucket to key's bucket; returns key's record or null.
  AMapRec* GetMapRecAt(ARG_KEY key, unsigned long& bucket) const {
    bucket = Hash(key) % m_nHashTableSize;
    if (!m_pHashTable) return nullptr;
    for (AMapRec* rec = m_pHashTable[bucket]; rec; rec = rec->pNext)
      if (CompareRecs(&rec->Key(), &key)) return rec;
    return nullptr;
  }

  // key's value; a missing key is inserted first with a default value.
  VALUE& operator[](ARG_KEY key) {
    unsigned long bucket;
    if (AMapRec* rec = GetMapRecAt(key, bucket)) return rec->Value();
    if (!m_pHashTable) InitHashTable(m_nHashTableSize, 1);
    AMapRec* rec = NewMapRec();
    rec->Key() = key;
    rec->pNext = m_pHashTable[bucket];
    m_pHashTable[bucket] = rec;
    return rec->Value();
  }

  // Present: value = key's value, returns 1. Else returns 0, value untouched.
  int Lookup(ARG_KEY key, VALUE& value) const {
    unsigned long bucket;
    AMapRec* rec = GetMapRecAt(key, bucket);
    if (!rec) return 0;
    value = rec->Value();
    return 1;
  }
  void SetAt(ARG_KEY key, ARG_VALUE value) { (*this)[key] = value; }

  // -1 when the map holds records (start an iteration), 0 when empty.
  long GetStartPosition() const { return m_nCount ? -1 : 0; }
  // Hands out the record at pos (the first record for -1) and moves pos to
  // the next one, 0 after the last. Does nothing when pos is 0.
  void GetNextMapRec(long& pos, KEY& key, VALUE& value) {
    AMapRec* rec = pos == -1 ? FirstFrom(0) : reinterpret_cast<AMapRec*>(pos);
    if (!rec) {
      pos = 0;
      return;
    }
    key = rec->Key();
    value = rec->Value();
    AMapRec* next = rec->pNext ? rec->pNext : FirstFrom(m_nIterBucket + 1);
    pos = reinterpret_cast<long>(next);
  }

  // Destroys every value and then its key, frees the buckets and every pool
  // block.
  void RemoveAll() {
    if (m_pHashTable) {
      for (uint32_t b = 0; b < m_nHashTableSize; ++b) {
        for (AMapRec* rec = m_pHashTable[b]; rec; rec = rec->pNext) {
          rec->Value().~VALUE();
          rec->Key().~KEY();
        }
      }
      delete[] m_pHashTable;
      m_pHashTable = nullptr;
    }
    m_nCount = 0;
    m_pFreeList = nullptr;
    if (m_pBlocks) m_pBlocks->FreeDataChain();
    m_pBlocks = nullptr;
  }

  // Takes a record from the pool and default-constructs its key and value.
  AMapRec* NewMapRec() {
    if (!m_pFreeList)
      m_pFreeList = static_cast<AMapRec*>(RefillPool(m_pBlocks, m_nBlockSize, sizeof(AMapRec)));
    AMapRec* rec = m_pFreeList;
    m_pFreeList = rec->pNext;
    ++m_nCount;
    MakeRecs(&rec->Key(), 1);
    MakeRecs(&rec->Value(), 1);
    return rec;
  }

  // Set to 1 by the owner of a CString-keyed map before first use. CString
  // keys always hash by their text: hashing the address of the text, as 0
  // would otherwise mean, lets two equal keys miss each other.
  int32_t m_nTextHash = 0;

 private:
  template <class K>
  static uint32_t Hash(const K& key) {
    if constexpr (std::is_same_v<std::remove_cv_t<KEY>, CString>) {
      return TextHash(static_cast<const char*>(key));
    } else {
      return GetHashKey(static_cast<const KEY&>(key));
    }
  }
  AMapRec* FirstFrom(uint32_t b) {
    return FirstInBuckets(m_pHashTable, m_nHashTableSize, b, m_nIterBucket);
  }

  int32_t m_nBlockSize;
  AMapRec** m_pHashTable = nullptr;  // owned, m_nHashTableSize buckets
  uint32_t m_nHashTableSize = 64;
  int32_t m_nCount = 0;
  int32_t m_nIterBucket = 0;
  AMapRec* m_pFreeList = nullptr;  // pool chain, linked through pNext
  typMemBlk* m_pBlocks = nullptr;  // owned
};
