#include "base/AMapCore.h"

AMapCore::AMapCore(int blockSize) : m_nBlockSize(blockSize) { assert(blockSize > 0); }

AMapCore::~AMapCore() { RemoveAll(); }

void AMapCore::RemoveAll() {
  if (m_pHashTable) {
    for (uint32_t b = 0; b < m_nHashTableSize; ++b) {
      for (void* rec = m_pHashTable[b]; rec;) {
        void* next = Link(rec);
        DestructMapRec(rec);
        rec = next;
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

void AMapCore::HashTableAlloc(unsigned long size) {
  delete[] m_pHashTable;
  m_nHashTableSize = size ? static_cast<uint32_t>(size) : 1u;
  m_pHashTable = new void*[m_nHashTableSize]();
}

void* AMapCore::NewMapRec() {
  if (!m_pFreeList) m_pFreeList = RefillPool(m_pBlocks, m_nBlockSize, m_nRecSize);
  void* rec = m_pFreeList;
  m_pFreeList = Link(rec);
  ++m_nCount;
  MakeMapRec(rec);
  return rec;
}

void AMapCore::FreeMapRec(void* rec) {
  DestructMapRec(rec);
  Link(rec) = m_pFreeList;
  m_pFreeList = rec;
  if (--m_nCount == 0) RemoveAll();
}

void* AMapCore::FirstFrom(uint32_t b) {
  return FirstInBuckets(m_pHashTable, m_nHashTableSize, b, m_nIterBucket);
}
