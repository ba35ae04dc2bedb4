// Signals.h: the kernel's signal policy. Nothing of the program runs inside
// the handler: it only writes a report with write(2), records a terminating
// signal, or re-raises a crash.
//
//   crash (SEGV, BUS, FPE, ILL, ABRT, SYS, TRAP): report, then re-raise with
//       the default action, so the process dies of the signal (never status 0)
//   terminate (HUP, TERM, USR1, USR2, PIPE, STKFLT, XCPU, XFSZ, VTALRM, PROF,
//       PWR): report (not for HUP) and record; the loops then call the
//       program's exit callback, which may save, and exit with status 0
//   ignore (ALRM, CHLD): a handler that does nothing (not SIG_IGN, so that
//       pclose and system still see their children end)
//   default (INT, QUIT, CONT, TSTP, TTIN, TTOU, URG, WINCH; KILL and STOP
//       cannot be caught)
#pragma once

namespace afc {

enum class SignalAction { Default, Ignore, Terminate, Crash };

SignalAction ActionForSignal(int sig);

// Installs the handler for every signal from 1 to 31 whose action is not
// Default.
void InstallSignalHandlers();

// The terminating signal recorded since the last call (0 when none), which
// is then forgotten.
int TakePendingSignal();

// Records sig as if the handler had received it (tests only).
void RaisePendingSignalForTest(int sig);

}  // namespace afc
