// XTestKeys.h: real key strokes through the XTEST extension, as a person
// types them: the server delivers them to the window that has the keyboard
// focus, with the modifiers the test pressed around them.
//
// Include after <gtest/gtest.h> in tests (Xlib macros).
#pragma once

#include <X11/Xlib.h>

#include <string>
#include <vector>

namespace kvrtest {

// Whether the display offers XTEST.
bool HasXTest(Display* dpy);

// Not an X modifier: asks for the right Alt (Alt_R, also Mod1) instead of
// Alt_L.
constexpr unsigned kRightAltMask = 1u << 20;

// Presses (down) or releases the key of sym, with Shift, Control and Mod1
// (or the right Alt, kRightAltMask) held around it as state asks (pressed before the key goes down,
// released after it comes up); Shift is added when sym sits on the shifted level of its key. False
// when no key of the keyboard makes sym.
bool XTestKey(Display* dpy, unsigned long sym, unsigned state, bool down);
// A press and a release.
bool XTestTap(Display* dpy, unsigned long sym, unsigned state = 0);

// A key of a key script: "<C-space>", "<Return>", "<A-comma>", "<S-space>",
// "<R-minus>" (a keysym name with C-, A-, R- and S- for Control, Alt, the
// right Alt and Shift) or a single character.
struct ScriptKey {
  unsigned long sym;
  unsigned state;
};
// The keys of a script, in order; false when a name is unknown.
bool ParseKeyScript(const std::string& script, std::vector<ScriptKey>* keys);

// Presses and releases every key of keys back to back, as events queue up
// when someone types faster than the clients read: all fake events go out
// in one flush and the server is synced once, after the last. False when
// a key cannot be made (the keys before it went out).
bool XTestBurst(Display* dpy, const std::vector<ScriptKey>& keys);

// Taps the key of every character of ascii in order ('\n' is Return,
// ' ' space); false at the first character no key makes.
bool XTestType(Display* dpy, const std::string& ascii);

// Gives the keyboard focus to win and waits until the server has it.
void FocusWindow(Display* dpy, Window win);

}  // namespace kvrtest
