// ForecastFormat.h: the layout of fccdic.bin, the forecast rule base, and
// the limits that its loader (engine/forecast/ForecastRuleBase.cpp) and its compiler
// (tools/fccgen) both hold it to. All integers are little-endian, nothing
// is aligned, there is no magic and no checksum.
//
//   Offset  Size  Field
//   0       1     format tag (kFormatTag; read and not checked)
//   then          abstract set 0, then abstract set 1, each:
//                   u32 entry count N, then N entries:
//                     u8 name length (1..127), name bytes,
//                     i16 word count M (0..32767), M words:
//                       u8 length, bytes (a word "(name)" stands for the
//                       members of the entry `name` of the same set)
//   then          rule groups 0..5, each:
//                   u32 key count K, then K keys:
//                     u16 key character (GBK, lead byte low; or kKeyAny,
//                     kKeyDigits), i16 rule index count J (0..32767),
//                     J u32 rule indexes into this group
//                   u32 rule count R, then R cells (below)
//
//   A cell:
//   0       1     type (kCycle .. kInertLast)
//   1       4     ref
//   5       2     flags
//   7       1     capture letter (0 none)
//   8       1     minLen (characters)
//   9       1     maxLen (characters)
//   10      1     split
//   11      7     end characters: a GBK character when the first byte has
//                 bit 7 set, else ASCII punctuation ended by a NUL
//   18      1+n   text: u8 length n, bytes
//   then    1+..  badCiInside: u8 count, then u8-length strings
//   then    1+..  badCiAtStart: the same
//   then    1     child count C
//   then    ..    C child cells, depth first, unless the type is a leaf
//                 (literal, free text, numerals, set members), which has
//                 no child cells whatever its count byte says
//
// The loader refuses the whole file when any of these is out of range, when
// bytes are missing or left over, when a reference names no rule of its
// group or rules refer to themselves, when a set entry refers to itself or
// to a missing entry, when a cell names a missing set, and at the other
// limits below.
#pragma once

#include <cstdint>

namespace fcc {

constexpr uint8_t kFormatTag = 1;
constexpr int kSets = 2;
constexpr int kGroups = 6;
// Groups the history scan tries, in scan order (fccScanOrder's first four).
constexpr int kScannedGroups = 4;

// Cell types.
enum : uint8_t {
  kInvalid = 0,
  kCycle = 1,
  kSequence = 2,
  kLiteral = 3,
  kFreeText = 4,
  kOptional = 5,
  kOneOf = 6,
  kSwitchable = 7,
  kNumerals = 8,
  kSetMember0 = 9,
  kSetMember1 = 10,
  kInertFirst = 11,
  kInertLast = 14,
};

// Flag bits.
enum : uint16_t {
  kFlagNoFreshForecast = 0x0001,  // sentence: a fresh firing on it forecasts nothing
  kFlagNoText = 0x0002,           // cell contributes no text
  kFlagAnySentence = 0x0004,      // cycle: any sentence may be the matched one
  kFlagReversible = 0x0004,       // sequence rule: also tried reversed
  kFlagAddEndChar = 0x0008,       // append the end character to the forecast
  kFlagAtStart = 0x0010,          // match starts the history or follows punctuation
  kFlagNoSeparator = 0x0040,      // sequence rule: forecast without the separator
  kFlagPartial = 0x0080,          // partial completion limited by ref children
  kFlagMayEnd = 0x0100,           // sentence: a fresh firing may end with it
  kFlagNeverEnd = 0x0200,         // sentence: a fresh firing never ends with it
};

constexpr int kEndCharBytes = 7;
constexpr int kCellHeaderBytes = 18;  // type .. end characters
constexpr int kSlotTextBytes = 44;
// Set names in the file, and names that abstract cells copy into a slot.
constexpr int kMaxSetNameBytes = 127;
constexpr int kMaxSlotNameBytes = kSlotTextBytes - 1;
// Nesting of cells below a rule (the rule is level 1).
constexpr int kMaxCellDepth = 16;
// Keys of rules tried at every history position: XX for rules that begin
// with free text, DD for rules that begin with numerals.
constexpr uint16_t kKeyAny = 0x5858;
constexpr uint16_t kKeyDigits = 0x4444;
// The history holds at most this many characters; a sentence of a cycle
// must leave room for its end punctuation, a sequence condition for one
// forecast character.
constexpr int kHistoryChars = 20;
constexpr int kMaxConditionChars = kHistoryChars - 1;

// The capture letters, in slot order.
constexpr char kSlotLetters[] = "EMNPXYZ";

constexpr bool IsLeafType(uint8_t t) {
  return t == kLiteral || t == kFreeText || t == kNumerals || t == kSetMember0 || t == kSetMember1;
}

}  // namespace fcc
