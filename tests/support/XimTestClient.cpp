#include "tests/support/XimTestClient.h"

#include <X11/Xutil.h>
#include <poll.h>

#include <chrono>
#include <clocale>

#include "tests/support/XTestKeys.h"

namespace kvrtest {

namespace {

// Any medium font for every charset of the locale, then anything at all.
constexpr const char* kFontSetPattern =
    "-*-*-medium-r-normal--16-*-*-*-*-*-*-*,-*-*-*-*-*--*-*-*-*-*-*-*-*";

}  // namespace

std::string XimTestClient::Open(const XimClientOptions& options) {
  Close();
  m_options = options;
  if (!std::setlocale(LC_ALL, options.locale.c_str())) return "setlocale " + options.locale;
  if (!XSupportsLocale()) return "XSupportsLocale " + options.locale;
  if (!XSetLocaleModifiers(("@im=" + options.imName).c_str())) return "XSetLocaleModifiers";
  m_dpy = XOpenDisplay(nullptr);
  if (!m_dpy) return "XOpenDisplay";
  m_win = XCreateSimpleWindow(m_dpy, DefaultRootWindow(m_dpy), 10, 10, 200, 100, 0, 0, 0);
  m_im = XOpenIM(m_dpy, nullptr, nullptr, nullptr);
  if (!m_im) return "XOpenIM";
  XIMStyles* styles = nullptr;
  if (XGetIMValues(m_im, XNQueryInputStyle, &styles, nullptr) || !styles)
    return "XNQueryInputStyle";
  bool offered = false;
  for (int i = 0; i < styles->count_styles; ++i)
    offered = offered || styles->supported_styles[i] == options.style;
  XFree(styles);
  if (!offered) return "style not offered";

  if (options.style & XIMPreeditPosition) {
    char** missing = nullptr;
    int nMissing = 0;
    char* defString = nullptr;
    m_fontSet = XCreateFontSet(m_dpy, kFontSetPattern, &missing, &nMissing, &defString);
    if (missing) XFreeStringList(missing);
    if (!m_fontSet) return "XCreateFontSet";
    XPoint spot{options.spotX, options.spotY};
    XVaNestedList pre =
        XVaCreateNestedList(0, XNSpotLocation, &spot, XNFontSet, m_fontSet, nullptr);
    m_ic = XCreateIC(m_im, XNInputStyle, options.style, XNClientWindow, m_win, XNFocusWindow, m_win,
                     XNPreeditAttributes, pre, nullptr);
    XFree(pre);
  } else {
    m_ic = XCreateIC(m_im, XNInputStyle, options.style, XNClientWindow, m_win, XNFocusWindow, m_win,
                     nullptr);
  }
  if (!m_ic) return "XCreateIC";
  if (XGetICValues(m_ic, XNFilterEvents, &m_filterMask, nullptr)) return "XNFilterEvents";
  XSelectInput(m_dpy, m_win, KeyPressMask | KeyReleaseMask | FocusChangeMask | m_filterMask);
  XMapWindow(m_dpy, m_win);
  XSetICFocus(m_ic);
  XSync(m_dpy, False);
  return "";
}

void XimTestClient::Close() {
  if (m_ic) XDestroyIC(m_ic);
  m_ic = nullptr;
  if (m_im) XCloseIM(m_im);
  m_im = nullptr;
  if (m_fontSet) XFreeFontSet(m_dpy, m_fontSet);
  m_fontSet = nullptr;
  if (m_dpy) XCloseDisplay(m_dpy);
  m_dpy = nullptr;
  m_win = None;
}

void XimTestClient::DestroyIc() {
  if (m_ic) XDestroyIC(m_ic);
  m_ic = nullptr;
}

void XimTestClient::SendKey(int type, KeySym sym, unsigned state) {
  XEvent ev{};
  ev.xkey.type = type;
  ev.xkey.display = m_dpy;
  ev.xkey.window = m_win;
  ev.xkey.root = DefaultRootWindow(m_dpy);
  ev.xkey.time = CurrentTime;
  ev.xkey.keycode = XKeysymToKeycode(m_dpy, sym);
  ev.xkey.state = state;
  ev.xkey.same_screen = True;
  XSendEvent(m_dpy, m_win, False, type == KeyPress ? KeyPressMask : KeyReleaseMask, &ev);
}

void XimTestClient::TapKey(KeySym sym, unsigned state) {
  SendKey(KeyPress, sym, state);
  SendKey(KeyRelease, sym, state);
  XFlush(m_dpy);
}

bool XimTestClient::XTestKey(KeySym sym, unsigned state, int holdMs, int gapMs) {
  Window focus = None;
  int revert = 0;
  XGetInputFocus(m_dpy, &focus, &revert);
  if (focus != m_win) FocusWindow(m_dpy, m_win);
  // Each stroke reaches this client (and through it the input method)
  // before the next is made: a key the input method grabs for itself must
  // not overtake the keys this client forwards.
  if (!kvrtest::XTestKey(m_dpy, sym, state, true)) return false;
  XSync(m_dpy, False);
  Serve(holdMs);
  kvrtest::XTestKey(m_dpy, sym, state, false);
  XSync(m_dpy, False);
  Serve(gapMs);
  return true;
}

void XimTestClient::TakeKeyPress(XKeyEvent* key) {
  char small[64];
  std::string big;
  char* buf = small;
  int size = sizeof small;
  for (;;) {
    KeySym sym = 0;
    Status status = 0;
    int n = 0;
    switch (m_options.lookup) {
      case TextLookup::Mb: n = XmbLookupString(m_ic, key, buf, size, &sym, &status); break;
      case TextLookup::Utf8: n = Xutf8LookupString(m_ic, key, buf, size, &sym, &status); break;
      case TextLookup::Latin1:
        n = XLookupString(key, buf, size, &sym, nullptr);
        status = XLookupChars;
        break;
    }
    if (status == XBufferOverflow) {
      big.assign(static_cast<size_t>(n) + 1, '\0');
      buf = big.data();
      size = n + 1;
      continue;
    }
    if (n > 0 && (status == XLookupChars || status == XLookupBoth))
      m_received.append(buf, static_cast<size_t>(n));
    return;
  }
}

void XimTestClient::Serve(int ms, const std::function<bool()>& done) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  for (;;) {
    while (XPending(m_dpy)) {
      XEvent ev;
      XNextEvent(m_dpy, &ev);
      if (XFilterEvent(&ev, None)) continue;
      // As applications do: the input context has the focus while the
      // window has it.
      if (ev.type == FocusIn && ev.xfocus.window == m_win && m_ic) XSetICFocus(m_ic);
      if (ev.type == FocusOut && ev.xfocus.window == m_win && m_ic) XUnsetICFocus(m_ic);
      if (ev.type != KeyPress && ev.type != KeyRelease) continue;
      m_keys.push_back(ev.xkey);
      if (ev.type == KeyPress && m_ic) TakeKeyPress(&ev.xkey);
    }
    if ((done && done()) || std::chrono::steady_clock::now() >= deadline) return;
    pollfd p{ConnectionNumber(m_dpy), POLLIN, 0};
    poll(&p, 1, 10);
  }
}

void XimTestClient::ServeUntilQuiet(int quietMs, int maxMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(maxMs);
  for (;;) {
    const size_t bytes = m_received.size(), keys = m_keys.size();
    Serve(quietMs);
    if ((bytes == m_received.size() && keys == m_keys.size()) ||
        std::chrono::steady_clock::now() >= deadline)
      return;
  }
}

void XimTestClient::Clear() {
  m_received.clear();
  m_keys.clear();
}

}  // namespace kvrtest
