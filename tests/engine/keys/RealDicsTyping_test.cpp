// A typing session on the shipped dictionaries: key messages in, the
// commit out through the seam.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/engine/TypingFixture.h"

namespace {

class RealTyping : public typingtest::Typing {
 protected:
  void SetUp() override {
    Start(kvrtest::DistDir(), lookuptest::PinYinSettings());
    Fresh();
    m_host.focus = typingtest::kFocus;
    memset(&dictionary.m_fwdEvent, 0, sizeof dictionary.m_fwdEvent);
    dictionary.m_fwdEvent.connect_id = 1;
    dictionary.m_fwdEvent.icid = 2;
  }
  std::string Matched() {
    CString s;
    dictionary.GetZuCiMatchedZis(s);
    return lookuptest::ToUtf8(s);
  }
  int RightAlt(unsigned long key) {
    Press(keysym::kAltR, typingtest::kRightAlt, "");
    return Press(key, typingtest::kRightAlt);
  }
  // The place of text among the first page's candidates, -1 when not there.
  int OnFirstPage(const char* text) {
    for (int i = 0; i < dictionary.m_arrChoices.GetSize() && i < 10; ++i)
      if (lookuptest::Text(dictionary.m_arrChoices[i]) == text) return i;
    return -1;
  }
  // The selection key of the first page's candidate at index.
  static unsigned long SelectionKey(int index) { return index == 9 ? '0' : '1' + index; }
  // The V-mode hot key, right Alt+F, as the main bar runs it.
  int VModeHotKey() {
    Record('F', "f", typingtest::kRightAlt);
    dictionary.ResetChnInput(1, 0, 1);
    return dictionary.TranslateChnKey('V', 0, 0);
  }
};

TEST_F(RealTyping, ZhongGuoAndSpace) {
  Type("zhongguo");
  EXPECT_EQ(Press(keysym::kSpace), 1);
  EXPECT_EQ(Commits(), std::vector<std::string>{"commit 1/2 中国"});
  EXPECT_EQ(Keys(), "");
}

// V-mode words on the shipped keyword file. A word names its line's key,
// which is shorter than the keys typed (the leading v): the pick must
// commit the word, not take it for a partial match and start phrase
// building (which offered the rest of the keys and learned the symbol).
TEST_F(RealTyping, VModeWordsAreCommittedWhole) {
  struct Case {
    const char* keys;
    unsigned long pick;
    const char* want;
  } const cases[] = {
      {"vyue", keysym::kSpace, "月"},    // a unit word, the only candidate
      {"vxighao", keysym::kSpace, "★"},  // a symbol name, first of two
      {"vxighao", '2', "☆"},
      {"vsjiao", keysym::kSpace, "▲"},  // a second key of the same line
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keys);
    Fresh();
    m_host.calls.clear();
    Type(c.keys);
    EXPECT_EQ(Press(c.pick), 1);
    EXPECT_EQ(Commits(), std::vector<std::string>{std::string("commit 1/2 ") + c.want});
    EXPECT_EQ(Keys(), "");
    EXPECT_EQ(dictionary.m_nZuCiMode, 0);
    EXPECT_TRUE(dictionary.m_strPendingCi.IsEmpty()) << "nothing to learn";
  }
}

// Right Alt + '-' re-chooses the last commit: a BackSpace goes to the
// client, then the next candidate of the same list. The right Alt's own
// press does not close the cycle.
TEST_F(RealTyping, RightAltMinusReChoosesTheLastCommit) {
  Type("zhong");
  ASSERT_EQ(Press(keysym::kSpace), 1);
  Press(keysym::kAltR, typingtest::kRightAlt, "");
  EXPECT_EQ(Press('-', typingtest::kRightAlt), 1);
  EXPECT_EQ(Commits(), (std::vector<std::string>{"commit 1/2 中", "commit 1/2 种"}));
  const auto forwarded = m_host.Calls("forward");
  ASSERT_EQ(forwarded.size(), 1u) << "one character to erase";
  EXPECT_EQ(forwarded[0].rfind("forward keycode=" + std::to_string(m_host.backSpaceKeycode), 0), 0u)
      << forwarded[0];
  EXPECT_EQ(Press('-', typingtest::kRightAlt), 1);
  EXPECT_EQ(Commits().back(), "commit 1/2 重");
}

// During phrase building a pick fills its segment and the next segment's
// candidates are looked up at once. Right Alt + '-' must then re-choose
// among the candidates the segment was filled from, and right Alt + digit
// pick a character of what filled it, not of the next segment's list
// (which built words such as 细化哦喜欢 from woxihuan).
TEST_F(RealTyping, ReChoosingInPhraseBuildingKeepsTheSegmentsOwnList) {
  struct Case {
    const char* keys;
    bool enterByReturn;
    const char* rest;
  } const cases[] = {
      {"woxihuan", true, "xihuan"},   // Return splits, Space fills wo
      {"woxihuan", false, "xihuan"},  // Space picks 我 for part of the keys
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.keys) + (c.enterByReturn ? " Return" : ""));
    Fresh();
    dictionary.ResetReSelectionData();
    Type(c.keys);
    if (c.enterByReturn) {
      ASSERT_EQ(Press(keysym::kReturn), 1);
    }
    ASSERT_GE(dictionary.m_arrChoices.GetSize(), 2);
    const std::string first = lookuptest::Text(dictionary.m_arrChoices[0]);
    const std::string second = lookuptest::Text(dictionary.m_arrChoices[1]);
    ASSERT_EQ(lookuptest::Text(dictionary.m_arrChoices[0]).size(), 3u) << "a character of wo";
    ASSERT_EQ(Press(keysym::kSpace), 1);
    ASSERT_NE(dictionary.m_nZuCiMode, 0);
    EXPECT_EQ(Matched(), first);
    EXPECT_EQ(Keys(), c.rest);
    EXPECT_EQ(RightAlt('1'), 0) << "one character: nothing to pick";
    EXPECT_EQ(Matched(), first);
    EXPECT_EQ(RightAlt('-'), 1);
    EXPECT_EQ(Matched(), second);
    EXPECT_EQ(Keys(), c.rest);
    EXPECT_TRUE(Commits().empty());
  }
}

TEST_F(RealTyping, CharacterPickInPhraseBuildingTakesTheFilledSegment) {
  dictionary.ResetReSelectionData();
  Type("zhongguoren");
  ASSERT_EQ(Press(keysym::kReturn), 1);
  ASSERT_EQ(Keys(), "zhongguo");
  ASSERT_EQ(Press(keysym::kSpace), 1);
  ASSERT_EQ(Matched(), "中国");
  EXPECT_EQ(RightAlt('2'), 1);
  EXPECT_EQ(Matched(), "国");
  EXPECT_EQ(Keys(), "ren");
  EXPECT_TRUE(Commits().empty());
}

// A candidate counts the letters it used, the typed keys hold apostrophes
// as well: a pick of part of the keys must split after the letters it
// used (xi'an|wo), not after as many keys (xi'a|nwo, which offered 你我
// for the rest).
TEST_F(RealTyping, PartialPickSplitsAfterTheLettersItUsed) {
  struct Case {
    const char* keys;
    bool building;
    const char* pick;
    const char* rest;
  } const cases[] = {
      {"xi'anwo", false, "先", "wo"},
      {"xi'anhuoche", false, "现货", "che"},
      {"fang'an'quan", false, "方案", "quan"},
      {"fang'an'quan", true, "放", "an'quan"},  // Return, End: one segment over all keys
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keys);
    Fresh();
    Type(c.keys);
    if (c.building) {
      ASSERT_EQ(Press(keysym::kReturn), 1);
      ASSERT_EQ(Press(keysym::kEnd), 1);
      ASSERT_EQ(Keys(), c.keys);
    }
    const int index = OnFirstPage(c.pick);
    ASSERT_GE(index, 0) << "on the first page";
    EXPECT_EQ(Press(SelectionKey(index)), 1);
    EXPECT_NE(dictionary.m_nZuCiMode, 0);
    EXPECT_EQ(Matched(), c.pick);
    EXPECT_EQ(Keys(), c.rest);
    CString unused;
    dictionary.GetZuCiUnusedKeys(unused);
    EXPECT_STREQ(unused, "");
    EXPECT_TRUE(Commits().empty());
  }
}

// Insert starts phrase building with the first segment ending at the
// insert point the user placed (zhong|guoren, not the engine's own split);
// at either end of the keys the engine splits by itself, as Return does.
TEST_F(RealTyping, InsertSplitsTheKeysAtTheInsertPoint) {
  struct Case {
    const char* keys;
    bool tone;
    int lefts;
    const char* segment;
    const char* unused;
  } const cases[] = {
      {"zhongguoren", false, 6, "zhong", "guoren"},  {"zhongguoren", false, 3, "zhongguo", "ren"},
      {"zhongguoren", false, 10, "z", "hongguoren"}, {"xi'anren", false, 3, "xi'an", "ren"},
      {"zhongguo", true, 4, "zhong", "guo"},  // the tone key (Tab) goes with the split
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.keys << " " << c.lefts);
    Fresh();
    Type(c.keys);
    if (c.tone) {
      ASSERT_EQ(Press(keysym::kTab), 1);
    }
    for (int i = 0; i < c.lefts; ++i) ASSERT_EQ(Press(keysym::kLeft), 1);
    EXPECT_EQ(Press(keysym::kInsert), 1);
    ASSERT_NE(dictionary.m_nZuCiMode, 0);
    EXPECT_EQ(Keys(), c.segment);
    CString unused;
    dictionary.GetZuCiUnusedKeys(unused);
    EXPECT_STREQ(unused, c.unused);
  }
  // At an end of the keys: the split that Return makes.
  Fresh();
  Type("zhongguoren");
  ASSERT_EQ(Press(keysym::kReturn), 1);
  const std::string byReturn = Keys();
  for (unsigned long place : {keysym::kHome, keysym::kEnd}) {
    Fresh();
    Type("zhongguoren");
    Press(place);
    EXPECT_EQ(Press(keysym::kInsert), 1);
    EXPECT_EQ(Keys(), byReturn);
  }
}

// The keys of the segment being filled may be edited (BackSpace, Delete,
// new keys) before a pick that uses part of them: the next segment starts
// after the letters the pick used in the keys as they are now, with the
// unused keys after them (zhongguo BackSpace, 中: gu + ren, not uoren).
TEST_F(RealTyping, PartialPickAfterEditingTheSegmentKeepsItsKeys) {
  struct Case {
    int lefts;
    const char* edit;
    const char* segment;
    const char* pick;
    const char* rest;
  } const cases[] = {
      {0, "\b", "zhonggu", "中", "guren"},
      {0, "\b\b", "zhongg", "中", "gren"},
      {1, "\x7f", "zhonggu", "中", "guren"},  // Delete before the last key
      {0, "x", "zhongguox", "中国", "xren"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.segment << " " << c.pick);
    Fresh();
    Type("zhongguoren");
    ASSERT_EQ(Press(keysym::kReturn), 1);
    ASSERT_EQ(Keys(), "zhongguo");
    for (int i = 0; i < c.lefts; ++i) ASSERT_EQ(Press(keysym::kLeft), 1);
    for (const char* e = c.edit; *e; ++e) {
      if (*e == '\b')
        ASSERT_EQ(Press(keysym::kBackSpace, typingtest::kNone, "\b"), 1);
      else if (*e == '\x7f')
        ASSERT_EQ(Press(keysym::kDelete, typingtest::kNone, "\x7f"), 1);
      else
        Type(std::string(1, *e).c_str());
    }
    ASSERT_EQ(Keys(), c.segment);
    const int index = OnFirstPage(c.pick);
    ASSERT_GE(index, 0) << "on the first page";
    EXPECT_EQ(Press(SelectionKey(index)), 1);
    EXPECT_EQ(Matched(), c.pick);
    EXPECT_EQ(Keys(), c.rest);
    EXPECT_TRUE(Commits().empty());
  }
}

// With blanks added to the output the client shows a blank after each
// character: re-choosing erases those blanks with the characters, or the
// old text's blanks stay before the new one (中 国 re-chosen left 中 种 过 ).
TEST_F(RealTyping, ReChoosingErasesTheBlanksAddedToTheCommit) {
  struct Case {
    const char* keys;
    unsigned long pickFirst;
    size_t erased;
  } const cases[] = {
      {"zhong", 0, 2},       // 中 and its blank
      {"zhongguo", 0, 4},    // 中 国
      {"zhongguo", '2', 2},  // after picking 国 of 中国: one character and its blank
  };
  cfgInputManager.AddSpaceInOutput = 1;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.keys << " " << c.pickFirst);
    Fresh();
    dictionary.ResetReSelectionData();
    Type(c.keys);
    ASSERT_EQ(Press(keysym::kSpace), 1);
    if (c.pickFirst) {
      ASSERT_EQ(RightAlt(c.pickFirst), 1);
    }
    m_host.calls.clear();
    EXPECT_EQ(RightAlt('-'), 1);
    EXPECT_EQ(m_host.Calls("forward").size(), c.erased);
    ASSERT_EQ(Commits().size(), 1u);
    EXPECT_EQ(Commits()[0].back(), ' ') << Commits()[0];
  }
  cfgInputManager.AddSpaceInOutput = 0;
}

// Re-choosing in phrase building moves the keys between the segment just
// filled and the keys after it by the letters the new candidate uses; the
// typed keys hold apostrophes as well (放 to 反感 left 'quan, and 方 then
// n'quan, on fang'an'quan).
TEST_F(RealTyping, ReChoosingASegmentCountsTheApostrophesInItsKeys) {
  struct Case {
    unsigned long pick;
    std::vector<std::pair<const char*, const char*>> steps;
  } const cases[] = {
      {'3', {{"反感", "quan"}, {"方", "an'quan"}, {"方案", "quan"}}},  // 放 first
      {keysym::kSpace,
       {{"反感", "quan"},
        {"放", "an'quan"},
        {"方", "an'quan"},
        {"房", "an'quan"},
        {"防", "an'quan"},
        {"饭", "g'an'quan"}}},  // 方案 first
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pick);
    Fresh();
    dictionary.ResetReSelectionData();
    Type("fang'an'quan");
    ASSERT_EQ(lookuptest::Text(dictionary.m_arrChoices[2]), "放");
    ASSERT_EQ(Press(c.pick), 1);
    ASSERT_NE(dictionary.m_nZuCiMode, 0);
    for (const auto& [matched, keys] : c.steps) {
      EXPECT_EQ(RightAlt('-'), 1);
      EXPECT_EQ(Matched(), matched);
      EXPECT_EQ(Keys(), keys);
    }
  }
}

// After right Alt + '-' the client shows the re-chosen item: repeating the
// last item, picking one of its characters and the learning when the
// cycle closes must all take that item, not the one first committed
// (which repeated 中国 and picked 国 while 种过 was shown).
TEST_F(RealTyping, ReChosenItemBecomesTheLastCommit) {
  struct Case {
    unsigned long key;
    const char* want;
  } const cases[] = {
      {';', "种过"},  // repeat the last item
      {'R', "种过"},
      {'2', "过"},  // its second character, erasing both
      {'1', "种"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<char>(c.key));
    Fresh();
    dictionary.ResetReSelectionData();
    Type("zhongguo");
    ASSERT_EQ(lookuptest::Text(dictionary.m_arrChoices[1]), "种过");
    ASSERT_EQ(Press(keysym::kSpace), 1);
    ASSERT_EQ(RightAlt('-'), 1);
    ASSERT_EQ(Commits().back(), "commit 1/2 种过");
    m_host.calls.clear();
    if (c.key == ';' || c.key == 'R')
      dictionary.Repeatlastchnchar(typingtest::kFocus);  // the bar's hot key
    else
      EXPECT_EQ(RightAlt(c.key), 1);
    EXPECT_EQ(Commits(), std::vector<std::string>{std::string("commit 1/2 ") + c.want});
  }
}

// The learned order follows what the user settled on: a character reached
// by re-choosing rises when the cycle closes, and soon comes first.
TEST_F(RealTyping, ReChosenCharacterIsLearned) {
  bool first = false;
  for (int round = 0; round < 12 && !first; ++round) {
    Fresh();
    Type("zhong");
    if (lookuptest::Text(dictionary.m_arrChoices[0]) == "钟") {
      first = true;
      break;
    }
    ASSERT_EQ(Press(keysym::kSpace), 1);
    for (int i = 0; i < 20 && Commits().back() != "commit 1/2 钟"; ++i) ASSERT_EQ(RightAlt('-'), 1);
    ASSERT_EQ(Commits().back(), "commit 1/2 钟");
    dictionary.ResetReSelectionData();  // the next key closes the cycle
  }
  EXPECT_TRUE(first);
}

// Right Alt with a digit, or with the grave accent for the first, replaces
// the phrase just committed by one of its characters: BackSpaces for the
// phrase, then the character.
TEST_F(RealTyping, RightAltDigitOrGravePicksACharacterOfTheLastPhrase) {
  struct Case {
    unsigned long key;
    const char* want;
  } const cases[] = {{'1', "中"}, {keysym::kGrave, "中"}, {'2', "国"}, {'8', "国"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.want);
    Fresh();
    Type("zhongguo");
    ASSERT_EQ(Press(keysym::kSpace), 1);
    Press(keysym::kAltR, typingtest::kRightAlt, "");
    m_host.calls.clear();
    EXPECT_EQ(Press(c.key, typingtest::kRightAlt), 1);
    EXPECT_EQ(m_host.Calls("forward").size(), 2u) << "the phrase is erased";
    EXPECT_EQ(Commits(), std::vector<std::string>{std::string("commit 1/2 ") + c.want});
  }
}

// In ShuangPin a typed 'v' is the initial zh; only the 'V' of the V-mode
// hot key (right Alt+F) opens the V-mode. A wildcard (the left Alt) keeps
// the keys unconverted for the lookup, and the lower-case 'v' then listed
// symbols and unit words (vs? gave the triangles).
TEST_F(RealTyping, ShuangPinLowerCaseVIsNeverTheVMode) {
  cfgInputManager.ShuangPin = 1;
  cfgInputManager.ShuangPinScheme = 0;
  struct Case {
    const char* keys;
    const char* vWord;
  } const cases[] = {{"vs", "▲"}, {"vgl", "公里"}, {"vrmb", "人民币"}, {"vxighao", "σ"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keys);
    Fresh();
    Type(c.keys);
    Press(keysym::kAltL, typingtest::kLeftAlt, "");
    ASSERT_EQ(Keys(), std::string(c.keys) + "?");
    EXPECT_FALSE(lookuptest::Contains(lookuptest::Texts(dictionary.m_arrChoices), c.vWord));
    // The same keys after the V-mode hot key are V-mode keys.
    Fresh();
    EXPECT_EQ(VModeHotKey(), 1);
    Type(c.keys + 1);
    ASSERT_EQ(Keys(), std::string("V") + (c.keys + 1));
    EXPECT_TRUE(lookuptest::Contains(lookuptest::Texts(dictionary.m_arrChoices), c.vWord));
  }
}

// The paging hint is left out for V-mode keys only: in ShuangPin a list of
// zh syllables (typed with 'v') has pages like any other.
TEST_F(RealTyping, ShuangPinZhListsGetThePagingHint) {
  cfgInputManager.ShuangPin = 1;
  cfgInputManager.ShuangPinScheme = 0;
  cfgInputManager.ShowTip = cfgInputManager.ShowTipOnStatusbar = 1;
  const std::string hint = "用 < 和 > 键看其他选项.";
  Type("vs");
  ASSERT_GT(dictionary.m_arrChoices.GetSize(), 10) << "zhong has several pages";
  auto tips = m_host.Calls("tip ");
  ASSERT_FALSE(tips.empty());
  EXPECT_NE(lookuptest::ToUtf8(CString(tips.back().c_str())).find(hint), std::string::npos) << "vs";
  Fresh();
  EXPECT_EQ(VModeHotKey(), 1);
  ASSERT_GT(dictionary.m_arrChoices.GetSize(), 10) << "the symbols have several pages";
  tips = m_host.Calls("tip ");
  ASSERT_FALSE(tips.empty());
  EXPECT_EQ(lookuptest::ToUtf8(CString(tips.back().c_str())).find(hint), std::string::npos) << "V";
}

// Shape-code input on the shipped Wubi 86 codes, which use the letters
// only: a digit or punctuation key typed on no keys is output at once (as
// in pinyin input), and a digit typed after keys selects from the list,
// instead of entering a key string that can match nothing.
class RealShapeTyping : public RealTyping {
 protected:
  void SetUp() override {
    RealTyping::SetUp();
    cfgInputManager.ExcludeLevel = 10000;
    UseMethod(kXingMa);
    Fresh();
  }
};

TEST_F(RealShapeTyping, KeysNoCodeUsesAreOutputDirectly) {
  struct Case {
    unsigned long key;
    int mods;
    int punct, full;
    const char* want;
  } const cases[] = {
      {',', typingtest::kNone, 0, 0, ","},  {',', typingtest::kNone, 1, 0, "，"},
      {'.', typingtest::kNone, 1, 0, "。"}, {'1', typingtest::kNone, 0, 0, "1"},
      {'1', typingtest::kNone, 0, 1, "１"}, {'/', typingtest::kNone, 0, 0, "/"},
      {'6', typingtest::kShift, 1, 0, "…"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.want);
    Fresh();
    cfgInputManager.UseChnPunctMark = c.punct;
    cfgInputManager.FullSize = c.full;
    EXPECT_EQ(Press(c.key, c.mods), 1);
    EXPECT_EQ(Commits(), std::vector<std::string>{std::string("commit 1/2 ") + c.want});
    EXPECT_EQ(Keys(), "");
  }
  Fresh();
  EXPECT_EQ(Press('Z'), 1) << "a letter always enters the keys";
  EXPECT_EQ(Keys(), "z");
  EXPECT_TRUE(Commits().empty());
}

TEST_F(RealShapeTyping, DigitsAfterKeysSelect) {
  for (unsigned long digit : {'1', '2', '9'}) {
    SCOPED_TRACE(static_cast<char>(digit));
    Fresh();
    Type("gfgf");
    const int n = dictionary.m_arrChoices.GetSize();
    ASSERT_GE(n, 2) << "a code with several candidates";
    const std::string want = lookuptest::Text(
        dictionary.m_arrChoices[std::min<int>(static_cast<int>(digit - '1'), n - 1)]);
    EXPECT_EQ(Press(digit), 1);
    EXPECT_EQ(Commits(), std::vector<std::string>{"commit 1/2 " + want});
    EXPECT_EQ(Keys(), "");
  }
}

// The fifth key after a four-key code shows the code as a row; picking the
// row commits its character and keeps the fifth key for the next one.
TEST_F(RealShapeTyping, AKeyTypedAfterACodeStaysAfterThePick) {
  Type("trntw");
  ASSERT_GE(dictionary.m_arrSegChoices.GetSize(), 1);
  const typCharFatFmt row = dictionary.m_arrSegChoices[0];
  ASSERT_EQ(std::string(row.key), "trnt");
  EXPECT_EQ(Press(keysym::kSpace), 1);
  EXPECT_EQ(Commits(), std::vector<std::string>{"commit 1/2 " + lookuptest::Text(row)});
  EXPECT_EQ(Keys(), "w");
  EXPECT_EQ(dictionary.m_nInsertPt, 1);
  EXPECT_GT(dictionary.m_arrChoices.GetSize(), 0) << "the candidates of w are shown";
  EXPECT_GE(dictionary.m_nReSelState, 0) << "the pick can still be re-chosen";
  Type("qiy");
  EXPECT_EQ(Keys(), "wqiy");
}

// Wubi 86 codes use letters only: Tab, Caps Lock and the Shift keys reach
// the client whether or not keys are typed (they entered the key names
// '!', '@', '#' and '$', a key string that matched nothing), and releasing
// Caps Lock does not announce pinyin's i-mode.
TEST_F(RealShapeTyping, TabCapsLockAndShiftGoToTheClient) {
  for (const char* keys : {"", "wq"}) {
    for (unsigned long key : {keysym::kTab, keysym::kCapsLock, keysym::kShiftL, keysym::kShiftR}) {
      SCOPED_TRACE(testing::Message() << keys << " " << std::hex << key);
      Fresh();
      Type(keys);
      EXPECT_EQ(Press(key, typingtest::kNone, key == keysym::kTab ? "\t" : ""), 0);
      EXPECT_EQ(Release(key), 0);
      EXPECT_EQ(Keys(), keys);
      EXPECT_EQ(dictionary.m_bIMode, 0);
      EXPECT_TRUE(Commits().empty());
    }
  }
}

// Left Alt+Space gives the keys typed so far as English, as the help line
// says ("按<左Alt>+空格 可将已输字母按英文输入"); in shape-code input it
// dropped them and typed a space. The '?' the left Alt typed is not part of
// them; with nothing else typed the space stays.
TEST_F(RealShapeTyping, LeftAltSpaceGivesTheKeysAsEnglish) {
  struct Case {
    const char* keys;
    const char* want;
  } const cases[] = {{"wq", "wq"}, {"trntw", "trntw"}, {"", " "}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keys);
    Fresh();
    Type(c.keys);
    Press(keysym::kAltL, typingtest::kLeftAlt, "");
    ASSERT_EQ(Keys(), std::string(c.keys) + "?");
    EXPECT_EQ(Press(keysym::kSpace, typingtest::kLeftAlt), 1);
    EXPECT_EQ(Commits(), std::vector<std::string>{std::string("commit 1/2 ") + c.want});
    EXPECT_EQ(Keys(), "");
  }
}

// F1 to F9 select in shape-code input. The forecast of the last commit
// stays shown while the next code is typed; F6 to F9 must still pick the
// code's candidates then (they entered the forecast instead), and enter the
// forecast only on no keys.
TEST_F(RealShapeTyping, FunctionKeysSelectWhileAForecastIsShown) {
  auto showForecast = [] {
    dictionary.m_arrForecast.RemoveAll();
    dictionary.m_arrForecast.Add(lookuptest::ToGbk("入海流"));
    dictionary.m_bForecastShown = 1;
  };
  for (unsigned long key : {keysym::kF6, keysym::kF8, keysym::kF9}) {
    SCOPED_TRACE(key - keysym::kF1 + 1);
    Fresh();
    showForecast();
    Type("kkkk");
    ASSERT_GE(dictionary.m_arrChoices.GetSize(), 9) << "a code with nine candidates or more";
    const std::string want =
        lookuptest::Text(dictionary.m_arrChoices[static_cast<int>(key - keysym::kF1)]);
    EXPECT_EQ(Press(key, typingtest::kNone, ""), 1);
    EXPECT_EQ(Commits(), std::vector<std::string>{"commit 1/2 " + want});
    EXPECT_EQ(Keys(), "");
  }
  Fresh();
  showForecast();
  EXPECT_EQ(Press(keysym::kF6, typingtest::kNone, ""), 1);
  EXPECT_EQ(Commits(), std::vector<std::string>{"commit 1/2 入海流"}) << "no keys: the forecast";
}

// The repeated-root tip names a mistake; a code of the shipped shape code
// made of equal keys (the key-name characters of Wubi 86) is none.
TEST_F(RealShapeTyping, RepeatedRootTipSparesRealCodes) {
  struct Case {
    const char* keys;
    const char* want;
  } const cases[] = {{"ffff", ""},
                     {"aaaa", ""},
                     {"kkkk", ""},
                     {"jjjf", ""},
                     {"aaab", "注意:若字根重复3次,且连在一起,则敲该字根一次,然后敲3"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keys);
    CString tip;
    dictionary.m_bLookAheadHit = 0;
    dictionary.GetTipMsg(c.keys, tip, 1);
    EXPECT_EQ(lookuptest::ToUtf8(tip), c.want);
  }
}

}  // namespace

// Shape-code input: a key without text enters nothing, so it goes back to
// the client whether keys are typed or not (F10 and the Super key were
// swallowed there), and the keys typed stay.
TEST_F(RealShapeTyping, KeysWithoutTextGoBackToTheClient) {
  struct Case {
    unsigned long key;
    const char* typed;
  } const cases[] = {
      {keysym::kF10, ""},   {0xFFEB, ""},   {0x1008FF13, ""},  // F10, Super_L, a volume key
      {keysym::kF10, "ab"}, {0xFFEB, "ab"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.key << " on '" << c.typed << "'");
    Fresh();
    Type(c.typed);
    m_host.calls.clear();
    EXPECT_EQ(Press(c.key, typingtest::kNone, ""), 0);
    EXPECT_EQ(Keys(), c.typed);
    EXPECT_TRUE(Commits().empty());
  }
}
