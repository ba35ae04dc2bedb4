// The pinyin character files: the ordered character list of every syllable
// and the per-character readings, tones, ranks and strokes.
#include <algorithm>
#include <cstring>

#include "engine/formats/BiHuaFormat.h"
#include "engine/formats/CharDictFormat.h"
#include "tools/datagen/Builders.h"

namespace datagen {
namespace {

// GB2312 characters go to ch2pypz1.bin, the other GBK ones to ch2pypz2.bin.
bool IsGb2312(const std::string& gbk) {
  const auto lead = static_cast<unsigned char>(gbk[0]);
  const auto trail = static_cast<unsigned char>(gbk[1]);
  return lead >= 0xB0 && lead <= 0xF7 && trail >= 0xA1 && trail <= 0xFE;
}

// Every syllable and the characters read that way, most used first.
std::map<std::string, std::vector<const CharInfo*>> SyllableRuns(const Model& m) {
  std::map<std::string, std::vector<std::pair<double, const CharInfo*>>> runs;
  for (const CharInfo& c : m.Chars()) {
    for (const auto& r : c.readings) runs[r.first].emplace_back(c.freq * r.second, &c);
  }
  std::map<std::string, std::vector<const CharInfo*>> out;
  for (auto& kv : runs) {
    std::stable_sort(kv.second.begin(), kv.second.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    for (const auto& p : kv.second) out[kv.first].push_back(p.second);
  }
  return out;
}

void BuildFlatList(const std::map<std::string, std::vector<const CharInfo*>>& runs, FileSet& files,
                   Report& report) {
  std::string flat;
  std::vector<chardict::SyllableRun> keys;
  uint32_t start = 0;
  for (const auto& kv : runs) {
    if (start > chardict::kMaxFlatStart || kv.second.size() > chardict::kMaxSyllableChars) {
      report.errors.push_back("pykeys.dic: syllable " + kv.first + " starts at " +
                              std::to_string(start) + ", past the 16-bit start limit");
      return;
    }
    keys.push_back({kv.first, static_cast<uint32_t>(kv.second.size()), start});
    for (const CharInfo* c : kv.second) flat += c->gbk;
    start += static_cast<uint32_t>(kv.second.size());
  }
  files["gbkflat.dic"] = flat;
  files["pykeys.dic"] = chardict::WritePyKeys(keys);
  report.notes.push_back("pykeys.dic: " + std::to_string(keys.size()) + " syllables, " +
                         std::to_string(start) + " entries");
}

void BuildReadingFiles(const Model& m, FileSet& files, Report& report) {
  std::vector<chardict::CodeRecord> main;
  std::vector<chardict::ToneRecord> pz[2];
  std::string sortDic;
  size_t noReading = 0;
  for (const CharInfo& c : m.Chars()) {
    if (c.readings.empty())
      ++noReading;
    else
      main.push_back({c.gbk, MainReadings(c)});
    if (!c.toned.empty()) {
      chardict::ToneRecord r;
      r.ch = c.gbk;
      r.common = c.common;
      for (const TonedReading& t : c.toned) {
        if (r.readings.size() == chardict::kMaxReadings) break;
        r.readings.push_back({t.syllable, t.tones});
      }
      pz[IsGb2312(c.gbk) ? 0 : 1].push_back(std::move(r));
    }
    // A character the sources say nothing about gets no rank (fixtures).
    if (c.freq > 0 || !c.readings.empty() || !c.wubi.empty())
      sortDic += chardict::SortDicLine(c.gbk, c.rank);
  }
  files["ch2py.bin"] = chardict::WriteCharCodes(main);
  files["ch2pypz1.bin"] = chardict::WriteToneReadings(pz[0], false, 1);
  files["ch2pypz2.bin"] = chardict::WriteToneReadings(pz[1], true, 1);
  files["sort.dic"] = sortDic;
  report.notes.push_back("readings: " + std::to_string(main.size()) + " characters, " +
                         std::to_string(noReading) + " without; toned " +
                         std::to_string(pz[0].size() + pz[1].size()));
}

// The one-key lists: letters b..z, two lines each, most frequent first. In
// ShuangPin the keys i, u and v are the initials ch, sh and zh, so their
// lists hold the characters of those initials.
void BuildOneKeyLists(const Model& m, FileSet& files) {
  constexpr size_t kPerLine = 30;  // 60 bytes and a line end, under 63
  std::vector<const CharInfo*> byFreq;
  for (const CharInfo& c : m.Chars()) {
    if (!c.readings.empty() && c.freq > 0) byFreq.push_back(&c);
  }
  std::stable_sort(byFreq.begin(), byFreq.end(),
                   [](const CharInfo* a, const CharInfo* b) { return a->freq > b->freq; });
  std::string out = "; one-key lists: a letter, then two lines of its characters\n";
  for (char letter = 'b'; letter <= 'z'; ++letter) {
    const char* initial = letter == 'i'   ? "ch"
                          : letter == 'u' ? "sh"
                          : letter == 'v' ? "zh"
                                          : nullptr;
    std::string lines[2];
    size_t n = 0;
    for (const CharInfo* c : byFreq) {
      if (n == 2 * kPerLine) break;
      const std::string& r = c->readings[0].first;
      if (initial ? r.rfind(initial, 0) == 0 : r[0] == letter) lines[n++ / kPerLine] += c->gbk;
    }
    out += std::string(1, letter) + "\n" + lines[0] + "\n" + lines[1] + "\n";
  }
  files["py_1key.dic"] = out;
}

void BuildStrokeTable(const std::map<std::string, std::vector<const CharInfo*>>& runs,
                      FileSet& files, Report& report) {
  std::vector<bihua::Distribution> table;
  size_t without = 0;
  for (const auto& kv : runs) {
    bihua::Distribution d;
    d.syllable = kv.first;
    bool any = false;
    for (const CharInfo* c : kv.second) {
      if (c->strokes.empty()) {
        ++without;
        continue;
      }
      int cls[3] = {0, 0, 0};
      // Characters of fewer than three strokes go with class 0 in the
      // missing places, so that they are found by their real first strokes.
      for (size_t i = 0; i < 3 && i < c->strokes.size(); ++i)
        cls[i] = bihua::ClassOfStrokeLetter(c->strokes[i]);
      d.groups[cls[0]][cls[1]][cls[2]] += c->gbk;
      any = true;
    }
    d.noStrokes = any ? 0 : 1;
    table.push_back(std::move(d));
  }
  files["bihuaku.bin"] = bihua::WriteTable(table);
  report.notes.push_back("bihuaku.bin: " + std::to_string(table.size()) + " syllables, " +
                         std::to_string(without) + " entries without strokes");
}

}  // namespace

std::vector<std::string> MainReadings(const CharInfo& c) {
  std::vector<std::string> out;
  for (size_t i = 0; i < c.readings.size(); ++i) {
    if (i == 0 || c.readings[i].second >= 0.1) out.push_back(c.readings[i].first);
  }
  return out;
}

void BuildPinyinCharFiles(const Model& m, FileSet& files, Report& report) {
  const auto runs = SyllableRuns(m);
  BuildFlatList(runs, files, report);
  BuildReadingFiles(m, files, report);
  BuildOneKeyLists(m, files);
  BuildStrokeTable(runs, files, report);
}

}  // namespace datagen
