#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <map>
#include <string>
#include <vector>

#include "tests/controls/RcTestUtil.h"

namespace {

const char* const kBlobs[] = {"mnublob.brc",  "tbarblob.brc",  "bmpblob.brc", "iconblob.brc",
                              "cursblob.brc", "accelblob.brc", "strblob.brc", "dlgblob.brc"};

std::string Bytes(std::initializer_list<int> b) {
  std::string s;
  for (int v : b) s += static_cast<char>(v);
  return s;
}

// Little-endian 32-bit field, and a string field.
std::string L(int32_t v) {
  return Bytes({v & 0xff, (v >> 8) & 0xff, (v >> 16) & 0xff, (v >> 24) & 0xff});
}
std::string S(const std::string& text) { return L(static_cast<int32_t>(text.size())) + text; }

// Compiles text in dir (which gets a res/ directory) and writes the blobs.
void CompileAndSave(CRcCmplr& rc, const kvrtest::ScratchDir& dir, const std::string& text) {
  mkdir(dir.File("res").c_str(), 0777);
  ASSERT_EQ(rctest::Compile(rc, dir, text), 1);
  ASSERT_EQ(rc.SaveGuiRes(), 1);
}

TEST(RcBlobs, GoldenBytes) {
  kvrtest::ScratchDir dir;
  CRcCmplr rc;
  CompileAndSave(rc, dir,
                 "#define IDR_M 4\n"
                 "IDR_M MENU X\nBEGIN\n POPUP \"P\"\n BEGIN\n  MENUITEM \"a\", 5\n"
                 "  MENUITEM \"b\", 6\n  MENUITEM SEPARATOR\n END\nEND\n"
                 "IDB_X BITMAP \"x.bmp\"\n"
                 "D DIALOG 0,0,10,20\nCAPTION \"C\"\nBEGIN\n"
                 "  CONTROL \"t\",7,\"Button\",BS_AUTORADIOBUTTON | WS_GROUP,1,2,3,4\nEND\n"
                 "A ACCELERATORS\nBEGIN\n \"C\", 9, VIRTKEY, CONTROL\nEND\n");
  const std::string cell0 = L(0) + Bytes({0, 0});
  const std::string menu = Bytes({1, 0}) + S("4") +
                           /* root */ cell0 + L(4) + S("") + L(1) +
                           /* popup */ cell0 + L(-1) + S("P") + L(3) +
                           /* items */ L(1) + Bytes({0, 0}) + L(5) + S("a") + L(0) + L(1) +
                           Bytes({0, 0}) + L(6) + S("b") + L(0) +
                           /* separator */ L(2) + Bytes({0, 0}) + L(-1) + S("") + L(0);
  const std::string dlg = Bytes({1, 0}) + S("D") + L(0) + L(10) + L(20) + L(16) + S("C") + S("") +
                          L(1) + Bytes({5, 0, 0}) + L(7) + L(0) + L(0) + L(0) + L(0) + L(1) + L(2) +
                          L(3) + L(4) + S("t");
  const std::string accel =
      Bytes({1, 0}) + S("A") + S("") + L(1) + Bytes({'C', 0, 0, 0, 0, 1, 0, 0}) + L(9);
  const std::map<std::string, std::string> want = {
      {"mnublob.brc", menu},
      {"tbarblob.brc", Bytes({0, 0})},
      {"bmpblob.brc", Bytes({1, 0}) + S("IDB_X") + S("x.bmp")},
      {"iconblob.brc", Bytes({0, 0})},
      {"cursblob.brc", Bytes({0, 0})},
      {"accelblob.brc", accel},
      {"strblob.brc", Bytes({0, 0})},
      {"dlgblob.brc", dlg},
  };
  for (const auto& [name, bytes] : want) {
    SCOPED_TRACE(name);
    EXPECT_EQ(rctest::ReadFile(dir.File("res/" + name)), bytes);
  }
}

using Dumped = std::map<std::string, std::string>;

// One entry as the bytes write puts on a FILE.
template <class W>
void DumpEntry(Dumped& out, const std::string& table, const CString& key, W write) {
  char* data = nullptr;
  size_t n = 0;
  FILE* f = open_memstream(&data, &n);
  write(f);
  fclose(f);
  out[table + ":" + static_cast<const char*>(key)] = std::string(data, n);
  free(data);
}

template <class V, class W>
void DumpTable(Dumped& out, const char* table, AMap<CString, CString&, V, V&>& map, W write) {
  long pos = map.GetStartPosition();
  while (pos != 0) {
    CString k;
    V v{};
    map.GetNextMapRec(pos, k, v);
    DumpEntry(out, table, k, [&](FILE* f) { write(f, v); });
  }
}

void DumpTable(Dumped& out, const char* table, AMapStringToString& map) {
  long pos = map.GetStartPosition();
  while (pos != 0) {
    CString k, v;
    map.GetNextMapRec(pos, k, v);
    DumpEntry(out, table, k, [&](FILE* f) { fputs(v, f); });
  }
}

// Every entry of every table in a canonical form (sorted by table and key),
// to compare two compilers' tables.
Dumped Dump(CRcCmplr& rc) {
  Dumped out;
  DumpTable(out, "bmp", rc.m_mapBmps);
  DumpTable(out, "icon", rc.m_mapIcons);
  DumpTable(out, "curs", rc.m_mapCursors);
  DumpTable(out, "str", rc.m_mapStrings);
  DumpTable(out, "dlg", rc.m_mapDlgs, [](FILE* f, typDlg& d) { d.DiskIO(0, f); });
  DumpTable(out, "menu", rc.m_mapMenus, [](FILE* f, typMnuCell*& r) { r->DiskIO(0, f); });
  DumpTable(out, "tbar", rc.m_mapToolbars, [](FILE* f, typToolbar& t) { t.DiskIO(0, f); });
  DumpTable(out, "accel", rc.m_mapAccels, [](FILE* f, typAccelerator& a) { a.DiskIO(0, f); });
  return out;
}

const char kEveryTable[] =
    "M MENU X\nBEGIN\n POPUP \"P\"\n BEGIN\n  POPUP \"Q\"\n  BEGIN\n   MENUITEM \"a\", 5\n"
    "  END\n END\n MENUITEM \"t\", 8\nEND\n"
    "B1 BITMAP \"b1.bmp\"\nB2 BITMAP \"b2.jpg\"\nI ICON \"i.ico\"\nC CURSOR \"c.cur\"\n"
    "STRINGTABLE\nBEGIN\n 1 \"one\"\n 2 \"\xc4\xe3\"\nEND\n"
    "T TOOLBAR 16, 15\nBEGIN\n BUTTON 1\n BUTTON 2\nEND\n"
    "A ACCELERATORS\nBEGIN\n \"X\", 3, ALT\n \"Y\", 4\nEND\n"
    "D1 DIALOG 0,0,10,20\nBEGIN\n LTEXT \"x\",1,1,2,3,4\n"
    " CONTROL \"r\",2,\"Button\",BS_AUTORADIOBUTTON | WS_GROUP,1,2,3,4\nEND\n"
    "D2 DIALOG 0,0,30,40\nCAPTION \"c\"\nFONT 9, \"f\"\nBEGIN\nEND\n";

TEST(RcBlobs, RoundTripGivesTheSameTables) {
  kvrtest::ScratchDir dir;
  CRcCmplr rc;
  CompileAndSave(rc, dir, kEveryTable);
  CRcCmplr back;
  back.EchoReports(false);
  back.SetProgramDir(rc.GetProgramDir());
  ASSERT_EQ(back.LoadGuiResFromBinary(), 1);
  EXPECT_EQ(Dump(back), Dump(rc));
  EXPECT_EQ(Dump(rc).size(), 11u);
  // The group flag is not stored.
  for (const typCtrl& c : rctest::Controls(back, "D1")) EXPECT_EQ(c.m_group, 0);
}

TEST(RcBlobs, RewriteLeavesNoTemporaryFiles) {
  kvrtest::ScratchDir dir;
  CRcCmplr rc;
  mkdir(dir.File("res").c_str(), 0777);
  rctest::WriteFile(dir.File("res/bmpblob.brc"), "old content");
  CompileAndSave(rc, dir, "B BITMAP \"b.bmp\"\n");
  EXPECT_EQ(rctest::ReadFile(dir.File("res/bmpblob.brc")), Bytes({1, 0}) + S("B") + S("b.bmp"));
  std::vector<std::string> names;
  DIR* d = opendir(dir.File("res").c_str());
  ASSERT_NE(d, nullptr);
  while (dirent* e = readdir(d))
    if (e->d_name[0] != '.') names.push_back(e->d_name);
  closedir(d);
  EXPECT_EQ(names.size(), 8u);
}

TEST(RcBlobs, MissingResDirectoryWritesNothing) {
  kvrtest::ScratchDir dir;
  CRcCmplr rc;
  ASSERT_EQ(rctest::Compile(rc, dir, "B BITMAP \"b.bmp\"\n"), 1);
  EXPECT_EQ(rc.SaveGuiRes(), 1);
  struct stat st;
  EXPECT_NE(stat(dir.File("res").c_str(), &st), 0);
  EXPECT_TRUE(rctest::Reported(rc, "mnublob.brc"));
  EXPECT_EQ(rctest::Reports(rc).size(), 1u);  // one report, then it stops
}

TEST(RcBlobs, ScriptThatCannotBeOpenedStillWritesEmptyTables) {
  kvrtest::ScratchDir dir;
  mkdir(dir.File("res").c_str(), 0777);
  CRcCmplr rc;
  rc.EchoReports(false);
  EXPECT_EQ(rc.LoadGuiResFromRC(dir.File("none.rc").c_str()), 0);
  EXPECT_EQ(rc.SaveGuiRes(), 1);
  for (const char* name : kBlobs)
    EXPECT_EQ(rctest::ReadFile(dir.File(std::string("res/") + name)), Bytes({0, 0}));
}

TEST(RcBlobs, MissingFileStopsTheReader) {
  kvrtest::ScratchDir dir;
  CRcCmplr rc;
  CompileAndSave(rc, dir, kEveryTable);
  ASSERT_EQ(remove(dir.File("res/iconblob.brc").c_str()), 0);
  CRcCmplr back;
  back.EchoReports(false);
  back.SetProgramDir(rc.GetProgramDir());
  EXPECT_EQ(back.LoadGuiResFromBinary(), 0);
  EXPECT_EQ(back.m_mapBmps.GetCount(), 2);  // read before the missing file
  EXPECT_EQ(back.m_mapDlgs.GetCount(), 0);  // after it: unchanged
}

// Damaged files: each must be refused with a report, leave its table empty
// and never read past what the file holds.
TEST(RcBlobs, DamagedFilesAreRefused) {
  kvrtest::ScratchDir dir;
  CRcCmplr rc;
  CompileAndSave(rc, dir, kEveryTable);
  const std::string dlg = rctest::ReadFile(dir.File("res/dlgblob.brc"));
  const std::string mnu = rctest::ReadFile(dir.File("res/mnublob.brc"));
  const std::string acc = rctest::ReadFile(dir.File("res/accelblob.brc"));

  struct Case {
    std::string name, file, bytes;
  };
  std::vector<Case> cases;
  // Every truncation of the dialog, menu and accelerator files.
  for (size_t n = 0; n < dlg.size(); ++n)
    cases.push_back({"dlg cut at " + std::to_string(n), "dlgblob.brc", dlg.substr(0, n)});
  for (size_t n = 0; n < mnu.size(); ++n)
    cases.push_back({"menu cut at " + std::to_string(n), "mnublob.brc", mnu.substr(0, n)});
  for (size_t n = 0; n < acc.size(); ++n)
    cases.push_back({"accel cut at " + std::to_string(n), "accelblob.brc", acc.substr(0, n)});
  const std::string dlgHead = Bytes({1, 0}) + S("D") + L(0) + L(1) + L(1) + L(16) + S("") + S("");
  cases.push_back({"negative entry count", "bmpblob.brc", Bytes({0xff, 0xff})});
  cases.push_back({"entry count beyond the file", "bmpblob.brc", Bytes({5, 0}) + S("a") + S("b")});
  cases.push_back({"huge string length", "bmpblob.brc", Bytes({1, 0}) + L(0x7fffffff) + "abc"});
  cases.push_back({"negative string length", "strblob.brc", Bytes({1, 0}) + L(-5) + "abc"});
  cases.push_back({"huge control count", "dlgblob.brc", dlgHead + L(0x10000000)});
  cases.push_back({"negative control count", "dlgblob.brc", dlgHead + L(-1)});
  cases.push_back(
      {"huge accelerator count", "accelblob.brc", Bytes({1, 0}) + S("A") + S("") + L(0x7fffffff)});
  cases.push_back({"huge button count", "tbarblob.brc",
                   Bytes({1, 0}) + S("T") + Bytes({0, 0}) + L(-1) + S("") + L(1 << 30)});
  // A menu nested deeper than any script makes: each level one child.
  std::string deep = Bytes({1, 0}) + S("M");
  for (int i = 0; i < 5000; ++i) deep += L(0) + Bytes({0, 0}) + L(-1) + S("") + L(1);
  deep += L(1) + Bytes({0, 0}) + L(1) + S("") + L(0);
  cases.push_back({"menu nested 5000 deep", "mnublob.brc", deep});

  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string good = rctest::ReadFile(dir.File("res/" + c.file));
    rctest::WriteFile(dir.File("res/" + c.file), c.bytes);
    CRcCmplr back;
    back.EchoReports(false);
    back.SetProgramDir(rc.GetProgramDir());
    EXPECT_EQ(back.LoadGuiResFromBinary(), 0);
    EXPECT_TRUE(rctest::Reported(back, c.file + ": damaged"));
    rctest::WriteFile(dir.File("res/" + c.file), good);
  }
}

}  // namespace

namespace {

// The system's file operations, but the n-th of them (counting from 1, all
// but the clean-up's Remove) fails with EIO.
class FailNth : public IFileOps {
 public:
  explicit FailNth(int n) : m_n(n) {}
  int Create(const char* p) override { return Fail() ? -1 : Sys().Create(p); }
  ssize_t Write(int fd, const void* d, size_t n) override {
    return Fail() ? -1 : Sys().Write(fd, d, n);
  }
  int Fchmod(int fd, mode_t m) override { return Fail() ? -1 : Sys().Fchmod(fd, m); }
  int Fsync(int fd) override { return Fail() ? -1 : Sys().Fsync(fd); }
  int Close(int fd) override { return Fail() ? (Sys().Close(fd), -1) : Sys().Close(fd); }
  int Rename(const char* a, const char* b) override { return Fail() ? -1 : Sys().Rename(a, b); }
  int SyncDir(const char* d) override { return Fail() ? -1 : Sys().SyncDir(d); }
  int Remove(const char* p) override { return Sys().Remove(p); }
  int m_calls = 0;

 private:
  static IFileOps& Sys() { return SystemFileOps(); }
  bool Fail() {
    if (++m_calls != m_n) return false;
    errno = EIO;
    return true;
  }
  int m_n;
};

std::vector<std::string> Entries(const std::string& path) {
  std::vector<std::string> names;
  DIR* d = opendir(path.c_str());
  while (dirent* e = d ? readdir(d) : nullptr)
    if (e->d_name[0] != '.') names.push_back(e->d_name);
  if (d) closedir(d);
  std::sort(names.begin(), names.end());
  return names;
}

// Fail each file operation of a save in turn: every blob file then holds its
// old or its new content, whole, and nothing else is left in res/.
TEST(RcBlobs, AFailureAtAnyStepLeavesEachFileOldOrNew) {
  kvrtest::ScratchDir dir;
  CRcCmplr rc;
  CompileAndSave(rc, dir, kEveryTable);
  std::map<std::string, std::string> oldFiles, newFiles;
  for (const char* name : kBlobs)
    oldFiles[name] = rctest::ReadFile(dir.File(std::string("res/") + name));
  const std::string newScript = "B BITMAP \"new.bmp\"\nM MENU X\nBEGIN\nMENUITEM \"n\", 1\nEND\n";
  CompileAndSave(rc, dir, newScript);
  for (const char* name : kBlobs)
    newFiles[name] = rctest::ReadFile(dir.File(std::string("res/") + name));
  const std::vector<std::string> names = Entries(dir.File("res"));

  for (int n = 1;; ++n) {
    SCOPED_TRACE(n);
    for (const auto& [name, bytes] : oldFiles) rctest::WriteFile(dir.File("res/" + name), bytes);
    const size_t nReports = rctest::Reports(rc).size();
    FailNth ops(n);
    rc.SetFileOps(ops);
    EXPECT_EQ(rc.SaveGuiRes(), 1);
    rc.SetFileOps(SystemFileOps());
    for (const char* name : kBlobs) {
      const std::string got = rctest::ReadFile(dir.File(std::string("res/") + name));
      EXPECT_TRUE(got == oldFiles[name] || got == newFiles[name]) << name;
    }
    EXPECT_EQ(Entries(dir.File("res")), names);
    if (ops.m_calls < n) break;  // the save got through without meeting the failure
    EXPECT_EQ(rctest::Reports(rc).size(), nReports + 1);  // the failure, once
  }
}

}  // namespace

namespace {

// The system's file operations, counted by kind.
class CountingOps : public IFileOps {
 public:
  int Create(const char* p) override { return Sys().Create(p); }
  ssize_t Write(int fd, const void* d, size_t n) override { return Sys().Write(fd, d, n); }
  int Fchmod(int fd, mode_t m) override { return Sys().Fchmod(fd, m); }
  int Fsync(int fd) override { return ++m_syncs, Sys().Fsync(fd); }
  int Close(int fd) override { return Sys().Close(fd); }
  int Rename(const char* a, const char* b) override { return ++m_renames, Sys().Rename(a, b); }
  int SyncDir(const char* d) override { return ++m_syncs, Sys().SyncDir(d); }
  int Remove(const char* p) override { return Sys().Remove(p); }
  int m_syncs = 0;
  int m_renames = 0;

 private:
  static IFileOps& Sys() { return SystemFileOps(); }
};

// The blobs are made again at every start: each still replaces its file
// through a rename, but none is synced to disk.
TEST(RcBlobs, SaveRenamesEveryFileWithoutSyncing) {
  kvrtest::ScratchDir dir;
  CRcCmplr rc;
  CompileAndSave(rc, dir, kEveryTable);
  CountingOps ops;
  rc.SetFileOps(ops);
  EXPECT_EQ(rc.SaveGuiRes(), 1);
  rc.SetFileOps(SystemFileOps());
  EXPECT_EQ(ops.m_renames, 8);
  EXPECT_EQ(ops.m_syncs, 0);
  EXPECT_EQ(Entries(dir.File("res")).size(), 8u);
}

}  // namespace
