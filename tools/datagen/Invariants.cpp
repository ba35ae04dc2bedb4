// Re-reads every generated image as the engine will and reports each limit
// it breaks: offsets within 23 bits and inside the store, keys below 100
// bytes of 0x01..0x7F in strcmp order, runs inside the flat list, weights
// non-increasing per key, tables of exactly the specified sizes.
#include <cstring>

#include "base/ByteOrder.h"
#include "base/ByteReader.h"
#include "engine/formats/Big5TableFormat.h"
#include "engine/formats/CharDictFormat.h"
#include "engine/formats/PhraseStoreFormat.h"
#include "engine/formats/VModeFormat.h"
#include "tools/datagen/Builders.h"
#include "tools/datagen/Sources.h"

namespace datagen {
namespace {

class Checker {
 public:
  Checker(const FileSet& files, Report& report) : m_files(files), m_report(report) {}

  const std::string* Get(const char* name) {
    const auto it = m_files.find(name);
    if (it == m_files.end()) {
      Fail(name, "was not generated");
      return nullptr;
    }
    return &it->second;
  }
  void Fail(const std::string& name, const std::string& what) {
    m_report.errors.push_back(name + ": " + what);
  }

 private:
  const FileSet& m_files;
  Report& m_report;
};

void CheckIndex(Checker& c, const char* name, int entryBytes, bool header, const std::string& store,
                size_t cap) {
  const std::string* img = c.Get(name);
  if (img == nullptr) return;
  std::vector<phrasestore::IndexRecord> recs;
  std::string error;
  if (!phrasestore::ReadIndex(*img, entryBytes, header, recs, error)) return c.Fail(name, error);
  for (const auto& r : recs) {
    if (!phrasestore::IsValidKey(r.key))
      return c.Fail(name, "key '" + r.key + "' is not a valid key");
    if (r.entries.size() > cap) return c.Fail(name, "key '" + r.key + "' has more than the cap");
    for (size_t i = 0; i < r.entries.size(); ++i) {
      const auto& e = r.entries[i];
      if (e.offset >= store.size() || (e.offset > 0 && store[e.offset - 1] != '\0') ||
          store[e.offset] == '\0')
        return c.Fail(name, "key '" + r.key + "' names offset " + std::to_string(e.offset) +
                                ", not the start of a phrase");
      if (entryBytes == 4 &&
          (e.weight > phrasestore::kMaxWeight || (i > 0 && e.weight > r.entries[i - 1].weight)))
        return c.Fail(name, "key '" + r.key + "' has weights out of order or range");
    }
  }
}

std::string CheckStore(Checker& c) {
  const std::string* img = c.Get("CiZuFlat.igb");
  if (img == nullptr) return "";
  std::string store(img->size(), '\0');
  phrasestore::ScrambleBlocks(reinterpret_cast<const uint8_t*>(img->data()),
                              reinterpret_cast<uint8_t*>(&store[0]), img->size());
  if (store.size() < phrasestore::kMinFileBytes) c.Fail("CiZuFlat.igb", "shorter than 100 bytes");
  if (store.size() > phrasestore::kOffsetLimit)
    c.Fail("CiZuFlat.igb", "passes the 23-bit offset range");
  if (!store.empty() && store.back() != '\0') c.Fail("CiZuFlat.igb", "last phrase has no end byte");
  if (!store.empty() && store[0] != '\0')
    c.Fail("CiZuFlat.igb", "a phrase at offset 0, which reads as none");
  return store;
}

void CheckPinyinList(Checker& c) {
  const std::string* keys = c.Get("pykeys.dic");
  const std::string* flat = c.Get("gbkflat.dic");
  if (keys == nullptr || flat == nullptr) return;
  if (keys->size() < chardict::kMinFileBytes) c.Fail("pykeys.dic", "shorter than 100 bytes");
  if (flat->size() < chardict::kMinFileBytes || flat->size() % 2 != 0)
    c.Fail("gbkflat.dic", "shorter than 100 bytes or of odd length");
  size_t at = 0;
  uint32_t next = 0;
  std::string prev;
  while (at < keys->size() && (*keys)[at] != '\0') {
    std::string syl;
    while (at < keys->size() && static_cast<unsigned char>((*keys)[at]) < 0x80 &&
           (*keys)[at] != '\0')
      syl.push_back((*keys)[at++]);
    if (syl.empty() || at + 4 > keys->size() || !(static_cast<unsigned char>((*keys)[at]) & 0x80))
      return c.Fail("pykeys.dic", "malformed record at offset " + std::to_string(at));
    if (!prev.empty() && std::strcmp(prev.c_str(), syl.c_str()) >= 0)
      return c.Fail("pykeys.dic", "syllable " + syl + " out of order");
    const uint32_t count = big_endian::Load16(keys->data() + at) & chardict::kMaxSyllableChars;
    const uint32_t start = little_endian::Load16(keys->data() + at + 2);
    if (start != next || (start + count) * 2 > flat->size())
      return c.Fail("pykeys.dic", "run of " + syl + " is not inside the flat list");
    next = start + count;
    prev = syl;
    at += 4;
  }
  if (at >= keys->size()) c.Fail("pykeys.dic", "no end byte");
  // Only zero padding (a tiny list grown to the loader's minimum) may follow
  // the last run.
  for (size_t i = static_cast<size_t>(next) * 2; i < flat->size(); ++i) {
    if ((*flat)[i] != '\0') return c.Fail("gbkflat.dic", "holds characters no run names");
  }
}

void CheckShapeList(Checker& c) {
  const std::string* img = c.Get("chdicres.bin");
  if (img == nullptr) return;
  if (img->size() < chardict::kMinFileBytes) c.Fail("chdicres.bin", "shorter than 100 bytes");
  size_t at = 0;
  std::string prev;
  while (at < img->size() && (*img)[at] != '\0') {
    std::string key;
    while (at < img->size() && (*img)[at] != '\0' && static_cast<unsigned char>((*img)[at]) < 0x80)
      key.push_back((*img)[at++]);
    size_t chars = 0;
    while (at + 1 < img->size() && static_cast<unsigned char>((*img)[at]) >= 0x80) {
      at += 2;
      ++chars;
    }
    if (!phrasestore::IsValidKey(key) || chars == 0 || (!prev.empty() && prev >= key))
      return c.Fail("chdicres.bin", "bad record '" + key + "'");
    prev = key;
  }
  if (at >= img->size()) c.Fail("chdicres.bin", "no end byte");
}

void CheckCodes(Checker& c, const char* name, size_t buffer) {
  const std::string* img = c.Get(name);
  if (img == nullptr) return;
  ByteReader r(img->data(), img->size());
  const uint32_t n = r.Le16();
  for (uint32_t i = 0; i < n && r.Ok(); ++i) {
    r.Skip(2);
    const uint32_t m = r.Le16();
    for (uint32_t k = 0; k < m && r.Ok(); ++k) {
      const uint32_t len = r.Le32();
      if (len + 1 > buffer) return c.Fail(name, "code longer than its buffer");
      r.Skip(len);
    }
  }
  if (!r.Ok()) return c.Fail(name, "truncated");
  if (r.Remaining() != 0) c.Fail(name, "bytes after the last record");
}

void CheckTones(Checker& c, const char* name, int toneBytes) {
  const std::string* img = c.Get(name);
  if (img == nullptr) return;
  ByteReader r(img->data(), img->size());
  r.Le32();  // version
  const uint32_t n = r.Le16();
  for (uint32_t i = 0; i < n && r.Ok(); ++i) {
    r.Skip(2);
    const uint8_t m = r.U8();
    if (m > chardict::kMaxReadings) return c.Fail(name, "more than 6 readings");
    for (unsigned k = 0; k < m && r.Ok(); ++k) r.Skip(r.U8() + static_cast<size_t>(toneBytes));
    r.U8();  // flags
  }
  if (!r.Ok()) return c.Fail(name, "truncated");
  if (r.Remaining() != 0) c.Fail(name, "length does not match its records");
}

void CheckTextLimits(Checker& c) {
  if (const std::string* v = c.Get("vmodewords.dic")) {
    for (const std::string& line : Lines(*v)) {
      if (line.size() > vmode::kMaxLineBytes)
        c.Fail("vmodewords.dic", "line longer than 510 bytes");
      if (line.empty() || line[0] < 'a' || line[0] > 'z') continue;
      size_t commas = 0, at = 0;
      for (; commas < 4; ++commas, ++at) {
        const size_t next = line.find(',', at);
        if (next == std::string::npos) break;
        size_t from = at;
        for (size_t bar; (bar = line.find('|', from)) < next; from = bar + 1)
          if (bar - from > vmode::kMaxKeyBytes)
            c.Fail("vmodewords.dic", "key longer than 31 bytes");
        if (next - from > vmode::kMaxKeyBytes) c.Fail("vmodewords.dic", "key longer than 31 bytes");
        at = next;
      }
      if (commas < 4 || at >= line.size())
        c.Fail("vmodewords.dic", "data line without words: " + line);
    }
  }
  if (const std::string* p = c.Get("py_1key.dic")) {
    for (const std::string& line : Lines(*p)) {
      if (line.size() + 1 > chardict::kOneKeyLineBytes)
        c.Fail("py_1key.dic", "line longer than 63 bytes");
    }
  }
}

}  // namespace

void CheckInvariants(const FileSet& files, Report& report) {
  Checker c(files, report);
  const std::string store = CheckStore(c);
  CheckIndex(c, "pycizudic.idx", 4, true, store, SIZE_MAX);
  CheckIndex(c, "py2_3ZiCi1stZuMu.idx", 4, false, store, kMaxInitialsPerKey);
  CheckIndex(c, "pxcizudic.idx", 3, false, store, SIZE_MAX);
  CheckPinyinList(c);
  CheckShapeList(c);
  CheckCodes(c, "ch2key.bin", chardict::kCh2KeyCodeBuffer);
  CheckCodes(c, "ch2py.bin", chardict::kCh2PyCodeBuffer);
  CheckTones(c, "ch2pypz1.bin", 1);
  CheckTones(c, "ch2pypz2.bin", 2);
  CheckTextLimits(c);
  if (const std::string* g = c.Get("gbk2b5.bin"); g && g->size() != big5table::kGbk2Big5Bytes)
    c.Fail("gbk2b5.bin", "not 48132 bytes");
  if (const std::string* b = c.Get("b5gbk.bin"); b && b->size() != big5table::kBig52GbkBytes)
    c.Fail("b5gbk.bin", "not 34380 bytes");
  c.Get("sort.dic");
  c.Get("chndic2.bin");
  c.Get("bihuaku.bin");
}

}  // namespace datagen
