#include "engine/formats/CharDictFormat.h"

#include "base/ByteOrder.h"

namespace chardict {

void PutLe16(std::string& out, uint16_t v) {
  char b[2];
  little_endian::Store16(b, v);
  out.append(b, 2);
}

void PutLe32(std::string& out, uint32_t v) {
  char b[4];
  little_endian::Store32(b, v);
  out.append(b, 4);
}

std::string WritePyKeys(const std::vector<SyllableRun>& runs) {
  std::string out;
  for (const SyllableRun& r : runs) {
    out += r.syllable;
    // The count is stored high byte first, marked by bit 15.
    char count[2];
    big_endian::Store16(count,
                        static_cast<uint16_t>(kCountMark << 8 | (r.count & kMaxSyllableChars)));
    out.append(count, 2);
    PutLe16(out, static_cast<uint16_t>(r.start));
  }
  out.push_back('\0');
  return out;
}

std::string WriteShapeCodeList(const std::vector<ShapeCodeRecord>& records) {
  std::string out;
  for (const ShapeCodeRecord& r : records) {
    out += r.code;
    for (const std::string& c : r.chars) out += c;
  }
  out.push_back('\0');
  return out;
}

uint8_t ToneMask(const std::vector<int>& tones) {
  uint8_t mask = 0;
  for (int t : tones) {
    if (t >= 1 && t <= kMaxTone) mask |= static_cast<uint8_t>(1u << (t - 1));
  }
  return mask;
}

uint16_t ToneSequence(const std::vector<int>& tones) {
  uint16_t word = 0;
  int shift = 0;
  for (int t : tones) {
    if (t < 1 || t > kMaxTone || shift > 16 - kToneBits) continue;
    word |= static_cast<uint16_t>(t << shift);
    shift += kToneBits;
  }
  return word;
}

std::string WriteToneReadings(const std::vector<ToneRecord>& records, bool orderedTones,
                              uint32_t version) {
  std::string out;
  PutLe32(out, version);
  PutLe16(out, static_cast<uint16_t>(records.size()));
  for (const ToneRecord& r : records) {
    out += r.ch;
    out.push_back(static_cast<char>(r.readings.size()));
    for (const ToneReading& rd : r.readings) {
      out.push_back(static_cast<char>(rd.pinyin.size()));
      out += rd.pinyin;
      if (orderedTones) {
        PutLe16(out, ToneSequence(rd.tones));
      } else {
        out.push_back(static_cast<char>(ToneMask(rd.tones)));
      }
    }
    out.push_back(static_cast<char>(r.common ? kCommonFlag : 0));
  }
  return out;
}

std::string WriteCharCodes(const std::vector<CodeRecord>& records) {
  std::string out;
  PutLe16(out, static_cast<uint16_t>(records.size()));
  for (const CodeRecord& r : records) {
    out += r.ch;
    PutLe16(out, static_cast<uint16_t>(r.codes.size()));
    for (const std::string& c : r.codes) {
      PutLe32(out, static_cast<uint32_t>(c.size()));
      out += c;
    }
  }
  return out;
}

std::string WriteStringMap(const std::vector<std::pair<std::string, std::string>>& pairs) {
  std::string out;
  PutLe16(out, static_cast<uint16_t>(pairs.size()));
  for (const auto& kv : pairs) {
    out.push_back(static_cast<char>(kv.first.size()));
    out += kv.first;
    out.push_back(static_cast<char>(kv.second.size()));
    out += kv.second;
  }
  return out;
}

std::string SortDicLine(const std::string& ch, uint32_t rank) {
  return ch + std::to_string(rank) + "\n";
}

}  // namespace chardict
