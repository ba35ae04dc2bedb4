#include "engine/dics/StrokeTableParser.h"

#include <algorithm>
#include <cstdio>

#include "base/ByteReader.h"

namespace bihua {

namespace {

// The smallest record: a one-letter syllable, every group empty.
constexpr size_t kMinRecordBytes = 4 + 1 + 4 + kClasses * (4 + kClasses * (4 + kClasses * 4));

bool Fault(std::string& err, const char* what, size_t offset, size_t record) {
  char text[160];
  snprintf(text, sizeof text, "syllable %zu at offset 0x%zx: %s", record, offset, what);
  err = text;
  return false;
}

// A length field followed by that many bytes into text.
bool ReadText(ByteReader& r, std::string& text) {
  const uint32_t len = r.Le32();
  if (!r.Ok() || len > r.Remaining()) return false;
  const uint8_t* p = r.Bytes(len);
  text.assign(reinterpret_cast<const char*>(p), len);
  return r.Ok();
}

bool IsSyllable(const std::string& s) {
  if (s.empty() || s.size() > kMaxSyllableBytes) return false;
  for (char c : s)
    if (c < 'a' || c > 'z') return false;
  return true;
}

}  // namespace

bool ParseTable(const uint8_t* data, size_t n, std::vector<Distribution>& out, std::string& err) {
  out.clear();
  err.clear();
  ByteReader r(data, n);
  const uint16_t count = r.Le16();
  if (!r.Ok()) return Fault(err, "file shorter than its count", 0, 0);
  // A count the file cannot hold reserves no more than the records that fit.
  out.reserve(std::min<size_t>(count, r.Remaining() / kMinRecordBytes));
  for (size_t i = 0; i < count; ++i) {
    const size_t at = n - r.Remaining();
    Distribution d;
    if (!ReadText(r, d.syllable)) return Fault(err, "syllable length past the end", at, i);
    if (!IsSyllable(d.syllable)) return Fault(err, "not a pinyin syllable", at, i);
    d.noStrokes = r.Le32();
    for (int s1 = 0; s1 < kClasses; ++s1) {
      d.firstCollapse[s1] = r.Le32();
      for (int s2 = 0; s2 < kClasses; ++s2) {
        d.secondCollapse[s1][s2] = r.Le32();
        for (int s3 = 0; s3 < kClasses; ++s3) {
          if (!ReadText(r, d.groups[s1][s2][s3]))
            return Fault(err, "group length past the end", at, i);
        }
      }
    }
    if (!r.Ok()) return Fault(err, "record cut short", at, i);
    out.push_back(std::move(d));
  }
  return true;
}

}  // namespace bihua
