#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/controls/RcTestUtil.h"

namespace {

using rctest::Joined;

TEST(RcReader, LogicalLinesOfOneFile) {
  struct Case {
    const char* name;
    const char* text;
    const char* lines;  // '|' between lines
  } const cases[] = {
      {"trims and skips blank lines", "  a  \r\n\n\t\nb\n", "a|b"},
      {"line comment", "a // c\n// only\nb", "a|b"},
      {"// inside a string", "\"x//y\" z\n", "\"x//y\" z"},
      {"// after a closed string", "\"x\" y // z\n", "\"x\" y"},
      {"block comment on one line joins both sides", "a /* c */ b\n", "a  b"},
      {"comment-only text is dropped", "/* c */\nx", "x"},
      {"block comment over lines", "a /* c\nd\ne */ f\ng", "a|f|g"},
      {"comment ending a line", "/* x\n*/\nb", "b"},
      {"TAB escape", "\"a\\tb\"\n", "\"a\tb\""},
      {"false #if with #else", "#if 0\na\n#else\nb\n#endif\nc", "b|c"},
      {"true #if with #else", "#if 1\na\n#else\nb\n#endif\nc", "a|c"},
      {"nested conditional in a dropped part is skipped whole",
       "#if 0\n#ifdef X\na\n#else\nb\n#endif\nc\n#else\nd\n#endif\ne", "d|e"},
      {"nested conditional in a kept part", "#if 1\n#if 0\na\n#endif\nb\n#endif\nc", "b|c"},
      {"nested in a dropped else-part", "#if 1\na\n#else\n#if 1\nb\n#else\nc\n#endif\nd\n#endif\ne",
       "a|e"},
      {"#ifndef of an undefined name", "#ifndef NEVER_DEFINED\na\n#endif\nb", "a|b"},
      {"#ifdef of an undefined name", "#ifdef NEVER_DEFINED\na\n#endif\nb", "b"},
      {"#ifdef of a predefined name", "#ifdef IDOK\na\n#endif", "a"},
      {"#if of a macro whose value is 1", "#if IDOK\na\n#endif", "a"},
      {"AFX_RESOURCE_DLL test is true", "#if !defined(AFX_RESOURCE_DLL) || x\na\n#endif", "a"},
      {"a call of defined is false", "#if defined(IDOK)\na\n#endif\nb", "b"},
      {"#else and #endif with nothing open are lines", "#else\n#endif x\ny", "#else|#endif x|y"},
      {"directive inside a comment is not seen", "/* #if 0 */ a\nb", "a|b"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    kvrtest::ScratchDir dir;
    rctest::WriteFile(dir.File("t.rc"), c.text);
    CRcCmplr rc;
    rc.EchoReports(false);
    EXPECT_EQ(Joined(rctest::FileLines(rc, dir.File("t.rc"))), c.lines);
  }
}

TEST(RcReader, UnclosedCommentEndsTheFileWithAReport) {
  kvrtest::ScratchDir dir;
  rctest::WriteFile(dir.File("t.rc"), "x\ny /* never\nclosed\n");
  CRcCmplr rc;
  rc.EchoReports(false);
  EXPECT_EQ(Joined(rctest::FileLines(rc, dir.File("t.rc"))), "x");
  ASSERT_EQ(rctest::Reports(rc).size(), 1u);
  EXPECT_EQ(rctest::Reports(rc)[0], dir.File("t.rc") + ":3: Unexpected End-Of-File!");
}

TEST(RcReader, IncludesResourceHeaderOnce) {
  kvrtest::ScratchDir dir;
  rctest::WriteFile(dir.File("resource.h"), "#define A 1\nhdr\n");
  rctest::WriteFile(dir.File("t.rc"),
                    "#include \"resource.h\"\nmid\n#include \"RESOURCE.H\"\n"
                    "#include <missing.h>\nend\n");
  CRcCmplr rc;
  rc.EchoReports(false);
  EXPECT_EQ(Joined(rctest::ScriptLines(rc, dir.File("t.rc"))), "#define A 1|hdr|mid|end");
  EXPECT_TRUE(rctest::Reported(rc, "t.rc:3: Extra reading of resource.h ignored."));
  EXPECT_TRUE(rctest::Reported(rc, "t.rc:4: cannot open include file " + dir.File("<missing.h>")));
}

TEST(RcReader, IncludePathEndingInResourceHeaderIsNotCounted) {
  kvrtest::ScratchDir dir;
  rctest::WriteFile(dir.File("resource.h"), "hdr\n");
  rctest::WriteFile(dir.File("t.rc"),
                    "#include \"resource.h\"\n#include \"" + dir.File("resource.h") + "\"\nx\n");
  CRcCmplr rc;
  rc.EchoReports(false);
  // Only the bare name counts as the resource header.
  const std::vector<std::string> lines = rctest::ScriptLines(rc, dir.File("t.rc"));
  EXPECT_FALSE(rctest::Reported(rc, "Extra reading"));
  EXPECT_EQ(lines.back(), "x");
}

TEST(RcReader, SelfIncludeEnds) {
  kvrtest::ScratchDir dir;
  rctest::WriteFile(dir.File("a.rc"), "before\n#include \"b.rc\"\nafter\n");
  rctest::WriteFile(dir.File("b.rc"), "in b\n#include \"a.rc\"\n#include \"b.rc\"\nb end\n");
  CRcCmplr rc;
  rc.EchoReports(false);
  EXPECT_EQ(Joined(rctest::ScriptLines(rc, dir.File("a.rc"))), "before|in b|b end|after");
  EXPECT_TRUE(rctest::Reported(rc, "b.rc:2: " + dir.File("a.rc") + " includes itself"));
  EXPECT_TRUE(rctest::Reported(rc, "b.rc:3: " + dir.File("b.rc") + " includes itself"));
}

TEST(RcReader, ConditionalsBelongToTheirFile) {
  kvrtest::ScratchDir dir;
  // The header leaves a conditional open; it ends with the header and does
  // not drop the including file's lines.
  rctest::WriteFile(dir.File("h.h"), "#if 0\nhidden\n");
  rctest::WriteFile(dir.File("t.rc"), "#include \"h.h\"\nshown\n");
  CRcCmplr rc;
  rc.EchoReports(false);
  EXPECT_EQ(Joined(rctest::ScriptLines(rc, dir.File("t.rc"))), "shown");
}

TEST(RcReader, JoinsContinuationLinesOfOpenBlocks) {
  struct Case {
    const char* name;
    int dlgState, menu, accel, strtab;
    const char* text;
    const char* lines;
  } const cases[] = {
      {"control over four lines", 2, 0, 0, 0,
       "CONTROL \"a\",1,\n\"Button\",\nBS_X,\n1,2,3,4\nLTEXT x",
       "CONTROL \"a\",1, \"Button\", BS_X, 1,2,3,4|LTEXT x"},
      {"a fifth line is not joined", 2, 0, 0, 0, "LTEXT a,\nb,\nc,\nd,\ne", "LTEXT a, b, c, d,|e"},
      {"END is never joined", 2, 0, 0, 0, "END\nfoo\nLTEXT x\nEND", "END|foo|LTEXT x|END"},
      {"no joining outside blocks", 0, 0, 0, 0, "LTEXT a,\nb", "LTEXT a,|b"},
      {"menu item over two lines", 0, 1, 0, 0, "MENUITEM \"a\",\n57601\nPOPUP \"b\"",
       "MENUITEM \"a\", 57601|POPUP \"b\""},
      {"string table key and text", 0, 0, 0, 1, "IDS_A\n\"text\"\nIDS_B \"x\"",
       "IDS_A \"text\"|IDS_B \"x\""},
      {"accelerator lines", 0, 0, 1, 0, "\"A\", 1,\nVIRTKEY\nVK_F1, 2",
       "\"A\", 1, VIRTKEY|VK_F1, 2"},
      {"a first word ending with ':' is a line of its own", 0, 0, 0, 0, "label: rest of it\nx",
       "label:| rest of it|x"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    kvrtest::ScratchDir dir;
    rctest::WriteFile(dir.File("t.rc"), c.text);
    CRcCmplr rc;
    rc.EchoReports(false);
    ASSERT_TRUE(rc.BeginRead(dir.File("t.rc").c_str()));
    rc.m_nDlgState = c.dlgState;
    rc.m_bMenu = c.menu;
    rc.m_bAccelerator = c.accel;
    rc.m_bStringTable = c.strtab;
    std::vector<std::string> lines;
    CString line;
    while (rc.SrcReadLineWithInclude(line)) lines.push_back(static_cast<const char*>(line));
    rc.EndRead();
    EXPECT_EQ(Joined(lines), c.lines);
  }
}

TEST(RcReader, IncludeFileName) {
  struct Case {
    const char* text;
    int result;
    const char* name;
  } const cases[] = {
      {" \"resource.h\" ", 1, "resource.h"},
      {"<afxres.h>", 0, "<afxres.h>"},
      {"\"a b.h\"", 0, "\"a"},
      {"\"", 0, "\""},
      {"", 0, ""},
  };
  CRcCmplr rc;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    CString text(c.text), name;
    EXPECT_EQ(rc.GetMacroIncludeFileName(text, name), c.result);
    EXPECT_STREQ(name, c.name);
  }
}

// ---- Macros

std::string Substituted(CRcCmplr& rc, const char* text) {
  CString t(text);
  rc.MacroSubstitution(t);
  return static_cast<const char*>(t);
}

TEST(RcMacros, ReplacesWholeWordsOnly) {
  kvrtest::ScratchDir dir;
  rctest::WriteFile(dir.File("t.rc"), "x\n");
  CRcCmplr rc;
  rc.EchoReports(false);
  ASSERT_TRUE(rc.BeginRead(dir.File("t.rc").c_str()));  // enters the predefined macros
  rc.AddMacroDefine("IDC_A", "1001");
  struct Case {
    const char* text;
    const char* want;
  } const cases[] = {
      {"IDC_A", "1001"},
      {"IDC_AB", "IDC_AB"},
      {"XIDC_A", "XIDC_A"},
      {"IDC_A|2", "1001|2"},
      {"IDC_A IDC_A", "1001 1001"},
      {"$IDC_A", "$IDC_A"},
      {"IDC_STATIC", "-1"},
      {"IDOK", "1"},
      {"ID_APP_ABOUT", "57664"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(Substituted(rc, c.text), c.want);
  }
  rc.EndRead();
}

TEST(RcMacros, DefinitionRules) {
  CRcCmplr rc;
  rc.EchoReports(false);
  CString v;
  // A value naming an earlier macro stores that macro's value, one level.
  rc.AddMacroDefine("B", "7");
  rc.AddMacroDefine("C", "B");
  ASSERT_TRUE(rc.GetMacroDef("C", v, 0));
  EXPECT_STREQ(v, "7");
  // A definition equal to its own name defines nothing.
  rc.AddMacroDefine("SELF", "SELF");
  EXPECT_FALSE(rc.GetMacroDef("SELF", v, 0));
  // A redefinition keeps the table position, so the substitution order:
  // A is replaced before B and B then sees A's value.
  rc.AddMacroDefine("A", "q");
  rc.AddMacroDefine("D", "1");
  rc.AddMacroDefine("A", "D+");
  EXPECT_TRUE(rctest::Reported(rc, "Macro redefinition(A)!"));
  EXPECT_EQ(Substituted(rc, "A"), "1+");  // D, defined after A, sees A's value
  rc.AddMacroDefine("E", "B+");
  EXPECT_EQ(Substituted(rc, "E"), "B+");  // B came before E
  // Lookups with and without case.
  EXPECT_FALSE(rc.GetMacroDef("b", v, 0));
  EXPECT_TRUE(rc.GetMacroDef("b", v, 1));
  rc.RemoveMacroDefine("B");
  EXPECT_FALSE(rc.GetMacroDef("B", v, 0));
}

TEST(RcMacros, EmptyNameIsRefusedAndSubstitutionEnds) {
  CRcCmplr rc;
  rc.EchoReports(false);
  rc.AddMacroDefine("", "x");
  EXPECT_EQ(Substituted(rc, "abc"), "abc");
  EXPECT_TRUE(rctest::Reported(rc, "empty name"));
}

TEST(RcMacros, GrowthIsCapped) {
  CRcCmplr rc;
  rc.EchoReports(false);
  // Each definition doubles the text of the one before it.
  rc.AddMacroDefine("M0", "M1 M1");
  for (int i = 1; i < 30; ++i)
    rc.AddMacroDefine(("M" + std::to_string(i)).c_str(),
                      ("M" + std::to_string(i + 1) + " M" + std::to_string(i + 1)).c_str());
  const std::string out = Substituted(rc, "M0");
  EXPECT_LE(out.size(), static_cast<size_t>(CRcCmplr::kMaxMacroText));
  EXPECT_TRUE(rctest::Reported(rc, "grows past"));
}

}  // namespace
