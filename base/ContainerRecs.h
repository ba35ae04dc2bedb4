// ContainerRecs.h: what the container templates (AArray, AList, AStack, AMap)
// share: the pool block that list nodes and map records are carved from,
// bringing records into being, copying, comparing and hashing them, and the
// rule for moving them.
//
// Records of an AArray move when it grows or shifts. A type that stays valid
// after a bitwise move (every trivially copyable type, and CString, which is
// one pointer to its shared descriptor) moves as raw bytes; any other type is
// moved element by element with its move constructor and destructor, so a
// record holding, say, a std::string never sees its bytes copied under it. A
// record type that is known to survive a bitwise move may say so by
// specialising ABitwiseMovable.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>
#include <type_traits>
#include <utility>

#include "base/CString.h"

// A position in a list or map is the address of its node held in a long;
// 0 is no node. That only works where a long holds a pointer.
static_assert(sizeof(long) >= sizeof(void*), "positions hold node addresses in a long");

template <class T>
struct ABitwiseMovable : std::is_trivially_copyable<T> {};
template <>
struct ABitwiseMovable<CString> : std::true_type {};

// A block of records for a pool: one link word (the next block of the same
// chain), padded so that the records behind it are aligned for any type.
struct typMemBlk {
  typMemBlk* pNext;

  // Allocates a block for count records of recSize bytes, links it in front
  // of head and makes it the new head. Returns it.
  static typMemBlk* Create(typMemBlk*& head, unsigned long count, unsigned long recSize);
  // The first record, just after the link word and its padding.
  void* data() { return reinterpret_cast<unsigned char*>(this) + kHeaderBytes; }
  // Frees this block and every block after it in its chain.
  void FreeDataChain();

  static constexpr size_t kHeaderBytes = alignof(std::max_align_t) > sizeof(typMemBlk*)
                                             ? alignof(std::max_align_t)
                                             : sizeof(typMemBlk*);
};

// Refills an empty pool: allocates a block of count records of recSize bytes
// in front of blocks and chains its records through their first word (the
// link every node and record starts with), in address order, the last one
// ending the chain. Returns the first record.
void* RefillPool(typMemBlk*& blocks, unsigned long count, unsigned long recSize);

// The first record of the first non-empty bucket from `from` on, remembering
// that bucket in iterBucket; null when there is none. The maps' iterations
// step through their buckets with it.
template <class REC>
REC* FirstInBuckets(REC* const* buckets, uint32_t size, uint32_t from, int32_t& iterBucket) {
  if (!buckets) return nullptr;
  for (uint32_t b = from; b < size; ++b) {
    if (buckets[b]) {
      iterBucket = static_cast<int32_t>(b);
      return buckets[b];
    }
  }
  return nullptr;
}

// Default-constructs n records in place at dst (scalars start at zero).
template <class TYPE>
void MakeRecs(TYPE* dst, int n) {
  for (int i = 0; i < n; ++i) ::new (static_cast<void*>(dst + i)) TYPE();
}

// Destroys n records at dst.
template <class TYPE>
void DestructRecs(TYPE* dst, int n) {
  for (int i = 0; i < n; ++i) dst[i].~TYPE();
}

// Assigns src[i] to dst[i] for i from 0 to n - 1, in that order.
template <class TYPE>
void CopyRecs(TYPE* dst, const TYPE* src, int n) {
  for (int i = 0; i < n; ++i) dst[i] = src[i];
}

// Moves n live records from src to the raw places at dst (the two ranges may
// overlap); afterwards the places at src that dst does not cover are raw.
template <class TYPE>
void RelocateRecs(TYPE* dst, TYPE* src, int n) {
  if (n <= 0 || dst == src) return;
  if constexpr (ABitwiseMovable<TYPE>::value) {
    std::memmove(static_cast<void*>(dst), static_cast<const void*>(src), sizeof(TYPE) * n);
  } else if (dst < src) {
    for (int i = 0; i < n; ++i) {
      ::new (static_cast<void*>(dst + i)) TYPE(std::move(src[i]));
      src[i].~TYPE();
    }
  } else {
    for (int i = n - 1; i >= 0; --i) {
      ::new (static_cast<void*>(dst + i)) TYPE(std::move(src[i]));
      src[i].~TYPE();
    }
  }
}

// Key equality of the maps (for CString, its byte-wise equality).
template <class KEY, class ARG>
bool CompareRecs(const KEY* a, const ARG* b) {
  return *a == *b;
}

// The text hash of the string maps: h = h * 33 + byte, every byte taken as a
// signed char whatever the platform's char is, in unsigned 32-bit arithmetic.
// Bucket and iteration order depend on it, so it must not change.
inline uint32_t TextHash(const char* s) {
  uint32_t h = 0;
  for (; *s; ++s)
    h = h * 33u + static_cast<uint32_t>(static_cast<int32_t>(static_cast<int8_t>(*s)));
  return h;
}

// The hash of an integer, enumeration or pointer key: its low 8 bits.
template <class KEY>
uint32_t GetHashKey(const KEY& key) {
  if constexpr (std::is_pointer_v<KEY>) {
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(key) & 0xFF);
  } else {
    static_assert(std::is_integral_v<KEY> || std::is_enum_v<KEY>,
                  "AMap hashes integer, enumeration, pointer and CString keys");
    return static_cast<uint32_t>(key) & 0xFF;
  }
}

// The hash of a CString key: the text hash.
inline uint32_t GetHashKey(const CString& key) { return TextHash(key); }

// Inequality for the enumerations of the system, written as the negation of
// their equality. (The language's own comparison of enumerations gives the
// same result and is preferred where both apply.)
template <class T, std::enable_if_t<std::is_enum_v<T>, int> = 0>
bool operator!=(const T& a, const T& b) {
  return !(a == b);
}
