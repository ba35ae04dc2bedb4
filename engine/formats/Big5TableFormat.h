// Big5TableFormat.h: layout of the two conversion tables. Each is a grid of
// 2-byte cells holding the target code high byte first; a first byte below
// 0x80 means the character has no form in the other encoding.
//   gbk2b5.bin: 126 x 191 cells, GBK lead 0x81..0xFE, trail 0x40..0xFE
//               (0x7F included), cell (lead - 0x81) * 191 + (trail - 0x40).
//   b5gbk.bin:  90 x 191 cells, Big5 lead 0xA1..0xFA, trail 0x40..0xFE.
#pragma once

#include <cstddef>
#include <cstdint>

namespace big5table {

constexpr int kTrailFirst = 0x40;
constexpr int kTrailLast = 0xFE;
constexpr int kTrails = kTrailLast - kTrailFirst + 1;  // 191

constexpr int kGbkLeadFirst = 0x81;
constexpr int kGbkLeadLast = 0xFE;
constexpr int kGbkLeads = kGbkLeadLast - kGbkLeadFirst + 1;         // 126
constexpr size_t kGbk2Big5Bytes = size_t{kGbkLeads} * kTrails * 2;  // 48132

constexpr int kBig5LeadFirst = 0xA1;
constexpr int kBig5LeadLast = 0xFA;
constexpr int kBig5Leads = kBig5LeadLast - kBig5LeadFirst + 1;       // 90
constexpr size_t kBig52GbkBytes = size_t{kBig5Leads} * kTrails * 2;  // 34380

constexpr uint16_t kNoBig5 = 0xA1BC;  // Gbk2Big5's answer for "none"
constexpr uint16_t kNoGbk = 0xA1F5;   // Big5ToGbk's answer for "none"

// Cell index of a code (lead byte high); -1 outside the grid.
constexpr int GbkCell(uint16_t code) {
  const int lead = code >> 8, trail = code & 0xFF;
  if (lead < kGbkLeadFirst || lead > kGbkLeadLast || trail < kTrailFirst || trail > kTrailLast)
    return -1;
  return (lead - kGbkLeadFirst) * kTrails + (trail - kTrailFirst);
}
constexpr int Big5Cell(uint16_t code) {
  const int lead = code >> 8, trail = code & 0xFF;
  if (lead < kBig5LeadFirst || lead > kBig5LeadLast || trail < kTrailFirst || trail > kTrailLast)
    return -1;
  return (lead - kBig5LeadFirst) * kTrails + (trail - kTrailFirst);
}

}  // namespace big5table
