// The application object compiles its resource script at start-up through
// the compiler the application class gives it, and the controls find the
// compiled tables through AppRcCmplr().
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <memory>

#include "framework/CWinApp.h"
#include "tests/controls/RcTestUtil.h"

namespace {

class TestApp : public CWinApp {};

TEST(AppRcCmplr, InitApplicationCompilesTheScriptAndWritesTheBlobs) {
  kvrtest::ScratchDir dir;
  mkdir(dir.File("res").c_str(), 0777);
  rctest::WriteFile(dir.File("resource.h"), "#define IDB_A 131\n");
  rctest::WriteFile(dir.File("Jux.rc"), "#include \"resource.h\"\nIDB_A BITMAP \"a.bmp\"\n");
  TestApp app;
  EXPECT_EQ(AppRcCmplr(), nullptr);
  auto rc = std::make_unique<CRcCmplr>();
  rc->EchoReports(false);
  CRcCmplr* compiler = rc.get();
  app.SetResourceCompiler(std::move(rc));
  ASSERT_EQ(AppRcCmplr(), compiler);

  app.m_strProgDir = (dir.Path() + "/").c_str();
  app.m_strShortName = "Jux";
  EXPECT_EQ(app.InitApplication(), 1);

  CString file, key("131");
  ASSERT_TRUE(AppRcCmplr()->GetBitmapTable()->Lookup(key, file));
  EXPECT_STREQ(file, "a.bmp");
  EXPECT_TRUE(rctest::Reports(*compiler).empty());
  struct stat st;
  EXPECT_EQ(stat(dir.File("res/dlgblob.brc").c_str(), &st), 0);
}

}  // namespace
