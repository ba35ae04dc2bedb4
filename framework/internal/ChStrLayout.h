// ChStrLayout.h: the character walk behind ChBmpStrOut and ChnBmpStrExtent,
// apart from X: which font set each character takes, where it goes, which
// bytes are drawn (GBK turned into Big5, with the fix-up of 后), and the
// cells that make up the result. The X side supplies a canvas that measures
// and draws; tests supply one that records.
#pragma once

#include <cstddef>
#include <cstdint>

#include "base/Geometry.h"

namespace afc {

enum class FontSetId { kGbk, kBig5 };

class IChStrCanvas {
 public:
  virtual ~IChStrCanvas() = default;
  // The logical extent of n bytes in the set.
  virtual CSize Extent(FontSetId set, const char* bytes, int n) = 0;
  // Draws n bytes with the set, baseline left end at (x, y).
  virtual void Draw(FontSetId set, int x, int y, const char* bytes, int n) = 0;
  // The GBK set's ascent (every character's baseline is y + this).
  virtual int GbkAscent() = 0;
};

struct ChStrStyle {
  int lang = -1;           // the window's language, -1 when unregistered
  int mode = 0;            // kChStrAuto .. kChStrBig5
  int textIsGbk = 1;       // 0: the text is already Big5
  bool installer = false;  // kvrsetup: all drawn with GBK, nothing converted
  // GBK code (lead byte high) -> Big5 code; 0xA1BC when there is none.
  unsigned short (*gbk2Big5)(unsigned short) = nullptr;
};

// Turns GBK 后 (Big5 0xA65A, the empress) into 後 (0xABE1, after) where
// running text means "after": not after 皇 or 母, not in 皇太后, not before
// 宫, and only when the character follows closely on another converted one
// or Chinese text follows it. Remembers the last two converted characters.
class HouFixUp {
 public:
  // big5 is the table's code for the character whose lead byte is at i of
  // text (len bytes); returns the code to draw and records the character.
  uint16_t Next(const unsigned char* text, size_t len, size_t i, uint16_t big5);

 private:
  struct Seen {
    size_t pos = 0;
    uint16_t code = 0;
  };
  Seen m_p, m_q;  // P: the last converted character, Q: the one before
};

// The walk of ChBmpStrOut (see CFont.h), drawing on canvas.
CSize LayOutChStr(IChStrCanvas& canvas, const ChStrStyle& style, int x, int y, const char* text,
                  int cellW, int cellH, const CRect* clip, int stopAtClip);

// The measure of ChnBmpStrExtent: double-byte characters with the GBK set
// when uiLang is 1000, else with the Big5 set.
CSize MeasureChStr(IChStrCanvas& canvas, const char* text, int tabW, int tabH, int uiLang);

}  // namespace afc
