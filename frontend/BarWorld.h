// BarWorld.h: what the main bar's commands, mouse handling and tool tips ask
// of the windows around them. In kvr the bar binds its own world
// (frontend/MainBar.cpp), which posts through the X server, pops up the
// menus, shows message boxes and maps windows; tests bind a recording fake,
// so the command table and the bar's state machines run without X.
//
// The world is borrowed: whoever binds it keeps it alive while it is bound.
#pragma once

#include <cstdint>

#include "base/Geometry.h"

class IBarWorld {
 public:
  virtual ~IBarWorld() = default;

  // ---- Commands and their effects.
  // Message 273 with id to the bar, through the X server: it runs after the
  // current message has been handled.
  virtual void PostCommand(uint32_t id) = 0;
  // Repaints every cell of the bar.
  virtual void RepaintBar() = 0;
  // Pops up submenu n (0 main, 1 preferences, 2 help) at the pointer; 0
  // when it does not exist.
  virtual int RaiseMenu(int n) = 0;
  // Shows the bar and raises it / hides it and the tool tip.
  virtual void MapBar(bool show) = 0;
  virtual bool IsBarShown() = 0;
  // An OK message box; the text is a key of [UI_STR] under a Chinese UI.
  // Returns the box's result.
  virtual int MessageBox(const char* text) = 0;
  // Opens a file of the program directory in a web browser.
  virtual void OpenGuide(const char* fileName) = 0;
  // The status window's message (frontend/MainBar.h ShowTipMsg).
  virtual void ShowTipMsg(const char* text) = 0;
  // Waits that many seconds.
  virtual void Sleep(int seconds) = 0;
  // ChangeMenuState: the menu's checks and enables, then the profile saved.
  virtual int ChangeMenuState() = 0;

  // ---- Dialogs and what their settings reach.
  // Runs the modal dialog with that template id (frontend/BarDialogs.h) over
  // its value fields: fields[0..count) in the dialog's own order, filled by
  // the caller before and read back after. Returns the dialog's result: 1 OK,
  // 2 Cancel, 0 Escape (the fields are then as the dialog left them; the
  // caller applies nothing).
  virtual int RunDialog(int id, int32_t* fields, int count) = 0;
  // SavePreferences: the profile written.
  virtual int SaveProfile() = 0;
  // The candidate panes re-placed for the settings (ShowNMoveInputPanes(0)).
  virtual void PlaceInputPanes() = 0;
  // The panes' colours for a candidate bar style (SetCandidateBarStyle),
  // repainted.
  virtual void SetPaneStyle(int style) = 0;

  // ---- The bar's mouse and tool tips (frontend/BarMouse.h).
  // Grabs the pointer for the bar / releases the grab.
  virtual void GrabPointer(bool grab) = 0;
  // Paints one cell of the bar, pressed or not.
  virtual void PaintCell(int cell, bool pressed) = 0;
  // The newest pointer motion already queued for the bar (bar
  // coordinates), taken from the queue; false when none waits.
  virtual bool TakeNewestMotion(CPoint* point) = 0;
  // Moves the bar's top-left corner to (x, y) on the screen and raises it;
  // the bar's place afterwards (a window manager or the screen may move it
  // elsewhere).
  virtual CPoint MoveBar(int x, int y) = 0;
  // The bar's top-left corner on the screen.
  virtual CPoint BarOrigin() = 0;
  // Message 1203 to the bar: the status window follows it.
  virtual void PostAfterMove() = 0;
  // Milliseconds, wrapping at 2^32.
  virtual uint32_t NowMs() = 0;
  // The tool-tip timer: (re)started with the interval, or released.
  virtual void StartTipTimer(int ms) = 0;
  virtual void StopTipTimer() = 0;
  // Shows the tool tip of the first cell bit of cells at the pointer
  // (screen coordinates) / hides it.
  virtual void ShowToolTip(int cells, CPoint pointer) = 0;
  virtual void HideToolTip() = 0;
};

// The bound world; null until one is bound.
IBarWorld* BarWorld();
// Binds world (borrowed; null unbinds).
void SetBarWorld(IBarWorld* world);
