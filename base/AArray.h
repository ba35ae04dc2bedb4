// AArray.h: AArray<TYPE, ARG_TYPE>, the growable array of typed records that
// every subsystem keeps its records in (candidates, rectangles, list-box
// items, forward-event requests...). ARG_TYPE is the type operations receive
// a record in, normally a reference to TYPE.
//
// The array owns its records. Storage is allocated on the first sizing and
// given back by RemoveAll (unlike the record arrays, which keep it). When the
// array grows it steps by growBy records (20 by default; growBy 0 means a
// step of size / 8, between 4 and 1024). Records move when the storage grows
// or records shift, see ContainerRecs.h for how. Indexes are not checked:
// callers keep them below GetSize() (any non-negative index for SetAtGrow,
// up to GetSize() for InsertTo). Not copyable: use Copy.
#pragma once

#include <cassert>
#include <cstdint>
#include <new>

#include "base/ContainerRecs.h"

template <class TYPE, class ARG_TYPE>
class AArray {
 public:
  AArray() = default;
  ~AArray() { RemoveAll(); }
  AArray(const AArray&) = delete;
  AArray& operator=(const AArray&) = delete;

  int GetSize() const { return m_nSize; }
  TYPE& operator[](int i) { return m_pData[i]; }
  const TYPE& operator[](int i) const { return m_pData[i]; }

  // Makes the array hold newSize records (new ones default-constructed).
  // growBy other than -1 is stored as the step. newSize 0 frees the storage.
  void SetSize(int newSize, int growBy = -1);
  void RemoveAll() { SetSize(0, -1); }

  // Returns the index of the new record. v may be a record of this array.
  int Add(ARG_TYPE v) {
    int i = m_nSize;
    SetAtGrow(i, v);
    return i;
  }
  void SetAt(int i, ARG_TYPE v) { m_pData[i] = v; }
  // Grows to i + 1 records first when i is not below the size.
  void SetAtGrow(int i, ARG_TYPE v);
  // Destroys count records at i and moves the records behind them down.
  void RemoveAt(int i, int count = 1);
  // Inserts count copies of v before record i (at the end, after default
  // records, when i is not below the size). v may be a record of this array.
  void InsertTo(int i, ARG_TYPE v, int count = 1);
  // Inserts the records of other before record i; returns other's size.
  int InsertTo(int i, AArray* other);
  // Appends copies of other's records; returns the old size, or -1 (and
  // changes nothing) when other is this array.
  int Append(const AArray& other);
  // Makes this array a copy of other.
  void Copy(const AArray& other);

 private:
  bool Aliases(const TYPE* p) const { return p >= m_pData && p < m_pData + m_nMaxSize; }
  static TYPE* Allocate(int n) {
    static_assert(alignof(TYPE) <= __STDCPP_DEFAULT_NEW_ALIGNMENT__, "over-aligned record");
    return static_cast<TYPE*>(::operator new(sizeof(TYPE) * static_cast<size_t>(n)));
  }
  static void Free(TYPE* p) { ::operator delete(static_cast<void*>(p)); }

  TYPE* m_pData = nullptr;  // owned; m_nMaxSize places, m_nSize of them live
  int32_t m_nSize = 0;
  int32_t m_nMaxSize = 0;
  int32_t m_nGrowBy = 20;
};

template <class TYPE, class ARG_TYPE>
void AArray<TYPE, ARG_TYPE>::SetSize(int newSize, int growBy) {
  assert(newSize >= 0);
  if (newSize < 0) newSize = 0;
  if (growBy != -1) m_nGrowBy = growBy;
  if (newSize == 0) {
    if (m_pData) {
      DestructRecs(m_pData, m_nSize);
      Free(m_pData);
      m_pData = nullptr;
    }
    m_nSize = m_nMaxSize = 0;
  } else if (!m_pData) {
    m_pData = Allocate(newSize);
    MakeRecs(m_pData, newSize);
    m_nSize = m_nMaxSize = newSize;
  } else if (newSize > m_nMaxSize) {
    int step = m_nGrowBy;
    if (step == 0) {
      step = m_nSize / 8;
      step = step < 4 ? 4 : step > 1024 ? 1024 : step;
    }
    const int newMax = newSize > m_nMaxSize + step ? newSize : m_nMaxSize + step;
    TYPE* fresh = Allocate(newMax);
    RelocateRecs(fresh, m_pData, m_nSize);
    MakeRecs(fresh + m_nSize, newSize - m_nSize);
    Free(m_pData);
    m_pData = fresh;
    m_nSize = newSize;
    m_nMaxSize = newMax;
  } else {
    if (newSize > m_nSize)
      MakeRecs(m_pData + m_nSize, newSize - m_nSize);
    else
      DestructRecs(m_pData + newSize, m_nSize - newSize);
    m_nSize = newSize;
  }
}

template <class TYPE, class ARG_TYPE>
void AArray<TYPE, ARG_TYPE>::SetAtGrow(int i, ARG_TYPE v) {
  if (i >= m_nSize) {
    if (Aliases(&v)) {
      // v lives in the storage that growing may free: keep a copy.
      TYPE copy(v);
      SetSize(i + 1, -1);
      m_pData[i] = copy;
      return;
    }
    SetSize(i + 1, -1);
  }
  m_pData[i] = v;
}

template <class TYPE, class ARG_TYPE>
void AArray<TYPE, ARG_TYPE>::RemoveAt(int i, int count) {
  assert(i >= 0 && count >= 0 && i + count <= m_nSize);
  if (count <= 0) return;
  DestructRecs(m_pData + i, count);
  RelocateRecs(m_pData + i, m_pData + i + count, m_nSize - i - count);
  m_nSize -= count;
}

template <class TYPE, class ARG_TYPE>
void AArray<TYPE, ARG_TYPE>::InsertTo(int i, ARG_TYPE v, int count) {
  assert(i >= 0 && count >= 0);
  if (count <= 0) return;
  if (Aliases(&v)) {
    TYPE copy(v);
    InsertTo(i, copy, count);
    return;
  }
  if (i < m_nSize) {
    const int oldSize = m_nSize;
    SetSize(m_nSize + count, -1);
    DestructRecs(m_pData + oldSize, count);
    RelocateRecs(m_pData + i + count, m_pData + i, oldSize - i);
    MakeRecs(m_pData + i, count);
  } else {
    SetSize(i + count, -1);
  }
  for (int k = 0; k < count; ++k) m_pData[i + k] = v;
}

template <class TYPE, class ARG_TYPE>
int AArray<TYPE, ARG_TYPE>::InsertTo(int i, AArray* other) {
  const int n = other->GetSize();
  if (n == 0) return 0;
  if (other == this) {
    AArray copy;
    copy.Copy(*this);
    return InsertTo(i, &copy);
  }
  InsertTo(i, (*other)[0], n);
  for (int k = 0; k < n; ++k) SetAt(i + k, (*other)[k]);
  return n;
}

template <class TYPE, class ARG_TYPE>
int AArray<TYPE, ARG_TYPE>::Append(const AArray& other) {
  if (&other == this) return -1;
  const int oldSize = m_nSize;
  SetSize(m_nSize + other.m_nSize, -1);
  CopyRecs(m_pData + oldSize, other.m_pData, other.m_nSize);
  return oldSize;
}

template <class TYPE, class ARG_TYPE>
void AArray<TYPE, ARG_TYPE>::Copy(const AArray& other) {
  if (&other == this) return;
  SetSize(other.m_nSize, -1);
  CopyRecs(m_pData, other.m_pData, other.m_nSize);
}
