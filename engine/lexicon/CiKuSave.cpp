// Saving the lexicon: the phrase store CiZuFlat.igb, the phrase indexes
// pxcizudic.idx and pycizudic.idx, the initials index
// py2_3ZiCi1stZuMu.idx and the association maps depend1.map and
// depend2.map, each only when it changed.
//
// The user's lexicon must never be lost or mixed, whatever fails:
//  - every file is replaced through a temporary file beside it, fsynced and
//    renamed over it (engine/lexicon/LexiconFiles.h); nothing is ever
//    written in place;
//  - all the temporary files are written first; only when every one is
//    complete are they put in place, so a failed write replaces nothing;
//  - they are put in place in the order store, indexes, maps. The store only
//    grows, so every index and map on disk points into a store that holds
//    what it points at, at every moment: an old index with the new store is
//    a lexicon that has not learned the new phrase yet, never a broken one;
//  - each part keeps its dirty flag until its own file is in place, and a
//    save that could not finish says so (-1) and keeps m_tmCiKuChanged, so
//    the next save tries again;
//  - the save holds a lock on the program directory, so two kvr processes
//    sharing it never interleave their files.
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/CChnChars.h"
#include "engine/EngineHost.h"
#include "engine/formats/PhraseStoreFormat.h"
#include "engine/lexicon/DependMaps.h"
#include "engine/lexicon/LexiconFiles.h"

const char* pMsgCannotOpenFile = "Error%d: Cannot open file[%s]!";

namespace {

// Message codes of the parts.
constexpr int kStoreCode = 131;
constexpr int kIndexCode = 133;
constexpr int kInstallCode = 140;

// One file of a save: its new content and the flag its installation
// clears (null for the first of two files under one flag). The content is
// made for the save (owned) or borrowed from the engine's buffer, which no
// step of the save changes.
struct Part {
  CString path;
  std::string owned;
  int* dirty = nullptr;
  int code = 0;
  std::string_view borrowed;
  bool isBorrowed = false;
  std::string_view Bytes() const { return isBorrowed ? borrowed : std::string_view(owned); }
};

Part Owned(const CString& path, std::string bytes, int* dirty, int code) {
  Part p;
  p.path = path;
  p.owned = std::move(bytes);
  p.dirty = dirty;
  p.code = code;
  return p;
}

Part Borrowed(const CString& path, std::string_view bytes, int* dirty, int code) {
  Part p = Owned(path, std::string(), dirty, code);
  p.borrowed = bytes;
  p.isBorrowed = true;
  return p;
}

std::string_view BufferBytes(const unsigned char* p, uint32_t n) {
  return std::string_view(reinterpret_cast<const char*>(p), n);
}

template <class Key, class Map>
std::string MapImage(Map& map, bool wide) {
  std::vector<dependmap::Record> records;
  long pos = map.GetStartPosition();
  while (pos) {
    Key key{};
    CDWordArray list;
    map.GetNextMapRec(pos, key, list);
    dependmap::Record r;
    r.first = static_cast<uint32_t>(key);
    for (int i = 0; i < list.GetSize(); ++i) r.second.push_back(list[i]);
    records.push_back(std::move(r));
  }
  return dependmap::Write(records, wide);
}

std::string DirOf(const CString& path) {
  const std::string p(path.GetString());
  const size_t slash = p.rfind('/');
  return slash == std::string::npos ? std::string(".") : p.substr(0, slash + 1);
}

bool DirReadOnly(const std::string& dir) {
  if (access(dir.c_str(), W_OK) == 0) return false;
  return errno == EACCES || errno == EROFS || errno == EPERM;
}

}  // namespace

void CChnChars::MarkCiKuChanged() {
  const uint32_t now = EngineHost().Time();
  m_tmCiKuChanged = now != 0 ? now : 1;
}

void CChnChars::MarkPyFlatChanged() {
  if (!m_bPyFlatDirty || m_tmPyFlatChanged == 0) {
    const uint32_t now = EngineHost().Time();
    m_tmPyFlatChanged = now != 0 ? now : 1;
  }
  m_bPyFlatDirty = 1;
}

bool CChnChars::LexiconDirty() const {
  return m_tmCiKuChanged != 0 || m_bCiZuFlatDirty || m_bCiZuIdxDirty[0] || m_bCiZuIdxDirty[1] ||
         m_bShouZiMuIdxDirty || m_bDependDirty || m_arrNewCiQueue.GetSize() > 0 || m_bPyFlatDirty;
}

// Writes parts through temporary files and installs them in order; see the
// top of this file. 1 all in place, -1 not (the failure reported once).
static int SaveParts(CChnChars& e, std::vector<Part>& parts) {
  if (parts.empty()) return 1;
  auto report = [&e](int code, const CString& path, const std::string& why) {
    EngineDiag("%s", why.c_str());
    // One box per run of failures; the idle work keeps trying quietly. A
    // program directory this user may not write (an installation for all
    // users, run by another user) is no failure to show: what is learned
    // stays in memory.
    if (e.m_tmLastSaveFailed == 0 && !DirReadOnly(DirOf(path)))
      EngineMsgBox(pMsgCannotOpenFile, 1, cfgInputManager.ChnUI == 0, code, path.GetString());
    const uint32_t now = EngineHost().Time();
    e.m_tmLastSaveFailed = now != 0 ? now : 1;
    return -1;
  };
  lexfile::DirLock lock(DirOf(parts[0].path));
  if (!lock.Held())
    return report(kStoreCode, parts[0].path,
                  DirOf(parts[0].path) + ": another program is saving the lexicon; saved later");
  IFileOps& ops = EngineHost().FileOps();
  std::vector<std::unique_ptr<lexfile::LexiconFile>> files;
  for (const Part& p : parts) {
    files.push_back(std::make_unique<lexfile::LexiconFile>(p.path.GetString(), ops));
    lexfile::LexiconFile& f = *files.back();
    if (!f.Open() || !f.Write(p.Bytes())) return report(p.code, p.path, f.Error());
  }
  for (size_t i = 0; i < parts.size(); ++i) {
    if (!files[i]->Commit()) return report(kInstallCode, parts[i].path, files[i]->Error());
    if (parts[i].dirty) *parts[i].dirty = 0;
  }
  e.m_tmLastSaveFailed = 0;
  return 1;
}

// The association maps, less one whose file could not be read; the last
// map written clears m_bDependDirty.
static void AddMapParts(CChnChars& e, std::vector<Part>& parts) {
  const size_t before = parts.size();
  if (!e.m_bDependRefused[0])
    parts.push_back(Owned(e.m_strDepend1Path, MapImage<unsigned short>(e.m_mapDepend1, false),
                          nullptr, kIndexCode));
  if (!e.m_bDependRefused[1])
    parts.push_back(Owned(e.m_strDepend2Path, MapImage<unsigned long>(e.m_mapDepend2, true),
                          nullptr, kIndexCode));
  if (parts.size() > before)
    parts.back().dirty = &e.m_bDependDirty;
  else
    e.m_bDependDirty = 0;  // nothing it may write
}

int CChnChars::SaveCiKuDirtyData() {
  if (!m_tmCiKuChanged && !m_bCiZuFlatDirty && !m_bCiZuIdxDirty[0] && !m_bCiZuIdxDirty[1] &&
      !m_bShouZiMuIdxDirty && !m_bDependDirty)
    return 0;
  const bool xingMa = m_nEngineMissing != kXingMaMissing;
  const bool pinYin = m_nEngineMissing != kPinYinMissing;
  std::vector<Part> parts;
  if (m_bCiZuFlatDirty && m_pCiZuFlat)
    parts.push_back(Borrowed(m_strCiZuFlatPath, m_storeCache.Scrambled(m_pCiZuFlat, m_nCiZuFlatLen),
                             &m_bCiZuFlatDirty, kStoreCode));
  for (int m = 0; m < 2; ++m) {
    if (!(m == kXingMa ? xingMa : pinYin) || !m_bCiZuIdxDirty[m] || !m_pCiZuIdx[m]) continue;
    parts.push_back(Borrowed(m_strCiZuIdxPath[m], BufferBytes(m_pCiZuIdx[m], m_nCiZuIdxLen[m]),
                             &m_bCiZuIdxDirty[m], kIndexCode));
  }
  if (pinYin && m_bShouZiMuIdxDirty && m_pShouZiMuIdx)
    parts.push_back(Borrowed(m_strShouZiMuIdxPath, BufferBytes(m_pShouZiMuIdx, m_nShouZiMuIdxLen),
                             &m_bShouZiMuIdxDirty, kIndexCode));
  if (m_bDependDirty) AddMapParts(*this, parts);
  if (SaveParts(*this, parts) < 0) return -1;
  // A part whose data is no longer in memory (its method not installed, an
  // index released) has nothing left to write.
  m_bCiZuFlatDirty = 0;
  m_bCiZuIdxDirty[0] = m_bCiZuIdxDirty[1] = 0;
  m_bShouZiMuIdxDirty = 0;
  m_tmCiKuChanged = 0;
  return 1;
}

int CChnChars::SaveCharDependencyFiles() {
  std::vector<Part> parts;
  AddMapParts(*this, parts);
  return SaveParts(*this, parts);
}

int CChnChars::SaveLexiconWhenIdle(uint32_t nowSec) {
  auto due = [nowSec](uint32_t stamp) { return stamp != 0 && nowSec - stamp >= kIdleSaveDelaySec; };
  if (m_tmLastSaveFailed != 0 && !due(m_tmLastSaveFailed)) return 0;
  const bool queue = due(m_tmNewCiQueued);
  const bool lexicon = due(m_tmCiKuChanged) || (m_tmLastSaveFailed != 0 && LexiconDirty());
  const bool order = due(m_tmPyFlatChanged) || (m_tmLastSaveFailed != 0 && m_bPyFlatDirty);
  if (!queue && !lexicon && !order) return 0;
  int result = 1;
  if (queue) {
    AddNewCiArrayToCiKu();
    if (m_arrNewCiQueue.GetSize() == 0) m_tmNewCiQueued = 0;
  }
  if (SaveCiKuDirtyData() < 0) result = -1;
  if (order || m_bPyFlatDirty) {
    SavePyDic();
    if (m_bPyFlatDirty) {
      result = -1;
      m_tmLastSaveFailed = nowSec != 0 ? nowSec : 1;
    } else {
      m_tmPyFlatChanged = 0;
    }
  }
  return result;
}
