#include "engine/dics/CharDicParsers.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "base/ByteReader.h"

namespace chndic {

namespace {

constexpr int kMaxReadings = 6;
constexpr size_t kRankTextBytes = 15;
constexpr size_t kOneKeyLineBytes = 63;
// The smallest record of ch2key.bin, ch2py.bin and ch2pypz*.bin.
constexpr size_t kMinRecordBytes = 4;

std::string Where(const char* what, size_t index, size_t offset) {
  char text[96];
  snprintf(text, sizeof text, "%s %zu at offset 0x%zx", what, index, offset);
  return text;
}

}  // namespace

void ParseCh2Codes(const std::vector<uint8_t>& file, size_t bufBytes, std::vector<CodeEntry>& out,
                   std::string& err) {
  out.clear();
  err.clear();
  ByteReader r(file.data(), file.size());
  const uint16_t n = r.Le16();
  if (!r.Ok()) {
    err = "no character count";
    return;
  }
  // A record takes at least 4 bytes: a count the file cannot hold reserves no more.
  out.reserve(std::min<size_t>(n, r.Remaining() / kMinRecordBytes));
  for (size_t i = 0; i < n; ++i) {
    const size_t at = r.Offset();
    CodeEntry e;
    e.ch = r.Le16();
    const uint16_t m = r.Le16();
    if (!r.Ok()) {
      err = Where("file ends inside character", i, at);
      return;
    }
    for (size_t j = 0; j < m; ++j) {
      const uint32_t len = r.Le32();
      const uint8_t* code = r.Bytes(len);
      if (!r.Ok()) {
        err = Where("code runs past the end in character", i, at);
        return;
      }
      if (len + 1 > bufBytes) {
        if (err.empty()) err = Where("over-long code dropped in character", i, at);
        continue;
      }
      e.codes.emplace_back(reinterpret_cast<const char*>(code), len);
    }
    out.push_back(std::move(e));
  }
}

void ParseCh2PyPz(const std::vector<uint8_t>& file, int toneBytes, std::vector<ReadingEntry>& out,
                  std::string& err) {
  out.clear();
  err.clear();
  ByteReader r(file.data(), file.size());
  r.Le32();  // version
  const uint16_t n = r.Le16();
  if (!r.Ok()) {
    err = "no header";
    return;
  }
  out.reserve(std::min<size_t>(n, r.Remaining() / kMinRecordBytes));
  for (size_t i = 0; i < n; ++i) {
    const size_t at = r.Offset();
    ReadingEntry e{};
    e.ch = r.Le16();
    const uint8_t m = r.U8();
    for (size_t j = 0; j < m && r.Ok(); ++j) {
      const uint8_t len = r.U8();
      const uint8_t* text = r.Bytes(len);
      const uint16_t tones = toneBytes == 1 ? r.U8() : r.Le16();
      if (r.Ok() && j < kMaxReadings) {
        e.readings.emplace_back(reinterpret_cast<const char*>(text), len);
        e.tones[j] = tones;
      }
    }
    e.flags = r.U8();
    if (!r.Ok()) {
      err = Where("file ends inside character", i, at);
      return;
    }
    if (m > kMaxReadings) {
      if (err.empty()) err = Where("more than 6 readings, dropped: character", i, at);
      continue;
    }
    out.push_back(std::move(e));
  }
}

void ParseSortDic(const std::vector<uint8_t>& file, std::vector<std::pair<uint16_t, int32_t>>& out,
                  std::string& err) {
  out.clear();
  err.clear();
  bool pending = false;  // a character waits for its rank
  bool sawText = false;  // a byte below 0x80 followed it
  uint16_t ch = 0;
  std::string digits;
  auto store = [&] {
    if (pending && sawText) {
      const long rank = atol(digits.c_str());
      out.emplace_back(ch, static_cast<int32_t>(rank));
    }
  };
  size_t i = 0;
  while (true) {
    if (i >= file.size()) {
      store();
      return;
    }
    const uint8_t b = file[i];
    if (b < 0x80) {
      if (digits.size() < kRankTextBytes) digits += static_cast<char>(b);
      sawText = true;
      ++i;
      continue;
    }
    if (pending && !sawText) {
      err = Where("two characters in a row end the file: character", out.size(), i);
      return;
    }
    store();
    if (i + 1 >= file.size()) {
      err = "lead byte without trail byte at the end";
      return;
    }
    ch = static_cast<uint16_t>(b | (file[i + 1] << 8));
    pending = true;
    sawText = false;
    digits.clear();
    i += 2;
  }
}

void ParseOneKeyPy(const std::vector<uint8_t>& file, std::array<std::string, 25>& out) {
  for (std::string& s : out) s.clear();
  // Cut the file into lines as a reader with a 64-byte line buffer does.
  std::vector<std::string> lines;
  std::string line;
  for (uint8_t b : file) {
    line += static_cast<char>(b);
    if (b == '\n' || line.size() == kOneKeyLineBytes) {
      lines.push_back(line);
      line.clear();
    }
  }
  if (!line.empty()) lines.push_back(line);

  for (size_t i = 0; i < lines.size(); ++i) {
    const char c = lines[i][0];
    if (c == ';' || c < 'b' || c > 'z') continue;
    std::string& list = out[static_cast<size_t>(c - 'b')];
    for (size_t k = 1; k <= 2 && i + 1 < lines.size(); ++k) {
      std::string chars = lines[++i];
      while (!chars.empty() &&
             (chars.back() == '\t' || chars.back() == '\r' || chars.back() == '\n'))
        chars.pop_back();
      if (chars.size() > 1) list += chars;
    }
  }
}

}  // namespace chndic
