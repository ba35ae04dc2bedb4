#include "engine/formats/PhraseStoreFormat.h"

#include "base/ByteOrder.h"
#include "base/ByteReader.h"
#include "engine/formats/JiaMiJieMi.h"

namespace phrasestore {

void ScrambleBlocks(const uint8_t* from, uint8_t* to, size_t n) {
  for (size_t at = 0; at < n; at += kBlockBytes) {
    const size_t len = n - at < kBlockBytes ? n - at : kBlockBytes;
    JiaMiJieMi(from + at, to + at, static_cast<int>(len));
  }
}

void AppendRef(std::string& out, uint32_t offset) {
  char b[kRefBytes];
  big_endian::Store24(b, static_cast<uint32_t>(kEntryMark) << 16 | (offset & (kOffsetLimit - 1)));
  out.append(b, kRefBytes);
}

uint32_t RefOffset(const uint8_t* p) { return big_endian::Load24(p) & (kOffsetLimit - 1); }

bool IsValidKey(const std::string& key) {
  if (key.empty() || key.size() > kMaxKeyBytes) return false;
  for (unsigned char c : key) {
    if (c == 0 || c >= 0x80) return false;
  }
  return true;
}

std::string WriteIndex(const std::vector<IndexRecord>& records, int entryBytes,
                       bool weightedHeader) {
  std::string out;
  if (weightedHeader) out.push_back(static_cast<char>(kWeightedHeader));
  for (const IndexRecord& r : records) {
    out += r.key;
    for (const IndexEntry& e : r.entries) {
      AppendRef(out, e.offset);
      if (entryBytes == 4) out.push_back(static_cast<char>(e.weight));
    }
  }
  out.push_back('\0');
  return out;
}

bool ReadIndex(const std::string& image, int entryBytes, bool weightedHeader,
               std::vector<IndexRecord>& records, std::string& error) {
  records.clear();
  ByteReader r(image.data(), image.size());
  if (weightedHeader && (r.U8() & kWeightedHeader) == 0) {
    error = "missing weighted header byte";
    return false;
  }
  // Peeks at the next byte without consuming it; 0 at the end (the reader
  // then holds its error, so the loop below stops).
  auto next = [&r, &image]() -> uint8_t {
    return r.Remaining() > 0 ? static_cast<uint8_t>(image[r.Offset()]) : 0;
  };
  while (r.Ok()) {
    if (r.Remaining() == 0) {
      error = "index ends without its zero byte";
      return false;
    }
    if (next() == 0) return true;
    if (next() >= kEntryMark) {
      error = "entry byte where a key starts at offset " + std::to_string(r.Offset());
      return false;
    }
    IndexRecord rec;
    while (r.Remaining() > 0 && next() != 0 && next() < kEntryMark)
      rec.key.push_back(static_cast<char>(r.U8()));
    while (r.Remaining() > 0 && next() >= kEntryMark) {
      const size_t at = r.Offset();
      const uint8_t* e = r.Bytes(static_cast<size_t>(entryBytes));
      if (e == nullptr) {
        error = "truncated entry at offset " + std::to_string(at);
        return false;
      }
      rec.entries.push_back({RefOffset(e), entryBytes == 4 ? e[kRefBytes] : uint8_t{0}});
    }
    if (rec.entries.empty()) {
      error = "key '" + rec.key + "' has no entries";
      return false;
    }
    if (!records.empty() && records.back().key >= rec.key) {
      error = "key '" + rec.key + "' out of order";
      return false;
    }
    records.push_back(std::move(rec));
  }
  error = "unreadable index";
  return false;
}

}  // namespace phrasestore
