// Broken and hostile scripts: each must compile to a result without a crash,
// an overrun or a hang (the tests run under ASan and UBSan), and the broken
// places must be reported with their file and line.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <random>
#include <string>
#include <vector>

#include "tests/controls/RcTestUtil.h"

namespace {

std::string Repeat(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

std::string MacroChain(int n) {
  std::string s;
  for (int i = 0; i < n; ++i)
    s += "#define M" + std::to_string(i) + " \"M" + std::to_string(i + 1) + " M" +
         std::to_string(i + 1) + "\"\n";
  return s + "M0 BITMAP \"x.bmp\"\n";
}

TEST(RcHostile, BrokenScriptsAreReportedAndSkipped) {
  struct Case {
    std::string name, text, report;  // report: a text some report must hold; "" none needed
  } const cases[] = {
      {"#define of an empty name", "#define \"\" x\nA BITMAP \"a\"\n", "empty name"},
      {"more than 64 terms", "A BITMAP " + Repeat("x ", 80) + "\n", "more than 64 terms"},
      {"long #if word", "#if " + std::string(300, '7') + "\nA BITMAP \"a\"\n#endif\n", ""},
      {"long #if macro value", "#define L \"" + std::string(400, '1') + "\"\n#if L\nx\n#endif\n",
       ""},
      {"control without position", "D DIALOG 0,0,1,1\nBEGIN\nCONTROL \"a\",1\nEND\n",
       "t.rc:3: CONTROL without its four position numbers"},
      {"push button with two numbers", "D DIALOG 0,0,1,1\nBEGIN\nPUSHBUTTON \"x\",1\nEND\n",
       "PUSHBUTTON without"},
      {"group box whose id would be before term 0",
       "D DIALOG 0,0,1,1\nBEGIN\nGROUPBOX 1,2,3\nEND\n", "GROUPBOX without"},
      {"list box without numbers", "D DIALOG 0,0,1,1\nBEGIN\nLISTBOX x\nEND\n", "LISTBOX without"},
      {"short icon and texts", "D DIALOG 0,0,1,1\nBEGIN\nICON\nLTEXT\nEDITTEXT\nCOMBOBOX\nEND\n",
       ""},
      {"bitmap style with too few numbers",
       "D DIALOG 0,0,1,1\nBEGIN\nLTEXT \"1\",2,SS_BITMAP\nEND\n", ""},
      {"macro growth", MacroChain(40), "grows past"},
      {"unterminated comment", "A BITMAP \"a\"\n/* open\n", "Unexpected End-Of-File!"},
      {"NUL and high bytes", std::string("A") + '\0' + "B BITMAP \"x\"\n\xff\xfe\x80\n\"\xc4\"\n",
       ""},
      {"very long line", std::string(100000, 'A') + "\n", ""},
      {"deep #if nesting", Repeat("#if 1\n", 1000) + Repeat("#if 0\n", 1000) + "x\n", ""},
      {"deep popups",
       "M MENU X\nBEGIN\n" + Repeat("POPUP \"p\"\nBEGIN\n", 200) + "MENUITEM \"a\", 1\n" +
           Repeat("END\n", 201),
       "menu nested too deep"},
      {"stray blocks", "END\nBEGIN\nEND\nMENUITEM \"a\", 1\nBUTTON 5\n}\n{\n", ""},
      {"parentheses", ")\n(((\nA ( )\nB (x\n#pragma x(\n", "IDERR_S0YNTAX"},
      {"quotes only", "\"\"\"\"\"\n'\n\"\n", ""},
      {"escapes at the end", "A BITMAP \"a\\\n\\t\\t\\t\n\\\n", ""},
      {"#include without a name", "#include\n#include \"\"\n", "#include without a file name"},
      {"#include of a directory", "#include \".\"\nA BITMAP \"a\"\n", ""},
      {"script ends inside blocks", "D DIALOG 0,0,1,1\nBEGIN\nLTEXT \"a\",1,1,1,1,1\n", ""},
      {"menu ends unclosed", "M MENU X\nBEGIN\nPOPUP \"a\"\nBEGIN\n", ""},
      {"huge numbers",
       "D DIALOG 0,0,99999999999999999999999,-99999999999999999999\nBEGIN\n"
       "LTEXT \"a\",99999999999999999999,1,1,1,1\nEND\n",
       ""},
      {"accelerator without terms", "A ACCELERATORS\nBEGIN\n\"\"\n,\nEND\n", ""},
      {"comment close without open", "A */ B\n", "Comment error 1!"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    kvrtest::ScratchDir dir;
    CRcCmplr rc;
    EXPECT_EQ(rctest::Compile(rc, dir, c.text), 1);
    if (!c.report.empty()) {
      EXPECT_TRUE(rctest::Reported(rc, c.report)) << rctest::Joined(rctest::Reports(rc));
    }
    // The compiler is whole afterwards: a good script compiles as usual.
    rctest::Compile(rc, dir, "A BITMAP \"a.bmp\"\n");
    EXPECT_EQ(rc.m_mapBmps.GetCount(), 1);
    EXPECT_EQ(rc.m_bMenu, 0);
    EXPECT_EQ(rc.m_nDlgState, 0);
  }
}

TEST(RcHostile, IncludeDepthIsLimited) {
  kvrtest::ScratchDir dir;
  for (int i = 0; i < 40; ++i)
    rctest::WriteFile(
        dir.File("f" + std::to_string(i) + ".h"),
        "#include \"f" + std::to_string(i + 1) + ".h\"\nL" + std::to_string(i) + "\n");
  CRcCmplr rc;
  rctest::Compile(rc, dir, "#include \"f0.h\"\nend\n");
  EXPECT_TRUE(rctest::Reported(rc, "nested deeper than 16 files"));
  CRcCmplr lines;
  lines.EchoReports(false);
  const std::vector<std::string> got = rctest::ScriptLines(lines, dir.File("t.rc"));
  ASSERT_FALSE(got.empty());
  EXPECT_EQ(got.front(), "L14");  // t.rc and f0..f14 are open: 16 files
  EXPECT_EQ(got.back(), "end");
}

// Mutated scripts: byte insertions of the script's own delimiters, cuts and
// doubled ranges of a script that uses every statement. Whatever the
// compiler makes of them must be written to the blob files and read back.
TEST(RcHostile, MutatedScriptsCompileAndRoundTrip) {
  const std::string base =
      "#include \"resource.h\"\n"
      "#define IDC_X 1001\n"
      "#if 1\n"
      "B1 BITMAP DISCARDABLE \"b1.bmp\" // comment\n"
      "#else\n"
      "B2 BITMAP \"b2.bmp\"\n"
      "#endif\n"
      "/* block\n comment */\n"
      "M MENU DISCARDABLE\nBEGIN\n POPUP \"&P\"\n BEGIN\n  MENUITEM \"&a\\tCtrl+A\", 5\n"
      "  MENUITEM SEPARATOR\n END\nEND\n"
      "STRINGTABLE\nBEGIN\n 1 \"one\"\nEND\n"
      "T TOOLBAR 16, 15\nBEGIN\n BUTTON 1\nEND\n"
      "A ACCELERATORS\nBEGIN\n \"X\", 3, VIRTKEY, ALT\nEND\n"
      "1 VERSIONINFO\nBEGIN\n BLOCK \"x\"\n BEGIN\n END\nEND\n"
      "D DIALOG DISCARDABLE 0, 0, 100, 50\nSTYLE DS_MODALFRAME | WS_CAPTION\nCAPTION \"c\"\n"
      "FONT 9, \"f\"\nBEGIN\n"
      "  CONTROL \"a\",IDC_X,\"Button\",BS_AUTOCHECKBOX | WS_TABSTOP,\n   1,2,3,4\n"
      "  GROUPBOX \"g\",2,1,2,3,4\n  LISTBOX 3,1,2,3,4,WS_VSCROLL\n"
      "  CONTROL 131,4,\"Static\",SS_BITMAP,1,2,3,4\n  EDITTEXT 5,1,2,3,4,ES_AUTOHSCROLL\n"
      "END\n";
  const char* const inserts[] = {"\"",
                                 "'",
                                 "(",
                                 ")",
                                 ",",
                                 "/*",
                                 "*/",
                                 "//",
                                 "\n",
                                 "#if 0\n",
                                 "#ifdef IDC_X\n",
                                 "#else\n",
                                 "#endif\n",
                                 "BEGIN\n",
                                 "END\n",
                                 "\\t",
                                 "POPUP \"x\"\n",
                                 "#include \"t.rc\"\n",
                                 "\xff",
                                 " ",
                                 "#define IDC_X IDC_X\n",
                                 "#undef IDC_X\n",
                                 "DIALOG ",
                                 "MENU "};
  kvrtest::ScratchDir dir;
  mkdir(dir.File("res").c_str(), 0777);
  rctest::WriteFile(dir.File("resource.h"), "#define R 1\n#ifdef R\n#define S 2\n#endif\n");
  std::mt19937 rng(20261210);
  for (int round = 0; round < 400; ++round) {
    std::string text = base;
    const int nEdits = 1 + static_cast<int>(rng() % 6);
    for (int e = 0; e < nEdits; ++e) {
      const size_t at = rng() % (text.size() + 1);
      switch (rng() % 4) {
        case 0:
        case 1: text.insert(at, inserts[rng() % (sizeof inserts / sizeof inserts[0])]); break;
        case 2: text.erase(at, rng() % 40); break;
        case 3: text.insert(at, text.substr(rng() % text.size(), rng() % 80)); break;
      }
    }
    SCOPED_TRACE(testing::Message() << "round " << round << ":\n" << text);
    CRcCmplr rc;
    ASSERT_EQ(rctest::Compile(rc, dir, text), 1);
    if (round % 4 != 0) continue;  // the blob files are synced to disk: slow
    ASSERT_EQ(rc.SaveGuiRes(), 1);
    CRcCmplr back;
    back.EchoReports(false);
    back.SetProgramDir(rc.GetProgramDir());
    ASSERT_EQ(back.LoadGuiResFromBinary(), 1) << rctest::Joined(rctest::Reports(back));
    EXPECT_EQ(back.m_mapDlgs.GetCount(), rc.m_mapDlgs.GetCount());
    EXPECT_EQ(back.m_mapMenus.GetCount(), rc.m_mapMenus.GetCount());
  }
}

}  // namespace
