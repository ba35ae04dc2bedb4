// CharDictFormat.h: byte layouts of the character dictionaries (chdicres.bin,
// pykeys.dic, gbkflat.dic, ch2pypz1.bin, ch2pypz2.bin, ch2key.bin, ch2py.bin,
// chndic2.bin, sort.dic, py_1key.dic) and the record writers the data
// generator uses. Integers are little-endian unless noted; a GBK character
// is stored as its lead byte followed by its trail byte.
//
// chdicres.bin   records sorted by key: ASCII shape code, then its
//                characters (2 bytes each, lead >= 0x80); zero byte at end.
// pykeys.dic     records sorted by syllable: ASCII syllable, count high
//                (0x80 | bits 14..8), count low (bits 7..0), start (LE16,
//                in characters into gbkflat.dic); zero byte at end.
// gbkflat.dic    the characters of every syllable, run after run, 2 bytes.
// ch2pypz1.bin   u32 version, u16 N, N x { char[2], u8 M (<= 6),
// ch2pypz2.bin   M x { u8 len, len bytes reading, tones }, u8 flags }.
//                tones: 1-byte mask (pz1; bit t-1 = tone t) or 16-bit
//                sequence (pz2; 3 bits a tone from the low end, 0 ends).
//                flags: low two bits 01 = a common character.
// ch2key.bin     u16 N, N x { char[2], u16 M, M x { u32 len, code } }
// ch2py.bin      the same layout with pinyin readings.
// chndic2.bin    u16 N, N x { u8 len, key, u8 len, value }.
// sort.dic       GBK character, its rank in ASCII digits, a line end.
// py_1key.dic    text: a letter line 'b'..'z', then two lines of characters.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace chardict {

constexpr size_t kMinFileBytes = 100;           // shorter lists are refused
constexpr uint8_t kCountMark = 0x80;            // pykeys.dic count high byte
constexpr uint32_t kMaxSyllableChars = 0x7FFF;  // 15-bit count
constexpr uint32_t kMaxFlatStart = 0xFFFF;      // 16-bit start
constexpr int kMaxReadings = 6;                 // readings per character in ch2pypz
constexpr uint8_t kCommonFlag = 0x01;           // low two bits of the flags
constexpr uint8_t kCommonMask = 0x03;
constexpr size_t kCh2KeyCodeBuffer = 268;  // ch2key.bin code + NUL fits this
constexpr size_t kCh2PyCodeBuffer = 264;   // ch2py.bin reading + NUL fits this
constexpr size_t kOneKeyLineBytes = 63;    // py_1key.dic line limit
constexpr int kToneBits = 3;               // one tone in a pz2 sequence
constexpr int kMaxTone = 5;

// Little-endian appenders shared by every writer here.
void PutLe16(std::string& out, uint16_t v);
void PutLe32(std::string& out, uint32_t v);

// One syllable of pykeys.dic.
struct SyllableRun {
  std::string syllable;  // ASCII pinyin
  uint32_t count = 0;    // characters in the run (<= kMaxSyllableChars)
  uint32_t start = 0;    // first character's index (<= kMaxFlatStart)
};
// pykeys.dic from runs sorted by syllable; ends with the zero byte.
std::string WritePyKeys(const std::vector<SyllableRun>& runs);

// One record of chdicres.bin: a shape code and its characters (each a
// 2-byte GBK string), in the order offered.
struct ShapeCodeRecord {
  std::string code;
  std::vector<std::string> chars;
};
// chdicres.bin from records sorted by code; ends with the zero byte.
std::string WriteShapeCodeList(const std::vector<ShapeCodeRecord>& records);

// One reading of a character in ch2pypz1.bin / ch2pypz2.bin.
struct ToneReading {
  std::string pinyin;      // full spelling, lower case, v for u-umlaut
  std::vector<int> tones;  // 1..5 in order of preference, no repeats
};
struct ToneRecord {
  std::string ch;                     // 2-byte GBK character
  std::vector<ToneReading> readings;  // at most kMaxReadings
  bool common = false;
};
// Tone mask of ch2pypz1.bin: bit t-1 for each tone t.
uint8_t ToneMask(const std::vector<int>& tones);
// Ordered tone word of ch2pypz2.bin: 3 bits a tone from the low end.
uint16_t ToneSequence(const std::vector<int>& tones);
// ch2pypz1.bin (orderedTones false) or ch2pypz2.bin (true).
std::string WriteToneReadings(const std::vector<ToneRecord>& records, bool orderedTones,
                              uint32_t version);

// One record of ch2key.bin / ch2py.bin.
struct CodeRecord {
  std::string ch;                  // 2-byte GBK character
  std::vector<std::string> codes;  // shape codes or pinyin readings
};
std::string WriteCharCodes(const std::vector<CodeRecord>& records);

// chndic2.bin from (key, value) pairs, both at most 255 bytes.
std::string WriteStringMap(const std::vector<std::pair<std::string, std::string>>& pairs);

// One line of sort.dic.
std::string SortDicLine(const std::string& ch, uint32_t rank);

}  // namespace chardict
