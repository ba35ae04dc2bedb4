// Services of other parts of the engine that the key handler and the commit
// path call, in an interim form until their own parts land: forecasting,
// the Big5 table and the full-width and punctuation maps, the number mode,
// phrase building's key moves and the re-choice of the last commit. Each
// part that owns one of them removes it from this file when it defines it.
//
// Where an operation needs no data of its own (the number-mode switch, the
// full-width test) the interim form does what its owner specifies; the
// others act as their owners do when their data is missing: no forecast, no
// Big5 form (0xA1BC), no mapping, nothing to move or re-choose.
#include "engine/CChnChars.h"



int CChnChars::SetChnNumMode() {
  if (cfgInputManager.InputMode != kChineseInput) return 1;
  m_bChnNum = !m_bChnNum;
  if (m_bChnNum) {
    m_bChnNumFanTi = 0;
    ResetChnInput(1, 1, 1);
    ForgetLastCommit();
  }
  return 1;
}


int CChnChars::RemvKeyInZuCiMode() { return 0; }
int CChnChars::AdjustZuCiState(unsigned long) { return 0; }
int CChnChars::RemvZiInZuCiMode() { return 0; }
int CChnChars::GetNextChoice(CString& text) {
  text.Empty();
  return 0;
}
