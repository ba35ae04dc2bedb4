// CStringArray.h: a growable array of CStrings (candidate lists, lexicon
// lines, menu and resource-script lists). Copies of the array share the
// strings' descriptors; records move bitwise when the array grows.
#pragma once

#include "base/CString.h"
#include "base/internal/RecArray.h"

class CStringArray : public TRecArray<CString> {
 public:
  CStringArray& operator=(const CStringArray& other) {
    Copy(other);
    return *this;
  }

  CString& operator[](int index) { return ElementAt(index); }
  const CString& operator[](int index) const { return ElementAt(index); }

  // -1 when some string equals s (Compare == 0); else adds s and returns
  // its index.
  int AddUnique(const char* s);
};
