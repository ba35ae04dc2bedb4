// The lexicon grows: a new phrase is appended to the phrase store and filed
// under every key by which it can be typed, in the phrase index of the
// method it was built in (and the initials index for pinyin); it waits in
// m_arrNewCiQueue for the other method's index. New two- and three-character
// phrases also feed the association maps (Dependency.cpp). Every addition is
// saved at once (CiKuSave.cpp).
//
// An addition is all or nothing: the keys, the new index images and the
// room in the store are all made before anything is changed, so a refusal
// or a failure (no memory, an index that cannot be loaded, a store at the
// end of its 23-bit offsets) leaves the store, the indexes and the queue as
// they were.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "base/ChnText.h"
#include "engine/CChnChars.h"
#include "engine/EngineHost.h"
#include "engine/formats/PhraseKeyRule.h"
#include "engine/formats/PhraseStoreFormat.h"
#include "engine/internal/DicBuffers.h"
#include "engine/lexicon/DependMaps.h"
#include "engine/lexicon/IndexInsert.h"
#include "engine/lexicon/KeyTableUpdate.h"

namespace {

constexpr int kCharBytes = 2;
constexpr uint32_t kRefMark = 0x80000000u;

uint16_t CharValue(const char* p) {
  return static_cast<uint16_t>(static_cast<uint8_t>(p[0]) | static_cast<uint8_t>(p[1]) << 8);
}

// A phrase is whole double-byte characters (a lead byte of 0x81 or above).
bool IsChnPhrase(const char* p, size_t n) {
  if (n < 2 * kCharBytes || n % kCharBytes != 0) return false;
  for (size_t i = 0; i < n; i += kCharBytes)
    if (static_cast<uint8_t>(p[i]) < 0x81 || p[i + 1] == 0) return false;
  return true;
}

std::vector<std::string> ToStrings(const CStringArray& a) {
  std::vector<std::string> out;
  for (int i = 0; i < a.GetSize(); ++i) out.emplace_back(a[i].GetString());
  return out;
}

}  // namespace

int CChnChars::MapChnToKeysLookup(unsigned short ch, CStringArray& out, int method, int complete) {
  out.RemoveAll();
  if (method == kXingMa) return m_mapCh2KeysPX.Lookup(ch, out) ? 1 : 0;
  bool found = false;
  if (m_bUseCh2KeysPY) found = m_mapCh2KeysPY.Lookup(ch, out) != 0;
  if (!found) {
    typArrPYs readings;
    if (m_mapCh2PYs.Lookup(ch, readings)) {
      for (int i = 0; i < readings.readings.GetSize(); ++i) out.Add(readings.readings[i]);
      found = true;
    }
  }
  if (!found) {
    typArrPYsDiaoInOrder readings;
    if (m_mapCh2PYsDiaoInOrder.Lookup(ch, readings)) {
      for (int i = 0; i < readings.readings.GetSize(); ++i) out.Add(readings.readings[i]);
      found = true;
    }
  }
  if (!found) return 0;
  if (complete) {
    for (int i = 0; i < out.GetSize(); ++i) {
      CString full = out[i];
      RestoreCompletePY(full);
      if (full != out[i]) out.InsertTo(++i, full);
    }
  }
  return out.GetSize();
}

int CChnChars::GetKeyFromCi(const char* phrase, int method, CStringArray& keys,
                            CStringArray& initialKeys) {
  keys.RemoveAll();
  initialKeys.RemoveAll();
  const size_t nBytes = phrase ? strlen(phrase) : 0;
  if (!IsChnPhrase(phrase, nBytes)) return 0;
  const int nChars = static_cast<int>(nBytes / kCharBytes);
  std::vector<std::vector<std::string>> codes(static_cast<size_t>(nChars));
  for (int i = 0; i < nChars; ++i) {
    CStringArray l;
    MapChnToKeysLookup(CharValue(phrase + i * kCharBytes), l, method, 1);
    codes[static_cast<size_t>(i)] = ToStrings(l);
  }
  const std::string lastLetters(GetPY1stChar(phrase + (nChars - 1) * kCharBytes).GetString());
  phrasekey::Limits limits;
  limits.maxKeys = kMaxKeysPerPhrase;
  limits.validOnly = true;
  phrasekey::Keys made;
  phrasekey::BuildKeys(codes, method == kPinYin ? phrasekey::kPinyin : phrasekey::kShapeCode,
                       lastLetters, method == kPinYin && m_pShouZiMuIdx != nullptr, made, limits);
  for (const std::string& k : made.keys) keys.Add(k.c_str());
  for (const std::string& k : made.initialKeys) initialKeys.Add(k.c_str());
  return keys.GetSize() > 0 ? 1 : 0;
}

int CChnChars::FindCiInStore(const CString& phrase, uint32_t& ab, uint32_t& bc) {
  ab = bc = 0;
  if (!m_pCiZuFlat) return 0;
  const std::string_view s(phrase.GetString(), static_cast<size_t>(phrase.GetLength()));
  if (m_storeCache.Find(m_pCiZuFlat, m_nCiZuFlatLen, s)) return 1;
  if (s.size() == 3 * kCharBytes) {
    ab = m_storeCache.FirstOffset(m_pCiZuFlat, m_nCiZuFlatLen, s.substr(0, 2 * kCharBytes));
    bc = m_storeCache.FirstOffset(m_pCiZuFlat, m_nCiZuFlatLen, s.substr(kCharBytes));
  }
  return 0;
}

int CChnChars::FileCiKeys(const CStringArray& keys, const CStringArray& initialKeys, int method,
                          uint32_t offset) {
  // The indexes to change: the method's phrase index, and for pinyin the
  // initials index when it is in memory and there are initials keys.
  struct Target {
    unsigned char** buf = nullptr;
    uint32_t* len = nullptr;
    uint32_t** table = nullptr;
    int kind = 0;
    uint32_t header = 0;
    int entryLen = 0;
    std::vector<std::string> keys;
    std::vector<ciku::Insertion> pieces;
    ciku::TableUpdate update;
    bool patchTable = false;
  };
  std::vector<Target> targets;
  auto target = [&targets](unsigned char** buf, uint32_t* len, uint32_t** table, int kind,
                           uint32_t header, int entryLen, const CStringArray& keys) {
    Target t;
    t.buf = buf;
    t.len = len;
    t.table = table;
    t.kind = kind;
    t.header = header;
    t.entryLen = entryLen;
    t.keys = ToStrings(keys);
    targets.push_back(std::move(t));
  };
  const auto m = static_cast<typInputMethod>(method);
  if (!m_pCiZuIdx[m] && !LoadKey2IdxIntoCizuDic(m, 1)) {
    EngineDiag("%s: cannot be loaded; the phrase is not added", m_strCiZuIdxPath[m].GetString());
    return 0;
  }
  const int w = m_nCiZuIdxEntryLen[m];
  target(&m_pCiZuIdx[m], &m_nCiZuIdxLen[m], &m_pCiZuIdx2Keys[m], kIdxCiZu, w == 4 ? 1u : 0u, w,
         keys);
  if (m == kPinYin && m_pShouZiMuIdx && initialKeys.GetSize() > 0)
    target(&m_pShouZiMuIdx, &m_nShouZiMuIdxLen, &m_pShouZiMuIdx2Keys, kIdxShouZiMu, 0, 4,
           initialKeys);
  // Plan, then make room in every index; only then change any of them, so
  // that running out of memory leaves them all as they were (a buffer that
  // grew keeps its old bytes and length).
  bool ok = true;
  for (Target& t : targets) {
    std::sort(t.keys.begin(), t.keys.end());
    t.pieces = ciku::PlanInsertions(*t.buf, *t.len, t.header, t.entryLen, t.keys, offset);
    if (t.pieces.empty()) continue;
    t.patchTable = ciku::PlanTableUpdate(*t.table, *t.buf + t.header, t.entryLen, t.header,
                                         t.pieces, t.update);
    const size_t room = static_cast<size_t>(*t.len) + ciku::InsertedBytes(t.pieces) + chndic::kPad;
    auto* grown = static_cast<unsigned char*>(realloc(*t.buf, room));
    if (!grown) {
      ok = false;
      break;
    }
    *t.buf = grown;
  }
  if (!ok) {
    EngineMsgBox("Error%d: Cannot re-allocate memory!", 1, cfgInputManager.ChnUI == 0, 130);
    return 0;
  }
  for (Target& t : targets) {
    if (t.pieces.empty()) continue;
    *t.len = ciku::ApplyInsertionsInPlace(*t.buf, *t.len, t.pieces);
    if (t.kind == kIdxCiZu)
      m_bCiZuIdxDirty[m] = 1;
    else
      m_bShouZiMuIdxDirty = 1;
    // The two-key table follows every change, whichever method is current:
    // a stale table sends lookups to the wrong place. It is moved along
    // with the insertions; only where that cannot be shown to give what a
    // fresh build gives is it built again.
    m_segMatches.clear();  // offsets into the list that changed
    if (!t.patchTable || !ciku::ApplyTableUpdate(t.table, *t.buf + t.header, t.update))
      BuildIdx2KeysInDic(t.kind, t.kind == kIdxCiZu ? m : kPinYin);
  }
  return 1;
}

void CChnChars::AddCiDependencies(const CString& phrase, uint32_t offset, uint32_t ab,
                                  uint32_t bc) {
  (void)offset;
  // A list keeps at most what its 16-bit count in the map file can say.
  auto append = [this](CDWordArray& list, uint32_t value) {
    if (list.GetSize() >= kMaxDependValues) return;
    list.SetAtGrow(list.GetSize(), value);
    m_bDependDirty = 1;
  };
  const char* p = phrase.GetString();
  const uint16_t a = CharValue(p);
  if (phrase.GetLength() == 2 * kCharBytes) {
    append(m_mapDepend1[a], CharValue(p + kCharBytes));
  } else if (phrase.GetLength() == 3 * kCharBytes) {
    if (ab) append(m_mapDepend2[ab | kRefMark], CharValue(p + 2 * kCharBytes));
    if (bc) append(m_mapDepend1[a], bc | kRefMark);
  }
}

int CChnChars::AddToCiKu(char* phrase, int method, int, int offset) {
  const size_t nBytes = phrase ? strlen(phrase) : 0;
  if (nBytes < 2 * kCharBytes) return 0;
  if ((method == kPinYin && m_nEngineMissing == kPinYinMissing) ||
      (method == kXingMa && m_nEngineMissing == kXingMaMissing) ||
      (method != kPinYin && method != kXingMa))
    return 0;
  if (offset < 0 && m_bCiZuFlatRefused) {
    EngineDiag("%s could not be loaded; the phrase is not added", m_strCiZuFlatPath.GetString());
    return 0;
  }
  const CString ci(phrase);
  uint32_t ab = 0, bc = 0;
  if (offset < 0 && FindCiInStore(ci, ab, bc)) return -1;
  if (offset >= 0 && static_cast<uint32_t>(offset) >= m_nCiZuFlatLen) return 0;
  CStringArray keys, initialKeys;
  m_bUseCh2KeysPY = 1;
  GetKeyFromCi(phrase, method, keys, initialKeys);
  m_bUseCh2KeysPY = 0;
  if (keys.GetSize() == 0) return 0;

  uint32_t at = static_cast<uint32_t>(offset);
  uint32_t newLen = m_nCiZuFlatLen;
  if (offset < 0) {
    // An empty store starts with one zero byte, so that no phrase has the
    // offset 0, which the association maps read as "none".
    const uint32_t lead = m_nCiZuFlatLen == 0 ? 1 : 0;
    at = m_nCiZuFlatLen + lead;
    newLen = at + static_cast<uint32_t>(nBytes) + 1;
    if (newLen > phrasestore::kOffsetLimit) {
      EngineDiag("%s: full (%u bytes); the phrase is not added", m_strCiZuFlatPath.GetString(),
                 m_nCiZuFlatLen);
      return 0;
    }
    // Room first; the length stays until the indexes are filed, so a
    // failure below leaves the store as it was.
    auto* grown = static_cast<unsigned char*>(realloc(m_pCiZuFlat, newLen + chndic::kPad));
    if (!grown) {
      EngineDiag("Cannot allocate memory!!!(149)");
      return 0;
    }
    m_pCiZuFlat = grown;
    m_storeCache.Appended(m_pCiZuFlat, m_nCiZuFlatLen);  // moved, not grown yet
    memset(m_pCiZuFlat + m_nCiZuFlatLen, 0, newLen - m_nCiZuFlatLen + chndic::kPad);
  }
  if (!FileCiKeys(keys, initialKeys, method, at)) return 0;
  if (offset < 0) {
    memcpy(m_pCiZuFlat + at, phrase, nBytes);
    m_nCiZuFlatLen = newLen;
    m_storeCache.Appended(m_pCiZuFlat, m_nCiZuFlatLen);
    m_bCiZuFlatDirty = 1;
    typCiZuRec rec;
    rec.ci = ci;
    rec.offset = static_cast<int>(at);
    if (m_arrNewCiQueue.GetSize() == 0) {
      const uint32_t now = EngineHost().Time();
      m_tmNewCiQueued = now != 0 ? now : 1;
    }
    m_arrNewCiQueue.Add(rec);
    m_nNewCiQueueMethod = 1 - method;
    AddCiDependencies(ci, at, ab, bc);
  }
  MarkCiKuChanged();
  if (!m_bHoldCiKuSave) SaveCiKuDirtyData();
  return 1;
}

int CChnChars::AddNewCiArrayToCiKu() {
  if (m_arrNewCiQueue.GetSize() == 0) return 0;
  const int m = m_nNewCiQueueMethod;
  if ((m == kPinYin && m_nEngineMissing == kPinYinMissing) ||
      (m == kXingMa && m_nEngineMissing == kXingMaMissing))
    return 0;
  const auto method = static_cast<typInputMethod>(m);
  const bool loadedHere = m_pCiZuIdx[method] == nullptr;
  if (loadedHere && !LoadKey2IdxIntoCizuDic(method, 1)) return 0;
  // One save for the whole queue instead of one per phrase.
  m_bHoldCiKuSave = true;
  for (int i = 0; i < m_arrNewCiQueue.GetSize(); ++i) {
    CString ci = m_arrNewCiQueue[i].ci;
    AddToCiKu(ci.GetBuffer(ci.GetLength()), m, 0, m_arrNewCiQueue[i].offset);
    ci.ReleaseBuffer();
  }
  m_bHoldCiKuSave = false;
  SaveCiKuDirtyData();
  // An index loaded only for the queue goes again, unless its save failed:
  // then it stays, dirty, for the next try.
  if (loadedHere && !m_bCiZuIdxDirty[method]) ReleaseCiZuIdx(method);
  m_arrNewCiQueue.RemoveAll();
  m_tmNewCiQueued = 0;
  return 1;
}
