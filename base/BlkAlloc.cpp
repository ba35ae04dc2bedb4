#include "base/BlkAlloc.h"

#include <cstdlib>
#include <cstring>

#include "base/CString.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
// A block on a free list is poisoned past its link word, so a string that is
// used after its buffer went back to the allocator is caught by ASan even
// though the memory never returns to the C library.
#define KVR_POISON(p, n) __asan_poison_memory_region((p), (n))
#define KVR_UNPOISON(p, n) __asan_unpoison_memory_region((p), (n))
#else
#define KVR_POISON(p, n) ((void)(p), (void)(n))
#define KVR_UNPOISON(p, n) ((void)(p), (void)(n))
#endif

namespace {

constexpr unsigned long kSmallLimit = 320;
constexpr unsigned long kSpare = 8;

static_assert(kSmallLimit / 4 == CString::kCacheLists, "one list per 4-byte class");
// The smallest block (class 0) is kSpare bytes: the link word must fit.
static_assert(sizeof(void*) <= kSpare, "free-list link must fit the spare bytes");

void* i_blkalloc(unsigned long size) {
  void* p = std::malloc(size + kSpare);
  CString::ThrowIfNull(p);
  return p;
}

void i_blkrealfree(void* block) { std::free(block); }

void* NextOf(void* block) {
  void* next;
  std::memcpy(&next, block, sizeof next);
  return next;
}

void SetNext(void* block, void* next) { std::memcpy(block, &next, sizeof next); }

// Bytes every block on list `index` is sure to have: it was taken for some
// size of the class, at least 4 * index, plus the spare bytes.
unsigned long ClassBytes(unsigned long index) { return 4 * index + kSpare; }

}  // namespace

void* CString::m_Cache[CString::kCacheLists];

void* blkalloc(unsigned long size) {
  if (size >= kSmallLimit) return i_blkalloc(size);
  cache_arb guard;
  void*& head = CString::m_Cache[size / 4];
  if (!head) return i_blkalloc(size);
  void* block = head;
  KVR_UNPOISON(block, ClassBytes(size / 4));
  head = NextOf(block);
  return block;
}

void blkfree(void* block, unsigned long size) {
  if (!block) return;
  i_blkverify(block, size);
  if (size >= kSmallLimit) {
    i_blkrealfree(block);
    return;
  }
  cache_arb guard;
  void*& head = CString::m_Cache[size / 4];
  SetNext(block, head);
  head = block;
  // Keep only the link readable while the block is free.
  KVR_POISON(static_cast<char*>(block) + sizeof(void*), ClassBytes(size / 4) - sizeof(void*));
}

void CString::CompactFree() {
  cache_arb guard;
  for (unsigned long i = 0; i < kCacheLists; ++i) {
    void*& head = m_Cache[i];
    while (head) {
      void* block = head;
      head = NextOf(block);
      KVR_UNPOISON(block, ClassBytes(i));
      i_blkrealfree(block);
    }
  }
}
