// XimTestClient.h: an X client that types through an input method the way
// applications do, with Xlib's own XIM client side.
//
// Open() sets the locale, selects the input method by name
// (XSetLocaleModifiers "@im=NAME", as XMODIFIERS would), opens it, creates
// an input context on a window of its own (over-the-spot with a spot
// location and a font set, or another style), selects the events the input
// context asks for and gives it the focus. Keys go in either as synthetic
// KeyPress/KeyRelease events sent to the window (they reach XFilterEvent
// like any other) or as real key strokes through XTEST. Serve() runs every
// event through XFilterEvent and collects, exactly as received, the bytes
// the lookup function returns for each key press that passes: committed
// text and keys handed back alike. XmbLookupString gives the bytes in the
// locale's encoding, Xutf8LookupString UTF-8, XLookupString Latin-1.
//
// Locale and Xlib state are per process: open one client a process (tests
// run it in a ChildProcess). Include after <gtest/gtest.h> in tests.
#pragma once

#include <X11/Xlib.h>

#include <functional>
#include <string>
#include <vector>

namespace kvrtest {

enum class TextLookup { Mb, Utf8, Latin1 };

struct XimClientOptions {
  std::string imName;  // the input method's name ("@im=NAME")
  std::string locale;  // for setlocale(LC_ALL, ...)
  XIMStyle style = XIMPreeditPosition | XIMStatusNothing;
  short spotX = 12;  // spot location (over-the-spot only)
  short spotY = 34;
  TextLookup lookup = TextLookup::Mb;
};

class XimTestClient {
 public:
  XimTestClient() = default;
  ~XimTestClient() { Close(); }
  XimTestClient(const XimTestClient&) = delete;
  XimTestClient& operator=(const XimTestClient&) = delete;

  // "" on success, else the step that failed ("setlocale", "XOpenIM", ...).
  std::string Open(const XimClientOptions& options);
  // Destroys the input context, closes the input method and the display.
  void Close();
  // Destroys the input context alone (as a window going away does); the
  // client then passes keys on without an input method.
  void DestroyIc();

  Display* Dpy() const { return m_dpy; }
  Window Win() const { return m_win; }
  XIM Im() const { return m_im; }
  XIC Ic() const { return m_ic; }
  XFontSet FontSet() const { return m_fontSet; }
  long FilterMask() const { return m_filterMask; }

  // A synthetic key event (XSendEvent) to the client's window.
  void SendKey(int type, KeySym sym, unsigned state = 0);
  // A synthetic press and release.
  void TapKey(KeySym sym, unsigned state = 0);
  // A real key stroke through XTEST to the client's window (which takes
  // the keyboard focus first), serving events for holdMs between the press
  // and the release and for gapMs after it; false when no key makes sym.
  bool XTestKey(KeySym sym, unsigned state = 0, int holdMs = 0, int gapMs = 30);

  // Runs events through XFilterEvent: those queued, then more for up to ms
  // milliseconds or until done() holds.
  void Serve(int ms, const std::function<bool()>& done = {});

  // Serves until nothing new has arrived for quietMs (at most maxMs): the
  // answers of a slow server (a sanitized build) still come in.
  void ServeUntilQuiet(int quietMs = 700, int maxMs = 10000);

  // Bytes the lookup returned, in order, since the last Clear().
  const std::string& Received() const { return m_received; }
  // Key events that passed the filter (presses and releases), in order.
  const std::vector<XKeyEvent>& PassedKeys() const { return m_keys; }
  void Clear();

 private:
  void TakeKeyPress(XKeyEvent* key);

  XimClientOptions m_options;
  Display* m_dpy = nullptr;
  Window m_win = None;
  XIM m_im = nullptr;
  XIC m_ic = nullptr;
  XFontSet m_fontSet = nullptr;
  long m_filterMask = 0;
  std::string m_received;
  std::vector<XKeyEvent> m_keys;
};

}  // namespace kvrtest
