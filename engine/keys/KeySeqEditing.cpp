// Editing of the typed keys: which character a key enters as, the limits
// on the key string, where a key goes (tones and strokes always after the
// pinyin letters), the pinyin page keys, BackSpace and Delete, the cursor
// keys and the removal of a trailing wildcard.
#include <algorithm>
#include <cctype>
#include <cstring>

#include "engine/CChnChars.h"
#include "engine/EngineHost.h"
#include "engine/formats/BiHuaFormat.h"
#include "engine/internal/ChoiceHelpers.h"
#include "engine/internal/ChoiceTexts.h"
#include "framework/KeySyms.h"

const char* const gszPingZeMa = bihua::kToneKeys;

namespace {

using choicehelp::LettersOf;
using choicehelp::PageSizeOf;

// Equal keys in a row before the insert point; the next one is refused.
constexpr int kMaxEqualKeys = 9;
// Keys of a full key string, with and without phrases.
constexpr int kMaxKeysWithCizu = 46;
constexpr int kMaxKeysWithoutCizu = 10;
// Stroke keys after the pinyin letters.
constexpr int kMaxStrokeKeys = 3;
// Pages the page keys move by in the multi-row layout.
constexpr int kRowsPerTurn = 3;
// Keys refused silently when the key string is full: the left Alt types
// '?' with every press, and Caps Lock and the Shift keys are names.
constexpr const char* kSilentlyRefused = "@#$?";

bool IsToneDigit(char c) { return c >= '1' && c <= '5'; }

}  // namespace

char CChnChars::KeyToKeySeqChar(unsigned long key, char c) {
  const bool pinyin = cfgInputManager.IsPinYinMethod();
  switch (key) {
    case keysym::kTab: return pinyin ? '2' : '!';
    case keysym::kCapsLock: return pinyin ? '3' : '@';
    case keysym::kShiftL: return pinyin ? '4' : '#';
    case keysym::kShiftR: return pinyin ? '5' : '$';
    case keysym::kAltL:
    case keysym::kAltR: return '?';
    default: break;
  }
  if (!pinyin) return c;
  if (c == ',') return '<';
  if (c == '.') return '>';
  if (c == '`' || key == keysym::kGrave) return '1';
  return c;
}

int CChnChars::RefuseKeyOverLimits(char ch) {
  IEngineHost& host = EngineHost();
  const int len = m_strKeySeq.GetLength();
  if (m_nInsertPt <= len) {
    int equal = 0;
    for (int i = m_nInsertPt - 1; i >= 0 && m_strKeySeq[i] == ch; --i) ++equal;
    if (equal >= kMaxEqualKeys) {
      host.MessageBeep();
      return 1;
    }
  }
  const int limit = cfgInputManager.useCizu ? kMaxKeysWithCizu : kMaxKeysWithoutCizu;
  if (len >= limit) {
    if (!ch || !strchr(kSilentlyRefused, ch)) {
      host.MessageBeep();
      host.MessageBeep();
    }
    return 1;
  }
  return 0;
}

int CChnChars::IsPinyinPageKey(unsigned long key, char ch) {
  const typInputSettings& cfg = cfgInputManager;
  if (!cfg.IsPinYinMethod()) return 0;
  const auto u = static_cast<unsigned char>(ch);
  if (u == 0 || u >= 0x7F || isalpha(u) || ch == '?') return 0;
  if (key == '\'' && ch == '\'') return 0;
  if (IsToneDigit(ch) || IsBiHuaCode(key, u, 0)) return 0;
  if (ch == ';' && cfg.ShuangPin && cfg.ShuangPinScheme == 0) return 0;
  return 1;
}

void CChnChars::TurnPinyinPage(char ch) {
  const int pageSize = PageSizeOf(m_nPageSize);
  const int n = m_arrChoices.GetSize();
  const int pages = n / pageSize + (n % pageSize ? 1 : 0);
  const CString s = LettersOf(m_strKeySeq);
  if (!IsPYProper(s) || !cfgInputManager.PYSingleCharShowMultiRow) {
    if (ch == '<') --m_nCurPage;
    if (ch == '>') ++m_nCurPage;
    if (m_nCurPage < 0) m_nCurPage = pages - 1;
    if (m_nCurPage > pages - 1) m_nCurPage = 0;
    return;
  }
  if (pages <= kRowsPerTurn) return;
  if (ch == '<') m_nCurPage -= kRowsPerTurn;
  if (ch == '>') m_nCurPage += kRowsPerTurn;
  if (m_nCurPage < 0)
    m_nCurPage = pages % kRowsPerTurn == 0 ? pages - kRowsPerTurn : pages - pages % kRowsPerTurn;
  if (m_nCurPage > pages - 1) m_nCurPage = 0;
}

void CChnChars::InsertKeySeqChar(char ch) {
  const int len = m_strKeySeq.GetLength();
  if (m_nInsertPt > len) m_nInsertPt = static_cast<int16_t>(len);
  if (m_nInsertPt < 0) m_nInsertPt = 0;
  // A key without text has no character: a NUL would end the key string
  // for every C-string reader while its length still counted it.
  if (ch == 0) {
  } else if (!cfgInputManager.IsPinYinMethod()) {
    m_strKeySeq.Insert(m_nInsertPt, ch);
    ++m_nInsertPt;
  } else if (IsToneDigit(ch)) {
    if (len > 0) {
      int i = len - 1;
      while (i > 0 && IsBiHuaCode(0, static_cast<unsigned char>(m_strKeySeq[i]), 0)) --i;
      if (IsToneDigit(m_strKeySeq[i])) {
        m_strKeySeq.SetAt(i, ch);
        m_nInsertPt = static_cast<int16_t>(i + 1);
      } else {
        m_strKeySeq.Insert(i + 1, ch);
        m_nInsertPt = static_cast<int16_t>(i + 2);
      }
    }
  } else if (IsBiHuaCode(0, static_cast<unsigned char>(ch), 0)) {
    if (len > 0) {
      std::string buf(m_strKeySeq.GetString(), len);
      const int k = GetCountOfBiHuaMa(buf.data(), nullptr, nullptr);
      if (m_nInsertPt < len - k) m_nInsertPt = static_cast<int16_t>(len - k);
      if (k == kMaxStrokeKeys && m_nInsertPt == len) {
        m_strKeySeq.SetAt(len - 1, ch);
      } else {
        m_strKeySeq.Insert(m_nInsertPt, ch);
        ++m_nInsertPt;
        if (k == kMaxStrokeKeys) m_strKeySeq.DeleteRight(1);
        m_nInsertPt = static_cast<int16_t>(std::min<int>(m_nInsertPt, m_strKeySeq.GetLength()));
      }
    }
  } else {
    const CString s = LettersOf(m_strKeySeq);
    if (m_nInsertPt > s.GetLength() && m_nInsertPt < len)
      m_nInsertPt = static_cast<int16_t>(s.GetLength());
    if (m_nInsertPt > s.GetLength()) {
      m_strKeySeq = s + ch;
      m_nInsertPt = static_cast<int16_t>(m_strKeySeq.GetLength());
    } else {
      m_strKeySeq.Insert(m_nInsertPt, ch);
      ++m_nInsertPt;
    }
  }
  if (cfgInputManager.IsPinYinMethod() && cfgInputManager.ShuangPin && m_strKeySeq == "v" && m_bAlt)
    m_strKeySeq = "V";
  MakeBackCopyOfm_strKeySeq();
  m_nCurPage = 0;
}

int CChnChars::BackSpaceKeySeq() {
  const int len = m_strKeySeq.GetLength();
  if (m_nInsertPt > len) m_nInsertPt = static_cast<int16_t>(len);
  if (m_nInsertPt <= 0) return 0;
  --m_nInsertPt;
  m_strKeySeq.Delete(m_nInsertPt, 1);
  MakeBackCopyOfm_strKeySeq();
  m_nCurPage = 0;
  ShowChoiceList(0, 0);
  return 1;
}

int CChnChars::AdjustInsertPt(unsigned long key) {
  const int len = m_strKeySeq.GetLength();
  if (m_nInsertPt > len) m_nInsertPt = static_cast<int16_t>(len);
  if (m_bCtrl && key == keysym::kLeft) key = keysym::kUp;
  if (m_bCtrl && key == keysym::kRight) key = keysym::kDown;
  const int16_t old = m_nInsertPt;
  int dir = 1;
  if (key == '\\') {
    m_bCtrl = 1;
    key = keysym::kLeft;
  }
  if (key == keysym::kHome || key == keysym::kLeft || key == keysym::kUp || key == keysym::kPrior)
    dir = -1;
  if (dir != m_nInsertLastDir) {
    ++m_nInsertDirChanges;
    m_nInsertLastDir = dir;
  }
  short pt = m_nInsertPt;
  switch (key) {
    case keysym::kDown:
    case keysym::kNext: GetNextInsertPt(m_strKeySeq, pt, 1, 0); break;
    case keysym::kLeft: pt = static_cast<short>(std::max(0, pt - 1)); break;
    case keysym::kRight: pt = static_cast<short>(std::min(len, pt + 1)); break;
    case keysym::kHome: pt = 0; break;
    case keysym::kEnd: pt = static_cast<short>(len); break;
    case keysym::kPrior: m_bCtrl = 1; [[fallthrough]];
    case keysym::kUp: {
      GetNextInsertPt(m_strKeySeq, pt, 0, 1);
      if (m_nZuCiMode && old - pt == 1 && m_nInsertDirChanges < 2) {
        short again = pt;
        GetNextInsertPt(m_strKeySeq, again, 0, 1);
        if (again >= 1) pt = again;
      }
      break;
    }
    case keysym::kDelete:
      if (m_nInsertPt >= len) return 0;
      m_strKeySeq.Delete(m_nInsertPt, 1);
      MakeBackCopyOfm_strKeySeq();
      m_nCurPage = 0;
      ShowChoiceList(0, 0);
      return 1;
    default: break;
  }
  m_nInsertPt = pt;
  if (m_nZuCiMode && (key == keysym::kLeft || key == keysym::kUp || key == keysym::kPrior)) {
    m_strTip = choicetext::kShrinkSegmentTip;
    EngineHost().ShowTipMsg(m_strTip);
  }
  const int changed = m_nInsertPt != old ? 1 : 0;
  if (changed && dir == -1 && m_bCtrl && m_nZuCiMode) ZuCiKeySplit();
  return changed;
}

void CChnChars::RemoveTrailingQuestionMark(int all) {
  if (m_strKeySeq.IsEmpty() || m_nInsertPt <= 0) return;
  const int typed = m_strKeySeq.GetLength();
  if (m_nInsertPt > typed) m_nInsertPt = static_cast<int16_t>(typed);
  if (m_strKeySeq[m_nInsertPt - 1] == '?') {
    --m_nInsertPt;
    m_strKeySeq.Delete(m_nInsertPt, 1);
  }
  // Only wildcards left (one or two): nothing worth keeping. A string that
  // merely starts with wildcards keeps its other keys.
  const int left = m_strKeySeq.GetLength();
  const bool onlyWild =
      left > 0 && left <= 2 && m_strKeySeq[0] == '?' && m_strKeySeq[left - 1] == '?';
  if (all && onlyWild) {
    m_strKeySeq.Empty();
    m_nInsertPt = 0;
  }
  MakeBackCopyOfm_strKeySeq();
  m_nCurPage = 0;
  if (typed > 1 && m_arrChoices.GetSize() > 0) ShowChoiceList(0, 0);
}
