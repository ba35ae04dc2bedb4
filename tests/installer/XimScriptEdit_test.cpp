// The edit of the system's xinput script: golden fixtures, each edited
// twice (a second installation must give the same script), then the file
// work around it: the one backup, the kept mode, and failed writes that
// leave the original and its backup as they were.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>
#include <sstream>
#include <string>

#include "framework/internal/PlatformRoot.h"
#include "installer/FileWork.h"
#include "installer/XimScriptEdit.h"
#include "tests/installer/InstallFakes.h"
#include "tests/support/FileText.h"
#include "tests/support/TestPaths.h"

namespace {

using installer::EditXimScript;

void Write(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

std::string Fixture(const std::string& name) {
  return std::string(KVR_XINPUT_FIXTURES) + "/" + name;
}

TEST(XimScriptEdit, GoldenScriptsComeOutTheSameAfterASecondRun) {
  struct Case {
    const char* name;
    bool edited;
  } const cases[] = {
      {"zh_CN_chinput", true},       // Chinput under an if-line
      {"zh_TW_xcin", true},          // the if-line two lines up
      {"elif_fcitx", true},          // only the first server of a section
      {"xim_none", true},            // "none" and "None"
      {"crlf_and_long_line", true},  // CR LF ends, a line past 1023 bytes
      {"no_case_label", false},     {"no_chinese_section", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string in = kvrtest::ReadFileText(Fixture(std::string(c.name) + ".in"));
    ASSERT_FALSE(in.empty());
    std::string once = "untouched", twice = "untouched";
    ASSERT_EQ(EditXimScript(in, &once), c.edited);
    if (!c.edited) {
      EXPECT_EQ(once, "untouched");
      continue;
    }
    EXPECT_EQ(once, kvrtest::ReadFileText(Fixture(std::string(c.name) + ".want")));
    ASSERT_TRUE(EditXimScript(once, &twice));
    EXPECT_EQ(twice, once);
  }
}

TEST(XimScriptEdit, StrippedLineDropsBlanksAndTrimsLineEnds) {
  struct Case {
    const char* line;
    const char* want;
  } const cases[] = {
      {"   XIM = \"fcitx\"\r\n", "XIM=\"fcitx\""},
      {"\t if [ -e x ]; then\t\n", "if[-ex];then"},
      {"\r\n", ""},
      {"a\tb", "a\tb"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(installer::StrippedLine(c.line), c.want);
  }
}

// A Kivra entry nobody's label marks as ours stays: only the entry an
// earlier installation wrote (its "Kivra)" label right above) is dropped.
TEST(XimScriptEdit, AnEntryNamingKvrUnderAnotherLabelStays) {
  const std::string in =
      "case \"$LANG\" in\n  zh_CN*)\n    XIM=\"fcitx\"\n  ;;\nesac\n"
      "case \"$XIM\" in\n  fcitx)\n    XIM_PROGRAM=/usr/bin/fcitx ;;\n"
      "  mine)\n    XIM_PROGRAM=/usr/bin/kvr ;;\nesac\n";
  std::string out;
  ASSERT_TRUE(EditXimScript(in, &out));
  EXPECT_NE(out.find("  mine)\n    XIM_PROGRAM=/usr/bin/kvr ;;\n"), std::string::npos) << out;
}

// --- the file -----------------------------------------------------------

class XinputFile : public ::testing::Test {
 protected:
  void SetUp() override {
    m_oldRoot = afc::SetPlatformRootForTest(m_dir.Path());
    const std::string dir = m_dir.Path() + "/etc/X11/xinit/xinitrc.d";
    ASSERT_EQ(system(("mkdir -p " + dir).c_str()), 0);
    m_path = dir + "/xinput";
    m_original = kvrtest::ReadFileText(Fixture("zh_CN_chinput.in"));
    Write(m_path, m_original);
    chmod(m_path.c_str(), 0750);
  }
  void TearDown() override { afc::SetPlatformRootForTest(m_oldRoot); }

  int Modify() {
    installer::InstallChoice choice;
    choice.progDir = m_dir.Path() + "/";
    choice.binDir = "/usr/bin";
    installer::CInstallation install(choice, m_host, m_ops);
    return install.ModifyXimScript();
  }

  kvrtest::ScratchDir m_dir;
  std::string m_oldRoot, m_path, m_original;
  installertest::RecordingInstallHost m_host;
  installertest::LoggingInstallOps m_ops;
};

TEST_F(XinputFile, RewrittenInPlaceWithOneBackupAndItsModeKept) {
  ASSERT_EQ(Modify(), 1);
  EXPECT_EQ(kvrtest::ReadFileText(m_path), kvrtest::ReadFileText(Fixture("zh_CN_chinput.want")));
  EXPECT_EQ(kvrtest::ReadFileText(m_path + ".kvrbk"), m_original);
  struct stat st {};
  ASSERT_EQ(stat(m_path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0750u);
  // The second installation keeps the first backup.
  ASSERT_EQ(Modify(), 1);
  EXPECT_EQ(kvrtest::ReadFileText(m_path + ".kvrbk"), m_original);
  EXPECT_EQ(kvrtest::ReadFileText(m_path), kvrtest::ReadFileText(Fixture("zh_CN_chinput.want")));
}

TEST_F(XinputFile, AWorldWritableScriptLosesThatBit) {
  chmod(m_path.c_str(), 0777);
  ASSERT_EQ(Modify(), 1);
  struct stat st {};
  ASSERT_EQ(stat(m_path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0755u);
}

TEST_F(XinputFile, AFailedWriteLeavesTheOriginalAndItsBackup) {
  // The backup is written first (one AtomicFile), the script second:
  // failing each step of the script's rewrite leaves both whole. Once the
  // backup exists, the script's rewrite is the only one.
  for (const char* kind : {"write", "fsync", "rename"}) {
    SCOPED_TRACE(kind);
    m_ops.files = installertest::FaultyFileOps();
    m_ops.files.failKind = kind;
    m_ops.files.failAt = installer::PathExists(m_path + ".kvrbk") ? 1 : 2;
    EXPECT_EQ(Modify(), 0);
    EXPECT_EQ(kvrtest::ReadFileText(m_path), m_original);
    EXPECT_EQ(kvrtest::ReadFileText(m_path + ".kvrbk"), m_original);
  }
}

TEST_F(XinputFile, AFailedBackupLeavesTheScriptUntouched) {
  m_ops.files.failKind = "write";
  m_ops.files.failAt = 1;
  EXPECT_EQ(Modify(), 0);
  EXPECT_EQ(kvrtest::ReadFileText(m_path), m_original);
  EXPECT_FALSE(installer::PathExists(m_path + ".kvrbk"));
}

TEST_F(XinputFile, AScriptWithNothingToChangeIsNotWritten) {
  const std::string ja = kvrtest::ReadFileText(Fixture("no_chinese_section.in"));
  Write(m_path, ja);
  EXPECT_EQ(Modify(), 0);
  EXPECT_EQ(kvrtest::ReadFileText(m_path), ja);
  EXPECT_FALSE(installer::PathExists(m_path + ".kvrbk"));
}

}  // namespace
