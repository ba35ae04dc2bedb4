// ByteOrder.h: loads and stores of fixed-width integers in a named byte
// order, safe on unaligned data. Every file and wire field of the system is
// read and written through these (or through ByteReader, which uses them), so
// no caller shifts bytes by hand or lays a struct over file bytes.
//
// The pointers must have room for the width named; nothing is checked here.
#pragma once

#include <cstdint>

namespace little_endian {

inline uint16_t Load16(const void* p) {
  const auto* b = static_cast<const uint8_t*>(p);
  return static_cast<uint16_t>(b[0] | b[1] << 8);
}
inline uint32_t Load32(const void* p) {
  const auto* b = static_cast<const uint8_t*>(p);
  return b[0] | b[1] << 8 | b[2] << 16 | static_cast<uint32_t>(b[3]) << 24;
}
inline void Store16(void* p, uint16_t v) {
  auto* b = static_cast<uint8_t*>(p);
  b[0] = static_cast<uint8_t>(v);
  b[1] = static_cast<uint8_t>(v >> 8);
}
inline void Store32(void* p, uint32_t v) {
  auto* b = static_cast<uint8_t*>(p);
  for (int i = 0; i < 4; ++i) b[i] = static_cast<uint8_t>(v >> (8 * i));
}

}  // namespace little_endian

namespace big_endian {

inline uint16_t Load16(const void* p) {
  const auto* b = static_cast<const uint8_t*>(p);
  return static_cast<uint16_t>(b[0] << 8 | b[1]);
}
inline uint32_t Load24(const void* p) {
  const auto* b = static_cast<const uint8_t*>(p);
  return static_cast<uint32_t>(b[0]) << 16 | b[1] << 8 | b[2];
}
inline uint32_t Load32(const void* p) {
  const auto* b = static_cast<const uint8_t*>(p);
  return static_cast<uint32_t>(b[0]) << 24 | b[1] << 16 | b[2] << 8 | b[3];
}
inline void Store16(void* p, uint16_t v) {
  auto* b = static_cast<uint8_t*>(p);
  b[0] = static_cast<uint8_t>(v >> 8);
  b[1] = static_cast<uint8_t>(v);
}
// The low 24 bits of v; the top byte must be 0.
inline void Store24(void* p, uint32_t v) {
  auto* b = static_cast<uint8_t*>(p);
  b[0] = static_cast<uint8_t>(v >> 16);
  b[1] = static_cast<uint8_t>(v >> 8);
  b[2] = static_cast<uint8_t>(v);
}
inline void Store32(void* p, uint32_t v) {
  auto* b = static_cast<uint8_t*>(p);
  for (int i = 0; i < 4; ++i) b[i] = static_cast<uint8_t>(v >> (24 - 8 * i));
}

}  // namespace big_endian
