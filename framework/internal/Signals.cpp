#include "framework/internal/Signals.h"

#include <signal.h>
#include <unistd.h>

#include <cstring>

#include "framework/AfcKernel.h"

namespace afc {
namespace {

volatile sig_atomic_t g_pending = 0;

// Writes text and the decimal sig to stderr with async-signal-safe calls.
void WriteReport(const char* before, int sig, const char* after) {
  char digits[12];
  int n = 0;
  unsigned v = static_cast<unsigned>(sig);
  do {
    digits[n++] = static_cast<char>('0' + v % 10);
    v /= 10;
  } while (v && n < 11);
  char buf[128];
  size_t len = 0;
  auto put = [&](const char* s, size_t k) {
    if (len + k > sizeof buf) k = sizeof buf - len;
    std::memcpy(buf + len, s, k);
    len += k;
  };
  put(before, std::strlen(before));
  while (n > 0) put(&digits[--n], 1);
  put(after, std::strlen(after));
  ssize_t ignored = write(STDERR_FILENO, buf, len);
  (void)ignored;
}

}  // namespace

SignalAction ActionForSignal(int sig) {
  switch (sig) {
    case SIGSEGV:
    case SIGBUS:
    case SIGFPE:
    case SIGILL:
    case SIGABRT:
    case SIGSYS:
    case SIGTRAP: return SignalAction::Crash;
    case SIGHUP:
    case SIGTERM:
    case SIGUSR1:
    case SIGUSR2:
    case SIGPIPE:
    case SIGXCPU:
    case SIGXFSZ:
    case SIGVTALRM:
    case SIGPROF:
    case SIGPWR:
#ifdef SIGSTKFLT
    case SIGSTKFLT:
#endif
      return SignalAction::Terminate;
    case SIGALRM:
    case SIGCHLD: return SignalAction::Ignore;
    default: return SignalAction::Default;
  }
}

void InstallSignalHandlers() {
  for (int sig = 1; sig < 32; ++sig) {
    if (ActionForSignal(sig) == SignalAction::Default) continue;
    struct sigaction sa {};
    sa.sa_handler = &KnlExceptionHandler;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    sigaction(sig, &sa, nullptr);
  }
}

int TakePendingSignal() {
  const int sig = g_pending;
  g_pending = 0;
  return sig;
}

void RaisePendingSignalForTest(int sig) { g_pending = sig; }

}  // namespace afc

void KnlExceptionHandler(int sig) {
  using afc::SignalAction;
  const SignalAction action = afc::ActionForSignal(sig);
  if (action == SignalAction::Ignore || action == SignalAction::Default) return;
  if (sig != SIGHUP) afc::WriteReport("\nKnlExceptionHandler:\n\tException ", sig, "\n\n");
  if (action == SignalAction::Crash) {
    signal(sig, SIG_DFL);
    raise(sig);
    return;
  }
  afc::g_pending = sig;
}
