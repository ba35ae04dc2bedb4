#include <gtest/gtest.h>

#include <errno.h>
#include <sys/stat.h>

#include "engine/lookup/FuzzyPinyin.h"
#include "tests/engine/LookupFixture.h"

using lookuptest::FatList;

namespace {

std::vector<std::string> Strings(const CStringArray& a) {
  std::vector<std::string> out;
  for (int i = 0; i < a.GetSize(); ++i) out.push_back(a[i].GetString());
  return out;
}

void SetPairs(int z, int c, int s, int lr) {
  cfgInputManager.zhz_fuzzy = z;
  cfgInputManager.chc_fuzzy = c;
  cfgInputManager.shs_fuzzy = s;
  cfgInputManager.lr_fuzzy = lr;
}

bool Exists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

// Characters A0.. and B0.. of a merge, two bytes each.
std::string Chars(char tag, int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += std::string{tag, static_cast<char>('0' + i)};
  return s;
}

}  // namespace

TEST(FuzzyPinyin, FormsOfASyllable) {
  struct Case {
    int z, c, s, lr;
    const char* py;
    std::vector<std::string> want;
  } const cases[] = {
      {1, 0, 0, 0, "zha", {"zha", "za"}},  {1, 0, 0, 0, "za", {"za", "zha"}},
      {0, 0, 0, 1, "lan", {"lan", "ran"}}, {0, 0, 0, 1, "ran", {"ran", "lan"}},
      {0, 1, 0, 0, "zha", {"zha"}},        {0, 1, 0, 0, "chi", {"chi", "ci"}},
      {1, 1, 1, 0, "lan", {"lan"}},        {1, 1, 1, 1, "ma", {"ma"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.py);
    SetPairs(c.z, c.c, c.s, c.lr);
    CStringArray forms;
    dictionary.GetFuzziPyAllPossibleForms(c.py, forms);
    EXPECT_EQ(Strings(forms), c.want);
  }
}

TEST(FuzzyPinyin, CommonFormAndPartner) {
  SetPairs(1, 1, 1, 1);
  struct Case {
    const char* py;
    int isCommon;  // IsFuzzyPyCommonFactor
    const char* partner;
    int which;
    int hasCommon;  // GetFuzziPyCommonFactor
    const char* common;
  } const cases[] = {
      {"za", 1, "zha", 1, 0, ""},  {"zha", 0, "", 0, 1, "za"}, {"ran", 1, "lan", 0, 0, ""},
      {"lan", 0, "", 0, 1, "ran"}, {"si", 1, "shi", 1, 0, ""}, {"ma", 0, "", 0, 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.py);
    CString partner, common;
    int which = -1;
    EXPECT_EQ(dictionary.IsFuzzyPyCommonFactor(c.py, partner, which), c.isCommon);
    if (c.isCommon) {
      EXPECT_STREQ(partner, c.partner);
      EXPECT_EQ(which, c.which);
    }
    EXPECT_EQ(dictionary.GetFuzziPyCommonFactor(c.py, common), c.hasCommon);
    if (c.hasCommon) {
      EXPECT_STREQ(common, c.common);
    }
  }
  SetPairs(0, 1, 0, 0);
  CString common;
  EXPECT_EQ(dictionary.GetFuzziPyCommonFactor("zha", common), 0);
}

TEST(FuzzyPinyin, SpellingsOfAPhraseKey) {
  struct Case {
    int z, c, s, lr;
    const char* py;
    std::vector<std::string> want;
  } const cases[] = {
      // Class 0 (an i, o, u or v in the first five letters): z, c, s vary.
      {1, 0, 0, 0, "zhongguo", {"zhongguo", "zongguo"}},
      {1, 1, 0, 0, "zuoce", {"zuoce", "zhuoce", "zuoche", "zhuoche"}},
      {0, 0, 0, 1, "lanren", {"lanren", "ranren", "lanlen", "ranlen"}},
      {1, 1, 1, 0, "ma", {"ma"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.py);
    SetPairs(c.z, c.c, c.s, c.lr);
    CStringArray forms;
    dictionary.GetFuzziPyAllPossibleForms_Cizu(c.py, forms);
    std::vector<std::string> got = Strings(forms), want = c.want;
    std::sort(got.begin(), got.end());
    std::sort(want.begin(), want.end());
    EXPECT_EQ(got, want);
    EXPECT_EQ(Strings(forms)[0], c.py);
  }
  EXPECT_EQ(dictionary.GetCiPyClass("zhongguo", 1), kPyClassFree);
  EXPECT_EQ(dictionary.GetCiPyClass("xxx", 1), kPyClassBroken);
}

TEST(FuzzyPinyin, ALongKeyOfFuzzyInitialsStopsAtTheFormLimit) {
  SetPairs(1, 1, 1, 1);
  CStringArray forms;
  dictionary.GetFuzziPyAllPossibleForms_Cizu("lalalalalalalalalalalalalalala", forms);
  EXPECT_GT(forms.GetSize(), 1000);
  EXPECT_LE(forms.GetSize(), kMaxFuzzyForms + 1);
}

TEST(FuzzyPinyin, MergeOfTwoRuns) {
  EXPECT_EQ(MergeFuzzyRuns(Chars('A', 6), Chars('B', 2)), "A0B0A1A2A3B1A4A5");
  EXPECT_EQ(MergeFuzzyRuns(Chars('A', 2), Chars('B', 6)), "A0B0B1B2A1B3B4B5");
  EXPECT_EQ(MergeFuzzyRuns(Chars('A', 2), Chars('B', 5)), "A0B0B1A1B2B3B4");
  EXPECT_EQ(MergeFuzzyRuns(Chars('A', 3), Chars('B', 3)), "A0B0A1B1A2B2");
  EXPECT_EQ(MergeFuzzyRuns(Chars('A', 7), Chars('B', 3)), "A0B0A1A2B1A3A4B2A5A6");
  EXPECT_EQ(MergeFuzzyRuns("", Chars('B', 2)), Chars('B', 2));
  EXPECT_EQ(MergeFuzzyRuns(Chars('A', 2), ""), Chars('A', 2));
}

namespace {

class FuzzyLists : public lookuptest::Engine {
 protected:
  void StartFuzzy() {
    typInputSettings s = lookuptest::PinYinSettings();
    s.fuzziPY = 1;
    s.candidateOrderChoice = 1;  // the fixed order: gbkflat.dic + suffix
    s.zhz_fuzzy = 1;
    s.chc_fuzzy = 1;
    s.shs_fuzzy = 0;
    s.lr_fuzzy = 0;
    Start(lookuptest::FixtureDir("lookup_dict"), s);
  }
  std::vector<std::string> Exact(const char* key) {
    FatList out;
    dictionary.LookupExactHelper(key, out, 0, kPinYin);
    return lookuptest::Texts(out);
  }
};

// Fails the n-th rename (1-based) and passes everything else through.
struct NthRenameFails : IFileOps {
  int n;
  int seen = 0;
  explicit NthRenameFails(int which) : n(which) {}
  int Create(const char* p) override { return SystemFileOps().Create(p); }
  ssize_t Write(int fd, const void* d, size_t k) override {
    return SystemFileOps().Write(fd, d, k);
  }
  int Fchmod(int fd, mode_t m) override { return SystemFileOps().Fchmod(fd, m); }
  int Fsync(int fd) override { return SystemFileOps().Fsync(fd); }
  int Close(int fd) override { return SystemFileOps().Close(fd); }
  int Rename(const char* a, const char* b) override {
    if (++seen == n) {
      errno = EIO;
      return -1;
    }
    return SystemFileOps().Rename(a, b);
  }
  int SyncDir(const char* d) override { return SystemFileOps().SyncDir(d); }
  int Remove(const char* p) override { return SystemFileOps().Remove(p); }
};

}  // namespace

TEST_F(FuzzyLists, PairsShareOneMergedRun) {
  // The runs of za (three characters) and zha (two) without fuzzy pinyin.
  Start(lookuptest::FixtureDir("lookup_dict"), lookuptest::PinYinSettings());
  const std::vector<std::string> za0 = Exact("za"), zha0 = Exact("zha");
  ASSERT_EQ(za0.size(), 3u);
  ASSERT_EQ(zha0.size(), 2u);
  dictionary.CloseDictionary();
  StartFuzzy();
  EXPECT_TRUE(Exists(Path("gbkflat.dic1100")));
  EXPECT_TRUE(Exists(Path("pykeys.dic1100")));
  // One run under za, interleaved; zha points there.
  const std::vector<std::string> za = {za0[0], zha0[0], za0[1], zha0[1], za0[2]};
  EXPECT_EQ(Exact("za"), za);
  EXPECT_EQ(Exact("zha"), za);
  long count = 0, start = 0;
  ASSERT_EQ(dictionary.GetPyCharsCountAndIndexInGbkFlat("zha", count, start), 1);
  EXPECT_EQ(count, 1);  // the mark character only
  // chuang has no cuang: the common form is added with a copy, before cun.
  EXPECT_EQ(Exact("cuang"), std::vector<std::string>{"窗"});
  EXPECT_EQ(Exact("chuang"), std::vector<std::string>{"窗"});
  // zhuo has no zuo, and no z syllable sorts after zuo: nothing is added.
  EXPECT_TRUE(Exact("zuo").empty());
  EXPECT_EQ(Exact("zhuo"), std::vector<std::string>{"捉"});
  // Untouched pairs keep their runs.
  EXPECT_EQ(Exact("shan"), std::vector<std::string>{"山"});
}

TEST_F(FuzzyLists, BothFilesAppearTogetherOrNotAtAll) {
  for (int failing = 1; failing <= 2; ++failing) {
    SCOPED_TRACE(failing);
    StartFuzzy();
    dictionary.CloseDictionary();
    remove(Path("gbkflat.dic1100").c_str());
    remove(Path("pykeys.dic1100").c_str());
    NthRenameFails ops(failing);
    m_host.fileOps = &ops;
    gbInitDone = 0;
    dictionary.InitFirst();
    dictionary.InitDictionary();
    m_host.fileOps = &SystemFileOps();
    // Neither file is left: the next start generates both again.
    EXPECT_FALSE(Exists(Path("gbkflat.dic1100")));
    EXPECT_FALSE(Exists(Path("pykeys.dic1100")));
    EXPECT_TRUE(Exact("za").empty());
    dictionary.CloseDictionary();
    gbInitDone = 0;
    dictionary.InitFirst();
    dictionary.InitDictionary();
    EXPECT_EQ(Exact("zha").size(), 5u);
  }
}
