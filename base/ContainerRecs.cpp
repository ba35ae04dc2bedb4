#include "base/ContainerRecs.h"

#include <cassert>
#include <new>

typMemBlk* typMemBlk::Create(typMemBlk*& head, unsigned long count, unsigned long recSize) {
  assert(count > 0 && recSize > 0);
  void* raw = ::operator new(kHeaderBytes + count * recSize);
  auto* block = ::new (raw) typMemBlk{head};
  head = block;
  return block;
}

void typMemBlk::FreeDataChain() {
  typMemBlk* block = this;
  while (block) {
    typMemBlk* next = block->pNext;
    ::operator delete(static_cast<void*>(block));
    block = next;
  }
}

void* RefillPool(typMemBlk*& blocks, unsigned long count, unsigned long recSize) {
  typMemBlk* block = typMemBlk::Create(blocks, count, recSize);
  auto* recs = static_cast<unsigned char*>(block->data());
  for (unsigned long i = 0; i < count; ++i) {
    void* next = i + 1 < count ? recs + (i + 1) * recSize : nullptr;
    *static_cast<void**>(static_cast<void*>(recs + i * recSize)) = next;
  }
  return recs;
}
