// Chinese typed through kvr itself into kvr's own dialogs: the word-search
// dialog of the shipped Jux.rc runs as a plain dialog with the real engine
// on the shipped dictionaries, kvr's engine host and kvr's editor engine
// bound, as kvr binds them. A user on a second X connection types
// "zhongguo" into edit control 1124, kvr's keys pane shows at the
// control's caret, and Space leaves the chosen characters in the control.
#include "tests/controls/DialogTestApp.h"

#include <cstdlib>
#include <string>

#include "controls/AEdt.h"
#include "engine/CChnChars.h"
#include "engine/EngineHost.h"
#include "engine/InputSettings.h"
#include "frontend/EditorEngineBinding.h"
#include "frontend/FrontendHost.h"
#include "frontend/InputPanes.h"
#include "tests/engine/EngineStart.h"
#include "tests/support/Screenshot.h"
#include "tests/support/TestPaths.h"

DialogTestApp& TheApp() {
  static DialogTestApp app;
  return app;
}
static auto* const kEnv = ::testing::AddGlobalTestEnvironment(new DialogEnv);

namespace {

constexpr int kWordSearchDlg = 110;
constexpr int kIdSearchText = 1124;
const char kZhongGuo[] = "\xd6\xd0\xb9\xfa";  // GBK: zhong guo

TEST(EditCtrlEngine, PinyinTypedIntoADialogFieldArrivesAsChinese) {
  DialogTestApp& app = TheApp();
  ASSERT_NE(app.user, nullptr);
  // The engine learns and writes beside its dictionaries: a private copy.
  kvrtest::ScratchDir dir;
  ASSERT_TRUE(enginetest::CopyRegularFiles(kvrtest::DistDir(), dir.Path()));
  app.m_strProgDir = (dir.Path() + "/").c_str();
  SetEngineHost(&TheFrontendHost());
  cfgInputManager = enginetest::PinYinSettings();
  cfgInputManager.InputMode = kChineseInput;
  cfgInputManager.useFloatPromptPane = 1;
  gbInitDone = 0;
  dictionary.InitFirst();
  dictionary.InitDictionary();
  ASSERT_NE(CreateInputPane(0), 0);
  BindEditorEngine();

  ADialog dlg(kWordSearchDlg, nullptr);
  AEdt* edit = nullptr;
  app.Then([&] {
    edit = dynamic_cast<AEdt*>(dlg.GetCtrl(kIdSearchText));
    ASSERT_NE(edit, nullptr);
    dlg.SetCtrlFocus(kIdSearchText);
  });
  app.ThenWhen([&] { return GetFocusWin() == edit->m_hWnd; },
               [&] {
                 for (KeySym k : {XK_z, XK_h, XK_o, XK_n, XK_g, XK_g, XK_u, XK_o}) app.Key(k);
               });
  app.ThenWhen([&] { return dictionary.m_strKeySeq == "zhongguo" && IsWinShown(hwndInputPane1); },
               [&] {
                 // Nothing has reached the control yet; the keys pane stands below
                 // the control's caret.
                 EXPECT_EQ(std::string(edit->GetText()), "");
                 CRect pane, ctrl;
                 ASSERT_TRUE(GetWinRect(hwndInputPane1, &pane));
                 ASSERT_TRUE(GetWinRect(edit->m_hWnd, &ctrl));
                 EXPECT_GE(pane.top, ctrl.top);
                 EXPECT_LE(pane.top, ctrl.bottom + 2 * edit->m_nFontH);
                 EXPECT_LE(std::abs(pane.left - ctrl.left), 4 * edit->m_nFontH);
                 EXPECT_EQ(kvrtest::SaveScreen(dsply, "edit_control_typing", DisplayWidth(dsply, 0),
                                               DisplayHeight(dsply, 0)),
                           "");
                 app.Key(XK_space);
               });
  app.ThenWhen(
      [&] { return edit->GetText() == kZhongGuo; },
      [&] {
        EXPECT_EQ(std::string(edit->GetText()), kZhongGuo);
        EXPECT_EQ(dictionary.m_strKeySeq, "");
        // The mark is gone: a later commit goes to an XIM client.
        EXPECT_EQ(app.m_bEditKey, 0);
        const CSize sz = GetWinSize(dlg.m_hWnd);
        EXPECT_EQ(kvrtest::SaveWindowShot(dsply, dlg.m_hWnd, "edit_control_chinese", sz.cx, sz.cy),
                  "");
        app.Key(XK_Escape);
      });
  dlg.ActModal();
  EXPECT_FALSE(app.watchdogFired);
  SetEditorEngine(nullptr);
  ExitInputPane();
  dictionary.CloseDictionary();
  SetEngineHost(nullptr);
}

}  // namespace
