// WindowsMayVanish: while the tests look at other programs' windows, those
// windows may be destroyed between the request that found them and the next
// one about them. Within this scope X errors are ignored instead of ending
// the test through Xlib's default handler; the handler before it comes back
// at the end, after the errors of the scope's requests have arrived.
#pragma once

#include <X11/Xlib.h>

namespace kvrtest {

class WindowsMayVanish {
 public:
  explicit WindowsMayVanish(Display* dpy) : dpy_(dpy) {
    XSync(dpy_, False);
    old_ = XSetErrorHandler(Ignore);
  }
  ~WindowsMayVanish() {
    XSync(dpy_, False);
    XSetErrorHandler(old_);
  }
  WindowsMayVanish(const WindowsMayVanish&) = delete;
  WindowsMayVanish& operator=(const WindowsMayVanish&) = delete;

 private:
  static int Ignore(Display*, XErrorEvent*) { return 0; }
  Display* dpy_;
  int (*old_)(Display*, XErrorEvent*) = nullptr;
};

}  // namespace kvrtest
