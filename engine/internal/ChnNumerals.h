// ChnNumerals.h: the two numeral tables, GBK, two bytes a numeral, eleven
// entries: digit d ('0'..'9') stands for entry d (so '0' is 十) and entry
// 10 is the letter o's "Ｏ" (or 零 in the capital table). The number
// phrases, the number modes and IsChnNumeric read them.
#pragma once

namespace chnnum {

constexpr int kEntries = 11;
constexpr int kLetterO = 10;  // entry of the letter 'o'
// 十一二三四五六七八九Ｏ
constexpr char kDigits[] =
    "\xCA\xAE\xD2\xBB\xB6\xFE\xC8\xFD\xCB\xC4\xCE\xE5\xC1\xF9\xC6\xDF\xB0\xCB\xBE\xC5\xA3\xCF";
// 拾壹贰叁肆伍陆柒捌玖零
constexpr char kCapitalDigits[] =
    "\xCA\xB0\xD2\xBC\xB7\xA1\xC8\xFE\xCB\xC1\xCE\xE9\xC2\xBD\xC6\xE2\xB0\xC6\xBE\xC1\xC1\xE3";

// Entry i of a table in memory order (lead byte low).
constexpr unsigned short Entry(const char* table, int i) {
  return static_cast<unsigned short>(static_cast<unsigned char>(table[2 * i]) |
                                     (static_cast<unsigned char>(table[2 * i + 1]) << 8));
}

}  // namespace chnnum
