// The V-mode keyword file: symbols from Rime's symbols.yaml and unit words,
// each under a hand-chosen pinyin name, its initials and, per ShuangPin
// scheme, the keys that spell the name in that scheme.
#include <algorithm>

#include "engine/formats/ShuangPinTables.h"
#include "engine/formats/VModeFormat.h"
#include "tools/datagen/Builders.h"
#include "tools/datagen/Text.h"

namespace datagen {
namespace {

struct VEntry {
  const char* pinyin;  // syllables separated by spaces
  const char* extra;   // further keys, '|'-separated, or ""
  const char* words;   // "{name}": a symbols.yaml group; else words split by ','
};

// Symbols first (the names the status tips teach: xinghao, sanjiao, gama,
// houtou, rmbfh), then unit words typed by pinyin or by initials.
constexpr VEntry kEntries[] = {
    {"xing hao", "", "{xh}"},
    {"san jiao", "sjiao", "▲,△,▼,▽,◆,◇"},
    {"fang kuai", "", "■,□,◆,◇,{fk}"},
    {"yuan quan", "", "●,○,◎,⊙"},
    {"ji he", "", "{jh}"},
    {"jian tou", "", "{jt}"},
    {"shu xue", "", "{sx}"},
    {"fu hao", "", "{fh}"},
    {"biao dian", "", "{bd}"},
    {"huo bi", "", "{hb}"},
    {"ren min bi fu hao", "rmbfh", "￥,¥"},
    {"mei yuan fu hao", "myfh", "＄,$"},
    {"ying bang", "", "￡,£"},
    {"ou yuan", "", "€"},
    {"dan wei", "", "{dw}"},
    {"she shi du", "", "℃"},
    {"bai fen hao", "", "％,‰"},
    {"hou tou", "", "＠,@"},
    {"xi la", "", "{xl}"},
    {"a er fa", "afa", "α,Α"},
    {"bei ta", "", "β,Β"},
    {"ga ma", "", "γ,Γ"},
    {"de er ta", "deta", "δ,Δ"},
    {"pai", "", "π,Π"},
    {"ou mi ga", "omiga", "ω,Ω"},
    {"xi ge ma", "", "σ,Σ"},
    {"lan mu da", "", "λ,Λ"},
    {"shu zi quan", "", "{szq}"},
    {"shu zi hu", "", "{szh}"},
    {"shu zi dian", "", "{szd}"},
    {"luo ma", "", "{lmd},{lm}"},
    {"fen shu", "", "{fs}"},
    {"xing bie", "", "♂,♀"},
    {"pu ke", "", "{pk}"},
    {"tian qi", "", "{tq}"},
    {"yin yue", "", "{yy}"},
    {"xing zuo", "", "{xz}"},
    {"ba gua", "", "{bg}"},
    {"xiang qi", "", "{xq}"},
    {"biao qing", "", "{bq}"},
    {"nian", "", "年"},
    {"yue", "", "月"},
    {"ri", "", "日"},
    {"tian", "", "天"},
    {"zhou", "", "周"},
    {"xiao shi", "", "小时"},
    {"fen zhong", "", "分钟"},
    {"miao", "", "秒"},
    {"chi", "", "尺"},
    {"cun", "", "寸"},
    {"zhang", "", "丈"},
    {"li", "", "里"},
    {"mi", "", "米"},
    {"gong li", "", "公里"},
    {"li mi", "", "厘米"},
    {"hao mi", "", "毫米"},
    {"qian mi", "", "千米"},
    {"gong jin", "", "公斤"},
    {"qian ke", "", "千克"},
    {"ke", "", "克"},
    {"dun", "", "吨"},
    {"jin", "", "斤"},
    {"liang", "", "两"},
    {"sheng", "", "升"},
    {"hao sheng", "", "毫升"},
    {"mu", "", "亩"},
    {"gong qing", "", "公顷"},
    {"ping fang mi", "", "平方米"},
    {"li fang mi", "", "立方米"},
    {"yuan", "", "元"},
    {"jiao", "", "角"},
    {"fen", "", "分"},
    {"ren min bi", "", "人民币"},
    {"mei yuan", "", "美元"},
    {"gang bi", "", "港币"},
    {"ge", "", "个"},
    {"ci", "", "次"},
};

// The two keys that spell one syllable in a ShuangPin scheme, or "".
std::string SpellSyllable(int scheme, const std::string& syllable) {
  static const char kFirst[] = "bcdfghjklmnpqrstwxyziuvoe";
  static const char kSecond[] = "abcdefghijklmnopqrstuvwxyz;";
  for (const char* k1 = kFirst; *k1 != '\0'; ++k1) {
    const shuangpin::InitialKind kind = shuangpin::InitialKindOf(scheme, *k1);
    if (kind != shuangpin::InitialKind::kLetter && kind != shuangpin::InitialKind::kZero &&
        kind != shuangpin::InitialKind::kEWithFinal)
      continue;
    const std::string head =
        kind == shuangpin::InitialKind::kZero ? "" : shuangpin::Initial(scheme, *k1);
    if (syllable.compare(0, head.size(), head) != 0) continue;
    for (const char* k2 = kSecond; *k2 != '\0'; ++k2) {
      if (head + shuangpin::Final(scheme, *k1, *k2) == syllable) return std::string{*k1, *k2};
    }
  }
  return "";
}

// Appends a key to a '|'-separated column unless it is empty, too long or
// already there.
void AddKey(std::vector<std::string>& column, const std::string& key) {
  if (key.empty() || key.size() > vmode::kMaxKeyBytes) return;
  if (std::find(column.begin(), column.end(), key) == column.end()) column.push_back(key);
}

std::string Join(const std::vector<std::string>& parts, char sep) {
  std::string out;
  for (size_t i = 0; i < parts.size(); ++i) out += (i ? std::string(1, sep) : "") + parts[i];
  return out;
}

std::vector<std::string> Words(const VEntry& e, const Inputs& in) {
  std::vector<std::string> out;
  for (const std::string& w : Split(e.words, ",")) {
    std::vector<std::string> items;
    if (w.size() > 2 && w.front() == '{' && w.back() == '}') {
      const auto g = in.symbols.find(w.substr(1, w.size() - 2));
      if (g != in.symbols.end()) items = g->second;
    } else {
      items.push_back(w);
    }
    for (const std::string& item : items) {
      const std::string gbk = ToGbk(DecodeUtf8(item));
      if (!gbk.empty() && std::find(out.begin(), out.end(), gbk) == out.end()) out.push_back(gbk);
    }
  }
  return out;
}

}  // namespace

void BuildVModeFile(const Inputs& in, FileSet& files, Report& report) {
  std::string out =
      "; V-mode keywords: full-pinyin keys (short form), MS, C_Star and ZR\n"
      "; ShuangPin keys, then the words. Keys are '|'-separated.\n";
  size_t lines = 0;
  for (const VEntry& e : kEntries) {
    const std::vector<std::string> syls = Split(e.pinyin, " ");
    std::string full, initials;
    for (const std::string& s : syls) {
      full += s;
      initials.push_back(s[0]);
    }
    std::vector<std::string> columns[vmode::kKeyColumns];
    AddKey(columns[0], shuangpin::ShortForm(full));
    for (int scheme = 0; scheme < shuangpin::kSchemes; ++scheme) {
      std::string keys;
      for (const std::string& s : syls) {
        const std::string k = SpellSyllable(scheme, s);
        if (k.empty()) {
          keys.clear();
          break;
        }
        keys += k;
      }
      AddKey(columns[1 + scheme], keys);
    }
    // Words of several syllables are also typed by their initials.
    for (auto& c : columns) {
      if (syls.size() > 1) AddKey(c, initials);
      for (const std::string& x : Split(e.extra, "|")) AddKey(c, x);
    }
    std::string line;
    for (const auto& c : columns) line += Join(c, '|') + ",";
    const size_t head = line.size();
    for (const std::string& w : Words(e, in)) {
      if (line.size() + w.size() + 1 > vmode::kMaxLineBytes) break;
      line += (line.size() > head ? "," : "") + w;
    }
    if (line.size() == head) continue;  // no word that GBK can hold
    out += line + "\n";
    ++lines;
  }
  files["vmodewords.dic"] = out;
  report.notes.push_back("vmodewords.dic: " + std::to_string(lines) + " keyword lines");
}

}  // namespace datagen
