#include "engine/lexicon/IndexInsert.h"

#include <cstdlib>
#include <cstring>

#include "engine/formats/PhraseStoreFormat.h"
#include "engine/internal/DicBuffers.h"
#include "engine/lexicon/typCiZuRec.h"

namespace ciku {

namespace {

constexpr uint8_t kNewKeyWeight = 1;
constexpr uint8_t kWeightBits = 0x1F;

std::string Entry(uint32_t offset, int entryLen, uint8_t weight) {
  std::string e;
  phrasestore::AppendRef(e, offset);
  if (entryLen == 4) e.push_back(static_cast<char>(weight & kWeightBits));
  return e;
}

// One record of the image: its key and where its entries are.
struct Line {
  std::string key;
  uint32_t entries = 0;  // first entry
  uint32_t end = 0;      // next record
};

// Reads the record at pos; false at the end of the image (a zero byte or
// the length). A damaged image (an entry byte where a key should start, a
// last entry cut short) ends the walk there rather than read past it.
bool ReadLine(const uint8_t* img, uint32_t len, uint32_t pos, int entryLen, Line& line) {
  if (pos >= len || img[pos] == 0 || img[pos] >= phrasestore::kEntryMark) return false;
  uint32_t p = pos;
  while (p < len && img[p] != 0 && img[p] < phrasestore::kEntryMark) ++p;
  line.key.assign(reinterpret_cast<const char*>(img + pos), p - pos);
  line.entries = p;
  while (p + static_cast<uint32_t>(entryLen) <= len && (img[p] & phrasestore::kEntryMark))
    p += static_cast<uint32_t>(entryLen);
  line.end = p;
  return p > line.entries;
}

}  // namespace

std::vector<Insertion> PlanInsertions(const uint8_t* img, uint32_t len, uint32_t header,
                                      int entryLen, const std::vector<std::string>& keys,
                                      uint32_t offset) {
  std::vector<Insertion> out;
  std::string ref;
  phrasestore::AppendRef(ref, offset);
  const auto w = static_cast<uint32_t>(entryLen);
  uint32_t pos = header < len ? header : len;
  Line line;
  for (const std::string& key : keys) {
    for (;;) {
      if (!ReadLine(img, len, pos, entryLen, line)) {
        out.push_back({pos, key + Entry(offset, entryLen, kNewKeyWeight)});
        break;
      }
      const int cmp = key.compare(line.key);
      if (cmp < 0) {
        out.push_back({pos, key + Entry(offset, entryLen, kNewKeyWeight)});
        break;
      }
      if (cmp > 0) {
        pos = line.end;
        continue;
      }
      const uint32_t n = (line.end - line.entries) / w;
      bool known = false;
      for (uint32_t i = 0; i < n && !known; ++i)
        known = memcmp(img + line.entries + i * w, ref.data(), ref.size()) == 0;
      if (!known) {
        const uint32_t at = line.entries + (n < kNewEntryAfter ? n : kNewEntryAfter) * w;
        out.push_back({at, Entry(offset, entryLen, entryLen == 4 ? img[at - 1] : 0)});
      }
      pos = line.end;
      break;
    }
  }
  return out;
}

unsigned char* ApplyInsertions(const uint8_t* img, uint32_t len,
                               const std::vector<Insertion>& pieces, uint32_t& newLen) {
  size_t total = len;
  for (const Insertion& p : pieces) total += p.bytes.size();
  auto* out = static_cast<unsigned char*>(malloc(total + chndic::kPad));
  if (!out) return nullptr;
  size_t from = 0, to = 0;
  for (const Insertion& p : pieces) {
    memcpy(out + to, img + from, p.at - from);
    to += p.at - from;
    from = p.at;
    memcpy(out + to, p.bytes.data(), p.bytes.size());
    to += p.bytes.size();
  }
  memcpy(out + to, img + from, len - from);
  memset(out + total, 0, chndic::kPad);
  newLen = static_cast<uint32_t>(total);
  return out;
}

uint32_t InsertedBytes(const std::vector<Insertion>& pieces) {
  size_t total = 0;
  for (const Insertion& p : pieces) total += p.bytes.size();
  return static_cast<uint32_t>(total);
}

uint32_t ApplyInsertionsInPlace(uint8_t* img, uint32_t len, const std::vector<Insertion>& pieces) {
  const uint32_t total = InsertedBytes(pieces);
  // From the last insertion to the first, so that no byte is moved twice:
  // the old bytes after each insertion move up by the room still needed.
  uint32_t from = len;
  uint32_t gap = total;
  for (size_t i = pieces.size(); i-- > 0;) {
    const Insertion& p = pieces[i];
    memmove(img + p.at + gap, img + p.at, from - p.at);
    gap -= static_cast<uint32_t>(p.bytes.size());
    memcpy(img + p.at + gap, p.bytes.data(), p.bytes.size());
    from = p.at;
  }
  memset(img + len + total, 0, chndic::kPad);
  return len + total;
}

}  // namespace ciku
