// The pinyin key filter: while keys are typed (or a phrase is being built)
// a key that is not a letter either edits the keys, becomes a tone, a
// stroke, a page key or a selection key, or goes back to the client.
#include "engine/keys/KeyRoad.h"

#include "framework/KeySyms.h"

namespace {

// Keys that go on along the road as tones, strokes, wildcards or page keys.
bool GoesOn(unsigned long key) {
  switch (key) {
    case keysym::kGrave:
    case keysym::kCapsLock:
    case keysym::kShiftL:
    case keysym::kShiftR:
    case '-':
    case '=':
    case keysym::kSpace:
    case keysym::kAltL:
    case keysym::kAltR:
    case '[':
    case ']':
    case ';':
    case ',':
    case '.': return true;
    default: return false;
  }
}

}  // namespace

namespace keyroad {

int PinyinKeyFilter(CChnChars& e, typKeyRoad& r) {
  const bool typed = KeysTyped(e);
  if (r.key == keysym::kBackSpace) return e.BackSpaceKeySeq();
  if (GoesOn(r.key)) return kGoOnWithKey;
  if (r.key == '/' && cfgInputManager.ShuangPin) return kGoOnWithKey;
  if (r.key >= '0' && r.key <= '9' && typed && !e.m_bShift) {
    r.key = r.key == '0' ? keysym::kF10 : keysym::kF1 + (r.key - '1');
    return kGoOnWithKey;
  }
  if (r.key == keysym::kTab && typed) return kGoOnWithKey;
  if (r.key == '\'' && typed && e.m_nInsertPt > 0) {
    const CString& keys = e.m_strKeySeq;
    const int len = keys.GetLength();
    const int point = e.m_nInsertPt < len ? e.m_nInsertPt : len;
    const int at = point < len ? point : len - 1;
    if (keys[point - 1] != '\'' && keys[at] != '\'') return kGoOnWithKey;
  }
  return e.m_bShift ? kGoOnWithKey : 0;
}

}  // namespace keyroad
