#include "image/PLFilterQuantize.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <cstring>
#include <new>

#include "image/PLAnyBmp.h"
#include "image/PLConstants.h"
#include "image/PLTextException.h"
#include "image/internal/PLBmpLock.h"

namespace {

constexpr int kCells = 32768;  // 32 levels per channel, 5 bits each
constexpr int kLevels = 32;
constexpr int kPaletteSize = 256;
constexpr int kFirstCutBox = 8;  // boxes 0 to 7 are the cube's corners
constexpr uint16_t kMaxCount = 65535;

// The corners of the 5-bit cube, in the order of palette entries 0 to 7.
constexpr uint8_t kCorners[8][3] = {{0, 0, 0},   {31, 0, 0},  {0, 31, 0},  {0, 0, 31},
                                    {31, 31, 0}, {0, 31, 31}, {31, 0, 31}, {31, 31, 31}};

// Ordered dither offsets, indexed by (column & 3) * 4 + (row & 3); each is
// doubled before use.
constexpr int kDitherMatrix[16] = {-7, 1, -5, 3, 5, -3, 7, -1, -4, 4, -6, 2, 8, 0, 6, -2};

int CellOf(int r, int g, int b) { return ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3); }

uint8_t Clip(int v) { return static_cast<uint8_t>(std::clamp(v, 0, 255)); }

uint8_t Channel(const PLPixel32& p, int axis) {
  return axis == 0 ? p.GetR() : axis == 1 ? p.GetG() : p.GetB();
}

void SetChannel(PLPixel32& p, int axis, uint8_t v) {
  if (axis == 0)
    p.SetR(v);
  else if (axis == 1)
    p.SetG(v);
  else
    p.SetB(v);
}

std::array<PLPixel32, kPaletteSize> BuildDefaultPalette() {
  std::array<PLPixel32, kPaletteSize> pal{};
  static const uint8_t head[16][3] = {
      {0, 0, 0},     {191, 0, 0},     {0, 191, 0},     {191, 191, 0},   {0, 0, 191}, {191, 0, 191},
      {0, 191, 191}, {192, 192, 192}, {192, 220, 192}, {166, 202, 240}, {128, 0, 0}, {0, 128, 0},
      {128, 128, 0}, {0, 0, 128},     {128, 0, 128},   {0, 128, 128}};
  static const uint8_t tail[11][3] = {{155, 207, 207}, {255, 251, 240}, {160, 160, 164},
                                      {128, 128, 128}, {255, 0, 0},     {0, 255, 0},
                                      {255, 255, 0},   {0, 0, 255},     {255, 0, 255},
                                      {0, 255, 255},   {255, 255, 255}};
  static const uint8_t cube[6] = {0, 81, 133, 177, 217, 255};
  int n = 0;
  for (const auto& c : head) pal[n++] = PLPixel32(c[0], c[1], c[2], 0);
  // The 6 x 6 x 6 cube, R fastest, without the six colours whose G and B are
  // both 0 (they start the cube) and without white (it ends it).
  for (int i = 6; i < 215; ++i) {
    pal[n++] = PLPixel32(cube[i % 6], cube[(i / 6) % 6], cube[i / 36], 0);
  }
  // The table has always held (55, 133, 81) here instead of the cube's
  // (255, 133, 81); stored 8-bit copies index it, so it stays.
  pal[63] = PLPixel32(55, 133, 81, 0);
  for (int g = 196; g <= 253; g += 3) pal[n++] = PLPixel32(g, g, g, 0);
  for (const auto& c : tail) pal[n++] = PLPixel32(c[0], c[1], c[2], 0);
  assert(n == kPaletteSize);
  return pal;
}

}  // namespace

PLFilterQuantize::PLFilterQuantize(int paletteType, int ditherType)
    : m_PaletteType(paletteType), m_DitherType(ditherType) {
  try {
    m_ColourTable.resize(kCells);
    m_Boxes.resize(kPaletteSize);
  } catch (const std::bad_alloc&) {
    throw PLTextException(PL_ERRNO_MEMORY, "Out of memory.");
  }
}

PLFilterQuantize::~PLFilterQuantize() = default;

void PLFilterQuantize::AssertValid() const {
  assert(m_ColourTable.size() == kCells);
  assert(m_Boxes.size() == kPaletteSize);
}

const PLPixel32* PLFilterQuantize::GetDefaultPalette() {
  static const std::array<PLPixel32, kPaletteSize> palette = BuildDefaultPalette();
  return palette.data();
}

void PLFilterQuantize::SetUserPalette(const PLPixel32* entries) {
  if (entries == nullptr) return;
  m_pUserPal.reset(new PLPixel32[kPaletteSize]);
  std::copy(entries, entries + kPaletteSize, m_pUserPal.get());
}

void PLFilterQuantize::resetTable() const {
  std::fill(m_ColourTable.begin(), m_ColourTable.end(), ColourSlot());
  std::fill(m_Boxes.begin(), m_Boxes.end(), tagQUBOX{});
}

void PLFilterQuantize::countColours(const PLBmp& source) const {
  for (int y = 0; y < source.GetHeight(); ++y) {
    const PLPixel32* row = source.GetLineArray32()[y];
    for (int x = 0; x < source.GetWidth(); ++x) {
      ColourSlot& slot = m_ColourTable[CellOf(row[x].GetR(), row[x].GetG(), row[x].GetB())];
      slot.used = true;
      if (slot.count < kMaxCount) ++slot.count;
    }
  }
}

void PLFilterQuantize::squeeze(tagQUBOX& box) const {
  int lo[3] = {31, 31, 31}, hi[3] = {0, 0, 0};
  uint64_t sum[3] = {0, 0, 0};
  uint64_t total = 0;
  for (int r = box.min.GetR(); r <= box.max.GetR(); ++r) {
    for (int g = box.min.GetG(); g <= box.max.GetG(); ++g) {
      for (int b = box.min.GetB(); b <= box.max.GetB(); ++b) {
        const ColourSlot& slot = m_ColourTable[(r << 10) | (g << 5) | b];
        if (!slot.used || slot.count == 0) continue;
        const int c[3] = {r, g, b};
        for (int a = 0; a < 3; ++a) {
          lo[a] = std::min(lo[a], c[a]);
          hi[a] = std::max(hi[a], c[a]);
          sum[a] += uint64_t{slot.count} * c[a];
        }
        total += slot.count;
      }
    }
  }
  box.average.Set(0, 0, 0, 0);
  if (total > 0) {
    box.min.Set(lo[0], lo[1], lo[2], 0);
    box.max.Set(hi[0], hi[1], hi[2], 0);
    box.average.Set(static_cast<uint8_t>(sum[0] / total), static_cast<uint8_t>(sum[1] / total),
                    static_cast<uint8_t>(sum[2] / total), 0);
  }
  box.count = static_cast<uint32_t>(std::min<uint64_t>(total, kMaxCount));
  if (box.min == box.max) box.count = 1;
}

void PLFilterQuantize::splitBox(tagQUBOX& oldBox, tagQUBOX& newBox) const {
  int extent[3];
  for (int a = 0; a < 3; ++a) extent[a] = Channel(oldBox.max, a) - Channel(oldBox.min, a);
  const int axis = (extent[0] >= extent[1] && extent[0] >= extent[2]) ? 0
                   : (extent[1] >= extent[2])                         ? 1
                                                                      : 2;
  if (extent[axis] != 2) {
    int m = Channel(oldBox.average, axis);
    if (m == Channel(oldBox.max, axis)) --m;
    SetChannel(oldBox.max, axis, static_cast<uint8_t>(m));
    SetChannel(newBox.min, axis, static_cast<uint8_t>(m + 1));
  } else {
    SetChannel(newBox.max, axis, Channel(newBox.min, axis));
    SetChannel(oldBox.min, axis, Channel(oldBox.max, axis));
  }
  squeeze(oldBox);
  squeeze(newBox);
}

void PLFilterQuantize::medianCut(PLPixel32* palette) const {
  for (int i = 0; i < kFirstCutBox; ++i) {
    tagQUBOX& box = m_Boxes[i];
    box.min.Set(kCorners[i][0], kCorners[i][1], kCorners[i][2], 0);
    box.max = box.min;
    box.average = box.min;
    box.count = 1;
  }
  tagQUBOX& whole = m_Boxes[kFirstCutBox];
  whole.min.Set(0, 0, 0, 0);
  whole.max.Set(kLevels - 1, kLevels - 1, kLevels - 1, 0);
  squeeze(whole);
  for (int i = kFirstCutBox + 1; i < kPaletteSize; ++i) {
    int largest = kFirstCutBox;
    for (int j = kFirstCutBox + 1; j < i; ++j) {
      if (m_Boxes[j].count > m_Boxes[largest].count) largest = j;
    }
    if (m_Boxes[largest].count < 2) {
      std::fill(m_Boxes.begin() + i, m_Boxes.end(),
                tagQUBOX{PLPixel32(0, 0, 0, 0), PLPixel32(0, 0, 0, 0), PLPixel32(0, 0, 0, 0), 0});
      break;
    }
    m_Boxes[i] = m_Boxes[largest];
    splitBox(m_Boxes[largest], m_Boxes[i]);
  }
  for (int k = 0; k < kPaletteSize; ++k) {
    const tagQUBOX& box = m_Boxes[k];
    palette[k].Set(static_cast<uint8_t>((box.min.GetR() + box.max.GetR()) * 255 / 62),
                   static_cast<uint8_t>((box.min.GetG() + box.max.GetG()) * 255 / 62),
                   static_cast<uint8_t>((box.min.GetB() + box.max.GetB()) * 255 / 62), 0);
  }
}

void PLFilterQuantize::popularity(PLPixel32* palette) const {
  uint32_t tally[kPaletteSize] = {};
  for (int i = 0; i < kPaletteSize; ++i) palette[i].Set(0, 0, 0, 0);
  for (int i = 0; i < kFirstCutBox; ++i) {
    palette[i].Set(kCorners[i][0], kCorners[i][1], kCorners[i][2], 0);
  }
  // Every level of the cube counts, 31 included.
  for (int r = 0; r < kLevels; ++r) {
    for (int g = 0; g < kLevels; ++g) {
      for (int b = 0; b < kLevels; ++b) {
        const ColourSlot& slot = m_ColourTable[(r << 10) | (g << 5) | b];
        if (!slot.used || slot.count <= tally[kPaletteSize - 1]) continue;
        int k = kPaletteSize - 1;
        palette[k].Set(r, g, b, 0);
        tally[k] = slot.count;
        while (k >= kFirstCutBox + 1 && tally[k] > tally[k - 1]) {
          std::swap(palette[k], palette[k - 1]);
          std::swap(tally[k], tally[k - 1]);
          --k;
        }
      }
    }
  }
  for (int i = 0; i < kPaletteSize; ++i) {
    palette[i].Set(static_cast<uint8_t>(palette[i].GetR() * 255 / 31),
                   static_cast<uint8_t>(palette[i].GetG() * 255 / 31),
                   static_cast<uint8_t>(palette[i].GetB() * 255 / 31), 0);
  }
}

void PLFilterQuantize::makePalette(PLPixel32* palette) const {
  switch (m_PaletteType) {
    case kMedianCut: medianCut(palette); break;
    case kPopularity: popularity(palette); break;
    case kUserPalette:
      if (m_pUserPal) {
        std::copy(m_pUserPal.get(), m_pUserPal.get() + kPaletteSize, palette);
        break;
      }
      [[fallthrough]];
    default: std::copy(GetDefaultPalette(), GetDefaultPalette() + kPaletteSize, palette); break;
  }
}

int PLFilterQuantize::getNeighbor(const PLPixel32& colour, const PLPixel32* palette) const {
  ColourSlot& slot = m_ColourTable[CellOf(colour.GetR(), colour.GetG(), colour.GetB())];
  slot.used = true;
  if (slot.index >= 0) return slot.index;
  int best = 0;
  int bestDist = 3 * 256 * 256;
  for (int i = 0; i < kPaletteSize; ++i) {
    const int dr = colour.GetR() - palette[i].GetR();
    const int dg = colour.GetG() - palette[i].GetG();
    const int db = colour.GetB() - palette[i].GetB();
    const int d = dr * dr + dg * dg + db * db;
    if (d < bestDist) {
      bestDist = d;
      best = i;
    }
  }
  slot.index = best;
  return best;
}

void PLFilterQuantize::mapPlain(const PLBmp& source, PLBmp& destination,
                                const PLPixel32* palette) const {
  for (int y = 0; y < source.GetHeight(); ++y) {
    const PLPixel32* src = source.GetLineArray32()[y];
    uint8_t* dst = destination.GetLineArray()[y];
    for (int x = 0; x < source.GetWidth(); ++x) {
      dst[x] = static_cast<uint8_t>(getNeighbor(src[x], palette));
    }
  }
}

void PLFilterQuantize::mapOrdered(const PLBmp& source, PLBmp& destination,
                                  const PLPixel32* palette) const {
  const int width = source.GetWidth();
  for (int y = 0; y < source.GetHeight(); ++y) {
    const PLPixel32* src = source.GetLineArray32()[y];
    uint8_t* dst = destination.GetLineArray()[y];
    for (int x = 0; x < width; ++x) {
      const int c = width - 1 - x;  // columns are counted down from the right
      const int offset = kDitherMatrix[(c & 3) * 4 + (y & 3)] * 2;
      const PLPixel32 p(Clip(src[x].GetR() + offset), Clip(src[x].GetG() + offset),
                        Clip(src[x].GetB() + offset), src[x].GetA());
      dst[x] = static_cast<uint8_t>(getNeighbor(p, palette));
    }
  }
}

void PLFilterQuantize::mapFloyd(const PLBmp& source, PLBmp& destination,
                                const PLPixel32* palette) const {
  const int width = source.GetWidth();
  // Error terms of this row and the next, one slot of margin on each side so
  // that the pixels beyond either end can receive error without a test.
  std::vector<double> cur(3 * static_cast<size_t>(width + 2), 0.0);
  std::vector<double> next(cur.size(), 0.0);
  for (int y = 0; y < source.GetHeight(); ++y) {
    const PLPixel32* src = source.GetLineArray32()[y];
    uint8_t* dst = destination.GetLineArray()[y];
    const bool leftToRight = (y & 1) == 0;
    const int dir = leftToRight ? 1 : -1;
    for (int i = 0; i < width; ++i) {
      const int x = leftToRight ? i : width - 1 - i;
      double* e = &cur[3 * static_cast<size_t>(x + 1)];
      const double v[3] = {std::clamp(src[x].GetR() + e[0], 0.0, 255.0),
                           std::clamp(src[x].GetG() + e[1], 0.0, 255.0),
                           std::clamp(src[x].GetB() + e[2], 0.0, 255.0)};
      const PLPixel32 p(static_cast<uint8_t>(v[0]), static_cast<uint8_t>(v[1]),
                        static_cast<uint8_t>(v[2]), src[x].GetA());
      const int index = getNeighbor(p, palette);
      dst[x] = static_cast<uint8_t>(index);
      const uint8_t chosen[3] = {palette[index].GetR(), palette[index].GetG(),
                                 palette[index].GetB()};
      for (int a = 0; a < 3; ++a) {
        const double err = (v[a] - chosen[a]) / 16.0;
        cur[3 * static_cast<size_t>(x + 1 + dir) + a] += 7 * err;
        next[3 * static_cast<size_t>(x + 1 - dir) + a] += 3 * err;
        next[3 * static_cast<size_t>(x + 1) + a] += 5 * err;
        next[3 * static_cast<size_t>(x + 1 + dir) + a] += 1 * err;
      }
    }
    cur.swap(next);
    std::fill(next.begin(), next.end(), 0.0);
  }
}

void PLFilterQuantize::Apply(const PLBmp* source, PLBmp* destination) const {
  // The pixels are read as 32-bit colours; another depth, or a source that is
  // also the destination, is first copied to a 32-bit work bitmap.
  std::unique_ptr<PLAnyBmp> work;
  if (source->GetBitsPerPixel() != 32 || source == destination) {
    work.reset(new PLAnyBmp);
    work->CreateCopy(*source, 32);
    source = work.get();
  }
  destination->Create(source->GetWidth(), source->GetHeight(), 8, false, false,
                      source->GetResolution());
  resetTable();
  PLBmpLock srcLock(*source, true, false);
  PLBmpLock dstLock(*destination, false, true);
  if (m_PaletteType == kMedianCut || m_PaletteType == kPopularity) countColours(*source);
  PLPixel32 palette[kPaletteSize];
  makePalette(palette);
  destination->SetPalette(palette);
  switch (m_DitherType) {
    case kOrderedDither: mapOrdered(*source, *destination, palette); break;
    case kFloydSteinberg: mapFloyd(*source, *destination, palette); break;
    default: mapPlain(*source, *destination, palette); break;
  }
}
