// KeyboardPicture.h: what the keymap pictures share: a keyboard of rounded
// keys on a light page, with labels in the generator's font. Each picture
// (KeymapPinyin.cpp, KeymapWubi.cpp) places its own keys and labels.
#pragma once

#include <cstdint>
#include <string>

#include "tools/resgen/Canvas.h"
#include "tools/resgen/GlyphText.h"

namespace resgen {

// The keymap pictures' sizes: the shape code's picture is taller.
constexpr int kKeymapW = 810;
constexpr int kKeymapPinyinH = 400;
constexpr int kKeymapShapeH = 480;

constexpr uint32_t kKeymapPage = 0xF3F0E4;
constexpr uint32_t kKeymapInk = 0x27303D;
constexpr uint32_t kKeymapDim = 0x6B7280;
constexpr uint32_t kKeyFace = 0xFFFFFF;
constexpr uint32_t kKeyEdge = 0x9AA0AB;

// A key: a rounded rectangle from (x, y), w by h, in face with a one-pixel
// edge and a darker lower lip.
void DrawKey(Canvas& c, double x, double y, double w, double h, uint32_t face,
             uint32_t edge = kKeyEdge);

// Text with its left edge at x and its baseline at baseline; returns its
// width (0 without a font).
int DrawText(Canvas& c, const std::string& utf8, int px, double x, double baseline, uint32_t rgb);
// Text centred on (cx, cy).
void DrawTextCentred(Canvas& c, const std::string& utf8, int px, double cx, double cy,
                     uint32_t rgb);
// The width of text at px.
int TextWidth(const std::string& utf8, int px);

}  // namespace resgen
