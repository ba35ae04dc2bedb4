// ModalHosts.h: what the framework's modal loops and AWnd's control stand-in
// need of a dialog and of a popup menu. The dialog and menu classes live in
// the controls subsystem above the framework; they implement these
// interfaces, and the framework reaches them only through them.
#pragma once

#include <cstdint>

class AWnd;

// Implemented by ADialog. DoDlgEventLoop reads the ended flag, the result and
// the capture window and finds the dialog's controls; AWnd::ReplaceDlgCtrl
// and RestoreDlgCtrl swap one control object for another.
class IDialogHost {
 public:
  // Nonzero once the dialog has ended; DoDlgEventLoop returns then.
  virtual int IsDlgEnded() = 0;
  // Ends the dialog without touching its result (Escape).
  virtual void SetDlgEnded() = 0;
  // The result that DoDlgEventLoop returns.
  virtual int GetDlgResult() = 0;
  // The window that takes pointer motion and button releases, or 0.
  virtual unsigned long GetCaptureWin() = 0;
  // The object of the dialog's control whose X window is window, or null.
  virtual AWnd* GetDlgCtr(unsigned long window) = 0;
  // The X window of the dialog's control with that id, or 0.
  virtual unsigned long GetCtrlWin(int id) = 0;
  // Puts to in the place of from: the first match in the list of control
  // objects, and the entry for id in the map from control id to object.
  virtual void SwapCtrlObject(int id, AWnd* from, AWnd* to) = 0;

 protected:
  ~IDialogHost() = default;
};

// Implemented by AMenu. A menu ends with one result byte: 0 while it runs,
// 1 cancelled, 2 chosen. DoMenuEventLoop turns until the byte is nonzero
// and returns it.
class IMenuHost {
 public:
  virtual uint8_t GetMenuResult() = 0;

 protected:
  ~IMenuHost() = default;
};
