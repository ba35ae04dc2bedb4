// CDWordArray.h: a growable array of unsigned 32-bit values (offsets, window
// ids, indexes). New records are 0.
#pragma once

#include <cstdint>

#include "base/internal/RecArray.h"

class CDWordArray : public TRecArray<uint32_t> {
 public:
  CDWordArray& operator=(const CDWordArray& other) {
    Copy(other);
    return *this;
  }

  uint32_t operator[](int index) const { return ElementAt(index); }
};
