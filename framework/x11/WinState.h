// WinState.h: what the framework knows of its own windows (those with a
// window object) without asking the X server: position and size in the
// parent, the parent and the root, and whether the window itself is mapped.
// Drawing a pane, placing it at the caret and routing a key ask these many
// times a key; a round trip each made up most of a commit's time.
//
// A window's state is taken from the server once (or set when the window
// is created), then follows the framework's own requests as they are made
// (all its windows are override-redirect, so the server applies them as
// asked) and the ConfigureNotify, MapNotify, UnmapNotify, ReparentNotify
// and DestroyNotify events as Xlib reads them, whoever reads them next.
// An event older than the state it would change (its serial below the
// request that set that state) is ignored. Other windows are never kept.
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

// The state of window when it is one of the framework's windows: from the
// cache, or asked of the server and kept. False for any other window, or
// when the server cannot tell (the window is gone).
bool OwnWinState(unsigned long window, WinState* state);

// The framework's own requests, called right before each is sent: the
// state changes as the request says (only for windows already kept).
void WinCreated(unsigned long window, const WinState& state);
void WinMoved(unsigned long window, int x, int y);
void WinResized(unsigned long window, int width, int height);
void WinMapped(unsigned long window, bool mapped);
void WinDestroyed(unsigned long window);

}  // namespace afc
