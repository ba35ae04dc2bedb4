#include "tests/support/XvfbServer.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

namespace kvrtest {

namespace {

// Reads the display number Xvfb writes to -displayfd, waiting up to timeoutMs.
// Returns "" on timeout or when the pipe closes first (Xvfb died).
std::string ReadDisplayNumber(int fd, int timeoutMs) {
  std::string number;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    int left = static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                    deadline - std::chrono::steady_clock::now())
                                    .count());
    if (left <= 0) return "";
    pollfd p{fd, POLLIN, 0};
    int r = poll(&p, 1, left);
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) return "";
    char buf[32];
    ssize_t n = read(fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return "";
    for (ssize_t i = 0; i < n; ++i) {
      if (buf[i] == '\n') return number;
      if (buf[i] >= '0' && buf[i] <= '9') number += buf[i];
    }
  }
}

}  // namespace

bool XvfbServer::Start(int width, int height, const std::vector<std::string>& extraArgs) {
  Stop();
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) {
    m_error = std::string("pipe: ") + strerror(errno);
    return false;
  }
  std::vector<std::string> args = {
      "Xvfb",     "-displayfd", std::to_string(fds[1]),
      "-noreset", "-nolisten",  "tcp",
      "-screen",  "0",          std::to_string(width) + "x" + std::to_string(height) + "x24"};
  args.insert(args.end(), extraArgs.begin(), extraArgs.end());

  pid_t parent = getpid();
  pid_t pid = fork();
  if (pid < 0) {
    m_error = std::string("fork: ") + strerror(errno);
    close(fds[0]);
    close(fds[1]);
    return false;
  }
  if (pid == 0) {
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != parent) _exit(127);
    close(fds[0]);
    fcntl(fds[1], F_SETFD, 0);  // the write end must survive exec
    int devnull = open("/dev/null", O_RDWR);
    if (devnull >= 0) {
      dup2(devnull, 0);
      dup2(devnull, 1);
      if (!getenv("KVR_XVFB_VERBOSE")) dup2(devnull, 2);
    }
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    execvp("Xvfb", argv.data());
    _exit(127);
  }
  close(fds[1]);
  m_pid = pid;
  std::string number = ReadDisplayNumber(fds[0], 20000);
  close(fds[0]);
  if (number.empty()) {
    m_error = "Xvfb did not report a display within 20 s (is the xvfb package installed?)";
    Stop();
    return false;
  }
  m_display = ":" + number;
  return true;
}

void XvfbServer::Stop() {
  if (m_pid <= 0) return;
  kill(m_pid, SIGTERM);
  for (int i = 0; i < 500; ++i) {
    int status;
    pid_t r = waitpid(m_pid, &status, WNOHANG);
    if (r == m_pid || (r < 0 && errno == ECHILD)) {
      m_pid = -1;
      m_display.clear();
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  kill(m_pid, SIGKILL);
  waitpid(m_pid, nullptr, 0);
  m_pid = -1;
  m_display.clear();
}

}  // namespace kvrtest
