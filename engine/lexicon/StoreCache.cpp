#include "engine/lexicon/StoreCache.h"

#include <cstring>

#include "engine/formats/PhraseStoreFormat.h"

namespace ciku {

namespace {

// The table is kept at most half full, so a probe run stays short.
constexpr uint32_t kMinSlots = 1024;
// The scrambled image grows by an eighth of the store at a time.
constexpr uint32_t kSpareDivisor = 8;
// A first guess of the phrases in a store: about 6 bytes a phrase.
constexpr uint32_t kBytesPerPhraseGuess = 6;

uint32_t Hash(std::string_view s) {
  uint32_t h = 2166136261u;  // FNV-1a
  for (unsigned char c : s) {
    h ^= c;
    h *= 16777619u;
  }
  return h;
}

uint32_t SlotsFor(uint32_t phrases) {
  uint32_t n = kMinSlots;
  while (n < 2 * phrases + 2) n *= 2;
  return n;
}

}  // namespace

void StoreCache::Clear() {
  m_store = nullptr;
  m_len = 0;
  m_indexed = false;
  m_slots.clear();
  m_slots.shrink_to_fit();
  m_count = 0;
  m_scrambled.clear();
  m_scrambled.shrink_to_fit();
  m_scrambledLen = 0;
}

void StoreCache::Sync(const uint8_t* store, uint32_t len) {
  if (store != m_store || len != m_len) {
    Clear();
    m_store = store;
    m_len = len;
  }
}

void StoreCache::Appended(const uint8_t* store, uint32_t len) {
  // A store whose last phrase had no zero byte gets its new bytes glued to
  // that phrase: only a fresh reading sees the phrases as the store does.
  if (len < m_len || (m_len > 0 && m_store && store[m_len - 1] != 0)) {
    Clear();
    m_store = store;
    m_len = len;
    return;
  }
  const uint32_t old = m_len;
  m_store = store;
  m_len = len;
  if (m_indexed) IndexFrom(old);
}

std::string_view StoreCache::TextAt(uint32_t offset) const {
  const char* p = reinterpret_cast<const char*>(m_store) + offset;
  return std::string_view(p, strnlen(p, m_len - offset));
}

uint32_t StoreCache::Lookup(std::string_view text) const {
  const uint32_t mask = static_cast<uint32_t>(m_slots.size()) - 1;
  for (uint32_t i = Hash(text) & mask;; i = (i + 1) & mask) {
    const uint32_t at = m_slots[i];
    if (at == 0) return 0;
    if (TextAt(at) == text) return at;
  }
}

void StoreCache::Insert(uint32_t offset, std::string_view text) {
  if ((m_count + 1) * 2 > m_slots.size()) Grow();
  const uint32_t mask = static_cast<uint32_t>(m_slots.size()) - 1;
  uint32_t i = Hash(text) & mask;
  while (m_slots[i] != 0) i = (i + 1) & mask;
  m_slots[i] = offset;
  ++m_count;
}

void StoreCache::Grow() {
  std::vector<uint32_t> old;
  old.swap(m_slots);
  m_slots.assign(SlotsFor(m_count + 1), 0);
  m_count = 0;
  for (uint32_t at : old)
    if (at != 0) Insert(at, TextAt(at));
}

void StoreCache::IndexFrom(uint32_t from) {
  // Phrases start at 0 and after every zero byte; the walk is the one of
  // the store's readers, a run of zero bytes giving empty phrases.
  for (uint32_t pos = from; pos < m_len;) {
    const std::string_view text = TextAt(pos);
    if (!text.empty() && pos != 0 && Lookup(text) == 0) Insert(pos, text);
    pos += static_cast<uint32_t>(text.size()) + 1;
  }
}

uint32_t StoreCache::FirstOffset(const uint8_t* store, uint32_t len, std::string_view text) {
  Sync(store, len);
  if (!m_store || text.empty()) return 0;
  if (!m_indexed) {
    m_slots.assign(SlotsFor(m_len / kBytesPerPhraseGuess), 0);
    m_count = 0;
    IndexFrom(0);
    m_indexed = true;
  }
  return Lookup(text);
}

bool StoreCache::Find(const uint8_t* store, uint32_t len, std::string_view text) {
  if (FirstOffset(store, len, text) != 0) return true;
  return m_store && m_len > 0 && TextAt(0) == text;
}

std::string_view StoreCache::Scrambled(const uint8_t* store, uint32_t len) {
  Sync(store, len);
  if (!m_store) return std::string_view();
  // Only the block the old end lay in and those after it change.
  const uint32_t from =
      m_scrambledLen / phrasestore::kBlockBytes * static_cast<uint32_t>(phrasestore::kBlockBytes);
  // Room for the phrases of a while ahead, rather than the doubling of a
  // plain resize: the image is as large as the store.
  if (m_scrambled.capacity() < m_len) m_scrambled.reserve(m_len + m_len / kSpareDivisor);
  m_scrambled.resize(m_len);
  phrasestore::ScrambleBlocks(m_store + from, m_scrambled.data() + from, m_len - from);
  m_scrambledLen = m_len;
  return std::string_view(reinterpret_cast<const char*>(m_scrambled.data()), m_len);
}

size_t StoreCache::MemoryBytes() const {
  return m_slots.capacity() * sizeof(uint32_t) + m_scrambled.capacity();
}

}  // namespace ciku
