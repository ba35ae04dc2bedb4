// KeyMessageSteps.h: what the handlers of the key messages share
// (KeyMessages.cpp, KeyMessageHotKeys.cpp, EnglishLetters.cpp).
#pragma once

#include "engine/CChnChars.h"

namespace keymsg {

bool ChnMode();
// The forecast pane shows forecasts.
bool ForecastAvailable(const CChnChars& e);
// m_strTip = tip, shown on the status window.
void ShowTip(CChnChars& e, const char* tip);
// Handles key as a type-3 message with the panes left where they are; 1.
int ReplayKey(CChnChars& e, unsigned long key, unsigned long flags);
// Type 2: a key pressed with Alt held.
int KeyWithAlt(CChnChars& e, unsigned long key, unsigned long flags, unsigned long focus);

}  // namespace keymsg
