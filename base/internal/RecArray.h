// RecArray.h: the typed members the three record arrays share, over
// CArrCore. T is the record type; a value type's hooks zero it, CString's
// construct it sharing the empty string. Every member that takes a record
// by reference copies it before the storage can move, so arr.Add(arr[0])
// and arr.InsertTo(i, &arr) behave as if the source had been copied first.
#pragma once

#include <cstdio>
#include <cstring>
#include <new>
#include <type_traits>

#include "base/CArrCore.h"

template <typename T>
class TRecArray : public CArrCore {
 public:
  TRecArray() { m_nRecSize = static_cast<int32_t>(sizeof(T)); }
  ~TRecArray() override { RemoveAll(); }

  void ConstructRec(unsigned char* rec) override { new (rec) T(); }
  void DestructRec(unsigned char* rec) override { Rec(rec).~T(); }
  void CopyRec(unsigned char* dst, unsigned char* src) override { Rec(dst) = Rec(src); }

  // Appends other's records; returns the old size.
  int Append(const TRecArray& other) {
    const int old = m_nSize;
    const int n = other.m_nSize;
    SetSize(old + n, -1);  // other may be *this: read its storage afterwards
    CopyRecs(old, other.m_pData, n);
    return old;
  }

  void Copy(const TRecArray& other) {
    if (&other == this) return;
    SetSize(other.m_nSize, -1);
    CopyRecs(0, other.m_pData, other.m_nSize);
  }

  void SetAtGrow(int index, const T& value) {
    const T keep(value);  // value may be a record of this array
    if (index >= m_nSize) SetSize(index + 1, -1);
    ElementAt(index) = keep;
  }

  // Inserts count copies of value before index (after the end: the gap is
  // filled with new records).
  void InsertTo(int index, const T& value, int count = 1) {
    if (count <= 0) return;
    const T keep(value);
    if (index < m_nSize) {
      const int old = m_nSize;
      SetSize(old + count, -1);
      DestructRecs(old, count);  // their places are overwritten by the move
      std::memmove(RecAt(index + count), RecAt(index),
                   static_cast<size_t>(old - index) * m_nRecSize);
      ConstructRecs(index, count);
    } else {
      SetSize(index + count, -1);
    }
    for (int i = 0; i < count; ++i) ElementAt(index + i) = keep;
  }

  // Inserts other's records before index; returns other's size.
  int InsertTo(int index, const TRecArray* other) {
    const int n = other->m_nSize;
    if (n == 0) return n;
    if (other == this) {
      TRecArray copy;
      copy.Copy(*this);
      return InsertTo(index, &copy);
    }
    InsertTo(index, T(), n);
    for (int i = 0; i < n; ++i) ElementAt(index + i) = other->GetAt(i);
    return n;
  }

  T GetAt(int index) const { return ElementAt(index); }
  void SetAt(int index, const T& value) { ElementAt(index) = value; }
  T& ElementAt(int index) { return Rec(RecAt(index)); }
  const T& ElementAt(int index) const { return Rec(RecAt(index)); }
  int Add(const T& value) {
    const int index = m_nSize;
    SetAtGrow(index, value);
    return index;
  }

  // The arrays have no file form: reads and writes nothing.
  int DiskIO(int, FILE*) { return 1; }

 private:
  static T& Rec(unsigned char* p) { return *std::launder(reinterpret_cast<T*>(p)); }
};
