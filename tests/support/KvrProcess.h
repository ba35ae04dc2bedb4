// KvrProcess.h: kvr as the end-to-end tests run it: from a copy of the
// distribution directory of its own (so its profile, lexicon and learned
// order are the test's), under an XIM name of its own, on the display in
// DISPLAY, stopped by its process id.
//
// Start() is done when the selection "@server=NAME" has an owner: the root
// window's XIM_SERVERS list may still name a server killed earlier, so it is
// no sign of readiness. Include after <gtest/gtest.h> in tests.
#pragma once

#include <X11/Xlib.h>
#include <sys/types.h>

#include <string>
#include <utility>
#include <vector>

#include "tests/support/TestPaths.h"

namespace kvrtest {

// A name no other server of this test process uses: prefix, process id and
// a counter.
std::string UniqueImName(const std::string& prefix);

// Whether the selection "@server=NAME" has an owner.
bool ImServerReady(Display* dpy, const std::string& name);

class KvrProcess {
 public:
  KvrProcess() = default;
  ~KvrProcess() { Stop(); }
  KvrProcess(const KvrProcess&) = delete;
  KvrProcess& operator=(const KvrProcess&) = delete;

  // Copies the distribution directory into Dir() (once). A test may change
  // files there (the profile) before Start.
  bool Prepare();
  // Prepares, then runs Dir()/kvr with XMODIFIERS=@im=NAME and waits up to
  // timeoutMs for the server's selection. False (with Log() telling why)
  // when kvr ends or does not serve in time.
  [[nodiscard]] bool Start(const std::string& imName, int timeoutMs = 60000,
                           const std::vector<std::pair<std::string, std::string>>& env = {});
  // SIGTERM, as at the end of a session, then SIGKILL after 20 s; the raw
  // wait status, -1 when kvr was not running.
  int Stop();
  // SIGKILL: kvr leaves its XIM_SERVERS entry behind.
  void Kill();

  bool Running() const { return m_pid > 0; }
  pid_t Pid() const { return m_pid; }
  const std::string& Name() const { return m_name; }
  const std::string& Dir() const { return m_dir.Path(); }
  std::string File(const std::string& name) const { return m_dir.File(name); }
  // What kvr wrote on stdout and stderr.
  std::string Log() const;

 private:
  ScratchDir m_dir;
  bool m_prepared = false;
  pid_t m_pid = -1;
  std::string m_name;
  std::string m_error;
};

}  // namespace kvrtest
