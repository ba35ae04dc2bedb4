// ASCII punctuation and symbol keys to their GBK full-width and Chinese
// forms, and the small character tests around them. Results are GBK
// characters in memory order (the two bytes as they lie in text, read
// little-endian: lead byte low); 0 means "no mapping".
#include "engine/CChnChars.h"

#include "engine/formats/CharDictFormat.h"
#include "engine/internal/CharReadings.h"
#include "engine/internal/ChnNumerals.h"

namespace {

// Memory order of a GBK character given lead and trail byte.
constexpr int Mem(int lead, int trail) { return lead | (trail << 8); }

struct PunctRow {
  char key;
  int plain;    // Chinese punctuation off: full-width form
  int chinese;  // Chinese punctuation on
};
// '"' and '\'' alternate and are handled apart.
constexpr PunctRow kPunct[] = {
    {'!', Mem(0xA3, 0xA1), Mem(0xA3, 0xA1)},   // ！ ！
    {'@', Mem(0xA3, 0xC0), Mem(0xA1, 0xA4)},   // ＠ ·
    {'$', Mem(0xA1, 0xE7), Mem(0xA3, 0xA4)},   // ＄ ￥
    {'^', Mem(0xA1, 0xAD), Mem(0xA1, 0xAD)},   // … …
    {'&', Mem(0xA3, 0xA6), Mem(0xA1, 0xEC)},   // ＆ §
    {'(', Mem(0xA3, 0xA8), Mem(0xA3, 0xA8)},   // （
    {')', Mem(0xA3, 0xA9), Mem(0xA3, 0xA9)},   // ）
    {'_', Mem(0xA3, 0xDF), Mem(0xA1, 0xAA)},   // ＿ —
    {':', Mem(0xA3, 0xBA), Mem(0xA3, 0xBA)},   // ：
    {';', Mem(0xA3, 0xBB), Mem(0xA3, 0xBB)},   // ；
    {'<', Mem(0xA3, 0xBC), Mem(0xA1, 0xB6)},   // ＜ 《
    {'>', Mem(0xA3, 0xBE), Mem(0xA1, 0xB7)},   // ＞ 》
    {',', Mem(0xA3, 0xAC), Mem(0xA3, 0xAC)},   // ，
    {'.', Mem(0xA1, 0xA3), Mem(0xA1, 0xA3)},   // 。
    {'?', Mem(0xA3, 0xBF), Mem(0xA3, 0xBF)},   // ？
    {'\\', Mem(0xA3, 0xDC), Mem(0xA1, 0xA2)},  // ＼ 、
};
constexpr int kDoubleOpen = Mem(0xA1, 0xB0), kDoubleClose = Mem(0xA1, 0xB1);  // “ ”
constexpr int kSingleOpen = Mem(0xA1, 0xAE), kSingleClose = Mem(0xA1, 0xAF);  // ‘ ’
constexpr int kFullStopWide = Mem(0xA3, 0xAE);                                // ．
constexpr int kFullStop = Mem(0xA1, 0xA3);                                    // 。

struct SymbolRow {
  char key;
  int value;
};
constexpr SymbolRow kSymbols[] = {
    {'~', Mem(0xA1, 0xAB)}, {'`', Mem(0xA3, 0xE0)},  // ～ ｀
    {'#', Mem(0xA3, 0xA3)}, {'%', Mem(0xA3, 0xA5)},  // ＃ ％
    {'^', Mem(0xA3, 0xDE)}, {'*', Mem(0xA1, 0xEF)},  // ＾ ★
    {'-', Mem(0xA3, 0xAD)}, {'+', Mem(0xA3, 0xAB)},  // － ＋
    {'=', Mem(0xA3, 0xBD)}, {'{', Mem(0xA3, 0xFB)},  // ＝ ｛
    {'}', Mem(0xA3, 0xFD)}, {'[', Mem(0xA3, 0xDB)},  // ｝ ［
    {']', Mem(0xA3, 0xDD)}, {'/', Mem(0xA3, 0xAF)},  // ］ ／
    {'|', Mem(0xA3, 0xFC)}, {' ', Mem(0xA1, 0xA1)},  // ｜ 　
};
constexpr int kFullWidthLead = 0xA3;
constexpr int kFullWidthDigit0 = 0xB0;  // trail of "０"
constexpr int kFullWidthLetterShift = 0x80;
constexpr int kSectionByte = 0xA7;
constexpr int kSection = Mem(0xA1, 0xEC);  // §

// ！＠·＄￥…＆§（）＿—：；″“”′‘’＜《＞》，．。？＼、
constexpr char kChnPunctuations[] =
    "\xA3\xA1\xA3\xC0\xA1\xA4\xA1\xE7\xA3\xA4\xA1\xAD\xA3\xA6\xA1\xEC\xA3\xA8\xA3\xA9"
    "\xA3\xDF\xA1\xAA\xA3\xBA\xA3\xBB\xA1\xE5\xA1\xB0\xA1\xB1\xA1\xE4\xA1\xAE\xA1\xAF"
    "\xA3\xBC\xA1\xB6\xA3\xBE\xA1\xB7\xA3\xAC\xA3\xAE\xA1\xA3\xA3\xBF\xA3\xDC\xA1\xA2";
constexpr int kChnPunctuationCount = 30;
static_assert(sizeof kChnPunctuations == 2 * kChnPunctuationCount + 1, "30 characters");

// The punctuation mapping with the quotation state given: open flags of
// the double and the single mark.
int Punctuation(int key, int chnPunct, int doubleOpen, int singleOpen) {
  if (key == '"') return doubleOpen ? kDoubleOpen : kDoubleClose;
  if (key == '\'') return singleOpen ? kSingleOpen : kSingleClose;
  for (const PunctRow& r : kPunct)
    if (r.key == key) return chnPunct ? r.chinese : r.plain;
  return 0;
}

int EffectiveChnPunct(int chnPunct) {
  return chnPunct < 0 ? cfgInputManager.UseChnPunctMark : chnPunct;
}

}  // namespace

int CChnChars::EngChar2GB_Punctuation(unsigned long key, int chnPunct) {
  const int k = static_cast<int>(key & 0xFF);
  const int v = Punctuation(k, EffectiveChnPunct(chnPunct), m_bDoubleQuoteOpen, m_bSingleQuoteOpen);
  if (k == '"') m_bDoubleQuoteOpen = !m_bDoubleQuoteOpen;
  if (k == '\'') m_bSingleQuoteOpen = !m_bSingleQuoteOpen;
  return v;
}

int CChnChars::EngChar2GB_PunctuationStandardize(unsigned long ch) {
  if (static_cast<int>(ch) == kFullStopWide) return kFullStop;
  for (const PunctRow& r : kPunct)
    if (r.plain != r.chinese && r.plain == static_cast<int>(ch)) return r.chinese;
  return 0;
}

int CChnChars::EngChar2GB_Symbol(unsigned long key) {
  const int k = static_cast<int>(key & 0xFF);
  if (k >= '0' && k <= '9') return Mem(kFullWidthLead, kFullWidthDigit0 + (k - '0'));
  for (const SymbolRow& r : kSymbols)
    if (r.key == k) return r.value;
  if ((k >= 'a' && k <= 'z') || (k >= 'A' && k <= 'Z'))
    return Mem(kFullWidthLead, k + kFullWidthLetterShift);
  if (k == kSectionByte) return kSection;
  return 0;
}

int CChnChars::EngChar2GB(unsigned long key, int mapKind, int chnPunct) {
  if (mapKind == 0) return EngChar2GB_Punctuation(key, chnPunct);
  if (mapKind == 1) return EngChar2GB_Symbol(key);
  const int v = EngChar2GB_Punctuation(key, chnPunct);
  return v ? v : EngChar2GB_Symbol(key);
}

int CChnChars::PeekEngChar2GB(unsigned long key, int mapKind, int chnPunct) const {
  const int k = static_cast<int>(key & 0xFF);
  if (mapKind == 1) return EngChar2GB_Symbol(key);
  const int v = Punctuation(k, EffectiveChnPunct(chnPunct), m_bDoubleQuoteOpen, m_bSingleQuoteOpen);
  return v || mapKind == 0 ? v : EngChar2GB_Symbol(key);
}

int CChnChars::IsChnAlphaNumeric(unsigned short code) {
  return (code >= 0xA3B0 && code <= 0xA3B9) || (code >= 0xA3C1 && code <= 0xA3DA) ||
                 (code >= 0xA3E1 && code <= 0xA3FA)
             ? 1
             : 0;
}

int CChnChars::IsChnNumeric(unsigned short ch) {
  if ((ch & 0xFF) == kFullWidthLead && (ch >> 8) >= kFullWidthDigit0 &&
      (ch >> 8) <= kFullWidthDigit0 + 9)
    return 1;
  for (int i = 0; i < chnnum::kEntries; ++i)
    if (chnnum::Entry(chnnum::kDigits, i) == ch || chnnum::Entry(chnnum::kCapitalDigits, i) == ch)
      return 1;
  return 0;
}

int CChnChars::IsChnPunctuation(unsigned short ch) {
  for (int i = 0; i < kChnPunctuationCount; ++i)
    if (chnnum::Entry(kChnPunctuations, i) == ch) return 1;
  return 0;
}

int CChnChars::IsCommonChar(char* ch) {
  const unsigned short v = chnreadings::MemoryOrder(ch);
  if (!m_charIsCommon.empty()) return m_charIsCommon[v];
  return CommonInReadingMaps(v);
}

int CChnChars::CommonInReadingMaps(unsigned short v) const {
  uint8_t flags = 0;
  if (!m_mapCh2PYs.LookupFlags(v, flags) && !m_mapCh2PYsDiaoInOrder.LookupFlags(v, flags)) return 0;
  return (flags & chardict::kCommonMask) == chardict::kCommonFlag;
}
