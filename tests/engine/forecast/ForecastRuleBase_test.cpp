// The forecast rule base: fccdic.bin read into trees, refused whole when it
// is damaged, loaded and unloaded without leftovers; the reversed form and
// the capture-slot helpers.
#include <gtest/gtest.h>

#include "base/ByteOrder.h"
#include "engine/forecast/ForecastRuleBase.h"
#include "tests/engine/ForecastFixture.h"

namespace {

using namespace forecasttest;

// ---- A tiny writer of the file layout, to build damaged files by hand.
struct Bytes {
  std::string b;
  Bytes& U8(int v) { return b.push_back(static_cast<char>(v)), *this; }
  Bytes& U16(int v) {
    char t[2];
    little_endian::Store16(t, static_cast<uint16_t>(v));
    return b.append(t, 2), *this;
  }
  Bytes& U32(uint32_t v) {
    char t[4];
    little_endian::Store32(t, v);
    return b.append(t, 4), *this;
  }
  Bytes& Str(const std::string& s) { return U8(static_cast<int>(s.size())), b += s, *this; }
  // A cell header; text, no bad words, then the child count.
  Bytes& Cell(int type, uint32_t ref, int flags, char id, int minLen, int maxLen, int split,
              const std::string& ends, const std::string& text, int nChildren) {
    U8(type).U32(ref).U16(flags).U8(id).U8(minLen).U8(maxLen).U8(split);
    std::string e = ends;
    e.resize(7, '\0');
    b += e;
    return Str(text).U8(0).U8(0).U8(nChildren);
  }
  // Groups after the first: empty.
  Bytes& EmptyGroups(int n) {
    for (int i = 0; i < n; ++i) U32(0).U32(0);
    return *this;
  }
};

// Tag, no sets, group 0 keyed by 'A' with the given rule cells appended.
Bytes OneGroup(int nRules) {
  return Bytes().U8(1).U32(0).U32(0).U32(1).U16('A').U16(1).U32(0).U32(nRules);
}

bool Reads(const std::string& bytes, std::string* why = nullptr) {
  OwnedForecastTables t;
  std::string error;
  const bool ok = ReadForecastTables(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(),
                                     t.Tables(), error);
  if (!ok) {
    EXPECT_FALSE(error.empty());
    for (int g = 0; g < 6; ++g) EXPECT_EQ(t.rules[g].GetSize(), 0);  // nothing half-loaded
  }
  if (why) *why = error;
  return ok;
}

TEST(ForecastRuleBase, NestedBytesLoadToTheTree) {
  // seq [ "AB", one-of [ "C", "D" ], leaf "E" with a bogus child count ], split 1
  const std::string b = OneGroup(1)
                            .Cell(2, 0, 0x0008, 'X', 1, 3, 1, ".", "", 3)
                            .Cell(3, 0, 0, 0, 1, 1, 0, "", "AB", 0)
                            .Cell(6, 0, 0, 'M', 1, 1, 0, "", "", 2)
                            .Cell(3, 0, 0, 0, 1, 1, 0, "", "C", 0)
                            .Cell(3, 0, 0, 0, 1, 1, 0, "", "D", 0)
                            .Cell(3, 0, 0, 0, 1, 1, 0, "", "E", 9)  // a leaf: no children follow
                            .EmptyGroups(5)
                            .b;
  OwnedForecastTables t;
  std::string error;
  ASSERT_TRUE(
      ReadForecastTables(reinterpret_cast<const uint8_t*>(b.data()), b.size(), t.Tables(), error))
      << error;
  ASSERT_EQ(t.rules[0].GetSize(), 1);
  const typForecastCell* r = t.rules[0][0];
  EXPECT_EQ(r->type, 2);
  EXPECT_EQ(r->flags, 0x0008);
  EXPECT_EQ(r->id, 'X');
  EXPECT_STREQ(r->endChars, ".");
  ASSERT_EQ(r->children.GetSize(), 3);
  EXPECT_STREQ(r->children[0]->text, "AB");
  ASSERT_EQ(r->children[1]->children.GetSize(), 2);
  EXPECT_STREQ(r->children[1]->children[1]->text, "D");
  EXPECT_EQ(r->children[2]->children.GetSize(), 0);
  CDWordArray list;
  ASSERT_TRUE(t.keys[0].Lookup('A', list));
  EXPECT_EQ(list.GetSize(), 1);
}

TEST(ForecastRuleBase, DamagedFilesAreRefused) {
  const std::string good = OneGroup(1).Cell(3, 0, 0, 0, 1, 1, 0, "", "AB", 0).EmptyGroups(5).b;
  ASSERT_TRUE(Reads(good));
  struct Case {
    const char* what;
    std::string bytes;
  } const cases[] = {
      {"type byte 0", OneGroup(1).Cell(0, 0, 0, 0, 0, 0, 0, "", "", 0).EmptyGroups(5).b},
      {"type byte 15", OneGroup(1).Cell(15, 0, 0, 0, 0, 0, 0, "", "", 0).EmptyGroups(5).b},
      {"bytes left over", good + "x"},
      {"key lists a missing rule", Bytes().U8(1).U32(0).U32(0).U32(1).U16('A').U16(1).U32(5).U32(1)
                                       .Cell(3, 0, 0, 0, 1, 1, 0, "", "AB", 0).EmptyGroups(5).b},
      {"negative index count", Bytes().U8(1).U32(0).U32(0).U32(1).U16('A').U16(0xFFFF).U32(0).EmptyGroups(5).b},
      {"huge rule count", Bytes().U8(1).U32(0).U32(0).U32(0).U32(0x7FFFFFFF).b},
      {"reference past the rules", OneGroup(1).Cell(2, 7, 0, 0, 0, 0, 0, "", "", 0).EmptyGroups(5).b},
      {"rule refers to itself", OneGroup(1).Cell(2, 0, 0, 0, 0, 1, 0, "", "", 0).EmptyGroups(5).b},
      {"rules refer to each other", OneGroup(2).Cell(2, 1, 0, 0, 0, 1, 0, "", "", 0)
                                        .Cell(2, 0, 0, 0, 0, 1, 0, "", "", 0).EmptyGroups(5).b},
      {"end characters without terminator",
       OneGroup(1).Cell(3, 0, 0, 0, 1, 1, 0, ",,,,,,,", "AB", 0).EmptyGroups(5).b},
      {"switchable with one child", OneGroup(1).Cell(7, 0, 0, 0, 1, 1, 0, "", "", 1)
                                        .Cell(3, 0, 0, 0, 1, 1, 0, "", "AB", 0).EmptyGroups(5).b},
      {"split past the children", OneGroup(1).Cell(2, 0, 0, 0, 1, 1, 3, "", "", 1)
                                      .Cell(3, 0, 0, 0, 1, 1, 0, "", "AB", 0).EmptyGroups(5).b},
      {"empty bad word", [] {
         Bytes b = OneGroup(1);
         b.U8(4).U32(0).U16(0).U8(0).U8(1).U8(2).U8(0);
         b.b += std::string(7, '\0');
         return b.Str("").U8(1).Str("").U8(0).U8(0).EmptyGroups(5).b;
       }()},
      {"least length above greatest", OneGroup(1).Cell(4, 0, 0, 0, 5, 2, 0, "", "", 0).EmptyGroups(5).b},
      {"set member of a missing entry", OneGroup(1).Cell(9, 0, 0, 0, 1, 1, 0, "", "none", 0).EmptyGroups(5).b},
      {"set name too long for a slot",
       Bytes().U8(1).U32(1).Str(std::string(60, 'n')).U16(1).Str("AB").U32(0).U32(1).U16('A').U16(1)
           .U32(0).U32(1).Cell(9, 0, 0, 0, 1, 1, 0, "", std::string(60, 'n'), 0).EmptyGroups(5).b},
      {"set name over 127 bytes", Bytes().U8(1).U32(1).Str(std::string(130, 'n')).U16(0).U32(0).EmptyGroups(6).b},
      {"negative word count", Bytes().U8(1).U32(1).Str("s").U16(0x8001).U32(0).EmptyGroups(6).b},
      {"set entry refers to itself", Bytes().U8(1).U32(1).Str("s").U16(1).Str("(s)").U32(0).EmptyGroups(6).b},
      {"set entry refers to a missing one", Bytes().U8(1).U32(1).Str("s").U16(1).Str("(t)").U32(0).EmptyGroups(6).b},
      {"cells nested too deep", [] {
         Bytes b = OneGroup(1);
         for (int i = 0; i < 40; ++i) b.Cell(6, 0, 0, 0, 1, 1, 0, "", "", 1);
         return b.Cell(3, 0, 0, 0, 1, 1, 0, "", "AB", 0).EmptyGroups(5).b;
       }()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_FALSE(Reads(c.bytes));
  }
}

TEST(ForecastRuleBase, EveryTruncationOfTheFixtureIsRefused) {
  const std::string full = ReadBytes(FixtureFile());
  ASSERT_GT(full.size(), 100u);
  ASSERT_TRUE(Reads(full));
  for (size_t n = 0; n < full.size(); ++n) {
    SCOPED_TRACE(n);
    ASSERT_FALSE(Reads(full.substr(0, n)));
  }
}

class ForecastLoad : public Forecast {};

TEST_F(ForecastLoad, ReloadingGivesNoDuplicates) {
  Begin(FixtureFile());
  int counts[6];
  for (int g = 0; g < 6; ++g) counts[g] = dictionary.m_forecastRules[g].GetSize();
  const int sets = dictionary.m_abstracts[0].GetCount();
  ASSERT_GT(counts[0] + counts[1], 0);
  ASSERT_EQ(dictionary.LoadForecastDB(), 1);
  for (int g = 0; g < 6; ++g) EXPECT_EQ(dictionary.m_forecastRules[g].GetSize(), counts[g]);
  EXPECT_EQ(dictionary.m_abstracts[0].GetCount(), sets);
  // The switch follows the loaded flag, not the sets' contents.
  cfgInputManager.useZiCiForecast = 0;
  dictionary.ForecastDBLoadUnload();
  EXPECT_EQ(dictionary.m_bForecastLoaded, 0);
  EXPECT_EQ(dictionary.m_forecastRules[1].GetSize(), 0);
  cfgInputManager.useZiCiForecast = 1;
  dictionary.ForecastDBLoadUnload();
  dictionary.ForecastDBLoadUnload();
  EXPECT_EQ(dictionary.m_forecastRules[1].GetSize(), counts[1]);
}

TEST_F(ForecastLoad, AFileWithoutSetsStillCountsAsLoaded) {
  Begin(FixtureFile());
  const std::string empty = Bytes().U8(1).U32(0).U32(0).EmptyGroups(6).b;
  ASSERT_EQ(LoadImage(empty), 1);
  EXPECT_EQ(dictionary.m_bForecastLoaded, 1);
  dictionary.ForecastDBLoadUnload();  // loaded: nothing is read again
  EXPECT_EQ(dictionary.m_forecastRules[0].GetSize(), 0);
}

TEST_F(ForecastLoad, ARefusedFileLeavesNoRulesAndSaysWhy) {
  Begin(FixtureFile());
  const std::string good = ReadBytes(FixtureFile());
  EXPECT_EQ(LoadImage(good.substr(0, good.size() / 2)), 0);
  EXPECT_EQ(dictionary.m_bForecastLoaded, 0);
  for (int g = 0; g < 6; ++g) EXPECT_EQ(dictionary.m_forecastRules[g].GetSize(), 0);
  EXPECT_EQ(m_host.Calls("diag ").size(), 1u);
}

TEST(ForecastRuleBaseCells, ReversedFormOrdersTheChildren) {
  struct Case {
    int n, split;
    const char* want;
    int wantSplit;
  } const cases[] = {{3, 1, "CBA", 1}, {4, 2, "DCAB", 1}, {2, 0, "BA", 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.want);
    typForecastCell rule;
    rule.type = 2;
    rule.split = static_cast<uint8_t>(c.split);
    for (int i = 0; i < c.n; ++i) {
      auto* k = new typForecastCell;
      k->text = CString(std::string(1, static_cast<char>('A' + i)).c_str());
      rule.children.Add(k);
    }
    typForecastCell* r = DuplicateForecastRule4NonDirectFire(&rule);
    std::string got;
    for (int i = 0; i < r->children.GetSize(); ++i) got += r->children[i]->text.GetString();
    EXPECT_EQ(got, c.want);
    EXPECT_EQ(r->split, c.wantSplit);
    delete r;  // the rule's children survive it (ASan would see a double free)
    EXPECT_STREQ(rule.children[0]->text, "A");
  }
}

TEST(ForecastRuleBaseCells, CaptureSlotHelpers) {
  typPriorIdInfo slots[kPriorIdSlots] = {};
  typPriorIdInfo rec{};
  std::strcpy(slots[4].text, "kept");  // X: text without a binding
  EXPECT_EQ(FccIdInfoFunc(0, slots, 'X', rec), 0);
  EXPECT_EQ(rec.text[0], 0);
  rec.kind = 4;
  std::strcpy(rec.text, "ab");
  EXPECT_EQ(FccIdInfoFunc(1, slots, 'Z', rec), 1);
  typPriorIdInfo back{};
  EXPECT_EQ(FccIdInfoFunc(0, slots, 'Z', back), 1);
  EXPECT_STREQ(back.text, "ab");
  EXPECT_EQ(FccIdInfoFunc(1, slots, 'Q', rec), 0);
  EXPECT_EQ(GetFccIdInfoPtr(slots, 'Q'), nullptr);
  EXPECT_EQ(GetFccIdInfoPtr(slots, 'E'), &slots[0]);
}

}  // namespace
