// The character order file in memory: the fuzzy suffix, the runs told by
// the file's own syllable list (bounded by the file), writing a run back,
// and saving through a temporary file that keeps the old file when it fails.
#include "frontend/ZiOrderBook.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <fstream>
#include <string>
#include <vector>

#include "base/AtomicFile.h"
#include "engine/formats/CharDictFormat.h"
#include "tests/support/TestPaths.h"

namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteAll(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// A character list of 60 characters: character i is the pair ('A' + i / 26,
// 'a' + i % 26) so every run's bytes are told apart, and runs:
// ba 0..3, zha 4..6, zhang 7..59; "bad" starts past the end.
struct Files {
  std::string order, syllables;
};
Files MakeFiles(uint32_t badStart = 70) {
  Files f;
  for (int i = 0; i < 60; ++i) {
    f.order += static_cast<char>('A' + i / 26);
    f.order += static_cast<char>('a' + i % 26);
  }
  std::vector<chardict::SyllableRun> runs = {
      {"ba", 4, 0}, {"bad", 2, badStart}, {"zha", 3, 4}, {"zhang", 53, 7}};
  f.syllables = chardict::WritePyKeys(runs);
  while (f.syllables.size() < chardict::kMinFileBytes) f.syllables += '\0';
  return f;
}

std::string Pair(uint16_t v) {
  return std::string{static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)};
}

TEST(ZiOrderBook, FuzzySuffix) {
  struct Case {
    bool fuzzy, zh, ch, sh, lr;
    const char* want;
  } const cases[] = {{false, true, true, true, true, ""},
                     {true, true, true, true, false, "1110"},
                     {true, false, true, false, true, "0101"},
                     {true, false, false, false, false, ""}};  // no pair: no suffix
  for (const Case& c : cases)
    EXPECT_STREQ(ZiOrderBook::FuzzySuffix(c.fuzzy, c.zh, c.ch, c.sh, c.lr), c.want);
}

class Book : public ::testing::Test {
 protected:
  void SetUp() override {
    m_files = MakeFiles();
    WriteAll(Order(), m_files.order);
    WriteAll(Syllables(), m_files.syllables);
  }
  std::string Order() const { return m_dir.File("flatAdjust.dic1000"); }
  std::string Syllables() const { return m_dir.File("pykeys.dic1000"); }
  kvrtest::ScratchDir m_dir;
  Files m_files;
  ZiOrderBook m_book;
};

TEST_F(Book, RunsComeFromTheFilesOwnSyllableList) {
  std::string error;
  ASSERT_TRUE(m_book.Load(Order(), Syllables(), error)) << error;
  struct Case {
    const char* syllable;
    bool known;
    uint32_t start, count;
  } const cases[] = {{"ba", true, 0, 4},      {"zha", true, 4, 3},
                     {"zhang", true, 7, 53},  {"bad", false, 0, 0},  // its run starts past the file
                     {"zh", false, 0, 0},                            // a beginning of a syllable
                     {"zhangg", false, 0, 0}, {"", false, 0, 0}};
  for (const Case& c : cases) {
    uint32_t start = 99, count = 99;
    EXPECT_EQ(m_book.RunOf(c.syllable, start, count), c.known) << c.syllable;
    if (!c.known) continue;
    EXPECT_EQ(start, c.start) << c.syllable;
    EXPECT_EQ(count, c.count) << c.syllable;
  }
  CWordArray chars;
  ASSERT_TRUE(m_book.ReadRun("zha", chars));
  ASSERT_EQ(chars.GetSize(), 3);
  EXPECT_EQ(Pair(chars[0]) + Pair(chars[1]) + Pair(chars[2]), "AeAfAg");
}

TEST_F(Book, ARunReachingPastTheFileIsUnknown) {
  // zhang's 53 characters from 7 end exactly at the 60th; one more is past.
  Files f = MakeFiles();
  f.order.resize(f.order.size() - 2);
  WriteAll(Order(), f.order);
  std::string error;
  ASSERT_TRUE(m_book.Load(Order(), Syllables(), error)) << error;
  uint32_t start = 0, count = 0;
  EXPECT_FALSE(m_book.RunOf("zhang", start, count));
  EXPECT_TRUE(m_book.RunOf("zha", start, count));
}

TEST_F(Book, ShortOrMissingFilesAreRefused) {
  std::string error;
  WriteAll(Order(), m_files.order.substr(0, 98));
  EXPECT_FALSE(m_book.Load(Order(), Syllables(), error));
  EXPECT_FALSE(m_book.Loaded());
  EXPECT_FALSE(m_book.Load(m_dir.File("none"), Syllables(), error));
  EXPECT_NE(error.find("none"), std::string::npos) << error;
}

TEST_F(Book, AWrittenRunChangesOnlyItsBytes) {
  std::string error;
  ASSERT_TRUE(m_book.Load(Order(), Syllables(), error)) << error;
  CWordArray chars;
  ASSERT_TRUE(m_book.ReadRun("zha", chars));
  const uint16_t first = chars[0];
  chars.RemoveAt(0, 1);
  chars.Add(first);
  ASSERT_TRUE(m_book.WriteRun("zha", chars));
  std::string want = m_files.order;
  want.replace(8, 6, "AfAgAe");
  EXPECT_EQ(std::string(m_book.Bytes().begin(), m_book.Bytes().end()), want);
  // A run of another length is refused whole.
  chars.Add(first);
  EXPECT_FALSE(m_book.WriteRun("zha", chars));
  EXPECT_FALSE(m_book.WriteRun("bad", chars));
  EXPECT_EQ(std::string(m_book.Bytes().begin(), m_book.Bytes().end()), want);
  // Saved, the file holds the new order and keeps its mode.
  ASSERT_EQ(chmod(Order().c_str(), 0640), 0);
  ASSERT_TRUE(m_book.Save(SystemFileOps(), error)) << error;
  EXPECT_EQ(ReadAll(Order()), want);
  struct stat st {};
  ASSERT_EQ(stat(Order().c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
}

// Every operation of the save fails in turn; each time the old file stays
// whole and the fault is named.
struct NthOpFails : IFileOps {
  int n, seen = 0;
  explicit NthOpFails(int which) : n(which) {}
  bool Fail() {
    if (++seen != n) return false;
    errno = EIO;
    return true;
  }
  int Create(const char* p) override { return Fail() ? -1 : SystemFileOps().Create(p); }
  ssize_t Write(int fd, const void* d, size_t k) override {
    return Fail() ? -1 : SystemFileOps().Write(fd, d, k);
  }
  int Fchmod(int fd, mode_t m) override { return Fail() ? -1 : SystemFileOps().Fchmod(fd, m); }
  int Fsync(int fd) override { return Fail() ? -1 : SystemFileOps().Fsync(fd); }
  int Close(int fd) override { return Fail() ? -1 : SystemFileOps().Close(fd); }
  int Rename(const char* a, const char* b) override {
    return Fail() ? -1 : SystemFileOps().Rename(a, b);
  }
  int SyncDir(const char* d) override { return SystemFileOps().SyncDir(d); }
  int Remove(const char* p) override { return SystemFileOps().Remove(p); }
};

TEST_F(Book, AFailedSaveKeepsTheOldFile) {
  std::string error;
  ASSERT_TRUE(m_book.Load(Order(), Syllables(), error)) << error;
  CWordArray chars;
  ASSERT_TRUE(m_book.ReadRun("ba", chars));
  const uint16_t first = chars[0];
  chars.RemoveAt(0, 1);
  chars.Add(first);
  ASSERT_TRUE(m_book.WriteRun("ba", chars));
  for (int n = 1; n <= 6; ++n) {
    NthOpFails ops(n);
    error.clear();
    EXPECT_FALSE(m_book.Save(ops, error)) << "operation " << n;
    EXPECT_FALSE(error.empty()) << "operation " << n;
    EXPECT_EQ(ReadAll(Order()), m_files.order) << "operation " << n;
  }
}

}  // namespace
