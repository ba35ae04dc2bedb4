// BarCommands.h: the command half of the main bar's window procedure. A
// command (window message 273, the id in data word 0) comes from the popup
// menu, a click on a bar cell or a hot key; OnBarCommand looks the id up in
// the command table and runs its handler. A command marked Chinese-only
// does nothing in English input; one marked for the menu then updates the
// menu's checks and enables and saves the profile (ChangeMenuState); one
// marked for a repaint then repaints the bar. Ids without an entry do
// nothing.
//
// The handlers change cfgInputManager and the engine, and reach the windows
// through the bound IBarWorld (frontend/BarWorld.h) and the engine through
// CommandEngineOps, so the whole table runs in tests without X or
// dictionaries.
//
// The options, bar-style, about and tips dialogs run through
// IBarWorld::RunDialog (frontend/BarDialogs.h); the opener fills their
// fields and, on OK, applies them. The keymap window is made once through
// the world and then shown and hidden. Dialogs that kvr does not have yet
// (word search) are answered with a message box that says so.
#pragma once

#include <cstdint>

// The engine's operations the commands call.
struct CommandEngineOps {
  // After a change of input mode (onlyMode 1) or of the method: resets the
  // input, files queued phrases, saves the lexicon, reloads what the mode
  // needs and sets the page size.
  void (*onInputMDChange)(int onlyMode);
  int (*makeCapHitEven)(int english, int, int);
  // The Chinese-number mode on or off (Chinese input only).
  int (*setChnNumMode)();
  // Files the queued new phrases into the lexicon and saves it; true when
  // nothing learned is left unsaved afterwards.
  bool (*fileLexicon)();
  // The options' effects, in the order the options dialog applies them.
  void (*initBiHuaKeys)();         // the stroke keys for the method and scheme
  void (*savePyDic)();             // the self-ordering pinyin list, when changed
  void (*initKey2ChsDicPY)();      // the pinyin characters for order and fuzziness
  void (*forecastDBLoadUnload)();  // the forecast database to match the setting
  void (*ziCiForecastingReset)(int keep);
  // The engine's page size, at once.
  void (*setPageSize)(int size);
};
const CommandEngineOps& GetCommandEngineOps();
void SetCommandEngineOps(const CommandEngineOps& ops);
// The engine's own table.
const CommandEngineOps& EngineCommandOps();

// Runs command id. Returns 1 (the bar's result for message 273).
int OnBarCommand(uint32_t id);

// A command of a hot key or of the engine's key handling: it runs at once,
// so it takes effect before the next key is routed (a switched mode applies
// to the keys typed after it, even when they are already queued). A command
// that opens a message box or a menu is posted instead, so its modal loop
// does not run inside the key filter; so is an id without an entry.
// Returns 1.
int RunCommandInOrder(uint32_t id);

// Shows the bar and, in English input, switches to Chinese input;
// nothing when the bar is shown. Returns 1.
int ActivatePlatform();
// Clears the input, in Chinese input switches to English input,
// hides the bar and the tool tip; nothing when the bar is hidden. Returns 1.
int MakeSleepPlatform();
// The bar-style dialog (id 114); other ids only mark a dialog up and down.
// Returns 1.
int RaiseDialog(int id);

// The texts of the command message boxes.
extern const char kMsgNewWordsHelp[];
extern const char kMsgTypeVOrAltF[];
extern const char kMsgTypeAltF[];
extern const char kMsgLexiconUnsaved[];
// The status message while the keymap window is shown.
extern const char kMsgKeymapStatus[];
