#include "engine/formats/BiHuaFormat.h"

#include "engine/formats/CharDictFormat.h"

namespace bihua {

int ClassOfStrokeLetter(char c) {
  for (int i = 0; i < kClasses; ++i) {
    if (kStrokeLetters[i] == c) return i;
  }
  return -1;
}

std::string WriteTable(const std::vector<Distribution>& table) {
  std::string out;
  chardict::PutLe16(out, static_cast<uint16_t>(table.size()));
  for (const Distribution& d : table) {
    chardict::PutLe32(out, static_cast<uint32_t>(d.syllable.size()));
    out += d.syllable;
    chardict::PutLe32(out, d.noStrokes);
    for (int s1 = 0; s1 < kClasses; ++s1) {
      chardict::PutLe32(out, d.firstCollapse[s1]);
      for (int s2 = 0; s2 < kClasses; ++s2) {
        chardict::PutLe32(out, d.secondCollapse[s1][s2]);
        for (int s3 = 0; s3 < kClasses; ++s3) {
          const std::string& g = d.groups[s1][s2][s3];
          chardict::PutLe32(out, static_cast<uint32_t>(g.size()));
          out += g;
        }
      }
    }
  }
  return out;
}

}  // namespace bihua
