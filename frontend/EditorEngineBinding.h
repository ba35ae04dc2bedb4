// EditorEngineBinding.h: the editor's engine in kvr (editor/EditorEngine.h
// over the global `dictionary`, cfgInputManager and the input panes). kvr
// binds it at start-up with BindEditorEngine; kvrsetup keeps the editor's
// default.
#pragma once

#include "editor/EditorEngine.h"

class KvrEditorEngine final : public IEditorEngine {
 public:
  void SetKeyRecord(const EdtKeyRecord& rec) override;
  int AltHeld() override;
  int CtrlHeld() override;
  void SetKeyWindow(unsigned long window) override;
  int ProcessKeyMsg(int type, unsigned long key, unsigned long extra) override;
  int KeySeqEmpty() override;
  int ModalBoxUp() override;
  int HasEngine() override { return 1; }
  void ShowNMoveInputPanes(int hideAll) override;
  void EmptyInputPane2() override;
  void ResetChnInput(int resetReSel, int keepTip, int keepForecast) override;
  int UseZiCiForecast() override;
  void ZiCiForecastingReset(int keep) override;
  int FanTi() override;
  unsigned long ReSelectionWindow() override;
  void ResetReSelectionData() override;
  int ReSelectionReplaying() override;
  CPoint LastCommitPos() override;
  void SetLastCommitPos(CPoint pos) override;
};

// kvr's one editor engine (lives for the whole process).
KvrEditorEngine& TheKvrEditorEngine();
// Installs it as the editor's engine.
void BindEditorEngine();
