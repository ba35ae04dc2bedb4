// EditorEngine.h: what the editor asks of the input engine. The engine
// stands above the editor (kvrsetup has none), so the editor reaches it only
// through this interface, which the program that has an engine installs at
// start-up (kvr's front end, frontend/EditorEngineBinding.h).
//
// Without one the editor behaves as in kvrsetup: keys go straight to the
// editor, resets do nothing, the Big5 flag reads 0 and no re-selection is
// ever running. The default still keeps the key record the view fills, so
// the Alt and Ctrl flags it reads back are those of the key being handled.
//
// Positions are the editor's: x a byte column, y a row of the view's rows.
// The installed object is borrowed: it must outlive every editor call.
#pragma once

#include <cstdint>

#include "base/Geometry.h"

// Bytes of the key record's text, its NUL included.
constexpr int kEdtKeyTextBytes = 256;

// The key record a view fills before it offers a key to the engine (plain
// record).
struct EdtKeyRecord {
  char text[kEdtKeyTextBytes] = {};  // the key's text, NUL-terminated
  int32_t alt = 0, ctrl = 0, shift = 0;
  uint32_t xState = 0;  // the key's whole X modifier state
};

class IEditorEngine {
 public:
  virtual ~IEditorEngine() = default;

  // ---- Keys
  // Fills the engine's key record (m_szKeyText, m_bAlt, m_bCtrl, m_bShift,
  // m_nXState).
  virtual void SetKeyRecord(const EdtKeyRecord& rec) { m_key = rec; }
  // The engine's Alt and Ctrl flags as they are now (the engine may change
  // them while it handles a key).
  virtual int AltHeld() { return m_key.alt; }
  virtual int CtrlHeld() { return m_key.ctrl; }
  // The edit control that is taking a key: the engine's m_hReSelWnd and the
  // front end's gwinFocus. Nothing without an engine.
  virtual void SetKeyWindow(unsigned long window) {}
  // The engine's key entry (CChnChars::ProcessKeyMsg): 1 or more when it
  // used the key.
  virtual int ProcessKeyMsg(int type, unsigned long key, unsigned long extra) { return 0; }
  // Whether the typed-key string m_strKeySeq is empty.
  virtual int KeySeqEmpty() { return 1; }
  // Whether the engine's modal-box flag and object are both set: its box
  // takes every key.
  virtual int ModalBoxUp() { return 0; }
  // 1 in a program with an engine: the view then has the delimiter chord.
  virtual int HasEngine() { return 0; }

  // ---- Panes
  // ShowNMoveInputPanes: re-places (hideAll 0) the input panes at the caret.
  virtual void ShowNMoveInputPanes(int hideAll) {}
  // Empties the single-line candidate pane's text (strInputPane2).
  virtual void EmptyInputPane2() {}

  // ---- Resets
  // Clears the engine's typed keys and empties its panes
  // (CChnChars::ResetChnInput); the view passes (0, 0, 1), and (1, 0, 1)
  // when it cuts.
  virtual void ResetChnInput(int resetReSel, int keepTip, int keepForecast) {}
  // The useZiCiForecast setting of cfgInputManager.
  virtual int UseZiCiForecast() { return 0; }
  // CChnChars::ZiCiForecastingReset; the view passes 0.
  virtual void ZiCiForecastingReset(int keep) {}
  // The FanTi setting of cfgInputManager: nonzero when the drawing's
  // double-byte tests use Big5.
  virtual int FanTi() { return 0; }

  // ---- Re-selection of the engine's last commit
  // The window whose re-selection cycle is open (m_hReSelWnd while
  // m_nReSelState >= 0); 0 when none is.
  virtual unsigned long ReSelectionWindow() { return 0; }
  // Ends the re-selection of the last commit (CChnChars::ResetReSelectionData).
  virtual void ResetReSelectionData() {}
  // Nonzero while the engine erases and re-commits its last commit
  // (m_bKeepReSelection): its own BackSpaces must not end the cycle.
  virtual int ReSelectionReplaying() { return 0; }
  // Where the engine's last commit into an edit control ends (the caret
  // after its text, which the control records); y below 0 when none.
  virtual CPoint LastCommitPos() { return CPoint(-1, -1); }
  virtual void SetLastCommitPos(CPoint pos) {}

 protected:
  EdtKeyRecord m_key;
};

// Installs the engine; null puts the do-nothing default back.
void SetEditorEngine(IEditorEngine* engine);
// The installed engine, or the default. Never null.
IEditorEngine& EditorEngine();
