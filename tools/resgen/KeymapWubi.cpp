// keymap.bmp: the shape-code keymap, 810 by 480: the roots of Wubi 86, the
// shape code kvr ships (its phrase files are built from Rime's wubi86), on
// the 25 keys A to Y in their five areas. Each key shows its letter, its
// area and position code, its key-name root large and its other main roots.
#include <string>

#include "tools/resgen/KeyboardPicture.h"
#include "tools/resgen/ResImage.h"

namespace resgen {

namespace {

// The roots of one key.
struct WubiKey {
  char key;
  int code;           // area (1 to 5) and position
  const char* name;   // the key-name root
  const char* roots;  // other main roots, blank separated
};

// Wubi 86 by key, in keyboard order (key-name root, then the others):
//   Q 金 钅勹儿夕犭   W 人 亻八癶     E 月 彡乃用豕   R 白 手扌斤     T 禾 竹丿彳夂攵
//   Y 言 讠文方广丶   U 立 辛六门疒丬 I 水 氵小       O 火 业灬米     P 之 宀冖廴辶礻衤
//   A 工 戈艹匚七廿   S 木 丁西       D 大 犬三古石厂 F 土 士二干十寸雨 G 王 一五戋
//   H 目 丨上止卜虍   J 日 曰早虫刂   K 口 川         L 田 甲囗四车力皿
//   X 纟 弓匕幺       C 又 巴马厶     V 女 刀九臼彐   B 子 耳了也卩阝凵 N 已 己巳乙尸心忄羽
//   M 山 由贝冂几
const WubiKey kWubiKeys[] = {
    {'q', 35, "\xE9\x87\x91", "\xE9\x92\x85 \xE5\x8B\xB9 \xE5\x84\xBF \xE5\xA4\x95 \xE7\x8A\xAD"},
    {'w', 34, "\xE4\xBA\xBA", "\xE4\xBA\xBB \xE5\x85\xAB \xE7\x99\xB6"},
    {'e', 33, "\xE6\x9C\x88", "\xE5\xBD\xA1 \xE4\xB9\x83 \xE7\x94\xA8 \xE8\xB1\x95"},
    {'r', 32, "\xE7\x99\xBD", "\xE6\x89\x8B \xE6\x89\x8C \xE6\x96\xA4"},
    {'t', 31, "\xE7\xA6\xBE", "\xE7\xAB\xB9 \xE4\xB8\xBF \xE5\xBD\xB3 \xE5\xA4\x82 \xE6\x94\xB5"},
    {'y', 41, "\xE8\xA8\x80", "\xE8\xAE\xA0 \xE6\x96\x87 \xE6\x96\xB9 \xE5\xB9\xBF \xE4\xB8\xB6"},
    {'u', 42, "\xE7\xAB\x8B", "\xE8\xBE\x9B \xE5\x85\xAD \xE9\x97\xA8 \xE7\x96\x92 \xE4\xB8\xAC"},
    {'i', 43, "\xE6\xB0\xB4", "\xE6\xB0\xB5 \xE5\xB0\x8F"},
    {'o', 44, "\xE7\x81\xAB", "\xE4\xB8\x9A \xE7\x81\xAC \xE7\xB1\xB3"},
    {'p', 45, "\xE4\xB9\x8B",
     "\xE5\xAE\x80 \xE5\x86\x96 \xE5\xBB\xB4 \xE8\xBE\xB6 \xE7\xA4\xBB \xE8\xA1\xA4"},
    {'a', 15, "\xE5\xB7\xA5", "\xE6\x88\x88 \xE8\x89\xB9 \xE5\x8C\x9A \xE4\xB8\x83 \xE5\xBB\xBF"},
    {'s', 14, "\xE6\x9C\xA8", "\xE4\xB8\x81 \xE8\xA5\xBF"},
    {'d', 13, "\xE5\xA4\xA7", "\xE7\x8A\xAC \xE4\xB8\x89 \xE5\x8F\xA4 \xE7\x9F\xB3 \xE5\x8E\x82"},
    {'f', 12, "\xE5\x9C\x9F",
     "\xE5\xA3\xAB \xE4\xBA\x8C \xE5\xB9\xB2 \xE5\x8D\x81 \xE5\xAF\xB8 \xE9\x9B\xA8"},
    {'g', 11, "\xE7\x8E\x8B", "\xE4\xB8\x80 \xE4\xBA\x94 \xE6\x88\x8B"},
    {'h', 21, "\xE7\x9B\xAE", "\xE4\xB8\xA8 \xE4\xB8\x8A \xE6\xAD\xA2 \xE5\x8D\x9C \xE8\x99\x8D"},
    {'j', 22, "\xE6\x97\xA5", "\xE6\x9B\xB0 \xE6\x97\xA9 \xE8\x99\xAB \xE5\x88\x82"},
    {'k', 23, "\xE5\x8F\xA3", "\xE5\xB7\x9D"},
    {'l', 24, "\xE7\x94\xB0",
     "\xE7\x94\xB2 \xE5\x9B\x97 \xE5\x9B\x9B \xE8\xBD\xA6 \xE5\x8A\x9B \xE7\x9A\xBF"},
    {'x', 55, "\xE7\xBA\x9F", "\xE5\xBC\x93 \xE5\x8C\x95 \xE5\xB9\xBA"},
    {'c', 54, "\xE5\x8F\x88", "\xE5\xB7\xB4 \xE9\xA9\xAC \xE5\x8E\xB6"},
    {'v', 53, "\xE5\xA5\xB3", "\xE5\x88\x80 \xE4\xB9\x9D \xE8\x87\xBC \xE5\xBD\x90"},
    {'b', 52, "\xE5\xAD\x90",
     "\xE8\x80\xB3 \xE4\xBA\x86 \xE4\xB9\x9F \xE5\x8D\xA9 \xE9\x98\x9D \xE5\x87\xB5"},
    {'n', 51, "\xE5\xB7\xB2",
     "\xE5\xB7\xB1 \xE5\xB7\xB3 \xE4\xB9\x99 \xE5\xB0\xB8 \xE5\xBF\x83 \xE5\xBF\x84 \xE7\xBE\xBD"},
    {'m', 25, "\xE5\xB1\xB1", "\xE7\x94\xB1 \xE8\xB4\x9D \xE5\x86\x82 \xE5\x87\xA0"},
};

// The five areas: the first stroke of their roots, and their colours.
const struct {
  const char* name;
  uint32_t face;
  uint32_t ink;
} kAreas[] = {
    {"\xE6\xA8\xAA\xE5\x8C\xBA", 0xD6E6FA, 0x1D4E89},
    {"\xE7\xAB\x96\xE5\x8C\xBA", 0xD9F0D3, 0x23672F},
    {"\xE6\x92\x87\xE5\x8C\xBA", 0xFCE1BE, 0x9A4A00},
    {"\xE6\x8D\xBA\xE5\x8C\xBA", 0xEADCF6, 0x5B2B8C},
    {"\xE6\x8A\x98\xE5\x8C\xBA", 0xF8D6D6, 0xA12222},
};

constexpr double kKeyW = 74, kKeyH = 112, kPitch = 79, kRowPitch = 122;
constexpr double kLeft = 14, kTop = 60;
const double kRowIndent[] = {0, 20, 50};
const int kRowStarts[] = {0, 10, 19, 25};

// The roots, blank separated, laid out in lines that fit the key.
void DrawRoots(Canvas& c, const std::string& roots, double x, double y, uint32_t ink) {
  constexpr int kPx = 14;
  double cx = x + 6, baseline = y + 70;
  size_t at = 0;
  while (at < roots.size()) {
    size_t end = roots.find(' ', at);
    if (end == std::string::npos) end = roots.size();
    const std::string root = roots.substr(at, end - at);
    at = end + 1;
    const int w = TextWidth(root, kPx);
    if (cx + w > x + kKeyW - 4) {
      cx = x + 6;
      baseline += 18;
    }
    DrawText(c, root, kPx, cx, baseline, ink);
    cx += w + 5;
  }
}

Canvas DrawWubiKeymap() {
  Canvas c(kKeymapW, kKeymapShapeH, kKeymapPage);
  DrawText(
      c, "\xE4\xBA\x94\xE7\xAC\x94\xE5\xAD\x97\xE5\x9E\x8B 86 \xE7\x89\x88\xE5\xAD\x97\xE6\xA0\xB9",
      22, kLeft + 8, 38, kKeymapInk);
  // The areas' legend, at the top right.
  double lx = kKeymapW - kLeft;
  for (int a = 4; a >= 0; --a) {
    lx -= TextWidth(kAreas[a].name, 14);
    DrawText(c, kAreas[a].name, 14, lx, 34, kAreas[a].ink);
    lx -= 24;
    DrawKey(c, lx, 20, 18, 18, kAreas[a].face);
    lx -= 14;
  }
  for (int row = 0; row < 3; ++row) {
    const double y = kTop + row * kRowPitch;
    double x = kLeft + kRowIndent[row];
    for (int i = kRowStarts[row]; i < kRowStarts[row + 1]; ++i, x += kPitch) {
      const WubiKey& k = kWubiKeys[i];
      const auto& area = kAreas[k.code / 10 - 1];
      DrawKey(c, x, y, kKeyW, kKeyH, area.face);
      DrawText(c, std::string(1, static_cast<char>(k.key - 'a' + 'A')), 16, x + 6, y + 19,
               kKeymapInk);
      const std::string code = std::to_string(k.code);
      DrawText(c, code, 12, x + kKeyW - 6 - TextWidth(code, 12), y + 17, kKeymapDim);
      DrawTextCentred(c, k.name, 26, x + kKeyW / 2, y + 38, area.ink);
      DrawRoots(c, k.roots, x, y, kKeymapInk);
    }
  }
  DrawText(c,
           "\xE4\xB8\x80\xE4\xB8\xAA\xE5\xAD\x97\xE5\x8F\x96\xE5\x89\x8D\xE4\xB8\x89\xE6\xA0\xB9"
           "\xE5\x92\x8C\xE6\x9C\xAB\xE6\xA0\xB9\xE7\x9A\x84\xE9\x94\xAE\xEF\xBC\x8C\xE4\xB8\x8D"
           "\xE8\xB6\xB3\xE5\x9B\x9B\xE7\xA0\x81\xE6\x97\xB6\xE5\x8A\xA0\xE6\x9C\xAB\xE7\xAC\x94"
           "\xE5\xAD\x97\xE5\x9E\x8B\xE8\xAF\x86\xE5\x88\xAB\xE7\xA0\x81\xE3\x80\x82",
           15, kLeft + 8, kTop + 3 * kRowPitch + 20, kKeymapDim);
  return c;
}

const RegisterResImage reg{"keymap.bmp", &DrawWubiKeymap};

}  // namespace

}  // namespace resgen
