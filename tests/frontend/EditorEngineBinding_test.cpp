// kvr's binding of the editor's engine: each operation reaches the engine's
// own fields and calls.
#include <gtest/gtest.h>

#include <cstring>

#include "editor/EditorEngine.h"
#include "engine/CChnChars.h"
#include "engine/InputSettings.h"
#include "frontend/EditorEngineBinding.h"
#include "frontend/InputPanes.h"
#include "frontend/XimGlue.h"

namespace {

class EditorEngineBinding : public ::testing::Test {
 protected:
  void SetUp() override { BindEditorEngine(); }
  void TearDown() override {
    SetEditorEngine(nullptr);
    dictionary.m_strKeySeq.Empty();
    dictionary.m_bModalBox = 0;
    dictionary.m_pModalBox = nullptr;
    dictionary.m_nReSelState = -1;
    dictionary.m_hReSelWnd = 0;
    dictionary.m_bKeepReSelection = 0;
  }
};

TEST_F(EditorEngineBinding, TheKeyRecordIsTheEngines) {
  IEditorEngine& e = EditorEngine();
  EXPECT_EQ(e.HasEngine(), 1);
  EdtKeyRecord rec;
  std::memset(rec.text, 'q', sizeof rec.text);  // no NUL: the binding keeps one
  rec.alt = 1;
  rec.ctrl = 0;
  rec.shift = 1;
  rec.xState = 0x2009;
  e.SetKeyRecord(rec);
  EXPECT_EQ(std::strlen(dictionary.m_szKeyText), static_cast<size_t>(kKeyTextBytes - 1));
  EXPECT_EQ(dictionary.m_bAlt, 1);
  EXPECT_EQ(dictionary.m_bCtrl, 0);
  EXPECT_EQ(dictionary.m_bShift, 1);
  EXPECT_EQ(dictionary.m_nXState, 0x2009u);
  // The engine may change its flags while it handles the key.
  dictionary.m_bCtrl = 1;
  dictionary.m_bAlt = 0;
  EXPECT_EQ(e.CtrlHeld(), 1);
  EXPECT_EQ(e.AltHeld(), 0);

  e.SetKeyWindow(0x1234);
  EXPECT_EQ(dictionary.m_hReSelWnd, 0x1234u);
  EXPECT_EQ(gwinFocus, 0x1234u);
}

TEST_F(EditorEngineBinding, StateTheViewReads) {
  IEditorEngine& e = EditorEngine();
  dictionary.m_strKeySeq = "zh";
  EXPECT_EQ(e.KeySeqEmpty(), 0);
  dictionary.m_strKeySeq.Empty();
  EXPECT_EQ(e.KeySeqEmpty(), 1);

  int box = 0;
  dictionary.m_bModalBox = 1;
  EXPECT_EQ(e.ModalBoxUp(), 0);  // both the flag and the object
  dictionary.m_pModalBox = &box;
  EXPECT_EQ(e.ModalBoxUp(), 1);

  strInputPane2 = "1.中";
  e.EmptyInputPane2();
  EXPECT_TRUE(strInputPane2.IsEmpty());

  const int fanTi = cfgInputManager.FanTi, forecast = cfgInputManager.useZiCiForecast;
  cfgInputManager.FanTi = 1;
  cfgInputManager.useZiCiForecast = 0;
  EXPECT_EQ(e.FanTi(), 1);
  EXPECT_EQ(e.UseZiCiForecast(), 0);
  cfgInputManager.FanTi = fanTi;
  cfgInputManager.useZiCiForecast = forecast;
}

TEST_F(EditorEngineBinding, ReSelectionStateAndCommitPosition) {
  IEditorEngine& e = EditorEngine();
  dictionary.m_hReSelWnd = 0x77;
  dictionary.m_nReSelState = -1;
  EXPECT_EQ(e.ReSelectionWindow(), 0u);  // no cycle open
  dictionary.m_nReSelState = 0;
  EXPECT_EQ(e.ReSelectionWindow(), 0x77u);
  dictionary.m_bKeepReSelection = 1;
  EXPECT_EQ(e.ReSelectionReplaying(), 1);
  dictionary.m_bKeepReSelection = 0;
  e.ResetReSelectionData();
  EXPECT_EQ(dictionary.m_nReSelState, -1);
  EXPECT_EQ(e.ReSelectionWindow(), 0u);

  e.SetLastCommitPos(CPoint(9, 3));
  EXPECT_EQ(dictionary.m_nEdtCommitCol, 9);
  EXPECT_EQ(dictionary.m_nEdtCommitRow, 3);
  EXPECT_EQ(e.LastCommitPos(), CPoint(9, 3));
}

}  // namespace
