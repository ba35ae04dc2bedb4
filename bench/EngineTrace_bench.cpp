// The engine's differential harness: types a seeded mix of full pinyin,
// fuzzy pinyin, ShuangPin and shape-code keys (letters, BackSpace, Escape,
// Space and digit picks) with the learned order on, on a private copy of
// the shipped dictionaries, and prints every host call the engine makes
// (panes, commits, keys handed back, beeps) followed by a checksum of every
// file in the data directory at the end. Two builds that print the same
// text produced the same candidate lists, commits and files. Speed work on
// the engine captures this before it starts and compares after each step:
//
//   build/bench/EngineTrace_bench > before.txt     (on the old tree)
//   build/bench/EngineTrace_bench | diff before.txt -
//
// The first argument, when given, is the seed (default 36); the second the
// number of sequences a mode (default 300). KVR_DIST names another
// distribution directory than this build's.
#include <dirent.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "bench/ShippedData.h"
#include "engine/CChnChars.h"
#include "framework/KeySyms.h"
#include "tests/engine/EngineStart.h"
#include "tests/engine/KeyFeed.h"

namespace {

// Syllables of full pinyin; the ShuangPin and shape-code keys are letters
// in pairs and fours.
const char* const kSyllables[] = {
    "zhong",  "guo",  "ren",   "min",   "hua",   "shi",   "wo",   "men",  "ni",     "hao",
    "bei",    "jing", "zhang", "chang", "shang", "sheng", "xue",  "xiao", "da",     "de",
    "le",     "zai",  "you",   "yi",    "ge",    "bu",    "shu",  "ji",   "qi",     "lai",
    "dian",   "nao",  "gong",  "he",    "yu",    "yan",   "zi",   "ci",   "si",     "zuo",
    "cuo",    "suo",  "lv",    "nv",    "an",    "ai",    "e",    "ou",   "chuang", "zhuang",
    "shuang", "jian", "qian",  "xian",  "tian",  "nian",  "lian", "mian"};
// Full pinyin as fuzzy pinyin users type it: zh/z, ch/c, sh/s mixed up.
const char* const kFuzzySyllables[] = {"zong", "cang", "san",  "sen", "zen", "cen",
                                       "zhan", "chan", "shan", "zu",  "chu", "su"};
const char kLetters[] = "abcdefghijklmnopqrstuvwxyz";
const char kShapeLetters[] = "abcdefghijklmnopqrstuvwxy";

struct Session {
  const char* name;
  int method;  // kPinYin or kXingMa
  int fuzzy;
  int shuangPin;
  int scheme;
};

std::string Word(std::mt19937& rng, const Session& s) {
  std::string w;
  const int parts = 1 + static_cast<int>(rng() % 4);
  for (int i = 0; i < parts; ++i) {
    if (s.method == kXingMa) {
      const int n = 1 + static_cast<int>(rng() % 4);
      for (int k = 0; k < n; ++k) w += kShapeLetters[rng() % (sizeof kShapeLetters - 1)];
      break;
    }
    if (s.shuangPin) {
      w += kLetters[rng() % 26];
      w += kLetters[rng() % 26];
    } else if (s.fuzzy && rng() % 3 == 0) {
      w += kFuzzySyllables[rng() % (sizeof kFuzzySyllables / sizeof *kFuzzySyllables)];
    } else {
      w += kSyllables[rng() % (sizeof kSyllables / sizeof *kSyllables)];
    }
  }
  if (!s.shuangPin && s.method == kPinYin && rng() % 5 == 0 && w.size() > 2)
    w.resize(w.size() - 1 - rng() % 2);  // an unfinished last syllable
  return w;
}

// One sequence: a word, then how it ends. '<' BackSpace, '!' Escape.
std::string Sequence(std::mt19937& rng, const Session& s) {
  std::string keys = Word(rng, s);
  switch (rng() % 8) {
    case 0:
      keys += "<<";
      keys += " ";
      break;
    case 1: keys += std::to_string(1 + rng() % 3); break;
    case 2: keys += "!"; break;
    case 3: keys += "  "; break;  // a page, then the pick
    case 4: keys += Word(rng, s) + " "; break;
    default: keys += " "; break;
  }
  return keys;
}

void Press(char c) {
  const unsigned char u = static_cast<unsigned char>(c);
  if (c == '<') {
    keyfeed::Press(keysym::kBackSpace, keyfeed::kNone, "");
  } else if (c == '!') {
    keyfeed::Press(keysym::kEscape, keyfeed::kNone, "");
  } else {
    keyfeed::Press(isalpha(u) ? toupper(u) : u);
  }
}

// FNV-1a of a file's bytes.
uint64_t Checksum(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  uint64_t h = 1469598103934665603ull;
  char buf[65536];
  while (in.read(buf, sizeof buf) || in.gcount() > 0) {
    for (std::streamsize i = 0; i < in.gcount(); ++i) {
      h ^= static_cast<uint8_t>(buf[i]);
      h *= 1099511628211ull;
    }
    if (!in) break;
  }
  return h;
}

void PrintFiles(const std::string& dir) {
  std::vector<std::string> names;
  if (DIR* d = opendir(dir.c_str())) {
    while (dirent* e = readdir(d)) {
      // The programs copied with the data (kvr, kvrsetup: no extension)
      // are not the engine's files and change with every build.
      if (e->d_type == DT_REG && strchr(e->d_name, '.')) names.push_back(e->d_name);
    }
    closedir(d);
  }
  std::sort(names.begin(), names.end());
  for (const std::string& n : names)
    printf("file %s %016llx\n", n.c_str(),
           static_cast<unsigned long long>(Checksum(dir + "/" + n)));
}

}  // namespace

int main(int argc, char** argv) {
  const unsigned seed = argc > 1 ? static_cast<unsigned>(atoi(argv[1])) : 36u;
  const int count = argc > 2 ? atoi(argv[2]) : 300;
  std::mt19937 rng(seed);
  static RecordingHost host;
  host.dataDir = bench::ShippedDataCopy() + "/";
  host.focus = 77;
  const Session sessions[] = {
      {"pinyin", kPinYin, 0, 0, 0},    {"fuzzy", kPinYin, 1, 0, 0},
      {"shuangpin", kPinYin, 0, 1, 0}, {"shuangpin-cstar", kPinYin, 0, 1, 1},
      {"shape", kXingMa, 0, 0, 0},     {"pinyin-again", kPinYin, 1, 0, 0},
  };
  for (const Session& s : sessions) {
    dictionary.CloseDictionary();
    typInputSettings c = enginetest::PinYinSettings();
    c.candidateOrderChoice = 0;  // learned order: picks are written back
    c.InputMthd = s.method;
    c.fuzziPY = s.fuzzy;
    c.ShuangPin = s.shuangPin;
    c.ShuangPinScheme = s.scheme;
    enginetest::StartEngine(host, c);
    cfgInputManager.InputMthd = s.method;
    dictionary.ResetChnInput(1, 0, 1);
    memset(&dictionary.m_fwdEvent, 0, sizeof dictionary.m_fwdEvent);
    dictionary.m_fwdEvent.connect_id = 1;
    dictionary.m_fwdEvent.icid = 2;
    printf("== session %s\n", s.name);
    for (int i = 0; i < count; ++i) {
      const std::string keys = Sequence(rng, s);
      printf("-- %s\n", keys.c_str());
      for (char k : keys) {
        host.calls.clear();
        Press(k);
        printf("%c:", k);
        for (const std::string& call : host.calls) printf(" [%s]", call.c_str());
        printf(" keys=%s\n", dictionary.m_strKeySeq.GetString());
      }
      if (!dictionary.m_strKeySeq.IsEmpty()) {
        host.calls.clear();
        Press('!');
        printf("!:");
        for (const std::string& call : host.calls) printf(" [%s]", call.c_str());
        printf("\n");
      }
      host.nowMs += 250;
      host.nowSec += 1;
    }
  }
  dictionary.CloseDictionary();
  PrintFiles(bench::ShippedDataCopy());
  return 0;
}
