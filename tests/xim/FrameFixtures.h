// FrameFixtures.h: valid client and server messages as hand-built bytes,
// in either byte order: the starting points of the decode tests and of the
// decoder fuzz table.
#pragma once

#include <cstdint>
#include <vector>

#include "tests/xim/WireBytes.h"

namespace ximtest {
namespace fixtures {

inline std::vector<uint8_t> EncodingNegotiationBytes(bool big) {
  return WireBytes(big)
      .u16(3)
      .u16(21)
      .u8(13)
      .str("COMPOUND_TEXT")
      .u8(6)
      .str("STRING")
      .zeros(3)
      .u16(8)
      .zeros(2)
      .u16(4)
      .str("UTF8")
      .zeros(2)
      .bytes();
}
inline std::vector<uint8_t> AttributeBytes(WireBytes w) {
  return w.u16(10).u16(4).str("\x01\x02\x03\x04").u16(11).u16(2).str("ab").zeros(2).bytes();
}
inline std::vector<uint8_t> CreateICBytes(bool big) {
  return AttributeBytes(WireBytes(big).u16(1).u16(16));
}
inline std::vector<uint8_t> SetICValuesBytes(bool big) {
  return AttributeBytes(WireBytes(big).u16(1).u16(2).u16(16).zeros(2));
}
inline std::vector<uint8_t> GetICValuesBytes(bool big) {
  return WireBytes(big).u16(1).u16(2).u16(6).u16(7).u16(8).u16(9).bytes();
}
inline std::vector<uint8_t> OpenBytes(bool big) {
  return WireBytes(big).u8(9).str("zh_CN.GBK").zeros(2).bytes();
}
inline std::vector<uint8_t> ConnectBytes(bool big) {
  return WireBytes(big)
      .u8(big ? 'B' : 'l')
      .zeros(1)
      .u16(1)
      .u16(0)
      .u16(1)
      .u16(3)
      .str("abc")
      .zeros(3)
      .bytes();
}
inline std::vector<uint8_t> ForwardEventBytes(bool big) {
  return WireBytes(big).u16(1).u16(2).u16(1).u16(0x1234).bytes();
}
inline std::vector<uint8_t> TriggerNotifyBytes(bool big) {
  return WireBytes(big).u16(1).u16(2).u32(0).u32(78).u32(3).bytes();
}
inline std::vector<uint8_t> QueryExtensionBytes(bool big) {
  return WireBytes(big).u16(1).u16(13).u8(12).str("XIM_EXT_MOVE").zeros(3).bytes();
}
inline std::vector<uint8_t> OpenReplyBytes(bool big) {
  return WireBytes(big)
      .u16(1)
      .u16(8)
      .u16(5)
      .u16(10)
      .u16(2)
      .str("ab")
      .u16(20)
      .zeros(2)
      .u16(6)
      .u16(3)
      .u16(3)
      .str("xyz")
      .zeros(3)
      .u16(7)
      .u16(5)
      .u16(1)
      .str("w")
      .zeros(1)
      .bytes();
}

}  // namespace fixtures
}  // namespace ximtest
