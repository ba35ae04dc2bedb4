// Damaged dictionaries: every file the engine loads at start-up, cut short,
// filled with 0xFF or with its counts made huge. The engine must start, keep
// every run it hands on inside its buffers and never read past them (this
// test is meant to run under ASan and UBSan too).
#include <gtest/gtest.h>

#include <iterator>
#include <string>

#include "engine/CChnChars.h"
#include "engine/EngineHost.h"
#include "engine/lexicon/DependMaps.h"
#include "tests/engine/MiniDics.h"
#include "tests/engine/RecordingHost.h"
#include "tests/support/FileText.h"
#include "tests/support/TestPaths.h"

namespace {

using Damage = std::string (*)(const std::string&);
std::string Empty(const std::string&) { return ""; }
std::string OneByte(const std::string& s) { return s.substr(0, 1); }
std::string Half(const std::string& s) { return s.substr(0, s.size() / 2); }
std::string AllButOne(const std::string& s) { return s.substr(0, s.size() - 1); }
std::string AllFF(const std::string& s) { return std::string(s.size(), '\xff'); }
// Every 7th byte 0xFF: counts, lengths and lead bytes all get hit somewhere.
std::string Speckled(const std::string& s) {
  std::string d = s;
  for (size_t i = 3; i < d.size(); i += 7) d[i] = '\xff';
  return d;
}
// The leading count (or version and count) made huge.
std::string HugeHead(const std::string& s) {
  std::string d = s;
  for (size_t i = 0; i < d.size() && i < 6; ++i) d[i] = '\xff';
  return d;
}

// Reads every character that a pinyin syllable's run names, as a lookup
// does, and every phrase an index entry names; returns the bytes touched so
// the reads are not optimised away.
unsigned WalkEverything() {
  unsigned sum = 0;
  const unsigned char* keys = dictionary.m_pKey2Chs[kPinYin];
  if (keys && dictionary.m_pPyFlat) {
    for (uint32_t pos = 0; pos < dictionary.m_nKey2ChsLen[kPinYin] && keys[pos];) {
      while (keys[pos] && keys[pos] < 0x80) ++pos;
      if (!keys[pos]) break;
      const uint32_t count = ((keys[pos] & 0x7F) << 8) | keys[pos + 1];
      const uint32_t start = keys[pos + 2] | (keys[pos + 3] << 8);
      if (count > 0) {
        EXPECT_LE(start + count, dictionary.PyFlatChars());
      }
      for (uint32_t i = 0; i < count; ++i)
        sum +=
            dictionary.m_pPyFlat[(start + i) * static_cast<uint32_t>(dictionary.m_nPyFlatEntryLen)];
      pos += 4;
    }
  }
  for (int m = 0; m < 2; ++m) {
    const unsigned char* idx = dictionary.m_pCiZuIdx[m];
    if (!idx) continue;
    const uint32_t width = dictionary.m_nCiZuIdxEntryLen[m];
    for (uint32_t pos = width == 4 ? 1 : 0; pos < dictionary.m_nCiZuIdxLen[m] && idx[pos];) {
      if (idx[pos] & 0x80) {
        CString text;
        FatFmt2NmlChar(typCharFatFmt::Phrase(idx + pos, 0), text);
        sum += static_cast<unsigned>(text.GetLength());
        pos += width;
      } else {
        ++pos;
      }
    }
  }
  return sum;
}

// A fresh start with settings of a new profile, the given method and order.
void StartFresh(int method, int order) {
  cfgInputManager = typInputSettings{};
  cfgInputManager.InputMthd = method;
  cfgInputManager.candidateOrderChoice = order;
  cfgInputManager.useCizu = 1;
  cfgInputManager.NumberOfCandidatesShown = 10;
  dictionary.InitFirst();
  dictionary.InitDictionary();
}

}  // namespace

TEST(CorruptDics, TheEngineStartsWithAnyFileDamaged) {
  const char* files[] = {"CiZuFlat.igb", "pycizudic.idx", "pxcizudic.idx", "py2_3ZiCi1stZuMu.idx",
                         "gbkflat.dic",  "pykeys.dic",    "chdicres.bin",  "ch2key.bin",
                         "ch2py.bin",    "ch2pypz1.bin",  "ch2pypz2.bin",  "chndic2.bin",
                         "sort.dic",     "py_1key.dic"};
  const struct {
    const char* name;
    Damage damage;
  } damages[] = {{"empty", Empty},           {"one byte", OneByte}, {"half", Half},
                 {"all but one", AllButOne}, {"all 0xFF", AllFF},   {"speckled", Speckled},
                 {"huge head", HugeHead}};
  kvrtest::ScratchDir dir;
  RecordingHost host;
  host.dataDir = dir.Path() + "/";
  SetEngineHost(&host);
  minidics::WriteAll(host.dataDir);
  for (const char* file : files) {
    const std::string good = kvrtest::ReadFileText(dir.File(file));
    for (const auto& d : damages) {
      for (int method : {kPinYin, kXingMa}) {
        SCOPED_TRACE(std::string(file) + ", " + d.name + ", method " + std::to_string(method));
        minidics::Write(dir.File(file), d.damage(good));
        remove(dir.File("flatAuto.dic").c_str());
        StartFresh(method, 0);
        EXPECT_EQ(gbInitDone, 1);
        WalkEverything();
        dictionary.CloseDictionary();
      }
    }
    minidics::Write(dir.File(file), good);
  }
  SetEngineHost(nullptr);
}

TEST(CorruptDics, SyllableRunsPastTheCharacterListAreCut) {
  kvrtest::ScratchDir dir;
  RecordingHost host;
  host.dataDir = dir.Path() + "/";
  SetEngineHost(&host);
  minidics::WriteAll(host.dataDir);
  // The list keeps only its first 60 characters: the runs of the last
  // syllables point past it.
  const std::string flat = kvrtest::ReadFileText(dir.File("gbkflat.dic"));
  minidics::Write(dir.File("gbkflat.dic"), flat.substr(0, 120));
  StartFresh(kPinYin, 1);
  EXPECT_EQ(dictionary.PyFlatChars(), 60u);
  WalkEverything();
  bool reported = false;
  for (const std::string& c : host.Calls("diag "))
    reported |= c.find("pykeys.dic") != std::string::npos;
  EXPECT_TRUE(reported);
  dictionary.CloseDictionary();
  SetEngineHost(nullptr);
}

// The files the engine writes itself: the learned order and the association
// maps. Damaged, they load as far as they hold, and a start and a close with
// nothing learned leave them as they are.
TEST(CorruptDics, LearnedFilesDamagedLoadAndStayAsTheyAre) {
  kvrtest::ScratchDir dir;
  RecordingHost host;
  host.dataDir = dir.Path() + "/";
  SetEngineHost(&host);
  minidics::WriteAll(host.dataDir);
  StartFresh(kPinYin, 0);  // makes flatAuto.dic
  dictionary.CloseDictionary();
  minidics::Write(dir.File("depend1.map"),
                  dependmap::Write({{0xD0D6, {0xFAB9, 0x80000001u}}, {0xCBC8, {1, 2}}}, false));
  minidics::Write(dir.File("depend2.map"),
                  dependmap::Write({{0x80000001u, {0xCBC8}}, {0x80000009u, {3, 4, 5}}}, true));
  const Damage damages[] = {Empty, OneByte, Half, AllButOne, AllFF, Speckled, HugeHead};
  for (const char* file : {"flatAuto.dic", "depend1.map", "depend2.map"}) {
    const std::string good = kvrtest::ReadFileText(dir.File(file));
    ASSERT_FALSE(good.empty()) << file;
    for (size_t d = 0; d < std::size(damages); ++d) {
      SCOPED_TRACE(std::string(file) + ", damage " + std::to_string(d));
      const std::string bad = damages[d](good);
      minidics::Write(dir.File(file), bad);
      StartFresh(kPinYin, 0);
      EXPECT_EQ(gbInitDone, 1);
      WalkEverything();
      dictionary.CloseDictionary();
      EXPECT_EQ(kvrtest::ReadFileText(dir.File(file)), bad);
    }
    minidics::Write(dir.File(file), good);
  }
  SetEngineHost(nullptr);
}
