// The stroke table bihuaku.bin and the stroke keys. The table maps each
// full pinyin syllable to the stroke groups of its characters; it is read
// once at start-up and never changed. Parsing (with every length checked)
// is in engine/dics/StrokeTableParser.h.
#include "engine/CChnChars.h"

#include <vector>

#include "engine/EngineHost.h"
#include "engine/dics/StrokeTableParser.h"
#include "engine/internal/DicBuffers.h"

typBiHuaDistribution::typBiHuaDistribution() : noStrokes(0), firstCollapse{}, secondCollapse{} {}

typBiHuaDistribution::typBiHuaDistribution(const typBiHuaDistribution& other)
    : typBiHuaDistribution() {
  *this = other;
}

typBiHuaDistribution& typBiHuaDistribution::operator=(const typBiHuaDistribution& other) {
  if (this == &other) return *this;
  noStrokes = other.noStrokes;
  for (int a = 0; a < bihua::kClasses; ++a) {
    firstCollapse[a] = other.firstCollapse[a];
    for (int b = 0; b < bihua::kClasses; ++b) {
      secondCollapse[a][b] = other.secondCollapse[a][b];
      for (int c = 0; c < bihua::kClasses; ++c) groups[a][b][c] = other.groups[a][b][c];
    }
  }
  return *this;
}

void CChnChars::InitBiHuaKeys() {
  const bool ms = cfgInputManager.IsPinYinMethod() && cfgInputManager.ShuangPin &&
                  cfgInputManager.ShuangPinScheme == 0;
  gszBiHuaMa = ms ? bihua::kStrokeKeysMS : bihua::kStrokeKeys;
}

void CChnChars::LoadBihaKuOrPingZheKuFromBin(int which) {
  if (which != 1) return;
  m_mapBiHua.RemoveAll();
  m_pyProperMemo.clear();
  const CString path = CString(EngineHost().DataDir()) + "bihuaku.bin";
  std::vector<uint8_t> bytes;
  // A missing table is a pinyin install without stroke data: the tests
  // are then undecided and keep every candidate.
  if (!chndic::ReadWholeFile(path, bytes)) return;
  std::vector<bihua::Distribution> table;
  std::string err;
  // A damaged table keeps the syllables read whole before the damage.
  if (!bihua::ParseTable(bytes.data(), bytes.size(), table, err))
    EngineDiag("%s: %s", path.GetString(), err.c_str());
  for (const bihua::Distribution& d : table) {
    typBiHuaDistribution& rec = m_mapBiHua[d.syllable.c_str()];
    rec.noStrokes = d.noStrokes;
    for (int a = 0; a < bihua::kClasses; ++a) {
      rec.firstCollapse[a] = d.firstCollapse[a];
      for (int b = 0; b < bihua::kClasses; ++b) {
        rec.secondCollapse[a][b] = d.secondCollapse[a][b];
        for (int c = 0; c < bihua::kClasses; ++c) rec.groups[a][b][c] = d.groups[a][b][c].c_str();
      }
    }
  }
}
