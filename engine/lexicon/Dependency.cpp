// Association ordering: the candidates that completed a phrase the user
// added, after the character or phrase just committed, move to the front of
// the next list and carry the association mark. The memory of which values
// followed which is in m_mapDepend1 (character -> characters and phrase
// references) and m_mapDepend2 (phrase reference -> characters), read from
// depend1.map and depend2.map (layout in engine/lexicon/DependMaps.h) and
// written with every lexicon save (CiKuSave.cpp).
#include <set>
#include <vector>

#include "engine/CChnChars.h"
#include "engine/EngineHost.h"
#include "engine/internal/DicBuffers.h"
#include "engine/lexicon/DependMaps.h"

namespace {

constexpr uint32_t kRefMark = 0x80000000u;
constexpr uint8_t kOffsetHighBits = 0x7F;

uint32_t CharValueOf(const typCharFatFmt& c) {
  return static_cast<uint32_t>(c.data[0]) | static_cast<uint32_t>(c.data[1]) << 8;
}

uint32_t PhraseOffsetOf(const typCharFatFmt& c) {
  return static_cast<uint32_t>(c.data[0] & kOffsetHighBits) << 16 |
         static_cast<uint32_t>(c.data[1]) << 8 | c.data[2];
}

template <class Map>
void FillMap(Map& map, const std::vector<dependmap::Record>& records) {
  for (const dependmap::Record& r : records) {
    CDWordArray& list = map[static_cast<decltype(r.first)>(r.first)];
    list.RemoveAll();
    for (uint32_t v : r.second) list.SetAtGrow(list.GetSize(), v);
  }
}

}  // namespace

int CChnChars::BasicLianXianAdjustOrder(AArray<typCharFatFmt, typCharFatFmt&>& list) {
  const typCharFatFmt& last = m_lastCommit;
  if (last.lianXianMark) return 0;
  const int n = list.GetSize() < m_nExactHits ? list.GetSize() : m_nExactHits;
  if (n < 2) return 0;
  CDWordArray values;
  if (last.kind == kFatChar) {
    if (!m_mapDepend1.Lookup(static_cast<unsigned short>(CharValueOf(last)), values)) return 0;
  } else if (last.kind == kFatPhrase) {
    const uint32_t offset = PhraseOffsetOf(last);
    if (offset >= m_nCiZuFlatLen || !m_mapDepend2.Lookup(offset | kRefMark, values)) return 0;
  } else {
    return 0;
  }
  if (values.GetSize() == 0) return 0;
  const bool pinyin = cfgInputManager.IsPinYinMethod();
  const bool proper = pinyin && IsPYProper(m_strKeySeq) != 0;
  // After one proper syllable only the characters read that way follow.
  std::set<uint32_t> wanted;
  for (int i = 0; i < values.GetSize(); ++i) {
    const uint32_t v = values[i];
    if (proper && !(v & kRefMark)) {
      CStringArray readings;
      if (!m_mapCh2KeysPY.Lookup(static_cast<unsigned short>(v), readings)) continue;
      bool same = false;
      for (int k = 0; k < readings.GetSize() && !same; ++k) same = readings[k] == m_strKeySeq;
      if (!same) continue;
    }
    wanted.insert(v);
  }
  std::vector<int> moved;
  for (int i = 0; i < n; ++i) {
    const typCharFatFmt& c = list[i];
    uint32_t v;
    if (c.kind == kFatChar) {
      v = CharValueOf(c);
    } else if (c.kind == kFatPhrase && !proper) {
      v = PhraseOffsetOf(c) | kRefMark;
    } else {
      continue;
    }
    if (wanted.count(v)) moved.push_back(i);
  }
  if (moved.empty()) return 0;
  std::vector<typCharFatFmt> copies;
  for (int i : moved) {
    copies.push_back(list[i]);
    copies.back().lianXianMark = 1;
  }
  for (size_t k = moved.size(); k > 0; --k) list.RemoveAt(moved[k - 1]);
  for (size_t k = copies.size(); k > 0; --k) list.InsertTo(0, copies[k - 1]);
  return static_cast<int>(copies.size());
}

void CChnChars::LoadCharDependencyFiles() {
  // Each map is read on its own: a missing depend1.map must not leave
  // depend2.map unread, or the next save would write it back empty.
  struct One {
    const CString& path;
    bool wide;
  } const files[] = {{m_strDepend1Path, false}, {m_strDepend2Path, true}};
  m_mapDepend1.RemoveAll();
  m_mapDepend2.RemoveAll();
  for (const One& f : files) {
    std::vector<uint8_t> bytes;
    int& refused = m_bDependRefused[f.wide ? 1 : 0];
    refused = 0;
    if (!chndic::ReadWholeFile(f.path, bytes)) {
      // A missing map starts empty; one that is there but cannot be read is
      // the user's and is never written over with what memory lacks.
      if (!chndic::FileIsAbsent(f.path)) {
        refused = 1;
        EngineDiag("%s: cannot be read; left as it is", f.path.GetString());
      }
      continue;
    }
    std::vector<dependmap::Record> records;
    std::string error;
    if (!dependmap::Read(bytes.data(), bytes.size(), f.wide, records, error))
      EngineDiag("%s: %s; the records before it are kept", f.path.GetString(), error.c_str());
    if (f.wide)
      FillMap(m_mapDepend2, records);
    else
      FillMap(m_mapDepend1, records);
  }
  m_bDependDirty = 0;
}
