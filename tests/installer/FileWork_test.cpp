// The installer's file helpers on their own: quoting for the shell, the
// modes it gives, removal that never follows a link.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "framework/SysUtil.h"
#include "installer/FileWork.h"
#include "tests/installer/InstallFakes.h"
#include "tests/support/FileText.h"
#include "tests/support/TestPaths.h"

namespace {

mode_t ModeOf(const std::string& path) {
  struct stat st {};
  return lstat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0;
}

TEST(FileWork, ShellQuoteSurvivesARealShell) {
  for (const char* text : {"plain", "a blank", "it's", "$HOME `x` \"q\" \\", "''"}) {
    SCOPED_TRACE(text);
    const std::string quoted = installer::ShellQuote(text);
    kvrtest::ScratchDir dir;
    const std::string out = dir.File("out");
    const std::string cmd = "printf %s " + quoted + " > " + installer::ShellQuote(out);
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    EXPECT_EQ(kvrtest::ReadFileText(out), text);
  }
}

TEST(FileWork, InstalledModesAreNeverWritableByOthers) {
  struct Case {
    mode_t source, want;
  } const cases[] = {{0777, 0755}, {0700, 0755}, {0100, 0755},
                     {0666, 0644}, {0600, 0644}, {0444, 0644}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.source);
    EXPECT_EQ(installer::InstalledMode(c.source), c.want);
  }
}

// Root removing a planted link must not change the file it points to.
TEST(FileWork, ForceRemoveFileRemovesALinkAndLeavesItsTarget) {
  kvrtest::ScratchDir dir;
  const std::string target = dir.File("target"), link = dir.File("link");
  kvrtest::WriteFileText(target, "kept");
  ASSERT_EQ(chmod(target.c_str(), 0600), 0);
  ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);
  EXPECT_EQ(ForceRemoveFile(link.c_str()), 0);
  EXPECT_FALSE(installer::PathExists(link));
  EXPECT_EQ(ModeOf(target), 0600u);
  EXPECT_EQ(kvrtest::ReadFileText(target), "kept");
}

TEST(FileWork, SetModeNeverFollowsALink) {
  kvrtest::ScratchDir dir;
  const std::string target = dir.File("target"), link = dir.File("link");
  kvrtest::WriteFileText(target, "x");
  ASSERT_EQ(chmod(target.c_str(), 0600), 0);
  ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);
  installertest::LoggingInstallOps ops;
  std::string error;
  EXPECT_TRUE(installer::SetModeNoFollow(ops, link, 0777, &error)) << error;
  EXPECT_EQ(ModeOf(target), 0600u);
  EXPECT_TRUE(ops.log.empty());
}

TEST(FileWork, EnsureDirectoryMakesOrTightensADirectory) {
  kvrtest::ScratchDir dir;
  installertest::LoggingInstallOps ops;
  bool made = false;
  std::string error;
  ASSERT_TRUE(installer::EnsureDirectory(ops, dir.File("new"), &made, &error)) << error;
  EXPECT_TRUE(made);
  EXPECT_EQ(ModeOf(dir.File("new")), 0755u);
  ASSERT_EQ(chmod(dir.File("new").c_str(), 0777), 0);
  ASSERT_TRUE(installer::EnsureDirectory(ops, dir.File("new"), &made, &error)) << error;
  EXPECT_FALSE(made);
  EXPECT_EQ(ModeOf(dir.File("new")), 0755u);
  kvrtest::WriteFileText(dir.File("file"), "");
  EXPECT_FALSE(installer::EnsureDirectory(ops, dir.File("file"), &made, &error));
  EXPECT_NE(error.find("not a directory"), std::string::npos);
}

}  // namespace
