#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string>

#include "base/IniFile.h"
#include "tests/support/FileText.h"
#include "tests/support/TestPaths.h"

namespace {

using kvrtest::ReadFileText;
using kvrtest::WriteFileText;

struct Read {
  int rc;
  std::string out;
};
Read Get(const std::string& path, const char* section, const char* key, int size = 256,
         const char* deflt = "DEF") {
  char buf[1100];
  memset(buf, 'X', sizeof buf);
  int rc = GetIniFileString(path.c_str(), section, key, buf, size, deflt);
  EXPECT_EQ(buf[size], 'X') << "nothing written past size bytes";
  return {rc, buf};
}

TEST(IniFile, ReaderTable) {
  kvrtest::ScratchDir dir;
  const std::string path = dir.File("t.ini");
  WriteFileText(path,
                "; comment\n"
                "top=before any section\n"
                "[Config]\n"
                "  InputMode=1  \r\n"
                "StdPinYin=\n"
                "Path=a=b=c\n"
                "spaced =7\n"
                "short\n"
                ";Hidden=1\n"
                "\t[Other]\n"
                "InputMode=2\n"
                "[config]\n"
                "Late=9\n"
                "[Tail]\n"
                "x= left blank kept\n"
                "last=no line end");
  struct Case {
    const char *section, *key;
    int rc;
    const char* out;
  } const cases[] = {
      {"Config", "InputMode", 1, "1"},
      {"CONFIG", "inputmode", 1, "1"},  // names compare without case
      {"Config", "StdPinYin", 0, ""},   // an empty value
      {"Config", "Path", 5, "a=b=c"},   // everything after the first '='
      {"Config", "spaced", 3, "DEF"},   // the key is "spaced "
      {"Config", "spaced ", 1, "7"},
      {"Config", "Hidden", 3, "DEF"},  // comments do not count
      {"Config", "Late", 3, "DEF"},    // only the first [Config] counts
      {"Other", "InputMode", 1, "2"},  // a header indented by a TAB
      {"Config", "top", 3, "DEF"},
      {"Tail", "x", 16, " left blank kept"},
      {"Tail", "last", 11, "no line end"},
      {"Missing", "x", 3, "DEF"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.section << "/" << c.key);
    Read r = Get(path, c.section, c.key);
    EXPECT_EQ(r.rc, c.rc);
    EXPECT_EQ(r.out, c.out);
  }
}

TEST(IniFile, ReaderBoundsAndMissingFile) {
  kvrtest::ScratchDir dir;
  const std::string path = dir.File("t.ini");
  Read missing = Get(path, "S", "k", 256, "fallback");
  EXPECT_EQ(missing.rc, -1);
  EXPECT_EQ(missing.out, "fallback");
  EXPECT_EQ(Get(path, "S", "k", 4, "fallback").out, "fal");
  WriteFileText(path, "[S]\nk=0123456789\ng=ab\xB0\xA1\xB0\xA1\n");
  EXPECT_EQ(Get(path, "S", "k", 5).out, "0123");
  EXPECT_EQ(Get(path, "S", "k", 5).rc, 4);
  EXPECT_EQ(Get(path, "S", "k", 1).out, "");
  // A cut never splits a double-byte character.
  EXPECT_EQ(Get(path, "S", "g", 6).out, "ab\xB0\xA1");
  EXPECT_EQ(Get(path, "S", "g", 5).out, "ab\xB0\xA1");
  EXPECT_EQ(Get(path, "S", "g", 4).out, "ab");
  // A default that does not fit is cut as well.
  EXPECT_EQ(Get(path, "S", "none", 3, "long default").out, "lo");
  // A null default gives an empty text.
  EXPECT_EQ(Get(path, "S", "none", 10, nullptr).out, "");
  // A long value is read whole, up to the buffer.
  WriteFileText(path, "[S]\nk=" + std::string(3000, 'v') + "\n");
  EXPECT_EQ(Get(path, "S", "k", 1024).rc, 1023);
}

// Each case: the file before (or none), one write, the exact bytes after.
TEST(IniFile, WriterGoldenBytes) {
  struct Case {
    const char* name;
    bool exists;
    std::string before;
    const char *section, *key, *value;
    std::string after;
  } const cases[] = {
      {"new file", false, "", "S", "k", "v", "\n\n[S]\nk=v\n"},
      {"empty file", true, "", "S", "k", "v", "\n\n[S]\nk=v\n"},
      {"replace keeps the line end", true, "[S]\r\nk=old\r\nz=1\r\n", "S", "k", "new",
       "[S]\r\nk=new\r\nz=1\r\n"},
      {"replace the last line", true, "[S]\nk=old", "S", "k", "v", "[S]\nk=v"},
      {"new key before the next section", true, "[Config]\nInputMode=1\n\n[Mainframe]\nx=1\n",
       "Config", "FanTi", "0", "[Config]\nInputMode=1\n\nFanTi=0\n[Mainframe]\nx=1\n"},
      {"new key at the end", true, "[Config]\na=1\n", "Config", "b", "2", "[Config]\na=1\nb=2\n"},
      {"new key after a last line without a line end", true, "[Config]\na=1", "Config", "b", "2",
       "[Config]\na=1\nb=2\n"},
      {"new section", true, "[A]\na=1\n", "B", "b", "2", "[A]\na=1\n\n\n[B]\nb=2\n"},
      {"new section after a last line without a line end", true, "[A]\na=1", "B", "b", "2",
       "[A]\na=1\n\n[B]\nb=2\n"},
      {"names compare as the reader does", true, "[config]\nINPUTMODE=1\n", "Config", "InputMode",
       "0", "[config]\nINPUTMODE=0\n"},
      {"a header inside a value is no header", true, "[A]\np=C:\\[B]\n", "B", "k", "v",
       "[A]\np=C:\\[B]\n\n\n[B]\nk=v\n"},
      {"a key inside a value or a longer key is no key", true, "[S]\nnote=set k=1 here\nmk=2\n",
       "S", "k", "3", "[S]\nnote=set k=1 here\nmk=2\nk=3\n"},
      {"a commented entry is no entry", true, "[S]\n;k=1\n", "S", "k", "2", "[S]\n;k=1\nk=2\n"},
      {"the first of two sections", true, "[S]\na=1\n[T]\n[S]\nk=1\n", "S", "k", "2",
       "[S]\na=1\nk=2\n[T]\n[S]\nk=1\n"},
      {"empty value", true, "[S]\nkey=full\n", "S", "key", "", "[S]\nkey=\n"},
      // "k=" is too short for the reader, which then gives the default, just
      // as for a missing entry; the write is not refused.
      {"empty value of a one-letter key", true, "[S]\nk=full\n", "S", "k", "", "[S]\nk=\n"},
      {"indented entry", true, "[S]\n  k = x\n\tk=old\n", "S", "k", "v", "[S]\n  k = x\n\tk=v\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    kvrtest::ScratchDir dir;
    const std::string path = dir.File("p.ini");
    if (c.exists) WriteFileText(path, c.before);
    EXPECT_EQ(WriteIniFileString(path.c_str(), c.section, c.key, c.value), 1);
    EXPECT_EQ(ReadFileText(path), c.after);
    if (*c.value) {
      EXPECT_EQ(Get(path, c.section, c.key).out, c.value);
    }
  }
}

// Damaged profiles: whatever a file holds, the reader stays within out and
// the writer changes only the entry it sets, keeping every other byte.
TEST(IniFile, DamagedFilesReadSafelyAndKeepTheirBytes) {
  const std::string longLine(5000, 'x');
  const struct {
    const char* name;
    std::string before;
    Read want;          // Get(S, k) with the default "DEF"
    std::string after;  // after WriteIniFileString(S, k, "2")
  } cases[] = {
      {"NUL bytes",
       std::string("[S]\nk=a\0b\nz\0=1\n", 15),
       {1, "a"},
       std::string("[S]\nk=2\nz\0=1\n", 13)},
      {"a line longer than any buffer",
       "[S]\n" + longLine + "\nk=1\n",
       {1, "1"},
       "[S]\n" + longLine + "\nk=2\n"},
      {"a value longer than out",
       "[S]\nk=" + longLine + "\n",
       {255, longLine.substr(0, 255)},
       "[S]\nk=2\n"},
      {"a header without ']'", "[S\nk=1\n", {3, "DEF"}, "[S\nk=1\n\n\n[S]\nk=2\n"},
      {"an entry without '='", "[S]\nk 1\n", {3, "DEF"}, "[S]\nk 1\nk=2\n"},
      {"only binary bytes", "\xff\xfe\x01\x80", {3, "DEF"}, "\xff\xfe\x01\x80\n\n[S]\nk=2\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    kvrtest::ScratchDir dir;
    const std::string path = dir.File("p.ini");
    WriteFileText(path, c.before);
    const Read got = Get(path, "S", "k");
    EXPECT_EQ(got.rc, c.want.rc);
    EXPECT_EQ(got.out, c.want.out);
    EXPECT_EQ(WriteIniFileString(path.c_str(), "S", "k", "2"), 1);
    EXPECT_EQ(ReadFileText(path), c.after);
  }
}

TEST(IniFile, WritingTheSameValueAgainChangesNoByte) {
  kvrtest::ScratchDir dir;
  const std::string path = dir.File("p.ini");
  const std::string before = "; mine\r\n[Config]\r\nInputMode=1\r\n\r\n[Mainframe]\nx=5";
  WriteFileText(path, before);
  struct stat st1, st2;
  ASSERT_EQ(stat(path.c_str(), &st1), 0);
  EXPECT_EQ(WriteIniFileString(path.c_str(), "Config", "InputMode", "1"), 1);
  EXPECT_EQ(ReadFileText(path), before);
  ASSERT_EQ(stat(path.c_str(), &st2), 0);
  EXPECT_EQ(st1.st_ino, st2.st_ino) << "not even rewritten";
}

TEST(IniFile, WriterRefusesWhatWouldNotReadBack) {
  kvrtest::ScratchDir dir;
  const std::string path = dir.File("p.ini");
  const std::string before = "[S]\nk=1\n";
  struct Case {
    const char *section, *key, *value;
  } const cases[] = {
      {"S", "k", "1\n[Evil]\nx=1"},
      {"S", "k\nx", "1"},
      {"S\r", "k", "1"},
      {"S", "a=b", "1"},
      {"S", "[k", "1"},
      {"S", ";k", "1"},
      {"S", " k", "1"},
      {"", "k", "1"},
      {"S", "k", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.section << "/" << c.key);
    WriteFileText(path, before);
    EXPECT_EQ(WriteIniFileString(path.c_str(), c.section, c.key, c.value), 0);
    EXPECT_EQ(ReadFileText(path), before);
  }
}

TEST(IniFile, AFailedSaveLeavesTheProfileWhole) {
  kvrtest::ScratchDir dir;
  const std::string path = dir.File("p.ini");
  WriteFileText(path, "[S]\nk=1\n");
  chmod(path.c_str(), 0666);
  chmod(dir.Path().c_str(), 0555);  // no temporary file can be made
  EXPECT_TRUE(kvrtest::RunAsOrdinaryUser(
      [&] { return WriteIniFileString(path.c_str(), "S", "k", "2") == 0; }));
  chmod(dir.Path().c_str(), 0755);
  EXPECT_EQ(ReadFileText(path), "[S]\nk=1\n");
}

TEST(IniFile, AFileThatCannotBeReadIsNotReplaced) {
  kvrtest::ScratchDir dir;
  mkdir(dir.File("d.ini").c_str(), 0755);
  EXPECT_EQ(WriteIniFileString(dir.File("d.ini").c_str(), "S", "k", "1"), 0);
  EXPECT_EQ(Get(dir.File("d.ini"), "S", "k").rc, -1);
}

// Random writes into a random mix of sections and keys: after every write the
// reader gives back every value last written, and the file grows only by the
// lines it needs.
TEST(IniFile, RandomWritesReadBack) {
  kvrtest::ScratchDir dir;
  const std::string path = dir.File("r.ini");
  WriteFileText(path, "; kept\n[Config]\nInputMode=0\n\n[Mainframe]\nLeft=10\n");
  std::map<std::pair<std::string, std::string>, std::string> want = {{{"Config", "InputMode"}, "0"},
                                                                     {{"Mainframe", "Left"}, "10"}};
  std::mt19937 rng(12345);
  const char* sections[] = {"Config", "Mainframe", "UI_STR", "X"};
  const char* keys[] = {"InputMode", "Left", "Top", "FanTi", "a", "Open File", "\xC4\xE3"};
  for (int i = 0; i < 300; ++i) {
    const std::string s = sections[rng() % 4];
    const std::string k = keys[rng() % 7];
    std::string v = std::to_string(rng() % 1000);
    if (rng() % 5 == 0) v = "";
    if (rng() % 7 == 0) v = "\xB4\xF2 \xBF\xAA" + v;
    ASSERT_EQ(WriteIniFileString(path.c_str(), s.c_str(), k.c_str(), v.c_str()), 1);
    want[{s, k}] = v;
    for (const auto& [sk, value] : want) {
      Read r = Get(path, sk.first.c_str(), sk.second.c_str(), 256, "missing");
      // "a=" is too short a line to be read: like a missing entry.
      const bool unreadable = value.empty() && sk.second.size() == 1;
      ASSERT_EQ(r.out, unreadable ? "missing" : value) << i << " " << sk.first << "/" << sk.second;
    }
  }
  const std::string text = ReadFileText(path);
  EXPECT_EQ(text.rfind("; kept\n[Config]\n", 0), 0u);
  size_t lines = std::count(text.begin(), text.end(), '\n');
  // 4 original lines plus per section (3 new) a blank pair and a header, and
  // one line per entry.
  EXPECT_LE(lines, 6 + 3 * 3 + want.size());
}

TEST(IniFile, ClearSection) {
  kvrtest::ScratchDir dir;
  const std::string path = dir.File("c.ini");
  WriteFileText(path, "[A]\na=1\nb=2\n[B]\nc=3\n");
  EXPECT_EQ(WriteIniFileString(path.c_str(), "A", nullptr, nullptr), 8);
  EXPECT_EQ(ReadFileText(path), "[A]\n[B]\nc=3\n");
  EXPECT_EQ(ClearIniFileSection(path.c_str(), "b"), 0);
  EXPECT_EQ(ReadFileText(path), "[A]\n[B]\n");
  EXPECT_EQ(ClearIniFileSection(path.c_str(), "Z"), -1);
  EXPECT_EQ(ClearIniFileSection(dir.File("none.ini").c_str(), "A"), -1);
}

}  // namespace

// Many entries in one save leave the file byte for byte as the same entries
// written one at a time, on every kind of starting file, refused entries
// included.
TEST(IniFile, ManyEntriesInOneSaveEqualOneAtATime) {
  const std::vector<IniEntry> entries = {
      {"Config", "InputMode", "1"}, {"Config", "FanTi", "0"},   {"Config", "InputMode", "0"},
      {"Mainframe", "Left", "12"},  {"Config", "Bad", "a\nb"},  {"Config", "=x", "1"},
      {"New", "Key", ""},           {"Mainframe", "Top", "-3"},
  };
  struct Case {
    const char* name;
    const char* start;  // null: no file
  } const cases[] = {
      {"absent", nullptr},
      {"empty", ""},
      {"header only", ";Init file\n"},
      {"sections", "[Config]\r\nInputMode=5\r\n\r\n[Mainframe]\nLeft=1\nTop=2"},
      {"same values",
       "[Config]\nInputMode=0\nFanTi=0\n[Mainframe]\nLeft=12\nTop=-3\n[New]\nKey=\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    kvrtest::ScratchDir dir;
    const std::string one = dir.File("one.ini"), many = dir.File("many.ini");
    if (c.start) {
      kvrtest::WriteFileText(one, c.start);
      kvrtest::WriteFileText(many, c.start);
    }
    int wantOk = 1;
    for (const IniEntry& e : entries)
      wantOk &= WriteIniFileString(one.c_str(), e.section, e.key, e.value);
    EXPECT_EQ(WriteIniFileStrings(many.c_str(), entries), wantOk);
    EXPECT_EQ(kvrtest::ReadFileText(many), kvrtest::ReadFileText(one));
    EXPECT_EQ(access(many.c_str(), F_OK), access(one.c_str(), F_OK));
  }
  // Only refused entries: an absent file stays absent.
  kvrtest::ScratchDir dir;
  const std::string path = dir.File("none.ini");
  EXPECT_EQ(WriteIniFileStrings(path.c_str(), {{"S", "k", "a\nb"}}), 0);
  EXPECT_NE(access(path.c_str(), F_OK), 0);
}
