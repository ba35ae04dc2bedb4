// The kernel's signal policy, each case in a child process: crashes die of
// their signal, terminations run the exit callback (which may write files)
// from the loop and exit 0, SIGCHLD does not break pclose/system.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "framework/AfcKernel.h"
#include "framework/CWinApp.h"
#include "framework/internal/Signals.h"
#include "tests/support/TestPaths.h"

namespace {

// Runs body in a child with the kernel's handlers installed; returns the
// raw wait status.
template <class Body>
int InChild(Body body) {
  std::fflush(nullptr);
  const pid_t pid = fork();
  if (pid == 0) {
    afc::InstallSignalHandlers();
    body();
    _exit(99);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return status;
}

std::string g_record;
void RecordingCallback(int sig) { std::ofstream(g_record) << "saved on " << sig; }

}  // namespace

TEST(Signals, PolicyTable) {
  using A = afc::SignalAction;
  struct Case {
    int sig;
    A want;
  } const cases[] = {{SIGSEGV, A::Crash},    {SIGBUS, A::Crash},      {SIGFPE, A::Crash},
                     {SIGILL, A::Crash},     {SIGABRT, A::Crash},     {SIGTERM, A::Terminate},
                     {SIGHUP, A::Terminate}, {SIGPIPE, A::Terminate}, {SIGUSR1, A::Terminate},
                     {SIGALRM, A::Ignore},   {SIGCHLD, A::Ignore},    {SIGINT, A::Default},
                     {SIGQUIT, A::Default},  {SIGCONT, A::Default},   {SIGURG, A::Default},
                     {SIGWINCH, A::Default}, {SIGTSTP, A::Default},   {SIGTTIN, A::Default},
                     {SIGTTOU, A::Default}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.sig);
    EXPECT_EQ(afc::ActionForSignal(c.sig), c.want);
  }
}

TEST(Signals, CrashSignalsKillTheProcessNotExitZero) {
  for (int sig : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT}) {
    SCOPED_TRACE(sig);
    const int status = InChild([sig] { raise(sig); });
    ASSERT_TRUE(WIFSIGNALED(status)) << "status " << status;
    EXPECT_EQ(WTERMSIG(status), sig);
  }
}

TEST(Signals, RealFaultStillDies) {
  const int status = InChild([] {
    // A write to a page without access: the faulting store runs again
    // after the handler returns and must then kill the process.
    void* page = mmap(nullptr, 4096, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    *static_cast<volatile int*>(page) = 1;
  });
  ASSERT_TRUE(WIFSIGNALED(status));
  EXPECT_EQ(WTERMSIG(status), SIGSEGV);
}

TEST(Signals, TerminationRunsTheExitCallbackFromTheLoopAndExitsZero) {
  kvrtest::ScratchDir dir;
  for (int sig : {SIGTERM, SIGHUP}) {
    SCOPED_TRACE(sig);
    g_record = dir.File("saved" + std::to_string(sig));
    const int status = InChild([sig] {
      SetExceptionHandler(RecordingCallback);
      raise(sig);
      // The handler only recorded it; nothing has run yet.
      if (std::ifstream(g_record).good()) _exit(3);
      AfcRunPendingSignal();
      _exit(4);  // not reached
    });
    ASSERT_TRUE(WIFEXITED(status)) << status;
    EXPECT_EQ(WEXITSTATUS(status), 0);
    std::ifstream in(g_record);
    std::string text;
    std::getline(in, text);
    EXPECT_EQ(text, "saved on " + std::to_string(sig));
  }
}

TEST(Signals, ChildrenStillReportTheirStatus) {
  const int status = InChild([] {
    struct sigaction sa {};
    sigaction(SIGCHLD, nullptr, &sa);
    if (sa.sa_handler == SIG_IGN || sa.sa_handler == SIG_DFL) _exit(5);
    const int rc = std::system("exit 7");
    _exit(WIFEXITED(rc) ? WEXITSTATUS(rc) : 6);
  });
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 7);
}

TEST(Signals, AlarmAndJobControlDoNotEndTheProcess) {
  const int status = InChild([] {
    raise(SIGALRM);
    raise(SIGCHLD);
    raise(SIGWINCH);
    raise(SIGURG);
    AfcRunPendingSignal();  // nothing pending
    _exit(11);
  });
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 11);
}

TEST(Signals, ProgramExitCallbackReportsAndExitsZero) {
  const int status = InChild([] { ExceptionHandler(SIGTERM); });
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  const int quiet = InChild([] {
    ExceptionHandler(SIGALRM);
    ExceptionHandler(SIGCHLD);
    _exit(12);
  });
  EXPECT_EQ(WEXITSTATUS(quiet), 12);
}
