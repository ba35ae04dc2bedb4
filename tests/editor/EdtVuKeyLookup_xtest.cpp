// The X side of a key reaching the editor: PreProcessEv looks the key event
// up on the private Xvfb and hands the engine a NUL-terminated key text,
// even when the keysym is rebound to a text longer than the record.
#include <gtest/gtest.h>
// Xlib after gtest.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <cstring>
#include <string>

#include "editor/AEdtStor.h"
#include "editor/AEdtVu.h"
#include "editor/EditorEngine.h"

namespace {

// Keeps the record it is given and uses no key.
struct KeptRecord : IEditorEngine {
  EdtKeyRecord last;
  int keys = 0;
  void SetKeyRecord(const EdtKeyRecord& rec) override {
    IEditorEngine::SetKeyRecord(rec);
    last = rec;
    ++keys;
  }
};

class KeyLookup : public ::testing::Test {
 protected:
  void SetUp() override {
    dpy = XOpenDisplay(nullptr);
    ASSERT_NE(dpy, nullptr);
    SetEditorEngine(&engine);
    doc.OnNewDocument();
    doc.MakeLineInfo(-1, 0);
    view.SetDocument(&doc);
  }
  void TearDown() override {
    SetEditorEngine(nullptr);
    if (dpy) XCloseDisplay(dpy);
  }
  XEvent KeyEvent(KeySym sym, int type) {
    XEvent ev;
    std::memset(&ev, 0, sizeof ev);
    ev.xkey.type = type;
    ev.xkey.display = dpy;
    ev.xkey.window = DefaultRootWindow(dpy);
    ev.xkey.keycode = XKeysymToKeycode(dpy, sym);
    return ev;
  }

  Display* dpy = nullptr;
  KeptRecord engine;
  AEdtStor doc;
  AEdtVu view;
};

TEST_F(KeyLookup, PlainKeyTextReachesTheRecord) {
  XEvent ev = KeyEvent(XK_q, KeyPress);
  ASSERT_NE(ev.xkey.keycode, 0u);
  view.PreProcessEv(&ev);
  EXPECT_EQ(engine.keys, 1);
  EXPECT_STREQ(engine.last.text, "q");
}

TEST_F(KeyLookup, ARebindingLongerThanTheRecordIsCutAndTerminated) {
  const std::string longText(400, 'w');
  XRebindKeysym(dpy, XK_q, nullptr, 0, reinterpret_cast<const unsigned char*>(longText.data()),
                static_cast<int>(longText.size()));
  XEvent ev = KeyEvent(XK_q, KeyPress);
  view.PreProcessEv(&ev);
  ASSERT_EQ(engine.keys, 1);
  EXPECT_EQ(std::strlen(engine.last.text), static_cast<size_t>(kEdtKeyTextBytes - 1));
  // Many bytes of text are no typed character.
  CString row;
  doc.GetLine(0, row);
  EXPECT_EQ(row.GetLength(), 0);
}

TEST_F(KeyLookup, AnEventThatIsNoKeyIsIgnored) {
  XEvent ev = KeyEvent(XK_q, ButtonPress);
  EXPECT_EQ(view.PreProcessEv(&ev), 0);
  EXPECT_EQ(engine.keys, 0);
}

}  // namespace
