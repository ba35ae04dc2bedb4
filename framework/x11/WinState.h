// WinState.h: what the framework knows of windows without asking the X
// server: position and size in the parent, the parent and the root, and
// whether the window itself is mapped. Drawing a pane, placing it at the
// caret and routing a key ask these many times a key, of the framework's
// own windows and of the client's focus window; a round trip each made up
// most of a commit's time.
//
// A window's state is taken from the server once (or set when the window
// is created), then follows the structure events (ConfigureNotify,
// MapNotify, UnmapNotify, ReparentNotify, DestroyNotify) as Xlib reads
// them, whoever reads them next. An event older than the state it would
// change (its serial below the request that set that state) is ignored.
// The server delivers events in order, so by the time a client's key is
// read, every change to its windows made before it sent the key has been
// read too: the kept state is never older than the key being handled.
//  - The framework's own windows (those with a window object) also follow
//    its own requests as they are made: all of them are override-redirect,
//    so the server applies them as asked.
//  - Any other window is kept once something asks about it: the framework
//    adds StructureNotifyMask to what it selects on that window (so code
//    that selects input on another client's window must keep that bit), and
//    a request of the framework that would change it forgets it instead, as
//    a window manager may redirect such a request. At most kMaxOtherWindows
//    are kept; past that they are all forgotten and asked again.
// Not for use outside the framework.
#pragma once

namespace afc {

struct WinState {
  int x = 0, y = 0;           // in the parent, border not counted
  int width = 0, height = 0;  // inside the border
  unsigned long parent = 0;
  unsigned long root = 0;
  bool mapped = false;  // the window's own map request, not its ancestors'
};

constexpr int kMaxOtherWindows = 64;

// The state of window: from the cache, or asked of the server and kept.
// False for 0, without a display, or when the server cannot tell (the
// window is gone).
bool KnownWinState(unsigned long window, WinState* state);

// The framework's own requests, called right before each is sent: the
// state of a kept own window changes as the request says; another kept
// window is forgotten.
void WinCreated(unsigned long window, const WinState& state);
void WinMoved(unsigned long window, int x, int y);
void WinResized(unsigned long window, int width, int height);
void WinMapped(unsigned long window, bool mapped);
void WinDestroyed(unsigned long window);

}  // namespace afc
