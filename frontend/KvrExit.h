// KvrExit.h: kvr's X error handlers. X protocol errors are reported and
// the program goes on (a client window that vanished is normal); a lost
// display connection saves the settings, the lexicon and the learned order
// without touching the display, then ends the process.
#pragma once

void InstallKvrXErrorHandlers();
