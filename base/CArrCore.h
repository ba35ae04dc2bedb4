// CArrCore.h: growable storage of fixed-size records, the core of the record
// arrays (CStringArray, CWordArray, CDWordArray). Subclasses say how their
// records come into being, go away and are copied through three hooks.
//
// Records lie contiguously and are relocated bitwise (memcpy / memmove) when
// the storage grows or records shift; a record type must stay valid after a
// bitwise move (a CString, one pointer to its descriptor, does). The hooks
// run only to construct, destroy and copy records. Indexes are not validated:
// callers keep them inside the array. Not copyable: copy with the typed
// arrays' Copy / Append.
#pragma once

#include <cstdint>
#include <cstdio>

class CArrCore {
 public:
  static constexpr int kDefaultGrowBy = 20;

  CArrCore();
  CArrCore(const CArrCore&) = delete;
  CArrCore& operator=(const CArrCore&) = delete;
  // Subclasses destroy their records themselves (their hooks are gone by the
  // time this runs); virtual so that deleting through a CArrCore* is safe.
  virtual ~CArrCore();

  // Record hooks, in this order. CArrCore's own do nothing.
  virtual void ConstructRec(unsigned char* rec);
  virtual void DestructRec(unsigned char* rec);
  virtual void CopyRec(unsigned char* dst, unsigned char* src);

  int GetSize() const { return m_nSize; }
  int GetMaxSize() const { return m_nMax; }    // records the storage holds
  int GetGrowBy() const { return m_nGrowBy; }  // growth step in records

  // growBy -1 keeps the step, 0 computes one from the size (32 to 1024),
  // anything else becomes the step. Growing past the storage takes
  // max + step records, or exactly newSize when that is more.
  void SetSize(int newSize, int growBy);
  void RemoveAll();  // destroys every record, frees the storage, step 20
  void RemoveAt(int index, int count);
  void ConstructRecs(int index, int count);
  void DestructRecs(int index, int count);
  void CopyRecs(int index, unsigned char* src, int count);

 protected:
  unsigned char* RecAt(int index) const {
    return m_pData + static_cast<size_t>(index) * m_nRecSize;
  }

  unsigned char* m_pData;  // owned: array new, null until the first sizing
  int32_t m_nSize;
  int32_t m_nMax;
  int32_t m_nGrowBy;
  int32_t m_nRecSize;
};
