#include "framework/internal/ChStrLayout.h"

#include <cstring>

#include "base/ChnChar.h"
#include "framework/CFont.h"
#include "framework/CWinApp.h"

namespace afc {

namespace {

constexpr uint16_t kBig5Hou = 0xA65A;                // 后, the empress
constexpr uint16_t kBig5Hou2 = 0xABE1;               // 後, after
constexpr uint16_t kBig5Huang = 0xACD3;              // 皇
constexpr uint16_t kBig5Mu = 0xA5C0;                 // 母
constexpr uint16_t kBig5Tai = 0xA4D3;                // 太
constexpr unsigned char kGbkGong[2] = {0xB9, 0xAC};  // 宫

// A lead byte starts a double-byte character only when a trail byte
// follows; a lead byte at the very end is one byte (the walk never reads
// past the terminating NUL).
bool IsDoubleAt(const unsigned char* s, size_t len, size_t i, int big5) {
  return IsChnChar(s[i], 1, big5) && i + 1 < len;
}

}  // namespace

uint16_t HouFixUp::Next(const unsigned char* text, size_t len, size_t i, uint16_t big5) {
  uint16_t code = big5;
  if (big5 == kBig5Hou) {
    const bool afterHuangOrMu =
        i >= 2 && m_p.pos == i - 2 && (m_p.code == kBig5Huang || m_p.code == kBig5Mu);
    const bool inHuangTaiHou =
        i >= 4 && m_q.pos == i - 4 && m_q.code == kBig5Huang && m_p.code == kBig5Tai;
    const bool beforeGong =
        len - i >= 4 && text[i + 2] == kGbkGong[0] && text[i + 3] == kGbkGong[1];
    const bool closeAfterConverted = i >= 1 && m_p.pos + 2 >= i;
    const bool chineseFollows = i + 2 < len && text[i + 2] >= 0x80;
    if (!afterHuangOrMu && !inHuangTaiHou && !beforeGong && (closeAfterConverted || chineseFollows))
      code = kBig5Hou2;
  }
  m_q = m_p;
  m_p = Seen{i, code};
  return code;
}

CSize LayOutChStr(IChStrCanvas& canvas, const ChStrStyle& style, int x, int y, const char* text,
                  int cellW, int cellH, const CRect* clip, int stopAtClip) {
  CSize total(0, 0);
  if (!text) return total;
  const auto* s = reinterpret_cast<const unsigned char*>(text);
  const size_t len = std::strlen(text);
  int mode = style.mode;
  if (mode == kChStrAuto && style.lang == kUILangEnglish && HasChnChar(text, 0)) mode = kChStrGbk;
  const int big5Text = style.textIsGbk ? 0 : 1;
  const bool wantBig5 = !style.installer && style.textIsGbk &&
                        (mode == kChStrBig5 || (mode == kChStrAuto && style.lang == kUILangBig5));
  const FontSetId chosen = mode == kChStrGbk          ? FontSetId::kGbk
                           : mode == kChStrBig5       ? FontSetId::kBig5
                           : style.lang == kUILangGbk ? FontSetId::kGbk
                                                      : FontSetId::kBig5;
  const int ascent = canvas.GbkAscent();
  const int x0 = x;
  HouFixUp fixUp;
  for (size_t i = 0; i < len; ++i) {
    CSize cell(cellW, cellH);
    if (s[i] != '\t') {
      const size_t lead = i;
      const bool dbl = IsDoubleAt(s, len, i, big5Text);
      char bytes[2] = {text[i], dbl ? text[i + 1] : '\0'};
      const int n = dbl ? 2 : 1;
      if (dbl) ++i;
      if (!(dbl && mode == kChStrNoDouble)) {
        if (dbl && wantBig5) {
          const auto gbk = static_cast<uint16_t>((s[lead] << 8) | s[lead + 1]);
          const uint16_t raw = style.gbk2Big5 ? style.gbk2Big5(gbk) : gbk;
          const uint16_t code = fixUp.Next(s, len, lead, raw);
          bytes[0] = static_cast<char>(code >> 8);
          bytes[1] = static_cast<char>(code & 0xFF);
        }
        // The cell is measured on the bytes that are drawn, so a converted
        // character is measured as Big5, not as the GBK it came from.
        cell = canvas.Extent(chosen, bytes, n);
        const FontSetId drawSet = (!dbl || style.installer) ? FontSetId::kGbk : chosen;
        canvas.Draw(drawSet, x, y + ascent, bytes, n);
      }
    }
    if (clip && x > clip->right) {
      if (stopAtClip) return total + cell;
      x = x0;
      y += cellH * 3 / 2;
    } else {
      x += cell.cx;
    }
    total = total + cell;
  }
  return total;
}

CSize MeasureChStr(IChStrCanvas& canvas, const char* text, int tabW, int tabH, int uiLang) {
  int width = 0, height = 0;
  if (text) {
    const auto* s = reinterpret_cast<const unsigned char*>(text);
    const size_t len = std::strlen(text);
    const FontSetId set = uiLang == kUILangGbk ? FontSetId::kGbk : FontSetId::kBig5;
    for (size_t i = 0; i < len; ++i) {
      CSize cell(tabW, tabH);
      if (s[i] != '\t') {
        const int n = IsDoubleAt(s, len, i, 0) ? 2 : 1;
        cell = canvas.Extent(set, text + i, n);
        i += n - 1;
      }
      width += cell.cx;
      if (cell.cy > height) height = cell.cy;
    }
  }
  return CSize(width, height > tabH ? height : tabH);
}

}  // namespace afc
