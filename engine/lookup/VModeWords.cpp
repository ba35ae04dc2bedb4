// The V-mode: in pinyin input a key string starting with 'v' (ShuangPin:
// 'V') looks its rest up among the keys of vmodewords.dic and offers the
// words of the matching lines as candidates of kind kFatWord, which name an
// entry of m_arrWords. Full-pinyin keys are compared in their short form
// (MapToUniquePY), as the file writes them.
#include "engine/CChnChars.h"

#include <vector>

#include "engine/EngineHost.h"
#include "engine/internal/DicBuffers.h"
#include "engine/lookup/VModeParser.h"

namespace {

// The leading bytes a and b share.
int SharedPrefix(const char* a, const char* b) {
  int n = 0;
  while (a[n] && a[n] == b[n]) ++n;
  return n;
}

}  // namespace

int CChnChars::InitVModeDic() {
  m_arrVModeLines.RemoveAll();
  for (auto& list : m_listVModeKeys) list.RemoveAll();
  const CString path = CString(EngineHost().DataDir()) + "vmodewords.dic";
  std::vector<uint8_t> bytes;
  if (!chndic::ReadWholeFile(path, bytes)) return 0;
  const vmode::Parsed p = vmode::Parse(std::string(bytes.begin(), bytes.end()));
  if (p.nRefused)
    EngineDiag("%s: %d lines or keys refused; first: %s", path.GetString(), p.nRefused,
               p.firstFault.c_str());
  for (const std::string& words : p.lines) m_arrVModeLines.Add(CString(words.c_str()));
  for (int c = 0; c < vmode::kKeyColumns; ++c) {
    for (const vmode::Key& k : p.keys[static_cast<size_t>(c)]) {
      typVModeKey2Index e;
      e.key = k.key.c_str();
      e.line = k.line;
      m_listVModeKeys[c].AddTail(e);
    }
  }
  return 1;
}

int CChnChars::UnitCiMatch(CString key, AArray<typCharFatFmt, typCharFatFmt&>& out) {
  const bool shuangPin = cfgInputManager.ShuangPin != 0;
  int column = 0;
  if (shuangPin) {
    const int scheme = cfgInputManager.ShuangPinScheme;
    column = 1 + (scheme >= 0 && scheme < vmode::kKeyColumns - 1 ? scheme : 0);
  } else {
    key = MapToUniquePY(key);
  }
  auto& list = m_listVModeKeys[column];
  // The lines taken, each with the key that matched it.
  std::vector<typVModeKey2Index> taken;
  for (long pos = list.GetHeadPosition(); pos;) {
    const typVModeKey2Index& e = list.GetNext(pos);
    if (e.key == key) {
      taken.push_back(e);
      break;
    }
  }
  if (taken.empty()) {
    int best = 0;
    for (long pos = list.GetHeadPosition(); pos;) {
      const typVModeKey2Index& e = list.GetNext(pos);
      const int n = SharedPrefix(key, e.key);
      if (n == 0 || n < best) continue;
      if (n > best) {
        best = n;
        taken.clear();
      }
      bool seen = false;
      for (const typVModeKey2Index& t : taken) seen = seen || t.line == e.line;
      if (!seen) taken.push_back(e);
    }
  }
  m_arrWords.RemoveAll();
  for (const typVModeKey2Index& t : taken) {
    if (t.line >= m_arrVModeLines.GetSize()) continue;
    const CString& words = m_arrVModeLines[t.line];
    int from = 0;
    while (from <= words.GetLength()) {
      int comma = words.Find(',', from);
      if (comma < 0) comma = words.GetLength();
      if (comma > from) {
        const int index = m_arrWords.Add(words.Mid(from, comma - from));
        typCharFatFmt c;
        c.kind = kFatWord;
        c.data[0] = static_cast<uint8_t>(index & 0xFF);
        c.data[1] = static_cast<uint8_t>((index >> 8) & 0xFF);
        c.SetKey(t.key);
        out.Add(c);
      }
      from = comma + 1;
    }
  }
  return 1;
}
