#include "controls/internal/DlgCtrlSeam.h"

namespace {
DlgCtrlSeam g_seam;  // written at start-up by the edit/combo/list file, read by dialogs
}

void SetDlgCtrlSeam(const DlgCtrlSeam& seam) { g_seam = seam; }
const DlgCtrlSeam& GetDlgCtrlSeam() { return g_seam; }
