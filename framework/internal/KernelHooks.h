// KernelHooks.h: the parts of start-up and of the event loops that belong to
// the framework's drawing and clipboard code. The loops answer CLIPBOARD
// requests and forget the program's clipboard text when another client takes
// the selection; start-up reads the colour database. That code installs
// these hooks (before main runs), so that the kernel does not depend on it.
// Without hooks the program offers no clipboard text, the loops leave
// selection events alone, and no colour database is read.
#pragma once

#include "framework/XTypes.h"

namespace afc {

struct KernelHooks {
  // Called by main after AfcKnrlInit (reads the colour database).
  int (*colourInit)() = nullptr;
  // Called once by AfcKnrlInit after the display is open (interns atoms).
  void (*init)() = nullptr;
  // Nonzero while the program holds clipboard text to offer.
  int (*hasText)() = nullptr;
  // Answers a SelectionRequest for CLIPBOARD (the loops call it only while
  // the main window owns CLIPBOARD and hasText() is nonzero).
  int (*serveRequest)(XEvent* request) = nullptr;
  // Forgets the program's clipboard text (SelectionClear for CLIPBOARD).
  int (*clear)() = nullptr;
};

void SetKernelHooks(const KernelHooks& hooks);
const KernelHooks& GetKernelHooks();

}  // namespace afc
