// typNumUnitWord.h: one row of the number phrases' unit-word table: the
// shape code that types it, the GBK word and its weight class. A unit may
// only follow a unit of lower weight; kNumUnitStartOnly rows may only open
// a phrase and kNumUnitEndOnly rows may only close it.
#pragma once

#include "engine/internal/FrameworkTypes.h"

constexpr int kNumUnitStartOnly = 0;    // 第
constexpr int kNumUnitBigNumeral = 10;  // 万 千 百 亿
constexpr int kNumUnitEndOnly = 99999;  // 大 中 多 之多

struct typNumUnitWord {
  CString code;
  CString word;
  int weight = 0;
};
