#include "frontend/EditorEngineBinding.h"

#include <cstring>

#include "engine/CChnChars.h"
#include "engine/InputSettings.h"
#include "frontend/InputPanes.h"
#include "frontend/XimGlue.h"

static_assert(kEdtKeyTextBytes == kKeyTextBytes, "the editor fills the engine's key text whole");

void KvrEditorEngine::SetKeyRecord(const EdtKeyRecord& rec) {
  std::memcpy(dictionary.m_szKeyText, rec.text, kKeyTextBytes);
  dictionary.m_szKeyText[kKeyTextBytes - 1] = 0;
  dictionary.m_bAlt = rec.alt;
  dictionary.m_bCtrl = rec.ctrl;
  dictionary.m_bShift = rec.shift;
  dictionary.m_nXState = rec.xState;
}

int KvrEditorEngine::AltHeld() { return dictionary.m_bAlt; }
int KvrEditorEngine::CtrlHeld() { return dictionary.m_bCtrl; }

void KvrEditorEngine::SetKeyWindow(unsigned long window) {
  dictionary.m_hReSelWnd = window;
  gwinFocus = window;
}

int KvrEditorEngine::ProcessKeyMsg(int type, unsigned long key, unsigned long extra) {
  return dictionary.ProcessKeyMsg(type, key, extra);
}

int KvrEditorEngine::KeySeqEmpty() { return dictionary.m_strKeySeq.IsEmpty() ? 1 : 0; }

int KvrEditorEngine::ModalBoxUp() {
  return dictionary.m_bModalBox && dictionary.m_pModalBox ? 1 : 0;
}

void KvrEditorEngine::ShowNMoveInputPanes(int hideAll) { ::ShowNMoveInputPanes(hideAll); }

void KvrEditorEngine::EmptyInputPane2() { strInputPane2.Empty(); }

void KvrEditorEngine::ResetChnInput(int resetReSel, int keepTip, int keepForecast) {
  dictionary.ResetChnInput(resetReSel, keepTip, keepForecast);
}

int KvrEditorEngine::UseZiCiForecast() { return cfgInputManager.useZiCiForecast != 0; }

void KvrEditorEngine::ZiCiForecastingReset(int keep) { dictionary.ZiCiForecastingReset(keep); }

int KvrEditorEngine::FanTi() { return cfgInputManager.FanTi; }

unsigned long KvrEditorEngine::ReSelectionWindow() {
  return dictionary.m_nReSelState >= 0 ? dictionary.m_hReSelWnd : 0;
}

void KvrEditorEngine::ResetReSelectionData() { dictionary.ResetReSelectionData(); }

int KvrEditorEngine::ReSelectionReplaying() { return dictionary.m_bKeepReSelection; }

CPoint KvrEditorEngine::LastCommitPos() {
  return CPoint(dictionary.m_nEdtCommitCol, dictionary.m_nEdtCommitRow);
}

void KvrEditorEngine::SetLastCommitPos(CPoint pos) {
  dictionary.m_nEdtCommitCol = pos.x;
  dictionary.m_nEdtCommitRow = pos.y;
}

KvrEditorEngine& TheKvrEditorEngine() {
  static KvrEditorEngine engine;
  return engine;
}

void BindEditorEngine() { SetEditorEngine(&TheKvrEditorEngine()); }
