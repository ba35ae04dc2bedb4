// Opening the server on a private Xvfb: its arguments, its registration in
// XIM_SERVERS and the "@server=" selection, and the selection requests
// through which clients learn its locales and transport.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/xim/XimXTest.h"
#include "xim/internal/Xi18nCore.h"

using ximtest::TestServer;

namespace {

std::string UniqueName() {
  static int n = 0;
  return "XServer" + std::to_string(++n);
}

class Registration : public testing::Test {
 protected:
  void SetUp() override {
    XSetErrorHandler(ximtest::IgnoreXErrors);
    m_dpy = XOpenDisplay(nullptr);
    ASSERT_NE(m_dpy, nullptr);
    m_root = DefaultRootWindow(m_dpy);
    m_servers = XInternAtom(m_dpy, "XIM_SERVERS", False);
  }
  void TearDown() override { XCloseDisplay(m_dpy); }

  Atom Selection(const std::string& name) {
    return XInternAtom(m_dpy, ("@server=" + name).c_str(), False);
  }
  std::vector<Atom> Servers() {
    Atom type;
    int format;
    unsigned long n, after;
    unsigned char* data = nullptr;
    std::vector<Atom> out;
    XGetWindowProperty(m_dpy, m_root, m_servers, 0, 1000, False, XA_ATOM, &type, &format, &n,
                       &after, &data);
    if (data && type == XA_ATOM && format == 32) {
      const unsigned long* items = reinterpret_cast<const unsigned long*>(data);
      out.assign(items, items + n);
    }
    if (data) XFree(data);
    return out;
  }
  void SetServers(const std::vector<Atom>& atoms) {
    std::vector<Atom> copy = atoms;
    XChangeProperty(m_dpy, m_root, m_servers, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(copy.data()), static_cast<int>(copy.size()));
    XSync(m_dpy, False);
  }
  size_t Count(Atom a) {
    const std::vector<Atom> s = Servers();
    return static_cast<size_t>(std::count(s.begin(), s.end(), a));
  }

  Display* m_dpy = nullptr;
  Window m_root = None;
  Atom m_servers = None;
};

TEST_F(Registration, OpenArgumentTable) {
  Window w = XCreateSimpleWindow(m_dpy, m_root, 0, 0, 1, 1, 0, 0, 0);
  XSync(m_dpy, False);
  struct Case {
    const char* modifiers;
    const char* locale;
    const char* transport;
    bool opens;
  } const cases[] = {
      {"Xi18n", "zh_CN", "X/", true},    {"", "zh_CN", "X/", true},
      {nullptr, "zh_CN", " \tX/", true}, {"other", "zh_CN", "X/", false},
      {"Xi18n", nullptr, "X/", false},   {"Xi18n", "zh_CN", nullptr, false},
      {"Xi18n", "zh_CN", "X", false},    {"Xi18n", "zh_CN", "local/", false},
  };
  for (const Case& c : cases) {
    const std::string name = UniqueName();
    SCOPED_TRACE(testing::Message() << (c.modifiers ? c.modifiers : "(none)") << " "
                                    << (c.locale ? c.locale : "(none)") << " "
                                    << (c.transport ? c.transport : "(none)"));
    std::vector<XIMArg> args;
    auto add = [&](const char* n, const char* v) {
      if (v) args.push_back({n, reinterpret_cast<uintptr_t>(v)});
    };
    add(IMModifiers, c.modifiers);
    args.push_back({IMServerWindow, w});
    add(IMServerName, name.c_str());
    add(IMLocale, c.locale);
    add(IMServerTransport, c.transport);
    args.push_back({nullptr, 0});
    XIMS ims = IMOpenIMList(m_dpy, args.data());
    EXPECT_EQ(ims != nullptr, c.opens);
    EXPECT_EQ(XGetSelectionOwner(m_dpy, Selection(name)), c.opens ? w : None);
    EXPECT_EQ(Count(Selection(name)), c.opens ? 1u : 0u);
    if (ims) IMCloseIM(ims);
    EXPECT_EQ(Count(Selection(name)), 0u);
    EXPECT_EQ(XGetSelectionOwner(m_dpy, Selection(name)), None);
  }
}

TEST_F(Registration, AFreshDisplayWithoutXimServersIsAnEmptyList) {
  XDeleteProperty(m_dpy, m_root, m_servers);
  XSync(m_dpy, False);
  const std::string name = UniqueName();
  TestServer s;
  ASSERT_TRUE(s.Open(name));
  EXPECT_EQ(Servers(), std::vector<Atom>{Selection(name)});
  EXPECT_EQ(XGetSelectionOwner(m_dpy, Selection(name)), s.Win());
}

TEST_F(Registration, ListedWithoutOwnerOrWithADeadOwnerIsTakenOnce) {
  const Atom other = XInternAtom(m_dpy, "@server=SomeoneElse", False);
  for (bool deadOwner : {false, true}) {
    SCOPED_TRACE(deadOwner ? "dead owner" : "no owner");
    const std::string name = UniqueName();
    if (deadOwner) {
      Window gone = XCreateSimpleWindow(m_dpy, m_root, 0, 0, 1, 1, 0, 0, 0);
      XSetSelectionOwner(m_dpy, Selection(name), gone, CurrentTime);
      XDestroyWindow(m_dpy, gone);
    }
    SetServers({other, Selection(name)});
    TestServer s;
    ASSERT_TRUE(s.Open(name));
    XSync(m_dpy, False);
    EXPECT_EQ(Count(Selection(name)), 1u);
    EXPECT_EQ(Count(other), 1u);
    EXPECT_EQ(XGetSelectionOwner(m_dpy, Selection(name)), s.Win());
  }
}

TEST_F(Registration, ASecondServerOfTheSameNameIsRefused) {
  const std::string name = UniqueName();
  TestServer first, second;
  ASSERT_TRUE(first.Open(name));
  EXPECT_FALSE(second.Open(name));
  EXPECT_EQ(XGetSelectionOwner(m_dpy, Selection(name)), first.Win());
  EXPECT_EQ(Count(Selection(name)), 1u);
  // A live owner that never listed itself is not displaced either.
  const std::string unlisted = UniqueName();
  Window owner = XCreateSimpleWindow(m_dpy, m_root, 0, 0, 1, 1, 0, 0, 0);
  XSetSelectionOwner(m_dpy, Selection(unlisted), owner, CurrentTime);
  XSync(m_dpy, False);
  TestServer third;
  EXPECT_FALSE(third.Open(unlisted));
  EXPECT_EQ(XGetSelectionOwner(m_dpy, Selection(unlisted)), owner);
}

TEST_F(Registration, XimServersOfAnotherTypeIsRefused) {
  const char junk[] = "not atoms";
  XChangeProperty(m_dpy, m_root, m_servers, XA_STRING, 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(junk), 9);
  XSync(m_dpy, False);
  TestServer s;
  EXPECT_FALSE(s.Open(UniqueName()));
  XDeleteProperty(m_dpy, m_root, m_servers);
  XSync(m_dpy, False);
}

// ---- selection requests ----

class Selections : public Registration {
 protected:
  // Converts the server's selection to `target` and returns the reply's
  // property (None when refused) and the text stored in it.
  Atom Convert(TestServer& s, Atom selection, Atom target, std::string* text) {
    Window requestor = XCreateSimpleWindow(m_dpy, m_root, 0, 0, 1, 1, 0, 0, 0);
    const Atom prop = XInternAtom(m_dpy, "KVR_TEST_REPLY", False);
    XConvertSelection(m_dpy, selection, target, prop, requestor, CurrentTime);
    XFlush(m_dpy);
    XEvent ev{};
    bool got = false;
    ximtest::PumpUntil(s.Dpy(), [&] {
      XSync(m_dpy, False);
      got = XCheckTypedWindowEvent(m_dpy, requestor, SelectionNotify, &ev);
      return got;
    });
    EXPECT_TRUE(got);
    text->clear();
    if (got && ev.xselection.property != None) {
      Atom type;
      int format;
      unsigned long n, after;
      unsigned char* data = nullptr;
      XGetWindowProperty(m_dpy, requestor, ev.xselection.property, 0, 1000, True, AnyPropertyType,
                         &type, &format, &n, &after, &data);
      EXPECT_EQ(type, target);
      EXPECT_EQ(format, 8);
      if (data) {
        text->assign(reinterpret_cast<char*>(data), n);
        XFree(data);
      }
    }
    XDestroyWindow(m_dpy, requestor);
    return got ? ev.xselection.property : None;
  }
};

TEST_F(Selections, LocalesAndTransportAreAnsweredOtherTargetsRefused) {
  const std::string name = UniqueName();
  TestServer s;
  ASSERT_TRUE(s.Open(name, "zh_CN.GBK,en_US.UTF-8"));
  std::string text;
  EXPECT_NE(Convert(s, Selection(name), XInternAtom(m_dpy, "LOCALES", False), &text),
            static_cast<Atom>(None));
  EXPECT_EQ(text, "@locale=zh_CN.GBK,en_US.UTF-8");
  EXPECT_NE(Convert(s, Selection(name), XInternAtom(m_dpy, "TRANSPORT", False), &text),
            static_cast<Atom>(None));
  EXPECT_EQ(text, "@transport=X/");
  EXPECT_EQ(Convert(s, Selection(name), XInternAtom(m_dpy, "TARGETS", False), &text),
            static_cast<Atom>(None));
}

TEST_F(Selections, RequestsForOtherSelectionsAreNotTaken) {
  TestServer s;
  ASSERT_TRUE(s.Open(UniqueName()));
  XEvent ev{};
  ev.xselectionrequest.type = SelectionRequest;
  ev.xselectionrequest.display = s.Dpy();
  ev.xselectionrequest.owner = s.Win();
  ev.xselectionrequest.requestor = s.Win();
  ev.xselectionrequest.selection = XA_PRIMARY;
  ev.xselectionrequest.target = XA_STRING;
  ev.xselectionrequest.property = XA_STRING;
  ev.xany.window = s.Win();
  EXPECT_FALSE(XFilterEvent(&ev, None));
  ev.xselectionrequest.selection = Xi18nOf(s.Ims())->address.selection;
  EXPECT_TRUE(XFilterEvent(&ev, None));
}

}  // namespace
