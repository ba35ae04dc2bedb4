// PLPixel32.h: one pixel of a 32-bit bitmap, four bytes in the order R, G, B,
// A. Rows of a 32-bit bitmap are arrays of these, so the layout is fixed:
// callers (the framework's image loader) read the bytes through GetR, GetG
// and GetB.
#pragma once

#include <cstdint>
#include <cstdlib>

class PLPixel32 {
 public:
  // Leaves the four bytes unset.
  PLPixel32() = default;
  PLPixel32(uint8_t r, uint8_t g, uint8_t b, uint8_t a) : m_Data{r, g, b, a} {}

  void Set(uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
    m_Data[kR] = r;
    m_Data[kG] = g;
    m_Data[kB] = b;
    m_Data[kA] = a;
  }
  // Sets the colour and keeps A.
  void Set(uint8_t r, uint8_t g, uint8_t b) {
    m_Data[kR] = r;
    m_Data[kG] = g;
    m_Data[kB] = b;
  }
  void SetR(uint8_t v) { m_Data[kR] = v; }
  void SetG(uint8_t v) { m_Data[kG] = v; }
  void SetB(uint8_t v) { m_Data[kB] = v; }
  void SetA(uint8_t v) { m_Data[kA] = v; }
  uint8_t GetR() const { return m_Data[kR]; }
  uint8_t GetG() const { return m_Data[kG]; }
  uint8_t GetB() const { return m_Data[kB]; }
  uint8_t GetA() const { return m_Data[kA]; }

  // All four bytes.
  bool operator==(const PLPixel32& o) const {
    return m_Data[kR] == o.m_Data[kR] && m_Data[kG] == o.m_Data[kG] && m_Data[kB] == o.m_Data[kB] &&
           m_Data[kA] == o.m_Data[kA];
  }
  bool operator!=(const PLPixel32& o) const { return !(*this == o); }

  // |dR| + |dG| + |dB|: the distance the palette search minimises.
  int BoxDist(const PLPixel32& o) const {
    return std::abs(GetR() - o.GetR()) + std::abs(GetG() - o.GetG()) + std::abs(GetB() - o.GetB());
  }

 private:
  enum { kR = 0, kG = 1, kB = 2, kA = 3 };
  uint8_t m_Data[4];
};

static_assert(sizeof(PLPixel32) == 4, "a 32-bit row is an array of R, G, B, A bytes");
