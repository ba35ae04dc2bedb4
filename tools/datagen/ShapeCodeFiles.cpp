// The shape-code (Wubi 86) character files: the code list, the full code of
// every character and the codes that only one character completes.
#include <algorithm>
#include <set>

#include "engine/formats/CharDictFormat.h"
#include "tools/datagen/Builders.h"

namespace datagen {

void BuildShapeCodeFiles(const Model& m, FileSet& files, Report& report) {
  std::map<std::string, std::vector<std::pair<double, const CharInfo*>>> byCode;
  std::vector<chardict::CodeRecord> full;
  std::map<std::string, std::set<const CharInfo*>> byPrefix;
  for (const CharInfo& c : m.Chars()) {
    for (const auto& code : c.wubi) byCode[code.first].emplace_back(code.second, &c);
    if (c.fullWubi.empty()) continue;
    full.push_back({c.gbk, {c.fullWubi}});
    for (size_t n = 1; n < c.fullWubi.size(); ++n) byPrefix[c.fullWubi.substr(0, n)].insert(&c);
  }
  std::vector<chardict::ShapeCodeRecord> list;
  for (auto& kv : byCode) {
    std::stable_sort(kv.second.begin(), kv.second.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    chardict::ShapeCodeRecord r{kv.first, {}};
    for (const auto& p : kv.second) r.chars.push_back(p.second->gbk);
    list.push_back(std::move(r));
  }
  std::vector<std::pair<std::string, std::string>> completions;
  for (const auto& kv : byPrefix) {
    if (kv.second.size() == 1) completions.emplace_back(kv.first, (*kv.second.begin())->gbk);
  }
  if (full.size() > 0xFFFF || completions.size() > 0xFFFF) {
    report.errors.push_back("ch2key.bin/chndic2.bin: more than 65535 records");
    return;
  }
  files["chdicres.bin"] = chardict::WriteShapeCodeList(list);
  files["ch2key.bin"] = chardict::WriteCharCodes(full);
  files["chndic2.bin"] = chardict::WriteStringMap(completions);
  report.notes.push_back("shape code: " + std::to_string(list.size()) + " codes, " +
                         std::to_string(full.size()) + " full codes, " +
                         std::to_string(completions.size()) + " completions");
}

}  // namespace datagen
