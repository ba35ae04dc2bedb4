// WindowMap.h: the kernel's map from X window ids to window objects, and the
// bare objects the kernel owns for windows that have only a window
// procedure. An object is registered from CreateWin until a DestroyWin that
// it accepts. Bare objects are deleted at the next turn of a loop, never
// while their own procedure may still be running.
#pragma once

#include <memory>

class AWnd;

namespace afc {

class WindowMap {
 public:
  // The object for window, or null.
  static AWnd* Find(unsigned long window);
  // Enters window -> wnd (replacing any entry).
  static void Register(unsigned long window, AWnd* wnd);
  // Removes the entry; a bare object owned by the kernel is handed to the
  // graveyard. Returns whether there was an entry.
  static bool Unregister(unsigned long window);
  // Removes the entry only when it names wnd (a window object going away
  // must not stay behind in the map). Never touches owned objects.
  static void Forget(unsigned long window, AWnd* wnd);
  // Takes ownership of a bare object made for a window procedure.
  static AWnd* Adopt(std::unique_ptr<AWnd> bare);
  // Deletes the bare objects of destroyed windows; the loops call it.
  static void Bury();
  // Number of registered windows.
  static int Count();
};

}  // namespace afc
