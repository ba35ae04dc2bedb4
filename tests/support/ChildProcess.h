// ChildProcess.h: a process a test starts and ends by its process id.
//
// Either a forked copy of the test that runs a function and reports lines
// over a pipe (an X client in a locale of its own, a client to be killed
// mid-input), or a program run with extra environment (xterm, wish). The
// child is told to die with the test process (PR_SET_PDEATHSIG), and the
// destructor kills and reaps a child still running, so a failing test
// leaves nothing behind.
#pragma once

#include <sys/types.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace kvrtest {

// Writes one line to a report pipe; a child that cannot report ends (90).
void ReportLine(int fd, const std::string& line);
// Bytes as lower-case hex digits, and back: received text travels in a
// report line whatever bytes it holds.
std::string Hex(const std::string& bytes);
std::string Unhex(const std::string& hex);

class ChildProcess {
 public:
  ChildProcess() = default;
  ~ChildProcess() { Kill(); }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Forks; the child runs body with the write end of the report pipe and
  // ends with its result as exit status. False when fork fails.
  bool Start(const std::function<int(int reportFd)>& body);
  // Runs a program (looked up in PATH) with these environment variables
  // added or replaced; its standard output and error go to logPath (or
  // /dev/null when empty).
  bool Exec(const std::vector<std::string>& argv,
            const std::vector<std::pair<std::string, std::string>>& env = {},
            const std::string& logPath = "");

  // Reads what the child has reported so far, without blocking.
  void Drain();
  // Whether the child has ended (reaps it; non-blocking).
  bool Exited();
  // Waits up to timeoutMs for the child to end, killing it after that;
  // its exit status, 100 + the signal when a signal ended it, -1 when no
  // child ran.
  int Wait(int timeoutMs);
  // Waits until the report holds `text` or the child ends or timeoutMs
  // pass; whether the text came.
  bool WaitFor(const std::string& text, int timeoutMs);
  // Sends sig; SIGKILL also reaps the child.
  void Kill(int sig = 9);

  bool Running() const { return m_pid > 0; }
  pid_t Pid() const { return m_pid; }
  const std::string& Output() const { return m_output; }
  // Lines of the report that start with prefix, prefix cut off.
  std::vector<std::string> Lines(const std::string& prefix) const;
  // The status Wait() last saw, as Wait() returns it.
  int ExitStatus() const { return m_status; }

 private:
  void Reaped(int rawStatus);

  pid_t m_pid = -1;
  int m_fd = -1;
  int m_status = -1;
  std::string m_output;
};

}  // namespace kvrtest
