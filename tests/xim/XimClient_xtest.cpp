// Xlib's own client side against our server, the whole way: a child process
// selects the server with XSetLocaleModifiers("@im=NAME"), opens the input
// method, creates an over-the-spot input context with a spot location and a
// font set, passes every event through XFilterEvent, presses a trigger key
// and more keys, and reports the keys that reach it unfiltered. The server
// hands every forwarded key back, so they must arrive unchanged. The parent
// serves, keeps the input contexts in the store as the program does, and
// checks what the client set and that everything is gone when it leaves.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "tests/xim/XimHandlers.h"
#include "tests/xim/XimXTest.h"
#include "xim/ICStore.h"

namespace {

using ximtest::g_world;

constexpr const char* kLocales =
    "zh_CN.GB18030,zh_CN.GBK,zh_CN.GB2312,zh_CN,zh_CN.UTF8,zh_CN.eucCN,zh_CN.UTF-8,en_US.UTF8,"
    "en_US.UTF-8,zh_TW.Big5,zh_TW,zh_TW.eucTW,zh_TW.UTF8,zh_TW.UTF-8";
constexpr XIMStyle kOverTheSpot = XIMPreeditPosition | XIMStatusNothing;

// ---- the client (child process) ----

struct Out {
  int fd;
  void Line(const std::string& s) {
    const std::string l = s + "\n";
    if (write(fd, l.data(), l.size()) < 0) _exit(90);
  }
};

std::string KeyText(const XKeyEvent& k) {
  std::ostringstream s;
  s << "key " << k.type << " " << k.keycode << " " << k.state << " " << (k.window != 0);
  return s.str();
}

// Takes events through XFilterEvent, at least those already queued and
// then for up to `ms` milliseconds, and reports the key events that pass.
int Serve(Display* dpy, Out& out, int want, int ms) {
  int got = 0;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  for (;;) {
    while (XPending(dpy)) {
      XEvent ev;
      XNextEvent(dpy, &ev);
      if (XFilterEvent(&ev, None)) continue;
      if (ev.type == KeyPress || ev.type == KeyRelease) {
        out.Line(KeyText(ev.xkey));
        ++got;
      }
    }
    if (got >= want || std::chrono::steady_clock::now() >= deadline) return got;
    pollfd p{ConnectionNumber(dpy), POLLIN, 0};
    poll(&p, 1, 20);
  }
}

void SendKey(Display* dpy, Window w, int type, KeySym sym, unsigned state) {
  XEvent ev{};
  ev.xkey.type = type;
  ev.xkey.display = dpy;
  ev.xkey.window = w;
  ev.xkey.root = DefaultRootWindow(dpy);
  ev.xkey.time = CurrentTime;
  ev.xkey.keycode = XKeysymToKeycode(dpy, sym);
  ev.xkey.state = state;
  ev.xkey.same_screen = True;
  XSendEvent(dpy, w, False, type == KeyPress ? KeyPressMask : KeyReleaseMask, &ev);
}

[[noreturn]] void RunClient(const std::string& name, const char* locale, int fd, bool stayForKill) {
  alarm(20);
  Out out{fd};
  if (!std::setlocale(LC_ALL, locale)) _exit(3);
  if (!XSupportsLocale()) _exit(4);
  if (!XSetLocaleModifiers(("@im=" + name).c_str())) _exit(5);
  Display* dpy = XOpenDisplay(nullptr);
  if (!dpy) _exit(6);
  const Window win = XCreateSimpleWindow(dpy, DefaultRootWindow(dpy), 10, 10, 200, 100, 0, 0, 0);
  XIM im = XOpenIM(dpy, nullptr, nullptr, nullptr);
  if (!im) _exit(10);
  XIMStyles* styles = nullptr;
  if (XGetIMValues(im, XNQueryInputStyle, &styles, nullptr) || !styles) _exit(11);
  bool offered = false;
  for (int i = 0; i < styles->count_styles; ++i) offered = offered || styles->supported_styles[i] == kOverTheSpot;
  XFree(styles);
  if (!offered) _exit(12);

  char** missing = nullptr;
  int nMissing = 0;
  char* defString = nullptr;
  XFontSet fs = XCreateFontSet(dpy, "-*-*-medium-r-normal--16-*-*-*-*-*-*-*,-*-*-*-*-*--*-*-*-*-*-*-*-*",
                               &missing, &nMissing, &defString);
  if (missing) XFreeStringList(missing);
  if (!fs) _exit(13);
  // The client names the fonts it loaded, not the patterns it asked for.
  XFontStruct** fontStructs = nullptr;
  char** fontNames = nullptr;
  const int nFonts = XFontsOfFontSet(fs, &fontStructs, &fontNames);
  std::string loaded;
  for (int i = 0; i < nFonts; ++i) loaded += (i ? "," : "") + std::string(fontNames[i]);
  out.Line("font " + loaded);
  XPoint spot{12, 34};
  XVaNestedList pre = XVaCreateNestedList(0, XNSpotLocation, &spot, XNFontSet, fs, nullptr);
  XIC ic = XCreateIC(im, XNInputStyle, kOverTheSpot, XNClientWindow, win, XNFocusWindow, win,
                     XNPreeditAttributes, pre, nullptr);
  XFree(pre);
  if (!ic) _exit(14);
  long mask = 0;
  if (XGetICValues(ic, XNFilterEvents, &mask, nullptr)) _exit(15);
  out.Line("filter " + std::to_string(mask));
  XSelectInput(dpy, win, KeyPressMask | KeyReleaseMask | mask);
  XMapWindow(dpy, win);
  XSetICFocus(ic);
  XSync(dpy, False);
  out.Line("ready");
  if (stayForKill) {
    for (;;) Serve(dpy, out, 1000, 1000);
  }

  // 'a' triggers the input method; the keys after it are forwarded.
  struct Key { int type; KeySym sym; unsigned state; } const keys[] = {
      {KeyPress, XK_a, 0},           {KeyRelease, XK_a, 0},        {KeyPress, XK_b, ShiftMask},
      {KeyRelease, XK_b, ShiftMask}, {KeyPress, XK_Return, ControlMask}, {KeyRelease, XK_Return, ControlMask},
  };
  for (const Key& k : keys) {
    SendKey(dpy, win, k.type, k.sym, k.state);
    // The trigger's answer (start forwarding) must be read before the next
    // key, as it would be between two key strokes of a person.
    // The trigger press is filtered (its notify answered) before XSync
    // returns; the get request behind it comes back after the server's
    // start-forwarding message, so that one has been read as well.
    if (&k == keys) {
      XSync(dpy, False);
      Serve(dpy, out, 1, 0);
      long again = 0;
      if (XGetICValues(ic, XNFilterEvents, &again, nullptr)) _exit(16);
    }
    XEvent sent{};
    sent.xkey.type = k.type;
    sent.xkey.keycode = XKeysymToKeycode(dpy, k.sym);
    sent.xkey.state = k.state;
    sent.xkey.window = win;
    out.Line("sent " + KeyText(sent.xkey));
  }
  XFlush(dpy);
  Serve(dpy, out, 5, 4000);

  // A new spot location, read back through a nested get, with the line
  // space the server always reports.
  XPoint moved{56, 78};
  XVaNestedList set = XVaCreateNestedList(0, XNSpotLocation, &moved, nullptr);
  if (XSetICValues(ic, XNPreeditAttributes, set, nullptr)) _exit(17);
  XFree(set);
  XPoint* back = nullptr;  // Xlib allocates the point it returns
  int lineSpace = 0;
  XVaNestedList get = XVaCreateNestedList(0, XNSpotLocation, &back, XNLineSpace, &lineSpace, nullptr);
  if (XGetICValues(ic, XNPreeditAttributes, get, nullptr)) _exit(18);
  XFree(get);
  if (!back) _exit(19);
  out.Line("spot " + std::to_string(back->x) + " " + std::to_string(back->y) + " line " +
           std::to_string(lineSpace));
  XFree(back);
  char* reset = XmbResetIC(ic);
  out.Line(std::string("reset '") + (reset ? reset : "") + "'");
  if (reset) XFree(reset);
  XUnsetICFocus(ic);
  XDestroyIC(ic);
  XCloseIM(im);
  XFreeFontSet(dpy, fs);
  out.Line("closed");
  XCloseDisplay(dpy);
  _exit(0);
}

// ---- the server (parent) ----

struct Child {
  pid_t pid = -1;
  int fd = -1;
  std::string text;
  int status = -1;
};

Child Start(const std::string& name, const char* locale, bool stayForKill = false) {
  int p[2];
  if (pipe(p) != 0) return {};
  Child c;
  c.pid = fork();
  if (c.pid == 0) {
    close(p[0]);
    RunClient(name, locale, p[1], stayForKill);
  }
  close(p[1]);
  c.fd = p[0];
  return c;
}

void Drain(Child& c) {
  pollfd p{c.fd, POLLIN, 0};
  while (poll(&p, 1, 0) > 0 && (p.revents & (POLLIN | POLLHUP))) {
    char buf[512];
    const ssize_t n = read(c.fd, buf, sizeof buf);
    if (n <= 0) break;
    c.text.append(buf, static_cast<size_t>(n));
  }
}

bool Exited(Child& c) {
  Drain(c);
  if (c.pid > 0 && waitpid(c.pid, &c.status, WNOHANG) == c.pid) {
    c.pid = -1;
    Drain(c);
    close(c.fd);
    return true;
  }
  return false;
}

std::vector<std::string> Lines(const std::string& text, const std::string& prefix) {
  std::vector<std::string> out;
  std::istringstream s(text);
  for (std::string l; std::getline(s, l);) {
    if (l.compare(0, prefix.size(), prefix) == 0) out.push_back(l.substr(prefix.size()));
  }
  return out;
}

class XlibClient : public testing::Test {
 protected:
  void SetUp() override {
    XSetErrorHandler(ximtest::IgnoreXErrors);
    g_world = ximtest::World{};
    g_world.sendBack = 1 << 20;
    m_name = "KvrX2" + std::to_string(getpid()) + "_" + std::to_string(++m_count);
    ASSERT_TRUE(m_server.Open(m_name, kLocales));
    ASSERT_EQ(m_values.Set(m_server.Ims()), nullptr);
  }
  void TearDown() override {
    m_server.Close();
    FreeICStore();
  }

  // Serves until the child ends (or about five seconds pass) and returns
  // its exit status.
  int Serve(Child& c) {
    ximtest::PumpUntil(m_server.Dpy(), [&] { return Exited(c); });
    if (c.pid > 0) {
      kill(c.pid, SIGKILL);
      waitpid(c.pid, &c.status, 0);
      close(c.fd);
      c.pid = -1;
      ADD_FAILURE() << "client hung; it said:\n" << c.text;
    }
    return WIFEXITED(c.status) ? WEXITSTATUS(c.status) : 100 + WTERMSIG(c.status);
  }

  int Clients() {
    int n = 0;
    for (Xi18nClient* c = Xi18nOf(m_server.Ims())->address.clients; c; c = c->next) ++n;
    return n;
  }

  ximtest::TestServer m_server;
  std::string m_name;
  static int m_count;
  ximtest::ProgramValues m_values;
};
int XlibClient::m_count = 0;

TEST_F(XlibClient, OpensCreatesForwardsAndClosesInEachLocale) {
  for (const char* locale : {"zh_CN.GBK", "zh_CN.UTF-8", "en_US.UTF-8"}) {
    SCOPED_TRACE(locale);
    g_world.calls.clear();
    g_world.names.clear();
    Child c = Start(m_name, locale);
    // Watch the store while the client is inside: its context, its values.
    uint16_t seenIC = 0;
    IC seen{};
    std::string seenFont;
    ximtest::PumpUntil(m_server.Dpy(), [&] {
      if (ic_list && !seenIC) {
        seenIC = ic_list->id;
        seen = *ic_list;
        seenFont = seen.pre_attr.base_font ? seen.pre_attr.base_font : "";
      }
      Drain(c);
      return c.text.find("ready") != std::string::npos || Exited(c);
    });
    const int status = Serve(c);
    ASSERT_EQ(status, 0) << c.text;
    ASSERT_NE(seenIC, 0);
    EXPECT_EQ(seen.input_style, kOverTheSpot);
    EXPECT_NE(seen.client_win, 0u);
    EXPECT_EQ(seen.focus_win, seen.client_win);
    EXPECT_EQ(seen.pre_attr.spot_location.x, 12);
    EXPECT_EQ(seen.pre_attr.spot_location.y, 34);
    const std::vector<std::string> font = Lines(c.text, "font ");
    ASSERT_EQ(font.size(), 1u);
    EXPECT_EQ(seenFont, font[0]);
    EXPECT_EQ(Lines(c.text, "filter "), std::vector<std::string>{"3"});

    // Every key after the trigger press came back, unchanged and in order;
    // the server saw the same keys.
    std::vector<std::string> sent = Lines(c.text, "sent key ");
    ASSERT_EQ(sent.size(), 6u);
    sent.erase(sent.begin());
    EXPECT_EQ(Lines(c.text, "key "), sent);
    std::vector<std::string> forwarded;
    for (const IMProtocol& p : g_world.calls) {
      if (p.major_code == XIM_FORWARD_EVENT) forwarded.push_back(KeyText(p.forwardevent.event.xkey).substr(4));
    }
    EXPECT_EQ(forwarded, sent) << testing::PrintToString(g_world.log);
    EXPECT_EQ(Lines(c.text, "spot "), std::vector<std::string>{"56 78 line 18"});
    EXPECT_EQ(Lines(c.text, "reset "), std::vector<std::string>{"''"});
    EXPECT_NE(c.text.find("closed"), std::string::npos);

    // Closing destroyed the context; the client's end took its connection.
    ximtest::PumpUntil(m_server.Dpy(), [&] { return Clients() == 0; });
    EXPECT_EQ(ic_list, nullptr);
    EXPECT_EQ(Clients(), 0);
  }
}

TEST_F(XlibClient, AClientKilledMidSessionLeavesTheServerServingTheNext) {
  Child doomed = Start(m_name, "zh_CN.GBK", true);
  ASSERT_TRUE(ximtest::PumpUntil(m_server.Dpy(), [&] {
    Drain(doomed);
    return doomed.text.find("ready") != std::string::npos;
  })) << doomed.text;
  ASSERT_NE(ic_list, nullptr);
  kill(doomed.pid, SIGKILL);
  Serve(doomed);
  // Its window went with it: the connection and its context are gone.
  EXPECT_TRUE(ximtest::PumpUntil(m_server.Dpy(), [&] { return Clients() == 0 && !ic_list; }));

  Child next = Start(m_name, "zh_CN.UTF-8");
  ASSERT_EQ(Serve(next), 0) << next.text;
  EXPECT_EQ(Lines(next.text, "key ").size(), 5u) << next.text;
}

}  // namespace
