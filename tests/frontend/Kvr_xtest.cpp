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
#include <vector>

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

// A client in a UTF-8 locale that shows the bar with Ctrl+Space (the first
// press only starts the forwarding), types "zhongguo" and Space, and reports
// what was committed.
[[noreturn]] void RunChineseClient(const std::string& name, int fd) {
  alarm(30);
  Out out{fd};
  if (!std::setlocale(LC_ALL, "zh_CN.UTF-8")) _exit(3);
  if (!XSetLocaleModifiers(("@im=" + name).c_str())) _exit(5);
  Display* dpy = XOpenDisplay(nullptr);
  if (!dpy) _exit(6);
  const Window win = XCreateSimpleWindow(dpy, DefaultRootWindow(dpy), 10, 10, 200, 100, 0, 0, 0);
  XIM im = XOpenIM(dpy, nullptr, nullptr, nullptr);
  if (!im) _exit(10);
  XIC ic = XCreateIC(im, XNInputStyle, XIMPreeditNothing | XIMStatusNothing, XNClientWindow, win,
                     XNFocusWindow, win, nullptr);
  if (!ic) _exit(14);
  long mask = 0;
  if (XGetICValues(ic, XNFilterEvents, &mask, nullptr)) _exit(15);
  XSelectInput(dpy, win, KeyPressMask | KeyReleaseMask | mask);
  XMapWindow(dpy, win);
  XSetICFocus(ic);
  XSync(dpy, False);
  auto press = [&](KeySym sym, unsigned state) {
    SendKey(dpy, win, KeyPress, sym, state);
    SendKey(dpy, win, KeyRelease, sym, state);
    XFlush(dpy);
  };
  std::string typed;
  for (int i = 0; i < 2; ++i) {
    press(XK_space, ControlMask);
    typed += Serve(dpy, ic, 400);
  }
  for (const char* k = "zhongguo"; *k; ++k) press(static_cast<KeySym>(*k), 0);
  typed += Serve(dpy, ic, 400);
  press(XK_space, 0);
  typed += Serve(dpy, ic, 800);
  out.Line("typed " + typed);
  XDestroyIC(ic);
  XCloseIM(im);
  XCloseDisplay(dpy);
  _exit(0);
}

// The mapped top-level override-redirect windows of that size.
std::vector<Window> ShownWindowsOfSize(Display* dpy, int width, int height) {
  std::vector<Window> found;
  Window root = 0, parent = 0;
  Window* kids = nullptr;
  unsigned n = 0;
  if (XQueryTree(dpy, DefaultRootWindow(dpy), &root, &parent, &kids, &n)) {
    for (unsigned i = 0; i < n; ++i) {
      XWindowAttributes a;
      if (XGetWindowAttributes(dpy, kids[i], &a) && a.map_state != IsUnmapped &&
          a.width == width && a.height == height && a.override_redirect) {
        found.push_back(kids[i]);
      }
    }
    if (kids) XFree(kids);
  }
  return found;
}

int CountShownBars(int width, int height) {
  Display* dpy = XOpenDisplay(nullptr);
  if (!dpy) return -1;
  const int n = static_cast<int>(ShownWindowsOfSize(dpy, width, height).size());
  XCloseDisplay(dpy);
  return n;
}

// A click (press and release of button 1) at (x, y) of the one shown bar.
bool ClickBar(int width, int height, int x, int y) {
  Display* dpy = XOpenDisplay(nullptr);
  if (!dpy) return false;
  const std::vector<Window> bars = ShownWindowsOfSize(dpy, width, height);
  if (bars.size() != 1) {
    XCloseDisplay(dpy);
    return false;
  }
  for (int type : {ButtonPress, ButtonRelease}) {
    XEvent ev{};
    ev.xbutton.type = type;
    ev.xbutton.display = dpy;
    ev.xbutton.window = bars[0];
    ev.xbutton.root = DefaultRootWindow(dpy);
    ev.xbutton.x = x;
    ev.xbutton.y = y;
    ev.xbutton.button = Button1;
    ev.xbutton.same_screen = True;
    XSendEvent(dpy, bars[0], False, type == ButtonPress ? ButtonPressMask : ButtonReleaseMask,
               &ev);
  }
  XCloseDisplay(dpy);
  return true;
}

// The profile's InputMode once it holds want (a save may take a moment to
// follow a posted command).
bool ProfileReaches(const std::string& path, const std::string& want) {
  for (int i = 0; i < 40; ++i) {
    if (kvrtest::ReadFileText(path).find(want) != std::string::npos) return true;
    usleep(50 * 1000);
  }
  return false;
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

std::string RunChineseClientProcess(const std::string& name) {
  int p[2];
  if (pipe(p) != 0) return "pipe";
  const pid_t pid = fork();
  if (pid == 0) {
    close(p[0]);
    RunChineseClient(name, p[1]);
  }
  close(p[1]);
  std::string text;
  char buf[256];
  ssize_t n;
  while ((n = read(p[0], buf, sizeof buf)) > 0) text.append(buf, n);
  close(p[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    return "client failed " + std::to_string(WIFEXITED(status) ? WEXITSTATUS(status) : -1);
  }
  return text;
}

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

// Ctrl+Space shows the bar and switches to Chinese input; pinyin typed then
// reaches the client as Chinese text; a click on the bar's mode cell
// switches back; the profile follows each switch.
TEST(Kvr, CtrlSpaceShowsTheBarAndPinyinCommitsChinese) {
  kvrtest::ScratchDir dir;
  Kvr kvr(dir);
  const std::string name = "KvrChn" + std::to_string(getpid());
  ASSERT_TRUE(kvr.Start(name));
  EXPECT_EQ(CountShownBars(155, 26), 0);  // hidden at start-up
  EXPECT_EQ(RunChineseClientProcess(name), "typed \xE4\xB8\xAD\xE5\x9B\xBD\n");  // 中国
  EXPECT_EQ(CountShownBars(155, 26), 1);
  // The switch saved the profile at once.
  const std::string profile = dir.File("kvr.ini");
  EXPECT_TRUE(ProfileReaches(profile, "InputMode=0")) << kvrtest::ReadFileText(profile);
  // A click on the mode cell switches back to English input and saves.
  ASSERT_TRUE(ClickBar(155, 26, 30, 10));
  EXPECT_TRUE(ProfileReaches(profile, "InputMode=1")) << kvrtest::ReadFileText(profile);
  EXPECT_EQ(CountShownBars(155, 26), 1);  // the bar stays up
  const int status = kvr.Stop();
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  EXPECT_NE(kvrtest::ReadFileText(profile).find("InputMode=1"), std::string::npos);
}

}  // namespace
