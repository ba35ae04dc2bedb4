#include "framework/x11/XErrHandler.h"

#include <cstdio>

namespace {
int (*g_previousHandler)(Display*, XErrorEvent*) = nullptr;
}

int KVRXErrHandler(Display* display, XErrorEvent* event) {
  char text[1024] = "";
  XGetErrorText(display, event->error_code, text, sizeof text);
  std::fprintf(stderr, "kvr: %s\n", text);
  return 0;
}

void SetXErrHandler(int (*handler)(Display*, XErrorEvent*)) {
  g_previousHandler = XSetErrorHandler(handler);
}
