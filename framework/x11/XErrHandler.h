// XErrHandler.h: the programs' X error handler. It reports each protocol
// error on stderr and lets the program go on (a window that vanished under
// a client is an everyday event for an input method).
#pragma once

#include <X11/Xlib.h>

// Prints "kvr: <error text>" to stderr; returns 0.
int KVRXErrHandler(Display* display, XErrorEvent* event);

// Installs handler with XSetErrorHandler; the handler it replaces is kept
// and never called.
void SetXErrHandler(int (*handler)(Display*, XErrorEvent*));
