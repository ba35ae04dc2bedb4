// The key prologue of the main bar: the X key event into the engine's key
// record.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstring>

#include "engine/CChnChars.h"
#include "framework/AfcKernel.h"
#include "framework/WinGeometry.h"
#include "framework/WinMsg.h"
#include "frontend/BarCommands.h"
#include "frontend/BarKeys.h"
#include "frontend/CMainFrame.h"
#include "frontend/MainBar.h"

int BarKeyMessage(XEvent* message) {
  XKeyEvent* key = reinterpret_cast<XKeyEvent*>(WinMsgLong(message, 0));
  if (!key) return 0;
  char* text = dictionary.m_szKeyText;
  std::memset(text, 0, kKeyTextBytes);
  bool pressed = true;
  uint32_t sym = 0;
  if (WinMsgId(message) == WM_KVR_TRIGGER) {
    text[0] = static_cast<char>(key->keycode & 0xFF);
    sym = key->keycode;
  } else {
    pressed = key->type == KeyPress;
    KeySym ks = 0;
    XLookupString(key, text, kKeyTextBytes - 1, &ks, nullptr);
    sym = static_cast<uint32_t>(ks);
  }
  BarKeyWorld world;
  world.barShown = ghMainePane && IsWinShown(ghMainePane);
  world.keymapShown =
      gpMainFrame && gpMainFrame->m_pKeymap && IsWinShown(gpMainFrame->m_pKeymap->m_hWnd);
  world.runCommand = RunCommandInOrder;
  return RouteBarKey(pressed, sym, key->state, world);
}
