#include "frontend/MenuStates.h"

namespace {

MenuItemState Check(bool on) {
  MenuItemState s;
  s.setsCheck = true;
  s.check = on;
  return s;
}

MenuItemState Enable(bool on) {
  MenuItemState s;
  s.setsEnable = true;
  s.enable = on;
  return s;
}

MenuItemState Both(bool check, bool enable) {
  MenuItemState s = Check(check);
  s.setsEnable = true;
  s.enable = enable;
  return s;
}

}  // namespace

MenuItemState MenuItemStateFor(int id, const MenuStateInputs& in) {
  switch (id) {
    case kCmdBmpFont: return Both(in.useBmpFont != 0, in.chnUI == 1);
    case kCmdKeymap: return Check(in.keymapShown);
    case kCmdRepeatLast:
    case kCmdClearInput:
    case kCmdReSelect: return Enable(in.chinese);
    case kCmdChnNumber: return Both(in.chnNum, in.chinese);
    case kCmdChnNumberFanTi: return Both(in.chnNumFanTi, in.chinese);
    case kCmdChnPunct: return Both(in.useChnPunctMark != 0, in.chinese);
    case kCmdUiEnglish: return Check(in.chnUI == 0);
    case kCmdToggleInputMethod: return Enable(in.chinese && in.bothInstalled);
    case kCmdFullWidth: return Both(in.fullSize != 0, in.chinese);
    case kCmdAddSpace: return Check(in.addSpace != 0);
    case kCmdUiSimplified: return Check(in.chnUI == 1);
    case kCmdUiTraditional: return Check(in.chnUI == 2);
    default: return MenuItemState{};
  }
}
