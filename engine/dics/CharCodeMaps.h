// CharCodeMaps.h: the engine's per-character tables of codes and readings
// (ch2key.bin, ch2py.bin, ch2pypz1.bin, ch2pypz2.bin) in compact form. They
// are built once from a parsed file and afterwards only looked up, so a
// table is one array of slots sorted by character and one block of
// NUL-terminated texts, not a hash map holding a CString per code: about a
// tenth of the memory, and built without an allocation per entry.
//
// Lookup answers as the hash maps of before did: a character listed twice
// in a file keeps its last record, a character listed without codes is
// found with an empty list, and a missing one leaves the output untouched.
// A text is kept up to its first NUL byte, as a CString made from it was.
#pragma once

#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

#include "engine/dics/CharDicParsers.h"
#include "engine/dics/ChnCharReadings.h"
#include "engine/internal/FrameworkTypes.h"

namespace chndic {

// The texts of one record, stored one after the other with a NUL after each.
class TextBlock {
 public:
  // Appends texts; returns the offset of the first.
  uint32_t Append(const std::vector<std::string>& texts);
  // out = the n texts from offset at.
  void Read(uint32_t at, size_t n, CStringArray& out) const;
  void Clear();
  void Reserve(size_t nBytes) { m_text.reserve(nBytes); }
  void ShrinkToFit() { m_text.shrink_to_fit(); }

 private:
  std::string m_text;
};

// The indexes of the records to keep, in character order: for a character
// listed more than once only its last record.
template <class Entry>
std::vector<uint32_t> LastRecordPerChar(const std::vector<Entry>& entries);

}  // namespace chndic

// Character (lead byte low) -> its shape or pinyin codes.
class CharCodeMap {
 public:
  // Replaces the contents with the entries of a parsed code file.
  void Assign(const std::vector<chndic::CodeEntry>& entries);
  // Present: out = the character's codes, returns 1. Else returns 0 and out
  // is untouched.
  int Lookup(unsigned short ch, CStringArray& out) const;
  int GetCount() const { return static_cast<int>(m_slots.size()); }
  void RemoveAll();

 private:
  struct Slot {
    uint16_t ch;
    uint16_t nCodes;
    uint32_t at;  // offset in m_text
  };
  std::vector<Slot> m_slots;  // sorted by ch, one per character
  chndic::TextBlock m_text;
};

// Character (lead byte low) -> its readings record (typArrPYs or
// typArrPYsDiaoInOrder).
template <class Rec>
class CharReadingMap {
 public:
  using Tone = std::remove_reference_t<decltype(Rec{}.tones[0])>;

  // Replaces the contents with the entries of a parsed reading file.
  void Assign(const std::vector<chndic::ReadingEntry>& entries);
  // Present: out = the character's record, returns 1. Else returns 0 and
  // out is untouched.
  int Lookup(unsigned short ch, Rec& out) const;
  // Present: flags = the character's flag byte, returns 1. Else returns 0.
  int LookupFlags(unsigned short ch, uint8_t& flags) const;
  int GetCount() const { return static_cast<int>(m_slots.size()); }
  void RemoveAll();

 private:
  struct Slot {
    uint16_t ch;
    uint8_t nReadings;
    uint8_t flags;
    uint32_t at;  // offset in m_text
    Tone tones[kMaxReadings];
  };
  std::vector<Slot> m_slots;  // sorted by ch, one per character
  chndic::TextBlock m_text;
};

extern template class CharReadingMap<typArrPYs>;
extern template class CharReadingMap<typArrPYsDiaoInOrder>;
