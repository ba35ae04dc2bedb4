// AList.h: AList<TYPE, ARG_TYPE>, a doubly linked list of typed records
// (dictionary items, resource-script controls, editor undo steps, strings).
// Nodes come from a pool of blocks of blockSize nodes each, so an insertion
// allocates only once per block; nodes never move, so a position stays valid
// until its node is removed. A position is the node's address held in a
// long; 0 means no node.
//
// The list owns its records. Freed nodes go back to the pool; when the list
// becomes empty every block is given back at once. Positions passed in must
// be live positions of this list; GetTail and RemoveTail need a non-empty
// list. Not copyable.
#pragma once

#include <cassert>
#include <cstdint>
#include <new>

#include "base/ContainerRecs.h"

template <class TYPE, class ARG_TYPE>
class AList {
 public:
  struct ANode {
    ANode* pNext;  // first: the pool links free nodes through it
    ANode* pPrev;
    alignas(TYPE) unsigned char rec[sizeof(TYPE)];
    TYPE& Rec() { return *std::launder(reinterpret_cast<TYPE*>(rec)); }
  };

  explicit AList(int blockSize) : m_nBlockSize(blockSize) { assert(blockSize > 0); }
  ~AList() { RemoveAll(); }
  AList(const AList&) = delete;
  AList& operator=(const AList&) = delete;

  int GetCount() const { return m_nCount; }
  long GetHeadPosition() const { return Pos(m_pNodeHead); }
  long GetTailPosition() const { return Pos(m_pNodeTail); }

  // The record at pos; pos moves to the next (previous) node, 0 at the end.
  TYPE& GetNext(long& pos) {
    ANode* node = Node(pos);
    pos = Pos(node->pNext);
    return node->Rec();
  }
  TYPE& GetPrev(long& pos) {
    ANode* node = Node(pos);
    pos = Pos(node->pPrev);
    return node->Rec();
  }
  TYPE& GetAt(long pos) { return Node(pos)->Rec(); }
  TYPE& GetTail() {
    assert(m_pNodeTail);
    return m_pNodeTail->Rec();
  }
  void SetAt(long pos, ARG_TYPE v) { Node(pos)->Rec() = v; }
  // The position of the i-th node from the head; 0 when i is out of range.
  long FindIndex(int i) const {
    if (i < 0 || i >= m_nCount) return 0;
    ANode* node = m_pNodeHead;
    while (i-- > 0) node = node->pNext;
    return Pos(node);
  }

  long AddHead(ARG_TYPE v) {
    ANode* node = NewNode(nullptr, m_pNodeHead);
    node->Rec() = v;
    (m_pNodeHead ? m_pNodeHead->pPrev : m_pNodeTail) = node;
    m_pNodeHead = node;
    return Pos(node);
  }
  long AddTail(ARG_TYPE v) {
    ANode* node = NewNode(m_pNodeTail, nullptr);
    node->Rec() = v;
    (m_pNodeTail ? m_pNodeTail->pNext : m_pNodeHead) = node;
    m_pNodeTail = node;
    return Pos(node);
  }
  long InsertBefore(long pos, ARG_TYPE v) {
    if (pos == 0) return AddHead(v);
    ANode* at = Node(pos);
    ANode* node = NewNode(at->pPrev, at);
    node->Rec() = v;
    (at->pPrev ? at->pPrev->pNext : m_pNodeHead) = node;
    at->pPrev = node;
    return Pos(node);
  }
  long InsertAfter(long pos, ARG_TYPE v) {
    if (pos == 0) return AddTail(v);
    ANode* at = Node(pos);
    ANode* node = NewNode(at, at->pNext);
    node->Rec() = v;
    (at->pNext ? at->pNext->pPrev : m_pNodeTail) = node;
    at->pNext = node;
    return Pos(node);
  }

  void RemoveAt(long pos) {
    ANode* node = Node(pos);
    (node->pPrev ? node->pPrev->pNext : m_pNodeHead) = node->pNext;
    (node->pNext ? node->pNext->pPrev : m_pNodeTail) = node->pPrev;
    FreeNode(node);
  }
  TYPE RemoveTail() {
    assert(m_pNodeTail);
    TYPE out = m_pNodeTail->Rec();
    RemoveAt(Pos(m_pNodeTail));
    return out;
  }
  // Destroys every record and gives every pool block back.
  void RemoveAll() {
    for (ANode* node = m_pNodeHead; node; node = node->pNext) node->Rec().~TYPE();
    if (m_pBlocks) m_pBlocks->FreeDataChain();
    m_pNodeHead = m_pNodeTail = m_pNodeFree = nullptr;
    m_pBlocks = nullptr;
    m_nCount = 0;
  }

  // Takes a node from the pool, links it to prev and next (the neighbours'
  // links are the caller's) and default-constructs its record.
  ANode* NewNode(ANode* prev, ANode* next) {
    if (!m_pNodeFree)
      m_pNodeFree = static_cast<ANode*>(RefillPool(m_pBlocks, m_nBlockSize, sizeof(ANode)));
    ANode* node = m_pNodeFree;
    m_pNodeFree = node->pNext;
    node->pPrev = prev;
    node->pNext = next;
    ++m_nCount;
    MakeRecs(&node->Rec(), 1);
    return node;
  }
  // Destroys the node's record and returns the node to the pool; the last
  // node gives all blocks back.
  void FreeNode(ANode* node) {
    node->Rec().~TYPE();
    node->pNext = m_pNodeFree;
    m_pNodeFree = node;
    if (--m_nCount == 0) RemoveAll();
  }

 private:
  static long Pos(ANode* node) { return reinterpret_cast<long>(node); }
  static ANode* Node(long pos) {
    assert(pos != 0);
    return reinterpret_cast<ANode*>(pos);
  }

  ANode* m_pNodeHead = nullptr;
  ANode* m_pNodeTail = nullptr;
  int32_t m_nCount = 0;
  ANode* m_pNodeFree = nullptr;    // pool chain, linked through pNext
  typMemBlk* m_pBlocks = nullptr;  // owned
  int32_t m_nBlockSize;
};
