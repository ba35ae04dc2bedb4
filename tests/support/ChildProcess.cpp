#include "tests/support/ChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <execinfo.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <sstream>
#include <thread>

namespace kvrtest {

void ReportLine(int fd, const std::string& line) {
  const std::string l = line + "\n";
  size_t done = 0;
  while (done < l.size()) {
    const ssize_t n = write(fd, l.data() + done, l.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) _exit(90);
    done += static_cast<size_t>(n);
  }
}

std::string Hex(const std::string& bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string out;
  for (unsigned char c : bytes) {
    out += digits[c >> 4];
    out += digits[c & 15];
  }
  return out;
}

std::string Unhex(const std::string& hex) {
  std::string out;
  for (size_t i = 0; i + 1 < hex.size(); i += 2)
    out += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
  return out;
}

namespace {

// In the child, right after fork: die with the parent.
void DieWithParent(pid_t parent) {
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  if (getppid() != parent) _exit(127);
}

// A child that crashes writes where to its report before it dies, so the
// test's diagnosis says more than a signal number. (AddressSanitizer
// reports crashes itself, with more detail.)
#ifndef __SANITIZE_ADDRESS__
int g_crashFd = -1;

void ReportCrash(int sig) {
  if (g_crashFd >= 0) {
    static const char head[] = "crash: backtrace\n";
    (void)!write(g_crashFd, head, sizeof head - 1);
    void* frames[48];
    backtrace_symbols_fd(frames, backtrace(frames, 48), g_crashFd);
  }
  signal(sig, SIG_DFL);
  raise(sig);
}

void ReportCrashesTo(int fd) {
  g_crashFd = fd;
  void* warm[1];
  backtrace(warm, 1);  // loads the unwinder now, not inside the handler
  for (int sig : {SIGSEGV, SIGBUS, SIGABRT, SIGFPE, SIGILL}) signal(sig, ReportCrash);
}
#else
void ReportCrashesTo(int) {}
#endif

}  // namespace

bool ChildProcess::Start(const std::function<int(int reportFd)>& body) {
  Kill();
  int p[2];
  if (pipe2(p, O_CLOEXEC) != 0) return false;
  const pid_t parent = getpid();
  const pid_t pid = fork();
  if (pid < 0) {
    close(p[0]);
    close(p[1]);
    return false;
  }
  if (pid == 0) {
    DieWithParent(parent);
    close(p[0]);
    ReportCrashesTo(p[1]);
    const int rc = body(p[1]);
    _exit(rc);
  }
  close(p[1]);
  m_pid = pid;
  m_fd = p[0];
  m_status = -1;
  m_output.clear();
  return true;
}

bool ChildProcess::Exec(const std::vector<std::string>& argv,
                        const std::vector<std::pair<std::string, std::string>>& env,
                        const std::string& logPath) {
  Kill();
  if (argv.empty()) return false;
  const pid_t parent = getpid();
  const pid_t pid = fork();
  if (pid < 0) return false;
  if (pid == 0) {
    DieWithParent(parent);
    for (const auto& [name, value] : env) setenv(name.c_str(), value.c_str(), 1);
    const int in = open("/dev/null", O_RDONLY);
    const int out = logPath.empty() ? open("/dev/null", O_WRONLY)
                                    : open(logPath.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    if (in >= 0) dup2(in, 0);
    if (out >= 0) {
      dup2(out, 1);
      dup2(out, 2);
    }
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    execvp(args[0], args.data());
    _exit(127);
  }
  m_pid = pid;
  m_fd = -1;
  m_status = -1;
  m_output.clear();
  return true;
}

void ChildProcess::Drain() {
  if (m_fd < 0) return;
  for (;;) {
    pollfd p{m_fd, POLLIN, 0};
    if (poll(&p, 1, 0) <= 0 || !(p.revents & (POLLIN | POLLHUP))) return;
    char buf[512];
    const ssize_t n = read(m_fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      close(m_fd);
      m_fd = -1;
      return;
    }
    m_output.append(buf, static_cast<size_t>(n));
  }
}

void ChildProcess::Reaped(int rawStatus) {
  m_pid = -1;
  m_status = WIFEXITED(rawStatus) ? WEXITSTATUS(rawStatus) : 100 + WTERMSIG(rawStatus);
  Drain();
  if (m_fd >= 0) {
    close(m_fd);
    m_fd = -1;
  }
}

bool ChildProcess::Exited() {
  Drain();
  if (m_pid <= 0) return true;
  int raw = 0;
  const pid_t r = waitpid(m_pid, &raw, WNOHANG);
  if (r == m_pid) {
    Reaped(raw);
    return true;
  }
  if (r < 0 && errno == ECHILD) {
    m_pid = -1;
    return true;
  }
  return false;
}

int ChildProcess::Wait(int timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!Exited()) {
    if (std::chrono::steady_clock::now() >= deadline) {
      Kill();
      return m_status;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return m_status;
}

bool ChildProcess::WaitFor(const std::string& text, int timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    const bool ended = Exited();
    if (m_output.find(text) != std::string::npos) return true;
    if (ended || std::chrono::steady_clock::now() >= deadline) return false;
    if (m_fd >= 0) {
      pollfd p{m_fd, POLLIN, 0};
      poll(&p, 1, 10);
    } else {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  }
}

void ChildProcess::Kill(int sig) {
  if (m_pid <= 0) return;
  kill(m_pid, sig);
  if (sig != SIGKILL) return;
  int raw = 0;
  if (waitpid(m_pid, &raw, 0) == m_pid) {
    Reaped(raw);
  } else {
    m_pid = -1;
  }
}

std::vector<std::string> ChildProcess::Lines(const std::string& prefix) const {
  std::vector<std::string> out;
  std::istringstream s(m_output);
  for (std::string l; std::getline(s, l);) {
    if (l.compare(0, prefix.size(), prefix) == 0) out.push_back(l.substr(prefix.size()));
  }
  return out;
}

}  // namespace kvrtest
