// CharDicParsers.h: parsers of the engine's per-character dictionary files
// into plain records, independent of the engine object. Each parser takes
// the whole file's bytes, trusts none of them, keeps what it could read
// before a fault and names the first fault in `err` (empty when the file was
// whole). CChnChars (ChnCharDics.cpp) stores the records in its maps.
//
// A character is the 16-bit value whose low byte is the GBK lead byte (the
// file's byte order: lead byte first).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace chndic {

// ch2key.bin and ch2py.bin:
//   offset size  field
//   0      2     N, characters (LE)
//   then N times:
//          2     character (lead, trail)
//          2     M, codes (LE)
//          then M times: 4 length L (LE), L bytes of code
// A code must fit a buffer of bufBytes with its NUL (268 for ch2key.bin, 264
// for ch2py.bin); a longer code is dropped and its record kept.
struct CodeEntry {
  uint16_t ch;
  std::vector<std::string> codes;
};
void ParseCh2Codes(const std::vector<uint8_t>& file, size_t bufBytes, std::vector<CodeEntry>& out,
                   std::string& err);

// ch2pypz1.bin (toneBytes 1) and ch2pypz2.bin (toneBytes 2):
//   0      4     version (not checked)
//   4      2     N, characters (LE)
//   then N times:
//          2     character
//          1     M, readings (at most 6)
//          then M times: 1 length L, L bytes of reading, toneBytes tones (LE)
//          1     flags
// A record with more than 6 readings is read past and dropped.
struct ReadingEntry {
  uint16_t ch;
  std::vector<std::string> readings;
  uint16_t tones[6];
  uint8_t flags;
};
void ParseCh2PyPz(const std::vector<uint8_t>& file, int toneBytes, std::vector<ReadingEntry>& out,
                  std::string& err);

// sort.dic: a character (2 bytes, lead >= 0x80) followed by its rank as
// ASCII decimal digits (line ends and spaces may follow), repeated. Only the
// first 15 bytes after a character count. Two characters in a row, or a
// lead byte without its trail byte, end the reading.
void ParseSortDic(const std::vector<uint8_t>& file, std::vector<std::pair<uint16_t, int32_t>>& out,
                  std::string& err);

// py_1key.dic: lines of at most 63 bytes (longer ones are read in 63-byte
// pieces). ';' starts a comment; a line starting with 'b'..'z' opens that
// letter and the next two lines, whatever they hold, are its characters:
// trailing tabs, CRs and LFs removed, appended when longer than one byte.
void ParseOneKeyPy(const std::vector<uint8_t>& file, std::array<std::string, 25>& out);

}  // namespace chndic
