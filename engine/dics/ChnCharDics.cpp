// The per-character dictionaries: shape codes and readings of each
// character, its usage rank, the one character completing a shape code, the
// shape-code character list and the one-key pinyin lists. The byte layouts
// are in engine/formats/CharDictFormat.h; the parsing is in
// engine/dics/CharDicParsers.h, which trusts no byte of a file.
#include "engine/CChnChars.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <type_traits>
#include <vector>

#include "engine/EngineHost.h"
#include "engine/dics/CharDicParsers.h"
#include "engine/formats/CharDictFormat.h"
#include "engine/internal/DicBuffers.h"

namespace {

CString DataPath(const char* name) { return CString(EngineHost().DataDir()) + name; }

// The file's bytes; false (and a diagnostic) when it cannot be read.
bool ReadDic(const CString& path, std::vector<uint8_t>& bytes) {
  if (chndic::ReadWholeFile(path, bytes)) return true;
  EngineDiag("Cannot load file:%s", path.GetString());
  return false;
}

void ReportFault(const CString& path, const std::string& err) {
  if (!err.empty()) EngineDiag("%s: %s", path.GetString(), err.c_str());
}

// Reads one code file into map; the map is emptied first.
void LoadCodeFile(CharCodeMap& map, const char* name, size_t bufBytes) {
  map.RemoveAll();
  const CString path = DataPath(name);
  std::vector<uint8_t> bytes;
  if (!ReadDic(path, bytes)) return;
  std::vector<chndic::CodeEntry> entries;
  std::string err;
  chndic::ParseCh2Codes(bytes, bufBytes, entries, err);
  ReportFault(path, err);
  map.Assign(entries);
}

}  // namespace

typArrPYs::typArrPYs() : tones{}, flags(0) {}
typArrPYs::typArrPYs(const typArrPYs& other) : typArrPYs() { *this = other; }
typArrPYs& typArrPYs::operator=(const typArrPYs& other) {
  if (this == &other) return *this;
  readings.Copy(other.readings);
  for (int i = 0; i < kMaxReadings; ++i) tones[i] = other.tones[i];
  flags = other.flags;
  return *this;
}

typArrPYsDiaoInOrder::typArrPYsDiaoInOrder() : tones{}, flags(0) {}
typArrPYsDiaoInOrder::typArrPYsDiaoInOrder(const typArrPYsDiaoInOrder& other)
    : typArrPYsDiaoInOrder() {
  *this = other;
}
typArrPYsDiaoInOrder& typArrPYsDiaoInOrder::operator=(const typArrPYsDiaoInOrder& other) {
  if (this == &other) return *this;
  readings.Copy(other.readings);
  for (int i = 0; i < kMaxReadings; ++i) tones[i] = other.tones[i];
  flags = other.flags;
  return *this;
}

int CChnChars::LoadChn2KeyMapPX() {
  LoadCodeFile(m_mapCh2KeysPX, "ch2key.bin", chardict::kCh2KeyCodeBuffer);
  return 1;
}

int CChnChars::LoadChn2KeyMapPYOld() {
  LoadCodeFile(m_mapCh2KeysPY, "ch2py.bin", chardict::kCh2PyCodeBuffer);
  return 1;
}

int CChnChars::LoadChn2KeyMapPY() {
  m_mapCh2PYs.RemoveAll();
  m_mapCh2PYsDiaoInOrder.RemoveAll();
  m_charIsCommon.clear();
  std::vector<uint16_t> chars;
  for (int n = 1; n <= 2; ++n) {
    CString path;
    path.Format("%sch2pypz%d.bin", EngineHost().DataDir(), n);
    std::vector<uint8_t> bytes;
    if (!ReadDic(path, bytes)) continue;
    std::vector<chndic::ReadingEntry> entries;
    std::string err;
    chndic::ParseCh2PyPz(bytes, n, entries, err);
    ReportFault(path, err);
    if (n == 1)
      m_mapCh2PYs.Assign(entries);
    else
      m_mapCh2PYsDiaoInOrder.Assign(entries);
    for (const chndic::ReadingEntry& e : entries) chars.push_back(e.ch);
  }
  // The answers of the maps, asked once per character they hold.
  std::vector<uint8_t> common(0x10000, 0);
  for (uint16_t ch : chars) common[ch] = static_cast<uint8_t>(CommonInReadingMaps(ch));
  m_charIsCommon.swap(common);
  return 1;
}

int CChnChars::InitKey2ChsDic2FromBinary() {
  if (!m_pKey2ChsDic2) m_pKey2ChsDic2 = new AMapStringToString(kKey2ChsDic2Block);
  m_pKey2ChsDic2->RemoveAll();
  const CString path = DataPath("chndic2.bin");
  FILE* f = fopen(path, "rb");
  if (!f) {
    EngineDiag("Cannot load file:%s", path.GetString());
    return 1;
  }
  m_pKey2ChsDic2->DiskIO(1, f);
  fclose(f);
  return 1;
}

void CChnChars::SetUsageRank(uint16_t ch, int32_t rank) {
  if (rank == 0)
    m_mapCh2Usage.RemoveKey(ch);
  else
    m_mapCh2Usage.SetAt(ch, rank);
}

int CChnChars::InitCh2UsageDic(int) {
  m_mapCh2Usage.Reset();
  const CString path = DataPath("sort.dic");
  std::vector<uint8_t> bytes;
  if (!ReadDic(path, bytes)) return 0;
  std::vector<std::pair<uint16_t, int32_t>> ranks;
  std::string err;
  chndic::ParseSortDic(bytes, ranks, err);
  ReportFault(path, err);
  for (const auto& r : ranks) m_mapCh2Usage.SetAt(r.first, r.second);
  return 1;
}

int CChnChars::Load1KeyPyDic() {
  for (CString& s : m_str1KeyPy) s.Empty();
  const CString path = DataPath("py_1key.dic");
  std::vector<uint8_t> bytes;
  if (!ReadDic(path, bytes)) return 0;
  std::array<std::string, kOneKeyLetters> lists;
  chndic::ParseOneKeyPy(bytes, lists);
  for (int i = 0; i < kOneKeyLetters; ++i) m_str1KeyPy[i] = lists[static_cast<size_t>(i)].c_str();
  return 1;
}

int CChnChars::InitKey2ChsDicPX() {
  free(m_pKey2Chs[kXingMa]);
  m_pKey2Chs[kXingMa] = nullptr;
  m_nKey2ChsLen[kXingMa] = 0;
  if (m_nEngineMissing == kXingMaMissing) return 0;
  const CString path = DataPath("chdicres.bin");
  std::vector<uint8_t> bytes;
  if (!ReadDic(path, bytes)) return 0;
  if (bytes.size() < chardict::kMinFileBytes) {
    EngineDiag("Error! Len less than 100:%s", path.GetString());
    return 0;
  }
  // A zero byte and the padding follow, whether or not the file ends with one.
  m_pKey2Chs[kXingMa] = chndic::PaddedCopy(bytes.data(), bytes.size(), 1);
  if (!m_pKey2Chs[kXingMa]) return 0;
  m_nKey2ChsLen[kXingMa] = static_cast<uint32_t>(bytes.size());
  BuildIdx2KeysInDic(kIdxZiKeys, kXingMa);
  return 1;
}
