#include "framework/ContainerRecs.h"

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
