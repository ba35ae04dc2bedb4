// WireBytes.h: hand-built XIM byte fixtures for the frame coder tests. The
// builder writes each field in the byte order asked for, independently of
// the coder under test, so a fixture states the wire form on its own.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ximtest {

class WireBytes {
 public:
  explicit WireBytes(bool bigEndian) : m_big(bigEndian) {}
  WireBytes& u8(uint32_t v) {
    m_b.push_back(static_cast<uint8_t>(v));
    return *this;
  }
  WireBytes& u16(uint32_t v) { return Put(v, 2); }
  WireBytes& u32(uint32_t v) { return Put(v, 4); }
  WireBytes& str(const std::string& s) {
    m_b.insert(m_b.end(), s.begin(), s.end());
    return *this;
  }
  WireBytes& zeros(int n) {
    m_b.insert(m_b.end(), static_cast<size_t>(n), 0);
    return *this;
  }
  const std::vector<uint8_t>& bytes() const { return m_b; }
  size_t size() const { return m_b.size(); }

 private:
  WireBytes& Put(uint32_t v, int w) {
    for (int i = 0; i < w; ++i) {
      const int shift = 8 * (m_big ? w - 1 - i : i);
      m_b.push_back(static_cast<uint8_t>(v >> shift));
    }
    return *this;
  }
  bool m_big;
  std::vector<uint8_t> m_b;
};

// The byte-swap flag a coder needs to speak the given order on this host.
inline int SwapFor(bool bigEndian) {
  const bool hostBig = __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__;
  return hostBig != bigEndian ? 1 : 0;
}

}  // namespace ximtest
