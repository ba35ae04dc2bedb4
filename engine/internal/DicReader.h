// DicReader.h: a bounded little-endian cursor over the bytes of a loaded
// dictionary file. Every read checks the bytes that remain; after the first
// read past the end the reader is failed for good (sticky) and every later
// read returns 0, so a parser checks Ok() once per record, not per field.
// The reader does not own the bytes.
#pragma once

#include <cstddef>
#include <cstdint>

class DicReader {
 public:
  DicReader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

  bool Ok() const { return m_ok; }
  size_t Offset() const { return m_pos; }
  size_t Remaining() const { return m_ok ? m_size - m_pos : 0; }
  bool AtEnd() const { return !m_ok || m_pos >= m_size; }

  uint8_t U8() {
    if (!Need(1)) return 0;
    return m_data[m_pos++];
  }
  uint16_t Le16() {
    if (!Need(2)) return 0;
    const uint16_t v = static_cast<uint16_t>(m_data[m_pos] | (m_data[m_pos + 1] << 8));
    m_pos += 2;
    return v;
  }
  uint32_t Le32() {
    if (!Need(4)) return 0;
    const uint32_t v = static_cast<uint32_t>(m_data[m_pos]) |
                       (static_cast<uint32_t>(m_data[m_pos + 1]) << 8) |
                       (static_cast<uint32_t>(m_data[m_pos + 2]) << 16) |
                       (static_cast<uint32_t>(m_data[m_pos + 3]) << 24);
    m_pos += 4;
    return v;
  }
  // The next n bytes (null and failed when fewer remain).
  const uint8_t* Bytes(size_t n) {
    if (!Need(n)) return nullptr;
    const uint8_t* p = m_data + m_pos;
    m_pos += n;
    return p;
  }

 private:
  bool Need(size_t n) {
    if (!m_ok || n > m_size - m_pos) {
      m_ok = false;
      return false;
    }
    return true;
  }

  const uint8_t* m_data;  // borrowed
  size_t m_size;
  size_t m_pos = 0;
  bool m_ok = true;
};
