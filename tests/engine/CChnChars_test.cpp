#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/CChnChars.h"
#include "engine/EngineHost.h"
#include "engine/formats/JiaMiJieMi.h"
#include "tests/engine/MiniDics.h"
#include "tests/engine/RecordingHost.h"
#include "tests/support/FileText.h"
#include "tests/support/TestPaths.h"

namespace {

bool Exists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

// The settings a profile without [Config] gives.
typInputSettings ProfileDefaults() {
  typInputSettings c{};
  c.InputMthd = kPinYin;
  c.StdPinYin = 1;
  c.NumberOfCandidatesShown = 10;
  c.useCizu = 1;
  c.ShowTip = c.ShowTipOnStatusbar = c.useFloatPromptPane = c.useZiCiForecast = 1;
  c.ExcludeLevel = 1000;
  c.UseChnPunctMark = c.FullSize = 1;
  c.ChnUI = 1;
  c.TipAtStart = 1;
  c.chc_fuzzy = c.zhz_fuzzy = c.shs_fuzzy = 1;
  return c;
}

// Each test works in its own copy of the mini dictionaries.
class EngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_host.dataDir = m_dir.Path() + "/";
    SetEngineHost(&m_host);
    cfgInputManager = ProfileDefaults();
    gbInitDone = 0;
  }
  void TearDown() override {
    dictionary.CloseDictionary();
    SetEngineHost(nullptr);
  }
  std::string Path(const char* name) const { return m_dir.File(name); }
  void Write(const char* name, const std::string& bytes) { minidics::Write(Path(name), bytes); }
  void Start() {
    dictionary.InitFirst();
    dictionary.InitDictionary();
  }
  void Restart() {
    dictionary.CloseDictionary();
    Start();
  }
  // The diagnostics the host received.
  std::vector<std::string> Diags() const { return m_host.Calls("diag "); }

  kvrtest::ScratchDir m_dir;
  RecordingHost m_host;
};

// Walks a loaded key list from the key's two-key bucket as a lookup does.
bool FoundFromBucket(const unsigned char* data, uint32_t len, const uint32_t* table, bool pyKeys,
                     int entryLen, const std::string& key) {
  uint32_t pos = table[CChnChars::GetArrPosForIndexVal(key.c_str())];
  while (pos < len && data[pos]) {
    const uint32_t start = pos;
    while (data[pos] && data[pos] < 0x80) ++pos;
    const std::string k(reinterpret_cast<const char*>(data + start), pos - start);
    if (k == key) return true;
    if (k > key) return false;
    if (pyKeys)
      pos += 4;
    else
      while (data[pos] & 0x80) pos += static_cast<uint32_t>(entryLen);
  }
  return false;
}

}  // namespace

TEST_F(EngineTest, InstalledMethodsFollowTheIndexFiles) {
  struct Case {
    const char* what;
    bool px, py;
    int method, useCizu;
    int wantMissing, wantMethod, wantUseCizu;
    bool wantPxTables, wantPyTables;
  } const cases[] = {
      {"both, pinyin", true, true, 1, 1, kBothInstalled, 1, 1, true, true},
      {"both, shape code", true, true, 0, 1, kBothInstalled, 0, 1, true, true},
      {"both, shape code without phrases", true, true, 0, 0, kBothInstalled, 0, 0, true, true},
      {"no pxcizudic.idx", false, true, 0, 0, kXingMaMissing, 1, 1, false, true},
      {"no pycizudic.idx", true, false, 1, 1, kPinYinMissing, 0, 1, true, false},
      {"neither", false, false, 0, 0, kXingMaMissing, 1, 1, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    minidics::Options o;
    o.xingMaIndex = c.px;
    o.pinYinIndex = c.py;
    remove(Path("pxcizudic.idx").c_str());
    remove(Path("pycizudic.idx").c_str());
    minidics::WriteAll(m_host.dataDir, o);
    cfgInputManager = ProfileDefaults();
    cfgInputManager.InputMthd = c.method;
    cfgInputManager.useCizu = c.useCizu;
    dictionary.CloseDictionary();
    Start();
    EXPECT_EQ(dictionary.m_nEngineMissing, c.wantMissing);
    EXPECT_EQ(cfgInputManager.InputMthd, c.wantMethod);
    EXPECT_EQ(cfgInputManager.useCizu, c.wantUseCizu);
    EXPECT_EQ(dictionary.m_mapCh2KeysPX.GetCount() > 0, c.wantPxTables);
    EXPECT_EQ(dictionary.m_pKey2Chs[kXingMa] != nullptr, c.wantPxTables);
    EXPECT_EQ(dictionary.m_pKey2ChsDic2->GetCount() > 0, c.wantPxTables);
    EXPECT_EQ(dictionary.m_mapCh2PYs.GetCount() > 0, c.wantPyTables);
    EXPECT_EQ(dictionary.m_pPyFlat != nullptr, c.wantPyTables);
    EXPECT_EQ(dictionary.m_pShouZiMuIdx != nullptr, c.wantPyTables);
    EXPECT_EQ(!dictionary.m_str1KeyPy[0].IsEmpty(), c.wantPyTables);
    // Only the current method's index is in memory, and only when wanted.
    const int m = c.wantMethod;
    const bool idxWanted = m == kPinYin || c.wantUseCizu;
    EXPECT_EQ(dictionary.m_pCiZuIdx[m] != nullptr, idxWanted && (m == kPinYin ? c.py : c.px));
    EXPECT_EQ(dictionary.m_pCiZuIdx[1 - m], nullptr);
    EXPECT_NE(dictionary.m_pCiZuFlat, nullptr);
    EXPECT_EQ(gbInitDone, 1);
    // Every table is sound: the page size matches the method.
    EXPECT_EQ(dictionary.m_nPageSize, m == kPinYin ? 10 : 8);
  }
}

TEST_F(EngineTest, UnreadableShapeCodeIndexSwitchesPhrasesOff) {
  minidics::WriteAll(m_host.dataDir);
  remove(Path("pxcizudic.idx").c_str());
  ASSERT_EQ(mkdir(Path("pxcizudic.idx").c_str(), 0755), 0);  // exists, cannot be read
  cfgInputManager.InputMthd = kXingMa;
  cfgInputManager.useCizu = 1;
  Start();
  EXPECT_EQ(dictionary.m_nEngineMissing, kBothInstalled);
  EXPECT_EQ(cfgInputManager.useCizu, 0);
  EXPECT_EQ(dictionary.m_pCiZuIdx[kXingMa], nullptr);
  EXPECT_EQ(dictionary.m_nCiZuIdxLen[kXingMa], 0u);
  bool named = false;
  for (const std::string& d : Diags())
    named |= d.find("pxcizudic.idx!!!(106)") != std::string::npos;
  EXPECT_TRUE(named);
}

TEST_F(EngineTest, PhraseStoreIsUnscrambledPerBlock) {
  minidics::WriteAll(m_host.dataDir);
  for (size_t n : {512u, 513u, 1025u}) {
    SCOPED_TRACE(n);
    std::string plain(n, '\0');
    for (size_t i = 0; i < n; ++i) plain[i] = static_cast<char>(i % 7 == 6 ? 0 : 0xB0 + i % 13);
    // Scrambled by the rule itself: byte i of a block with key byte i mod 55.
    std::string disk = plain;
    for (size_t i = 0; i < n; ++i) disk[i] = static_cast<char>(plain[i] ^ pattern[(i % 512) % 55]);
    Write("CiZuFlat.igb", disk);
    dictionary.InitFirst();
    ASSERT_EQ(dictionary.LoadFlatCizuDic(), 1);
    ASSERT_EQ(dictionary.m_nCiZuFlatLen, n);
    EXPECT_EQ(memcmp(dictionary.m_pCiZuFlat, plain.data(), n), 0);
    for (int i = 0; i < kPadBytes; ++i) ASSERT_EQ(dictionary.m_pCiZuFlat[n + i], 0);
  }
}

TEST_F(EngineTest, PhraseStoreRefusals) {
  struct Case {
    const char* what;
    bool present;
    size_t size;
    const char* diag;
  } const cases[] = {
      {"missing", false, 0, "!!!(101)"},
      {"empty", true, 0, "!!!(102)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    remove(Path("CiZuFlat.igb").c_str());
    if (c.present) Write("CiZuFlat.igb", std::string(c.size, 'x'));
    m_host.calls.clear();
    dictionary.InitFirst();
    EXPECT_EQ(dictionary.LoadFlatCizuDic(), 0);
    EXPECT_EQ(dictionary.m_pCiZuFlat, nullptr);
    EXPECT_EQ(dictionary.m_nCiZuFlatLen, 0u);
    ASSERT_EQ(Diags().size(), 1u);
    EXPECT_NE(Diags()[0].find(c.diag), std::string::npos) << Diags()[0];
  }
}

TEST_F(EngineTest, WeightedPinYinIndexIsDetectedByItsFirstByte) {
  for (bool weighted : {false, true}) {
    SCOPED_TRACE(weighted);
    minidics::Options o;
    o.weightedPinYin = weighted;
    minidics::WriteAll(m_host.dataDir, o);
    Restart();
    const unsigned char* idx = dictionary.m_pCiZuIdx[kPinYin];
    ASSERT_NE(idx, nullptr);
    EXPECT_EQ(dictionary.m_nCiZuIdxEntryLen[kPinYin], weighted ? 4 : 3);
    EXPECT_EQ(idx[0] >= 0x80, weighted) << "the header byte stays in the buffer";
    EXPECT_EQ(dictionary.m_nCiZuIdxLen[kPinYin],
              kvrtest::ReadFileText(Path("pycizudic.idx")).size());
    // Every phrase of the index is found from its bucket, offsets counted
    // after the header byte.
    const unsigned char* records = idx + (weighted ? 1 : 0);
    for (const minidics::Phrase& p : minidics::Phrases())
      EXPECT_TRUE(FoundFromBucket(records, dictionary.m_nCiZuIdxLen[kPinYin],
                                  dictionary.m_pCiZuIdx2Keys[kPinYin], false, weighted ? 4 : 3,
                                  p.pyKey))
          << p.pyKey;
  }
}

TEST_F(EngineTest, EveryKeyListIsFoundFromItsTwoKeyTable) {
  minidics::WriteAll(m_host.dataDir);
  Start();
  const auto& syl = minidics::Syllables();
  for (const std::string& s : syl)
    EXPECT_TRUE(FoundFromBucket(dictionary.m_pKey2Chs[kPinYin], dictionary.m_nKey2ChsLen[kPinYin],
                                dictionary.m_pZiIdx2Keys[kPinYin], true, 4, s))
        << s;
  for (size_t i = 0; i < syl.size(); ++i)
    for (int j = 0; j < minidics::kCharsPerSyllable; ++j)
      EXPECT_TRUE(FoundFromBucket(dictionary.m_pKey2Chs[kXingMa], dictionary.m_nKey2ChsLen[kXingMa],
                                  dictionary.m_pZiIdx2Keys[kXingMa], false, 2,
                                  minidics::ShapeCode(i, j)));
  for (const minidics::Phrase& p : minidics::Phrases())
    EXPECT_TRUE(FoundFromBucket(dictionary.m_pShouZiMuIdx, dictionary.m_nShouZiMuIdxLen,
                                dictionary.m_pShouZiMuIdx2Keys, false, 4, p.initials))
        << p.initials;
  // Switching to shape code in Chinese input loads its index in its place.
  cfgInputManager.InputMthd = kXingMa;
  EXPECT_EQ(dictionary.ReLoadCizuDics(0), 1);
  ASSERT_NE(dictionary.m_pCiZuIdx[kXingMa], nullptr);
  EXPECT_EQ(dictionary.m_pCiZuIdx[kPinYin], nullptr);
  for (const minidics::Phrase& p : minidics::Phrases())
    EXPECT_TRUE(FoundFromBucket(dictionary.m_pCiZuIdx[kXingMa], dictionary.m_nCiZuIdxLen[kXingMa],
                                dictionary.m_pCiZuIdx2Keys[kXingMa], false, 3, p.pxKey));
}

TEST_F(EngineTest, LoadedTablesHoldWhatTheGeneratorWrote) {
  minidics::WriteAll(m_host.dataDir);
  Start();
  const std::string ch = minidics::Char(2, 1);
  const uint16_t key =
      static_cast<uint16_t>(static_cast<uint8_t>(ch[0]) | (static_cast<uint8_t>(ch[1]) << 8));
  int32_t rank = 0;
  ASSERT_TRUE(dictionary.m_mapCh2Usage.Lookup(key, rank));
  EXPECT_EQ(rank, 2 * 3 + 1 + 1);
  CStringArray codes;
  ASSERT_TRUE(dictionary.m_mapCh2KeysPX.Lookup(key, codes));
  EXPECT_STREQ(codes[0], minidics::ShapeCode(2, 1).c_str());
  ASSERT_TRUE(dictionary.m_mapCh2KeysPY.Lookup(key, codes));
  EXPECT_STREQ(codes[0], "an");
  typArrPYs pys;
  ASSERT_TRUE(dictionary.m_mapCh2PYs.Lookup(key, pys));
  EXPECT_STREQ(pys.readings[0], "an");
  EXPECT_EQ(pys.tones[0], (1 << 1) | (1 << 4));  // tones 2 and 5
  typArrPYsDiaoInOrder ordered;
  ASSERT_TRUE(dictionary.m_mapCh2PYsDiaoInOrder.Lookup(key, ordered));
  EXPECT_EQ(ordered.tones[0], 2 | (5 << 3));
  CString sole;
  ASSERT_TRUE(dictionary.m_pKey2ChsDic2->Lookup((minidics::ShapeCode(2, 1) + "z").c_str(), sole));
  EXPECT_STREQ(sole, ch.c_str());
  EXPECT_STREQ(dictionary.m_str1KeyPy[0],
               (minidics::Char(3, 0) + minidics::Char(3, 1) + minidics::Char(4, 0)).c_str());
  EXPECT_STREQ(dictionary.m_str1KeyPy['z' - 'b'], minidics::Char(22, 0).c_str());
  EXPECT_TRUE(Diags().empty()) << Diags()[0];
}

TEST_F(EngineTest, FirstStartWritesTheLearnedOrderOnceAsThreeByteEntries) {
  minidics::WriteAll(m_host.dataDir);
  const std::string gbk = kvrtest::ReadFileText(Path("gbkflat.dic"));
  ASSERT_FALSE(Exists(Path("flatAuto.dic")));
  Start();
  const std::string learned = kvrtest::ReadFileText(Path("flatAuto.dic"));
  ASSERT_EQ(learned.size(), gbk.size() / 2 * 3 + 1);
  for (size_t i = 0; i < gbk.size() / 2; ++i) {
    EXPECT_EQ(learned.substr(i * 3, 2), gbk.substr(i * 2, 2));
    EXPECT_EQ(learned[i * 3 + 2], 0);
  }
  EXPECT_EQ(learned.back(), 0);
  EXPECT_EQ(dictionary.m_nPyFlatEntryLen, 3);
  EXPECT_EQ(dictionary.m_bPyFlatDirty, 0);
  EXPECT_FALSE(Exists(Path("flatAuto.dic.tmp")));

  // A second start reads it as it is; a learned weight survives.
  std::string weighted = learned;
  weighted[5] = 9;
  Write("flatAuto.dic", weighted);
  Restart();
  EXPECT_EQ(dictionary.m_nPyFlatLen, weighted.size());
  EXPECT_EQ(dictionary.m_pPyFlat[5], 9);
  EXPECT_EQ(kvrtest::ReadFileText(Path("flatAuto.dic")), weighted) << "not rewritten";

  // Learning marks it dirty; close writes it back.
  dictionary.m_pPyFlat[8] = 4;
  dictionary.m_bPyFlatDirty = 1;
  dictionary.CloseDictionary();
  EXPECT_EQ(kvrtest::ReadFileText(Path("flatAuto.dic"))[8], 4);
}

TEST_F(EngineTest, FixedAndManualOrdersKeepTwoByteEntries) {
  minidics::WriteAll(m_host.dataDir);
  for (int order : {1, 2}) {
    SCOPED_TRACE(order);
    cfgInputManager.candidateOrderChoice = order;
    Restart();
    EXPECT_EQ(dictionary.m_nPyFlatEntryLen, 2);
    EXPECT_EQ(dictionary.m_nPyFlatLen, kvrtest::ReadFileText(Path("gbkflat.dic")).size());
    EXPECT_EQ(Exists(Path("flatAdjust.dic")), order == 2)
        << "the manual order is made from gbkflat.dic";
    EXPECT_FALSE(Exists(Path("flatAuto.dic")));
  }
}

struct FailingOps : IFileOps {
  int Create(const char* p) override { return SystemFileOps().Create(p); }
  ssize_t Write(int fd, const void* d, size_t n) override {
    return SystemFileOps().Write(fd, d, n);
  }
  int Fchmod(int fd, mode_t m) override { return SystemFileOps().Fchmod(fd, m); }
  int Fsync(int fd) override { return SystemFileOps().Fsync(fd); }
  int Close(int fd) override { return SystemFileOps().Close(fd); }
  int Rename(const char*, const char*) override {
    errno = EIO;
    return -1;
  }
  int SyncDir(const char* d) override { return SystemFileOps().SyncDir(d); }
  int Remove(const char* p) override { return SystemFileOps().Remove(p); }
};

TEST_F(EngineTest, AFailedSaveLeavesTheOldLearnedOrderAndStaysDirty) {
  minidics::WriteAll(m_host.dataDir);
  Start();
  const std::string before = kvrtest::ReadFileText(Path("flatAuto.dic"));
  FailingOps failing;
  m_host.fileOps = &failing;
  dictionary.m_pPyFlat[2] = 7;
  dictionary.m_bPyFlatDirty = 1;
  EXPECT_EQ(dictionary.SavePyDic(), 0);
  EXPECT_EQ(kvrtest::ReadFileText(Path("flatAuto.dic")), before);
  EXPECT_EQ(dictionary.m_bPyFlatDirty, 1);
  m_host.fileOps = &SystemFileOps();
  EXPECT_EQ(dictionary.SavePyDic(), 1);
  EXPECT_EQ(kvrtest::ReadFileText(Path("flatAuto.dic"))[2], 7);
  EXPECT_EQ(dictionary.m_bPyFlatDirty, 0);
}

TEST_F(EngineTest, AFailedFirstSaveLeavesNoNarrowLearnedFile) {
  minidics::WriteAll(m_host.dataDir);
  FailingOps failing;
  m_host.fileOps = &failing;
  Start();
  EXPECT_FALSE(Exists(Path("flatAuto.dic")));
  EXPECT_EQ(dictionary.m_nPyFlatEntryLen, 3);
  EXPECT_EQ(dictionary.m_bPyFlatDirty, 1) << "kept for the next save";
  m_host.fileOps = &SystemFileOps();
  dictionary.CloseDictionary();
  EXPECT_EQ(kvrtest::ReadFileText(Path("flatAuto.dic")).size(),
            kvrtest::ReadFileText(Path("gbkflat.dic")).size() / 2 * 3 + 1);
}

TEST_F(EngineTest, SaveAfterAnOrderChangeWritesWhereTheListCameFrom) {
  minidics::WriteAll(m_host.dataDir);
  Start();
  dictionary.m_pPyFlat[2] = 5;
  dictionary.m_bPyFlatDirty = 1;
  // The option dialog stores the new order, then saves, then reloads.
  cfgInputManager.candidateOrderChoice = 1;
  EXPECT_EQ(dictionary.SavePyDic(), 1);
  EXPECT_EQ(kvrtest::ReadFileText(Path("flatAuto.dic"))[2], 5);
  dictionary.InitKey2ChsDicPY();
  EXPECT_EQ(dictionary.m_nPyFlatEntryLen, 2);
  // The fixed list is never written.
  dictionary.m_bPyFlatDirty = 1;
  EXPECT_EQ(dictionary.SavePyDic(), 0);
  EXPECT_EQ(kvrtest::ReadFileText(Path("gbkflat.dic")).size(), 24u * 3 * 2);
}

TEST_F(EngineTest, FuzzySuffix) {
  struct Case {
    int fuzzy, zh, ch, sh, lr;
    const char* want;
  } const cases[] = {{0, 1, 1, 1, 1, ""},
                     {1, 1, 1, 1, 0, "1110"},
                     {1, 0, 1, 0, 1, "0101"},
                     {1, 0, 0, 0, 0, "0000"}};
  for (const Case& c : cases) {
    cfgInputManager.fuzziPY = c.fuzzy;
    cfgInputManager.zhz_fuzzy = c.zh;
    cfgInputManager.chc_fuzzy = c.ch;
    cfgInputManager.shs_fuzzy = c.sh;
    cfgInputManager.lr_fuzzy = c.lr;
    CString ext;
    EXPECT_EQ(dictionary.GetPyDicExt(ext), 1);
    EXPECT_STREQ(ext, c.want);
  }
}

TEST_F(EngineTest, PageSizeFromAProfileIsClamped) {
  minidics::WriteAll(m_host.dataDir);
  struct Case {
    int32_t stored, want;
  } const cases[] = {{0, 2}, {-3, 2}, {11, 10}, {6, 6}};
  for (const Case& c : cases) {
    cfgInputManager.NumberOfCandidatesShown = c.stored;
    Restart();
    EXPECT_EQ(dictionary.m_nPageSize, c.want) << c.stored;
    EXPECT_EQ(cfgInputManager.NumberOfCandidatesShown, c.want);
  }
}

TEST_F(EngineTest, SecondInitFirstChangesNothing) {
  minidics::WriteAll(m_host.dataDir);
  Start();
  dictionary.m_nCurPage = 3;
  dictionary.m_strEngKeys = "abc";
  unsigned char* flat = dictionary.m_pPyFlat;
  cfgInputManager.InputMthd = kXingMa;
  dictionary.InitFirst();
  EXPECT_EQ(dictionary.m_nCurPage, 3);
  EXPECT_STREQ(dictionary.m_strEngKeys, "abc");
  EXPECT_EQ(dictionary.m_pPyFlat, flat);
  EXPECT_EQ(cfgInputManager.InputMthd, kXingMa);
}

TEST_F(EngineTest, EnglishInputKeepsNoPhraseIndex) {
  minidics::WriteAll(m_host.dataDir);
  Start();
  ASSERT_NE(dictionary.m_pCiZuIdx[kPinYin], nullptr);
  cfgInputManager.InputMode = kEnglishInput;
  EXPECT_EQ(dictionary.ReLoadCizuDics(0), 1);
  EXPECT_EQ(dictionary.m_pCiZuIdx[kPinYin], nullptr);
  EXPECT_EQ(dictionary.m_pCiZuIdx2Keys[kPinYin], nullptr);
  EXPECT_NE(dictionary.m_pCiZuFlat, nullptr) << "the store stays";
  EXPECT_EQ(dictionary.ReLoadCizuDics(1), 1);
  EXPECT_EQ(dictionary.m_pCiZuFlat, nullptr) << "with withStore the store goes too";
  cfgInputManager.InputMode = kChineseInput;
  EXPECT_EQ(dictionary.ReLoadCizuDics(1), 1);
  EXPECT_NE(dictionary.m_pCiZuFlat, nullptr);
  EXPECT_NE(dictionary.m_pCiZuIdx[kPinYin], nullptr);
}

TEST_F(EngineTest, CloseReleasesEverything) {
  minidics::WriteAll(m_host.dataDir);
  Start();
  dictionary.CloseDictionary();
  EXPECT_EQ(gbInitDone, 0);
  for (int m = 0; m < 2; ++m) {
    EXPECT_EQ(dictionary.m_pCiZuIdx[m], nullptr);
    EXPECT_EQ(dictionary.m_pCiZuIdx2Keys[m], nullptr);
    EXPECT_EQ(dictionary.m_pZiIdx2Keys[m], nullptr);
    EXPECT_EQ(dictionary.m_pKey2Chs[m], nullptr);
  }
  EXPECT_EQ(dictionary.m_pCiZuFlat, nullptr);
  EXPECT_EQ(dictionary.m_pPyFlat, nullptr);
  EXPECT_EQ(dictionary.m_pShouZiMuIdx, nullptr);
  EXPECT_EQ(dictionary.m_pShouZiMuIdx2Keys, nullptr);
  EXPECT_EQ(dictionary.m_pKey2ChsDic2, nullptr);
  dictionary.CloseDictionary();  // twice is harmless
  Start();                       // and the engine starts again
  EXPECT_EQ(gbInitDone, 1);
}

TEST_F(EngineTest, StateAfterStart) {
  minidics::WriteAll(m_host.dataDir);
  Start();
  EXPECT_EQ(dictionary.m_pBusyMarker, nullptr);
  EXPECT_EQ(reinterpret_cast<void*>(&dictionary.m_pBusyMarker),
            reinterpret_cast<void*>(&dictionary))
      << "the busy marker is the first field";
  EXPECT_EQ(dictionary.m_lastCommit.kind, kFatNone);
  EXPECT_EQ(dictionary.m_nReSelState, -1);
  EXPECT_EQ(dictionary.m_nReSelIndex, -1);
  EXPECT_EQ(dictionary.m_nForecastMatchEnd, -1);
  EXPECT_EQ(dictionary.m_bDoubleQuoteOpen, 1);
  EXPECT_EQ(dictionary.m_bSingleQuoteOpen, 1);
  EXPECT_EQ(dictionary.m_bModalBox, 0);
  EXPECT_EQ(dictionary.m_pModalBox, nullptr);
  EXPECT_EQ(dictionary.m_tmCiKuChanged, 0u);
  EXPECT_STREQ(gszBiHuaMa, "-=[];");
  EXPECT_STREQ(dictionary.m_strCiZuFlatPath, (m_host.dataDir + "CiZuFlat.igb").c_str());
  EXPECT_STREQ(dictionary.m_strShouZiMuIdxPath, (m_host.dataDir + "py2_3ZiCi1stZuMu.idx").c_str());
}

TEST_F(EngineTest, NoFuzzyListIsLeftWithoutItsSyllables) {
  minidics::WriteAll(m_host.dataDir);
  cfgInputManager.fuzziPY = 1;  // pairs zh, ch, sh on, l/r off: suffix 1110
  for (int order : {0, 1, 2}) {
    SCOPED_TRACE(order);
    cfgInputManager.candidateOrderChoice = order;
    Restart();
    const char* lists[] = {"flatAuto.dic1110", "gbkflat.dic1110", "flatAdjust.dic1110"};
    const bool listMade = Exists(Path(lists[order]));
    EXPECT_EQ(listMade, Exists(Path("pykeys.dic1110")));
    EXPECT_EQ(dictionary.m_pPyFlat != nullptr, listMade);
    EXPECT_FALSE(Exists(Path("flatAuto.dic1110.narrow")));
  }
}

TEST_F(EngineTest, AListThatCannotBeLoadedLeavesNoCharacters) {
  minidics::WriteAll(m_host.dataDir);
  cfgInputManager.candidateOrderChoice = 1;
  Start();
  ASSERT_NE(dictionary.m_pPyFlat, nullptr);
  for (const char* broken : {"gbkflat.dic", "pykeys.dic"}) {
    SCOPED_TRACE(broken);
    const std::string good = kvrtest::ReadFileText(Path(broken));
    Write(broken, good.substr(0, 50));
    EXPECT_EQ(dictionary.InitKey2ChsDicPY(), 0);
    EXPECT_EQ(dictionary.m_pPyFlat, nullptr);
    EXPECT_EQ(dictionary.m_nPyFlatLen, 0u);
    EXPECT_EQ(dictionary.m_pKey2Chs[kPinYin], nullptr);
    Write(broken, good);
    EXPECT_EQ(dictionary.InitKey2ChsDicPY(), 1);
  }
}

TEST_F(EngineTest, AReadOnlyLearnedOrderIsStillSaved) {
  minidics::WriteAll(m_host.dataDir);
  Start();
  ASSERT_EQ(chmod(Path("flatAuto.dic").c_str(), 0444), 0);
  dictionary.m_pPyFlat[2] = 3;
  dictionary.m_bPyFlatDirty = 1;
  EXPECT_EQ(dictionary.SavePyDic(), 1);
  EXPECT_EQ(kvrtest::ReadFileText(Path("flatAuto.dic"))[2], 3);
}

TEST_F(EngineTest, TheCharacterOrderDialogHandsOverItsList) {
  minidics::WriteAll(m_host.dataDir);
  cfgInputManager.candidateOrderChoice = 2;
  Start();
  // The dialog's edited list: the first 30 characters, in reverse order.
  const std::string gbk = kvrtest::ReadFileText(Path("gbkflat.dic"));
  std::string edited;
  for (int i = 29; i >= 0; --i) edited += gbk.substr(static_cast<size_t>(i) * 2, 2);
  auto* buf = static_cast<unsigned char*>(malloc(edited.size()));
  memcpy(buf, edited.data(), edited.size());
  dictionary.AdoptPyFlat(buf, static_cast<uint32_t>(edited.size()));
  ASSERT_EQ(dictionary.m_nPyFlatLen, edited.size());
  EXPECT_EQ(memcmp(dictionary.m_pPyFlat, edited.data(), edited.size()), 0);
  for (int i = 0; i < kPadBytes; ++i)
    ASSERT_EQ(dictionary.m_pPyFlat[edited.size() + static_cast<size_t>(i)], 0);
  EXPECT_EQ(dictionary.m_nPyFlatEntryLen, 2);
  EXPECT_EQ(dictionary.PyFlatChars(), 30u);
  // Syllables whose runs lie past the shorter list were cut, and said so.
  bool cut = false;
  for (const std::string& d : Diags()) cut |= d.find("pykeys.dic") != std::string::npos;
  EXPECT_TRUE(cut);
}
