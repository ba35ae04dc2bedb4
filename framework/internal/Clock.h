// Clock.h: the framework's millisecond clock and the seam through which tests
// replace it. The timer pump and the click counting read the time only
// through NowMs(), so a test can step time by hand instead of sleeping.
#pragma once

#include <cstdint>

namespace afc {

using ClockFn = uint32_t (*)();

// The time the framework acts on: GetMiliSecCount() unless a test installed
// its own clock. Wraps at 2^32; compare times by unsigned difference.
uint32_t NowMs();

// Installs fn as the clock (null restores the real one). Returns the test
// clock that was installed before, or null. Tests only.
ClockFn SetClockForTest(ClockFn fn);

}  // namespace afc
