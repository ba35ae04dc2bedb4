#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/controls/RcTestUtil.h"

namespace {

const char kHeader[] =
    "#define IDD_T 200\n"
    "#define IDC_CHECK 1001\n"
    "#define IDC_RADIO 1002\n"
    "#define IDB_PIC 131\n";

// One control statement of every kind, and the record each must give.
const char kDialog[] =
    "IDD_T DIALOG DISCARDABLE 0, 0, 235, 155\n"
    "STYLE DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU\n"
    "CAPTION \"Test, dialog\"\n"
    "FONT 9, \"MS Sans Serif\"\n"
    "BEGIN\n"
    "    LTEXT \"Left\",IDC_STATIC,1,2,3,4\n"
    "    CTEXT \"Centre\",10,5,6,7,8,SS_NOTIFY\n"
    "    RTEXT \"Right\",11,9,10,11,12,SS_SUNKEN\n"
    "    ICON 128,IDC_STATIC,13,14,15,16\n"
    "    CONTROL \"Check\",IDC_CHECK,\"Button\",BS_AUTOCHECKBOX | WS_TABSTOP,\n"
    "            17,18,19,20\n"
    "    CONTROL \"Radio\",IDC_RADIO,\"Button\",BS_AUTORADIOBUTTON | WS_GROUP,21,22,23,24\n"
    "    CONTROL \"Plain\",12,\"button\",BS_OWNERDRAW,25,26,27,28\n"
    "    CONTROL IDB_PIC,13,\"Static\",SS_BITMAP | SS_SUNKEN,29,30,31,32\n"
    "    CONTROL \"\",14,\"Static\",SS_BLACKFRAME,33,34,35,36\n"
    "    CONTROL \"\",15,\"msctls_progress32\",NOT WS_VISIBLE | WS_BORDER,37,38,39,40\n"
    "    CONTROL \"\",16,\"msctls_updown32\",UDS_ARROWKEYS,41,42,43,44\n"
    "    CONTROL \"\",17,\"SysListView32\",SS_BLACKRECT,45,46,47,48\n"
    "    COMBOBOX 18,49,50,51,52,CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP\n"
    "    COMBOBOX 19,53,54,55,56,CBS_DROPDOWN | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS\n"
    "    EDITTEXT 20,57,58,59,60,ES_MULTILINE | ES_READONLY | ES_RIGHT | WS_HSCROLL\n"
    "    EDITTEXT 21,61,62,63,64,ES_AUTOHSCROLL | WS_DISABLED\n"
    "    GROUPBOX \"Group\",22,65,66,67,68\n"
    "    LISTBOX 23,69,70,71,72,LBS_SORT | WS_VSCROLL | not WS_TABSTOP\n"
    "    PUSHBUTTON \"Push\",24,73,74,75,76,NOT WS_VISIBLE | WS_TABSTOP\n"
    "    PUSHBUTTON \"Hidden?\",25,77,78,79,80,not WS_VISIBLE | WS_EX_CLIENTEDGE\n"
    "    DEFPUSHBUTTON \"OK\",IDOK,81,82,83,84\n"
    "    SCROLLBAR 26,85,86,87,88\n"
    "    #define IN_BODY 5\n"
    "    CONTROL \"\",27,\"Static\",WS_EX_STATICEDGE | WS_EX_DLGMODALFRAME,89,90,91,92\n"
    "END\n";

TEST(RcCmplr, DialogControlsBecomeRecords) {
  kvrtest::ScratchDir dir;
  CRcCmplr rc;
  ASSERT_EQ(rctest::Compile(rc, dir, std::string(kHeader) + kDialog), 1);

  typDlg dlg;
  CString key("200");
  ASSERT_TRUE(rc.m_mapDlgs.Lookup(key, dlg));
  EXPECT_EQ(dlg.m_style, kDlgStyleModalFrame | kDlgStyleCaption | kDlgStyleSysMenu);
  EXPECT_EQ(dlg.m_size.cx, 235);
  EXPECT_EQ(dlg.m_size.cy, 155);
  EXPECT_STREQ(dlg.m_caption, "Test, dialog");
  EXPECT_STREQ(dlg.m_fontFace, "MS Sans Serif");
  EXPECT_EQ(dlg.m_fontSize, 9);

  struct Want {
    int type, subtype, align, group, id, extra;
    uint32_t style;
    int x, y, cx, cy;
    const char* text;
  } const want[] = {
      {0, 0, 0, 0, -1, 0, 0, 1, 2, 3, 4, "Left"},
      {0, 0, 1, 0, 10, 0, kCtrlStyleNotify, 5, 6, 7, 8, "Centre"},
      {0, 0, 2, 0, 11, 0, kCtrlStyleSunken, 9, 10, 11, 12, "Right"},
      {1, 0, 0, 0, 128, 0, 0, 13, 14, 15, 16, ""},
      {13, 0, 0, 0, 1001, 0, kCtrlStyleTabStop, 17, 18, 19, 20, "Check"},
      {5, 0, 0, 1, 1002, 0, 0, 21, 22, 23, 24, "Radio"},
      {9, 0, 0, 0, 12, 0, kCtrlStyleOwnerDraw, 25, 26, 27, 28, "Plain"},
      {2, 2, 0, 0, 13, 131, kCtrlStyleSunken, 29, 30, 31, 32, "131"},
      {8, 2, 0, 0, 14, 0, 0, 33, 34, 35, 36, ""},
      {10, 0, 0, 0, 15, 0, kCtrlStyleHidden, 37, 38, 39, 40, ""},
      {3, 1, 0, 0, 16, 0, 0, 41, 42, 43, 44, ""},
      {8, 0, 0, 0, 17, 0, 0, 45, 46, 47, 48, ""},
      {4, 0, 0, 0, 18, 0, kCtrlStyleDropList | kCtrlStyleVScroll | kCtrlStyleTabStop, 49, 50, 51,
       52, ""},
      {4, 0, 0, 0, 19, 0, kCtrlStyleDropDown | kCtrlStyleOwnerDraw, 53, 54, 55, 56, ""},
      {6, 0, 2, 0, 20, 0, kCtrlStyleMultiLine | kCtrlStyleReadOnly | kCtrlStyleHScroll, 57, 58, 59,
       60, ""},
      {6, 0, 0, 0, 21, 0, kCtrlStyleHScroll | kCtrlStyleDisabled, 61, 62, 63, 64, ""},
      {7, 0, 0, 0, 22, 0, 0, 65, 66, 67, 68, "Group"},
      {11, 0, 0, 0, 23, 0, kCtrlStyleVScroll, 69, 70, 71, 72, ""},
      {9, 0, 0, 0, 24, 0, kCtrlStyleHidden | kCtrlStyleTabStop, 73, 74, 75, 76, "Push"},
      {9, 0, 0, 0, 25, 0, kCtrlStyleClientEdge, 77, 78, 79, 80, "Hidden?"},
      {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, ""},
      {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, ""},
      {3, 2, 0, 0, 27, 0, kCtrlStyleStaticEdge, 89, 90, 91, 92, ""},
  };
  const std::vector<typCtrl> ctrls = rctest::Controls(rc, "200");
  ASSERT_EQ(ctrls.size(), sizeof want / sizeof want[0]);
  for (size_t i = 0; i < ctrls.size(); ++i) {
    SCOPED_TRACE(i);
    const typCtrl& c = ctrls[i];
    const Want& w = want[i];
    EXPECT_EQ(c.m_type, w.type);
    EXPECT_EQ(c.m_subtype, w.subtype);
    EXPECT_EQ(c.m_align, w.align);
    EXPECT_EQ(c.m_group, w.group);
    EXPECT_EQ(c.m_id, w.id);
    EXPECT_EQ(c.m_extra, w.extra);
    EXPECT_EQ(c.m_style, w.style);
    EXPECT_EQ(c.m_pt.x, w.x);
    EXPECT_EQ(c.m_pt.y, w.y);
    EXPECT_EQ(c.m_size.cx, w.cx);
    EXPECT_EQ(c.m_size.cy, w.cy);
    EXPECT_STREQ(c.m_text, w.text);
  }
  // The #define inside the body was dropped with the other non-control lines.
  CString v;
  EXPECT_FALSE(rc.GetMacroDef("IN_BODY", v, 0));
  EXPECT_TRUE(rctest::Reports(rc).empty()) << rctest::Joined(rctest::Reports(rc));
}

TEST(RcCmplr, DialogHeaders) {
  struct Case {
    const char* header;
    bool recognised;
    int cx, cy;
  } const cases[] = {
      {"D1 DIALOG DISCARDABLE 0, 0, 10, 20", true, 10, 20},
      {"D1 DIALOGEX 1, 2, 30, 40", true, 30, 40},
      {"D1 DIALOG 1, 2, 30", false, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.header);
    kvrtest::ScratchDir dir;
    CRcCmplr rc;
    rctest::Compile(rc, dir, std::string(c.header) + "\nBEGIN\nEND\n");
    typDlg dlg;
    CString key("D1");
    ASSERT_EQ(rc.m_mapDlgs.Lookup(key, dlg), c.recognised ? 1 : 0);
    if (!c.recognised) continue;
    EXPECT_EQ(dlg.m_size.cx, c.cx);
    EXPECT_EQ(dlg.m_size.cy, c.cy);
    EXPECT_EQ(dlg.m_style, 0u);
    EXPECT_STREQ(dlg.m_caption, "");
    EXPECT_STREQ(dlg.m_fontFace, "");
    EXPECT_EQ(dlg.m_fontSize, 16);
    EXPECT_EQ(dlg.m_ctrls.GetCount(), 0);
  }
}

TEST(RcCmplr, LaterResourceOfTheSameNameReplacesTheFirst) {
  kvrtest::ScratchDir dir;
  CRcCmplr rc;
  rctest::Compile(rc, dir,
                  "D DIALOG 0,0,1,2\nBEGIN\nLTEXT \"a\",1,1,1,1,1\nEND\n"
                  "D DIALOG 0,0,3,4\nBEGIN\nEND\n"
                  "M MENU X\nBEGIN\nMENUITEM \"a\",1\nEND\n"
                  "M MENU X\nBEGIN\nEND\n"
                  "B BITMAP \"a.bmp\"\nB BITMAP \"b.bmp\"\n");
  typDlg dlg;
  CString d("D"), m("M"), b("B"), file;
  ASSERT_TRUE(rc.m_mapDlgs.Lookup(d, dlg));
  EXPECT_EQ(dlg.m_size.cx, 3);
  EXPECT_EQ(dlg.m_ctrls.GetCount(), 0);
  typMnuCell* root = nullptr;
  ASSERT_TRUE(rc.m_mapMenus.Lookup(m, root));
  EXPECT_EQ(root->m_children.GetSize(), 0);
  ASSERT_TRUE(rc.m_mapBmps.Lookup(b, file));
  EXPECT_STREQ(file, "b.bmp");
  EXPECT_EQ(rc.m_mapMenus.GetCount(), 1);
}

TEST(RcCmplr, MenusBecomeCellTrees) {
  kvrtest::ScratchDir dir;
  CRcCmplr rc;
  rctest::Compile(rc, dir,
                  "#define IDR_M 4\n#define ID_A 57601\n"
                  "IDR_M MENU DISCARDABLE\n"
                  "BEGIN\n"
                  "  POPUP \"&File\"\n"
                  "  BEGIN\n"
                  "    MENUITEM \"&Open\\tCtrl+O\", ID_A, CHECKED\n"
                  "    MENUITEM SEPARATOR\n"
                  "    MENUITEM \"A --- Separator\", 7\n"
                  "    MENUITEM \"&Exit\",\n"
                  "             9\n"
                  "  END\n"
                  "  MENUITEM \"&Top\", 8\n"
                  "END\n"
                  "TWO MENU\nBEGIN\nEND\n");
  typMnuCell* root = nullptr;
  CString key("4");
  ASSERT_TRUE(rc.m_mapMenus.Lookup(key, root));
  EXPECT_EQ(root->m_kind, kMnuPopup);
  EXPECT_EQ(root->m_id, 4);
  ASSERT_EQ(root->m_children.GetSize(), 2);
  const typMnuCell* file = root->m_children[0];
  EXPECT_EQ(file->m_kind, kMnuPopup);
  EXPECT_EQ(file->m_id, -1);
  EXPECT_STREQ(file->m_text, "&File");
  struct Want {
    int kind, id;
    const char* text;
  } const want[] = {{1, 57601, "&Open\tCtrl+O"}, {2, -1, ""}, {2, -1, ""}, {1, 9, "&Exit"}};
  ASSERT_EQ(file->m_children.GetSize(), 4);
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    const typMnuCell* c = file->m_children[i];
    EXPECT_EQ(c->m_kind, want[i].kind);
    EXPECT_EQ(c->m_id, want[i].id);
    EXPECT_STREQ(c->m_text, want[i].text);
    EXPECT_EQ(c->m_checked, 0);
    EXPECT_EQ(c->m_disabled, 0);
  }
  EXPECT_EQ(root->m_children[1]->m_kind, kMnuItem);
  EXPECT_EQ(root->m_children[1]->m_id, 8);
  // A header with only the name and MENU is no menu.
  CString two("TWO");
  EXPECT_FALSE(rc.m_mapMenus.Lookup(two, root));
  EXPECT_EQ(rc.m_bMenu, 0);
}

TEST(RcCmplr, ImagesStringsToolbarsAcceleratorsAndVersionInfo) {
  kvrtest::ScratchDir dir;
  CRcCmplr rc;
  rctest::Compile(rc, dir,
                  "#define IDB_A 131\n#define IDI_A 128\n#define IDS_A 61446\n"
                  "IDB_A BITMAP DISCARDABLE \"res\\\\sub\\\\a.bmp\"\n"
                  "IDI_A ICON DISCARDABLE \"a.ico\"\n"
                  "IDC_X CURSOR \"res\\\\x.cur\"\n"
                  "STRINGTABLE DISCARDABLE\nBEGIN\n  IDS_A \"Text A\"\n  62000\n  \"Text B\"\nEND\n"
                  "1 VERSIONINFO\n FILEVERSION 1,0,0,1\nBEGIN\n BLOCK \"StringFileInfo\"\n BEGIN\n"
                  "  VALUE \"x\", \"y\"\n END\nEND\n"
                  "IDR_TB TOOLBAR DISCARDABLE 16, 15\nBEGIN\n BUTTON 57600\n SEPARATOR\n"
                  " BUTTON 57601\nEND\n"
                  "IDR_ACC ACCELERATORS\nBEGIN\n \"C\", 57634, VIRTKEY, CONTROL\n"
                  " VK_F1, 57670, VIRTKEY, ALT\nEND\n"
                  "IDB_B BITMAP \"b.bmp\"\n");
  CString v, k;
  ASSERT_TRUE(rc.m_mapBmps.Lookup(k = "131", v));
  EXPECT_STREQ(v, "a.bmp");
  ASSERT_TRUE(rc.m_mapIcons.Lookup(k = "128", v));
  EXPECT_STREQ(v, "a.ico");
  ASSERT_TRUE(rc.m_mapCursors.Lookup(k = "IDC_X", v));
  EXPECT_STREQ(v, "x.cur");
  ASSERT_TRUE(rc.m_mapStrings.Lookup(k = "61446", v));
  EXPECT_STREQ(v, "Text A");
  ASSERT_TRUE(rc.m_mapStrings.Lookup(k = "62000", v));
  EXPECT_STREQ(v, "Text B");
  EXPECT_EQ(rc.m_mapStrings.GetCount(), 2);
  // The version block is skipped to its last END; what follows compiles.
  ASSERT_TRUE(rc.m_mapBmps.Lookup(k = "IDB_B", v));
  typToolbar tb;
  ASSERT_TRUE(rc.m_mapToolbars.Lookup(k = "IDR_TB", tb));
  ASSERT_EQ(tb.m_buttons.GetSize(), 2);
  EXPECT_EQ(tb.m_buttons[0]->m_id, 57600);
  EXPECT_EQ(tb.m_buttons[1]->m_id, 57601);
  EXPECT_EQ(tb.m_id, -1);
  typAccelerator acc;
  ASSERT_TRUE(rc.m_mapAccels.Lookup(k = "IDR_ACC", acc));
  ASSERT_EQ(acc.m_cells.GetSize(), 2);
  EXPECT_EQ(acc.m_cells[0]->m_bytes[0], 'C');
  EXPECT_EQ(acc.m_cells[0]->m_id, 57634);
  EXPECT_EQ(acc.m_cells[0]->m_bytes[5], 1);
  EXPECT_EQ(acc.m_cells[1]->m_bytes[0], 'V');
  EXPECT_EQ(acc.m_cells[1]->m_bytes[3], 1);
  EXPECT_EQ(acc.m_cells[1]->m_bytes[4], 1);
}

TEST(RcCmplr, UnreadableScriptKeepsTheTables) {
  kvrtest::ScratchDir dir;
  CRcCmplr rc;
  rctest::Compile(rc, dir, "B BITMAP \"b.bmp\"\n");
  ASSERT_EQ(rc.m_mapBmps.GetCount(), 1);
  EXPECT_EQ(rc.LoadGuiResFromRC(dir.File("missing.rc").c_str()), 0);
  EXPECT_EQ(rc.m_mapBmps.GetCount(), 1);
  EXPECT_TRUE(rctest::Reported(rc, "Cannot open source file!"));
}

TEST(RcCmplr, ReportsNameTheFileAndLine) {
  kvrtest::ScratchDir dir;
  CRcCmplr rc;
  rctest::Compile(rc, dir, "x\n\n#define A 1, 2\n");
  // The tokenizer refuses the line, then the statement finds no name.
  const std::vector<std::string> want = {dir.File("t.rc") + ":3: IDERR_EXTR ACOMMA",
                                         dir.File("t.rc") + ":3: IDERR_BAD_DEFINE"};
  EXPECT_EQ(rctest::Reports(rc), want);
}

}  // namespace
