// GBK/Big5 conversion on synthetic tables and on the shipped ones, and the
// punctuation and symbol mappings.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <string>

#include "engine/formats/Big5TableFormat.h"
#include "tests/engine/LookupFixture.h"

namespace {

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// A table whose every cell holds 0x8000 + its index, except that cell 1
// has no counterpart.
std::string CountingTable(size_t nBytes) {
  std::string t(nBytes, '\0');
  for (size_t i = 0; i < nBytes / 2; ++i) {
    const unsigned v = 0x8000 + static_cast<unsigned>(i);
    t[2 * i] = static_cast<char>(v >> 8);
    t[2 * i + 1] = static_cast<char>(v & 0xFF);
  }
  t[2] = 0x20;
  return t;
}

class Big5 : public lookuptest::Engine {
 protected:
  void SetUp() override {
    Start(lookuptest::FixtureDir("tiny_dict"), lookuptest::PinYinSettings());
  }
  void UseSyntheticTables() {
    WriteFile(Path("gbk2b5.bin"), CountingTable(big5table::kGbk2Big5Bytes));
    WriteFile(Path("b5gbk.bin"), CountingTable(big5table::kBig52GbkBytes));
    (void)dictionary.UnloadGbk2Big5Dic();
    (void)dictionary.UnloadBig5GbkDic();
  }
};

TEST_F(Big5, CellsOfTheGrid) {
  UseSyntheticTables();
  struct Case {
    unsigned short gbk, big5;
  } const cases[] = {
      {0x8140, 0x8000},                  // cell 0
      {0x8141, 0xA1BC},                  // cell 1: no form
      {0x817F, 0x8000 + 0x3F},           // 0x7F is a cell of its own
      {0xFEFE, 0x8000 + 126 * 191 - 1},  // last cell
      {0x8130, 0xA1BC},
      {0x81FF, 0xA1BC},  // trail outside
      {0x8040, 0xA1BC},
      {0xFF40, 0xA1BC},  // lead outside
      {0x0041, 0xA1BC},  // ASCII
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.gbk);
    EXPECT_EQ(dictionary.Gbk2Big5(c.gbk, 0, 0, 0, 0), c.big5);
  }
  EXPECT_EQ(dictionary.Big5ToGbk(0xA140), 0x8000);
  EXPECT_EQ(dictionary.Big5ToGbk(0xA141), 0xA1F5);
  EXPECT_EQ(dictionary.Big5ToGbk(0xFAFE), 0x8000 + 90 * 191 - 1);
  EXPECT_EQ(dictionary.Big5ToGbk(0xFB40), 0xA1F5);
  EXPECT_EQ(dictionary.Big5ToGbk(0xA13F), 0xA1F5);
  EXPECT_EQ(dictionary.Big5ToGbk(0xA1FF), 0xA1F5);
}

TEST_F(Big5, AWrongSizedTableIsRefusedOnce) {
  WriteFile(Path("gbk2b5.bin"), CountingTable(big5table::kGbk2Big5Bytes - 2));
  (void)dictionary.UnloadGbk2Big5Dic();
  m_host.calls.clear();
  EXPECT_EQ(dictionary.Gbk2Big5(0x8140, 0, 0, 0, 0), 0xA1BC);
  EXPECT_EQ(dictionary.Gbk2Big5(0x8140, 0, 0, 0, 0), 0xA1BC);
  EXPECT_EQ(m_host.Calls("diag ").size(), 1u);  // not retried on every character
  EXPECT_EQ(dictionary.m_pGbk2Big5, nullptr);
  // Mended and unloaded, it is read again.
  WriteFile(Path("gbk2b5.bin"), CountingTable(big5table::kGbk2Big5Bytes));
  (void)dictionary.UnloadGbk2Big5Dic();
  EXPECT_EQ(dictionary.Gbk2Big5(0x8140, 0, 0, 0, 0), 0x8000);
}

TEST_F(Big5, TraditionalFormFilterDropsCharactersWithoutOne) {
  UseSyntheticTables();
  lookuptest::FatList list;
  typCharFatFmt a = typCharFatFmt::Char(0x81, 0x40), b = typCharFatFmt::Char(0x81, 0x41);
  list.Add(a);
  list.Add(b);
  EXPECT_EQ(dictionary.FantiRemoveChar(list, ""), 1);
  ASSERT_EQ(list.GetSize(), 1);
  EXPECT_EQ(list[0].data[1], 0x40);
  list.RemoveAll();
  list.Add(b);
  EXPECT_EQ(dictionary.FantiRemoveChar(list, ""), 0);
  EXPECT_EQ(list.GetSize(), 1);
}

class RealBig5 : public lookuptest::Engine {
 protected:
  void SetUp() override { Start(kvrtest::DistDir(), lookuptest::PinYinSettings()); }
};

TEST_F(RealBig5, ShippedTables) {
  EXPECT_EQ(dictionary.Gbk2Big5(0xB9FA, 0, 0, 0, 0), 0xB0EA);  // 国 -> 國
  EXPECT_EQ(dictionary.Gbk2Big5(0xBAF3, 0, 0, 0, 0), 0xA65A);  // 后 stays 后
  EXPECT_EQ(dictionary.Gbk2Big5(0xD6D0, 0, 0, 0, 0), 0xA4A4);  // 中
  EXPECT_EQ(dictionary.Big5ToGbk(0xA4A4), 0xD6D0);
  EXPECT_EQ(DictionaryGbk2Big5(0xB9FA), 0xB0EA);
}

// ---- Punctuation and symbols (memory order: lead byte low)

int Mem(const char* utf8) {
  const CString g = lookuptest::ToGbk(utf8);
  return static_cast<uint8_t>(g[0]) | (static_cast<uint8_t>(g[1]) << 8);
}

TEST(Punctuation, BothColumnsOfTheTable) {
  struct Case {
    char key;
    const char *plain, *chinese;
  } const cases[] = {
      {'!', "！", "！"}, {'@', "＠", "·"},  {'$', "＄", "￥"}, {'^', "…", "…"},
      {'&', "＆", "§"},  {'(', "（", "（"}, {')', "）", "）"}, {'_', "＿", "—"},
      {':', "：", "："}, {';', "；", "；"}, {'<', "＜", "《"}, {'>', "＞", "》"},
      {',', "，", "，"}, {'.', "。", "。"}, {'?', "？", "？"}, {'\\', "＼", "、"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    EXPECT_EQ(dictionary.EngChar2GB_Punctuation(c.key, 0), Mem(c.plain));
    EXPECT_EQ(dictionary.EngChar2GB_Punctuation(c.key, 1), Mem(c.chinese));
    // Standardizing the plain form gives the Chinese one.
    if (std::string(c.plain) != c.chinese) {
      EXPECT_EQ(CChnChars::EngChar2GB_PunctuationStandardize(Mem(c.plain)), Mem(c.chinese));
    }
  }
  EXPECT_EQ(CChnChars::EngChar2GB_PunctuationStandardize(Mem("．")), Mem("。"));
  EXPECT_EQ(CChnChars::EngChar2GB_PunctuationStandardize(Mem("！")), 0);
  EXPECT_EQ(dictionary.EngChar2GB_Punctuation('a', 1), 0);
  EXPECT_EQ(dictionary.EngChar2GB_Punctuation(0x100 | '!', 1), Mem("！"));  // low byte only
}

TEST(Punctuation, QuotesAlternateAndPeekingLeavesThem) {
  dictionary.m_bDoubleQuoteOpen = dictionary.m_bSingleQuoteOpen = 1;
  EXPECT_EQ(dictionary.PeekEngChar2GB('"', 0, 1), Mem("“"));
  EXPECT_EQ(dictionary.PeekEngChar2GB('"', 2, 1), Mem("“"));
  EXPECT_EQ(dictionary.EngChar2GB('"', 0, 1), Mem("“"));
  EXPECT_EQ(dictionary.EngChar2GB('"', 0, 1), Mem("”"));
  EXPECT_EQ(dictionary.PeekEngChar2GB('"', 0, 1), Mem("“"));
  EXPECT_EQ(dictionary.EngChar2GB('"', 2, 0), Mem("“"));
  EXPECT_EQ(dictionary.EngChar2GB('\'', 0, 1), Mem("‘"));
  EXPECT_EQ(dictionary.EngChar2GB('\'', 0, 1), Mem("’"));
  EXPECT_EQ(dictionary.m_bDoubleQuoteOpen, 0);
  EXPECT_EQ(dictionary.m_bSingleQuoteOpen, 1);
  dictionary.m_bDoubleQuoteOpen = 1;
}

TEST(Punctuation, SymbolsAndTheCombinedMapping) {
  struct Case {
    char key;
    const char* want;
  } const cases[] = {
      {'~', "～"}, {'`', "｀"}, {'0', "０"}, {'9', "９"}, {'#', "＃"}, {'%', "％"}, {'^', "＾"},
      {'*', "★"},  {'-', "－"}, {'+', "＋"}, {'=', "＝"}, {'{', "｛"}, {'}', "｝"}, {'[', "［"},
      {']', "］"}, {'/', "／"}, {'|', "｜"}, {' ', "　"}, {'a', "ａ"}, {'Z', "Ｚ"}, {'\xA7', "§"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    EXPECT_EQ(CChnChars::EngChar2GB_Symbol(static_cast<uint8_t>(c.key)), Mem(c.want));
  }
  EXPECT_EQ(CChnChars::EngChar2GB_Symbol('!'), 0);
  EXPECT_EQ(dictionary.EngChar2GB('^', 2, 1), Mem("…"));  // punctuation first
  EXPECT_EQ(dictionary.EngChar2GB('^', 1, 1), Mem("＾"));
  EXPECT_EQ(dictionary.EngChar2GB('a', 2, 1), Mem("ａ"));
  EXPECT_EQ(dictionary.EngChar2GB('a', 0, 1), 0);
}

TEST(Punctuation, ExactlyTheThirtyChinesePunctuations) {
  const std::string all = "！＠·＄￥…＆§（）＿—：；″“”′‘’＜《＞》，．。？＼、";
  const CString gbk = lookuptest::ToGbk(all);
  ASSERT_EQ(gbk.GetLength(), 60);
  std::set<int> want;
  for (int i = 0; i < 60; i += 2)
    want.insert(static_cast<uint8_t>(gbk[i]) | (static_cast<uint8_t>(gbk[i + 1]) << 8));
  ASSERT_EQ(want.size(), 30u);
  for (int v = 0; v < 0x10000; ++v)
    ASSERT_EQ(CChnChars::IsChnPunctuation(static_cast<unsigned short>(v)), want.count(v) ? 1 : 0)
        << v;
}

TEST(Punctuation, NumeralsAndAlphanumerics) {
  for (const char* s : {"Ｏ", "零", "十", "一", "九", "拾", "玖", "０", "９"})
    EXPECT_EQ(CChnChars::IsChnNumeric(static_cast<unsigned short>(Mem(s))), 1) << s;
  for (const char* s : {"中", "ａ", "！"})
    EXPECT_EQ(CChnChars::IsChnNumeric(static_cast<unsigned short>(Mem(s))), 0) << s;
  struct Case {
    unsigned short code;
    int want;
  } const cases[] = {{0xA3B0, 1}, {0xA3B9, 1}, {0xA3BA, 0}, {0xA3C1, 1}, {0xA3DA, 1},
                     {0xA3DB, 0}, {0xA3E1, 1}, {0xA3FA, 1}, {0xA3FB, 0}, {0x0030, 0}};
  for (const Case& c : cases) EXPECT_EQ(CChnChars::IsChnAlphaNumeric(c.code), c.want) << c.code;
}

}  // namespace
