// The CLIPBOARD exchange between the program (the kernel's connection, its
// main window) and a peer client on a second connection of the same Xvfb:
// pasting from UTF-8, STRING-only, incremental and absent owners, serving
// the program's text, and losing the selection.
#include <gtest/gtest.h>
// Xlib after gtest.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <poll.h>

#include <atomic>
#include <chrono>
#include <map>
#include <string>
#include <thread>

#include "framework/Clipboard.h"
#include "tests/framework/FrameworkTestApp.h"

// The peer answers from a thread of its own while the program waits for it.
static const bool kXThreads = XInitThreads() != 0;
static FrameworkTestApp theApp;
static auto* const kEnv = ::testing::AddGlobalTestEnvironment(new KernelEnv);

namespace {

std::string Repeat(const std::string& s, int n) {
  std::string r;
  for (int i = 0; i < n; ++i) r += s;
  return r;
}

const std::string kZhongWenUtf8 = "\xE4\xB8\xAD\xE6\x96\x87";  // 中文
const std::string kZhongWenGbk = "\xD6\xD0\xCE\xC4";

class Peer {
 public:
  struct Offer {
    std::string type;  // "INCR" answers incrementally
    std::string bytes;
  };

  Peer() {
    m_dpy = XOpenDisplay(nullptr);
    m_win = XCreateSimpleWindow(m_dpy, DefaultRootWindow(m_dpy), 0, 0, 1, 1, 0, 0, 0);
    m_clip = Atom("CLIPBOARD");
    XSync(m_dpy, False);
  }
  ~Peer() {
    Stop();
    XDestroyWindow(m_dpy, m_win);
    XCloseDisplay(m_dpy);
  }
  ::Atom Atom(const char* name) { return XInternAtom(m_dpy, name, False); }

  // Takes CLIPBOARD and answers requests for the offered targets (by atom
  // name) until destroyed; other targets are refused.
  void Own(std::map<std::string, Offer> offers) {
    for (auto& [name, offer] : offers) m_offers[Atom(name.c_str())] = offer;
    m_incr = Atom("INCR");
    XSetSelectionOwner(m_dpy, m_clip, m_win, CurrentTime);
    XSync(m_dpy, False);
    m_thread = std::thread([this] { Serve(); });
  }

  // Asks the owner for target while the program's main loop runs; true with
  // the bytes when the answer names a property.
  // With noProperty the request names none, as old clients do; the answer
  // then comes in the property named after the target.
  bool Request(const char* target, std::string* bytes, std::string* type = nullptr,
               bool noProperty = false) {
    const ::Atom prop = noProperty ? Atom(target) : Atom("PEER_DATA");
    XConvertSelection(m_dpy, m_clip, Atom(target), noProperty ? None : prop, m_win, CurrentTime);
    XFlush(m_dpy);
    XEvent ev;
    bool came =
        RunUntil([&] { return XCheckTypedWindowEvent(m_dpy, m_win, SelectionNotify, &ev); });
    if (!came || ev.xselection.property == None) return false;
    ::Atom actual = None;
    int format = 0;
    unsigned long n = 0, after = 0;
    unsigned char* data = nullptr;
    XGetWindowProperty(m_dpy, m_win, prop, 0, 0x1FFFFFFF, True, AnyPropertyType, &actual, &format,
                       &n, &after, &data);
    bytes->assign(reinterpret_cast<char*>(data), n);
    if (type) {
      char* name = XGetAtomName(m_dpy, actual);
      *type = name;
      XFree(name);
    }
    XFree(data);
    return true;
  }

 private:
  void Serve() {
    while (!m_stop) {
      while (XPending(m_dpy)) {
        XEvent ev;
        XNextEvent(m_dpy, &ev);
        if (ev.type == SelectionRequest) Answer(ev.xselectionrequest);
      }
      pollfd p{ConnectionNumber(m_dpy), POLLIN, 0};
      poll(&p, 1, 5);
    }
  }
  void Answer(const XSelectionRequestEvent& r) {
    XEvent ev{};
    XSelectionEvent& n = ev.xselection;
    n.type = SelectionNotify;
    n.requestor = r.requestor;
    n.selection = r.selection;
    n.target = r.target;
    n.time = r.time;
    n.property = None;
    auto it = m_offers.find(r.target);
    if (it != m_offers.end()) {
      if (it->second.type == "INCR") {
        long size = 100000;
        XChangeProperty(m_dpy, r.requestor, r.property, m_incr, 32, PropModeReplace,
                        reinterpret_cast<unsigned char*>(&size), 1);
      } else {
        XChangeProperty(m_dpy, r.requestor, r.property, Atom(it->second.type.c_str()), 8,
                        PropModeReplace,
                        reinterpret_cast<const unsigned char*>(it->second.bytes.data()),
                        static_cast<int>(it->second.bytes.size()));
      }
      n.property = r.property;
    }
    XSendEvent(m_dpy, r.requestor, False, NoEventMask, &ev);
    XFlush(m_dpy);
  }
  void Stop() {
    m_stop = true;
    if (m_thread.joinable()) m_thread.join();
  }

  Display* m_dpy = nullptr;
  Window m_win = 0;
  ::Atom m_clip = 0, m_incr = 0;
  std::map<::Atom, Offer> m_offers;
  std::atomic<bool> m_stop{false};
  std::thread m_thread;
};

class Clipboard : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(kXThreads);
    m_win = CreateWin(0, 0, CRect(0, 0, 10, 10), 0, nullptr, &m_obj, 1, nullptr);
    theApp.InitMainWindows(m_win, &m_obj);
    Drain();
  }
  void TearDown() override {
    ClearMyClipboard();
    theApp.InitMainWindows(0, nullptr);
    DestroyWin(m_win);
  }
  // GetClipbrdText as a string; "<none>" when it gives nothing.
  static std::string Paste() {
    char* text = nullptr;
    if (!GetClipbrdText(&text, 0)) return "<none>";
    std::string s = text;
    delete[] text;  // the callers free it this way
    return s;
  }
  RecordingWnd m_obj;
  unsigned long m_win = 0;
};

TEST_F(Clipboard, PasteTable) {
  struct Case {
    const char* name;
    std::map<std::string, Peer::Offer> offers;
    std::string want;
  };
  const std::string longUtf8 = Repeat(kZhongWenUtf8, 100) + "abc";
  const Case cases[] = {
      {"UTF-8, more than 64 Chinese characters",
       {{"UTF8_STRING", {"UTF8_STRING", longUtf8}}, {"STRING", {"STRING", "wrong"}}},
       Repeat(kZhongWenGbk, 100) + "abc"},
      {"STRING only: bytes come unconverted",
       {{"STRING", {"STRING", "abc\xB0\xA1"}}},
       "abc\xB0\xA1"},
      {"a character GBK lacks ends the text",
       {{"UTF8_STRING",
         {"UTF8_STRING",
          "ab\xED\x95\x9C"
          "cd"}}},
       "ab"},  // ab한cd
      {"incremental answers are refused",
       {{"UTF8_STRING", {"INCR", ""}}, {"STRING", {"INCR", ""}}},
       "<none>"},
      {"incremental UTF-8, plain STRING",
       {{"UTF8_STRING", {"INCR", ""}}, {"STRING", {"STRING", "plain"}}},
       "plain"},
      {"empty text", {{"UTF8_STRING", {"UTF8_STRING", ""}}}, "<none>"},
      {"owner refuses everything", {}, "<none>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Peer peer;
    peer.Own(c.offers);
    testing::internal::CaptureStderr();
    EXPECT_EQ(Paste(), c.want);
    testing::internal::GetCapturedStderr();
  }
}

TEST_F(Clipboard, NoOwnerGivesNothing) {
  XSetSelectionOwner(dsply, ClpbrdAtom(), None, CurrentTime);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(Paste(), "<none>");
  // Two attempts of about 40 ms each, not an endless wait.
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
  EXPECT_EQ(GetClipbrdText(nullptr, 0), 0);
}

TEST_F(Clipboard, CopyAndPasteInsideTheProgram) {
  char text[] = "copy \xD6\xD0";
  ASSERT_EQ(SetClipbrdText(text, 0), 1);
  EXPECT_EQ(XGetSelectionOwner(dsply, ClpbrdAtom()), m_win);
  EXPECT_EQ(Paste(), "copy \xD6\xD0");
  EXPECT_EQ(SetClipbrdText(nullptr, 0), 0);
  EXPECT_STREQ(g_myClipboardStr, "copy \xD6\xD0");  // a refused copy keeps the old text
}

TEST_F(Clipboard, ServesUtf8AndString) {
  std::string gbk = Repeat(kZhongWenGbk, 100) + "xyz";
  ASSERT_EQ(SetClipbrdText(gbk.data(), 0), 1);
  Peer peer;
  std::string bytes, type;
  testing::internal::CaptureStderr();
  ASSERT_TRUE(peer.Request("UTF8_STRING", &bytes, &type));
  EXPECT_EQ(bytes, Repeat(kZhongWenUtf8, 100) + "xyz");
  EXPECT_EQ(type, "UTF8_STRING");
  ASSERT_TRUE(peer.Request("STRING", &bytes, &type));
  EXPECT_EQ(bytes, gbk);
  EXPECT_EQ(type, "STRING");
  // A request without a property is answered in the target's property,
  // not with an X error.
  bytes.clear();
  ASSERT_TRUE(peer.Request("STRING", &bytes, &type, true));
  EXPECT_EQ(bytes, gbk);
  EXPECT_FALSE(peer.Request("TARGETS", &bytes));
  EXPECT_FALSE(peer.Request("COMPOUND_TEXT", &bytes));
  const std::string log = testing::internal::GetCapturedStderr();
  EXPECT_NE(log.find("prop:"), std::string::npos);
}

TEST_F(Clipboard, LosingTheSelectionEmptiesTheText) {
  char text[] = "mine";
  ASSERT_EQ(SetClipbrdText(text, 0), 1);
  Peer peer;
  peer.Own({{"UTF8_STRING", {"UTF8_STRING", "theirs"}}});
  ASSERT_TRUE(RunUntil([] { return g_myClipboardStr.IsEmpty(); }));
  // The next paste asks the new owner.
  EXPECT_EQ(Paste(), "theirs");
  EXPECT_EQ(ClearMyClipboard(), 0);
}

TEST(ClipboardAtoms, InternedAtStart) {
  EXPECT_NE(atmClpbrd, 0UL);
  EXPECT_EQ(ClpbrdAtom(), atmClpbrd);
  EXPECT_EQ(atmStrg, XA_STRING);
  EXPECT_EQ(atmUtf8, XInternAtom(dsply, "UTF8_STRING", False));
  EXPECT_EQ(atmSlctnDat, XInternAtom(dsply, "SELECTION_DATA", False));
  for (unsigned long a : {atmTgts, atmTxt, atmCmpndTxt}) EXPECT_NE(a, 0UL);
}

}  // namespace
