#include "engine/lexicon/DependMaps.h"

#include "base/ByteOrder.h"
#include "base/ByteReader.h"

namespace dependmap {

namespace {

void Put16(std::string& out, uint32_t v) {
  char b[2];
  little_endian::Store16(b, static_cast<uint16_t>(v));
  out.append(b, 2);
}

void Put32(std::string& out, uint32_t v) {
  char b[4];
  little_endian::Store32(b, v);
  out.append(b, 4);
}

}  // namespace

std::string Write(const std::vector<Record>& records, bool wideKeys) {
  std::string out;
  Put32(out, static_cast<uint32_t>(records.size()));
  for (const Record& r : records) {
    if (wideKeys)
      Put32(out, r.first);
    else
      Put16(out, r.first);
    const size_t m = r.second.size() < kMaxDependValues ? r.second.size() : kMaxDependValues;
    Put16(out, static_cast<uint32_t>(m));
    for (size_t i = 0; i < m; ++i) Put32(out, r.second[i]);
  }
  return out;
}

bool Read(const uint8_t* data, size_t n, bool wideKeys, std::vector<Record>& out,
          std::string& error) {
  out.clear();
  ByteReader r(data, n);
  const uint32_t count = r.Le32();
  if (!r.Ok()) {
    error = "shorter than its record count";
    return false;
  }
  for (uint32_t i = 0; i < count; ++i) {
    Record rec;
    rec.first = wideKeys ? r.Le32() : r.Le16();
    const uint16_t m = r.Le16();
    // Checked before the values are read: a count past the end of the file
    // must not make the reader reserve room for it.
    if (!r.Ok() || r.Remaining() < static_cast<size_t>(m) * 4) {
      error = "record " + std::to_string(i) + " of " + std::to_string(count) +
              " runs past the end of the file";
      return false;
    }
    rec.second.reserve(m);
    for (uint16_t k = 0; k < m; ++k) rec.second.push_back(r.Le32());
    out.push_back(std::move(rec));
  }
  return true;
}

}  // namespace dependmap
