#include "framework/internal/Clock.h"

#include "framework/SysUtil.h"

namespace afc {
namespace {
ClockFn g_clock = nullptr;
}

uint32_t NowMs() { return g_clock ? g_clock() : GetMiliSecCount(); }

ClockFn SetClockForTest(ClockFn fn) {
  ClockFn old = g_clock;
  g_clock = fn;
  return old;
}

}  // namespace afc
