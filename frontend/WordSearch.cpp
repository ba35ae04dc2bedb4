#include "frontend/WordSearch.h"

#include <cstring>

#include "base/GbkBytes.h"
#include "engine/CChnChars.h"
#include "engine/formats/ForecastFormat.h"

namespace wordsearch {

bool MatchAtCharacter(const char* line, int lineLen, const char* text, int textLen) {
  if (!line || !text || textLen <= 0) return false;
  for (int p = 0; p + textLen <= lineLen; p += gbk::CharBytes(line, lineLen, p)) {
    if (std::memcmp(line + p, text, static_cast<size_t>(textLen)) == 0) return true;
  }
  return false;
}

bool MatchAtCharacter(const CString& line, const CString& text) {
  return MatchAtCharacter(line.GetString(), line.GetLength(), text.GetString(), text.GetLength());
}

int FindInPhraseStore(const unsigned char* store, uint32_t nBytes, const CString& text,
                      CStringArray& out) {
  if (!store) return 0;
  int added = 0;
  const char* bytes = reinterpret_cast<const char*>(store);
  uint32_t pos = 0;
  while (pos < nBytes) {
    const size_t len = strnlen(bytes + pos, nBytes - pos);
    if (len > 0 &&
        MatchAtCharacter(bytes + pos, static_cast<int>(len), text.GetString(), text.GetLength())) {
      CString phrase;
      phrase.AddChars(bytes + pos, 0, static_cast<int>(len));
      out.Add(phrase);
      ++added;
    }
    pos += static_cast<uint32_t>(len) + 1;
  }
  return added;
}

int GetAllLinkedRules(CChnChars& engine, CStringArray& out, int kind, const CString& text) {
  if (kind < 0 || kind >= fcc::kGroups) return 0;
  const bool cyclesOnly = kind == kXiehouyu || kind == kPoems;
  ForecastCellList& rules = engine.m_forecastRules[kind];
  int added = 0;
  for (int i = 0; i < rules.GetSize(); ++i) {
    typForecastCell* rule = rules[i];
    if (!rule || rule->type == fcc::kInvalid) continue;
    if (cyclesOnly && rule->type != fcc::kCycle) continue;
    CStringArray lines;
    if (!engine.GetForecastResult(rule, 0, lines, kind)) continue;
    for (int j = 0; j < lines.GetSize(); ++j) {
      if (!MatchAtCharacter(lines[j], text)) continue;
      out.Add(lines[j]);
      ++added;
    }
  }
  return added;
}

}  // namespace wordsearch
