#include "frontend/ZiOrderBook.h"

#include <cstring>

#include "base/ByteOrder.h"
#include "engine/formats/CharDictFormat.h"
#include "engine/internal/DicBuffers.h"
#include "engine/lexicon/LexiconFiles.h"

namespace {

constexpr uint32_t kCharBytes = 2;
constexpr size_t kRunBlockBytes = 4;  // count high, count low, start LE16

}  // namespace

CString ZiOrderBook::FuzzySuffix(bool fuzzy, bool zhz, bool chc, bool shs, bool lr) {
  CString suffix;
  if (!fuzzy || !(zhz || chc || shs || lr)) return suffix;
  for (bool on : {zhz, chc, shs, lr}) suffix += on ? '1' : '0';
  return suffix;
}

bool ZiOrderBook::Load(const std::string& orderPath, const std::string& syllablesPath,
                       std::string& error) {
  m_path = orderPath;
  m_order.clear();
  m_syllables.clear();
  auto read = [&error](const std::string& path, std::vector<uint8_t>& bytes) {
    if (!chndic::ReadWholeFile(path.c_str(), bytes)) {
      error = "Cannot read " + path;
      return false;
    }
    if (bytes.size() < chardict::kMinFileBytes) {
      error = path + " is too short";
      return false;
    }
    return true;
  };
  std::vector<uint8_t> order, syllables;
  if (!read(orderPath, order) || !read(syllablesPath, syllables)) return false;
  m_order = std::move(order);
  m_syllables = std::move(syllables);
  return true;
}

bool ZiOrderBook::RunOf(const char* syllable, uint32_t& start, uint32_t& count) const {
  if (!syllable || !syllable[0]) return false;
  const size_t want = std::strlen(syllable);
  const uint8_t* p = m_syllables.data();
  const size_t n = m_syllables.size();
  size_t pos = 0;
  while (pos < n && p[pos] != 0) {
    const size_t key = pos;
    while (pos < n && p[pos] != 0 && p[pos] < chardict::kCountMark) ++pos;
    // A record without a syllable or cut short ends the list.
    if (pos == key || pos + kRunBlockBytes > n) return false;
    const uint32_t c = (static_cast<uint32_t>(p[pos] & 0x7F) << 8) | p[pos + 1];
    const uint32_t s = little_endian::Load16(p + pos + 2);
    if (pos - key == want && std::memcmp(p + key, syllable, want) == 0) {
      const uint32_t nChars = static_cast<uint32_t>(m_order.size() / kCharBytes);
      if (s > nChars || c > nChars - s) return false;
      start = s;
      count = c;
      return true;
    }
    pos += kRunBlockBytes;
  }
  return false;
}

bool ZiOrderBook::ReadRun(const char* syllable, CWordArray& chars) const {
  chars.RemoveAll();
  uint32_t start = 0, count = 0;
  if (!RunOf(syllable, start, count)) return false;
  for (uint32_t i = 0; i < count; ++i) {
    chars.Add(little_endian::Load16(&m_order[(start + i) * kCharBytes]));
  }
  return true;
}

bool ZiOrderBook::WriteRun(const char* syllable, const CWordArray& chars) {
  uint32_t start = 0, count = 0;
  if (!RunOf(syllable, start, count) || static_cast<uint32_t>(chars.GetSize()) != count)
    return false;
  for (uint32_t i = 0; i < count; ++i) {
    little_endian::Store16(&m_order[(start + i) * kCharBytes], chars[static_cast<int>(i)]);
  }
  return true;
}

bool ZiOrderBook::Save(IFileOps& ops, std::string& error) const {
  const std::string_view bytes(reinterpret_cast<const char*>(m_order.data()), m_order.size());
  return lexfile::Replace(m_path, bytes, error, ops);
}
