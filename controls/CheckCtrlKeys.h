// CheckCtrlKeys.h: the dialog keys that a check box (AChk) and a radio
// button (ARdo) handle alike. Their other keys are their own: space toggles
// a check box, the arrows move the check within a radio group.
#pragma once

class ACtrl;

// Escape does nothing on a check control; Return and keypad Enter run the
// dialog's default action (ADialog::ProcessReturn; nothing when the control
// has no dialog). True when key was one of these three: the control has
// used it and handles no more of it.
bool CheckCtrlDialogKey(ACtrl& ctrl, unsigned long key);
