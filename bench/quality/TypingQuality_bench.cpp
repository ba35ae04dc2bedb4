// Typing quality on the shipped dictionaries: how often the engine gives
// what a user means when the user types a whole word or phrase as one
// string of full pinyin and presses Space until everything is committed.
// The engine runs without X, with the tests' recording host in place of the
// panes and the XIM server (tests/engine/KeyFeed.h feeds the keys as the
// main bar does), on default settings.
//
// The sets (bench/quality/*.txt, "keys<TAB>text" lines) come from the
// modern prose of fortunes-zh; make_sets.py says how they were made.
//   words    first-candidate rate: one Space commits exactly the word
//   pairs    whole rate: two neighbouring words of the text, typed as one
//   phrases  whole rate: short clauses of the text, typed as one
// and for each set the keys per character (letters and Spaces).
//
//   TypingQuality_bench [--dist DIR] [--sets DIR] [--limit N]
//                       [--results FILE] [--against FILE]
//
// --limit types only the first N items of each set (a smoke run).
// --dist names another distribution directory (default: KVR_DIST, else this
// build's). --results writes one line per item (set, keys, text, what was
// committed, 1 right / 0 wrong); --against reads such a file of another run
// and lists the items that run got right and this one does not ("lost") and
// counts the ones it gained.
#include <dirent.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "engine/CChnChars.h"
#include "framework/KeySyms.h"
#include "framework/SysUtil.h"
#include "tests/engine/EngineStart.h"
#include "tests/engine/KeyFeed.h"
#include "tests/support/TestPaths.h"

namespace {

struct Item {
  std::string keys, text;  // text in UTF-8
};

struct Outcome {
  std::string committed;  // UTF-8
  bool right = false;
  int keys = 0;  // letters and Spaces pressed
};

const char* const kSets[] = {"words", "pairs", "phrases"};

std::string ToGbk(const std::string& utf8) {
  std::string copy = utf8;
  return std::string(Utf8ToGBK(copy.data(), nullptr, nullptr).GetString());
}

std::string ToUtf8(const std::string& gbk) {
  CString copy(gbk.c_str());
  return std::string(GBKToUtf8(copy.GetBuffer(copy.GetLength()), nullptr, nullptr).GetString());
}

bool ReadSet(const std::string& path, std::vector<Item>& out) {
  std::ifstream in(path);
  if (!in) return false;
  std::string line;
  while (std::getline(in, line)) {
    const size_t tab = line.find('\t');
    if (tab == std::string::npos || tab == 0) continue;
    out.push_back({line.substr(0, tab), line.substr(tab + 1)});
  }
  return true;
}

// The engine on a private copy of the data. Each item types into an engine
// that has learned nothing: an item that left the lexicon changed (a phrase
// built from segments is learned) gets a fresh engine on a fresh copy
// before the next one, so that no item helps or hurts another.
class Typist {
 public:
  explicit Typist(const std::string& dist) : m_dist(dist) {}
  ~Typist() { Stop(); }

  bool Fresh() {
    Stop();
    m_work = std::make_unique<kvrtest::ScratchDir>();
    // Hard links are enough: the engine never writes a file in place, it
    // renames a new one over it.
    if (!LinkAll(m_dist, m_work->Path())) return false;
    m_host.dataDir = m_work->Path() + "/";
    m_host.focus = 77;
    typInputSettings s = enginetest::PinYinSettings();
    s.candidateOrderChoice = 1;  // the shipped order: usage is not learned
    enginetest::StartEngine(m_host, s);
    memset(&dictionary.m_fwdEvent, 0, sizeof dictionary.m_fwdEvent);
    dictionary.m_fwdEvent.connect_id = 1;
    dictionary.m_fwdEvent.icid = 2;
    m_running = true;
    ++m_starts;
    return true;
  }

  Outcome Type(const Item& item) {
    if (!m_running || dictionary.LexiconDirty()) Fresh();
    dictionary.ResetChnInput(1, 0, 1);
    dictionary.ForgetLastCommit();
    m_host.calls.clear();
    Outcome o;
    keyfeed::Type(item.keys.c_str());
    o.keys = static_cast<int>(item.keys.size());
    // Space takes the first candidate; a phrase built from segments needs
    // one Space a segment. More Spaces than characters means it is stuck.
    const int chars = static_cast<int>(ToGbk(item.text).size() / 2);
    while (!dictionary.m_strKeySeq.IsEmpty() &&
           o.keys < static_cast<int>(item.keys.size()) + chars + 2) {
      keyfeed::Press(keysym::kSpace);
      ++o.keys;
    }
    std::string gbk;
    for (const std::string& c : m_host.Calls("commit ")) {
      const size_t sp = c.find(' ', 7);  // "commit 1/2 text"
      if (sp != std::string::npos) gbk += c.substr(sp + 1);
    }
    dictionary.ResetChnInput(1, 0, 1);
    o.committed = ToUtf8(gbk);
    o.right = o.committed == item.text;
    return o;
  }

  int Starts() const { return m_starts; }

 private:
  // Links every regular file of from into to; copies all when a link
  // fails (another file system).
  static bool LinkAll(const std::string& from, const std::string& to) {
    DIR* d = opendir(from.c_str());
    if (!d) return false;
    bool linked = true;
    while (dirent* e = readdir(d)) {
      if (e->d_type != DT_REG) continue;
      const std::string name = e->d_name;
      if (link((from + "/" + name).c_str(), (to + "/" + name).c_str()) != 0) linked = false;
    }
    closedir(d);
    return linked || enginetest::CopyRegularFiles(from, to);
  }
  void Stop() {
    if (!m_running) return;
    dictionary.CloseDictionary();
    SetEngineHost(nullptr);
    m_running = false;
  }

  std::string m_dist;
  std::unique_ptr<kvrtest::ScratchDir> m_work;
  RecordingHost m_host;
  bool m_running = false;
  int m_starts = 0;
};

using Results = std::map<std::string, bool>;  // set + '\t' + text -> right

Results ReadResults(const std::string& path) {
  Results r;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    std::vector<std::string> f;
    std::stringstream ss(line);
    std::string col;
    while (std::getline(ss, col, '\t')) f.push_back(col);
    if (f.size() == 5) r[f[0] + "\t" + f[2]] = f[4] == "1";
  }
  return r;
}

}  // namespace

int main(int argc, char** argv) {
  const char* env = std::getenv("KVR_DIST");
  std::string dist = env ? env : kvrtest::DistDir();
  std::string sets = kvrtest::SourceDir() + "/bench/quality";
  std::string resultsPath, againstPath;
  size_t limit = 0;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const char* v = i + 1 < argc ? argv[i + 1] : nullptr;
    if (v && a == "--dist")
      dist = v, ++i;
    else if (v && a == "--sets")
      sets = v, ++i;
    else if (v && a == "--results")
      resultsPath = v, ++i;
    else if (v && a == "--against")
      againstPath = v, ++i;
    else if (v && a == "--limit")
      limit = std::strtoul(v, nullptr, 10), ++i;
    else {
      std::fprintf(stderr, "TypingQuality_bench: unknown argument %s\n", a.c_str());
      return 2;
    }
  }
  const Results before = againstPath.empty() ? Results{} : ReadResults(againstPath);
  if (!againstPath.empty() && before.empty()) {
    std::fprintf(stderr, "TypingQuality_bench: no results in %s\n", againstPath.c_str());
    return 1;
  }
  std::ofstream results;
  if (!resultsPath.empty()) {
    results.open(resultsPath);
    if (!results) {
      std::fprintf(stderr, "TypingQuality_bench: cannot write %s\n", resultsPath.c_str());
      return 1;
    }
  }
  Typist typist(dist);
  if (!typist.Fresh()) {
    std::fprintf(stderr, "TypingQuality_bench: cannot copy the data of %s\n", dist.c_str());
    return 1;
  }
  std::printf("Typing quality on %s (sets from %s)\n", dist.c_str(), sets.c_str());
  std::printf("%-8s %6s %8s %7s %10s\n", "set", "items", "right", "rate", "keys/char");
  for (const char* set : kSets) {
    std::vector<Item> items;
    if (!ReadSet(sets + "/" + set + ".txt", items) || items.empty()) {
      std::fprintf(stderr, "TypingQuality_bench: cannot read the set %s/%s.txt\n", sets.c_str(),
                   set);
      return 1;
    }
    if (limit > 0 && items.size() > limit) items.resize(limit);
    int right = 0, keys = 0, chars = 0, lost = 0, gained = 0;
    std::vector<std::string> lostItems;
    for (const Item& item : items) {
      const Outcome o = typist.Type(item);
      right += o.right ? 1 : 0;
      keys += o.keys;
      chars += static_cast<int>(ToGbk(item.text).size() / 2);
      if (results.is_open())
        results << set << '\t' << item.keys << '\t' << item.text << '\t' << o.committed << '\t'
                << (o.right ? 1 : 0) << '\n';
      const auto b = before.find(std::string(set) + "\t" + item.text);
      if (b != before.end() && b->second && !o.right) {
        ++lost;
        lostItems.push_back(item.keys + " " + item.text + " -> " + o.committed);
      }
      if (b != before.end() && !b->second && o.right) ++gained;
    }
    std::printf("%-8s %6zu %8d %6.1f%% %10.2f", set, items.size(), right,
                100.0 * right / static_cast<double>(items.size()),
                chars ? static_cast<double>(keys) / chars : 0.0);
    if (!before.empty()) std::printf("   against the other run: %d lost, %d gained", lost, gained);
    std::printf("\n");
    for (const std::string& l : lostItems) std::printf("    lost: %s\n", l.c_str());
  }
  std::printf("(%d engine starts: an item that taught the lexicon a phrase gets a fresh one)\n",
              typist.Starts());
  return 0;
}
