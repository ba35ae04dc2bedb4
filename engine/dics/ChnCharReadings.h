// ChnCharReadings.h: the per-character reading records of the engine's
// tone dictionaries ch2pypz1.bin (typArrPYs: tone masks) and ch2pypz2.bin
// (typArrPYsDiaoInOrder: tone sequences). A character has at most six
// readings; the flag byte's low two bits 1 mark a common character.
#pragma once

#include <cstdint>

#include "engine/formats/CharDictFormat.h"
#include "engine/internal/FrameworkTypes.h"

constexpr int kMaxReadings = chardict::kMaxReadings;

struct typArrPYs {
  CStringArray readings;
  uint8_t tones[kMaxReadings];  // bit t-1 set: tone t (1..5) possible
  uint8_t flags;

  typArrPYs();
  typArrPYs(const typArrPYs& other);
  typArrPYs& operator=(const typArrPYs& other);
};

struct typArrPYsDiaoInOrder {
  CStringArray readings;
  uint16_t tones[kMaxReadings];  // 3 bits a tone from the low end; 0 ends
  uint8_t flags;

  typArrPYsDiaoInOrder();
  typArrPYsDiaoInOrder(const typArrPYsDiaoInOrder& other);
  typArrPYsDiaoInOrder& operator=(const typArrPYsDiaoInOrder& other);
};
