// The phrase store and the phrase indexes: loading them into the engine.
//
// CiZuFlat.igb (layout in engine/formats/PhraseStoreFormat.h): NUL-terminated GBK
// phrases named by byte offset, scrambled per 512-byte block. A file shorter
// that is empty is refused. In memory: unscrambled, kPadBytes zeros after.
//
// pxcizudic.idx, pycizudic.idx, py2_3ZiCi1stZuMu.idx: sorted records of a
// key and its 3- or 4-byte entries, ended by a zero byte; a weighted
// pycizudic.idx starts with a header byte whose bit 7 is set. In memory:
// the file's bytes as they are (header included), kPadBytes zeros after.
#include "engine/CChnChars.h"

#include <cstdlib>
#include <vector>

#include "engine/EngineHost.h"
#include "engine/formats/PhraseStoreFormat.h"
#include "engine/internal/DicBuffers.h"

namespace {

constexpr uint16_t kNarrowEntry = 3;
constexpr uint16_t kWeightedEntry = 4;

// Reads a whole index file into a padded C buffer. The diagnostics carry the
// codes of the three failures: cannot open, no memory, short read.
[[nodiscard]] bool LoadIndexFile(const CString& path, int openCode, int memCode,
                                 unsigned char*& buf, uint32_t& len) {
  size_t nBytes = 0;
  switch (chndic::ReadWholeFilePadded(path, 0, buf, nBytes)) {
    case chndic::PaddedRead::kRead: break;
    case chndic::PaddedRead::kCannotOpen:
      EngineDiag("Cannot load file:%s!!!(%d)", path.GetString(), openCode);
      return false;
    case chndic::PaddedRead::kReadFailed:
      EngineDiag("Cannot load file:%s!!!(%d)", path.GetString(), openCode + 2);
      return false;
    case chndic::PaddedRead::kNoMemory:
      EngineDiag("Cannot allocate memory:%s!!!(%d)", path.GetString(), memCode);
      return false;
  }
  len = static_cast<uint32_t>(nBytes);
  return true;
}

}  // namespace

void CChnChars::ReleaseCiZuIdx(typInputMethod method) {
  m_segMatches.clear();
  free(m_pCiZuIdx[method]);
  m_pCiZuIdx[method] = nullptr;
  m_nCiZuIdxLen[method] = 0;
  free(m_pCiZuIdx2Keys[method]);
  m_pCiZuIdx2Keys[method] = nullptr;
}

void CChnChars::ReleaseCiZuFlat() {
  free(m_pCiZuFlat);
  m_pCiZuFlat = nullptr;
  m_nCiZuFlatLen = 0;
  m_storeCache.Clear();
}

int CChnChars::LoadFlatCizuDic() {
  std::vector<uint8_t> bytes;
  m_bCiZuFlatRefused = 0;
  if (!chndic::ReadWholeFile(m_strCiZuFlatPath, bytes)) {
    // Only a store that is not there at all may be started afresh; one that
    // could not be read holds the user's phrases.
    if (!chndic::FileIsAbsent(m_strCiZuFlatPath)) m_bCiZuFlatRefused = 1;
    EngineDiag("Cannot load file:%s!!!(101)", m_strCiZuFlatPath.GetString());
    return 0;
  }
  // A store the user's own phrases started is small: any store that holds
  // a byte is taken.
  if (bytes.empty()) {
    EngineDiag("Error! %s is empty!!!(102)", m_strCiZuFlatPath.GetString());
    return 0;
  }
  if (bytes.size() > phrasestore::kOffsetLimit) {
    // Offsets are 23 bits: phrases past 8 MB could never be named.
    EngineDiag("Error! %s holds %zu bytes, more than offsets reach (%u)",
               m_strCiZuFlatPath.GetString(), bytes.size(), phrasestore::kOffsetLimit);
    m_bCiZuFlatRefused = 1;
    return 0;
  }
  ReleaseCiZuFlat();
  phrasestore::ScrambleBlocks(bytes.data(), bytes.data(), bytes.size());
  m_pCiZuFlat = chndic::PaddedCopy(bytes.data(), bytes.size());
  if (!m_pCiZuFlat) {
    EngineDiag("Error! Cannot allocate memory:%s!!!(103)", m_strCiZuFlatPath.GetString());
    return 0;
  }
  m_nCiZuFlatLen = static_cast<uint32_t>(bytes.size());
  return 1;
}

int CChnChars::LoadKey2IdxIntoCizuDic(typInputMethod method, int buildTable) {
  ReleaseCiZuIdx(method);
  m_nCiZuIdxEntryLen[method] = kNarrowEntry;
  unsigned char* buf = nullptr;
  uint32_t len = 0;
  if (!LoadIndexFile(m_strCiZuIdxPath[method], 104, 105, buf, len)) return 0;
  // Only a pinyin index may carry the weighted header byte.
  if (method == kPinYin && len > 0 && (buf[0] & phrasestore::kWeightedHeader))
    m_nCiZuIdxEntryLen[method] = kWeightedEntry;
  m_pCiZuIdx[method] = buf;
  m_nCiZuIdxLen[method] = len;
  if (buildTable) BuildIdx2KeysInDic(kIdxCiZu, method);
  return 1;
}

int CChnChars::Load_mapShouZiMuKeyTo2_3Ci() {
  free(m_pShouZiMuIdx);
  m_pShouZiMuIdx = nullptr;
  m_nShouZiMuIdxLen = 0;
  unsigned char* buf = nullptr;
  uint32_t len = 0;
  if (!LoadIndexFile(m_strShouZiMuIdxPath, 144, 145, buf, len)) return 0;
  m_pShouZiMuIdx = buf;
  m_nShouZiMuIdxLen = len;
  BuildIdx2KeysInDic(kIdxShouZiMu, kPinYin);
  return 1;
}

int compare0(const void* a, const void* b) {
  return strcmp(static_cast<const char*>(a), static_cast<const char*>(b));
}
