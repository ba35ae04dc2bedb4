#include "engine/dics/CharCodeMaps.h"

#include <algorithm>
#include <cstring>
#include <numeric>

namespace chndic {

uint32_t TextBlock::Append(const std::vector<std::string>& texts) {
  const auto at = static_cast<uint32_t>(m_text.size());
  for (const std::string& t : texts) {
    // A CString made from the text ended at its first NUL.
    m_text.append(t.c_str(), strlen(t.c_str()));
    m_text.push_back('\0');
  }
  return at;
}

void TextBlock::Read(uint32_t at, size_t n, CStringArray& out) const {
  // As CStringArray::Copy: the storage is kept, its size set.
  out.SetSize(static_cast<int>(n), -1);
  const char* p = m_text.data() + at;
  for (size_t i = 0; i < n; ++i) {
    out[static_cast<int>(i)] = p;
    p += strlen(p) + 1;
  }
}

void TextBlock::Clear() { std::string().swap(m_text); }

template <class Entry>
std::vector<uint32_t> LastRecordPerChar(const std::vector<Entry>& entries) {
  std::vector<uint32_t> order(entries.size());
  std::iota(order.begin(), order.end(), 0u);
  // The shipped files list every character once, in order: nothing to sort.
  const bool ascending =
      std::adjacent_find(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return a.ch >= b.ch;
      }) == entries.end();
  if (ascending) return order;
  std::stable_sort(order.begin(), order.end(),
                   [&](uint32_t a, uint32_t b) { return entries[a].ch < entries[b].ch; });
  // Of a run of equal characters the last in file order wins.
  std::vector<uint32_t> keep;
  keep.reserve(order.size());
  for (size_t i = 0; i < order.size(); ++i) {
    if (i + 1 < order.size() && entries[order[i + 1]].ch == entries[order[i]].ch) continue;
    keep.push_back(order[i]);
  }
  return keep;
}

template std::vector<uint32_t> LastRecordPerChar(const std::vector<CodeEntry>&);
template std::vector<uint32_t> LastRecordPerChar(const std::vector<ReadingEntry>&);

namespace {

// The slot of ch in slots sorted by character; null when absent.
template <class Slot>
const Slot* FindSlot(const std::vector<Slot>& slots, unsigned short ch) {
  const auto it = std::lower_bound(slots.begin(), slots.end(), ch,
                                   [](const Slot& s, unsigned short c) { return s.ch < c; });
  return it != slots.end() && it->ch == ch ? &*it : nullptr;
}

}  // namespace

}  // namespace chndic

namespace {

// The bytes the kept records' texts take in a text block.
template <class Entry>
size_t TextBytes(const std::vector<Entry>& entries, const std::vector<uint32_t>& keep,
                 std::vector<std::string> Entry::*texts) {
  size_t n = 0;
  for (uint32_t i : keep)
    for (const std::string& t : entries[i].*texts) n += strlen(t.c_str()) + 1;
  return n;
}

}  // namespace

void CharCodeMap::Assign(const std::vector<chndic::CodeEntry>& entries) {
  RemoveAll();
  const std::vector<uint32_t> keep = chndic::LastRecordPerChar(entries);
  m_slots.reserve(keep.size());
  m_text.Reserve(TextBytes(entries, keep, &chndic::CodeEntry::codes));
  for (uint32_t i : keep) {
    const chndic::CodeEntry& e = entries[i];
    // The file's count of codes is 16 bits, so the kept ones fit.
    m_slots.push_back({e.ch, static_cast<uint16_t>(e.codes.size()), m_text.Append(e.codes)});
  }
  m_text.ShrinkToFit();
}

int CharCodeMap::Lookup(unsigned short ch, CStringArray& out) const {
  const Slot* s = chndic::FindSlot(m_slots, ch);
  if (!s) return 0;
  m_text.Read(s->at, s->nCodes, out);
  return 1;
}

void CharCodeMap::RemoveAll() {
  std::vector<Slot>().swap(m_slots);
  m_text.Clear();
}

template <class Rec>
void CharReadingMap<Rec>::Assign(const std::vector<chndic::ReadingEntry>& entries) {
  RemoveAll();
  const std::vector<uint32_t> keep = chndic::LastRecordPerChar(entries);
  m_slots.reserve(keep.size());
  m_text.Reserve(TextBytes(entries, keep, &chndic::ReadingEntry::readings));
  for (uint32_t i : keep) {
    const chndic::ReadingEntry& e = entries[i];
    // The parser keeps at most kMaxReadings readings.
    Slot s{e.ch, static_cast<uint8_t>(e.readings.size()), e.flags, m_text.Append(e.readings), {}};
    for (size_t j = 0; j < e.readings.size(); ++j) s.tones[j] = static_cast<Tone>(e.tones[j]);
    m_slots.push_back(s);
  }
  m_text.ShrinkToFit();
}

template <class Rec>
int CharReadingMap<Rec>::Lookup(unsigned short ch, Rec& out) const {
  const Slot* s = chndic::FindSlot(m_slots, ch);
  if (!s) return 0;
  m_text.Read(s->at, s->nReadings, out.readings);
  for (int j = 0; j < kMaxReadings; ++j) out.tones[j] = s->tones[j];
  out.flags = s->flags;
  return 1;
}

template <class Rec>
int CharReadingMap<Rec>::LookupFlags(unsigned short ch, uint8_t& flags) const {
  const Slot* s = chndic::FindSlot(m_slots, ch);
  if (!s) return 0;
  flags = s->flags;
  return 1;
}

template <class Rec>
void CharReadingMap<Rec>::RemoveAll() {
  std::vector<Slot>().swap(m_slots);
  m_text.Clear();
}

template class CharReadingMap<typArrPYs>;
template class CharReadingMap<typArrPYsDiaoInOrder>;
