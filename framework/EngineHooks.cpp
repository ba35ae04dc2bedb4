#include "framework/EngineHooks.h"

namespace {
EngineHooks g_hooks;
constexpr unsigned short kNoBig5 = 0xA1BC;
}  // namespace

void SetEngineHooks(const EngineHooks& hooks) { g_hooks = hooks; }

int EngineInputMethod() { return g_hooks.inputMethod ? g_hooks.inputMethod() : 0; }

unsigned short EngineGbk2Big5(unsigned short gbk) {
  return g_hooks.gbk2Big5 ? g_hooks.gbk2Big5(gbk) : kNoBig5;
}
