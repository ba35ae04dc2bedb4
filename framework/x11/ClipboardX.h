// ClipboardX.h: the serving side of the clipboard, called by the event
// loops (through the kernel's hooks) with Xlib's request record.
#pragma once

#include <X11/Xlib.h>

// Answers a request for the program's text: UTF8_STRING (converted) and
// STRING (the GBK bytes) are stored in the requested property of the
// requestor's window; any other target is answered with property None.
// 1 when text was delivered.
int ProcessSelectionRequest(XSelectionRequestEvent* request);
