// Number phrases: in shape-code input a key string of digit keys and the
// shape codes of numerals and measure words reads as one phrase (3, the
// code of 百, 5 give 三百五), offered as one candidate of kind kFatNumCi
// whose text is m_strNumCi.
//
// The unit codes are those of the shape code the table was made for;
// with another shape code's dictionaries a unit is typed by these codes
// all the same.
#include "engine/CChnChars.h"

#include <cstring>

#include "engine/internal/ChnNumerals.h"

namespace {

struct UnitRow {
  const char* code;
  const char* word;  // GBK
  int weight;
};

// Tried in this order: the first row whose code matches wins, so longer
// codes come before their prefixes.
constexpr UnitRow kUnitWords[] = {
    {"[rr", "\xB3\xC9\xB6\xE0", 15},              // 成多
    {"@1", "\xB1\xBE", 15},                       // 本
    {"@r", "\xC3\xB6", 15},                       // 枚
    {"'s", "\xC3\xEB", 15},                       // 秒
    {"-1og", "\xB7\xF9", 15},                     // 幅
    {"'oi", "\xD6\xD6", 15},                      // 种
    {".", "\xC3\xD7", 15},                        // 米
    {";o", "\xCC\xA8", 15},                       // 台
    {"1,;o", "\xCD\xF2\xCC\xA8", 15},             // 万台
    {"1ri", "\xC1\xD0", 15},                      // 列
    {"1t88v", "\xD7\xF9", 15},                    // 座
    {"1thy", "\xB6\xC8", 15},                     // 度
    {"1,", "\xCD\xF2", 10},                       // 万
    {"22i", "\xD0\xD0", 15},                      // 行
    {"2c", "\xD4\xAA", 15},                       // 元
    {"2ht", "\xC6\xBF", 15},                      // 瓶
    {"3rabv", "\xBA\xA3\xC0\xEF", 15},            // 海里
    {"8;bv", "\xB9\xAB\xC0\xEF", 15},             // 公里
    {"82r8", "\xC8\xCB\xB4\xCE", 15},             // 人次
    {"8j4", "\xC5\xE8", 15},                      // 盆
    {"8jz", "\xB7\xD6\xD6\xAE", 15},              // 分之
    {"8jrfoi", "\xB7\xD6\xD6\xD3", 15},           // 分钟
    {"8j.", "\xB7\xD6\xC3\xD7", 15},              // 分米
    {"8j", "\xB7\xD6", 15},                       // 分
    {"9@", "\xB6\xE4", 15},                       // 朵
    {";m", "\xD7\xE9", 15},                       // 组
    {"bjwm8n", "\xD0\xC7\xC6\xDA", 15},           // 星期
    {"b=", "\xCA\xB1", 15},                       // 时
    {"bv", "\xC0\xEF", 15},                       // 里
    {"b", "\xC8\xD5", 15},                        // 日
    {"c1w@", "\xBC\xAF", 15},                     // 集
    {"cw@", "\xBC\xAF", 15},                      // 集
    {"c6o", "\xB1\xB6", 15},                      // 倍
    {"c6", "\xCE\xBB", 15},                       // 位
    {"c8j", "\xB7\xDD", 15},                      // 份
    {"cz", "\xD2\xDA", 10},                       // 亿
    {"d", "\xB4\xF3", 99999},                     // 大
    {"ex", "\xC7\xF8", 15},                       // 区
    {"f!e", "\xC5\xC5", 15},                      // 排
    {"f77", "\xC5\xFA", 15},                      // 批
    {"f19nf1", "\xC1\xBE", 15},                   // 辆
    {"f19n", "\xC1\xBE\xB3\xB5", 15},             // 辆车
    {"f1", "\xB3\xB5", 15},                       // 车
    {"f", "\xC7\xA7", 10},                        // 千
    {"jn4", "\xC5\xCC", 15},                      // 盘
    {"lk1", "\xD5\xC5", 15},                      // 张
    {"m;", "\xCF\xD8", 15},                       // 县
    {"norf", "\xD6\xDC\xC4\xEA", 15},             // 周年
    {"no", "\xD6\xDC", 15},                       // 周
    {"n", "\xD4\xC2", 15},                        // 月
    {"o1,", "\xBA\xC5", 15},                      // 号
    {"o1u", "\xB6\xD6", 15},                      // 吨
    {"o8", "\xD6\xBB", 15},                       // 只
    {"oi", "\xD6\xD0", 99999},                    // 中
    {"qo1w.", "\xBA\xC1\xC3\xD7", 15},            // 毫米
    {"q-", "\xCA\xD0", 15},                       // 市
    {"qlhp", "\xD7\xD6\xBD\xDA", 15},             // 字节
    {"p2;", "\xB2\xE3", 15},                      // 层
    {"p8", "\xB6\xD3", 15},                       // 队
    {"pg", "\xBD\xEC", 15},                       // 届
    {"r@", "\xCC\xF5", 15},                       // 条
    {"rf'2", "\xC4\xEA\xC0\xB4", 15},             // 年来
    {"rfc[", "\xC4\xEA\xB4\xFA", 15},             // 年代
    {"rf1thy", "\xC4\xEA\xB6\xC8", 15},           // 年度
    {"rf", "\xC4\xEA", 15},                       // 年
    {"rn", "\xBD\xC7", 15},                       // 角
    {"ro", "\xC3\xFB", 15},                       // 名
    {"rr0y", "\xB6\xE0\xD6\xA7", 15},             // 多支
    {"rrs", "\xB6\xE0\xB8\xF6", 15},              // 多个
    {"rrrf", "\xB6\xE0\xC4\xEA", 15},             // 多年
    {"rr", "\xB6\xE0", 99999},                    // 多
    {"sjm", "\xCA\xA1", 15},                      // 省
    {"sl", "\xB5\xDA", 0},                        // 第
    {"sm", "\xCA\xA1", 15},                       // 省
    {"s", "\xB8\xF6", 13},                        // 个
    {"tb8jio4", "\xB0\xD9\xB7\xD6\xB5\xE3", 15},  // 百分点
    {"tbv.", "\xC0\xE5\xC3\xD7", 15},             // 厘米
    {"tb", "\xB0\xD9", 10},                       // 百
    {"ur", "\xCB\xEA", 15},                       // 岁
    {"vcw", "\xB6\xD1", 15},                      // 堆
    {"vc1w", "\xB6\xD1", 15},                     // 堆
    {"vtn8", "\xCF\xEE", 15},                     // 项
    {"vt8", "\xCF\xEE", 15},                      // 项
    {"v!8", "\xBF\xE9", 15},                      // 块
    {"vv=c13o", "\xB7\xE2\xD0\xC5", 15},          // 封信
    {"vv=c3o", "\xB7\xE2\xD0\xC5", 15},           // 封信
    {"vv=", "\xB7\xE2", 15},                      // 封
    {"xmz", "\xB5\xC0", 15},                      // 道
    {"zrr", "\xD6\xAE\xB6\xE0", 99999},           // 之多
};

// The only unit of weight above 10 that may open a phrase (星期) and its
// shorter forms.
constexpr char kOpeningUnitCode[] = "bjwm8n";
constexpr int kMinKeys = 4;
constexpr int kNoPhraseBigWeight = kNumUnitBigNumeral;

bool IsLowerLetter(char c) { return c >= 'a' && c <= 'z'; }

// The check letter of keys: a doubled last lower-case letter, except 'o'
// and 'r' (numeral and unit codes end in them) and the unit "zrr".
char CheckLetterOf(const CString& keys) {
  const int n = keys.GetLength();
  const char last = keys[n - 1];
  if (last == 'o' || last == 'r') return 0;
  if (n >= 3 && strcmp(keys.GetString() + n - 3, "zrr") == 0) return 0;
  return keys[n - 2] == last && IsLowerLetter(last) ? last : 0;
}

}  // namespace

void CChnChars::InitNumUnitWords() {
  m_arrNumUnitWords.RemoveAll();
  for (const UnitRow& r : kUnitWords) {
    typNumUnitWord w;
    w.code = r.code;
    w.word = r.word;
    w.weight = r.weight;
    m_arrNumUnitWords.Add(w);
  }
}

int CChnChars::NumCizuMatch(CString key, AArray<typCharFatFmt, typCharFatFmt&>& out) {
  const int n = key.GetLength();
  if (n < kMinKeys) return 0;
  m_strNumCi.Empty();
  const char check = CheckLetterOf(key);
  const int end = check ? n - 2 : n;
  const char* keys = key.GetString();
  bool lastWasUnit = false;
  int lastWeight = 0;
  CString phrase;
  for (int pos = 0; pos < end;) {
    const typNumUnitWord* row = nullptr;
    for (int i = 0; i < m_arrNumUnitWords.GetSize() && !row; ++i) {
      const typNumUnitWord& w = m_arrNumUnitWords[i];
      const int len = w.code.GetLength();
      if (len == 0 || pos + len > end || strncmp(keys + pos, w.code, static_cast<size_t>(len)) != 0)
        continue;
      if (w.weight == kNumUnitEndOnly && pos + len != end) continue;
      row = &w;
    }
    if (row) {
      if (pos == 0 && row->weight > kNoPhraseBigWeight &&
          strncmp(kOpeningUnitCode, row->code, static_cast<size_t>(row->code.GetLength())) != 0)
        return 0;
      if (pos > 0 && row->weight == kNumUnitStartOnly) return 0;
      if (lastWasUnit && row->weight <= lastWeight) return 0;
      phrase += row->word;
      pos += row->code.GetLength();
      lastWasUnit = true;
      lastWeight = row->weight;
      continue;
    }
    const char c = keys[pos];
    int entry;
    if (c >= '0' && c <= '9')
      entry = c - '0';
    else if (c == 'o')
      entry = chnnum::kLetterO;
    else
      return 0;
    const char numeral[3] = {chnnum::kDigits[2 * entry], chnnum::kDigits[2 * entry + 1], 0};
    phrase += numeral;
    lastWasUnit = false;
    ++pos;
  }
  const int len = phrase.GetLength();
  if (len < 2) return 0;
  if (check && !ChnCharHasThisPY1stLetter(phrase.GetString() + len - 2, check)) return 0;
  m_strNumCi = phrase;
  typCharFatFmt c;
  c.kind = kFatNumCi;
  out.Add(c);
  m_nRows[0] = 0;
  m_nRows[1] = 1;
  return 1;
}
