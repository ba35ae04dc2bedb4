// PLPixel24.h: one pixel of a 24-bit bitmap, three bytes R, G, B.
#pragma once

#include <cstdint>

#include "image/PLPixel32.h"

class PLPixel24 {
 public:
  // Leaves the three bytes unset.
  PLPixel24() = default;
  PLPixel24(uint8_t r, uint8_t g, uint8_t b) : m_Data{r, g, b} {}

  void Set(uint8_t r, uint8_t g, uint8_t b) {
    m_Data[0] = r;
    m_Data[1] = g;
    m_Data[2] = b;
  }
  void SetR(uint8_t v) { m_Data[0] = v; }
  void SetG(uint8_t v) { m_Data[1] = v; }
  void SetB(uint8_t v) { m_Data[2] = v; }
  uint8_t GetR() const { return m_Data[0]; }
  uint8_t GetG() const { return m_Data[1]; }
  uint8_t GetB() const { return m_Data[2]; }

  // Takes R, G and B; A is dropped.
  PLPixel24& operator=(const PLPixel32& p) {
    Set(p.GetR(), p.GetG(), p.GetB());
    return *this;
  }
  // The same colour, opaque.
  operator PLPixel32() const { return PLPixel32(m_Data[0], m_Data[1], m_Data[2], 255); }

  bool operator==(const PLPixel24& o) const {
    return m_Data[0] == o.m_Data[0] && m_Data[1] == o.m_Data[1] && m_Data[2] == o.m_Data[2];
  }

 private:
  uint8_t m_Data[3];
};

static_assert(sizeof(PLPixel24) == 3, "a 24-bit row is an array of R, G, B bytes");
