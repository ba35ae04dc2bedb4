// kvr as an XIM server, measured on a private Xvfb and side by side with a
// peer input method (Debian's fcitx5 with its pinyin and XIM front end,
// installed by bench/setup_peer.sh):
//   - start-up: from starting kvr (a temporary copy of the distribution
//     directory, a unique XIM name) until the selection "@server=NAME" has
//     an owner, and kvr's resident memory then;
//   - latency through the same Xlib client (tests/support/XimTestClient.h)
//     with real key strokes (XTEST): "zhongguo" and Space until the commit
//     arrives, and a Return that the server hands back, with Chinese input
//     switched on by Ctrl+Space in both servers. The servers take turns in
//     rounds, and which goes first alternates from round to round.
//   - X requests per commit: after the latency rounds, the word typed again
//     while the server's requests are recorded on the X server (RECORD),
//     counted in total and, for those answered with a reply (each a wait
//     for the X server), by type.
// Prints medians and 90th percentiles per server and their ratio, then the
// requests per commit.
//
// kvr offers at start-up to close a running rival input method in a modal
// box: the benchmark refuses to start while a rival runs, starts every kvr
// before the peer, and stops by process id whatever it started, so no box
// is ever left waiting.
//
// XimServers_bench [--starts N] [--rounds N] [--trials N] [--no-peer]
#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "bench/XRequestRecorder.h"
#include "framework/SysUtil.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/KvrProcess.h"
#include "tests/support/TestPaths.h"
#include "tests/support/XTestKeys.h"
#include "tests/support/XimTestClient.h"
#include "tests/support/XvfbServer.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kPeerName = "fcitx";  // the XIM name fcitx5 serves under
constexpr const char* kWord = "zhongguo ";  // typed; Space commits the first candidate
constexpr const char* kClientLocale = "zh_CN.UTF-8";

double MsSince(Clock::time_point t0) {
  return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

// The p-th percentile (nearest rank) of v; 0 for none.
double Percentile(std::vector<double> v, double p) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  size_t rank = static_cast<size_t>(p / 100.0 * static_cast<double>(v.size()) + 0.999999);
  rank = std::clamp<size_t>(rank, 1, v.size());
  return v[rank - 1];
}

// A field of /proc/PID/status in KiB (VmRSS, VmHWM); 0 when unknown.
long ProcStatusKiB(pid_t pid, const char* field) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  const std::string key = std::string(field) + ":";
  while (std::getline(in, line)) {
    if (line.compare(0, key.size(), key) == 0) return std::atol(line.c_str() + key.size());
  }
  return 0;
}

// The CPU time (user and system) pid has used, in milliseconds; 0 when
// unknown.
double CpuMs(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const size_t close = stat.rfind(')');  // the command may hold spaces
  if (close == std::string::npos) return 0;
  std::istringstream fields(stat.substr(close + 2));
  std::string f;
  unsigned long long utime = 0, stime = 0;
  for (int i = 3; i <= 15 && fields >> f; ++i) {
    if (i == 14) utime = std::stoull(f);
    if (i == 15) stime = std::stoull(f);
  }
  return 1000.0 * static_cast<double>(utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// The machine's 1-minute load average, for reading the figures.
std::string LoadAverage() {
  std::ifstream in("/proc/loadavg");
  std::string one;
  in >> one;
  return one.empty() ? "?" : one;
}

bool HasNonAscii(const std::string& s) {
  for (char c : s)
    if (static_cast<unsigned char>(c) >= 0x80) return true;
  return false;
}

bool WaitReady(Display* dpy, const std::string& name, int timeoutMs,
               const std::function<bool()>& alive) {
  const auto t0 = Clock::now();
  while (MsSince(t0) < timeoutMs) {
    if (kvrtest::ImServerReady(dpy, name)) return true;
    if (!alive()) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return false;
}

// ---- The client: one process per server, driven by lines on a pipe.

// Reads one line from fd ("" at the end of the pipe).
std::string ReadCommand(int fd) {
  std::string line;
  char c;
  while (read(fd, &c, 1) == 1) {
    if (c == '\n') return line;
    line += c;
  }
  return line;
}

bool ReturnPassed(const kvrtest::XimTestClient& c, KeyCode code) {
  for (const XKeyEvent& k : c.PassedKeys())
    if (k.type == KeyPress && k.keycode == code) return true;
  return false;
}

// "count N": focuses the client's window, answers "focused" and waits for
// "go" (the server's requests are recorded from then on), then types the
// word N times, each until its commit has arrived and the releases are
// through, and answers "done". False when the pipe closed.
bool CountedCommits(kvrtest::XimTestClient& c, int n, int commands, int report) {
  kvrtest::FocusWindow(c.Dpy(), c.Win());
  c.Serve(100);
  kvrtest::ReportLine(report, "focused");
  if (ReadCommand(commands) != "go") return false;
  for (int i = 0; i < n; ++i) {
    c.Clear();
    kvrtest::XTestType(c.Dpy(), kWord);
    c.Serve(10000, [&] { return HasNonAscii(c.Received()); });
    c.Serve(30);  // the releases
  }
  kvrtest::ReportLine(report, "done");
  return true;
}

// Opens the client on the server imName, switches Chinese input on with
// Ctrl+Space (once more when the word still comes back as typed: kvr keeps
// its input mode across clients) and answers "ready", then runs "batch N"
// commands: N trials of the word and of a Return, one report line each,
// then "done". Ends at "quit" or when the pipe closes.
int RunClient(const std::string& imName, int commands, int report) {
  kvrtest::XimTestClient c;
  kvrtest::XimClientOptions o;
  o.imName = imName;
  o.locale = kClientLocale;
  o.lookup = kvrtest::TextLookup::Utf8;
  const std::string error = c.Open(o);
  if (!error.empty()) {
    kvrtest::ReportLine(report, "ready failed " + error);
    return 1;
  }
  Display* dpy = c.Dpy();
  const auto wordArrived = [&] {
    const std::string& r = c.Received();
    return HasNonAscii(r) || (!r.empty() && r.back() == ' ');
  };
  bool chinese = false;
  double firstMs = 0;
  for (int attempt = 0; attempt < 3 && !chinese; ++attempt) {
    kvrtest::FocusWindow(dpy, c.Win());
    kvrtest::XTestTap(dpy, XK_space, ControlMask);
    c.Serve(300);
    c.Clear();
    const auto t0 = Clock::now();
    kvrtest::XTestType(dpy, kWord);
    // The first conversion may load dictionaries: allow it time.
    c.Serve(30000, wordArrived);
    firstMs = MsSince(t0);
    c.Serve(200);
    chinese = HasNonAscii(c.Received());
  }
  if (!chinese) {
    kvrtest::ReportLine(
        report, "ready failed Ctrl+Space gives no Chinese input (got \"" + c.Received() + "\")");
    return 1;
  }
  kvrtest::ReportLine(report, "ready " + std::to_string(firstMs));
  const KeyCode returnCode = XKeysymToKeycode(dpy, XK_Return);
  for (;;) {
    const std::string cmd = ReadCommand(commands);
    if (cmd.compare(0, 6, "count ") == 0) {
      if (!CountedCommits(c, std::atoi(cmd.c_str() + 6), commands, report)) return 1;
      continue;
    }
    if (cmd.compare(0, 6, "batch ") != 0) break;
    const int n = std::atoi(cmd.c_str() + 6);
    kvrtest::FocusWindow(dpy, c.Win());
    c.Serve(100);
    for (int i = 0; i < n; ++i) {
      c.Clear();
      auto t0 = Clock::now();
      kvrtest::XTestType(dpy, kWord);
      c.Serve(10000, [&] { return HasNonAscii(c.Received()); });
      const double commitMs = MsSince(t0);
      const std::string text = c.Received();
      c.Serve(30);  // the releases
      c.Clear();
      t0 = Clock::now();
      kvrtest::XTestTap(dpy, XK_Return);
      c.Serve(10000, [&] { return ReturnPassed(c, returnCode); });
      const double backMs = MsSince(t0);
      const bool back = ReturnPassed(c, returnCode);
      c.Serve(30);
      char line[160];
      snprintf(line, sizeof line, "trial %.3f %.3f %d ", commitMs, back ? backMs : -1.0,
               back ? 1 : 0);
      kvrtest::ReportLine(report, line + text);
    }
    kvrtest::ReportLine(report, "done");
  }
  return 0;
}

struct Driver {
  std::string label;
  std::string imName;
  kvrtest::ChildProcess proc;
  int commandFd = -1;
  std::vector<double> commitMs, backMs, firstMs;
  int wrongText = 0, notBack = 0;
  std::string text;

  ~Driver() {
    if (commandFd >= 0) close(commandFd);
  }
  bool Start(std::string* why) {
    int p[2];
    if (pipe2(p, O_CLOEXEC) != 0) return false;
    const bool ok = proc.Start([this, p](int report) {
      close(p[1]);
      return RunClient(imName, p[0], report);
    });
    close(p[0]);
    commandFd = p[1];
    if (!ok) return false;
    // The whole "ready" line.
    const auto t0 = Clock::now();
    while (proc.Output().find('\n') == std::string::npos && !proc.Exited() && MsSince(t0) < 90000) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (proc.Output().compare(0, 6, "ready ") != 0 ||
        proc.Output().find("ready failed") != std::string::npos) {
      *why = proc.Output();
      return false;
    }
    for (const std::string& l : proc.Lines("ready ")) firstMs.push_back(std::atof(l.c_str()));
    return true;
  }
  bool Send(const std::string& line) {
    const std::string cmd = line + "\n";
    return write(commandFd, cmd.data(), cmd.size()) == static_cast<ssize_t>(cmd.size());
  }
  // Waits for one more line starting with prefix than there were (before);
  // false when the client ended or took longer than timeoutMs.
  bool WaitLine(const char* prefix, size_t before, double timeoutMs) {
    const auto t0 = Clock::now();
    while (proc.Lines(prefix).size() == before) {
      if (proc.Exited() || MsSince(t0) > timeoutMs) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
  }
  // Runs one batch of n trials; false when the client stopped answering.
  bool Batch(int n) {
    const size_t before = proc.Lines("done").size();
    return Send("batch " + std::to_string(n)) && WaitLine("done", before, 30000.0 * n);
  }
  // Types the word n times while the server (the X client that created
  // serverWindow) is recorded on display. False when the client stopped
  // answering or nothing could be recorded (why says which).
  bool Count(int n, const std::string& display, XID serverWindow, kvrbench::XRequestCounts* counts,
             std::string* why) {
    const size_t focused = proc.Lines("focused").size(), done = proc.Lines("done").size();
    if (!Send("count " + std::to_string(n)) || !WaitLine("focused", focused, 30000.0)) {
      *why = "the client stopped answering";
      return false;
    }
    kvrbench::XRequestRecorder recorder;
    const bool recording = recorder.Start(display, serverWindow, why);
    if (!Send("go") || !WaitLine("done", done, 30000.0 * n)) {
      *why = "the client stopped answering";
      return false;
    }
    // What the server does after the last commit (hiding its panes).
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    *counts = recorder.Stop();
    return recording;
  }
  void Collect(const std::string& expected) {
    for (const std::string& l : proc.Lines("trial ")) {
      double commit = 0, back = 0;
      int ok = 0, used = 0;
      if (sscanf(l.c_str(), "%lf %lf %d %n", &commit, &back, &ok, &used) < 3) continue;
      const std::string got = l.substr(static_cast<size_t>(used));
      commitMs.push_back(commit);
      if (ok)
        backMs.push_back(back);
      else
        ++notBack;
      if (got != expected) ++wrongText;
      text = got;
    }
  }
  void Quit() {
    if (commandFd >= 0) {
      if (write(commandFd, "quit\n", 5) != 5) {}
      close(commandFd);
      commandFd = -1;
    }
    proc.Wait(5000);
  }
};

// ---- The peer.

// A private HOME whose fcitx5 profile has pinyin in the default group
// (Ctrl+Space switches between the keyboard and pinyin, as in kvr).
bool WritePeerProfile(const std::string& home) {
  const std::string dir = home + "/.config/fcitx5";
  if (std::system(
          ("mkdir -p '" + dir + "' '" + home + "/.local/share' '" + home + "/run'").c_str()) != 0)
    return false;
  std::ofstream f(dir + "/profile");
  f << "[Groups/0]\nName=Default\nDefault Layout=us\nDefaultIM=pinyin\n\n"
       "[Groups/0/Items/0]\nName=keyboard-us\nLayout=\n\n"
       "[Groups/0/Items/1]\nName=pinyin\nLayout=\n\n"
       "[GroupOrder]\n0=Default\n";
  return static_cast<bool>(f);
}

bool PeerInstalled() { return std::system("command -v fcitx5 >/dev/null 2>&1") == 0; }

// ---- Output.

void Row(const char* what, const std::vector<double>& kvr, const std::vector<double>& peer,
         const char* unit) {
  const double km = Percentile(kvr, 50), k9 = Percentile(kvr, 90);
  std::printf("%-34s %9.2f %9.2f", what, km, k9);
  if (peer.empty()) {
    std::printf("  %9s %9s  %7s %7s  %s\n", "-", "-", "-", "-", unit);
    return;
  }
  const double pm = Percentile(peer, 50), p9 = Percentile(peer, 90);
  std::printf("  %9.2f %9.2f  %7.2f %7.2f  %s\n", pm, p9, pm > 0 ? km / pm : 0.0,
              p9 > 0 ? k9 / p9 : 0.0, unit);
}

// The X requests one server made over a number of commits.
struct Counted {
  int commits = 0;
  bool ok = false;
  std::string why;  // when not ok
  kvrbench::XRequestCounts counts;
};

void PrintRequestCounts(const std::vector<Driver*>& drivers, const std::vector<Counted>& counted) {
  std::printf(
      "\nX requests per \"zhongguo\" Space commit (key presses and releases until the client "
      "has the text), recorded on the server:\n");
  for (size_t k = 0; k < drivers.size(); ++k) {
    const Counted& c = counted[k];
    if (!c.ok) {
      std::printf("%-8s not counted: %s\n", drivers[k]->label.c_str(), c.why.c_str());
      continue;
    }
    const double n = c.commits;
    std::printf(
        "%-8s %.1f requests, %.1f of them answered with a reply (a wait each), over %d "
        "commits:\n",
        drivers[k]->label.c_str(), static_cast<double>(c.counts.requests) / n,
        static_cast<double>(c.counts.answered) / n, c.commits);
    for (const auto& [type, count] : c.counts.answeredByType)
      std::printf("           %-32s %7.1f\n", type.c_str(), static_cast<double>(count) / n);
  }
}

int Usage() {
  std::fprintf(stderr,
               "usage: XimServers_bench [--starts N] [--rounds N] [--trials N] [--no-peer]\n");
  return 2;
}

}  // namespace

// Xlib keeps some per-process tables (the locale converters' charset lists)
// for the life of the process.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:_XlcAddCT\nleak:_XlcCreateLC\nleak:_XlcCreateLocaleDataBase\nleak:_XOpenLC\n";
}

int main(int argc, char** argv) {
  int starts = 5, rounds = 10, trials = 10;
  bool withPeer = true;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--no-peer") {
      withPeer = false;
    } else if ((a == "--starts" || a == "--rounds" || a == "--trials") && i + 1 < argc) {
      const int v = std::atoi(argv[++i]);
      if (v < 1) return Usage();
      (a == "--starts" ? starts : a == "--rounds" ? rounds : trials) = v;
    } else {
      return Usage();
    }
  }
  setvbuf(stdout, nullptr, _IOLBF, 0);
  const std::string loadAtStart = LoadAverage();

  // kvr would stop in a modal box offering to close a rival.
  for (const char* rival : {"chinput", "fcitx", "xcin", "rfinput"}) {
    char name[16];
    snprintf(name, sizeof name, "%s", rival);
    if (const int pid = FindAppPid(name)) {
      std::fprintf(
          stderr,
          "A rival input method \"%s\" runs (pid %d); kvr would ask to close it. Stop it first.\n",
          rival, pid);
      return 1;
    }
  }
  if (withPeer && !PeerInstalled()) {
    std::fprintf(
        stderr,
        "fcitx5 is not installed (bench/setup_peer.sh installs it); measuring kvr alone.\n");
    withPeer = false;
  }

  kvrtest::XvfbServer xvfb;
  std::vector<std::string> xargs;
  const std::string fontDir = kvrtest::DistDir() + "/fonts";
  std::string fontPath = "/usr/share/fonts/X11/misc,built-ins";
  if (access((fontDir + "/fonts.dir").c_str(), R_OK) == 0) fontPath = fontDir + "," + fontPath;
  if (!xvfb.Start(1280, 1024, {"-fp", fontPath})) {
    std::fprintf(stderr, "cannot start Xvfb: %s\n", xvfb.Error().c_str());
    return 1;
  }
  setenv("DISPLAY", xvfb.DisplayName().c_str(), 1);
  Display* dpy = XOpenDisplay(nullptr);
  if (!dpy) {
    std::fprintf(stderr, "cannot open %s\n", xvfb.DisplayName().c_str());
    return 1;
  }
  if (!kvrtest::HasXTest(dpy)) {
    std::fprintf(stderr, "the X server has no XTEST\n");
    return 1;
  }

  // ---- kvr's start-up, each time from a fresh copy of the distribution.
  std::vector<double> kvrStart, kvrStartCpu, kvrRss;
  for (int i = 0; i < starts; ++i) {
    kvrtest::KvrProcess kvr;
    if (!kvr.Prepare()) {
      std::fprintf(stderr, "cannot copy the distribution directory: %s\n", kvr.Log().c_str());
      return 1;
    }
    const auto t0 = Clock::now();
    if (!kvr.Start(kvrtest::UniqueImName("KvrBench"), 60000)) {
      std::fprintf(stderr, "kvr did not start:\n%s\n", kvr.Log().c_str());
      return 1;
    }
    kvrStart.push_back(MsSince(t0));
    kvrStartCpu.push_back(CpuMs(kvr.Pid()));
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    kvrRss.push_back(ProcStatusKiB(kvr.Pid(), "VmRSS") / 1024.0);
  }

  // ---- Side by side: kvr first, then the peer.
  kvrtest::KvrProcess kvr;
  const std::string kvrName = kvrtest::UniqueImName("KvrBench");
  if (!kvr.Start(kvrName, 60000)) {
    std::fprintf(stderr, "kvr did not start:\n%s\n", kvr.Log().c_str());
    return 1;
  }
  kvrtest::ScratchDir peerHome;
  kvrtest::ChildProcess peer;
  std::vector<double> peerStart, peerStartCpu, peerRss;
  if (withPeer) {
    const std::string home = peerHome.Path();
    if (!WritePeerProfile(home)) {
      std::fprintf(stderr, "cannot write the peer's profile in %s\n", home.c_str());
      return 1;
    }
    const auto t0 = Clock::now();
    const bool started = peer.Exec({"fcitx5", "-D", "--disable=all",
                                    "--enable=xim,xcb,pinyin,punctuation,pinyinhelper,keyboard"},
                                   {{"HOME", home},
                                    {"XDG_CONFIG_HOME", home + "/.config"},
                                    {"XDG_DATA_HOME", home + "/.local/share"},
                                    {"XDG_CACHE_HOME", home + "/.cache"},
                                    {"XDG_RUNTIME_DIR", home + "/run"},
                                    {"DBUS_SESSION_BUS_ADDRESS", "disabled:"},
                                    {"LANG", kClientLocale},
                                    {"LC_ALL", kClientLocale}},
                                   home + "/fcitx5.log");
    if (!started || !WaitReady(dpy, kPeerName, 60000, [&] { return !peer.Exited(); })) {
      std::fprintf(stderr, "fcitx5 did not serve; its log:\n");
      std::system(("cat '" + home + "/fcitx5.log' >&2").c_str());
      return 1;
    }
    peerStart.push_back(MsSince(t0));
    peerStartCpu.push_back(CpuMs(peer.Pid()));
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    peerRss.push_back(ProcStatusKiB(peer.Pid(), "VmRSS") / 1024.0);
  }

  Driver kvrClient, peerClient;
  kvrClient.label = "kvr";
  kvrClient.imName = kvrName;
  peerClient.label = "fcitx5";
  peerClient.imName = kPeerName;
  std::vector<Driver*> drivers = {&kvrClient};
  if (withPeer) drivers.push_back(&peerClient);
  for (Driver* d : drivers) {
    std::string why;
    if (!d->Start(&why)) {
      std::fprintf(stderr, "the client of %s did not get ready: %s\n", d->label.c_str(),
                   why.c_str());
      return 1;
    }
  }
  for (int r = 0; r < rounds; ++r) {
    for (size_t k = 0; k < drivers.size(); ++k) {
      Driver* d = drivers[(k + static_cast<size_t>(r)) % drivers.size()];
      if (!d->Batch(trials)) {
        std::fprintf(stderr, "the client of %s stopped answering:\n%s\n", d->label.c_str(),
                     d->proc.Output().c_str());
        return 1;
      }
    }
  }
  std::vector<double> kvrRssAfter, peerRssAfter;
  kvrRssAfter.push_back(ProcStatusKiB(kvr.Pid(), "VmRSS") / 1024.0);
  if (withPeer) peerRssAfter.push_back(ProcStatusKiB(peer.Pid(), "VmRSS") / 1024.0);
  // Recording slows the server down: the requests are counted after the
  // latency rounds, in commits of their own.
  std::vector<Counted> counted(drivers.size());
  std::string noRecord;
  if (kvrbench::XRequestRecorder::Available(xvfb.DisplayName(), &noRecord)) {
    for (size_t k = 0; k < drivers.size(); ++k) {
      Counted& c = counted[k];
      c.commits = trials;
      const std::string selection = "@server=" + drivers[k]->imName;
      const Window owner = XGetSelectionOwner(dpy, XInternAtom(dpy, selection.c_str(), False));
      if (!owner)
        c.why = "nobody owns " + selection;
      else
        c.ok = drivers[k]->Count(trials, xvfb.DisplayName(), owner, &c.counts, &c.why);
    }
  } else {
    for (Counted& c : counted) c.why = noRecord;
  }
  for (Driver* d : drivers) {
    d->Quit();
    d->Collect("中国");
  }
  peer.Kill(SIGTERM);
  peer.Wait(10000);
  kvr.Stop();
  XCloseDisplay(dpy);

  std::printf("\nXIM servers on a private Xvfb; client: Xlib in %s, over-the-spot, XTEST keys.\n",
              kClientLocale);
  std::printf(
      "Latency: %d rounds x %d trials per server, the first server alternating per round.\n",
      rounds, trials);
  std::printf("Start-up: kvr %d times from a fresh copy of the distribution; the peer once.\n\n",
              starts);
  std::printf("%-34s %19s  %19s  %15s\n", "", "kvr", "fcitx5", "kvr/fcitx5");
  std::printf("%-34s %9s %9s  %9s %9s  %7s %7s\n", "", "median", "p90", "median", "p90", "median",
              "p90");
  Row("\"zhongguo\" Space -> commit", kvrClient.commitMs, peerClient.commitMs, "ms");
  Row("Return handed back", kvrClient.backMs, peerClient.backMs, "ms");
  Row("start-up to XIM-ready", kvrStart, peerStart, "ms");
  Row("CPU time used until XIM-ready", kvrStartCpu, peerStartCpu, "ms");
  Row("first commit after start-up", kvrClient.firstMs, peerClient.firstMs, "ms");
  Row("RSS when ready", kvrRss, peerRss, "MiB");
  Row("RSS after the typing", kvrRssAfter, peerRssAfter, "MiB");
  std::printf(
      "\nkvr/fcitx5 below 1: kvr is faster or smaller. Load average: %s at the start, %s at the "
      "end.\n",
      loadAtStart.c_str(), LoadAverage().c_str());
  PrintRequestCounts(drivers, counted);
  for (Driver* d : drivers) {
    std::printf("%s committed \"%s\"; %d of %zu commits differed, %d Returns not handed back.\n",
                d->label.c_str(), d->text.c_str(), d->wrongText, d->commitMs.size(), d->notBack);
  }
  return 0;
}
