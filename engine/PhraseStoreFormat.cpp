#include "engine/PhraseStoreFormat.h"

#include <cstring>

#include "framework/JiaMiJieMi.h"

namespace phrasestore {

void ScrambleBlocks(const uint8_t* from, uint8_t* to, size_t n) {
  for (size_t at = 0; at < n; at += kBlockBytes) {
    const size_t len = n - at < kBlockBytes ? n - at : kBlockBytes;
    JiaMiJieMi(from + at, to + at, static_cast<int>(len));
  }
}

void AppendRef(std::string& out, uint32_t offset) {
  out.push_back(static_cast<char>(kEntryMark | ((offset >> 16) & 0x7F)));
  out.push_back(static_cast<char>((offset >> 8) & 0xFF));
  out.push_back(static_cast<char>(offset & 0xFF));
}

uint32_t RefOffset(const uint8_t* p) {
  return (static_cast<uint32_t>(p[0] & 0x7F) << 16) |
         (static_cast<uint32_t>(p[1]) << 8) | p[2];
}

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
  const auto* p = reinterpret_cast<const uint8_t*>(image.data());
  const size_t n = image.size();
  size_t at = 0;
  if (weightedHeader) {
    if (n == 0 || (p[0] & 0x80) == 0) {
      error = "missing weighted header byte";
      return false;
    }
    at = 1;
  }
  while (true) {
    if (at >= n) {
      error = "index ends without its zero byte";
      return false;
    }
    if (p[at] == 0) break;
    if (p[at] >= 0x80) {
      error = "entry byte where a key starts at offset " + std::to_string(at);
      return false;
    }
    IndexRecord r;
    while (at < n && p[at] != 0 && p[at] < 0x80) r.key.push_back(static_cast<char>(p[at++]));
    while (at < n && p[at] >= 0x80) {
      if (n - at < static_cast<size_t>(entryBytes)) {
        error = "truncated entry at offset " + std::to_string(at);
        return false;
      }
      IndexEntry e;
      e.offset = RefOffset(p + at);
      if (entryBytes == 4) e.weight = p[at + 3];
      r.entries.push_back(e);
      at += static_cast<size_t>(entryBytes);
    }
    if (r.entries.empty()) {
      error = "key '" + r.key + "' has no entries";
      return false;
    }
    if (!records.empty() &&
        std::strcmp(records.back().key.c_str(), r.key.c_str()) >= 0) {
      error = "key '" + r.key + "' out of order";
      return false;
    }
    records.push_back(std::move(r));
  }
  return true;
}

}  // namespace phrasestore
