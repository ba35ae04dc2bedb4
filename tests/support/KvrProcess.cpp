#include "tests/support/KvrProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <thread>

#include "tests/support/FileText.h"

namespace kvrtest {

std::string UniqueImName(const std::string& prefix) {
  static int counter = 0;
  return prefix + std::to_string(getpid()) + "_" + std::to_string(++counter);
}

bool ImServerReady(Display* dpy, const std::string& name) {
  const Atom sel = XInternAtom(dpy, ("@server=" + name).c_str(), False);
  return XGetSelectionOwner(dpy, sel) != None;
}

bool KvrProcess::Prepare() {
  if (m_prepared) return true;
  std::error_code ec;
  std::filesystem::copy(DistDir(), Dir(),
                        std::filesystem::copy_options::recursive |
                            std::filesystem::copy_options::copy_symlinks |
                            std::filesystem::copy_options::overwrite_existing,
                        ec);
  if (ec) {
    m_error = "copying " + DistDir() + ": " + ec.message();
    return false;
  }
  m_prepared = true;
  return true;
}

bool KvrProcess::Start(const std::string& imName, int timeoutMs,
                       const std::vector<std::pair<std::string, std::string>>& env) {
  Stop();
  m_error.clear();
  if (!Prepare()) return false;
  m_name = imName;
  const std::string prog = File("kvr");
  const std::string log = File("kvr.log");
  const pid_t parent = getpid();
  m_pid = fork();
  if (m_pid < 0) {
    m_error = "fork failed";
    return false;
  }
  if (m_pid == 0) {
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent) _exit(127);
    setenv("XMODIFIERS", ("@im=" + imName).c_str(), 1);
    for (const auto& [name, value] : env) setenv(name.c_str(), value.c_str(), 1);
    const int in = open("/dev/null", O_RDONLY);
    const int out = open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    if (in >= 0) dup2(in, 0);
    if (out >= 0) {
      dup2(out, 1);
      dup2(out, 2);
    }
    execl(prog.c_str(), prog.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  Display* dpy = XOpenDisplay(nullptr);
  if (!dpy) {
    m_error = "cannot open the display";
    return false;
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  bool up = false;
  while (!up) {
    up = ImServerReady(dpy, imName);
    if (up) break;
    int status = 0;
    if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
      m_pid = -1;
      m_error = "kvr ended with status " + std::to_string(status);
      break;
    }
    if (std::chrono::steady_clock::now() >= deadline) {
      m_error = "kvr did not serve within the time allowed";
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  XCloseDisplay(dpy);
  return up;
}

int KvrProcess::Stop() {
  if (m_pid <= 0) return -1;
  kill(m_pid, SIGTERM);
  int status = -1;
  for (int i = 0; i < 2000; ++i) {
    const pid_t r = waitpid(m_pid, &status, WNOHANG);
    if (r == m_pid || (r < 0 && errno == ECHILD)) {
      m_pid = -1;
      return status;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  kill(m_pid, SIGKILL);
  waitpid(m_pid, &status, 0);
  m_pid = -1;
  return status;
}

void KvrProcess::Kill() {
  if (m_pid <= 0) return;
  kill(m_pid, SIGKILL);
  waitpid(m_pid, nullptr, 0);
  m_pid = -1;
}

std::string KvrProcess::Log() const {
  std::string log = ReadFileText(m_dir.File("kvr.log"));
  if (!m_error.empty()) log += "[harness] " + m_error + "\n";
  return log;
}

}  // namespace kvrtest
