// The pinyin keymap pictures, 810 by 400, one for each picture the keymap
// window can choose in pinyin input (frontend/ShowKeymap.h):
// keymapPY.bmp and keymapPYStd.bmp for full pinyin, keymapSP*.bmp for the
// three ShuangPin schemes, each without and with standard pinyin. The keys'
// meanings come from the engine's own tables: the ShuangPin initials and
// finals (engine/formats/ShuangPinTables.h), and the tone and stroke keys
// (engine/formats/BiHuaFormat.h; the MS scheme takes '/' for its last
// stroke key, since its ';' gives a final).
#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "engine/formats/BiHuaFormat.h"
#include "engine/formats/ShuangPinTables.h"
#include "tools/resgen/KeyboardPicture.h"
#include "tools/resgen/ResImage.h"

namespace resgen {

namespace {

constexpr uint32_t kToneFace = 0xFCE1BE;
constexpr uint32_t kStrokeFace = 0xCFE6F8;
constexpr uint32_t kVModeFace = 0xDDF2D3;
constexpr uint32_t kInitialInk = 0xB3261E;
constexpr uint32_t kFinalInk = 0x1D4E89;
constexpr uint32_t kToneInk = 0x9A4A00;
constexpr uint32_t kStrokeInk = 0x1D4E89;

constexpr double kKeyW = 54, kKeyH = 64, kPitch = 58, kRowPitch = 70;
constexpr double kLeft = 22, kTop = 56;

const char* const kRows[] = {"`1234567890-=", "qwertyuiop[]", "asdfghjkl;'", "zxcvbnm,./"};
const double kRowIndent[] = {0, 29, 44, 73};

// The tones' names and a vowel marked with each.
const char* const kToneNames[] = {"\xE9\x98\xB4\xE5\xB9\xB3", "\xE9\x98\xB3\xE5\xB9\xB3",
                                  "\xE4\xB8\x8A\xE5\xA3\xB0", "\xE5\x8E\xBB\xE5\xA3\xB0",
                                  "\xE8\xBD\xBB\xE5\xA3\xB0"};
const char* const kToneMarks[] = {"\xC4\x81", "\xC3\xA1", "\xC7\x8E", "\xC3\xA0", "a"};
// The stroke classes' names, in class order.
const char* const kStrokeNames[] = {"\xE6\xA8\xAA", "\xE7\xAB\x96", "\xE6\x92\x87", "\xE7\x82\xB9",
                                    "\xE6\x8A\x98"};

struct Variant {
  bool standard;   // StdPinYin
  bool shuangPin;  // ShuangPin
  int scheme;      // ShuangPinScheme
};

const char* SchemeName(int scheme) {
  switch (scheme) {
    case shuangpin::kMS: return "\xE5\xBE\xAE\xE8\xBD\xAF\xE6\x96\xB9\xE6\xA1\x88";
    case shuangpin::kCStar:
      return "\xE4\xB8\xAD\xE6\x96\x87\xE4\xB9\x8B\xE6\x98\x9F\xE6\x96\xB9\xE6\xA1\x88";
    default: return "\xE8\x87\xAA\xE7\x84\xB6\xE7\xA0\x81\xE6\x96\xB9\xE6\xA1\x88";
  }
}

// A final as it is read: the engine writes ü as v.
std::string Shown(const std::string& final) { return final == "v" ? "\xC3\xBC" : final; }

// The finals a second key gives in the scheme, after any first key that
// takes a final, in the order they first come.
std::vector<std::string> FinalsOf(int scheme, char key) {
  std::vector<std::string> out;
  for (const char* k = "abcdefghijklmnopqrstuvwxyz;"; *k; ++k) {
    const shuangpin::InitialKind kind = shuangpin::InitialKindOf(scheme, *k);
    if (kind != shuangpin::InitialKind::kLetter && kind != shuangpin::InitialKind::kZero &&
        kind != shuangpin::InitialKind::kEWithFinal)
      continue;
    const std::string f = shuangpin::Final(scheme, *k, key);
    if (f.empty()) continue;
    bool seen = false;
    for (const std::string& s : out) seen = seen || s == f;
    if (!seen) out.push_back(f);
  }
  return out;
}

// What the first key writes, when it is more than its own letter.
std::string InitialLabel(int scheme, char key) {
  switch (shuangpin::InitialKindOf(scheme, key)) {
    case shuangpin::InitialKind::kZero: return "\xE9\x9B\xB6\xE5\xA3\xB0\xE6\xAF\x8D";
    case shuangpin::InitialKind::kSeparator: return "";
    default: break;
  }
  const std::string ini = shuangpin::Initial(scheme, key);
  return ini.size() > 1 ? ini : "";
}

std::string KeyCap(char key) {
  return std::string(1, static_cast<char>(std::toupper(static_cast<unsigned char>(key))));
}

void DrawPinyinKey(Canvas& c, const Variant& v, const char* strokeKeys, char key, double x,
                   double y) {
  const char* tone = std::strchr(bihua::kToneKeys, key);
  const char* stroke = std::strchr(strokeKeys, key);
  const bool letter = std::islower(static_cast<unsigned char>(key)) != 0;
  const bool vMode = key == 'v' && v.standard && !v.shuangPin;
  uint32_t face = kKeyFace;
  if (tone) face = kToneFace;
  if (stroke) face = kStrokeFace;
  if (vMode) face = kVModeFace;
  DrawKey(c, x, y, kKeyW, kKeyH, face);
  DrawText(c, KeyCap(key), 17, x + 6, y + 20, kKeymapInk);
  if (tone) {
    const int t = static_cast<int>(tone - bihua::kToneKeys);
    DrawTextCentred(c, kToneMarks[t], 15, x + kKeyW / 2, y + 35, kToneInk);
    DrawTextCentred(c, kToneNames[t], 13, x + kKeyW / 2, y + 53, kToneInk);
    return;
  }
  if (stroke) {
    const int s = static_cast<int>(stroke - strokeKeys);
    DrawTextCentred(c, kStrokeNames[s], 20, x + kKeyW / 2, y + 44, kStrokeInk);
    return;
  }
  if (!v.shuangPin) {
    if (key == 'v')
      DrawTextCentred(c, vMode ? "\xE7\xAC\xA6\xE5\x8F\xB7" : "\xC3\xBC", 14, x + kKeyW / 2, y + 46,
                      kFinalInk);
    return;
  }
  if (!letter && key != ';') return;
  const std::string ini = InitialLabel(v.scheme, key);
  if (!ini.empty()) {
    const int px = ini.size() > 3 ? 9 : 14;
    DrawText(c, ini, px, x + kKeyW - 6 - TextWidth(ini, px), y + 19, kInitialInk);
  }
  const std::vector<std::string> finals = FinalsOf(v.scheme, key);
  double baseline = y + 36;
  for (const std::string& f : finals) {
    if (baseline > y + kKeyH - 2) break;
    DrawText(c, Shown(f), 13, x + 7, baseline, kFinalInk);
    baseline += 13;
  }
}

Canvas DrawPinyinKeymap(const Variant& v) {
  Canvas c(kKeymapW, kKeymapPinyinH, kKeymapPage);
  const bool ms = v.shuangPin && v.scheme == shuangpin::kMS;
  const char* strokeKeys = ms ? bihua::kStrokeKeysMS : bihua::kStrokeKeys;
  std::string title =
      v.shuangPin ? std::string("\xE5\x8F\x8C\xE6\x8B\xBC\xE9\x94\xAE\xE4\xBD\x8D \xC2\xB7 ") +
                        SchemeName(v.scheme)
                  : "\xE5\x85\xA8\xE6\x8B\xBC\xE9\x94\xAE\xE4\xBD\x8D";
  if (v.standard)
    title += "\xEF\xBC\x88\xE6\xA0\x87\xE5\x87\x86\xE6\x8B\xBC\xE9\x9F\xB3\xEF\xBC\x89";
  DrawText(c, title, 22, kLeft, 36, kKeymapInk);
  // The legend of the key colours, at the top right.
  double lx = kKeymapW - kLeft;
  const struct {
    uint32_t face;
    const char* text;
  } legend[] = {{kStrokeFace, "\xE7\xAC\x94\xE5\x88\x92\xE9\x94\xAE"},
                {kToneFace, "\xE5\xA3\xB0\xE8\xB0\x83\xE9\x94\xAE"}};
  for (const auto& item : legend) {
    lx -= TextWidth(item.text, 14);
    DrawText(c, item.text, 14, lx, 34, kKeymapInk);
    lx -= 24;
    DrawKey(c, lx, 20, 18, 18, item.face);
    lx -= 18;
  }
  for (int row = 0; row < 4; ++row) {
    const double y = kTop + row * kRowPitch;
    double x = kLeft + kRowIndent[row];
    for (const char* k = kRows[row]; *k; ++k, x += kPitch)
      DrawPinyinKey(c, v, strokeKeys, *k, x, y);
  }
  // What the keys do, under the keyboard.
  const double y1 = kTop + 4 * kRowPitch + 22;
  std::string filters =
      "\xE6\x8B\xBC\xE9\x9F\xB3\xE4\xB9\x8B\xE5\x90\x8E\xE6\x95\xB2\xE5\xA3\xB0\xE8\xB0\x83\xE9\x94"
      "\xAE 1 \xE8\x87\xB3 5 \xE6\x88\x96\xE7\xAC\x94\xE5\x88\x92\xE9\x94\xAE ";
  for (const char* k = strokeKeys; *k; ++k) {
    filters += *k;
    if (k[1]) filters += ' ';
  }
  filters +=
      "\xEF\xBC\x8C\xE5\x8F\xAA\xE5\x88\x97\xE5\x87\xBA\xE9\x82\xA3\xE4\xB8\xAA\xE5\xA3\xB0\xE8\xB0"
      "\x83\xE6\x88\x96\xE7\xAC\x94\xE5\x88\x92\xE7\x9A\x84\xE5\xAD\x97\xE3\x80\x82";
  DrawText(c, filters, 15, kLeft, y1, kKeymapInk);
  std::string keys;
  if (v.shuangPin) {
    keys =
        "\xE6\xAF\x8F\xE4\xB8\xAA\xE9\x9F\xB3\xE8\x8A\x82\xE4\xB8\xA4\xE9\x94\xAE\xEF\xBC\x9A\xE5"
        "\x85\x88\xE6\x95\xB2\xE5\xA3\xB0\xE6\xAF\x8D\xE9\x94\xAE\xEF\xBC\x88\xE7\xBA\xA2\xE5\xAD"
        "\x97\xEF\xBC\x89\xEF\xBC\x8C\xE5\x86\x8D\xE6\x95\xB2\xE9\x9F\xB5\xE6\xAF\x8D\xE9\x94\xAE"
        "\xEF\xBC\x88\xE8\x93\x9D\xE5\xAD\x97\xEF\xBC\x89\xE3\x80\x82";
    if (v.standard)
      keys +=
          "V\xEF\xBC\x88\xE5\xA4\xA7\xE5\x86\x99\xEF\xBC\x89\xE5\xBC\x80\xE5\xA7\x8B\xE7\xAC\xA6"
          "\xE5\x8F\xB7\xE3\x80\x82";
  } else {
    keys = v.standard ? "v \xE5\xBC\x80\xE5\xA7\x8B\xE7\xAC\xA6\xE5\x8F\xB7\xEF\xBC\x88V "
                        "\xE6\xA8\xA1\xE5\xBC\x8F\xEF\xBC\x89\xE3\x80\x82"
                      : "v \xE4\xBB\xA3\xE8\xA1\xA8 \xC3\xBC\xE3\x80\x82";
  }
  DrawText(c, keys, 15, kLeft, y1 + 26, kKeymapDim);
  return c;
}

Canvas DrawPY() { return DrawPinyinKeymap({false, false, 0}); }
Canvas DrawPYStd() { return DrawPinyinKeymap({true, false, 0}); }
Canvas DrawSP() { return DrawPinyinKeymap({false, true, shuangpin::kMS}); }
Canvas DrawSP1() { return DrawPinyinKeymap({false, true, shuangpin::kCStar}); }
Canvas DrawSP2() { return DrawPinyinKeymap({false, true, shuangpin::kZR}); }
Canvas DrawSPStd() { return DrawPinyinKeymap({true, true, shuangpin::kMS}); }
Canvas DrawSPStd1() { return DrawPinyinKeymap({true, true, shuangpin::kCStar}); }
Canvas DrawSPStd2() { return DrawPinyinKeymap({true, true, shuangpin::kZR}); }

const RegisterResImage regPY{"keymapPY.bmp", &DrawPY};
const RegisterResImage regPYStd{"keymapPYStd.bmp", &DrawPYStd};
const RegisterResImage regSP{"keymapSP.bmp", &DrawSP};
const RegisterResImage regSP1{"keymapSP1.bmp", &DrawSP1};
const RegisterResImage regSP2{"keymapSP2.bmp", &DrawSP2};
const RegisterResImage regSPStd{"keymapSPStd.bmp", &DrawSPStd};
const RegisterResImage regSPStd1{"keymapSPStd1.bmp", &DrawSPStd1};
const RegisterResImage regSPStd2{"keymapSPStd2.bmp", &DrawSPStd2};

}  // namespace

}  // namespace resgen
