// Xlib's own client side against our server: a child process selects the
// server through XMODIFIERS and calls XOpenIM. It must find the server in
// XIM_SERVERS, read its LOCALES and TRANSPORT, connect over the X
// transport and say XIM_CONNECT and XIM_OPEN with its locale. What
// happens after XIM_OPEN belongs to the protocol handlers, so the child is
// ended there.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>

#include <strings.h>
#include <clocale>
#include <cstdlib>
#include <string>

#include "tests/xim/XimXTest.h"
#include "xim/internal/Xi18nCore.h"
#include "xim/internal/Xi18nDispatch.h"

namespace {

char g_order = 0;
std::string g_locale;
bool g_opened = false;

void OnConnect(XIMS ims, IMProtocol* call, const Xi18nMessage& msg, int*) {
  if (msg.BodyLength() < 1) return;
  g_order = static_cast<char>(msg.Body()[0]);
  // Version 1.0, in the client's byte order.
  const uint8_t little[4] = {1, 0, 0, 0}, big[4] = {0, 1, 0, 0};
  _Xi18nSendMessage(ims, call->any.connect_id, XIM_CONNECT_REPLY, 0, g_order == 'B' ? big : little,
                    4);
}

void OnOpen(XIMS, IMProtocol*, const Xi18nMessage& msg, int*) {
  g_opened = true;
  if (msg.BodyLength() >= 1 && msg.Body()[0] < msg.BodyLength()) {
    g_locale.assign(reinterpret_cast<const char*>(msg.Body()) + 1, msg.Body()[0]);
  }
}

[[noreturn]] void RunXlibClient(const std::string& name, const char* locale) {
  setenv("XMODIFIERS", ("@im=" + name).c_str(), 1);
  if (!std::setlocale(LC_ALL, locale)) _exit(3);
  if (!XSupportsLocale() || !XSetLocaleModifiers("")) _exit(4);
  Display* dpy = XOpenDisplay(nullptr);
  if (!dpy) _exit(5);
  XIM im = XOpenIM(dpy, nullptr, nullptr, nullptr);
  _exit(im ? 0 : 1);
}

TEST(XOpenIM, XlibClientConnectsAndOpensInEachLocale) {
  XSetErrorHandler(ximtest::IgnoreXErrors);
  Xi18nMessageProc oldConnect = _Xi18nSetMessageProc(XIM_CONNECT, OnConnect);
  Xi18nMessageProc oldOpen = _Xi18nSetMessageProc(XIM_OPEN, OnOpen);
  int n = 0;
  for (const char* locale : {"zh_CN.GBK", "en_US.UTF-8"}) {
    SCOPED_TRACE(locale);
    g_order = 0;
    g_locale.clear();
    g_opened = false;
    const std::string name = "KvrProbe" + std::to_string(++n);
    ximtest::TestServer server;
    ASSERT_TRUE(server.Open(name, "zh_CN.GBK,zh_CN,en_US.UTF-8,en_US"));
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) RunXlibClient(name, locale);
    int status = 0;
    bool exited = false;
    ximtest::PumpUntil(server.Dpy(), [&] {
      exited = waitpid(pid, &status, WNOHANG) == pid;
      return g_opened || exited;
    });
    if (!exited) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
    } else {
      ADD_FAILURE() << "client ended before XIM_OPEN, status " << status;
    }
    EXPECT_EQ(g_order, 'l');
    EXPECT_TRUE(g_opened);
    // Xlib may spell the codeset in lower case ("zh_CN.gbk").
    EXPECT_EQ(strcasecmp(g_locale.c_str(), locale), 0) << g_locale;
  }
  _Xi18nSetMessageProc(XIM_CONNECT, oldConnect);
  _Xi18nSetMessageProc(XIM_OPEN, oldOpen);
}

}  // namespace
