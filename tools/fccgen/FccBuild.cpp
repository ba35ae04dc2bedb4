// The forecast rule build: sources in, a checked fccdic.bin image out.
#include <fstream>
#include <sstream>

#include "engine/forecast/ForecastRuleBase.h"
#include "tools/fccgen/FccRules.h"

namespace fccgen {

namespace {

bool ReadFile(const std::string& path, std::string& out) {
  std::ifstream f(path, std::ios::binary);
  if (!f) return false;
  std::ostringstream s;
  s << f.rdbuf();
  out = s.str();
  return static_cast<bool>(f) || f.eof();
}

// The engine's reader takes the image, or the build fails.
bool ReadBack(const std::string& image, std::vector<std::string>& errors) {
  OwnedForecastTables t;
  std::string error;
  const bool ok = ReadForecastTables(reinterpret_cast<const uint8_t*>(image.data()), image.size(),
                                     t.Tables(), error);
  if (!ok) errors.push_back("the engine refuses the compiled rules: " + error);
  return ok;
}

}  // namespace

bool BuildForecastFile(const std::vector<std::string>& ruleFiles, const std::string& fortunesDir,
                       std::string& image, std::vector<std::string>& notes,
                       std::vector<std::string>& errors) {
  RuleBase base;
  for (const std::string& path : ruleFiles) {
    std::string text;
    if (!ReadFile(path, text)) {
      errors.push_back("cannot read " + path);
      continue;
    }
    ParseRules(text, path, base, errors);
  }
  if (!fortunesDir.empty()) {
    std::string text;
    std::set<std::string> poemSentences;
    for (const char* name : {"tang300", "song100"}) {
      const std::string path = fortunesDir + "/" + name;
      if (!ReadFile(path, text)) {
        errors.push_back("cannot read " + path);
        continue;
      }
      int dropped = 0;
      ParseRules("group 3\n" + PoemRules(text, dropped, &poemSentences), path, base, errors);
      notes.push_back(path + ": " + std::to_string(dropped) +
                      " poems left out (sentences the rules cannot hold)");
    }
    const std::string path = fortunesDir + "/chinese";
    if (!ReadFile(path, text))
      errors.push_back("cannot read " + path);
    else
      ParseRules("group 2\n" + SayingRules(text, poemSentences), path, base, errors);
  }
  if (!errors.empty()) return false;
  if (!CompileRules(base, image, errors)) return false;
  for (int g = 0; g < fcc::kGroups; ++g)
    notes.push_back("group " + std::to_string(g) + ": " + std::to_string(base.groups[g].size()) +
                    " rules");
  return ReadBack(image, errors);
}

}  // namespace fccgen
