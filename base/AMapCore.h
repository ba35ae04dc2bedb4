// AMapCore.h: the chained hash map behind the four fixed-type maps of
// FixedMaps.h. AMapCore owns the bucket array and a pool of fixed-size
// records carved from typMemBlk blocks; through the record hooks MakeMapRec
// and DestructMapRec each map says how its records come into being and go
// away. AMapFixed is the typed layer the four maps share: lookup, insertion,
// removal and the one running iteration.
//
// A record is: the next record of its bucket (a pointer, first), the key, the
// value. Buckets are hash modulo the table size (64). Iteration order is part
// of the contract, callers depend on it: buckets in ascending order, and
// within a bucket the most recently inserted record first. A record freed by
// RemoveKey is the next one handed out; the last record removed gives every
// pool block back.
//
// Not copyable. AMapCore's destructor is not virtual: maps are used by their
// own class, never deleted through an AMapCore pointer.
#pragma once

#include <cassert>
#include <cstdint>
#include <new>

#include "base/ContainerRecs.h"

class AMapCore {
 public:
  explicit AMapCore(int blockSize);
  AMapCore(const AMapCore&) = delete;
  AMapCore& operator=(const AMapCore&) = delete;

  int GetCount() const { return m_nCount; }
  // -1 when the map holds records (start an iteration), else 0.
  long GetStartPosition() const { return m_nCount ? -1 : 0; }
  // Runs DestructMapRec on every record, bucket by bucket, frees the bucket
  // array and every pool block.
  void RemoveAll();
  // Replaces the bucket array by size empty buckets (at least 1); records
  // are not rehashed, so this is for an empty map.
  void HashTableAlloc(unsigned long size);
  // A record from the pool, after MakeMapRec.
  void* NewMapRec();
  // DestructMapRec, then back to the front of the pool's free chain; the
  // last record gives everything back (RemoveAll).
  void FreeMapRec(void* rec);

  virtual void MakeMapRec(void* rec) {}
  virtual void DestructMapRec(void* rec) {}

 protected:
  ~AMapCore();  // RemoveAll; the maps call their own RemoveAll first

  // The link word at the start of every record.
  static void*& Link(void* rec) { return *static_cast<void**>(rec); }
  // The first record of the first non-empty bucket from b on (remembered in
  // m_nIterBucket), or null.
  void* FirstFrom(uint32_t b);

  uint32_t m_nHashTableSize = 64;
  int32_t m_nCount = 0;
  typMemBlk* m_pBlocks = nullptr;  // owned pool blocks
  int32_t m_nBlockSize;
  void** m_pHashTable = nullptr;  // owned, m_nHashTableSize buckets
  void* m_pFreeList = nullptr;    // pool chain, linked through the link word
  int32_t m_nRecSize = 16;
  int32_t m_nIterBucket = -1;
};

// The typed members every fixed map has. Traits gives:
//   Key, Value          what a record stores
//   ArgKey              how a key is passed (const char* for string keys)
//   Hash(ArgKey)        the map's hash
//   Equal(const Key&, ArgKey)
template <class Traits>
class AMapFixed : public AMapCore {
 public:
  using Key = typename Traits::Key;
  using ArgKey = typename Traits::ArgKey;
  using Value = typename Traits::Value;
  struct Rec {
    Rec* pNext;
    Key key;
    Value value;
  };
  static_assert(std::is_standard_layout_v<Rec>, "the link word must start the record");

  explicit AMapFixed(int blockSize) : AMapCore(blockSize) {
    m_nRecSize = static_cast<int32_t>(sizeof(Rec));
  }
  ~AMapFixed() { RemoveAll(); }

  void MakeMapRec(void* rec) override { ::new (rec) Rec(); }
  void DestructMapRec(void* rec) override { static_cast<Rec*>(rec)->~Rec(); }

  uint32_t GetHashKey(ArgKey key) const { return Traits::Hash(key); }

  // Sets bucket (also without a bucket array); returns key's record or null.
  Rec* GetMapRecAt(ArgKey key, unsigned long& bucket) const {
    bucket = GetHashKey(key) % m_nHashTableSize;
    if (!m_pHashTable) return nullptr;
    for (auto* rec = static_cast<Rec*>(m_pHashTable[bucket]); rec; rec = rec->pNext)
      if (Traits::Equal(rec->key, key)) return rec;
    return nullptr;
  }

  // Present: value = key's value, returns 1; else returns 0, value untouched.
  int Lookup(ArgKey key, Value& value) const {
    unsigned long bucket;
    const Rec* rec = GetMapRecAt(key, bucket);
    if (!rec) return 0;
    value = rec->value;
    return 1;
  }

  // key's value; a missing key is inserted first at the front of its bucket.
  Value& operator[](ArgKey key) {
    unsigned long bucket;
    if (Rec* rec = GetMapRecAt(key, bucket)) return rec->value;
    if (!m_pHashTable) HashTableAlloc(m_nHashTableSize);
    auto* rec = static_cast<Rec*>(NewMapRec());
    rec->key = key;
    rec->pNext = static_cast<Rec*>(m_pHashTable[bucket]);
    m_pHashTable[bucket] = rec;
    return rec->value;
  }

  // 1 when key was found and removed, else 0.
  int RemoveKey(ArgKey key) {
    if (!m_pHashTable) return 0;
    const uint32_t bucket = GetHashKey(key) % m_nHashTableSize;
    for (void** link = &m_pHashTable[bucket]; *link; link = &Link(*link)) {
      auto* rec = static_cast<Rec*>(*link);
      if (Traits::Equal(rec->key, key)) {
        *link = rec->pNext;
        FreeMapRec(rec);
        return 1;
      }
    }
    return 0;
  }

  // Hands out the record at pos (the first one for -1) and moves pos to the
  // next, 0 after the last. Does nothing without a bucket array or at pos 0.
  void GetNextMapRec(long& pos, Key& key, Value& value) {
    if (!m_pHashTable || pos == 0) {
      pos = 0;
      return;
    }
    auto* rec = static_cast<Rec*>(pos == -1 ? FirstFrom(0) : reinterpret_cast<void*>(pos));
    if (!rec) {
      pos = 0;
      return;
    }
    key = rec->key;
    value = rec->value;
    void* next = rec->pNext ? rec->pNext : FirstFrom(static_cast<uint32_t>(m_nIterBucket) + 1);
    pos = reinterpret_cast<long>(next);
  }
};
