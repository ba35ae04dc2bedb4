// typVModeKey2Index.h: one key of a V-mode key column and the line of
// vmodewords.dic whose words it offers (an index into m_arrVModeLines).
#pragma once

#include <cstdint>

#include "engine/internal/FrameworkTypes.h"

struct typVModeKey2Index {
  CString key;
  uint16_t line = 0;
};
