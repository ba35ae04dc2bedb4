// DlgCtrls.h: fills the dialog builder's seam (internal/DlgCtrlSeam.h) with
// the controls this build has: the combo box (type 4), the edit control
// (type 6) and the list box (type 11), their text exchange, read-only test
// and tab leave/enter, and the combo arrow. Both programs
// construct their resource compiler (CRcCmplr) at start-up, before any
// dialog can be built, and its constructor makes this call; a static
// initializer in a static library might never be linked. Calling it again
// does no harm.
#pragma once

void InstallDlgCtrls();
