#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "framework/UIStrings.h"
#include "tests/support/TestPaths.h"

namespace {

int gLanguage = 0;
int ReadLanguage() { return gLanguage; }

// A small UI-text file and the UI language, set for one test.
class UIStringsTest : public testing::Test {
 protected:
  void SetUp() override {
    std::ofstream(m_dir.File("morvelui.ini"), std::ios::binary)
        << "[Config]\n"
           "UseBmpFont=0\n"
           "[UI_STR]\n"
           "Open=\xB4\xF2\xBF\xAA\n"                          // 打开
           "Options=\xD1\xA1\xCF\xEE\n"                       // 选项
           "Exit=\xCD\xCB\xB3\xF6\tAlt+X\n"                   // a tab part of its own
           "Two lines=\xB5\xDA\xD2\xBB\\n\xB5\xDA\xB6\xFE\n"  // 第一\n第二
           "Empty=\n"
           "Long=" +
               std::string(300, 'x') + "\n";
    gstrUIINI = m_dir.File("morvelui.ini").c_str();
    SetUILanguageReader(ReadLanguage);
    gLanguage = 1000;
  }
  void TearDown() override {
    SetUILanguageReader(nullptr);
    gstrUIINI.Empty();
  }
  kvrtest::ScratchDir m_dir;
};

TEST_F(UIStringsTest, LoadStringChnTable) {
  struct Case {
    int lang, force;
    const char *text, *want;
  } const cases[] = {
      {0, 0, "&Open...", "&Open..."},  // English: unchanged
      {0, 0, "a\\nb", "a\\nb"},
      {0, 1, "&Open", "\xB4\xF2\xBF\xAA"},                // forced
      {1000, 0, "&Open..", "\xB4\xF2\xBF\xAA"},           // '&' and ".." left out of the key
      {1000, 0, "OPEN", "\xB4\xF2\xBF\xAA"},              // the key ignores case
      {1000, 0, "&Options\tCtrl+O", "\xD1\xA1\xCF\xEE"},  // the tab part is lost
      {1001, 0, "Exit", "\xCD\xCB\xB3\xF6\tAlt+X"},
      {1000, 0, "Two lines", "\xB5\xDA\xD2\xBB \n\xB5\xDA\xB6\xFE"},
      {1000, 0, "No such\\ntext\tF1", "No such \ntext\tF1"},  // untranslated, \n still turned
      {1000, 0, "Empty", ""},
      {1000, 0, "", ""},
      {1000, 0, "Op&en", "\xB4\xF2\xBF\xAA"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.lang << " " << c.text);
    gLanguage = c.lang;
    EXPECT_STREQ(LoadStringChn(c.text, c.force), c.want);
  }
  EXPECT_STREQ(LoadStringChn(nullptr, 1), "");
}

TEST_F(UIStringsTest, LongTextsAreNotCut) {
  // A translation is cut to 255 bytes; a text without one comes back whole.
  EXPECT_EQ(LoadStringChn("Long", 0).GetLength(), 255);
  const std::string text(400, 'q');
  EXPECT_EQ(LoadStringChn(text.c_str(), 0).GetLength(), 400);
}

TEST_F(UIStringsTest, AMissingFileGivesTheTextBack) {
  gstrUIINI = m_dir.File("none.ini").c_str();
  EXPECT_STREQ(LoadStringChn("&Open..", 0), "&Open..");
  gstrUIINI.Empty();
  EXPECT_STREQ(LoadStringChn("&Open..", 0), "&Open..");
}

TEST(UIStrings, SmallHelpers) {
  char buf[32];
  EXPECT_STREQ(remove_ampersand("&File && more", buf), "File  more");
  strcpy(buf, "a&b");
  EXPECT_STREQ(remove_ampersand(buf, buf), "ab");

  CString text("x"), shortcut("y");
  EXPECT_EQ(GetMnuItemNShortcut("&Save\tCtrl+S", text, shortcut), 1);
  EXPECT_STREQ(text, "&Save");
  EXPECT_STREQ(shortcut, "Ctrl+S");
  GetMnuItemNShortcut("Plain", text, shortcut);
  EXPECT_STREQ(text, "Plain");
  EXPECT_STREQ(shortcut, "");

  for (unsigned long k : {0xFF4Ful, 0xFF50ul, 0xFF57ul, 0xFF58ul, 0x50ul})
    EXPECT_EQ(IsNavigationKey(k), k >= 0xFF50 && k <= 0xFF57) << k;

  for (int c : {'_', 'a', 'Z', '0'}) EXPECT_EQ(iscsym(c), 1) << c;
  for (int c : {int{'-'}, int{' '}, 0xB0, -80, 0, 256 + 'a'}) EXPECT_EQ(iscsym(c), 0) << c;

  EXPECT_EQ(strCharCount("banana", 'a'), 3);
  EXPECT_EQ(strCharCount("banana", 'z'), 0);
  EXPECT_EQ(strCharCount("banana", '\0'), 1);
}

TEST(UIStrings, IsIndexAroundPattern) {
  // "abc" + "<!--" at 3 + "xyz"
  const CString text("abc<!--xyz");
  for (int index = 0; index <= 10; ++index) {
    int i = index;
    const int found = IsIndexAroundPattern(text, i, "<!--");
    const bool near = index >= 3 && index <= 7;
    EXPECT_EQ(found, near) << index;
    EXPECT_EQ(i, near ? 3 : index) << index;
  }
  int i = -1;
  EXPECT_EQ(IsIndexAroundPattern(text, i, "abc"), 0);
  i = 2;
  EXPECT_EQ(IsIndexAroundPattern("BEGIN end", i, "begin"), 1);
  EXPECT_EQ(i, 0);
  i = 1;
  EXPECT_EQ(IsIndexAroundPattern("ab", i, "abc"), 0);
}

TEST(UIStrings, GetPartsFromPathTable) {
  struct Case {
    const char* path;
    int rc;
    const char *dir, *name, *ext;
  } const cases[] = {
      {"C:\\dir\\file.txt", 1, "C:\\dir", "file.txt", "txt"},
      {"name", 2, "", "name", ""},
      {"\\\\server\\share\\a.b.c", 1, "\\\\server\\share", "a.b.c", "c"},
      {"//x", 1, "", "//x", ""},
      {"dir.d\\file", 2, "dir.d", "file", ""},
      // 0x5C as the trail byte of a GBK character is no separator.
      {"d\\\x95\\x.txt", 2, "d", "\x95\\x.txt", "txt"},
      {"", 2, "", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    CString path(c.path), dir("?"), name("?"), ext("?");
    EXPECT_EQ(GetPartsFromPath(&path, &dir, &name, &ext), c.rc);
    EXPECT_STREQ(dir, c.dir);
    EXPECT_STREQ(name, c.name);
    EXPECT_STREQ(ext, c.ext);
    EXPECT_EQ(GetPartsFromPath(&path, nullptr, nullptr, nullptr), c.rc);
  }
  CString same("C:\\a\\b.ini");
  GetPartsFromPath(&same, nullptr, &same, nullptr);  // output over its input
  EXPECT_STREQ(same, "b.ini");
}

TEST(UIStrings, ForceFileExtTable) {
  struct Case {
    const char *path, *ext;
    int rc;
    const char* want;
  } const cases[] = {
      {"photo.JPG", "jpg", 0, "photo.JPG"}, {"photo.bmp", "jpg", 1, "photo.bmp.jpg"},
      {"photo", "jpg", 1, "photo.jpg"},     {"photo.jpgx", "jpg", 1, "photo.jpgx.jpg"},
      {"a.jpg", "jp", 1, "a.jpg.jp"},
  };
  for (const Case& c : cases) {
    CString path(c.path);
    EXPECT_EQ(ForceFileExt(path, c.ext), c.rc) << c.path;
    EXPECT_STREQ(path, c.want);
  }
}

TEST(UIStrings, FgetsNoWhitespaceAtEnds) {
  kvrtest::ScratchDir dir;
  const std::string path = dir.File("l.txt");
  std::ofstream(path, std::ios::binary) << "\n \t\r\n  x  \r\nnext\n\n  \n";
  FILE* f = fopen(path.c_str(), "rb");
  char buf[64];
  EXPECT_EQ(fgets_no_whitespace_at_ends(buf, sizeof buf, f), 3);
  EXPECT_STREQ(buf, "x");
  EXPECT_EQ(fgets_no_whitespace_at_ends(buf, sizeof buf, f), 1);
  EXPECT_STREQ(buf, "next");
  // The file ends after two blank lines: their count, the last one as read.
  EXPECT_EQ(fgets_no_whitespace_at_ends(buf, sizeof buf, f), 2);
  EXPECT_STREQ(buf, "  \n");
  EXPECT_EQ(fgets_no_whitespace_at_ends(buf, sizeof buf, f), 0);
  fclose(f);
  // A line longer than the buffer arrives in pieces, never past the buffer.
  std::ofstream(path, std::ios::binary) << std::string(100, 'a') << "\n";
  f = fopen(path.c_str(), "rb");
  char small[16];
  EXPECT_EQ(fgets_no_whitespace_at_ends(small, sizeof small, f), 1);
  EXPECT_EQ(strlen(small), 15u);
  fclose(f);
}

}  // namespace
