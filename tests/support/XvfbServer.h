// XvfbServer.h: a private X server for one test binary.
//
// Start() runs "Xvfb -displayfd N -noreset ..." so that the server picks a
// free display number itself and tells us once it accepts connections; no
// fixed display number is ever assumed, so test binaries run side by side.
// Stop() ends the server by its PID and reaps it. The child is also told to
// die with the test process (PR_SET_PDEATHSIG), so a crashing test leaves no
// server behind.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace kvrtest {

class XvfbServer {
 public:
  XvfbServer() = default;
  ~XvfbServer() { Stop(); }
  XvfbServer(const XvfbServer&) = delete;
  XvfbServer& operator=(const XvfbServer&) = delete;

  // Starts the server with a 24-bit screen of the given size and any extra
  // arguments (such as "-fp" and a font path). Returns false, with Error()
  // saying why, when Xvfb is missing or does not come up within 20 s.
  [[nodiscard]] bool Start(int width = 1280, int height = 1024,
                           const std::vector<std::string>& extraArgs = {});
  // Ends the server (SIGTERM, then SIGKILL after 5 s) and waits for it.
  // Does nothing when no server runs.
  void Stop();

  bool Running() const { return m_pid > 0; }
  // ":N", valid while Running().
  const std::string& DisplayName() const { return m_display; }
  pid_t Pid() const { return m_pid; }
  const std::string& Error() const { return m_error; }

 private:
  pid_t m_pid = -1;
  std::string m_display;
  std::string m_error;
};

// The server that kvr_xtest_main started for this binary (null in binaries
// that run without one). DISPLAY already names it.
XvfbServer* SharedXvfb();

}  // namespace kvrtest
