// The key grab the front end holds on the client's focus window while
// candidates are shown, and the bell.
#include <X11/Xlib.h>

#include <vector>

#include "framework/AfcKernel.h"
#include "framework/EngineHooks.h"
#include "framework/SysUtil.h"

namespace {

constexpr int kPinyin = 1;
// Shape-code input selects candidates with the keycodes 67 to 78 (F1 to
// F10, Num_Lock, Scroll_Lock); pinyin only with 74 and 78.
constexpr int kShapeFirst = 67, kShapeLast = 78;
constexpr int kPinyinKeys[] = {74, 78};

unsigned long g_grabWindow = 0;
// The keycodes grabbed, so that the release matches the grab even when the
// input method changed in between.
std::vector<int> g_grabbedKeys;

std::vector<int> KeysFor(int inputMethod) {
  if (inputMethod == kPinyin)
    return std::vector<int>(std::begin(kPinyinKeys), std::end(kPinyinKeys));
  std::vector<int> keys;
  for (int k = kShapeFirst; k <= kShapeLast; ++k) keys.push_back(k);
  return keys;
}

}  // namespace

int GrabSomeKeys(unsigned long window) {
  if (g_grabWindow || !dsply || !window) return 0;
  g_grabWindow = window;
  g_grabbedKeys = KeysFor(EngineInputMethod());
  for (int key : g_grabbedKeys)
    XGrabKey(dsply, key, AnyModifier, window, False, GrabModeAsync, GrabModeAsync);
  return 1;
}

int UnGrabSomeKeys() {
  if (!g_grabWindow) return 0;
  if (dsply) {
    for (int key : g_grabbedKeys) XUngrabKey(dsply, key, AnyModifier, g_grabWindow);
  }
  g_grabWindow = 0;
  g_grabbedKeys.clear();
  return 1;
}

void MessageBeep(int) {
  if (dsply) XBell(dsply, 78);
}
