#include "tests/support/KvrClients.h"

#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <iconv.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

#include "tests/support/ChildProcess.h"
#include "tests/support/FileText.h"
#include "tests/support/TestPaths.h"
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
  }
  return "C";
}

// Real keys to whatever window has the focus, as kvrtest types them.
bool TypeKeys(Display* dpy, const std::vector<ScriptKey>& keys) {
  for (size_t i = 0; i < keys.size(); ++i) {
    if (!XTestKey(dpy, keys[i].sym, keys[i].state, true)) return false;
    XTestKey(dpy, keys[i].sym, keys[i].state, false);
    Sleep(kGapMs);
  }
  return true;
}

// Our Xlib client in a child process; it types into itself.
Typed TypeIntoXlib(ClientKind kind, const std::string& imName, const std::vector<ScriptKey>& keys) {
  ChildProcess child;
  const bool started = child.Start([&](int fd) {
    alarm(60);
    XimClientOptions options{imName, LocaleOf(kind)};
    options.lookup = kind == ClientKind::XlibUtf8 ? TextLookup::Utf8 : TextLookup::Mb;
    XimTestClient client;
    const std::string error = client.Open(options);
    if (!error.empty()) {
      ReportLine(fd, "error " + error);
      return 1;
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
  Typed t;
  if (!started) {
    t.diagnosis = "fork failed";
    return t;
  }
  const int status = child.Wait(60000);
  const std::vector<std::string> got = child.Lines("got ");
  t.ok = status == 0 && got.size() == 1;
  if (t.ok) t.bytes = Unhex(got[0]);
  t.diagnosis = "client status " + std::to_string(status) + ": " + child.Output();
  return t;
}

// Waits until path holds at least one line (ends in '\n') or ms pass.
std::string WaitForLine(const std::string& path, int ms) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  for (;;) {
    std::string text = ReadFileText(path);
    if ((!text.empty() && text.back() == '\n') || std::chrono::steady_clock::now() >= deadline) return text;
    Sleep(20);
  }
}

Typed TypeIntoXterm(ClientKind kind, const std::string& imName, std::vector<ScriptKey> keys) {
  Typed t;
  ScratchDir dir;
  const std::string wid = dir.File("wid"), out = dir.File("out"), log = dir.File("log");
  const std::string locale = LocaleOf(kind);
  ChildProcess xterm;
  // WINDOWID names the VT100 window; it exists (and the input context with
  // it) before the shell runs.
  if (!xterm.Exec({"xterm", "-geometry", "60x8+0+0", "-e", "sh", "-c",
                   "echo $WINDOWID > '" + wid + ".tmp' && mv '" + wid + ".tmp' '" + wid + "' && exec cat > '" +
                       out + "'"},
                  {{"LC_ALL", locale}, {"LANG", locale}, {"XMODIFIERS", "@im=" + imName}}, log)) {
    t.diagnosis = "cannot start xterm";
    return t;
  }
  std::string id;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kClientStartMs);
  while ((id = ReadFileText(wid)).empty() && std::chrono::steady_clock::now() < deadline && !xterm.Exited()) Sleep(20);
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
  FocusWindow(dpy, static_cast<Window>(std::stoul(id)));
  keys.push_back({XK_Return, 0});
  const bool typed = TypeKeys(dpy, keys);
  XCloseDisplay(dpy);
  std::string text = WaitForLine(out, 5000);
  xterm.Kill();
  if (!typed || text.empty() || text.back() != '\n') {
    t.diagnosis = "no line from cat: '" + Escaped(text) + "' " + ReadFileText(log);
    return t;
  }
  text.pop_back();
  t.ok = true;
  t.bytes = text;
  return t;
}

Typed TypeIntoTk(const std::string& imName, std::vector<ScriptKey> keys) {
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
  if (!wish.Exec({"wish", script}, {{"LC_ALL", locale}, {"LANG", locale}, {"XMODIFIERS", "@im=" + imName}}, log)) {
    t.diagnosis = "cannot start wish";
    return t;
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kClientStartMs);
  while (ReadFileText(log).find("ready") == std::string::npos && std::chrono::steady_clock::now() < deadline &&
         !wish.Exited()) {
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
  const bool typed = TypeKeys(dpy, keys);
  XCloseDisplay(dpy);
  std::string text;
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  size_t at;
  while ((at = (text = ReadFileText(log)).find("got ")) == std::string::npos && std::chrono::steady_clock::now() < end) {
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

}  // namespace

const char* ClientName(ClientKind kind) {
  switch (kind) {
    case ClientKind::XlibGbk: return "XlibGbk";
    case ClientKind::XlibUtf8: return "XlibUtf8";
    case ClientKind::XlibGb2312: return "XlibGb2312";
    case ClientKind::XtermUtf8: return "XtermUtf8";
    case ClientKind::XtermGbk: return "XtermGbk";
    case ClientKind::TkEntry: return "TkEntry";
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

Typed TypeInto(ClientKind kind, const std::string& imName, const std::string& script) {
  std::vector<ScriptKey> keys;
  if (!ParseKeyScript(script, &keys)) {
    Typed t;
    t.diagnosis = "bad key script " + script;
    return t;
  }
  switch (kind) {
    case ClientKind::XlibGbk:
    case ClientKind::XlibUtf8:
    case ClientKind::XlibGb2312: return TypeIntoXlib(kind, imName, keys);
    case ClientKind::XtermUtf8:
    case ClientKind::XtermGbk: return TypeIntoXterm(kind, imName, keys);
    case ClientKind::TkEntry: return TypeIntoTk(imName, keys);
  }
  return {};
}

std::string Recode(const std::string& text, const char* charset) {
  iconv_t cd = iconv_open(charset, "UTF-8");
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

}  // namespace kvrtest
