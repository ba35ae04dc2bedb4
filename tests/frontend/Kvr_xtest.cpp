// kvr as a user meets it: the program is started from a copy of the
// distribution directory under an XIM name of its own, an Xlib client (a
// child process) selects it through XMODIFIERS, opens the input method and
// an input context, and types; the test reads what reaches the client and
// stops kvr by its process id.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <sys/wait.h>

#include <string>

#include "tests/support/ChildProcess.h"
#include "tests/support/FileText.h"
#include "tests/support/KvrProcess.h"
#include "tests/support/XimTestClient.h"

namespace {

using kvrtest::ChildProcess;
using kvrtest::ReportLine;

// The client: types "abc" (the 'a' press triggers the input method) and
// reports what came back. With stall, the client stops after the trigger
// and waits to be killed.
int RunClient(const std::string& name, const char* locale, int fd, bool stall) {
  alarm(30);
  kvrtest::XimTestClient client;
  const std::string error = client.Open({name, locale});
  if (!error.empty()) {
    ReportLine(fd, "error " + error);
    return 1;
  }
  client.SendKey(KeyPress, XK_a);
  XSync(client.Dpy(), False);
  client.Serve(300);
  if (stall) {
    ReportLine(fd, "stalled");
    for (;;) pause();
  }
  client.SendKey(KeyRelease, XK_a);
  client.TapKey(XK_b);
  client.TapKey(XK_c);
  client.Serve(1500);
  ReportLine(fd, "typed " + client.Received());
  return 0;
}

std::string RunClientProcess(const std::string& name, const char* locale, bool killMidInput = false) {
  ChildProcess child;
  if (!child.Start([&](int fd) { return RunClient(name, locale, fd, killMidInput); })) return "fork";
  if (killMidInput) {
    child.WaitFor("stalled", 30000);
    child.Kill();
    return child.Output();
  }
  const int status = child.Wait(30000);
  if (status != 0) return "client failed " + std::to_string(status) + ": " + child.Output();
  return child.Output();
}

TEST(Kvr, EnglishInputComesBackInOrder) {
  kvrtest::KvrProcess kvr;
  ASSERT_TRUE(kvr.Start(kvrtest::UniqueImName("KvrTest"))) << kvr.Log();
  const std::string name = kvr.Name();
  EXPECT_EQ(RunClientProcess(name, "zh_CN.GBK"), "typed abc\n");
  // A second client is served after the first has gone.
  EXPECT_EQ(RunClientProcess(name, "zh_CN.UTF-8"), "typed abc\n");
  // A client killed after its trigger, while kvr holds its keys, leaves the
  // server serving the next.
  EXPECT_EQ(RunClientProcess(name, "zh_CN.GBK", true), "stalled\n");
  EXPECT_EQ(RunClientProcess(name, "zh_CN.GB2312"), "typed abc\n");
  const int status = kvr.Stop();
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  // The end of the session saved the settings: English input, from the
  // running program.
  const std::string profile = kvrtest::ReadFileText(kvr.File("kvr.ini"));
  EXPECT_NE(profile.find("InputMode=1"), std::string::npos) << profile;
  EXPECT_NE(profile.find("[Mainframe]"), std::string::npos) << profile;
}

}  // namespace
