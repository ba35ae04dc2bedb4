// kvr as a user meets it: the program is started from a copy of the
// distribution directory under an XIM name of its own, an Xlib client (a
// child process) selects it through XMODIFIERS, opens the input method and
// an input context, and types; the test reads what reaches the client and
// stops kvr by its process id.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <clocale>
#include <cstdlib>
#include <string>
#include <thread>

#include "tests/support/FileText.h"
#include "tests/support/TestPaths.h"

namespace {

struct Out {
  int fd;
  void Line(const std::string& s) {
    const std::string l = s + "\n";
    if (write(fd, l.data(), l.size()) < 0) _exit(90);
  }
};

void SendKey(Display* dpy, Window w, int type, KeySym sym, unsigned state) {
  XEvent ev{};
  ev.xkey.type = type;
  ev.xkey.display = dpy;
  ev.xkey.window = w;
  ev.xkey.root = DefaultRootWindow(dpy);
  ev.xkey.keycode = XKeysymToKeycode(dpy, sym);
  ev.xkey.state = state;
  ev.xkey.same_screen = True;
  XSendEvent(dpy, w, False, type == KeyPress ? KeyPressMask : KeyReleaseMask, &ev);
}

// Reads events through XFilterEvent for ms milliseconds; the text of every
// key press that passes, in order.
std::string Serve(Display* dpy, XIC ic, int ms) {
  std::string typed;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (std::chrono::steady_clock::now() < deadline) {
    while (XPending(dpy)) {
      XEvent ev;
      XNextEvent(dpy, &ev);
      if (XFilterEvent(&ev, None)) continue;
      if (ev.type != KeyPress) continue;
      char buf[64];
      KeySym sym = 0;
      Status st = 0;
      const int n = XmbLookupString(ic, &ev.xkey, buf, sizeof buf, &sym, &st);
      if (n > 0) typed.append(buf, n);
    }
    pollfd p{ConnectionNumber(dpy), POLLIN, 0};
    poll(&p, 1, 20);
  }
  return typed;
}

// The client: types "abc" (the 'a' press triggers the input method) and
// reports what came back.
// With stall, the client stops after the trigger and waits to be killed.
[[noreturn]] void RunClient(const std::string& name, const char* locale, int fd, bool stall) {
  alarm(30);
  Out out{fd};
  if (!std::setlocale(LC_ALL, locale)) _exit(3);
  if (!XSetLocaleModifiers(("@im=" + name).c_str())) _exit(5);
  Display* dpy = XOpenDisplay(nullptr);
  if (!dpy) _exit(6);
  const Window win = XCreateSimpleWindow(dpy, DefaultRootWindow(dpy), 10, 10, 200, 100, 0, 0, 0);
  XIM im = XOpenIM(dpy, nullptr, nullptr, nullptr);
  if (!im) _exit(10);
  char** missing = nullptr;
  int nMissing = 0;
  char* defString = nullptr;
  XFontSet fs = XCreateFontSet(dpy, "-*-*-medium-r-normal--16-*-*-*-*-*-*-*,-*-*-*-*-*--*-*-*-*-*-*-*-*",
                               &missing, &nMissing, &defString);
  if (missing) XFreeStringList(missing);
  if (!fs) _exit(13);
  XPoint spot{12, 34};
  XVaNestedList pre = XVaCreateNestedList(0, XNSpotLocation, &spot, XNFontSet, fs, nullptr);
  XIC ic = XCreateIC(im, XNInputStyle, XIMPreeditPosition | XIMStatusNothing, XNClientWindow, win,
                     XNFocusWindow, win, XNPreeditAttributes, pre, nullptr);
  XFree(pre);
  if (!ic) _exit(14);
  long mask = 0;
  if (XGetICValues(ic, XNFilterEvents, &mask, nullptr)) _exit(15);
  XSelectInput(dpy, win, KeyPressMask | KeyReleaseMask | mask);
  XMapWindow(dpy, win);
  XSetICFocus(ic);
  XSync(dpy, False);
  SendKey(dpy, win, KeyPress, XK_a, 0);
  XSync(dpy, False);
  std::string typed = Serve(dpy, ic, 300);
  if (stall) {
    out.Line("stalled");
    for (;;) pause();
  }
  const KeySym rest[] = {XK_a, XK_b, XK_c};
  for (KeySym s : rest) {
    if (s != XK_a) SendKey(dpy, win, KeyPress, s, 0);
    SendKey(dpy, win, KeyRelease, s, 0);
  }
  XFlush(dpy);
  typed += Serve(dpy, ic, 1500);
  out.Line("typed " + typed);
  XDestroyIC(ic);
  XCloseIM(im);
  XCloseDisplay(dpy);
  _exit(0);
}

class Kvr {
 public:
  explicit Kvr(const kvrtest::ScratchDir& dir) : m_dir(dir) {}
  ~Kvr() { Stop(); }
  bool Start(const std::string& name) {
    const std::string copy = "cp -a '" + kvrtest::DistDir() + "/.' '" + m_dir.Path() + "/'";
    if (std::system(copy.c_str()) != 0) return false;
    m_pid = fork();
    if (m_pid == 0) {
      setenv("XMODIFIERS", ("@im=" + name).c_str(), 1);
      const std::string prog = m_dir.File("kvr");
      execl(prog.c_str(), prog.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    // Serving once the server's selection has an owner.
    Display* dpy = XOpenDisplay(nullptr);
    if (!dpy) return false;
    const Atom sel = XInternAtom(dpy, ("@server=" + name).c_str(), False);
    bool up = false;
    for (int i = 0; i < 600 && !up; ++i) {
      up = XGetSelectionOwner(dpy, sel) != None;
      if (!up) {
        int status = 0;
        if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
          m_pid = -1;
          break;
        }
        usleep(50 * 1000);
      }
    }
    XCloseDisplay(dpy);
    return up;
  }
  // SIGTERM, as at the end of a session; the exit status.
  int Stop() {
    if (m_pid <= 0) return -1;
    kill(m_pid, SIGTERM);
    int status = -1;
    waitpid(m_pid, &status, 0);
    m_pid = -1;
    return status;
  }

 private:
  const kvrtest::ScratchDir& m_dir;
  pid_t m_pid = -1;
};

std::string RunClientProcess(const std::string& name, const char* locale, bool killMidInput = false) {
  int p[2];
  if (pipe(p) != 0) return "pipe";
  const pid_t pid = fork();
  if (pid == 0) {
    close(p[0]);
    RunClient(name, locale, p[1], killMidInput);
  }
  close(p[1]);
  std::string text;
  char buf[256];
  ssize_t n;
  while ((n = read(p[0], buf, sizeof buf)) > 0) {
    text.append(buf, n);
    if (killMidInput && text.find("stalled") != std::string::npos) {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
      close(p[0]);
      return text;
    }
  }
  close(p[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    return "client failed " + std::to_string(WIFEXITED(status) ? WEXITSTATUS(status) : -1);
  }
  return text;
}

TEST(Kvr, EnglishInputComesBackInOrder) {
  kvrtest::ScratchDir dir;
  Kvr kvr(dir);
  const std::string name = "KvrTest" + std::to_string(getpid());
  ASSERT_TRUE(kvr.Start(name));
  EXPECT_EQ(RunClientProcess(name, "zh_CN.GBK"), "typed abc\n");
  // A second client is served after the first has gone.
  EXPECT_EQ(RunClientProcess(name, "zh_CN.UTF-8"), "typed abc\n");
  // A client killed after its trigger, while kvr holds its keys, leaves the
  // server serving the next.
  EXPECT_EQ(RunClientProcess(name, "zh_CN.GBK", true), "stalled\n");
  EXPECT_EQ(RunClientProcess(name, "zh_CN.GB2312"), "typed abc\n");
  const int status = kvr.Stop();
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  // The end of the session saved the settings: English input, from the
  // running program.
  const std::string profile = kvrtest::ReadFileText(dir.File("kvr.ini"));
  EXPECT_NE(profile.find("InputMode=1"), std::string::npos) << profile;
  EXPECT_NE(profile.find("[Mainframe]"), std::string::npos) << profile;
}

}  // namespace
