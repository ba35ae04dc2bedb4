// The pinyin character list (gbkflat.dic, flatAdjust.dic or flatAuto.dic,
// with the fuzzy suffix) and the syllable list pykeys.dic that points into
// it: choosing the order, creating a missing list, loading, saving the
// learned order. Layouts in engine/CharDictFormat.h.
//
// The learned order (flatAuto.dic) has 3 bytes a character: the character
// and a usage weight. A missing one is made from gbkflat.dic (or its fuzzy
// form) by widening in memory and written once, whole, through a temporary
// file: no 2-byte flatAuto.dic ever reaches the disk, where a later start
// would misread it as 3-byte entries.
#include "engine/CChnChars.h"

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "base/AtomicFile.h"
#include "engine/EngineHost.h"
#include "engine/formats/CharDictFormat.h"
#include "engine/internal/DicBuffers.h"
#include "engine/lexicon/LexiconFiles.h"
#include "framework/SysUtil.h"

namespace {

constexpr int kNarrowChar = 2;
constexpr int kLearnedChar = 3;

bool FileExists(const CString& path) { return access(path, F_OK) == 0; }

}  // namespace

int CChnChars::GetPyDicExt(CString& ext) {
  ext.Empty();
  if (cfgInputManager.fuzziPY == 0) return 1;
  const int32_t pairs[4] = {cfgInputManager.zhz_fuzzy, cfgInputManager.chc_fuzzy,
                            cfgInputManager.shs_fuzzy, cfgInputManager.lr_fuzzy};
  for (int32_t on : pairs) ext += on ? '1' : '0';
  return 1;
}

uint32_t CChnChars::PyFlatChars() const {
  if (!m_pPyFlat || m_nPyFlatEntryLen <= 0) return 0;
  return m_nPyFlatLen / static_cast<uint32_t>(m_nPyFlatEntryLen);
}

// Makes listPath from gbkflat.dic and, with a suffix, turns it into its
// fuzzy form. A list whose fuzzy form could not be generated is removed
// again: left behind, the plain copy would pass for the fuzzy list at every
// later start.
bool CChnChars::MakePyFlatCopy(const CString& listPath, const CString& ext) {
  if (!CopyFile(m_strGbkFlatPath, listPath, 0)) return false;
  if (ext.IsEmpty() || GenerateFuzzyPyDic(listPath, ext)) return true;
  EngineDiag("Cannot make the fuzzy list %s", listPath.GetString());
  unlink(listPath);
  return false;
}

int CChnChars::MakePyFlatIfMissing(const CString& listPath, const CString& suffix) {
  if (FileExists(listPath)) return 1;
  return MakePyFlatCopy(listPath, suffix) ? 1 : 0;
}

bool CChnChars::IsLoadedPyFlat(const CString& path) const {
  return m_pPyFlat && m_nPyFlatEntryLen == kNarrowChar && !m_strPyFlatFile.IsEmpty() &&
         m_strPyFlatFile == path;
}

void CChnChars::ReleasePyLists() {
  free(m_pPyFlat);
  m_pPyFlat = nullptr;
  m_nPyFlatLen = 0;
  m_bPyFlatDirty = 0;
  m_bPyFlatLearned = 0;
  m_strPyFlatFile.Empty();
  free(m_pKey2Chs[kPinYin]);
  m_pKey2Chs[kPinYin] = nullptr;
  m_nKey2ChsLen[kPinYin] = 0;
  free(m_pZiIdx2Keys[kPinYin]);
  m_pZiIdx2Keys[kPinYin] = nullptr;
}

int CChnChars::InitKey2ChsDicPY() {
  if (m_nEngineMissing == kPinYinMissing) return 0;
  // Learned changes of the list in memory are saved before it is replaced.
  SavePyDic();
  CString ext;
  GetPyDicExt(ext);
  const bool fuzzy = !ext.IsEmpty();
  int width = kNarrowChar;
  CString listPath;
  CString readPath;     // the file whose characters are read
  CString scratchPath;  // a fuzzy copy made only to be widened; removed
  bool widen = false;
  switch (cfgInputManager.candidateOrderChoice) {
    case 1:
      listPath = m_strGbkFlatPath + ext;
      if (fuzzy && !FileExists(listPath)) MakePyFlatCopy(listPath, ext);
      break;
    case 2:
      listPath = m_strFlatAdjustPath + ext;
      if (!FileExists(listPath)) MakePyFlatCopy(listPath, ext);
      break;
    default:
      listPath = m_strFlatAutoPath + ext;
      width = kLearnedChar;
      if (!FileExists(listPath)) {
        widen = true;
        readPath = m_strGbkFlatPath;
        if (fuzzy) {
          scratchPath = listPath + ".narrow";
          MakePyFlatCopy(scratchPath, ext);
          readPath = scratchPath;
        }
      }
      break;
  }
  if (readPath.IsEmpty()) readPath = listPath;

  std::vector<uint8_t> bytes;
  const bool read = chndic::ReadWholeFile(readPath, bytes);
  if (!scratchPath.IsEmpty()) unlink(scratchPath);
  if (!read || bytes.size() < chardict::kMinFileBytes) {
    EngineDiag(read ? "Error! Len less than 100:%s" : "Cannot load file:%s", readPath.GetString());
    ReleasePyLists();  // no characters rather than runs into the wrong list
    return 0;
  }
  if (widen) bytes = chndic::WidenPyFlat(bytes.data(), bytes.size());
  unsigned char* list = chndic::PaddedCopy(bytes.data(), bytes.size());
  if (!list) {
    ReleasePyLists();
    return 0;
  }
  free(m_pPyFlat);
  m_pPyFlat = list;
  m_nPyFlatLen = static_cast<uint32_t>(bytes.size());
  m_nPyFlatEntryLen = width;
  m_strPyFlatFile = listPath;
  m_bPyFlatLearned = width == kLearnedChar;
  m_bPyFlatDirty = widen ? 1 : 0;
  if (widen) SavePyDic();
  return LoadPyKeys(ext);
}

int CChnChars::LoadPyKeys(const CString& ext) {
  const CString path = m_strPyKeysPath + ext;
  std::vector<uint8_t> bytes;
  if (!chndic::ReadWholeFile(path, bytes) || bytes.size() < chardict::kMinFileBytes) {
    EngineDiag("Cannot load file:%s", path.GetString());
    ReleasePyLists();  // a list without its syllables offers nothing
    return 0;
  }
  unsigned char* keys = chndic::PaddedCopy(bytes.data(), bytes.size(), 1);
  if (!keys) return 0;
  free(m_pKey2Chs[kPinYin]);
  m_pKey2Chs[kPinYin] = keys;
  m_nKey2ChsLen[kPinYin] = static_cast<uint32_t>(bytes.size());
  BoundPyKeysToList();
  BuildIdx2KeysInDic(kIdxZiKeys, kPinYin);
  return 1;
}

void CChnChars::BoundPyKeysToList() {
  if (!m_pKey2Chs[kPinYin]) return;
  const std::string err =
      chndic::BoundPyKeys(m_pKey2Chs[kPinYin], m_nKey2ChsLen[kPinYin], PyFlatChars());
  if (!err.empty()) EngineDiag("%s: %s", m_strPyKeysPath.GetString(), err.c_str());
}

int CChnChars::SavePyDic() {
  // The list is written to the file it was read from, so a change of the
  // order or of the fuzzy pairs made just before this call neither loses the
  // learned changes nor writes them over another list's file.
  if (!m_bPyFlatDirty || !m_pPyFlat || !m_bPyFlatLearned || m_strPyFlatFile.IsEmpty()) return 0;
  // A learned order the user made read-only is still saved, as before, and
  // keeps its mode.
  std::string err;
  const std::string_view bytes(reinterpret_cast<const char*>(m_pPyFlat), m_nPyFlatLen);
  if (!lexfile::Replace(m_strPyFlatFile.GetString(), bytes, err, EngineHost().FileOps())) {
    EngineDiag("%s", err.c_str());
    return 0;
  }
  m_bPyFlatDirty = 0;
  return 1;
}

void CChnChars::AdoptPyFlat(unsigned char* buf, uint32_t nBytes) {
  auto* list = static_cast<unsigned char*>(realloc(buf, nBytes + chndic::kPad));
  if (!list) {
    free(buf);
    return;
  }
  memset(list + nBytes, 0, chndic::kPad);
  free(m_pPyFlat);
  m_pPyFlat = list;
  m_nPyFlatLen = nBytes;
  m_nPyFlatEntryLen = kNarrowChar;
  m_bPyFlatDirty = 0;
  m_bPyFlatLearned = 0;
  BoundPyKeysToList();
  BuildIdx2KeysInDic(kIdxZiKeys, kPinYin);
}
