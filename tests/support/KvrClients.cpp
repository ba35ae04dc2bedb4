#include "tests/support/KvrClients.h"

#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <iconv.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <thread>
#include <vector>

#include "tests/support/ChildProcess.h"
#include "tests/support/FileText.h"
#include "tests/support/TestPaths.h"
#include "tests/support/WindowsMayVanish.h"
#include "tests/support/XTestKeys.h"
#include "tests/support/XimTestClient.h"

namespace kvrtest {

namespace {

constexpr int kGapMs = 30;  // between key strokes
constexpr int kClientStartMs = 20000;

void Sleep(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

const char* LocaleOf(ClientKind kind) {
  switch (kind) {
    case ClientKind::XlibGbk: return "zh_CN.GBK";
    case ClientKind::XlibUtf8: return "zh_CN.UTF-8";
    case ClientKind::XlibGb2312: return "zh_CN";
    case ClientKind::XtermUtf8: return "zh_CN.UTF-8";
    case ClientKind::XtermGbk: return "zh_CN.GBK";
    case ClientKind::TkEntry: return "zh_CN.UTF-8";
    case ClientKind::GtkEntry: return "zh_CN.UTF-8";
  }
  return "C";
}

// Real keys to whatever window has the focus, as kvrtest types them.
bool TypeKeys(Display* dpy, const std::vector<ScriptKey>& keys, Pace pace) {
  if (pace == Pace::Burst) return XTestBurst(dpy, keys);
  for (size_t i = 0; i < keys.size(); ++i) {
    if (!XTestKey(dpy, keys[i].sym, keys[i].state, true)) return false;
    XTestKey(dpy, keys[i].sym, keys[i].state, false);
    Sleep(kGapMs);
  }
  return true;
}

// Opens our Xlib client of the given kind in this (child) process.
std::string OpenXlib(XimTestClient* client, ClientKind kind, const std::string& imName) {
  XimClientOptions options{imName, LocaleOf(kind)};
  options.lookup = kind == ClientKind::XlibUtf8 ? TextLookup::Utf8 : TextLookup::Mb;
  return client->Open(options);
}

// What a child client reported, once it has ended.
Typed XlibOutcome(ChildProcess& child, int timeoutMs) {
  Typed t;
  const int status = child.Wait(timeoutMs);
  const std::vector<std::string> got = child.Lines("got ");
  t.ok = status == 0 && got.size() == 1;
  if (t.ok) t.bytes = Unhex(got[0]);
  t.diagnosis = "client status " + std::to_string(status) + ": " + child.Output();
  return t;
}

// Our Xlib client in a child process; it types into itself.
Typed TypeIntoXlib(ClientKind kind, const std::string& imName, const std::vector<ScriptKey>& keys,
                   Pace pace) {
  ChildProcess child;
  const bool started = child.Start([&](int fd) {
    alarm(60);
    XimTestClient client;
    const std::string error = OpenXlib(&client, kind, imName);
    if (!error.empty()) {
      ReportLine(fd, "error " + error);
      return 1;
    }
    if (pace == Pace::Burst) {
      // Nothing is read until every key has been made. A Tab after them
      // comes back after all kvr makes of them, however slow kvr is.
      FocusWindow(client.Dpy(), client.Win());
      std::vector<ScriptKey> burst = keys;
      burst.push_back({XK_Tab, 0});
      if (!XTestBurst(client.Dpy(), burst)) {
        ReportLine(fd, "error no key");
        return 1;
      }
      client.Serve(50000,
                   [&] { return !client.Received().empty() && client.Received().back() == '\t'; });
      std::string got = client.Received();
      if (!got.empty() && got.back() == '\t') got.pop_back();
      ReportLine(fd, "got " + Hex(got));
      return 0;
    }
    for (size_t i = 0; i < keys.size(); ++i) {
      if (!client.XTestKey(keys[i].sym, keys[i].state, 0, kGapMs)) {
        ReportLine(fd, "error no key");
        return 1;
      }
    }
    client.ServeUntilQuiet();
    ReportLine(fd, "got " + Hex(client.Received()));
    return 0;
  });
  if (!started) {
    Typed t;
    t.diagnosis = "fork failed";
    return t;
  }
  return XlibOutcome(child, 60000);
}

// Waits until path holds at least one line (ends in '\n') or ms pass.
std::string WaitForLine(const std::string& path, int ms) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  for (;;) {
    std::string text = ReadFileText(path);
    if ((!text.empty() && text.back() == '\n') || std::chrono::steady_clock::now() >= deadline)
      return text;
    Sleep(20);
  }
}

// Gives win the focus (waiting settleMs after), types keys and a Return
// into it, closes dpy and returns the line the program then writes to out
// (up to waitMs), without its line end; the program is stopped.
Typed TypeLine(Display* dpy, Window win, int settleMs, std::vector<ScriptKey> keys, Pace pace,
               ChildProcess& program, const std::string& out, int waitMs,
               const std::string& failure, const std::string& log) {
  Typed t;
  FocusWindow(dpy, win);
  Sleep(settleMs);
  keys.push_back({XK_Return, 0});
  const bool typed = TypeKeys(dpy, keys, pace);
  XCloseDisplay(dpy);
  std::string text = WaitForLine(out, waitMs);
  program.Kill();
  if (!typed || text.empty() || text.back() != '\n') {
    t.diagnosis = failure + ": '" + Escaped(text) + "' " + ReadFileText(log);
    return t;
  }
  text.pop_back();
  t.ok = true;
  t.bytes = text;
  return t;
}

Typed TypeIntoXterm(ClientKind kind, const std::string& imName, std::vector<ScriptKey> keys,
                    Pace pace) {
  Typed t;
  ScratchDir dir;
  const std::string wid = dir.File("wid"), out = dir.File("out"), log = dir.File("log");
  const std::string locale = LocaleOf(kind);
  ChildProcess xterm;
  // WINDOWID names the VT100 window; it exists (and the input context with
  // it) before the shell runs.
  if (!xterm.Exec({"xterm", "-geometry", "60x8+0+0", "-e", "sh", "-c",
                   "echo $WINDOWID > '" + wid + ".tmp' && mv '" + wid + ".tmp' '" + wid +
                       "' && exec cat > '" + out + "'"},
                  {{"LC_ALL", locale}, {"LANG", locale}, {"XMODIFIERS", "@im=" + imName}}, log)) {
    t.diagnosis = "cannot start xterm";
    return t;
  }
  std::string id;
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(kClientStartMs);
  while ((id = ReadFileText(wid)).empty() && std::chrono::steady_clock::now() < deadline &&
         !xterm.Exited())
    Sleep(20);
  if (id.empty()) {
    t.diagnosis = "xterm did not start: " + ReadFileText(log);
    return t;
  }
  Display* dpy = XOpenDisplay(nullptr);
  if (!dpy) {
    t.diagnosis = "cannot open the display";
    return t;
  }
  Sleep(200);
  return TypeLine(dpy, static_cast<Window>(std::stoul(id)), 0, keys, pace, xterm, out, 5000,
                  "no line from cat", log);
}

Typed TypeIntoTk(const std::string& imName, std::vector<ScriptKey> keys, Pace pace) {
  Typed t;
  ScratchDir dir;
  const std::string script = dir.File("entry.tcl"), log = dir.File("log");
  // The entry takes the focus itself; Return prints its text, hex-encoded.
  WriteFileText(script,
                "fconfigure stdout -encoding binary\n"
                "entry .e -width 30\n"
                "pack .e\n"
                "bind .e <Return> {\n"
                "  binary scan [encoding convertto utf-8 [.e get]] H* hex\n"
                "  puts \"got $hex\"; flush stdout\n"
                "}\n"
                "update\n"
                "focus -force .e\n"
                "update\n"
                "puts \"ready [tk useinputmethods]\"; flush stdout\n");
  ChildProcess wish;
  const std::string locale = LocaleOf(ClientKind::TkEntry);
  if (!wish.Exec({"wish", script},
                 {{"LC_ALL", locale}, {"LANG", locale}, {"XMODIFIERS", "@im=" + imName}}, log)) {
    t.diagnosis = "cannot start wish";
    return t;
  }
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(kClientStartMs);
  while (ReadFileText(log).find("ready") == std::string::npos &&
         std::chrono::steady_clock::now() < deadline && !wish.Exited()) {
    Sleep(20);
  }
  if (ReadFileText(log).find("ready 1") == std::string::npos) {
    t.diagnosis = "wish did not start with an input method: " + ReadFileText(log);
    return t;
  }
  Display* dpy = XOpenDisplay(nullptr);
  if (!dpy) {
    t.diagnosis = "cannot open the display";
    return t;
  }
  keys.push_back({XK_Return, 0});
  const bool typed = TypeKeys(dpy, keys, pace);
  XCloseDisplay(dpy);
  std::string text;
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  size_t at;
  while ((at = (text = ReadFileText(log)).find("got ")) == std::string::npos &&
         std::chrono::steady_clock::now() < end) {
    Sleep(20);
  }
  wish.Kill();
  if (!typed || at == std::string::npos) {
    t.diagnosis = "the entry printed nothing: " + text;
    return t;
  }
  const size_t eol = text.find('\n', at);
  t.ok = true;
  t.bytes = Unhex(text.substr(at + 4, eol == std::string::npos ? std::string::npos : eol - at - 4));
  return t;
}

// The mapped top-level window named title, or None. Other clients' windows
// may go while we look at them: errors about them are ignored.
Window FindTopLevel(Display* dpy, const std::string& title) {
  const WindowsMayVanish vanishing(dpy);
  Window found = None;
  Window root = 0, parent = 0, *children = nullptr;
  unsigned n = 0;
  if (!XQueryTree(dpy, DefaultRootWindow(dpy), &root, &parent, &children, &n)) n = 0;
  for (unsigned i = 0; i < n && found == None; ++i) {
    char* name = nullptr;
    XWindowAttributes wa;
    if (XFetchName(dpy, children[i], &name) && name && title == name &&
        XGetWindowAttributes(dpy, children[i], &wa) && wa.map_state == IsViewable) {
      found = children[i];
    }
    if (name) XFree(name);
  }
  if (children) XFree(children);
  return found;
}

// zenity --entry through GTK 3's XIM module; Return presses its OK button
// and zenity prints the entry.
Typed TypeIntoGtk(const std::string& imName, std::vector<ScriptKey> keys, Pace pace) {
  Typed t;
  ScratchDir dir;
  const std::string out = dir.File("out"), log = dir.File("log");
  static int serial = 0;
  const std::string title =
      "kvrtest-gtk-" + std::to_string(getpid()) + "-" + std::to_string(++serial);
  const std::string locale = LocaleOf(ClientKind::GtkEntry);
  ChildProcess zenity;
  if (!zenity.Exec({"sh", "-c", "exec zenity --entry --title='" + title + "' > '" + out + "'"},
                   {{"LC_ALL", locale},
                    {"LANG", locale},
                    {"GTK_IM_MODULE", "xim"},
                    {"XMODIFIERS", "@im=" + imName},
                    {"GDK_BACKEND", "x11"},
                    {"NO_AT_BRIDGE", "1"}},
                   log)) {
    t.diagnosis = "cannot start zenity";
    return t;
  }
  Display* dpy = XOpenDisplay(nullptr);
  if (!dpy) {
    t.diagnosis = "cannot open the display";
    return t;
  }
  Window win = None;
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(kClientStartMs);
  while ((win = FindTopLevel(dpy, title)) == None && std::chrono::steady_clock::now() < deadline &&
         !zenity.Exited()) {
    Sleep(50);
  }
  if (win == None) {
    XCloseDisplay(dpy);
    t.diagnosis = "zenity did not show its window: " + ReadFileText(log);
    return t;
  }
  // No window manager gives the dialog the focus: the test does, and GTK
  // opens its input context when the entry gets it.
  Sleep(300);
  return TypeLine(dpy, win, 300, keys, pace, zenity, out, 10000, "zenity printed no entry", log);
}

}  // namespace

const char* ClientName(ClientKind kind) {
  switch (kind) {
    case ClientKind::XlibGbk: return "XlibGbk";
    case ClientKind::XlibUtf8: return "XlibUtf8";
    case ClientKind::XlibGb2312: return "XlibGb2312";
    case ClientKind::XtermUtf8: return "XtermUtf8";
    case ClientKind::XtermGbk: return "XtermGbk";
    case ClientKind::TkEntry: return "TkEntry";
    case ClientKind::GtkEntry: return "GtkEntry";
  }
  return "?";
}

const char* ClientCharset(ClientKind kind) {
  switch (kind) {
    case ClientKind::XlibGbk:
    case ClientKind::XtermGbk: return "GBK";
    case ClientKind::XlibGb2312: return "GB2312";
    default: return "UTF-8";
  }
}

Typed TypeInto(ClientKind kind, const std::string& imName, const std::string& script, Pace pace) {
  std::vector<ScriptKey> keys;
  if (!ParseKeyScript(script, &keys)) {
    Typed t;
    t.diagnosis = "bad key script " + script;
    return t;
  }
  switch (kind) {
    case ClientKind::XlibGbk:
    case ClientKind::XlibUtf8:
    case ClientKind::XlibGb2312: return TypeIntoXlib(kind, imName, keys, pace);
    case ClientKind::XtermUtf8:
    case ClientKind::XtermGbk: return TypeIntoXterm(kind, imName, keys, pace);
    case ClientKind::TkEntry: return TypeIntoTk(imName, keys, pace);
    case ClientKind::GtkEntry: return TypeIntoGtk(imName, keys, pace);
  }
  return {};
}

std::vector<Typed> BurstIntoEachInTurn(const std::string& imName,
                                       const std::vector<ClientScript>& scripts) {
  std::vector<Typed> out(scripts.size());
  std::vector<std::vector<ScriptKey>> keys(scripts.size());
  for (size_t i = 0; i < scripts.size(); ++i) {
    if (!ParseKeyScript(scripts[i].script, &keys[i])) {
      out[i].diagnosis = "bad key script " + scripts[i].script;
      return out;
    }
  }
  // A Tab after each script comes back after everything kvr makes of the
  // keys before it: the client knows it has all when the Tab arrives, as
  // slow as kvr may be. It reports then and stays connected and serving
  // until the end.
  for (auto& k : keys) k.push_back({XK_Tab, 0});
  std::vector<std::unique_ptr<ChildProcess>> children;
  for (const ClientScript& cs : scripts) {
    children.push_back(std::make_unique<ChildProcess>());
    const int index = static_cast<int>(children.size() - 1);
    const bool started = children.back()->Start([&](int fd) {
      alarm(300);
      XimTestClient client;
      const std::string error = OpenXlib(&client, cs.kind, imName);
      if (!error.empty()) {
        ReportLine(fd, "error " + error);
        return 1;
      }
      XMoveWindow(client.Dpy(), client.Win(), 10 + 220 * index, 10);
      XSync(client.Dpy(), False);
      ReportLine(fd, "window " + std::to_string(client.Win()));
      client.Serve(90000,
                   [&] { return !client.Received().empty() && client.Received().back() == '\t'; });
      std::string got = client.Received();
      if (!got.empty() && got.back() == '\t') got.pop_back();
      ReportLine(fd, "got " + Hex(got));
      client.Serve(90000);
      return 0;
    });
    if (!started) {
      out[0].diagnosis = "fork failed";
      return out;
    }
  }
  std::vector<Window> windows;
  for (auto& child : children) {
    if (!child->WaitFor("window ", kClientStartMs) || child->Lines("window ").empty()) {
      out[windows.size()].diagnosis = "client did not start: " + child->Output();
      return out;
    }
    windows.push_back(static_cast<Window>(std::stoul(child->Lines("window ")[0])));
  }
  Display* dpy = XOpenDisplay(nullptr);
  if (!dpy) {
    out[0].diagnosis = "cannot open the display";
    return out;
  }
  for (size_t i = 0; i < windows.size(); ++i) {
    XSetInputFocus(dpy, windows[i], RevertToParent, CurrentTime);
    if (!XTestBurst(dpy, keys[i])) {
      out[i].diagnosis = "no key for " + scripts[i].script;
      continue;
    }
    ChildProcess& child = *children[i];
    const bool reported = child.WaitFor("got ", 100000);
    const std::vector<std::string> got = child.Lines("got ");
    out[i].ok = reported && got.size() == 1;
    if (out[i].ok) out[i].bytes = Unhex(got[0]);
    out[i].diagnosis = "client output: " + child.Output();
  }
  XCloseDisplay(dpy);
  return out;
}

std::string Recode(const std::string& text, const char* charset, const char* from) {
  iconv_t cd = iconv_open(charset, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return "";
  std::string out(text.size() * 4 + 16, '\0');
  char* in = const_cast<char*>(text.data());
  size_t inLeft = text.size();
  char* o = out.data();
  size_t outLeft = out.size();
  const size_t r = iconv(cd, &in, &inLeft, &o, &outLeft);
  iconv_close(cd);
  if (r == static_cast<size_t>(-1)) return "";
  out.resize(out.size() - outLeft);
  return out;
}

std::string Escaped(const std::string& bytes) {
  std::string out;
  char buf[8];
  for (unsigned char c : bytes) {
    if (c >= 0x20 && c < 0x7f && c != '\\') {
      out += static_cast<char>(c);
    } else {
      std::snprintf(buf, sizeof buf, "\\x%02x", c);
      out += buf;
    }
  }
  return out;
}

bool OpenInChineseInput(XimTestClient& client, const std::string& imName, int reportFd,
                        int serveMs) {
  const std::string error = client.Open({imName, "zh_CN.UTF-8"});
  if (!error.empty()) {
    ReportLine(reportFd, "error " + error);
    return false;
  }
  for (int i = 0; i < 2; ++i) {
    client.TapKey(XK_space, ControlMask);
    client.Serve(serveMs);
  }
  return true;
}

}  // namespace kvrtest
