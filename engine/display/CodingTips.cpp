// Coding tips: one short line on what is wrong with the keys just typed. The
// rules form one ordered table over five links (GetTipMsg, then GetTipMsg2
// to GetTipMsg5); the first rule that matches ends the search. The general
// and pinyin rules come first; the shape-code rules are data about the
// shape code's key layout (which key a root lies on, how a character is
// really coded), held as table rows; the last rule is computed.
#include <cstring>
#include <initializer_list>

#include "engine/CChnChars.h"

namespace {

using FatList = AArray<typCharFatFmt, typCharFatFmt&>;

// How a shape-code rule tests the keys against its codes.
enum class Test { kEquals, kContains, kStartsWith };

// One shape-code rule: when one of its codes passes the test (and the
// guard, given the keys and where the code was found), its hint applies;
// extra, when given, may append a further line.
constexpr int kMaxCodesPerRule = 4;
struct TipRule {
  Test test;
  const char* codes[kMaxCodesPerRule];  // unused entries null
  bool (*guard)(const CString& keys, int at);
  const char* hint;
  void (*extra)(const CString& keys, CString& hint);
};

bool IsOneOf(const CString& keys, std::initializer_list<const char*> list) {
  for (const char* s : list)
    if (keys == s) return true;
  return false;
}

// Where code passes the test in keys, or -1.
int Match(const TipRule& rule, const CString& keys, const char* code) {
  switch (rule.test) {
    case Test::kEquals: return keys == code ? 0 : -1;
    case Test::kContains: return keys.Find(code);
    case Test::kStartsWith: return strncmp(keys.GetString(), code, strlen(code)) == 0 ? 0 : -1;
  }
  return -1;
}

// The hint of the first rule of table that matches keys; null when none.
template <size_t N>
const char* FirstMatch(const TipRule (&table)[N], const CString& keys, CString& hint) {
  for (const TipRule& rule : table)
    for (const char* code : rule.codes) {
      if (!code) break;
      const int at = Match(rule, keys, code);
      if (at < 0 || (rule.guard && !rule.guard(keys, at))) continue;
      hint = rule.hint;
      if (rule.extra) rule.extra(keys, hint);
      return rule.hint;
    }
  return nullptr;
}

// ---- The general rules.
// 注意:
const char kNotice[] = "\xD7\xA2\xD2\xE2:";
// 你也许应按<ESC>重开始输入.
const char kTooLong[] =
    "\xC4\xE3\xD2\xB2\xD0\xED\xD3\xA6\xB0\xB4<ESC>"
    "\xD6\xD8\xBF\xAA\xCA\xBC\xCA\xE4\xC8\xEB.";
// 输<Tab> 请同时按<Shift>键
const char kTabKeys[] = "\xCA\xE4<Tab> \xC7\xEB\xCD\xAC\xCA\xB1\xB0\xB4<Shift>\xBC\xFC";
// 左<Alt>键为首字母匹配键,称<神键>;只要敲入它便可按只敲每字首字母方式输词组.
const char kLoneWildcardShuangPin[] =
    "\xD7\xF3<Alt>\xBC\xFC\xCE\xAA\xCA\xD7\xD7\xD6\xC4\xB8\xC6\xA5\xC5\xE4\xBC\xFC,\xB3\xC6<"
    "\xC9\xF1\xBC\xFC>;"
    "\xD6\xBB\xD2\xAA\xC7\xC3\xC8\xEB\xCB\xFC\xB1\xE3\xBF\xC9\xB0\xB4\xD6\xBB\xC7\xC3\xC3\xBF\xD7"
    "\xD6\xCA\xD7\xD7\xD6\xC4\xB8\xB7\xBD\xCA\xBD\xCA\xE4\xB4\xCA\xD7\xE9.";
// 左<Alt>键为任意匹配键,称为<神键>; 可用来代替不会输的拼音或字根.
const char kLoneWildcard[] =
    "\xD7\xF3<Alt>\xBC\xFC\xCE\xAA\xC8\xCE\xD2\xE2\xC6\xA5\xC5\xE4\xBC\xFC,\xB3\xC6\xCE\xAA<"
    "\xC9\xF1\xBC\xFC>; "
    "\xBF\xC9\xD3\xC3\xC0\xB4\xB4\xFA\xCC\xE6\xB2\xBB\xBB\xE1\xCA\xE4\xB5\xC4\xC6\xB4\xD2\xF4\xBB"
    "\xF2\xD7\xD6\xB8\xF9.";
// 编码中不能全是左<Alt>键.
const char kOnlyWildcards[] =
    "\xB1\xE0\xC2\xEB\xD6\xD0\xB2\xBB\xC4\xDC\xC8\xAB\xCA\xC7\xD7\xF3<Alt>\xBC\xFC.";
// ---- The pinyin rules.
// 若使用了<任意匹配键>(即神键)则总键数至少要有四键.
const char kWildcardNeedsFourKeys[] =
    "\xC8\xF4\xCA\xB9\xD3\xC3\xC1\xCB<\xC8\xCE\xD2\xE2\xC6\xA5\xC5\xE4\xBC\xFC>("
    "\xBC\xB4\xC9\xF1\xBC\xFC)"
    "\xD4\xF2\xD7\xDC\xBC\xFC\xCA\xFD\xD6\xC1\xC9\xD9\xD2\xAA\xD3\xD0\xCB\xC4\xBC\xFC.";
// “van”应为“uan”
const char kVanIsUan[] = "\xA1\xB0van\xA1\xB1\xD3\xA6\xCE\xAA\xA1\xB0uan\xA1\xB1";
// “vn”应为“un”
const char kVnIsUn[] = "\xA1\xB0vn\xA1\xB1\xD3\xA6\xCE\xAA\xA1\xB0un\xA1\xB1";
// 吕输为“lv”而非“lu”
const char kLvNotLu[] =
    "\xC2\xC0\xCA\xE4\xCE\xAA\xA1\xB0lv\xA1\xB1\xB6\xF8\xB7\xC7\xA1\xB0lu\xA1\xB1";
// 女输为“nv”而非“nu”
const char kNvNotNu[] =
    "\xC5\xAE\xCA\xE4\xCE\xAA\xA1\xB0nv\xA1\xB1\xB6\xF8\xB7\xC7\xA1\xB0nu\xA1\xB1";
// ---- The computed last rule.
// 若字根重复%d次,且连在一起,则敲该字根一次,然后敲%d
const char kRepeatedRoot[] =
    "\xC8\xF4\xD7\xD6\xB8\xF9\xD6\xD8\xB8\xB4%d\xB4\xCE,\xC7\xD2\xC1\xAC\xD4\xDA\xD2\xBB\xC6\xF0,"
    "\xD4\xF2\xC7\xC3\xB8\xC3\xD7\xD6\xB8\xF9\xD2\xBB\xB4\xCE,\xC8\xBB\xBA\xF3\xC7\xC3%d";

// Keys at which the general rules give up: longer strings are not a typo.
constexpr int kMaxKeysWithCizu = 24;
constexpr int kMaxKeysWithoutCizu = 11;
// With a wildcard, a pinyin key string needs this many keys.
constexpr int kMinKeysWithWildcard = 4;

// ---- The shape-code table, link by link.

const TipRule kLink1[] = {
    {Test::kContains,
     {"61-"},
     nullptr,
     // “帝”输为 6-
     "\xA1\xB0\xB5\xDB\xA1\xB1\xCA\xE4\xCE\xAA 6- ",
     nullptr},
    {Test::kEquals,
     {"8n"},
     nullptr,
     // “内”在 - 键上
     "\xA1\xB0\xC4\xDA\xA1\xB1\xD4\xDA - \xBC\xFC\xC9\xCF",
     nullptr},
    {Test::kEquals,
     {"h8", "39"},
     nullptr,
     // “兴，光”都在 X 键上
     "\xA1\xB0\xD0\xCB\xA3\xAC\xB9\xE2\xA1\xB1\xB6\xBC\xD4\xDA X \xBC\xFC\xC9\xCF",
     nullptr},
    {Test::kContains,
     {"tgh"},
     nullptr,
     // “面”输为 TG
     "\xA1\xB0\xC3\xE6\xA1\xB1\xCA\xE4\xCE\xAA TG",
     nullptr},
};

const TipRule kLink2[] = {
    {Test::kContains,
     {"roc", "rnc"},
     [](const CString& keys, int) { return keys.GetLength() > 2; },
     // “免”--->  RC “兔”---> RC1
     "\xA1\xB0\xC3\xE2\xA1\xB1--->  RC   \xA1\xB0\xCD\xC3\xA1\xB1--->  RC1",
     nullptr},
    {Test::kContains,
     {"g@"},
     [](const CString& keys, int) {
       return !IsOneOf(keys, {"1ng@", "qg@", "fg@", "ig@"});
     },
     // “果”输为 B@
     "\xA1\xB0\xB9\xFB\xA1\xB1\xCA\xE4\xCE\xAA B@",
     nullptr},
    {Test::kContains,
     {"88n"},
     [](const CString& keys, int) {
       return !IsOneOf(keys, {"v88nc", "v88n8"});
     },
     // “肉”可输为 -8
     "\xA1\xB0\xC8\xE2\xA1\xB1\xBF\xC9\xCA\xE4\xCE\xAA -8",
     nullptr},
};

const TipRule kLink3[] = {
    {Test::kStartsWith,
     {"1t2"},
     [](const CString& keys, int) {
       return keys.GetLength() > 3 && keys[3] != 'w' && keys[3] != 'b';
     },
     // “疒”输为 1T
     "\xA1\xB0\xF0\xDA\xA1\xB1\xCA\xE4\xCE\xAA 1T",
     nullptr},
    {Test::kContains,
     {",j"},
     [](const CString& keys, int at) { return at == 0 || keys[at - 1] != '1'; },
     // “匆”为 ，键上的成字根
     "\xA1\xB0\xB4\xD2\xA1\xB1\xCE\xAA "
     "\xA3\xAC\xBC\xFC\xC9\xCF\xB5\xC4\xB3\xC9\xD7\xD6\xB8\xF9",
     nullptr},
    {Test::kContains,
     {"tn8"},
     [](const CString& keys, int) { return !(keys.GetLength() == 4 && keys[3] == 'i'); },
     // “页”可输为  T8            （略去 N）
     "\xA1\xB0\xD2\xB3\xA1\xB1\xBF\xC9\xCA\xE4\xCE\xAA  T8            "
     "\xA3\xA8\xC2\xD4\xC8\xA5 N\xA3\xA9",
     nullptr},
    {Test::kContains,
     {"18n"},
     [](const CString& keys, int) { return keys.Left(4) != "f18n"; },
     // “丙”输为 TN
     "\xA1\xB0\xB1\xFB\xA1\xB1\xCA\xE4\xCE\xAA TN",
     nullptr},
};

const TipRule kLink4[] = {
    {Test::kContains,
     {"xu"},
     nullptr,
     // “凶”为 U 键上的字根
     "\xA1\xB0\xD0\xD7\xA1\xB1\xCE\xAA U \xBC\xFC\xC9\xCF\xB5\xC4\xD7\xD6\xB8\xF9",
     nullptr},
    {Test::kContains,
     {",1"},
     nullptr,
     // “乌”输为 J/，“勺”为“勿”键上字根
     "\xA1\xB0\xCE\xDA\xA1\xB1\xCA\xE4\xCE\xAA "
     "J/"
     "\xA3\xAC\xA1\xB0\xC9\xD7\xA1\xB1\xCE\xAA\xA1\xB0\xCE\xF0\xA1\xB1\xBC\xFC\xC9\xCF\xD7\xD6\xB8"
     "\xF9",
     [](const CString& keys, CString& hint) {
       if (keys.Find("v,1") >= 0)
         hint += "    \xA1\xB0\xBF\xBC\xA1\xB1\xBF\xC9\xCA\xE4\xCE\xAA V5";  // “考”可输为 V5
       else if (keys.Find("1,1") >= 0 || keys.Find(",11") >= 0)
         hint += "    \xA1\xB0\xD3\xEB\xA1\xB1\xBF\xC9\xCA\xE4\xCE\xAA 51";  // “与”可输为 51
     }},
};

// Keys of the repeated-root rule that are codes of their own.
const char* const kRepeatsThatAreCodes[] = {"333", "mmm", "sss",   "www", "lll",
                                            "ddd", "zzz", "tgmmm", "xxx"};

int CountOf(const CString& keys, char c) {
  int n = 0;
  for (int i = 0; i < keys.GetLength(); ++i)
    if (keys[i] == c) ++n;
  return n;
}

// The general and pinyin rules; null when none applies (and, in pinyin
// input, pinyinDone tells that the shape-code table must not be tried).
const char* GeneralHint(const CString& keys, bool& pinyinDone) {
  const typInputSettings& cfg = cfgInputManager;
  const bool pinyin = cfg.IsPinYinMethod();
  const int n = keys.GetLength();
  const int w = CountOf(keys, '?');
  pinyinDone = pinyin;
  if ((cfg.useCizu && n > kMaxKeysWithCizu) || (!cfg.useCizu && n > kMaxKeysWithoutCizu))
    return kTooLong;
  if (IsOneOf(keys, {"!", "!!", "!!!"}) || strncmp(keys.GetString(), "!!!!", 4) == 0)
    return kTabKeys;
  if (n == 1 && w == 1) return pinyin && cfg.ShuangPin ? kLoneWildcardShuangPin : kLoneWildcard;
  if (n > 0 && n == w) return kOnlyWildcards;
  if (!pinyin) return nullptr;
  if (n < kMinKeysWithWildcard && w > 0) return kWildcardNeedsFourKeys;
  if (keys.Find("van") > 0) return kVanIsUan;
  if (keys.Find("vn") > 0) return kVnIsUn;
  if (keys.Find("lu") >= 0) return kLvNotLu;
  if (keys.Find("nu") >= 0) return kNvNotNu;
  return nullptr;
}

}  // namespace

int CChnChars::GetTipMsg(CString keys, CString& tip, int unused) {
  tip.Empty();
  CString hint;
  bool pinyinDone = false;
  if (const char* general = GeneralHint(keys, pinyinDone)) {
    hint = general;
  } else if (!pinyinDone && !FirstMatch(kLink1, keys, hint)) {
    // The link's last rule: these keys end the search here.
    if (keys.Find("n2n2") < 0 && keys.Find("bv4") < 0 && keys.Find("gv4") < 0)
      GetTipMsg2(keys, hint, unused);
  }
  if (hint.IsEmpty()) return 0;
  tip = kNotice;
  tip += hint;
  return 1;
}

int CChnChars::GetTipMsg2(CString keys, CString& hint, int unused) {
  if (FirstMatch(kLink2, keys, hint)) return 1;
  if (keys != "hq") return GetTipMsg3(keys, hint, unused);
  return 0;
}

int CChnChars::GetTipMsg3(CString keys, CString& hint, int unused) {
  if (FirstMatch(kLink3, keys, hint)) return 1;
  if (keys != "fi") return GetTipMsg4(keys, hint, unused);
  return 0;
}

int CChnChars::GetTipMsg4(CString keys, CString& hint, int) {
  if (FirstMatch(kLink4, keys, hint)) return 1;
  return GetTipMsg5(keys, hint);
}

int CChnChars::GetTipMsg5(CString keys, CString& hint) {
  if (m_bLookAheadHit) return 0;
  for (const char* code : kRepeatsThatAreCodes)
    if (keys == code) return 0;
  // Likewise any code of the loaded shape code: Wubi 86 types its key-name
  // characters by four equal keys (ffff, aaaa), which are no mistake.
  FatList hits;
  if (LookupExactHelper(keys, hits, 0, kXingMa) || LookupExactHelper(keys, hits, 1, kXingMa))
    return 0;
  const int n = keys.GetLength();
  for (int i = 0; i + 2 < n; ++i) {
    const char c = keys[i];
    if (c == '?' || keys[i + 1] != c || keys[i + 2] != c) continue;
    const int run = i + 3 < n && keys[i + 3] == c ? 4 : 3;
    hint.Format(kRepeatedRoot, run, run);
    return 1;
  }
  return 0;
}
