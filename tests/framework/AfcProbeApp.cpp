// A program built on the framework's own main, for the start-up tests. What
// it does is chosen by AFC_PROBE_MODE:
//   paths  report what start-up found (key=value lines) and end
//   run    run the main loop until a signal; the exit callback writes
//          "exit <signal>" to $AFC_PROBE_OUT (a second copy reports
//          "second" and ends)
//   segv   as run, then crash from the idle work
// In every mode a "ready" line goes to $AFC_PROBE_OUT.ready once InitInstance runs.
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "framework/CWinApp.h"
#include "framework/ResourceCompiler.h"

namespace {

std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}

void ExitCallback(int sig) {
  std::ofstream(Env("AFC_PROBE_OUT")) << "exit " << sig << "\n";
  ExceptionHandler(sig);
}

class RecordingCompiler : public IResourceCompiler {
 public:
  int LoadGuiResFromRC(const char* path) override {
    std::printf("rc=%s\n", path);
    return 1;
  }
  int SaveGuiRes() override {
    std::printf("saved=1\n");
    return 1;
  }
  const AMapStringToString* GetBitmapTable() const override { return nullptr; }
  const AMapStringToString* GetIconTable() const override { return nullptr; }
};

class ProbeApp : public CWinApp {
 public:
  int InitApplication() override {
    m_strShortName = Env("AFC_PROBE_SHORTNAME").c_str();
    SetResourceCompiler(std::make_unique<RecordingCompiler>());
    return CWinApp::InitApplication();
  }

  int InitInstance() override {
    SetExceptionHandler(ExitCallback);
    std::ofstream(Env("AFC_PROBE_OUT") + ".ready") << "ready\n";
    const std::string mode = Env("AFC_PROBE_MODE");
    if (mode == "paths") {
      Report();
      return 0;
    }
    if (!IsFirstInstance()) {
      std::printf("second\n");
      return 0;
    }
    m_crash = mode == "segv";
    return 1;
  }

  int DoThingsWhenIdle(long) override {
    if (m_crash) raise(SIGSEGV);
    return 0;
  }

 private:
  void Report() {
    std::printf("prog=%s\n", m_pszProgName);
    std::printf("dir=%s\n", static_cast<const char*>(m_strProgDir));
    std::printf("launch=%s\n", m_pszLaunchName);
    std::printf("profile=%s\n", m_pszProfileName);
    std::printf("lang=%d\n", m_nUILang);
    std::printf("locale=%s\n", gszSysLocal);
    std::printf("gb=%d big5=%d\n", IsLocaleGB(), IsLocaleBig5());
    std::printf("starting=%d\n", m_bStartingUp);
    std::printf("pid_ok=%d\n", m_nPid == static_cast<int>(getpid()));
    std::printf("first=%d\n", IsFirstInstance());
    std::printf("int_num=%d\n", GetProfileInt("Config", "Num", -7));
    std::printf("int_digits=%d\n", GetProfileInt("Config", "Digits", -7));
    std::printf("int_empty=%d\n", GetProfileInt("Config", "Empty", -7));
    std::printf("int_missing=%d\n", GetProfileInt("Config", "Missing", -7));
    std::printf("str_name=%s\n",
                static_cast<const char*>(GetProfileString("Config", "Name", "dflt")));
    std::printf("str_empty=%s\n",
                static_cast<const char*>(GetProfileString("Config", "Empty", "dflt")));
    if (!Env("AFC_PROBE_WRITE").empty())
      std::printf("write=%d\n", WriteProfileInt("Config", Env("AFC_PROBE_WRITE").c_str(), -12));
    std::fflush(stdout);
  }

  bool m_crash = false;
};

ProbeApp theApp;

}  // namespace
