// EditorEngine.h: what the editor asks of the input engine. The engine
// stands above the editor (kvrsetup has none), so the editor reaches it only
// through this interface, which the program that has an engine installs at
// start-up. Without one the editor behaves as in kvrsetup: resets do
// nothing and the Big5 flag of typing and pixel mapping reads 0.
//
// The installed object is borrowed: it must outlive every editor call.
#pragma once

class IEditorEngine {
 public:
  virtual ~IEditorEngine() = default;
  // Clears the engine's typed keys and empties its panes
  // (CChnChars::ResetChnInput); the editor passes (0, 0, 1) after multiple
  // clicks, so the keys typed before them do not land in the new selection.
  virtual void ResetChnInput(int reSelection, int forecast, int tip) {}
  // The FanTi setting of cfgInputManager: nonzero when the editor's
  // double-byte tests of typing, pixel mapping and word moves use Big5.
  virtual int FanTi() { return 0; }
  // The useZiCiForecast setting: nonzero when deleting a selection or
  // pasting resets the phrase forecast.
  virtual int UseZiCiForecast() { return 0; }
  // CChnChars::ZiCiForecastingReset: forgets the phrase forecast built on
  // the text before the caret.
  virtual void ZiCiForecastingReset(int keep) {}
  // Re-places the input panes at the caret (hideAll 0) when a view takes
  // the focus.
  virtual void ShowNMoveInputPanes(int hideAll) {}
};

// Installs the engine; null puts the do-nothing default back.
void SetEditorEngine(IEditorEngine* engine);
// The installed engine, or the default. Never null.
IEditorEngine& EditorEngine();
