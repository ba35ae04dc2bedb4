#include "frontend/BarKeys.h"

#include <X11/keysym.h>

#include "engine/CChnChars.h"
#include "engine/InputSettings.h"
#include "framework/UIStrings.h"
#include "frontend/XimGlue.h"

namespace {

BarEngineOps g_ops = EngineBarOps();

bool IsAltKey(uint32_t key) { return key == XK_Alt_L || key == XK_Alt_R; }

// Step 5: the keys that keep the English-letter record. Letters keep it as
// well: the engine appends each one, and the right-Alt conversion needs the
// whole word, not only its last letter.
bool KeepsEnglishRecord(uint32_t key) {
  const CChnChars& d = dictionary;
  if (key == XK_Control_L || key == XK_Control_R || IsAltKey(key)) return true;
  if (key == XK_space && d.m_bCtrl) return true;
  if (key == XK_F12 && cfgInputManager.ChnEnglshSwitchKey == 0) return true;
  if (key == XK_Escape && d.m_bIMode) return true;
  if (key == XK_equal && d.m_bAlt) return true;
  return key >= 'A' && key <= 'Z';
}

void ClearEnglishRecord() {
  dictionary.m_strEngKeys.Empty();
  dictionary.m_tmEngKey = 0;
  dictionary.m_bEngTipShown = 0;
}

bool EngineHoldsKeyboard() {
  return (dictionary.m_bModalBox && dictionary.m_pModalBox) || dictionary.m_pBusyMarker;
}

// The Alt hot keys; true when the key was one of them.
bool AltHotKey(uint32_t key, const BarKeyWorld& world) {
  const BarEngineOps& ops = GetBarEngineOps();
  const bool xingMa = cfgInputManager.InputMthd == kXingMa;
  switch (key) {
    case XK_comma: world.runCommand(kCmdChnPunct); return true;
    case 'C': world.runCommand(kCmdPhraseBuilding); return true;
    case 'V': world.runCommand(kCmdAltV); return true;
    case 'A': world.runCommand(kCmdAltA); return true;
    case 'F':
      ops.resetChnInput(1, 0, 1);
      if (!xingMa) {
        ops.translateChnKey('V', 0, 0);
      } else if (!dictionary.m_bModalBox && !dictionary.m_pBusyMarker) {
        dictionary.m_bPyLookup = 1;
        ops.juxXingMaInputPYDlg(0, &gptCaretPos);
      }
      return true;
    case 'B': world.runCommand(kCmdFullWidth); return true;
    case 'Q':
      if (!xingMa || dictionary.m_bModalBox || dictionary.m_pBusyMarker) return false;
      ops.juxXingMaInputPYDlg(0, &gptCaretPos);
      return true;
    case 'K':
    case 'J': world.runCommand(kCmdKeymap); return true;
    case 'S': world.runCommand(kCmdFindSaying); return true;
    case XK_semicolon:
    case 'R': ops.repeatLastChnChar(0); return true;
    case '0': world.runCommand(kCmdChnNumber); return true;
    case '9': world.runCommand(kCmdChnNumberFanTi); return true;
    default: return false;
  }
}

}  // namespace

const BarEngineOps& GetBarEngineOps() { return g_ops; }
void SetBarEngineOps(const BarEngineOps& ops) { g_ops = ops; }

int RouteBarKey(bool pressed, uint32_t key, uint32_t state, const BarKeyWorld& world) {
  CChnChars& d = dictionary;
  const BarEngineOps& ops = GetBarEngineOps();
  d.m_bAlt = (state & 0x8) ? 1 : 0;
  d.m_bCtrl = (state & 0x4) ? 1 : 0;
  d.m_bShift = (state & 0x1) ? 1 : 0;
  d.m_nXState = state;
  if (key >= 'a' && key <= 'z') {
    key -= 'a' - 'A';
  } else if (!pressed && key == XK_Alt_R) {
    d.m_bAlt = 0;
  }
  if (pressed && !KeepsEnglishRecord(key)) ClearEnglishRecord();
  if (pressed && key == XK_Escape && world.keymapShown) {
    world.runCommand(kCmdKeymap);
    return 1;
  }
  if (EngineHoldsKeyboard()) return 1;

  // The engine's key messages carry no flags from the bar (0): the second
  // word of 9102 is a handle, not key flags.
  if (!pressed) {
    if (IsNavigationKey(key) && d.m_strKeySeq.IsEmpty()) return 1;
    if (d.m_bAlt) return 1;
    if (IsAltKey(key)) {
      ops.processKeyMsg(1, key, 0);
      return 1;
    }
    return ops.processKeyMsg(4, key, 0);
  }
  if (!d.m_bAlt && !IsAltKey(key)) {
    if (key == XK_F12 && cfgInputManager.ChnEnglshSwitchKey == 0) {
      world.runCommand(kCmdToggleInputMode);
      return 1;
    }
    if (key == XK_space && d.m_bCtrl) {
      world.runCommand(world.barShown ? kCmdHideBar : kCmdShowBar);
      return 1;
    }
    if (key == 'J' && d.m_bCtrl) {
      world.runCommand(kCmdFanTi);
      return 1;
    }
    return ops.processKeyMsg(3, key, 0);
  }
  if (!d.m_bLeftAlt && AltHotKey(key, world)) return 1;
  return ops.processKeyMsg(2, key, 0);
}

void OnEnglishKey(uint32_t keysym) {
  CChnChars& d = dictionary;
  if ((keysym >= 'A' && keysym <= 'Z') || (keysym >= 'a' && keysym <= 'z')) {
    GetBarEngineOps().doEnglishKeyDown(keysym);
  } else {
    const int switchKey = cfgInputManager.ChnEnglshSwitchKey;
    const bool keep = (keysym == XK_F12 && switchKey == 0) ||
                      ((keysym == XK_Control_L || keysym == XK_Control_R) && switchKey == 1) ||
                      (keysym == XK_Escape && d.m_bIMode);
    if (!keep) {
      d.m_strEngKeys.Empty();
      d.m_tmEngKey = 0;
    }
  }
  d.m_bEngTipShown = 0;
}
