// The installation on a scratch tree: a package (kvrsetup's directory with
// Kivra_DistributionFiles/), a system root for the all-users paths and a
// home directory. The clock is the recording host's, so the five-second
// wait costs nothing; the file operations are logged and can fail.
#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "framework/SysUtil.h"
#include "framework/internal/PlatformRoot.h"
#include "installer/FileWork.h"
#include "installer/InstallTexts.h"
#include "installer/Installation.h"
#include "tests/installer/InstallFakes.h"
#include "tests/support/FileText.h"
#include "tests/support/TestPaths.h"

namespace {

using installer::CInstallation;
using installer::InstallChoice;

void Write(const std::string& path, const std::string& text, mode_t mode = 0644) {
  std::ofstream(path, std::ios::binary) << text;
  chmod(path.c_str(), mode);
}

void MakeDirs(const std::string& path) {
  ASSERT_EQ(std::system(("mkdir -p " + installer::ShellQuote(path)).c_str()), 0);
}

mode_t ModeOf(const std::string& path) {
  struct stat st {};
  return lstat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0;
}

// Every entry under dir: "relative/path mode" (directories end in '/'),
// and files also their content.
std::map<std::string, std::string> Snapshot(const std::string& dir, const std::string& rel = "") {
  std::map<std::string, std::string> out;
  DIR* d = opendir((dir + rel).c_str());
  if (!d) return out;
  while (const dirent* e = readdir(d)) {
    const std::string name = e->d_name;
    if (name == "." || name == "..") continue;
    const std::string path = rel + "/" + name;
    struct stat st {};
    lstat((dir + path).c_str(), &st);
    char mode[16];
    std::snprintf(mode, sizeof mode, "%o", static_cast<unsigned>(st.st_mode & 07777));
    if (S_ISDIR(st.st_mode)) {
      out[path + "/"] = mode;
      for (auto& kv : Snapshot(dir, path)) out.insert(kv);
    } else if (S_ISLNK(st.st_mode)) {
      out[path] = "link";
    } else {
      out[path] = std::string(mode) + " " + kvrtest::ReadFileText(dir + path);
    }
  }
  closedir(d);
  return out;
}

// The distribution a package ships, as name -> content ('x' mode 0755).
const std::map<std::string, std::string>& DistributionFiles() {
  static const std::map<std::string, std::string> files = {
      {"kvr", "x:the program"},
      {"pykeys.dic", "new pykeys"},
      {"gbkflat.dic", "new gbkflat"},
      {"py_1key.dic", "py_1key"},
      {"Jux.rc", "script"},
      {"resource.h", "ids"},
      {"res/bar.bmp", "bar"},
      {"res/keymap.bmp", "keymap"},
      {"fonts/fonts.dir", "1\nwqy.ttf -x-\n"},
      {"fonts/wqy.ttf", "glyphs"},
      {"licenses/rime.copyright", "notice"},
      {"sort.dic", "sort"},
      {"morvelui.ini", "[UI_STR]\n"},
      {"tips.txt", "tips"},
      {"KEYMAP.BMP", "upper-case keymap"},
      {"CiZuFlat.igb", "new store"},
      {"pycizudic.idx", "\x80new py index"},
      {"py2_3ZiCi1stZuMu.idx", "new py2"},
      {"pxcizudic.idx", "new px index"},
      {"ch2key.bin", "ch2key"},
      {"chdicres.bin", "chdicres"},
      {"chndic2.bin", "chndic2"},
      {"ch2py.bin", "ch2py"},
      {"kivraguide.htm", "guide"},
      {"extra.htm", "more guide"},
      {"photo.JPG", "photo"},
      {"notes.igb", "notes"},
      {".hidden.txt", "hidden"},
  };
  return files;
}

class Install : public ::testing::Test {
 protected:
  void SetUp() override {
    m_root = m_dir.Path();
    m_oldRoot = afc::SetPlatformRootForTest(m_root + "/sys");
    const char* home = std::getenv("HOME");
    m_oldHome = home ? home : "";
    m_home = m_root + "/home dir's";  // a blank and a quote to quote
    MakeDirs(m_home);
    setenv("HOME", m_home.c_str(), 1);
    MakeDirs(m_root + "/sys/usr/bin");
    MakeDirs(m_root + "/sys/etc/X11/xinit/xinitrc.d");
    Stage();
  }
  // (Re)fills the distribution directory of the package.
  void Stage() {
    MakeDirs(Dist() + "/res");
    MakeDirs(Dist() + "/fonts");
    MakeDirs(Dist() + "/licenses");
    for (const auto& [name, content] : DistributionFiles()) {
      const bool program = content.compare(0, 2, "x:") == 0;
      Write(Dist() + "/" + name, program ? content.substr(2) : content, program ? 0755 : 0644);
    }
  }
  void TearDown() override {
    afc::SetPlatformRootForTest(m_oldRoot);
    setenv("HOME", m_oldHome.c_str(), 1);
  }

  std::string Package() const { return m_root + "/pkg"; }
  std::string Dist() const { return Package() + "/Kivra_DistributionFiles"; }
  std::string Installed() const { return m_home + "/Kivra"; }
  std::string SysInstalled() const { return m_root + "/sys/usr/bin/Kivra"; }

  InstallChoice OneUser() const {
    InstallChoice c;
    c.progDir = Package() + "/";
    c.binDir = m_home;
    c.allUsers = false;
    c.sysType = kSysDebian;
    return c;
  }
  InstallChoice AllUsers(int sysType = kSysDebian) const {
    InstallChoice c;
    c.progDir = Package() + "/";
    c.binDir = "/usr/bin";
    c.allUsers = true;
    c.sysType = sysType;
    return c;
  }

  int Run(const InstallChoice& choice) {
    CInstallation install(choice, m_host, m_ops);
    const int r = install.InstallApp();
    m_errors = install.Errors();
    return r;
  }
  bool Succeeded() const {
    return !m_host.messages.empty() && m_host.messages.back() == installer::texts::kSucceeded;
  }

  kvrtest::ScratchDir m_dir;
  std::string m_root, m_home, m_oldRoot, m_oldHome;
  installertest::RecordingInstallHost m_host;
  installertest::LoggingInstallOps m_ops;
  std::vector<std::string> m_errors;
};

TEST_F(Install, AFreshInstallationForOneUserMovesEverythingIntoPlace) {
  ASSERT_EQ(Run(OneUser()), 1);
  EXPECT_TRUE(Succeeded()) << (m_errors.empty() ? "" : m_errors[0]);
  const auto tree = Snapshot(Installed());
  const std::map<std::string, std::string> want = {
      {"/doc/", "755"},
      {"/res/", "755"},
      {"/res/bar.bmp", "644 bar"},
      {"/res/keymap.bmp", "644 keymap"},
      {"/fonts/", "755"},
      {"/fonts/fonts.dir", "644 1\nwqy.ttf -x-\n"},
      {"/fonts/wqy.ttf", "644 glyphs"},
      {"/licenses/", "755"},
      {"/licenses/rime.copyright", "644 notice"},
      {"/kvr", "755 the program"},
      {"/pykeys.dic", "644 new pykeys"},
      {"/gbkflat.dic", "644 new gbkflat"},
      {"/py_1key.dic", "644 py_1key"},
      {"/Jux.rc", "644 script"},
      {"/resource.h", "644 ids"},
      {"/sort.dic", "644 sort"},
      {"/morvelui.ini", "644 [UI_STR]\n"},
      {"/tips.txt", "644 tips"},
      {"/KEYMAP.BMP", "644 upper-case keymap"},  // found without case, kept its name
      {"/CiZuFlat.igb", "644 new store"},
      {"/pycizudic.idx", "644 \x80new py index"},
      {"/py2_3ZiCi1stZuMu.idx", "644 new py2"},
      {"/pxcizudic.idx", "644 new px index"},
      {"/ch2key.bin", "644 ch2key"},
      {"/chdicres.bin", "644 chdicres"},
      {"/chndic2.bin", "644 chndic2"},
      {"/ch2py.bin", "644 ch2py"},
      {"/kivraguide.htm", "644 guide"},
      {"/extra.htm", "644 more guide"},
      {"/photo.JPG", "644 photo"},
      {"/notes.igb", "644 notes"},
  };
  EXPECT_EQ(tree, want);
  EXPECT_EQ(ModeOf(Installed()), 0755u);
  // The distribution is emptied of what was installed; names starting with
  // '.' are never taken.
  const std::map<std::string, std::string> left = {
      {"/res/", "755"}, {"/fonts/", "755"}, {"/licenses/", "755"}, {"/.hidden.txt", "644 hidden"}};
  EXPECT_EQ(Snapshot(Dist()), left);
  // The scripts start the installed kvr with its fonts on the font path.
  const std::string q = "'" + m_home.substr(0, m_home.find('\'')) + "'\\''s";
  const std::string script =
      "#!/bin/sh\nexport XMODIFIERS=@im=Kivra\nexport GTK_IM_MODULE=xim\n"
      "xset +fp " +
      q + "/Kivra/fonts' 2>/dev/null\n" + q + "/Kivra/kvr' &\n";
  EXPECT_EQ(kvrtest::ReadFileText(m_home + "/kvr"), script);
  EXPECT_EQ(kvrtest::ReadFileText(m_home + "/kivra"), script);
  EXPECT_EQ(kvrtest::ReadFileText(m_home + "/kvrterm"), script + "gnome-terminal\n");
  for (const char* s : {"/kvr", "/kivra", "/kvrterm"}) EXPECT_EQ(ModeOf(m_home + s), 0755u) << s;
  // At least five seconds on the host's clock, the bar at 100 at the end.
  EXPECT_EQ(m_host.sleeps, 5);
  ASSERT_FALSE(m_host.calls.empty());
  EXPECT_EQ(m_host.calls.back(), "progress 100");
  EXPECT_TRUE(m_host.questions.empty());
}

TEST_F(Install, ScriptsRunFromTheShellStartTheInstalledProgram) {
  // The quoting survives a real shell: the script runs "<home>/Kivra/kvr".
  Write(Dist() + "/kvr", "#!/bin/sh\necho started > \"$(dirname \"$0\")/ran\"\n", 0755);
  ASSERT_EQ(Run(OneUser()), 1);
  ASSERT_EQ(std::system(("PATH=/usr/bin:/bin sh \"" + m_home + "/kvr\"; sleep 0.2").c_str()), 0);
  for (int i = 0; i < 50 && kvrtest::ReadFileText(Installed() + "/ran").empty(); ++i)
    usleep(100000);
  EXPECT_EQ(kvrtest::ReadFileText(Installed() + "/ran"), "started\n");
}

TEST_F(Install, ReinstallingAsksAboutTheOldLexiconAndOnlyNoReplacesIt) {
  struct Case {
    int answer;
    bool kept;
  } const cases[] = {{6, true}, {2, true}, {7, false}};
  const std::map<std::string, std::string> lexicon = {{"CiZuFlat.igb", "old store"},
                                                      {"pycizudic.idx", "\x81old py index"},
                                                      {"py2_3ZiCi1stZuMu.idx", "old py2"},
                                                      {"pxcizudic.idx", "old px index"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer);
    MakeDirs(Installed());
    for (const auto& [name, content] : lexicon) Write(Installed() + "/" + name, content);
    Stage();  // a full distribution again
    m_host = installertest::RecordingInstallHost();
    m_host.answer = c.answer;
    ASSERT_EQ(Run(OneUser()), 1);
    EXPECT_TRUE(Succeeded());
    ASSERT_EQ(m_host.questions.size(), 1u);
    EXPECT_EQ(m_host.questions[0], installer::texts::kKeepOldLexicon);
    for (const auto& [name, content] : lexicon) {
      SCOPED_TRACE(name);
      const std::string shipped = DistributionFiles().at(name);
      EXPECT_EQ(kvrtest::ReadFileText(Installed() + "/" + name), c.kept ? content : shipped);
    }
    EXPECT_EQ(kvrtest::ReadFileText(Installed() + "/gbkflat.dic"), "new gbkflat");
  }
}

TEST_F(Install, ALexiconWithoutWeightsIsReplacedWithoutAQuestion) {
  MakeDirs(Installed());
  Write(Installed() + "/CiZuFlat.igb", "old store");
  Write(Installed() + "/pycizudic.idx", "\x7fold");
  ASSERT_EQ(Run(OneUser()), 1);
  EXPECT_TRUE(m_host.questions.empty());
  EXPECT_EQ(kvrtest::ReadFileText(Installed() + "/CiZuFlat.igb"), "new store");
}

TEST_F(Install, DerivedDictionariesAndAllTheirFuzzyVariantsAreRemoved) {
  MakeDirs(Installed());
  std::vector<std::string> derived;
  for (const char* name : {"pykeys.dic", "gbkflat.dic", "flatAuto.dic", "flatAdjust.dic"}) {
    derived.push_back(name);
    for (int bits = 0; bits < 16; ++bits) {
      char suffix[8];
      std::snprintf(suffix, sizeof suffix, "%d%d%d%d", bits >> 3 & 1, bits >> 2 & 1, bits >> 1 & 1,
                    bits & 1);
      derived.push_back(std::string(name) + suffix);
    }
  }
  for (const std::string& name : derived) Write(Installed() + "/" + name, "derived");
  Write(Installed() + "/pykeys.dic.mine", "the user's");
  ASSERT_EQ(Run(OneUser()), 1);
  EXPECT_TRUE(Succeeded());
  for (const std::string& name : derived) {
    SCOPED_TRACE(name);
    const bool shipped = name == "pykeys.dic" || name == "gbkflat.dic";
    EXPECT_EQ(installer::PathExists(Installed() + "/" + name), shipped);
  }
  EXPECT_EQ(kvrtest::ReadFileText(Installed() + "/pykeys.dic.mine"), "the user's");
}

TEST_F(Install, AFileTheDistributionLacksIsPassedOver) {
  unlink((Dist() + "/tips.txt").c_str());
  unlink((Dist() + "/sort.dic").c_str());
  ASSERT_EQ(Run(OneUser()), 1);
  EXPECT_TRUE(Succeeded());
  EXPECT_FALSE(installer::PathExists(Installed() + "/tips.txt"));
  EXPECT_EQ(kvrtest::ReadFileText(Installed() + "/kvr"), "the program");
}

// A second run from the distribution the first run emptied (or a broken
// one) must not remove the installed dictionaries and call that success.
TEST_F(Install, ADistributionWithoutTheProgramOrItsDictionariesIsRefused) {
  ASSERT_EQ(Run(OneUser()), 1);
  ASSERT_TRUE(Succeeded());
  const auto installed = Snapshot(m_home);
  for (const char* missing : {"kvr", "gbkflat.dic", "pykeys.dic"}) {
    SCOPED_TRACE(missing);
    Stage();
    unlink((Dist() + "/" + missing).c_str());
    const auto dist = Snapshot(Dist());
    m_host = installertest::RecordingInstallHost();
    m_ops.log.clear();
    EXPECT_EQ(Run(OneUser()), 0);
    ASSERT_EQ(m_host.messages.size(), 1u);
    EXPECT_NE(m_host.messages[0].find(std::string(" ") + missing + "。"), std::string::npos)
        << m_host.messages[0];
    EXPECT_TRUE(m_ops.log.empty()) << m_ops.log[0];
    EXPECT_EQ(Snapshot(Dist()), dist);
    EXPECT_EQ(Snapshot(m_home), installed);
  }
}

TEST_F(Install, AcrossFileSystemsFilesAreCopiedOverTheTargetAndTheSourcesRemoved) {
  m_ops.failRename = [this](const std::string& from) {
    return from.compare(0, Dist().size(), Dist()) == 0;
  };
  // A link planted where a file is installed is replaced, not written
  // through.
  MakeDirs(Installed());
  Write(m_root + "/victim", "someone's file", 0600);
  ASSERT_EQ(symlink((m_root + "/victim").c_str(), (Installed() + "/sort.dic").c_str()), 0);
  ASSERT_EQ(Run(OneUser()), 1);
  EXPECT_TRUE(Succeeded()) << (m_errors.empty() ? "" : m_errors[0]);
  EXPECT_EQ(kvrtest::ReadFileText(Installed() + "/kvr"), "the program");
  EXPECT_EQ(ModeOf(Installed() + "/kvr"), 0755u);
  EXPECT_EQ(kvrtest::ReadFileText(Installed() + "/res/bar.bmp"), "bar");
  EXPECT_EQ(ModeOf(Installed() + "/res/bar.bmp"), 0644u);
  EXPECT_EQ(kvrtest::ReadFileText(Installed() + "/sort.dic"), "sort");
  EXPECT_EQ(kvrtest::ReadFileText(m_root + "/victim"), "someone's file");
  EXPECT_EQ(ModeOf(m_root + "/victim"), 0600u);
  EXPECT_FALSE(installer::PathExists(Dist() + "/kvr"));
  EXPECT_FALSE(installer::PathExists(Dist() + "/res/bar.bmp"));
}

TEST_F(Install, AMoveThatFailsMakesTheOutcomeAFailure) {
  m_ops.renameErrno = EACCES;
  m_ops.failRename = [](const std::string& from) {
    return from.find("/gbkflat.dic") != std::string::npos;
  };
  ASSERT_EQ(Run(OneUser()), 1);
  ASSERT_FALSE(m_host.messages.empty());
  EXPECT_EQ(m_host.messages.back(), installer::texts::kFailed);
  ASSERT_FALSE(m_errors.empty());
  EXPECT_NE(m_errors[0].find("gbkflat.dic"), std::string::npos);
  // The rest went on, and the file that did not move is still there.
  EXPECT_EQ(kvrtest::ReadFileText(Dist() + "/gbkflat.dic"), "new gbkflat");
  EXPECT_EQ(kvrtest::ReadFileText(Installed() + "/kvr"), "the program");
}

// Root removes and sets modes in the install directory; links planted
// there are removed, never followed, and earlier 0777 modes go.
TEST_F(Install, LinksInTheInstallDirectoryAreRemovedNotFollowed) {
  MakeDirs(SysInstalled());
  chmod(SysInstalled().c_str(), 0777);
  Write(m_root + "/secret", "secret", 0600);
  ASSERT_EQ(symlink((m_root + "/secret").c_str(), (SysInstalled() + "/flatAuto.dic0110").c_str()),
            0);
  Write(m_root + "/sys/etc/X11/xinit/xinitrc.d/xinput",
        kvrtest::ReadFileText(std::string(KVR_TEST_SOURCE_DIR_FOR_FIXTURES) + "/zh_CN_chinput.in"));
  ASSERT_EQ(Run(AllUsers()), 1);
  EXPECT_TRUE(Succeeded()) << (m_errors.empty() ? "" : m_errors[0]);
  EXPECT_FALSE(installer::PathExists(SysInstalled() + "/flatAuto.dic0110"));
  EXPECT_EQ(ModeOf(m_root + "/secret"), 0600u);
  EXPECT_EQ(kvrtest::ReadFileText(m_root + "/secret"), "secret");
  EXPECT_EQ(ModeOf(SysInstalled()), 0755u);
  for (const auto& line : m_ops.log)
    EXPECT_EQ(line.find(m_root + "/secret"), std::string::npos) << line;
}

TEST_F(Install, ForAllUsersTheXinputScriptIsEditedAndTheScriptsGoToUsrBin) {
  const std::string xinput = m_root + "/sys/etc/X11/xinit/xinitrc.d/xinput";
  const std::string original =
      kvrtest::ReadFileText(std::string(KVR_TEST_SOURCE_DIR_FOR_FIXTURES) + "/zh_CN_chinput.in");
  Write(xinput, original, 0755);
  ASSERT_EQ(Run(AllUsers()), 1);
  EXPECT_TRUE(Succeeded());
  EXPECT_EQ(
      kvrtest::ReadFileText(xinput),
      kvrtest::ReadFileText(std::string(KVR_TEST_SOURCE_DIR_FOR_FIXTURES) + "/zh_CN_chinput.want"));
  EXPECT_EQ(kvrtest::ReadFileText(xinput + ".kvrbk"), original);
  EXPECT_EQ(ModeOf(xinput), 0755u);
  EXPECT_EQ(kvrtest::ReadFileText(m_root + "/sys/usr/bin/kvr"),
            "#!/bin/sh\nexport XMODIFIERS=@im=Kivra\nexport GTK_IM_MODULE=xim\n"
            "xset +fp '/usr/bin/Kivra/fonts' 2>/dev/null\n'/usr/bin/Kivra/kvr' &\n");
  EXPECT_EQ(kvrtest::ReadFileText(SysInstalled() + "/kvr"), "the program");
  EXPECT_FALSE(installer::PathExists(m_home + "/.bash_profile"));
}

TEST_F(Install, AnXinputScriptThatCannotBeEditedIsReportedAndTheFilesStay) {
  const std::string xinput = m_root + "/sys/etc/X11/xinit/xinitrc.d/xinput";
  Write(xinput, "XIM_PROGRAM=/usr/bin/other\n");
  ASSERT_EQ(Run(AllUsers()), 1);
  ASSERT_EQ(m_host.messages.size(), 2u);
  EXPECT_NE(m_host.messages[0].find("/etc/X11/xinit/xinitrc.d/xinput"), std::string::npos);
  EXPECT_EQ(m_host.messages[1], installer::texts::kFailed);
  EXPECT_EQ(kvrtest::ReadFileText(xinput), "XIM_PROGRAM=/usr/bin/other\n");
  EXPECT_EQ(kvrtest::ReadFileText(SysInstalled() + "/kvr"), "the program");
  EXPECT_TRUE(installer::PathExists(m_root + "/sys/usr/bin/kvrterm"));
}

TEST_F(Install, OnRedFlagRfinputIsBackedUpAndNoScriptSetsXModifiers) {
  const std::string rfinput = m_root + "/sys/usr/bin/rfinput";
  Write(rfinput, "#!/bin/sh\nexec chinput\n", 0755);
  ASSERT_EQ(Run(AllUsers(kSysRedFlag)), 1);
  EXPECT_TRUE(Succeeded());
  EXPECT_EQ(kvrtest::ReadFileText(rfinput + ".kvrbk"), "#!/bin/sh\nexec chinput\n");
  for (const char* s : {"/rfinput", "/kvr", "/kivra", "/kvrterm"}) {
    SCOPED_TRACE(s);
    const std::string text = kvrtest::ReadFileText(m_root + "/sys/usr/bin" + s);
    EXPECT_EQ(text.find("XMODIFIERS"), std::string::npos);
    EXPECT_NE(text.find("'/usr/bin/Kivra/kvr' &\n"), std::string::npos);
    EXPECT_EQ(ModeOf(m_root + "/sys/usr/bin" + s), 0755u);
  }
  // Installing again keeps the first backup.
  SetUp();
  ASSERT_EQ(Run(AllUsers(kSysRedFlag)), 1);
  EXPECT_EQ(kvrtest::ReadFileText(rfinput + ".kvrbk"), "#!/bin/sh\nexec chinput\n");
}

TEST_F(Install, TheUserCanKeepTheStartupFilesToHimself) {
  InstallChoice c = OneUser();
  c.editStartup = false;
  ASSERT_EQ(Run(c), 1);
  EXPECT_TRUE(Succeeded());
  EXPECT_FALSE(installer::PathExists(m_home + "/.bash_profile"));
  EXPECT_TRUE(installer::PathExists(m_home + "/kvr"));
}

TEST_F(Install, AnInstallPathTooLongForItsBufferIsRefused) {
  InstallChoice c = OneUser();
  c.binDir = m_home + "/" + std::string(250, 'd');
  EXPECT_EQ(Run(c), 0);
  ASSERT_EQ(m_host.messages.size(), 1u);
  EXPECT_NE(m_host.messages[0].find(std::string(250, 'd')), std::string::npos);
  EXPECT_TRUE(m_ops.log.empty());
}

TEST_F(Install, AnInstallDirectoryThatCannotBeMadeEndsTheInstallation) {
  Write(Installed(), "a file where the directory goes");
  EXPECT_EQ(Run(OneUser()), 0);
  ASSERT_EQ(m_host.messages.size(), 1u);
  EXPECT_EQ(m_host.messages[0], installer::texts::kCannotMakeDir);
  EXPECT_EQ(kvrtest::ReadFileText(Dist() + "/kvr"), "the program");
}

// --- ~/.bash_profile -------------------------------------------------------

TEST_F(Install, ANewBashProfileSourcesProfileFirstThenHoldsOneBlock) {
  ASSERT_EQ(Run(OneUser()), 1);
  const std::string q = "'" + m_home.substr(0, m_home.find('\'')) + "'\\''s";
  const std::string block =
      "# >>> Kivra input method (written by kvrsetup) >>>\n"
      "export XMODIFIERS=@im=Kivra\nexport GTK_IM_MODULE=xim\n"
      "xset +fp " +
      q + "/Kivra/fonts' 2>/dev/null\n" + q +
      "/Kivra/kvr' &\n"
      "# <<< Kivra input method <<<\n";
  EXPECT_EQ(kvrtest::ReadFileText(m_home + "/.bash_profile"),
            "if [ -f \"$HOME/.profile\" ]; then . \"$HOME/.profile\"; fi\n" + block);
  EXPECT_EQ(block, installer::ShellInitBlock(m_home, true));
}

TEST_F(Install, AnExistingBashProfileKeepsItsLinesAndGetsTheBlockOnce) {
  const std::string mine = "export PATH=$HOME/bin:$PATH\nalias ll='ls -l'";  // no final LF
  Write(m_home + "/.bash_profile", mine, 0600);
  ASSERT_EQ(Run(OneUser()), 1);
  const std::string block = installer::ShellInitBlock(m_home, true);
  EXPECT_EQ(kvrtest::ReadFileText(m_home + "/.bash_profile"), mine + "\n" + block);
  EXPECT_EQ(ModeOf(m_home + "/.bash_profile"), 0600u);
  // Installed twice: still one block.
  SetUp();
  ASSERT_EQ(Run(OneUser()), 1);
  EXPECT_EQ(kvrtest::ReadFileText(m_home + "/.bash_profile"), mine + "\n" + block);
}

TEST(ShellInitBlock, AnEarlierBlockIsReplacedWhereItStands) {
  const std::string old = installer::ShellInitBlock("/old/home", true);
  const std::string fresh = installer::ShellInitBlock("/new/home", true);
  const std::string text = "before\n" + old + "after\n";
  EXPECT_EQ(installer::WithShellInitBlock(text, true, fresh), "before\n" + fresh + "after\n");
  EXPECT_EQ(installer::WithShellInitBlock("", true, fresh), fresh);
}

}  // namespace
