// InstallerX.h: the few X calls the installer makes outside the controls:
// its X error handler, and a flush while the installation holds the event
// loop (the progress bar is drawn without events being served).
#pragma once

namespace installer {

// Reports X protocol errors on stderr and lets kvrsetup go on.
void InstallXErrorHandler();
// Sends what was drawn to the server now.
void FlushDisplay();

}  // namespace installer
