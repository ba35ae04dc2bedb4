#include "tests/support/XTestKeys.h"

#include <X11/XKBlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace kvrtest {

bool HasXTest(Display* dpy) {
  int event = 0, error = 0, major = 0, minor = 0;
  return XTestQueryExtension(dpy, &event, &error, &major, &minor) != 0;
}

namespace {

void Press(Display* dpy, KeySym sym, bool down) {
  const KeyCode code = XKeysymToKeycode(dpy, sym);
  if (code) XTestFakeKeyEvent(dpy, code, down ? True : False, CurrentTime);
}

// The fake events of one key's press or release, queued on dpy's
// connection and not yet flushed.
bool FakeKey(Display* dpy, unsigned long sym, unsigned state, bool down) {
  const KeyCode code = XKeysymToKeycode(dpy, sym);
  if (!code) return false;
  // A symbol on the second level of its key (an upper-case letter, most
  // punctuation) needs Shift.
  if (XkbKeycodeToKeysym(dpy, code, 0, 0) != sym && XkbKeycodeToKeysym(dpy, code, 0, 1) == sym) {
    state |= ShiftMask;
  }
  struct Mod {
    unsigned mask;
    KeySym sym;
  } const mods[] = {{ControlMask, XK_Control_L},
                    {Mod1Mask, XK_Alt_L},
                    {kRightAltMask, XK_Alt_R},
                    {ShiftMask, XK_Shift_L}};
  constexpr int kMods = sizeof mods / sizeof mods[0];
  if (down) {
    for (const Mod& m : mods) {
      if (state & m.mask) Press(dpy, m.sym, true);
    }
    XTestFakeKeyEvent(dpy, code, True, CurrentTime);
  } else {
    XTestFakeKeyEvent(dpy, code, False, CurrentTime);
    for (int i = kMods - 1; i >= 0; --i) {
      if (state & mods[i].mask) Press(dpy, mods[i].sym, false);
    }
  }
  return true;
}

}  // namespace

bool XTestKey(Display* dpy, unsigned long sym, unsigned state, bool down) {
  const bool made = FakeKey(dpy, sym, state, down);
  XSync(dpy, False);
  return made;
}

bool XTestBurst(Display* dpy, const std::vector<ScriptKey>& keys) {
  bool made = true;
  for (const ScriptKey& k : keys) {
    made = made && FakeKey(dpy, k.sym, k.state, true) && FakeKey(dpy, k.sym, k.state, false);
  }
  XSync(dpy, False);
  return made;
}

bool XTestTap(Display* dpy, unsigned long sym, unsigned state) {
  return XTestKey(dpy, sym, state, true) && XTestKey(dpy, sym, state, false);
}

bool ParseKeyScript(const std::string& script, std::vector<ScriptKey>* keys) {
  keys->clear();
  for (size_t i = 0; i < script.size(); ++i) {
    if (script[i] != '<' || script.find('>', i) == std::string::npos ||
        i + 1 == script.find('>', i)) {
      keys->push_back({static_cast<unsigned char>(script[i]), 0});
      continue;
    }
    const size_t end = script.find('>', i);
    std::string name = script.substr(i + 1, end - i - 1);
    i = end;
    unsigned state = 0;
    for (;;) {
      if (name.compare(0, 2, "C-") == 0 && name.size() > 2) {
        state |= ControlMask;
      } else if (name.compare(0, 2, "A-") == 0 && name.size() > 2) {
        state |= Mod1Mask;
      } else if (name.compare(0, 2, "R-") == 0 && name.size() > 2) {
        state |= kRightAltMask;
      } else if (name.compare(0, 2, "S-") == 0 && name.size() > 2) {
        state |= ShiftMask;
      } else {
        break;
      }
      name.erase(0, 2);
    }
    const KeySym sym = XStringToKeysym(name.c_str());
    if (sym == NoSymbol) return false;
    keys->push_back({sym, state});
  }
  return true;
}

bool XTestType(Display* dpy, const std::string& ascii) {
  for (const char c : ascii) {
    KeySym sym = static_cast<unsigned char>(c);
    if (c == '\n') sym = XK_Return;
    if (!XTestTap(dpy, sym)) return false;
  }
  return true;
}

void FocusWindow(Display* dpy, Window win) {
  XSetInputFocus(dpy, win, RevertToParent, CurrentTime);
  XSync(dpy, False);
}

}  // namespace kvrtest
