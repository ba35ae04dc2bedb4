// The installation's sequence and its file moves. The start-up edits and
// the launch scripts are in StartupEdits.cpp.
#include "installer/Installation.h"

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

#include "base/CString.h"
#include "framework/ImageLoad.h"
#include "framework/SysUtil.h"
#include "framework/internal/PlatformRoot.h"
#include "installer/FileWork.h"
#include "installer/InstallOps.h"
#include "installer/InstallTexts.h"

namespace installer {
namespace {

// The files without which kvr cannot run: a distribution that lacks one has
// been emptied by an earlier run (or is broken), and installing from it
// would only delete what is installed.
constexpr const char* kRequiredFiles[] = {"kvr", "gbkflat.dic", "pykeys.dic"};

// Dictionaries the engine derives at run time, with their fuzzy-pinyin
// variants: a reinstallation removes them so the engine rebuilds them from
// the new files (and the learned and manual character orders start anew).
constexpr const char* kDerivedDictionaries[] = {"pykeys.dic", "gbkflat.dic", "flatAuto.dic",
                                                "flatAdjust.dic"};

// The lexicon a user may keep: the phrase store and the indexes into it.
// The shape-code index points into the store as the pinyin ones do, so it
// stays with them.
constexpr const char* kLexiconIndexes[] = {"pycizudic.idx", "py2_3ZiCi1stZuMu.idx",
                                           "pxcizudic.idx"};

bool IsLexiconFile(const char* name) {
  if (strcasecmp(name, "CiZuFlat.igb") == 0) return true;
  for (const char* index : kLexiconIndexes)
    if (strcasecmp(name, index) == 0) return true;
  return false;
}

// One step of the moves: files in order, then the progress it reaches (0:
// the bar stays).
struct MoveStep {
  std::vector<const char*> files;
  int progress;
};

const std::vector<MoveStep>& DataSteps() {
  static const std::vector<MoveStep> steps = {
      {{"sort.dic"}, 20},
      {{"readme2.igb", "readme3.igb", "morvelui.ini", "tips.txt", "cikuguide.txt"}, 25},
      {{"ChnBmp.bin"}, 30},
      {{"keymap.bmp", "keymapPY.bmp", "keymapPYStd.bmp", "keymapSP.bmp", "keymapSPStd.bmp",
        "keymapSP1.bmp", "keymapSPStd1.bmp", "keymapSP2.bmp", "keymapSPStd2.bmp"},
       35},
  };
  return steps;
}

// The per-character files and the guides; the shape-code dictionaries
// (ch2key.bin, chdicres.bin) and the phrase map chndic2.bin are the
// engine's too.
const std::vector<const char*>& CharacterFiles() {
  static const std::vector<const char*> files = {
      "ch2py.bin",          "ch2pypz1.bin",      "ch2pypz2.bin",     "bihuaku.bin",
      "vmodewords.dic",     "gbk2b5.bin",        "b5gbk.bin",        "fccdic.bin",
      "depend1.map",        "depend2.map",       "ch2key.bin",       "chdicres.bin",
      "chndic2.bin",        "kivraguide.htm",    "KVRGUIDE.HTM",     "KVREditGuide.htm",
      "belquinguide.htm",   "input_samples.htm", "input_assist.htm", "fast_steps.htm",
      "pinyin_pinxing.htm", "xingmaguide.htm",   "xingmajiyi.htm",   "kuai_jian.htm",
      "Kvr_pane.bmp",       "kvr_prompt.bmp",    "welcome_kvr.jpg",  "Welcome_belquin.jpg"};
  return files;
}

std::string Formatted(const char* format, const std::string& a, const std::string& b = "") {
  char buf[2048];
  std::snprintf(buf, sizeof buf, format, a.c_str(), b.c_str());
  return buf;
}

// The distribution's entry for name, found without regard to case; empty
// when there is none.
std::string EntryFor(const std::string& dir, const char* name) {
  return std::string(GetMatchingRealFileNameForCaseInSensitiveName(dir.c_str(), name));
}

// name ends in "." + extension (without case) and has at least one
// character before the dot.
bool HasExtension(const char* name, const char* extension) {
  const size_t n = std::strlen(name), e = std::strlen(extension);
  return n > e + 1 && name[n - e - 1] == '.' && strcasecmp(name + n - e, extension) == 0;
}

}  // namespace

CInstallation::CInstallation(InstallChoice choice, IInstallHost& host, IInstallOps& ops)
    : m_choice(std::move(choice)), m_host(host), m_ops(ops) {}

std::string CInstallation::DistDir() const { return m_choice.progDir + "Kivra_DistributionFiles"; }

std::string CInstallation::BinDirOnDisk() const {
  return m_choice.allUsers ? afc::UnderPlatformRoot(m_choice.binDir.c_str()) : m_choice.binDir;
}

std::string CInstallation::InstallDir() const { return BinDirOnDisk() + "/Kivra"; }

void CInstallation::Failed(const std::string& error) {
  std::fprintf(stderr, "kvrsetup: %s\n", error.c_str());
  m_errors.push_back(error);
}

bool CInstallation::Refused() {
  if (InstallPathName().size() >= kInstallPathBytes) {
    m_host.ShowMessage(Formatted(texts::kPathTooLong, InstallPathName()));
    return true;
  }
  for (const char* name : kRequiredFiles) {
    if (EntryFor(DistDir(), name).empty()) {
      m_host.ShowMessage(Formatted(texts::kIncompleteDistribution, DistDir(), name));
      return true;
    }
  }
  return false;
}

bool CInstallation::MakeDirectories() {
  bool made = false;
  std::string error;
  if (!EnsureDirectory(m_ops, InstallDir(), &made, &error)) {
    Failed(error);
    m_host.ShowMessage(texts::kCannotMakeDir);
    return false;
  }
  if (made && !EnsureDirectory(m_ops, InstallDir() + "/doc", nullptr, &error)) Failed(error);
  if (!EnsureDirectory(m_ops, InstallDir() + "/res", nullptr, &error)) {
    Failed(error);
    m_host.ShowMessage(texts::kCannotMakeDir);
    return false;
  }
  return true;
}

int CInstallation::InstallApp() {
  if (Refused()) return 0;
  if (!MakeDirectories()) return 0;
  m_errors.clear();  // a doc directory that could not be made is no failure
  m_host.HideWizardButtons();
  const uint32_t start = m_host.NowSec();
  int ok = InstallFiles();
  if (ok && m_choice.editStartup && !EditStartupFiles()) ok = 0;
  // The scripts are written whatever the outcome: the files that did move
  // are started by them.
  const std::string bin = BinDirOnDisk();
  if (!CreateBinKvrScript(bin + "/kvr")) ok = 0;
  if (!CreateBinKvrScript(bin + "/kivra")) ok = 0;
  if (!CreateBinKvrXTerm(bin + "/kvrterm")) ok = 0;
  while (m_host.NowSec() - start < kMinInstallSeconds) m_host.SleepSec(1);
  Progress(100);
  m_host.ShowMessage(ok && m_errors.empty() ? texts::kSucceeded : texts::kFailed);
  return 1;
}

void CInstallation::AskAboutOldLexicon() {
  m_keepLexicon = false;
  if (!PathExists(InstallDir() + "/CiZuFlat.igb")) return;
  FILE* f = std::fopen((InstallDir() + "/pycizudic.idx").c_str(), "rb");
  if (!f) return;
  const int first = std::fgetc(f);
  std::fclose(f);
  // The index of a lexicon that learned usage weights starts with its high
  // bit set.
  if (first == EOF || !(first & 0x80)) return;
  // Only an explicit No gives up what the user's lexicon learned.
  m_keepLexicon = m_host.AskYesNo(texts::kKeepOldLexicon) != 7;
}

void CInstallation::RemoveDerivedDictionaries() {
  for (const char* name : kDerivedDictionaries) {
    // The file itself and its sixteen variants: the engine names a variant
    // by four digits, one a fuzzy pair; "0000" is not written by it but may
    // be left from elsewhere.
    for (int bits = -1; bits < 16; ++bits) {
      std::string path = InstallDir() + "/" + name;
      if (bits >= 0) {
        char digits[8];
        std::snprintf(digits, sizeof digits, "%d%d%d%d", (bits >> 3) & 1, (bits >> 2) & 1,
                      (bits >> 1) & 1, bits & 1);
        path += digits;
      }
      if (m_ops.Unlink(path.c_str()) != 0 && errno != ENOENT)
        Failed(path + ": cannot remove it: " + std::strerror(errno));
    }
  }
}

int CInstallation::InstallFiles() {
  const size_t errorsBefore = m_errors.size();
  Progress(10);
  AskAboutOldLexicon();
  RemoveDerivedDictionaries();
  for (const char* name : {"pykeys.dic", "gbkflat.dic", "py_1key.dic", "Jux.rc", "resource.h"})
    InstallAFile(name);
  CopyFiles("res", nullptr);
  // The Chinese X fonts kvr draws with, and the notices of the data.
  for (const char* dir : {"fonts", "licenses"}) {
    if (!IsDirectory(DistDir() + "/" + dir)) continue;
    std::string error;
    if (EnsureDirectory(m_ops, InstallDir() + "/" + dir, nullptr, &error))
      CopyFiles(dir, nullptr);
    else
      Failed(error);
  }
  Progress(15);
  for (const MoveStep& step : DataSteps()) {
    for (const char* name : step.files) InstallAFile(name);
    Progress(step.progress);
  }
  if (!m_keepLexicon) InstallAFile("CiZuFlat.igb");
  Progress(45);
  for (const char* name : CharacterFiles()) InstallAFile(name);
  Progress(50);
  InstallAFile("KivramonteDemo.exe");
  Progress(55);
  Progress(65);
  if (!m_keepLexicon)
    for (const char* name : kLexiconIndexes) InstallAFile(name);
  Progress(70);
  for (const char* name : {"FAQ4DisplayHanzi.igb", "readme2hb.igb", "kvr"}) InstallAFile(name);
  for (const char* extension : {"htm", "jpg", "igb", "txt"}) CopyFiles(nullptr, extension);
  Progress(80);
  return m_errors.size() == errorsBefore ? 1 : 0;
}

int CInstallation::InstallAFile(const char* name) {
  const std::string entry = EntryFor(DistDir(), name);
  if (entry.empty()) return 1;  // not shipped: nothing to install
  std::string error;
  if (!MoveFileOver(m_ops, DistDir() + "/" + entry, InstallDir() + "/" + entry, &error)) {
    Failed(error);
    return 0;
  }
  return 1;
}

int CInstallation::CopyFiles(const char* subdir, const char* extension) {
  const std::string part = subdir ? std::string("/") + subdir : std::string();
  const std::string from = DistDir() + part;
  DIR* dir = opendir(from.c_str());
  if (!dir) return 1;
  std::vector<std::string> names;
  while (const dirent* e = readdir(dir)) {
    if (e->d_name[0] == '.') continue;
    if (extension && !HasExtension(e->d_name, extension)) continue;
    // The sweep by extension would take the store of a lexicon the user
    // keeps (CiZuFlat.igb) after all.
    if (!subdir && m_keepLexicon && IsLexiconFile(e->d_name)) continue;
    names.push_back(e->d_name);
  }
  closedir(dir);
  int ok = 1;
  for (const std::string& name : names) {
    // Directories at the top level are not files of the installation.
    if (!subdir && IsDirectory(from + "/" + name)) continue;
    std::string error;
    if (!MoveFileOver(m_ops, from + "/" + name, InstallDir() + part + "/" + name, &error)) {
      Failed(error);
      ok = 0;
    }
  }
  return ok;
}

}  // namespace installer
