// CWordArray.h: a growable array of unsigned 16-bit values (character
// codes). New records are 0.
#pragma once

#include <cstdint>

#include "base/internal/RecArray.h"

class CWordArray : public TRecArray<uint16_t> {
 public:
  uint16_t operator[](int index) const { return ElementAt(index); }
};
