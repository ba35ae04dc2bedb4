// End to end: the real kvrsetup, run from a package laid out by the
// package script, installs for one user with HOME in a scratch directory,
// driven through XTEST like a user at the keyboard; then the installed kvr
// (started and stopped by its process id, its font directory on the
// display's font path) types 中国 for "zhongguo" Space into a client.
#include <gtest/gtest.h>
// Xlib after gtest.
#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "installer/FileWork.h"
#include "installer/Installation.h"
#include "tests/installer/WizardShots.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/FileText.h"
#include "tests/support/KvrClients.h"
#include "tests/support/KvrProcess.h"
#include "tests/support/ShownPopups.h"
#include "tests/support/TestPaths.h"
#include "tests/support/WindowsMayVanish.h"
#include "tests/support/XTestKeys.h"

namespace {

// The wizard is far taller than a message box.
constexpr int kWizardMinHeight = 300;

bool WaitUntil(const std::function<bool()>& ready, int timeoutMs) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (std::chrono::steady_clock::now() < end) {
    if (ready()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return ready();
}

// The shown top-level window of kvrsetup that is (or is not) the wizard.
Window Popup(Display* dpy, bool wizard) {
  for (const kvrtest::ShownPopup& p : kvrtest::ShownPopups(dpy))
    if ((p.attr.height >= kWizardMinHeight) == wizard) return p.window;
  return 0;
}

// The top-level window that holds the keyboard focus, 0 for none.
Window FocusTop(Display* dpy) {
  const kvrtest::WindowsMayVanish vanishing(dpy);
  Window focus = 0;
  int revert = 0;
  XGetInputFocus(dpy, &focus, &revert);
  const Window root = DefaultRootWindow(dpy);
  while (focus && focus != PointerRoot && focus != root) {
    Window r = 0, parent = 0, *kids = nullptr;
    unsigned n = 0;
    if (!XQueryTree(dpy, focus, &r, &parent, &kids, &n)) return 0;
    if (kids) XFree(kids);
    if (parent == root) return focus;
    focus = parent;
  }
  return 0;
}

// The mapped children of a window: a page of the wizard.
std::set<Window> MappedChildren(Display* dpy, Window w) {
  std::set<Window> out;
  const kvrtest::WindowsMayVanish vanishing(dpy);
  Window r = 0, parent = 0, *kids = nullptr;
  unsigned n = 0;
  if (!XQueryTree(dpy, w, &r, &parent, &kids, &n)) return out;
  for (unsigned i = 0; i < n; ++i) {
    XWindowAttributes a;
    if (XGetWindowAttributes(dpy, kids[i], &a) && a.map_state == IsViewable) out.insert(kids[i]);
  }
  if (kids) XFree(kids);
  return out;
}

// Appends dir to the display's font path, as the launch scripts do.
bool AddFontDir(Display* dpy, const std::string& dir) {
  int n = 0;
  char** path = XGetFontPath(dpy, &n);
  std::vector<char*> dirs(path, path + n);
  dirs.push_back(const_cast<char*>(dir.c_str()));
  XSetFontPath(dpy, dirs.data(), static_cast<int>(dirs.size()));
  XFreeFontPath(path);
  XSync(dpy, False);
  int m = 0;
  char** now = XGetFontPath(dpy, &m);
  bool found = false;
  for (int i = 0; i < m; ++i) found = found || std::string(now[i]).find(dir) == 0;
  XFreeFontPath(now);
  return found;
}

TEST(Kvrsetup, InstallsForOneUserAndTheInstalledKvrTypesChinese) {
  Display* dpy = XOpenDisplay(nullptr);
  ASSERT_NE(dpy, nullptr);
  ASSERT_TRUE(kvrtest::HasXTest(dpy));
  kvrtest::ScratchDir scratch;
  const std::string pkg = scratch.File("package");
  const std::string home = scratch.File("home");
  ASSERT_EQ(mkdir(home.c_str(), 0755), 0);
  const std::string layout = "cmake -DDIST=" + kvrtest::DistDir() + " -DOUT=" + pkg + " -P " +
                             kvrtest::SourceDir() + "/installer/MakePackage.cmake";
  ASSERT_EQ(std::system(layout.c_str()), 0) << layout;
  ASSERT_TRUE(installer::PathExists(pkg + "/Kivra_DistributionFiles/kvr"));

  // A process named kvr is always running while the wizard starts (other
  // tests run kvr too, so without one of our own whether the question
  // comes would be a matter of timing): the wizard asks whether to kill it
  // before its first page takes keys, and Escape says No.
  const std::string standIn = scratch.File("kvr");
  ASSERT_EQ(std::system(("cp /bin/sleep '" + standIn + "'").c_str()), 0);
  kvrtest::ChildProcess running;
  ASSERT_TRUE(running.Exec({standIn, "600"}, {}, ""));
  kvrtest::ChildProcess setup;
  ASSERT_TRUE(setup.Exec({pkg + "/kvrsetup"}, {{"HOME", home}}, scratch.File("kvrsetup.log")));
  ASSERT_TRUE(WaitUntil(
      [&] {
        const Window box = Popup(dpy, false);
        return box && Popup(dpy, true) && FocusTop(dpy) == box;
      },
      60000))
      << kvrtest::ReadFileText(scratch.File("kvrsetup.log"));
  ASSERT_TRUE(kvrtest::XTestTap(dpy, XK_Escape));
  XSync(dpy, False);
  Window wizard = 0;
  ASSERT_TRUE(WaitUntil(
      [&] {
        wizard = Popup(dpy, true);
        return wizard && !Popup(dpy, false) && FocusTop(dpy) == wizard;
      },
      60000))
      << kvrtest::ReadFileText(scratch.File("kvrsetup.log"));
  EXPECT_FALSE(running.Exited()) << "No killed the running kvr";
  // All users off (the check box has the focus), then Next, Next, Install,
  // each once the page before it is gone.
  ASSERT_TRUE(kvrtest::XTestTap(dpy, XK_space));
  XSync(dpy, False);
  for (int page = 0; page < 3; ++page) {
    SCOPED_TRACE(page);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const std::set<Window> before = MappedChildren(dpy, wizard);
    ASSERT_TRUE(kvrtest::XTestTap(dpy, XK_Return));
    XSync(dpy, False);
    if (!WaitUntil([&] { return MappedChildren(dpy, wizard) != before; }, 20000)) {
      installertest::SaveWindowShot(dpy, DefaultRootWindow(dpy), "kvrsetup_stuck");
      FAIL() << "the page stayed; focus top " << FocusTop(dpy) << ", wizard " << wizard << "\n"
             << kvrtest::ReadFileText(scratch.File("kvrsetup.log"));
    }
  }
  // The outcome box, after at least five seconds.
  Window box = 0;
  ASSERT_TRUE(
      WaitUntil([&] { return (box = Popup(dpy, false)) != 0 && FocusTop(dpy) == box; }, 60000));
  EXPECT_EQ(installertest::SaveWindowShot(dpy, box, "kvrsetup_outcome"), "");
  ASSERT_TRUE(kvrtest::XTestTap(dpy, XK_Return));
  XSync(dpy, False);
  EXPECT_EQ(setup.Wait(30000), 0) << kvrtest::ReadFileText(scratch.File("kvrsetup.log"));

  // What the installation left.
  const std::string kivra = home + "/Kivra";
  struct stat st {};
  ASSERT_EQ(stat((kivra + "/kvr").c_str(), &st), 0)
      << kvrtest::ReadFileText(scratch.File("kvrsetup.log"));
  EXPECT_EQ(st.st_mode & 07777, 0755u);
  EXPECT_FALSE(installer::PathExists(pkg + "/Kivra_DistributionFiles/kvr"));
  for (const char* f : {"/gbkflat.dic", "/pykeys.dic", "/CiZuFlat.igb", "/pycizudic.idx",
                        "/pxcizudic.idx", "/ch2key.bin", "/Jux.rc", "/fonts/fonts.dir"})
    EXPECT_TRUE(installer::PathExists(kivra + f)) << f;
  EXPECT_EQ(kvrtest::ReadFileText(home + "/.bash_profile"),
            "if [ -f \"$HOME/.profile\" ]; then . \"$HOME/.profile\"; fi\n" +
                installer::ShellInitBlock(home, true));
  const std::string script = kvrtest::ReadFileText(home + "/kvr");
  EXPECT_NE(script.find("xset +fp '" + kivra + "/fonts'"), std::string::npos) << script;

  // The installed kvr serves a client.
  ASSERT_TRUE(AddFontDir(dpy, kivra + "/fonts"));
  const std::string name = kvrtest::UniqueImName("Installed");
  kvrtest::ChildProcess kvr;
  ASSERT_TRUE(kvr.Exec({kivra + "/kvr"}, {{"XMODIFIERS", "@im=" + name}, {"HOME", home}},
                       scratch.File("kvr.log")));
  ASSERT_TRUE(WaitUntil([&] { return kvrtest::ImServerReady(dpy, name) || kvr.Exited(); }, 60000));
  ASSERT_TRUE(kvrtest::ImServerReady(dpy, name)) << kvrtest::ReadFileText(scratch.File("kvr.log"));
  const kvrtest::Typed typed =
      kvrtest::TypeInto(kvrtest::ClientKind::XlibUtf8, name, "<C-space>zhongguo<space><C-space>");
  ASSERT_TRUE(typed.ok) << typed.diagnosis;
  EXPECT_EQ(typed.bytes, "中国") << kvrtest::Escaped(typed.bytes);
  kvr.Kill(15);
  EXPECT_NE(kvr.Wait(20000), -1);
  XCloseDisplay(dpy);
}

}  // namespace
