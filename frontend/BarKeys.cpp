#include "frontend/BarKeys.h"

#include "engine/CChnChars.h"
#include "engine/InputSettings.h"
#include "framework/KeySyms.h"
#include "framework/UIStrings.h"
#include "frontend/XimGlue.h"

namespace {

BarEngineOps g_ops = EngineBarOps();

bool IsAltKey(uint32_t key) { return key == keysym::kAltL || key == keysym::kAltR; }

// Step 5: the keys that keep the English-letter record are the engine's,
// and the Alt keys (the right Alt's click converts the record). Letters keep
// it as well: the engine appends each one, and the right-Alt conversion
// needs the whole word, not only its last letter.
bool KeepsEnglishRecord(uint32_t key) {
  return IsAltKey(key) || (key >= 'A' && key <= 'Z') || dictionary.KeepsEnglishLetters(key);
}

bool EngineHoldsKeyboard() {
  return (dictionary.m_bModalBox && dictionary.m_pModalBox) || dictionary.m_pBusyMarker;
}

// The Alt hot keys; true when the key was one of them.
bool AltHotKey(uint32_t key, const BarKeyWorld& world) {
  const BarEngineOps& ops = GetBarEngineOps();
  const bool xingMa = cfgInputManager.IsXingMaMethod();
  switch (key) {
    case ',': world.runCommand(kCmdChnPunct); return true;
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
    case ';':
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
  } else if (!pressed && key == keysym::kAltR) {
    d.m_bAlt = 0;
  }
  if (pressed && !KeepsEnglishRecord(key)) d.ForgetEnglishLetters();
  if (pressed && key == keysym::kEscape && world.keymapShown) {
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
      ops.processKeyMsg(kAltReleasedAlone, key, 0);
      return 1;
    }
    return ops.processKeyMsg(kKeyReleaseNoAlt, key, 0);
  }
  if (!d.m_bAlt && !IsAltKey(key)) {
    if (key == keysym::kF12 && cfgInputManager.ChnEnglshSwitchKey == 0) {
      world.runCommand(kCmdToggleInputMode);
      return 1;
    }
    if (key == keysym::kSpace && d.m_bCtrl) {
      world.runCommand(world.barShown ? kCmdHideBar : kCmdShowBar);
      return 1;
    }
    if (key == 'J' && d.m_bCtrl) {
      world.runCommand(kCmdFanTi);
      return 1;
    }
    return ops.processKeyMsg(kKeyPressNoAlt, key, 0);
  }
  if (!d.m_bLeftAlt && AltHotKey(key, world)) return 1;
  return ops.processKeyMsg(kKeyWithAlt, key, 0);
}

void OnEnglishKey(uint32_t keysym) {
  CChnChars& d = dictionary;
  if ((keysym >= 'A' && keysym <= 'Z') || (keysym >= 'a' && keysym <= 'z')) {
    GetBarEngineOps().doEnglishKeyDown(keysym);
  } else {
    const int switchKey = cfgInputManager.ChnEnglshSwitchKey;
    const bool keep =
        (keysym == keysym::kF12 && switchKey == 0) ||
        ((keysym == keysym::kControlL || keysym == keysym::kControlR) && switchKey == 1) ||
        (keysym == keysym::kEscape && d.m_bIMode);
    if (!keep) d.ForgetEnglishLetters();
  }
  d.m_bEngTipShown = 0;
}
