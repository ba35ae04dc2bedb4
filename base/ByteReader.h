// ByteReader.h: a bounded reader over bytes from a file or a message. It
// tracks the offset and keeps a sticky error: a read that would pass the end
// fails, sets the error, reads nothing and returns 0 (nullptr for Bytes), and
// so does every read after it. A loader reads a block and checks Ok() once.
// Every read names its byte order, since our files mix orders in one record.
//
// Does not own the bytes: they must outlive the reader.
#pragma once

#include <cstddef>
#include <cstdint>

#include "base/ByteOrder.h"

class ByteReader {
 public:
  ByteReader(const void* data, size_t size)
      : m_data(static_cast<const uint8_t*>(data)), m_size(data ? size : 0) {}

  uint8_t U8() { return Take(1) ? m_data[m_pos - 1] : 0; }
  uint16_t Le16() { return Take(2) ? little_endian::Load16(m_data + m_pos - 2) : 0; }
  uint32_t Le32() { return Take(4) ? little_endian::Load32(m_data + m_pos - 4) : 0; }
  uint16_t Be16() { return Take(2) ? big_endian::Load16(m_data + m_pos - 2) : 0; }
  uint32_t Be24() { return Take(3) ? big_endian::Load24(m_data + m_pos - 3) : 0; }
  uint32_t Be32() { return Take(4) ? big_endian::Load32(m_data + m_pos - 4) : 0; }

  // The next n bytes, or nullptr (and the error) when fewer remain.
  const uint8_t* Bytes(size_t n) { return Take(n) ? m_data + m_pos - n : nullptr; }
  // Steps over n bytes; false (and the error) when fewer remain.
  bool Skip(size_t n) { return Take(n); }
  // Moves to an absolute offset; false (and the error) past the end.
  bool Seek(size_t pos) {
    if (!m_ok || pos > m_size) return Fail();
    m_pos = pos;
    return true;
  }

  size_t Offset() const { return m_pos; }
  size_t Size() const { return m_size; }
  size_t Remaining() const { return m_ok ? m_size - m_pos : 0; }
  bool Ok() const { return m_ok; }

 private:
  bool Take(size_t n) {
    if (!m_ok || n > m_size - m_pos) return Fail();
    m_pos += n;
    return true;
  }
  bool Fail() {
    m_ok = false;
    return false;
  }

  const uint8_t* m_data;  // borrowed
  size_t m_size;
  size_t m_pos = 0;
  bool m_ok = true;
};
