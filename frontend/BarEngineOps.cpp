// The engine's key operations as the bar calls them.
//
// The engine's key entry (ProcessKeyMsg and the operations of its state
// machine) is joining the engine; until it is there these forward nothing
// and report every key as unused, so each key goes back to its client, as
// it does in English input.
#include "frontend/BarKeys.h"

namespace {

int ProcessKeyMsgPending(int, unsigned long, unsigned long) { return 0; }
void ResetChnInputPending(int, int, int) {}
int TranslateChnKeyPending(unsigned long, unsigned long, int) { return 0; }
void RepeatLastChnCharPending(unsigned long) {}
int JuxXingMaInputPYDlg(unsigned long, CPoint*) { return 1; }
void DoEnglishKeyDownPending(unsigned long) {}
void DoThingsAtLoseActivePending() {}

}  // namespace

const BarEngineOps& EngineBarOps() {
  static const BarEngineOps ops = {ProcessKeyMsgPending,     ResetChnInputPending,
                                   TranslateChnKeyPending,   RepeatLastChnCharPending,
                                   JuxXingMaInputPYDlg,      DoEnglishKeyDownPending,
                                   DoThingsAtLoseActivePending};
  return ops;
}
