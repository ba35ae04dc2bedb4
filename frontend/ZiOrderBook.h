// ZiOrderBook.h: the character order file the character order editor
// (CZiOrder) edits, held whole in memory with the syllable list it belongs
// to. Free of X so that tests reach it directly.
//
// The order file (flatAdjust.dic, or that name with a four-digit fuzzy
// suffix) is a sequence of 2-byte GBK characters, lead byte first, without
// a header; the characters of each pinyin syllable form one run. Where a
// syllable's run lies is told by the syllable list made with that file:
// pykeys.dic with the same suffix (records of an ASCII syllable, its count
// (0x80 | bits 14..8, bits 7..0) and its start (LE16), in characters;
// engine/formats/CharDictFormat.h). A fuzzy variant merges the runs of
// paired syllables, so only its own list tells its runs; the list the
// engine has loaded may belong to another variant.
//
// Characters are handed out as 16-bit values in memory order: lead byte
// low, trail byte high.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/CString.h"
#include "base/CWordArray.h"

class IFileOps;

class ZiOrderBook {
 public:
  // The suffix of the file for the fuzzy-pinyin choices: '1' or '0' for
  // zh-z, ch-c, sh-s and l-r, in that order, when fuzzy pinyin is on;
  // empty when it is off and when no pair is chosen ("0000" names no file:
  // the engine then uses the plain one).
  static CString FuzzySuffix(bool fuzzy, bool zhz, bool chc, bool shs, bool lr);

  // Reads the order file and its syllable list whole. False, with the
  // reason in error, when either cannot be read or has fewer than 100
  // bytes; the book is empty then.
  [[nodiscard]] bool Load(const std::string& orderPath, const std::string& syllablesPath,
                          std::string& error);

  // The run of a syllable (lower case, complete) in the order file: false
  // when the list has no such syllable or its run would reach past the
  // file's characters.
  bool RunOf(const char* syllable, uint32_t& start, uint32_t& count) const;
  // The characters of the syllable's run; false (chars emptied) as RunOf.
  bool ReadRun(const char* syllable, CWordArray& chars) const;
  // Writes chars over the syllable's run; false, changing nothing, when
  // the syllable has no run or chars is not as long as the run.
  bool WriteRun(const char* syllable, const CWordArray& chars);

  // Replaces the order file with the bytes in memory, through a temporary
  // file beside it (base/AtomicFile.h); the file keeps its permissions. On
  // failure the old file stays whole and error names the fault.
  [[nodiscard]] bool Save(IFileOps& ops, std::string& error) const;

  const std::vector<uint8_t>& Bytes() const { return m_order; }
  const std::string& Path() const { return m_path; }
  bool Loaded() const { return !m_order.empty(); }

 private:
  std::string m_path;
  std::vector<uint8_t> m_order;      // the order file's bytes
  std::vector<uint8_t> m_syllables;  // its pykeys.dic's bytes
};
