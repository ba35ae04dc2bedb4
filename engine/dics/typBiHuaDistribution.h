// typBiHuaDistribution.h: the stroke groups of one pinyin syllable as the
// engine keeps them (m_mapBiHua, from bihuaku.bin; the byte layout is in
// engine/formats/BiHuaFormat.h). Each of the 125 groups holds the GBK characters
// whose first three strokes have the classes [s1][s2][s3]. A collapse word
// says that every character of that first stroke (or first two strokes)
// lies in group [s1][0][0] (or [s1][s2][0]). A record owns its strings.
#pragma once

#include <cstdint>

#include "engine/formats/BiHuaFormat.h"
#include "engine/internal/FrameworkTypes.h"

struct typBiHuaDistribution {
  uint32_t noStrokes;  // nonzero: no stroke data; every test is undecided
  uint32_t firstCollapse[bihua::kClasses];
  uint32_t secondCollapse[bihua::kClasses][bihua::kClasses];
  CString groups[bihua::kClasses][bihua::kClasses][bihua::kClasses];

  typBiHuaDistribution();
  typBiHuaDistribution(const typBiHuaDistribution& other);
  typBiHuaDistribution& operator=(const typBiHuaDistribution& other);
};
