// XTypes.h: the Xlib types that framework headers name, declared without
// Xlib itself, so that code above the platform layer can use window objects
// and event pointers without pulling in Xlib's macros (None, Bool, Status).
// The declarations match Xlib's own, so a file may include both.
#pragma once

#include <cstddef>

struct _XDisplay;
typedef struct _XDisplay Display;
union _XEvent;
typedef union _XEvent XEvent;
struct _XGC;
typedef struct _XGC* GC;

namespace afc {
// Size of an XEvent (24 longs); the x11 layer checks it against Xlib's.
constexpr std::size_t kXEventBytes = 24 * sizeof(long);
}  // namespace afc
