// EngineStart.h: the engine bound to a recording host and started on a
// private copy of a dictionary directory (a generated fixture or the shipped
// data), as the tests and the benchmarks start it. Free of GoogleTest, so
// that bench/ uses it too.
#pragma once

#include <dirent.h>

#include <fstream>
#include <string>

#include "engine/CChnChars.h"
#include "engine/EngineHost.h"
#include "tests/engine/RecordingHost.h"

namespace enginetest {

// Copies every regular file of from into to (not the folders); false when
// from cannot be read or a file cannot be written.
inline bool CopyRegularFiles(const std::string& from, const std::string& to) {
  DIR* d = opendir(from.c_str());
  if (!d) return false;
  bool ok = true;
  while (dirent* e = readdir(d)) {
    if (e->d_type != DT_REG) continue;
    const std::string name = e->d_name;
    std::ifstream in(from + "/" + name, std::ios::binary);
    std::ofstream out(to + "/" + name, std::ios::binary);
    out << in.rdbuf();
    ok = ok && in && out;
  }
  closedir(d);
  return ok;
}

// Binds host, takes settings in Chinese input mode and loads the
// dictionaries of host.dataDir (which ends with '/'). A running engine is
// closed first (dictionary.CloseDictionary()) by the caller.
inline void StartEngine(RecordingHost& host, const typInputSettings& settings) {
  SetEngineHost(&host);
  cfgInputManager = settings;
  cfgInputManager.InputMode = kChineseInput;
  gbInitDone = 0;
  dictionary.InitFirst();
  dictionary.InitDictionary();
}

// Full pinyin with phrases, fuzzy pinyin off: what a profile without
// [Config] gives, with the fuzzy master switch off.
inline typInputSettings PinYinSettings() {
  typInputSettings c{};
  c.InputMthd = kPinYin;
  c.StdPinYin = 1;
  c.NumberOfCandidatesShown = 10;
  c.useCizu = 1;
  c.ExcludeLevel = 1000;
  c.chc_fuzzy = c.zhz_fuzzy = c.shs_fuzzy = 1;
  return c;
}

}  // namespace enginetest
