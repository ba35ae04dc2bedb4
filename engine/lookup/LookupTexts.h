// LookupTexts.h: the fixed GBK texts and characters of the lookups: the
// symbol list that "v" offers, the tips of the lookup driver and the
// characters its shape-code shortcuts answer with. Each text's meaning is
// given beside it in its own characters.
#pragma once

#include <cstdint>

// The 338 double-byte symbols that the pinyin key "v" lists, in order
// (，。、：；．￥！％＃（）《》 ... ︱︳︴); NUL-terminated GBK.
extern const char gBiaoDian[];

namespace lookuptext {

// "编码中不能全是左<Alt>键." : keys made only of wildcards.
extern const char kAllWildcards[];
// "切记！“劳”输为 H1J，即“劳”的上部不是 H 键上的字根" : the shape code "hj".
extern const char kLaoHint[];

// Single characters the lookup answers with, lead byte then trail byte.
struct GbkChar {
  uint8_t lead, trail;
};
constexpr GbkChar kShen = {0xC9, 0xF1};  // 神: a lone wildcard in shape code
constexpr GbkChar kYu = {0xD3, 0xE3};    // 鱼: rg1, rgj, rg4
constexpr GbkChar kGao = {0xB8, 0xDF};   // 高: qono
constexpr GbkChar kDou = {0xB6, 0xB9};   // 豆: 1oh
// The mark character of a fuzzy pinyin list, "‖": a syllable whose run is
// only this character has its characters under its common form.
constexpr GbkChar kJumper = {0xA1, 0xAC};

}  // namespace lookuptext
