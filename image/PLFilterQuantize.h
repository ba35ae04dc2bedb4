// PLFilterQuantize.h: reduces a colour bitmap to 8 bits. The palette comes
// from median cut, from the most frequent colours (popularity), from a fixed
// default palette or from one the caller supplies; pixels are mapped to it
// without dithering, with ordered dithering or with Floyd-Steinberg error
// diffusion.
//
// Colours are counted and looked up in a table of 32768 cells, one per colour
// of a cube of 5 bits per channel. The nearest palette entry is searched once
// per cell and cached, so every colour of a cell maps to the entry nearest to
// the first colour of that cell that was mapped.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "image/PLFilter.h"
#include "image/PLPixel32.h"

class PLBmp;

// One box of the median cut, colours in 5-bit units (0 to 31).
struct tagQUBOX {
  PLPixel32 min;
  PLPixel32 max;
  PLPixel32 average;
  uint32_t count;
};

class PLFilterQuantize : public PLFilter {
 public:
  enum PaletteType : int32_t {
    kMedianCut = 0,
    kPopularity = 1,
    kDefaultPalette = 2,
    kUserPalette = 3
  };
  enum DitherType : int32_t { kNoDither = 0, kOrderedDither = 1, kFloydSteinberg = 2 };

  // Throws PLTextException (PL_ERRNO_MEMORY, "Out of memory.") when its
  // tables cannot be allocated.
  PLFilterQuantize(int paletteType, int ditherType);
  ~PLFilterQuantize() override;
  void AssertValid() const override;

  // Makes destination an 8-bit bitmap of source's size and resolution, no
  // alpha, no greyscale, with the chosen palette and mapping. A source that
  // is not 32-bit is widened to 32 bits first.
  void Apply(const PLBmp* source, PLBmp* destination) const override;

  // Copies 256 entries (nothing for a null pointer); used by palette type 3.
  void SetUserPalette(const PLPixel32* entries);

  // The fixed palette of palette type 2: 256 entries, all with A = 0.
  static const PLPixel32* GetDefaultPalette();

  // Kept for the class's contract; it does nothing.
  void jitterPixel(int, int, PLPixel32*) const {}

 private:
  struct ColourSlot {
    int32_t index = -1;  // palette entry this cell maps to, -1 until looked up
    uint16_t count = 0;  // pixels of this cell, saturating
    bool used = false;
  };

  void resetTable() const;
  void countColours(const PLBmp& source) const;
  void makePalette(PLPixel32* palette) const;
  void medianCut(PLPixel32* palette) const;
  void popularity(PLPixel32* palette) const;
  void squeeze(tagQUBOX& box) const;
  void splitBox(tagQUBOX& oldBox, tagQUBOX& newBox) const;
  int getNeighbor(const PLPixel32& colour, const PLPixel32* palette) const;
  void mapPlain(const PLBmp& source, PLBmp& destination, const PLPixel32* palette) const;
  void mapOrdered(const PLBmp& source, PLBmp& destination, const PLPixel32* palette) const;
  void mapFloyd(const PLBmp& source, PLBmp& destination, const PLPixel32* palette) const;

  int32_t m_PaletteType;
  int32_t m_DitherType;
  std::unique_ptr<PLPixel32[]> m_pUserPal;  // 256 entries, or none
  // Work tables of one Apply; Apply is const, as filters are, and rebuilds
  // them every time.
  mutable std::vector<ColourSlot> m_ColourTable;
  mutable std::vector<tagQUBOX> m_Boxes;
};
