// The fuzzy copies of the pinyin lists: for one combination of fuzzy pairs,
// a character list and a pykeys.dic in which each pair's two syllables
// share one merged run under the common form, the partner's run being the
// mark character alone. Both files are published together or not at all:
// a character list whose syllable list did not match it would give every
// syllable the wrong characters at every later start.
#include <unistd.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "base/AtomicFile.h"
#include "engine/CChnChars.h"
#include "engine/EngineHost.h"
#include "engine/formats/CharDictFormat.h"
#include "engine/internal/DicBuffers.h"
#include "engine/lookup/FuzzyPinyin.h"
#include "framework/SysUtil.h"

namespace {

constexpr int kCharBytes = 2;

std::string Chars(const typDicItem& item) {
  return std::string(item.chars.GetString(), static_cast<size_t>(item.chars.GetLength()));
}

void SetChars(typDicItem& item, const std::string& chars) {
  item.chars = CString();
  item.chars.AddChars(chars.data(), 0, static_cast<int>(chars.size()));
  item.nCharsLen = static_cast<int>(chars.size());
}

typDicItem MakeItem(const std::string& py, const std::string& chars) {
  typDicItem item;
  item.py = py.c_str();
  item.nPyLen = static_cast<int>(py.size());
  SetChars(item, chars);
  return item;
}

// The syllables of a pykeys.dic image with their runs of flat, bounded to
// the characters flat holds.
std::vector<typDicItem> ParseItems(const std::vector<uint8_t>& keys,
                                   const std::vector<uint8_t>& flat) {
  std::vector<typDicItem> items;
  const size_t nChars = flat.size() / kCharBytes;
  size_t pos = 0;
  while (pos < keys.size() && keys[pos] != 0) {
    const size_t start = pos;
    while (pos < keys.size() && keys[pos] != 0 && keys[pos] < 0x80) ++pos;
    if (pos + 4 > keys.size()) break;
    const std::string py(reinterpret_cast<const char*>(&keys[start]), pos - start);
    size_t count = ((keys[pos] & 0x7Fu) << 8) | keys[pos + 1];
    const size_t first = keys[pos + 2] | (static_cast<size_t>(keys[pos + 3]) << 8);
    pos += 4;
    if (first >= nChars)
      count = 0;
    else if (count > nChars - first)
      count = nChars - first;
    items.push_back(
        MakeItem(py, std::string(reinterpret_cast<const char*>(flat.data()) + first * kCharBytes,
                                 count * kCharBytes)));
  }
  return items;
}

struct FuzzyLists {
  std::string keys;  // pykeys.dic image
  std::string flat;  // character list image
};

// Both images from the item list; false when a run no longer fits the
// 15-bit count or the 16-bit start of pykeys.dic.
bool WriteImages(const std::vector<typDicItem>& items, FuzzyLists& out) {
  std::vector<chardict::SyllableRun> runs;
  uint32_t index = 0;
  for (const typDicItem& it : items) {
    const uint32_t count = static_cast<uint32_t>(it.nCharsLen / kCharBytes);
    if (count > chardict::kMaxSyllableChars || index > chardict::kMaxFlatStart) return false;
    runs.push_back({std::string(it.py.GetString()), count, index});
    out.flat += Chars(it);
    index += count;
  }
  out.keys = chardict::WritePyKeys(runs);
  // Lists shorter than this are refused by the loader; the zeros after the
  // last run are never read as characters.
  if (out.keys.size() < chardict::kMinFileBytes) out.keys.resize(chardict::kMinFileBytes, '\0');
  if (out.flat.size() < chardict::kMinFileBytes) out.flat.resize(chardict::kMinFileBytes, '\0');
  return true;
}

}  // namespace

std::string MergeFuzzyRuns(const std::string& a, const std::string& b) {
  const size_t na = a.size() / kCharBytes, nb = b.size() / kCharBytes;
  if (na == 0) return b;
  if (nb == 0) return a;
  auto charAt = [](const std::string& s, size_t i) { return s.substr(i * kCharBytes, kCharBytes); };
  std::string out;
  if (na <= nb) {
    const size_t k = nb / na;
    for (size_t i = 0; i < na; ++i) {
      out += charAt(a, i);
      for (size_t j = i * k; j < (i + 1) * k; ++j) out += charAt(b, j);
    }
    for (size_t j = na * k; j < nb; ++j) out += charAt(b, j);
  } else {
    const size_t k = na / nb;
    size_t j = 0;
    for (size_t i = 0; i < na; ++i) {
      out += charAt(a, i);
      if (j < nb && i == j * k) out += charAt(b, j++);
    }
  }
  return out;
}

int CChnChars::GenerateFuzzyPyDic(CString flatPath, CString suffix) {
  std::vector<uint8_t> keyBytes, flatBytes;
  if (!chndic::ReadWholeFile(m_strPyKeysPath, keyBytes) ||
      !chndic::ReadWholeFile(flatPath, flatBytes) || keyBytes.size() < chardict::kMinFileBytes ||
      flatBytes.size() < chardict::kMinFileBytes) {
    EngineDiag("Cannot make fuzzy lists from %s and %s", m_strPyKeysPath.GetString(),
               flatPath.GetString());
    return 0;
  }
  std::vector<typDicItem> items = ParseItems(keyBytes, flatBytes);
  std::map<std::string, bool> known;
  for (const typDicItem& it : items) known[it.py.GetString()] = true;
  auto find = [&](const CString& py) -> typDicItem* {
    for (typDicItem& it : items)
      if (it.py == py) return &it;
    return nullptr;
  };

  for (size_t v = 0; v < items.size(); ++v) {
    if (items[v].chars == pszJumper || !known.count(items[v].py.GetString())) continue;
    CString partner;
    int which = 0;
    if (!IsFuzzyPyCommonFactor(items[v].py, partner, which)) {
      CString common;
      if (!GetFuzziPyCommonFactor(items[v].py, common) || known.count(common.GetString())) continue;
      // The missing common form gets a copy of the characters, in sorted
      // place among the syllables of its initial; none when it would sort
      // after all of them.
      size_t at = 0;
      while (at < items.size() && items[at].py[0] != common[0]) ++at;
      while (at < items.size() && items[at].py[0] == common[0] && strcmp(items[at].py, common) <= 0)
        ++at;
      if (at >= items.size() || items[at].py[0] != common[0]) continue;
      items.insert(items.begin() + static_cast<std::ptrdiff_t>(at),
                   MakeItem(common.GetString(), Chars(items[v])));
      if (at <= v) ++v;
      continue;
    }
    if (!known.count(partner.GetString())) continue;
    typDicItem* other = find(partner);
    if (!other || other->nCharsLen == 0 || items[v].nCharsLen == 0) continue;
    SetChars(items[v], MergeFuzzyRuns(Chars(items[v]), Chars(*other)));
    SetChars(*other, pszJumper);
  }

  FuzzyLists images;
  if (!WriteImages(items, images)) {
    EngineDiag("%s: the fuzzy lists outgrow pykeys.dic's counts", flatPath.GetString());
    return 0;
  }
  const std::string keysPath = std::string(m_strPyKeysPath.GetString()) + suffix.GetString();
  RemoveFileReadonlyAndHidden(keysPath.c_str(), 1, 1);
  RemoveFileReadonlyAndHidden(flatPath, 1, 1);
  IFileOps& ops = EngineHost().FileOps();
  AtomicFile keysFile(keysPath, ops);
  AtomicFile flatFile(flatPath.GetString(), ops);
  if (!keysFile.Open() || !keysFile.Write(images.keys.data(), images.keys.size()) ||
      !flatFile.Open() || !flatFile.Write(images.flat.data(), images.flat.size())) {
    EngineDiag("%s%s", keysFile.Error().c_str(), flatFile.Error().c_str());
    return 0;
  }
  // The syllable list goes first: a fuzzy character list on disk always has
  // its syllables beside it, and the list's presence is what later starts
  // test. When the list cannot follow, the lone syllable list is removed.
  if (!keysFile.Commit()) {
    EngineDiag("%s", keysFile.Error().c_str());
    return 0;
  }
  if (!flatFile.Commit()) {
    EngineDiag("%s", flatFile.Error().c_str());
    ops.Remove(keysFile.RealTarget().c_str());
    return 0;
  }
  return 1;
}
