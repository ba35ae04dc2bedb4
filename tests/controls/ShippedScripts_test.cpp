// The resource scripts that ship with the programs (Jux.rc with resource.h
// for kvr, kvrsetup.rc for kvrsetup) compile cleanly and hold every
// resource, control id and control kind that the code relies on.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "tests/controls/RcTestUtil.h"

namespace {

// What a control id must be in its dialog.
enum class Kind {
  kPush,
  kCheck,
  kRadio,
  kEdit,
  kList,
  kCombo,
  kText,
  kProgress,
  kCheckOrRadio,
  kCreated
};

struct Need {
  int id;
  Kind kind;
};

const char* KindName(Kind k) {
  switch (k) {
    case Kind::kPush: return "push button";
    case Kind::kCheck: return "check box";
    case Kind::kRadio: return "radio button";
    case Kind::kEdit: return "edit field";
    case Kind::kList: return "list box";
    case Kind::kCombo: return "combo box";
    case Kind::kText: return "static text";
    case Kind::kProgress: return "progress bar";
    case Kind::kCheckOrRadio: return "check box or radio button";
    case Kind::kCreated: return "control the dialog builder creates";
  }
  return "?";
}

bool IsKind(const typCtrl& c, Kind k) {
  switch (k) {
    case Kind::kPush: return c.m_type == kCtrlPushButton;
    case Kind::kCheck: return c.m_type == kCtrlCheckBox;
    case Kind::kRadio: return c.m_type == kCtrlRadioButton;
    case Kind::kEdit: return c.m_type == kCtrlEditField;
    case Kind::kList: return c.m_type == kCtrlListBox;
    case Kind::kCombo: return c.m_type == kCtrlComboBox;
    case Kind::kText: return c.m_type == kCtrlStaticText;
    case Kind::kProgress: return c.m_type == kCtrlProgressBar;
    case Kind::kCheckOrRadio: return c.m_type == kCtrlCheckBox || c.m_type == kCtrlRadioButton;
    case Kind::kCreated:
      // Icons, other classes and black frames get no control object.
      return c.m_type != kCtrlIcon && c.m_type != kCtrlOtherClass && c.m_type != kCtrlBlackFrame;
  }
  return false;
}

// Whether text holds a GBK double-byte character.
bool HasGbkChar(const std::string& text) {
  for (size_t i = 0; i + 1 < text.size(); ++i) {
    const unsigned char lead = text[i], trail = text[i + 1];
    if (lead < 0x81) continue;
    if (lead <= 0xFE && trail >= 0x40 && trail <= 0xFE && trail != 0x7F) return true;
    ++i;
  }
  return false;
}

// Compiles a shipped script from a copy of the distribution files in a
// scratch directory (so that its blob files go there).
class Shipped {
 public:
  explicit Shipped(const char* script) {
    mkdir(m_dir.File("res").c_str(), 0777);
    for (const char* name : {"Jux.rc", "kvrsetup.rc", "resource.h"})
      rctest::WriteFile(m_dir.File(name), rctest::ReadFile(kvrtest::DistDir() + "/" + name));
    m_rc.EchoReports(false);
    m_compiled = m_rc.LoadGuiResFromRC(m_dir.File(script).c_str());
  }
  CRcCmplr& Rc() { return m_rc; }
  bool Compiled() const { return m_compiled == 1; }

  void CheckDialog(int id, const std::vector<Need>& needs) {
    SCOPED_TRACE(testing::Message() << "dialog " << id);
    const std::vector<typCtrl> ctrls = rctest::Controls(m_rc, std::to_string(id).c_str());
    ASSERT_FALSE(ctrls.empty()) << "dialog " << id << " is missing or empty";
    std::map<int, typCtrl> byId;
    for (const typCtrl& c : ctrls) {
      if (c.m_id == -1) continue;
      EXPECT_TRUE(byId.emplace(c.m_id, c).second) << "control id " << c.m_id << " twice";
    }
    for (const Need& n : needs) {
      auto it = byId.find(n.id);
      if (it == byId.end()) {
        ADD_FAILURE() << "control " << n.id << " is missing";
        continue;
      }
      EXPECT_TRUE(IsKind(it->second, n.kind))
          << "control " << n.id << " is type " << int(it->second.m_type) << ", not a "
          << KindName(n.kind);
    }
  }

  typDlg Dialog(int id) {
    typDlg dlg;
    CString key(std::to_string(id).c_str());
    EXPECT_TRUE(m_rc.m_mapDlgs.Lookup(key, dlg)) << "dialog " << id;
    return dlg;
  }

 private:
  kvrtest::ScratchDir m_dir;
  CRcCmplr m_rc;
  int m_compiled = 0;
};

// Dialog 112: the message box's four buttons, of one size, hidden.
void CheckMessageBox(Shipped& s) {
  s.CheckDialog(112, {{1, Kind::kPush}, {2, Kind::kPush}, {6, Kind::kPush}, {7, Kind::kPush}});
  std::set<std::pair<int, int>> sizes;
  for (const typCtrl& c : rctest::Controls(s.Rc(), "112")) {
    if (c.m_id != 1 && c.m_id != 2 && c.m_id != 6 && c.m_id != 7) continue;
    sizes.insert({c.m_size.cx, c.m_size.cy});
    EXPECT_TRUE(c.m_style & kCtrlStyleHidden) << "button " << c.m_id << " is visible";
  }
  EXPECT_EQ(sizes.size(), 1u);
}

TEST(ShippedScripts, JuxCompilesCleanly) {
  Shipped s("Jux.rc");
  ASSERT_TRUE(s.Compiled());
  EXPECT_TRUE(rctest::Reports(s.Rc()).empty()) << rctest::Joined(rctest::Reports(s.Rc()));
}

TEST(ShippedScripts, JuxDialogs) {
  Shipped s("Jux.rc");
  s.CheckDialog(100, {{1, Kind::kPush}});
  s.CheckDialog(106, {{1063, Kind::kEdit},
                      {1092, Kind::kCreated},
                      {1090, Kind::kPush},
                      {1091, Kind::kPush},
                      {1, Kind::kPush},
                      {2, Kind::kPush}});
  std::vector<Need> options = {
      {1006, Kind::kList},    {1079, Kind::kCombo},        {1085, Kind::kCombo},
      {1108, Kind::kCombo},   {1061, Kind::kRadio},        {1063, Kind::kRadio},
      {1064, Kind::kRadio},   {1073, Kind::kCheckOrRadio}, {1062, Kind::kCreated},
      {1076, Kind::kCreated}, {1089, Kind::kPush},         {1, Kind::kPush},
      {2, Kind::kPush}};
  for (int id : {1065, 1066, 1067, 1068, 1069, 1070, 1071, 1072, 1075, 1077, 1078, 1080, 1081, 1082,
                 1083, 1084, 1138, 1139})
    options.push_back({id, Kind::kCheck});
  s.CheckDialog(108, options);
  s.CheckDialog(110, {{1124, Kind::kEdit},
                      {1126, Kind::kCheck},
                      {1067, Kind::kCheck},
                      {1128, Kind::kCheck},
                      {1129, Kind::kCheck},
                      {1130, Kind::kCheck},
                      {1135, Kind::kPush},
                      {1136, Kind::kPush},
                      {1137, Kind::kPush},
                      {1, Kind::kPush},
                      {2, Kind::kPush},
                      {1097, Kind::kList},
                      {1127, Kind::kText},
                      {1131, Kind::kText},
                      {1132, Kind::kText},
                      {1133, Kind::kText},
                      {1134, Kind::kText}});
  CheckMessageBox(s);
  s.CheckDialog(113, {{1, Kind::kPush},
                      {1046, Kind::kPush},
                      {1049, Kind::kPush},
                      {1074, Kind::kCreated},
                      {1035, Kind::kCreated}});
  s.CheckDialog(114, {{1109, Kind::kCheckOrRadio}, {1, Kind::kPush}, {2, Kind::kPush}});
}

// The run of consecutive radio records that the dialog builder makes one
// group of, starting at the radio with that id.
std::vector<int> RadioGroupAt(CRcCmplr& rc, const char* dlg, int first) {
  const std::vector<typCtrl> ctrls = rctest::Controls(rc, dlg);
  std::vector<int> group;
  for (size_t i = 0; i < ctrls.size(); ++i) {
    if (ctrls[i].m_id != first) continue;
    // It must start its group: first of a run, or flagged.
    if (i > 0 && ctrls[i - 1].m_type == kCtrlRadioButton && !ctrls[i].m_group) return {};
    for (size_t j = i;
         j < ctrls.size() && ctrls[j].m_type == kCtrlRadioButton && (j == i || !ctrls[j].m_group);
         ++j)
      group.push_back(ctrls[j].m_id);
  }
  return group;
}

TEST(ShippedScripts, JuxRadioGroups) {
  Shipped s("Jux.rc");
  EXPECT_EQ(RadioGroupAt(s.Rc(), "108", 1061), (std::vector<int>{1061, 1063, 1064}));
  EXPECT_EQ(RadioGroupAt(s.Rc(), "114", 1109).size(), 2u);
}

TEST(ShippedScripts, JuxKeymapHoldsThePictureBelowItsTitle) {
  Shipped s("Jux.rc");
  // Two pixels a dialog unit at kvr's font height of 20; a title bar of 25.
  const typDlg dlg = s.Dialog(105);
  EXPECT_GE(dlg.m_size.cx * 2, 810);
  EXPECT_GE(dlg.m_size.cy * 2 - 25, 480);
}

TEST(ShippedScripts, JuxTextIsGbk) {
  Shipped s("Jux.rc");
  bool found = false;
  for (const typCtrl& c : rctest::Controls(s.Rc(), "100"))
    found = found || strstr(c.m_text, "\xd6\xd0\xce\xc4\xca\xe4\xc8\xeb\xb7\xa8") != nullptr;
  EXPECT_TRUE(found) << "the about box names the input method in GBK";
}

TEST(ShippedScripts, JuxMenuAndBitmaps) {
  Shipped s("Jux.rc");
  typMnuCell* root = nullptr;
  CString key("4");
  ASSERT_TRUE(s.Rc().m_mapMenus.Lookup(key, root));
  ASSERT_GE(root->m_children.GetSize(), 3);
  // The command table of the bar.
  const std::set<int> commands = {0x69,   0x8007, 0xE140, 0xE167, 0xE170, 0xE171, 0xE176, 0xE178,
                                  0xE179, 0xE17F, 0xE180, 0xE181, 0xE184, 0xE186, 0xE187, 0xE189,
                                  0xE18C, 0xE18D, 0xE196, 0xE199, 0xE19A, 0xE1A1, 0xE1A5, 0xE1A6,
                                  0xE1A7, 0xE1A8, 0xE1A9, 0xE1AA, 0xE1AC, 0xE1AD, 0xE1AE, 0xE1AF,
                                  0xE1B0, 0xE1B1, 0xE1B4, 0xE1B6};
  std::set<int> offered;
  for (int sub = 0; sub < 3; ++sub) {
    SCOPED_TRACE(sub);
    const typMnuCell* popup = root->m_children[sub];
    EXPECT_EQ(popup->m_kind, kMnuPopup);
    EXPECT_GT(popup->m_children.GetSize(), 0);
    for (int i = 0; i < popup->m_children.GetSize(); ++i) {
      const typMnuCell* item = popup->m_children[i];
      if (item->m_kind == kMnuSeparator) continue;
      EXPECT_EQ(item->m_kind, kMnuItem);
      EXPECT_TRUE(commands.count(item->m_id)) << item->m_id << " " << item->m_text;
      offered.insert(item->m_id);
      // The menu shows its texts as they stand: Chinese, no '&' marks.
      const std::string text(item->m_text);
      EXPECT_TRUE(HasGbkChar(text)) << item->m_id;
      EXPECT_EQ(text.find('&'), std::string::npos) << item->m_id;
    }
  }
  // The commands that only the menu offers: the dialogs, the UI language
  // and the guides.
  for (int id : {0xE140, 0xE187, 0xE18D, 0xE1B0, 0xE1B6, 0xE186, 0xE1AE, 0xE1AF, 0xE17F, 0xE181,
                 0xE184, 0xE1AD})
    EXPECT_TRUE(offered.count(id)) << "command " << id << " is not in the menu";

  for (int id : {120, 131, 161, 172, 173, 175}) {
    CString file, k(std::to_string(id).c_str());
    EXPECT_TRUE(s.Rc().m_mapBmps.Lookup(k, file)) << "bitmap " << id;
    EXPECT_FALSE(file.IsEmpty());
  }
}

TEST(ShippedScripts, KvrsetupWizardAndMessageBox) {
  Shipped s("kvrsetup.rc");
  ASSERT_TRUE(s.Compiled());
  EXPECT_TRUE(rctest::Reports(s.Rc()).empty()) << rctest::Joined(rctest::Reports(s.Rc()));
  s.CheckDialog(113, {{163, Kind::kCheck},
                      {191, Kind::kCheck},
                      {1010, Kind::kCheck},
                      {1001, Kind::kPush},
                      {3, Kind::kPush},
                      {2, Kind::kPush},
                      {1002, Kind::kCreated},
                      {1014, Kind::kCreated},
                      {1026, Kind::kProgress},
                      {1015, Kind::kCreated},
                      {1018, Kind::kCreated},
                      {1021, Kind::kCreated},
                      {1027, Kind::kCreated}});
  for (const typCtrl& c : rctest::Controls(s.Rc(), "113")) {
    const bool hidden = (c.m_style & kCtrlStyleHidden) != 0;
    EXPECT_EQ(hidden, c.m_id == 1026) << "control " << c.m_id;
  }
  CheckMessageBox(s);
}

TEST(ShippedScripts, CompiledTablesReadBack) {
  for (const char* script : {"Jux.rc", "kvrsetup.rc"}) {
    SCOPED_TRACE(script);
    Shipped s(script);
    ASSERT_EQ(s.Rc().SaveGuiRes(), 1);
    CRcCmplr back;
    back.EchoReports(false);
    back.SetProgramDir(s.Rc().GetProgramDir());
    EXPECT_EQ(back.LoadGuiResFromBinary(), 1);
    EXPECT_EQ(back.m_mapDlgs.GetCount(), s.Rc().m_mapDlgs.GetCount());
  }
}

}  // namespace
