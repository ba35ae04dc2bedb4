// BarKeys.h: the main bar's key path. Every key that reaches kvr (forwarded
// by an XIM client, a trigger letter, a key the engine grabbed) arrives at
// the bar as window message 9102 or 9103; the bar fills the engine's key
// record, handles its own hot keys (running their commands before the next key) and hands
// every other key to the engine's ProcessKeyMsg. The result says whether the
// key was used (nonzero) or must go back to its client (0).
//
// The engine's key operations are reached through BarEngineOps, so the
// routing can be tested with a recording table; kvr installs the engine's
// own operations (frontend/BarEngineOps.cpp).
#pragma once

#include <cstdint>

#include "base/Geometry.h"
#include "frontend/CommandIds.h"

// Window messages of the front end.
enum : int {
  WM_KVR_PLACEPANES = 9100,  // posted: re-place the panes at the caret
  WM_KVR_ENGLISHKEY = 9101,  // l[0] a keysym typed in English input
  WM_KVR_KEY = 9102,         // sent: l[0] XKeyEvent*, l[1] the XIMS handle
  WM_KVR_TRIGGER = 9103,     // sent: l[0] a KeyPress whose keycode is the letter's keysym
};

// The engine's key operations the bar calls.
struct BarEngineOps {
  int (*processKeyMsg)(int type, unsigned long key, unsigned long extra);
  void (*resetChnInput)(int resetReSel, int keepTip, int keepForecast);
  int (*translateChnKey)(unsigned long key, unsigned long window, int flags);
  void (*repeatLastChnChar)(unsigned long window);
  int (*juxXingMaInputPYDlg)(unsigned long window, CPoint* at);
  void (*doEnglishKeyDown)(unsigned long key);
  // The engine's reset at a focus change (XIM focus-in).
  void (*doThingsAtLoseActive)();
};
// The table in use (kvr's engine table until SetBarEngineOps replaces it).
const BarEngineOps& GetBarEngineOps();
void SetBarEngineOps(const BarEngineOps& ops);
// The engine's own table.
const BarEngineOps& EngineBarOps();

// What the routing needs of the windows around it.
struct BarKeyWorld {
  bool barShown;     // the main bar is mapped
  bool keymapShown;  // the frame's keymap window exists and is shown
  // A hot key's command, run before the next key is routed (kvr's is
  // RunCommandInOrder).
  int (*runCommand)(uint32_t id);
};

// The key path after the key text is in dictionary.m_szKeyText: pressed,
// the keysym and the X modifier state. Fills the rest of the key record.
int RouteBarKey(bool pressed, uint32_t key, uint32_t state, const BarKeyWorld& world);

// Message 9101: a key typed in English input.
void OnEnglishKey(uint32_t keysym);
