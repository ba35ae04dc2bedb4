#include "installer/x11/InstallerX.h"

#include <X11/Xlib.h>

#include "framework/AfcKernel.h"
#include "framework/x11/XErrHandler.h"

namespace installer {

void InstallXErrorHandler() { SetXErrHandler(KVRXErrHandler); }

void FlushDisplay() {
  if (dsply) XFlush(dsply);
}

}  // namespace installer
