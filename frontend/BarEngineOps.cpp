// The engine's key operations as the bar calls them: thin forwards to the
// global engine object, so the bar's routing can be tested with a table of
// its own (SetBarEngineOps) and kvr runs with the real engine.
#include "frontend/BarKeys.h"

#include "engine/CChnChars.h"

namespace {

int ProcessKeyMsgOp(int type, unsigned long key, unsigned long flags) {
  return dictionary.ProcessKeyMsg(type, key, flags);
}
void ResetChnInputOp(int resetReSel, int keepTip, int keepForecast) {
  dictionary.ResetChnInput(resetReSel, keepTip, keepForecast);
}
int TranslateChnKeyOp(unsigned long key, unsigned long window, int flags) {
  return dictionary.TranslateChnKey(key, window, static_cast<unsigned long>(flags));
}
void RepeatLastChnCharOp(unsigned long window) { dictionary.Repeatlastchnchar(window); }
// The shape-code pinyin box is a dialog of the front end that the engine's
// own call leaves alone; the bar's call does the same.
int JuxXingMaInputPYDlgOp(unsigned long window, CPoint*) {
  return dictionary.JUXXingMaInputPYDlg(window, 0);
}
void DoEnglishKeyDownOp(unsigned long key) { dictionary.DoEnglishKeyDown(key); }
void DoThingsAtLoseActiveOp() { dictionary.DoThingsAtLoseActive(); }

}  // namespace

const BarEngineOps& EngineBarOps() {
  static const BarEngineOps ops = {ProcessKeyMsgOp,       ResetChnInputOp,       TranslateChnKeyOp,
                                   RepeatLastChnCharOp,   JuxXingMaInputPYDlgOp, DoEnglishKeyDownOp,
                                   DoThingsAtLoseActiveOp};
  return ops;
}
