#include "frontend/KvrExit.h"

#include <X11/Xlib.h>
#include <unistd.h>

#include <cstdio>

#include "framework/x11/XErrHandler.h"
#include "frontend/CMdiApp.h"

namespace {

int KvrIOErrorHandler(Display*) {
  std::fprintf(stderr, "kvr: the X connection is lost; saving and ending\n");
  SaveAtSessionEnd(false);
  _exit(1);
}

}  // namespace

void InstallKvrXErrorHandlers() {
  SetXErrHandler(KVRXErrHandler);
  XSetIOErrorHandler(KvrIOErrorHandler);
}
