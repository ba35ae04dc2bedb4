// CMainFrame.h: the frame object of kvr's main bar. Start-up creates it,
// binds it to the bar's window (which stays registered to MainWndProc) and
// makes it the application's main window object, so message boxes have an
// owner. It holds what the bar's commands keep: the keymap window and the
// icon frame. The application object owns it.
#pragma once

#include "framework/AWnd.h"

class CMainFrame : public AWnd {
 public:
  CMainFrame() = default;
  // The keymap window while it exists (borrowed from the command that
  // opens it); null otherwise.
  AWnd* m_pKeymap = nullptr;
  int m_nIconFrame = 0;  // 0 to 4
};
