#include <gtest/gtest.h>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <map>
#include <string>

#include "engine/formats/PhraseStoreFormat.h"
#include "tests/engine/ChoiceFixture.h"
#include "tests/engine/LexiconFixture.h"

namespace {

using lexicontest::Lexicon;
using lexicontest::LexiconFiles;
using lexicontest::ToGbk;
using Snapshot = std::map<std::string, std::string>;

enum class Fault { kFail, kKill };

// The system's file operations without the waits for the disk. What these
// tests inject is a failed call or a killed process, not a lost disk cache,
// and the hundreds of syncs of a step-by-step run take minutes on a busy
// machine.
struct NoWaitOps : IFileOps {
  int Create(const char* p) override { return SystemFileOps().Create(p); }
  ssize_t Write(int fd, const void* d, size_t n) override {
    return SystemFileOps().Write(fd, d, n);
  }
  int Fchmod(int fd, mode_t m) override { return SystemFileOps().Fchmod(fd, m); }
  int Fsync(int) override { return 0; }
  int Close(int fd) override { return SystemFileOps().Close(fd); }
  int Rename(const char* a, const char* b) override { return SystemFileOps().Rename(a, b); }
  int SyncDir(const char*) override { return 0; }
  int Remove(const char* p) override { return SystemFileOps().Remove(p); }
};

IFileOps& NoWait() {
  static NoWaitOps ops;
  return ops;
}

// File operations that fail (or end the process) at the n-th operation of
// a save and pass every other one to the system.
struct FaultyOps : IFileOps {
  int failAt;  // 0: every operation fails
  Fault fault;
  int count = 0;
  bool hit = false;
  FaultyOps(int n, Fault f) : failAt(n), fault(f) {}
  bool Now() {
    if (++count != failAt && failAt != 0) return false;
    hit = true;
    if (fault == Fault::kKill) _exit(7);
    errno = EIO;
    return true;
  }
  int Create(const char* p) override { return Now() ? -1 : NoWait().Create(p); }
  ssize_t Write(int fd, const void* d, size_t n) override {
    return Now() ? -1 : NoWait().Write(fd, d, n);
  }
  int Fchmod(int fd, mode_t m) override { return Now() ? -1 : NoWait().Fchmod(fd, m); }
  int Fsync(int fd) override { return Now() ? -1 : NoWait().Fsync(fd); }
  int Close(int fd) override {
    const bool fail = Now();
    NoWait().Close(fd);
    return fail ? -1 : 0;
  }
  int Rename(const char* a, const char* b) override { return Now() ? -1 : NoWait().Rename(a, b); }
  int SyncDir(const char* d) override { return Now() ? -1 : NoWait().SyncDir(d); }
  int Remove(const char* p) override { return NoWait().Remove(p); }
};

class Save : public Lexicon {
 protected:
  // Puts the files back as they were in snap and starts the engine on them.
  void Reset(const Snapshot& snap) {
    m_host.fileOps = &NoWait();
    dictionary.CloseDictionary();
    for (const auto& [name, bytes] : snap) {
      const std::string p = Path(name.c_str());
      unlink(p.c_str());
      if (bytes != "<missing>") {
        std::ofstream out(p, std::ios::binary);
        out << bytes;
      }
    }
    gbInitDone = 0;
    dictionary.InitFirst();
    dictionary.InitDictionary();
    m_host.calls.clear();
  }
  // Whether any temporary file of a save is left in the directory.
  bool StrayTemp() const {
    DIR* d = opendir(m_dir.Path().c_str());
    bool found = false;
    while (dirent* e = readdir(d)) found = found || strstr(e->d_name, ".tmp.") != nullptr;
    closedir(d);
    return found;
  }
  // On disk each file is old or new, whole, and the files replaced are the
  // first of those that change, in the order a save puts them in place.
  static void ExpectOldOrNew(const Snapshot& disk, const Snapshot& old, const Snapshot& now) {
    bool stillNew = true;
    for (const std::string& f : LexiconFiles()) {
      SCOPED_TRACE(f);
      const bool isOld = disk.at(f) == old.at(f);
      const bool isNew = disk.at(f) == now.at(f);
      EXPECT_TRUE(isOld || isNew) << "a mix";
      if (old.at(f) == now.at(f)) continue;
      if (!isNew)
        stillNew = false;
      else
        EXPECT_TRUE(stillNew) << "put in place before a file it points into";
    }
  }
};

TEST_F(Save, AFailureAtAnyStepLeavesTheOldOrTheNewLexiconAndIsRetried) {
  m_host.fileOps = &NoWait();
  const Snapshot old = Files();
  int steps = 0;
  for (int n = 1; n < 200; ++n) {
    SCOPED_TRACE(n);
    FaultyOps ops(n, Fault::kFail);
    m_host.fileOps = &ops;
    ASSERT_EQ(Add("中国人"), 1);
    m_host.fileOps = &NoWait();
    if (!ops.hit) {
      steps = n;
      break;
    }
    const Snapshot disk = Files();
    EXPECT_NE(dictionary.m_tmCiKuChanged, 0u) << "still to be saved";
    EXPECT_EQ(m_host.Calls("msgbox ").size(), 1u) << "the failure is reported";
    EXPECT_FALSE(StrayTemp());
    EXPECT_EQ(dictionary.SaveCiKuDirtyData(), 1) << "the next save gets it through";
    const Snapshot now = Files();
    EXPECT_NE(now, old);
    ExpectOldOrNew(disk, old, now);
    Reset(old);
  }
  EXPECT_GT(steps, 20) << "every step of the save was tried";
}

TEST_F(Save, AProcessKilledAtAnyStepLeavesTheOldOrTheNewLexicon) {
  m_host.fileOps = &NoWait();
  const Snapshot old = Files();
  for (int n = 1; n < 200; ++n) {
    SCOPED_TRACE(n);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      FaultyOps ops(n, Fault::kKill);
      m_host.fileOps = &ops;
      Add("中国人");
      _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    const Snapshot disk = Files();
    ASSERT_EQ(Add("中国人"), 1);
    const Snapshot now = Files();
    ExpectOldOrNew(disk, old, now);
    Reset(old);
    if (WEXITSTATUS(status) == 0) break;  // the save got through
  }
}

TEST_F(Save, FilesKeepTheirModes) {
  const std::string store = Path("CiZuFlat.igb"), index = Path("pycizudic.idx");
  ASSERT_EQ(chmod(store.c_str(), 0444), 0);
  ASSERT_EQ(chmod(index.c_str(), 0640), 0);
  ASSERT_EQ(Add("中国"), 1);
  EXPECT_EQ(dictionary.m_bCiZuFlatDirty, 0) << "a read-only lexicon is still saved";
  struct stat st;
  ASSERT_EQ(stat(store.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0444u);
  ASSERT_EQ(stat(index.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  Restart();
  EXPECT_GT(OffsetOf("中国"), 0);
}

TEST_F(Save, TwoProcessesDoNotSaveAtOnce) {
  int locked[2], release[2];  // child to parent, parent to child
  ASSERT_EQ(pipe(locked), 0);
  ASSERT_EQ(pipe(release), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // Another kvr in the middle of its save: it holds the lock until told.
    const int fd = open(m_dir.Path().c_str(), O_RDONLY | O_DIRECTORY);
    flock(fd, LOCK_EX);
    char c;
    (void)!write(locked[1], "l", 1);
    (void)!read(release[0], &c, 1);
    _exit(0);
  }
  char c;
  ASSERT_EQ(read(locked[0], &c, 1), 1);
  const Snapshot before = Files();
  ASSERT_EQ(Add("中国"), 1);
  EXPECT_EQ(Files(), before) << "waited, then left the files alone";
  EXPECT_NE(dictionary.m_tmCiKuChanged, 0u);
  ASSERT_EQ(write(release[1], "g", 1), 1);
  int status = 0;
  waitpid(child, &status, 0);
  for (int fd : {locked[0], locked[1], release[0], release[1]}) close(fd);
  EXPECT_EQ(dictionary.SaveCiKuDirtyData(), 1);
  EXPECT_NE(Files(), before);
}

TEST_F(Save, IdleWorkSavesLearningShortlyAfterItChanges) {
  ASSERT_EQ(Add("中国"), 1);
  ASSERT_EQ(Add("种国"), 1);
  const uint32_t t = m_host.nowSec;
  const Snapshot added = Files();
  // The queue for the shape code, a phrase weight and the character order.
  typCharFatFmt phrase = typCharFatFmt::PhraseAt(static_cast<uint32_t>(OffsetOf("种国")));
  phrase.SetKey("zhongguo");
  EXPECT_EQ(dictionary.AdjustCiUsageWeight(phrase, 0), 1);
  const std::vector<std::string> zhong = Lookup("zhong");
  typCharFatFmt ch = choicetest::CharOf(zhong.back().c_str(), "zhong");
  EXPECT_EQ(dictionary.AdjustZiUsageWeight(ch), 1);
  const std::string flat = lexicontest::ReadFile(Path("flatAuto.dic"));

  EXPECT_EQ(dictionary.SaveLexiconWhenIdle(t + 1), 0) << "not yet";
  EXPECT_EQ(Files(), added);
  m_host.nowSec = t + kIdleSaveDelaySec;
  EXPECT_EQ(dictionary.SaveLexiconWhenIdle(t + kIdleSaveDelaySec), 1);
  const Snapshot saved = Files();
  EXPECT_NE(saved.at("pycizudic.idx"), added.at("pycizudic.idx"));
  EXPECT_NE(saved.at("pxcizudic.idx"), added.at("pxcizudic.idx")) << "the queue was filed";
  EXPECT_NE(lexicontest::ReadFile(Path("flatAuto.dic")), flat);
  EXPECT_FALSE(dictionary.LexiconDirty());
  EXPECT_EQ(dictionary.SaveLexiconWhenIdle(t + 100), 0) << "nothing left";
}

TEST_F(Save, AFailedIdleSaveIsReportedOnceAndTriedAgainLater) {
  ASSERT_EQ(Add("中国"), 1);
  ASSERT_EQ(Add("种国"), 1);
  const uint32_t t = m_host.nowSec;
  typCharFatFmt phrase = typCharFatFmt::PhraseAt(static_cast<uint32_t>(OffsetOf("种国")));
  phrase.SetKey("zhongguo");
  ASSERT_EQ(dictionary.AdjustCiUsageWeight(phrase, 0), 1);
  FaultyOps ops(0, Fault::kFail);  // a full disk
  m_host.fileOps = &ops;
  m_host.nowSec = t + kIdleSaveDelaySec;
  EXPECT_EQ(dictionary.SaveLexiconWhenIdle(m_host.nowSec), -1);
  EXPECT_TRUE(dictionary.LexiconDirty());
  m_host.fileOps = &SystemFileOps();
  EXPECT_EQ(dictionary.SaveLexiconWhenIdle(m_host.nowSec + 1), 0) << "waits before the next try";
  m_host.nowSec += kIdleSaveDelaySec;
  EXPECT_EQ(dictionary.SaveLexiconWhenIdle(m_host.nowSec), 1);
  EXPECT_FALSE(dictionary.LexiconDirty());
  EXPECT_EQ(m_host.Calls("msgbox ").size(), 1u);
}

// A switch of input mode reloads the phrase indexes; when the save before
// it fails (a full disk), what was learned stays in memory and reaches the
// files with the next save.
TEST_F(Save, AFailedSaveBeforeAReloadKeepsWhatWasLearned) {
  ASSERT_EQ(Add("中国"), 1);
  ASSERT_EQ(Add("种国"), 1);
  const std::vector<std::string> onDisk = Lookup("zhongguo");
  typCharFatFmt phrase = typCharFatFmt::PhraseAt(static_cast<uint32_t>(OffsetOf("种国")));
  phrase.SetKey("zhongguo");
  for (int i = 0; i < 8 && Lookup("zhongguo") == onDisk; ++i)
    dictionary.AdjustCiUsageWeight(phrase, 0);
  const std::vector<std::string> learned = Lookup("zhongguo");
  ASSERT_NE(learned, onDisk) << "the weight moved the phrase";
  const Snapshot before = Files();
  FaultyOps ops(0, Fault::kFail);  // a full disk
  m_host.fileOps = &ops;
  EXPECT_EQ(dictionary.ReLoadCizuDics(0), 1);
  m_host.fileOps = &SystemFileOps();
  EXPECT_EQ(Files(), before);
  EXPECT_TRUE(dictionary.LexiconDirty());
  EXPECT_EQ(Lookup("zhongguo"), learned) << "the learned order is still in memory";
  EXPECT_EQ(dictionary.ReLoadCizuDics(0), 1);
  EXPECT_FALSE(dictionary.LexiconDirty());
  EXPECT_EQ(Lookup("zhongguo"), learned) << "saved, then reloaded from the files";
}

}  // namespace

// A store that is there but could not be loaded holds the user's phrases:
// no phrase is added then, so no save writes a new store over it. One that
// is missing or empty is started afresh.
TEST_F(Save, AStoreThatCannotBeLoadedIsNeverReplaced) {
  const std::string store = Path("CiZuFlat.igb");
  const struct {
    const char* name;
    void (*make)(const std::string& path);
    int added;  // what adding a phrase returns
  } cases[] = {
      {"larger than offsets reach",
       [](const std::string& p) {
         ASSERT_EQ(truncate(p.c_str(), phrasestore::kOffsetLimit + 1), 0);
       },
       0},
      {"a directory",
       [](const std::string& p) {
         ASSERT_EQ(unlink(p.c_str()), 0);
         ASSERT_EQ(mkdir(p.c_str(), 0755), 0);
       },
       0},
      {"missing", [](const std::string& p) { ASSERT_EQ(unlink(p.c_str()), 0); }, 1},
      {"empty", [](const std::string& p) { ASSERT_EQ(truncate(p.c_str(), 0), 0); }, 1},
  };
  m_host.fileOps = &NoWait();
  const Snapshot old = Files();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    c.make(store);
    struct stat before {};
    ASSERT_EQ(stat(store.c_str(), &before) == 0, std::string(c.name) != "missing");
    Restart();
    EXPECT_EQ(Add("中国人"), c.added);
    if (c.added) {
      EXPECT_NE(OffsetOf("中国人"), -1);
    }
    dictionary.CloseDictionary();
    struct stat after {};
    const bool there = stat(store.c_str(), &after) == 0;
    if (c.added) {
      EXPECT_TRUE(there);
    } else {
      ASSERT_TRUE(there) << "the store is gone";
      EXPECT_EQ(after.st_ino, before.st_ino) << "the store was replaced";
      EXPECT_EQ(after.st_size, before.st_size);
      EXPECT_FALSE(m_host.Calls("diag ").empty());
    }
    EXPECT_FALSE(StrayTemp());
    if (S_ISDIR(after.st_mode)) {
      ASSERT_EQ(rmdir(store.c_str()), 0);
    }
    Reset(old);
  }
}
