// The engine loads what the data generator ships: the real dictionaries of
// the distribution directory and the tiny fixture built from text. Counts
// are checked against the generator's own reader of the formats
// (engine/formats/PhraseStoreFormat.h); every key of every sorted list must be
// reachable from its two-key bucket.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <map>
#include <string>
#include <vector>

#include "engine/CChnChars.h"
#include "engine/EngineHost.h"
#include "engine/formats/PhraseStoreFormat.h"
#include "tests/engine/RecordingHost.h"
#include "tests/support/FileText.h"
#include "tests/support/TestPaths.h"

namespace {

const char* const kDataFiles[] = {"CiZuFlat.igb",  "pycizudic.idx", "py2_3ZiCi1stZuMu.idx",
                                  "pxcizudic.idx", "chdicres.bin",  "pykeys.dic",
                                  "gbkflat.dic",   "ch2pypz1.bin",  "ch2pypz2.bin",
                                  "ch2key.bin",    "ch2py.bin",     "chndic2.bin",
                                  "sort.dic",      "py_1key.dic",   "bihuaku.bin",
                                  "vmodewords.dic"};

// Walks the records of a loaded key list once and counts those a lookup
// reaches from its key's two-key bucket: the bucket must point at the start
// of a record, at or before the key's own record, whose key is not greater
// (the list is sorted, so the walk from there meets the key).
size_t ReachableKeys(const unsigned char* data, uint32_t len, const uint32_t* table, bool pyKeys,
                     int entryLen, size_t* records) {
  std::map<uint32_t, std::string> keyAt;
  uint32_t pos = 0;
  while (pos < len && data[pos]) {
    const uint32_t start = pos;
    while (data[pos] && data[pos] < 0x80) ++pos;
    keyAt[start] = std::string(reinterpret_cast<const char*>(data + start), pos - start);
    if (pyKeys) {
      pos += 4;
    } else {
      while (data[pos] & 0x80) pos += static_cast<uint32_t>(entryLen);
    }
  }
  size_t reachable = 0;
  for (const auto& [offset, key] : keyAt) {
    const uint32_t from = table[CChnChars::GetArrPosForIndexVal(key.c_str())];
    const auto it = keyAt.find(from);
    reachable += from <= offset && it != keyAt.end() && it->second <= key;
  }
  *records = keyAt.size();
  return reachable;
}

// The syllables of a pykeys.dic image.
std::vector<std::string> Syllables(const std::string& img) {
  std::vector<std::string> out;
  size_t pos = 0;
  while (pos < img.size() && img[pos]) {
    const size_t start = pos;
    while (pos < img.size() && img[pos] > 0) ++pos;
    out.push_back(img.substr(start, pos - start));
    pos += 4;
  }
  return out;
}

class GeneratedDics : public ::testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
    const std::string from = GetParam();
    for (const char* f : kDataFiles) {
      const std::string bytes = kvrtest::ReadFileText(from + "/" + f);
      ASSERT_FALSE(bytes.empty()) << from << "/" << f << " is missing: build the data first";
      kvrtest::WriteFileText(m_dir.File(f), bytes);
    }
    m_host.dataDir = m_dir.Path() + "/";
    SetEngineHost(&m_host);
    cfgInputManager = typInputSettings{};
    cfgInputManager.InputMthd = kPinYin;
    cfgInputManager.useCizu = 1;
    cfgInputManager.NumberOfCandidatesShown = 10;
    gbInitDone = 0;
    dictionary.InitFirst();
    dictionary.InitDictionary();
  }
  void TearDown() override {
    dictionary.CloseDictionary();
    SetEngineHost(nullptr);
  }
  std::string Image(const char* name) const { return kvrtest::ReadFileText(m_dir.File(name)); }

  // Every record of the loaded index of method is found from its bucket and
  // every entry names a phrase of the store.
  void CheckIndex(typInputMethod method, const char* file) {
    const std::string img = Image(file);
    const bool weighted = method == kPinYin && !img.empty() && (img[0] & 0x80);
    const int width = weighted ? 4 : 3;
    std::vector<phrasestore::IndexRecord> recs;
    std::string error;
    ASSERT_TRUE(phrasestore::ReadIndex(img, width, weighted, recs, error)) << error;
    ASSERT_GT(recs.size(), 0u);
    ASSERT_EQ(dictionary.m_nCiZuIdxEntryLen[method], width);
    ASSERT_EQ(dictionary.m_nCiZuIdxLen[method], img.size());
    const unsigned char* records = dictionary.m_pCiZuIdx[method] + (weighted ? 1 : 0);
    size_t walked = 0;
    EXPECT_EQ(ReachableKeys(records, dictionary.m_nCiZuIdxLen[method],
                            dictionary.m_pCiZuIdx2Keys[method], false, width, &walked),
              recs.size())
        << file;
    EXPECT_EQ(walked, recs.size()) << file;
    size_t phrases = 0;
    for (const phrasestore::IndexRecord& r : recs) {
      for (const phrasestore::IndexEntry& e : r.entries) {
        CString text;
        FatFmt2NmlChar(typCharFatFmt::PhraseAt(e.offset), text);
        phrases += !text.IsEmpty();
      }
    }
    size_t entries = 0;
    for (const auto& r : recs) entries += r.entries.size();
    EXPECT_EQ(phrases, entries) << file;
  }

  kvrtest::ScratchDir m_dir;
  RecordingHost m_host;
};

}  // namespace

TEST_P(GeneratedDics, LoadsWhole) {
  EXPECT_EQ(gbInitDone, 1);
  EXPECT_EQ(dictionary.m_nEngineMissing, kBothInstalled);
  EXPECT_TRUE(m_host.Calls("diag ").empty()) << m_host.Calls("diag ")[0];
  EXPECT_EQ(dictionary.m_nCiZuFlatLen, Image("CiZuFlat.igb").size());

  // Pinyin: the phrase index, the syllables and the learned order made at
  // this first start.
  CheckIndex(kPinYin, "pycizudic.idx");
  const std::vector<std::string> syl = Syllables(Image("pykeys.dic"));
  ASSERT_GT(syl.size(), 0u);
  size_t walked = 0;
  EXPECT_EQ(ReachableKeys(dictionary.m_pKey2Chs[kPinYin], dictionary.m_nKey2ChsLen[kPinYin],
                          dictionary.m_pZiIdx2Keys[kPinYin], true, 4, &walked),
            syl.size());
  EXPECT_EQ(walked, syl.size());
  // The learned order: every character of gbkflat.dic up to its first zero
  // (short lists are padded with zeros to the minimum size), widened.
  const std::string gbk = Image("gbkflat.dic");
  size_t gbkChars = 0;
  while (gbkChars * 2 + 1 < gbk.size() && gbk[gbkChars * 2] != 0) ++gbkChars;
  EXPECT_EQ(dictionary.PyFlatChars(), gbkChars);
  EXPECT_EQ(Image("flatAuto.dic").size(), gbkChars * 3 + 1);
  // The shape-code character list.
  EXPECT_EQ(ReachableKeys(dictionary.m_pKey2Chs[kXingMa], dictionary.m_nKey2ChsLen[kXingMa],
                          dictionary.m_pZiIdx2Keys[kXingMa], false, 2, &walked),
            walked);
  EXPECT_GT(walked, 0u);

  // Per-character tables: as many characters as the files' headers say.
  const std::string ch2key = Image("ch2key.bin");
  EXPECT_EQ(dictionary.m_mapCh2KeysPX.GetCount(),
            static_cast<uint8_t>(ch2key[0]) | (static_cast<uint8_t>(ch2key[1]) << 8));
  const std::string ch2py = Image("ch2py.bin");
  EXPECT_EQ(dictionary.m_mapCh2KeysPY.GetCount(),
            static_cast<uint8_t>(ch2py[0]) | (static_cast<uint8_t>(ch2py[1]) << 8));
  const std::string pz1 = Image("ch2pypz1.bin");
  EXPECT_EQ(dictionary.m_mapCh2PYs.GetCount(),
            static_cast<uint8_t>(pz1[4]) | (static_cast<uint8_t>(pz1[5]) << 8));
  const std::string chndic2 = Image("chndic2.bin");
  EXPECT_GT(dictionary.m_pKey2ChsDic2->GetCount(), 0);
  EXPECT_LE(dictionary.m_pKey2ChsDic2->GetCount(),
            static_cast<uint8_t>(chndic2[0]) | (static_cast<uint8_t>(chndic2[1]) << 8));
  EXPECT_GT(dictionary.m_mapCh2Usage.GetCount(), 0);

  // Shape code: its index in place of the pinyin one.
  cfgInputManager.InputMthd = kXingMa;
  dictionary.ReLoadCizuDics(0);
  CheckIndex(kXingMa, "pxcizudic.idx");
}

INSTANTIATE_TEST_SUITE_P(Data, GeneratedDics,
                         ::testing::Values(kvrtest::DistDir(),
                                           kvrtest::BinaryDir() +
                                               "/tests/engine/fixtures/tiny_dict"),
                         [](const testing::TestParamInfo<std::string>& info) {
                           return info.index == 0 ? std::string("Distribution")
                                                  : std::string("TinyFixture");
                         });
