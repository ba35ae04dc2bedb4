// The word search dialog on the private Xvfb, built from the shipped
// dialog 110, over the engine on the word search fixture: Find with its
// counts per kind, Find in result, the category boxes, OK without a row,
// and a double click that puts the row on the clipboard. The dialog with
// its results is saved to build/screenshots/.
#include "frontend/CFindSayingDlg.h"

#include "tests/controls/DialogTestApp.h"
// The dialog test application first: it brings Xlib after gtest.
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "controls/ALbx.h"
#include "controls/CMsgBox.h"
#include "controls/CtrlConsts.h"
#include "framework/Clipboard.h"
#include "framework/internal/Clock.h"
#include "tests/frontend/DialogEngine.h"
#include "tests/frontend/DialogTestSupport.h"
#include "tests/support/Screenshot.h"

DialogTestApp& TheApp() {
  static DialogTestApp app;
  return app;
}
static auto* const kEnv = ::testing::AddGlobalTestEnvironment(new DialogEnv);

namespace {

using dialogtest::ToGbk;
using dialogtest::ToUtf8;
using V = std::vector<std::string>;

class TestFindDlg : public CFindSayingDlg {
 public:
  TestFindDlg() : CFindSayingDlg(nullptr) {}
  int Ask(const char* text, int) override { return boxes.Ask(text); }
  V Rows() const {
    V out;
    for (int i = 0; m_pList && i < m_pList->GetCount(); ++i) {
      CString row;
      m_pList->GetText(i, row);
      out.push_back(ToUtf8(row));
    }
    return out;
  }
  std::string Text(int id) {
    CString t;
    GetCtrlText(id, t);
    return t.GetString();
  }
  // Types text into 1124 as the edit control would hold it.
  void Type(const char* utf8) { SetCtrlText(kIdFindText, ToGbk(utf8)); }
  void Click(int id) {
    AWnd* c = GetCtrl(id);
    ASSERT_NE(c, nullptr) << id;
    TheApp().ClickAt(c->m_hWnd, c->m_szWin.cx / 2, c->m_szWin.cy / 2);
  }
  dialogtest::ScriptedBoxes boxes;
};

uint32_t g_nowMs = 1;
uint32_t TestClock() { return g_nowMs; }

class WordSearchDlg : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(TheApp().user, nullptr);
    dialogtest::UseTextOnlyEdits();
    ASSERT_TRUE(dialogtest::StartDialogEngine(m_dir, m_host, enginetest::PinYinSettings()));
    TheApp().steps.clear();
    TheApp().watchdogFired = false;
    // Each dialog becomes the main window that owns the clipboard.
    TheApp().m_hMainWnd = 0;
    afc::SetClockForTest(TestClock);
  }
  void TearDown() override {
    afc::SetClockForTest(nullptr);
    EXPECT_FALSE(TheApp().watchdogFired) << "the dialog outlived its script";
    dialogtest::StopDialogEngine();
  }
  DialogTestApp& app = TheApp();
  kvrtest::ScratchDir m_dir;
  RecordingHost m_host;
};

TEST_F(WordSearchDlg, FindCountsEachKindAndFindInResultKeepsMatchingRows) {
  TestFindDlg dlg;
  app.Then([&] {
    // Every category is on, detail is hidden, nothing is listed yet.
    for (int id : {kIdNoRestrict, kIdWords, kIdSayings, kIdPoems, kIdXiehouyu})
      EXPECT_EQ(dlg.IsBtnChecked(id), 1) << id;
    EXPECT_TRUE(dlg.GetCtrl(kIdDetail)->m_bHidden);
    dlg.Type("中");
    dlg.Click(kIdFind);
  });
  app.Then([&] {
    // A one-character text finds the phrases holding that character, not
    // the bytes of 中 straddling 国 and 中 in 国中's neighbours.
    EXPECT_EQ(dlg.Text(kIdCountWords), "3");
    dlg.Type("中国");
    dlg.Click(kIdFind);
  });
  app.Then([&] {
    EXPECT_EQ(dlg.Rows(), (V{"中国", "中国人", "中国人民，站起来了", "中国，人民",
                             "中国山河美，人民幸福长。", "中国人过河—各走各的。"}));
    EXPECT_EQ(dlg.Text(kIdCountWords), "2");
    EXPECT_EQ(dlg.Text(kIdCountSayings), "2");
    EXPECT_EQ(dlg.Text(kIdCountPoems), "1");
    EXPECT_EQ(dlg.Text(kIdCountXiehouyu), "1");
    EXPECT_EQ(dlg.Text(kIdCountInResult), "");
    const CSize sz = GetWinSize(dlg.m_hWnd);
    EXPECT_EQ(kvrtest::SaveWindowShot(dsply, dlg.m_hWnd, "word_search", sz.cx, sz.cy), "");
    dlg.Type("人民");
    dlg.Click(kIdFindInResult);
  });
  app.Then([&] {
    EXPECT_EQ(dlg.Rows(), (V{"中国人民，站起来了", "中国，人民", "中国山河美，人民幸福长。"}));
    EXPECT_EQ(dlg.Text(kIdCountInResult), "3");
    for (int id : {kIdCountWords, kIdCountSayings, kIdCountPoems, kIdCountXiehouyu})
      EXPECT_EQ(dlg.Text(id), "") << id;
    // A one-byte text changes nothing.
    dlg.Type("a");
    dlg.Click(kIdFindInResult);
  });
  app.Then([&] {
    EXPECT_EQ(dlg.Rows().size(), 3u);
    dlg.Click(IDCANCEL);
  });
  EXPECT_EQ(dlg.ActModal(), IDCANCEL);
}

TEST_F(WordSearchDlg, CategoryBoxesAndNoRestriction) {
  TestFindDlg dlg;
  app.Then([&] { dlg.Click(kIdPoems); });
  app.Then([&] {
    EXPECT_EQ(dlg.IsBtnChecked(kIdPoems), 0);
    EXPECT_EQ(dlg.IsBtnChecked(kIdNoRestrict), 0);
    EXPECT_EQ(dlg.IsBtnChecked(kIdWords), 1);
    dlg.Type("中国");
    dlg.Click(kIdFind);
  });
  app.Then([&] {
    // Poems were not searched: no count, no poem rows.
    EXPECT_EQ(dlg.Text(kIdCountPoems), "");
    EXPECT_EQ(dlg.Rows().size(), 5u);
    dlg.Click(kIdNoRestrict);
  });
  app.Then([&] {
    for (int id : {kIdWords, kIdSayings, kIdPoems, kIdXiehouyu})
      EXPECT_EQ(dlg.IsBtnChecked(id), 1) << id;
    app.Key(XK_Escape);
  });
  dlg.ActModal();
}

TEST_F(WordSearchDlg, OkWantsARowAndADoubleClickCopiesIt) {
  TestFindDlg dlg;
  ClearMyClipboard();
  auto rowY = [&](int row) { return row * dlg.m_pList->m_nRowH + dlg.m_pList->m_nRowH / 2; };
  app.Then([&] {
    dlg.Type("人民");
    dlg.Click(kIdFind);
  });
  app.Then([&] {
    ASSERT_EQ(dlg.Rows().size(), 4u);
    dlg.Click(IDOK);
  });
  app.Then([&] {
    EXPECT_EQ(dlg.boxes.asked, V{"Pls select an item."});
    EXPECT_FALSE(dlg.IsDlgEnded());
    // The hidden Detail button writes the selected row beside the program.
    const CString progDir = app.m_strProgDir;
    app.m_strProgDir = (m_dir.Path() + "/").c_str();
    dlg.m_pList->SetSel(2);
    EXPECT_EQ(dlg.OnDetail(), 1);
    app.m_strProgDir = progDir;
    std::ifstream detail(m_dir.File("FindSayTmp.gbk"), std::ios::binary);
    const std::string written((std::istreambuf_iterator<char>(detail)),
                              std::istreambuf_iterator<char>());
    EXPECT_EQ(ToUtf8(CString(written.c_str())), "中国，人民");
    g_nowMs += 1000;
    app.ClickAt(dlg.m_pList->m_hWnd, 20, rowY(1));
    app.ClickAt(dlg.m_pList->m_hWnd, 20, rowY(1));
  });
  EXPECT_EQ(dlg.ActModal(), IDOK);
  EXPECT_EQ(ToUtf8(g_myClipboardStr), "中国人民，站起来了");
  ClearMyClipboard();
}

}  // namespace
